#include "rowactions.h"

#include "channelclipboard.h"
#include "channeldocument.h"
#include "channeleditor.h"
#include "channelrows.h"
#include "channeltablemodel.h"
#include "csvproblemsdialog.h"
#include "editfailures.h"
#include "language.h"
#include "messagebox.h"
#include "messages.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTableView>

#include <algorithm>

namespace zw
{

RowActions::RowActions(ChannelDocument *document, ChannelEditor *editor, QTableView *grid,
                       ChannelTableModel *tableModel, const ModelWindowLayout &layout,
                       QWidget *window)
    : QObject(window), m_document(document), m_tableModel(tableModel), m_layout(layout),
      m_window(window), m_editor(editor), m_grid(grid), m_contextMenu(new QMenu(window))
{
    setObjectName(QStringLiteral("rowActions"));
    m_contextMenu->setObjectName(QStringLiteral("rowMenu"));
    // Cells and whole rows can be selected; a click on a row header selects its channel (the
    // grid's own headers do not take clicks unless told to).
    m_grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_grid->verticalHeader()->setSectionsClickable(true);

    QMenu *edit = editor->editMenu();
    edit->addSeparator();
    m_copy = addItem(Caption::CopyItem, QKeySequence::Copy, "复制");
    m_cut = addItem(Caption::CutItem, QKeySequence::Cut, "剪切");
    m_paste = addItem(Caption::PasteItem, QKeySequence::Paste, "粘贴");
    m_clear = addItem(Caption::ClearItem, QKeySequence(), "清除");
    m_contextMenu->addSeparator();
    edit->addSeparator();
    m_moveUp = addItem(Caption::MoveUpItem, QKeySequence(Qt::CTRL | Qt::Key_Up), "上移");
    m_moveDown = addItem(Caption::MoveDownItem, QKeySequence(Qt::CTRL | Qt::Key_Down), "下移");
    // Delete clears a row selection; it is caught on the grid (see eventFilter), since on a
    // single frequency cell it empties only that cell. The menus show the key all the same.
    m_clear->setShortcut(QKeySequence::Delete);
    m_clear->setShortcutContext(Qt::WidgetShortcut);

    connect(m_copy, &QAction::triggered, this, &RowActions::copy);
    connect(m_cut, &QAction::triggered, this, &RowActions::cut);
    connect(m_paste, &QAction::triggered, this, &RowActions::paste);
    connect(m_clear, &QAction::triggered, this, &RowActions::clear);
    connect(m_moveUp, &QAction::triggered, this, &RowActions::moveUp);
    connect(m_moveDown, &QAction::triggered, this, &RowActions::moveDown);

    // Both areas report the pointer in their viewport's coordinates.
    for (QAbstractScrollArea *area :
         {static_cast<QAbstractScrollArea *>(m_grid),
          static_cast<QAbstractScrollArea *>(m_grid->verticalHeader())}) {
        area->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(area, &QWidget::customContextMenuRequested, this,
                [this, area](const QPoint &at) { showContextMenu(area, at); });
    }
    connect(m_grid->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &RowActions::updateActions);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &RowActions::updateActions);
    connect(edit, &QMenu::aboutToShow, this, &RowActions::updateActions);
    m_grid->installEventFilter(this);
    // While a transfer with the radio runs only Copy works.
    connect(m_document, &ChannelDocument::editingHeldChanged, this, &RowActions::updateActions);
    updateActions();
}

int RowActions::currentRow() const
{
    return std::max(m_grid->currentIndex().row(), 0);
}

QAction *RowActions::addItem(Caption caption, const QKeySequence &keys, const char *name)
{
    const CaptionSet set = isEnglish() ? CaptionSet::English : CaptionSet::Design;
    auto *action = new QAction(captionText(caption, set, &m_layout), m_window);
    action->setObjectName(QString::fromUtf8(name));
    if (!keys.isEmpty()) {
        action->setShortcut(keys);
        // Several model windows share one frame: each window's keys work inside it only.
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        m_window->addAction(action);
    }
    m_editor->editMenu()->addAction(action);
    m_contextMenu->addAction(action);
    return action;
}

QList<int> RowActions::chosenRows() const
{
    QList<int> rows;
    for (const QModelIndex &index : m_grid->selectionModel()->selectedRows())
        rows.append(index.row());
    if (rows.isEmpty())
        rows.append(currentRow());
    std::sort(rows.begin(), rows.end());
    return rows;
}

bool RowActions::changesAllowed() const
{
    return !m_document->isEditingHeld() && m_document->isEditable();
}

bool RowActions::editingCell() const
{
    // A frequency being typed keeps its own clipboard keys and arrows.
    const QWidget *focus = QApplication::focusWidget();
    return focus && focus != m_grid && m_grid->isAncestorOf(focus);
}

void RowActions::updateActions()
{
    const bool change = changesAllowed();
    const QList<int> rows = chosenRows();
    m_copy->setEnabled(!m_document->isEditingHeld());
    m_cut->setEnabled(change);
    m_paste->setEnabled(change);
    m_clear->setEnabled(change);
    m_moveUp->setEnabled(change && rows.first() > 0);
    m_moveDown->setEnabled(change && rows.last() < channelCount - 1);
}

void RowActions::selectRows(const QList<int> &rows)
{
    if (rows.isEmpty())
        return;
    QItemSelectionModel *selection = m_grid->selectionModel();
    const QModelIndex current = m_grid->currentIndex();
    const int column = current.isValid() ? current.column() : 0;
    selection->setCurrentIndex(m_grid->model()->index(rows.first(), column),
                               QItemSelectionModel::NoUpdate);
    QItemSelection chosen;
    for (int row : rows)
        chosen.select(m_grid->model()->index(row, 0),
                      m_grid->model()->index(row, ChannelTableModel::columnCountValue - 1));
    selection->select(chosen, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void RowActions::copy()
{
    if (m_document->isEditingHeld() || editingCell())
        return;
    const CopiedChannels copied =
        copyChannels(m_document->records(), chosenRows(), modelInfo(m_document->model()),
                     m_tableModel->captions());
    auto *data = new QMimeData;
    data->setData(channelRowsMimeType(), copied.ownRows);
    data->setData(chirpCsvMimeType(), copied.chirpCsv);
    data->setText(copied.tabText);
    QGuiApplication::clipboard()->setMimeData(data);
}

void RowActions::change(const std::function<ChannelTable(const ChannelTable &)> &edit)
{
    reportRefusedChange(m_window, m_document->edit(edit), UndoDirection::None);
}

void RowActions::cut()
{
    if (!changesAllowed() || editingCell())
        return;
    copy();
    clear();
}

void RowActions::clear()
{
    if (!changesAllowed() || editingCell())
        return;
    const QList<int> rows = chosenRows();
    const BandLimits &band = modelInfo(m_document->model()).band;
    // Clearing channels that are empty already changes nothing, and adds no undo step.
    change([&](const ChannelTable &now) { return clearChannels(now, rows, band); });
}

void RowActions::move(int step)
{
    if (!changesAllowed() || editingCell())
        return;
    const QList<int> rows = chosenRows();
    QList<int> movedTo;
    m_document->refresh();
    if (!moveChannels(m_document->records(), rows, step, &movedTo))
        return; // at the first or the last channel
    // A move swaps only the fields that differ between the channels it trades.
    change([&](const ChannelTable &now) { return moveChannels(now, rows, step).value_or(now); });
    // The selection goes with the channels, also when two equal channels traded places.
    selectRows(movedTo);
}

void RowActions::paste()
{
    pasteFrom(QGuiApplication::clipboard()->mimeData());
}

void RowActions::pasteFrom(const QMimeData *data)
{
    if (!changesAllowed() || editingCell() || !data)
        return;
    PasteSource source;
    source.ownRows = data->data(channelRowsMimeType());
    source.chirpCsv = data->data(chirpCsvMimeType());
    source.text = data->text();
    m_document->refresh();
    const ModelInfo &info = modelInfo(m_document->model());
    const int start = currentRow();
    const PastePlan plan = planPaste(source, info, m_document->records(), start);
    if (plan.error) {
        showMessage(m_window, MessageIcon::Information, systemInfoTitle,
                    noChannelsOnClipboardMessage);
        return;
    }
    if (!plan.problems.isEmpty() || !plan.warnings.isEmpty() || plan.rowsPastEnd > 0 ||
        !plan.ignoredColumns.isEmpty()) {
        CsvProblemsDialog dialog(plan, isEnglish(), m_window);
        if (dialog.exec() != QDialog::Accepted)
            return;
    }
    // Should the table have changed while the list was open, the rows go onto the table as
    // it is now; the undo step holds only the fields the paste changed.
    QList<int> rowsChanged = plan.rowsChanged;
    change([&](const ChannelTable &now) {
        const PastePlan onNow = planPaste(source, info, now, start);
        rowsChanged = onNow.rowsChanged;
        return onNow.table;
    });
    selectRows(rowsChanged);
}

void RowActions::showContextMenu(QAbstractScrollArea *area, const QPoint &at)
{
    // As in a spreadsheet, a menu opened outside the selection first selects what is under the
    // pointer, so that the menu never acts on channels the user is not pointing at.
    QItemSelectionModel *selection = m_grid->selectionModel();
    if (area == m_grid) {
        const QModelIndex index = m_grid->indexAt(at);
        if (index.isValid() && !selection->isSelected(index))
            selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    } else {
        const int row = m_grid->verticalHeader()->logicalIndexAt(at);
        if (row >= 0 && !selection->isRowSelected(row))
            selectRows({row});
    }
    updateActions();
    m_contextMenu->popup(area->viewport()->mapToGlobal(at));
}

bool RowActions::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_grid && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Delete &&
        m_grid->selectionModel()->selectedRows().size() > 0) {
        clear();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace zw
