#include "programexit.h"

#include "mainwindow.h"
#include "messagebox.h"

namespace zw
{

ProgramExit::ProgramExit(MainWindow *window, QObject *parent) : QObject(parent), m_window(window)
{
    m_retry.setInterval(100);
    connect(&m_retry, &QTimer::timeout, this, &ProgramExit::tryClose);
}

ProgramExit::~ProgramExit() = default;

void ProgramExit::request()
{
    declineQuestions();
    // While an earlier close still waits for a transfer, or a declined question has not yet
    // returned to the code that asked it, the close is tried again until the window has
    // closed; only then do the event loops end (ending them earlier would cut the wait short).
    if (!tryClose())
        m_retry.start();
}

bool ProgramExit::tryClose()
{
    if (m_finished)
        return true;
    // Closing under an open question would close the window beneath the code that asked it,
    // and that code would wait in vain for its answer.
    if (isQuestionOpen() || !m_window->close())
        return false;
    m_retry.stop();
    m_finished = true;
    emit finished();
    return true;
}

} // namespace zw
