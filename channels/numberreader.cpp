#include "numberreader.h"

#include <QByteArray>

#include <limits>

namespace zw
{

namespace
{

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
    if (ok)
        return value;
    // The digits are well formed, so the conversion failed on size: too small a fraction reads
    // as 0, too many integer digits as the largest number (a band check then clamps it to the
    // band's top rather than reading it as 0 and emptying the channel).
    const bool negative = number.startsWith('-');
    QByteArray integer = number.mid(negative ? 1 : 0);
    integer.truncate(integer.indexOf('.') < 0 ? integer.size() : integer.indexOf('.'));
    while (integer.startsWith('0'))
        integer.remove(0, 1);
    if (integer.isEmpty())
        return 0.0;
    return negative ? -std::numeric_limits<double>::max() : std::numeric_limits<double>::max();
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
