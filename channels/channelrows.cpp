#include "channelrows.h"

#include "cellentry.h"

#include <algorithm>
#include <utility>

namespace zw
{

ChannelTable clearChannels(const ChannelTable &table, const QList<int> &rows,
                           const BandLimits &band)
{
    ChannelTable next = table;
    for (int row : rows) {
        if (row < 0 || row >= channelCount)
            continue;
        ChannelRecord record = table[static_cast<std::size_t>(row)];
        record[RxFrequency] = QString();
        next[static_cast<std::size_t>(row)] = checkRxFrequency(record, band).record;
    }
    return next;
}

std::optional<ChannelTable> moveChannels(const ChannelTable &table, QList<int> rows, int step,
                                         QList<int> *movedTo)
{
    if (rows.isEmpty() || (step != -1 && step != 1))
        return std::nullopt;
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (rows.first() + step < 0 || rows.last() + step >= channelCount)
        return std::nullopt;
    // Walk toward the direction of the move, so a block moves as one: each row trades places
    // with the neighbour that has not moved yet.
    if (step > 0)
        std::reverse(rows.begin(), rows.end());
    ChannelTable next = table;
    QList<int> moved;
    for (int row : rows) {
        ChannelRecord &from = next[static_cast<std::size_t>(row)];
        ChannelRecord &to = next[static_cast<std::size_t>(row + step)];
        std::swap(from, to);
        std::swap(from[ChannelNumber], to[ChannelNumber]); // the numbers stay where they were
        moved.append(row + step);
    }
    std::sort(moved.begin(), moved.end());
    if (movedTo)
        *movedTo = moved;
    return next;
}

} // namespace zw
