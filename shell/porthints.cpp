#include "porthints.h"

#include "language.h"
#include "messages.h"
#include "portaccess.h"
#include "radiosession.h"
#include "serialconnection.h"

#include <QDir>
#include <QEvent>
#include <QLabel>

namespace zw
{

QString openFailureReason(const PortOpenFailure &failure)
{
    const bool english = isEnglish();
    const QString device = QDir::toNativeSeparators(failure.device);
    switch (failure.reason) {
    case PortOpenFailure::Reason::NoSuchDevice:
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
        return QString();
    return english ? QStringLiteral("%1 cannot be opened: %2.").arg(device, failure.systemError)
                   : QStringLiteral("%1 无法打开：%2。").arg(device, failure.systemError);
}

QString withOpenFailureReason(const QString &message, const PortOpenFailure &failure)
{
    const QString reason = openFailureReason(failure);
    return reason.isEmpty() ? message : message + QLatin1Char('\n') + reason;
}

QString withOpenFailureReason(const QString &message, const SerialConnection &serial, int port)
{
    return withOpenFailureReason(
        message,
        diagnoseOpenFailure(serial.device(port), serial.openError(), serial.errorString()));
}

QString findingRadioText()
{
    return isEnglish() ? QStringLiteral("Looking for the radio...")
                       : QStringLiteral("正在查找对讲机...");
}

QString radioFoundText(const QString &device)
{
    const QString path = QDir::toNativeSeparators(device);
    return isEnglish() ? QStringLiteral("The radio answers on %1: press OK to use it.").arg(path)
                       : QStringLiteral("对讲机在 %1 上应答：按确定使用它。").arg(path);
}

QString noRadioFoundText(const QList<PortProber::Result> &results)
{
    const bool english = isEnglish();
    QString text = english ? QStringLiteral("No radio answered on the %1 ports tried. Check that "
                                            "the radio is switched on, the cable is seated at "
                                            "both ends and this user may use the serial ports.")
                                 .arg(results.size())
                           : QStringLiteral("查询了 %1 个端口，没有对讲机应答。请检查对讲机是否已"
                                            "打开，编程线两端是否插好，当前用户是否有使用串行端口"
                                            "的权限。")
                                 .arg(results.size());
    for (const PortProber::Result &result : results) {
        if (result.outcome == PortProber::Outcome::NotOpened) {
            const QString reason = openFailureReason(result.failure);
            if (!reason.isEmpty())
                text += QLatin1Char('\n') + reason;
        } else if (result.outcome == PortProber::Outcome::InUseByThisProgram) {
            const QString path = QDir::toNativeSeparators(result.device);
            text +=
                QLatin1Char('\n') +
                (english
                     ? QStringLiteral("%1 is busy reading or writing in this program.").arg(path)
                     : QStringLiteral("%1 正在本程序中读写数据。").arg(path));
        }
    }
    return text;
}

QString statusLineHint(const SerialConnection *serial, bool transferring, const QString &statusText)
{
    if (transferring || !statusText.trimmed().isEmpty())
        return QString();
    const bool english = isEnglish();
    if (!serial)
        return QString();
    const QString device = QDir::toNativeSeparators(serial->device(serial->portNumber()));
    if (!serial->isOpen())
        return english ? QStringLiteral("The serial port %1 is not open: choose the device of "
                                        "the programming cable in the Port menu.")
                             .arg(device)
                       : QStringLiteral("串行端口 %1 没有打开：请在端口菜单中选择编程线所接的"
                                        "设备。")
                             .arg(device);
    return english ? QStringLiteral("No answer from the radio on %1: check that the radio is "
                                    "switched on, the cable is seated at both ends and the "
                                    "right port is chosen in the Port menu.")
                         .arg(device)
                   : QStringLiteral("%1 上的对讲机没有应答：请检查对讲机是否已打开，编程线两端"
                                    "是否插好，端口菜单中选择的端口是否正确。")
                         .arg(device);
}

StatusLineHint::StatusLineHint(QLabel *statusLine, const SerialConnection *serial,
                               const RadioSession *session)
    : QObject(statusLine), m_statusLine(statusLine), m_serial(serial), m_session(session)
{
    statusLine->installEventFilter(this);
}

bool StatusLineHint::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ToolTip && watched == m_statusLine)
        m_statusLine->setToolTip(
            statusLineHint(m_serial, m_session->isTransferring(), m_statusLine->text()));
    return false; // the label shows its tooltip itself
}

} // namespace zw
