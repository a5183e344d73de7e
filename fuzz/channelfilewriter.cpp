// Channel-file writer: any settings and field texts (163 values cut from the input at 0x1F)
// are either refused with a reason (a text GB2312 cannot hold, a double quote in a value that
// needs quotes) or written so that reading the file gives the same values back, up to the
// reading rules: an unquoted value loses the blanks before it, a number may come back in
// another form, a frequency field as "###.00000", and a two-character spare field with a "0" in
// front.

#include "channelfile.h"
#include "channeltexts.h"
#include "fuzzcheck.h"
#include "numberreader.h"

#include <QList>
#include <QRegularExpression>

#include <cmath>
#include <cstdint>

namespace
{

bool isNumberText(const QString &text)
{
    static const QRegularExpression number(
        QStringLiteral("^[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)[ \\t]*$"));
    return number.match(text).hasMatch();
}

// The value as the reader sees it before its own rules: the writer quotes only a value with a
// comma or a line break, or with text after leading blanks, or whose first shown character is a
// double quote; the reader skips the blanks before an unquoted value (a blank entry).
QString asRead(const QString &value)
{
    qsizetype first = 0;
    while (first < value.size() && (value[first] == u' ' || value[first] == u'\t'))
        ++first;
    const bool quoted = (first < value.size() && (value[first] == u'"' || first > 0)) ||
                        value.contains(u',') || value.contains(u'\r') || value.contains(u'\n');
    return quoted ? value : value.mid(first);
}

// Same text, or the same number in another form (a frequency rounded to five decimals).
bool sameValue(const QString &written, const QString &read, bool frequency)
{
    if (written == read)
        return true;
    if (!isNumberText(written))
        return false;
    const double a = zw::readNumber(written);
    const double b = zw::readNumber(read);
    if (!frequency)
        return a == b;
    return std::fabs(a - b) <= 0.000005 + std::fabs(a) * 1e-15;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 2)
        return 0;
    zw::ChannelFileData file;
    const QString tones[] = {QStringLiteral("中文"), QStringLiteral("英文"),
                             QStringLiteral("键音")};
    file.channelTone = tones[data[0] % 3];
    file.squelchLevel = QString::number(data[1] % 10);
    const QList<QByteArray> pieces =
        QByteArray(reinterpret_cast<const char *>(data + 2), qsizetype(size - 2)).split('\x1F');
    qsizetype next = 0;
    auto value = [&]() {
        return next < pieces.size() ? QString::fromUtf8(pieces[next++]) : QString();
    };
    file.modelCode = value();
    for (zw::ChannelRecord &record : file.records)
        for (int field = zw::RxFrequency; field <= zw::Power; ++field)
            record[field] = value();

    const zw::Expected<QByteArray> written = zw::writeChannelFile(file);
    if (!written) {
        FUZZ_CHECK(!zw::fileFailureText(written.failure(), true).isEmpty());
        return 0;
    }
    const zw::Expected<zw::ChannelFileData> read = zw::readChannelFile(*written);
    FUZZ_CHECK(read.ok());
    FUZZ_CHECK(sameValue(asRead(file.modelCode), read->modelCode, false));
    FUZZ_CHECK(read->channelTone == file.channelTone);
    FUZZ_CHECK(read->squelchLevel == file.squelchLevel);
    for (std::size_t row = 0; row < file.records.size(); ++row) {
        for (int field = zw::RxFrequency; field <= zw::Power; ++field) {
            const QString expected = asRead(file.records[row][field]);
            const QString &got = read->records[row][field];
            if (field == zw::Spare3 || field == zw::Spare6) {
                // The reader puts a "0" before any two-character value, also a number's
                // shortest form: compare with that in mind.
                if (got.size() == 3 && got.front() == u'0' && expected != got)
                    FUZZ_CHECK(sameValue(expected, got.mid(1), false) || got.mid(1) == expected);
                else
                    FUZZ_CHECK(sameValue(expected, got, false));
                continue;
            }
            FUZZ_CHECK(
                sameValue(expected, got, field == zw::RxFrequency || field == zw::TxFrequency));
        }
    }
    return 0;
}
