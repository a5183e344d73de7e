#pragma once

#include "radiosession.h"

#include <QObject>

class QProgressBar;

namespace zw
{

class ModelWindow;

// Read Data and Write Data of a model window over the window's radio session: keeps the status
// line and the progress bar beside it, holds the transfer lock while a transfer runs, hands a
// good read to the window's table replacement, and tells the user what went wrong. Created by
// the window and owned by it.
class RadioTransfer final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RadioTransfer)

public:
    explicit RadioTransfer(ModelWindow *window);

    QProgressBar *progressBar() const { return m_progress; }

private:
    // Refuses while this window or another one transfers (the latter with a message); else
    // locks the window for the transfer.
    bool lockForTransfer();
    void beginRead();
    void beginWrite();
    void onReadFinished(const ReadResult &result);
    void onWriteFinished(const WriteResult &result);
    void showProgress(int done, int total);
    void endTransfer();

    ModelWindow *m_window;
    RadioSession *m_session;
    QProgressBar *m_progress;
};

} // namespace zw
