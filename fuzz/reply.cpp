// Radio-reply decoder. The first byte picks the window's model, the rest is what arrived after
// "B". Only a whole, clean reply of the window's own model brings channels; anything else brings
// none. Every record merged from it re-encodes to a 32-character block of hexadecimal
// digits, and a record whose tones the radio can carry decodes from that block to itself.

#include "codec.h"
#include "fuzzcheck.h"
#include "numberreader.h"
#include "tablemerge.h"
#include "tones.h"

#include <cstdint>

namespace
{

zw::ChannelTable currentTable()
{
    zw::ChannelTable table;
    for (int i = 0; i < zw::channelCount; ++i) {
        zw::ChannelRecord &r = table[std::size_t(i)];
        r.fields = {
            QString::number(i + 1),      QStringLiteral("145.00000"),
            QStringLiteral("88.5"),      QStringLiteral("023"),
            QStringLiteral("146.00000"), QString(),
            QStringLiteral("x"),         i % 2 ? QStringLiteral("odd") : QStringLiteral("add"),
            QStringLiteral("off"),       QStringLiteral("off"),
            QStringLiteral("H")};
    }
    return table;
}

// A tone the write carries unchanged: none, a DCS entry of the list, or a CTCSS value the
// four-digit field holds.
bool sendableTone(const QString &tone)
{
    if (tone.isEmpty())
        return true;
    if (tone.startsWith(u'D'))
        return zw::dcsEntries().contains(tone);
    const double hz = zw::readNumber(tone);
    return hz > 0 && hz < 550;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 1)
        return 0;
    const zw::Model own = zw::allModels[data[0] % zw::modelCount];
    const QByteArrayView reply(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    const zw::ChannelTable current = currentTable();
    const zw::RadioReply decoded = zw::decodeReply(reply, own);

    const bool clean =
        reply.size() >= zw::replyLength && zw::isBlockText(reply.first(zw::replyLength));
    if (decoded.status != zw::RadioReply::Status::Ok) {
        FUZZ_CHECK(decoded.channels == zw::RadioChannels{});
        if (decoded.status == zw::RadioReply::Status::OtherModel)
            FUZZ_CHECK(clean && decoded.radioModel && *decoded.radioModel != own);
        return 0;
    }
    FUZZ_CHECK(clean);
    FUZZ_CHECK(decoded.radioModel && *decoded.radioModel == own);
    const QString &level = decoded.settings.squelchLevel;
    FUZZ_CHECK(level.isEmpty() || (level.size() == 1 && level[0] >= u'0' && level[0] <= u'9'));
    const QString &tone = decoded.settings.channelTone;
    FUZZ_CHECK(tone.isEmpty() || tone == QStringLiteral("中文") || tone == QStringLiteral("英文") ||
               tone == QStringLiteral("键音"));

    const double offset = zw::modelInfo(own).receiveOffsetMHz;
    const zw::ChannelTable merged = zw::mergeRadioChannels(current, decoded.channels);
    for (std::size_t i = 0; i < merged.size(); ++i) {
        const zw::ChannelRecord &record = merged[i];
        FUZZ_CHECK(record[zw::ChannelNumber] == current[i][zw::ChannelNumber]);
        const QString block = zw::EncodeChannelBlock(record, offset);
        FUZZ_CHECK(block.size() == zw::blockLength);
        FUZZ_CHECK(zw::isBlockText(block.toLatin1()));

        if (zw::readNumber(record[zw::RxFrequency]) == 0 || !sendableTone(record[zw::RxTone]) ||
            !sendableTone(record[zw::TxTone]))
            continue;
        const zw::RadioChannel again = zw::decodeChannelBlock(block, offset);
        FUZZ_CHECK(again.rxFrequency == record[zw::RxFrequency]);
        FUZZ_CHECK(again.txFrequency == record[zw::TxFrequency]);
        FUZZ_CHECK(again.rxTone == record[zw::RxTone]);
        FUZZ_CHECK(again.txTone == record[zw::TxTone]);
        FUZZ_CHECK(again.bcl == record[zw::Bcl]);
        FUZZ_CHECK(again.power == record[zw::Power]);
    }
    return 0;
}
