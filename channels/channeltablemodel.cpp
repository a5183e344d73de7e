#include "channeltablemodel.h"

#include "channeldocument.h"

namespace zw
{

namespace
{
constexpr std::array<int, ChannelTableModel::columnCountValue> columnFields{
    ChannelNumber, RxFrequency, RxTone, TxFrequency, TxTone, Scan, Bcl, Beat, Power};
}

ChannelTableModel::ChannelTableModel(ChannelDocument *document, QObject *parent)
    : QAbstractTableModel(parent), m_document(document)
{
    connect(m_document, &ChannelDocument::recordsChanged, this, [this](int first, int last) {
        emit dataChanged(index(first, 0), index(last, columnCountValue - 1));
    });
    // Held or not, only the cells' flags change, and a view asks for those when an edit
    // starts: nothing is drawn again for a transfer's hold (twice per read or write).
}

int ChannelTableModel::fieldOfColumn(int column)
{
    return columnFields.at(static_cast<std::size_t>(column));
}

void ChannelTableModel::setCaptions(const QStringList &captions)
{
    m_captions = captions;
    emit headerDataChanged(Qt::Horizontal, 0, columnCountValue - 1);
}

int ChannelTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : channelCount;
}

int ChannelTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : columnCountValue;
}

QVariant ChannelTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return m_document->record(index.row())[fieldOfColumn(index.column())];
}

QVariant ChannelTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return QString();
    return section < m_captions.size() ? m_captions.at(section) : QString();
}

Qt::ItemFlags ChannelTableModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    const bool typable = index.column() == rxFrequencyColumn || index.column() == txFrequencyColumn;
    if (typable && !m_document->isEditingHeld() && m_document->isEditable())
        f |= Qt::ItemIsEditable;
    return f;
}

bool ChannelTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    emit cellEdited(index.row(), index.column(), value.toString());
    return true;
}

} // namespace zw
