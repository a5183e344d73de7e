#include "radiotransfer.h"

#include "backupchoicedialog.h"
#include "captions.h"
#include "cellentry.h"
#include "channeldocument.h"
#include "language.h"
#include "messagebox.h"
#include "messages.h"
#include "radiotexts.h"
#include "savefile.h"
#include "tablebackups.h"
#include "tablemerge.h"
#include "tablereplacement.h"
#include "transferprogressbar.h"
#include "windowlayout.h"
#include "writecheck.h"

#include <QAction>
#include <QDir>
#include <QLabel>

namespace zw
{

RadioTransfer::RadioTransfer(RadioSession *session, ChannelDocument *document,
                             TableBackups *backups, const ModelWindowLayout &layout,
                             QAction *readItem, QAction *writeItem, QLabel *statusLine,
                             QWidget *client, QWidget *window)
    : QObject(window), m_session(session), m_document(document), m_backups(backups),
      m_layout(layout), m_statusLine(statusLine), m_window(window),
      m_progress(new TransferProgressBar(client))
{
    m_progress->setObjectName(QStringLiteral("transferProgress"));
    placeProgress();
    m_progress->hide();

    connect(readItem, &QAction::triggered, this, &RadioTransfer::beginRead);
    connect(writeItem, &QAction::triggered, this, &RadioTransfer::beginWrite);
    connect(m_session, &RadioSession::linkStateChanged, this, &RadioTransfer::showStatus);
    showStatus();
    connect(m_session, &RadioSession::progress, this, &RadioTransfer::showProgress);
    connect(m_session, &RadioSession::readFinished, this, &RadioTransfer::onReadFinished);
    connect(m_session, &RadioSession::writeFinished, this, &RadioTransfer::onWriteFinished);
}

bool RadioTransfer::canStartTransfer()
{
    if (m_session->isTransferring())
        return false;
    if (m_session->isPortBusy()) {
        showMessage(m_window, MessageIcon::Exclamation, systemInfoTitle,
                    otherWindowTransfersMessage);
        return false;
    }
    m_transferBegun = true;
    return true;
}

// The status line holds one of three texts, drawn from the session's own state: ready once its
// poll has read the radio's answer (until a transfer begins or the port closes), reading from
// Read Data until the read takes the line, and nothing otherwise: the design's one blank until
// the first transfer, an empty text after. A write keeps the ready text it began with (a write
// begins only after the answer) until it ends.
void RadioTransfer::showStatus()
{
    using State = RadioSession::State;
    QString text = m_transferBegun ? QString() : QStringLiteral(" ");
    switch (m_session->state()) {
    case State::Ready:
        text = radioReadyStatus;
        break;
    case State::ReadStarting:
        text = readingStatus;
        break;
    case State::IdentifyStarting:
    case State::IdentifyQuietWait:
    case State::IdentifyReply:
    case State::Writing:
    case State::ReadBackReadyWait:
    case State::ReadBackQuietWait:
    case State::ReadBackReply:
        text = m_session->writeBeganReady() ? radioReadyStatus : QString();
        break;
    case State::Idle:
    case State::Polling:
    case State::ReadQuietWait:
    case State::ReadReply:
        break;
    }
    if (m_statusLine->text() != text)
        m_statusLine->setText(text);
}

void RadioTransfer::beginRead()
{
    if (!canStartTransfer())
        return;
    m_session->beginRead();
}

void RadioTransfer::beginWrite()
{
    if (!canStartTransfer())
        return;
    // The radio numbers its channels by position; the table keeps "1" in channel 1 as it always
    // has after a write. The number is not sent: a table that cannot take it now (busy,
    // read-only) is still written to the radio.
    static_cast<void>(m_document->setFieldUnrecorded(0, ChannelNumber, QStringLiteral("1")));
    startWrite(m_document->records(), m_document->settings().squelchLevel,
               m_document->settings().channelTone);
}

void RadioTransfer::startWrite(const ChannelTable &records, const QString &squelchLevel,
                               const QString &channelTone)
{
    // The radio's contents are kept before this write replaces them. The session's other
    // writes (a fleet run's) keep them their own way and are not this window's to report.
    m_session->setBeforeWrite([this](const ReadResult &radio) { return beforeWrite(radio); });
    m_ownWrite = m_session->beginWrite(records, squelchLevel, channelTone);
}

void RadioTransfer::restoreRadio()
{
    if (m_session->isTransferring())
        return;
    // Backups are named after their model: only this model's are offered.
    const QString fileName =
        BackupChoiceDialog::choose(backupFolder(), m_document->model(), m_window);
    if (fileName.isEmpty())
        return;
    // Only a regular file is read: a FIFO would hold the window until another program opens it.
    const Expected<QByteArray> bytes = readRegularFile(fileName, maxChannelFileSize);
    const std::optional<Model> fileModel =
        bytes ? modelFromCode(channelFileModelCode(*bytes)) : std::nullopt;
    if (fileModel && *fileModel != m_document->model()) {
        showMessage(m_window, MessageIcon::None, otherModelFileTitle,
                    otherModelFileMessage(*fileModel));
        return;
    }
    const Expected<ChannelFileData> backup = readChannelFile(bytes ? *bytes : QByteArray());
    if (!bytes || !backup) {
        showMessage(m_window, MessageIcon::Exclamation, systemInfoTitle,
                    unreadableChannelFileMessage.arg(QDir::toNativeSeparators(fileName)));
        return;
    }
    if (!canStartTransfer())
        return;
    m_restoring = *backup;
    startWrite(backup->records, backup->squelchLevel, backup->channelTone);
}

bool RadioTransfer::beforeWrite(const ReadResult &radio)
{
    const Model model = m_document->model();
    if (m_restoring) {
        const RadioContents restored = contentsOfWrite(
            m_restoring->records, m_restoring->squelchLevel, m_restoring->channelTone, model);
        const ContentsDifference changes =
            compareContents(radio.channels, radio.settings, restored.channels, restored.settings);
        const bool english = isEnglish();
        if (!changes.any()) {
            showMessage(m_window, MessageIcon::Information, systemInfoTitle,
                        restoreNothingToChangeMessage(english));
            return false;
        }
        const QString joined = radioContentsText(changes.channels, changes.settings, english);
        if (!askToContinue(m_window, systemInfoTitle, restoreRadioQuestion(english).arg(joined)))
            return false;
    }
    return m_backups->keepRadioBeforeWrite(radio.channelFile(model));
}

void RadioTransfer::placeProgress()
{
    // Beside the status line, where the window's layout has put it by now.
    const QRect status = m_statusLine->geometry();
    m_progress->setGeometry(status.right() + 8, status.top(), 150, status.height());
}

void RadioTransfer::showProgress(int done, int total)
{
    if (m_session->isWriting() && !m_ownWrite)
        return;
    m_progress->showCount(done, total);
    placeProgress();
    m_progress->show();
}

// Nothing of a reply is applied unless all of it is good and from a radio of this window's
// model; then the table and both settings are replaced in one step.
void RadioTransfer::onReadFinished(const ReadResult &result)
{
    m_progress->hide();
    switch (result.outcome) {
    case ReadResult::Outcome::Read:
        // Merged into the table as the file holds it now: a spare field or channel number
        // changed during the read stays.
        m_document->refresh();
        if (replaceWholeTable(m_document, m_backups, m_window, BackupReason::BeforeRead,
                              {mergeRadioChannels(m_document->records(), result.channels),
                               result.settings.squelchLevel, result.settings.channelTone}))
            m_backups->keepFromRadio();
        break;
    case ReadResult::Outcome::OtherModel: {
        const Model other = *result.radioModel;
        showMessage(m_window, MessageIcon::None, otherRadioTitle,
                    otherRadioMessage(m_layout, other));
        endTransfer();
        // The window that fits the radio takes over; the user reads again there.
        emit otherModelRadio(other);
        return;
    }
    case ReadResult::Outcome::PortLost:
        showMessage(m_window, MessageIcon::Exclamation, systemInfoTitle,
                    readFailureText(result, m_document->model(), isEnglish()));
        break;
    case ReadResult::Outcome::NoAnswer:
    case ReadResult::Outcome::Cut:
    case ReadResult::Outcome::Garbled:
    case ReadResult::Outcome::UnknownModel:
        showMessage(m_window, MessageIcon::Information, errorWarningTitle, readErrorMessage);
        break;
    }
    endTransfer();
}

namespace
{

// The finished notice's last line, naming the channels written with a frequency kept outside
// the band; empty when there are none.
QString outsideBandNote(const ChannelTable &written, Model model)
{
    const BandLimits &band = modelInfo(model).band;
    const QList<int> channels = channelsOutsideBand(written, band);
    if (channels.isEmpty())
        return QString();
    return QLatin1Char('\n') + outsideBandWrittenNote(channels, band, isEnglish());
}

} // namespace

void RadioTransfer::onWriteFinished(const WriteResult &result)
{
    if (!m_ownWrite)
        return;
    m_ownWrite = false;
    m_session->setBeforeWrite({});
    const ChannelTable written = m_restoring ? m_restoring->records : m_document->records();
    m_restoring.reset();
    m_progress->hide();
    const QString text = writeOutcomeText(result, m_document->model(), isEnglish());
    switch (result.outcome) {
    case WriteResult::Outcome::Written:
        // Only a read-back that found what was sent is good news; anything else is a warning.
        showMessage(m_window,
                    result.verified() || result.check == WriteResult::Check::Skipped
                        ? MessageIcon::Information
                        : MessageIcon::Exclamation,
                    systemInfoTitle, text + outsideBandNote(written, m_document->model()));
        break;
    case WriteResult::Outcome::OtherModel: {
        // Named as the read names it; nothing was sent, and this window keeps its table.
        showMessage(m_window, MessageIcon::None, otherRadioTitle,
                    otherRadioMessage(m_layout, *result.radioModel));
        break;
    }
    case WriteResult::Outcome::Declined:
        break; // the user chose not to write
    case WriteResult::Outcome::NoAnswer:
    case WriteResult::Outcome::NotIdentified:
    case WriteResult::Outcome::PortLost:
        showMessage(m_window, MessageIcon::Exclamation, systemInfoTitle, text);
        break;
    }
    endTransfer();
}

void RadioTransfer::endTransfer()
{
    m_progress->hide();
    emit transferHandled();
}

} // namespace zw
