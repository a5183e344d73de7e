#pragma once

#include <QHeaderView>
#include <QMouseEvent>

#include <memory>

namespace zw
{

// A header of the channel grid. Qt sizes header sections for bold text, so that a highlighted
// section never needs more room; for the grid's CJK font that loads a bold CJK font of several
// megabytes that nothing ever draws (the grid's sections are never highlighted). This header
// measures its sections in the font it draws with.
//
// Qt keeps a few pixels on each side of a section boundary for resizing, and a press there on
// a section that cannot be resized does nothing at all. The grid's rows and columns have fixed
// sizes, so this header has no resize zone: a press anywhere on a section selects it.
class GridHeader final : public QHeaderView
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(GridHeader)

public:
    explicit GridHeader(Qt::Orientation orientation, QWidget *parent = nullptr);

protected:
    QSize sectionSizeFromContents(int logicalIndex) const override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    // `event` moved to the middle of the section under it when that section cannot be
    // resized, so Qt's own handling selects it; null when it is to be handled as it is.
    std::unique_ptr<QMouseEvent> awayFromTheEdge(const QMouseEvent *event) const;
};

} // namespace zw
