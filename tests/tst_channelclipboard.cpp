#include "channelclipboard.h"
#include "channelrows.h"
#include "channelstore.h"
#include "channeltexts.h"
#include "csvtext.h"
#include "sampletables.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

using namespace zw;
using zw::test::emptyTable;

Q_DECLARE_METATYPE(zw::Model)

namespace
{

// Fields 1, 2, 4, 5, 7, 8, 9, 10 of a channel, as the grid shows them.
QStringList shown(const ChannelRecord &r)
{
    return {r[RxFrequency], r[RxTone], r[TxFrequency], r[TxTone],
            r[Scan],        r[Bcl],    r[Beat],        r[Power]};
}

ChannelRecord channel(int number, const QStringList &values)
{
    ChannelRecord r;
    r[ChannelNumber] = QString::number(number);
    const int fields[] = {RxFrequency, RxTone, TxFrequency, TxTone, Scan, Bcl, Beat, Power};
    for (int i = 0; i < 8; ++i)
        r[fields[i]] = values.value(i);
    r[Spare3] = QStringLiteral("");
    r[Spare6] = QStringLiteral("");
    return r;
}

// Our own clipboard rows of `model`: one channel at `rx` per spare-3 text.
QByteArray ownRows(Model model, const QString &rx, const QStringList &spares3)
{
    QString text = QStringLiteral("ZW4630 channels\r\n%1\r\n").arg(modelInfo(model).code);
    for (const QString &spare : spares3)
        text += QStringLiteral("1,%1,,%2,%3,,,add,off,off,H\r\n").arg(rx, csvField(spare), rx);
    return text.toUtf8();
}

const char *chirpHeader =
    "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
    "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\r\n";

} // namespace

class TestChannelClipboard : public QObject
{
    Q_OBJECT

private slots:
    // Each source form, for a window of each band: the row lands on the channel where the
    // paste starts, entered as typing and picking would have entered it.
    void pasteEntersRowsLikeTyping_data()
    {
        QTest::addColumn<Model>("model");
        QTest::addColumn<QByteArray>("ownRows");
        QTest::addColumn<QByteArray>("chirpCsv");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("expected"); // the channel at row 4 afterwards
        QTest::addColumn<QStringList>("ignored");  // captions of columns not read

        for (Model m : {Model::V, Model::UH}) {
            const bool v = m == Model::V;
            const QString rx = v ? QStringLiteral("145.01250") : QStringLiteral("446.00625");
            const QString tx = v ? QStringLiteral("145.61250") : QStringLiteral("441.00625");
            const QByteArray name = modelInfo(m).name.toLatin1();
            QTest::addRow("%s own rows", name.constData())
                << m
                << (QStringLiteral(
                        "ZW4630 channels\r\n%1\r\n9,%2,D023N,s3,%3,67.0,s6,del,2,on,L\r\n")
                        .arg(modelInfo(m).code, rx, tx)
                        .toUtf8())
                << QByteArray() << QString()
                << QStringList{rx, "D023N", tx, "67.0", "del", "2", "on", "L"} << QStringList();
            QTest::addRow("%s tab text, Chinese caption row", name.constData())
                << m << QByteArray() << QByteArray()
                << QStringLiteral(
                       "信道号\t接收频率\t收哑音\t发送频率\t发哑音\t扫描\tBCL\t拍频\t功率\r\n"
                       "3\t%1\t88.5\t%2\t88.5\tadd\t1\toff\tL\r\n")
                       .arg(rx, tx)
                << QStringList{rx, "88.5", tx, "88.5", "add", "1", "off", "L"} << QStringList();
            QTest::addRow("%s tab text, English captions in another order", name.constData())
                << m << QByteArray() << QByteArray()
                << QStringLiteral("Power\tRxFrequency\tQT/DQT Dec\n L\t%1\td754n\n").arg(rx)
                << QStringList{rx, "D754N", rx, "D754N", "add", "off", "off", "L"} << QStringList();
            QTest::addRow("%s tab text, nine columns in grid order", name.constData())
                << m << QByteArray() << QByteArray()
                << QStringLiteral("12\t%1\t\t%2\t250.30\tdel\t2\ton\tH\n").arg(rx, tx)
                << QStringList{rx, "", tx, "250.3", "del", "2", "on", "H"} << QStringList();
            QTest::addRow("%s tab text, frequency and tones only", name.constData())
                << m << QByteArray() << QByteArray() << QStringLiteral("%1\t67.0\n").arg(rx)
                << QStringList{rx, "67.0", rx, "67.0", "add", "off", "off", "H"} << QStringList();
            QTest::addRow("%s tab text, typed frequency snapped like typing", name.constData())
                << m << QByteArray() << QByteArray()
                << (v ? QStringLiteral("145.0123") : QStringLiteral("446.0123"))
                << QStringList{v ? "145.01000" : "446.01000",
                               "",
                               v ? "145.01000" : "446.01000",
                               "",
                               "add",
                               "off",
                               "off",
                               "H"}
                << QStringList();
            QTest::addRow("%s CHIRP CSV form", name.constData())
                << m << QByteArray()
                << QByteArray(chirpHeader) +
                       (QStringLiteral("7,,%1,split,%2,Cross,100.0,88.5,023,NN,023,Tone->Tone,"
                                       "NFM,6.25,S,1.0W,,,,,\r\n")
                            .arg(rx + "0", tx + "0")
                            .toUtf8())
                << QString() << QStringList{rx, "88.5", tx, "100.0", "del", "off", "off", "L"}
                << QStringList();
            QTest::addRow("%s CHIRP CSV as plain text", name.constData())
                << m << QByteArray() << QByteArray()
                << QString::fromLatin1(chirpHeader) +
                       QStringLiteral("1,,%1,off,0.000000,DTCS,88.5,88.5,754,NN,754,Tone->Tone,NFM,"
                                      "6.25,,5.0W,,,,,\r\n")
                           .arg(rx + "0")
                << QStringList{rx, "D754N", "", "D754N", "add", "off", "off", "H"} << QStringList();
            QTest::addRow("%s CHIRP CSV form, blank before Location", name.constData())
                << m << QByteArray()
                << " " + QByteArray(chirpHeader) +
                       (QStringLiteral("7,,%1,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,NFM,"
                                       "6.25,,5.0W,,,,,\r\n")
                            .arg(rx + "0")
                            .toUtf8())
                << QString() << QStringList{rx, "", rx, "", "add", "off", "off", "H"}
                << QStringList();
            QTest::addRow("%s tab text, CHIRP's captions Frequency and Power", name.constData())
                << m << QByteArray() << QByteArray()
                << QStringLiteral("Frequency\tPower\n%1\tL\n").arg(rx)
                << QStringList{rx, "", rx, "", "add", "off", "off", "L"} << QStringList();
            QTest::addRow("%s tab text, CHIRP columns from a spreadsheet", name.constData())
                << m << QByteArray() << QByteArray()
                << QStringLiteral("Name\tFrequency\tDuplex\tOffset\tTone\trToneFreq\tPower\n"
                                  "x\t%1\t\t0.000000\tTone\t88.5\t1.0W\n")
                       .arg(rx + "0")
                << QStringList{rx, "", rx, "88.5", "add", "off", "off", "L"} << QStringList();
            const QString margin = QString::number(modelInfo(m).band.bandHigh + 3, 'f', 5);
            QTest::addRow("%s own rows, receive in the warning margin kept", name.constData())
                << m << ownRows(m, margin, {"023"}) << QByteArray() << QString()
                << QStringList{margin, "", margin, "", "add", "off", "off", "H"} << QStringList();
            QTest::addRow("%s tab text, transmit in the warning margin kept", name.constData())
                << m << QByteArray() << QByteArray() << QStringLiteral("%1\t\t%2\n").arg(rx, margin)
                << QStringList{rx, "", margin, "", "add", "off", "off", "H"} << QStringList();
            QTest::addRow("%s tab text, captions the program does not know", name.constData())
                << m << QByteArray() << QByteArray()
                << QStringLiteral("Location\tFrequency\tNotes\tPower\n0\t%1\tclub\tL\n").arg(rx)
                << QStringList{rx, "", rx, "", "add", "off", "off", "L"}
                << QStringList{"Location", "Notes"};
            QTest::addRow("%s tab text, CHIRP captions with one it does not know", name.constData())
                << m << QByteArray() << QByteArray()
                << QStringLiteral("Frequency\tNotes\tTone\trToneFreq\n%1\tclub\tTone\t88.5\n")
                       .arg(rx + "0")
                << QStringList{rx, "", rx, "88.5", "add", "off", "off", "H"}
                << QStringList{"Notes"};
            QTest::addRow("%s empty row empties the channel", name.constData())
                << m << QByteArray() << QByteArray() << QStringLiteral("\t88.5\n")
                << QStringList{"", "", "", "", "", "", "", ""} << QStringList();
        }
    }

    void pasteEntersRowsLikeTyping()
    {
        QFETCH(Model, model);
        QFETCH(QByteArray, ownRows);
        QFETCH(QByteArray, chirpCsv);
        QFETCH(QString, text);
        QFETCH(QStringList, expected);
        QFETCH(QStringList, ignored);
        ChannelTable current = emptyTable();
        current[4] = channel(5, {"", "", "", "", "", "", "", ""});
        current[4][Spare3] = QStringLiteral("kept3");
        const PastePlan plan = planPaste({ownRows, chirpCsv, text}, modelInfo(model), current, 4);
        QVERIFY2(plan.problems.isEmpty(),
                 qPrintable(plan.problems.isEmpty()
                                ? QString()
                                : pasteReasonText(plan.problems.first().reason, true)));
        QCOMPARE(plan.rowsTaken, 1);
        QCOMPARE(plan.rowsChanged, QList<int>{4});
        QCOMPARE(shown(plan.table[4]), expected);
        QCOMPARE(plan.ignoredColumns, ignored);
        QCOMPARE(plan.table[4][ChannelNumber], QStringLiteral("5"));
        if (ownRows.isEmpty())
            QCOMPARE(plan.table[4][Spare3], QStringLiteral("kept3"));
        // A frequency in the warning margins is taken, as typing takes it, with a warning.
        const double high = modelInfo(model).band.bandHigh;
        const bool outside = expected[0].toDouble() > high || expected[2].toDouble() > high;
        QCOMPARE(plan.warnings.size(), outside ? 1 : 0);
        if (outside) {
            QVERIFY(pasteReasonText(plan.warnings.first().reason, false).contains("超出"));
            QCOMPARE(plan.warnings.first().line, 1);
            QCOMPARE(plan.warnings.first().location, QStringLiteral("5"));
        }
        for (int row = 0; row < channelCount; ++row)
            if (row != 4)
                QVERIFY(plan.table[row] == current[row]);
    }

    // A row that does not fit is listed with its reason and its channel keeps what it had;
    // the rows around it still land where they would have.
    void refusedRowsAreListedAndLeaveTheirChannel_data()
    {
        QTest::addColumn<Model>("model");
        QTest::addColumn<QString>("row");
        QTest::addColumn<QString>("reasonChinese");

        QTest::newRow("V receive below band") << Model::V << "129.5"
                                              << "接收频率 129.5 超出";
        QTest::newRow("V receive beyond the warning margin") << Model::V << "181"
                                                             << "接收频率 181 超出";
        QTest::newRow("UH receive of another band") << Model::UH << "145.0125"
                                                    << "超出";
        QTest::newRow("UL transmit beyond the warning margin") << Model::UL << "355\t\t381"
                                                               << "发送频率 381 超出";
        QTest::newRow("receive not a number") << Model::UM << "abc\t67.0"
                                              << "不是数字";
        QTest::newRow("transmit not a number") << Model::UM << "410\t\tx"
                                               << "不是数字";
        QTest::newRow("tone not in the list") << Model::V << "145\t69.4"
                                              << "收哑音“69.4”";
        QTest::newRow("inverted DCS") << Model::V << "145\tD023I"
                                      << "收哑音“D023I”";
        QTest::newRow("power of another model") << Model::V << "145\t\t145\t\tadd\toff\toff\t "
                                                << "功率“ ”";
        QTest::newRow("scan word unknown") << Model::UH << "440\t\t440\t\tskip"
                                           << "扫描“skip”";
        QTest::newRow("caption row without the receive frequency")
            << Model::V << "Power\tQT/DQT Dec\nL\t67.0\n"
            << "没有接收频率";
        // A caption it does not know leaves the others read by name.
        QTest::newRow("caption row with a caption not known")
            << Model::V << "Frequency\tPower\tColour\nabc\tL\tred\n"
            << "接收频率“abc”不是数字";
        // Spare fields of our own rows (the second of three rows) must fit a channel file.
        QTest::newRow("own rows, spare field too long for a channel file")
            << Model::V << "spare3:" + QString(100000, u'x') << "备用3 超过 1024 字节";
        QTest::newRow("own rows, spare field GB2312 cannot hold")
            << Model::V << QStringLiteral("spare3:a\U0001F600") << "不能保存的字符";
        QTest::newRow("own rows, spare field with a double quote that needs quotes")
            << Model::V << "spare3:\"a,b\""
            << "双引号";
        QTest::newRow("CHIRP tone the radio lacks")
            << Model::V
            << QString::fromLatin1(chirpHeader) +
                   "1,,145.000000,,0.000000,TSQL,159.8,159.8,023,NN,023,Tone->Tone,NFM,5.00,,"
                   "5.0W,,,,,"
            << "159.8";
        QTest::newRow("CHIRP row of a DMR repeater")
            << Model::V
            << QString::fromLatin1(chirpHeader) +
                   "1,,145.150000,-,0.600000,,88.5,88.5,023,NN,023,Tone->Tone,DMR,5.00,,"
                   "5.0W,,,,,"
            << "Mode“DMR”不是模拟调频";
    }

    void refusedRowsAreListedAndLeaveTheirChannel()
    {
        QFETCH(Model, model);
        QFETCH(QString, row);
        QFETCH(QString, reasonChinese);
        const ModelInfo &info = modelInfo(model);
        const QString good = QString::number(info.band.bandLow + 1, 'f', 5);
        ChannelTable current = emptyTable();
        current[6] = channel(7, {"x", "67.0", "y", "67.0", "add", "off", "off", "H"});
        // A CHIRP list or a text with its own caption row is pasted alone onto channel 7; a
        // row is pasted between two good rows; a spare field in the middle of three own rows.
        const bool chirp = row.startsWith(QLatin1String("Location")) || row.contains(u'\n');
        const bool own = row.startsWith(QLatin1String("spare3:"));
        const QString text = chirp || own ? row : good + "\n" + row + "\n" + good + "\n";
        const QByteArray ownText =
            own ? ownRows(model, good, {"023", row.mid(7), "023"}) : QByteArray();
        const PastePlan plan =
            planPaste({ownText, {}, own ? QString() : text}, info, current, chirp ? 6 : 5);
        QCOMPARE(plan.problems.size(), 1);
        const QString chinese = pasteReasonText(plan.problems.first().reason, false);
        QVERIFY2(chinese.contains(reasonChinese), qPrintable(chinese));
        QVERIFY(!pasteReasonText(plan.problems.first().reason, true).isEmpty());
        QCOMPARE(plan.problems.first().location, QStringLiteral("7"));
        QVERIFY(plan.table[6] == current[6]);
        QCOMPARE(plan.rowsTaken, chirp ? 0 : 2);
        if (!chirp) {
            QCOMPARE(plan.rowsChanged, (QList<int>{5, 7}));
            QCOMPARE(plan.problems.first().line, 2);
        }
    }

    void pasteNeverRunsPastChannel16_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("taken");
        QTest::newRow("last channel, three rows") << 15 << 3 << 1;
        QTest::newRow("exactly to the end") << 13 << 3 << 3;
        QTest::newRow("first channel, all sixteen") << 0 << 16 << 16;
        QTest::newRow("first channel, seventeen") << 0 << 17 << 16;
    }

    void pasteNeverRunsPastChannel16()
    {
        QFETCH(int, start);
        QFETCH(int, rows);
        QFETCH(int, taken);
        QString text;
        for (int i = 0; i < rows; ++i)
            text += QStringLiteral("145.%1\n").arg(i * 5 + 100, 3, 10, QLatin1Char('0'));
        const PastePlan plan = planPaste({{}, {}, text}, modelInfo(Model::V), emptyTable(), start);
        QCOMPARE(plan.rowsTaken, taken);
        QCOMPARE(plan.rowsPastEnd, rows - taken);
        QVERIFY(plan.problems.isEmpty()); // counted, not listed
        QCOMPARE(plan.table[15][RxFrequency].isEmpty(), start + rows < 16);
    }

    // Nothing readable, or far more than any channel list: refused whole, nothing entered.
    void unusableClipboardIsAnError_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("blank lines") << QStringLiteral("\n\n");
        QTest::newRow("megabytes of rows") << QStringLiteral("145\n").repeated(300000);
    }

    void unusableClipboardIsAnError()
    {
        QFETCH(QString, text);
        const PastePlan plan = planPaste({{}, {}, text}, modelInfo(Model::V), emptyTable(), 0);
        QVERIFY(plan.error);
        QCOMPARE(plan.rowsTaken, 0);
        QVERIFY(plan.table == emptyTable());
    }

    // A long CHIRP list pasted near the end: only the rows that land are read.
    void longChirpListStopsAtChannel16()
    {
        QByteArray csv = chirpHeader;
        for (int i = 1; i <= 200; ++i)
            csv += "1,,145.000000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,NFM,5.00,,5.0W,,,,,"
                   "\r\n";
        const PastePlan plan = planPaste({{}, csv, {}}, modelInfo(Model::V), emptyTable(), 14);
        QCOMPARE(plan.rowsTaken, 2);
        QCOMPARE(plan.rowsPastEnd, 198);
        QVERIFY(plan.problems.isEmpty());
    }

    // What one window copies, the same window (or another of its band) pastes back unchanged,
    // from each of the three forms; a spreadsheet gets the captions and the cells as shown.
    void copiedChannelsPasteBackUnchanged_data()
    {
        QTest::addColumn<int>("form"); // 0 own rows, 1 tab text, 2 CHIRP CSV
        QTest::newRow("own rows") << 0;
        QTest::newRow("tab text") << 1;
        QTest::newRow("CHIRP CSV") << 2;
    }

    void copiedChannelsPasteBackUnchanged()
    {
        QFETCH(int, form);
        const ModelInfo &info = modelInfo(Model::UH);
        ChannelTable table = emptyTable();
        table[1] =
            channel(2, {"446.00625", "D023N", "441.00625", "67.0", "del", "off", "off", "L"});
        table[2] = channel(3, {"430.00000", "", "470.00000", "", "add", "off", "off", "H"});
        table[3] = channel(4, {"435.10000", "88.5", "435.10000", "88.5", "add", "off", "off", "H"});
        table[2][Spare6] = QStringLiteral("note");
        const QStringList captions{"信道号",    "接收频率",     "收哑音       ",
                                   "发送频率",  "发哑音      ", "扫描      ",
                                   "BCL      ", "拍频       ",  "功率       "};
        const CopiedChannels copied = copyChannels(table, {1, 2, 3}, info, captions);
        QVERIFY(copied.tabText.startsWith(
            QStringLiteral("信道号\t接收频率\t收哑音\t发送频率\t发哑音\t扫描\tBCL\t拍频\t功率\r\n"
                           "2\t446.00625\tD023N\t441.00625\t67.0\tdel\toff\toff\tL\r\n")));
        QCOMPARE(copied.chirpCsv.count("\r\n"), 4); // header and three channels in use

        PasteSource source;
        if (form == 0)
            source.ownRows = copied.ownRows;
        else if (form == 1)
            source.text = copied.tabText;
        else
            source.chirpCsv = copied.chirpCsv;
        const PastePlan plan = planPaste(source, info, emptyTable(), 9);
        QVERIFY(plan.problems.isEmpty());
        for (int i = 0; i < 3; ++i)
            QCOMPARE(shown(plan.table[9 + i]), shown(table[1 + i]));
        QCOMPARE(plan.table[10][Spare6], form == 0 ? QStringLiteral("note") : QString(""));
        QCOMPARE(plan.table[9][ChannelNumber], QStringLiteral("10"));
    }

    void movesAtTheEdges_data()
    {
        QTest::addColumn<QList<int>>("rows");
        QTest::addColumn<int>("step");
        QTest::addColumn<bool>("moves");
        QTest::addColumn<QList<int>>("movedTo");
        QTest::addColumn<QString>("order"); // receive frequencies of channels 1..5 afterwards

        QTest::newRow("first up") << QList<int>{0} << -1 << false << QList<int>{} << "";
        QTest::newRow("last down") << QList<int>{15} << 1 << false << QList<int>{} << "";
        QTest::newRow("block touching top up")
            << QList<int>{0, 1} << -1 << false << QList<int>{} << "";
        QTest::newRow("second up") << QList<int>{1} << -1 << true << QList<int>{0} << "BACDE";
        QTest::newRow("first down") << QList<int>{0} << 1 << true << QList<int>{1} << "BACDE";
        QTest::newRow("block down") << QList<int>{1, 2} << 1 << true << QList<int>{2, 3} << "ADBCE";
        QTest::newRow("block up") << QList<int>{2, 3} << -1 << true << QList<int>{1, 2} << "ACDBE";
        QTest::newRow("apart up") << QList<int>{1, 3} << -1 << true << QList<int>{0, 2} << "BADCE";
        QTest::newRow("last up") << QList<int>{15} << -1 << true << QList<int>{14} << "ABCDE";
    }

    void movesAtTheEdges()
    {
        QFETCH(QList<int>, rows);
        QFETCH(int, step);
        QFETCH(bool, moves);
        QFETCH(QList<int>, movedTo);
        QFETCH(QString, order);
        ChannelTable table = emptyTable();
        for (int row = 0; row < channelCount; ++row) {
            table[row][RxFrequency] = QString(QChar(u'A' + row));
            table[row][Spare3] = QString(QChar(u'a' + row));
        }
        QList<int> where;
        const std::optional<ChannelTable> moved = moveChannels(table, rows, step, &where);
        QCOMPARE(bool(moved), moves);
        if (!moves)
            return;
        QCOMPARE(where, movedTo);
        QString first5;
        for (int row = 0; row < 5; ++row)
            first5 += (*moved)[row][RxFrequency];
        QCOMPARE(first5, order);
        for (int row = 0; row < channelCount; ++row) {
            QCOMPARE((*moved)[row][ChannelNumber], QString::number(row + 1)); // numbers stay
            // Everything else travels together.
            QCOMPARE((*moved)[row][Spare3], (*moved)[row][RxFrequency].toLower());
        }
    }

    void clearEmptiesLikeDeletingTheReceiveFrequency()
    {
        ChannelTable table = emptyTable();
        table[2] = channel(3, {"145.00000", "67.0", "146.00000", "D023N", "del", "1", "on", "L"});
        table[2][Spare3] = QStringLiteral("s3");
        table[3] = table[2];
        table[3][ChannelNumber] = QStringLiteral("4");
        const ChannelTable cleared = clearChannels(table, {2}, modelInfo(Model::V).band);
        QCOMPARE(shown(cleared[2]), QStringList(8, QString()));
        QCOMPARE(cleared[2][Spare3], QStringLiteral("s3"));
        QCOMPARE(cleared[2][ChannelNumber], QStringLiteral("3"));
        QVERIFY(cleared[3] == table[3]);
    }

    // A database from before the settings were kept opens with the defaults and is not
    // changed by opening it; the first change creates the table.
    void settingsKeptBesideTheTable()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("zw4630.mdb"));
        auto bytes = [&] {
            QFile f(path);
            f.open(QIODevice::ReadOnly);
            return f.readAll();
        };
        {
            ChannelStore made;
            QVERIFY(made.open(path).ok());
        }
        const QByteArray before = bytes();
        auto setSquelchAndTone = [](ChannelStore &store, const QString &level,
                                    const QString &tone) {
            ChangeSet change;
            change.settings = {{RadioSetting::SquelchLevel, store.settings().squelchLevel, level},
                               {RadioSetting::ChannelTone, store.settings().channelTone, tone}};
            return store.apply(change, true);
        };
        RadioSettings chosen;
        chosen.squelchLevel = QStringLiteral("7");
        chosen.channelTone = QStringLiteral("键音");
        {
            ChannelStore store;
            QVERIFY(store.open(path).ok());
            QCOMPARE(store.settings(), RadioSettings{});
            QCOMPARE(bytes(), before);
            QVERIFY(setSquelchAndTone(store, chosen.squelchLevel, chosen.channelTone));
        }
        {
            ChannelStore store;
            QVERIFY(store.open(path).ok());
            QCOMPARE(store.settings(), chosen);
            QVERIFY(setSquelchAndTone(store, QStringLiteral("0"), chosen.channelTone));
        }
        {
            ChannelStore store;
            QVERIFY(store.open(path).ok());
            QCOMPARE(store.settings().squelchLevel, QStringLiteral("0"));
        }

        // Values no list holds read as that list's default.
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "spoil");
            db.setDatabaseName(path);
            QVERIFY(db.open());
            QVERIFY(QSqlQuery(db).exec(
                QStringLiteral("UPDATE \"设置表\" SET \"静噪级别\"='12', \"信道音\"='French'")));
        }
        QSqlDatabase::removeDatabase("spoil");
        ChannelStore store;
        QVERIFY(store.open(path).ok());
        QCOMPARE(store.settings(), RadioSettings{});
    }
};

QTEST_GUILESS_MAIN(TestChannelClipboard)
#include "tst_channelclipboard.moc"
