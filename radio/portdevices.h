#pragma once

#include <QString>

class QSettings;

namespace zw
{

// Which serial device each of the two port options (" COM1", " COM2") stands for, and the
// option the program opens first at start. The user's choices in the port dialog are
// remembered in the settings and used at the next start; devices named on the command line
// replace them for one run and are never remembered.
class PortDevices final
{
public:
    // Defaults only, nothing remembered.
    PortDevices() = default;
    // The choices remembered in `settings`; later choices are written there. `settings` must
    // outlive this object.
    explicit PortDevices(QSettings *settings);

    // "/dev/ttyS0" and "/dev/ttyS1" ("COM1" and "COM2" on Windows).
    static QString defaultDevice(int port);
    static QString deviceKey(int port); // "ports/com1", "ports/com2"
    static QString startPortKey();      // "ports/start"

    QString device(int port) const;
    // 1 unless the user last opened port 2 through the dialog. A run with devices on the
    // command line starts on port 1, as the command line names them for that.
    int startPort() const;

    // The command line's device for `port`: used for this run only.
    void overrideDevice(int port, const QString &device);
    bool isOverridden(int port) const;

    // The user chose `device` for `port` in the port dialog: used now and remembered.
    void chooseDevice(int port, const QString &device);
    // The user opened `port` through the dialog: the next start opens it first.
    void chooseStartPort(int port);

private:
    static bool valid(int port) { return port == 1 || port == 2; }

    QSettings *m_settings = nullptr;
    QString m_devices[2] = {defaultDevice(1), defaultDevice(2)};
    bool m_overridden[2] = {false, false};
    int m_startPort = 1;
};

} // namespace zw
