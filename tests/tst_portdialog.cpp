#include "language.h"
#include "mainmenus.h"
#include "mainwindow.h"
#include "messageboxanswerer.h"
#include "portdevices.h"
#include "portdialog.h"
#include "portprober.h"
#include "ptypair.h"
#include "serialconnection.h"
#include "virtualradio.h"
#include "windowtestfolder.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSerialPort>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

using namespace zw;
using zw::test::MessageBoxAnswerer;
using zw::test::PtyPair;

namespace
{

// The port dialog is a window of its own: count the ones on screen.
int shownPortDialogs()
{
    const auto windows = QApplication::topLevelWidgets();
    return int(std::count_if(windows.begin(), windows.end(), [](QWidget *w) {
        return qobject_cast<PortDialog *>(w) && w->isVisible();
    }));
}

} // namespace

class TestPortDialog : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = test::enterFreshWindowFolder();
        QVERIFY(m_dir);
        m_com1.reset(new PtyPair);
        m_com2.reset(new PtyPair);
        QVERIFY(m_com1->isValid() && m_com2->isValid());
        m_main.reset(new MainWindow);
        m_main->serial()->setDevice(1, m_com1->slavePath());
        m_main->serial()->setDevice(2, m_com2->slavePath());
        MessageBoxAnswerer none;
        m_main->load();
        QCOMPARE(none.count(), 0);
        QVERIFY(m_main->serial()->isOpen());
    }

    void cleanup()
    {
        m_main.reset();
        m_com1.reset();
        m_com2.reset();
    }

    void opensOnceWithTheCurrentPortChosen()
    {
        PortDialog *dialog = openDialog();
        QVERIFY(dialog->option(1)->isChecked());
        QVERIFY(!dialog->option(2)->isChecked());
        QCOMPARE(dialog->option(2)->text(), QStringLiteral(" COM2"));
        QCOMPARE(openDialog(), dialog);
        QCOMPARE(shownPortDialogs(), 1);

        // OK on the open current port changes nothing and closes the dialog.
        MessageBoxAnswerer messages;
        QPointer<PortDialog> guard = dialog;
        dialog->ok();
        QCOMPARE(messages.count(), 0);
        QTRY_VERIFY(guard.isNull());
        QVERIFY(m_main->serial()->isOpen());
        QCOMPARE(m_main->serial()->portNumber(), 1);
    }

    void englishModeAtOpening()
    {
        m_main->findChild<MainMenus *>()->chooseEnglish();
        PortDialog *dialog = openDialog();
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Select Port"));
        QCOMPARE(dialog->findChild<QLabel *>()->text(), QStringLiteral("Plise Select Port"));
        QCOMPARE(buttonTexts(dialog), (QStringList{"OK", "Cancel"}));
        QCOMPARE(dialog->option(1)->text(), QStringLiteral(" COM1"));
    }

    void switchesToAFreePort()
    {
        PortDialog *dialog = openDialog();
        QPointer<PortDialog> guard = dialog;
        dialog->option(2)->setChecked(true);
        MessageBoxAnswerer messages;
        dialog->findChild<QPushButton *>(QStringLiteral("OKButton"))->click();
        QCOMPARE(messages.count(), 0);
        QTRY_VERIFY(guard.isNull());
        QCOMPARE(m_main->serial()->portNumber(), 2);
        QVERIFY(m_main->serial()->isOpen());
        QVERIFY(m_main->serial()->send("C"));
        QCOMPARE(m_com2->readBytes(1), QByteArray("C"));
        // COM1 was let go: another program can take it now.
        QSerialPort other(m_com1->slavePath());
        QVERIFY(other.open(QIODevice::ReadWrite));
    }

    void busyPortIsReportedAndTheOtherOffered_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<QString>("message");
        QTest::newRow("COM2 busy") << 1 << QStringLiteral("串行端口 2 已被使用， ");
        QTest::newRow("COM1 busy") << 2 << QStringLiteral("串行端口 1 已被使用 ");
    }

    void busyPortIsReportedAndTheOtherOffered()
    {
        QFETCH(int, from);
        QFETCH(QString, message);
        const int to = 3 - from;
        if (from == 2) {
            m_main->serial()->close();
            m_main->serial()->setPortNumber(2);
            QVERIFY(m_main->serial()->open());
        }
        QSerialPort holder((to == 1 ? m_com1 : m_com2)->slavePath()); // another program
        QVERIFY(holder.open(QIODevice::ReadWrite));

        PortDialog *dialog = openDialog();
        QVERIFY(dialog->option(from)->isChecked());
        dialog->option(to)->setChecked(true);
        MessageBoxAnswerer messages;
        dialog->ok();
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.seen()[0].text,
                 message + QStringLiteral("\n%1 已在本程序中打开。")
                               .arg((to == 1 ? m_com1 : m_com2)->slavePath()));
        QCOMPARE(messages.seen()[0].title, QStringLiteral("系统信息"));
        QCOMPARE(messages.seen()[0].icon, QMessageBox::Warning);
        QCOMPARE(messages.seen()[0].buttons, QStringList{QStringLiteral("OK")});
        QVERIFY(dialog->isVisible());
        QVERIFY(!m_main->serial()->isOpen());
        QCOMPARE(m_main->serial()->portNumber(), from);

        // Choosing the port offered opens it and closes the dialog.
        QPointer<PortDialog> guard = dialog;
        dialog->option(from)->setChecked(true);
        dialog->ok();
        QCOMPARE(messages.count(), 1);
        QTRY_VERIFY(guard.isNull());
        QVERIFY(m_main->serial()->isOpen());
        QCOMPARE(m_main->serial()->portNumber(), from);
    }

    // Cancel after a failed OK puts back the port that was open when the dialog opened; with
    // none open then, the connection stays closed until a later OK succeeds.
    void cancelAfterAFailureRestoresThePortOpenAtOpening_data()
    {
        QTest::addColumn<bool>("openAtOpening");
        QTest::newRow("COM1 open at opening") << true;
        QTest::newRow("no port open at opening") << false;
    }

    void cancelAfterAFailureRestoresThePortOpenAtOpening()
    {
        QFETCH(bool, openAtOpening);
        if (!openAtOpening)
            m_main->serial()->close();
        QSerialPort holder(m_com2->slavePath());
        QVERIFY(holder.open(QIODevice::ReadWrite));
        PortDialog *dialog = openDialog();
        dialog->option(2)->setChecked(true);
        MessageBoxAnswerer messages;
        dialog->ok();
        QPointer<PortDialog> guard = dialog;
        dialog->findChild<QPushButton *>(QStringLiteral("CancelButton"))->click();
        QTRY_VERIFY(guard.isNull());
        QCOMPARE(messages.count(), 1);
        QCOMPARE(m_main->serial()->isOpen(), openAtOpening);
        QCOMPARE(m_main->serial()->portNumber(), 1);
        // The next opening offers the port number left behind.
        QVERIFY(openDialog()->option(1)->isChecked());
    }

    // A device that is missing or no serial port is reported as that alone, not as a port in
    // use; Cancel then forgets it, so the next start does not try it again.
    void failedDeviceHasOneCauseAndCancelForgetsIt_data()
    {
        QTest::addColumn<QString>("device");
        QTest::addColumn<QString>("message");
        const QString absent = QStringLiteral("/dev/zw4630-no-such-port");
        QTest::newRow("missing") << absent
                                 << QStringLiteral("%1 不存在：请检查编程线是否插好，或在端口菜单中"
                                                   "选择编程线所接的设备。")
                                        .arg(absent);
        QTest::newRow("not a serial port")
            << QStringLiteral("/dev/null") << QStringLiteral("/dev/null 不是串行端口。");
    }

    void failedDeviceHasOneCauseAndCancelForgetsIt()
    {
        QFETCH(QString, device);
        QFETCH(QString, message);
        m_main.reset();
        QSettings settings(m_dir->filePath(QStringLiteral("zw4630.conf")), QSettings::IniFormat);
        PortDevices devices(&settings);
        devices.overrideDevice(1, m_com1->slavePath());
        devices.overrideDevice(2, m_com2->slavePath());
        m_main.reset(new MainWindow);
        m_main->setPortDevices(devices);
        MessageBoxAnswerer messages;
        m_main->load();
        PortDialog *dialog = openDialog();
        dialog->deviceList(2)->setEditText(device);
        dialog->option(2)->setChecked(true);
        dialog->ok();
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.seen()[0].text, message);
        QPointer<PortDialog> guard = dialog;
        dialog->findChild<QPushButton *>(QStringLiteral("CancelButton"))->click();
        QTRY_VERIFY(guard.isNull());
        QCOMPARE(m_main->serial()->device(2), m_com2->slavePath());
        QVERIFY(!settings.contains(PortDevices::deviceKey(2)));
        QVERIFY(!settings.contains(PortDevices::startPortKey()));
    }

    void refusesToSwitchDuringATransfer()
    {
        QObject transfer;
        m_main->serial()->setTransferOwner(&transfer);
        PortDialog *dialog = openDialog();
        dialog->option(2)->setChecked(true);
        MessageBoxAnswerer messages;
        dialog->ok();
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.seen()[0].title, QStringLiteral("系统信息"));
        QCOMPARE(messages.seen()[0].text, QStringLiteral("正在与对讲机交换数据，不能更改端口。"));
        QVERIFY(dialog->isVisible());
        QVERIFY(m_main->serial()->isOpen());
        QCOMPARE(m_main->serial()->portNumber(), 1);
        QVERIFY(m_main->serial()->send("C"));
        QCOMPARE(m_com1->readBytes(1), QByteArray("C"));

        m_main->serial()->setTransferOwner(nullptr);
        dialog->ok();
        QCOMPARE(messages.count(), 1);
        QCOMPARE(m_main->serial()->portNumber(), 2);
        QVERIFY(m_main->serial()->isOpen());
    }

    // A device typed for an option is used at once, remembered, and opened at the next start
    // without any option on the command line; the command line's devices are not remembered.
    void chosenDeviceIsRememberedAndReopenedAtTheNextStart()
    {
        m_main.reset();
        const QString settingsFile = m_dir->filePath(QStringLiteral("zw4630.conf"));
        PtyPair cable;
        QVERIFY(cable.isValid());
        {
            QSettings settings(settingsFile, QSettings::IniFormat);
            PortDevices devices(&settings);
            devices.overrideDevice(1, m_com1->slavePath()); // --com1
            devices.overrideDevice(2, m_com2->slavePath()); // --com2
            MainWindow first;
            first.setPortDevices(devices);
            MessageBoxAnswerer none;
            first.load();
            QCOMPARE(first.serial()->device(1), m_com1->slavePath());
            first.menuBar()->findChild<QAction *>(QStringLiteral("端口"))->trigger();
            PortDialog *dialog = first.findChild<MainMenus *>()->portDialog();
            QCOMPARE(dialog->deviceList(1)->currentText(), m_com1->slavePath());
            QCOMPARE(dialog->deviceList(2)->currentText(), m_com2->slavePath());
            dialog->deviceList(2)->setFocus();
            dialog->deviceList(2)->lineEdit()->selectAll();
            QTest::keyClicks(dialog->deviceList(2)->lineEdit(), cable.slavePath());
            QVERIFY(dialog->option(2)->isChecked()); // typing a device chooses its option
            dialog->ok();
            QCOMPARE(none.count(), 0);
            QCOMPARE(first.serial()->portNumber(), 2);
            QCOMPARE(first.serial()->device(2), cable.slavePath());
            QVERIFY(first.serial()->send("C"));
            QCOMPARE(cable.readBytes(1), QByteArray("C"));
        }
        QSettings settings(settingsFile, QSettings::IniFormat);
        QVERIFY(!settings.contains(PortDevices::deviceKey(1)));
        MainWindow next;
        next.setPortDevices(PortDevices(&settings));
        MessageBoxAnswerer none;
        next.load();
        QCOMPARE(none.count(), 0);
        QCOMPARE(next.serial()->portNumber(), 2);
        QVERIFY(next.serial()->isOpen());
        QCOMPARE(next.serial()->device(1), PortDevices::defaultDevice(1));
        QVERIFY(next.serial()->send("C"));
        QCOMPARE(cable.readBytes(1), QByteArray("C"));
    }

    // Find Radio polls the listed ports and the chosen devices (the open COM1 through the
    // program's own connection) and puts the one that answers into the chosen option; OK then
    // opens it.
    void findRadioSelectsThePortThatAnswers()
    {
        PtyPair silent1, silent2;
        VirtualRadio radio(Model::UM);
        QVERIFY(silent1.isValid() && silent2.isValid() && radio.open());
        PortDialog *dialog = openDialog();
        QCOMPARE(dialog->findRadioButton()->text(), QStringLiteral("查找对讲机"));
        dialog->setListedPorts({{silent1.slavePath(), QStringLiteral("ttyS"), {}, {}},
                                {radio.devicePath(), QStringLiteral("USB-Serial Controller"),
                                 QStringLiteral("Prolific"), QStringLiteral("067b:2303")},
                                {silent2.slavePath(), {}, {}, {}}});
        QCOMPARE(dialog->deviceList(1)->count(), 3);
        QCOMPARE(dialog->deviceList(1)->itemText(1), radio.devicePath()); // the edit line's text
        QCOMPARE(dialog->deviceList(1)->itemData(1, Qt::DisplayRole).toString(),
                 QStringLiteral("%1 — USB-Serial Controller, Prolific (067b:2303)")
                     .arg(radio.devicePath()));
        QCOMPARE(dialog->deviceList(1)->currentText(), m_com1->slavePath()); // kept
        dialog->prober()->setTimeout(3000);

        MessageBoxAnswerer messages;
        QSignalSpy finished(dialog->prober(), &PortProber::finished);
        dialog->findRadioButton()->click();
        QVERIFY(!dialog->findRadioButton()->isEnabled());
        QCOMPARE(dialog->findStatus()->text(), QStringLiteral("正在查找对讲机..."));
        QVERIFY(finished.wait(15000));
        QCOMPARE(messages.count(), 0);
        QCOMPARE(dialog->prober()->results().size(), 5); // three listed, two chosen
        QCOMPARE(dialog->findStatus()->text(),
                 QStringLiteral("对讲机在 %1 上应答：按确定使用它。").arg(radio.devicePath()));
        QVERIFY(dialog->option(1)->isChecked());
        QCOMPARE(dialog->deviceList(1)->currentText(), radio.devicePath());
        QCOMPARE(dialog->deviceList(2)->currentText(), m_com2->slavePath());
        QVERIFY(m_main->serial()->isOpen()); // the search handed COM1 back as it was
        QVERIFY(!m_main->serial()->isTransferring());

        QPointer<PortDialog> guard = dialog;
        dialog->ok();
        QTRY_VERIFY(guard.isNull());
        QCOMPARE(m_main->serial()->device(1), radio.devicePath());
        QVERIFY(m_main->serial()->isOpen());
        QVERIFY(m_main->serial()->send("C"));
        QByteArray answer; // gathered: the macro evaluates its expression once more at the end
        QTRY_VERIFY((answer += m_main->serial()->readAll()).contains('C'));
    }

    void findRadioSaysWhatToCheckWhenNoneAnswers_data()
    {
        QTest::addColumn<bool>("english");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("message");
        QTest::newRow("chinese") << false << QStringLiteral("查找对讲机")
                                 << QStringLiteral(
                                        "查询了 3 个端口，没有对讲机应答。请检查对讲机"
                                        "是否已打开，编程线两端是否插好，当前用户是否有"
                                        "使用串行端口的权限。\n%1 不存在：请检查编程线"
                                        "是否插好，或在端口菜单中选择编程线所接的设备。");
        QTest::newRow("english") << true << QStringLiteral("Find Radio")
                                 << QStringLiteral("No radio answered on the 3 ports tried. Check "
                                                   "that the radio is switched on, the cable is "
                                                   "seated at both ends and this user may use the "
                                                   "serial ports.\n%1 does not exist: check that "
                                                   "the cable is plugged in, or choose its device "
                                                   "in the Port menu.");
    }

    void findRadioSaysWhatToCheckWhenNoneAnswers()
    {
        QFETCH(bool, english);
        QFETCH(QString, button);
        QFETCH(QString, message);
        if (english)
            m_main->findChild<MainMenus *>()->chooseEnglish();
        const QString missing = m_dir->filePath(QStringLiteral("ttyUSB3"));
        PortDialog *dialog = openDialog();
        QCOMPARE(dialog->findRadioButton()->text(), button);
        dialog->setListedPorts({{missing, {}, {}, {}}});
        dialog->prober()->setTimeout(300);
        MessageBoxAnswerer messages;
        QSignalSpy finished(dialog->prober(), &PortProber::finished);
        dialog->findRadio();
        QVERIFY(finished.wait(15000));
        QTRY_COMPARE(messages.count(), 1);
        QCOMPARE(messages.seen()[0].title, QStringLiteral("系统信息"));
        QCOMPARE(messages.seen()[0].text, message.arg(missing));
        QVERIFY(dialog->option(1)->isChecked());
        QCOMPARE(dialog->deviceList(1)->currentText(), m_com1->slavePath());
        QVERIFY(dialog->findRadioButton()->isEnabled());
    }

private:
    PortDialog *openDialog()
    {
        m_main->menuBar()->findChild<QAction *>(QStringLiteral("端口"))->trigger();
        return m_main->findChild<MainMenus *>()->portDialog();
    }

    static QStringList buttonTexts(PortDialog *dialog)
    {
        return {dialog->findChild<QPushButton *>(QStringLiteral("OKButton"))->text(),
                dialog->findChild<QPushButton *>(QStringLiteral("CancelButton"))->text()};
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<PtyPair> m_com1;
    std::unique_ptr<PtyPair> m_com2;
    std::unique_ptr<MainWindow> m_main;
};

QTEST_MAIN(TestPortDialog)
#include "tst_portdialog.moc"
