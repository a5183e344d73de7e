#pragma once

// Answers the dialog that lists rows which do not fit (CSV import, paste) from a timer, since
// the dialog is modal: records what it showed, then applies or cancels. For tests that link
// the shell library.

#include "csvproblemsdialog.h"
#include "modalguard.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QList>
#include <QPushButton>
#include <QStringList>
#include <QTableWidget>
#include <QTimer>

#include <optional>

namespace zw::test
{

// What the problems dialog showed, and the button the test clicked.
struct ProblemsSeen {
    bool shown = false;
    QString title;
    QString text;
    QList<QStringList> rows;
    bool applyEnabled = false;
};

// Answers the problems dialog when it appears: records it, then applies (when it can) or cancels.
// With `inFileOrder`, it first ticks the box that places an import's rows in file order.
class ProblemsAnswerer final : public QObject
{
public:
    explicit ProblemsAnswerer(bool apply, bool inFileOrder = false)
    {
        m_timer.setInterval(10);
        connect(&m_timer, &QTimer::timeout, this, [this, apply, inFileOrder] {
            auto *dialog = qobject_cast<CsvProblemsDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            m_timer.stop();
            m_expected.reset(); // one dialog only
            if (inFileOrder && dialog->fileOrderBox())
                dialog->fileOrderBox()->click();
            seen.shown = true;
            seen.title = dialog->windowTitle();
            seen.text = dialog->findChild<QLabel *>(QStringLiteral("problemText"))->text();
            const QTableWidget *list = dialog->problemList();
            for (int row = 0; row < list->rowCount(); ++row)
                seen.rows << QStringList{list->item(row, 0)->text(), list->item(row, 1)->text(),
                                         list->item(row, 2)->text()};
            seen.applyEnabled = dialog->applyButton()->isEnabled();
            (apply && seen.applyEnabled ? dialog->applyButton() : dialog->cancelButton())->click();
        });
        m_timer.start();
    }

    ProblemsSeen seen;

private:
    std::optional<ExpectedDialog> m_expected{std::in_place, CsvProblemsDialog::staticMetaObject};
    QTimer m_timer;
};

} // namespace zw::test
