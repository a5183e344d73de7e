#pragma once

#include "modelinfo.h"

#include <QDialog>

class QTreeWidget;

namespace zw
{

// Restore Radio's choice of a backup: the model's backups in the backups folder, newest first,
// each with the date and time it was made, its model and why it was made, in columns wide
// enough to read them whole. Titled after the menu item.
class BackupChoiceDialog final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BackupChoiceDialog)

public:
    BackupChoiceDialog(const QString &folder, Model model, bool english, QWidget *parent = nullptr);

    QTreeWidget *list() const { return m_list; }
    // The backup chosen, once accepted; empty otherwise.
    QString chosenFile() const;

    // Shows the dialog over `parent` and returns the backup chosen, or an empty text.
    static QString choose(const QString &folder, Model model, QWidget *parent);

private:
    QTreeWidget *m_list;
};

} // namespace zw
