#include "bandmarkdelegate.h"

#include "cellentry.h"
#include "channeltablemodel.h"
#include "messages.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QToolTip>

namespace zw
{

BandMarkDelegate::BandMarkDelegate(const BandLimits &band, bool english, QObject *parent)
    : QStyledItemDelegate(parent), m_band(band), m_english(english)
{
}

bool BandMarkDelegate::isMarked(const QModelIndex &index) const
{
    return (index.column() == ChannelTableModel::rxFrequencyColumn ||
            index.column() == ChannelTableModel::txFrequencyColumn) &&
           isOutsideBand(index.data(Qt::DisplayRole).toString(), m_band);
}

QString BandMarkDelegate::toolTip() const
{
    return outsideBandTip(m_band, m_english);
}

bool BandMarkDelegate::helpEvent(QHelpEvent *event, QAbstractItemView *view,
                                 const QStyleOptionViewItem &option, const QModelIndex &index)
{
    if (event && event->type() == QEvent::ToolTip && isMarked(index)) {
        QToolTip::showText(event->globalPos(), toolTip(), view, view->visualRect(index));
        return true;
    }
    return QStyledItemDelegate::helpEvent(event, view, option, index);
}

void BandMarkDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (isMarked(index))
        option->backgroundBrush = QColor(255, 214, 153); // a light amber, readable under black
}

} // namespace zw
