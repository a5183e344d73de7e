#pragma once

#include "channelrecord.h"
#include "radiochannel.h"

namespace zw
{

// The two ways a whole table comes from outside into a window's table. Both keep 信道号 as the
// window has it: the channel number belongs to the table, not to what is brought in.

// The table after a read: `current` with the radio's channels put in. A channel in use sets
// 接收频率, 收哑音, 发送频率, 发哑音, BCL and 功率, and 扫描 and 拍频 when its flag digit told
// them; 备用3 and 备用6 stay. A channel the radio does not use empties fields 1 to 10 (接收频率
// through 功率, the spare fields too), as an empty channel of the table is.
ChannelTable mergeRadioChannels(const ChannelTable &current, const RadioChannels &radio);

// The table after a channel file is opened: fields 1 to 10 of each record from `loaded`.
ChannelTable mergeChannelFile(const ChannelTable &current, const ChannelTable &loaded);

} // namespace zw
