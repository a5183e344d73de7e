#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace zw::test
{

// A new empty folder made the current directory, as the program is started from the folder of
// its model databases; null when the folder cannot be made or entered.
std::unique_ptr<QTemporaryDir> enterFreshFolder();

// The bytes of the file at `path`, or "<unreadable>".
QByteArray fileBytes(const QString &path);
// Replaces the file at `path` with `bytes`; whether all of them were written.
bool writeFileBytes(const QString &path, const QByteArray &bytes);

} // namespace zw::test
