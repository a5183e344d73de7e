#include "fleetrun.h"

#include "backups.h"
#include "codec.h"
#include "serialconnection.h"

#include <QCryptographicHash>
#include <QDir>
#include <QTimer>

namespace zw
{

namespace
{

// Another window's transfer may hold the line when a radio answers: the write is tried again
// this much later.
constexpr int lineBusyRetryMs = 100;

} // namespace

void FleetCounts::add(FleetOutcome outcome)
{
    switch (outcome) {
    case FleetOutcome::Verified:
        ++verified;
        break;
    case FleetOutcome::Differs:
        ++differs;
        break;
    case FleetOutcome::NotChecked:
        ++notChecked;
        break;
    case FleetOutcome::OtherModel:
        ++otherModel;
        break;
    case FleetOutcome::NotWritten:
        ++notWritten;
        break;
    }
}

FleetRun::FleetRun(RadioSession *session, SerialConnection *serial, QObject *parent)
    : QObject(parent), m_session(session), m_serial(serial), m_backupFolder(backupFolder())
{
    qRegisterMetaType<FleetRow>();
    qRegisterMetaType<FleetEnd>();
    // Each handler looks at the phase first: the session also serves Read Data and Write Data
    // of its window while no run is under way.
    connect(session, &RadioSession::radioReady, this, &FleetRun::onRadioReady);
    connect(session, &RadioSession::writeFinished, this, &FleetRun::onWriteFinished);
    connect(session, &RadioSession::radioQuiet, this, &FleetRun::onRadioQuiet);
    connect(session, &RadioSession::linkStateChanged, this, &FleetRun::onLinkStateChanged);
    connect(serial, &SerialConnection::portFailed, this, &FleetRun::onPortFailed);
}

FleetRun::~FleetRun()
{
    // A run ended by its owner's going: the session's poll returns to the plain ready poll.
    if (m_session && (m_phase == Phase::WaitingForRadio || m_phase == Phase::WaitingForQuiet)) {
        m_session->stop();
        m_session->startPolling();
    }
}

QString FleetRun::planChecksum(const ChannelFileData &plan, Model model)
{
    const QByteArray image =
        encodeChannelImage(RadioSession::numberedByPosition(plan.records),
                           modelInfo(model).receiveOffsetMHz, plan.squelchLevel, plan.channelTone);
    return QString::fromLatin1(
        QCryptographicHash::hash(image, QCryptographicHash::Sha256).toHex().left(8));
}

QString FleetRun::defaultLogName(const QString &folder, const QDate &day)
{
    return QDir(folder).filePath(
        QStringLiteral("fleet-%1.csv").arg(day.toString(QStringLiteral("yyyyMMdd"))));
}

Result FleetRun::start(const ChannelFileData &plan, const QString &logPath)
{
    if (m_phase != Phase::Idle || !m_session || !m_serial)
        return Failure{QStringLiteral("the run has already started")};
    if (const Result opened = m_log.open(logPath); !opened)
        return opened;
    m_plan = plan;
    m_radio = m_log.lastRadio() + 1;
    setPhase(Phase::WaitingForRadio);
    if (m_session->state() == RadioSession::State::Ready)
        QMetaObject::invokeMethod(this, &FleetRun::onRadioReady, Qt::QueuedConnection);
    else if (m_session->state() != RadioSession::State::Polling && !m_session->isTransferring())
        m_session->startPolling();
    return {};
}

void FleetRun::stop()
{
    m_stopRequested = true;
    if (m_phase == Phase::WaitingForRadio || m_phase == Phase::WaitingForQuiet)
        end(FleetEnd::Reason::Stopped);
    else if (m_phase == Phase::Idle)
        m_phase = Phase::Ended;
}

void FleetRun::setPhase(Phase phase)
{
    m_phase = phase;
    emit phaseChanged(phase, m_radio);
}

void FleetRun::onRadioReady()
{
    if (m_phase != Phase::WaitingForRadio || !m_session ||
        m_session->state() != RadioSession::State::Ready)
        return;
    beginRadio();
}

void FleetRun::beginRadio()
{
    m_backup.clear();
    m_backupFailure.reset();
    m_session->setVerifyWrites(true);
    m_session->setBeforeWrite([this](const ReadResult &radio) { return keepRadio(radio); });
    if (!m_session->beginWrite(m_plan.records, m_plan.squelchLevel, m_plan.channelTone)) {
        QTimer::singleShot(lineBusyRetryMs, this, &FleetRun::onRadioReady);
        return;
    }
    m_step = LinkState::Transfer::Identifying;
    setPhase(Phase::Writing);
}

void FleetRun::onLinkStateChanged(const LinkState &state)
{
    if (m_phase != Phase::Writing || !m_session || !m_session->isWriting() ||
        state.transfer == m_step)
        return;
    if (state.transfer != LinkState::Transfer::Writing &&
        state.transfer != LinkState::Transfer::Verifying)
        return;
    m_step = state.transfer;
    emit stepChanged(m_step, m_radio);
}

// The safety net of every write: without the radio's old contents kept, nothing is written.
bool FleetRun::keepRadio(const ReadResult &radio)
{
    const Model model = m_session->model();
    const Expected<BackupFile> kept =
        writeBackup(m_backupFolder, model, BackupReason::FromRadio, radio.channelFile(model));
    if (!kept) {
        m_backupFailure = kept.failure();
        return false;
    }
    m_backup = kept->fileName;
    return true;
}

FleetRow FleetRun::rowFor(const WriteResult &result) const
{
    FleetRow row;
    row.radio = m_radio;
    const QDateTime now = QDateTime::currentDateTime();
    row.time = now.addMSecs(-now.time().msec()); // the log counts seconds
    row.model = result.radioModel;
    row.backup = m_backup;
    // Past the identification the radio is known to be of the session's model.
    const bool identified = result.outcome == WriteResult::Outcome::Written ||
                            result.outcome == WriteResult::Outcome::Declined ||
                            result.writeRequestSent;
    if (identified)
        row.model = m_session->model();
    switch (result.outcome) {
    case WriteResult::Outcome::Written:
        switch (result.check) {
        case WriteResult::Check::Verified:
            row.outcome = FleetOutcome::Verified;
            row.changedChannels = result.changedChannels;
            break;
        case WriteResult::Check::Differs:
            row.outcome = FleetOutcome::Differs;
            row.changedChannels = result.differingChannels;
            break;
        case WriteResult::Check::NotChecked:
        case WriteResult::Check::Skipped:
            // A radio that never answered again after its write was switched off or unplugged
            // during it: nothing says it holds the plan, so it is written again when it comes
            // back.
            row.outcome = result.notCheckedReason == WriteResult::NotCheckedReason::NoReadyAnswer
                              ? FleetOutcome::NotWritten
                              : FleetOutcome::NotChecked;
            break;
        }
        break;
    case WriteResult::Outcome::OtherModel:
        row.outcome = FleetOutcome::OtherModel;
        row.backup.clear();
        break;
    case WriteResult::Outcome::NoAnswer:
    case WriteResult::Outcome::NotIdentified:
    case WriteResult::Outcome::Declined:
    case WriteResult::Outcome::PortLost:
        row.outcome = FleetOutcome::NotWritten;
        break;
    }
    return row;
}

void FleetRun::onWriteFinished(const WriteResult &result)
{
    if (m_phase != Phase::Writing)
        return;
    m_session->setBeforeWrite({});
    const FleetRow row = rowFor(result);
    const Result logged = m_log.append(row);
    m_counts.add(row.outcome);
    ++m_done;
    m_lastRadio = row.radio;
    emit radioDone(row, result);
    if (!logged) {
        end(FleetEnd::Reason::LogFailed, logged.failure());
        return;
    }
    if (result.outcome == WriteResult::Outcome::Declined && m_backupFailure) {
        end(FleetEnd::Reason::BackupFailed, *m_backupFailure);
        return;
    }
    const bool portLost = result.outcome == WriteResult::Outcome::PortLost ||
                          (result.check == WriteResult::Check::NotChecked &&
                           result.notCheckedReason == WriteResult::NotCheckedReason::PortLost);
    if (portLost || (m_serial && !m_serial->isOpen())) {
        end(FleetEnd::Reason::PortLost, {}, result.portError);
        return;
    }
    if (m_stopRequested) {
        end(FleetEnd::Reason::Stopped);
        return;
    }
    if (m_limit > 0 && m_done >= m_limit) {
        end(FleetEnd::Reason::CountReached);
        return;
    }
    setPhase(Phase::WaitingForQuiet);
    m_session->awaitQuiet(m_quietMs);
}

void FleetRun::onRadioQuiet()
{
    if (m_phase != Phase::WaitingForQuiet)
        return;
    ++m_radio;
    setPhase(Phase::WaitingForRadio);
}

void FleetRun::onPortFailed(const QString &error)
{
    // During a write the session reports the failed port in its result.
    if (m_phase == Phase::WaitingForRadio || m_phase == Phase::WaitingForQuiet)
        end(FleetEnd::Reason::PortLost, {}, error);
}

void FleetRun::end(FleetEnd::Reason reason, const Failure &failure, const QString &portError)
{
    if (m_phase == Phase::Ended)
        return;
    FleetEnd how;
    how.reason = reason;
    how.radio = m_lastRadio;
    how.failure = failure;
    how.portError = portError;
    // The session goes back to the plain ready poll (the wait for quiet ends with it).
    if (m_session && !m_session->isTransferring()) {
        m_session->stop();
        m_session->startPolling();
    }
    setPhase(Phase::Ended);
    emit ended(how);
}

} // namespace zw
