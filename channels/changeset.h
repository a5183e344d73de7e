#pragma once

#include "channelrecord.h"

#include <QList>
#include <QString>

namespace zw
{

// The two radio-wide settings kept beside the channels.
enum class RadioSetting { SquelchLevel, ChannelTone };

// One field of one channel (row 0..15, field index 0..10) as an edit found it and left it.
struct FieldChange {
    int row = 0;
    int field = 0;
    QString before;
    QString after;
};

struct SettingChange {
    RadioSetting setting = RadioSetting::SquelchLevel;
    QString before;
    QString after;
};

// What one edit changes, field by field: a typed cell, a pick, a settings choice, a paste, a
// clear, a cut or a move. Applying it writes exactly these fields and nothing else, so another
// program's edits to other fields stay; its inverse is its undo.
struct ChangeSet {
    QList<FieldChange> fields;
    QList<SettingChange> settings;

    bool isEmpty() const { return fields.isEmpty() && settings.isEmpty(); }
    // Before and after swapped, in the same order.
    ChangeSet inverted() const;
    // The channels (0..15) it touches, ascending, each once.
    QList<int> rows() const;
};

// The fields in which `after` differs from `before`, channel by channel in field order.
ChangeSet changesBetween(const ChannelTable &before, const ChannelTable &after);

} // namespace zw
