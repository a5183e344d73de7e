// Number reader: never NaN or infinity; agrees with the C library's strtod on plain numbers
// (blanks anywhere removed); startsWithNumber() tells exactly when something was read; and a
// number written as a frequency reads back within half of its last decimal.

#include "numberreader.h"
#include "fuzzcheck.h"

#include <QRegularExpression>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace
{

// A plain number of at most 20 characters once blanks are gone: no overflow, no underflow.
bool isPlainNumber(const QByteArray &stripped)
{
    if (stripped.isEmpty() || stripped.size() > 20)
        return false;
    static const QRegularExpression plain(QStringLiteral("^[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)$"));
    return plain.match(QString::fromLatin1(stripped)).hasMatch();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    // Both decodings a field text can come from: the database (UTF-8) and a file (8-bit).
    for (const QString &text : {QString::fromUtf8(bytes), QString::fromLatin1(bytes)}) {
        const double value = zw::readNumber(text);
        FUZZ_CHECK(std::isfinite(value));
        if (!zw::startsWithNumber(text))
            FUZZ_CHECK(value == 0.0);

        QByteArray stripped = text.toLatin1();
        stripped.replace(' ', QByteArray()).replace('\t', QByteArray());
        if (text == QString::fromLatin1(bytes) && isPlainNumber(stripped)) {
            const double reference = std::strtod(stripped.constData(), nullptr);
            FUZZ_CHECK(value == reference);
            FUZZ_CHECK(zw::startsWithNumber(text));
        }

        if (std::fabs(value) < 1e9) {
            const QString formatted = zw::formatFrequency(value);
            static const QRegularExpression pattern(QStringLiteral("^-?[0-9]*\\.[0-9]{5}$"));
            FUZZ_CHECK(pattern.match(formatted).hasMatch());
            // Half of the fifth decimal, and the double's own rounding at this size.
            const double tolerance = 0.000005 + 4 * std::fabs(value) * DBL_EPSILON;
            FUZZ_CHECK(std::fabs(zw::readNumber(formatted) - value) <= tolerance);
        }
    }
    return 0;
}
