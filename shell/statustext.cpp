#include "statustext.h"

#include <QEvent>
#include <QPainter>

#include <cmath>

namespace zw
{

StatusText::StatusText(QWidget *parent, bool keepsRoom) : QWidget(parent), m_keepsRoom(keepsRoom)
{
    m_laidOut.setTextFormat(Qt::PlainText);
    layOut();
}

StatusText::~StatusText() = default;

void StatusText::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    setAccessibleName(text); // what a label tells a screen reader
    if (layOut())
        updateGeometry();
    update();
}

bool StatusText::layOut()
{
    m_laidOut.setText(m_text);
    m_laidOut.prepare(QTransform(), font());
    const QSizeF size = m_laidOut.size();
    // An empty text takes the room of an empty label: a character's width.
    const QFontMetrics metrics = fontMetrics();
    QSize room = m_text.isEmpty()
                     ? QSize(metrics.averageCharWidth(), metrics.height())
                     : QSize(int(std::ceil(size.width())),
                             std::max(metrics.height(), int(std::ceil(size.height()))));
    if (m_keepsRoom)
        room = room.expandedTo(m_room);
    const bool changed = room != m_room;
    m_room = room;
    return changed;
}

QSize StatusText::sizeHint() const
{
    return m_room;
}

QSize StatusText::minimumSizeHint() const
{
    return m_room;
}

void StatusText::paintEvent(QPaintEvent *)
{
    if (m_text.isEmpty())
        return;
    QPainter painter(this);
    const QPalette::ColorGroup group = !isEnabled()       ? QPalette::Disabled
                                       : isActiveWindow() ? QPalette::Active
                                                          : QPalette::Inactive;
    painter.setPen(palette().color(group, foregroundRole()));
    const QSizeF size = m_laidOut.size();
    // Left and centred in the height, as a label places a line (a right-to-left text: right).
    const qreal x = m_text.isRightToLeft() ? width() - size.width() : 0;
    painter.drawStaticText(QPointF(x, std::floor((height() - size.height()) / 2)), m_laidOut);
}

void StatusText::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange) {
        if (m_keepsRoom)
            m_room = QSize(); // the room kept was measured in the old font
        layOut();
        updateGeometry();
    }
    QWidget::changeEvent(event);
}

} // namespace zw
