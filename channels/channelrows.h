#pragma once

#include "channelrecord.h"
#include "modelinfo.h"

#include <QList>

#include <optional>

namespace zw
{

// Operations on whole channels of a table. Channel numbers (信道号) never change: the channels
// stay 1 to 16 in order, and what moves is a channel's contents.

// The table with the channels at `rows` emptied exactly as deleting their receive frequency
// does: frequencies, tones, scan, BCL, beat and power emptied, the spare fields kept.
ChannelTable clearChannels(const ChannelTable &table, const QList<int> &rows,
                           const BandLimits &band);

// The table with the contents of the channels at `rows` moved one channel up (`step` -1) or
// down (+1), each trading places with its neighbour. Nothing when a row would leave 1..16.
// `movedTo` gets where the rows are afterwards.
std::optional<ChannelTable> moveChannels(const ChannelTable &table, QList<int> rows, int step,
                                         QList<int> *movedTo = nullptr);

} // namespace zw
