#include "channelstore.h"
#include "channeltablemodel.h"
#include "codec.h"
#include "mainwindow.h"
#include "messageboxanswerer.h"
#include "messages.h"
#include "modelwindow.h"
#include "numberreader.h"
#include "ptypair.h"
#include "radiotransfer.h"
#include "sampletables.h"
#include "serialconnection.h"
#include "virtualradio.h"

#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QtTest>

using namespace zw;
using zw::test::MessageBoxAnswerer;
using zw::test::PtyPair;
using zw::test::radioSampleTable;

Q_DECLARE_METATYPE(zw::Model)

namespace
{

const QString readyText = QStringLiteral("对讲机就绪...");

ChannelTable numbersOnly()
{
    ChannelTable t;
    for (int i = 0; i < channelCount; ++i)
        t[static_cast<std::size_t>(i)][ChannelNumber] = QString::number(i + 1);
    return t;
}

RadioLink *linkOf(ModelWindow *w)
{
    return w->findChild<RadioTransfer *>()->link();
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

    void readyWithinTwoPollTicks_data()
    {
        QTest::addColumn<Model>("model");
        for (Model model : allModels)
            QTest::newRow(qPrintable(modelInfo(model).name)) << model;
    }

    void readyWithinTwoPollTicks()
    {
        QFETCH(Model, model);
        startProgram(model);
        ModelWindow *w = m_main->showModel(model); // its load starts the poll
        QElapsedTimer clock;
        clock.start();
        QTRY_COMPARE_WITH_TIMEOUT(w->statusLine()->text(), readyText, 1000);
        QVERIFY2(clock.elapsed() <= 300, qPrintable(QString::number(clock.elapsed())));
        // Once ready the poll is silent.
        QSignalSpy requests(m_radio.get(), &VirtualRadio::requestReceived);
        QTest::qWait(350);
        QCOMPARE(requests.count(), 0);
    }

    void noRadioPollsTenTimesASecond()
    {
        PtyPair pty;
        QVERIFY(pty.isValid());
        m_main = std::make_unique<MainWindow>();
        m_main->serial()->setDevice(1, pty.slavePath());
        m_main->load();
        ModelWindow *w = m_main->showModel(Model::V);
        const QByteArray sent = pty.readBytes(1000, 1050);
        QVERIFY2(sent.count('C') >= 8 && sent.count('C') <= 12, sent.constData());
        QCOMPARE(sent.size(), sent.count('C'));
        QVERIFY(w->statusLine()->text().trimmed().isEmpty());
        // A "C" among other characters: those before it are dropped, it counts as ready.
        pty.write("xyC");
        QTRY_COMPARE_WITH_TIMEOUT(w->statusLine()->text(), readyText, 500);
    }

    void writeThenReadBackRestoresTheTable_data()
    {
        QTest::addColumn<Model>("model");
        for (Model model : allModels)
            QTest::newRow(qPrintable(modelInfo(model).name)) << model;
    }

    void writeThenReadBackRestoresTheTable()
    {
        QFETCH(Model, model);
        startProgram(model);
        ModelWindow *w = m_main->showModel(model);
        QTRY_COMPARE_WITH_TIMEOUT(w->statusLine()->text(), readyText, 1000);
        QVERIFY2(w->store()->setRecords(radioSampleTable(model)),
                 qPrintable(w->store()->lastError()));
        w->squelchList()->setCurrentText(QStringLiteral("7"));
        w->channelToneList()->setCurrentText(QStringLiteral("英文"));

        QSignalSpy written(m_radio.get(), &VirtualRadio::memoryWritten);
        w->writeAction()->trigger();
        QVERIFY(w->isTransferLocked());
        QVERIFY(w->tableModel()->isEditingLocked());
        QVERIFY(!w->squelchList()->isEnabled());
        QVERIFY(!w->fileMenu()->menuAction()->isEnabled());
        QVERIFY(waitUnlocked(w, 5000));
        QTRY_COMPARE(written.count(), 1);
        QCOMPARE(w->statusLine()->text(), QString());
        QCOMPARE(w->store()->record(0)[ChannelNumber], QStringLiteral("1"));
        QCOMPARE(m_radio->memory().squelch, '7');
        QCOMPARE(m_radio->memory().channelTone, QByteArray("10"));
        // The poll resumes and finds the radio again.
        QTRY_COMPARE_WITH_TIMEOUT(w->statusLine()->text(), readyText, 1000);

        QVERIFY(w->store()->setRecords(numbersOnly()));
        w->squelchList()->setCurrentText(QStringLiteral("3"));
        w->channelToneList()->setCurrentText(QStringLiteral("中文"));
        QSignalSpy replaced(w, &ModelWindow::tableReplaced);
        MessageBoxAnswerer answerer;
        w->readAction()->trigger();
        QCOMPARE(w->statusLine()->text(), QStringLiteral("正在读数据......"));
        QVERIFY(waitUnlocked(w, 3000));
        QCOMPARE(answerer.count(), 0);
        QCOMPARE(replaced.count(), 1);

        // Back as written, except that 信道号 is not read and tones come back in their
        // shortest form.
        ChannelTable expected = radioSampleTable(model);
        expected[0][ChannelNumber] = QStringLiteral("1");
        for (int i = 1; i < channelCount; ++i)
            expected[static_cast<std::size_t>(i)][ChannelNumber] = QString::number(i + 1);
        expected[1][TxTone] = QStringLiteral("100");
        expected[3][TxTone] = QStringLiteral("67");
        for (int i = 0; i < channelCount; ++i)
            QCOMPARE(w->store()->record(i).fields, expected[static_cast<std::size_t>(i)].fields);
        QCOMPARE(w->squelchList()->currentText(), QStringLiteral("7"));
        QCOMPARE(w->channelToneList()->currentText(), QStringLiteral("英文"));
        QVERIFY(!w->findChild<QProgressBar *>(QStringLiteral("transferProgress"))->isVisible());
    }

    void failedReadChangesNothing_data()
    {
        QTest::addColumn<bool>("silent");
        QTest::addColumn<int>("stopAfter");
        QTest::addColumn<int>("garbageIn");
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("delayMs");
        QTest::newRow("silent") << true << -1 << -1 << QString() << 0;
        QTest::newRow("stops after header and ten channels") << false << 11 << -1 << QString() << 0;
        QTest::newRow("stops before the trailer") << false << 17 << -1 << QString() << 0;
        QTest::newRow("noise in channel block 4") << false << -1 << 5 << QString() << 0;
        QTest::newRow("noise in the trailer") << false << -1 << 18 << QString() << 0;
        QTest::newRow("model code 5") << false << -1 << -1 << QStringLiteral("5") << 0;
        QTest::newRow("model code 0") << false << -1 << -1 << QStringLiteral("0") << 0;
        QTest::newRow("answers too late") << false << -1 << -1 << QString() << 2000;
    }

    // Every failure shows the read error, leaves the table and both settings as they were, and
    // the window reads fine once the radio behaves.
    void failedReadChangesNothing()
    {
        QFETCH(bool, silent);
        QFETCH(int, stopAfter);
        QFETCH(int, garbageIn);
        QFETCH(QString, code);
        QFETCH(int, delayMs);
        startProgram(Model::UH);
        ModelWindow *w = m_main->showModel(Model::UH);
        QTRY_COMPARE_WITH_TIMEOUT(w->statusLine()->text(), readyText, 1000);
        const ChannelTable before = radioSampleTable(Model::UH);
        QVERIFY(w->store()->setRecords(before));
        w->squelchList()->setCurrentText(QStringLiteral("5"));
        w->channelToneList()->setCurrentText(QStringLiteral("键音"));

        VirtualRadio::Faults faults;
        faults.silent = silent;
        faults.stopAfterBlocks = stopAfter;
        faults.garbageInBlock = garbageIn;
        faults.reportedCode = code;
        faults.replyDelayMs = delayMs;
        m_radio->setFaults(faults);
        QSignalSpy replaced(w, &ModelWindow::tableReplaced);
        MessageBoxAnswerer answerer;
        QElapsedTimer clock;
        clock.start();
        w->readAction()->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(answerer.count(), 1, 4000);
        QVERIFY(clock.elapsed() < 2500);
        QCOMPARE(answerer.seen().at(0).icon, QMessageBox::Information);
        QCOMPARE(answerer.seen().at(0).title, QStringLiteral("错误警告 "));
        QCOMPARE(answerer.seen().at(0).text, QStringLiteral("读数错误！！"));
        QVERIFY(waitUnlocked(w, 1000));
        QCOMPARE(replaced.count(), 0);
        for (int i = 0; i < channelCount; ++i)
            QCOMPARE(w->store()->record(i).fields, before[static_cast<std::size_t>(i)].fields);
        QCOMPARE(w->squelchList()->currentText(), QStringLiteral("5"));
        QCOMPARE(w->channelToneList()->currentText(), QStringLiteral("键音"));
        QVERIFY(w->readAction()->isEnabled());
        QVERIFY(!w->tableModel()->isEditingLocked());
        QCOMPARE(m_main->modelWindow(Model::UH), w);

        QTest::qWait(delayMs + 100); // a late answer has arrived and is not taken for a reply
        m_radio->setFaults({});
        w->readAction()->trigger();
        QVERIFY(waitUnlocked(w, 3000));
        QCOMPARE(answerer.count(), 1);
        QCOMPARE(replaced.count(), 1);
        QCOMPARE(w->store()->record(0)[RxFrequency], QStringLiteral("435.00000"));
    }

    void slowRadioWithinTheLimitIsRead()
    {
        startProgram(Model::UL);
        m_radio->setPacing(true);
        VirtualRadio::Faults faults;
        faults.replyDelayMs = 1000;
        m_radio->setFaults(faults);
        ModelWindow *w = m_main->showModel(Model::UL);
        QTRY_COMPARE_WITH_TIMEOUT(w->statusLine()->text(), readyText, 3000);
        MessageBoxAnswerer answerer;
        w->readAction()->trigger();
        QVERIFY(waitUnlocked(w, 4000));
        QCOMPARE(answerer.count(), 0);
        QCOMPARE(w->store()->record(2)[RxTone], QStringLiteral("D023N"));
    }

    void anotherModelHandsOverAndKeepsThisTable()
    {
        startProgram(Model::UM);
        ModelWindow *w = m_main->showModel(Model::V);
        QTRY_COMPARE_WITH_TIMEOUT(w->statusLine()->text(), readyText, 1000);
        const ChannelTable before = radioSampleTable(Model::V);
        QVERIFY(w->store()->setRecords(before));
        const QString path = w->store()->path();
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
        QVERIFY(reopened.open(path).ok);
        for (int i = 0; i < channelCount; ++i)
            QCOMPARE(reopened.record(i).fields, before[static_cast<std::size_t>(i)].fields);
        reopened.close();
        // The radio's own window reads it.
        ModelWindow *um = m_main->modelWindow(Model::UM);
        QTRY_VERIFY(!um->isTransferLocked());
        um->readAction()->trigger();
        QVERIFY(waitUnlocked(um, 3000));
        QCOMPARE(answerer.count(), 1);
        QCOMPARE(um->store()->record(0)[RxFrequency], QStringLiteral("405.00000"));
    }

    void otherWindowsStaySilentDuringARead()
    {
        startProgram(Model::UH);
        VirtualRadio::Faults faults;
        faults.silent = true; // nobody gets ready, so every window keeps polling
        m_radio->setFaults(faults);
        ModelWindow *v = m_main->showModel(Model::V);
        ModelWindow *uh = m_main->showModel(Model::UH);
        QString requests;   // all the radio received
        QString duringRead; // what it received while the read held the line
        bool reading = false;
        connect(m_radio.get(), &VirtualRadio::requestReceived, this, [&](char c) {
            requests += QLatin1Char(c);
            if (reading)
                duringRead += QLatin1Char(c);
        });
        QTest::qWait(300);
        QVERIFY(requests.count(u'C') >= 4);

        connect(linkOf(uh), &RadioLink::readStarted, this, [&] { reading = true; });
        // The line is free again once the transfer ends, before the read's message box (whose
        // event loop lets the polls run) appears.
        connect(m_main->serial(), &SerialConnection::transferChanged, this,
                [&](bool transferring) { reading = reading && transferring; });
        MessageBoxAnswerer answerer;
        uh->readAction()->trigger();
        QVERIFY(!v->readAction()->isEnabled() || linkOf(v)->isPortBusy());
        // The other window cannot start a transfer of its own meanwhile.
        QTest::qWait(150);
        QVERIFY(reading);
        v->writeAction()->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(answerer.count(), 2, 3000);
        QCOMPARE(answerer.seen().at(0).text, otherWindowTransfersMessage);
        QCOMPARE(answerer.seen().at(1).text, QStringLiteral("读数错误！！"));
        QCOMPARE(duringRead, QStringLiteral("B"));
        QVERIFY(!v->isTransferLocked());
        // Afterwards both poll again.
        requests.clear();
        QTest::qWait(300);
        QVERIFY(requests.count(u'C') >= 4);
    }

    void writeSendsTheImagePaced_data()
    {
        QTest::addColumn<Model>("model");
        QTest::newRow("V") << Model::V;
        QTest::newRow("UH") << Model::UH;
    }

    void writeSendsTheImagePaced()
    {
        QFETCH(Model, model);
        PtyPair pty;
        QVERIFY(pty.isValid());
        m_main = std::make_unique<MainWindow>();
        m_main->serial()->setDevice(1, pty.slavePath());
        m_main->load();
        ModelWindow *w = m_main->showModel(model);
        ChannelTable table = radioSampleTable(model);
        QVERIFY(w->store()->setRecords(table));
        w->squelchList()->setCurrentText(QStringLiteral("7"));
        w->channelToneList()->setCurrentText(QStringLiteral("英文"));
        const int interval = modelInfo(model).timer1IntervalMs;

        QTest::qWait(150);
        pty.readAvailable(); // the polls so far
        QElapsedTimer clock;
        clock.start();
        w->writeAction()->trigger();
        QByteArray sent;
        QList<qint64> arrival; // time of every character
        while (sent.size() < 545 + 2 && clock.elapsed() < 2 * 17 * interval + 1000) {
            QTest::qWait(1);
            const QByteArray now = pty.readAvailable();
            for (char c : now) {
                sent += c;
                arrival += clock.elapsed();
            }
            if (!w->isTransferLocked() && sent.size() >= 545)
                break;
        }
        // A poll answered before the write may still be on its way; nothing else is.
        const qsizetype start = sent.indexOf('A');
        QVERIFY(start >= 0);
        QCOMPARE(sent.left(start), QByteArray(start, 'C'));
        sent = sent.mid(start);
        arrival = arrival.mid(start);
        table[0][ChannelNumber] = QStringLiteral("1");
        QCOMPARE(sent.left(545),
                 "A" + encodeChannelImage(table, modelInfo(model).receiveOffsetMHz,
                                          QStringLiteral("7"), QStringLiteral("英文")));
        QCOMPARE(sent.mid(1, 2), QByteArray("01"));
        QCOMPARE(sent.mid(545 - 32 + 5, 3), QByteArray("710"));
        // First block one Timer2 and one Timer1 interval after "A", then one Timer1 apart. The
        // radio takes a block only that often, so none may come early; one may come late when
        // the machine is busy (the event loop of this test reads the line too), which the
        // write benchmark measures instead. Over the whole image the pace holds.
        // Times from Write Data: "A" at once, then Timer2, then block b after b + 1 Timer1
        // intervals.
        for (int b = 0; b < imageBlockCount; ++b) {
            const qint64 at = arrival.at(1 + b * 32);
            QVERIFY2(at >= 100 + (b + 1) * interval - 15,
                     qPrintable(QStringLiteral("block %1: %2 ms").arg(b).arg(at)));
        }
        const qint64 all = arrival.at(1 + (imageBlockCount - 1) * 32) - arrival.at(1);
        QVERIFY2(qAbs(all - (imageBlockCount - 1) * interval) <=
                     (imageBlockCount - 1) * interval / 10,
                 qPrintable(QString::number(all)));
        QVERIFY(waitUnlocked(w, 1000));
        QCOMPARE(w->store()->record(0)[ChannelNumber], QStringLiteral("1"));
    }

    void portFailureEndsTheTransfer_data()
    {
        QTest::addColumn<bool>("write");
        QTest::addColumn<bool>("closedBefore");
        QTest::newRow("write, cable pulled") << true << false;
        QTest::newRow("write, port closed") << true << true;
        QTest::newRow("read, cable pulled") << false << false;
        QTest::newRow("read, port closed") << false << true;
    }

    void portFailureEndsTheTransfer()
    {
        QFETCH(bool, write);
        QFETCH(bool, closedBefore);
        PtyPair pty;
        QVERIFY(pty.isValid());
        m_main = std::make_unique<MainWindow>();
        m_main->serial()->setDevice(1, pty.slavePath());
        m_main->load();
        ModelWindow *w = m_main->showModel(Model::UM);
        const ChannelTable before = radioSampleTable(Model::UM);
        QVERIFY(w->store()->setRecords(before));
        if (closedBefore)
            m_main->serial()->close();
        MessageBoxAnswerer answerer;
        (write ? w->writeAction() : w->readAction())->trigger();
        if (!closedBefore) {
            pty.readBytes(write ? 1 + 3 * 32 : 1, 2000);
            if (!write) // a partial reply, then the cable goes
                pty.write(QByteArray(100, '0'));
            QTest::qWait(20);
            pty.closeMaster();
        }
        QTRY_COMPARE_WITH_TIMEOUT(answerer.count(), 1, 3000);
        QCOMPARE(answerer.seen().at(0).title, QStringLiteral("系统信息"));
        QCOMPARE(answerer.seen().at(0).text,
                 write ? portWriteFailedMessage : portReadFailedMessage);
        QVERIFY(waitUnlocked(w, 1000));
        QVERIFY(!m_main->serial()->isTransferring());
        if (!write) {
            for (int i = 0; i < channelCount; ++i)
                QCOMPARE(w->store()->record(i).fields, before[static_cast<std::size_t>(i)].fields);
        }
        QTest::qWait(200);
        QCOMPARE(answerer.count(), 1); // reported once
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
