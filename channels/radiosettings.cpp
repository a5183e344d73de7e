#include "radiosettings.h"

#include <array>
#include <utility>

namespace zw
{

namespace
{

struct ToneCode {
    const char16_t *tone;
    const char *code;
};

constexpr std::array<ToneCode, 3> toneCodes{{
    {u"中文", "00"},
    {u"英文", "10"},
    {u"键音", "01"},
}};

} // namespace

const QStringList &squelchLevels()
{
    static const QStringList levels = [] {
        QStringList list;
        for (int level = 0; level <= 9; ++level)
            list << QString::number(level);
        return list;
    }();
    return levels;
}

QString defaultSquelchLevel()
{
    return QStringLiteral("3");
}

bool isSquelchLevel(const QString &text)
{
    return squelchLevels().contains(text);
}

const QStringList &channelTones()
{
    static const QStringList tones = [] {
        QStringList list;
        for (const ToneCode &entry : toneCodes)
            list << QString::fromUtf16(entry.tone);
        return list;
    }();
    return tones;
}

QString defaultChannelTone()
{
    return channelTones().front();
}

bool isChannelTone(const QString &text)
{
    return channelTones().contains(text);
}

QString channelToneCode(const QString &tone)
{
    for (const ToneCode &entry : toneCodes) {
        if (tone == QStringView(entry.tone))
            return QLatin1String(entry.code);
    }
    return QLatin1String(toneCodes.front().code);
}

QString channelToneFromCode(QStringView code)
{
    for (const ToneCode &entry : toneCodes) {
        if (code == QLatin1String(entry.code))
            return QString::fromUtf16(entry.tone);
    }
    return QString();
}

} // namespace zw
