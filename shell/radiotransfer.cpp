#include "radiotransfer.h"

#include "channelstore.h"
#include "language.h"
#include "messagebox.h"
#include "modelwindow.h"
#include "tablebackups.h"
#include "tablereplacement.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QTableView>

namespace zw
{

QString RadioTransfer::noAnswerText(bool english)
{
    return english ? QStringLiteral("The radio does not answer, so nothing was written. Check "
                                    "that it is switched on, that the programming cable is "
                                    "seated at both ends and that the right port is chosen.")
                   : QStringLiteral("对讲机没有应答，没有写入数据。请检查对讲机是否已开机、"
                                    "编程电缆两端是否插好、选择的端口是否正确。");
}

QString RadioTransfer::notIdentifiedText(bool english)
{
    return english ? QStringLiteral("The radio's model could not be read, so nothing was "
                                    "written. Check the cable and write again.")
                   : QStringLiteral("无法读出对讲机的型号，没有写入数据。请检查电缆后重新写入。");
}

QString RadioTransfer::writtenText(bool english)
{
    return english ? QStringLiteral("The channels have been written to the radio.")
                   : QStringLiteral("信道数据已写入对讲机。");
}

RadioTransfer::RadioTransfer(ModelWindow *window)
    : QObject(window), m_window(window), m_session(window->session()),
      m_progress(new QProgressBar(window->client()))
{
    m_progress->setObjectName(QStringLiteral("transferProgress"));
    m_progress->setTextVisible(false);
    const QRect status = window->statusLine()->geometry();
    m_progress->setGeometry(status.right() + 8, status.top(), 150, status.height());
    m_progress->hide();

    connect(window->readAction(), &QAction::triggered, this, &RadioTransfer::beginRead);
    connect(window->writeAction(), &QAction::triggered, this, &RadioTransfer::beginWrite);
    connect(m_session, &RadioSession::radioReady, this,
            [this] { m_window->statusLine()->setText(readyText()); });
    connect(m_session, &RadioSession::readStarted, this,
            [this] { m_window->statusLine()->setText(QString()); });
    connect(m_session, &RadioSession::progress, this, &RadioTransfer::showProgress);
    connect(m_session, &RadioSession::readFinished, this, &RadioTransfer::onReadFinished);
    // The radio's contents are kept before a write replaces them.
    m_session->setBeforeWrite([this](const ReadResult &radio) {
        return m_window->backups()->keepRadioBeforeWrite(radio.channelFile(m_window->model()));
    });
    connect(m_session, &RadioSession::writeFinished, this, &RadioTransfer::onWriteFinished);
    // The radio-wide settings are part of what a transfer sends or replaces.
    connect(window, &ModelWindow::transferLockChanged, this, [this](bool locked) {
        m_window->squelchList()->setEnabled(!locked);
        m_window->channelToneList()->setEnabled(!locked);
    });
}

bool RadioTransfer::lockForTransfer()
{
    if (m_session->isTransferring())
        return false;
    if (m_session->isPortBusy()) {
        showMessage(m_window, MessageIcon::Exclamation, systemInfoTitle(), portBusyText());
        return false;
    }
    // File is locked at once too: a channel file opened now would be replaced by a read.
    m_window->setTransferLock(true);
    return true;
}

void RadioTransfer::beginRead()
{
    if (!lockForTransfer())
        return;
    m_session->beginRead(m_window->store()->records());
    m_window->statusLine()->setText(readingText());
}

void RadioTransfer::beginWrite()
{
    if (!lockForTransfer())
        return;
    // The radio numbers its channels by position; the table keeps "1" in channel 1 as it always
    // has after a write.
    ChannelStore *store = m_window->store();
    store->setField(0, ChannelNumber, QStringLiteral("1"));
    m_session->beginWrite(store->records(), m_window->squelchList()->currentText(),
                          m_window->channelToneList()->currentText());
}

void RadioTransfer::showProgress(int done, int total)
{
    m_progress->setRange(0, total);
    m_progress->setValue(done);
    m_progress->show();
}

// Nothing of a reply is applied unless all of it is good and from a radio of this window's
// model; then the table and both settings are replaced in one step.
void RadioTransfer::onReadFinished(const ReadResult &result)
{
    m_progress->hide();
    switch (result.outcome) {
    case ReadResult::Outcome::Read:
        if (replaceWholeTable(
                m_window, BackupReason::BeforeRead,
                {result.records, result.settings.squelchLevel, result.settings.channelTone}))
            m_window->backups()->keepFromRadio();
        break;
    case ReadResult::Outcome::OtherModel: {
        const Model other = *result.radioModel;
        const auto code = std::size_t(modelInfo(other).code.toInt());
        showMessage(m_window, MessageIcon::None, otherRadioTitle(),
                    m_window->info().otherRadioMessages[code]);
        endTransfer();
        if (m_window->isClosing())
            return;
        // The window that fits the radio takes over; the user reads again there. Queued, as
        // it closes this window.
        QMetaObject::invokeMethod(
            m_window, [w = m_window, other] { emit w->switchRequested(other); },
            Qt::QueuedConnection);
        return;
    }
    case ReadResult::Outcome::PortLost:
        showMessage(m_window, MessageIcon::Exclamation, systemInfoTitle(), portReadFailedText());
        break;
    case ReadResult::Outcome::NoAnswer:
    case ReadResult::Outcome::Cut:
    case ReadResult::Outcome::Garbled:
    case ReadResult::Outcome::UnknownModel:
        showMessage(m_window, MessageIcon::Information, errorWarningTitle(), readErrorText());
        break;
    }
    endTransfer();
}

void RadioTransfer::onWriteFinished(const WriteResult &result)
{
    m_progress->hide();
    m_window->statusLine()->setText(QString());
    const bool english = isEnglish();
    switch (result.outcome) {
    case WriteResult::Outcome::Written:
        showMessage(m_window, MessageIcon::Information, systemInfoTitle(), writtenText(english));
        break;
    case WriteResult::Outcome::NoAnswer:
        showMessage(m_window, MessageIcon::Exclamation, systemInfoTitle(), noAnswerText(english));
        break;
    case WriteResult::Outcome::OtherModel: {
        // Named as the read names it; nothing was sent, and this window keeps its table.
        const auto code = std::size_t(modelInfo(*result.radioModel).code.toInt());
        showMessage(m_window, MessageIcon::None, otherRadioTitle(),
                    m_window->info().otherRadioMessages[code]);
        break;
    }
    case WriteResult::Outcome::NotIdentified:
        showMessage(m_window, MessageIcon::Exclamation, systemInfoTitle(),
                    notIdentifiedText(english));
        break;
    case WriteResult::Outcome::Declined:
        break; // the user chose not to write
    case WriteResult::Outcome::PortLost:
        showMessage(m_window, MessageIcon::Exclamation, systemInfoTitle(), portWriteFailedText());
        break;
    }
    endTransfer();
}

void RadioTransfer::endTransfer()
{
    m_progress->hide();
    QTableView *grid = m_window->grid();
    grid->setCurrentIndex(grid->model()->index(0, std::max(grid->currentIndex().column(), 0)));
    m_window->setTransferLock(false);
}

} // namespace zw
