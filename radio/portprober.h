#pragma once

#include "portaccess.h"
#include "serialconnection.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>

namespace zw
{

// Finds the port a radio answers on: opens each candidate device (9600 8N1), sends the ready
// poll "C" every poll interval, and counts the port as answering when a "C" comes back. A few
// ports are probed at a time; each is closed again as soon as it answered or its time ran out.
// Runs on the event loop and never waits.
//
// The device the program's own connection holds open is not opened a second time: while no
// read or write runs it is probed through that connection (which it holds as a transfer for
// that time, so no window's ready poll takes the answer); during a transfer it is reported as
// in use by this program.
class PortProber final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PortProber)

public:
    enum class Outcome {
        Answered,           // the radio answered the ready poll
        Silent,             // the port opened, nothing answered in time
        NotOpened,          // the port could not be opened (see failure)
        InUseByThisProgram, // the program's own connection is reading or writing on it
    };

    struct Result {
        QString device;
        Outcome outcome = Outcome::Silent;
        PortOpenFailure failure; // for NotOpened
    };

    explicit PortProber(QObject *parent = nullptr);
    ~PortProber() override;

    void setConnection(SerialConnection *serial) { m_serial = serial; }
    void setConcurrency(int ports) { m_concurrency = qMax(1, ports); }
    // How long one port may take to answer, and how often it is polled meanwhile.
    void setTimeout(int ms) { m_timeoutMs = qMax(1, ms); }
    void setPollInterval(int ms) { m_pollIntervalMs = qMax(1, ms); }
    int timeout() const { return m_timeoutMs; }

    // Probes each of `devices` once (blank names and repeats are left out); finished() follows
    // when all are done, also for an empty list. A probe already running is cancelled.
    void start(const QStringList &devices);
    // Closes every port being probed; finished() is not emitted.
    void cancel();
    bool isRunning() const { return m_running; }

    // In the order of the devices given to start().
    const QList<Result> &results() const { return m_results; }
    QStringList answeringDevices() const;

signals:
    void finished();

private:
    class Probe;

    void startNext();
    void probeOwnConnection(int index);
    void conclude(Probe *probe, Outcome outcome);
    void releaseConnection();

    QPointer<SerialConnection> m_serial;
    int m_concurrency = 4;
    int m_timeoutMs = 700;
    int m_pollIntervalMs = 100;
    bool m_running = false;
    int m_next = 0;    // index of the next device to probe
    int m_pending = 0; // probes still running
    bool m_holdsConnection = false;
    QList<Result> m_results;
    QList<Probe *> m_probes;
};

} // namespace zw
