#pragma once

#include "chirpcsv.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTableWidget;

namespace zw
{

// Lists every row of a CHIRP CSV file that a model window cannot take, with its reason, before
// anything is changed. Accepted: apply the rows that fit; rejected: change nothing. When no
// row fits, only cancelling is offered.
class CsvProblemsDialog final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CsvProblemsDialog)

public:
    // What the listed rows were meant for: a CSV file's import, or a paste from the clipboard
    // (which also says how many rows would have landed after channel 16).
    enum class Purpose { Import, Paste };

    CsvProblemsDialog(const CsvImport &import, bool english, QWidget *parent = nullptr,
                      Purpose purpose = Purpose::Import, int rowsPastEnd = 0);

    QTableWidget *problemList() const { return m_list; }
    QPushButton *applyButton() const { return m_apply; }
    QPushButton *cancelButton() const { return m_cancel; }

private:
    QLabel *m_label;
    QTableWidget *m_list;
    QPushButton *m_apply;
    QPushButton *m_cancel;
};

} // namespace zw
