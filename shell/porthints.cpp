#include "porthints.h"

#include "language.h"
#include "messages.h"
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
    if (!access.denied)
        return message;
    const QString path = QDir::toNativeSeparators(device);
    if (isEnglish())
        return message + noPortPermissionHintEnglish.arg(path, access.group);
    return message + noPortPermissionHint.arg(path, access.group);
}

QString statusLineHint(const ModelWindow &window)
{
    SerialConnection *serial = window.serial();
    if (window.isTransferLocked() || !window.statusLine()->text().trimmed().isEmpty())
        return QString();
    const bool english = isEnglish();
    if (!serial || !serial->isOpen())
        return english ? portClosedHintEnglish : portClosedHint;
    const QString device = QDir::toNativeSeparators(serial->device(serial->portNumber()));
    return (english ? noAnswerHintEnglish : noAnswerHint).arg(device);
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
