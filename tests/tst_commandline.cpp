#include <QProcess>
#include <QProcessEnvironment>
#include <QtTest>

// The program answers --help and --version before it starts its windows, so they work where
// there is no display at all (a terminal over ssh, a build machine).
class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void helpAndVersionNeedNoDisplay_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("answer");
        const QString version = QStringLiteral("ZW4630 B1.3\n");
        QTest::newRow("--version") << QStringList{"--version"} << version;
        QTest::newRow("-v") << QStringList{"-v"} << version;
        QTest::newRow("--help") << QStringList{"--help"} << QStringLiteral("--com1 <DEVICE>");
        QTest::newRow("-h") << QStringList{"-h"} << QStringLiteral("--com2 <DEVICE>");
        QTest::newRow("after a port") << QStringList{"--com1", "/dev/null", "--version"} << version;
        QTest::newRow("after a Qt option")
            << QStringList{"-platform", "xcb", "--help"} << QStringLiteral("Usage: ");
    }

    void helpAndVersionNeedNoDisplay()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, answer);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QLatin1String(name));
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(ZW_APP_PATH), arguments);
        QVERIFY(program.waitForFinished(60000));
        const QString out = QString::fromUtf8(program.readAllStandardOutput());
        const QString err = QString::fromUtf8(program.readAllStandardError());
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QVERIFY2(program.exitCode() == 0, qPrintable(err));
        QVERIFY2(out.contains(answer), qPrintable(out));
        if (answer.endsWith(u'\n'))
            QCOMPARE(out, answer); // the version alone
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
