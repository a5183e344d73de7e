#pragma once

#include <QDialog>
#include <QPointer>

class QRadioButton;

namespace zw
{

class MainWindow;

// The model-choice dialog: replaces the open model windows by the chosen model's window.
// Modeless and independent of the main window; it reads the language when it opens.
class ModelChoiceDialog final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ModelChoiceDialog)

public:
    explicit ModelChoiceDialog(MainWindow *frame);

    QRadioButton *
    option(int index) const; // 0 " ZW4630UH", 1 " ZW4630UM", 2 " ZW4630UL", 3 "  ZW4630V"

private:
    void ok();

    QPointer<MainWindow> m_frame;
    QRadioButton *m_options[4] = {};
};

} // namespace zw
