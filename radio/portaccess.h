#pragma once

#include <QString>

namespace zw
{

// The device a port name opens: a bare name ("ttyUSB0") lives under /dev, as the serial port
// itself resolves it; a path (absolute, or starting with ./ or ../) stays as it is.
QString portDevicePath(const QString &name);

// What stands under a port name, for the hints of a port that would not open: whether it is
// there, a regular file rather than a device, and whether this user lacks the right to open it
// together with the group that owns it (on Linux a USB programming cable belongs to a group,
// dialout on Debian, whose members may use it).
struct PortAccess {
    QString path;             // the device the name opens (portDevicePath)
    bool exists = false;      // something is there
    bool regularFile = false; // a plain file, not a device
    bool denied = false;      // the device exists, but this user may not read and write it
    QString group;            // the device's group, as `ls -l` shows it
};

PortAccess portAccess(const QString &name);

} // namespace zw
