#pragma once

#include "modalguard.h"

#include <QFileDialog>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <optional>

namespace zw::test
{

// Answers the next file dialog: records what it offered, then types `fileName` and accepts
// (or cancels when it is empty). `moveTo` lets the dialog change the process's folder first,
// as a platform dialog may. A name the dialog does not accept as a file (a folder: the dialog
// opens it instead) leaves it open; it is then cancelled and `stayedOpen` is set.
class FileDialogAnswerer final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FileDialogAnswerer)

public:
    explicit FileDialogAnswerer(const QString &fileName, const QString &moveTo = QString());

    bool answered = false;
    bool stayedOpen = false;
    QStringList nameFilters;
    QString offered; // the folder and name the dialog started with
    QFileDialog::AcceptMode acceptMode = QFileDialog::AcceptOpen;

private:
    void poll();

    QString m_fileName;
    QString m_moveTo;
    std::optional<ExpectedDialog> m_expected{std::in_place, QFileDialog::staticMetaObject};
    QTimer m_timer;
};

} // namespace zw::test
