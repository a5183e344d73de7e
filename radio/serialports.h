#pragma once

#include <QList>
#include <QString>

namespace zw
{

// A serial port the system lists: the device to open and what the system says about it.
struct SerialPortEntry {
    QString device; // what the port is opened by: "/dev/ttyUSB0", "COM3"
    QString description;
    QString manufacturer;
    QString usbIds; // "067b:2303" for a USB adapter, else empty

    // One line for a pick list: "/dev/ttyUSB0 — USB-Serial Controller, Prolific (067b:2303)".
    QString label() const;
};

// The serial ports of this system, sorted by device. Pseudo-terminals are not among them.
QList<SerialPortEntry> systemSerialPorts();

} // namespace zw
