#include "channelfile.h"

#include "numberreader.h"
#include "radiosettings.h"

#include <QLocale>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>

namespace zw
{

namespace
{

const char *const fileEncoding = "GB2312";

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

bool isLineBreak(QChar c)
{
    return c == u'\r' || c == u'\n';
}

// An unquoted value that is wholly a decimal number (blanks after it allowed).
bool isDecimalNumber(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)[ \\t]*$"));
    return pattern.match(text).hasMatch();
}

// The shortest decimal text of the number `text` holds: "023" -> "23", "67.0" -> "67". Always
// in plain decimals, never with an exponent: "1e+33" or "1e-07" would read back as 1.
QString shortestNumberText(const QString &text)
{
    const double value = readNumber(text);
    if (value == 0)
        return QStringLiteral("0");
    return QString::number(value, 'f', QLocale::FloatingPointShortest);
}

// Values are written as they are, without quotes. Only a comma or a line break inside a value
// (which no list entry holds; a hand-made file can bring one) would end it early, so such a
// value is quoted, as the reading rules understand it; so is one whose first character after
// its blanks is a double quote, which would otherwise be read as the start of a quoted value.
// Blanks before a value are skipped on reading, so a blank list entry comes back empty: the same
// to the radio and in the grid. Text after blanks (only a hand-made file brings one) is quoted,
// or it would come back without its blanks, and a two-character rest would even gain a "0".
bool needsQuotes(const QString &text)
{
    const auto firstShown =
        std::find_if(text.begin(), text.end(), [](QChar c) { return !isBlank(c); });
    if (firstShown != text.end() && (*firstShown == u'"' || firstShown != text.begin()))
        return true;
    for (QChar c : text) {
        if (c == u',' || isLineBreak(c))
            return true;
    }
    return false;
}

QString frequencyValue(const QString &value)
{
    if (isDecimalNumber(value))
        return formatFrequency(readNumber(value));
    return value;
}

QString spareValue(const QString &value)
{
    return value.size() == 2 ? QStringLiteral("0") + value : value;
}

} // namespace

Expected<QByteArray> writeChannelFile(const ChannelFileData &data)
{
    QStringList values{data.modelCode, data.channelTone, data.squelchLevel};
    for (const ChannelRecord &record : data.records) {
        for (int field = RxFrequency; field <= Power; ++field)
            values << record[field];
    }

    QString text;
    for (const QString &value : values) {
        if (needsQuotes(value)) {
            if (value.contains(u'"'))
                return Failure{{}, std::nullopt, FileFailure::QuoteInValue, {}, 0, value};
            text += u'"' + value + u'"';
        } else {
            text += value; // a null text writes nothing, like an empty one
        }
        text += u',';
    }

    QStringEncoder encoder(fileEncoding);
    if (!encoder.isValid())
        return Failure{{}, std::nullopt, FileFailure::NoConverter};
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return Failure{{}, std::nullopt, FileFailure::NotWritable};
    return bytes;
}

SpareFieldFault spareFieldFault(const QString &value)
{
    if (needsQuotes(value) && value.contains(u'"'))
        return SpareFieldFault::Quote;
    QStringEncoder encoder(fileEncoding);
    const QByteArray bytes = encoder.encode(value);
    if (!encoder.isValid() || encoder.hasError())
        return SpareFieldFault::NotGb2312;
    if (bytes.size() > maxSpareFieldBytes)
        return SpareFieldFault::TooLong;
    return SpareFieldFault::None;
}

Expected<QStringList> splitChannelFile(const QByteArray &bytes)
{
    QStringList values;
    if (bytes.size() > maxChannelFileSize)
        return Failure{{}, std::nullopt, FileFailure::TooLarge, {}, int(maxChannelFileSize)};
    // The file arrives whole: a character cut off at its end is an error, not a state kept
    // for more input.
    QStringDecoder decoder(fileEncoding, QStringConverter::Flag::Stateless);
    if (!decoder.isValid())
        return Failure{{}, std::nullopt, FileFailure::NoConverter};
    const QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return Failure{{}, std::nullopt, FileFailure::NotGb2312Text};

    const qsizetype n = text.size();
    qsizetype i = 0;
    bool afterComma = false; // the last value ended with a comma (not a line break)
    while (true) {
        while (i < n && isBlank(text[i]))
            ++i;
        if (i >= n)
            break; // the end of the file after a delimiter holds no further value
        if (isLineBreak(text[i])) {
            // A comma followed by a line break gives an empty value; a line break after a
            // line break (an empty line) gives none.
            const bool crlf = text[i] == u'\r' && i + 1 < n && text[i + 1] == u'\n';
            i += crlf ? 2 : 1;
            if (afterComma)
                values << QString();
            afterComma = false;
            continue;
        }
        QString value;
        if (text[i] == u'"') {
            const qsizetype close = text.indexOf(u'"', i + 1);
            const qsizetype end = close < 0 ? n : close;
            value = text.mid(i + 1, end - i - 1);
            i = close < 0 ? n : close + 1;
            // Anything between the closing quote and the delimiter is not part of the value.
            while (i < n && text[i] != u',' && !isLineBreak(text[i]))
                ++i;
        } else {
            const qsizetype start = i;
            while (i < n && text[i] != u',' && !isLineBreak(text[i]))
                ++i;
            value = text.mid(start, i - start);
            if (isDecimalNumber(value))
                value = shortestNumberText(value);
        }
        values << value;
        afterComma = false;
        if (i < n && text[i] == u',') {
            ++i;
            afterComma = true;
        } else if (i < n) {
            const bool crlf = text[i] == u'\r' && i + 1 < n && text[i + 1] == u'\n';
            i += crlf ? 2 : 1;
        }
    }
    return values;
}

QString channelFileModelCode(const QByteArray &bytes)
{
    const Expected<QStringList> split = splitChannelFile(bytes);
    return split && !split->isEmpty() ? split->front() : QString();
}

Expected<ChannelFileData> readChannelFile(const QByteArray &bytes)
{
    const Expected<QStringList> split = splitChannelFile(bytes);
    if (!split)
        return split.failure();
    const QStringList &values = *split;
    if (values.size() < channelFileValueCount) {
        return Failure{{}, std::nullopt, FileFailure::Truncated, {}, int(values.size())};
    }

    ChannelFileData data;
    data.modelCode = values[0];

    data.channelTone = values[1];
    if (!isChannelTone(data.channelTone))
        return Failure{{}, std::nullopt, FileFailure::ChannelToneBad, {}, 0, data.channelTone};

    // A level that is missing or no number falls back to the default "3"; "0" is a level.
    data.squelchLevel = values[2];
    if (!startsWithNumber(data.squelchLevel))
        data.squelchLevel = defaultSquelchLevel();
    if (!isSquelchLevel(data.squelchLevel))
        return Failure{{}, std::nullopt, FileFailure::SquelchLevelBad, {}, 0, data.squelchLevel};

    int next = 3;
    for (ChannelRecord &record : data.records) {
        record[RxFrequency] = frequencyValue(values[next++]);
        record[RxTone] = values[next++];
        record[Spare3] = spareValue(values[next++]);
        record[TxFrequency] = frequencyValue(values[next++]);
        record[TxTone] = values[next++];
        record[Spare6] = spareValue(values[next++]);
        record[Scan] = values[next++];
        record[Bcl] = values[next++];
        record[Beat] = values[next++];
        record[Power] = values[next++];
    }
    return data;
}

} // namespace zw
