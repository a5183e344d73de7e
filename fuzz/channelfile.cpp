// Channel-file reader. Any bytes either fail with a reason or give 16 records and both
// settings; saving what was read and reading that again gives the same records (a number may
// come back in its shortest form, as every read writes numbers, and leading blanks are lost),
// and a second save and read changes nothing at all.

#include "channelfile.h"
#include "channeltexts.h"
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
    const zw::Expected<zw::ChannelFileData> read = zw::readChannelFile(bytes);
    if (!read) {
        FUZZ_CHECK(!zw::fileFailureText(read.failure(), true).isEmpty());
        return 0;
    }
    FUZZ_CHECK(zw::channelFileModelCode(bytes) == read->modelCode);
    for (const zw::ChannelRecord &record : read->records)
        FUZZ_CHECK(record[zw::ChannelNumber].isEmpty());

    const zw::Expected<QByteArray> saved = zw::writeChannelFile(*read);
    if (!saved) {
        // Only a text the file cannot carry may be refused: a double quote inside a value that
        // needs quotes.
        FUZZ_CHECK(!zw::fileFailureText(saved.failure(), true).isEmpty());
        return 0;
    }
    FUZZ_CHECK(saved->size() <= zw::maxChannelFileSize);
    const zw::Expected<zw::ChannelFileData> back = zw::readChannelFile(*saved);
    FUZZ_CHECK(back.ok());
    FUZZ_CHECK(back->modelCode == read->modelCode || sameValue(read->modelCode, back->modelCode));
    FUZZ_CHECK(back->channelTone == read->channelTone);
    FUZZ_CHECK(back->squelchLevel == read->squelchLevel);
    for (std::size_t row = 0; row < read->records.size(); ++row) {
        for (int field = zw::ChannelNumber; field <= zw::Power; ++field)
            FUZZ_CHECK(sameValue(read->records[row][field], back->records[row][field]));
    }

    const zw::Expected<QByteArray> savedAgain = zw::writeChannelFile(*back);
    FUZZ_CHECK(savedAgain.ok());
    const zw::Expected<zw::ChannelFileData> backAgain = zw::readChannelFile(*savedAgain);
    FUZZ_CHECK(backAgain.ok());
    FUZZ_CHECK(backAgain->records == back->records);
    return 0;
}
