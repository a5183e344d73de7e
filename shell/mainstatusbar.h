#pragma once

#include "linkstate.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class QStatusBar;

namespace zw
{

class SerialConnection;
class StatusText;

// The main window's status bar: a view of the line's state. The port and its device, the radio
// on it as a fact with its time ("对讲机 10:42:07 应答"), the transfer while one runs, and the
// outcome of the last one with its time afterwards. Its texts follow the program's language.
//
// The texts are first drawn just after the window's first paint: the window appears without
// waiting for them. A transfer's count is drawn at most every `countIntervalMs`; every other
// change (port, phase, outcome) at once.
class MainStatusBar final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MainStatusBar)

public:
    static constexpr int countIntervalMs = 200;

    MainStatusBar(QStatusBar *bar, SerialConnection *serial);
    ~MainStatusBar() override;

    // Shows the texts again, in the language chosen now (from the first paint on).
    void refresh();

    StatusText *portLabel() const { return m_port; }
    StatusText *radioLabel() const { return m_radio; }
    StatusText *transferLabel() const { return m_transfer; }

private:
    void onLinkStateChanged();

    SerialConnection *m_serial;
    StatusText *m_port;
    StatusText *m_radio;
    StatusText *m_transfer;
    bool m_shown = false;
    LinkState::Transfer m_drawnPhase = LinkState::Transfer::Idle;
    QElapsedTimer m_drawnAt;
    QTimer m_countLater;
};

} // namespace zw
