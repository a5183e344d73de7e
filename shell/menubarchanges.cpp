#include "menubarchanges.h"

#include <QActionEvent>
#include <QCoreApplication>
#include <QMenuBar>

namespace zw
{

MenuBarChanges::MenuBarChanges(QMenuBar *bar) : m_bar(bar), m_looksBefore(looks())
{
    // A bar the desktop shows (a global menu) takes each item's change to the desktop's menu:
    // nothing is held back there.
    if (!m_bar->isNativeMenuBar())
        m_bar->installEventFilter(this);
}

MenuBarChanges::~MenuBarChanges()
{
    m_bar->removeEventFilter(this);
    if (!m_changed)
        return;
    if (looks() == m_looksBefore) {
        m_bar->update();
        return;
    }
    QActionEvent changed(QEvent::ActionChanged, m_changed);
    QCoreApplication::sendEvent(m_bar, &changed);
}

QList<QString> MenuBarChanges::looks() const
{
    QList<QString> looks;
    for (const QAction *action : m_bar->actions())
        looks << (action->isVisible() ? QStringLiteral("+") : QStringLiteral("-")) + action->text();
    return looks;
}

bool MenuBarChanges::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_bar && event->type() == QEvent::ActionChanged) {
        m_changed = static_cast<QActionEvent *>(event)->action();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace zw
