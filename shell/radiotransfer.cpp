#include "radiotransfer.h"

#include "channeldocument.h"
#include "language.h"
#include "messagebox.h"
#include "messages.h"
#include "tablebackups.h"
#include "tablemerge.h"
#include "tablereplacement.h"
#include "windowlayout.h"

#include <QAction>
#include <QLabel>
#include <QProgressBar>

namespace zw
{

RadioTransfer::RadioTransfer(RadioSession *session, ChannelDocument *document,
                             TableBackups *backups, const ModelWindowLayout &layout,
                             QAction *readItem, QAction *writeItem, QLabel *statusLine,
                             QWidget *client, QWidget *window)
    : QObject(window), m_session(session), m_document(document), m_backups(backups),
      m_layout(layout), m_statusLine(statusLine), m_window(window),
      m_progress(new QProgressBar(client))
{
    m_progress->setObjectName(QStringLiteral("transferProgress"));
    m_progress->setTextVisible(false);
    placeProgress();
    m_progress->hide();

    connect(readItem, &QAction::triggered, this, &RadioTransfer::beginRead);
    connect(writeItem, &QAction::triggered, this, &RadioTransfer::beginWrite);
    connect(m_session, &RadioSession::radioReady, this,
            [this] { m_statusLine->setText(radioReadyStatus); });
    // The ready line tells only what holds now: a closed or failed port ends it.
    connect(m_session, &RadioSession::radioLost, this,
            [this] { m_statusLine->setText(QStringLiteral(" ")); });
    connect(m_session, &RadioSession::readStarted, this,
            [this] { m_statusLine->setText(QString()); });
    connect(m_session, &RadioSession::progress, this, &RadioTransfer::showProgress);
    connect(m_session, &RadioSession::readFinished, this, &RadioTransfer::onReadFinished);
    // The radio's contents are kept before a write replaces them.
    m_session->setBeforeWrite([this](const ReadResult &radio) {
        return m_backups->keepRadioBeforeWrite(radio.channelFile(m_document->model()));
    });
    connect(m_session, &RadioSession::writeFinished, this, &RadioTransfer::onWriteFinished);
}

bool RadioTransfer::lockForTransfer()
{
    if (m_session->isTransferring())
        return false;
    if (m_session->isPortBusy()) {
        showMessage(m_window, MessageIcon::Exclamation, systemInfoTitle,
                    otherWindowTransfersMessage);
        return false;
    }
    // File is locked at once too: a channel file opened now would be replaced by a read.
    emit lockRequested(true);
    return true;
}

void RadioTransfer::beginRead()
{
    if (!lockForTransfer())
        return;
    m_session->beginRead();
    m_statusLine->setText(readingStatus);
}

void RadioTransfer::beginWrite()
{
    if (!lockForTransfer())
        return;
    // The radio numbers its channels by position; the table keeps "1" in channel 1 as it always
    // has after a write.
    m_document->setFieldUnrecorded(0, ChannelNumber, QStringLiteral("1"));
    m_session->beginWrite(m_document->records(), m_document->settings().squelchLevel,
                          m_document->settings().channelTone);
}

void RadioTransfer::placeProgress()
{
    // Beside the status line, where the window's layout has put it by now.
    const QRect status = m_statusLine->geometry();
    m_progress->setGeometry(status.right() + 8, status.top(), 150, status.height());
}

void RadioTransfer::showProgress(int done, int total)
{
    m_progress->setRange(0, total);
    m_progress->setValue(done);
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
        showMessage(m_window, MessageIcon::Exclamation, systemInfoTitle, portReadFailedMessage);
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

void RadioTransfer::onWriteFinished(const WriteResult &result)
{
    m_progress->hide();
    m_statusLine->setText(QString());
    const bool english = isEnglish();
    switch (result.outcome) {
    case WriteResult::Outcome::Written:
        showMessage(m_window, MessageIcon::Information, systemInfoTitle, writtenMessage(english));
        break;
    case WriteResult::Outcome::NoAnswer:
        showMessage(m_window, MessageIcon::Exclamation, systemInfoTitle,
                    writeNoAnswerMessage(english));
        break;
    case WriteResult::Outcome::OtherModel: {
        // Named as the read names it; nothing was sent, and this window keeps its table.
        showMessage(m_window, MessageIcon::None, otherRadioTitle,
                    otherRadioMessage(m_layout, *result.radioModel));
        break;
    }
    case WriteResult::Outcome::NotIdentified:
        showMessage(m_window, MessageIcon::Exclamation, systemInfoTitle,
                    writeNotIdentifiedMessage(english));
        break;
    case WriteResult::Outcome::Declined:
        break; // the user chose not to write
    case WriteResult::Outcome::PortLost:
        showMessage(m_window, MessageIcon::Exclamation, systemInfoTitle,
                    result.writeRequestSent ? portWriteFailedMessage
                                            : portWriteNothingSentMessage(english));
        break;
    }
    endTransfer();
}

void RadioTransfer::endTransfer()
{
    m_progress->hide();
    emit lockRequested(false);
}

} // namespace zw
