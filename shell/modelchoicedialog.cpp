#include "modelchoicedialog.h"

#include "captions.h"
#include "language.h"
#include "twips.h"
#include "windowlayout.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace zw
{

namespace
{
// The options stand 420 twips apart from 720 down; the buttons stand 120 below the last option
// and the dialog ends 570 below their top edge.
constexpr int firstOptionTop = 720;
constexpr int optionPitch = 420;
constexpr int buttonsTop = firstOptionTop + optionPitch * int(modelCount) + 120;
constexpr int clientHeight = buttonsTop + 570;
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
    setFixedSize(twips(3090), twips(clientHeight));
    move(twips(2760), twips(3750));

    auto *label = new QLabel(captionText(Caption::Dialog1Label, set), this);
    label->setObjectName(QStringLiteral("Label1"));
    label->setGeometry(twips(240), twips(240), twips(2700), twips(300));
    for (std::size_t i = 0; i < m_options.size(); ++i) {
        auto *option = new QRadioButton(modelWindowLayouts()[i].dialogOption, this);
        option->setObjectName(QStringLiteral("Option%1").arg(i + 1));
        option->setGeometry(twips(600), twips(firstOptionTop + optionPitch * int(i)), twips(2000),
                            twips(330));
        m_options[i] = option;
    }
    auto *okButton = new QPushButton(captionText(Caption::Dialog1Ok, set), this);
    okButton->setObjectName(QStringLiteral("OKButton"));
    okButton->setGeometry(twips(240), twips(buttonsTop), twips(1200), twips(375));
    okButton->setDefault(true);
    auto *cancelButton = new QPushButton(captionText(Caption::Dialog1Cancel, set), this);
    cancelButton->setObjectName(QStringLiteral("CancelButton"));
    cancelButton->setGeometry(twips(1650), twips(buttonsTop), twips(1200), twips(375));
    connect(okButton, &QPushButton::clicked, this, &ModelChoiceDialog::ok);
    connect(cancelButton, &QPushButton::clicked, this, &ModelChoiceDialog::close);
}

QRadioButton *ModelChoiceDialog::option(int index) const
{
    return (index >= 0 && index < int(m_options.size())) ? m_options[std::size_t(index)] : nullptr;
}

QRadioButton *ModelChoiceDialog::option(Model model) const
{
    for (std::size_t i = 0; i < m_options.size(); ++i)
        if (modelWindowLayouts()[i].model == model)
            return m_options[i];
    return nullptr;
}

// The chosen model's window is shown first, so that choosing the window the dialog came from
// keeps it as it is; then every other model window closes, in the order of the options.
void ModelChoiceDialog::ok()
{
    for (std::size_t i = 0; i < m_options.size(); ++i) {
        if (!m_options[i]->isChecked())
            continue;
        const Model chosen = modelWindowLayouts()[i].model;
        emit showRequested(chosen);
        for (const ModelWindowLayout &other : modelWindowLayouts())
            if (other.model != chosen)
                emit closeRequested(other.model);
    }
    close();
}

} // namespace zw
