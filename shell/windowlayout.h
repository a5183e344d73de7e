#pragma once

#include "modelinfo.h"
#include "picklists.h"

#include <QList>
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

// How the message "本机是ZW4630UH,  需要转换窗口,重读数据！" of one window names a radio of
// another model: blanks after the comma, and whether the closing "！" is there.
struct OtherRadioText {
    int blanks = 1;
    bool exclamation = true;
};

// A radio model that a window names differently from its other models.
struct OtherRadioException {
    Model radio = Model::V;
    OtherRadioText text;
};

// How one model window looks and where it is offered: everything that differs between the
// model windows but is not about the radio itself (that is ModelInfo). The four original
// windows each have a row of their own, every field of it a quirk of that window as it was
// drawn (place and size, column widths, blanks of captions and menus, the lists' places, how its
// another-model message is worded). Any other model gets the default window: ZW4630UM's
// geometry, columns and lists, the caption "NAME  (LOWMHz-HIGHMHz)", its short name as the menu
// item's objectName, and the plain another-model message.
struct ModelWindowLayout {
    Model model = Model::V;
    QString menuItemName;            // objectName of the main window's model menu item: "X"
    QString dialogOption;            // text of the model's option in Dialog1: "  ZW4630V"
    QString caption;                 // window caption, blanks included
    TwipsRect geometry;              // window position and size
    TwipsRect grid;                  // DataGrid1 position and size
    std::array<int, 9> columnWidths; // twips, grid columns 0 to 8
    int txToneCaptionBlanks = 0;     // trailing blanks of the "发哑音" caption
    int menuLeadingBlanks = 0;       // leading blanks of the Chinese File/Read/Write/Exit items
    PickListLefts pickListLefts;
    // How the "another model" message of this window names a radio of another model: as
    // otherRadio, except the models listed.
    OtherRadioText otherRadio;
    QList<OtherRadioException> otherRadioExceptions;
};

// Every model window's row, in the order of the main window's model menu and of Dialog1's
// options (the original four, then any other model); one row per model.
const std::array<ModelWindowLayout, modelCount> &modelWindowLayouts();

const ModelWindowLayout &modelWindowLayout(Model model);

// The message a window of `window`'s model shows when the radio turns out to be of the model
// `radio`: "本机是ZW4630UM,  需要转换窗口,重读数据！".
QString otherRadioMessage(const ModelWindowLayout &window, Model radio);

// Left edge (twips) of a pick list in `model`'s window, and its width (twips).
int pickListLeft(PickList list, Model model);
int pickListWidth(PickList list);

} // namespace zw
