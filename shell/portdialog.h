#pragma once

#include <QDialog>
#include <QPointer>

class QRadioButton;

namespace zw
{

class SerialConnection;

// The port dialog: moves the program's serial connection between COM1 and COM2. Modeless; it
// reads the port number and the language each time it opens (closing deletes it).
class PortDialog final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PortDialog)

public:
    explicit PortDialog(SerialConnection *serial, QWidget *parent = nullptr);

    QRadioButton *option(int port) const; // 1 " COM1", 2 " COM2"

    // OK: (re)opens the chosen port and closes the dialog; a port that cannot be opened is
    // reported, the other port number is selected and the dialog stays open.
    void ok();

private:
    bool usePort(int port);

    QPointer<SerialConnection> m_serial;
    QRadioButton *m_com1 = nullptr;
    QRadioButton *m_com2 = nullptr;
};

} // namespace zw
