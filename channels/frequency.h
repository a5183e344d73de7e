#pragma once

#include "modelinfo.h"

#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <optional>

namespace zw
{

// A radio frequency as the radio counts it: a whole number of 10 Hz units (145.0125 MHz is
// 14501250). Zero is "no frequency", what an empty channel holds.
class Frequency final
{
public:
    static constexpr qint64 unitsPerMHz = 100000;
    // The two channel rasters the radio accepts, in units: 6.25 kHz and 5 kHz.
    static constexpr qint64 raster6250Hz = 625;
    static constexpr qint64 raster5kHz = 500;

    constexpr Frequency() = default;
    static constexpr Frequency fromUnits(qint64 units) { return Frequency(units); }

    // A reading in MHz rounded to whole units, an exact half to the even neighbour. A sixth
    // decimal of 5 is an exact half in decimal but not quite one after the product in binary
    // floating point, so anything within a hair of .5 counts as the half. Nothing for a reading
    // that is not finite or too large to count (beyond 10^12 MHz).
    static std::optional<Frequency> fromMHz(double mhz);

    // A field text read the way every number of a channel is read (see readNumber()), then
    // rounded as fromMHz(). Text without a leading number reads as no frequency.
    static std::optional<Frequency> fromText(QStringView text);

    // The reading in units before any rounding, for rules that round a difference themselves.
    static constexpr double unitsIn(double mhz) { return mhz * double(unitsPerMHz); }

    constexpr qint64 units() const { return m_units; }
    constexpr double mhz() const { return double(m_units) / double(unitsPerMHz); }
    constexpr bool isNone() const { return m_units == 0; }

    // True on a multiple of 6.25 kHz or of 5 kHz.
    constexpr bool isOnRaster() const
    {
        return m_units % raster6250Hz == 0 || m_units % raster5kHz == 0;
    }

    // Kept when on the raster; otherwise cut down (toward zero) to a multiple of 5 kHz.
    constexpr Frequency snappedToRaster() const
    {
        return isOnRaster() ? *this : Frequency(m_units / raster5kHz * raster5kHz);
    }

    // Inside the band the model's caption names, bandLow..bandHigh inclusive.
    bool isInBand(const BandLimits &band) const;

    // The text every frequency field holds, "###.00000" (see formatFrequency()).
    QString text() const;

    constexpr Frequency operator+(Frequency other) const
    {
        return Frequency(m_units + other.m_units);
    }
    constexpr Frequency operator-(Frequency other) const
    {
        return Frequency(m_units - other.m_units);
    }
    constexpr bool operator==(Frequency other) const { return m_units == other.m_units; }
    constexpr bool operator!=(Frequency other) const { return m_units != other.m_units; }
    constexpr bool operator<(Frequency other) const { return m_units < other.m_units; }

private:
    constexpr explicit Frequency(qint64 units) : m_units(units) {}

    qint64 m_units = 0;
};

} // namespace zw
