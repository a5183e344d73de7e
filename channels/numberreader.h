#pragma once

#include <QString>
#include <QStringView>

namespace zw
{

// Reads a field text the way every rule of the program reads numbers: the leading decimal
// number of the text (optional sign, digits, "." as the decimal point whatever the locale),
// with blanks skipped wherever they stand; reading stops at the first character that cannot
// continue the number. Empty text, a null text and text without a leading number read as 0.
double readNumber(QStringView text);

// True when the text starts with a number (after blanks), so that readNumber() read something.
bool startsWithNumber(QStringView text);

// Writes a frequency in MHz the way every frequency field holds it, "###.00000": the integer
// digits without leading zeros, a point and exactly five decimals (145 -> "145.00000").
QString formatFrequency(double mhz);

} // namespace zw
