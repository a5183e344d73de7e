#pragma once

#include <QEvent>
#include <QObject>

namespace zw::test
{

// Counts the events of one type an object receives while the counter lives.
class EventCounter : public QObject
{
public:
    EventCounter(QObject *watched, QEvent::Type type, int *count) : m_type(type), m_count(count)
    {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == m_type)
            ++*m_count;
        return false;
    }

private:
    QEvent::Type m_type;
    int *m_count;
};

} // namespace zw::test
