#include "modelinfo.h"

#include <QtGlobal>

#include <cmath>

namespace zw
{

namespace
{

ModelInfo infoV()
{
    ModelInfo v;
    v.model = Model::V;
    v.name = QStringLiteral("ZW4630V");
    v.shortName = QStringLiteral("V");
    v.code = QStringLiteral("4");
    v.band.clampFloor = 130;
    v.band.bandLow = 136;
    v.band.bandHigh = 174;
    v.band.clampCeiling = 180;
    v.receiveOffsetMHz = -21.4;
    v.databaseFile = QStringLiteral("zw4630.mdb");
    v.timer1IntervalMs = 100;
    v.toneBlankEntryBlanks = 4;
    v.powerHasBlankEntry = false;
    v.highPowerWatts = 5.0;
    v.lowPowerWatts = 1.0;
    return v;
}

ModelInfo infoUH()
{
    ModelInfo uh;
    uh.model = Model::UH;
    uh.name = QStringLiteral("ZW4630UH");
    uh.shortName = QStringLiteral("UH");
    uh.code = QStringLiteral("1");
    uh.band.clampFloor = 400;
    uh.band.bandLow = 430;
    uh.band.bandHigh = 470;
    uh.band.clampCeiling = 500;
    uh.receiveOffsetMHz = 45.05;
    uh.databaseFile = QStringLiteral("zw7150H.mdb");
    uh.timer1IntervalMs = 200;
    uh.toneBlankEntryBlanks = 4;
    uh.powerHasBlankEntry = true;
    uh.highPowerWatts = 4.0;
    uh.lowPowerWatts = 1.0;
    return uh;
}

ModelInfo infoUM()
{
    ModelInfo um;
    um.model = Model::UM;
    um.name = QStringLiteral("ZW4630UM");
    um.shortName = QStringLiteral("UM");
    um.code = QStringLiteral("2");
    um.band.clampFloor = 380;
    um.band.bandLow = 400;
    um.band.bandHigh = 430;
    um.band.clampCeiling = 450;
    um.receiveOffsetMHz = 45.05;
    um.databaseFile = QStringLiteral("zw7150M.mdb");
    um.timer1IntervalMs = 100;
    um.toneBlankEntryBlanks = 3;
    um.powerHasBlankEntry = true;
    um.highPowerWatts = 4.0;
    um.lowPowerWatts = 1.0;
    return um;
}

ModelInfo infoUL()
{
    ModelInfo ul;
    ul.model = Model::UL;
    ul.name = QStringLiteral("ZW4630UL");
    ul.shortName = QStringLiteral("UL");
    ul.code = QStringLiteral("3");
    ul.band.clampFloor = 340;
    ul.band.bandLow = 350;
    ul.band.bandHigh = 370;
    ul.band.clampCeiling = 380;
    ul.receiveOffsetMHz = 45.05;
    ul.databaseFile = QStringLiteral("zw7150L.mdb");
    ul.timer1IntervalMs = 100;
    ul.toneBlankEntryBlanks = 3;
    ul.powerHasBlankEntry = true;
    ul.highPowerWatts = 4.0;
    ul.lowPowerWatts = 1.0;
    return ul;
}

// One row per model; modelInfo() finds a model's row by the model it names.
const std::array<ModelInfo, modelCount> &table()
{
    static const std::array<ModelInfo, modelCount> models{infoV(), infoUH(), infoUM(), infoUL()};
    return models;
}

} // namespace

const ModelInfo &modelInfo(Model model)
{
    for (const ModelInfo &info : table())
        if (info.model == model)
            return info;
    qFatal("no model information for model %d", int(model));
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
