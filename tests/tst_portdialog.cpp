#include "language.h"
#include "mainmenus.h"
#include "mainwindow.h"
#include "messageboxanswerer.h"
#include "portdialog.h"
#include "ptypair.h"
#include "serialconnection.h"

#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSerialPort>
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
        setLanguageMode(0);
        m_dir.reset(new QTemporaryDir);
        QVERIFY(QDir::setCurrent(m_dir->path()));
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
        QCOMPARE(messages.seen()[0].text, message);
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

    void cancelAfterAFailureLeavesThePortClosed()
    {
        QSerialPort holder(m_com2->slavePath());
        QVERIFY(holder.open(QIODevice::ReadWrite));
        PortDialog *dialog = openDialog();
        dialog->option(2)->setChecked(true);
        MessageBoxAnswerer messages;
        dialog->ok();
        QPointer<PortDialog> guard = dialog;
        dialog->findChild<QPushButton *>(QStringLiteral("CancelButton"))->click();
        QTRY_VERIFY(guard.isNull());
        QVERIFY(!m_main->serial()->isOpen());
        QCOMPARE(m_main->serial()->portNumber(), 1);
        // The next opening offers the port number left behind.
        QVERIFY(openDialog()->option(1)->isChecked());
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
