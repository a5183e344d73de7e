#pragma once

#include "channelrecord.h"
#include "result.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace zw
{

// What a channel file holds: the model code, the two radio-wide settings and fields 1 to 10 of
// the 16 records (field 0, the channel number, is never in the file and stays empty here).
struct ChannelFileData {
    QString modelCode;    // "1" to "4"
    QString channelTone;  // Combo11: "中文", "英文" or "键音"
    QString squelchLevel; // Combo8: "0" to "9"
    ChannelTable records;
};

// A channel file is a few hundred bytes; anything larger than this is refused before it is read.
constexpr qint64 maxChannelFileSize = 64 * 1024;

// Number of comma-terminated values in a channel file: model code, channel tone, squelch level
// and ten fields of each of the 16 records.
constexpr int channelFileValueCount = 3 + 10 * channelCount;

// The file's bytes: the 163 values each followed by a comma, in GB2312, no line breaks, no
// quotes. Only a value holding a comma or a line break, or starting with a double quote, is
// written in double quotes. A blank entry (such as the blank pick-list entries) is written as
// its blanks and reads back empty. Fails when a text cannot be written in GB2312, or needs quotes
// but holds a double quote itself.
Expected<QByteArray> writeChannelFile(const ChannelFileData &data);

// The longest spare field (备用3, 备用6), in GB2312 bytes, that is taken where spare fields come
// in from outside a channel file: 32 such fields still leave a file far below
// maxChannelFileSize, so a table that holds them can be saved and opened again.
constexpr qsizetype maxSpareFieldBytes = 1024;

// Why a spare field could not be written into a channel file and read back, if it could not.
enum class SpareFieldFault {
    None,
    TooLong,   // over maxSpareFieldBytes
    NotGb2312, // a character GB2312 cannot hold
    Quote,     // a double quote in a value that must be written in quotes
};
SpareFieldFault spareFieldFault(const QString &value);

// Splits GB2312 file bytes into values: commas and line breaks end a value, blanks before a
// value are skipped, a value starting with a double quote runs to the next double quote, and an
// unquoted value that is a decimal number becomes the number's shortest decimal text ("023"
// gives "23", "67.0" gives "67"). Fails on bytes that are not GB2312 or a file over the size
// bound; reads every value of the file. Each value's text is as the reading rules give it.
Expected<QStringList> splitChannelFile(const QByteArray &bytes);

// Reads a whole channel file and checks it before anything is used: at least 163 values (more
// are ignored), a channel tone of the three entries, a squelch level "0" to "9" (a missing,
// empty or non-numeric level gives "3"). Fields 1 and 4 that are numbers are written as
// "###.00000"; a two-character field 3 or 6 gets a "0" in front ("23" back to "023").
Expected<ChannelFileData> readChannelFile(const QByteArray &bytes);

// Value 1 of the file as read, whenever the file splits into at least one value (also when
// readChannelFile() refuses it): a file of another model is recognised by it alone.
QString channelFileModelCode(const QByteArray &bytes);

} // namespace zw
