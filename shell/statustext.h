#pragma once

#include <QStaticText>
#include <QWidget>

namespace zw
{

// One text of the main window's status bar, drawn as a label would draw it. A label has the bar
// laid out again for every new text, and the bar then measures each of its texts and draws all
// of them. Here a new text that fits the room the text has (a new count, a new time) draws this
// text alone, from a layout made once per text. A text that needs other room has the bar laid
// out again; one that `keepsRoom` (the bar's last, stretching text) never gives room back, so
// the counts of a transfer move nothing.
class StatusText final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(StatusText)

public:
    explicit StatusText(QWidget *parent = nullptr, bool keepsRoom = false);
    ~StatusText() override;

    QString text() const { return m_text; }
    void setText(const QString &text);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    // Lays the text out in the widget's font; says whether the room it needs changed.
    bool layOut();

    QString m_text;
    QStaticText m_laidOut;
    QSize m_room; // the room the text needs
    bool m_keepsRoom;
};

} // namespace zw
