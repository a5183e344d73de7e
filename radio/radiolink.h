#pragma once

#include "codec.h"
#include "modelinfo.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QTimer>

namespace zw
{

class SerialConnection;

// The radio link of one model window over the program's one serial connection: the ready
// poll, the read and the write. It runs on the window's four timers (Timer1 write step, Timer2
// write start delay, Timer3 ready poll, Timer4 read start) and never waits: every step is a
// timer tick or a readyRead.
//
// While this link reads or writes it owns the connection's transfer; the links of other
// windows then neither read nor send, so a read's reply is not taken by their polls.
class RadioLink final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RadioLink)

public:
    enum class State { Polling, Ready, Reading, Writing };

    enum class Outcome {
        Finished,        // read: 576 characters arrived, or noise (decode them); write: all sent
        NoData,          // read: a block did not complete in time
        PortUnavailable, // the port is closed or failed during the transfer
    };

    struct Timers {
        QTimer *timer1 = nullptr;
        QTimer *timer2 = nullptr;
        QTimer *timer3 = nullptr;
        QTimer *timer4 = nullptr;
    };

    RadioLink(Model model, SerialConnection *serial, const Timers &timers,
              QObject *parent = nullptr);
    ~RadioLink() override;

    State state() const { return m_state; }
    bool isTransferring() const { return m_state == State::Reading || m_state == State::Writing; }
    // Another window's link holds the port: this one can start nothing now.
    bool isPortBusy() const { return otherWindowTransferring(); }

    // How long a block of the reply may take before the read gives up.
    void setBlockTimeout(int ms) { m_blockTimeout.setInterval(ms); }

    // Starts the read: the poll stops and Timer4 fires once after 100 ms, when the read sends
    // "B". The reply is handed over by readFinished; the caller decodes and applies it.
    // False (and nothing started) while another window's link holds the port.
    bool beginRead();

    // Starts the write of `records` (16 channel blocks) and the two settings (trailer block).
    // All 17 blocks are built here, so nothing changed during the write alters what is sent.
    // False (and nothing started) while another window's link holds the port.
    bool beginWrite(const ChannelTable &records, const QString &squelchLevel,
                    const QString &channelTone);

    // Stops whatever runs without reporting (the window is closing).
    void stop();

signals:
    void radioReady();
    // Timer4 fired: the read takes the line now.
    void readStarted();
    void progress(int blocksDone, int blocksTotal);
    // `reply` is only meaningful with Outcome::Finished.
    void readFinished(zw::RadioLink::Outcome outcome, const QByteArray &reply);
    void writeFinished(zw::RadioLink::Outcome outcome);

private:
    void pollTick();
    void readTick();
    void sendReadRequest();
    void collect();
    void writeStartTick();
    void writeStep();
    void onPortFailed();
    void endTransfer();
    void failRead(Outcome outcome);
    void failWrite();
    bool otherWindowTransferring() const;

    Model m_model;
    QPointer<SerialConnection> m_serial; // the main window may delete it before this link
    Timers m_timers;
    State m_state = State::Polling;
    QTimer m_requestPause; // short pause before "B" (late poll answers arrive and are dropped)
    QTimer m_blockTimeout; // silence limit per reply block
    QByteArray m_reply;
    bool m_awaitingReply = false;
    QByteArray m_image;     // the 17 blocks of the running write
    int m_writeCounter = 0; // 0, 6, ..., 96; 102 ends the write
};

} // namespace zw
