#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <cstddef>
#include <optional>

namespace zw
{

enum class Model { V, UH, UM, UL };

// Every model, in the order of the enumeration. A per-model array holds modelCount entries and
// is indexed by modelIndex(); the tables of the models (here and the window table of the shell)
// have one row per model.
constexpr std::array allModels{Model::V, Model::UH, Model::UM, Model::UL};
constexpr std::size_t modelCount = allModels.size();

constexpr std::size_t modelIndex(Model model)
{
    return static_cast<std::size_t>(model);
}

namespace detail
{
constexpr bool listsEveryModelInOrder()
{
    for (std::size_t i = 0; i < modelCount; ++i)
        if (modelIndex(allModels[i]) != i)
            return false;
    return true;
}
} // namespace detail
static_assert(detail::listsEveryModelInOrder(),
              "allModels lists the enumerators of Model in their order, so modelIndex() of each "
              "is its place in a per-model array");

// Band limits in MHz. Below clampFloor a frequency is raised to bandLow, above clampCeiling it is
// lowered to bandHigh; inside the margins it is kept with a warning.
struct BandLimits {
    double clampFloor = 0;
    double bandLow = 0;
    double bandHigh = 0;
    double clampCeiling = 0;
};

// What a radio of one model is: its codes, band, offset, database and pacing. How its window
// looks is the window's business (see the shell's window layout). The table of the models
// (modelinfo.cpp) gives every field of every model; a model left out of it, or a row cut short,
// does not compile. Adding a model takes its enumerator, its place in allModels and its row.
struct ModelInfo {
    Model model = Model::V;
    QString name;      // window name: "ZW4630V"
    QString shortName; // the command line's name of the model: "V"
    QString code;      // model code of the radio trailer and the channel file: "4"
    BandLimits band;
    double receiveOffsetMHz = 0; // added to the radio's stored receive frequency
    QString databaseFile;        // bare file name, resolved against the current directory
    int timer1IntervalMs = 0;    // write step: the pause before each block of a write
    // Quirks of the original four radios' pick lists, kept because files and radios carry them:
    // the blanks of the last entry of the both-tones list (Combo1), and whether the power list
    // (Combo10) offers a third entry of one blank. A new model takes ZW4630V's (4, no).
    int toneBlankEntryBlanks = 0;
    bool powerHasBlankEntry = false;
    // Transmit power of the "H" and "L" settings in watts, as channel lists of other tools
    // state it.
    double highPowerWatts = 0;
    double lowPowerWatts = 0;
};

const ModelInfo &modelInfo(Model model);

// The model whose code is `code` ("4", ...), compared as text; nothing for any other text.
std::optional<Model> modelFromCode(const QString &code);

// The model whose window name is `name` ("ZW4630V", ...), or nothing.
std::optional<Model> modelFromName(const QString &name);

// The model whose short name is `name` ("V", "uh", ...: letter case does not matter), or nothing.
std::optional<Model> modelFromShortName(const QString &name);

// One text of every model, in the order of allModels: modelTexts(&ModelInfo::shortName) is
// {"V", "UH", ...}. Help and error texts list the models with it, so they name every model.
QStringList modelTexts(QString ModelInfo::*text);

// `items` as a sentence lists them: "V, UH, UM or UL" (`conjunction` "or"), "A and B", "A".
QString spokenList(const QStringList &items, const QString &conjunction);

// A frequency `aboveLowMHz` above the low edge of `band`, for sample and demonstration
// channels: an offset past the band's width starts again at the low edge, so the same offsets
// give channels inside every band, wide or narrow. The bands are whole megahertz wide, so a
// frequency on the 5 kHz or 6.25 kHz raster stays on it.
double sampleFrequencyMHz(const BandLimits &band, double aboveLowMHz);

} // namespace zw
