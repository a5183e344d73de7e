#pragma once

#include <QString>

#include <array>

namespace zw
{

// Field indexes of a channel record, in the order of the table 信道表.
enum Field : int {
    ChannelNumber = 0, // 信道号
    RxFrequency = 1,   // 接收频率
    RxTone = 2,        // 收哑音
    Spare3 = 3,        // 备用3
    TxFrequency = 4,   // 发送频率
    TxTone = 5,        // 发哑音
    Spare6 = 6,        // 备用6
    Scan = 7,          // 扫描
    Bcl = 8,           // BCL
    Beat = 9,          // 拍频
    Power = 10,        // 功率
};

constexpr int fieldCount = 11;
constexpr int channelCount = 16;

// One channel: eleven text fields addressed by index.
struct ChannelRecord {
    std::array<QString, fieldCount> fields;

    QString &operator[](int index) { return fields[static_cast<std::size_t>(index)]; }
    const QString &operator[](int index) const { return fields[static_cast<std::size_t>(index)]; }
    bool operator==(const ChannelRecord &other) const { return fields == other.fields; }
    bool operator!=(const ChannelRecord &other) const { return !(*this == other); }
};

using ChannelTable = std::array<ChannelRecord, channelCount>;

// Column names of 信道表, by field index.
const std::array<QString, fieldCount> &fieldNames();

} // namespace zw
