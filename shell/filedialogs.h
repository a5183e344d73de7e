#pragma once

#include <QFileDialog>
#include <QString>

namespace zw
{

// Qt's own file dialog, which takes a typed name longer than the folder's longest name as it
// takes any other: Qt's dialog would ignore it without a word, and the open or save that follows
// says why it failed.
class FileDialog final : public QFileDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FileDialog)

public:
    FileDialog(QWidget *parent, const QString &caption);

    void accept() override;
};

// Shows a file dialog made ready by the caller; the first file chosen, or an empty text when
// the dialog was cancelled or nothing was chosen.
QString execFileDialog(QFileDialog &dialog);

} // namespace zw
