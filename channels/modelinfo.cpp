#include "modelinfo.h"

#include <QtGlobal>

#include <cmath>

namespace zw
{

namespace
{

// The facts of one model as plain constants, so the compiler can check the table whole. The
// constructor takes every field: a row cut short does not compile, nor does a table with a model
// left out (a row has no default).
struct ModelRow {
    constexpr ModelRow(Model model, const char *name, const char *shortName, const char *code,
                       BandLimits band, double receiveOffsetMHz, const char *databaseFile,
                       int timer1IntervalMs, int toneBlankEntryBlanks, bool powerHasBlankEntry,
                       double highPowerWatts, double lowPowerWatts)
        : model(model), name(name), shortName(shortName), code(code), band(band),
          receiveOffsetMHz(receiveOffsetMHz), databaseFile(databaseFile),
          timer1IntervalMs(timer1IntervalMs), toneBlankEntryBlanks(toneBlankEntryBlanks),
          powerHasBlankEntry(powerHasBlankEntry), highPowerWatts(highPowerWatts),
          lowPowerWatts(lowPowerWatts)
    {
    }

    Model model;
    const char *name;
    const char *shortName;
    const char *code;
    BandLimits band;
    double receiveOffsetMHz;
    const char *databaseFile;
    int timer1IntervalMs;
    int toneBlankEntryBlanks;
    bool powerHasBlankEntry;
    double highPowerWatts;
    double lowPowerWatts;
};

// One row per model, in the order of allModels. A new model copies the last two list quirks of
// ZW4630V (4 blanks, no blank power entry) unless its radio is known to differ.
constexpr std::array<ModelRow, modelCount> rows{
    // model, name, short name, code, band {clamp floor, low, high, clamp ceiling} MHz,
    // receive offset MHz, database, write step ms, blanks of Combo1's last entry,
    // blank power entry, watts H, watts L
    ModelRow(Model::V, "ZW4630V", "V", "4", {130, 136, 174, 180}, -21.4, "zw4630.mdb", 100, 4,
             false, 5.0, 1.0),
    ModelRow(Model::UH, "ZW4630UH", "UH", "1", {400, 430, 470, 500}, 45.05, "zw7150H.mdb", 200, 4,
             true, 4.0, 1.0),
    ModelRow(Model::UM, "ZW4630UM", "UM", "2", {380, 400, 430, 450}, 45.05, "zw7150M.mdb", 100, 3,
             true, 4.0, 1.0),
    ModelRow(Model::UL, "ZW4630UL", "UL", "3", {340, 350, 370, 380}, 45.05, "zw7150L.mdb", 100, 3,
             true, 4.0, 1.0),
};

constexpr bool filled(const char *text)
{
    return text && *text;
}

constexpr bool sameText(const char *a, const char *b)
{
    while (*a && *a == *b) {
        ++a;
        ++b;
    }
    return *a == *b;
}

// A row is complete when it names its model in its place and gives every fact in its range: no
// empty name, no zero step or power, a band whose limits rise.
constexpr bool everyRowComplete()
{
    for (std::size_t i = 0; i < modelCount; ++i) {
        const ModelRow &row = rows[i];
        const BandLimits &band = row.band;
        if (row.model != allModels[i] || !filled(row.name) || !filled(row.shortName) ||
            !filled(row.code) || !filled(row.databaseFile) || row.timer1IntervalMs <= 0 ||
            row.toneBlankEntryBlanks <= 0 || row.lowPowerWatts <= 0 ||
            row.highPowerWatts < row.lowPowerWatts || band.clampFloor <= 0 ||
            band.clampFloor > band.bandLow || band.bandLow >= band.bandHigh ||
            band.bandHigh > band.clampCeiling)
            return false;
    }
    return true;
}

// Names, short names, codes and databases each tell one model from the others.
constexpr bool namesTellModelsApart()
{
    for (std::size_t i = 0; i < modelCount; ++i)
        for (std::size_t j = i + 1; j < modelCount; ++j)
            if (sameText(rows[i].name, rows[j].name) ||
                sameText(rows[i].shortName, rows[j].shortName) ||
                sameText(rows[i].code, rows[j].code) ||
                sameText(rows[i].databaseFile, rows[j].databaseFile))
                return false;
    return true;
}

static_assert(everyRowComplete(), "every model needs a complete row in the model table, in the "
                                  "order of allModels");
static_assert(namesTellModelsApart(), "two models share a name, short name, code or database");

ModelInfo infoOf(const ModelRow &row)
{
    ModelInfo info;
    info.model = row.model;
    info.name = QLatin1String(row.name);
    info.shortName = QLatin1String(row.shortName);
    info.code = QLatin1String(row.code);
    info.band = row.band;
    info.receiveOffsetMHz = row.receiveOffsetMHz;
    info.databaseFile = QLatin1String(row.databaseFile);
    info.timer1IntervalMs = row.timer1IntervalMs;
    info.toneBlankEntryBlanks = row.toneBlankEntryBlanks;
    info.powerHasBlankEntry = row.powerHasBlankEntry;
    info.highPowerWatts = row.highPowerWatts;
    info.lowPowerWatts = row.lowPowerWatts;
    return info;
}

const std::array<ModelInfo, modelCount> &table()
{
    static const std::array<ModelInfo, modelCount> models = [] {
        std::array<ModelInfo, modelCount> infos;
        for (std::size_t i = 0; i < modelCount; ++i)
            infos[i] = infoOf(rows[i]);
        return infos;
    }();
    return models;
}

} // namespace

const ModelInfo &modelInfo(Model model)
{
    return table()[modelIndex(model)];
}

std::optional<Model> modelFromCode(const QString &code)
{
    for (const ModelInfo &info : table())
        if (info.code == code)
            return info.model;
    return std::nullopt;
}

std::optional<Model> modelFromName(const QString &name)
{
    for (const ModelInfo &info : table())
        if (info.name == name)
            return info.model;
    return std::nullopt;
}

std::optional<Model> modelFromShortName(const QString &name)
{
    for (const ModelInfo &info : table())
        if (!name.isEmpty() && info.shortName.compare(name, Qt::CaseInsensitive) == 0)
            return info.model;
    return std::nullopt;
}

QStringList modelTexts(QString ModelInfo::*text)
{
    QStringList texts;
    for (Model model : allModels)
        texts << modelInfo(model).*text;
    return texts;
}

QString spokenList(const QStringList &items, const QString &conjunction)
{
    if (items.size() < 2)
        return items.join(QString());
    return items.mid(0, items.size() - 1).join(QStringLiteral(", ")) + QLatin1Char(' ') +
           conjunction + QLatin1Char(' ') + items.constLast();
}

double sampleFrequencyMHz(const BandLimits &band, double aboveLowMHz)
{
    const double width = band.bandHigh - band.bandLow;
    return band.bandLow + (aboveLowMHz < width ? aboveLowMHz : std::fmod(aboveLowMHz, width));
}

} // namespace zw
