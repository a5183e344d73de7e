#pragma once

#include <QByteArray>
#include <QString>

namespace zw
{

// Writes `bytes` as the whole new content of `path`: the old file is replaced only once the
// new one is written whole, so a failure (a full disk, no right to the folder) leaves the old
// file exactly as it was. Returns an empty text on success, else why it failed.
QString saveWholeFile(const QString &path, const QByteArray &bytes);

} // namespace zw
