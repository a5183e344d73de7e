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
