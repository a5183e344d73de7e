#pragma once

#include "radiosettings.h"

#include <QString>

#include <optional>

namespace zw
{

// The two radio-wide settings of a model window, as stored; a fresh window shows the defaults.
struct RadioSettings {
    QString squelchLevel = defaultSquelchLevel();
    QString channelTone = defaultChannelTone();

    bool operator==(const RadioSettings &other) const
    {
        return squelchLevel == other.squelchLevel && channelTone == other.channelTone;
    }
    bool operator!=(const RadioSettings &other) const { return !(*this == other); }
};

// The settings kept in the model database beside 信道表, in the table 设置表 (columns 静噪级别
// and 信道音, one row). Nothing when the file has no such table or row, or cannot be read; a
// stored value that is not one of the list's entries reads as that setting's default. Reading
// never changes the file.
std::optional<RadioSettings> readRadioSettings(const QString &databasePath);

// Stores `settings` in 设置表 of the database at `databasePath`, creating the table when the
// file has none. False (with the reason in `error`) when the file cannot be written.
bool writeRadioSettings(const QString &databasePath, const RadioSettings &settings,
                        QString *error = nullptr);

} // namespace zw
