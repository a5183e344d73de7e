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

    // Texts of the status line and of the messages.
    static QString readyText() { return QStringLiteral("对讲机就绪..."); }
    static QString readingText() { return QStringLiteral("正在读数据......"); }
    static QString readErrorText() { return QStringLiteral("读数错误！！"); }
    static QString otherRadioTitle() { return QStringLiteral("本机机型提示信息！！"); }
    static QString portReadFailedText()
    {
        return QStringLiteral("串行端口不能使用，没有从对讲机读出数据。");
    }
    static QString portWriteFailedText()
    {
        return QStringLiteral("串行端口不能使用，数据没有全部写入对讲机。");
    }
    static QString portBusyText()
    {
        return QStringLiteral("另一个窗口正在与对讲机传送数据，请稍后再试。");
    }
    // Texts of the write's own outcomes, in the window's language.
    static QString noAnswerText(bool english);
    static QString notIdentifiedText(bool english);
    static QString writtenText(bool english);

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
