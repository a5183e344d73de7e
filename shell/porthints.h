#pragma once

#include <QObject>
#include <QString>

namespace zw
{

class ModelWindow;

// A port message as shown, with a second line naming the group that grants access when this
// user may not use the device (a fresh Linux user is seldom in the dialout group).
QString withPortAccessHint(const QString &message, const QString &device);

// What a model window's status line says when the pointer rests on it: while the radio has
// not answered the ready poll, what to check; nothing once it is ready or during a transfer.
QString statusLineHint(const ModelWindow &window);

// Keeps the status line's tooltip to statusLineHint(), worked out when the tooltip is asked for.
class StatusLineHint final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(StatusLineHint)

public:
    explicit StatusLineHint(ModelWindow *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    ModelWindow *m_window;
};

} // namespace zw
