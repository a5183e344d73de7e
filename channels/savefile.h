#pragma once

#include "result.h"

#include <QByteArray>
#include <QString>

class QFile;

namespace zw
{

// Writes `bytes` as the whole new content of `path`: the old file is replaced only once the
// new one is written whole and, on Unix, the disk has confirmed it (fdatasync), so a failure (a
// full disk, no right to the folder, an I/O error at the sync) leaves the old file exactly as
// it was. A failure carries its FileFailure kind, `path`, and the system's own text in `why`. A
// `path` that exists as anything but a regular file (a FIFO, a device, a folder; a symbolic link to
// a regular file is fine) is refused and left as it is.
Result saveWholeFile(const QString &path, const QByteArray &bytes);

// Reads a regular file (or a symbolic link to one) whole, when it holds at most `limit` bytes.
// Anything else (a FIFO, a device, a folder) is refused at once, without waiting on it.
Expected<QByteArray> readRegularFile(const QString &path, qint64 limit);

// Whether `first` and `second` name the same existing file (through links too).
bool sameFile(const QString &first, const QString &second);

// Opens `file` on `path` for writing from its start, created when missing. Only a regular file
// (or a link to one) or a new name is taken, and only when the system takes writes to it; a
// FIFO, a device or a folder is refused without waiting on it (NotRegular). Every path these
// functions take is a name in the form of fileNameFromBytes (filenames.h): bytes that are not
// UTF-8 are kept.
Result openNewFile(QFile *file, const QString &path);

// Adds `bytes` at the end of `path` (created when missing) and returns once the disk has
// confirmed them (fdatasync on Unix), so a record appended is kept even if the program or the
// machine stops right after. A `path` that is not a regular file is refused and left as it is.
Result appendToFile(const QString &path, const QByteArray &bytes);

} // namespace zw
