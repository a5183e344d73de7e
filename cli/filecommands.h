#pragma once

#include "channelfile.h"
#include "chirpcsv.h"
#include "modelinfo.h"
#include "result.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace zw::cli
{

// A channel file read whole and checked, or the message saying why it cannot be used.
struct LoadedChannelFile {
    ChannelFileData data;
    std::optional<Model> model; // the model its first value names, if any
};
Expected<LoadedChannelFile> loadChannelFile(const QString &path);

// The message refusing a file of `fileModel` where `model` is wanted (`action` says what was
// not done: "nothing written"), or an empty text when the file may be used: a file of the same
// model, or one whose first value names no model (the program takes those as its own).
QString otherModelFileRefusal(const QString &path, const LoadedChannelFile &file, Model model,
                              const QString &action);

// Writes `bytes` to `path` whole or not at all; fails with the message.
Result saveWhole(const QString &path, const QByteArray &bytes);

// Writes a channel file whole or not at all; fails with the message.
Result saveChannelFile(const QString &path, const ChannelFileData &data);

// The table of a new model database: channel numbers 1 to 16, every other field empty.
ChannelTable newModelTable();

// The commands working on files only. Each prints its result or messages and returns the
// exit status.
int showFile(const QString &path);
int exportCsv(const QString &path, const QString &outPath, std::optional<Model> model);
int importCsv(const QString &path, Model model, const QString &outPath, bool skipBad,
              CsvPlacement placement);

} // namespace zw::cli
