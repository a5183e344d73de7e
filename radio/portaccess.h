#pragma once

#include <QSerialPort>
#include <QString>

namespace zw
{

// Whether this user lacks the right to open a serial device, and which group owns it: on
// Linux a USB programming cable belongs to a group (dialout on Debian) whose members may use it.
struct PortAccess {
    bool denied = false; // the device exists, but this user may not read and write it
    QString group;       // the device's group, as `ls -l` shows it
    // The group's permission bits grant read and write, so joining it gives access. False for
    // the superuser's group: joining it is never the advice to give.
    bool groupMayUse = false;
};

PortAccess portAccess(const QString &device);

// The lock file a serial port takes while a program holds the device (UUCP style, as QSerialPort
// and most serial tools write it): "LCK.." and the device name without "/dev/", in the first
// usable lock folder.
struct PortLock {
    QString file;             // the lock file found; empty when the device is not locked
    qint64 pid = 0;           // the process the lock file names, 0 when it names none
    QString program;          // that process's name, when it can be found
    bool processGone = false; // the lock file names a process that no longer runs
    bool thisProgram = false; // the process is this one
};

// The lock file path for `device` in `lockFolder` ("/dev/ttyUSB0" -> lockFolder/LCK..ttyUSB0,
// "/dev/pts/3" -> lockFolder/LCK..pts_3).
QString lockFilePath(const QString &device, const QString &lockFolder);

// Looks for the lock of `device` in `lockFolders` (the usual system folders when empty).
PortLock portLock(const QString &device, const QStringList &lockFolders = {});

// Why a serial device could not be opened, as far as the system tells.
struct PortOpenFailure {
    enum class Reason {
        Unknown,          // nothing found to explain it (see systemError)
        NoSuchDevice,     // the path names nothing: cable unplugged or a wrong name
        PermissionDenied, // the device's permissions deny this user (see access)
        InUse,            // another program (or this one) holds it (see lock)
        NotASerialPort,   // the path exists but is no serial device
    };
    Reason reason = Reason::Unknown;
    QString device;
    PortAccess access;
    PortLock lock;
    QString systemError; // the serial port's own error text
};

// Works out why opening `device` failed with `error` (the serial port's error code and text).
PortOpenFailure diagnoseOpenFailure(const QString &device, QSerialPort::SerialPortError error,
                                    const QString &systemError,
                                    const QStringList &lockFolders = {});

} // namespace zw
