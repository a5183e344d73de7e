#include "language.h"
#include "mainwindow.h"
#include "messageboxanswerer.h"
#include "modelwindow.h"
#include "portaccess.h"
#include "porthints.h"
#include "ptypair.h"
#include "serialconnection.h"

#include <QHelpEvent>
#include <QLabel>
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

// The port message as a user without rights to `device` sees it: worked out in a child process
// that has given up root for the unprivileged user "nobody".
QString messageAsNobody(const QString &message, const QString &device)
{
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return QStringLiteral("<no pipe>");
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeFds[0]);
        int status = 1;
        if (::setgroups(0, nullptr) == 0 && ::setgid(65534) == 0 && ::setuid(65534) == 0) {
            const QByteArray text = withPortAccessHint(message, device).toUtf8();
            status =
                ::write(pipeFds[1], text.constData(), size_t(text.size())) == text.size() ? 0 : 1;
        }
        ::_exit(status);
    }
    ::close(pipeFds[1]);
    QByteArray text;
    char buffer[512];
    for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, n);
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return QStringLiteral("<child failed>");
    return QString::fromUtf8(text);
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
    // The hint looks where the port opens: a bare name under /dev, a path as given; a regular
    // file given as the port is named as such.
    void hintLooksWhereThePortOpens_data()
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

    void hintLooksWhereThePortOpens()
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
        const QString hint = withPortAccessHint(QStringLiteral("M"), name);
        QDir::setCurrent(previous);
        QCOMPARE(access.path, path);
        QVERIFY(access.exists);
        QCOMPARE(access.regularFile, regularFile);
        QCOMPARE(hint.contains(QStringLiteral("不是串行端口设备")), regularFile);
    }

    void init() { setLanguageMode(0); }

    // A port this user may not open gets a second line naming the device's group; a port in
    // use or missing keeps its message as it is.
    void missingRightNamesTheGroup_data()
    {
        QTest::addColumn<bool>("english");
        QTest::addColumn<QString>("hint");
        QTest::newRow("chinese") << false
                                 << QStringLiteral(
                                        "\n当前用户没有使用 %1 的权限：dialout 组的成员才能"
                                        "使用它（sudo usermod -aG dialout $USER，然后重新登录）。");
        QTest::newRow("english") << true
                                 << QStringLiteral("\nNo permission to use %1: members of group "
                                                   "dialout may use it (sudo usermod -aG dialout "
                                                   "$USER, then log in again).");
    }

    void missingRightNamesTheGroup()
    {
        QFETCH(bool, english);
        QFETCH(QString, hint);
        if (::geteuid() != 0)
            QSKIP("needs root to hand the device to group dialout and become nobody");
        const group *dialout = ::getgrnam("dialout");
        if (!dialout)
            QSKIP("no group dialout on this machine");
        setLanguageMode(english ? 2 : 0);
        PtyPair pty;
        QVERIFY(pty.isValid());
        const QByteArray path = QFile::encodeName(pty.slavePath());
        QCOMPARE(::chown(path.constData(), 0, dialout->gr_gid), 0);
        QCOMPARE(::chmod(path.constData(), 0660), 0);

        const QString message = QStringLiteral("串行端口 2 已被使用， ");
        QCOMPARE(messageAsNobody(message, pty.slavePath()), message + hint.arg(pty.slavePath()));
        QCOMPARE(withPortAccessHint(message, pty.slavePath()), message); // root may use it
        QCOMPARE(messageAsNobody(message, QStringLiteral("/dev/no-such-port")), message);
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
                 QStringLiteral("串行端口没有打开：请在端口菜单中选择编程线所接的端口。"));
    }
};

QTEST_MAIN(TestPortHints)
#include "tst_porthints.moc"
