#include "mainwindow.h"
#include "messageboxanswerer.h"
#include "modelchoicedialog.h"
#include "modelwindow.h"
#include "ptypair.h"
#include "serialconnection.h"
#include "tones.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QtTest>

using namespace zw;
using zw::test::MessageBoxAnswerer;
using zw::test::PtyPair;

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

    void com1InUseWarnsOnceAndOpensCom2()
    {
        PtyPair com1, com2;
        QSerialPort holder(com1.slavePath()); // another program holds COM1
        QVERIFY(holder.open(QIODevice::ReadWrite));
        MessageBoxAnswerer answerer;
        MainWindow main;
        main.serial()->setDevice(1, com1.slavePath());
        main.serial()->setDevice(2, com2.slavePath());
        main.load();
        QCOMPARE(answerer.count(), 1);
        const auto &box = answerer.seen().first();
        // The holder here is this test itself; the second line says so.
        QCOMPARE(box.text,
                 QStringLiteral("串行端口 1已被其它设备使用，已选择 COM2 \n%1 已在本程序中"
                                "打开。")
                     .arg(com1.slavePath()));
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
                 QStringLiteral("串行端口 2 已被使用， \n%1 不存在：请检查编程线是否插好，或在端口"
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

    void exitClosesMainAndModelWindowsWithoutAsking()
    {
        PtyPair com1;
        MessageBoxAnswerer answerer;
        MainWindow main;
        main.serial()->setDevice(1, com1.slavePath());
        main.load();
        main.showModel(Model::V);
        main.showModel(Model::UL);
        main.showModelChoiceDialog();
        QPointer<ModelChoiceDialog> dialog = main.modelChoiceDialog();
        QAction *exitItem = nullptr;
        for (QAction *action : main.menuBar()->actions())
            if (action->objectName() == QStringLiteral("退出"))
                exitItem = action;
        QVERIFY(exitItem);
        QCOMPARE(exitItem->text(), QStringLiteral("       退出系统"));
        exitItem->trigger();
        QVERIFY(!main.isVisible());
        QVERIFY(!main.modelWindow(Model::V));
        QVERIFY(!main.modelWindow(Model::UL));
        QVERIFY(!main.serial()->isOpen());
        QCOMPARE(answerer.count(), 0);
        // A dialog open at exit stays until the user closes it.
        QVERIFY(dialog && dialog->isVisible());
        dialog->close();
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
