#pragma once

#include <QObject>
#include <QTimer>

namespace zw
{

class MainWindow;

// Ends the program as 退出系统 does when a termination signal asks for it: a transfer under way
// finishes first, then the port closes and its lock file goes. A question the program is
// asking then (such as whether to write without a backup) is answered "no" at once, and so is
// every later one: the program never starts what it was asking about on its way out.
class ProgramExit final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ProgramExit)

public:
    explicit ProgramExit(MainWindow *window, QObject *parent = nullptr);
    ~ProgramExit() override;

    // Declines the open questions and closes the main window as soon as it can be closed.
    void request();

signals:
    // The main window has closed: the event loops may end now.
    void finished();

private:
    bool tryClose();

    MainWindow *m_window;
    QTimer m_retry;
    bool m_finished = false;
};

} // namespace zw
