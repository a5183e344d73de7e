#include "porttexts.h"

#include <QDir>

namespace zw
{

QString portOpenFailureText(const PortOpenFailure &failure, bool english, FrontEnd frontEnd)
{
    const QString device = QDir::toNativeSeparators(failure.device);
    switch (failure.reason) {
    case PortOpenFailure::Reason::NoSuchDevice:
        if (frontEnd == FrontEnd::CommandLine)
            return english ? QStringLiteral("%1 does not exist: check that the cable is plugged in "
                                            "and that --port names its device.")
                                 .arg(device)
                           : QStringLiteral("%1 不存在：请检查编程线是否插好、--port 是否指定了"
                                            "编程线所接的设备。")
                                 .arg(device);
        return english ? QStringLiteral("%1 does not exist: check that the cable is plugged in, "
                                        "or choose its device in the Port menu.")
                             .arg(device)
                       : QStringLiteral("%1 不存在：请检查编程线是否插好，或在端口菜单中选择"
                                        "编程线所接的设备。")
                             .arg(device);
    case PortOpenFailure::Reason::PermissionDenied:
        if (failure.access.groupMayUse) {
            const QString &group = failure.access.group;
            return english ? QStringLiteral("No permission to use %1: members of group %2 may use "
                                            "it (sudo usermod -aG %2 $USER, then log in again).")
                                 .arg(device, group)
                           : QStringLiteral("当前用户没有使用 %1 的权限：%2 组的成员才能使用它"
                                            "（sudo usermod -aG %2 $USER，然后重新登录）。")
                                 .arg(device, group);
        }
        return english ? QStringLiteral("No permission to use %1: the device's permissions deny "
                                        "this user. A udev rule can grant them, e.g. "
                                        "SUBSYSTEM==\"tty\", KERNEL==\"ttyUSB*\", "
                                        "GROUP=\"dialout\", MODE=\"0660\".")
                             .arg(device)
                       : QStringLiteral("当前用户没有使用 %1 的权限：设备的权限不允许当前用户读写。"
                                        "可用 udev 规则授予权限，例如 SUBSYSTEM==\"tty\", "
                                        "KERNEL==\"ttyUSB*\", GROUP=\"dialout\", MODE=\"0660\"。")
                             .arg(device);
    case PortOpenFailure::Reason::InUse: {
        const PortLock &lock = failure.lock;
        if (lock.thisProgram)
            return english ? QStringLiteral("%1 is already open in this program.").arg(device)
                           : QStringLiteral("%1 已在本程序中打开。").arg(device);
        if (lock.pid > 0 && lock.processGone)
            return english ? QStringLiteral("%1 is locked by %2, left by process %3, which no "
                                            "longer runs: delete that file.")
                                 .arg(device, lock.file)
                                 .arg(lock.pid)
                           : QStringLiteral("%1 被锁文件 %2 锁定，写它的进程 %3 已不在运行："
                                            "请删除该文件。")
                                 .arg(device, lock.file)
                                 .arg(lock.pid);
        if (lock.pid > 0) {
            const QString who = lock.program.isEmpty()
                                    ? QString::number(lock.pid)
                                    : QStringLiteral("%1 (%2)").arg(lock.program).arg(lock.pid);
            return english ? QStringLiteral("%1 is in use by process %2 (lock file %3).")
                                 .arg(device, who, lock.file)
                           : QStringLiteral("%1 正被进程 %2 使用（锁文件 %3）。")
                                 .arg(device, who, lock.file);
        }
        return english ? QStringLiteral("%1 is in use by another program.").arg(device)
                       : QStringLiteral("%1 正被其他程序使用。").arg(device);
    }
    case PortOpenFailure::Reason::NotASerialPort:
        return english ? QStringLiteral("%1 is not a serial port.").arg(device)
                       : QStringLiteral("%1 不是串行端口。").arg(device);
    case PortOpenFailure::Reason::Unknown:
        break;
    }
    if (failure.systemError.isEmpty())
        return english ? QStringLiteral("%1 cannot be opened.").arg(device)
                       : QStringLiteral("%1 无法打开。").arg(device);
    return english ? QStringLiteral("%1 cannot be opened: %2.").arg(device, failure.systemError)
                   : QStringLiteral("%1 无法打开：%2。").arg(device, failure.systemError);
}

} // namespace zw
