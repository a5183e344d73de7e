#include "channelfile.h"
#include "channeltexts.h"
#include "chirpcsv.h"
#include "numberreader.h"
#include "okcheck.h"
#include "sampletables.h"
#include "tones.h"

#include <QtTest>

#include <algorithm>

using namespace zw;
using zw::test::emptyTable;

Q_DECLARE_METATYPE(zw::Model)

namespace
{

ChannelRecord channel(const ChannelTable &t, int number, const char *rx, const char *rxTone,
                      const char *tx, const char *txTone, const char *scan, const char *power)
{
    ChannelRecord r = t[number - 1];
    r[RxFrequency] = QString::fromUtf8(rx);
    r[RxTone] = QString::fromUtf8(rxTone);
    r[TxFrequency] = QString::fromUtf8(tx);
    r[TxTone] = QString::fromUtf8(txTone);
    r[Scan] = QString::fromUtf8(scan);
    r[Bcl] = QStringLiteral("off");
    r[Beat] = QStringLiteral("off");
    r[Power] = QString::fromUtf8(power);
    return r;
}

// The first problem's reason as the command line writes it.
QString firstReason(const CsvImport &import)
{
    return import.problems.isEmpty()
               ? QString()
               : csvReasonText(import.problems.first().reason, CsvLanguage::English);
}

QByteArray csv(const char *body)
{
    return QByteArray("Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,"
                      "DtcsPolarity,"
                      "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,"
                      "DVCODE\r\n") +
           body;
}

} // namespace

class TestChirpCsv : public QObject
{
    Q_OBJECT

private slots:
    void roundTripKeepsEverythingCsvCarries_data()
    {
        QTest::addColumn<Model>("model");
        QTest::addColumn<double>("base");  // an in-band frequency in MHz
        QTest::addColumn<double>("shift"); // a transmit shift that stays in the band
        for (Model model : allModels) {
            const BandLimits &band = modelInfo(model).band;
            const double shift = std::min(5.0, (band.bandHigh - band.bandLow) / 2);
            QTest::newRow(qPrintable(modelInfo(model).shortName))
                << model << sampleFrequencyMHz(band, 1) << shift;
        }
    }

    void roundTripKeepsEverythingCsvCarries()
    {
        QFETCH(Model, model);
        QFETCH(double, base);
        QFETCH(double, shift);
        const ModelInfo &info = modelInfo(model);
        ChannelTable table = emptyTable();
        auto f = [&](double offset) { return formatFrequencyForTest(base + offset); };
        const QStringList tones = ctcssTones();
        const QStringList dcs = dcsEntries();
        // Every tone/DCS combination the radio has, across the 16 channels.
        const QList<std::pair<QString, QString>> squelch{{"", ""},
                                                         {"", tones.at(0)},
                                                         {tones.at(38), tones.at(38)},
                                                         {dcs.at(0), dcs.at(0)},
                                                         {tones.at(12), tones.at(5)},
                                                         {dcs.at(82), tones.at(3)},
                                                         {tones.at(20), dcs.at(40)},
                                                         {dcs.at(10), dcs.at(11)},
                                                         {"", dcs.at(7)},
                                                         {tones.at(9), ""},
                                                         {dcs.at(30), ""},
                                                         {"", ""},
                                                         {tones.at(1), tones.at(1)}};
        for (int i = 0; i < squelch.size(); ++i) {
            const int n = i + 1;
            const QString rx = f(0.00625 * i);
            const QString tx = i == 3 ? f(shift) : i == 4 ? f(-0.6) : i == 5 ? QString("") : rx;
            ChannelRecord r =
                channel(table, n, "", "", "", "", i % 2 ? "del" : "add", i % 3 ? "H" : "L");
            r[RxFrequency] = rx;
            r[TxFrequency] = tx;
            r[RxTone] = squelch[i].first;
            r[TxTone] = squelch[i].second;
            r[Spare3] = QStringLiteral("023");
            table[i] = r;
        }
        const QByteArray text = exportChirpCsv(table, info).value();
        QVERIFY(text.endsWith("\r\n"));
        QCOMPARE(text.count("\r\n"), 1 + squelch.size()); // header + channels in use
        ChannelTable other = emptyTable();
        const CsvImport back = importChirpCsv(text, info, other).value();
        QVERIFY2(back.problems.isEmpty(), qPrintable(firstReason(back)));
        QCOMPARE(back.rowsTaken, int(squelch.size()));
        for (int i = 0; i < channelCount; ++i) {
            for (int field : {RxFrequency, RxTone, TxFrequency, TxTone, Scan, Power})
                QCOMPARE(back.table[i][field], table[i][field]);
            QCOMPARE(back.table[i][ChannelNumber], QString::number(i + 1));
        }
    }

    void channelFileToCsvAndBackIsLossless_data()
    {
        QTest::addColumn<Model>("model");
        QTest::addColumn<double>("base"); // the band's low edge
        for (Model model : allModels)
            QTest::newRow(qPrintable(modelInfo(model).shortName))
                << model << modelInfo(model).band.bandLow;
    }

    // A saved channel file, exported and imported again, gives a channel file with the same
    // frequencies, tones, scan and power; BCL and beat come back as the channel defaults.
    void channelFileToCsvAndBackIsLossless()
    {
        QFETCH(Model, model);
        QFETCH(double, base);
        const ModelInfo &info = modelInfo(model);
        const QStringList tones = ctcssTones();
        const QStringList dcs = dcsEntries();
        ChannelFileData saved;
        saved.modelCode = info.code;
        saved.channelTone = QStringLiteral("英文");
        saved.squelchLevel = QStringLiteral("5");
        for (int row = 0; row < channelCount; ++row) {
            ChannelRecord &r = saved.records[static_cast<std::size_t>(row)];
            for (QString &f : r.fields)
                f = QLatin1String("");
            if (row == 6)
                continue; // an empty channel stays empty
            // Both band edges, both rasters, every kind of squelch on each side.
            const double step = row % 2 ? 0.005 : 0.00625;
            const double rx = row == 0 ? info.band.bandHigh : base + step * row;
            r[RxFrequency] = formatFrequency(rx);
            r[TxFrequency] = row == 4   ? QString()
                             : row == 5 ? formatFrequency(info.band.bandLow)
                             : row == 8 ? formatFrequency(rx + 0.6)
                                        : r[RxFrequency];
            const QString sides[] = {QString(), tones.at(row % 39), dcs.at((row * 7) % 83)};
            r[RxTone] = sides[row % 3];
            r[TxTone] = sides[(row / 3) % 3];
            r[Scan] = row % 2 ? QStringLiteral("del") : QStringLiteral("add");
            r[Bcl] = QStringLiteral("off");
            r[Beat] = QStringLiteral("off");
            r[Power] = row % 4 ? QStringLiteral("H") : QStringLiteral("L");
        }
        const Expected<QByteArray> file = writeChannelFile(saved);
        ZW_VERIFY_OK(file);
        const Expected<ChannelFileData> loaded = readChannelFile(file.value());
        ZW_VERIFY_OK(loaded);

        const CsvImport back =
            importChirpCsv(exportChirpCsv(loaded->records, info).value(), info, emptyTable())
                .value();
        QVERIFY2(back.problems.isEmpty(), qPrintable(firstReason(back)));
        ChannelFileData again = loaded.value();
        again.records = back.table;
        const Expected<QByteArray> file2 = writeChannelFile(again);
        ZW_VERIFY_OK(file2);
        const Expected<ChannelFileData> reloaded = readChannelFile(file2.value());
        ZW_VERIFY_OK(reloaded);
        for (int row = 0; row < channelCount; ++row) {
            for (int field = RxFrequency; field <= Power; ++field)
                QCOMPARE(reloaded->records[row][field], loaded->records[row][field]);
        }
    }

    void powerInTheModelsWatts_data()
    {
        QTest::addColumn<Model>("model");
        QTest::addColumn<QString>("power");    // the Power column
        QTest::addColumn<QString>("expected"); // the channel's power, or "?" for a refused row
        QTest::newRow("V 5.0W") << Model::V << "5.0W"
                                << "H";
        QTest::newRow("V exactly between") << Model::V << "3.0W"
                                           << "H";
        QTest::newRow("V 2.9W") << Model::V << "2.9W"
                                << "L";
        QTest::newRow("V 50W") << Model::V << "50W"
                               << "H";
        QTest::newRow("V 0.5W") << Model::V << "0.5W"
                                << "L";
        QTest::newRow("UH exactly between") << Model::UH << "2.5W"
                                            << "H";
        QTest::newRow("UH 2.4W") << Model::UH << "2.4W"
                                 << "L";
        QTest::newRow("UL without unit") << Model::UL << "4"
                                         << "H";
        QTest::newRow("no power given") << Model::UM << ""
                                        << "H";
        QTest::newRow("not watts") << Model::V << "High"
                                   << "?";
    }

    void powerInTheModelsWatts()
    {
        QFETCH(Model, model);
        QFETCH(QString, power);
        QFETCH(QString, expected);
        const ModelInfo &info = modelInfo(model);
        const QString row = QStringLiteral("Location,Frequency,Power\n1,%1,%2\n")
                                .arg(formatFrequency(info.band.bandLow), power);
        const CsvImport r = importChirpCsv(row.toUtf8(), info, emptyTable()).value();
        if (expected == QLatin1String("?")) {
            QCOMPARE(r.problems.size(), 1);
            QVERIFY(firstReason(r).contains(power));
            return;
        }
        QVERIFY(r.problems.isEmpty());
        QCOMPARE(r.table[0][Power], expected);
    }

    void exportWritesTheModelsWatts()
    {
        ChannelTable t = emptyTable();
        t[0] = channel(t, 1, "145.00000", "", "145.00000", "", "add", "H");
        t[1] = channel(t, 2, "145.00000", "", "145.00000", "", "add", "L");
        const QList<QByteArray> v = exportChirpCsv(t, modelInfo(Model::V)).value().split('\n');
        QVERIFY(v.at(1).contains(",5.0W,"));
        QVERIFY(v.at(2).contains(",1.0W,"));
        const QList<QByteArray> uh = exportChirpCsv(t, modelInfo(Model::UH)).value().split('\n');
        QVERIFY(uh.at(1).contains(",4.0W,"));
    }

    void noteExamplesImportAsDescribed()
    {
        // The example rows of the CHIRP format description, in a UHF window.
        const QByteArray text = csv(
            "1,,462.550000,split,467.550000,Cross,100.0,123.0,023,NN,023,Tone->Tone,NFM,12.50,S,1."
            "0W,,,,,\r\n"
            "2,,446.006250,,0.000000,TSQL,88.5,88.5,023,NN,023,Tone->Tone,NFM,6.25,,5.0W,,,,,\r\n"
            "3,,446.031250,,0.000000,Cross,100.0,88.5,754,NN,754,Tone->DTCS,NFM,6.25,,5.0W,,,,,"
            "\r\n");
        const CsvImport r = importChirpCsv(text, modelInfo(Model::UH), emptyTable()).value();
        QVERIFY(r.problems.isEmpty());
        QCOMPARE(r.table[0][RxFrequency], QStringLiteral("462.55000"));
        QCOMPARE(r.table[0][TxFrequency], QStringLiteral("467.55000"));
        QCOMPARE(r.table[0][TxTone], QStringLiteral("100.0"));
        QCOMPARE(r.table[0][RxTone], QStringLiteral("123.0"));
        QCOMPARE(r.table[0][Scan], QStringLiteral("del"));
        QCOMPARE(r.table[0][Power], QStringLiteral("L"));
        QCOMPARE(r.table[1][RxTone], QStringLiteral("88.5"));
        QCOMPARE(r.table[1][TxTone], QStringLiteral("88.5"));
        QCOMPARE(r.table[1][TxFrequency], QStringLiteral("446.00625"));
        QCOMPARE(r.table[1][Power], QStringLiteral("H"));
        QCOMPARE(r.table[2][TxTone], QStringLiteral("100.0"));
        QCOMPARE(r.table[2][RxTone], QStringLiteral("D754N"));
        QCOMPARE(r.table[2][Bcl], QStringLiteral("off"));
        QCOMPARE(r.table[2][Beat], QStringLiteral("off"));
        QCOMPARE(r.table[3][RxFrequency], QString()); // no row: empty channel
    }

    void crossModesAndDuplexInAVhfWindow_data()
    {
        QTest::addColumn<QByteArray>("row");
        QTest::addColumn<QStringList>("expected"); // rx, rxTone, tx, txTone
        QTest::newRow("DTCS->Tone plus offset")
            << QByteArray("4,,146.520000,+,0.600000,Cross,88.5,131.8,125,NN,125,DTCS->Tone,FM,5.00,"
                          ",5.0W,,,,,")
            << QStringList{"146.52000", "131.8", "147.12000", "D125N"};
        QTest::newRow("minus offset, Tone")
            << QByteArray("5,,146.000000,-,0.600000,Tone,100.0,88.5,023,NN,023,,NFM,5.00,,,,,,,")
            << QStringList{"146.00000", "", "145.40000", "100.0"};
        QTest::newRow("TSQL takes cToneFreq both ways")
            << QByteArray("3,,145.000000,,0,TSQL,88.5,123.0,023,NN,023,,NFM,5.00,,,,,,,")
            << QStringList{"145.00000", "123.0", "145.00000", "123.0"};
        QTest::newRow("DTCS both")
            << QByteArray("6,,145.000000,,0.000000,DTCS,88.5,88.5,047,NN,047,,NFM,5.00,,,,,,,")
            << QStringList{"145.00000", "D047N", "145.00000", "D047N"};
        QTest::newRow("->DTCS receive only")
            << QByteArray("7,,145.000000,,0,Cross,88.5,88.5,023,NN,411,->DTCS,NFM,5.00,,,,,,,")
            << QStringList{"145.00000", "D411N", "145.00000", ""};
        QTest::newRow("DTCS->DTCS")
            << QByteArray("8,,145.000000,,0,Cross,88.5,88.5,023,NN,754,DTCS->DTCS,NFM,5.00,,,,,,,")
            << QStringList{"145.00000", "D754N", "145.00000", "D023N"};
        QTest::newRow("->Tone receive only")
            << QByteArray("11,,145.000000,,0,Cross,88.5,131.8,023,NN,023,->Tone,NFM,5.00,,,,,,,")
            << QStringList{"145.00000", "131.8", "145.00000", ""};
        QTest::newRow("Tone-> transmit only")
            << QByteArray("12,,145.000000,,0,Cross,67.0,131.8,023,NN,023,Tone->,NFM,5.00,,,,,,,")
            << QStringList{"145.00000", "", "145.00000", "67.0"};
        QTest::newRow("DTCS-> transmit only")
            << QByteArray("13,,145.000000,,0,Cross,88.5,88.5,155,NN,023,DTCS->,NFM,5.00,,,,,,,")
            << QStringList{"145.00000", "", "145.00000", "D155N"};
        QTest::newRow("Tone->Tone")
            << QByteArray(
                   "14,,145.000000,,0,Cross,67.0,250.3,023,NN,023,Tone->Tone,NFM,5.00,,,,,,,")
            << QStringList{"145.00000", "250.3", "145.00000", "67.0"};
        QTest::newRow("Tone->DTCS, code in RxDtcsCode")
            << QByteArray(
                   "15,,145.000000,,0,Cross,100.0,88.5,023,NN,754,Tone->DTCS,NFM,5.00,,,,,,,")
            << QStringList{"145.00000", "D754N", "145.00000", "100.0"};
        QTest::newRow("split")
            << QByteArray("16,,145.000000,split,174.000000,,88.5,88.5,023,NN,023,,NFM,5.00,,,,,,,")
            << QStringList{"145.00000", "", "174.00000", ""};
        QTest::newRow("transmit off")
            << QByteArray("9,,145.000000,off,0,,88.5,88.5,023,NN,023,,NFM,5.00,,,,,,,")
            << QStringList{"145.00000", "", "", ""};
        QTest::newRow("kHz suffix")
            << QByteArray("10,,145000 kHz,,0,,88.5,88.5,023,NN,023,,NFM,5.00,,,,,,,")
            << QStringList{"145.00000", "", "145.00000", ""};
    }

    void crossModesAndDuplexInAVhfWindow()
    {
        QFETCH(QByteArray, row);
        QFETCH(QStringList, expected);
        const CsvImport r =
            importChirpCsv(csv(row.constData()), modelInfo(Model::V), emptyTable()).value();
        QVERIFY2(r.problems.isEmpty(), qPrintable(firstReason(r)));
        const int n = row.left(row.indexOf(',')).toInt() - 1;
        QCOMPARE((QStringList{r.table[n][RxFrequency], r.table[n][RxTone], r.table[n][TxFrequency],
                              r.table[n][TxTone]}),
                 expected);
    }

    void rowsTheRadioCannotTakeAreReportedNotRounded_data()
    {
        QTest::addColumn<QByteArray>("row");
        QTest::addColumn<QString>("reasonPart");
        QTest::newRow("tone not in list")
            << QByteArray("1,,145.000000,,0,TSQL,69.4,69.4,023,NN,023,,NFM,5.00,,,,,,,") << "69.4";
        QTest::newRow("CHIRP-only tone 159.8")
            << QByteArray("1,,145.000000,,0,Tone,159.8,88.5,023,NN,023,,NFM,5.00,,,,,,,")
            << "159.8";
        QTest::newRow("DCS not in list")
            << QByteArray("1,,145.000000,,0,DTCS,88.5,88.5,017,NN,017,,NFM,5.00,,,,,,,") << "017";
        QTest::newRow("inverted DCS")
            << QByteArray("1,,145.000000,,0,DTCS,88.5,88.5,023,RR,023,,NFM,5.00,,,,,,,")
            << "polarity";
        QTest::newRow("out of band")
            << QByteArray("1,,446.000000,,0,,88.5,88.5,023,NN,023,,NFM,5.00,,,,,,,") << "outside";
        QTest::newRow("off raster")
            << QByteArray("1,,145.002000,,0,,88.5,88.5,023,NN,023,,NFM,5.00,,,,,,,") << "raster";
        QTest::newRow("too many decimals")
            << QByteArray("1,,145.0000001,,0,,88.5,88.5,023,NN,023,,NFM,5.00,,,,,,,")
            << "6 decimals";
        QTest::newRow("reversed DCS mode")
            << QByteArray("1,,145.000000,,0,DTCS-R,88.5,88.5,023,NN,023,,NFM,5.00,,,,,,,")
            << "DTCS-R";
        QTest::newRow("reversed tone squelch")
            << QByteArray("1,,145.000000,,0,TSQL-R,88.5,88.5,023,NN,023,,NFM,5.00,,,,,,,")
            << "TSQL-R";
        QTest::newRow("cross with inverted receive code")
            << QByteArray("1,,145.000000,,0,Cross,88.5,88.5,023,NR,047,Tone->DTCS,NFM,5.00,,,,,,,")
            << "polarity";
        QTest::newRow("unknown cross mode")
            << QByteArray("1,,145.000000,,0,Cross,88.5,88.5,023,NN,023,Tone=>DTCS,NFM,5.00,,,,,,,")
            << "Tone=>DTCS";
        QTest::newRow("offset below zero")
            << QByteArray("1,,145.000000,-,146.000000,,88.5,88.5,023,NN,023,,NFM,5.00,,,,,,,")
            << "-1.000000 MHz";
        QTest::newRow("location 17")
            << QByteArray("17,,145.000000,,0,,88.5,88.5,023,NN,023,,NFM,5.00,,,,,,,")
            << "Location 17";
        QTest::newRow("location 0")
            << QByteArray("0,,145.000000,,0,,88.5,88.5,023,NN,023,,NFM,5.00,,,,,,,")
            << "Location 0";
        // The radio is analog FM only: a digital repeater would hear nothing.
        QTest::newRow("mode DMR") << QByteArray(
                                         "1,,145.000000,,0,,88.5,88.5,023,NN,023,,DMR,5.00,,,,,,,")
                                  << "Mode \"DMR\" is not analog FM";
        QTest::newRow("mode DV") << QByteArray(
                                        "1,,145.000000,,0,,88.5,88.5,023,NN,023,,DV,5.00,,,,,,,")
                                 << "Mode \"DV\" is not analog FM";
        QTest::newRow("mode AM") << QByteArray(
                                        "1,,145.000000,,0,,88.5,88.5,023,NN,023,,AM,5.00,,,,,,,")
                                 << "Mode \"AM\" is not analog FM";
        QTest::newRow("mode USB") << QByteArray(
                                         "1,,145.000000,,0,,88.5,88.5,023,NN,023,,USB,5.00,,,,,,,")
                                  << "Mode \"USB\" is not analog FM";
        QTest::newRow("frequency NaN")
            << QByteArray("1,,nan,,0,,88.5,88.5,023,NN,023,,NFM,5.00,,,,,,,") << "not a number";
        QTest::newRow("frequency infinite")
            << QByteArray("1,,inf,,0,,88.5,88.5,023,NN,023,,NFM,5.00,,,,,,,") << "not a number";
        QTest::newRow("frequency 1e19")
            << QByteArray("1,,1e19,,0,,88.5,88.5,023,NN,023,,NFM,5.00,,,,,,,")
            << "receive frequency 1e+19 MHz is outside";
        QTest::newRow("frequency 1e300")
            << QByteArray("1,,1e300,,0,,88.5,88.5,023,NN,023,,NFM,5.00,,,,,,,")
            << "receive frequency 1e+300 MHz is outside";
        QTest::newRow("offset NaN")
            << QByteArray("1,,145.000000,+,nan,,88.5,88.5,023,NN,023,,NFM,5.00,,,,,,,")
            << "frequency \"nan\" is not a number";
        QTest::newRow("offset 1e300")
            << QByteArray("1,,145.000000,-,1e300,,88.5,88.5,023,NN,023,,NFM,5.00,,,,,,,")
            << "transmit frequency 1e+300 MHz is outside";
        QTest::newRow("tone NaN")
            << QByteArray("1,,145.000000,,0,Tone,nan,88.5,023,NN,023,,NFM,5.00,,,,,,,") << "nan";
        QTest::newRow("tone 1e300")
            << QByteArray("1,,145.000000,,0,Tone,1e300,88.5,023,NN,023,,NFM,5.00,,,,,,,")
            << "1e300";
        QTest::newRow("split tx out of band")
            << QByteArray("1,,145.000000,split,446.000000,,88.5,88.5,023,NN,023,,NFM,5.00,,,,,,,")
            << "transmit";
        // An empty memory (skipped) before it, with a line break in its quoted name.
        QTest::newRow("after a quoted line break")
            << QByteArray("0,\"two\nlines\",0,,0,,88.5,88.5,023,NN,023,,NFM,5.00,,,,,,,\r\n"
                          "1,,446.000000,,0,,88.5,88.5,023,NN,023,,NFM,5.00,,,,,,,")
            << "outside";
    }

    void rowsTheRadioCannotTakeAreReportedNotRounded()
    {
        QFETCH(QByteArray, row);
        QFETCH(QString, reasonPart);
        ChannelTable current = emptyTable();
        current[0] = channel(current, 1, "150.00000", "67.0", "150.00000", "67.0", "add", "H");
        const CsvImport r =
            importChirpCsv(csv(row.constData()), modelInfo(Model::V), current).value();
        QCOMPARE(r.problems.size(), 1);
        QCOMPARE(r.problems.first().line, 2 + int(row.count('\n'))); // the row's first line
        QVERIFY2(firstReason(r).contains(reasonPart), qPrintable(firstReason(r)));
        QCOMPARE(r.rowsTaken, 0);
        // The channel of a refused row keeps what it had; a channel the file does not name at
        // all becomes empty, as in a CHIRP file empty channels are left out.
        if (r.problems.first().location == QLatin1String("1"))
            QCOMPARE(r.table[0], current[0]);
        else
            QCOMPARE(r.table[0][RxFrequency], QString());
    }

    // A repeater directory's export as CHIRP writes it (tests/data/repeaters-2m.csv): 20 rows
    // from Location 0, FM, NFM and empty modes among DMR, DV and AM. By Location the first
    // repeater and those past 16 are refused; in file order the 17 analog rows fill channels 1
    // to 16 and one is counted as past the end. The digital and AM rows are refused either way.
    void repeaterExportByLocationOrInFileOrder_data()
    {
        QTest::addColumn<bool>("inFileOrder");
        QTest::addColumn<int>("taken");
        QTest::addColumn<int>("pastEnd");
        QTest::addColumn<QStringList>("refused"); // Location of each refused row
        QTest::addColumn<QStringList>("receive"); // channels 1, 3, 4, 16
        QTest::newRow("by Location")
            << false << 13 << 0 << QStringList{"0", "2", "4", "6", "17", "18", "19"}
            << QStringList{"145.13000", "145.17000", "", "146.88000"};
        QTest::newRow("in file order")
            << true << 16 << 1 << QStringList{"2", "4", "6"}
            << QStringList{"145.11000", "145.17000", "145.21000", "146.94000"};
    }

    void repeaterExportByLocationOrInFileOrder()
    {
        QFETCH(bool, inFileOrder);
        QFETCH(int, taken);
        QFETCH(int, pastEnd);
        QFETCH(QStringList, refused);
        QFETCH(QStringList, receive);
        QFile file(QStringLiteral(ZW_TEST_DATA "/repeaters-2m.csv"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        ChannelTable current = emptyTable();
        current[1] = channel(current, 2, "150.00000", "67.0", "150.00000", "67.0", "add", "H");
        const CsvImport r =
            importChirpCsv(file.readAll(), modelInfo(Model::V), current,
                           inFileOrder ? CsvPlacement::InFileOrder : CsvPlacement::ByLocation)
                .value();
        QCOMPARE(r.rowsTaken, taken);
        QCOMPARE(r.rowsPastEnd, pastEnd);
        QStringList locations;
        for (const CsvRowProblem &problem : r.problems)
            locations << problem.location;
        QCOMPARE(locations, refused);
        const QString dv = csvReasonText(
            r.problems.at(locations.indexOf(QStringLiteral("4"))).reason, CsvLanguage::English);
        QVERIFY2(dv.startsWith(QStringLiteral("Mode \"DV\" is not analog FM")), qPrintable(dv));
        QCOMPARE((QStringList{r.table[0][RxFrequency], r.table[2][RxFrequency],
                              r.table[3][RxFrequency], r.table[15][RxFrequency]}),
                 receive);
        // By Location the channel of a refused row keeps what it had; in file order it holds
        // the next row that fits.
        QCOMPARE(r.table[1][RxFrequency],
                 inFileOrder ? QStringLiteral("145.13000") : QStringLiteral("150.00000"));
        QCOMPARE(r.table[0][TxFrequency],
                 inFileOrder ? QStringLiteral("144.51000") : QStringLiteral("144.53000"));
    }

    void readingRulesOfTheFormat()
    {
        // Byte-order mark, comment lines, LF line ends, columns in another order, only some
        // columns, quoted name with a comma, a zero-frequency row skipped.
        const QByteArray text = "\xEF\xBB\xBF"
                                "# exported by hand\n"
                                "Frequency,Location,Name,Skip\n"
                                "145.500000,2,\"Club, main\",S\n"
                                "0.000000,3,,\n"
                                "# another comment\n"
                                "146.000000,4,,\n";
        const Expected<CsvImport> read = importChirpCsv(text, modelInfo(Model::V), emptyTable());
        ZW_VERIFY_OK(read);
        const CsvImport &r = *read;
        QVERIFY(r.problems.isEmpty());
        QCOMPARE(r.rowsTaken, 2);
        QCOMPARE(r.table[1][RxFrequency], QStringLiteral("145.50000"));
        QCOMPARE(r.table[1][TxFrequency], QStringLiteral("145.50000"));
        QCOMPARE(r.table[1][Scan], QStringLiteral("del"));
        QCOMPARE(r.table[1][Power], QStringLiteral("H"));
        QCOMPARE(r.table[2][RxFrequency], QString());
        QCOMPARE(r.table[3][RxFrequency], QStringLiteral("146.00000"));
        QCOMPARE(r.table[3][Scan], QStringLiteral("add"));
    }

    void onlyOneToneColumnServesBoth()
    {
        const QByteArray text =
            "Location,Frequency,Tone,cToneFreq\n1,145.0,TSQL,123.0\n2,145.5,Tone,131.8\n";
        const CsvImport r = importChirpCsv(text, modelInfo(Model::V), emptyTable()).value();
        QVERIFY(r.problems.isEmpty());
        QCOMPARE(r.table[0][RxTone], QStringLiteral("123.0"));
        QCOMPARE(r.table[1][TxTone], QStringLiteral("131.8"));
        QCOMPARE(r.table[1][RxTone], QString());
    }

    void fileWithoutHeaderIsRefusedWhole()
    {
        const ChannelTable current = emptyTable();
        for (const QByteArray &bad :
             {QByteArray(), QByteArray("1,2,3\n"), QByteArray("\xff\xfe\x00junk")}) {
            const Expected<CsvImport> r = importChirpCsv(bad, modelInfo(Model::V), current);
            QVERIFY(!r.ok());
            QVERIFY(r.failure().is(CsvFailure::NoHeader) ||
                    r.failure().is(CsvFailure::NoChannelColumns));
        }
    }

    // A field that is no frequency (23 digits) fails the export instead of reaching the file;
    // a code cell a spreadsheet would read as a formula stays text.
    void exportRefusesNoFrequencyAndKeepsFormulasText()
    {
        ChannelTable t = emptyTable();
        t[0] = channel(t, 1, "145.00000", "D=A1", "145.00000", "D@SU", "add", "H");
        const QList<QByteArray> lines = exportChirpCsv(t, modelInfo(Model::V)).value().split('\n');
        QCOMPARE(lines.at(1), QByteArray("1,,145.000000,,0.000000,Cross,88.5,88.5,'@SU,NN,'=A1,"
                                         "DTCS->DTCS,NFM,5.00,,5.0W,,,,,\r"));
        for (int field : {RxFrequency, TxFrequency}) {
            ChannelTable huge = t;
            huge[3] = channel(t, 4, "146.00000", "", "146.00000", "", "add", "H");
            huge[3][field] = QStringLiteral("12345678901234567890123");
            const Expected<QByteArray> csv = exportChirpCsv(huge, modelInfo(Model::V));
            QVERIFY(!csv.ok());
            QVERIFY(csv.failure().is(CsvFailure::FrequencyTooLarge));
            QCOMPARE(csv.failure().number, 4);
        }
    }

    void exportWritesTheDocumentedFields()
    {
        ChannelTable t = emptyTable();
        t[0] = channel(t, 1, "462.55000", "123.0", "467.55000", "100.0", "del", "L");
        t[2] = channel(t, 3, "446.03125", "D754N", "446.03125", "100.0", "add", "H");
        const QList<QByteArray> lines = exportChirpCsv(t, modelInfo(Model::UH)).value().split('\n');
        QCOMPARE(lines.at(1), QByteArray("1,,462.550000,+,5.000000,Cross,100.0,123.0,023,NN,023,"
                                         "Tone->Tone,NFM,5.00,S,1.0W,,,,,\r"));
        QCOMPARE(lines.at(2), QByteArray("3,,446.031250,,0.000000,Cross,100.0,88.5,754,NN,754,Tone-"
                                         ">DTCS,NFM,6.25,,4.0W,,,,,\r"));
    }

    // A transmit frequency up to 10 MHz from the receive frequency is written as "+" / "-" with
    // the offset; any further away as "split" with the transmit frequency itself.
    void duplexPlusMinusReachesTenMegahertz_data()
    {
        QTest::addColumn<QString>("rx");
        QTest::addColumn<QString>("tx");
        QTest::addColumn<QByteArray>("duplex");
        QTest::addColumn<QByteArray>("offset");
        QTest::newRow("+10 MHz") << "440.00000"
                                 << "450.00000" << QByteArray("+") << QByteArray("10.000000");
        QTest::newRow("-10 MHz") << "445.00000"
                                 << "435.00000" << QByteArray("-") << QByteArray("10.000000");
        QTest::newRow("5 kHz above +10 MHz")
            << "440.00000"
            << "450.00500" << QByteArray("split") << QByteArray("450.005000");
        QTest::newRow("6.25 kHz beyond -10 MHz")
            << "445.00000"
            << "434.99375" << QByteArray("split") << QByteArray("434.993750");
    }

    void duplexPlusMinusReachesTenMegahertz()
    {
        QFETCH(QString, rx);
        QFETCH(QString, tx);
        QFETCH(QByteArray, duplex);
        QFETCH(QByteArray, offset);
        ChannelTable t = emptyTable();
        t[0] = channel(t, 1, "", "", "", "", "add", "H");
        t[0][RxFrequency] = rx;
        t[0][TxFrequency] = tx;
        const QByteArray exported = exportChirpCsv(t, modelInfo(Model::UH)).value();
        const QList<QByteArray> fields = exported.split('\n').at(1).split(',');
        QCOMPARE(fields.at(3), duplex);
        QCOMPARE(fields.at(4), offset);

        const CsvImport back = importChirpCsv(exported, modelInfo(Model::UH), emptyTable()).value();
        QVERIFY(back.problems.isEmpty());
        QCOMPARE(back.table[0][RxFrequency], rx);
        QCOMPARE(back.table[0][TxFrequency], tx);
    }

private:
    static QString formatFrequencyForTest(double mhz) { return QString::number(mhz, 'f', 5); }
};

QTEST_GUILESS_MAIN(TestChirpCsv)
#include "tst_chirpcsv.moc"
