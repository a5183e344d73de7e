#include "cellentry.h"

#include "numberreader.h"

#include <cmath>

namespace zw
{

namespace
{

constexpr double unitsPerMHz = 100000.0; // 10 Hz units
constexpr qint64 raster625 = 625;        // 6.25 kHz
constexpr qint64 raster500 = 500;        // 5 kHz

// Rounds to the nearest whole number, an exact half to the even neighbour. A frequency typed
// with a sixth decimal of 5 is an exact half in decimal but not quite one after the product in
// binary floating point, so anything within a hair of .5 counts as the half.
qint64 roundHalfEven(double value)
{
    const double whole = std::floor(value);
    const double fraction = value - whole;
    if (std::fabs(fraction - 0.5) < 1e-6) {
        const auto lower = static_cast<qint64>(whole);
        return lower % 2 == 0 ? lower : lower + 1;
    }
    return std::llround(value);
}

// Held in band, snapped to the raster and written as "###.00000". The text is written from the
// raster units, so that what is stored is exactly the frequency the raster accepted.
QString enteredFrequency(const QString &text, const BandLimits &band, bool *outOfRange)
{
    const double held = holdInBand(readNumber(text), band, outOfRange);
    return formatFrequency(static_cast<double>(rasterUnits(held)) / unitsPerMHz);
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

qint64 rasterUnits(double mhz)
{
    const qint64 units = roundHalfEven(mhz * unitsPerMHz);
    if (units % raster625 == 0 || units % raster500 == 0)
        return units;
    // Cut down (toward zero, like the quotient) to a multiple of 5 kHz.
    return units / raster500 * raster500;
}

bool isEmptyChannel(const ChannelRecord &record)
{
    return readNumber(record[RxFrequency]) == 0.0;
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
