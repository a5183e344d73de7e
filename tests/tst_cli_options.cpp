// The command-line tool's command line: usage mistakes end with status 2 and say what is wrong,
// and every command has its help. The built zw4630-cli runs as a process.
#include "clirun.h"

#include <QtTest>

using namespace zw;
using namespace zw::test;

class TestCliOptions : public QObject
{
    Q_OBJECT

private slots:
    void badUsageEndsWithStatus2_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("no command") << QStringList{} << "Usage: zw4630-cli COMMAND";
        QTest::newRow("unknown command")
            << QStringList{"frobnicate"} << "unknown command 'frobnicate'";
        QTest::newRow("part of a command's name")
            << QStringList{"import", "in.csv"} << "unknown command 'import'";
        QTest::newRow("read without port")
            << QStringList{"read", "--model", "V", "-o", "x.doc"} << "option --port is missing";
        QTest::newRow("read without output")
            << QStringList{"read", "--port", "/dev/null", "--model", "V"} << "option -o is missing";
        QTest::newRow("unknown model")
            << QStringList{"read", "--port", "/dev/null", "--model", "X", "-o", "x.doc"}
            << "unknown model 'X' (V, UH, UM or UL)";
        QTest::newRow("zero time-out") << QStringList{"read", "--port", "/dev/null", "--model", "V",
                                                      "-o",   "x",      "--timeout", "0"}
                                       << "--timeout takes seconds";
        QTest::newRow("NaN time-out") << QStringList{"read", "--port", "/dev/null", "--model", "V",
                                                     "-o",   "x",      "--timeout", "nan"}
                                      << "--timeout takes seconds";
        QTest::newRow("infinite time-out")
            << QStringList{"read", "--port", "/dev/null", "--model", "V",
                           "-o",   "x",      "--timeout", "inf"}
            << "--timeout takes seconds";
        QTest::newRow("unknown option") << QStringList{"show", "--bogus", "x.doc"} << "bogus";
        QTest::newRow("write without file")
            << QStringList{"write", "--port", "/dev/null", "--model", "V"}
            << "a file name is missing";
        QTest::newRow("show with two files")
            << QStringList{"show", "a", "b"} << "unexpected argument 'b'";
        QTest::newRow("import without model")
            << QStringList{"import-csv", "in.csv", "-o", "out.doc"} << "option --model is missing";
        QTest::newRow("export without output")
            << QStringList{"export-csv", "in.doc"} << "option -o is missing";
        QTest::newRow("ports --port without --probe")
            << QStringList{"ports", "--port", "/dev/ttyS0"}
            << "--port and --timeout go with --probe";
        QTest::newRow("a 10 KB model name, cut")
            << QStringList{"read", "--port", "/dev/null", "--model", QString(10240, u'X'),
                           "-o",   "x"}
            << "unknown model 'XXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXX...' (10240 characters)";
        QTest::newRow("diff of a file it cannot read")
            << QStringList{"diff", "--port", "/dev/null", "--model", "V", "missing.doc"}
            << "cannot open missing.doc";
    }

    void badUsageEndsWithStatus2()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        const CliRun run = runCli(arguments);
        QCOMPARE(run.status, 2);
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
        QVERIFY(run.out.isEmpty());
        QVERIFY2(run.err.size() < 4000, qPrintable(run.err.left(4000))); // nothing echoed whole
    }

    void helpOfEachCommand_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("usage");
        QTest::newRow("tool") << QStringList{"--help"} << "Usage: zw4630-cli COMMAND";
        QTest::newRow("version") << QStringList{"--version"} << "zw4630-cli 1.";
        for (const char *command : {"read", "write", "show", "export-csv", "import-csv", "ports"})
            QTest::newRow(command)
                << QStringList{command, "--help"}
                << QStringLiteral("Usage: zw4630-cli %1 ").arg(QLatin1String(command));
    }

    void helpOfEachCommand()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, usage);
        const CliRun run = runCli(arguments);
        QCOMPARE(run.status, 0);
        QVERIFY2(run.out.startsWith(usage), qPrintable(run.out));
    }
};

QTEST_GUILESS_MAIN(TestCliOptions)
#include "tst_cli_options.moc"
