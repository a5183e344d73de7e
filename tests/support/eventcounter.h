#pragma once

#include <QEvent>
#include <QObject>

namespace zw::test
{

// Counts in `count` the events of one type that `watched` receives while the counter lives.
class EventCounter : public QObject
{
public:
    EventCounter(QObject *watched, QEvent::Type type, int *count) : m_type(type), m_count(count)
    {
        watched->installEventFilter(this);
    }
    bool eventFilter(QObject *, QEvent *event) override
    {
        *m_count += event->type() == m_type;
        return false;
    }

private:
    QEvent::Type m_type;
    int *m_count;
};

} // namespace zw::test
