#include "portaccess.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zw
{

namespace
{

// The folders serial tools put their lock files in, in the order QSerialPort tries them.
const QStringList &systemLockFolders()
{
    static const QStringList folders{QStringLiteral("/var/lock"),
                                     QStringLiteral("/etc/locks"),
                                     QStringLiteral("/var/spool/locks"),
                                     QStringLiteral("/var/spool/uucp"),
                                     QStringLiteral("/tmp"),
                                     QStringLiteral("/var/tmp"),
                                     QStringLiteral("/var/lock/lockdev"),
                                     QStringLiteral("/run/lock")};
    return folders;
}

// The program running as `pid`, from /proc where there is one.
QString processName(qint64 pid)
{
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    if (!comm.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromLocal8Bit(comm.readAll()).trimmed();
}

bool processRuns(qint64 pid)
{
#ifdef Q_OS_UNIX
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
#else
    Q_UNUSED(pid)
    return true;
#endif
}

} // namespace

PortAccess portAccess(const QString &device)
{
    PortAccess result;
#ifdef Q_OS_UNIX
    const QByteArray path = QFile::encodeName(device);
    if (::access(path.constData(), R_OK | W_OK) != 0 && errno == EACCES) {
        result.denied = true;
        result.group = QFileInfo(device).group();
        struct stat info {
        };
        if (::stat(path.constData(), &info) == 0) {
            const bool readWrite = (info.st_mode & S_IRGRP) && (info.st_mode & S_IWGRP);
            result.groupMayUse = readWrite && info.st_gid != 0;
        }
    }
#else
    Q_UNUSED(device)
#endif
    return result;
}

QString lockFilePath(const QString &device, const QString &lockFolder)
{
    QString name = device;
    if (name.startsWith(QLatin1String("/dev/")))
        name.remove(0, 5);
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    return lockFolder + QStringLiteral("/LCK..") + name;
}

PortLock portLock(const QString &device, const QStringList &lockFolders)
{
    PortLock lock;
    for (const QString &folder : lockFolders.isEmpty() ? systemLockFolders() : lockFolders) {
        const QString path = lockFilePath(device, folder);
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        lock.file = path;
        // The first line holds the process id in text (Qt, lockdev, minicom all write it so).
        const QList<QByteArray> lines = file.read(4096).split('\n');
        bool ok = false;
        const qint64 pid = lines.value(0).trimmed().toLongLong(&ok);
        if (!ok || pid <= 0)
            return lock;
        lock.pid = pid;
        lock.thisProgram = pid == QCoreApplication::applicationPid();
        lock.processGone = !processRuns(pid);
        lock.program = processName(pid);
        if (lock.program.isEmpty() && !lock.processGone)
            lock.program = QString::fromLocal8Bit(lines.value(1).trimmed());
        return lock;
    }
    return lock;
}

PortOpenFailure diagnoseOpenFailure(const QString &device, QSerialPort::SerialPortError error,
                                    const QString &systemError, const QStringList &lockFolders)
{
    PortOpenFailure failure;
    failure.device = device;
    failure.systemError = systemError;
    const QFileInfo info(device);
#ifdef Q_OS_UNIX
    // A Windows port name ("COM3") is no path; its errors speak for themselves.
    // A dangling link (a by-id name of an unplugged cable) does not exist either.
    if (!info.exists()) {
        failure.reason = PortOpenFailure::Reason::NoSuchDevice;
        return failure;
    }
    failure.access = portAccess(device);
    if (failure.access.denied) {
        failure.reason = PortOpenFailure::Reason::PermissionDenied;
        return failure;
    }
    failure.lock = portLock(device, lockFolders);
    if (!failure.lock.file.isEmpty() || error == QSerialPort::PermissionError) {
        // With access granted, a refusal means the device is held (lock file or exclusive use).
        failure.reason = PortOpenFailure::Reason::InUse;
        return failure;
    }
    if (info.isFile() || info.isDir() || error == QSerialPort::UnsupportedOperationError) {
        failure.reason = PortOpenFailure::Reason::NotASerialPort;
        return failure;
    }
#else
    Q_UNUSED(info)
    Q_UNUSED(lockFolders)
#endif
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        failure.reason = PortOpenFailure::Reason::NoSuchDevice;
        break;
    case QSerialPort::PermissionError:
        // Windows answers "access denied" for a port another program holds.
        failure.reason = PortOpenFailure::Reason::InUse;
        break;
    default:
        break;
    }
    return failure;
}

} // namespace zw
