#pragma once

#include "channelrecord.h"
#include "modelinfo.h"
#include "radiochannel.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <optional>

namespace zw
{

// The radio's memory travels as blocks of 32 upper-case hexadecimal characters. A write sends
// "A" and the channel image (16 channel blocks and a trailer block); the reply to "B" is a
// header block, the 16 channel blocks and the radio's trailer block.
constexpr int blockLength = 32;
constexpr int imageBlockCount = channelCount + 1;          // 17: what a write sends after "A"
constexpr int replyBlockCount = channelCount + 2;          // 18: what the radio answers to "B"
constexpr int replyLength = replyBlockCount * blockLength; // 576

// Position (1..83) of a three-digit DCS code in the DCS code table, exact comparison; 0 when the
// code is not there. The radio exchange carries a DCS code as this position.
qint16 DTSC(const QString &code);

// The 8-character frequency field: the cell read as MHz, minus `offsetMHz`, in units of 10 Hz,
// as eight BCD digits sent least significant pair first. A number that does not fit in eight
// digits (negative, or 100000000 and above) is sent as 00000000, which the radio takes as "no
// frequency": sending it anyway would shift every later field of the block.
QString EncodeFrequency(const QString &cell, double offsetMHz);

// The 4-character tone field: "0000" for no tone, the DCS position in hexadecimal + "55", or
// the CTCSS tone in tenths of Hz as BCD, low pair first.
QString EncodeTone(const QString &cell);

// The 32-character channel block of one record; an empty channel gives 32 "0".
QString EncodeChannelBlock(const ChannelRecord &record, double receiveOffsetMHz);

// The 32-character trailer block of a write from the squelch level and channel tone texts.
QString EncodeTrailerBlock(const QString &squelchLevel, const QString &channelTone);

// The whole 544-character channel image of a write.
QByteArray encodeChannelImage(const ChannelTable &records, double receiveOffsetMHz,
                              const QString &squelchLevel, const QString &channelTone);

// True when every character is "0".."9" or "A".."F" (what the radio sends; anything else is
// line noise).
bool isBlockText(QByteArrayView text);

// The tone text of a 4-character tone field: "D" + code + "N" for a DCS position, the tone in
// Hz in its shortest form ("88.5", "67", "100") for a CTCSS tone, empty for none.
QString decodeTone(QStringView field);

// The channel one channel block holds. A block without a receive frequency, or not 32
// characters long, is a channel not in use.
RadioChannel decodeChannelBlock(QStringView block, double receiveOffsetMHz);

// What the radio's trailer block says. The settings are empty when the block holds no value
// the lists offer: the window then keeps what it shows.
struct TrailerSettings {
    QString modelCode;    // character 4
    QString squelchLevel; // "0".."9" or empty
    QString channelTone;  // "中文", "英文", "键音" or empty
};
TrailerSettings decodeTrailerBlock(QStringView block);

// The outcome of decoding a whole reply to "B".
struct RadioReply {
    enum class Status {
        Ok,           // a radio of the window's own model
        OtherModel,   // a radio of another model: nothing of it belongs in this window
        UnknownModel, // a model code that is no model
        BadCharacter, // a character other than 0-9/A-F (also in a reply that stops short)
        Incomplete,   // fewer than 576 characters
    };
    Status status = Status::Incomplete;
    RadioChannels channels; // the 16 channel blocks; decoded only with status Ok
    TrailerSettings settings;
    std::optional<Model> radioModel;
};

// Decodes the 576 characters of a reply for a window of model `own`. Only a reply with status
// Ok is meant to be applied (mergeRadioChannels).
RadioReply decodeReply(QByteArrayView reply, Model own);

} // namespace zw
