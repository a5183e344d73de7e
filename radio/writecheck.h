#pragma once

#include "codec.h"

#include <QByteArray>
#include <QList>

namespace zw
{

// Where two contents of a radio differ: the channels (1..16) and whether the squelch level or
// the channel tone do.
struct ContentsDifference {
    QList<int> channels;
    bool settings = false;

    bool any() const { return settings || !channels.isEmpty(); }
};

// Compares channels and settings as the radio carries them. Both sides go through the read's
// decoding, so what a read would show is compared, not characters a read ignores (the channel
// number, characters 19-20, the trailer's model code).
ContentsDifference compareContents(const RadioChannels &a, const TrailerSettings &aSettings,
                                   const RadioChannels &b, const TrailerSettings &bSettings);

// What a write of `records` and the two settings leaves in a radio of `model`, as its read
// shows it.
struct RadioContents {
    RadioChannels channels;
    TrailerSettings settings;
};
RadioContents contentsOfWrite(const ChannelTable &records, const QString &squelchLevel,
                              const QString &channelTone, Model model);

// The channels and settings the 544 characters of a write's channel image carry.
RadioChannels imageChannels(const QByteArray &image, double receiveOffsetMHz);
TrailerSettings imageSettings(const QByteArray &image);

} // namespace zw
