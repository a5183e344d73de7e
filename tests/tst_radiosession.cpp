// The radio session without any window: the ready poll, the read and the write over the real
// serial port on a pseudo-terminal, against the virtual radio or a bare line the test plays.
#include "codec.h"
#include "numberreader.h"
#include "ptypair.h"
#include "radiosession.h"
#include "sampletables.h"
#include "serialconnection.h"
#include "tablemerge.h"
#include "virtualradio.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QThread>
#include <QtTest>

#include <memory>

#include <termios.h>

using namespace zw;
using zw::test::emptyTable;
using zw::test::PtyPair;

Q_DECLARE_METATYPE(zw::Model)
Q_DECLARE_METATYPE(zw::WriteResult::Outcome)

namespace
{

// The radio tests' table (channel 1 numbered 17), with channel numbers that are not the
// records' positions in two more places: a write numbers by position.
ChannelTable sampleTable(Model model)
{
    ChannelTable t = zw::test::radioSampleTable(model);
    t[2][ChannelNumber] = QStringLiteral("9");
    t[15].fields = {"",    formatFrequency(sampleFrequencyMHz(modelInfo(model).band, 4)),
                    "",    "",
                    "",    "",
                    "",    "add",
                    "off", "off",
                    "H"};
    return t;
}

// The radio's memory holding `table` and the two settings, as a write would leave it.
VirtualRadio::Memory memoryOf(Model model, const ChannelTable &table, char squelch,
                              const QByteArray &tone)
{
    VirtualRadio::Memory memory;
    for (int i = 0; i < channelCount; ++i)
        memory.channels[std::size_t(i)] =
            EncodeChannelBlock(table[std::size_t(i)], modelInfo(model).receiveOffsetMHz).toLatin1();
    memory.squelch = squelch;
    memory.channelTone = tone;
    return memory;
}

} // namespace

class TestRadioSession : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        m_session.reset();
        m_serial.reset();
        m_radio.reset();
    }

    void readyWithinTwoPollTicksThenSilent()
    {
        startRadio(Model::UM);
        QSignalSpy ready(m_session.get(), &RadioSession::radioReady);
        QElapsedTimer clock;
        clock.start();
        m_session->startPolling();
        QVERIFY(ready.wait(1000));
        QVERIFY2(clock.elapsed() <= 300, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(m_session->state(), RadioSession::State::Ready);
        QVERIFY(!m_session->readyPollTimer()->isActive());
        QSignalSpy requests(m_radio.get(), &VirtualRadio::requestReceived);
        QTest::qWait(250);
        QCOMPARE(requests.count(), 0);
    }

    void noRadioPollsTenTimesASecond()
    {
        PtyPair pty;
        QVERIFY(pty.isValid());
        openSession(Model::V, pty.slavePath());
        QSignalSpy ready(m_session.get(), &RadioSession::radioReady);
        m_session->startPolling();
        const QByteArray sent = pty.readBytes(1000, 1050);
        QVERIFY2(sent.count('C') >= 8 && sent.count('C') <= 12, sent.constData());
        QCOMPARE(sent.size(), sent.count('C'));
        QCOMPARE(ready.count(), 0);
        // A "C" among other characters: those before it are dropped, it counts as ready.
        pty.write("xyC");
        QVERIFY(ready.wait(500));
    }

    // Every timer is the session's own, under its design name, precise, and at its interval.
    void timersArePreciseAndNamed_data()
    {
        QTest::addColumn<Model>("model");
        QTest::addColumn<int>("writeStep"); // the model's own (tst_modelwindows checks the four)
        for (Model model : allModels)
            QTest::newRow(qPrintable(modelInfo(model).name))
                << model << modelInfo(model).timer1IntervalMs;
    }

    void timersArePreciseAndNamed()
    {
        QFETCH(Model, model);
        QFETCH(int, writeStep);
        SerialConnection serial;
        RadioSession session(model, &serial);
        const QList<QPair<QTimer *, QString>> timers = {
            {session.writeStepTimer(), QStringLiteral("Timer1")},
            {session.writeStartTimer(), QStringLiteral("Timer2")},
            {session.readyPollTimer(), QStringLiteral("Timer3")},
            {session.readStartTimer(), QStringLiteral("Timer4")}};
        for (const auto &[timer, name] : timers) {
            QCOMPARE(timer->objectName(), name);
            QCOMPARE(timer->timerType(), Qt::PreciseTimer);
            QCOMPARE(timer->parent(), &session);
        }
        QCOMPARE(session.writeStepTimer()->interval(), writeStep);
        QCOMPARE(session.writeStartTimer()->interval(), 100);
        QCOMPARE(session.readyPollTimer()->interval(), 100);
    }

    void writeSendsTheImagePacedAndNumbered_data()
    {
        QTest::addColumn<Model>("model");
        QTest::newRow("ZW4630V") << Model::V;
        QTest::newRow("ZW4630UH") << Model::UH;
    }

    // "A", then after Timer2 and one Timer1 interval the 16 channel blocks numbered 1 to 16 by
    // position and the trailer, one Timer1 interval apart, byte for byte.
    void writeSendsTheImagePacedAndNumbered()
    {
        QFETCH(Model, model);
        PtyPair pty;
        QVERIFY(pty.isValid());
        openSession(Model(model), pty.slavePath());
        // The line as the radio takes it: 9600 baud, 8 data bits, no parity, 1 stop bit, no
        // flow control (the test's end of the pseudo-terminal sees the settings of the port's).
        termios line{};
        QCOMPARE(::tcgetattr(pty.masterFd(), &line), 0);
        QCOMPARE(cfgetospeed(&line), speed_t(B9600));
        QCOMPARE(cfgetispeed(&line), speed_t(B9600));
        QCOMPARE(line.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS), tcflag_t(CS8));
        QCOMPARE(line.c_iflag & (IXON | IXOFF), tcflag_t(0));
        const ChannelTable table = sampleTable(model);
        const int interval = modelInfo(model).timer1IntervalMs;
        // The test plays the radio on the line: it answers "C", answers "B" with its memory,
        // and notes when each character of the write arrives, counted from the moment the
        // session sends "A".
        const QByteArray reply = VirtualRadio(model).reply();
        QElapsedTimer clock;
        connect(m_session.get(), &RadioSession::progress, this, [&](int done, int total) {
            if (total == imageBlockCount && done == 0)
                clock.start();
        });
        QByteArray before; // what the session sent before "A"
        QByteArray sent;
        QList<qint64> arrival; // time of every character from "A" on
        auto playRadio = [&] {
            for (char c : pty.readAvailable()) {
                if (!sent.isEmpty() || c == 'A') {
                    sent += c;
                    arrival += clock.elapsed();
                    continue;
                }
                before += c;
                if (c == 'C')
                    pty.write("C");
                else if (c == 'B')
                    pty.write(reply);
            }
        };
        QSignalSpy ready(m_session.get(), &RadioSession::radioReady);
        m_session->startPolling();
        QTRY_VERIFY_WITH_TIMEOUT((playRadio(), ready.count() == 1), 1000);
        // The check before the write gets the radio's contents while nothing is sent yet.
        ReadResult radio;
        QByteArray sentAtCheck;
        m_session->setBeforeWrite([&](const ReadResult &contents) {
            playRadio();
            radio = contents;
            sentAtCheck = before + sent;
            return true;
        });
        QSignalSpy finished(m_session.get(), &RadioSession::writeFinished);
        QVERIFY(m_session->beginWrite(table, QStringLiteral("7"), QStringLiteral("英文")));
        QElapsedTimer limit;
        limit.start();
        while (sent.size() < 545 && limit.elapsed() < 2 * 17 * interval + 2000) {
            QTest::qWait(1);
            playRadio();
        }
        // The radio was identified with one read request before the write.
        QCOMPARE(before.count('B'), 1);
        QVERIFY(before.endsWith('B'));
        QCOMPARE(radio.outcome, ReadResult::Outcome::Read);
        QVERIFY(!sentAtCheck.contains('A'));
        QCOMPARE(radio.channelFile(model).records[1][RxTone], QStringLiteral("88.5"));
        QCOMPARE(sent.size(), 545);
        QCOMPARE(sent.left(1), QByteArray("A"));
        // By position: record 1 (信道号 "17") goes out as 01, record 3 ("9") as 03, record 16
        // (no number) as 10.
        QCOMPARE(sent.mid(1, 2), QByteArray("01"));
        QCOMPARE(sent.mid(1 + 2 * 32, 2), QByteArray("03"));
        QCOMPARE(sent.mid(1 + 15 * 32, 2), QByteArray("10"));
        ChannelTable numbered = table;
        for (int i = 0; i < channelCount; ++i)
            numbered[std::size_t(i)][ChannelNumber] = QString::number(i + 1);
        QCOMPARE(sent.mid(1), encodeChannelImage(numbered, modelInfo(model).receiveOffsetMHz,
                                                 QStringLiteral("7"), QStringLiteral("英文")));
        QCOMPARE(sent.mid(545 - 32 + 5, 3), QByteArray("710"));
        // Block b is due one Timer2 and b + 1 Timer1 intervals after "A". The radio takes a
        // block only that often, so none may come early; a busy machine may make one late,
        // which the write benchmark measures instead. Over the whole image the pace holds.
        for (int b = 0; b < imageBlockCount; ++b) {
            const qint64 at = arrival.at(1 + b * 32);
            QVERIFY2(at >= 100 + (b + 1) * interval - 15,
                     qPrintable(QStringLiteral("block %1: %2 ms").arg(b).arg(at)));
        }
        const qint64 all = arrival.at(1 + (imageBlockCount - 1) * 32) - arrival.at(1);
        QVERIFY2(qAbs(all - (imageBlockCount - 1) * interval) <=
                     (imageBlockCount - 1) * interval / 10,
                 qPrintable(QString::number(all)));
        QTRY_COMPARE(finished.count(), 1);
        QVERIFY(finished.at(0).at(0).value<WriteResult>().ok());
        QCOMPARE(m_session->state(), RadioSession::State::Polling);
        QVERIFY(!m_serial->isTransferring());
    }

    // Without the ready answer a write sends nothing at all.
    void writeWithoutReadyAnswerSendsNothing()
    {
        PtyPair pty;
        QVERIFY(pty.isValid());
        openSession(Model::V, pty.slavePath());
        m_session->startPolling();
        QTest::qWait(150); // one poll or two, unanswered
        QSignalSpy finished(m_session.get(), &RadioSession::writeFinished);
        QVERIFY(m_session->beginWrite(sampleTable(Model::V), QStringLiteral("3"),
                                      QStringLiteral("中文")));
        QVERIFY(finished.wait(1000));
        const WriteResult result = finished.at(0).at(0).value<WriteResult>();
        QCOMPARE(result.outcome, WriteResult::Outcome::NoAnswer);
        QVERIFY(!result.sentAny());
        const QByteArray sent = pty.readBytes(10000, 300);
        QCOMPARE(sent, QByteArray(sent.size(), 'C'));
        QCOMPARE(m_session->state(), RadioSession::State::Polling);
    }

    void writeOnlyIntoAnIdentifiedRadioOfItsModel_data()
    {
        QTest::addColumn<Model>("radioModel");
        QTest::addColumn<int>("stopAfterBlocks");
        QTest::addColumn<int>("garbageIn");
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("declined");
        QTest::addColumn<WriteResult::Outcome>("outcome");
        using O = WriteResult::Outcome;
        QTest::newRow("radio of another model")
            << Model::UH << -1 << -1 << QString() << false << O::OtherModel;
        QTest::newRow("no answer to the read request")
            << Model::V << 0 << -1 << QString() << false << O::NoAnswer;
        QTest::newRow("answer cut")
            << Model::V << 11 << -1 << QString() << false << O::NotIdentified;
        QTest::newRow("answer garbled")
            << Model::V << -1 << 5 << QString() << false << O::NotIdentified;
        QTest::newRow("no model of the family")
            << Model::V << -1 << -1 << zw::test::codeOfNoModel() << false << O::NotIdentified;
        QTest::newRow("check before the write declines")
            << Model::V << -1 << -1 << QString() << true << O::Declined;
    }

    // The write reads the radio once to identify it; anything but a radio of the session's own
    // model that the check accepts gets no "A" and keeps its memory.
    void writeOnlyIntoAnIdentifiedRadioOfItsModel()
    {
        QFETCH(Model, radioModel);
        QFETCH(int, stopAfterBlocks);
        QFETCH(int, garbageIn);
        QFETCH(QString, code);
        QFETCH(bool, declined);
        QFETCH(WriteResult::Outcome, outcome);
        m_radio = std::make_unique<VirtualRadio>(radioModel);
        m_radio->setPacing(false);
        QVERIFY(m_radio->open());
        openSession(Model::V, m_radio->devicePath());
        m_session->setBlockTimeout(200);
        const VirtualRadio::Memory memory = m_radio->memory();
        QSignalSpy ready(m_session.get(), &RadioSession::radioReady);
        m_session->startPolling();
        QVERIFY(ready.wait(1000));
        VirtualRadio::Faults faults;
        faults.stopAfterBlocks = stopAfterBlocks;
        faults.garbageInBlock = garbageIn;
        faults.reportedCode = code;
        m_radio->setFaults(faults);
        int checks = 0;
        m_session->setBeforeWrite([&](const ReadResult &) {
            ++checks;
            return !declined;
        });
        QString requests;
        connect(m_radio.get(), &VirtualRadio::requestReceived, this,
                [&](char c) { requests += QLatin1Char(c); });
        QSignalSpy finished(m_session.get(), &RadioSession::writeFinished);
        QVERIFY(m_session->beginWrite(sampleTable(Model::V), QStringLiteral("3"),
                                      QStringLiteral("中文")));
        QVERIFY(finished.wait(2000));
        const WriteResult result = finished.at(0).at(0).value<WriteResult>();
        QCOMPARE(result.outcome, outcome);
        QVERIFY(!result.sentAny());
        if (outcome == WriteResult::Outcome::OtherModel)
            QCOMPARE(result.radioModel, std::optional<Model>(radioModel));
        QCOMPARE(checks, declined ? 1 : 0);
        QTest::qWait(50);
        QCOMPARE(requests.count(u'B'), 1);
        QVERIFY2(!requests.contains(u'A'), qPrintable(requests));
        QCOMPARE(m_radio->memory().channels, memory.channels);
        QVERIFY(!m_serial->isTransferring());
    }

    void lateReadyAnswerDoesNotShiftTheReply_data()
    {
        QTest::addColumn<int>("readyDelayMs");
        QTest::addColumn<bool>("write");
        QTest::newRow("read, ready answer 250 ms late") << 250 << false;
        QTest::newRow("read, ready answer 600 ms late") << 600 << false;
        QTest::newRow("write, ready answer 600 ms late") << 600 << true;
    }

    // A radio slow to answer the poll sends its late "C"s after the session saw the first one;
    // the reply to "B" (read, or the identification before a write) is still read whole and
    // in place.
    void lateReadyAnswerDoesNotShiftTheReply()
    {
        QFETCH(int, readyDelayMs);
        QFETCH(bool, write);
        startRadio(Model::UM);
        VirtualRadio::Faults faults;
        faults.readyDelayMs = readyDelayMs;
        m_radio->setFaults(faults);
        QSignalSpy ready(m_session.get(), &RadioSession::radioReady);
        m_session->startPolling();
        QVERIFY(ready.wait(readyDelayMs + 1000));
        const QString channel2 = formatFrequency(modelInfo(Model::UM).band.bandLow + 5.0125);
        if (!write) {
            const ReadResult result = read();
            QCOMPARE(result.outcome, ReadResult::Outcome::Read);
            QCOMPARE(result.channels[1].rxFrequency, channel2);
            return;
        }
        ReadResult radio;
        m_session->setBeforeWrite([&](const ReadResult &contents) {
            radio = contents;
            return false; // the identification is what this test is about
        });
        QSignalSpy finished(m_session.get(), &RadioSession::writeFinished);
        QVERIFY(m_session->beginWrite(emptyTable(), QStringLiteral("3"), QStringLiteral("中文")));
        QVERIFY(finished.wait(3000));
        QCOMPARE(finished.at(0).at(0).value<WriteResult>().outcome, WriteResult::Outcome::Declined);
        QCOMPARE(radio.outcome, ReadResult::Outcome::Read);
        QCOMPARE(radio.channels[1].rxFrequency, channel2);
    }

    // A busy program can reach the end of its quiet wait after a late "C" came in but before it
    // took it: "B" waits, and the radio's identification is read whole.
    void lateAnswerWaitingAtTheQuietWaitsEnd()
    {
        PtyPair pty;
        openReadyOnBareLine(pty);
        // Declined by the check before the write: the identification was read.
        m_session->setBeforeWrite([](const ReadResult &) { return false; });
        QSignalSpy finished(m_session.get(), &RadioSession::writeFinished);
        QVERIFY(m_session->beginWrite(emptyTable(), QStringLiteral("3"), QStringLiteral("中文")));
        QTRY_COMPARE(m_session->state(), RadioSession::State::IdentifyQuietWait);
        // The late answer comes just before the quiet wait ends, and the program is busy
        // until both are due.
        QTimer lateAnswer;
        lateAnswer.setSingleShot(true);
        lateAnswer.setTimerType(Qt::PreciseTimer);
        connect(&lateAnswer, &QTimer::timeout, this, [&] { pty.write("C"); });
        lateAnswer.start(1);
        QThread::msleep(300);
        QByteArray sent;
        while (!sent.contains('B') && sent.size() < 100)
            sent += pty.readBytes(1, 1000);
        QVERIFY2(sent.endsWith('B'), sent.constData());
        pty.write(VirtualRadio(Model::V).reply());
        QVERIFY(finished.wait(3000));
        QCOMPARE(finished.at(0).at(0).value<WriteResult>().outcome, WriteResult::Outcome::Declined);
    }

    // Idle after the ready answer, the session reads what the line brings and drops it; but
    // while another session polls on the same port, the characters are left for its poll.
    void idleLineIsDroppedUnlessAnotherSessionPolls()
    {
        PtyPair pty;
        openReadyOnBareLine(pty);
        pty.write(QByteArray(4000, 'x'));
        QTRY_COMPARE_WITH_TIMEOUT(m_serial->waiting(), qint64(0), 1000);

        RadioSession other(Model::UH, m_serial.get());
        QSignalSpy otherReady(&other, &RadioSession::radioReady);
        other.startPolling();
        pty.readBytes(1, 500);
        pty.write("xyC");
        QVERIFY(otherReady.wait(500));
    }

    void readDecodesTheRadiosMemory_data()
    {
        QTest::addColumn<Model>("model");
        for (Model model : allModels)
            QTest::newRow(qPrintable(modelInfo(model).name)) << model;
    }

    // What a write leaves in the radio reads back as written, except that 信道号 is not read
    // and tones come back in their shortest form.
    void readDecodesTheRadiosMemory()
    {
        QFETCH(Model, model);
        startRadio(model);
        const ChannelTable table = sampleTable(model);
        m_radio->setMemory(memoryOf(model, table, '7', "10"));
        const ChannelTable current = emptyTable();
        const ReadResult result = read();
        QCOMPARE(result.outcome, ReadResult::Outcome::Read);
        const ChannelTable records = mergeRadioChannels(current, result.channels);
        ChannelTable expected = table;
        for (int i = 0; i < channelCount; ++i)
            expected[std::size_t(i)][ChannelNumber] = current[std::size_t(i)][ChannelNumber];
        expected[1][TxTone] = QStringLiteral("100");
        expected[3][TxTone] = QStringLiteral("67");
        for (int i = 0; i < channelCount; ++i)
            QCOMPARE(records[std::size_t(i)].fields, expected[std::size_t(i)].fields);
        QCOMPARE(result.settings.squelchLevel, QStringLiteral("7"));
        QCOMPARE(result.settings.channelTone, QStringLiteral("英文"));
        QCOMPARE(m_session->state(), RadioSession::State::Polling);
    }

    void channelFileFallsBackToNewWindowSettings_data()
    {
        QTest::addColumn<char>("squelch");
        QTest::addColumn<QByteArray>("tone");
        QTest::addColumn<QString>("squelchLevel");
        QTest::addColumn<QString>("channelTone");
        QTest::newRow("both carried") << '0' << QByteArray("01") << "0"
                                      << "键音";
        QTest::newRow("squelch not a digit") << 'A' << QByteArray("10") << "3"
                                             << "英文";
        QTest::newRow("tone code not offered") << '9' << QByteArray("11") << "9"
                                               << "中文";
        QTest::newRow("neither") << 'F' << QByteArray("FF") << "3"
                                 << "中文";
    }

    // What the command-line tool saves after a read: a trailer value the lists do not offer
    // gives the setting a new window starts with.
    void channelFileFallsBackToNewWindowSettings()
    {
        QFETCH(char, squelch);
        QFETCH(QByteArray, tone);
        QFETCH(QString, squelchLevel);
        QFETCH(QString, channelTone);
        startRadio(Model::UL);
        m_radio->setMemory(memoryOf(Model::UL, sampleTable(Model::UL), squelch, tone));
        const ReadResult result = read();
        QCOMPARE(result.outcome, ReadResult::Outcome::Read);
        const ChannelFileData file = result.channelFile(Model::UL);
        QCOMPARE(file.modelCode, QStringLiteral("3"));
        QCOMPARE(file.squelchLevel, squelchLevel);
        QCOMPARE(file.channelTone, channelTone);
        QCOMPARE(file.records[2][RxFrequency], sampleTable(Model::UL)[2][RxFrequency]);
    }

    void slowRadioWithinTheLimitIsRead_data()
    {
        QTest::addColumn<int>("replyDelayMs");
        QTest::addColumn<bool>("paced");
        QTest::addColumn<int>("blockTimeoutMs"); // 0: the session's own
        QTest::newRow("reply starts 1 s late") << 1000 << false << 0;
        // At 9600 baud the 18 blocks take 600 ms, each of them well within the limit.
        QTest::newRow("paced reply longer than one limit") << 0 << true << 250;
    }

    // A radio that starts its reply 1 s late is still read (the silence limit is per block).
    void slowRadioWithinTheLimitIsRead()
    {
        QFETCH(int, replyDelayMs);
        QFETCH(bool, paced);
        QFETCH(int, blockTimeoutMs);
        startRadio(Model::UL);
        m_radio->setPacing(paced);
        if (blockTimeoutMs > 0)
            m_session->setBlockTimeout(blockTimeoutMs);
        VirtualRadio::Faults faults;
        faults.replyDelayMs = replyDelayMs;
        m_radio->setFaults(faults);
        const ReadResult result = read();
        QCOMPARE(result.outcome, ReadResult::Outcome::Read);
        QCOMPARE(result.channels[2].rxTone, QStringLiteral("D023N"));
    }

    // While one session reads, another on the same port neither polls nor takes the reply,
    // cannot start a transfer, and polls again afterwards.
    void otherSessionsStaySilentDuringARead()
    {
        startRadio(Model::UH);
        VirtualRadio::Faults faults;
        faults.silent = true; // nobody gets ready, so every session keeps polling
        m_radio->setFaults(faults);
        RadioSession other(Model::V, m_serial.get());
        other.startPolling();
        m_session->startPolling();
        m_session->setBlockTimeout(300);
        QString requests;   // all the radio received
        QString duringRead; // what it received while the read held the line
        bool reading = false;
        connect(m_radio.get(), &VirtualRadio::requestReceived, this, [&](char c) {
            requests += QLatin1Char(c);
            if (reading)
                duringRead += QLatin1Char(c);
        });
        QTest::qWait(250);
        QVERIFY(requests.count(u'C') >= 3);
        connect(m_serial.get(), &SerialConnection::transferChanged, this,
                [&](bool transferring) { reading = transferring; });
        QSignalSpy finished(m_session.get(), &RadioSession::readFinished);
        QVERIFY(m_session->beginRead());
        QVERIFY(other.isPortBusy());
        QVERIFY(!other.beginWrite(emptyTable(), QStringLiteral("3"), QStringLiteral("中文")));
        QVERIFY(!other.beginRead());
        QVERIFY(finished.wait(3000));
        QCOMPARE(finished.at(0).at(0).value<ReadResult>().outcome, ReadResult::Outcome::NoAnswer);
        QCOMPARE(duringRead, QStringLiteral("B"));
        QVERIFY(!other.isPortBusy());
        requests.clear();
        QTest::qWait(250);
        QVERIFY(requests.count(u'C') >= 3);
    }

private:
    void openSession(Model model, const QString &device)
    {
        m_serial = std::make_unique<SerialConnection>();
        m_serial->setDevice(1, device);
        QVERIFY(m_serial->open());
        m_session = std::make_unique<RadioSession>(model, m_serial.get());
    }

    // A ZW4630V session on the line the test plays, its first poll answered: ready.
    void openReadyOnBareLine(PtyPair &pty)
    {
        QVERIFY(pty.isValid());
        openSession(Model::V, pty.slavePath());
        QSignalSpy ready(m_session.get(), &RadioSession::radioReady);
        m_session->startPolling();
        pty.readBytes(1, 500);
        pty.write("C");
        QVERIFY(ready.wait(500));
    }

    void startRadio(Model model)
    {
        m_radio = std::make_unique<VirtualRadio>(model);
        m_radio->setPacing(false);
        QVERIFY(m_radio->open());
        openSession(model, m_radio->devicePath());
    }

    ReadResult read()
    {
        QSignalSpy finished(m_session.get(), &RadioSession::readFinished);
        if (!m_session->beginRead() || !finished.wait(5000))
            return {};
        return finished.at(0).at(0).value<ReadResult>();
    }

    std::unique_ptr<VirtualRadio> m_radio;
    std::unique_ptr<SerialConnection> m_serial;
    std::unique_ptr<RadioSession> m_session;
};

QTEST_GUILESS_MAIN(TestRadioSession)
#include "tst_radiosession.moc"
