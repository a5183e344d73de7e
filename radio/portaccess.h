#pragma once

#include <QString>

namespace zw
{

// Whether this user lacks the right to open a serial device, and which group owns it: on
// Linux a USB programming cable belongs to a group (dialout on Debian) whose members may use it.
struct PortAccess {
    bool denied = false; // the device exists, but this user may not read and write it
    QString group;       // the device's group, as `ls -l` shows it
};

PortAccess portAccess(const QString &device);

} // namespace zw
