#include "mainstatusbar.h"

#include "channelrecord.h"
#include "language.h"
#include "radiosession.h"
#include "serialconnection.h"

#include <QLabel>
#include <QStatusBar>
#include <QTime>

namespace zw
{

MainStatusBar::MainStatusBar(QStatusBar *bar, SerialConnection *serial)
    : QObject(bar), m_serial(serial), m_port(new QLabel(bar)), m_radio(new QLabel(bar)),
      m_transfer(new QLabel(bar))
{
    setObjectName(QStringLiteral("mainStatusBar"));
    m_port->setObjectName(QStringLiteral("portStatus"));
    m_radio->setObjectName(QStringLiteral("radioStatus"));
    m_transfer->setObjectName(QStringLiteral("transferStatus"));
    bar->addWidget(m_port);
    bar->addWidget(m_radio);
    bar->addWidget(m_transfer, 1);
    // An open port has a radio that has not answered yet; a closed one has none.
    connect(m_serial, &SerialConnection::openChanged, this, [this](bool open) {
        setRadioState(open ? RadioState::NoAnswer : RadioState::PortClosed);
    });
    m_radioState = m_serial->isOpen() ? RadioState::NoAnswer : RadioState::PortClosed;
    refresh();
}

MainStatusBar::~MainStatusBar() = default;

void MainStatusBar::watch(RadioSession *session)
{
    connect(session, &RadioSession::radioReady, this,
            [this] { setRadioState(RadioState::Answered); });
    connect(session, &RadioSession::radioLost, this, [this] {
        setRadioState(m_serial->isOpen() ? RadioState::NoAnswer : RadioState::PortClosed);
    });
    connect(session, &RadioSession::readFinished, this, [this](const ReadResult &result) {
        setOutcome(result.ok() ? TransferOutcome::Read : TransferOutcome::ReadFailed);
        if (result.outcome == ReadResult::Outcome::NoAnswer)
            setRadioState(RadioState::NoAnswer);
    });
    connect(session, &RadioSession::writeFinished, this, [this](const WriteResult &result) {
        switch (result.outcome) {
        case WriteResult::Outcome::Written:
            setOutcome(TransferOutcome::Written);
            break;
        case WriteResult::Outcome::Declined:
            setOutcome(TransferOutcome::WriteCancelled);
            break;
        case WriteResult::Outcome::NoAnswer:
            setRadioState(RadioState::NoAnswer);
            setOutcome(TransferOutcome::WriteFailed);
            break;
        default:
            setOutcome(TransferOutcome::WriteFailed);
            break;
        }
    });
}

void MainStatusBar::refresh()
{
    const bool english = isEnglish();
    const int port = m_serial->portNumber();
    m_port->setText(portStatus(port, m_serial->device(port), english));
    m_radio->setText(radioStateStatus(m_radioState, english));
    m_transfer->setText(m_transferred
                            ? transferStatus(m_outcome, channelCount, m_outcomeTime, english)
                            : QString());
}

void MainStatusBar::setRadioState(RadioState state)
{
    m_radioState = state;
    refresh();
}

void MainStatusBar::setOutcome(TransferOutcome outcome)
{
    m_transferred = true;
    m_outcome = outcome;
    m_outcomeTime = QTime::currentTime().toString(QStringLiteral("HH:mm:ss"));
    refresh();
}

} // namespace zw
