#include "tablemerge.h"

namespace zw
{

ChannelTable mergeRadioChannels(const ChannelTable &current, const RadioChannels &radio)
{
    ChannelTable table = current;
    for (std::size_t row = 0; row < table.size(); ++row) {
        ChannelRecord &record = table[row];
        const RadioChannel &channel = radio[row];
        if (!channel.inUse) {
            for (int field = RxFrequency; field <= Power; ++field)
                record[field].clear();
            continue;
        }
        record[RxFrequency] = channel.rxFrequency;
        record[RxTone] = channel.rxTone;
        record[TxFrequency] = channel.txFrequency;
        record[TxTone] = channel.txTone;
        record[Bcl] = channel.bcl;
        if (channel.beat)
            record[Beat] = *channel.beat;
        if (channel.scan)
            record[Scan] = *channel.scan;
        record[Power] = channel.power;
    }
    return table;
}

ChannelTable mergeChannelFile(const ChannelTable &current, const ChannelTable &loaded)
{
    ChannelTable table = current;
    for (std::size_t row = 0; row < table.size(); ++row) {
        for (int field = RxFrequency; field <= Power; ++field)
            table[row][field] = loaded[row][field];
    }
    return table;
}

} // namespace zw
