#pragma once

#include <QFileDialog>
#include <QString>

namespace zw
{

// Qt's own file dialog, which takes a typed name longer than the folder's longest name as it
// takes any other: Qt's dialog would ignore it without a word, and the open or save that follows
// says why it failed. Below Qt's list it lists the files Qt leaves out because their names are
// not UTF-8 (GBK or Latin-1 names from Windows archives), which the program opens byte for byte.
class FileDialog final : public QFileDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FileDialog)

public:
    FileDialog(QWidget *parent, const QString &caption);

    void accept() override;
    void setVisible(bool visible) override;

    // The file chosen in the list of names Qt's own listing leaves out (names that are not
    // UTF-8), if the user chose there.
    QString chosenUnlisted() const { return m_chosenUnlisted; }

private:
    bool m_unlistedShown = false;
    QString m_chosenUnlisted;
};

// Shows a file dialog made ready by the caller; the first file chosen, or an empty text when
// the dialog was cancelled or nothing was chosen.
QString execFileDialog(QFileDialog &dialog);

} // namespace zw
