#include "windowlayout.h"

#include <algorithm>

namespace zw
{

namespace
{

ModelWindowLayout layoutV()
{
    ModelWindowLayout v;
    v.model = Model::V;
    v.menuItemName = QStringLiteral("X");
    v.dialogOption = QStringLiteral("  ZW4630V");
    v.caption = QStringLiteral("ZW4630V  (136MHz-174MHz)");
    v.geometry.left = 510;
    v.geometry.top = 630;
    v.geometry.width = 9330;
    v.geometry.height = 6420;
    v.grid.left = 480;
    v.grid.top = 600;
    v.grid.width = 8295;
    v.grid.height = 4815;
    v.columnWidths = {345, 1275, 1140, 1260, 1140, 675, 630, 705, 660};
    v.txToneCaptionBlanks = 11;
    v.menuLeadingBlanks = 4;
    v.pickListLefts.toneBoth = 2520;
    v.pickListLefts.txTone = 4920;
    v.pickListLefts.scan = 6000;
    v.pickListLefts.bcl = 6600;
    v.pickListLefts.beat = 7320;
    v.pickListLefts.power = 8040;
    v.pickListLefts.squelch = 5040;
    v.pickListLefts.channelTone = 7320;
    v.otherRadio.blanks = 2;
    v.otherRadioExceptions = {{Model::UL, {1, true}}};
    return v;
}

ModelWindowLayout layoutUH()
{
    ModelWindowLayout uh;
    uh.model = Model::UH;
    uh.menuItemName = QStringLiteral("H");
    uh.dialogOption = QStringLiteral(" ZW4630UH");
    uh.caption = QStringLiteral("ZW4630UH (430MHz-470MHz)");
    uh.geometry.left = 210;
    uh.geometry.top = 165;
    uh.geometry.width = 9525;
    uh.geometry.height = 8520;
    uh.grid.left = 600;
    uh.grid.top = 840;
    uh.grid.width = 8295;
    uh.grid.height = 4815;
    uh.columnWidths = {345, 1155, 915, 1230, 960, 870, 795, 810, 780};
    uh.txToneCaptionBlanks = 6;
    uh.menuLeadingBlanks = 4;
    uh.pickListLefts.toneBoth = 2400;
    uh.pickListLefts.txTone = 4560;
    uh.pickListLefts.scan = 5520;
    uh.pickListLefts.bcl = 6480;
    uh.pickListLefts.beat = 7320;
    uh.pickListLefts.power = 8040;
    uh.pickListLefts.squelch = 5640;
    uh.pickListLefts.channelTone = 7680;
    uh.otherRadio.blanks = 1;
    return uh;
}

ModelWindowLayout layoutUM()
{
    ModelWindowLayout um;
    um.model = Model::UM;
    um.menuItemName = QStringLiteral("M");
    um.dialogOption = QStringLiteral(" ZW4630UM");
    um.caption = QStringLiteral("ZW4630UM  (400MHz-430MHz)");
    um.geometry.left = 60;
    um.geometry.top = 1080;
    um.geometry.width = 10335;
    um.geometry.height = 7005;
    um.grid.left = 480;
    um.grid.top = 600;
    um.grid.width = 8295;
    um.grid.height = 4815;
    um.columnWidths = {345, 1155, 915, 1230, 960, 870, 795, 810, 780};
    um.txToneCaptionBlanks = 6;
    um.menuLeadingBlanks = 3;
    um.pickListLefts.toneBoth = 2400;
    um.pickListLefts.txTone = 4440;
    um.pickListLefts.scan = 5520;
    um.pickListLefts.bcl = 6360;
    um.pickListLefts.beat = 7200;
    um.pickListLefts.power = 7920;
    um.pickListLefts.squelch = 5040;
    um.pickListLefts.channelTone = 7440;
    um.otherRadio.blanks = 1;
    um.otherRadioExceptions = {{Model::UH, {1, false}}};
    return um;
}

ModelWindowLayout layoutUL()
{
    ModelWindowLayout ul;
    ul.model = Model::UL;
    ul.menuItemName = QStringLiteral("L");
    ul.dialogOption = QStringLiteral(" ZW4630UL");
    ul.caption = QStringLiteral("ZW4630UL  (350MHz-370MHz)");
    ul.geometry.left = 675;
    ul.geometry.top = 1395;
    ul.geometry.width = 9810;
    ul.geometry.height = 7455;
    ul.grid.left = 600;
    ul.grid.top = 720;
    ul.grid.width = 8295;
    ul.grid.height = 4815;
    ul.columnWidths = {345, 1155, 915, 1230, 960, 870, 795, 810, 780};
    ul.txToneCaptionBlanks = 6;
    ul.menuLeadingBlanks = 3;
    ul.pickListLefts.toneBoth = 2520;
    ul.pickListLefts.txTone = 4800;
    ul.pickListLefts.scan = 5640;
    ul.pickListLefts.bcl = 6600;
    ul.pickListLefts.beat = 7440;
    ul.pickListLefts.power = 8160;
    ul.pickListLefts.squelch = 5520;
    ul.pickListLefts.channelTone = 7560;
    ul.otherRadio.blanks = 2;
    return ul;
}

// The window of a model the original program did not have: ZW4630UM's geometry, grid, columns,
// blanks and lists, a caption of the name and band as the originals write it, its short name as
// the menu item's objectName, its name as Dialog1's option, and the another-model message with
// one blank and the closing "！".
ModelWindowLayout defaultLayout(Model model)
{
    const ModelInfo &info = modelInfo(model);
    ModelWindowLayout layout = layoutUM();
    layout.model = model;
    layout.menuItemName = info.shortName;
    layout.dialogOption = QLatin1Char(' ') + info.name;
    layout.caption = QStringLiteral("%1  (%2MHz-%3MHz)")
                         .arg(info.name, QString::number(info.band.bandLow),
                              QString::number(info.band.bandHigh));
    layout.otherRadio = OtherRadioText{};
    layout.otherRadioExceptions.clear();
    return layout;
}

} // namespace

const std::array<ModelWindowLayout, modelCount> &modelWindowLayouts()
{
    static const std::array<ModelWindowLayout, modelCount> layouts = [] {
        // The original four windows first, in the order of their menu; every field of these rows
        // is a quirk of the window as it was drawn. Any other model follows in the order of
        // allModels, with the default window.
        const QList<ModelWindowLayout> originals{layoutUH(), layoutUM(), layoutUL(), layoutV()};
        std::array<ModelWindowLayout, modelCount> all;
        std::size_t next = 0;
        for (const ModelWindowLayout &original : originals)
            all[next++] = original;
        for (Model model : allModels) {
            const bool drawn = std::any_of(
                originals.cbegin(), originals.cend(),
                [model](const ModelWindowLayout &original) { return original.model == model; });
            if (!drawn)
                all[next++] = defaultLayout(model);
        }
        return all;
    }();
    return layouts;
}

const ModelWindowLayout &modelWindowLayout(Model model)
{
    for (const ModelWindowLayout &layout : modelWindowLayouts())
        if (layout.model == model)
            return layout;
    qFatal("no window layout for model %d", int(model));
}

QString otherRadioMessage(const ModelWindowLayout &window, Model radio)
{
    OtherRadioText text = window.otherRadio;
    for (const OtherRadioException &exception : window.otherRadioExceptions)
        if (exception.radio == radio)
            text = exception.text;
    return QStringLiteral("本机是") + modelInfo(radio).name + QLatin1Char(',') +
           QString(text.blanks, u' ') + QStringLiteral("需要转换窗口,重读数据") +
           (text.exclamation ? QStringLiteral("！") : QString());
}

int pickListLeft(PickList list, Model model)
{
    const PickListLefts &lefts = modelWindowLayout(model).pickListLefts;
    switch (list) {
    case PickList::ToneBoth:
        return lefts.toneBoth;
    case PickList::TxTone:
        return lefts.txTone;
    case PickList::Scan:
        return lefts.scan;
    case PickList::Bcl:
        return lefts.bcl;
    case PickList::Beat:
        return lefts.beat;
    case PickList::Power:
        return lefts.power;
    }
    return 0;
}

int pickListWidth(PickList list)
{
    // The tone lists are wide enough for "D023N" and "250.3"; the others end before the next
    // list starts (Combo10 ends at the grid's right edge in ZW4630V and ZW4630UL).
    switch (list) {
    case PickList::ToneBoth:
    case PickList::TxTone:
        return 855;
    case PickList::Scan:
    case PickList::Bcl:
        return 615;
    case PickList::Beat:
        return 675;
    case PickList::Power:
        return 735;
    }
    return 0;
}

} // namespace zw
