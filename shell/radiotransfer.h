#pragma once

#include "radiolink.h"

#include <QObject>

class QProgressBar;

namespace zw
{

class ModelWindow;

// Read Data and Write Data of a model window: starts the link's transfers, keeps the status
// line and the progress bar beside it, holds the transfer lock while a transfer runs, applies
// a good read to the table and the two settings in one step, and tells the user what went
// wrong. Created by the window and owned by it.
class RadioTransfer final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RadioTransfer)

public:
    explicit RadioTransfer(ModelWindow *window);

    RadioLink *link() const { return m_link; }
    QProgressBar *progressBar() const { return m_progress; }

private:
    // Refuses while this window or another one transfers (the latter with a message); else
    // locks the window for the transfer.
    bool lockForTransfer();
    void beginRead();
    void beginWrite();
    void onReadFinished(RadioLink::Outcome outcome, const QByteArray &reply);
    void onWriteFinished(RadioLink::Outcome outcome);
    void applyReply(const QByteArray &reply);
    void showProgress(int done, int total);
    void endTransfer();

    ModelWindow *m_window;
    RadioLink *m_link;
    QProgressBar *m_progress;
};

} // namespace zw
