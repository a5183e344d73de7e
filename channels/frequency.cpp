#include "frequency.h"

#include "numberreader.h"

#include <cmath>

namespace zw
{

namespace
{

constexpr double largestCountableMHz = 1e12;

} // namespace

std::optional<Frequency> Frequency::fromMHz(double mhz)
{
    if (!std::isfinite(mhz) || std::fabs(mhz) > largestCountableMHz)
        return std::nullopt;
    const double value = unitsIn(mhz);
    const double whole = std::floor(value);
    if (std::fabs(value - whole - 0.5) < 1e-6) {
        const auto lower = static_cast<qint64>(whole);
        return Frequency(lower % 2 == 0 ? lower : lower + 1);
    }
    return Frequency(std::llround(value));
}

std::optional<Frequency> Frequency::fromText(QStringView text)
{
    return fromMHz(readNumber(text));
}

bool Frequency::isInBand(const BandLimits &band) const
{
    return m_units >= std::llround(unitsIn(band.bandLow)) &&
           m_units <= std::llround(unitsIn(band.bandHigh));
}

QString Frequency::text() const
{
    return formatFrequency(mhz());
}

} // namespace zw
