#pragma once

#include "picklists.h"

#include <QObject>

#include <array>

class QAction;
class QComboBox;
class QMenu;
class QTableView;
class QUndoStack;

namespace zw
{

struct ChannelRecord;
class ModelWindow;

// Everything by which the user changes channels in a model window: typed frequencies in the
// grid (with the band check), the Delete key on a frequency cell, the six pick lists over the
// grid's header band, and undo/redo of all of these. Each change is written to the model
// database at once through the window's channel store.
class ChannelEditor final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ChannelEditor)

public:
    explicit ChannelEditor(ModelWindow *window);
    ~ChannelEditor() override;

    QComboBox *pickList(PickList list) const;
    QUndoStack *undoStack() const { return m_undo; }
    QAction *undoAction() const { return m_undoAction; }
    QAction *redoAction() const { return m_redoAction; }

    // Runs the check of grid column 1 (receive) or 3 (transmit) on `row` with `text` as typed;
    // other columns are left alone.
    void enterText(int row, int column, const QString &text);

    // Runs the pick rule of `list` with `entry` on the current row, or on `row`.
    void pick(PickList list, const QString &entry);
    void pickOn(int row, PickList list, const QString &entry);

    // The Edit menu (编辑), which the row operations join.
    QMenu *editMenu() const { return m_editMenu; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildPickLists();
    void buildEditMenu();
    // Writes `after` into `row` as one undoable step; true when the row now holds it.
    bool change(int row, const ChannelRecord &after);
    void updateActions();
    void setLocked(bool locked);

    ModelWindow *m_window;
    QTableView *m_grid; // DataGrid1
    QUndoStack *m_undo;
    std::array<QComboBox *, allPickLists.size()> m_lists{};
    QMenu *m_editMenu = nullptr;
    QAction *m_undoAction = nullptr;
    QAction *m_redoAction = nullptr;
    bool m_locked = false;
};

} // namespace zw
