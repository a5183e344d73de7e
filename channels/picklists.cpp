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
    case PickList::ToneBoth:
        return QStringLiteral("Combo1");
    case PickList::TxTone:
        return QStringLiteral("Combo3");
    case PickList::Scan:
        return QStringLiteral("Combo5");
    case PickList::Bcl:
        return QStringLiteral("Combo6");
    case PickList::Beat:
        return QStringLiteral("Combo7");
    case PickList::Power:
        return QStringLiteral("Combo10");
    }
    return {};
}

QStringList pickListEntries(PickList list, Model model)
{
    const ModelInfo &info = modelInfo(model);
    QStringList entries;
    switch (list) {
    case PickList::ToneBoth:
        entries << QString(QLatin1String("")) << ctcssTones() << dcsEntries()
                << blanks(info.toneBlankEntryBlanks);
        break;
    case PickList::TxTone:
        entries << blanks(3) << ctcssTones() << dcsEntries() << blanks(1) << blanks(1);
        break;
    case PickList::Scan:
        entries << QStringLiteral("add") << QStringLiteral("del") << blanks(2);
        break;
    case PickList::Bcl:
        entries << QStringLiteral("off") << QStringLiteral("1") << QStringLiteral("2") << blanks(1);
        break;
    case PickList::Beat:
        entries << QStringLiteral("off") << QStringLiteral("on") << blanks(2);
        break;
    case PickList::Power:
        entries << QStringLiteral("H") << QStringLiteral("L");
        if (info.powerHasBlankEntry)
            entries << blanks(1);
        break;
    }
    return entries;
}

QList<int> pickListFields(PickList list)
{
    switch (list) {
    case PickList::ToneBoth:
        return {RxTone, TxTone};
    case PickList::TxTone:
        return {TxTone};
    case PickList::Scan:
        return {Scan};
    case PickList::Bcl:
        return {Bcl};
    case PickList::Beat:
        return {Beat};
    case PickList::Power:
        return {Power};
    }
    return {};
}

std::optional<PickList> pickListOfColumn(int column)
{
    switch (column) {
    case 2:
        return PickList::ToneBoth;
    case 4:
        return PickList::TxTone;
    case 5:
        return PickList::Scan;
    case 6:
        return PickList::Bcl;
    case 7:
        return PickList::Beat;
    case 8:
        return PickList::Power;
    default:
        return std::nullopt;
    }
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
