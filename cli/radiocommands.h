#pragma once

#include "channelfile.h"
#include "modelinfo.h"

#include <QString>

namespace zw::cli
{

// The result of a radio command: ok, or the message saying what went wrong and what to check.
struct RadioCommandResult {
    bool ok = false;
    QString message;
    ChannelFileData data; // read: the radio's channels and settings, as a channel file holds them
};

// Reads the radio of `model` on `device`: it must answer the ready poll within
// `readyTimeoutMs`. Draws a progress bar on standard error.
RadioCommandResult readRadio(Model model, const QString &device, int readyTimeoutMs);

// Writes the channels and settings of `data` (a file of `model`) into the radio on `device`,
// numbered 1 to 16 like every write. Draws a progress bar on standard error.
RadioCommandResult writeRadio(Model model, const QString &device, int readyTimeoutMs,
                              const ChannelFileData &data);

} // namespace zw::cli
