#pragma once

#include <QDialog>
#include <QPointer>

class QRadioButton;

namespace zw
{

class MDIForm1;

// The model-choice dialog: replaces the open model windows by the chosen model's window.
// Modeless and independent of the main window; it reads the language when it opens.
class Dialog1 final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Dialog1)

public:
    explicit Dialog1(MDIForm1 *frame);

    QRadioButton *
    option(int index) const; // 0 " ZW4630UH", 1 " ZW4630UM", 2 " ZW4630UL", 3 "  ZW4630V"

private:
    void ok();

    QPointer<MDIForm1> m_frame;
    QRadioButton *m_options[4] = {};
};

} // namespace zw
