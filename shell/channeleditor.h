#pragma once

#include "picklists.h"

#include <QObject>

#include <array>

class QAction;
class QComboBox;
class QMenu;
class QMenuBar;
class QTableView;
class QWidget;

namespace zw
{

struct ChannelRecord;
class ChannelDocument;
class ChannelTableModel;
class Result;
struct ModelWindowLayout;

// Everything by which the user changes channels in a model window: typed frequencies in the
// grid (with the band check), the Delete key on a frequency cell, the six pick lists over the
// grid's header band, and the Edit menu's undo and redo. Each change goes to the window's
// channel document, which stores it at once.
class ChannelEditor final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ChannelEditor)

public:
    // The pick lists go into `client` over the grid's header band, the Edit menu into
    // `menuBar` before `menuBefore`; its keys work inside `window`, which shows the messages.
    ChannelEditor(ChannelDocument *document, ChannelTableModel *tableModel, QTableView *grid,
                  const ModelWindowLayout &layout, QWidget *client, QMenuBar *menuBar,
                  QAction *menuBefore, QWidget *window);
    ~ChannelEditor() override;

    QComboBox *pickList(PickList list) const;
    QAction *undoAction() const { return m_undoAction; }
    QAction *redoAction() const { return m_redoAction; }

    // Runs the check of grid column 1 (receive) or 3 (transmit) on `row` with `text` as typed;
    // other columns are left alone.
    void enterText(int row, int column, const QString &text);

    // Runs the pick rule of `list` with `entry` on the current row, or on `row`. With several
    // whole rows selected, pick() runs it on each of them in use, as one undo step.
    void pick(PickList list, const QString &entry);
    void pickOn(int row, PickList list, const QString &entry);

    // The Edit menu (编辑), which the row operations join.
    QMenu *editMenu() const { return m_editMenu; }

    void undo();
    void redo();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // While the document's edits are held (a transfer runs), nothing in the table changes.
    void showEditingHeld(bool held);
    void buildPickLists(QWidget *client, int gridTop);
    void buildEditMenu(QMenuBar *menuBar, QAction *menuBefore);
    // Writes `after` into `row` as one undoable step.
    void change(int row, const ChannelRecord &after);
    void updateActions();

    ChannelDocument *m_document;
    const ModelWindowLayout &m_layout;
    QWidget *m_window;
    QTableView *m_grid; // DataGrid1
    std::array<QComboBox *, allPickLists.size()> m_lists{};
    QMenu *m_editMenu = nullptr;
    QAction *m_undoAction = nullptr;
    QAction *m_redoAction = nullptr;
};

} // namespace zw
