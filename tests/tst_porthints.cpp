#include "asnobody.h"
#include "language.h"
#include "mainwindow.h"
#include "messageboxanswerer.h"
#include "modelwindow.h"
#include "portaccess.h"
#include "porthints.h"
#include "porttexts.h"
#include "ptypair.h"
#include "serialconnection.h"

#include <QHelpEvent>
#include <QLabel>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QtTest>

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace zw;
using zw::test::MessageBoxAnswerer;
using zw::test::PtyPair;

namespace
{

// The port message as a user without rights to `device` sees it after trying to open it:
// worked out in a child process that has given up root for the unprivileged user "nobody".
QString messageAsNobody(const QString &message, const QString &device)
{
    return test::asNobody([&] {
        SerialConnection serial;
        serial.setDevice(1, device);
        return serial.open() ? QByteArray("<opened>")
                             : withOpenFailureReason(message, serial, 1).toUtf8();
    });
}

QString tooltipOf(QLabel *label)
{
    QHelpEvent event(QEvent::ToolTip, QPoint(1, 1), label->mapToGlobal(QPoint(1, 1)));
    QApplication::sendEvent(label, &event);
    return label->toolTip();
}

} // namespace

class TestPortHints : public QObject
{
    Q_OBJECT

private slots:
    // The diagnosis looks where the port opens: a bare name under /dev, a path as given; a
    // regular file given as the port is named as no serial port.
    void diagnosisLooksWhereThePortOpens_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("regularFile");
        QTest::newRow("bare name") << "null"
                                   << "/dev/null" << false;
        QTest::newRow("absolute path") << "/dev/null"
                                       << "/dev/null" << false;
        QTest::newRow("regular file") << "./port.txt"
                                      << "./port.txt" << true;
    }

    void diagnosisLooksWhereThePortOpens()
    {
        QFETCH(QString, name);
        QFETCH(QString, path);
        QFETCH(bool, regularFile);
        QTemporaryDir dir;
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));
        QFile file(QStringLiteral("port.txt"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QVERIFY(QFile::copy(QStringLiteral("port.txt"), QStringLiteral("null"))); // not /dev/null
        const PortAccess access = portAccess(name);
        const PortOpenFailure failure =
            diagnoseOpenFailure(name, QSerialPort::UnsupportedOperationError, QString());
        QDir::setCurrent(previous);
        QCOMPARE(access.path, path);
        QCOMPARE(failure.device, path);
        QVERIFY(access.exists);
        QCOMPARE(access.regularFile, regularFile);
        if (regularFile)
            QCOMPARE(failure.reason, PortOpenFailure::Reason::NotASerialPort);
    }

    void init() { setLanguageMode(0); }

    // A port this user may not open gets a second line: the group to join only when that
    // group's permission bits grant read and write (and it is not root's group), else the
    // device's permissions and a udev rule.
    void permissionHintNamesOnlyAGroupThatMayUseTheDevice_data()
    {
        QTest::addColumn<bool>("english");
        QTest::addColumn<QString>("group");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("hint");
        const QString joinZh = QStringLiteral(
            "\n当前用户没有使用 %1 的权限：dialout 组的成员才能使用它（sudo usermod -aG dialout "
            "$USER，然后重新登录）。");
        const QString joinEn = QStringLiteral("\nNo permission to use %1: members of group "
                                              "dialout may use it (sudo usermod -aG dialout "
                                              "$USER, then log in again).");
        const QString udevZh = QStringLiteral(
            "\n当前用户没有使用 %1 的权限：设备的权限不允许当前用户读写。可用 udev 规则授予权限，"
            "例如 SUBSYSTEM==\"tty\", KERNEL==\"ttyUSB*\", GROUP=\"dialout\", MODE=\"0660\"。");
        const QString udevEn = QStringLiteral(
            "\nNo permission to use %1: the device's permissions deny this user. A udev rule can "
            "grant them, e.g. SUBSYSTEM==\"tty\", KERNEL==\"ttyUSB*\", GROUP=\"dialout\", "
            "MODE=\"0660\".");
        QTest::newRow("group rw") << false << "dialout" << 0660 << joinZh;
        QTest::newRow("group rw, english") << true << "dialout" << 0660 << joinEn;
        QTest::newRow("group read only") << false << "dialout" << 0640 << udevZh;
        QTest::newRow("group write only") << false << "dialout" << 0620 << udevZh;
        QTest::newRow("owner only, english") << true << "dialout" << 0600 << udevEn;
        QTest::newRow("root's group") << false << "root" << 0660 << udevZh;
    }

    void permissionHintNamesOnlyAGroupThatMayUseTheDevice()
    {
        QFETCH(bool, english);
        QFETCH(QString, group);
        QFETCH(int, mode);
        QFETCH(QString, hint);
        if (::geteuid() != 0)
            QSKIP("needs root to hand the device to a group and become nobody");
        const struct group *owner = ::getgrnam(group.toLocal8Bit().constData());
        if (!owner)
            QSKIP("no such group on this machine");
        setLanguageMode(english ? 2 : 0);
        PtyPair pty;
        QVERIFY(pty.isValid());
        const QByteArray path = QFile::encodeName(pty.slavePath());
        QCOMPARE(::chown(path.constData(), 0, owner->gr_gid), 0);
        QCOMPARE(::chmod(path.constData(), mode_t(mode)), 0);

        const QString message = QStringLiteral("串行端口 2 已被使用， ");
        QCOMPARE(messageAsNobody(message, pty.slavePath()), message + hint.arg(pty.slavePath()));
    }

    // The reason line of each way a port fails to open, as the user reads it.
    void reasonSaysWhyThePortDidNotOpen_data()
    {
        QTest::addColumn<bool>("english");
        QTest::addColumn<int>("reason");
        QTest::addColumn<qint64>("pid");
        QTest::addColumn<bool>("gone");
        QTest::addColumn<QString>("expected");
        using R = PortOpenFailure::Reason;
        QTest::newRow("missing") << false << int(R::NoSuchDevice) << qint64(0) << false
                                 << QStringLiteral("/dev/ttyUSB0 不存在：请检查编程线是否插好，"
                                                   "或在端口菜单中选择编程线所接的设备。");
        QTest::newRow("missing, english")
            << true << int(R::NoSuchDevice) << qint64(0) << false
            << QStringLiteral("/dev/ttyUSB0 does not exist: check that the cable is plugged in, "
                              "or choose its device in the Port menu.");
        QTest::newRow("held by a process")
            << true << int(R::InUse) << qint64(4242) << false
            << QStringLiteral("/dev/ttyUSB0 is in use by process minicom (4242) (lock file "
                              "/var/lock/LCK..ttyUSB0).");
        QTest::newRow("held, chinese")
            << false << int(R::InUse) << qint64(4242) << false
            << QStringLiteral("/dev/ttyUSB0 正被进程 minicom (4242) 使用（锁文件 "
                              "/var/lock/LCK..ttyUSB0）。");
        QTest::newRow("stale lock")
            << true << int(R::InUse) << qint64(4242) << true
            << QStringLiteral("/dev/ttyUSB0 is locked by /var/lock/LCK..ttyUSB0, left by process "
                              "4242, which no longer runs: delete that file.");
        QTest::newRow("held without lock file")
            << true << int(R::InUse) << qint64(0) << false
            << QStringLiteral("/dev/ttyUSB0 is in use by another program.");
        QTest::newRow("stale lock, chinese")
            << false << int(R::InUse) << qint64(4242) << true
            << QStringLiteral("/dev/ttyUSB0 被锁文件 /var/lock/LCK..ttyUSB0 锁定，写它的进程 4242 "
                              "已不在运行：请删除该文件。");
        QTest::newRow("held without lock file, chinese")
            << false << int(R::InUse) << qint64(0) << false
            << QStringLiteral("/dev/ttyUSB0 正被其他程序使用。");
        QTest::newRow("not a serial port") << true << int(R::NotASerialPort) << qint64(0) << false
                                           << QStringLiteral("/dev/ttyUSB0 is not a serial port.");
        QTest::newRow("not a serial port, chinese")
            << false << int(R::NotASerialPort) << qint64(0) << false
            << QStringLiteral("/dev/ttyUSB0 不是串行端口。");
        QTest::newRow("unknown") << true << int(R::Unknown) << qint64(0) << false
                                 << QStringLiteral(
                                        "/dev/ttyUSB0 cannot be opened: Input/output error.");
        QTest::newRow("unknown, chinese")
            << false << int(R::Unknown) << qint64(0) << false
            << QStringLiteral("/dev/ttyUSB0 无法打开：Input/output error。");
    }

    void reasonSaysWhyThePortDidNotOpen()
    {
        QFETCH(bool, english);
        QFETCH(int, reason);
        QFETCH(qint64, pid);
        QFETCH(bool, gone);
        QFETCH(QString, expected);
        setLanguageMode(english ? 2 : 0);
        PortOpenFailure failure;
        failure.reason = PortOpenFailure::Reason(reason);
        failure.device = QStringLiteral("/dev/ttyUSB0");
        failure.systemError = QStringLiteral("Input/output error");
        if (pid) {
            failure.lock.file = QStringLiteral("/var/lock/LCK..ttyUSB0");
            failure.lock.pid = pid;
            failure.lock.program = QStringLiteral("minicom");
            failure.lock.processGone = gone;
        }
        QCOMPARE(openFailureReason(failure), expected);
        // The command-line tool says the same, in English.
        if (english)
            QCOMPARE(portOpenFailureText(failure, true), expected);
    }

    // A device another program holds: the message names that process and its lock file.
    void portHeldByAnotherProcessNamesIt()
    {
        QTemporaryDir dir;
        QVERIFY(QDir::setCurrent(dir.path()));
        PtyPair com1, com2;
        QVERIFY(com1.isValid() && com2.isValid());
        const QString lockFile = lockFilePath(com1.slavePath(), QStringLiteral("/var/lock"));
        if (QFile::exists(lockFile) || !QFileInfo(QStringLiteral("/var/lock")).isWritable())
            QSKIP("needs a writable /var/lock");
        int ready[2];
        QCOMPARE(::pipe(ready), 0);
        const pid_t holder = ::fork();
        if (holder == 0) {
            QFile lock(lockFile);
            // As a Qt program writes it: process id, program, host.
            const QByteArray content = QByteArray::number(::getpid()) + '\n' +
                                       QCoreApplication::applicationName().toUtf8() + '\n' +
                                       QSysInfo::machineHostName().toUtf8() + '\n';
            const bool ok = lock.open(QIODevice::WriteOnly) && lock.write(content) > 0;
            lock.close();
            (void)!::write(ready[1], ok ? "1" : "0", 1);
            ::pause();
            ::_exit(0);
        }
        char answer = 0;
        QCOMPARE(::read(ready[0], &answer, 1), ssize_t(1));
        ::close(ready[0]);
        ::close(ready[1]);
        auto release = qScopeGuard([&] {
            ::kill(holder, SIGKILL);
            ::waitpid(holder, nullptr, 0);
            QFile::remove(lockFile);
        });
        QCOMPARE(answer, '1');

        MainWindow main;
        main.serial()->setDevice(1, com1.slavePath());
        main.serial()->setDevice(2, com2.slavePath());
        MessageBoxAnswerer messages;
        main.load();
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.seen()[0].text,
                 QStringLiteral("串行端口 1已被其它设备使用，已选择 COM2 \n%1 正被进程 %2 (%3) 使用"
                                "（锁文件 %4）。")
                     .arg(com1.slavePath(), QCoreApplication::applicationName().left(15))
                     .arg(holder)
                     .arg(lockFile));
        QVERIFY(main.serial()->isOpen());
        QCOMPARE(main.serial()->portNumber(), 2);
    }

    // The status line's tooltip says what to check until the radio answers the ready poll.
    void statusLineSaysWhatToCheck()
    {
        QTemporaryDir dir;
        QVERIFY(QDir::setCurrent(dir.path()));
        PtyPair pty;
        QVERIFY(pty.isValid());
        MainWindow main;
        main.serial()->setDevice(1, dir.filePath(QStringLiteral("none")));
        main.serial()->setDevice(2, pty.slavePath());
        {
            MessageBoxAnswerer messages; // COM1 cannot be opened: COM2 is taken
            main.load();
        }
        ModelWindow *w = main.showModel(Model::V);
        QLabel *status = w->statusLine();
        QCOMPARE(
            tooltipOf(status),
            QStringLiteral("%1 上的对讲机没有应答：请检查对讲机是否已打开，编程线两端是否插好，"
                           "端口菜单中选择的端口是否正确。")
                .arg(pty.slavePath()));

        pty.write("C");
        QTRY_COMPARE(status->text(), QStringLiteral("对讲机就绪..."));
        QCOMPARE(tooltipOf(status), QString());

        main.serial()->close();
        status->setText(QString());
        QCOMPARE(tooltipOf(status),
                 QStringLiteral("串行端口 %1 没有打开：请在端口菜单中选择编程线所接的设备。")
                     .arg(pty.slavePath()));
    }
};

QTEST_MAIN(TestPortHints)
#include "tst_porthints.moc"
