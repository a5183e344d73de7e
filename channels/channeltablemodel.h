#pragma once

#include "channelrecord.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <array>

namespace zw
{

class ChannelDocument;

// The nine grid columns over a channel document: 信道号, 接收频率, 收哑音, 发送频率, 发哑音, 扫描,
// BCL, 拍频, 功率. Only the two frequency columns take typed text, and the model does not store
// it: it hands each typed text to `cellEdited`, whose handler applies the entry rules.
class ChannelTableModel final : public QAbstractTableModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ChannelTableModel)

public:
    static constexpr int columnCountValue = 9;
    static constexpr int rxFrequencyColumn = 1;
    static constexpr int txFrequencyColumn = 3;

    explicit ChannelTableModel(ChannelDocument *document, QObject *parent = nullptr);

    // Field index shown in grid column `column` (0..8).
    static int fieldOfColumn(int column);

    void setCaptions(const QStringList &captions); // nine column captions
    QStringList captions() const { return m_captions; }

    // While locked (during a transfer with the radio, or on a read-only database) no cell
    // takes typed text.

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

signals:
    // The user finished typing `text` into grid column 1 or 3 of `row`.
    void cellEdited(int row, int column, const QString &text);

private:
    ChannelDocument *m_document;
    QStringList m_captions;
};

} // namespace zw
