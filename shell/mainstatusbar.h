#pragma once

#include <QObject>

class QLabel;
class QStatusBar;

namespace zw
{

class SerialConnection;

// The main window's status bar: a view of the line's state. The port and its device, the radio
// on it as a fact with its time ("对讲机 10:42:07 应答"), the transfer while one runs, and the
// outcome of the last one with its time afterwards. Its texts follow the program's language.
class MainStatusBar final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MainStatusBar)

public:
    MainStatusBar(QStatusBar *bar, SerialConnection *serial);
    ~MainStatusBar() override;

    // Shows the texts again, in the language chosen now.
    void refresh();

    QLabel *portLabel() const { return m_port; }
    QLabel *radioLabel() const { return m_radio; }
    QLabel *transferLabel() const { return m_transfer; }

private:
    SerialConnection *m_serial;
    QLabel *m_port;
    QLabel *m_radio;
    QLabel *m_transfer;
};

} // namespace zw
