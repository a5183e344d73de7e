#pragma once

#include "modalguard.h"

#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

namespace zw::test
{

// Answers every modal message box that appears while it is alive (clicking its first button,
// or the button whose text is set with answerWith) and records what the box showed, so tests
// can compare icon, title and text exactly.
class MessageBoxAnswerer final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MessageBoxAnswerer)

public:
    struct Seen {
        QMessageBox::Icon icon;
        QString title;
        QString text;
        QStringList buttons;
        bool parentVisible; // the window the box belongs to was on screen
    };

    MessageBoxAnswerer();
    ~MessageBoxAnswerer() override;

    const QList<Seen> &seen() const { return m_seen; }
    int count() const { return int(m_seen.size()); }
    void clear() { m_seen.clear(); }
    // Clicks the button with this text instead of the first one (for boxes with a choice).
    void answerWith(const QString &buttonText) { m_answer = buttonText; }
    // Runs `look` while each box is still up, before it is answered (to see what the windows
    // behind it show meanwhile).
    void whileShown(std::function<void()> look) { m_look = std::move(look); }

private:
    void poll();

    ExpectedDialog m_expected{QMessageBox::staticMetaObject};
    QTimer m_timer;
    QList<Seen> m_seen;
    QString m_answer;
    std::function<void()> m_look;
};

} // namespace zw::test
