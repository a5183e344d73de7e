// Every way a read or a write can go wrong on the line, through the radio session and the real
// serial port against the virtual radio on a pseudo-terminal. After each fault: the session
// reports it once with the outcome that names it, the table it was given comes back untouched,
// the port is free and open (closed only when it failed), and the next transfer works. The
// hand-over to the radio's own model window is checked through the windows themselves.

#include "channeldocument.h"
#include "channelstore.h"
#include "codec.h"
#include "mainwindow.h"
#include "messageboxanswerer.h"
#include "messages.h"
#include "modelwindow.h"
#include "numberreader.h"
#include "okcheck.h"
#include "radiosession.h"
#include "radiotransfer.h"
#include "sampletables.h"
#include "serialconnection.h"
#include "testfolder.h"
#include "virtualradio.h"
#include "windowlayout.h"

#include <QAction>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <memory>
#include <vector>

using namespace zw;
using zw::test::fileBytes;
using zw::test::MessageBoxAnswerer;

namespace
{

constexpr int testBlockTimeoutMs = 150;

// The radio tests' table with channel 1 already numbered 1, as every write leaves it: a write
// that fails then changes nothing in the table.
ChannelTable sampleTable(Model model)
{
    ChannelTable t = zw::test::radioSampleTable(model);
    t[0][ChannelNumber] = QStringLiteral("1");
    return t;
}

enum class Fault { CutAfterCharacters, GarbageInBlock, Silence, ReportedCode, LateReply };

struct BadReply {
    QString name;
    Fault fault;
    int value;
    ReadResult::Outcome expected;
};

QList<BadReply> badReplies()
{
    using Outcome = ReadResult::Outcome;
    QList<BadReply> cases;
    for (int blocks = 0; blocks < replyBlockCount; ++blocks) {
        cases.append({QStringLiteral("cut after block %1").arg(blocks), Fault::CutAfterCharacters,
                      blocks * blockLength, blocks == 0 ? Outcome::NoAnswer : Outcome::Cut});
    }
    for (int at : {1, 31, 33, 5 * blockLength + 16, replyLength - 1}) {
        cases.append({QStringLiteral("cut after character %1").arg(at), Fault::CutAfterCharacters,
                      at, Outcome::Cut});
    }
    for (int block = 1; block <= replyBlockCount; ++block) {
        cases.append({QStringLiteral("garbage in block %1").arg(block), Fault::GarbageInBlock,
                      block, Outcome::Garbled});
    }
    cases.append({QStringLiteral("silence"), Fault::Silence, 0, Outcome::NoAnswer});
    for (const QString &code : {QStringLiteral("0"), zw::test::codeOfNoModel(), QStringLiteral("9"),
                                QStringLiteral("A"), QStringLiteral("F")}) {
        cases.append({QStringLiteral("model code %1").arg(code), Fault::ReportedCode,
                      int(code.at(0).unicode()), Outcome::UnknownModel});
    }
    // The whole reply comes after the silence limit: it is no reply to the next read either.
    cases.append({QStringLiteral("answers too late"), Fault::LateReply, 3 * testBlockTimeoutMs,
                  Outcome::NoAnswer});
    return cases;
}

// What a session still holds that it should have let go once a transfer is over. Just after
// the end it must be polling again; later it may have found the radio ready.
QStringList stillHeld(const RadioSession &session, const SerialConnection &serial, bool justEnded)
{
    QStringList held;
    if (session.isTransferring())
        held << QStringLiteral("transferring");
    if (justEnded && session.state() != RadioSession::State::Polling)
        held << QStringLiteral("not polling");
    if (justEnded && !session.readyPollTimer()->isActive())
        held << QStringLiteral("Timer3 off");
    for (QTimer *timer :
         {session.writeStepTimer(), session.writeStartTimer(), session.readStartTimer()}) {
        if (timer->isActive())
            held << timer->objectName();
    }
    if (serial.isTransferring())
        held << QStringLiteral("port still taken");
    return held;
}

// One line of the bad-reply matrix: a UH radio with a fault, its port and a session. It reads
// with the fault, then (after a late reply has had time to arrive) reads the radio behaving.
struct FaultLine {
    std::unique_ptr<VirtualRadio> radio;
    std::unique_ptr<SerialConnection> serial;
    std::unique_ptr<RadioSession> session;
    ReadResult::Outcome expected = ReadResult::Outcome::Read;
    QList<ReadResult> results;
    QStringList heldAfterFault;

    QStringList heldAtEnd() const { return stillHeld(*session, *serial, false); }

    bool start(const BadReply &c)
    {
        expected = c.expected;
        radio = std::make_unique<VirtualRadio>(Model::UH);
        radio->setPacing(false);
        if (!radio->open())
            return false;
        VirtualRadio::Faults faults;
        switch (c.fault) {
        case Fault::CutAfterCharacters:
            faults.stopAfterCharacters = c.value;
            break;
        case Fault::GarbageInBlock:
            faults.garbageInBlock = c.value;
            break;
        case Fault::Silence:
            faults.silent = true;
            break;
        case Fault::ReportedCode:
            faults.reportedCode = QString(QChar(c.value));
            break;
        case Fault::LateReply:
            faults.replyDelayMs = c.value;
            break;
        }
        radio->setFaults(faults);
        serial = std::make_unique<SerialConnection>();
        serial->setDevice(1, radio->devicePath());
        if (!serial->open())
            return false;
        session = std::make_unique<RadioSession>(Model::UH, serial.get());
        session->setBlockTimeout(testBlockTimeoutMs);
        session->startPolling();
        const int lateBy = c.fault == Fault::LateReply ? c.value : 0;
        QObject::connect(session.get(), &RadioSession::readFinished, session.get(),
                         [this, lateBy](const ReadResult &result) {
                             results.append(result);
                             if (results.size() != 1)
                                 return;
                             heldAfterFault = stillHeld(*session, *serial, true);
                             QTimer::singleShot(lateBy, session.get(), [this] {
                                 radio->setFaults({});
                                 session->beginRead();
                             });
                         });
        return session->beginRead();
    }
};

} // namespace

Q_DECLARE_METATYPE(Fault)
Q_DECLARE_METATYPE(zw::Model)

class TestFaultMatrixRadio : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = test::enterFreshFolder();
        QVERIFY(m_dir);
    }

    void cleanup()
    {
        m_main.reset();
        m_session.reset();
        m_serial.reset();
        m_radio.reset();
        m_dir.reset();
    }

    // The lines of the bad-reply matrix run side by side, each on its own radio, port and
    // session (they share nothing but the event loop); each row then checks its own line.
    void initTestCase()
    {
        const QList<BadReply> cases = badReplies();
        for (const BadReply &c : cases) {
            auto line = std::make_unique<FaultLine>();
            QVERIFY(line->start(c));
            m_lines.push_back(std::move(line));
        }
        QElapsedTimer clock;
        clock.start();
        auto done = [this] {
            return std::all_of(m_lines.begin(), m_lines.end(),
                               [](const auto &line) { return line->results.size() >= 2; });
        };
        while (!done() && clock.elapsed() < 20000)
            QTest::qWait(10);
        QTest::qWait(testBlockTimeoutMs); // a fault reported twice would show now
    }

    void cleanupTestCase() { m_lines.clear(); }

    void badReplyIsReportedAndChangesNothing_data()
    {
        QTest::addColumn<int>("line");
        const QList<BadReply> cases = badReplies();
        for (int i = 0; i < cases.size(); ++i)
            QTest::newRow(qPrintable(cases.at(i).name)) << i;
    }

    // The read reports the fault once, by the outcome that names it, brings no channels to
    // apply, and leaves the session polling and the port open and free; the next read of
    // the same radio, behaving again, goes through.
    void badReplyIsReportedAndChangesNothing()
    {
        QFETCH(int, line);
        const FaultLine &l = *m_lines.at(std::size_t(line));
        QCOMPARE(l.results.size(), 2);
        const ReadResult &faulty = l.results.at(0);
        QCOMPARE(faulty.outcome, l.expected);
        QVERIFY(!faulty.ok());
        QCOMPARE(faulty.channels, RadioChannels{});
        QVERIFY2(l.heldAfterFault.isEmpty(), qPrintable(l.heldAfterFault.join(u',')));
        const ReadResult &next = l.results.at(1);
        QCOMPARE(next.outcome, ReadResult::Outcome::Read);
        QCOMPARE(next.channels[1].rxFrequency,
                 formatFrequency(modelInfo(Model::UH).band.bandLow + 5.0125));
        QVERIFY(l.serial->isOpen());
        QVERIFY(l.heldAtEnd().isEmpty());
    }

    void lineLostDuringTransfer_data()
    {
        QTest::addColumn<bool>("write");
        QTest::addColumn<int>("sentBefore"); // read: reply characters; write: blocks
        QTest::newRow("read, before the reply") << false << 0;
        QTest::newRow("read, inside block 4") << false << 3 * blockLength + 7;
        QTest::newRow("read, before the trailer") << false << (replyBlockCount - 1) * blockLength;
        QTest::newRow("write, after block 1") << true << 1;
        QTest::newRow("write, after block 9") << true << 9;
        QTest::newRow("write, before the trailer") << true << channelCount;
    }

    // The radio's end of the line goes away (cable pulled) in the middle of a transfer.
    void lineLostDuringTransfer()
    {
        QFETCH(bool, write);
        QFETCH(int, sentBefore);
        QVERIFY(startSession(Model::UM));
        m_session->setBlockTimeout(5000); // only the lost line may end this read
        bool pulled = false;
        auto pull = [&] {
            if (pulled)
                return;
            pulled = true;
            // Deleting the radio closes its end of the pseudo-terminal.
            QMetaObject::invokeMethod(
                this, [this] { m_radio.reset(); }, Qt::QueuedConnection);
        };
        QSignalSpy readDone(m_session.get(), &RadioSession::readFinished);
        QSignalSpy writeDone(m_session.get(), &RadioSession::writeFinished);
        const ChannelTable before = sampleTable(Model::UM);
        if (write) {
            connect(m_session.get(), &RadioSession::progress, this, [&](int done, int total) {
                if (total == imageBlockCount && done >= sentBefore)
                    pull();
            });
            QVERIFY(waitReady());
            QVERIFY(m_session->beginWrite(before, QStringLiteral("5"), QStringLiteral("键音")));
        } else {
            VirtualRadio::Faults faults;
            faults.stopAfterCharacters = sentBefore;
            m_radio->setFaults(faults);
            connect(m_radio.get(), &VirtualRadio::requestReceived, this, [&](char request) {
                if (request == 'B')
                    QTimer::singleShot(30, this, pull);
            });
            QVERIFY(m_session->beginRead());
        }
        QSignalSpy &done = write ? writeDone : readDone;
        QVERIFY(done.wait(4000));
        QVERIFY(pulled);
        QTest::qWait(200); // a failing port repeats its error; it is reported once
        QCOMPARE(readDone.count() + writeDone.count(), 1);
        if (write) {
            QCOMPARE(writeDone.at(0).at(0).value<WriteResult>().outcome,
                     WriteResult::Outcome::PortLost);
        } else {
            const ReadResult result = readDone.at(0).at(0).value<ReadResult>();
            QCOMPARE(result.outcome, ReadResult::Outcome::PortLost);
            QVERIFY(!result.portError.isEmpty());
            QCOMPARE(result.channels, RadioChannels{});
        }
        verifyFree();
        QVERIFY(!m_serial->isOpen()); // released: another program may take it now

        // The cable is back: the same port opens again and a read goes through; after a cut
        // write the next one starts afresh from channel 1.
        m_radio = std::make_unique<VirtualRadio>(Model::UM);
        m_radio->setPacing(false);
        QVERIFY(m_radio->open());
        m_serial->setDevice(1, m_radio->devicePath());
        QVERIFY(m_serial->open());
        verifyReadSucceeds();
        if (!write)
            return;
        QVERIFY(waitReady());
        QList<int> imageBlocks; // progress of the image after the identification
        connect(m_session.get(), &RadioSession::progress, this, [&](int done, int total) {
            if (total == imageBlockCount)
                imageBlocks.append(done);
        });
        QVERIFY(m_session->beginWrite(before, QStringLiteral("5"), QStringLiteral("键音")));
        QTRY_VERIFY_WITH_TIMEOUT(imageBlocks.size() >= 2, 3000);
        QCOMPARE(imageBlocks.mid(0, 2), (QList<int>{0, 1}));
        m_session->stop();
    }

    void radioOfAnotherModelLeavesThisTable_data()
    {
        QTest::addColumn<Model>("radioModel");
        for (Model model : allModels)
            if (model != Model::UH) // the window's own
                QTest::newRow(qPrintable(modelInfo(model).name)) << model;
    }

    // The window gives way to the radio's own window; nothing of the reply lands anywhere.
    void radioOfAnotherModelLeavesThisTable()
    {
        QFETCH(Model, radioModel);
        m_radio = std::make_unique<VirtualRadio>(Model::UH);
        m_radio->setPacing(false);
        QVERIFY(m_radio->open());
        m_main = std::make_unique<MainWindow>();
        m_main->serial()->setDevice(1, m_radio->devicePath());
        m_main->load();
        ModelWindow *w = m_main->showModel(Model::UH);
        QVERIFY(w->document()->replace(sampleTable(Model::UH), std::nullopt));
        const QString path = w->document()->path();
        const ChannelTable records = w->document()->records();
        const QByteArray database = fileBytes(path);
        VirtualRadio::Faults faults;
        faults.reportedCode = modelInfo(radioModel).code;
        m_radio->setFaults(faults);
        QPointer<ModelWindow> guard(w);
        MessageBoxAnswerer answerer;
        w->readAction()->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(guard.isNull(), 3000);
        QCOMPARE(answerer.count(), 1);
        QCOMPARE(answerer.seen().at(0).title, otherRadioTitle);
        QCOMPARE(answerer.seen().at(0).text,
                 otherRadioMessage(modelWindowLayout(Model::UH), radioModel));
        QCOMPARE(fileBytes(path), database);
        ChannelStore reopened;
        ZW_VERIFY_OK(reopened.open(path));
        QCOMPARE(reopened.records(), records);
        reopened.close();

        ModelWindow *other = m_main->modelWindow(radioModel);
        QVERIFY(other);
        QVERIFY(!m_main->serial()->isTransferring());
        QTRY_VERIFY(!other->isTransferLocked());
        QVERIFY(other->readAction()->isEnabled());
        QSignalSpy replaced(other->document(), &ChannelDocument::replaced);
        other->readAction()->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(!other->isTransferLocked(), 3000);
        QCOMPARE(answerer.count(), 1);
        QCOMPARE(replaced.count(), 1);
        QCOMPARE(other->document()->record(2)[RxTone], QStringLiteral("D023N"));
    }

private:
    bool startSession(Model model)
    {
        m_radio = std::make_unique<VirtualRadio>(model);
        m_radio->setPacing(false);
        if (!m_radio->open())
            return false;
        m_serial = std::make_unique<SerialConnection>();
        m_serial->setDevice(1, m_radio->devicePath());
        if (!m_serial->open())
            return false;
        m_session = std::make_unique<RadioSession>(model, m_serial.get());
        m_session->setBlockTimeout(testBlockTimeoutMs);
        m_session->startPolling();
        return true;
    }

    bool waitReady()
    {
        if (m_session->state() == RadioSession::State::Ready)
            return true;
        QSignalSpy ready(m_session.get(), &RadioSession::radioReady);
        m_session->startPolling();
        return ready.wait(1000);
    }

    // The transfer is over: the session polls again and holds the port no longer.
    void verifyFree()
    {
        QVERIFY(!m_session->isTransferring());
        QCOMPARE(m_session->state(), RadioSession::State::Polling);
        QVERIFY(m_session->readyPollTimer()->isActive());
        QVERIFY(!m_serial->isTransferring());
        for (QTimer *timer : {m_session->writeStepTimer(), m_session->writeStartTimer(),
                              m_session->readStartTimer()})
            QVERIFY2(!timer->isActive(), qPrintable(timer->objectName()));
    }

    // A read of the radio's own memory now goes through, with channel 2 of its default memory.
    void verifyReadSucceeds()
    {
        QSignalSpy finished(m_session.get(), &RadioSession::readFinished);
        QVERIFY(m_session->beginRead());
        QVERIFY(finished.wait(3000));
        const ReadResult result = finished.at(0).at(0).value<ReadResult>();
        QCOMPARE(result.outcome, ReadResult::Outcome::Read);
        QCOMPARE(result.channels[1].rxFrequency,
                 formatFrequency(sampleFrequencyMHz(modelInfo(m_session->model()).band, 5.0125)));
        verifyFree();
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<VirtualRadio> m_radio;
    std::unique_ptr<SerialConnection> m_serial;
    std::unique_ptr<RadioSession> m_session;
    std::unique_ptr<MainWindow> m_main;
    std::vector<std::unique_ptr<FaultLine>> m_lines;
};

QTEST_MAIN(TestFaultMatrixRadio)
#include "tst_faultmatrix_radio.moc"
