#include "changeset.h"

#include <algorithm>

namespace zw
{

ChangeSet ChangeSet::inverted() const
{
    ChangeSet inverse = *this;
    for (FieldChange &change : inverse.fields)
        std::swap(change.before, change.after);
    for (SettingChange &change : inverse.settings)
        std::swap(change.before, change.after);
    return inverse;
}

QList<int> ChangeSet::rows() const
{
    QList<int> rows;
    for (const FieldChange &change : fields)
        if (!rows.contains(change.row))
            rows.append(change.row);
    std::sort(rows.begin(), rows.end());
    return rows;
}

ChangeSet changesBetween(const ChannelTable &before, const ChannelTable &after)
{
    ChangeSet changes;
    for (int row = 0; row < channelCount; ++row) {
        const ChannelRecord &was = before[static_cast<std::size_t>(row)];
        const ChannelRecord &now = after[static_cast<std::size_t>(row)];
        for (int field = 0; field < fieldCount; ++field) {
            // A null and an empty text are the same stored value.
            if (was[field] != now[field] && !(was[field].isEmpty() && now[field].isEmpty()))
                changes.fields.append({row, field, was[field], now[field]});
        }
    }
    return changes;
}

} // namespace zw
