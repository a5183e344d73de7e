#pragma once

#include <QString>

#include <array>
#include <optional>

namespace zw
{

enum class Model { V, UH, UM, UL };

constexpr std::array<Model, 4> allModels{Model::V, Model::UH, Model::UM, Model::UL};

// Band limits in MHz. Below clampFloor a frequency is raised to bandLow, above clampCeiling it is
// lowered to bandHigh; inside the margins it is kept with a warning.
struct BandLimits {
    double clampFloor = 0;
    double bandLow = 0;
    double bandHigh = 0;
    double clampCeiling = 0;
};

// What a radio of one model is: its codes, band, offset, database and pacing. How its window
// looks is the window's business (see the shell's window layout).
struct ModelInfo {
    Model model = Model::V;
    QString name; // window name: "ZW4630V"
    QString code; // model code of the radio trailer and the channel file: "1" to "4"
    BandLimits band;
    double receiveOffsetMHz = 0;     // added to the radio's stored receive frequency
    QString databaseFile;            // bare file name, resolved against the current directory
    int timer1IntervalMs = 0;        // write step: the pause before each block of a write
    int toneBlankEntryBlanks = 0;    // blanks of the last entry of the both-tones list (Combo1)
    bool powerHasBlankEntry = false; // the power list (Combo10) offers a third entry of one blank
    // Transmit power of the "H" and "L" settings in watts, as channel lists of other tools
    // state it.
    double highPowerWatts = 0;
    double lowPowerWatts = 0;
};

const ModelInfo &modelInfo(Model model);

// The model whose code is `code` ("1" to "4"), compared as text; nothing for any other text.
std::optional<Model> modelFromCode(const QString &code);

// The model whose window name is `name` ("ZW4630V", ...), or nothing.
std::optional<Model> modelFromName(const QString &name);

} // namespace zw
