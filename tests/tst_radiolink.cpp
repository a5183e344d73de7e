// The radio transfers as the model window shows them: the status line, the progress bar, the
// lock of menus, lists and grid, the messages and the hand-over to another model's window. The
// session itself (pacing, numbering, decoding, failures) is tested without a window in
// tst_radiosession and tst_faultmatrix_radio.
#include "backupchoicedialog.h"
#include "backups.h"
#include "channeldocument.h"
#include "channelfile.h"
#include "channelstore.h"
#include "channeltablemodel.h"
#include "codec.h"
#include "eventcounter.h"
#include "filedialoganswerer.h"
#include "fleetlog.h"
#include "fleetpanel.h"
#include "language.h"
#include "mainstatusbar.h"
#include "mainwindow.h"
#include "messagebox.h"
#include "messageboxanswerer.h"
#include "messages.h"
#include "modelwindow.h"
#include "numberreader.h"
#include "okcheck.h"
#include "programexit.h"
#include "ptypair.h"
#include "radiosession.h"
#include "radiotexts.h"
#include "radiotransfer.h"
#include "sampletables.h"
#include "serialconnection.h"
#include "statustext.h"
#include "tablebackups.h"
#include "tablemerge.h"
#include "transferprogressbar.h"
#include "virtualradio.h"

#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

using namespace zw;
using zw::test::EventCounter;
using zw::test::FileDialogAnswerer;
using zw::test::MessageBoxAnswerer;
using zw::test::PtyPair;
using zw::test::radioSampleTable;

Q_DECLARE_METATYPE(zw::Model)

namespace
{

const QString readyText = QStringLiteral("对讲机就绪...");

// The main window's status bar says a fact with the time it became true ("HH:mm:ss"): `text`
// is `prefix`, the time, and `suffix` to its end (any end when the suffix is null).
bool saysWithTime(const QString &text, const QString &prefix, const QString &suffix = QString())
{
    const QString pattern =
        QRegularExpression::escape(prefix) + QStringLiteral("\\d\\d:\\d\\d:\\d\\d") +
        (suffix.isNull() ? QString() : QRegularExpression::escape(suffix) + QStringLiteral("$"));
    return QRegularExpression(QStringLiteral("^") + pattern).match(text).hasMatch();
}

ChannelTable numbersOnly()
{
    ChannelTable t;
    for (int i = 0; i < channelCount; ++i)
        t[static_cast<std::size_t>(i)][ChannelNumber] = QString::number(i + 1);
    return t;
}

// The Chinese text the window shows for a write or a read that ended so.
QString writeText(WriteResult::Outcome outcome, bool sentA = false)
{
    WriteResult result;
    result.outcome = outcome;
    result.writeRequestSent = sentA;
    return writeOutcomeText(result, Model::V, false);
}

QString readText(ReadResult::Outcome outcome)
{
    ReadResult result;
    result.outcome = outcome;
    return readFailureText(result, Model::V, false);
}

// What the virtual radio holds at start, as a window's table, with channels 3, 5 and 7 changed
// (or unchanged).
ChannelTable radioTableChanged(Model model, bool changed = true)
{
    const double offset = modelInfo(model).receiveOffsetMHz;
    RadioChannels radio;
    for (int i = 0; i < channelCount; ++i)
        radio[std::size_t(i)] = decodeChannelBlock(
            QString::fromLatin1(VirtualRadio::defaultMemory(model).channels[std::size_t(i)]),
            offset);
    ChannelTable table = mergeRadioChannels(numbersOnly(), radio);
    if (!changed)
        return table;
    const auto f = [&](double above) {
        return formatFrequency(modelInfo(model).band.bandLow + above);
    };
    table[2][RxFrequency] = f(7);
    table[4].fields = {"5", f(8), "", "", f(8), "", "", "add", "off", "off", "H"};
    table[6].fields = {"7", f(9), "67.0", "", f(9), "67.0", "", "del", "off", "off", "L"};
    return table;
}

bool waitUnlocked(ModelWindow *w, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (w->isTransferLocked() && clock.elapsed() < timeoutMs)
        QTest::qWait(5);
    return !w->isTransferLocked();
}

} // namespace

class TestRadioLink : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir.reset(new QTemporaryDir);
        QVERIFY(QDir::setCurrent(m_dir->path()));
    }

    void cleanup()
    {
        m_main.reset();
        m_radio.reset();
    }

    void statusLineShowsTheReadyRadio()
    {
        startProgram(Model::UM);
        StatusText *port = m_main->portStatusBar()->portLabel();
        StatusText *radio = m_main->portStatusBar()->radioLabel();
        // The bar's texts come just after the window's first paint.
        QTRY_COMPARE(port->text(), QStringLiteral("端口 COM1：") + m_radio->devicePath());
        // Nothing was sent yet: nothing is known of a radio.
        QCOMPARE(radio->text(), QStringLiteral("尚未询问对讲机"));
        ModelWindow *w = m_main->showModel(Model::UM); // its load starts the poll
        QVERIFY(w->session()->readyPollTimer()->isActive());
        QTRY_COMPARE_WITH_TIMEOUT(w->statusLine()->text(), readyText, 1000);
        QVERIFY2(saysWithTime(radio->text(), QStringLiteral("对讲机 "), QStringLiteral(" 应答")),
                 qPrintable(radio->text()));
        m_main->serial()->close();
        QCOMPARE(radio->text(), QStringLiteral("端口已关闭"));
        QCOMPARE(w->statusLine()->text(), QStringLiteral(" ")); // blank, as when it opened
    }

    // The window is locked while it writes and reads, the progress bar shows the transfer, and
    // a read fills the table and both settings in one step.
    // A transfer's new phase is drawn on the main bar at once; further counts of the same phase
    // at most every countIntervalMs, the latest one then.
    void mainBarDrawsAPhaseAtOnceAndCountsAtAPace()
    {
        startProgram(Model::V);
        StatusText *transfer = m_main->portStatusBar()->transferLabel();
        QTRY_VERIFY(!m_main->portStatusBar()->portLabel()->text().isEmpty());
        SerialConnection *serial = m_main->serial();
        // A text that needs more room has the bar laid out; one that fits (a new count, a
        // shorter text in the last place) is drawn alone.
        int layouts = 0;
        EventCounter counter(m_main->statusBar(), QEvent::LayoutRequest, &layouts);
        serial->setTransferPhase(LinkState::Transfer::Reading, 1, 18);
        QCOMPARE(transfer->text(), QStringLiteral("正在读数据 1/18"));
        QTRY_COMPARE(layouts, 1);
        serial->setTransferPhase(LinkState::Transfer::Reading, 2, 18);
        serial->setTransferPhase(LinkState::Transfer::Reading, 3, 18);
        QCOMPARE(transfer->text(), QStringLiteral("正在读数据 1/18"));
        QTRY_COMPARE_WITH_TIMEOUT(transfer->text(), QStringLiteral("正在读数据 3/18"),
                                  MainStatusBar::countIntervalMs * 5);
        serial->setTransferPhase(LinkState::Transfer::Writing, 0, 17);
        QCOMPARE(transfer->text(), QStringLiteral("正在写入 0/17"));
        QCoreApplication::processEvents();
        QCOMPARE(layouts, 1);
    }

    // The transfer bar shows the style's own bar for its share done (its count drawn over the
    // middle), whichever way the window reads.
    void transferBarIsTheStylesBar_data()
    {
        QTest::addColumn<int>("done");
        QTest::addColumn<int>("total");
        QTest::addColumn<bool>("rightToLeft");
        QTest::newRow("none") << 0 << 18 << false;
        QTest::newRow("half") << 9 << 18 << false;
        QTest::newRow("all") << 17 << 17 << false;
        QTest::newRow("half, right to left") << 9 << 18 << true;
    }

    void transferBarIsTheStylesBar()
    {
        QFETCH(int, done);
        QFETCH(int, total);
        QFETCH(bool, rightToLeft);
        TransferProgressBar bar;
        QProgressBar plain;
        plain.setTextVisible(false);
        plain.setAlignment(Qt::AlignCenter);
        for (QProgressBar *each : {static_cast<QProgressBar *>(&bar), &plain}) {
            each->setLayoutDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
            each->resize(150, 20);
        }
        bar.showCount(done, total);
        plain.setRange(0, total);
        plain.setValue(done);
        QCOMPARE(bar.text(), QStringLiteral("%1/%2").arg(done).arg(total));
        const QImage drawn = bar.grab().toImage();
        const QImage styled = plain.grab().toImage();
        // Columns clear of the count and of the filled part's end.
        for (int x : {3, 20, 129, 146})
            for (int y = 0; y < drawn.height(); ++y)
                QVERIFY2(drawn.pixel(x, y) == styled.pixel(x, y),
                         qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
        // The count is drawn: the middle differs from the bare bar.
        QVERIFY(drawn.copy(60, 0, 30, 20) != styled.copy(60, 0, 30, 20));
    }

    // The main bar's texts are drawn as labels would draw them.
    void statusTextIsALabelsText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("rightToLeft");
        QTest::newRow("Chinese") << QStringLiteral("对讲机 10:42:07 应答") << true << false;
        QTest::newRow("English") << QStringLiteral("Reading 9/18") << true << false;
        QTest::newRow("empty") << QString() << true << false;
        QTest::newRow("greyed") << QStringLiteral("端口已关闭") << false << false;
        QTest::newRow("window right to left") << QStringLiteral("Port closed") << true << true;
        QTest::newRow("text right to left") << QStringLiteral("שלום 12") << true << true;
    }

    void statusTextIsALabelsText()
    {
        QFETCH(QString, text);
        QFETCH(bool, enabled);
        QFETCH(bool, rightToLeft);
        StatusText drawn;
        QLabel label;
        drawn.setText(text);
        label.setText(text);
        QCOMPARE(drawn.sizeHint(), label.sizeHint());
        for (QWidget *each : std::initializer_list<QWidget *>{&drawn, &label}) {
            each->setLayoutDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
            each->setEnabled(enabled);
            each->resize(label.sizeHint() + QSize(40, 10));
        }
        QCOMPARE(drawn.grab().toImage(), label.grab().toImage());
    }

    void writeThenReadBackRestoresTheTable()
    {
        const Model model = Model::V;
        startProgram(model);
        ModelWindow *w = m_main->showModel(model);
        QTRY_COMPARE_WITH_TIMEOUT(w->statusLine()->text(), readyText, 1000);
        QVERIFY2(w->document()->replace(radioSampleTable(model), std::nullopt),
                 "the table was not stored");
        w->squelchList()->setCurrentText(QStringLiteral("7"));
        w->channelToneList()->setCurrentText(QStringLiteral("英文"));

        QSignalSpy written(m_radio.get(), &VirtualRadio::memoryWritten);
        auto *progress = w->findChild<QProgressBar *>(QStringLiteral("transferProgress"));
        StatusText *transfer = m_main->portStatusBar()->transferLabel();
        MessageBoxAnswerer answerer;
        QString barWithNotice;
        answerer.whileShown([&] { barWithNotice = transfer->text(); });
        w->writeAction()->trigger();
        QTRY_VERIFY(progress->isVisible());
        // While it writes, the window keeps the ready line it began with and the bar says the
        // transfer's phase.
        QCOMPARE(w->statusLine()->text(), readyText);
        QVERIFY2(transfer->text().startsWith(QStringLiteral("正在")), qPrintable(transfer->text()));
        QVERIFY(progress->isTextVisible());
        QCOMPARE(progress->text(),
                 QStringLiteral("%1/%2").arg(progress->value()).arg(progress->maximum()));
        QVERIFY(w->isTransferLocked());
        QVERIFY(!(w->tableModel()->flags(w->tableModel()->index(0, 1)) & Qt::ItemIsEditable));
        QVERIFY(!w->squelchList()->isEnabled());
        QVERIFY(!w->fileMenu()->menuAction()->isEnabled());
        QVERIFY(waitUnlocked(w, 5000));
        QTRY_COMPARE(written.count(), 1);
        // The bar told the verified write before the notice was answered.
        QVERIFY2(saysWithTime(barWithNotice, QStringLiteral("已写入并核对 "), QStringLiteral("")),
                 qPrintable(barWithNotice));
        // The user is told the write is done; what the radio held before is in the backups.
        QCOMPARE(answerer.count(), 1);
        QCOMPARE(answerer.seen().at(0).icon, QMessageBox::Information);
        QVERIFY2(answerer.seen().at(0).text.startsWith(QStringLiteral("已写入并核对：")),
                 qPrintable(answerer.seen().at(0).text));
        QVERIFY2(w->backups()->lastBackup().contains(QStringLiteral("from-radio")),
                 qPrintable(w->backups()->lastBackup()));
        QCOMPARE(w->document()->record(0)[ChannelNumber], QStringLiteral("1"));
        QCOMPARE(m_radio->memory().squelch, '7');
        QCOMPARE(m_radio->memory().channelTone, QByteArray("10"));
        // The poll resumes and finds the radio again.
        QTRY_COMPARE_WITH_TIMEOUT(w->statusLine()->text(), readyText, 1000);

        QVERIFY(w->document()->replace(numbersOnly(), std::nullopt));
        w->squelchList()->setCurrentText(QStringLiteral("3"));
        w->channelToneList()->setCurrentText(QStringLiteral("中文"));
        QSignalSpy replaced(w->document(), &ChannelDocument::replaced);
        w->readAction()->trigger();
        QCOMPARE(w->statusLine()->text(), QStringLiteral("正在读数据......"));
        // A new transfer clears the outcome of the last one.
        QCOMPARE(transfer->text(), QStringLiteral("正在读数据 0/18"));
        QVERIFY(waitUnlocked(w, 3000));
        QCOMPARE(answerer.count(), 1);
        QCOMPARE(replaced.count(), 1);
        // The read is confirmed with its time in the main bar; the status line, empty since the
        // read took the line, shows the ready radio again a poll or two later.
        QVERIFY2(
            saysWithTime(transfer->text(), QStringLiteral("已读取 16 个信道 "), QStringLiteral("")),
            qPrintable(transfer->text()));
        QCOMPARE(w->statusLine()->text(), QString());
        QTRY_COMPARE_WITH_TIMEOUT(w->statusLine()->text(), readyText, 400);
        QVERIFY(
            saysWithTime(m_main->portStatusBar()->radioLabel()->text(), QStringLiteral("对讲机 ")));

        // Back as written, except that 信道号 is not read and tones come back in their
        // shortest form.
        ChannelTable expected = radioSampleTable(model);
        expected[0][ChannelNumber] = QStringLiteral("1");
        for (int i = 1; i < channelCount; ++i)
            expected[static_cast<std::size_t>(i)][ChannelNumber] = QString::number(i + 1);
        expected[1][TxTone] = QStringLiteral("100");
        expected[3][TxTone] = QStringLiteral("67");
        for (int i = 0; i < channelCount; ++i)
            QCOMPARE(w->document()->record(i).fields, expected[static_cast<std::size_t>(i)].fields);
        QCOMPARE(w->squelchList()->currentText(), QStringLiteral("7"));
        QCOMPARE(w->channelToneList()->currentText(), QStringLiteral("英文"));
        QVERIFY(!w->findChild<QProgressBar *>(QStringLiteral("transferProgress"))->isVisible());
    }

    void failedReadChangesNothing_data()
    {
        QTest::addColumn<bool>("silent");
        QTest::addColumn<int>("garbageIn");
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("cutAfter");   // characters of the reply sent, -1: all
        QTest::addColumn<QString>("reason"); // what the main bar says while the message is up
        QTest::newRow("silent") << true << -1 << QString() << -1
                                << QStringLiteral("读数失败：对讲机没有应答 ");
        QTest::newRow("noise in channel block 4")
            << false << 5 << QString() << -1 << QStringLiteral("读数失败：对讲机的回答有误码 ");
        const QString noModel = zw::test::codeOfNoModel();
        QTest::newRow(qPrintable("model code " + noModel))
            << false << -1 << noModel << -1
            << QStringLiteral("读数失败：对讲机报告的型号不属于本系列 ");
        QTest::newRow("cut inside block 7") << false << -1 << QString() << 6 * 32 + 11
                                            << QStringLiteral("读数失败：对讲机中途停止了应答 ");
    }

    // Every failure shows the read error, leaves the table and both settings as they were, and
    // the window reads fine once the radio behaves.
    void failedReadChangesNothing()
    {
        QFETCH(bool, silent);
        QFETCH(int, garbageIn);
        QFETCH(QString, code);
        QFETCH(int, cutAfter);
        QFETCH(QString, reason);
        startProgram(Model::UH);
        ModelWindow *w = m_main->showModel(Model::UH);
        w->session()->setBlockTimeout(300);
        QTRY_COMPARE_WITH_TIMEOUT(w->statusLine()->text(), readyText, 1000);
        const ChannelTable before = radioSampleTable(Model::UH);
        QVERIFY(w->document()->replace(before, std::nullopt));
        w->squelchList()->setCurrentText(QStringLiteral("5"));
        w->channelToneList()->setCurrentText(QStringLiteral("键音"));

        VirtualRadio::Faults faults;
        faults.silent = silent;
        faults.garbageInBlock = garbageIn;
        faults.reportedCode = code;
        faults.stopAfterCharacters = cutAfter;
        m_radio->setFaults(faults);
        QSignalSpy replaced(w->document(), &ChannelDocument::replaced);
        MessageBoxAnswerer answerer;
        QString bar;
        QString radio;
        answerer.whileShown([&] {
            bar = m_main->portStatusBar()->transferLabel()->text();
            radio = m_main->portStatusBar()->radioLabel()->text();
        });
        QElapsedTimer clock;
        clock.start();
        w->readAction()->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(answerer.count(), 1, 4000);
        // The message keeps its words; the bar says why, and whether the radio answered.
        QVERIFY2(saysWithTime(bar, reason, QStringLiteral("")), qPrintable(bar));
        QVERIFY2(saysWithTime(radio, silent ? QStringLiteral("对讲机没有应答（自 ")
                                            : QStringLiteral("对讲机 ")),
                 qPrintable(radio));
        QVERIFY(clock.elapsed() < 2500);
        QCOMPARE(answerer.seen().at(0).icon, QMessageBox::Information);
        QCOMPARE(answerer.seen().at(0).title, QStringLiteral("错误警告 "));
        QCOMPARE(answerer.seen().at(0).text, QStringLiteral("读数错误！！"));
        QVERIFY(waitUnlocked(w, 1000));
        QCOMPARE(replaced.count(), 0);
        for (int i = 0; i < channelCount; ++i)
            QCOMPARE(w->document()->record(i).fields, before[static_cast<std::size_t>(i)].fields);
        QCOMPARE(w->squelchList()->currentText(), QStringLiteral("5"));
        QCOMPARE(w->channelToneList()->currentText(), QStringLiteral("键音"));
        QVERIFY(w->readAction()->isEnabled());
        QVERIFY(w->tableModel()->flags(w->tableModel()->index(0, 1)) & Qt::ItemIsEditable);
        QCOMPARE(m_main->modelWindow(Model::UH), w);

        m_radio->setFaults({});
        w->readAction()->trigger();
        QVERIFY(waitUnlocked(w, 3000));
        QCOMPARE(answerer.count(), 1);
        QCOMPARE(replaced.count(), 1);
        QCOMPARE(w->document()->record(0)[RxFrequency], QStringLiteral("435.00000"));
    }

    void anotherModelHandsOverAndKeepsThisTable()
    {
        startProgram(Model::UM);
        ModelWindow *w = m_main->showModel(Model::V);
        QTRY_COMPARE_WITH_TIMEOUT(w->statusLine()->text(), readyText, 1000);
        const ChannelTable before = radioSampleTable(Model::V);
        QVERIFY(w->document()->replace(before, std::nullopt));
        const QString path = w->document()->path();
        QPointer<ModelWindow> guard(w);
        MessageBoxAnswerer answerer;
        w->readAction()->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(m_main->modelWindow(Model::UM) != nullptr, 3000);
        QTRY_VERIFY(guard.isNull());
        QCOMPARE(answerer.count(), 1);
        QCOMPARE(answerer.seen().at(0).title, QStringLiteral("本机机型提示信息！！"));
        QCOMPARE(answerer.seen().at(0).text,
                 QStringLiteral("本机是ZW4630UM,  需要转换窗口,重读数据！"));
        QVERIFY(m_main->modelWindow(Model::V) == nullptr);
        ChannelStore reopened;
        ZW_VERIFY_OK(reopened.open(path));
        for (int i = 0; i < channelCount; ++i)
            QCOMPARE(reopened.record(i).fields, before[static_cast<std::size_t>(i)].fields);
        reopened.close();
        // The radio's own window reads it.
        ModelWindow *um = m_main->modelWindow(Model::UM);
        QTRY_VERIFY(!um->isTransferLocked());
        um->readAction()->trigger();
        QVERIFY(waitUnlocked(um, 3000));
        QCOMPARE(answerer.count(), 1);
        QCOMPARE(um->document()->record(0)[RxFrequency], QStringLiteral("405.00000"));
    }

    // While one window reads, another cannot start a transfer and says why.
    void otherWindowIsToldThePortIsBusy()
    {
        startProgram(Model::UH);
        VirtualRadio::Faults faults;
        faults.silent = true;
        m_radio->setFaults(faults);
        ModelWindow *v = m_main->showModel(Model::V);
        ModelWindow *uh = m_main->showModel(Model::UH);
        uh->session()->setBlockTimeout(300);
        QSignalSpy started(uh->session(), &RadioSession::readStarted);
        MessageBoxAnswerer answerer;
        uh->readAction()->trigger();
        QVERIFY(started.wait(1000));
        v->writeAction()->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(answerer.count(), 2, 3000);
        QCOMPARE(answerer.seen().at(0).text, otherWindowTransfersMessage);
        QCOMPARE(answerer.seen().at(1).text, QStringLiteral("读数错误！！"));
        QVERIFY(!v->isTransferLocked());
        QVERIFY(v->writeAction()->isEnabled());
    }

    void writeIsReadBackAndToldAsFound_data()
    {
        QTest::addColumn<int>("dropBlock");
        QTest::addColumn<int>("garbleBlock");
        // What the radio does once written: "silent", its reply to the read-back "cut" after
        // five blocks, "garbled" in block 4 or "slow", or nothing wrong (""); or what differs:
        // the radio held 英文 as its channel tone before ("old tone"), and the window's table
        // changes channel 16 too ("16") or no channel ("old tone, same channels").
        QTest::addColumn<QString>("afterWrite");
        QTest::addColumn<bool>("english");
        QTest::addColumn<bool>("restore"); // through Restore Radio, from a backup file
        QTest::addColumn<QMessageBox::Icon>("icon");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("bar");    // the main bar's outcome while the notice is up
        QTest::addColumn<int>("readyDelay"); // the radio answers every "C" this late (ms)
        QTest::addColumn<bool>("margin");    // channel 5 kept in the band's warning margin
        const auto info = QMessageBox::Information;
        const auto warning = QMessageBox::Warning;
        const QString verified = QStringLiteral("已写入并核对 ");
        const QString notVerified = QStringLiteral("已写入，没有核对 ");
        QTest::newRow("verified") << -1 << -1 << QString() << false << false << info
                                  << QStringLiteral("已写入并核对：信道 3、5、7 已改变。")
                                  << verified << 0 << false;
        QTest::newRow("verified, English")
            << -1 << -1 << QString() << true << false << info
            << QStringLiteral("Written and verified: channels 3, 5, 7 changed.")
            << QStringLiteral("Written and verified ") << 0 << false;
        // Late answers to the polls after the write must not run into the read-back's reply.
        QTest::newRow("verified, radio answering the poll late")
            << -1 << -1 << QString() << false << false << info
            << QStringLiteral("已写入并核对：信道 3、5、7 已改变。") << verified << 150 << false;
        QTest::newRow("verified, channel 5 in the warning margin")
            << -1 << -1 << QString() << false << false << info
            << QStringLiteral("已写入并核对：信道 3、5、7 已改变。\n以下信道的频率超出 136–174 MHz "
                              "频段，已按原样写入：信道 5。")
            << verified << 0 << true;
        QTest::newRow("block 5 dropped")
            << 5 << -1 << QString() << false << false << warning
            << QStringLiteral("对讲机中信道 5 的数据与写入的不同，请重新写入。")
            << QStringLiteral("已写入，但对讲机与写入不同：信道 5 ") << 0 << false;
        QTest::newRow("block 7 garbled")
            << -1 << 7 << QString() << true << false << warning
            << QStringLiteral("The radio does not hold what was written in channel 7. Write "
                              "again.")
            << QStringLiteral("Written, but the radio differs: channel 7 ") << 0 << false;
        QTest::newRow("trailer garbled")
            << -1 << imageBlockCount << QString() << false << false << warning
            << QStringLiteral("对讲机中静噪级别或信道音的数据与写入的不同，请重新写入。")
            << QStringLiteral("已写入，但对讲机与写入不同：静噪级别或信道音 ") << 0 << false;
        QTest::newRow("silent after the write")
            << -1 << -1 << QStringLiteral("silent") << false << false << warning
            << QStringLiteral("信道数据已发送，但没有核对：写入后对讲机没有应答。请读出对讲机，"
                              "查看其中的数据。")
            << notVerified << 0 << false;
        QTest::newRow("read-back cut")
            << -1 << -1 << QStringLiteral("cut") << false << false << warning
            << QStringLiteral("信道数据已发送，但没有核对：对讲机的回答不完整。请读出对讲机，"
                              "查看其中的数据。")
            << notVerified << 0 << false;
        // A reply at 25 ms a character would take 14 s: the write ends "not checked" within
        // its bound instead (the notice comes within the 8 s the test waits).
        QTest::newRow("read-back too slow")
            << -1 << -1 << QStringLiteral("slow") << false << false << warning
            << QStringLiteral("信道数据已发送，但没有核对：对讲机的回答太慢。请读出对讲机，"
                              "查看其中的数据。")
            << notVerified << 0 << false;
        QTest::newRow("read-back garbled, English")
            << -1 << -1 << QStringLiteral("garbled") << true << false << warning
            << QStringLiteral("The channels were sent, but not verified: the radio's reply was "
                              "garbled. Read the radio to see what it holds.")
            << QStringLiteral("Written, not verified ") << 0 << false;
        QTest::newRow("restoring a backup")
            << -1 << -1 << QString() << false << true << info
            << QStringLiteral("已写入并核对：信道 3、5、7 已改变。") << verified << 0 << false;
        QTest::newRow("restoring a backup, block 5 dropped")
            << 5 << -1 << QString() << false << true << warning
            << QStringLiteral("对讲机中信道 5 的数据与写入的不同，请重新写入。")
            << QStringLiteral("已写入，但对讲机与写入不同：信道 5 ") << 0 << false;
        QTest::newRow("block 16 dropped, English")
            << 16 << -1 << QStringLiteral("16") << true << false << warning
            << QStringLiteral("The radio does not hold what was written in channel 16. Write "
                              "again.")
            << QStringLiteral("Written, but the radio differs: channel 16 ") << 0 << false;
        QTest::newRow("trailer dropped, the old channel tone kept, English")
            << imageBlockCount << -1 << QStringLiteral("old tone") << true << false << warning
            << QStringLiteral("The radio does not hold what was written in the squelch level or "
                              "channel tone. Write again.")
            << QStringLiteral("Written, but the radio differs: the squelch level or channel tone ")
            << 0 << false;
        QTest::newRow("only the channel tone changed, English")
            << -1 << -1 << QStringLiteral("old tone, same channels") << true << false << info
            << QStringLiteral("Written and verified: the squelch level or channel tone changed.")
            << QStringLiteral("Written and verified ") << 0 << false;
    }

    // After the write the window reads the radio back: only what it finds there is reported as
    // verified, with the channels the write changed; a radio holding something else or not
    // answering is a warning.
    void writeIsReadBackAndToldAsFound()
    {
        QFETCH(int, dropBlock);
        QFETCH(int, garbleBlock);
        QFETCH(QString, afterWrite);
        QFETCH(bool, english);
        QFETCH(bool, restore);
        QFETCH(QMessageBox::Icon, icon);
        QFETCH(QString, text);
        QFETCH(QString, bar);
        QFETCH(int, readyDelay);
        QFETCH(bool, margin);
        setLanguageMode(english ? 2 : 0);
        startProgram(Model::V);
        if (afterWrite.startsWith(QLatin1String("old tone"))) {
            VirtualRadio::Memory before = m_radio->memory();
            before.channelTone = "10"; // 英文
            m_radio->setMemory(before);
        }
        VirtualRadio::Faults faults;
        faults.readyDelayMs = readyDelay;
        faults.dropBlock = dropBlock;
        faults.garbleBlock = garbleBlock;
        faults.silentAfterWrite = afterWrite == QLatin1String("silent");
        m_radio->setFaults(faults);
        connect(m_radio.get(), &VirtualRadio::memoryWritten, this, [&] {
            VirtualRadio::Faults reply = faults;
            reply.stopAfterBlocks = afterWrite == QLatin1String("cut") ? 5 : -1;
            reply.garbageInBlock = afterWrite == QLatin1String("garbled") ? 4 : -1;
            reply.characterMs = afterWrite == QLatin1String("slow") ? 25 : 0;
            if (afterWrite == QLatin1String("cut") || afterWrite == QLatin1String("garbled") ||
                afterWrite == QLatin1String("slow"))
                m_radio->setFaults(reply);
        });
        ModelWindow *w = m_main->showModel(Model::V);
        QTRY_COMPARE_WITH_TIMEOUT(w->statusLine()->text(), readyText, 1000);
        // A restore writes the backup chosen, and leaves the window's table as it is.
        ChannelTable table = restore ? numbersOnly() : radioTableChanged(Model::V);
        if (margin)
            table[4][RxFrequency] = table[4][TxFrequency] = QStringLiteral("133.00000");
        if (afterWrite == QLatin1String("16"))
            table[15][RxFrequency] = formatFrequency(modelInfo(Model::V).band.bandLow + 10);
        else if (afterWrite == QLatin1String("old tone, same channels"))
            table = radioTableChanged(Model::V, false);
        QVERIFY(w->document()->replace(table, std::nullopt));
        QString requests;
        connect(m_radio.get(), &VirtualRadio::requestReceived, this,
                [&](char c) { requests += QLatin1Char(c); });
        MessageBoxAnswerer answerer;
        QString barWithNotice;
        QString radioWithNotice;
        answerer.whileShown([&] {
            barWithNotice = m_main->portStatusBar()->transferLabel()->text();
            radioWithNotice = m_main->portStatusBar()->radioLabel()->text();
        });
        if (restore) {
            const QString backup =
                backupFolder() + QStringLiteral("/ZW4630V_20261201-101010-000_from-radio.doc");
            QVERIFY(QDir().mkpath(backupFolder()));
            ChannelFileData data{modelInfo(Model::V).code, QStringLiteral("中文"),
                                 QStringLiteral("3"), radioTableChanged(Model::V)};
            QFile file(backup);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(writeChannelFile(data).value());
            file.close();
            // The backup is chosen in the list of backups.
            test::ExpectedDialog choice(BackupChoiceDialog::staticMetaObject);
            bool offered = false;
            QTimer poll;
            connect(&poll, &QTimer::timeout, this, [&] {
                auto *d = qobject_cast<BackupChoiceDialog *>(QApplication::activeModalWidget());
                if (!d)
                    return;
                poll.stop();
                for (int i = 0; i < d->list()->topLevelItemCount(); ++i)
                    if (d->list()->topLevelItem(i)->toolTip(0) ==
                        QDir::toNativeSeparators(backup)) {
                        d->list()->setCurrentItem(d->list()->topLevelItem(i));
                        offered = true;
                    }
                offered ? d->accept() : d->reject();
            });
            poll.start(5);
            answerer.answerWith(QStringLiteral("继续"));
            w->findChild<QAction *>(QStringLiteral("mnuRestoreRadio"))->trigger();
            QVERIFY(offered);
            QTRY_COMPARE_WITH_TIMEOUT(answerer.count(), 2, 8000);
            // Before anything is sent the user sees what the backup changes in the radio.
            QCOMPARE(answerer.seen().at(0).text,
                     restoreRadioQuestion(false).arg(QStringLiteral("信道 3、5、7")));
        } else {
            w->writeAction()->trigger();
            QTRY_COMPARE_WITH_TIMEOUT(answerer.count(), 1, 8000);
        }
        setLanguageMode(0);
        const auto &notice = answerer.seen().constLast();
        QCOMPARE(notice.text, text); // the text first: it tells more when the row fails
        QCOMPARE(notice.icon, icon);
        QCOMPARE(notice.title, systemInfoTitle);
        // The bar says the same outcome before the notice is dismissed, and a radio that went
        // silent after the write is no longer "answered".
        QVERIFY2(saysWithTime(barWithNotice, bar), qPrintable(barWithNotice));
        if (afterWrite == QLatin1String("silent"))
            QVERIFY2(radioWithNotice.startsWith(QStringLiteral("对讲机没有应答（自 ")),
                     qPrintable(radioWithNotice));
        QCOMPARE(w->document()->records(), table);
        QVERIFY(waitUnlocked(w, 1000));
        // Identified, written, then read back: "B", "A", and "B" once the radio answered again.
        QCOMPARE(requests.count(u'A'), 1);
        QCOMPARE(requests.count(u'B'), afterWrite == QLatin1String("silent") ? 1 : 2);
    }

    void writeRefusedWithoutTheRightRadio_data()
    {
        QTest::addColumn<Model>("radioModel");
        QTest::addColumn<bool>("silent");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("bar"); // after the time
        QTest::newRow("silent radio")
            << Model::V << true << QStringLiteral("系统信息")
            << writeText(WriteResult::Outcome::NoAnswer) << QStringLiteral("（对讲机没有应答）");
        QTest::newRow("radio of another model")
            << Model::UH << false << otherRadioTitle
            << QStringLiteral("本机是ZW4630UH,  需要转换窗口,重读数据！")
            << QStringLiteral("（对讲机是 ZW4630UH）");
    }

    // Write Data in the ZW4630V window sends no "A" to a radio that does not answer or is
    // another model, says why, and leaves the window as it was.
    void writeRefusedWithoutTheRightRadio()
    {
        QFETCH(Model, radioModel);
        QFETCH(bool, silent);
        QFETCH(QString, title);
        QFETCH(QString, text);
        QFETCH(QString, bar);
        startProgram(radioModel);
        VirtualRadio::Faults faults;
        faults.silent = silent;
        m_radio->setFaults(faults);
        const VirtualRadio::Memory memory = m_radio->memory();
        ModelWindow *w = m_main->showModel(Model::V);
        if (!silent)
            QTRY_COMPARE_WITH_TIMEOUT(w->statusLine()->text(), readyText, 1000);
        else
            QTest::qWait(250);
        QVERIFY(w->document()->replace(radioSampleTable(Model::V), std::nullopt));
        QString requests;
        connect(m_radio.get(), &VirtualRadio::requestReceived, this,
                [&](char c) { requests += QLatin1Char(c); });
        MessageBoxAnswerer answerer;
        w->writeAction()->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(answerer.count(), 1, 3000);
        QCOMPARE(answerer.seen().at(0).title, title);
        QCOMPARE(answerer.seen().at(0).text, text);
        QVERIFY(waitUnlocked(w, 1000));
        const QString said = m_main->portStatusBar()->transferLabel()->text();
        QVERIFY2(saysWithTime(said, QStringLiteral("没有写入 "), bar), qPrintable(said));
        QVERIFY2(!requests.contains(u'A'), qPrintable(requests));
        QCOMPARE(requests.count(u'B'), silent ? 0 : 1);
        QCOMPARE(m_radio->memory().channels, memory.channels);
        QCOMPARE(m_main->modelWindow(Model::V), w); // no hand-over: this table stays here
        QVERIFY(w->writeAction()->isEnabled());
        QCOMPARE(w->document()->record(1)[RxFrequency], radioSampleTable(Model::V)[1][RxFrequency]);
    }

    void exitDuringAWriteWaitsForItsEnd_data()
    {
        QTest::addColumn<bool>("windowClosedFirst"); // the model window's frame was closed first
        QTest::addColumn<bool>("signalled");         // by a termination signal, not 退出系统
        QTest::addColumn<bool>("atReadBack"); // the signal comes while the radio is read back
        QTest::newRow("exit") << false << false << false;
        QTest::newRow("window closed, then exit") << true << false << false;
        QTest::newRow("window closed, then a termination signal") << true << true << false;
        // The read-back is only a check: it ends at once, "not checked", and no notice opens.
        QTest::newRow("termination signal during the read-back") << false << true << true;
    }

    // 退出系统 during a write waits for its last block: the radio holds the whole image. While
    // the model window already waits to close, the main window's close is refused; closed again
    // after the write, it closes. A termination signal ends the program only after the write:
    // the model window refuses to close until then.
    void exitDuringAWriteWaitsForItsEnd()
    {
        QFETCH(bool, windowClosedFirst);
        QFETCH(bool, signalled);
        QFETCH(bool, atReadBack);
        startProgram(Model::V);
        if (atReadBack) { // a radio that never answers after the write holds the read-back 2 s
            VirtualRadio::Faults faults;
            faults.silentAfterWrite = true;
            m_radio->setFaults(faults);
        }
        ProgramExit programExit(m_main.get());
        auto askAgain = qScopeGuard([] { declineQuestions(false); }); // the next test asks again
        int writes = 0;
        int writesAtExit = -1;
        connect(m_radio.get(), &VirtualRadio::memoryWritten, this, [&] { ++writes; });
        connect(&programExit, &ProgramExit::finished, this, [&] { writesAtExit = writes; });
        ModelWindow *w = m_main->showModel(Model::V);
        QTRY_COMPARE_WITH_TIMEOUT(w->statusLine()->text(), readyText, 1000);
        QVERIFY(w->document()->replace(radioSampleTable(Model::V), std::nullopt));
        QSignalSpy written(m_radio.get(), &VirtualRadio::memoryWritten);
        MessageBoxAnswerer answerer;
        bool exited = false;
        std::optional<WriteResult> result;
        connect(w->session(), &RadioSession::writeFinished, this,
                [&](const WriteResult &r) { result = r; });
        // The signal comes once the radio holds the image and the window reads it back (on a
        // pseudo-terminal, what the radio has not read yet is lost when the port closes).
        auto exitAtReadBack = [&] {
            if (!atReadBack || exited || written.isEmpty() ||
                w->session()->linkState().transfer != LinkState::Transfer::Verifying)
                return;
            exited = true;
            QMetaObject::invokeMethod(
                this, [&programExit] { programExit.request(); }, Qt::QueuedConnection);
        };
        connect(w->session(), &RadioSession::linkStateChanged, this, exitAtReadBack);
        connect(m_radio.get(), &VirtualRadio::memoryWritten, this, exitAtReadBack);
        connect(w->session(), &RadioSession::progress, this, [&](int done, int total) {
            if (atReadBack || total != imageBlockCount || done != 3 || exited)
                return;
            exited = true;
            if (windowClosedFirst) { // the exit comes while the window waits for the write's end
                QMetaObject::invokeMethod(
                    this,
                    [this, w, signalled, &programExit] {
                        QTimer::singleShot(0, m_main.get(), [this, signalled, &programExit] {
                            if (signalled)
                                programExit.request(); // as the signal handler asks
                            else
                                m_main->exitProgram();
                        });
                        w->parentWidget()->close();
                    },
                    Qt::QueuedConnection);
                return;
            }
            QMetaObject::invokeMethod(
                this, [this] { m_main->exitProgram(); }, // 退出系统
                Qt::QueuedConnection);
        });
        w->writeAction()->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(exited, 3000);
        if (windowClosedFirst && !signalled) {
            QTRY_COMPARE_WITH_TIMEOUT(written.count(), 1, 5000);
            QTRY_VERIFY(!m_main->serial()->isTransferring());
            QVERIFY(m_main->isVisible());
            m_main->exitProgram();
        }
        QTRY_VERIFY_WITH_TIMEOUT(!m_main->isVisible(), 5000);
        QTRY_COMPARE(written.count(), 1);
        // (At the read-back the image is on the line, the radio may store it after the end.)
        if (!atReadBack)
            QCOMPARE(writesAtExit, signalled ? 1 : -1);
        if (atReadBack) {
            QVERIFY(result && result->check == WriteResult::Check::NotChecked);
            QCOMPARE(result->notCheckedReason, WriteResult::NotCheckedReason::Interrupted);
            QCOMPARE(answerer.count(), 0);
        }
        declineQuestions(false); // the next test asks again
        QVERIFY(m_main->modelWindow(Model::V) == nullptr);
        QVERIFY(!m_main->serial()->isOpen());
        ChannelTable sent = radioSampleTable(Model::V);
        for (int i = 0; i < channelCount; ++i)
            sent[std::size_t(i)][ChannelNumber] = QString::number(i + 1);
        QCOMPARE(m_radio->memory().channels[0],
                 EncodeChannelBlock(sent[0], modelInfo(Model::V).receiveOffsetMHz).toLatin1());
        QCOMPARE(m_radio->memory().channels[15],
                 EncodeChannelBlock(sent[15], modelInfo(Model::V).receiveOffsetMHz).toLatin1());
    }

    void portFailureEndsTheTransfer_data()
    {
        QTest::addColumn<bool>("write");
        QTest::addColumn<bool>("closedBefore");
        QTest::addColumn<bool>("replied");    // the radio's whole reply to "B" came before the cut
        QTest::addColumn<bool>("readyFirst"); // the radio answered the poll before the close
        QTest::addColumn<QString>("message");
        const QString nothingSent = writeText(WriteResult::Outcome::PortLost);
        const QString portReadFailedMessage = readText(ReadResult::Outcome::PortLost);
        // A port that fails in use was pulled away: said so, with the system's words ("%1").
        QTest::newRow("write, cable pulled")
            << true << false << true << false
            << QStringLiteral("编程线或转接器已断开（%1），数据没有全部写入对讲机。");
        QTest::newRow("write, cable pulled before A")
            << true << false << false << false
            << QStringLiteral("编程线或转接器已断开（%1），没有向对讲机写入数据。");
        // Nothing of the write went out: the radio is unchanged, and the message says so.
        QTest::newRow("write, port closed") << true << true << false << false << nothingSent;
        QTest::newRow("write, port closed after the radio was ready")
            << true << true << false << true << nothingSent;
        QTest::newRow("read, cable pulled")
            << false << false << false << false
            << QStringLiteral("编程线或转接器已断开（%1），没有从对讲机读出数据。");
        QTest::newRow("read, port closed")
            << false << true << false << false << portReadFailedMessage;
    }

    void portFailureEndsTheTransfer()
    {
        QFETCH(bool, write);
        QFETCH(bool, closedBefore);
        QFETCH(bool, replied);
        QFETCH(bool, readyFirst);
        QFETCH(QString, message);
        PtyPair pty;
        QVERIFY(pty.isValid());
        m_main = std::make_unique<MainWindow>();
        m_main->serial()->setDevice(1, pty.slavePath());
        m_main->load();
        ModelWindow *w = m_main->showModel(Model::UM);
        const ChannelTable before = radioSampleTable(Model::UM);
        QVERIFY(w->document()->replace(before, std::nullopt));
        if ((write && !closedBefore) || readyFirst) {
            // The test is the radio until the write is under way: ready, then identified.
            pty.readBytes(1, 1000);
            pty.write("C");
            QTRY_COMPARE_WITH_TIMEOUT(w->statusLine()->text(), readyText, 1000);
        }
        if (closedBefore) {
            m_main->serial()->close();
            QCOMPARE(w->statusLine()->text(), QStringLiteral(" ")); // no longer ready
        }
        MessageBoxAnswerer answerer;
        (write ? w->writeAction() : w->readAction())->trigger();
        if (!closedBefore) {
            QByteArray sent;
            QTRY_VERIFY_WITH_TIMEOUT((sent += pty.readAvailable()).contains('B'), 2000);
            if (replied) {
                pty.write(VirtualRadio(Model::UM).reply());
                pty.readBytes(1 + 3 * 32, 2000);
            } else { // a partial reply, then the cable goes
                pty.write(QByteArray(100, '0'));
            }
            QTest::qWait(20);
            pty.closeMaster();
        }
        QTRY_COMPARE_WITH_TIMEOUT(answerer.count(), 1, 3000);
        QCOMPARE(answerer.seen().at(0).title, QStringLiteral("系统信息"));
        const QStringList around = message.split(QStringLiteral("%1"));
        if (around.size() == 2) {
            const QString text = answerer.seen().at(0).text;
            QVERIFY2(text.startsWith(around.at(0)) && text.endsWith(around.at(1)) &&
                         text.size() > message.size() - 2,
                     qPrintable(text));
        } else {
            QCOMPARE(answerer.seen().at(0).text, message);
        }
        QVERIFY(waitUnlocked(w, 1000));
        QVERIFY(!m_main->serial()->isTransferring());
        if (!write) {
            for (int i = 0; i < channelCount; ++i)
                QCOMPARE(w->document()->record(i).fields,
                         before[static_cast<std::size_t>(i)].fields);
        }
        QTest::qWait(200);
        QCOMPARE(answerer.count(), 1); // reported once
    }

    // Write Several Radios: the panel covers and locks the window, writes each radio without a
    // message box, shows its row and counts, and gives the window back when closed.
    void fleetPanelWritesRadiosWithoutQuestions()
    {
        // Backups and today's log in a folder of this run: a log left by an earlier run would be
        // continued, and its rows shown.
        const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", m_dir->path().toUtf8());
        auto restoreDataHome = qScopeGuard([&] {
            if (dataHome.isNull())
                qunsetenv("XDG_DATA_HOME");
            else
                qputenv("XDG_DATA_HOME", dataHome);
        });
        startProgram(Model::V);
        VirtualRadio::FleetRadio only;
        only.model = Model::V;
        m_radio->setFleet({only}, 500);
        ModelWindow *w = m_main->showModel(Model::V);
        QTRY_COMPARE_WITH_TIMEOUT(w->statusLine()->text(), readyText, 1000);
        QVERIFY(w->document()->replace(radioSampleTable(Model::V), std::nullopt));
        auto *item = w->findChild<QAction *>(QStringLiteral("mnuFleetWrite"));
        QVERIFY(item);
        QCOMPARE(item->text(), QStringLiteral("批量写入…"));
        item->trigger();
        FleetPanel *panel = w->fleetPanel();
        QVERIFY(panel->isVisible());
        QCOMPARE(panel->geometry(), w->rect());
        QVERIFY(w->isTransferLocked());
        QVERIFY(!(w->tableModel()->flags(w->tableModel()->index(0, 1)) & Qt::ItemIsEditable));
        QCOMPARE(panel->logPath(), QDir(backupFolder())
                                       .filePath(QDate::currentDate().toString(
                                           QStringLiteral("'fleet-'yyyyMMdd'.csv'"))));

        MessageBoxAnswerer answerer;
        auto button = [panel](const char *name) {
            return panel->findChild<QPushButton *>(QLatin1String(name));
        };
        button("fleetStart")->click();
        QVERIFY(!button("fleetClose")->isEnabled());
        // English chosen during the run: the panel keeps the language it opened in, as the
        // window keeps its captions; it takes the new one at its next opening.
        setLanguageMode(2);
        auto chinese = qScopeGuard([] { setLanguageMode(0); });
        auto *log = panel->findChild<QTableWidget *>(QStringLiteral("fleetLog"));
        QTRY_COMPARE_WITH_TIMEOUT(log->rowCount(), 1, 6000);
        QCOMPARE(log->item(0, 3)->text(), QStringLiteral("verified"));
        QCOMPARE(panel->findChild<QLabel *>(QStringLiteral("fleetState"))->text(),
                 QStringLiteral("第 1 台已核对，请关机"));
        QVERIFY(panel->findChild<QLabel *>(QStringLiteral("fleetCounts"))
                    ->text()
                    .startsWith(QStringLiteral("已写入并核对 1")));
        QCOMPARE(answerer.count(), 0);
        // Between radios the session is idle, but the panel keeps the window locked.
        QVERIFY(!w->session()->isTransferring());
        QVERIFY(w->isTransferLocked());
        QVERIFY(!w->squelchList()->isEnabled());
        button("fleetStop")->click();
        QVERIFY(button("fleetClose")->isEnabled());
        button("fleetClose")->click();
        QVERIFY(!panel->isVisible());
        QVERIFY(!w->isTransferLocked());
        QCOMPARE(answerer.count(), 0);
        item->trigger();
        QCOMPARE(button("fleetStart")->text(), QStringLiteral("Start"));
        button("fleetClose")->click();
        const Expected<QList<FleetRow>> rows = FleetLog::read(panel->logPath());
        QVERIFY(rows.ok());
        QCOMPARE(rows->size(), 1);
        QCOMPARE(rows->at(0).outcome, FleetOutcome::Verified);
    }

private:
    void startProgram(Model radioModel)
    {
        m_radio = std::make_unique<VirtualRadio>(radioModel);
        m_radio->setPacing(false);
        QVERIFY(m_radio->open());
        m_main = std::make_unique<MainWindow>();
        m_main->serial()->setDevice(1, m_radio->devicePath());
        m_main->load();
        QVERIFY(m_main->serial()->isOpen());
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<VirtualRadio> m_radio;
    std::unique_ptr<MainWindow> m_main;
};

QTEST_MAIN(TestRadioLink)
#include "tst_radiolink.moc"
