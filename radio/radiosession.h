#pragma once

#include "channelfile.h"
#include "codec.h"
#include "modelinfo.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <optional>

namespace zw
{

class SerialConnection;

// What a read brought back, already decoded for the session's model.
struct ReadResult {
    enum class Outcome {
        Read,         // a radio of the session's model: records and settings hold its contents
        OtherModel,   // a radio of another model (radioModel): nothing of it is to be applied
        NoAnswer,     // nothing came back before the silence limit
        Cut,          // the reply stopped before its 576 characters
        Garbled,      // a character that is no hexadecimal digit (line noise)
        UnknownModel, // the trailer names no model of the family
        PortLost,     // the port failed or was closed (portError says why)
    };
    Outcome outcome = Outcome::NoAnswer;
    ChannelTable records; // the table given to beginRead with the 16 channel blocks decoded in
    TrailerSettings settings;
    std::optional<Model> radioModel;
    QString portError;

    bool ok() const { return outcome == Outcome::Read; }
    // The radio's contents as a channel file of `model` holds them. A setting the trailer does
    // not carry takes the value a newly opened window starts with: squelch "3", channel tone 中文.
    ChannelFileData channelFile(Model model) const;
};

struct WriteResult {
    enum class Outcome {
        Written,  // "A" and the 17 blocks left the port
        PortLost, // the port failed or was closed before the last block was out
    };
    Outcome outcome = Outcome::Written;
    QString portError;

    bool ok() const { return outcome == Outcome::Written; }
};

// One model's exchange with the radio over the program's serial connection: the ready poll, the
// read and the write, for a model window and for the command-line tool alike.
//
// It runs on four timers of its own, kept under their design names: Timer3 the ready poll
// (100 ms), Timer4 the read start (100 ms after Read Data), Timer2 the write start (100 ms after
// "A") and Timer1 the write step (the model's pace: 100 ms, 200 ms for the ZW4630UH). All are
// precise timers: the radio takes a block only so often, and a coarse timer may fire up to 5 %
// early. Nothing here waits or sleeps: every step is a timer tick or a readyRead.
//
// While this session reads or writes it owns the connection's transfer; the sessions of other
// windows then neither read nor send, so a read's reply is not taken by their polls.
class RadioSession final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RadioSession)

public:
    enum class State { Idle, Polling, Ready, Reading, Writing };

    RadioSession(Model model, SerialConnection *serial, QObject *parent = nullptr);
    ~RadioSession() override;

    Model model() const { return m_model; }
    State state() const { return m_state; }
    bool isTransferring() const { return m_state == State::Reading || m_state == State::Writing; }
    // Another session holds the port: this one can start nothing now.
    bool isPortBusy() const;

    QTimer *writeStepTimer() const { return m_writeStepTimer; }   // Timer1
    QTimer *writeStartTimer() const { return m_writeStartTimer; } // Timer2
    QTimer *readyPollTimer() const { return m_readyPollTimer; }   // Timer3
    QTimer *readStartTimer() const { return m_readStartTimer; }   // Timer4

    // How long one block of a reply may take before the read gives up.
    void setBlockTimeout(int ms) { m_blockTimeout.setInterval(ms); }

    // Starts (or restarts) the ready poll: one "C" per tick until the radio answers.
    void startPolling();

    // Polls until the radio answers or `timeoutMs` passes, then emits readyWaitEnded (at once
    // when the answer was already seen). For callers that need a radio before they begin.
    void awaitReady(int timeoutMs);

    // Starts a read: the poll stops and Timer4 fires once 100 ms later, when the read takes the
    // line. The 16 channel blocks are decoded into `current` (the fields a block does not carry
    // are kept). False, and nothing started, while a transfer runs here or on another session.
    bool beginRead(const ChannelTable &current);

    // Starts the write of `records` and the two settings. The channel blocks are numbered by
    // position, 1 to 16, whatever the records' own 信道号 holds; all 17 blocks are built here,
    // so nothing changed during the write alters what is sent. False, and nothing started,
    // while a transfer runs here or on another session.
    bool beginWrite(const ChannelTable &records, const QString &squelchLevel,
                    const QString &channelTone);

    // Stops everything without reporting (the window is closing, the tool is done).
    void stop();

    // The channel blocks a write sends for `records`: numbered 1 to 16 by position.
    static ChannelTable numberedByPosition(ChannelTable records);

signals:
    void radioReady();
    // The end of awaitReady: whether the radio answered (false also when the port failed).
    void readyWaitEnded(bool answered);
    // Timer4 fired: the read takes the line now.
    void readStarted();
    void progress(int blocksDone, int blocksTotal);
    void readFinished(const zw::ReadResult &result);
    void writeFinished(const zw::WriteResult &result);

private:
    void pollTick();
    void readTick();
    void sendReadRequest();
    void collect();
    void writeStartTick();
    void writeStep();
    void onPortFailed(const QString &error);
    void endReadyWait(bool answered);
    void finishRead(ReadResult::Outcome failure);
    void finishWrite(WriteResult::Outcome outcome);
    void endTransfer();
    bool claimLine();

    Model m_model;
    QPointer<SerialConnection> m_serial; // the main window may delete it before this session
    QTimer *m_writeStepTimer;
    QTimer *m_writeStartTimer;
    QTimer *m_readyPollTimer;
    QTimer *m_readStartTimer;
    QTimer m_requestPause; // short pause before "B" (late poll answers arrive and are dropped)
    QTimer m_blockTimeout; // silence limit per reply block
    QTimer m_readyWait;    // limit of awaitReady
    State m_state = State::Idle;
    ChannelTable m_current; // the table a read decodes into
    QByteArray m_reply;
    bool m_awaitingReply = false;
    QByteArray m_image;     // the 17 blocks of the running write
    int m_writeCounter = 0; // 0, 6, ..., 96; 102 ends the write
    QString m_portError;
};

} // namespace zw

Q_DECLARE_METATYPE(zw::ReadResult)
Q_DECLARE_METATYPE(zw::WriteResult)
