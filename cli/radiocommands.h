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

// Exit statuses of a write whose channels all left the port: the radio read back otherwise
// than written, or it could not be read back.
enum WriteExitStatus : int {
    ReadBackDiffers = 3,
    ReadBackNotChecked = 4,
};

// Writes the channels and settings of `data` (a file of `model`) into the radio on `device`,
// numbered 1 to 16 like every write, then reads the radio back when `verify`. Draws a progress
// bar and says what happened on standard error, naming the channels that changed or differ.
// Returns the exit status: Success when verified (or written, without `verify`),
// ReadBackDiffers, ReadBackNotChecked, or Failed when nothing or not all was sent.
int writeRadio(Model model, const QString &device, int readyTimeoutMs, const ChannelFileData &data,
               bool verify);

// Reads the radio and prints, channel by channel, where it differs from `data` (the channel
// file `path` of `model`), as a write of the file would leave it. Writes nothing. Returns
// Success when they hold the same, Failed when they differ, RadioNotRead when the radio could
// not be read.
int diffRadio(Model model, const QString &device, int readyTimeoutMs, const QString &path,
              const ChannelFileData &data);

} // namespace zw::cli
