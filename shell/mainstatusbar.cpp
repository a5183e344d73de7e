#include "mainstatusbar.h"

#include "afterfirstpaint.h"
#include "language.h"
#include "messages.h"
#include "radiotexts.h"
#include "serialconnection.h"
#include "statustext.h"

#include <QStatusBar>

namespace zw
{

MainStatusBar::MainStatusBar(QStatusBar *bar, SerialConnection *serial)
    : QObject(bar), m_serial(serial), m_port(new StatusText(bar)), m_radio(new StatusText(bar)),
      m_transfer(new StatusText(bar, true))
{
    setObjectName(QStringLiteral("mainStatusBar"));
    m_port->setObjectName(QStringLiteral("portStatus"));
    m_radio->setObjectName(QStringLiteral("radioStatus"));
    m_transfer->setObjectName(QStringLiteral("transferStatus"));
    bar->addWidget(m_port);
    bar->addWidget(m_radio);
    bar->addWidget(m_transfer, 1);
    m_countLater.setSingleShot(true);
    connect(&m_countLater, &QTimer::timeout, this, &MainStatusBar::refresh);
    connect(m_serial, &SerialConnection::linkStateChanged, this,
            &MainStatusBar::onLinkStateChanged);
    // Measuring and shaping three texts (Chinese ones need the CJK font) is not what the
    // window needs to appear.
    runAfterFirstPaint(bar, this, [this] {
        m_shown = true;
        refresh();
    });
}

MainStatusBar::~MainStatusBar() = default;

void MainStatusBar::onLinkStateChanged()
{
    if (!m_shown)
        return;
    // A new count of the same phase: each one would lay the bar out and draw it again, up to
    // thirty times a second during a read; a few times a second tells the same.
    const LinkState &state = m_serial->linkState();
    if (state.transferring() && state.transfer == m_drawnPhase &&
        m_drawnAt.elapsed() < countIntervalMs) {
        if (!m_countLater.isActive())
            m_countLater.start(int(countIntervalMs - m_drawnAt.elapsed()));
        return;
    }
    refresh();
}

void MainStatusBar::refresh()
{
    if (!m_shown)
        return;
    m_countLater.stop();
    const bool english = isEnglish();
    const LinkState &state = m_serial->linkState();
    const int port = m_serial->portNumber();
    m_port->setText(portStatus(port, m_serial->device(port), english));
    m_radio->setText(linkRadioText(state, english));
    // The transfer's phase while it runs; its outcome afterwards, until the next one starts.
    m_transfer->setText(state.transferring() ? linkTransferText(state, english)
                                             : linkOutcomeText(state, english));
    m_drawnPhase = state.transfer;
    m_drawnAt.start();
}

} // namespace zw
