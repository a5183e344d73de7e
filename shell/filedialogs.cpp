#include "filedialogs.h"

#include "filenames.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>

namespace zw
{

QString execFileDialog(QFileDialog &dialog)
{
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    // Qt's own dialog reads double quotes in the typed name as a list of names ("a" "b") and
    // keeps only what stands inside them: a name typed with quotes is taken exactly as typed.
    const auto *nameEdit = dialog.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    if (nameEdit && nameEdit->text().contains(u'"') &&
        dialog.fileMode() != QFileDialog::ExistingFiles) {
        QString name = dialog.directory().absoluteFilePath(nameEdit->text());
        if (!dialog.defaultSuffix().isEmpty() && QFileInfo(name).suffix().isEmpty())
            name += QLatin1Char('.') + dialog.defaultSuffix();
        return fileNameAsListed(name);
    }
    // A listed name whose bytes are not UTF-8 comes back with U+FFFD in their place: it is
    // taken back to the file it was listed from.
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : fileNameAsListed(chosen.front());
}

} // namespace zw
