#include "modelchoicedialog.h"

#include "captions.h"
#include "language.h"
#include "twips.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace zw
{

namespace
{
// Option texts top to bottom and the windows they stand for; the other three close in the
// order given.
struct OptionRow {
    const char *text;
    Model model;
    std::array<Model, 3> closes;
};
const std::array<OptionRow, 4> optionRows{{
    {" ZW4630UH", Model::UH, {Model::UM, Model::UL, Model::V}},
    {" ZW4630UM", Model::UM, {Model::UH, Model::UL, Model::V}},
    {" ZW4630UL", Model::UL, {Model::UH, Model::UM, Model::V}},
    {"  ZW4630V", Model::V, {Model::UM, Model::UH, Model::UL}},
}};
} // namespace

ModelChoiceDialog::ModelChoiceDialog() : QDialog(nullptr)
{
    setObjectName(QStringLiteral("Dialog1"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setModal(false);
    const bool english = isEnglish();
    const CaptionSet set = english ? CaptionSet::English : CaptionSet::Design;
    setWindowTitle(captionText(Caption::Dialog1Caption, set));
    setFixedSize(twips(3090), twips(3090));
    move(twips(2760), twips(3750));

    auto *label = new QLabel(captionText(Caption::Dialog1Label, set), this);
    label->setObjectName(QStringLiteral("Label1"));
    label->setGeometry(twips(240), twips(240), twips(2700), twips(300));
    for (std::size_t i = 0; i < optionRows.size(); ++i) {
        auto *option = new QRadioButton(QLatin1String(optionRows[i].text), this);
        option->setObjectName(QStringLiteral("Option%1").arg(i + 1));
        option->setGeometry(twips(600), twips(720 + 420 * int(i)), twips(2000), twips(330));
        m_options[i] = option;
    }
    auto *okButton = new QPushButton(captionText(Caption::Dialog1Ok, set), this);
    okButton->setObjectName(QStringLiteral("OKButton"));
    okButton->setGeometry(twips(240), twips(2520), twips(1200), twips(375));
    okButton->setDefault(true);
    auto *cancelButton = new QPushButton(captionText(Caption::Dialog1Cancel, set), this);
    cancelButton->setObjectName(QStringLiteral("CancelButton"));
    cancelButton->setGeometry(twips(1650), twips(2520), twips(1200), twips(375));
    connect(okButton, &QPushButton::clicked, this, &ModelChoiceDialog::ok);
    connect(cancelButton, &QPushButton::clicked, this, &ModelChoiceDialog::close);
}

QRadioButton *ModelChoiceDialog::option(int index) const
{
    return (index >= 0 && index < 4) ? m_options[index] : nullptr;
}

void ModelChoiceDialog::ok()
{
    for (std::size_t i = 0; i < optionRows.size(); ++i) {
        if (!m_options[i]->isChecked())
            continue;
        emit showRequested(optionRows[i].model);
        for (Model other : optionRows[i].closes)
            emit closeRequested(other);
    }
    close();
}

} // namespace zw
