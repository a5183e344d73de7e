#pragma once

#include "channelfile.h"
#include "modelinfo.h"

#include <QString>

namespace zw::cli
{

// write --repeat: writes `data` (the channel file `path` of `model`) into one radio after
// another on `device`, each identified, kept, written and read back, until `radios` radios
// have answered (0: until interrupted), logging each to `logPath` (appended to). Says each
// radio's outcome and each wait in words on standard output. Returns the exit status: Success
// when every radio was written and verified; Failed when any was refused or not written, or
// the run could not go on; else ReadBackNotChecked when any could not be read back; else
// ReadBackDiffers.
int writeFleet(Model model, const QString &device, const QString &path, const ChannelFileData &data,
               int radios, const QString &logPath);

} // namespace zw::cli
