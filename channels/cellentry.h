#pragma once

#include "channelrecord.h"
#include "modelinfo.h"

#include <QList>

namespace zw
{

// Outcome of checking a typed frequency: the record to store, and whether the user is to be
// told "数据超出范围 ！！" (at most once per check).
struct CellEntryResult {
    ChannelRecord record;
    bool outOfRange = false;
};

// The receive-frequency check. `record` already holds the typed text in its receive frequency.
// A text that reads as 0 (empty, not a number, "0") empties the channel: receive and transmit
// frequency, both tones, scan, BCL, beat and power. Otherwise the frequency is held inside the
// band, snapped to the raster, written as "###.00000" into the receive and the transmit
// frequency, and scan/BCL/beat/power get their defaults "add"/"off"/"off"/"H". The tones and
// the channel number and spare fields are kept.
CellEntryResult checkRxFrequency(const ChannelRecord &record, const BandLimits &band);

// The transmit-frequency check. `record` already holds the typed text in its transmit
// frequency. On an empty channel, or when the text reads as 0, the transmit frequency is
// removed; otherwise it is held inside the band, snapped to the raster and written as
// "###.00000". No other field changes.
CellEntryResult checkTxFrequency(const ChannelRecord &record, const BandLimits &band);

// Range check of one frequency in MHz: below the clamp floor it becomes the band low, above the
// clamp ceiling the band high; in the warning margins it is kept. `outOfRange` is set for
// anything outside bandLow..bandHigh.
double holdInBand(double mhz, const BandLimits &band, bool *outOfRange);

// True when the record is an empty channel: its receive frequency reads as 0.
bool isEmptyChannel(const ChannelRecord &record);

// True when `text`, a stored frequency, lies outside bandLow..bandHigh: a value the check kept
// in the band's warning margin with the range message (or one a file brought in). Empty text
// and text that reads as 0 are no frequency.
bool isOutsideBand(const QString &text, const BandLimits &band);

// The channels (1..16) in use whose receive or transmit frequency is outside the band.
QList<int> channelsOutsideBand(const ChannelTable &table, const BandLimits &band);

} // namespace zw
