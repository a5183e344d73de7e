#pragma once

#include "modelinfo.h"

#include <QStyledItemDelegate>

namespace zw
{

// Draws the channel grid's cells, marking a frequency kept outside the band (typed into the
// band's warning margin, which the check keeps with its range message): the cell is tinted and
// its tool tip names the band, so such a channel stands out before it goes to the radio.
class BandMarkDelegate final : public QStyledItemDelegate
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BandMarkDelegate)

public:
    // The tool tip in English when `english`, else in Chinese.
    BandMarkDelegate(const BandLimits &band, bool english, QObject *parent = nullptr);

    // Whether the cell at `index` is marked.
    bool isMarked(const QModelIndex &index) const;
    QString toolTip() const;

    bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                   const QModelIndex &index) override;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;

private:
    BandLimits m_band;
    bool m_english = false;
};

} // namespace zw
