// SIGTERM, SIGINT and SIGHUP end the program through its normal exit: the signal becomes an
// exit request in the event loop, and the program run with a port open closes it (its lock
// file goes) instead of dying where it stands.
#include "exitsignals.h"
#include "virtualradio.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

using namespace zw;

class TestExitSignals : public QObject
{
    Q_OBJECT

private slots:
    void signalBecomesOneExitRequest_data()
    {
        QTest::addColumn<int>("number");
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGINT") << SIGINT;
        QTest::newRow("SIGHUP") << SIGHUP;
    }

    void signalBecomesOneExitRequest()
    {
        QFETCH(int, number);
        ExitSignals signals_;
        QSignalSpy requested(&signals_, &ExitSignals::exitRequested);
        QCOMPARE(::raise(number), 0); // this process lives on: the handler only notes it
        QVERIFY(requested.wait(2000));
        QCOMPARE(requested.at(0).at(0).toInt(), number);
        QCOMPARE(::raise(SIGTERM), 0); // a second signal while the exit runs changes nothing
        QTest::qWait(50);
        QCOMPARE(requested.count(), 1);
    }

    // The program on a port, ended by SIGTERM: it exits normally and its lock file is gone.
    void terminatedProgramReleasesThePort()
    {
        VirtualRadio radio(Model::V);
        QVERIFY(radio.open());
        const QString lockName =
            QStringLiteral("LCK..") + radio.devicePath().mid(5).replace(u'/', u'_');
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), dir.filePath(QStringLiteral("data")));
        program.setProcessEnvironment(env);
        program.setWorkingDirectory(dir.path());
        program.start(QStringLiteral(ZW_APP_PATH), {QStringLiteral("--com1"), radio.devicePath()});
        QVERIFY(program.waitForStarted(5000));
        QString lock;
        QTRY_VERIFY_WITH_TIMEOUT(!(lock = lockFile(lockName)).isEmpty() ||
                                     program.state() == QProcess::NotRunning,
                                 15000);
        if (lock.isEmpty()) {
            program.kill();
            QSKIP("the program took no lock file for the port");
        }
        program.terminate(); // SIGTERM
        QSignalSpy finished(&program, &QProcess::finished);
        QVERIFY(finished.wait(15000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        QVERIFY2(!QFileInfo::exists(lock), qPrintable(lock));
    }

private:
    static QString lockFile(const QString &name)
    {
        for (const QString &folder :
             {QStringLiteral("/run/lock"), QStringLiteral("/var/lock"), QDir::tempPath()}) {
            const QString path = QDir(folder).filePath(name);
            if (QFileInfo::exists(path))
                return path;
        }
        return QString();
    }
};

QTEST_GUILESS_MAIN(TestExitSignals)
#include "tst_exitsignals.moc"
