#pragma once

#include "result.h"
#include <QByteArray>

#include <QString>

namespace zw
{

// Writes `bytes` as the whole new content of `path`: the old file is replaced only once the
// new one is written whole, so a failure (a full disk, no right to the folder) leaves the old
// file exactly as it was.
Result saveWholeFile(const QString &path, const QByteArray &bytes);

} // namespace zw
