#include "gridheader.h"

#include <QStyleOptionHeader>

namespace zw
{

GridHeader::GridHeader(Qt::Orientation orientation, QWidget *parent)
    : QHeaderView(orientation, parent)
{
    setHighlightSections(false);
}

QSize GridHeader::sectionSizeFromContents(int logicalIndex) const
{
    if (!model())
        return {};
    QStyleOptionHeader option;
    initStyleOption(&option);
    option.section = logicalIndex;
    option.fontMetrics = fontMetrics();
    option.text = model()->headerData(logicalIndex, orientation()).toString();
    return style()->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), this);
}

std::unique_ptr<QMouseEvent> GridHeader::awayFromTheEdge(const QMouseEvent *event) const
{
    const QPoint at = event->position().toPoint();
    const int position = orientation() == Qt::Horizontal ? at.x() : at.y();
    const int section = logicalIndexAt(position);
    if (section < 0 || sectionResizeMode(section) == Interactive)
        return nullptr;
    // The neighbour whose edge this may be must not be resizable either.
    const int visual = visualIndex(section);
    for (int neighbour : {logicalIndex(visual - 1), logicalIndex(visual + 1)})
        if (neighbour >= 0 && sectionResizeMode(neighbour) == Interactive)
            return nullptr;
    const int middle = sectionViewportPosition(section) + sectionSize(section) / 2;
    const QPoint moved =
        orientation() == Qt::Horizontal ? QPoint(middle, at.y()) : QPoint(at.x(), middle);
    return std::make_unique<QMouseEvent>(
        event->type(), QPointF(moved), event->scenePosition() + QPointF(moved - at),
        event->globalPosition() + QPointF(moved - at), event->button(), event->buttons(),
        event->modifiers(), event->pointingDevice());
}

void GridHeader::mousePressEvent(QMouseEvent *event)
{
    if (const std::unique_ptr<QMouseEvent> moved = awayFromTheEdge(event)) {
        QHeaderView::mousePressEvent(moved.get());
        event->setAccepted(moved->isAccepted());
        return;
    }
    QHeaderView::mousePressEvent(event);
}

void GridHeader::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (const std::unique_ptr<QMouseEvent> moved = awayFromTheEdge(event)) {
        QHeaderView::mouseDoubleClickEvent(moved.get());
        event->setAccepted(moved->isAccepted());
        return;
    }
    QHeaderView::mouseDoubleClickEvent(event);
}

} // namespace zw
