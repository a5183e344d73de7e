#pragma once

#include <QObject>
#include <QString>

#include "modelinfo.h"

class QAction;
class QFileDialog;
class QTableView;
class QWidget;

namespace zw
{

class ChannelDocument;
class TableBackups;

// The file menu's 打开 and 保存 of a model window: saves its channel table and its two
// radio-wide settings to a channel file and loads such a file back.
class ChannelFileActions final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ChannelFileActions)

public:
    // Connects itself to the window's open (打开) and save (保存) items; `window` owns it and
    // holds its dialogs and messages. A load replaces the table of `document` after `backups`
    // kept it.
    ChannelFileActions(ChannelDocument *document, TableBackups *backups, QTableView *grid,
                       QWidget *window, QAction *openItem, QAction *saveItem);

    void save();
    void open();
    // The open, with the file dialog starting in `folder` (the backups folder).
    void openFrom(const QString &folder);
    // The open of `fileName` without the dialog (a recent file).
    void openFile(const QString &fileName);

    // The file name last chosen in this window's file dialog, by save or by open.
    QString lastFileName() const { return m_lastFileName; }

signals:
    // The chosen file belongs to another model: that model's window is to take over.
    void otherModelFile(zw::Model fileModel);
    // The table and settings are now those of the channel file `fileName`: it was saved, or
    // opened whole.
    void fileInUse(const QString &fileName);

private:
    // Shows the file dialog; returns the chosen name, or an empty text when it was cancelled.
    QString chooseFile(bool forSave, const QString &folder = QString());
    void loadFile(const QString &fileName);

    ChannelDocument *m_document;
    TableBackups *m_backups;
    QTableView *m_grid;
    QWidget *m_window;
    QString m_lastFileName;
};

} // namespace zw
