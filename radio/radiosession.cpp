#include "radiosession.h"

#include "radiosettings.h"
#include "serialconnection.h"
#include "tablemerge.h"
#include "writecheck.h"

#include <algorithm>

namespace zw
{

namespace
{

constexpr int readyPollMs = 100;
constexpr int readStartDelayMs = 100;
constexpr int readStartDesignMs = 500; // Timer4's interval until the first read sets it
constexpr int writeStartDelayMs = 100;
constexpr int defaultBlockTimeoutMs = 1500;
constexpr int pollDrainLimit = 99999;
// Late answers to the ready poll come one poll interval apart (one per "C" sent), so a gap of
// exactly one interval proves nothing: "B" waits for a little more than that.
constexpr int quietBeforeRequestMs = readyPollMs * 3 / 2;
// A line that never goes quiet this long is noise, not a radio.
constexpr int quietLimitMs = 2000;
// After a write the radio answers the ready poll again within a poll tick or two; ten times
// that is the limit before the read-back gives up.
constexpr int readyAfterWriteMs = 2000;
// The read-back's whole reply: 576 characters take 0.6 s on the line. A radio that sends them
// much slower would stretch the write far past its documented length; past this limit the
// write is "not checked".
constexpr int readBackReplyLimitMs = 2000;
// How far apart a tick and an answer's arrival may be and still be taken as the same moment when
// the wait for a quiet radio measures its silence.
constexpr int quietClockSlackMs = 10;

// Write counter values: below 92 a channel block, 93..97 the trailer, 100 and above the end.
constexpr int writeCounterStep = 6;
constexpr int lastChannelCounter = 92;
constexpr int trailerCounterEnd = 98;
constexpr int writeCounterEnd = 100;

QTimer *makeTimer(QObject *parent, const char *name, int interval, bool singleShot)
{
    auto *timer = new QTimer(parent);
    timer->setObjectName(QLatin1String(name));
    timer->setInterval(interval);
    timer->setSingleShot(singleShot);
    timer->setTimerType(Qt::PreciseTimer);
    return timer;
}

// The table the radio's channels are merged into when there is no window's table to keep fields
// from (a channel file of the radio's contents): every field empty, channels numbered by
// position.
ChannelTable blankTable()
{
    ChannelTable table;
    for (ChannelRecord &record : table) {
        for (QString &field : record.fields)
            field = QLatin1String("");
    }
    return RadioSession::numberedByPosition(table);
}

} // namespace

ChannelFileData ReadResult::channelFile(Model model) const
{
    ChannelFileData data;
    data.modelCode = modelInfo(model).code;
    data.squelchLevel =
        settings.squelchLevel.isEmpty() ? defaultSquelchLevel() : settings.squelchLevel;
    data.channelTone = settings.channelTone.isEmpty() ? defaultChannelTone() : settings.channelTone;
    data.records = mergeRadioChannels(blankTable(), channels);
    return data;
}

RadioSession::RadioSession(Model model, SerialConnection *serial, QObject *parent)
    : QObject(parent), m_model(model), m_serial(serial),
      m_writeStepTimer(makeTimer(this, "Timer1", modelInfo(model).timer1IntervalMs, false)),
      m_writeStartTimer(makeTimer(this, "Timer2", writeStartDelayMs, true)),
      m_readyPollTimer(makeTimer(this, "Timer3", readyPollMs, false)),
      m_readStartTimer(makeTimer(this, "Timer4", readStartDesignMs, true))
{
    qRegisterMetaType<ReadResult>();
    qRegisterMetaType<WriteResult>();
    m_quietWait.setSingleShot(true);
    m_quietWait.setTimerType(Qt::PreciseTimer);
    m_blockTimeout.setSingleShot(true);
    m_blockTimeout.setInterval(defaultBlockTimeoutMs);
    m_readyWait.setSingleShot(true);
    m_readBackPoll.setInterval(readyPollMs);
    m_readBackPoll.setTimerType(Qt::PreciseTimer);
    m_readBackLimit.setSingleShot(true);
    m_readBackLimit.setInterval(readyAfterWriteMs);
    m_readBackReplyLimit.setSingleShot(true);
    m_readBackReplyLimit.setInterval(readBackReplyLimitMs);
    connect(&m_readBackReplyLimit, &QTimer::timeout, this, [this] {
        // What arrived but has not been handed over yet counts: a busy program may come to this
        // limit before it comes to the characters that were in time.
        if (m_state == State::ReadBackReply && m_serial)
            m_serial->takePending();
        if (m_state == State::ReadBackReply)
            readBackNotChecked(WriteResult::NotCheckedReason::SlowReply);
    });
    connect(&m_readBackPoll, &QTimer::timeout, this, &RadioSession::readBackPollTick);
    connect(&m_readBackLimit, &QTimer::timeout, this,
            [this] { readBackNotChecked(WriteResult::NotCheckedReason::NoReadyAnswer); });
    connect(&m_readyWait, &QTimer::timeout, this, [this] { endReadyWait(false); });
    connect(&m_quietWait, &QTimer::timeout, this, &RadioSession::sendReadRequest);
    connect(&m_blockTimeout, &QTimer::timeout, this, [this] {
        replyEnded(m_reply.isEmpty() ? ReadResult::Outcome::NoAnswer : ReadResult::Outcome::Cut);
    });
    connect(m_readyPollTimer, &QTimer::timeout, this, &RadioSession::pollTick);
    connect(m_readStartTimer, &QTimer::timeout, this, &RadioSession::readTick);
    connect(m_writeStartTimer, &QTimer::timeout, this, &RadioSession::writeStartTick);
    connect(m_writeStepTimer, &QTimer::timeout, this, &RadioSession::writeStep);
    m_quietPoll.setInterval(readyPollMs);
    m_quietPoll.setTimerType(Qt::PreciseTimer);
    connect(&m_quietPoll, &QTimer::timeout, this, &RadioSession::quietPollTick);
    connect(m_serial, &SerialConnection::readyRead, this, &RadioSession::onReadyRead);
    connect(m_serial, &SerialConnection::linkStateChanged, this, &RadioSession::linkStateChanged);
    connect(m_serial, &SerialConnection::portFailed, this, &RadioSession::onPortFailed);
    connect(m_serial, &SerialConnection::openChanged, this, [this](bool open) {
        if (!open)
            onPortClosed();
    });
}

RadioSession::~RadioSession()
{
    if (!m_serial)
        return;
    m_serial->setPolling(this, false);
    if (m_serial->transferOwner() == this) {
        m_serial->setTransferOwner(nullptr);
        if (isTransferring())
            m_serial->setTransferPhase(LinkState::Transfer::Idle);
    }
}

void RadioSession::setState(State state)
{
    if (m_state == state)
        return;
    m_state = state;
    // A model window's status line and lock follow the session's own state too.
    if (m_serial)
        emit linkStateChanged(m_serial->linkState());
}

LinkState RadioSession::linkState() const
{
    return m_serial ? m_serial->linkState() : LinkState();
}

void RadioSession::setPhase(LinkState::Transfer phase, int done, int total)
{
    if (m_serial)
        m_serial->setTransferPhase(phase, done, total);
}

void RadioSession::reportProgress(int done, int total)
{
    if (isReading())
        setPhase(LinkState::Transfer::Reading, done, total);
    else if (m_state == State::Writing)
        setPhase(LinkState::Transfer::Writing, done, total);
    else if (m_state == State::ReadBackQuietWait || m_state == State::ReadBackReply)
        setPhase(LinkState::Transfer::Verifying, done, total);
    else
        setPhase(LinkState::Transfer::Identifying, done, total);
    emit progress(done, total);
}

bool RadioSession::isReading() const
{
    return m_state == State::ReadStarting || m_state == State::ReadQuietWait ||
           m_state == State::ReadReply;
}

bool RadioSession::isWriting() const
{
    return m_state == State::IdentifyStarting || m_state == State::IdentifyQuietWait ||
           m_state == State::IdentifyReply || m_state == State::Writing ||
           m_state == State::ReadBackReadyWait || m_state == State::ReadBackQuietWait ||
           m_state == State::ReadBackReply;
}

bool RadioSession::isPortBusy() const
{
    return m_serial && m_serial->isTransferring() && m_serial->transferOwner() != this;
}

ChannelTable RadioSession::numberedByPosition(ChannelTable records)
{
    for (std::size_t row = 0; row < records.size(); ++row)
        records[row][ChannelNumber] = QString::number(row + 1);
    return records;
}

void RadioSession::setPolling(bool polling)
{
    if (m_serial)
        m_serial->setPolling(this, polling);
}

void RadioSession::startPolling()
{
    if (isTransferring())
        return;
    m_writeStepTimer->stop();
    m_writeStartTimer->stop();
    setState(State::Polling);
    setPolling(true);
    m_readyPollTimer->start();
}

void RadioSession::awaitReady(int timeoutMs)
{
    if (m_state == State::Ready) {
        QMetaObject::invokeMethod(
            this, [this] { emit readyWaitEnded(true); }, Qt::QueuedConnection);
        return;
    }
    if (m_state != State::Polling)
        startPolling();
    m_readyWait.start(timeoutMs);
}

void RadioSession::endReadyWait(bool answered)
{
    m_readyWait.stop();
    emit readyWaitEnded(answered);
}

void RadioSession::pollTick()
{
    // While any session reads or writes, the line belongs to that transfer.
    if (isTransferring() || !m_serial || m_serial->isTransferring() || !m_serial->isOpen())
        return;
    // Drain what waits up to the first "C": any "C" counts as the radio's answer.
    for (int i = 0; i < pollDrainLimit; ++i) {
        const QString c = m_serial->readOne();
        if (c == u"C") {
            setPolling(false);
            m_readyPollTimer->stop();
            m_serial->noteRadioAnswered();
            setState(State::Ready);
            emit radioReady();
            if (m_readyWait.isActive())
                endReadyWait(true);
            return;
        }
        if (c.isEmpty())
            break;
    }
    if (m_serial->send(QByteArrayLiteral("C")))
        m_serial->notePollSent();
}

bool RadioSession::claimLine()
{
    if (isTransferring() || !m_serial || isPortBusy())
        return false;
    m_serial->setTransferOwner(this);
    setPolling(false);
    m_readyPollTimer->stop();
    m_portError.clear();
    return true;
}

bool RadioSession::beginRead()
{
    if (!claimLine())
        return false;
    setPhase(LinkState::Transfer::Reading, 0, replyBlockCount);
    setState(State::ReadStarting);
    m_readStartTimer->setInterval(readStartDelayMs);
    m_readStartTimer->start();
    return true;
}

void RadioSession::readTick()
{
    m_readStartTimer->stop();
    if (m_state != State::ReadStarting)
        return;
    m_readyPollTimer->stop();
    emit readStarted();
    if (!m_serial->isOpen()) {
        finishRead(decodeResult(ReadResult::Outcome::PortLost));
        return;
    }
    awaitQuietLine(State::ReadQuietWait);
}

// What waits now (late answers to the ready poll) is not part of the reply; "B" goes out once
// the line has been quiet long enough, at once when it already has. `quietWait` is the read's
// or the identification's quiet-wait state.
void RadioSession::awaitQuietLine(State quietWait)
{
    setState(quietWait);
    m_serial->readAll();
    m_reply.clear();
    m_quietFor.start();
    const qint64 quietSince = m_lineHeard.isValid() ? m_lineHeard.elapsed() : quietBeforeRequestMs;
    if (quietSince >= quietBeforeRequestMs)
        sendReadRequest();
    else
        m_quietWait.start(int(quietBeforeRequestMs - quietSince));
}

void RadioSession::sendReadRequest()
{
    const State waiting = m_state;
    if (waiting != State::ReadQuietWait && waiting != State::IdentifyQuietWait &&
        waiting != State::ReadBackQuietWait)
        return;
    // The line is quiet only if nothing waits at the port either: a busy program can come to
    // this moment before it comes to a late answer that is already in, and "B" would put that
    // answer in front of the reply. What waits is taken now and starts the quiet wait again
    // (or ends the transfer, for a line that never goes quiet).
    m_serial->takePending();
    if (m_state != waiting || m_quietWait.isActive())
        return;
    if (m_state == State::ReadQuietWait)
        setState(State::ReadReply);
    else if (m_state == State::IdentifyQuietWait)
        setState(State::IdentifyReply);
    else if (m_state == State::ReadBackQuietWait)
        setState(State::ReadBackReply);
    else
        return;
    m_serial->readAll();
    if (!m_serial->send(QByteArrayLiteral("B"))) {
        replyEnded(ReadResult::Outcome::PortLost);
        return;
    }
    m_requestSentAt = QDateTime::currentDateTime();
    m_blockTimeout.start();
    if (m_state == State::ReadBackReply)
        m_readBackReplyLimit.start();
    reportProgress(0, replyBlockCount);
}

void RadioSession::onReadyRead()
{
    if (!m_serial)
        return;
    m_lineHeard.start();
    if (m_state == State::ReadBackReadyWait) {
        if (const qsizetype answers = m_serial->readAll().count('C'); answers > 0)
            readBackReady(answers);
        return;
    }
    if (m_state == State::ReadQuietWait || m_state == State::IdentifyQuietWait ||
        m_state == State::ReadBackQuietWait) {
        m_serial->readAll();
        if (m_quietFor.elapsed() > quietLimitMs)
            replyEnded(ReadResult::Outcome::Garbled);
        else
            m_quietWait.start(quietBeforeRequestMs);
        return;
    }
    if (m_state == State::ReadReply || m_state == State::IdentifyReply ||
        m_state == State::ReadBackReply) {
        collect();
        return;
    }
    if (isAwaitingQuiet()) {
        if (!m_serial->isTransferring())
            takeQuietAnswers();
        return;
    }
    // Idle after the ready answer: nothing here wants the characters, so they are not kept
    // (unless a poll of another session is looking for its ready answer among them).
    if (m_state == State::Ready && !m_serial->isTransferring() && !m_serial->isPolled())
        m_serial->readAll();
}

void RadioSession::collect()
{
    const qsizetype before = m_reply.size();
    const qsizetype blocksBefore = before / blockLength;
    m_reply += m_serial->readAll();
    const qsizetype checked = std::min<qsizetype>(m_reply.size(), replyLength);
    const bool noise = !isBlockText(QByteArrayView(m_reply).sliced(before, checked - before));
    if (m_reply.size() >= replyLength || noise) {
        m_reply.truncate(replyLength);
        reportProgress(int(m_reply.size() / blockLength), replyBlockCount);
        replyEnded(ReadResult::Outcome::Read);
        return;
    }
    const qsizetype blocksAfter = m_reply.size() / blockLength;
    if (blocksAfter != blocksBefore) {
        m_blockTimeout.start(); // each block has its own silence limit
        reportProgress(int(blocksAfter), replyBlockCount);
    }
}

// `outcome` is Read when the reply is in (or noise ended it); the reply then decides.
ReadResult RadioSession::decodeResult(ReadResult::Outcome outcome) const
{
    ReadResult result;
    result.outcome = outcome;
    result.portError = m_portError;
    if (outcome != ReadResult::Outcome::Read)
        return result;
    const RadioReply decoded = decodeReply(m_reply, m_model);
    result.settings = decoded.settings;
    result.radioModel = decoded.radioModel;
    switch (decoded.status) {
    case RadioReply::Status::Ok:
        result.channels = decoded.channels;
        break;
    case RadioReply::Status::OtherModel:
        result.outcome = ReadResult::Outcome::OtherModel;
        break;
    case RadioReply::Status::UnknownModel:
        result.outcome = ReadResult::Outcome::UnknownModel;
        break;
    case RadioReply::Status::BadCharacter:
        result.outcome = ReadResult::Outcome::Garbled;
        break;
    case RadioReply::Status::Incomplete:
        result.outcome = ReadResult::Outcome::Cut;
        break;
    }
    return result;
}

void RadioSession::replyEnded(ReadResult::Outcome outcome)
{
    m_blockTimeout.stop();
    m_quietWait.stop();
    m_readBackReplyLimit.stop();
    // Whatever came back, the radio is there; a request that brought nothing says it is not.
    if (outcome == ReadResult::Outcome::NoAnswer)
        m_serial->noteRadioSilent(m_requestSentAt);
    else if (outcome != ReadResult::Outcome::PortLost)
        m_serial->noteRadioAnswered();
    const ReadResult result = decodeResult(outcome);
    if (isReading()) {
        finishRead(result);
    } else if (m_state == State::IdentifyQuietWait || m_state == State::IdentifyReply) {
        setState(State::Writing);
        identified(result);
    } else if (m_state == State::ReadBackQuietWait || m_state == State::ReadBackReply) {
        readBackEnded(result);
    }
}

void RadioSession::finishRead(const ReadResult &result)
{
    if (!isReading())
        return;
    // The line tells the outcome before anyone shows it.
    m_serial->endTransfer(result, m_model);
    endTransfer();
    emit readFinished(result);
    emit transferEnded();
}

bool RadioSession::beginWrite(const ChannelTable &records, const QString &squelchLevel,
                              const QString &channelTone)
{
    const bool ready = m_state == State::Ready;
    if (!claimLine())
        return false;
    m_writeBeganReady = ready && m_serial->isOpen();
    m_serial->setTextMode();
    m_image = encodeChannelImage(numberedByPosition(records), modelInfo(m_model).receiveOffsetMHz,
                                 squelchLevel, channelTone);
    setState(State::Writing);
    m_writeCounter = 0;
    m_writeRequestSent = false;
    m_identified = ReadResult();
    m_readBack = WriteResult();
    setPhase(LinkState::Transfer::Identifying);
    // The outcome is reported from the event loop, after the caller has set up its wait.
    auto endAtOnce = [this](WriteResult::Outcome outcome) {
        QMetaObject::invokeMethod(
            this, [this, outcome] { finishWrite(outcome); }, Qt::QueuedConnection);
    };
    if (!m_serial->isOpen()) {
        endAtOnce(WriteResult::Outcome::PortLost);
        return true;
    }
    if (!ready) {
        endAtOnce(WriteResult::Outcome::NoAnswer);
        return true;
    }
    setState(State::IdentifyStarting);
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_state == State::IdentifyStarting)
                awaitQuietLine(State::IdentifyQuietWait);
        },
        Qt::QueuedConnection);
    return true;
}

// The radio answered the read request that identifies it: only a radio of this model, whose
// contents the check before the write has kept, receives "A" and the image.
void RadioSession::identified(const ReadResult &radio)
{
    switch (radio.outcome) {
    case ReadResult::Outcome::Read:
        break;
    case ReadResult::Outcome::OtherModel:
        finishWrite(WriteResult::Outcome::OtherModel, radio.radioModel);
        return;
    case ReadResult::Outcome::NoAnswer:
        finishWrite(WriteResult::Outcome::NoAnswer);
        return;
    case ReadResult::Outcome::Cut:
    case ReadResult::Outcome::Garbled:
    case ReadResult::Outcome::UnknownModel:
        finishWrite(WriteResult::Outcome::NotIdentified, radio.radioModel);
        return;
    case ReadResult::Outcome::PortLost:
        finishWrite(WriteResult::Outcome::PortLost);
        return;
    }
    m_identified = radio;
    if (m_beforeWrite && !m_beforeWrite(radio)) {
        finishWrite(WriteResult::Outcome::Declined);
        return;
    }
    if (m_state != State::Writing) // the port failed while the check ran
        return;
    reportProgress(0, imageBlockCount);
    if (!m_serial->send(QByteArrayLiteral("A"))) {
        finishWrite(WriteResult::Outcome::PortLost);
        return;
    }
    m_writeRequestSent = true;
    m_writeStartTimer->start();
}

void RadioSession::writeStartTick()
{
    if (m_state != State::Writing)
        return;
    m_writeStepTimer->start();
}

void RadioSession::writeStep()
{
    if (m_state != State::Writing) {
        m_writeStepTimer->stop();
        return;
    }
    int block = -1;
    if (m_writeCounter < lastChannelCounter)
        block = m_writeCounter / writeCounterStep;
    else if (m_writeCounter > lastChannelCounter && m_writeCounter < trailerCounterEnd)
        block = channelCount;
    if (block >= 0 && !m_serial->send(m_image.mid(block * blockLength, blockLength))) {
        finishWrite(WriteResult::Outcome::PortLost);
        return;
    }
    m_writeCounter += writeCounterStep;
    reportProgress(std::min(m_writeCounter / writeCounterStep, imageBlockCount), imageBlockCount);
    if (m_writeCounter < writeCounterEnd)
        return;
    if (m_verifyWrites)
        beginReadBack();
    else
        finishWrite(WriteResult::Outcome::Written);
}

// The trailer is out. The radio answers the ready poll again once it has taken the image, and
// the first "C" goes out one poll interval later, as the poll after every transfer does.
void RadioSession::beginReadBack()
{
    m_writeStepTimer->stop();
    setState(State::ReadBackReadyWait);
    m_readBackPolls = 0;
    setPhase(LinkState::Transfer::Verifying);
    m_readBackPoll.start();
    m_readBackLimit.start();
}

void RadioSession::readBackPollTick()
{
    if (m_state != State::ReadBackReadyWait) {
        m_readBackPoll.stop();
        return;
    }
    if (const qsizetype answers = m_serial->readAll().count('C'); answers > 0) {
        readBackReady(answers);
        return;
    }
    if (!m_serial->send(QByteArrayLiteral("C"))) {
        readBackNotChecked(WriteResult::NotCheckedReason::PortLost);
        return;
    }
    m_serial->notePollSent();
    ++m_readBackPolls;
}

// The radio answered after the write. When every "C" sent since the write has had its answer,
// nothing late can come in front of the reply and "B" goes at once. Otherwise it waits for a
// quiet line as before any "B": a radio that answers a poll late would put that answer there.
void RadioSession::readBackReady(qsizetype answers)
{
    m_readBackPoll.stop();
    m_readBackLimit.stop();
    m_serial->noteRadioAnswered();
    if (m_readBackPolls == 0 || answers < m_readBackPolls) {
        awaitQuietLine(State::ReadBackQuietWait);
        return;
    }
    setState(State::ReadBackQuietWait);
    m_reply.clear();
    m_quietFor.start();
    sendReadRequest();
}

void RadioSession::abandonReadBack()
{
    if (m_state == State::ReadBackReadyWait || m_state == State::ReadBackQuietWait ||
        m_state == State::ReadBackReply)
        readBackNotChecked(WriteResult::NotCheckedReason::Interrupted);
}

// What the radio holds now, against what was sent and what it held before the write.
void RadioSession::readBackEnded(const ReadResult &radio)
{
    using Reason = WriteResult::NotCheckedReason;
    switch (radio.outcome) {
    case ReadResult::Outcome::Read:
        break;
    case ReadResult::Outcome::NoAnswer:
        readBackNotChecked(Reason::NoReply);
        return;
    case ReadResult::Outcome::Cut:
        readBackNotChecked(Reason::CutReply);
        return;
    case ReadResult::Outcome::Garbled:
    case ReadResult::Outcome::OtherModel:
    case ReadResult::Outcome::UnknownModel:
        readBackNotChecked(Reason::GarbledReply);
        return;
    case ReadResult::Outcome::PortLost:
        readBackNotChecked(Reason::PortLost);
        return;
    }
    const double offset = modelInfo(m_model).receiveOffsetMHz;
    const RadioChannels sent = imageChannels(m_image, offset);
    const TrailerSettings sentSettings = imageSettings(m_image);
    const ContentsDifference differs =
        compareContents(sent, sentSettings, radio.channels, radio.settings);
    const ContentsDifference changed =
        compareContents(m_identified.channels, m_identified.settings, sent, sentSettings);
    m_readBack.check = differs.any() ? WriteResult::Check::Differs : WriteResult::Check::Verified;
    m_readBack.differingChannels = differs.channels;
    m_readBack.settingsDiffer = differs.settings;
    m_readBack.radioChannels = radio.channels;
    m_readBack.radioSettings = radio.settings;
    m_readBack.changedChannels = changed.channels;
    m_readBack.settingsChanged = changed.settings;
    finishWrite(WriteResult::Outcome::Written);
}

// The image left the port, but what the radio holds is unknown: never reported as verified.
void RadioSession::readBackNotChecked(WriteResult::NotCheckedReason reason)
{
    m_readBack.check = WriteResult::Check::NotChecked;
    m_readBack.notCheckedReason = reason;
    finishWrite(WriteResult::Outcome::Written);
}

void RadioSession::finishWrite(WriteResult::Outcome outcome, std::optional<Model> radioModel)
{
    if (!isWriting())
        return;
    // Only a write whose image left the port has a read-back to tell of.
    WriteResult result = outcome == WriteResult::Outcome::Written ? m_readBack : WriteResult();
    result.outcome = outcome;
    result.radioModel = radioModel;
    result.portError = m_portError;
    result.writeRequestSent = m_writeRequestSent;
    m_serial->endTransfer(result, m_model);
    endTransfer();
    emit writeFinished(result);
    emit transferEnded();
}

void RadioSession::onPortFailed(const QString &error)
{
    m_portError = error;
    if (m_readyWait.isActive())
        endReadyWait(false);
    if (isReading())
        finishRead(decodeResult(ReadResult::Outcome::PortLost));
    else if (m_state == State::ReadBackReadyWait || m_state == State::ReadBackQuietWait ||
             m_state == State::ReadBackReply)
        readBackNotChecked(WriteResult::NotCheckedReason::PortLost); // the image is out
    else if (isWriting())
        finishWrite(WriteResult::Outcome::PortLost);
}

void RadioSession::onPortClosed()
{
    // A transfer learns of a failed port from portFailed; a closed port fails its next step.
    if (m_state != State::Ready)
        return;
    startPolling();
    emit radioLost();
}

void RadioSession::endTransfer()
{
    stop();
    startPolling();
}

void RadioSession::stop()
{
    for (QTimer *timer : {m_writeStepTimer, m_writeStartTimer, m_readyPollTimer, m_readStartTimer})
        timer->stop();
    m_quietWait.stop();
    m_blockTimeout.stop();
    m_readyWait.stop();
    m_readBackPoll.stop();
    m_readBackLimit.stop();
    m_readBackReplyLimit.stop();
    m_quietPoll.stop();
    m_writeCounter = 0;
    m_image.clear();
    m_reply.clear();
    const bool transferring = isTransferring();
    setPolling(false);
    if (m_serial && m_serial->transferOwner() == this) {
        m_serial->setTransferOwner(nullptr);
        // Stopped without an outcome (the window closes, the tool is done): the line is idle.
        if (transferring)
            m_serial->setTransferPhase(LinkState::Transfer::Idle);
    }
    setState(State::Idle);
}

// The wait of a fleet run for the radio to go: the state stays Polling (the session is neither
// transferring nor holding a ready answer), but the poll is this one, which goes on after an
// answer. Characters that are not "C" are dropped, as the ready poll drops them.
//
// The silence counts from the radio's last sign of life as it arrived (the end of its last
// reply, then each answer as the line brings it), not from when a tick got to it: a radio that
// goes off at once, with the next one on a second later, is then seen to go before the next
// answers. Should the next radio still answer first (a late tick on a loaded machine), the
// answer is known for the next radio's by the polls that went unanswered before it.
void RadioSession::awaitQuiet(int quietMs)
{
    if (isTransferring() || !m_serial)
        return;
    startPolling();
    m_readyPollTimer->stop();
    m_quietMs = quietMs;
    if (m_lineHeard.isValid())
        m_unansweredFor = m_lineHeard;
    else
        m_unansweredFor.start();
    m_quietPolls = 0;
    m_quietPoll.start();
}

bool RadioSession::isAwaitingQuiet() const
{
    return m_state == State::Polling && m_quietPoll.isActive();
}

// Reads what the line brought during the wait for quiet. True when the wait ended (the radio
// was silent for the time asked, and what answers now is the next radio).
bool RadioSession::takeQuietAnswers()
{
    if (!m_serial->readAll().contains('C'))
        return false;
    // The answer came after the time asked without one, and a poll went out every interval
    // meanwhile (a stalled event loop sends none, so its late reading of an answer never counts
    // as silence). The few milliseconds between the tick's clock and the line's are no reason to
    // take the next radio for the last.
    const bool wasQuiet = m_quietPolls * readyPollMs >= m_quietMs &&
                          m_unansweredFor.elapsed() + quietClockSlackMs >= m_quietMs;
    m_unansweredFor.start();
    m_quietPolls = 0;
    m_serial->noteRadioAnswered();
    if (wasQuiet)
        endQuietWait();
    return wasQuiet;
}

void RadioSession::endQuietWait()
{
    m_quietPoll.stop();
    startPolling();
    emit radioQuiet();
}

void RadioSession::quietPollTick()
{
    if (m_state != State::Polling || !m_serial) {
        m_quietPoll.stop();
        return;
    }
    if (m_serial->isTransferring()) // another window's transfer holds the line
        return;
    // An answer the system holds but has not reported yet is an answer in time.
    m_serial->takePending();
    if (takeQuietAnswers())
        return;
    if (m_unansweredFor.elapsed() >= m_quietMs) {
        endQuietWait();
        return;
    }
    if (m_serial->send(QByteArrayLiteral("C"))) {
        m_serial->notePollSent();
        ++m_quietPolls;
    }
}

} // namespace zw
