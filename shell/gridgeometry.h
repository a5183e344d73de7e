#pragma once

#include <QObject>

#include <array>

class QLabel;
class QTableView;
class QWidget;

namespace zw
{

class ChannelEditor;
class ChannelTableModel;
struct ModelWindowLayout;

// Sizes and places the grid of a model window and what belongs to it. Every column is at least
// as wide as its design width, its caption (in the window's language) and its widest value, so
// all nine columns show whole without sideways scrolling; the grid grows with the window (its
// rows taller, its columns wider); each red pick list lies in the header band exactly over the
// column it sets, following the column's real position and width; the status line stays below
// the grid.
class GridGeometry final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(GridGeometry)

public:
    // `client` is the area of the model window that holds the grid, the pick lists of
    // `editor` and the status line; the object lives as long as it.
    GridGeometry(QWidget *client, QTableView *grid, QLabel *statusLine,
                 const ModelWindowLayout &layout, ChannelTableModel *tableModel,
                 ChannelEditor *editor);

    // Column widths from captions and contents, then the layout; the window's frame grows
    // when the grid no longer fits in it.
    void fitColumns();
    // Grid, pick lists and status line for the window's present size.
    void layout();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void placePickLists();

    const ModelWindowLayout &m_layout;
    ChannelTableModel *m_tableModel;
    ChannelEditor *m_editor;
    QTableView *m_grid;
    QLabel *m_statusLine;
    // Compared with in the event filter, which also sees events while the window is destroyed.
    QWidget *m_client;
    QObject *m_header;
    std::array<int, 9> m_minimumWidths{};
    int m_minimumRowHeight = 0;
    bool m_laying = false;
};

} // namespace zw
