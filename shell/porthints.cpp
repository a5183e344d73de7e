#include "porthints.h"

#include "language.h"
#include "messages.h"
#include "portaccess.h"
#include "porttexts.h"
#include "radiosession.h"
#include "serialconnection.h"

#include <QDir>
#include <QEvent>
#include <QLabel>

namespace zw
{

QString openFailureReason(const PortOpenFailure &failure)
{
    if (failure.reason == PortOpenFailure::Reason::Unknown && failure.systemError.isEmpty())
        return QString();
    return portOpenFailureText(failure, isEnglish());
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

QString portMessageWithCause(const QString &message, const QString &inUseWords,
                             const SerialConnection &serial, int port)
{
    const PortOpenFailure failure =
        diagnoseOpenFailure(serial.device(port), serial.openError(), serial.errorString());
    QString cause;
    switch (failure.reason) {
    case PortOpenFailure::Reason::NoSuchDevice:
        cause = QStringLiteral("不存在");
        break;
    case PortOpenFailure::Reason::NotASerialPort:
        cause = QStringLiteral("不是串行端口");
        break;
    case PortOpenFailure::Reason::PermissionDenied:
        cause = QStringLiteral("没有使用权限");
        break;
    case PortOpenFailure::Reason::InUse:
    case PortOpenFailure::Reason::Unknown:
        return withOpenFailureReason(message, failure);
    }
    QString said = message;
    said.replace(inUseWords, cause);
    return withOpenFailureReason(said, failure);
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
