#include "radiolink.h"

#include "serialconnection.h"

#include <algorithm>

namespace zw
{

namespace
{

constexpr int readStartDelayMs = 100;
constexpr int requestPauseMs = 5;
constexpr int defaultBlockTimeoutMs = 1500;
constexpr int pollDrainLimit = 99999;

// Write counter values: below 92 a channel block, 93..97 the trailer, 100 and above the end.
constexpr int writeCounterStep = 6;
constexpr int lastChannelCounter = 92;
constexpr int trailerCounterEnd = 98;
constexpr int writeCounterEnd = 100;

} // namespace

RadioLink::RadioLink(Model model, SerialConnection *serial, const Timers &timers, QObject *parent)
    : QObject(parent), m_model(model), m_serial(serial), m_timers(timers)
{
    m_requestPause.setSingleShot(true);
    m_requestPause.setInterval(requestPauseMs);
    m_blockTimeout.setSingleShot(true);
    m_blockTimeout.setInterval(defaultBlockTimeoutMs);
    connect(&m_requestPause, &QTimer::timeout, this, &RadioLink::sendReadRequest);
    connect(&m_blockTimeout, &QTimer::timeout, this, [this] { failRead(Outcome::NoData); });
    connect(m_timers.timer3, &QTimer::timeout, this, &RadioLink::pollTick);
    connect(m_timers.timer4, &QTimer::timeout, this, &RadioLink::readTick);
    connect(m_timers.timer2, &QTimer::timeout, this, &RadioLink::writeStartTick);
    connect(m_timers.timer1, &QTimer::timeout, this, &RadioLink::writeStep);
    connect(m_serial, &SerialConnection::readyRead, this, &RadioLink::collect);
    connect(m_serial, &SerialConnection::portFailed, this, &RadioLink::onPortFailed);
}

RadioLink::~RadioLink()
{
    if (m_serial && m_serial->transferOwner() == this)
        m_serial->setTransferOwner(nullptr);
}

bool RadioLink::otherWindowTransferring() const
{
    return m_serial->isTransferring() && m_serial->transferOwner() != this;
}

void RadioLink::pollTick()
{
    // While any window reads or writes, the line belongs to that transfer.
    if (isTransferring() || m_serial->isTransferring() || !m_serial->isOpen())
        return;
    // Drain what waits up to the first "C": any "C" counts as the radio's answer.
    for (int i = 0; i < pollDrainLimit; ++i) {
        const QString c = m_serial->readOne();
        if (c == u"C") {
            m_state = State::Ready;
            m_timers.timer3->stop();
            emit radioReady();
            return;
        }
        if (c.isEmpty())
            break;
    }
    m_serial->send(QByteArrayLiteral("C"));
}

bool RadioLink::beginRead()
{
    if (isTransferring() || otherWindowTransferring())
        return false;
    m_state = State::Reading;
    m_serial->setTransferOwner(this);
    m_timers.timer3->stop();
    m_timers.timer4->setInterval(readStartDelayMs);
    m_timers.timer4->start();
    return true;
}

void RadioLink::readTick()
{
    m_timers.timer4->stop();
    if (m_state != State::Reading || m_awaitingReply || m_requestPause.isActive())
        return;
    m_timers.timer3->stop();
    emit readStarted();
    if (!m_serial->isOpen()) {
        failRead(Outcome::PortUnavailable);
        return;
    }
    m_serial->readAll(); // late answers to the ready poll are not part of the reply
    m_reply.clear();
    m_requestPause.start();
}

void RadioLink::sendReadRequest()
{
    if (m_state != State::Reading)
        return;
    m_serial->readAll();
    if (!m_serial->send(QByteArrayLiteral("B"))) {
        failRead(Outcome::PortUnavailable);
        return;
    }
    m_awaitingReply = true;
    m_blockTimeout.start();
    emit progress(0, replyBlockCount);
}

void RadioLink::collect()
{
    if (m_state != State::Reading || !m_awaitingReply)
        return;
    const qsizetype before = m_reply.size();
    const qsizetype blocksBefore = before / blockLength;
    m_reply += m_serial->readAll();
    const qsizetype checked = std::min<qsizetype>(m_reply.size(), replyLength);
    const bool noise = !isBlockText(QByteArrayView(m_reply).sliced(before, checked - before));
    if (m_reply.size() >= replyLength || noise) {
        m_reply.truncate(replyLength);
        const QByteArray reply = m_reply;
        emit progress(int(m_reply.size() / blockLength), replyBlockCount);
        endTransfer();
        emit readFinished(Outcome::Finished, reply);
        return;
    }
    const qsizetype blocksAfter = m_reply.size() / blockLength;
    if (blocksAfter != blocksBefore) {
        m_blockTimeout.start(); // each block has its own silence limit
        emit progress(int(blocksAfter), replyBlockCount);
    }
}

void RadioLink::failRead(Outcome outcome)
{
    if (m_state != State::Reading)
        return;
    endTransfer();
    emit readFinished(outcome, QByteArray());
}

bool RadioLink::beginWrite(const ChannelTable &records, const QString &squelchLevel,
                           const QString &channelTone)
{
    if (isTransferring() || otherWindowTransferring())
        return false;
    m_serial->setTextMode();
    m_timers.timer3->stop();
    m_image =
        encodeChannelImage(records, modelInfo(m_model).receiveOffsetMHz, squelchLevel, channelTone);
    m_state = State::Writing;
    m_serial->setTransferOwner(this);
    m_writeCounter = 0;
    emit progress(0, imageBlockCount);
    if (!m_serial->send(QByteArrayLiteral("A"))) {
        failWrite();
        return true;
    }
    m_timers.timer2->start();
    return true;
}

void RadioLink::writeStartTick()
{
    if (m_state != State::Writing) {
        m_timers.timer2->stop();
        return;
    }
    m_timers.timer1->start();
    m_timers.timer2->stop();
}

void RadioLink::writeStep()
{
    if (m_state != State::Writing) {
        m_timers.timer1->stop();
        return;
    }
    int block = -1;
    if (m_writeCounter < lastChannelCounter)
        block = m_writeCounter / writeCounterStep;
    else if (m_writeCounter > lastChannelCounter && m_writeCounter < trailerCounterEnd)
        block = channelCount;
    if (block >= 0 && !m_serial->send(m_image.mid(block * blockLength, blockLength))) {
        failWrite();
        return;
    }
    m_writeCounter += writeCounterStep;
    emit progress(std::min(m_writeCounter / writeCounterStep, imageBlockCount), imageBlockCount);
    if (m_writeCounter >= writeCounterEnd) {
        endTransfer();
        emit writeFinished(Outcome::Finished);
    }
}

void RadioLink::failWrite()
{
    if (m_state != State::Writing)
        return;
    endTransfer();
    emit writeFinished(Outcome::PortUnavailable);
}

void RadioLink::onPortFailed()
{
    if (m_state == State::Reading)
        failRead(Outcome::PortUnavailable);
    else if (m_state == State::Writing)
        failWrite();
}

void RadioLink::endTransfer()
{
    stop();
    m_timers.timer3->start();
}

void RadioLink::stop()
{
    for (QTimer *timer : {m_timers.timer1, m_timers.timer2, m_timers.timer4})
        timer->stop();
    m_requestPause.stop();
    m_blockTimeout.stop();
    m_awaitingReply = false;
    m_writeCounter = 0;
    m_image.clear();
    m_state = State::Polling;
    if (m_serial->transferOwner() == this)
        m_serial->setTransferOwner(nullptr);
}

} // namespace zw
