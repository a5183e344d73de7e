// The two frequency checks. The first byte picks the model and the check, the rest is the
// typed text. What a check stores must pass the same check unchanged, lie inside the clamp
// limits on the radio's raster, and be written as "###.00000"; an emptied channel is empty.

#include "cellentry.h"
#include "frequency.h"
#include "fuzzcheck.h"
#include "numberreader.h"

#include <QRegularExpression>

#include <cmath>
#include <cstdint>

namespace
{

zw::ChannelRecord sampleRecord()
{
    zw::ChannelRecord r;
    r.fields = {QStringLiteral("5"),
                QStringLiteral("145.00000"),
                QStringLiteral("88.5"),
                QStringLiteral("023"),
                QStringLiteral("146.00000"),
                QStringLiteral("D023N"),
                QString(),
                QStringLiteral("del"),
                QStringLiteral("1"),
                QStringLiteral("on"),
                QStringLiteral("L")};
    return r;
}

void checkStoredFrequency(const QString &text, const zw::BandLimits &band)
{
    static const QRegularExpression pattern(QStringLiteral("^[0-9]+\\.[0-9]{5}$"));
    FUZZ_CHECK(pattern.match(text).hasMatch());
    const double mhz = zw::readNumber(text);
    FUZZ_CHECK(mhz >= band.clampFloor && mhz <= band.clampCeiling);
    const qint64 units = std::llround(mhz * 100000.0);
    FUZZ_CHECK(units % 625 == 0 || units % 500 == 0);
    FUZZ_CHECK(zw::Frequency::fromMHz(mhz)->snappedToRaster().units() == units);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 1)
        return 0;
    const zw::Model model = zw::allModels[data[0] % zw::modelCount];
    const bool transmit = (data[0] & 4) != 0;
    const bool emptyChannel = (data[0] & 8) != 0;
    const zw::BandLimits &band = zw::modelInfo(model).band;
    const QString typed =
        QString::fromUtf8(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));

    zw::ChannelRecord record = sampleRecord();
    if (emptyChannel)
        record[zw::RxFrequency] = QString();
    record[transmit ? zw::TxFrequency : zw::RxFrequency] = typed;

    const zw::CellEntryResult result =
        transmit ? zw::checkTxFrequency(record, band) : zw::checkRxFrequency(record, band);
    const zw::ChannelRecord &r = result.record;
    FUZZ_CHECK(r[zw::ChannelNumber] == record[zw::ChannelNumber]);
    FUZZ_CHECK(r[zw::Spare3] == record[zw::Spare3]);
    FUZZ_CHECK(r[zw::Spare6] == record[zw::Spare6]);

    if (!transmit) {
        if (zw::readNumber(typed) == 0.0) {
            for (int field = zw::RxFrequency; field <= zw::Power; ++field) {
                if (field != zw::Spare3 && field != zw::Spare6)
                    FUZZ_CHECK(r[field].isEmpty());
            }
        } else {
            checkStoredFrequency(r[zw::RxFrequency], band);
            FUZZ_CHECK(r[zw::TxFrequency] == r[zw::RxFrequency]);
            FUZZ_CHECK(r[zw::RxTone] == record[zw::RxTone]);
        }
    } else {
        for (int field = zw::ChannelNumber; field <= zw::Power; ++field) {
            if (field != zw::TxFrequency)
                FUZZ_CHECK(r[field] == record[field]);
        }
        if (!r[zw::TxFrequency].isEmpty())
            checkStoredFrequency(r[zw::TxFrequency], band);
        else
            FUZZ_CHECK(emptyChannel || zw::readNumber(typed) == 0.0);
    }

    // Checking what was stored once more changes nothing.
    const zw::CellEntryResult again =
        transmit ? zw::checkTxFrequency(r, band) : zw::checkRxFrequency(r, band);
    FUZZ_CHECK(again.record == r);
    return 0;
}
