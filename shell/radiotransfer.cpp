#include "radiotransfer.h"

#include "channelstore.h"
#include "messagebox.h"
#include "messages.h"
#include "modelwindow.h"
#include "tablebackups.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QTableView>

namespace zw
{

RadioTransfer::RadioTransfer(ModelWindow *window)
    : QObject(window), m_window(window),
      m_link(new RadioLink(window->model(), window->serial(),
                           {window->timer(1), window->timer(2), window->timer(3), window->timer(4)},
                           this)),
      m_progress(new QProgressBar(window->client()))
{
    m_progress->setObjectName(QStringLiteral("transferProgress"));
    m_progress->setTextVisible(false);
    const QRect status = window->statusLine()->geometry();
    m_progress->setGeometry(status.right() + 8, status.top(), 150, status.height());
    m_progress->hide();

    connect(window->readAction(), &QAction::triggered, this, &RadioTransfer::beginRead);
    connect(window->writeAction(), &QAction::triggered, this, &RadioTransfer::beginWrite);
    connect(m_link, &RadioLink::radioReady, this,
            [this] { m_window->statusLine()->setText(radioReadyStatus); });
    connect(m_link, &RadioLink::readStarted, this,
            [this] { m_window->statusLine()->setText(QString()); });
    connect(m_link, &RadioLink::progress, this, &RadioTransfer::showProgress);
    connect(m_link, &RadioLink::readFinished, this, &RadioTransfer::onReadFinished);
    connect(m_link, &RadioLink::writeFinished, this, &RadioTransfer::onWriteFinished);
    // The radio-wide settings are part of what a transfer sends or replaces.
    connect(window, &ModelWindow::transferLockChanged, this, [this](bool locked) {
        m_window->squelchList()->setEnabled(!locked);
        m_window->channelToneList()->setEnabled(!locked);
    });
    connect(window, &ModelWindow::closed, m_link, &RadioLink::stop);
}

bool RadioTransfer::lockForTransfer()
{
    if (m_link->isTransferring())
        return false;
    if (m_link->isPortBusy()) {
        showMessage(m_window, MessageIcon::Exclamation, systemInfoTitle,
                    otherWindowTransfersMessage);
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
    m_link->beginRead();
    m_window->statusLine()->setText(readingStatus);
}

void RadioTransfer::beginWrite()
{
    if (!lockForTransfer())
        return;
    // Channel 1 is always sent as number 1, and the table keeps that like any edit.
    ChannelStore *store = m_window->store();
    store->setField(0, ChannelNumber, QStringLiteral("1"));
    ChannelTable records = store->records();
    records[0][ChannelNumber] = QStringLiteral("1");
    m_link->beginWrite(records, m_window->squelchList()->currentText(),
                       m_window->channelToneList()->currentText());
}

void RadioTransfer::showProgress(int done, int total)
{
    m_progress->setRange(0, total);
    m_progress->setValue(done);
    m_progress->show();
}

void RadioTransfer::onReadFinished(RadioLink::Outcome outcome, const QByteArray &reply)
{
    m_progress->hide();
    switch (outcome) {
    case RadioLink::Outcome::Finished:
        applyReply(reply);
        return;
    case RadioLink::Outcome::NoData:
        showMessage(m_window, MessageIcon::Information, errorWarningTitle, readErrorMessage);
        break;
    case RadioLink::Outcome::PortUnavailable:
        showMessage(m_window, MessageIcon::Exclamation, systemInfoTitle, portReadFailedMessage);
        break;
    }
    endTransfer();
}

// Nothing of a reply is applied unless all of it is good and from a radio of this window's
// model; then the 16 records go into the database in one transaction, followed by the two
// settings.
void RadioTransfer::applyReply(const QByteArray &reply)
{
    ChannelStore *store = m_window->store();
    const RadioReply decoded = decodeReply(reply, store->records(), m_window->model());
    switch (decoded.status) {
    case RadioReply::Status::Ok:
        if (!m_window->backups()->keepBefore(BackupReason::BeforeRead))
            break;
        if (!store->setRecords(decoded.records)) {
            showMessage(m_window, MessageIcon::Exclamation, systemInfoTitle,
                        readTableNotStoredMessage.arg(store->lastError()));
            break;
        }
        if (!decoded.settings.squelchLevel.isEmpty())
            m_window->squelchList()->setCurrentText(decoded.settings.squelchLevel);
        if (!decoded.settings.channelTone.isEmpty())
            m_window->channelToneList()->setCurrentText(decoded.settings.channelTone);
        m_window->notifyTableReplaced();
        m_window->backups()->keepFromRadio();
        break;
    case RadioReply::Status::OtherModel: {
        const Model other = *decoded.radioModel;
        const auto code = std::size_t(modelInfo(other).code.toInt());
        showMessage(m_window, MessageIcon::None, otherRadioTitle,
                    m_window->layout().otherRadioMessages[code]);
        endTransfer();
        // The window that fits the radio takes over; the user reads again there. Queued, as
        // it closes this window.
        QMetaObject::invokeMethod(
            m_window, [w = m_window, other] { emit w->switchRequested(other); },
            Qt::QueuedConnection);
        return;
    }
    case RadioReply::Status::UnknownModel:
    case RadioReply::Status::BadCharacter:
    case RadioReply::Status::Incomplete:
        showMessage(m_window, MessageIcon::Information, errorWarningTitle, readErrorMessage);
        break;
    }
    endTransfer();
}

void RadioTransfer::onWriteFinished(RadioLink::Outcome outcome)
{
    m_progress->hide();
    m_window->statusLine()->setText(QString());
    if (outcome != RadioLink::Outcome::Finished)
        showMessage(m_window, MessageIcon::Exclamation, systemInfoTitle, portWriteFailedMessage);
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
