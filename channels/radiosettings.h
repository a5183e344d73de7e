#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

namespace zw
{

// The two radio-wide settings that travel with the channel table: the squelch level (the
// window's Combo8) and the channel tone, the language the radio announces channels in (Combo11).
// The window's lists, channel files, the radio's trailer block and the command-line tool all
// take their values from here.

// "0" to "9", in list order.
const QStringList &squelchLevels();
// The level a new window starts with, and the fallback for a missing level.
QString defaultSquelchLevel();
bool isSquelchLevel(const QString &text);

// "中文", "英文", "键音", in list order.
const QStringList &channelTones();
// The tone a new window starts with.
QString defaultChannelTone();
bool isChannelTone(const QString &text);

// The two characters of the trailer block that carry a channel tone: "00" 中文, "10" 英文,
// "01" 键音. A text the list does not offer is sent as 中文.
QString channelToneCode(const QString &tone);
// The channel tone of two trailer characters, or empty when they are no tone's code.
QString channelToneFromCode(QStringView code);

// The two radio-wide settings of a model window; a fresh window has the defaults.
struct RadioSettings {
    QString squelchLevel = defaultSquelchLevel();
    QString channelTone = defaultChannelTone();

    bool operator==(const RadioSettings &other) const
    {
        return squelchLevel == other.squelchLevel && channelTone == other.channelTone;
    }
    bool operator!=(const RadioSettings &other) const { return !(*this == other); }
};

} // namespace zw
