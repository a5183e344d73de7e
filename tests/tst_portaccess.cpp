#include "portaccess.h"
#include "portdevices.h"
#include "ptypair.h"

#include <QSerialPort>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/wait.h>
#include <unistd.h>

using namespace zw;
using zw::test::PtyPair;

class TestPortAccess : public QObject
{
    Q_OBJECT

private slots:
    void lockFileIsNamedAfterTheDevice_data()
    {
        QTest::addColumn<QString>("device");
        QTest::addColumn<QString>("lockFile");
        QTest::newRow("usb") << "/dev/ttyUSB0"
                             << "/var/lock/LCK..ttyUSB0";
        QTest::newRow("pty") << "/dev/pts/3"
                             << "/var/lock/LCK..pts_3";
        QTest::newRow("by-id") << "/dev/serial/by-id/usb-x"
                               << "/var/lock/LCK..serial_by-id_usb-x";
    }

    void lockFileIsNamedAfterTheDevice()
    {
        QFETCH(QString, device);
        QFETCH(QString, lockFile);
        QCOMPARE(lockFilePath(device, QStringLiteral("/var/lock")), lockFile);
    }

    // What a lock file says about its holder: this program, another process (by name), a
    // process that no longer runs, or nothing readable.
    void lockNamesItsHolder_data()
    {
        QTest::addColumn<QByteArray>("content"); // %1: the pid
        QTest::addColumn<QString>("who");        // self, child, gone, none
        QTest::newRow("this program, uucp style") << QByteArray("%1\n") << "self";
        QTest::newRow("another process, qt style") << QByteArray("%1\nminicom\nhost\n") << "child";
        QTest::newRow("process gone") << QByteArray("%1\n") << "gone";
        QTest::newRow("no pid") << QByteArray("garbage\n") << "none";
    }

    void lockNamesItsHolder()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, who);
        QTemporaryDir folder;
        pid_t pid = ::getpid();
        pid_t child = 0;
        if (who == u"child" || who == u"gone") {
            child = ::fork();
            if (child == 0) {
                if (who == u"child")
                    ::pause();
                ::_exit(0);
            }
            if (who == u"gone")
                ::waitpid(child, nullptr, 0);
            pid = child;
        }
        QFile file(lockFilePath(QStringLiteral("/dev/ttyUSB0"), folder.path()));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(content).replace("%1", QByteArray::number(pid).rightJustified(10)));
        file.close();

        const PortLock lock = portLock(QStringLiteral("/dev/ttyUSB0"),
                                       {folder.filePath(QStringLiteral("none")), folder.path()});
        if (who == u"child") {
            ::kill(child, SIGKILL);
            ::waitpid(child, nullptr, 0);
        }
        QCOMPARE(lock.file, file.fileName());
        QCOMPARE(lock.pid, who == u"none" ? 0 : qint64(pid));
        QCOMPARE(lock.thisProgram, who == u"self");
        QCOMPARE(lock.processGone, who == u"gone");
        if (who == u"child") // the running process's own name wins over the file's
            QCOMPARE(lock.program, QCoreApplication::applicationName().left(15));
    }

    // Each way an open fails is told apart: missing, not a serial device, held.
    void diagnosisTellsTheFailuresApart()
    {
        QTemporaryDir dir;
        const QString missing = dir.filePath(QStringLiteral("ttyUSB0"));
        QCOMPARE(diagnoseOpenFailure(missing, QSerialPort::DeviceNotFoundError, {}).reason,
                 PortOpenFailure::Reason::NoSuchDevice);
        const QString dangling = dir.filePath(QStringLiteral("by-id"));
        QVERIFY(QFile::link(missing, dangling));
        QCOMPARE(diagnoseOpenFailure(dangling, QSerialPort::DeviceNotFoundError, {}).reason,
                 PortOpenFailure::Reason::NoSuchDevice);

        QFile plain(dir.filePath(QStringLiteral("plain")));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        QSerialPort notSerial(plain.fileName());
        QVERIFY(!notSerial.open(QIODevice::ReadWrite));
        QCOMPARE(diagnoseOpenFailure(plain.fileName(), notSerial.error(), notSerial.errorString())
                     .reason,
                 PortOpenFailure::Reason::NotASerialPort);

        PtyPair pty;
        QSerialPort holder(pty.slavePath());
        QVERIFY(holder.open(QIODevice::ReadWrite));
        QSerialPort second(pty.slavePath());
        QVERIFY(!second.open(QIODevice::ReadWrite));
        const PortOpenFailure held =
            diagnoseOpenFailure(pty.slavePath(), second.error(), second.errorString());
        QCOMPARE(held.reason, PortOpenFailure::Reason::InUse);
        QVERIFY(held.lock.thisProgram);
        QVERIFY(QFile::exists(held.lock.file));
    }

    // The devices behind the two options: defaults, the remembered choice, a command line
    // that replaces it for one run without being remembered, and the start port.
    void devicesAreRememberedButNotTheCommandLine()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("zw4630.conf"));
        {
            QSettings settings(file, QSettings::IniFormat);
            PortDevices devices(&settings);
            QCOMPARE(devices.device(1), PortDevices::defaultDevice(1));
            QCOMPARE(devices.device(2), QStringLiteral("/dev/ttyS1"));
            QCOMPARE(devices.startPort(), 1);
            devices.chooseDevice(2, QStringLiteral(" /dev/ttyUSB0 "));
            devices.chooseDevice(1, QString()); // a blank choice keeps the device
            devices.chooseStartPort(2);
            QCOMPARE(devices.device(2), QStringLiteral("/dev/ttyUSB0"));
            QCOMPARE(devices.device(1), QStringLiteral("/dev/ttyS0"));
        }
        QSettings settings(file, QSettings::IniFormat);
        PortDevices next(&settings);
        QCOMPARE(next.device(2), QStringLiteral("/dev/ttyUSB0"));
        QCOMPARE(next.startPort(), 2);
        next.overrideDevice(1, QStringLiteral("/dev/pts/4"));
        QCOMPARE(next.device(1), QStringLiteral("/dev/pts/4"));
        QVERIFY(next.isOverridden(1));
        QCOMPARE(next.startPort(), 1); // the command line's run starts on COM1
        QVERIFY(!settings.contains(PortDevices::deviceKey(1)));
    }
};

QTEST_MAIN(TestPortAccess)
#include "tst_portaccess.moc"
