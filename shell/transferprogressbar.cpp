#include "transferprogressbar.h"

#include <QEvent>
#include <QPainter>
#include <QStyleOptionProgressBar>

#include <algorithm>

namespace zw
{

TransferProgressBar::TransferProgressBar(QWidget *parent) : QProgressBar(parent)
{
    setFormat(QStringLiteral("%v/%m"));
    setTextVisible(true);
    // Bar and count over the whole width, in every style.
    setAlignment(Qt::AlignCenter);
    // Opaque: a paint of the bar draws the bar alone, not the window's frame and title behind.
    setAutoFillBackground(true);
}

TransferProgressBar::~TransferProgressBar() = default;

void TransferProgressBar::showCount(int done, int total)
{
    // With its text shown, QProgressBar repaints at once on each new value; with updates held
    // over the change the bar is drawn once, on the next paint.
    const bool updating = updatesEnabled();
    setUpdatesEnabled(false);
    setRange(0, total);
    setValue(done);
    setUpdatesEnabled(updating);
}

const QStaticText &TransferProgressBar::laidOut(QChar character)
{
    auto found = m_characters.find(character.unicode());
    if (found == m_characters.end()) {
        QStaticText text{QString(character)};
        text.setTextFormat(Qt::PlainText);
        text.prepare(QTransform(), font());
        found = m_characters.insert(character.unicode(), text);
    }
    return *found;
}

QPixmap TransferProgressBar::drawnBar(const QStyleOptionProgressBar &option, int progress) const
{
    const qreal ratio = devicePixelRatioF();
    QPixmap bar(option.rect.size() * ratio);
    bar.setDevicePixelRatio(ratio);
    bar.fill(Qt::transparent);
    QStyleOptionProgressBar at = option;
    at.progress = progress;
    QPainter painter(&bar);
    style()->drawControl(QStyle::CE_ProgressBar, &at, &painter, this);
    return bar;
}

void TransferProgressBar::paintEvent(QPaintEvent *)
{
    QStyleOptionProgressBar option;
    initStyleOption(&option);
    const QString count = option.text;
    option.textVisible = false; // the style draws groove and bar; the count follows
    QPainter painter(this);
    if (option.maximum <= option.minimum) {
        style()->drawControl(QStyle::CE_ProgressBar, &option, &painter, this);
        return;
    }
    if (m_barsSize != option.rect.size() || m_barsState != option.state ||
        m_emptyBar.devicePixelRatio() != devicePixelRatioF()) {
        m_emptyBar = drawnBar(option, option.minimum);
        m_fullBar = drawnBar(option, option.maximum);
        m_barsSize = option.rect.size();
        m_barsState = option.state;
    }

    // Where the bar's filled part ends. The count is drawn in the highlighted text's colour
    // over it and in the text colour over the rest, as the styles draw a bar's label.
    const QRectF area = option.rect;
    const qreal span = qreal(option.maximum) - option.minimum;
    const qreal filled = area.width() * (option.progress - option.minimum) / span;
    const bool fromRight = layoutDirection() == Qt::RightToLeft;
    QRectF over = area;
    over.setWidth(filled);
    if (fromRight)
        over.moveRight(area.right());
    QRectF rest = area;
    if (fromRight)
        rest.setRight(over.left());
    else
        rest.setLeft(over.right());

    painter.drawPixmap(area.topLeft(), m_emptyBar);
    if (filled > 0) {
        painter.setClipRect(over);
        painter.drawPixmap(area.topLeft(), m_fullBar);
    }
    if (count.isEmpty())
        return;

    qreal width = 0;
    for (QChar c : count)
        width += laidOut(c).size().width();
    const qreal height = laidOut(count.front()).size().height();
    const QPointF at(area.center().x() - width / 2, area.center().y() - height / 2);
    painter.setFont(font());
    const std::pair<QRectF, QColor> parts[] = {
        {rest, option.palette.color(QPalette::Text)},
        {over, option.palette.color(QPalette::HighlightedText)},
    };
    for (const auto &[clip, colour] : parts) {
        if (clip.width() <= 0)
            continue;
        painter.setClipRect(clip);
        painter.setPen(colour);
        QPointF pen = at;
        for (QChar c : count) {
            const QStaticText &text = laidOut(c);
            painter.drawStaticText(pen, text);
            pen.rx() += text.size().width();
        }
    }
}

void TransferProgressBar::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        m_characters.clear();
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange)
        m_barsSize = QSize(); // drawn again with the next paint
    QProgressBar::changeEvent(event);
}

} // namespace zw
