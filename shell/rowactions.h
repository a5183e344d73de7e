#pragma once

#include "captions.h"
#include "channelrecord.h"

#include <QKeySequence>
#include <QList>
#include <QObject>

#include <functional>

class QAbstractScrollArea;
class QAction;
class QMenu;
class QMimeData;
class QPoint;
class QTableView;

namespace zw
{

class ChannelDocument;
class ChannelEditor;
class ChannelTableModel;
struct ModelWindowLayout;

// Whole-channel operations of a model window, in its Edit menu and in the grid's context menu:
// 复制 Copy (Ctrl+C), 剪切 Cut (Ctrl+X), 粘贴 Paste (Ctrl+V), 清除 Clear (Delete on a row
// selection), 上移 Move Up (Ctrl+Up), 下移 Move Down (Ctrl+Down). Rows are selected by their
// row header (Shift and Ctrl extend the selection); without a row selection the current channel
// is meant. Each operation is one undo step, however many channels it touches. Pasted rows are
// checked like typed and picked ones, and rows that do not fit are listed before anything
// changes.
class RowActions final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RowActions)

public:
    // Joins the Edit menu of `editor` and the grid's context menu; the keys work inside
    // `window`, which shows the messages.
    RowActions(ChannelDocument *document, ChannelEditor *editor, QTableView *grid,
               ChannelTableModel *tableModel, const ModelWindowLayout &layout, QWidget *window);

    QAction *copyAction() const { return m_copy; }
    QAction *cutAction() const { return m_cut; }
    QAction *pasteAction() const { return m_paste; }
    QAction *clearAction() const { return m_clear; }
    QAction *moveUpAction() const { return m_moveUp; }
    QAction *moveDownAction() const { return m_moveDown; }
    QMenu *contextMenu() const { return m_contextMenu; }

    // The channels the operations work on (0..15, ascending): the selected rows, or else the
    // current channel.
    QList<int> chosenRows() const;

    void copy();
    void cut();
    void paste();
    void clear();
    void moveUp() { move(-1); }
    void moveDown() { move(1); }
    // Pastes from `data` instead of the clipboard.
    void pasteFrom(const QMimeData *data);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAction *addItem(Caption caption, const QKeySequence &keys, const char *name);
    void move(int step);
    int currentRow() const;
    bool changesAllowed() const;
    // Makes `edit` of the table one undo step and tells the user when it was not stored.
    void change(const std::function<ChannelTable(const ChannelTable &)> &edit);
    bool editingCell() const;
    void updateActions();
    void selectRows(const QList<int> &rows);
    void showContextMenu(QAbstractScrollArea *area, const QPoint &at);

    ChannelDocument *m_document;
    ChannelTableModel *m_tableModel;
    const ModelWindowLayout &m_layout;
    QWidget *m_window;
    ChannelEditor *m_editor;
    QTableView *m_grid;
    QMenu *m_contextMenu;
    QAction *m_copy = nullptr;
    QAction *m_cut = nullptr;
    QAction *m_paste = nullptr;
    QAction *m_clear = nullptr;
    QAction *m_moveUp = nullptr;
    QAction *m_moveDown = nullptr;
};

} // namespace zw
