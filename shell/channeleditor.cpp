#include "channeleditor.h"

#include "captions.h"
#include "cellentry.h"
#include "channeldocument.h"
#include "channeltablemodel.h"
#include "editfailures.h"
#include "language.h"
#include "messagebox.h"
#include "messages.h"
#include "twips.h"
#include "windowlayout.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTableView>

#include <algorithm>

namespace zw
{

namespace
{

constexpr int pickListOffsetTwips = 480; // below the grid's top edge, inside its header band
constexpr int pickListHeightTwips = 300;

// The design width, widened to show its longest entry where the fonts at hand are wider than
// the design font, but never into the next list.
int pickListPixels(PickList list, Model model, const QComboBox *combo)
{
    int width = std::max(twips(pickListWidth(list)), combo->sizeHint().width());
    const auto next = std::find(allPickLists.begin(), allPickLists.end(), list) + 1;
    if (next != allPickLists.end())
        width = std::min(width, twips(pickListLeft(*next, model) - pickListLeft(list, model)) - 1);
    return width;
}

std::size_t slot(PickList list)
{
    return static_cast<std::size_t>(list);
}

} // namespace

ChannelEditor::ChannelEditor(ChannelDocument *document, ChannelTableModel *tableModel,
                             QTableView *grid, const ModelWindowLayout &layout, QWidget *client,
                             QMenuBar *menuBar, QAction *menuBefore, QWidget *window)
    : QObject(window), m_document(document), m_layout(layout), m_window(window), m_grid(grid)
{
    setObjectName(QStringLiteral("channelEditor"));
    buildPickLists(client, layout.grid.top);
    buildEditMenu(menuBar, menuBefore);

    // Queued: the check may show a modal message, which must not run while the grid is still
    // closing its cell editor.
    connect(tableModel, &ChannelTableModel::cellEdited, this, &ChannelEditor::enterText,
            Qt::QueuedConnection);
    connect(document, &ChannelDocument::historyChanged, this, &ChannelEditor::updateActions);
    m_grid->installEventFilter(this);
}

ChannelEditor::~ChannelEditor() = default;

QComboBox *ChannelEditor::pickList(PickList list) const
{
    return m_lists[slot(list)];
}

void ChannelEditor::buildPickLists(QWidget *client, int gridTop)
{
    const ModelInfo &info = modelInfo(m_document->model());
    const QFont font = m_grid->font();
    for (PickList list : allPickLists) {
        auto *combo = new QComboBox(client);
        combo->setObjectName(pickListName(list));
        combo->addItems(pickListEntries(list, info.model));
        combo->setCurrentIndex(-1); // blank until the user chooses
        combo->setFont(font);
        combo->setFocusPolicy(Qt::NoFocus); // the grid keeps the keyboard
        QPalette palette = combo->palette();
        palette.setColor(QPalette::ButtonText, Qt::red);
        palette.setColor(QPalette::Text, Qt::red);
        combo->setPalette(palette);
        combo->view()->setPalette(palette); // the open list is a window of its own
        // A drop-down list below the box with a scroll bar, rather than a menu of up to 125
        // entries laid over the whole grid.
        combo->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
        combo->setMaxVisibleItems(16);
        combo->setGeometry(twips(pickListLeft(list, info.model)),
                           twips(gridTop + pickListOffsetTwips),
                           pickListPixels(list, info.model, combo), twips(pickListHeightTwips));
        combo->raise();
        // activated, not currentIndexChanged: choosing the shown entry again applies it again.
        connect(combo, &QComboBox::activated, this,
                [this, list, combo](int index) { pick(list, combo->itemText(index)); });
        m_lists[slot(list)] = combo;
    }
}

void ChannelEditor::buildEditMenu(QMenuBar *menuBar, QAction *menuBefore)
{
    const CaptionSet set = isEnglish() ? CaptionSet::English : CaptionSet::Design;
    const ModelWindowLayout *info = &m_layout;
    m_editMenu = new QMenu(captionText(Caption::EditMenu, set, info), menuBar);
    m_editMenu->setObjectName(QStringLiteral("编辑"));
    m_editMenu->menuAction()->setObjectName(QStringLiteral("编辑"));
    menuBar->insertMenu(menuBefore, m_editMenu);

    m_undoAction = m_editMenu->addAction(captionText(Caption::UndoItem, set, info));
    m_undoAction->setObjectName(QStringLiteral("撤销"));
    m_undoAction->setShortcut(QKeySequence::Undo);
    m_redoAction = m_editMenu->addAction(captionText(Caption::RedoItem, set, info));
    m_redoAction->setObjectName(QStringLiteral("重做"));
    m_redoAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
    for (QAction *action : {m_undoAction, m_redoAction}) {
        // Several model windows share one frame: each window's keys work inside it only.
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        m_window->addAction(action);
    }
    connect(m_undoAction, &QAction::triggered, this, &ChannelEditor::undo);
    connect(m_document, &ChannelDocument::editingHeldChanged, this,
            &ChannelEditor::showEditingHeld);
    connect(m_redoAction, &QAction::triggered, this, &ChannelEditor::redo);
    updateActions();
}

void ChannelEditor::undo()
{
    if (m_document->isEditingHeld())
        return;
    if (offerToDiscardRefusedStep(m_window, m_document->undo(), UndoDirection::Undo))
        m_document->discardUndoStep();
}

void ChannelEditor::redo()
{
    if (m_document->isEditingHeld())
        return;
    if (offerToDiscardRefusedStep(m_window, m_document->redo(), UndoDirection::Redo))
        m_document->discardRedoStep();
}

void ChannelEditor::enterText(int row, int column, const QString &text)
{
    // Nothing in the table changes while a transfer with the radio runs.
    if (m_document->isEditingHeld() || row < 0 || row >= channelCount)
        return;
    m_document->refresh(); // checked against what the file holds now
    ChannelRecord typed = m_document->record(row);
    CellEntryResult result;
    if (column == ChannelTableModel::rxFrequencyColumn) {
        typed[RxFrequency] = text;
        result = checkRxFrequency(typed, modelInfo(m_document->model()).band);
    } else if (column == ChannelTableModel::txFrequencyColumn) {
        typed[TxFrequency] = text;
        result = checkTxFrequency(typed, modelInfo(m_document->model()).band);
    } else {
        return;
    }
    if (result.outOfRange) {
        // The message comes first, while the grid still shows what the cell held; the held
        // value is stored and shown once the user has closed it.
        const QPointer<ChannelEditor> self(this);
        showMessage(m_window, MessageIcon::Information, errorWarningTitle, outOfRangeMessage);
        if (!self || m_document->isEditingHeld())
            return;
    }
    change(row, result.record);
}

void ChannelEditor::pick(PickList list, const QString &entry)
{
    QList<int> rows;
    for (const QModelIndex &index : m_grid->selectionModel()->selectedRows())
        rows.append(index.row());
    if (rows.size() < 2) {
        pickOn(std::max(m_grid->currentIndex().row(), 0), list, entry);
        return;
    }
    if (m_document->isEditingHeld())
        return;
    // Several whole channels chosen: the entry goes into each of them that is in use, as one
    // undo step. Empty channels among them stay empty (the pick rule would only empty the
    // fields they do not have).
    m_document->refresh();
    const Result stored = m_document->edit([&](ChannelTable table) {
        for (int row : std::as_const(rows)) {
            ChannelRecord &record = table[static_cast<std::size_t>(row)];
            if (!isEmptyChannel(record))
                record = applyPick(record, list, entry);
        }
        return table;
    });
    reportRefusedChange(m_window, stored, UndoDirection::None);
}

void ChannelEditor::pickOn(int row, PickList list, const QString &entry)
{
    if (m_document->isEditingHeld() || row < 0 || row >= channelCount)
        return;
    m_document->refresh(); // the pick rule works on what the file holds now
    change(row, applyPick(m_document->record(row), list, entry));
}

void ChannelEditor::change(int row, const ChannelRecord &after)
{
    // Only the fields the entry changes are written: another program's values in the other
    // fields of the channel stay.
    const ChannelRecord before = m_document->record(row);
    const Result stored = m_document->edit([&](ChannelTable table) {
        for (int field = 0; field < fieldCount; ++field)
            if (after[field] != before[field])
                table[static_cast<std::size_t>(row)][field] = after[field];
        return table;
    });
    reportRefusedChange(m_window, stored, UndoDirection::None);
}

void ChannelEditor::updateActions()
{
    m_undoAction->setEnabled(!m_document->isEditingHeld() && m_document->canUndo());
    m_redoAction->setEnabled(!m_document->isEditingHeld() && m_document->canRedo());
}

void ChannelEditor::showEditingHeld(bool held)
{
    for (QComboBox *combo : m_lists)
        combo->setEnabled(!held);
    updateActions();
}

bool ChannelEditor::eventFilter(QObject *watched, QEvent *event)
{
    // Compared with the grid kept at construction: the grid still gets events while the window
    // is being destroyed, when the window can no longer be asked for it.
    if (watched == m_grid && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Delete) {
        const QModelIndex index = m_grid->currentIndex();
        if (index.isValid() && (index.flags() & Qt::ItemIsEditable)) {
            // Delete clears the cell through the same check as typing: an empty receive
            // frequency empties the channel, an empty transmit frequency is removed.
            enterText(index.row(), index.column(), QString());
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace zw
