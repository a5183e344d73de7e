#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

namespace zw
{

// The text layer of CSV files: one field written with quotes where it needs them (a comma, a
// double quote or a line break), and text split into rows of fields.
QString csvField(const QString &value);

// Splits CSV text into rows of fields (quotes with doubled quote escapes; CRLF or LF), keeping
// each row's line number (counted from 1). Empty lines give no row.
QList<std::pair<int, QStringList>> parseCsv(const QString &text);

} // namespace zw
