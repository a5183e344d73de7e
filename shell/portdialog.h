#pragma once

#include "serialports.h"

#include <QDialog>
#include <QPointer>

class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace zw
{

class PortDevices;
class PortProber;
class SerialConnection;

// The port dialog: moves the program's serial connection between COM1 and COM2, and lets the
// user choose the device behind each of the two options, from the ports the system lists or
// typed by hand. Find Radio polls the listed ports and the two chosen devices and selects the
// one a radio answers on. Modeless; it reads the port number, the devices and the language
// each time it opens (closing deletes it).
class PortDialog final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PortDialog)

public:
    // `devices` records the user's choices so that the next start uses them; may be null.
    PortDialog(SerialConnection *serial, PortDevices *devices, QWidget *parent = nullptr);

    QRadioButton *option(int port) const;  // 1 " COM1", 2 " COM2"
    QComboBox *deviceList(int port) const; // the device behind option `port`
    QPushButton *findRadioButton() const { return m_findRadio; }
    PortProber *prober() const { return m_prober; }
    QLabel *findStatus() const { return m_findStatus; }

    // The ports offered in the two device lists (the system's serial ports at opening). The
    // devices typed into the lists stay as they are.
    void setListedPorts(const QList<SerialPortEntry> &ports);
    const QList<SerialPortEntry> &listedPorts() const { return m_listed; }

    // OK: (re)opens the chosen port on the device chosen for it, remembers the devices and
    // closes the dialog; a port that cannot be opened is reported with its one cause, the other
    // port number is selected and the dialog stays open. Cancel after that forgets the devices
    // typed since the dialog opened and opens again the port that was open when it opened.
    void ok();
    // Find Radio: probes the listed ports and both chosen devices; see PortProber.
    void findRadio();

private:
    bool usePort(int port);
    // The device typed or picked for option `port`.
    QString chosenDevice(int port) const;
    void takeChosenDevices();
    // Records the devices of a port that opened, for the next start.
    void rememberChosenDevices();
    QString portFailureMessage(int port) const;
    void closeEvent(QCloseEvent *event) override;
    // After Cancel: the port open when the dialog opened is open again, on its device.
    void restorePortAtOpening();
    void onProbeFinished();

    QPointer<SerialConnection> m_serial;
    PortDevices *m_devices = nullptr;
    QList<SerialPortEntry> m_listed;
    QRadioButton *m_com1 = nullptr;
    QRadioButton *m_com2 = nullptr;
    QComboBox *m_com1Device = nullptr;
    QComboBox *m_com2Device = nullptr;
    QPushButton *m_findRadio = nullptr;
    QLabel *m_findStatus = nullptr;
    PortProber *m_prober = nullptr;
    QString m_devicesAtOpening[2];
    int m_portAtOpening = 0; // the port open when the dialog opened, 0 when none was
    bool m_accepted = false; // OK opened a port
    bool m_okFailed = false; // OK closed the port and could not open the one chosen
};

} // namespace zw
