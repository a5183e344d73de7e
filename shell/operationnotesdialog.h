#pragma once

#include <QDialog>
#include <QString>

namespace zw
{

// The operation-notes window: six short instructions for using the program with a radio.
// Modeless, one instance (closing deletes it); Enter and Esc close it.
class OperationNotesDialog final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(OperationNotesDialog)

public:
    explicit OperationNotesDialog(QWidget *parent = nullptr);

    // The notes as one text; runs of blanks break its lines at the label's width.
    static QString notesText();
    // The notes as the window shows them: each line ends where its run of blanks stood.
    static QString displayText(const QString &notes);
};

} // namespace zw
