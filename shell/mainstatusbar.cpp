#include "mainstatusbar.h"

#include "language.h"
#include "messages.h"
#include "radiotexts.h"
#include "serialconnection.h"

#include <QLabel>
#include <QStatusBar>

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
    connect(m_serial, &SerialConnection::linkStateChanged, this, &MainStatusBar::refresh);
    refresh();
}

MainStatusBar::~MainStatusBar() = default;

void MainStatusBar::refresh()
{
    const bool english = isEnglish();
    const LinkState &state = m_serial->linkState();
    const int port = m_serial->portNumber();
    m_port->setText(portStatus(port, m_serial->device(port), english));
    m_radio->setText(linkRadioText(state, english));
    // The transfer's phase while it runs; its outcome afterwards, until the next one starts.
    m_transfer->setText(state.transferring() ? linkTransferText(state, english)
                                             : linkOutcomeText(state, english));
}

} // namespace zw
