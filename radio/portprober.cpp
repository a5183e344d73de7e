#include "portprober.h"

#include "serialconnection.h"
#include "serialtrace.h"

#include <QSerialPort>
#include <QTimer>

#include <algorithm>

namespace zw
{

// One device being probed: its own port, or the program's connection, with the poll and the
// deadline timers. Deleted later, since it ends inside its port's or timer's signal.
class PortProber::Probe final : public QObject
{
public:
    Probe(int index, QObject *parent) : QObject(parent), index(index)
    {
        poll.setTimerType(Qt::PreciseTimer);
        deadline.setTimerType(Qt::PreciseTimer);
        deadline.setSingleShot(true);
    }

    // The probe's own port, its traffic recorded in the serial trace as the connection's is.
    void send(const QByteArray &characters)
    {
        const qint64 queued = port->write(characters);
        if (queued > 0)
            SerialTrace::instance().record(device, SerialTrace::Event::Sent,
                                           characters.left(queued));
    }
    QByteArray receive()
    {
        const QByteArray arrived = port->readAll();
        SerialTrace::instance().record(device, SerialTrace::Event::Received, arrived);
        return arrived;
    }
    void close()
    {
        if (!port->isOpen())
            return;
        port->close();
        SerialTrace::instance().record(device, SerialTrace::Event::Closed);
    }

    int index;
    QString device;
    QSerialPort *port = nullptr; // null when probing through the program's connection
    QTimer poll;
    QTimer deadline;
    bool done = false;
};

PortProber::PortProber(QObject *parent) : QObject(parent) {}

PortProber::~PortProber()
{
    cancel();
}

void PortProber::start(const QStringList &devices)
{
    cancel();
    m_results.clear();
    for (const QString &name : devices) {
        const QString device = name.trimmed();
        if (device.isEmpty())
            continue;
        const bool repeated = std::any_of(m_results.cbegin(), m_results.cend(),
                                          [&](const Result &r) { return r.device == device; });
        if (!repeated)
            m_results.append(Result{device, Outcome::Silent, {}});
    }
    m_running = true;
    m_next = 0;
    m_pending = 0;
    startNext();
}

void PortProber::cancel()
{
    const QList<Probe *> probes = m_probes;
    m_probes.clear();
    for (Probe *probe : probes) {
        probe->done = true;
        if (probe->port)
            probe->close();
        probe->deleteLater();
    }
    releaseConnection();
    m_running = false;
    m_pending = 0;
}

QStringList PortProber::answeringDevices() const
{
    QStringList devices;
    for (const Result &result : m_results)
        if (result.outcome == Outcome::Answered)
            devices << result.device;
    return devices;
}

void PortProber::startNext()
{
    while (m_running && m_pending < m_concurrency && m_next < m_results.size()) {
        const int index = m_next++;
        Result &result = m_results[index];
        if (m_serial && m_serial->isOpen() &&
            m_serial->device(m_serial->portNumber()) == result.device) {
            if (m_serial->isTransferring()) {
                result.outcome = Outcome::InUseByThisProgram;
                continue;
            }
            probeOwnConnection(index);
            continue;
        }
        auto *probe = new Probe(index, this);
        probe->device = result.device;
        probe->port = new QSerialPort(result.device, probe);
        QSerialPort *port = probe->port;
        port->setBaudRate(QSerialPort::Baud9600);
        port->setDataBits(QSerialPort::Data8);
        port->setParity(QSerialPort::NoParity);
        port->setStopBits(QSerialPort::OneStop);
        port->setFlowControl(QSerialPort::NoFlowControl);
        if (!port->open(QIODevice::ReadWrite)) {
            SerialTrace::instance().record(result.device, SerialTrace::Event::OpenFailed);
            result.outcome = Outcome::NotOpened;
            result.failure = diagnoseOpenFailure(result.device, port->error(), port->errorString());
            delete probe;
            continue;
        }
        SerialTrace::instance().record(result.device, SerialTrace::Event::Opened);
        port->clear(); // what waited on the line before is no answer
        m_probes << probe;
        ++m_pending;
        connect(port, &QSerialPort::readyRead, probe, [this, probe] {
            if (!probe->done && probe->receive().contains('C'))
                conclude(probe, Outcome::Answered);
        });
        connect(port, &QSerialPort::errorOccurred, probe,
                [this, probe](QSerialPort::SerialPortError e) {
                    // A port that fails after opening (no line behind it) cannot answer.
                    if (!probe->done && e != QSerialPort::NoError && e != QSerialPort::TimeoutError)
                        conclude(probe, Outcome::Silent);
                });
        connect(&probe->poll, &QTimer::timeout, probe, [probe] { probe->send("C"); });
        connect(&probe->deadline, &QTimer::timeout, probe,
                [this, probe] { conclude(probe, Outcome::Silent); });
        probe->send("C");
        probe->poll.start(m_pollIntervalMs);
        probe->deadline.start(m_timeoutMs);
    }
    if (m_running && m_pending == 0 && m_next >= m_results.size()) {
        m_running = false;
        emit finished();
    }
}

void PortProber::probeOwnConnection(int index)
{
    auto *probe = new Probe(index, this);
    m_probes << probe;
    ++m_pending;
    m_serial->setTransferOwner(this);
    m_holdsConnection = true;
    m_serial->readAll(); // what waited before the first poll is no answer to it
    // The connection's line state hears of the polls and the answer, as from a window's poll.
    connect(m_serial, &SerialConnection::readyRead, probe, [this, probe] {
        if (!probe->done && m_serial->readAll().contains('C')) {
            m_serial->noteRadioAnswered();
            conclude(probe, Outcome::Answered);
        }
    });
    connect(m_serial, &SerialConnection::portFailed, probe,
            [this, probe] { conclude(probe, Outcome::Silent); });
    auto poll = [this] {
        if (m_serial->send("C"))
            m_serial->notePollSent();
    };
    connect(&probe->poll, &QTimer::timeout, probe, poll);
    connect(&probe->deadline, &QTimer::timeout, probe,
            [this, probe] { conclude(probe, Outcome::Silent); });
    poll();
    probe->poll.start(m_pollIntervalMs);
    probe->deadline.start(m_timeoutMs);
}

void PortProber::conclude(Probe *probe, Outcome outcome)
{
    if (probe->done)
        return;
    probe->done = true;
    probe->poll.stop();
    probe->deadline.stop();
    if (probe->port)
        probe->close();
    else
        releaseConnection();
    m_results[probe->index].outcome = outcome;
    m_probes.removeOne(probe);
    probe->deleteLater();
    --m_pending;
    startNext();
}

void PortProber::releaseConnection()
{
    if (m_holdsConnection && m_serial && m_serial->transferOwner() == this)
        m_serial->setTransferOwner(nullptr);
    m_holdsConnection = false;
}

} // namespace zw
