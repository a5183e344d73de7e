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
#include <sys/types.h>

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

    // The program ended by a signal exits normally: on a port, its lock file is gone; while
    // the start-up message about ports that do not open is up, nobody has to answer it first.
    void terminatedProgramEndsNormally_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<bool>("portOpens");
        QTest::newRow("SIGTERM, port open") << SIGTERM << true;
        QTest::newRow("SIGTERM, start-up message") << SIGTERM << false;
        QTest::newRow("SIGHUP, start-up message") << SIGHUP << false;
        QTest::newRow("SIGINT, start-up message") << SIGINT << false;
    }

    void terminatedProgramEndsNormally()
    {
        QFETCH(int, number);
        QFETCH(bool, portOpens);
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
        const QString absent = dir.filePath(QStringLiteral("no-such-port"));
        program.start(QStringLiteral(ZW_APP_PATH),
                      {QStringLiteral("--com1"), portOpens ? radio.devicePath() : absent,
                       QStringLiteral("--com2"), absent});
        QVERIFY(program.waitForStarted(5000));
        QSignalSpy finished(&program, &QProcess::finished);
        QString lock;
        if (portOpens) {
            QTRY_VERIFY_WITH_TIMEOUT(!(lock = lockFile(lockName)).isEmpty() ||
                                         program.state() == QProcess::NotRunning,
                                     15000);
            if (lock.isEmpty()) {
                program.kill();
                QSKIP("the program took no lock file for the port");
            }
        } else {
            // The message opens in the first event loop, so a signal that comes once the
            // program catches it is taken while the message is up.
            QTRY_VERIFY_WITH_TIMEOUT(catchesSignal(program.processId(), number) ||
                                         program.state() == QProcess::NotRunning,
                                     15000);
            QCOMPARE(program.state(), QProcess::Running);
            QTest::qWait(300);
        }
        QCOMPARE(::kill(pid_t(program.processId()), number), 0);
        QVERIFY(finished.wait(15000)); // the process object kills a program that hangs
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        if (portOpens)
            QVERIFY2(!QFileInfo::exists(lock), qPrintable(lock));
    }

private:
    // Whether process `pid` has a handler of its own for signal `number` (SigCgt in its status).
    static bool catchesSignal(qint64 pid, int number)
    {
        QFile status(QStringLiteral("/proc/%1/status").arg(pid));
        if (!status.open(QIODevice::ReadOnly))
            return false;
        for (const QByteArray &line : status.readAll().split('\n'))
            if (line.startsWith("SigCgt:"))
                return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (number - 1)) & 1;
        return false;
    }

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
