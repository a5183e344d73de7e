#pragma once

#include <QString>

#include <array>
#include <optional>

namespace zw
{

enum class Model { V, UH, UM, UL };

constexpr std::array<Model, 4> allModels{Model::V, Model::UH, Model::UM, Model::UL};

// A rectangle in twips (1/1440 inch); 15 twips make one pixel at 96 dpi.
struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// Left edges (twips) of the drop-down lists of a model window.
struct PickListLefts {
    int combo1 = 0;
    int combo3 = 0;
    int combo5 = 0;
    int combo6 = 0;
    int combo7 = 0;
    int combo10 = 0;
    int combo8 = 0;
    int combo11 = 0;
};

// Band limits in MHz. Below clampFloor a frequency is raised to bandLow, above clampCeiling it is
// lowered to bandHigh; inside the margins it is kept with a warning.
struct BandLimits {
    double clampFloor = 0;
    double bandLow = 0;
    double bandHigh = 0;
    double clampCeiling = 0;
};

// Everything that differs between the four model windows. One table drives all of them.
struct ModelInfo {
    Model model;
    QString name;    // window name: "ZW4630V"
    QString caption; // window caption
    QString code;    // model code of the radio trailer and the channel file: "1" to "4"
    BandLimits band;
    double receiveOffsetMHz;         // added to the radio's stored receive frequency
    QString databaseFile;            // bare file name, resolved against the current directory
    int timer1IntervalMs;            // write pacing
    TwipsRect geometry;              // window position and size
    TwipsRect grid;                  // DataGrid1 position and size
    std::array<int, 9> columnWidths; // twips, grid columns 0 to 8
    int txToneCaptionBlanks;         // trailing blanks of the "发哑音" caption
    int menuLeadingBlanks;           // leading blanks of the Chinese File/Read/Write/Exit items
    PickListLefts pickLists;
    int combo1BlankEntryBlanks; // blanks of Combo1's last entry
    bool combo10HasBlankEntry;  // Combo10 offers a third entry of one blank
    // Message shown when the radio read in this window reports another model, indexed by that
    // model's code 1..4 (the own code's slot is empty).
    std::array<QString, 5> otherRadioMessages;
    // Transmit power of the "H" and "L" settings in watts, as channel lists of other tools
    // state it.
    double highPowerWatts;
    double lowPowerWatts;
};

const ModelInfo &modelInfo(Model model);

// The model whose code is `code` ("1" to "4"), compared as text; nothing for any other text.
std::optional<Model> modelFromCode(const QString &code);

// The model whose window name is `name` ("ZW4630V", ...), or nothing.
std::optional<Model> modelFromName(const QString &name);

// Message for a channel file of the model with code `code`, shown by any window it does not fit.
QString otherModelFileMessage(Model fileModel);

} // namespace zw
