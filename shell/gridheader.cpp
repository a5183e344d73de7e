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

} // namespace zw
