#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace zw
{

// File names as the system holds them: bytes, which need not be UTF-8 (names from Windows
// archives are often GBK or Latin-1). Qt decodes such bytes to U+FFFD and cannot turn them back,
// so two different files get one name and neither can be opened. These two keep every name
// byte for byte: a byte that is not part of a UTF-8 character becomes U+DC80..U+DCFF (a lone
// surrogate, which no UTF-8 text holds) and turns back into that byte.

// The name of `bytes` (an argument, a folder entry).
QString fileNameFromBytes(const QByteArray &bytes);
// The bytes of `name` for the system; the inverse of fileNameFromBytes.
QByteArray fileNameBytes(const QString &name);

// The file `path` names when it came through Qt's own folder listing (a file dialog): a name
// in which Qt put U+FFFD for bytes it could not read is matched with the one entry of its folder
// that it was listed from. Any other path, and one that matches no entry or several, is
// returned as it is.
QString fileNameAsListed(const QString &path);

// The files of `folder` that Qt's own folder listing leaves out, those whose names are not
// UTF-8, as names in the form of fileNameFromBytes, sorted; only regular files (or links to
// them).
QStringList filesNotListedByQt(const QString &folder);

} // namespace zw
