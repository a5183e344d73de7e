// The command-line tool's file commands (show, export-csv, import-csv) end to end: the built
// zw4630-cli runs as a process on files in a temporary folder.
#include "chirpcsv.h"
#include "clirun.h"
#include "okcheck.h"
#include "testfolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace zw;
using namespace zw::test;

Q_DECLARE_METATYPE(zw::Model)

class TestCliFiles : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }

    void cleanup() { m_dir.reset(); }

    void showPrintsSettingsAndAllChannels()
    {
        const QString path = m_dir->filePath(QStringLiteral("v.doc"));
        QVERIFY(writeFileBytes(path, writeChannelFile(sampleChannelFile(Model::V)).value()));
        const CliRun run = runCli({"show", path});
        QCOMPARE(run.status, 0);
        const QStringList lines = run.out.split(u'\n');
        QCOMPARE(lines.size(), 4 + 1 + channelCount + 1); // settings, blank, header, 16, end
        QCOMPARE(lines.at(0), QStringLiteral("model          ZW4630V"));
        QCOMPARE(lines.at(1), QStringLiteral("channel tone   英文"));
        QCOMPARE(lines.at(2), QStringLiteral("squelch level  7"));
        QCOMPARE(
            lines.at(4),
            QStringLiteral("CH  RX MHz     RX TONE  TX MHz     TX TONE  SCAN  BCL  BEAT  POWER"));
        QCOMPARE(lines.at(5),
                 QStringLiteral(" 1  137.00000  67       137.00000  67       add   off  off   H"));
        QCOMPARE(lines.at(6),
                 QStringLiteral(" 2  138.00625  D754N    138.50000  100      del   off  off   L"));
        QCOMPARE(lines.at(7), QStringLiteral(" 3"));
        QCOMPARE(lines.at(9),
                 QStringLiteral(" 5  139.00000                      D023N    add   off  off   H"));
        QCOMPARE(lines.at(20),
                 QStringLiteral("16  140.00500           140.60500           del   off  off   L"));
    }

    void unusableFilesFailWithStatus1_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("show missing file")
            << QStringList{"show", "missing.doc"} << "cannot open missing.doc";
        QTest::newRow("show short file") << QStringList{"show", "short.doc"}
                                         << "short.doc is not a channel file this program can use";
        QTest::newRow("export missing file")
            << QStringList{"export-csv", "missing.doc", "-o", "out.csv"}
            << "cannot open missing.doc";
        QTest::newRow("export of a file naming no model")
            << QStringList{"export-csv", "nomodel.doc", "-o", "out.csv"} << "give --model";
        QTest::newRow("import of no CSV")
            << QStringList{"import-csv", "short.doc", "--model", "V", "-o", "out.doc"}
            << "short.doc is not a CHIRP CSV file";
        QTest::newRow("write of a short file")
            << QStringList{"write", "--port", "/dev/null", "--model", "V", "short.doc"}
            << "short.doc is not a channel file";
    }

    void unusableFilesFailWithStatus1()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        QVERIFY(QDir::setCurrent(m_dir->path()));
        QVERIFY(writeFileBytes(QStringLiteral("short.doc"), "4,中文,3,145.00000,"));
        ChannelFileData noModel = sampleChannelFile(Model::V);
        noModel.modelCode = QStringLiteral("7");
        QVERIFY(writeFileBytes(QStringLiteral("nomodel.doc"), writeChannelFile(noModel).value()));
        const CliRun run = runCli(arguments);
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
        QVERIFY(!QFileInfo::exists(QStringLiteral("out.csv")));
        QVERIFY(!QFileInfo::exists(QStringLiteral("out.doc")));
    }

    // Outputs that must not be written: the command's own input, a FIFO (nobody reads it: the
    // command would wait forever, or put a file in its place), a channel file whose frequency is
    // no frequency, and a file the disk does not confirm (fdatasync fails with EIO, injected by
    // strace). Each ends at once with status 1 and changes nothing.
    void hostileOutputsChangeNothing_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("syncFails");
        QTest::addColumn<qint64>("fileSizeLimit"); // bytes the tool's files may grow to; -1 none
        QTest::newRow("export whose sync fails")
            << QStringList{"export-csv", "in.doc", "-o", "old.out"}
            << "the disk did not confirm old.out as written (" << true << qint64(-1);
        QTest::newRow("import whose sync fails")
            << QStringList{"import-csv", "in.csv", "--model", "V", "-o", "old.out"}
            << "the disk did not confirm old.out as written (" << true << qint64(-1);
        QTest::newRow("export onto its own input")
            << QStringList{"export-csv", "in.doc", "-o", "in.doc"} << "in.doc is the input file"
            << false << qint64(-1);
        QTest::newRow("import onto its own input")
            << QStringList{"import-csv", "in.csv", "--model", "V", "-o", "in.csv"}
            << "in.csv is the input file" << false << qint64(-1);
        QTest::newRow("export into a FIFO") << QStringList{"export-csv", "in.doc", "-o", "fifo"}
                                            << "fifo is not a regular file" << false << qint64(-1);
        QTest::newRow("import into a FIFO")
            << QStringList{"import-csv", "in.csv", "--model", "V", "-o", "fifo"}
            << "fifo is not a regular file" << false << qint64(-1);
        QTest::newRow("FIFO as input")
            << QStringList{"show", "fifo"} << "fifo is not a regular file" << false << qint64(-1);
        QTest::newRow("read traced into its own output")
            << QStringList{"read", "--port", "/dev/null", "--model", "V",
                           "-o",   "in.doc", "--trace",   "./in.doc"}
            << "the trace needs a file of its own" << false << qint64(-1);
        QTest::newRow("write traced into its own input")
            << QStringList{"write", "--port", "/dev/null", "--model",
                           "V",     "in.doc", "--trace",   "in.doc"}
            << "the trace needs a file of its own" << false << qint64(-1);
        QTest::newRow("frequency of 23 digits")
            << QStringList{"export-csv", "huge.doc", "-o", "out.csv"} << "too large" << false
            << qint64(-1);
        // A trace goes only to a regular file or a new name: a FIFO nobody reads would hold the
        // tool before it starts, a device (the serial port itself) would get the text.
        QTest::newRow("read traced into a FIFO")
            << QStringList{"read", "--port",  "/dev/null", "--model", "V",
                           "-o",   "out.doc", "--trace",   "fifo"}
            << "zw4630-cli: cannot write the serial trace to fifo: it is not a regular file\n"
            << false << qint64(-1);
        QTest::newRow("write traced into /dev/full")
            << QStringList{"write", "--port", "/dev/null", "--model",
                           "V",     "in.doc", "--trace",   "/dev/full"}
            << "zw4630-cli: cannot write the serial trace to /dev/full: it is not a regular file\n"
            << false << qint64(-1);
        QTest::newRow("read traced into its own serial port")
            << QStringList{"read", "--port",  "/dev/null", "--model",  "V",
                           "-o",   "out.doc", "--trace",   "/dev/null"}
            << "zw4630-cli: /dev/null is the serial port: the trace needs a file of its own\n"
            << false << qint64(-1);
        QTest::newRow("ports traced into /proc/version")
            << QStringList{"ports", "--trace", "/proc/version"}
            << "zw4630-cli: cannot write the serial trace to /proc/version: " << false
            << qint64(-1);
        // Past a file-size limit a write fails as on a full disk: said, the temporary file gone.
        QTest::newRow("import under a file-size limit")
            << QStringList{"import-csv", "in.csv", "--model", "V", "-o", "old.out"}
            << "old.out could not be written whole (" + qt_error_string(EFBIG) +
                   "); the old file is kept\n"
            << false << qint64(200);
    }

    static QString leakCheckOff()
    {
        QString options = QString::fromLocal8Bit(qgetenv("ASAN_OPTIONS"));
        return QStringLiteral("ASAN_OPTIONS=") + options +
               (options.isEmpty() ? QString() : QStringLiteral(":")) +
               QStringLiteral("detect_leaks=0");
    }

    void hostileOutputsChangeNothing()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        QFETCH(bool, syncFails);
        QFETCH(qint64, fileSizeLimit);
        const QString strace = QStandardPaths::findExecutable(QStringLiteral("strace"));
        if (syncFails && strace.isEmpty())
            QSKIP("strace is missing");
        if (syncFails)
            message += qt_error_string(EIO); // the system's own text, in this locale
        QVERIFY(QDir::setCurrent(m_dir->path()));
        QVERIFY(writeFileBytes(QStringLiteral("old.out"), "old contents"));
        const QByteArray doc = writeChannelFile(sampleChannelFile(Model::V)).value();
        QVERIFY(writeFileBytes(QStringLiteral("in.doc"), doc));
        const QByteArray csv =
            exportChirpCsv(sampleChannelFile(Model::V).records, modelInfo(Model::V)).value();
        QVERIFY(writeFileBytes(QStringLiteral("in.csv"), csv));
        ChannelFileData huge = sampleChannelFile(Model::V);
        huge.records[1][RxFrequency] = QStringLiteral("12345678901234567890123");
        QVERIFY(writeFileBytes(QStringLiteral("huge.doc"), writeChannelFile(huge).value()));
        QVERIFY(mkfifo("fifo", 0600) == 0);
        const QStringList before = QDir().entryList(QDir::AllEntries | QDir::Hidden);
        if (syncFails)
            arguments = QStringList{"-f", "-o", "/dev/null",
                                    // LeakSanitizer cannot run under ptrace: a sanitized build
                                    // leaves the leak check to the other rows.
                                    "-E", leakCheckOff(), "-e", "trace=fdatasync", "-e",
                                    "inject=fdatasync:error=EIO", cliPath()} +
                        arguments;
        const CliRun run = runCli(arguments, 30000, syncFails ? strace : QString(), fileSizeLimit);
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
        QCOMPARE(fileBytes(QStringLiteral("in.doc")), doc);
        QCOMPARE(fileBytes(QStringLiteral("in.csv")), csv);
        QCOMPARE(fileBytes(QStringLiteral("old.out")), QByteArray("old contents"));
        QCOMPARE(QDir().entryList(QDir::AllEntries | QDir::Hidden), before);
        QVERIFY(!QFileInfo::exists(QStringLiteral("out.csv")));
        QVERIFY(!QFileInfo(QStringLiteral("fifo")).isFile());
        QVERIFY(QFileInfo::exists(QStringLiteral("fifo")));
    }

    // Names that are not UTF-8 (Latin-1, GBK, bytes of no encoding) are read and written byte
    // for byte; two such names never meet in one U+FFFD name.
    void namesThatAreNotUtf8AreTakenByteForByte_data()
    {
        QTest::addColumn<QByteArray>("command"); // shell words; NAME is the name below
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<bool>("written"); // by the command, else a channel file it reads
        QTest::newRow("show of bytes of no encoding")
            << QByteArray("show NAME") << QByteArray("\xff\xfeodd.doc") << false;
        QTest::newRow("export of a Latin-1 name")
            << QByteArray("export-csv NAME -o out.csv") << QByteArray("\xe9t\xe9.doc") << false;
        QTest::newRow("export into a GBK name")
            << QByteArray("export-csv in.doc -o NAME") << QByteArray("\xb2\xe2.csv") << true;
        QTest::newRow("import into a Latin-1 name")
            << QByteArray("import-csv in.csv --model V -o NAME") << QByteArray("\xe9t\xe9.doc")
            << true;
    }

    void namesThatAreNotUtf8AreTakenByteForByte()
    {
        QFETCH(QByteArray, command);
        QFETCH(QByteArray, name);
        QFETCH(bool, written);
        QVERIFY(QDir::setCurrent(m_dir->path()));
        const QByteArray doc = writeChannelFile(sampleChannelFile(Model::V)).value();
        QVERIFY(writeFileBytes(QStringLiteral("in.doc"), doc));
        QVERIFY(writeFileBytes(
            QStringLiteral("in.csv"),
            exportChirpCsv(sampleChannelFile(Model::V).records, modelInfo(Model::V)).value()));
        // Qt's own removal of the folder would miss the file.
        const struct Remove {
            QByteArray name;
            ~Remove() { ::unlink(name.constData()); }
        } remove{name};
        // A file of the name Qt would make of these bytes: it must stay untouched.
        QVERIFY(writeFileBytes(QString::fromUtf8(name), "decoy"));
        if (!written) {
            const int fd = ::open(name.constData(), O_WRONLY | O_CREAT, 0644);
            QVERIFY(fd >= 0);
            QCOMPARE(::write(fd, doc.constData(), size_t(doc.size())), ssize_t(doc.size()));
            ::close(fd);
        }
        // The name goes to the tool through the shell, as printf's octal escapes.
        QByteArray escaped;
        for (char c : name)
            escaped += '\\' + QByteArray::number(uchar(c), 8).rightJustified(3, '0');
        command.replace("NAME", "\"$(printf '" + escaped + "')\"");
        const CliRun run =
            runCli({QStringLiteral("-c"),
                    QStringLiteral("exec \"$0\" ") + QString::fromLatin1(command), cliPath()},
                   30000, QStringLiteral("/bin/sh"));
        QVERIFY2(run.status == 0, qPrintable(run.err));
        QCOMPARE(fileBytes(QString::fromUtf8(name)), QByteArray("decoy"));
        struct stat status {
        };
        QVERIFY(::stat(name.constData(), &status) == 0);
        if (written)
            QVERIFY(status.st_size > 100);
    }

    void csvRoundTripKeepsWhatCsvCarries_data()
    {
        QTest::addColumn<Model>("model");
        for (Model model : allModels)
            QTest::newRow(qPrintable(modelInfo(model).name)) << model;
    }

    void csvRoundTripKeepsWhatCsvCarries()
    {
        QFETCH(Model, model);
        const QString source = m_dir->filePath(QStringLiteral("source.doc"));
        const QString csv = m_dir->filePath(QStringLiteral("list.csv"));
        const QString back = m_dir->filePath(QStringLiteral("back.doc"));
        const ChannelFileData data = sampleChannelFile(model);
        QVERIFY(writeFileBytes(source, writeChannelFile(data).value()));

        CliRun run = runCli({"export-csv", source, "-o", csv});
        QCOMPARE(run.status, 0);
        QFile csvFile(csv);
        QVERIFY(csvFile.open(QIODevice::ReadOnly));
        QCOMPARE(
            csvFile.readAll(),
            exportChirpCsv(readChannelFileAt(source).value().records, modelInfo(model)).value());

        run = runCli({"import-csv", csv, "--model", modelInfo(model).shortName, "-o", back});
        QCOMPARE(run.status, 0);
        QVERIFY2(run.err.isEmpty(), qPrintable(run.err));
        const Expected<ChannelFileData> original = readChannelFileAt(source);
        const Expected<ChannelFileData> result = readChannelFileAt(back);
        ZW_VERIFY_OK(result);
        QCOMPARE(result->modelCode, modelInfo(model).code);
        for (int row = 0; row < channelCount; ++row)
            for (int field = RxFrequency; field <= Power; ++field)
                QCOMPARE(result->records[row][field], original->records[row][field]);
    }

    // A repeater directory's export (tests/data/repeaters-2m.csv): 20 rows from Location 0,
    // FM, NFM and empty modes among DMR, DV and AM rows. The digital and AM rows never go in;
    // --renumber places the 17 analog rows in file order and says one did not fit.
    void importOfARepeaterExport_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("status");
        QTest::addColumn<QStringList>("said");
        QTest::addColumn<QString>("channel1"); // receive frequency of channel 1, if written
        QTest::newRow("by Location")
            << QStringList{} << 1
            << QStringList{":2: Location 0: Location 0 is not a channel of this radio",
                           ":4: Location 2: Mode \"DMR\" is not analog FM",
                           ":6: Location 4: Mode \"DV\" is not analog FM",
                           ":8: Location 6: Mode \"AM\" is not analog FM",
                           "or --renumber to place the rows in file order into channels 1-16\n"}
            << QString();
        QTest::newRow("--renumber, digital rows listed")
            << QStringList{"--renumber"} << 1
            << QStringList{":4: Location 2: Mode \"DMR\" is not analog FM", "3 of the rows of "}
            << QString();
        QTest::newRow("--renumber --skip-bad")
            << QStringList{"--renumber", "--skip-bad"} << 0
            << QStringList{"placed 16 rows of ",
                           " in file order into channels 1-16; 1 more rows that fit came after "
                           "channel 16 and were left out\n"}
            << QStringLiteral("145.11000");
        QTest::newRow("--skip-bad by Location")
            << QStringList{"--skip-bad"} << 0 << QStringList{":2: Location 0: "}
            << QStringLiteral("145.13000");
    }

    void importOfARepeaterExport()
    {
        QFETCH(QStringList, options);
        QFETCH(int, status);
        QFETCH(QStringList, said);
        QFETCH(QString, channel1);
        const QString csv = QStringLiteral(ZW_TEST_DATA "/repeaters-2m.csv");
        const QString out = m_dir->filePath(QStringLiteral("out.doc"));
        const CliRun run =
            runCli(QStringList{"import-csv", csv, "--model", "V", "-o", out} + options);
        QCOMPARE(run.status, status);
        for (const QString &text : said)
            QVERIFY2(run.err.contains(text), qPrintable(run.err));
        QCOMPARE(QFileInfo::exists(out), !channel1.isEmpty());
        if (channel1.isEmpty())
            return;
        const Expected<ChannelFileData> result = readChannelFileAt(out);
        ZW_VERIFY_OK(result);
        QCOMPARE(result->records[0][RxFrequency], channel1);
    }

    void importRefusesRowsThatDoNotFitUnlessSkipBad()
    {
        const QString csv = m_dir->filePath(QStringLiteral("in.csv"));
        const QString out = m_dir->filePath(QStringLiteral("out.doc"));
        QVERIFY(writeFileBytes(csv, "Location,Frequency,Tone,rToneFreq,cToneFreq\r\n"
                                    "1,145.000000,TSQL,88.5,88.5\r\n"
                                    "2,145.500000,TSQL,69.4,69.4\r\n"
                                    "17,146.000000,,,\r\n"));
        CliRun run = runCli({"import-csv", csv, "--model", "V", "-o", out});
        QCOMPARE(run.status, 1);
        QVERIFY2(
            run.err.contains(
                csv +
                QStringLiteral(
                    ":3: Location 2: CTCSS tone 69.4 Hz is not one of the radio's 39 tones\n")),
            qPrintable(run.err));
        QVERIFY(run.err.contains(csv + QStringLiteral(":4: Location 17: ")));
        QVERIFY(run.err.contains(QStringLiteral("--skip-bad")));
        QVERIFY(!QFileInfo::exists(out));

        run = runCli({"import-csv", csv, "--model", "V", "-o", out, "--skip-bad"});
        QCOMPARE(run.status, 0);
        const Expected<ChannelFileData> result = readChannelFileAt(out);
        ZW_VERIFY_OK(result);
        QCOMPARE(result->records[0][RxFrequency], QStringLiteral("145.00000"));
        QCOMPARE(result->records[0][RxTone], QStringLiteral("88.5"));
        QCOMPARE(result->records[1][RxFrequency], QString());
        QCOMPARE(result->channelTone, QStringLiteral("中文"));
        QCOMPARE(result->squelchLevel, QStringLiteral("3"));
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_GUILESS_MAIN(TestCliFiles)
#include "tst_cli_files.moc"
