#pragma once

#include "modelinfo.h"

#include <QDialog>

class QRadioButton;

namespace zw
{

// The model-choice dialog: replaces the open model windows by the chosen model's window.
// Modeless and independent of the main window; it reads the language when it opens.
class ModelChoiceDialog final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ModelChoiceDialog)

public:
    ModelChoiceDialog();

    QRadioButton *
    option(int index) const; // 0 " ZW4630UH", 1 " ZW4630UM", 2 " ZW4630UL", 3 "  ZW4630V"

signals:
    // OK with an option chosen: its model's window is shown, then the other windows the option
    // stands for are closed.
    void showRequested(zw::Model model);
    void closeRequested(zw::Model model);

private:
    void ok();

    QRadioButton *m_options[4] = {};
};

} // namespace zw
