#include "afterfirstpaint.h"

#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace zw
{

namespace
{

// Watches its widget (its parent) for the first paint, hands `work` to the event loop and goes.
class FirstPaintWatch final : public QObject
{
public:
    FirstPaintWatch(QWidget *widget, QObject *context, std::function<void()> work)
        : QObject(widget), m_context(context), m_work(std::move(work))
    {
        widget->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == parent() && event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            // After the paint has reached the screen, when the event queue is empty.
            if (m_context)
                QTimer::singleShot(0, m_context, std::move(m_work));
            deleteLater();
        }
        return false;
    }

private:
    QPointer<QObject> m_context;
    std::function<void()> m_work;
};

} // namespace

void runAfterFirstPaint(QWidget *widget, QObject *context, std::function<void()> work)
{
    new FirstPaintWatch(widget, context, std::move(work));
}

} // namespace zw
