#pragma once

#include "linkstate.h"
#include "modelinfo.h"
#include "transferresults.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <functional>
#include <optional>

namespace zw
{

class SerialConnection;

// One model's exchange with the radio over the program's serial connection: the ready poll, the
// read and the write, for a model window and for the command-line tool alike.
//
// It runs on four timers of its own, kept under their design names: Timer3 the ready poll
// (100 ms), Timer4 the read start (100 ms after Read Data), Timer2 the write start (100 ms after
// "A") and Timer1 the write step (the model's pace: 100 ms, 200 ms for the ZW4630UH). All are
// precise timers: the radio takes a block only so often, and a coarse timer may fire up to 5 %
// early. Nothing here waits or sleeps: every step is a timer tick or a readyRead.
//
// A write never goes out blind: it needs the radio's ready answer, then identifies the radio with
// the read request ("B") and writes only into a radio of the session's own model, after the
// check set with setBeforeWrite (which keeps the radio's contents) agreed. After the trailer the
// write waits for the ready answer again and reads the radio back (unless setVerifyWrites(false)),
// so that the result says whether the radio holds what was sent. Before any "B" the
// line must have been quiet for longer than one poll interval, and what came until then is
// dropped: a late answer to the ready poll would otherwise shift every block of the reply.
//
// While this session reads or writes it owns the connection's transfer; the sessions of other
// windows then neither read nor send, so a read's reply is not taken by their polls. While it is
// idle after the ready answer and no session polls, what the line brings is read and dropped.
class RadioSession final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RadioSession)

public:
    // A read goes ReadStarting, ReadQuietWait, ReadReply; a write that found the radio ready
    // identifies it first (IdentifyStarting, IdentifyQuietWait, IdentifyReply), then stays
    // Writing through the check before the write, "A" and the 17 blocks (a write that cannot
    // start is Writing until its outcome is reported), then reads the radio back
    // (ReadBackReadyWait, ReadBackQuietWait, ReadBackReply). Every transfer ends in Polling.
    enum class State {
        Idle,              // stopped
        Polling,           // one "C" per tick until the radio answers
        Ready,             // the radio answered the poll
        ReadStarting,      // a read waits for Timer4
        ReadQuietWait,     // a read's "B" waits for a quiet line
        ReadReply,         // a read collects the reply to "B"
        IdentifyStarting,  // a write's identification waits for the event loop
        IdentifyQuietWait, // the identification's "B" waits for a quiet line
        IdentifyReply,     // the identification collects the reply to "B"
        Writing,           // the check before the write, "A" and the blocks
        ReadBackReadyWait, // after the trailer: one "C" per poll interval until the radio answers
        ReadBackQuietWait, // the read-back's "B" waits for a quiet line
        ReadBackReply,     // the read-back collects the reply to "B"
    };

    RadioSession(Model model, SerialConnection *serial, QObject *parent = nullptr);
    ~RadioSession() override;

    Model model() const { return m_model; }
    State state() const { return m_state; }
    // The line's state (port, radio, transfer, last outcome), as linkStateChanged last told it.
    LinkState linkState() const;
    bool isTransferring() const { return isReading() || isWriting(); }
    bool isReading() const;
    // Also while the write identifies the radio and while it reads the radio back.
    bool isWriting() const;
    // The running write began after the radio's ready answer (only such a write sends).
    bool writeBeganReady() const { return isWriting() && m_writeBeganReady; }
    // Another session holds the port: this one can start nothing now.
    bool isPortBusy() const;

    QTimer *writeStepTimer() const { return m_writeStepTimer; }   // Timer1
    QTimer *writeStartTimer() const { return m_writeStartTimer; } // Timer2
    QTimer *readyPollTimer() const { return m_readyPollTimer; }   // Timer3
    QTimer *readStartTimer() const { return m_readStartTimer; }   // Timer4

    // How long one block of a reply may take before the read gives up.
    void setBlockTimeout(int ms) { m_blockTimeout.setInterval(ms); }

    // Whether a write reads the radio back after its trailer (the default) to compare it with
    // what was sent.
    void setVerifyWrites(bool verify) { m_verifyWrites = verify; }

    // Starts (or restarts) the ready poll: one "C" per tick until the radio answers.
    void startPolling();

    // Polls until the radio answers or `timeoutMs` passes, then emits readyWaitEnded (at once
    // when the answer was already seen). For callers that need a radio before they begin.
    void awaitReady(int timeoutMs);

    // Starts a read: the poll stops and Timer4 fires once 100 ms later, when the read takes the
    // line. readFinished reports what the radio sent. False, and nothing started, while a
    // transfer runs here or on another session.
    bool beginRead();

    // Starts the write of `records` and the two settings. The channel blocks are numbered by
    // position, 1 to 16, whatever the records' own 信道号 holds; all 17 blocks are built here,
    // so nothing changed during the write alters what is sent. Without the ready answer the
    // write ends at once as NoAnswer; otherwise the radio is identified first (see the class
    // comment). False, and nothing started, while a transfer runs here or on another session.
    bool beginWrite(const ChannelTable &records, const QString &squelchLevel,
                    const QString &channelTone);

    // Called with the radio's contents once it is identified as the session's own model, just
    // before "A" is sent; false declines the write and nothing is sent. Keeps a backup, so that
    // a write can be undone by writing that backup back.
    void setBeforeWrite(std::function<bool(const ReadResult &radio)> check)
    {
        m_beforeWrite = std::move(check);
    }

    // Stops everything without reporting (the window is closing, the tool is done).
    void stop();

    // Ends a running read-back at once: the image is out, and the read-back is only a check,
    // so the write ends Written and "not checked" (Interrupted). Nothing happens otherwise.
    void abandonReadBack();

    // For a fleet run, which writes one radio after another: keeps the ready poll going after
    // the radio's answer, one "C" per poll interval, until no answer has come for `quietMs`
    // (the radio was switched off or unplugged), then emits radioQuiet and polls on as
    // startPolling does, for the next radio. Called when the radio has just answered (after a
    // transfer). Any transfer started meanwhile, or stop(), ends the wait without radioQuiet.
    // Outside this wait the ready poll stops at the answer as always.
    void awaitQuiet(int quietMs);

    // The channel blocks a write sends for `records`: numbered 1 to 16 by position.
    static ChannelTable numberedByPosition(ChannelTable records);

signals:
    // Any part of the line's state changed, or this session's own state (ready, reading, ...).
    void linkStateChanged(const zw::LinkState &state);
    void radioReady();
    // The radio's ready answer no longer holds: the port closed or failed after it. The poll
    // starts again and runs once the port is open again.
    void radioLost();
    // The end of awaitReady: whether the radio answered (false also when the port failed).
    void readyWaitEnded(bool answered);
    // Timer4 fired: the read takes the line now.
    void readStarted();
    void progress(int blocksDone, int blocksTotal);
    void readFinished(const zw::ReadResult &result);
    void writeFinished(const zw::WriteResult &result);
    // After readFinished or writeFinished: the line is free again.
    void transferEnded();
    // The end of awaitQuiet: the radio has not answered the ready poll for the time asked.
    void radioQuiet();

private:
    void pollTick();
    void readTick();
    void awaitQuietLine(State quietWait);
    void sendReadRequest();
    void onReadyRead();
    void collect();
    void replyEnded(ReadResult::Outcome outcome);
    ReadResult decodeResult(ReadResult::Outcome outcome) const;
    void identified(const ReadResult &radio);
    void writeStartTick();
    void writeStep();
    void beginReadBack();
    void readBackPollTick();
    void readBackReady(qsizetype answers); // `answers`: the "C"s that came since the last look
    void readBackEnded(const ReadResult &radio);
    void readBackNotChecked(WriteResult::NotCheckedReason reason);
    void onPortFailed(const QString &error);
    void onPortClosed();
    void endReadyWait(bool answered);
    // awaitQuiet: its tick, what the line brings meanwhile, and its end.
    void quietPollTick();
    bool isAwaitingQuiet() const;
    bool takeQuietAnswers();
    void endQuietWait();
    void finishRead(const ReadResult &result);
    void finishWrite(WriteResult::Outcome outcome, std::optional<Model> radioModel = {});
    void endTransfer();
    bool claimLine();
    void setPolling(bool polling);
    void setState(State state);
    void setPhase(LinkState::Transfer phase, int done = 0, int total = 0);
    // Emits progress and tells the line which phase the blocks belong to.
    void reportProgress(int done, int total);

    Model m_model;
    QPointer<SerialConnection> m_serial; // the main window may delete it before this session
    QTimer *m_writeStepTimer;
    QTimer *m_writeStartTimer;
    QTimer *m_readyPollTimer;
    QTimer *m_readStartTimer;
    QTimer m_quietWait;        // "B" goes out when the line has been quiet this long (the
                               // two quiet-wait states)
    QElapsedTimer m_quietFor;  // since the quiet wait began, to bound it on a chattering line
    QElapsedTimer m_lineHeard; // since the line last brought something
    QTimer m_blockTimeout;     // silence limit per reply block
    QTimer m_readyWait;        // limit of awaitReady
    State m_state = State::Idle;
    QByteArray m_reply;
    std::function<bool(const ReadResult &)> m_beforeWrite;
    QByteArray m_image;              // the 17 blocks of the running write
    int m_writeCounter = 0;          // 0, 6, ..., 96; 102 ends the write
    bool m_writeRequestSent = false; // "A" of the current write left the port
    bool m_verifyWrites = true;
    bool m_writeBeganReady = false;
    ReadResult m_identified;     // the radio's contents before the running write
    WriteResult m_readBack;      // what the read-back after the write found
    QTimer m_readBackPoll;       // the ready poll after the write
    QTimer m_readBackLimit;      // how long the radio may take to answer it
    QTimer m_readBackReplyLimit; // how long the read-back's whole reply may take
    int m_readBackPolls = 0;     // "C"s sent after the write
    QDateTime m_requestSentAt;   // when the last "B" went out
    QString m_portError;
    // awaitQuiet: its poll, and since when the radio has not answered.
    QTimer m_quietPoll;
    QElapsedTimer m_unansweredFor;
    int m_quietMs = 0;
    int m_quietPolls = 0; // polls sent since the last answer
};

} // namespace zw

Q_DECLARE_METATYPE(zw::ReadResult)
Q_DECLARE_METATYPE(zw::WriteResult)
