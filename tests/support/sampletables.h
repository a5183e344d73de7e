#pragma once

#include "channelrecord.h"
#include "modelinfo.h"

namespace zw::test
{

// Sixteen empty channels numbered 1 to 16, every field an empty text (not null).
ChannelTable emptyTable();

// A table of V-band channels for the file tests: channels in use with DCS and CTCSS tones in
// their written forms ("67.0", "100.0"), blank-filled fields ("    ", "  "), an empty spare
// and every fifth channel empty (channels 4, 9 and 14).
ChannelTable sampleTable();

// `table` as it comes back from a channel file: tones in their number forms ("67", "100"),
// blank entries empty (the file holds them unquoted, and blanks before a value are skipped).
ChannelTable afterChannelFileRoundTrip(ChannelTable table);

// A table for the radio tests of `model`: channels 1 to 4 in use at both band edges, with a
// 6.25 kHz step, every kind of tone and no tone; channels 5 to 16 empty. Channel 1 is
// numbered 17, which a write to the radio renumbers.
ChannelTable radioSampleTable(Model model);

// The lowest model code above every model's code ("5" while the codes are "1" to "4"): a code
// a radio may report that names no model of the family.
QString codeOfNoModel();

} // namespace zw::test
