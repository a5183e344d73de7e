#include "sampletables.h"

#include "numberreader.h"

#include <algorithm>

namespace zw::test
{

ChannelTable emptyTable()
{
    ChannelTable t;
    for (int row = 0; row < channelCount; ++row) {
        for (QString &f : t[row].fields)
            f = QLatin1String("");
        t[row][ChannelNumber] = QString::number(row + 1);
    }
    return t;
}

ChannelTable sampleTable()
{
    ChannelTable table;
    for (int row = 0; row < channelCount; ++row) {
        ChannelRecord &r = table[static_cast<std::size_t>(row)];
        r[ChannelNumber] = QString::number(row + 1);
        if (row % 5 == 3)
            continue; // an empty channel
        r[RxFrequency] = QStringLiteral("14%1.12500").arg(row % 10);
        r[RxTone] = row % 2 ? QStringLiteral("67.0") : QStringLiteral("D023N");
        r[Spare3] = row % 2 ? QString() : QStringLiteral("023");
        r[TxFrequency] = QStringLiteral("146.00000");
        r[TxTone] = row % 3 ? QStringLiteral("100.0") : QStringLiteral("    ");
        r[Scan] = QStringLiteral("add");
        r[Bcl] = QStringLiteral("off");
        r[Beat] = QStringLiteral("  ");
        r[Power] = QStringLiteral("L");
    }
    return table;
}

ChannelTable afterChannelFileRoundTrip(ChannelTable table)
{
    for (ChannelRecord &r : table) {
        for (QString &value : r.fields) {
            if (!value.isEmpty() && value.trimmed().isEmpty())
                value = QString();
        }
        for (int field : {int(RxTone), int(TxTone)}) {
            if (r[field] == QStringLiteral("67.0"))
                r[field] = QStringLiteral("67");
            else if (r[field] == QStringLiteral("100.0"))
                r[field] = QStringLiteral("100");
        }
    }
    return table;
}

QString codeOfNoModel()
{
    int highest = 0;
    for (const QString &code : modelTexts(&ModelInfo::code))
        highest = std::max(highest, code.toInt());
    return QString::number(highest + 1);
}

ChannelTable radioSampleTable(Model model)
{
    const BandLimits &band = modelInfo(model).band;
    auto f = [](double mhz) { return formatFrequency(mhz); };
    ChannelTable t;
    for (int i = 0; i < channelCount; ++i)
        t[static_cast<std::size_t>(i)][ChannelNumber] = QString::number(i + 1);
    t[0].fields = {"17",
                   f(sampleFrequencyMHz(band, 1)),
                   "88.5",
                   "",
                   f(sampleFrequencyMHz(band, 1)),
                   "D023N",
                   "",
                   "add",
                   "off",
                   "off",
                   "H"};
    t[1].fields = {"2",
                   f(sampleFrequencyMHz(band, 2.00625)),
                   "D754N",
                   "",
                   f(sampleFrequencyMHz(band, 3)),
                   "100.0",
                   "",
                   "del",
                   "1",
                   "on",
                   "L"};
    t[2].fields = {"3", f(band.bandHigh), "", "", "", "", "", "add", "2", "off", "L"};
    t[3].fields = {"4",   f(band.bandLow), "250.3", "", f(band.bandLow), "67.0", "",
                   "del", "off",           "on",    "H"};
    return t;
}

} // namespace zw::test
