#pragma once

#include "messages.h"

#include <QObject>
#include <QString>

class QLabel;
class QStatusBar;

namespace zw
{

class RadioSession;
class SerialConnection;
struct ReadResult;
struct WriteResult;

// The main window's status bar: the port and its device, the radio's state on it (answered,
// no answer, port closed) and the outcome of the last read or write with its time. Its texts
// follow the program's language.
class MainStatusBar final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MainStatusBar)

public:
    MainStatusBar(QStatusBar *bar, SerialConnection *serial);
    ~MainStatusBar() override;

    // Follows the ready poll and the transfers of a model window's session.
    void watch(RadioSession *session);
    // Shows the texts again, in the language chosen now.
    void refresh();

    QLabel *portLabel() const { return m_port; }
    QLabel *radioLabel() const { return m_radio; }
    QLabel *transferLabel() const { return m_transfer; }

private:
    void setRadioState(RadioState state);
    void setOutcome(TransferOutcome outcome);

    SerialConnection *m_serial;
    QLabel *m_port;
    QLabel *m_radio;
    QLabel *m_transfer;
    RadioState m_radioState = RadioState::PortClosed;
    bool m_transferred = false;
    TransferOutcome m_outcome = TransferOutcome::Read;
    QString m_outcomeTime;
};

} // namespace zw
