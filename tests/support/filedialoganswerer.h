#pragma once

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

namespace zw::test {

// Answers the next file dialog: records what it offered, then chooses `fileName` (or cancels
// when it is empty). `moveTo` lets the dialog change the process's folder first, as a
// platform dialog may.
class FileDialogAnswerer final : public QObject
{
public:
    explicit FileDialogAnswerer(const QString &fileName, const QString &moveTo = QString())
        : m_fileName(fileName), m_moveTo(moveTo)
    {
        m_timer.setInterval(10);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            m_timer.stop();
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
        });
        m_timer.start();
    }

    bool answered = false;
    QStringList nameFilters;
    QString offered; // the folder and name the dialog started with
    QFileDialog::AcceptMode acceptMode = QFileDialog::AcceptOpen;

private:
    QString m_fileName;
    QString m_moveTo;
    QTimer m_timer;
};

} // namespace zw::test
