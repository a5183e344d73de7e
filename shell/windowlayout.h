#pragma once

#include "modelinfo.h"
#include "picklists.h"

#include <QString>

#include <array>

namespace zw
{

// A rectangle in twips (see twips()).
struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// Left edges (twips) of the drop-down lists of a model window, named by what they set.
struct PickListLefts {
    int toneBoth = 0;    // Combo1
    int txTone = 0;      // Combo3
    int scan = 0;        // Combo5
    int bcl = 0;         // Combo6
    int beat = 0;        // Combo7
    int power = 0;       // Combo10
    int squelch = 0;     // Combo8
    int channelTone = 0; // Combo11
};

// How one model window looks: everything that differs between the four windows but is not
// about the radio itself.
struct ModelWindowLayout {
    QString caption;                 // window caption, blanks included
    TwipsRect geometry;              // window position and size
    TwipsRect grid;                  // DataGrid1 position and size
    std::array<int, 9> columnWidths; // twips, grid columns 0 to 8
    int txToneCaptionBlanks = 0;     // trailing blanks of the "发哑音" caption
    int menuLeadingBlanks = 0;       // leading blanks of the Chinese File/Read/Write/Exit items
    PickListLefts pickListLefts;
    // Message shown when the radio read in this window reports another model, indexed by that
    // model's code 1..4 (the own code's slot is empty).
    std::array<QString, 5> otherRadioMessages;
};

const ModelWindowLayout &modelWindowLayout(Model model);

// Left edge (twips) of a pick list in `model`'s window, and its width (twips).
int pickListLeft(PickList list, Model model);
int pickListWidth(PickList list);

} // namespace zw
