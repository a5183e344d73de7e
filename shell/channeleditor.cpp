#include "channeleditor.h"

#include "captions.h"
#include "cellentry.h"
#include "channelstore.h"
#include "channeltablemodel.h"
#include "language.h"
#include "messagebox.h"
#include "messages.h"
#include "modelwindow.h"
#include "recordchange.h"
#include "twips.h"
#include "windowlayout.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTableView>
#include <QUndoStack>

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

ChannelEditor::ChannelEditor(ModelWindow *window)
    : QObject(window), m_window(window), m_grid(window->grid()), m_undo(new QUndoStack(this))
{
    setObjectName(QStringLiteral("channelEditor"));
    buildPickLists();
    buildEditMenu();

    // Queued: the check may show a modal message, which must not run while the grid is still
    // closing its cell editor.
    connect(window->tableModel(), &ChannelTableModel::cellEdited, this, &ChannelEditor::enterText,
            Qt::QueuedConnection);
    connect(window, &ModelWindow::tableReplaced, m_undo, &QUndoStack::clear);
    connect(window, &ModelWindow::transferLockChanged, this, &ChannelEditor::setLocked);
    connect(m_undo, &QUndoStack::canUndoChanged, this, &ChannelEditor::updateActions);
    connect(m_undo, &QUndoStack::canRedoChanged, this, &ChannelEditor::updateActions);
    m_grid->installEventFilter(this);
}

ChannelEditor::~ChannelEditor() = default;

QComboBox *ChannelEditor::pickList(PickList list) const
{
    return m_lists[slot(list)];
}

void ChannelEditor::buildPickLists()
{
    const ModelInfo &info = m_window->info();
    const QFont font = m_window->squelchList()->font();
    for (PickList list : allPickLists) {
        auto *combo = new QComboBox(m_window->client());
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
                           twips(m_window->layout().grid.top + pickListOffsetTwips),
                           pickListPixels(list, info.model, combo), twips(pickListHeightTwips));
        combo->raise();
        // activated, not currentIndexChanged: choosing the shown entry again applies it again.
        connect(combo, &QComboBox::activated, this,
                [this, list, combo](int index) { pick(list, combo->itemText(index)); });
        m_lists[slot(list)] = combo;
    }
}

void ChannelEditor::buildEditMenu()
{
    const CaptionSet set = isEnglish() ? CaptionSet::English : CaptionSet::Design;
    const ModelWindowLayout *info = &m_window->layout();
    m_editMenu = new QMenu(captionText(Caption::EditMenu, set, info), m_window->menuBar());
    m_editMenu->setObjectName(QStringLiteral("编辑"));
    m_editMenu->menuAction()->setObjectName(QStringLiteral("编辑"));
    m_window->menuBar()->insertMenu(m_window->readAction(), m_editMenu);

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
    connect(m_undoAction, &QAction::triggered, m_undo, &QUndoStack::undo);
    connect(m_redoAction, &QAction::triggered, m_undo, &QUndoStack::redo);
    updateActions();
}

void ChannelEditor::enterText(int row, int column, const QString &text)
{
    // Nothing in the table changes while a transfer with the radio runs.
    if (m_locked || row < 0 || row >= channelCount)
        return;
    ChannelRecord typed = m_window->store()->record(row);
    CellEntryResult result;
    if (column == ChannelTableModel::rxFrequencyColumn) {
        typed[RxFrequency] = text;
        result = checkRxFrequency(typed, m_window->info().band);
    } else if (column == ChannelTableModel::txFrequencyColumn) {
        typed[TxFrequency] = text;
        result = checkTxFrequency(typed, m_window->info().band);
    } else {
        return;
    }
    if (result.outOfRange) {
        // The message comes first, while the grid still shows what the cell held; the held
        // value is stored and shown once the user has closed it.
        const QPointer<ChannelEditor> self(this);
        showMessage(m_window, MessageIcon::Information, errorWarningTitle, outOfRangeMessage);
        if (!self || m_locked)
            return;
    }
    change(row, result.record);
}

void ChannelEditor::pick(PickList list, const QString &entry)
{
    pickOn(m_window->currentRow(), list, entry);
}

void ChannelEditor::pickOn(int row, PickList list, const QString &entry)
{
    if (m_locked || row < 0 || row >= channelCount)
        return;
    change(row, applyPick(m_window->store()->record(row), list, entry));
}

bool ChannelEditor::change(int row, const ChannelRecord &after)
{
    ChannelStore *store = m_window->store();
    const ChannelRecord before = store->record(row);
    if (after == before)
        return true; // nothing to write, and nothing to undo
    m_undo->push(
        new RecordChange(store, row, before, after, [this] { m_window->reportStoreFailure(); }));
    return store->record(row) == after;
}

void ChannelEditor::updateActions()
{
    m_undoAction->setEnabled(!m_locked && m_undo->canUndo());
    m_redoAction->setEnabled(!m_locked && m_undo->canRedo());
}

void ChannelEditor::setLocked(bool locked)
{
    m_locked = locked;
    for (QComboBox *combo : m_lists)
        combo->setEnabled(!locked);
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
