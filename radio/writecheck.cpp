#include "writecheck.h"

namespace zw
{

ContentsDifference compareContents(const RadioChannels &a, const TrailerSettings &aSettings,
                                   const RadioChannels &b, const TrailerSettings &bSettings)
{
    ContentsDifference difference;
    for (int i = 0; i < channelCount; ++i) {
        if (a[std::size_t(i)] != b[std::size_t(i)])
            difference.channels.append(i + 1);
    }
    difference.settings = aSettings.squelchLevel != bSettings.squelchLevel ||
                          aSettings.channelTone != bSettings.channelTone;
    return difference;
}

RadioContents contentsOfWrite(const ChannelTable &records, const QString &squelchLevel,
                              const QString &channelTone, Model model)
{
    // The channel number a write puts in each block is not part of what a read shows.
    const double offset = modelInfo(model).receiveOffsetMHz;
    const QByteArray image = encodeChannelImage(records, offset, squelchLevel, channelTone);
    return {imageChannels(image, offset), imageSettings(image)};
}

RadioChannels imageChannels(const QByteArray &image, double receiveOffsetMHz)
{
    RadioChannels channels;
    for (int i = 0; i < channelCount; ++i) {
        const QString block = QString::fromLatin1(image.mid(i * blockLength, blockLength));
        channels[std::size_t(i)] = decodeChannelBlock(block, receiveOffsetMHz);
    }
    return channels;
}

TrailerSettings imageSettings(const QByteArray &image)
{
    return decodeTrailerBlock(
        QString::fromLatin1(image.mid(channelCount * blockLength, blockLength)));
}

} // namespace zw
