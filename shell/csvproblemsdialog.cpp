#include "csvproblemsdialog.h"

#include "captions.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace zw
{

CsvProblemsDialog::CsvProblemsDialog(const CsvImport &import, bool english, QWidget *parent,
                                     Purpose purpose, int rowsPastEnd)
    : QDialog(parent), m_label(new QLabel(this)),
      m_list(new QTableWidget(int(import.problems.size()), 3, this)),
      m_apply(new QPushButton(this)), m_cancel(new QPushButton(this))
{
    const CaptionSet set = english ? CaptionSet::English : CaptionSet::Design;
    setObjectName(QStringLiteral("CsvProblems"));
    const bool paste = purpose == Purpose::Paste;
    setWindowTitle(
        captionText(paste ? Caption::PasteProblemsCaption : Caption::CsvProblemsCaption, set));
    setModal(true);

    m_label->setObjectName(QStringLiteral("problemText"));
    m_label->setWordWrap(true);
    QString text =
        paste && import.problems.isEmpty()
            ? captionText(Caption::PasteProblemsFit, set).arg(import.rowsTaken)
            : captionText(paste ? Caption::PasteProblemsLabel : Caption::CsvProblemsLabel, set)
                  .arg(import.rowsTaken)
                  .arg(import.problems.size());
    if (rowsPastEnd > 0)
        text += QLatin1Char(' ') + captionText(Caption::PasteProblemsPastEnd, set).arg(rowsPastEnd);
    m_label->setText(text);

    m_list->setObjectName(QStringLiteral("problemList"));
    m_list->setHorizontalHeaderLabels({captionText(Caption::CsvProblemsLine, set),
                                       captionText(Caption::CsvProblemsLocation, set),
                                       captionText(Caption::CsvProblemsReason, set)});
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->verticalHeader()->hide();
    m_list->horizontalHeader()->setStretchLastSection(true);
    for (int row = 0; row < import.problems.size(); ++row) {
        const CsvRowProblem &problem = import.problems.at(row);
        m_list->setItem(row, 0, new QTableWidgetItem(QString::number(problem.line)));
        m_list->setItem(row, 1, new QTableWidgetItem(problem.location));
        m_list->setItem(row, 2,
                        new QTableWidgetItem(english ? problem.reason : problem.reasonChinese));
    }
    m_list->resizeColumnToContents(0);
    m_list->resizeColumnToContents(1);

    m_apply->setObjectName(QStringLiteral("applyButton"));
    m_apply->setText(captionText(Caption::CsvProblemsApply, set));
    m_apply->setEnabled(import.rowsTaken > 0);
    m_cancel->setObjectName(QStringLiteral("cancelButton"));
    m_cancel->setText(captionText(Caption::CsvProblemsCancel, set));
    // Cancel is the default: Return alone never changes the table.
    m_cancel->setDefault(true);
    m_cancel->setFocus();
    connect(m_apply, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_apply);
    buttons->addWidget(m_cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addWidget(m_list);
    layout->addLayout(buttons);
    resize(640, 320);
}

} // namespace zw
