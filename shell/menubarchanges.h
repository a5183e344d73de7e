#pragma once

#include <QList>
#include <QObject>
#include <QString>

class QAction;
class QMenuBar;

namespace zw
{

// Greys a menu bar's items (or brings them back) as one change. For every item that changes,
// a menu bar measures all its items again and asks the window around it to lay itself out
// again, and a model window's frame then works out its title bar anew: four items greyed at a
// transfer's start cost as much as the rest of a read's work on the screen. While an instance
// lives, the bar's notices of changed items are held back; when it goes, the bar is drawn
// again. Only when an item changed more than its state (its text, whether it shows) does the
// bar get one notice and measure its items again.
class MenuBarChanges : public QObject
{
public:
    explicit MenuBarChanges(QMenuBar *bar);
    ~MenuBarChanges() override;
    MenuBarChanges(const MenuBarChanges &) = delete;
    MenuBarChanges &operator=(const MenuBarChanges &) = delete;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // What the bar's measure depends on: the items, their texts and whether they show.
    QList<QString> looks() const;

    QMenuBar *m_bar;
    QList<QString> m_looksBefore;
    QAction *m_changed = nullptr; // the last item whose notice was held back
};

} // namespace zw
