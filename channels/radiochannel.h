#pragma once

#include "channelrecord.h"

#include <QString>

#include <array>
#include <optional>

namespace zw
{

// One channel as the radio sent it in its reply to "B", nothing added. A channel block carries
// neither 信道号 nor the spare fields 备用3 and 备用6; what a window makes of it is
// mergeRadioChannels (tablemerge.h).
struct RadioChannel {
    bool inUse = false;  // false: no receive frequency, the radio holds no channel here
    QString rxFrequency; // 接收频率, the model's receive offset added
    QString rxTone;      // 收哑音
    QString txFrequency; // 发送频率, empty when the radio has none
    QString txTone;      // 发哑音
    QString bcl;         // BCL
    QString power;       // 功率
    // 扫描 and 拍频 travel in one flag digit; a digit the radio never sends (4..9, a letter)
    // tells neither.
    std::optional<QString> scan;
    std::optional<QString> beat;

    bool operator==(const RadioChannel &other) const
    {
        return inUse == other.inUse && rxFrequency == other.rxFrequency && rxTone == other.rxTone &&
               txFrequency == other.txFrequency && txTone == other.txTone && bcl == other.bcl &&
               power == other.power && scan == other.scan && beat == other.beat;
    }
    bool operator!=(const RadioChannel &other) const { return !(*this == other); }
};

// The radio's 16 channels in table order.
using RadioChannels = std::array<RadioChannel, channelCount>;

} // namespace zw
