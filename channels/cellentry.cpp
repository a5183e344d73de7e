#include "cellentry.h"

#include "frequency.h"
#include "numberreader.h"

namespace zw
{

namespace
{

// Held in band, snapped to the raster and written as "###.00000". The text is written from the
// snapped units, so that what is stored is exactly the frequency the raster accepted.
QString enteredFrequency(const QString &text, const BandLimits &band, bool *outOfRange)
{
    const double held = holdInBand(readNumber(text), band, outOfRange);
    // Held inside the clamp limits, the reading always counts.
    return Frequency::fromMHz(held).value_or(Frequency()).snappedToRaster().text();
}

} // namespace

double holdInBand(double mhz, const BandLimits &band, bool *outOfRange)
{
    bool warn = false;
    if (mhz < band.clampFloor) {
        mhz = band.bandLow;
        warn = true;
    } else if (mhz < band.bandLow) {
        warn = true;
    }
    if (mhz > band.clampCeiling) {
        mhz = band.bandHigh;
        warn = true;
    } else if (mhz > band.bandHigh) {
        warn = true;
    }
    if (outOfRange)
        *outOfRange = warn;
    return mhz;
}

bool isEmptyChannel(const ChannelRecord &record)
{
    return readNumber(record[RxFrequency]) == 0.0;
}

bool isOutsideBand(const QString &text, const BandLimits &band)
{
    const double mhz = readNumber(text);
    return mhz != 0.0 && (mhz < band.bandLow || mhz > band.bandHigh);
}

QList<int> channelsOutsideBand(const ChannelTable &table, const BandLimits &band)
{
    QList<int> channels;
    for (int row = 0; row < channelCount; ++row) {
        const ChannelRecord &record = table[static_cast<std::size_t>(row)];
        if (!isEmptyChannel(record) &&
            (isOutsideBand(record[RxFrequency], band) || isOutsideBand(record[TxFrequency], band)))
            channels.append(row + 1);
    }
    return channels;
}

CellEntryResult checkRxFrequency(const ChannelRecord &record, const BandLimits &band)
{
    CellEntryResult result{record, false};
    ChannelRecord &r = result.record;
    if (isEmptyChannel(record)) {
        for (int field : {RxFrequency, TxFrequency, RxTone, TxTone, Scan, Bcl, Beat, Power})
            r[field] = QString(QLatin1String(""));
        return result;
    }
    r[RxFrequency] = enteredFrequency(record[RxFrequency], band, &result.outOfRange);
    r[TxFrequency] = r[RxFrequency];
    r[Scan] = QStringLiteral("add");
    r[Bcl] = QStringLiteral("off");
    r[Beat] = QStringLiteral("off");
    r[Power] = QStringLiteral("H");
    return result;
}

CellEntryResult checkTxFrequency(const ChannelRecord &record, const BandLimits &band)
{
    CellEntryResult result{record, false};
    ChannelRecord &r = result.record;
    if (isEmptyChannel(record) || readNumber(record[TxFrequency]) == 0.0) {
        r[TxFrequency] = QString(QLatin1String(""));
        return result;
    }
    r[TxFrequency] = enteredFrequency(record[TxFrequency], band, &result.outOfRange);
    return result;
}

} // namespace zw
