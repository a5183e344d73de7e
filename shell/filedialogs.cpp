#include "filedialogs.h"

#include "filenames.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QStringDecoder>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace zw
{

FileDialog::FileDialog(QWidget *parent, const QString &caption) : QFileDialog(parent, caption) {}

void FileDialog::accept()
{
    const QStringList files = selectedFiles();
    if (fileMode() == AnyFile && files.size() == 1) {
        const QFileInfo chosen(files.constFirst());
#ifdef Q_OS_UNIX
        const long longest = ::pathconf(fileNameBytes(chosen.path()).constData(), _PC_NAME_MAX);
#else
        const long longest = 255;
#endif
        if (longest > 0 && !chosen.exists() &&
            fileNameBytes(chosen.fileName()).size() > qsizetype(longest)) {
            QDialog::accept();
            return;
        }
    }
    QFileDialog::accept();
}

namespace
{

// The patterns of the dialog's name filters: "text(*.doc)" gives "*.doc".
QStringList filterPatterns(const QFileDialog &dialog)
{
    static const QRegularExpression inParentheses(QStringLiteral("\\(([^)]*)\\)"));
    QStringList patterns;
    for (const QString &filter : dialog.nameFilters()) {
        const QRegularExpressionMatch match = inParentheses.match(filter);
        patterns << (match.hasMatch() ? match.captured(1) : filter).split(u' ', Qt::SkipEmptyParts);
    }
    return patterns;
}

// A name whose bytes are not UTF-8, as the user reads it: GBK (GB18030) where the bytes are
// GBK, else Latin-1, which reads any bytes.
QString readableName(const QString &name)
{
    const QByteArray bytes = fileNameBytes(name);
    QStringDecoder gbk("GB18030");
    if (gbk.isValid()) {
        QString text = gbk.decode(bytes);
        if (!gbk.hasError())
            return text;
    }
    return QString::fromLatin1(bytes);
}

// Qt's folder listing leaves out names whose bytes are not UTF-8 (GBK or Latin-1 names from
// Windows archives), which the program opens and saves byte for byte: a list under the
// dialog's own shows those of the folder the dialog is in, and choosing one (double-click,
// Return) takes it. The list is hidden while the folder has none. `chosen` gets the file.
void listFilesQtLeavesOut(QFileDialog &dialog, QString *chosen)
{
    auto *grid = qobject_cast<QGridLayout *>(dialog.layout());
    if (!grid)
        return; // a native dialog, or Qt's own not built yet
    auto *list = new QListWidget(&dialog);
    list->setObjectName(QStringLiteral("filesNotListed"));
    list->setMaximumHeight(list->fontMetrics().height() * 4);
    grid->addWidget(list, grid->rowCount(), 0, 1, grid->columnCount());
    const QStringList patterns = filterPatterns(dialog);
    auto fill = [list, patterns](const QString &folder) {
        list->clear();
        for (const QString &name : filesNotListedByQt(folder)) {
            // Matched with U+FFFD for the bytes: a regular expression takes no lone surrogate.
            if (!patterns.isEmpty() &&
                !QDir::match(patterns, QString::fromUtf8(fileNameBytes(name))))
                continue;
            auto *item = new QListWidgetItem(readableName(name), list);
            item->setData(Qt::UserRole, QDir(folder).filePath(name));
        }
        list->sortItems();
        list->setVisible(list->count() > 0);
    };
    fill(dialog.directory().absolutePath());
    QObject::connect(&dialog, &QFileDialog::directoryEntered, list, fill);
    // A folder set by the program (setDirectory) is entered without that signal.
    if (auto *model = dialog.findChild<QFileSystemModel *>())
        QObject::connect(model, &QFileSystemModel::rootPathChanged, list, fill);
    QObject::connect(list, &QListWidget::itemActivated, &dialog,
                     [&dialog, chosen](QListWidgetItem *item) {
                         *chosen = item->data(Qt::UserRole).toString();
                         dialog.QDialog::accept();
                     });
}

} // namespace

void FileDialog::setVisible(bool visible)
{
    QFileDialog::setVisible(visible);
    // Qt builds its own dialog's widgets when it is first shown: the list joins them then.
    if (visible && !m_unlistedShown) {
        m_unlistedShown = true;
        listFilesQtLeavesOut(*this, &m_chosenUnlisted);
    }
}

QString execFileDialog(QFileDialog &dialog)
{
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    if (const auto *own = qobject_cast<const FileDialog *>(&dialog);
        own && !own->chosenUnlisted().isEmpty())
        return own->chosenUnlisted();
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
