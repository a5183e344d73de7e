#pragma once

#include "channelrecord.h"
#include "channelstore.h"
#include "sampletables.h"

#include <QString>

namespace zw::test
{

// The edits of the store-burst helper (tests/storeburst.cpp), numbered from 1. An odd edit
// rewrites the receive frequency of all 16 records in one transaction; an even edit changes
// the transmit frequency of one record. Any prefix of the sequence gives a table that no other
// prefix gives, so the table tells exactly how many edits it holds.
inline QString burstValue(int edit, int row)
{
    return QStringLiteral("%1.%2").arg(edit).arg(row, 2, 10, QLatin1Char('0'));
}

inline int burstRow(int edit)
{
    return (edit / 2) % channelCount;
}

inline void applyBurstEdit(ChannelTable &table, int edit)
{
    if (edit % 2) {
        for (int row = 0; row < channelCount; ++row)
            table[std::size_t(row)][RxFrequency] = burstValue(edit, row);
    } else {
        table[std::size_t(burstRow(edit))][TxFrequency] = burstValue(edit, burstRow(edit));
    }
}

inline Result applyBurstEdit(ChannelStore &store, int edit)
{
    ChannelTable table = store.records();
    applyBurstEdit(table, edit);
    if (edit % 2)
        return store.setRecords(table);
    const int row = burstRow(edit);
    return store.setField(row, TxFrequency, table[std::size_t(row)][TxFrequency]);
}

// What a fresh database holds after edits 1 to `edits` (tests only: needs the test support).
inline ChannelTable tableAfterBurst(int edits)
{
    ChannelTable table = emptyTable();
    for (int edit = 1; edit <= edits; ++edit)
        applyBurstEdit(table, edit);
    return table;
}

} // namespace zw::test
