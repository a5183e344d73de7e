#pragma once

#include "linkstate.h"

#include <QElapsedTimer>
#include <QObject>
#include <QSerialPort>
#include <QSet>
#include <QString>

namespace zw
{

// The program's one serial connection to the radio (MSComm1): port number 1 or 2, 9600 baud,
// 8 data bits, no parity, 1 stop bit, no flow control. Port 1 and port 2 name devices
// ("COM1"/"COM2" on Windows, "/dev/ttyS0"/"/dev/ttyS1" elsewhere unless the port dialog or the
// command line name others). Opening takes the device exclusively, so a port held by another
// program counts as in use.
class SerialConnection final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SerialConnection)

public:
    explicit SerialConnection(QObject *parent = nullptr);
    ~SerialConnection() override;

    void setDevice(int portNumber, const QString &device);
    QString device(int portNumber) const;

    void setPortNumber(int portNumber); // 1 or 2; takes effect at the next open()
    int portNumber() const { return m_portNumber; }

    bool open(); // false when the port cannot be opened; see errorString()
    void close();
    bool isOpen() const;
    QString errorString() const { return m_errorString; }
    // Why the last open() failed, as the serial port reports it.
    QSerialPort::SerialPortError openError() const { return m_openError; }

    // Received bytes reach the program as text in any case; kept as the operation the read and
    // the write select before they start.
    void setTextMode() {}

    // Queues the characters for sending (one byte each) and returns at once. False when the
    // port is closed or refuses the data.
    bool send(const QByteArray &text);
    qint64 waiting() const;
    // Characters handed to send() that the port has not passed on to the line yet.
    qint64 bytesToWrite() const;
    // Blocks until what was handed to send() has left for the line, at most `timeoutMs`; false
    // when some is still waiting or the port failed. For a tool about to exit, never for the
    // window (it would stop the event loop).
    bool flush(int timeoutMs);
    // Removes and returns the oldest received character, or an empty text when none waits.
    QString readOne();
    QByteArray readAll();
    // Hands over at once what the system has received and not yet reported (readyRead follows
    // when there is some).
    void takePending();

    // The one transfer (read or write) running on this port, if any. While one window reads or
    // writes, the other windows' ready polls stay silent and the port cannot be switched.
    void setTransferOwner(const QObject *owner);
    const QObject *transferOwner() const { return m_transferOwner; }
    bool isTransferring() const { return m_transferOwner != nullptr; }

    // The sessions whose ready poll runs on this port: while any does, the characters waiting
    // are the pollers' to read (an idle session must not drop another one's ready answer).
    void setPolling(const QObject *session, bool polling);
    bool isPolled() const { return !m_pollers.isEmpty(); }

    // The line's one state (see LinkState). The port part follows open(), close() and failures
    // by itself; the sessions report the radio's answers, the transfer's phase and its outcome.
    const LinkState &linkState() const { return m_link; }
    // A ready poll sent "C". Once a "C" has waited a whole poll interval without an answer, the
    // radio is silent since that "C" went out.
    void notePollSent();
    // The radio answered: a "C", or a reply to "B".
    void noteRadioAnswered();
    // A request sent at `since` went unanswered for its whole silence limit.
    void noteRadioSilent(const QDateTime &since);
    // A transfer begins or moves on (`done` of `total` blocks); its start clears the outcome of
    // the one before.
    void setTransferPhase(LinkState::Transfer phase, int done = 0, int total = 0);
    // The transfer ended so: the outcome with its time, and the line is idle again.
    void endTransfer(const ReadResult &result, Model model);
    void endTransfer(const WriteResult &result, Model model);

signals:
    void transferChanged(bool transferring);
    void readyRead();
    // The open port failed (cable pulled, adapter gone). The port is closed when this arrives.
    void portFailed(const QString &error);
    void openChanged(bool open);
    // Any part of linkState() changed.
    void linkStateChanged(const zw::LinkState &state);

private:
    void onError();
    // Moves what the port received into m_incoming, recording it in the serial trace as it
    // comes, so the trace shows the line as it was, not as the program read it.
    void takeArrived();
    void dropArrived();
    // The port opened, closed or failed: nothing is known of a radio on it yet.
    void setPortState(LinkState::Port port);
    // A transfer ended so: its outcome with the time, and the line is idle.
    void settle(LinkState::Outcome outcome, Model model, const ReadResult &read,
                const WriteResult &write);

    QSerialPort *m_port;
    int m_portNumber = 1;
    QString m_devices[2];
    QString m_errorString;
    QString m_tracedName;  // the device as the trace names it while open
    QByteArray m_incoming; // received characters from m_readAt on still wait to be read
    qsizetype m_readAt = 0;
    QSerialPort::SerialPortError m_openError = QSerialPort::NoError;
    const QObject *m_transferOwner = nullptr;
    QSet<const QObject *> m_pollers;
    LinkState m_link;
    QElapsedTimer m_unansweredPoll; // since the first "C" that has had no answer yet
    QDateTime m_unansweredSince;
};

} // namespace zw
