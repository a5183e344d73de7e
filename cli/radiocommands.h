#pragma once

#include "channelfile.h"
#include "modelinfo.h"
#include "result.h"

#include <QString>

namespace zw::cli
{

// Reads the radio of `model` on `device`: it must answer the ready poll within
// `readyTimeoutMs`. Draws a progress bar on standard error. A failure says what went wrong
// and what to check.
Expected<ChannelFileData> readRadio(Model model, const QString &device, int readyTimeoutMs);

// Writes the channels and settings of `data` (a file of `model`) into the radio on `device`,
// numbered 1 to 16 like every write. Draws a progress bar on standard error.
Result writeRadio(Model model, const QString &device, int readyTimeoutMs,
                  const ChannelFileData &data);

} // namespace zw::cli
