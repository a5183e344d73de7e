#pragma once

#include "channelfile.h"
#include "fleetlog.h"
#include "radiosession.h"
#include "result.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>

namespace zw
{

class SerialConnection;

// How a fleet run ended, and what its front end needs to say so.
struct FleetEnd {
    enum class Reason {
        Stopped,      // stop() or a termination signal
        CountReached, // the radios asked for are done
        PortLost,     // the port failed (portError)
        BackupFailed, // the contents of radio `radio` could not be kept (failure): it was not
                      // written, and the run does not go on without its safety net
        LogFailed,    // the log could not be written (failure)
    };
    Reason reason = Reason::Stopped;
    int radio = 0; // the last radio the run dealt with (0: none)
    Failure failure;
    QString portError;
};

// The radios a run has done, by outcome.
struct FleetCounts {
    int verified = 0;
    int differs = 0;
    int notChecked = 0;
    int otherModel = 0;
    int notWritten = 0;

    int total() const { return verified + differs + notChecked + otherModel + notWritten; }
    void add(FleetOutcome outcome);
};

// Writes one plan (channels and the two settings) into one radio after another over one radio
// session, logging each. For each radio exactly what Write Data does: the ready answer, the
// identification (a radio of another model is refused and left untouched), its old contents kept
// in the backups folder, the write, the read-back and the comparison. Then it waits until that
// radio goes quiet (no answer to the ready poll for quietMs) and for the next one to answer.
//
// Nothing is ever asked: what would ask a question in Write Data (a backup that cannot be kept)
// ends the run, and the log's last row is that radio, not written. stop() never cuts a write:
// it ends the run at once while no radio is being written, else after the radio's write and
// its row. Each row is on the disk before the run moves on, so the log is whole however the
// run ends.
class FleetRun final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FleetRun)

public:
    enum class Phase {
        Idle,            // not started
        WaitingForRadio, // for the next radio's ready answer (radio(): its number)
        Writing,         // identifying, writing and reading back radio()
        WaitingForQuiet, // radio() is done: for it to be switched off or unplugged
        Ended,
    };

    // The radio goes quiet when it has not answered the ready poll this long.
    static constexpr int defaultQuietMs = 1000;

    // Runs over `session` (its model is the plan's) on `serial`, the session's connection.
    FleetRun(RadioSession *session, SerialConnection *serial, QObject *parent = nullptr);
    ~FleetRun() override;

    // Radios to do before the run ends by itself, whatever their outcome; 0 runs until stopped.
    void setRadioLimit(int radios) { m_limit = radios; }
    // Where the radios' old contents are kept; the program's backups folder unless set.
    void setBackupFolder(const QString &folder) { m_backupFolder = folder; }
    void setQuietMs(int ms) { m_quietMs = ms; }

    // Opens the log at `logPath` (appending to it) and starts waiting for the first radio (at
    // once when the session already has its ready answer). A log that cannot be used is
    // refused and nothing starts.
    Result start(const ChannelFileData &plan, const QString &logPath);
    // Ends the run: at once while no radio is being written, else after the radio's row.
    void stop();

    Phase phase() const { return m_phase; }
    // The radio the phase is about, numbered on from the log's last row.
    int radio() const { return m_radio; }
    const FleetCounts &counts() const { return m_counts; }
    QString logPath() const { return m_log.path(); }
    bool isStopping() const { return m_stopRequested && m_phase == Phase::Writing; }
    // While Writing: what the line does with the radio now (Identifying, Writing or Verifying).
    LinkState::Transfer step() const { return m_step; }

    // A short checksum of what a write of `plan` sends to a radio of `model` (the channel image):
    // the same plan gives the same eight hexadecimal digits in the window and the tool.
    static QString planChecksum(const ChannelFileData &plan, Model model);
    // The log a run of today writes unless told otherwise: fleet-YYYYMMDD.csv in `folder`.
    static QString defaultLogName(const QString &folder, const QDate &day);

signals:
    void phaseChanged(zw::FleetRun::Phase phase, int radio);
    // While Writing, the radio went on to the next step (step()): from its identification to
    // the write, from the write to the read-back. Writing itself begins with Identifying.
    void stepChanged(zw::LinkState::Transfer step, int radio);
    // Radio row.radio is done and its row is in the log (unless the log failed: then ended
    // follows with LogFailed).
    void radioDone(const zw::FleetRow &row, const zw::WriteResult &result);
    void ended(const zw::FleetEnd &end);

private:
    void setPhase(Phase phase);
    void onRadioReady();
    void beginRadio();
    bool keepRadio(const ReadResult &radio);
    void onWriteFinished(const WriteResult &result);
    FleetRow rowFor(const WriteResult &result) const;
    void onRadioQuiet();
    void onLinkStateChanged(const LinkState &state);
    void onPortFailed(const QString &error);
    void end(FleetEnd::Reason reason, const Failure &failure = {}, const QString &portError = {});

    QPointer<RadioSession> m_session;
    QPointer<SerialConnection> m_serial;
    ChannelFileData m_plan;
    FleetLog m_log;
    QString m_backupFolder;
    int m_quietMs = defaultQuietMs;
    int m_limit = 0;
    Phase m_phase = Phase::Idle;
    LinkState::Transfer m_step = LinkState::Transfer::Identifying;
    int m_radio = 0;
    int m_done = 0;      // radios this run has logged
    int m_lastRadio = 0; // the number of the last of them
    FleetCounts m_counts;
    bool m_stopRequested = false;
    QString m_backup;                       // the kept contents of the radio being written
    std::optional<Failure> m_backupFailure; // why they could not be kept
};

} // namespace zw

Q_DECLARE_METATYPE(zw::FleetRow)
Q_DECLARE_METATYPE(zw::FleetEnd)
