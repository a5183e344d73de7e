#include "filedialoganswerer.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>

namespace zw::test
{

FileDialogAnswerer::FileDialogAnswerer(const QString &fileName, const QString &moveTo)
    : m_fileName(fileName), m_moveTo(moveTo)
{
    m_timer.setInterval(10);
    connect(&m_timer, &QTimer::timeout, this, &FileDialogAnswerer::poll);
    m_timer.start();
}

void FileDialogAnswerer::poll()
{
    auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
    if (!dialog)
        return;
    m_timer.stop();
    m_expected.reset(); // one dialog only
    answered = true;
    nameFilters = dialog->nameFilters();
    auto *nameEdit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    offered = QDir(dialog->directory()).filePath(nameEdit ? nameEdit->text() : QString());
    acceptMode = dialog->acceptMode();
    if (!m_moveTo.isEmpty())
        QDir::setCurrent(m_moveTo);
    if (m_fileName.isEmpty()) {
        dialog->reject();
        return;
    }
    // Typed, as a user would: selectFile() may lose the race with the folder listing.
    if (nameEdit)
        nameEdit->setText(m_fileName);
    static_cast<QDialog *>(dialog)->accept(); // as the dialog's own button does
    if (dialog->isVisible()) {
        stayedOpen = true;
        dialog->reject();
    }
}

} // namespace zw::test
