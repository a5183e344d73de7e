#pragma once

#include "channelclipboard.h"
#include "chirpcsv.h"

#include <QDialog>
#include <QList>

#include <functional>

class QCheckBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace zw
{

// Lists every row of a CHIRP CSV file that a model window cannot take, with its reason, before
// anything is changed. Accepted: apply the rows that fit; rejected: change nothing. When no
// row fits, only cancelling is offered. A paste from the clipboard shows its rows that do not
// fit in the same list.
class CsvProblemsDialog final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CsvProblemsDialog)

public:
    // `import` reads the file with the rows placed by Location or in file order: a check box
    // beside the list switches between the two, and the list and counts follow it.
    CsvProblemsDialog(const std::function<CsvImport(CsvPlacement)> &import, bool english,
                      QWidget *parent = nullptr);
    // The rows a paste leaves out; the rows that would land after channel 16 are counted.
    CsvProblemsDialog(const PastePlan &paste, bool english, QWidget *parent = nullptr);

    // One row left out, with its reason in the window's language.
    struct LeftOutRow {
        int line = 0;
        QString location;
        QString reason;
    };

    QTableWidget *problemList() const { return m_list; }
    QPushButton *applyButton() const { return m_apply; }
    QPushButton *cancelButton() const { return m_cancel; }
    QCheckBox *fileOrderBox() const { return m_fileOrder; }
    // The import as the dialog shows it now (for an import of a file).
    const CsvImport &import() const { return m_import; }

private:
    // The first `leftOutRows` of `rows` (all when negative) are left out; the rest are taken
    // with a warning.
    void setUp(const QList<LeftOutRow> &rows, int rowsTaken, bool english, bool paste,
               int rowsPastEnd, int leftOutRows = -1);
    // Fills the label, the list and the apply button.
    void showRows(const QList<LeftOutRow> &rows, int rowsTaken, bool english, bool paste,
                  int rowsPastEnd, int leftOutRows);

    QLabel *m_label;
    QTableWidget *m_list;
    QPushButton *m_apply;
    QPushButton *m_cancel;
    QCheckBox *m_fileOrder = nullptr; // an import's only
    std::function<CsvImport(CsvPlacement)> m_reimport;
    CsvImport m_import;
};

} // namespace zw
