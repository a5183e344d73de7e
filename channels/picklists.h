#pragma once

#include "channelrecord.h"
#include "modelinfo.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace zw
{

// The six pick lists laid over the grid's header band, each above the column it sets.
enum class PickList { ToneBoth, TxTone, Scan, Bcl, Beat, Power };

constexpr std::array<PickList, 6> allPickLists{PickList::ToneBoth, PickList::TxTone,
                                               PickList::Scan,     PickList::Bcl,
                                               PickList::Beat,     PickList::Power};

// "Combo1", "Combo3", ...: the list's name (its objectName).
QString pickListName(PickList list);

// The entries of `list` in `model`'s window, in order. A blank entry is exactly its count of
// blanks, and choosing it stores those blanks as they are.
QStringList pickListEntries(PickList list, Model model);

// Fields the list writes, in the order it writes them (Combo1 sets both tones).
QList<int> pickListFields(PickList list);

// The list that sets grid column `column` (2, 4, 5, 6, 7, 8), or nothing for the channel number
// and the two frequency columns.
std::optional<PickList> pickListOfColumn(int column);

// The pick rule: on a channel in use the chosen text goes into the list's field(s); on an empty
// channel those fields are emptied instead. Nothing else changes.
ChannelRecord applyPick(const ChannelRecord &record, PickList list, const QString &entry);

} // namespace zw
