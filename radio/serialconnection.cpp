#include "serialconnection.h"

#include "portdevices.h"
#include "serialtrace.h"

#include <QElapsedTimer>

#include <algorithm>

namespace zw
{

namespace
{

// How long a close waits for what is still queued to leave: a whole image takes 0.6 s.
constexpr int closeFlushMs = 1000;

} // namespace

SerialConnection::SerialConnection(QObject *parent) : QObject(parent), m_port(new QSerialPort(this))
{
    setObjectName(QStringLiteral("MSComm1"));
    m_devices[0] = PortDevices::defaultDevice(1);
    m_devices[1] = PortDevices::defaultDevice(2);
    connect(m_port, &QSerialPort::readyRead, this, [this] {
        takeArrived();
        emit readyRead();
    });
    connect(m_port, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError e) {
        if (e != QSerialPort::NoError && e != QSerialPort::TimeoutError)
            onError();
    });
}

SerialConnection::~SerialConnection() = default;

void SerialConnection::setDevice(int portNumber, const QString &device)
{
    if (portNumber == 1 || portNumber == 2)
        m_devices[portNumber - 1] = device;
}

QString SerialConnection::device(int portNumber) const
{
    return (portNumber == 1 || portNumber == 2) ? m_devices[portNumber - 1] : QString();
}

void SerialConnection::setPortNumber(int portNumber)
{
    if (portNumber == 1 || portNumber == 2)
        m_portNumber = portNumber;
}

bool SerialConnection::open()
{
    if (m_port->isOpen())
        return true;
    m_port->setPortName(device(m_portNumber));
    m_port->setBaudRate(QSerialPort::Baud9600);
    m_port->setDataBits(QSerialPort::Data8);
    m_port->setParity(QSerialPort::NoParity);
    m_port->setStopBits(QSerialPort::OneStop);
    m_port->setFlowControl(QSerialPort::NoFlowControl);
    if (!m_port->open(QIODevice::ReadWrite)) {
        SerialTrace::instance().record(device(m_portNumber), SerialTrace::Event::OpenFailed);
        m_errorString = m_port->errorString();
        m_openError = m_port->error();
        m_port->clearError();
        setPortState(LinkState::Port::Failed);
        return false;
    }
    m_errorString.clear();
    m_openError = QSerialPort::NoError;
    m_tracedName = device(m_portNumber);
    SerialTrace::instance().record(m_tracedName, SerialTrace::Event::Opened);
    setPortState(LinkState::Port::Open);
    emit openChanged(true);
    return true;
}

void SerialConnection::close()
{
    if (!m_port->isOpen())
        return;
    // What was handed to send() goes to the line first: a write's last block may still wait in
    // the port's buffer when the program closes right after it (a read-back cut short on exit).
    flush(closeFlushMs);
    takeArrived(); // what arrived before the close was on the line too
    m_port->close();
    m_port->clearError();
    dropArrived();
    SerialTrace::instance().record(m_tracedName, SerialTrace::Event::Closed);
    setPortState(LinkState::Port::Closed);
    emit openChanged(false);
}

bool SerialConnection::isOpen() const
{
    return m_port->isOpen();
}

bool SerialConnection::send(const QByteArray &text)
{
    if (!m_port->isOpen())
        return false;
    const qint64 queued = m_port->write(text);
    if (queued > 0)
        SerialTrace::instance().record(m_tracedName, SerialTrace::Event::Sent, text.left(queued));
    return queued == text.size();
}

qint64 SerialConnection::waiting() const
{
    return m_port->isOpen() ? m_incoming.size() - m_readAt + m_port->bytesAvailable() : 0;
}

qint64 SerialConnection::bytesToWrite() const
{
    return m_port->isOpen() ? m_port->bytesToWrite() : 0;
}

bool SerialConnection::flush(int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (m_port->isOpen() && m_port->bytesToWrite() > 0) {
        const qint64 left = timeoutMs - clock.elapsed();
        if (left <= 0 || !m_port->waitForBytesWritten(int(left)))
            break;
    }
    return m_port->isOpen() && m_port->bytesToWrite() == 0;
}

QString SerialConnection::readOne()
{
    if (!m_port->isOpen())
        return QString();
    takeArrived();
    if (m_readAt >= m_incoming.size())
        return QString();
    const char c = m_incoming.at(m_readAt++);
    if (m_readAt == m_incoming.size())
        dropArrived();
    return QString(QLatin1Char(c));
}

QByteArray SerialConnection::readAll()
{
    if (!m_port->isOpen())
        return QByteArray();
    takeArrived();
    const QByteArray all = m_incoming.mid(m_readAt);
    dropArrived();
    return all;
}

void SerialConnection::takePending()
{
    if (m_port->isOpen())
        m_port->waitForReadyRead(0);
}

void SerialConnection::takeArrived()
{
    if (!m_port->isOpen() || m_port->bytesAvailable() == 0)
        return;
    // What is there, in a buffer of its size: read(n) and readAll() hand over the port's own
    // buffer when it holds just that, 32 KiB for the one character a paced line brings at a
    // time, and the trace would keep that buffer alive with each of its lines.
    QByteArray arrived(m_port->bytesAvailable(), Qt::Uninitialized);
    arrived.truncate(std::max<qint64>(m_port->read(arrived.data(), arrived.size()), 0));
    SerialTrace::instance().record(m_tracedName, SerialTrace::Event::Received, arrived);
    // Characters read one at a time leave the front of the buffer; it is moved down only now
    // and then, so that a long reply costs no copy per character.
    if (m_readAt > 4096) {
        m_incoming.remove(0, m_readAt);
        m_readAt = 0;
    }
    m_incoming += arrived;
}

void SerialConnection::dropArrived()
{
    m_incoming.clear();
    m_readAt = 0;
}

void SerialConnection::setTransferOwner(const QObject *owner)
{
    if (m_transferOwner == owner)
        return;
    m_transferOwner = owner;
    emit transferChanged(owner != nullptr);
}

void SerialConnection::setPolling(const QObject *session, bool polling)
{
    if (polling)
        m_pollers.insert(session);
    else
        m_pollers.remove(session);
}

void SerialConnection::setPortState(LinkState::Port port)
{
    m_link.port = port;
    m_link.device = device(m_portNumber);
    m_link.portError = port == LinkState::Port::Failed ? m_errorString : QString();
    m_link.openError = port == LinkState::Port::Failed ? m_openError : QSerialPort::NoError;
    m_link.radio = LinkState::Radio::NotPolled;
    m_link.radioSince = QDateTime();
    m_unansweredPoll.invalidate();
    emit linkStateChanged(m_link);
}

void SerialConnection::notePollSent()
{
    // Late answers and several windows' polls make a single unanswered "C" prove nothing; one
    // that stayed unanswered for a poll interval (the next tick found nothing) does.
    constexpr qint64 unansweredAfterMs = 90;
    if (!m_unansweredPoll.isValid()) {
        m_unansweredPoll.start();
        m_unansweredSince = QDateTime::currentDateTime();
        return;
    }
    if (m_link.radio == LinkState::Radio::Silent || m_unansweredPoll.elapsed() < unansweredAfterMs)
        return;
    m_link.radio = LinkState::Radio::Silent;
    m_link.radioSince = m_unansweredSince;
    emit linkStateChanged(m_link);
}

void SerialConnection::noteRadioAnswered()
{
    m_unansweredPoll.invalidate();
    m_link.radio = LinkState::Radio::Answered;
    m_link.radioSince = QDateTime::currentDateTime();
    emit linkStateChanged(m_link);
}

void SerialConnection::noteRadioSilent(const QDateTime &since)
{
    if (m_link.radio == LinkState::Radio::Silent)
        return;
    m_link.radio = LinkState::Radio::Silent;
    m_link.radioSince = m_unansweredPoll.isValid() ? std::min(m_unansweredSince, since) : since;
    emit linkStateChanged(m_link);
}

void SerialConnection::setTransferPhase(LinkState::Transfer phase, int done, int total)
{
    if (m_link.transfer == phase && m_link.blocksDone == done && m_link.blocksTotal == total)
        return;
    if (m_link.transfer == LinkState::Transfer::Idle) {
        m_link.outcome = LinkState::Outcome::None;
        m_link.outcomeTime = QDateTime();
        m_link.read = ReadResult();
        m_link.write = WriteResult();
    }
    m_link.transfer = phase;
    m_link.blocksDone = done;
    m_link.blocksTotal = total;
    emit linkStateChanged(m_link);
}

void SerialConnection::endTransfer(const ReadResult &result, Model model)
{
    ReadResult told = result;
    told.channels = RadioChannels(); // the table has them; the state tells only how it ended
    settle(LinkState::outcomeOf(result), model, told, WriteResult());
}

void SerialConnection::endTransfer(const WriteResult &result, Model model)
{
    WriteResult told = result;
    told.radioChannels = RadioChannels();
    settle(LinkState::outcomeOf(result), model, ReadResult(), told);
}

void SerialConnection::settle(LinkState::Outcome outcome, Model model, const ReadResult &read,
                              const WriteResult &write)
{
    m_link.outcome = outcome;
    m_link.outcomeModel = model;
    m_link.outcomeTime = QDateTime::currentDateTime();
    m_link.read = read;
    m_link.write = write;
    m_link.transfer = LinkState::Transfer::Idle;
    m_link.blocksDone = m_link.blocksTotal = 0;
    emit linkStateChanged(m_link);
}

void SerialConnection::onError()
{
    // A pulled adapter makes the port repeat its error in a tight loop and stay "open":
    // report once and close.
    if (!m_port->isOpen())
        return;
    m_errorString = m_port->errorString();
    m_port->close();
    m_port->clearError();
    dropArrived();
    SerialTrace::instance().record(m_tracedName, SerialTrace::Event::Lost);
    m_openError = QSerialPort::NoError;
    setPortState(LinkState::Port::Failed);
    emit openChanged(false);
    emit portFailed(m_errorString);
}

} // namespace zw
