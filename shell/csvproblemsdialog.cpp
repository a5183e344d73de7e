#include "csvproblemsdialog.h"

#include "captions.h"
#include "channeltexts.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace zw
{

namespace
{

QList<CsvProblemsDialog::LeftOutRow> leftOut(const CsvImport &import, bool english)
{
    QList<CsvProblemsDialog::LeftOutRow> rows;
    for (const CsvRowProblem &problem : import.problems)
        rows.append(
            {problem.line, problem.location,
             csvReasonText(problem.reason, english ? CsvLanguage::English : CsvLanguage::Chinese)});
    return rows;
}

} // namespace

CsvProblemsDialog::CsvProblemsDialog(const std::function<CsvImport(CsvPlacement)> &import,
                                     bool english, QWidget *parent)
    : QDialog(parent), m_label(new QLabel(this)), m_list(new QTableWidget(this)),
      m_apply(new QPushButton(this)), m_cancel(new QPushButton(this)),
      m_fileOrder(new QCheckBox(this)), m_reimport(import),
      m_import(import(CsvPlacement::ByLocation))
{
    const CaptionSet set = english ? CaptionSet::English : CaptionSet::Design;
    m_fileOrder->setObjectName(QStringLiteral("fileOrderBox"));
    m_fileOrder->setText(captionText(Caption::CsvProblemsFileOrder, set));
    setUp(leftOut(m_import, english), m_import.rowsTaken, english, false, 0);
    connect(m_fileOrder, &QCheckBox::toggled, this, [this, english](bool inFileOrder) {
        m_import = m_reimport(inFileOrder ? CsvPlacement::InFileOrder : CsvPlacement::ByLocation);
        showRows(leftOut(m_import, english), m_import.rowsTaken, english, false,
                 m_import.rowsPastEnd, int(m_import.problems.size()));
    });
}

CsvProblemsDialog::CsvProblemsDialog(const PastePlan &paste, bool english, QWidget *parent)
    : QDialog(parent), m_label(new QLabel(this)), m_list(new QTableWidget(this)),
      m_apply(new QPushButton(this)), m_cancel(new QPushButton(this))
{
    QList<LeftOutRow> rows;
    for (const PasteProblem &problem : paste.problems)
        rows.append({problem.line, problem.location, pasteReasonText(problem.reason, english)});
    // Rows taken with a frequency in the band's warning margins follow those left out.
    const int leftOutRows = int(rows.size());
    for (const PasteProblem &warning : paste.warnings)
        rows.append({warning.line, warning.location, pasteReasonText(warning.reason, english)});
    setUp(rows, paste.rowsTaken, english, true, paste.rowsPastEnd, leftOutRows);
    if (!paste.ignoredColumns.isEmpty()) {
        const CaptionSet set = english ? CaptionSet::English : CaptionSet::Design;
        m_label->setText(m_label->text() + QLatin1Char(' ') +
                         captionText(Caption::PasteProblemsIgnored, set)
                             .arg(paste.ignoredColumns.join(english ? QStringLiteral(", ")
                                                                    : QStringLiteral("、"))));
    }
}

void CsvProblemsDialog::setUp(const QList<LeftOutRow> &rows, int rowsTaken, bool english,
                              bool paste, int rowsPastEnd, int leftOutRows)
{
    if (leftOutRows < 0)
        leftOutRows = int(rows.size());
    const CaptionSet set = english ? CaptionSet::English : CaptionSet::Design;
    setObjectName(QStringLiteral("CsvProblems"));
    setWindowTitle(
        captionText(paste ? Caption::PasteProblemsCaption : Caption::CsvProblemsCaption, set));
    setModal(true);

    m_label->setObjectName(QStringLiteral("problemText"));
    m_label->setWordWrap(true);
    m_list->setColumnCount(3);
    m_list->setObjectName(QStringLiteral("problemList"));
    m_list->setHorizontalHeaderLabels({captionText(Caption::CsvProblemsLine, set),
                                       captionText(Caption::CsvProblemsLocation, set),
                                       captionText(Caption::CsvProblemsReason, set)});
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->verticalHeader()->hide();
    m_list->horizontalHeader()->setStretchLastSection(true);

    m_apply->setObjectName(QStringLiteral("applyButton"));
    m_apply->setText(captionText(Caption::CsvProblemsApply, set));
    m_cancel->setObjectName(QStringLiteral("cancelButton"));
    m_cancel->setText(captionText(Caption::CsvProblemsCancel, set));
    // Cancel is the default: Return alone never changes the table.
    m_cancel->setDefault(true);
    m_cancel->setFocus();
    connect(m_apply, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    showRows(rows, rowsTaken, english, paste, rowsPastEnd, leftOutRows);

    auto *buttons = new QHBoxLayout;
    if (m_fileOrder)
        buttons->addWidget(m_fileOrder);
    buttons->addStretch();
    buttons->addWidget(m_apply);
    buttons->addWidget(m_cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addWidget(m_list);
    layout->addLayout(buttons);
    resize(640, 320);
}

void CsvProblemsDialog::showRows(const QList<LeftOutRow> &rows, int rowsTaken, bool english,
                                 bool paste, int rowsPastEnd, int leftOutRows)
{
    const CaptionSet set = english ? CaptionSet::English : CaptionSet::Design;
    QString text =
        paste && leftOutRows == 0
            ? captionText(Caption::PasteProblemsFit, set).arg(rowsTaken)
            : captionText(paste ? Caption::PasteProblemsLabel : Caption::CsvProblemsLabel, set)
                  .arg(rowsTaken)
                  .arg(leftOutRows);
    if (rowsPastEnd > 0)
        text +=
            QLatin1Char(' ') +
            captionText(paste ? Caption::PasteProblemsPastEnd : Caption::CsvProblemsPastEnd, set)
                .arg(rowsPastEnd);
    if (rows.size() > leftOutRows)
        text += QLatin1Char(' ') +
                captionText(Caption::PasteProblemsKept, set).arg(rows.size() - leftOutRows);
    m_label->setText(text);

    m_list->setRowCount(int(rows.size()));
    for (int row = 0; row < rows.size(); ++row) {
        const LeftOutRow &left = rows.at(row);
        m_list->setItem(row, 0, new QTableWidgetItem(QString::number(left.line)));
        m_list->setItem(row, 1, new QTableWidgetItem(left.location));
        m_list->setItem(row, 2, new QTableWidgetItem(left.reason));
    }
    m_list->resizeColumnToContents(0);
    m_list->resizeColumnToContents(1);
    m_apply->setEnabled(rowsTaken > 0);
}

} // namespace zw
