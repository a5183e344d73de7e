#pragma once

#include "picklists.h"

#include <QComboBox>
#include <QObject>
#include <QPointer>

class QComboBox;
class QKeyEvent;
class QModelIndex;
class QTableView;

namespace zw
{

class ChannelDocument;
class ChannelEditor;

// The keyboard's way into the pick lists: on a tone, scan, BCL, beat or power cell, F2, Enter,
// Alt+Down or typing (and a double click) opens a list over the cell with that column's
// entries; Enter, Tab or a click in the open list applies the entry through the pick rule to
// that channel, Escape or leaving the list changes nothing. Typing anywhere else in the grid
// outside a frequency cell does nothing: it never jumps to another channel. Tab leaves the grid
// for the squelch and channel-tone lists.
class PickCellEditor final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PickCellEditor)

public:
    // Works in `grid`; Tab goes on to `squelchList` and `channelToneList`.
    PickCellEditor(ChannelDocument *document, ChannelEditor *editor, QTableView *grid,
                   QWidget *squelchList, QWidget *channelToneList);
    ~PickCellEditor() override;

    // The list open over a cell, or null.
    QComboBox *openEditor() const { return m_combo; }

    // Opens the list over `index` when its column has one; `firstKey` is passed on to it (a
    // typed letter chooses the first entry it starts), `showList` drops it down at once.
    bool open(const QModelIndex &index, QKeyEvent *firstKey = nullptr, bool showList = false);
    // Closes the open list; with `apply`, its entry goes into the channel first.
    void close(bool apply);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool editable() const;

    ChannelDocument *m_document;
    ChannelEditor *m_editor;
    QTableView *m_grid;
    QPointer<QComboBox> m_combo;
    int m_row = -1;
    PickList m_list = PickList::ToneBoth;
};

} // namespace zw
