#include "numberreader.h"

#include <QByteArray>

namespace zw {

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

// Collects the characters of the leading number into `out` ("-12.5" form, blanks removed).
// Returns whether at least one digit was seen.
bool collectNumber(QStringView text, QByteArray &out)
{
    bool seenDigit = false;
    bool seenPoint = false;
    bool seenSign = false;
    for (const QChar c : text) {
        if (isBlank(c))
            continue;
        if (c >= u'0' && c <= u'9') {
            out.append(char(c.unicode()));
            seenDigit = true;
        } else if (c == u'.' && !seenPoint) {
            out.append('.');
            seenPoint = true;
        } else if ((c == u'+' || c == u'-') && !seenSign && !seenDigit && !seenPoint) {
            if (c == u'-')
                out.append('-');
            seenSign = true;
        } else {
            break;
        }
    }
    return seenDigit;
}

} // namespace

double readNumber(QStringView text)
{
    QByteArray number;
    if (!collectNumber(text, number))
        return 0.0;
    if (number.endsWith('.'))
        number.chop(1);
    if (number.startsWith("-."))
        number.insert(1, '0');
    else if (number.startsWith('.'))
        number.prepend('0');
    bool ok = false;
    const double value = number.toDouble(&ok); // QByteArray::toDouble is locale-independent
    return ok ? value : 0.0;
}

bool startsWithNumber(QStringView text)
{
    QByteArray number;
    return collectNumber(text, number);
}

QString formatFrequency(double mhz)
{
    QString text = QString::number(mhz, 'f', 5);
    // "###" prints no digit for a zero integer part: 0.5 is ".50000".
    if (text.startsWith(QLatin1String("0.")))
        text.remove(0, 1);
    else if (text.startsWith(QLatin1String("-0.")))
        text.remove(1, 1);
    return text;
}

} // namespace zw
