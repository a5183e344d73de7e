#pragma once

#include "channelrecord.h"

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

struct ChannelFileBytes {
    bool ok = false;
    QByteArray bytes;
    QString error; // why ok is false
};

// The file's bytes: the 163 values each followed by a comma, in GB2312, no line breaks, no
// quotes. Only a value holding a comma or a line break, or starting with a double quote, is
// written in double quotes. A blank entry (such as the blank pick-list entries) is written as
// its blanks and reads back empty. Fails when a text cannot be written in GB2312, or needs quotes
// but holds a double quote itself.
ChannelFileBytes writeChannelFile(const ChannelFileData &data);

struct ChannelFileValues {
    bool ok = false;
    QStringList values; // each value's text after the reading rules (numbers in shortest form)
    QString error;
};

// Splits GB2312 file bytes into values: commas and line breaks end a value, blanks before a
// value are skipped, a value starting with a double quote runs to the next double quote, and an
// unquoted value that is a decimal number becomes the number's shortest decimal text ("023"
// gives "23", "67.0" gives "67"). Fails on bytes that are not GB2312 or a file over the size
// bound; reads every value of the file.
ChannelFileValues splitChannelFile(const QByteArray &bytes);

struct ChannelFileRead {
    bool ok = false;
    // Value 1 as read, whenever the file had at least one value (also when ok is false): a
    // file of another model is recognised by it alone.
    QString modelCode;
    ChannelFileData data;
    QString error; // why ok is false
};

// Reads a whole channel file and checks it before anything is used: at least 163 values (more
// are ignored), a channel tone of the three entries, a squelch level "0" to "9" (a missing,
// empty or non-numeric level gives "3"). Fields 1 and 4 that are numbers are written as
// "###.00000"; a two-character field 3 or 6 gets a "0" in front ("23" back to "023").
ChannelFileRead readChannelFile(const QByteArray &bytes);

} // namespace zw
