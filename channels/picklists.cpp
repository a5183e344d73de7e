#include "picklists.h"

#include "cellentry.h"
#include "tones.h"

namespace zw
{

namespace
{

QString blanks(int count)
{
    return QString(count, u' ');
}

} // namespace

QString pickListName(PickList list)
{
    switch (list) {
    case PickList::Combo1:
        return QStringLiteral("Combo1");
    case PickList::Combo3:
        return QStringLiteral("Combo3");
    case PickList::Combo5:
        return QStringLiteral("Combo5");
    case PickList::Combo6:
        return QStringLiteral("Combo6");
    case PickList::Combo7:
        return QStringLiteral("Combo7");
    case PickList::Combo10:
        return QStringLiteral("Combo10");
    }
    return {};
}

QStringList pickListEntries(PickList list, Model model)
{
    const ModelInfo &info = modelInfo(model);
    QStringList entries;
    switch (list) {
    case PickList::Combo1:
        entries << QString(QLatin1String("")) << ctcssTones() << dcsEntries()
                << blanks(info.combo1BlankEntryBlanks);
        break;
    case PickList::Combo3:
        entries << blanks(3) << ctcssTones() << dcsEntries() << blanks(1) << blanks(1);
        break;
    case PickList::Combo5:
        entries << QStringLiteral("add") << QStringLiteral("del") << blanks(2);
        break;
    case PickList::Combo6:
        entries << QStringLiteral("off") << QStringLiteral("1") << QStringLiteral("2") << blanks(1);
        break;
    case PickList::Combo7:
        entries << QStringLiteral("off") << QStringLiteral("on") << blanks(2);
        break;
    case PickList::Combo10:
        entries << QStringLiteral("H") << QStringLiteral("L");
        if (info.combo10HasBlankEntry)
            entries << blanks(1);
        break;
    }
    return entries;
}

QList<int> pickListFields(PickList list)
{
    switch (list) {
    case PickList::Combo1:
        return {RxTone, TxTone};
    case PickList::Combo3:
        return {TxTone};
    case PickList::Combo5:
        return {Scan};
    case PickList::Combo6:
        return {Bcl};
    case PickList::Combo7:
        return {Beat};
    case PickList::Combo10:
        return {Power};
    }
    return {};
}

int pickListLeft(PickList list, const ModelInfo &info)
{
    const PickListLefts &lefts = info.pickLists;
    switch (list) {
    case PickList::Combo1:
        return lefts.combo1;
    case PickList::Combo3:
        return lefts.combo3;
    case PickList::Combo5:
        return lefts.combo5;
    case PickList::Combo6:
        return lefts.combo6;
    case PickList::Combo7:
        return lefts.combo7;
    case PickList::Combo10:
        return lefts.combo10;
    }
    return 0;
}

int pickListWidth(PickList list)
{
    // The tone lists are wide enough for "D023N" and "250.3"; the others end before the next
    // list starts (Combo10 ends at the grid's right edge in ZW4630V and ZW4630UL).
    switch (list) {
    case PickList::Combo1:
    case PickList::Combo3:
        return 855;
    case PickList::Combo5:
    case PickList::Combo6:
        return 615;
    case PickList::Combo7:
        return 675;
    case PickList::Combo10:
        return 735;
    }
    return 0;
}

ChannelRecord applyPick(const ChannelRecord &record, PickList list, const QString &entry)
{
    ChannelRecord next = record;
    const QString text = isEmptyChannel(record) ? QString(QLatin1String("")) : entry;
    for (int field : pickListFields(list))
        next[field] = text;
    return next;
}

} // namespace zw
