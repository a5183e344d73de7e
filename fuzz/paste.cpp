// Pasting channels from the clipboard. The first byte picks the model, the start channel and
// the clipboard form (our own rows, CHIRP CSV, plain text); the rest is what the clipboard
// holds. Whatever it holds, the paste keeps 16 channels numbered as before, changes only the
// channels it reports, and every channel it changes is either empty or within what typing keeps
// (the model's band and the warning margins beside it) with texts the pick lists offer, exactly
// as typing and picking would leave it.

#include "cellentry.h"
#include "channelclipboard.h"
#include "fuzzcheck.h"
#include "numberreader.h"
#include "picklists.h"

#include <cstdint>

namespace
{

zw::ChannelTable sampleTable()
{
    zw::ChannelTable table;
    for (int row = 0; row < zw::channelCount; ++row) {
        for (QString &field : table[row].fields)
            field = QStringLiteral("");
        table[row][zw::ChannelNumber] = QString::number(row + 1);
        table[row][zw::Spare3] = QStringLiteral("s%1").arg(row);
    }
    return table;
}

// A kept frequency is snapped to the 5 kHz / 6.25 kHz raster, which may carry it just past a
// warning margin's edge.
constexpr double rasterSlack = 0.00625;

void checkInList(zw::PickList list, const QString &text, zw::Model model)
{
    FUZZ_CHECK(zw::pickListEntries(list, model).contains(text));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 1)
        return 0;
    const zw::Model model = zw::allModels[data[0] % zw::modelCount];
    const int start = (data[0] >> 2) % 17;
    const int form = (data[0] >> 6) % 3;
    const QByteArray bytes(reinterpret_cast<const char *>(data + 1), int(size - 1));
    zw::PasteSource source;
    if (form == 0)
        source.ownRows = QByteArray("ZW4630 channels\r\n") + zw::modelInfo(model).code.toLatin1() +
                         "\r\n" + bytes;
    else if (form == 1)
        source.chirpCsv = bytes;
    else
        source.text = QString::fromUtf8(bytes);

    const zw::ModelInfo &info = zw::modelInfo(model);
    const zw::ChannelTable current = sampleTable();
    const zw::PastePlan plan = zw::planPaste(source, info, current, start);
    FUZZ_CHECK(plan.rowsTaken == plan.rowsChanged.size());
    FUZZ_CHECK(plan.rowsTaken <= zw::channelCount - start);
    for (int row = 0; row < zw::channelCount; ++row) {
        const zw::ChannelRecord &r = plan.table[row];
        FUZZ_CHECK(r[zw::ChannelNumber] == current[row][zw::ChannelNumber]);
        if (!plan.rowsChanged.contains(row)) {
            FUZZ_CHECK(r == current[row]);
            continue;
        }
        FUZZ_CHECK(row >= start);
        if (zw::isEmptyChannel(r)) {
            for (int field : {zw::RxFrequency, zw::RxTone, zw::TxFrequency, zw::TxTone, zw::Scan,
                              zw::Bcl, zw::Beat, zw::Power})
                FUZZ_CHECK(r[field].isEmpty());
            continue;
        }
        const double rx = zw::readNumber(r[zw::RxFrequency]);
        FUZZ_CHECK(rx >= info.band.clampFloor - rasterSlack &&
                   rx <= info.band.clampCeiling + rasterSlack);
        FUZZ_CHECK(zw::formatFrequency(rx) == r[zw::RxFrequency]);
        if (!r[zw::TxFrequency].isEmpty()) {
            const double tx = zw::readNumber(r[zw::TxFrequency]);
            FUZZ_CHECK(tx >= info.band.clampFloor - rasterSlack &&
                       tx <= info.band.clampCeiling + rasterSlack);
        }
        checkInList(zw::PickList::ToneBoth, r[zw::RxTone], model);
        FUZZ_CHECK(zw::pickListEntries(zw::PickList::ToneBoth, model).contains(r[zw::TxTone]) ||
                   zw::pickListEntries(zw::PickList::TxTone, model).contains(r[zw::TxTone]));
        checkInList(zw::PickList::Scan, r[zw::Scan], model);
        checkInList(zw::PickList::Bcl, r[zw::Bcl], model);
        checkInList(zw::PickList::Beat, r[zw::Beat], model);
        checkInList(zw::PickList::Power, r[zw::Power], model);
    }
    return 0;
}
