// Channel-file reader. Any bytes either fail with a reason or give 16 records and both
// settings; saving what was read and reading that again gives the same records (a number may
// come back in its shortest form, as every read writes numbers, and leading blanks are lost),
// and a second save and read changes nothing at all.

#include "channelfile.h"
#include "fuzzcheck.h"
#include "numberreader.h"

#include <QRegularExpression>

#include <cstdint>

namespace
{

bool isNumberText(const QString &text)
{
    static const QRegularExpression number(
        QStringLiteral("^[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)[ \\t]*$"));
    return number.match(text).hasMatch();
}

QString withoutLeadingBlanks(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    return text.mid(i);
}

// Same text, or the same number in another form. Values are saved unquoted, so blanks before
// a value (a quoted one in a hand-made file) are not kept: a blank entry comes back empty.
bool sameValue(const QString &firstRead, const QString &secondRead)
{
    const QString first = withoutLeadingBlanks(firstRead);
    const QString second = withoutLeadingBlanks(secondRead);
    if (first == second)
        return true;
    return isNumberText(first) && zw::readNumber(first) == zw::readNumber(second);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const zw::ChannelFileRead read = zw::readChannelFile(bytes);
    if (!read.ok) {
        FUZZ_CHECK(!read.error.isEmpty());
        return 0;
    }
    FUZZ_CHECK(read.modelCode == read.data.modelCode);
    for (const zw::ChannelRecord &record : read.data.records)
        FUZZ_CHECK(record[zw::ChannelNumber].isEmpty());

    const zw::ChannelFileBytes saved = zw::writeChannelFile(read.data);
    if (!saved.ok) {
        // Only a text the file cannot carry may be refused: a double quote inside a value that
        // needs quotes.
        FUZZ_CHECK(!saved.error.isEmpty());
        return 0;
    }
    FUZZ_CHECK(saved.bytes.size() <= zw::maxChannelFileSize);
    const zw::ChannelFileRead back = zw::readChannelFile(saved.bytes);
    FUZZ_CHECK(back.ok);
    FUZZ_CHECK(back.data.modelCode == read.data.modelCode ||
               sameValue(read.data.modelCode, back.data.modelCode));
    FUZZ_CHECK(back.data.channelTone == read.data.channelTone);
    FUZZ_CHECK(back.data.squelchLevel == read.data.squelchLevel);
    for (std::size_t row = 0; row < read.data.records.size(); ++row) {
        for (int field = zw::ChannelNumber; field <= zw::Power; ++field)
            FUZZ_CHECK(sameValue(read.data.records[row][field], back.data.records[row][field]));
    }

    const zw::ChannelFileBytes savedAgain = zw::writeChannelFile(back.data);
    FUZZ_CHECK(savedAgain.ok);
    const zw::ChannelFileRead backAgain = zw::readChannelFile(savedAgain.bytes);
    FUZZ_CHECK(backAgain.ok);
    FUZZ_CHECK(backAgain.data.records == back.data.records);
    return 0;
}
