#pragma once

#include <QHeaderView>

namespace zw
{

// A header of the channel grid. Qt sizes header sections for bold text, so that a highlighted
// section never needs more room; for the grid's CJK font that loads a bold CJK font of several
// megabytes that nothing ever draws (the grid's sections are never highlighted). This header
// measures its sections in the font it draws with.
class GridHeader final : public QHeaderView
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(GridHeader)

public:
    explicit GridHeader(Qt::Orientation orientation, QWidget *parent = nullptr);

protected:
    QSize sectionSizeFromContents(int logicalIndex) const override;
};

} // namespace zw
