#include "codec.h"

#include "frequency.h"
#include "numberreader.h"
#include "radiosettings.h"
#include "tones.h"

#include <algorithm>
#include <cmath>

namespace zw
{

namespace
{

const QString zeroBlock(blockLength, u'0');

bool isDecimalDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Value of one character read as a decimal digit; a letter counts as 0.
int digitValue(QChar c)
{
    return isDecimalDigit(c) ? c.unicode() - u'0' : 0;
}

int hexValue(QChar c)
{
    if (isDecimalDigit(c))
        return c.unicode() - u'0';
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    return 0;
}

QString twoHexDigits(int value)
{
    return QString::number(value, 16).toUpper().rightJustified(2, u'0');
}

// The four byte pairs of a BCD field in the order they are sent (low pair first) put back in
// reading order, read as a decimal number.
double bcdNumber(QStringView field)
{
    QString digits;
    for (const qsizetype at : {6, 4, 2, 0})
        digits += field.mid(at, 2);
    return readNumber(digits);
}

} // namespace

qint16 DTSC(const QString &code)
{
    const QStringList &codes = dcsCodes();
    for (int i = 0; i < codes.size(); ++i) {
        if (codes.at(i) == code)
            return qint16(i + 1);
    }
    return 0;
}

QString EncodeFrequency(const QString &cell, double offsetMHz)
{
    // The difference is rounded, not each side: a cell with a sixth decimal rounds once.
    const double n =
        std::round(Frequency::unitsIn(readNumber(cell)) - Frequency::unitsIn(offsetMHz));
    if (!std::isfinite(n) || n < 0 || n > 99999999.0)
        return QStringLiteral("00000000");
    const QString digits = QString::number(qint64(n)).rightJustified(8, u'0');
    return digits.mid(6, 2) + digits.mid(4, 2) + digits.mid(2, 2) + digits.mid(0, 2);
}

QString EncodeTone(const QString &cell)
{
    if (cell.isEmpty())
        return QStringLiteral("0000");
    if (cell.startsWith(u'D'))
        return twoHexDigits(DTSC(cell.mid(1, 3))) + QStringLiteral("55");
    // A CTCSS tone in tenths of Hz. Text without a number (the pick list's blank entry) is no
    // tone. A value of 550.0 Hz or more cannot be sent: its high pair would read "55" and the
    // radio would take it for a DCS code, and above 999.9 it needs a fifth digit; such a value
    // is sent as no tone.
    const double v = std::round(readNumber(cell) * 10.0);
    if (!std::isfinite(v) || v <= 0 || v >= 5500)
        return QStringLiteral("0000");
    const QString digits = QString::number(int(v)).rightJustified(4, u'0');
    return digits.mid(2, 2) + digits.mid(0, 2);
}

QString EncodeChannelBlock(const ChannelRecord &record, double receiveOffsetMHz)
{
    if (readNumber(record[RxFrequency]) == 0)
        return zeroBlock;
    const QString rx = EncodeFrequency(record[RxFrequency], receiveOffsetMHz);
    // A receive frequency the radio cannot hold would arrive as "no frequency": send the
    // channel as the empty channel it will be in the radio.
    if (rx == QLatin1String("00000000"))
        return zeroBlock;

    // Two hexadecimal digits hold 0..255: a channel number beyond that range is clamped to it.
    const double number = std::round(readNumber(record[ChannelNumber]));
    const int channel = number < 0 ? 0 : number > 255 ? 255 : int(number);

    const int flag = (record[Beat] == QLatin1String("on") ? 1 : 0) +
                     (record[Scan] == QLatin1String("del") ? 2 : 0);

    // One character holds the BCL digit: a text that reads as 1..9 sends that digit; "off",
    // blank, empty, and any other value (several digits, negative) send 0, lockout off.
    const double bclNumber = std::round(readNumber(record[Bcl]));
    const int bcl = (bclNumber >= 1 && bclNumber <= 9) ? int(bclNumber) : 0;

    const QString tx = readNumber(record[TxFrequency]) == 0
                           ? QStringLiteral("00000000")
                           : EncodeFrequency(record[TxFrequency], 0);

    QString block;
    block.reserve(blockLength);
    block += twoHexDigits(channel);
    block += record[Power] == QLatin1String("H") ? QLatin1String("00") : QLatin1String("01");
    block += rx;
    block += EncodeTone(record[RxTone]);
    block += QString::number(flag);
    block += QString::number(bcl);
    block += QLatin1String("00");
    block += tx;
    block += EncodeTone(record[TxTone]);
    return block;
}

QString EncodeTrailerBlock(const QString &squelchLevel, const QString &channelTone)
{
    // The squelch level is one digit: a text that reads above 9 is clamped to 9, one that
    // reads as 0 or below (or holds no number) gives 0.
    const double level = std::round(readNumber(squelchLevel));
    const int squelch = level < 0 ? 0 : level > 9 ? 9 : int(level);
    return QStringLiteral("00050") + QString::number(squelch) + channelToneCode(channelTone) +
           QString(24, u'0');
}

QByteArray encodeChannelImage(const ChannelTable &records, double receiveOffsetMHz,
                              const QString &squelchLevel, const QString &channelTone)
{
    QByteArray image;
    image.reserve(imageBlockCount * blockLength);
    for (const ChannelRecord &record : records)
        image += EncodeChannelBlock(record, receiveOffsetMHz).toLatin1();
    image += EncodeTrailerBlock(squelchLevel, channelTone).toLatin1();
    return image;
}

bool isBlockText(QByteArrayView text)
{
    for (const char c : text) {
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F')))
            return false;
    }
    return true;
}

QString decodeTone(QStringView field)
{
    if (field.size() != 4)
        return QString();
    if (field.mid(2, 2) == QLatin1String("55")) {
        const int index = 16 * digitValue(field[0]) + hexValue(field[1]);
        return QLatin1Char('D') + dcsCode(index) + QLatin1Char('N');
    }
    QString digits = field.mid(2, 2).toString();
    digits += field.mid(0, 2);
    const double tenths = readNumber(digits);
    if (tenths == 0)
        return QString();
    return QString::number(tenths / 10.0);
}

RadioChannel decodeChannelBlock(QStringView block, double receiveOffsetMHz)
{
    RadioChannel channel;
    if (block.size() != blockLength)
        return channel;
    const double rx = bcdNumber(block.mid(4, 8));
    if (rx == 0)
        return channel;
    channel.inUse = true;
    channel.rxFrequency =
        formatFrequency(Frequency::fromUnits(qint64(rx)).mhz() + receiveOffsetMHz);
    channel.rxTone = decodeTone(block.mid(12, 4));
    const double tx = bcdNumber(block.mid(20, 8));
    channel.txFrequency = tx == 0 ? QString() : Frequency::fromUnits(qint64(tx)).text();
    channel.txTone = decodeTone(block.mid(28, 4));
    const int bcl = digitValue(block[17]);
    channel.bcl = bcl == 0 ? QStringLiteral("off") : QString::number(bcl);
    const int flag = digitValue(block[16]);
    if (flag <= 3) {
        channel.beat = (flag & 1) ? QStringLiteral("on") : QStringLiteral("off");
        channel.scan = (flag & 2) ? QStringLiteral("del") : QStringLiteral("add");
    }
    channel.power = block[3] == u'1' ? QStringLiteral("L") : QStringLiteral("H");
    return channel;
}

TrailerSettings decodeTrailerBlock(QStringView block)
{
    TrailerSettings settings;
    if (block.size() != blockLength)
        return settings;
    settings.modelCode = block.mid(3, 1).toString();
    if (isDecimalDigit(block[5]))
        settings.squelchLevel = block.mid(5, 1).toString();
    settings.channelTone = channelToneFromCode(block.mid(6, 2));
    return settings;
}

RadioReply decodeReply(QByteArrayView reply, Model own)
{
    RadioReply result;
    // Noise is reported as such even in a reply that stopped short after it.
    reply = reply.first(std::min<qsizetype>(reply.size(), replyLength));
    if (!isBlockText(reply)) {
        result.status = RadioReply::Status::BadCharacter;
        return result;
    }
    if (reply.size() < replyLength)
        return result; // Incomplete
    const QString text = QString::fromLatin1(reply);
    const QStringView view(text);
    result.settings =
        decodeTrailerBlock(view.mid((replyBlockCount - 1) * blockLength, blockLength));
    result.radioModel = modelFromCode(result.settings.modelCode);
    if (!result.radioModel) {
        result.status = RadioReply::Status::UnknownModel;
        return result;
    }
    if (*result.radioModel != own) {
        result.status = RadioReply::Status::OtherModel;
        return result;
    }
    const double offset = modelInfo(own).receiveOffsetMHz;
    for (int channel = 0; channel < channelCount; ++channel) {
        result.channels[static_cast<std::size_t>(channel)] =
            decodeChannelBlock(view.mid((channel + 1) * blockLength, blockLength), offset);
    }
    result.status = RadioReply::Status::Ok;
    return result;
}

} // namespace zw
