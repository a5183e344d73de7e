#include "porthints.h"

#include "language.h"
#include "modelwindow.h"
#include "portaccess.h"
#include "serialconnection.h"

#include <QDir>
#include <QEvent>
#include <QLabel>

namespace zw
{

QString withPortAccessHint(const QString &message, const QString &device)
{
    const PortAccess access = portAccess(device);
    const QString path = QDir::toNativeSeparators(access.path);
    if (access.regularFile) {
        if (isEnglish())
            return message +
                   QStringLiteral("\n%1 is a regular file, not a serial device.").arg(path);
        return message + QStringLiteral("\n%1 是普通文件，不是串行端口设备。").arg(path);
    }
    if (!access.denied)
        return message;
    if (isEnglish())
        return message + QStringLiteral("\nNo permission to use %1: members of group %2 may use "
                                        "it (sudo usermod -aG %2 $USER, then log in again).")
                             .arg(path, access.group);
    return message + QStringLiteral("\n当前用户没有使用 %1 的权限：%2 组的成员才能使用它"
                                    "（sudo usermod -aG %2 $USER，然后重新登录）。")
                         .arg(path, access.group);
}

QString statusLineHint(const ModelWindow &window)
{
    SerialConnection *serial = window.serial();
    if (window.isTransferLocked() || !window.statusLine()->text().trimmed().isEmpty())
        return QString();
    const bool english = isEnglish();
    if (!serial || !serial->isOpen())
        return english ? QStringLiteral("The serial port is not open: choose the port of the "
                                        "programming cable in the Port menu.")
                       : QStringLiteral("串行端口没有打开：请在端口菜单中选择编程线所接的端口。");
    const QString device = QDir::toNativeSeparators(serial->device(serial->portNumber()));
    return english ? QStringLiteral("No answer from the radio on %1: check that the radio is "
                                    "switched on, the cable is seated at both ends and the "
                                    "right port is chosen in the Port menu.")
                         .arg(device)
                   : QStringLiteral("%1 上的对讲机没有应答：请检查对讲机是否已打开，编程线两端"
                                    "是否插好，端口菜单中选择的端口是否正确。")
                         .arg(device);
}

StatusLineHint::StatusLineHint(ModelWindow *window) : QObject(window), m_window(window)
{
    window->statusLine()->installEventFilter(this);
}

bool StatusLineHint::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ToolTip && watched == m_window->statusLine())
        m_window->statusLine()->setToolTip(statusLineHint(*m_window));
    return false; // the label shows its tooltip itself
}

} // namespace zw
