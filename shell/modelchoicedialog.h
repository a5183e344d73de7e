#pragma once

#include "modelinfo.h"

#include <QDialog>

#include <array>

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

    // The options top to bottom (" ZW4630UH", " ZW4630UM", ...), in the order of the model
    // window table; nothing past the last.
    QRadioButton *option(int index) const;
    QRadioButton *option(Model model) const;

signals:
    // OK with an option chosen: its model's window is shown, then every other model's window
    // is closed.
    void showRequested(zw::Model model);
    void closeRequested(zw::Model model);

private:
    void ok();

    std::array<QRadioButton *, modelCount> m_options{}; // in the order of the options
};

} // namespace zw
