#include "aboutdialog.h"
#include "mainmenus.h"
#include "mainwindow.h"
#include "messageboxanswerer.h"
#include "modelchoicedialog.h"
#include "modelwindow.h"
#include "operationnotesdialog.h"
#include "portdevices.h"
#include "portdialog.h"
#include "ptypair.h"
#include "serialconnection.h"
#include "tones.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QSerialPort>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

using namespace zw;
using zw::test::MessageBoxAnswerer;
using zw::test::PtyPair;

namespace
{

// Tells whether the application has been asked to end (the Quit event that closing the last
// window posts).
class QuitWatcher final : public QObject
{
public:
    QuitWatcher() { qApp->installEventFilter(this); }
    bool seen = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == qApp && event->type() == QEvent::Quit)
            seen = true;
        return false;
    }
};

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QApplication::setApplicationName(QStringLiteral("ZW4630"));
        QVERIFY(m_dir.isValid());
        QDir::setCurrent(m_dir.path());
    }

    void com1FreeOpensPortOneWithoutMessage()
    {
        PtyPair com1, com2;
        QVERIFY(com1.isValid() && com2.isValid());
        MessageBoxAnswerer answerer;
        MainWindow main;
        main.serial()->setDevice(1, com1.slavePath());
        main.serial()->setDevice(2, com2.slavePath());
        main.load();
        QCOMPARE(answerer.count(), 0);
        QVERIFY(main.isVisible());
        QCOMPARE(main.windowTitle(), QStringLiteral("ZW4630  版本  B1.3"));
        QCOMPARE(main.serial()->portNumber(), 1);
        QVERIFY(main.serial()->isOpen());
        QVERIFY(main.mdiArea()->subWindowList().isEmpty());
        // The port is really open on COM1: what it sends arrives at the other end.
        QVERIFY(main.serial()->send("C"));
        QCOMPARE(com1.readBytes(1), QByteArray("C"));
    }

    void com1FailingWarnsOnceAndOpensCom2_data()
    {
        QTest::addColumn<QString>("com1"); // "held": a pseudo-terminal this process holds
        QTest::addColumn<QString>("text"); // %1 the device
        // The holder here is this test itself; the second line says so.
        QTest::newRow("held") << QString()
                              << QStringLiteral("串行端口 1已被其它设备使用，已选择 COM2 \n%1 "
                                                "已在本程序中打开。");
        // Another cause takes the place of "in use" in the same sentence: one cause a message.
        QTest::newRow("missing device")
            << QStringLiteral("no-such-tty")
            << QStringLiteral("串行端口 1不存在，已选择 COM2 \n%1 不存在：请检查编程线是否插好，或"
                              "在端口菜单中选择编程线所接的设备。");
        QTest::newRow("/dev/null") << QStringLiteral("/dev/null")
                                   << QStringLiteral("串行端口 1不是串行端口，已选择 COM2 \n%1 "
                                                     "不是串行端口。");
    }

    void com1FailingWarnsOnceAndOpensCom2()
    {
        QFETCH(QString, com1);
        QFETCH(QString, text);
        PtyPair held, com2;
        QSerialPort holder(held.slavePath());
        QString device = held.slavePath();
        if (com1.isEmpty())
            QVERIFY(holder.open(QIODevice::ReadWrite));
        else
            device = com1.startsWith(u'/') ? com1 : m_dir.filePath(com1);
        MessageBoxAnswerer answerer;
        MainWindow main;
        main.serial()->setDevice(1, device);
        main.serial()->setDevice(2, com2.slavePath());
        main.load();
        QCOMPARE(answerer.count(), 1);
        const auto &box = answerer.seen().first();
        QCOMPARE(box.text, text.arg(device));
        QCOMPARE(box.title, QStringLiteral("系统信息"));
        QCOMPARE(box.icon, QMessageBox::Warning);
        QCOMPARE(box.buttons.size(), 1);
        QVERIFY(box.parentVisible);
        QCOMPARE(main.serial()->portNumber(), 2);
        QVERIFY(main.serial()->isOpen());
        QVERIFY(main.serial()->send("C"));
        QCOMPARE(com2.readBytes(1), QByteArray("C"));
    }

    void neitherPortOpensAndTheProgramGoesOn()
    {
        MessageBoxAnswerer answerer;
        MainWindow main;
        main.serial()->setDevice(1, m_dir.filePath(QStringLiteral("no-such-tty1")));
        main.serial()->setDevice(2, m_dir.filePath(QStringLiteral("no-such-tty2")));
        main.load();
        QCOMPARE(answerer.count(), 2);
        QCOMPARE(answerer.seen().at(1).text,
                 QStringLiteral("串行端口 2 不存在， \n%1 不存在：请检查编程线是否插好，或在端口"
                                "菜单中选择编程线所接的设备。")
                     .arg(m_dir.filePath(QStringLiteral("no-such-tty2"))));
        QCOMPARE(answerer.seen().at(1).title, QStringLiteral("系统信息"));
        QCOMPARE(answerer.seen().at(1).icon, QMessageBox::Warning);
        QVERIFY(!main.serial()->isOpen());
        QCOMPARE(main.serial()->portNumber(), 2);
        QVERIFY(main.isVisible());
        QVERIFY(!main.serial()->send("C"));
        QVERIFY(main.showModel(Model::V));
    }

    // COM2 was last opened through the port dialog: the start tries it first, and falls back
    // to COM1 with the reason when its device is gone (the cable unplugged).
    void rememberedCom2StartsFirstAndFallsBackToCom1()
    {
        PtyPair com1;
        QVERIFY(com1.isValid());
        QSettings settings(m_dir.filePath(QStringLiteral("ports.conf")), QSettings::IniFormat);
        const QString unplugged = m_dir.filePath(QStringLiteral("ttyUSB0"));
        {
            PortDevices chosen(&settings);
            chosen.chooseDevice(1, com1.slavePath());
            chosen.chooseDevice(2, unplugged);
            chosen.chooseStartPort(2);
        }
        MessageBoxAnswerer answerer;
        MainWindow main;
        main.setPortDevices(PortDevices(&settings));
        main.load();
        QCOMPARE(answerer.count(), 1);
        QCOMPARE(answerer.seen().first().text,
                 QStringLiteral("串行端口 2 不存在， \n%1 不存在：请检查编程线是否插好，或在端口"
                                "菜单中选择编程线所接的设备。")
                     .arg(unplugged));
        QCOMPARE(main.serial()->portNumber(), 1);
        QVERIFY(main.serial()->isOpen());
        QVERIFY(main.serial()->send("C"));
        QCOMPARE(com1.readBytes(1), QByteArray("C"));
    }

    void dcsTableHoldsTheEightyThreeCodesInOrder()
    {
        QCOMPARE(dcsCodes().size(), 83);
        QCOMPARE(dcsCode(1), QStringLiteral("023"));
        QCOMPARE(dcsCode(15), QStringLiteral("114"));
        QCOMPARE(dcsCode(83), QStringLiteral("754"));
        QCOMPARE(dcsCode(0), QString());
        QCOMPARE(dcsCode(84), QString());
        QCOMPARE(dcsEntries().first(), QStringLiteral("D023N"));
        QCOMPARE(ctcssTones().size(), 39);
        QStringList sorted = dcsCodes();
        std::sort(sorted.begin(), sorted.end());
        QCOMPARE(sorted, dcsCodes());
    }

    // 退出系统 closes the main window and the model windows; a window of its own that is open
    // then (Dialog1, the port dialog, the about and the notes window) stays open, and the
    // program ends only when the user closes it.
    void exitLeavesOwnWindowsOpenUntilTheUserClosesThem_data()
    {
        QTest::addColumn<QString>("window");
        QTest::newRow("Dialog1") << QStringLiteral("Dialog1");
        QTest::newRow("port dialog") << QStringLiteral("Dialog");
        QTest::newRow("about window") << QStringLiteral("frmAbout");
        QTest::newRow("operation notes") << QStringLiteral("frmAbout1");
    }

    void exitLeavesOwnWindowsOpenUntilTheUserClosesThem()
    {
        QFETCH(QString, window);
        PtyPair com1;
        MessageBoxAnswerer answerer;
        MainWindow main;
        main.serial()->setDevice(1, com1.slavePath());
        main.load();
        main.showModel(Model::V);
        main.showModel(Model::UL);
        auto *menus = main.findChild<MainMenus *>();
        QVERIFY(menus);
        QPointer<QWidget> open;
        if (window == QStringLiteral("Dialog1")) {
            main.showModelChoiceDialog();
            open = main.modelChoiceDialog();
        } else if (window == QStringLiteral("Dialog")) {
            menuItem(main, "端口")->trigger();
            open = menus->portDialog();
        } else if (window == QStringLiteral("frmAbout")) {
            menuItem(main, "关于")->trigger();
            open = menus->aboutWindow();
        } else {
            menuItem(main, "说明")->trigger();
            open = menus->notesWindow();
        }
        QVERIFY(open && open->isVisible());
        QCOMPARE(open->objectName(), window);

        // Run the program's event loop: the exit item, then the user closing the window. The
        // program asks to end (a Quit event) only after that.
        QuitWatcher quit;
        bool endedBeforeUserClosed = true;
        QTimer::singleShot(0, &main, [&] {
            QAction *exitItem = menuItem(main, "退出");
            QCOMPARE(exitItem->text(), QStringLiteral("       退出系统"));
            exitItem->trigger();
            QTimer::singleShot(0, open, [&] {
                endedBeforeUserClosed = quit.seen;
                open->close();
            });
        });
        QTimer::singleShot(30000, qApp, [] { QApplication::exit(1); }); // never reached when right
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY2(!endedBeforeUserClosed, "the program ended with the main window");
        QVERIFY(quit.seen);
        QVERIFY(!main.isVisible());
        QVERIFY(!main.modelWindow(Model::V));
        QVERIFY(!main.modelWindow(Model::UL));
        QVERIFY(!main.serial()->isOpen());
        QCOMPARE(answerer.count(), 0);
        QTRY_VERIFY(open.isNull()); // closing deletes it
    }

private:
    static QAction *menuItem(MainWindow &main, const char *name)
    {
        return main.menuBar()->findChild<QAction *>(QString::fromUtf8(name));
    }

    QTemporaryDir m_dir;
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
