#pragma once

#include <QObject>
#include <QString>

class QAction;
class QMenu;

namespace zw
{

class ModelWindow;

// Export and import of the channel table as CHIRP CSV in a model window's file menu. An import
// lists the rows the model cannot take and changes nothing until the user applies the rows that
// fit; those go into the model database in one transaction.
class CsvActions final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CsvActions)

public:
    // Adds its two items to the window's file menu; the window owns it.
    // Adds its export and import items at the end of `fileMenu`; the window owns it.
    CsvActions(ModelWindow *window, QMenu *fileMenu);

    QAction *exportAction() const { return m_exportAction; }
    QAction *importAction() const { return m_importAction; }

    void exportCsv();
    void importCsv();
    // Imports `fileName` as importCsv() does after its file dialog.
    void importFile(const QString &fileName);

private:
    // Shows the file dialog; the chosen name, or an empty text when it was cancelled.
    QString chooseFile(bool forSave);

    ModelWindow *m_window;
    QAction *m_exportAction;
    QAction *m_importAction;
    QString m_lastFileName;
};

} // namespace zw
