#pragma once

#include <QObject>
#include <QString>

class QAction;
class QMenu;
class QWidget;

namespace zw
{

class ChannelDocument;
class TableBackups;
struct ModelWindowLayout;

// Export and import of the channel table as CHIRP CSV in a model window's file menu. An import
// lists the rows the model cannot take and changes nothing until the user applies the rows that
// fit; those go into the model database in one transaction.
class CsvActions final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CsvActions)

public:
    // Adds its export and import items at the end of `fileMenu`; `window` owns it and holds
    // its dialogs and messages. An import replaces the table of `document` after `backups`
    // kept it.
    CsvActions(ChannelDocument *document, TableBackups *backups, QMenu *fileMenu,
               const ModelWindowLayout &layout, QWidget *window);

    QAction *exportAction() const { return m_exportAction; }
    QAction *importAction() const { return m_importAction; }

    void exportCsv();
    void importCsv();
    // Imports `fileName` as importCsv() does after its file dialog.
    void importFile(const QString &fileName);

private:
    // Shows the file dialog; the chosen name, or an empty text when it was cancelled.
    QString chooseFile(bool forSave);

    ChannelDocument *m_document;
    TableBackups *m_backups;
    QWidget *m_window;
    QAction *m_exportAction;
    QAction *m_importAction;
    QString m_lastFileName;
};

} // namespace zw
