#pragma once

#include <QObject>

class QWidget;

namespace zw
{

// Qt builds a good deal on first use: the styles of a table view, its headers and of drop-down
// lists with a style sheet, and the glyphs of the CJK font at the grid's size. Left to the
// first model window, that work doubles the time it takes to appear. This does it once, in the
// idle time after the main window's first paint (never before it), on widgets like the model
// window's that are drawn off screen and thrown away.
class IdleWarmUp final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(IdleWarmUp)

public:
    // Watches `window` for its first paint; owned by it.
    explicit IdleWarmUp(QWidget *window);

    bool isDone() const { return m_done; }

signals:
    void done();

private:
    void warmUp();

    bool m_done = false;
};

} // namespace zw
