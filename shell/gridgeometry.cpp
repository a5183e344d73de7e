#include "gridgeometry.h"

#include "channeleditor.h"
#include "channeltablemodel.h"
#include "picklists.h"
#include "twips.h"
#include "windowlayout.h"

#include <QComboBox>
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMdiSubWindow>
#include <QStyle>
#include <QTableView>

#include <algorithm>

namespace zw
{

namespace
{

constexpr int pickListOffsetTwips = 480; // below the grid's top edge, inside its header band
constexpr int cellPadding = 10;          // room around a cell's or caption's text

// The widest text each column shows: channel number, frequency, tone, scan, BCL, beat, power.
const std::array<QStringList, ChannelTableModel::columnCountValue> &widestValues()
{
    static const std::array<QStringList, ChannelTableModel::columnCountValue> values{
        QStringList{QStringLiteral("16")},
        QStringList{QStringLiteral("888.88888")},
        QStringList{QStringLiteral("D754N"), QStringLiteral("250.3")},
        QStringList{QStringLiteral("888.88888")},
        QStringList{QStringLiteral("D754N"), QStringLiteral("250.3")},
        QStringList{QStringLiteral("add"), QStringLiteral("del")},
        QStringList{QStringLiteral("off")},
        QStringList{QStringLiteral("off")},
        QStringList{QStringLiteral("H"), QStringLiteral("L")},
    };
    return values;
}

// The frame of the model window that holds `client`, when it sits in the main window's area.
QMdiSubWindow *frameOf(QWidget *client)
{
    for (QWidget *w = client->parentWidget(); w; w = w->parentWidget())
        if (auto *frame = qobject_cast<QMdiSubWindow *>(w))
            return frame;
    return nullptr;
}

} // namespace

GridGeometry::GridGeometry(QWidget *client, QTableView *grid, QLabel *statusLine,
                           const ModelWindowLayout &layout, ChannelTableModel *tableModel,
                           ChannelEditor *editor)
    : QObject(client), m_layout(layout), m_tableModel(tableModel), m_editor(editor), m_grid(grid),
      m_statusLine(statusLine), m_client(client), m_header(grid->horizontalHeader())
{
    setObjectName(QStringLiteral("gridGeometry"));
    m_minimumRowHeight = m_grid->verticalHeader()->defaultSectionSize();
    client->installEventFilter(this);
    m_grid->horizontalHeader()->installEventFilter(this);
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionResized, this,
            &GridGeometry::placePickLists);
    // The captions change at load (English); the columns follow.
    connect(tableModel, &QAbstractItemModel::headerDataChanged, this, &GridGeometry::fitColumns);
    fitColumns();
}

void GridGeometry::fitColumns()
{
    const QFontMetrics metrics(m_grid->horizontalHeader()->font());
    const QFontMetrics cells(m_grid->font());
    const QStringList captions = m_tableModel->captions();
    // The header's own floor (wider than the channel-number column needs) would push the
    // columns past the grid's edge.
    m_grid->horizontalHeader()->setMinimumSectionSize(cellPadding);
    for (int column = 0; column < ChannelTableModel::columnCountValue; ++column) {
        const auto c = static_cast<std::size_t>(column);
        int width = twips(m_layout.columnWidths[c]);
        // Trailing blanks of a caption only push the text left; they need no room.
        const QString caption = captions.value(column).trimmed();
        width = std::max(width, metrics.horizontalAdvance(caption) + cellPadding);
        for (const QString &value : widestValues()[c])
            width = std::max(width, cells.horizontalAdvance(value) + cellPadding);
        if (const std::optional<PickList> list = pickListOfColumn(column))
            width = std::max(width, m_editor->pickList(*list)->minimumSizeHint().width());
        m_minimumWidths[c] = width;
    }

    // The client never gets smaller than the grid at these widths, and the frame grows to it.
    QWidget *client = m_client;
    const int left = twips(m_layout.grid.left);
    const int frame = 2 * m_grid->frameWidth();
    int gridWidth = m_grid->verticalHeader()->width() + frame;
    for (int width : m_minimumWidths)
        gridWidth += width;
    const int gridHeight =
        m_grid->horizontalHeader()->height() + channelCount * m_minimumRowHeight + frame;
    const int statusHeight = m_statusLine->height();
    client->setMinimumSize(left + gridWidth + left,
                           twips(m_layout.grid.top) + gridHeight + 8 + statusHeight + 8);
    if (auto *subWindow = frameOf(m_client))
        subWindow->resize(subWindow->size().expandedTo(subWindow->minimumSizeHint()));
    layout();
}

void GridGeometry::layout()
{
    if (m_laying)
        return;
    m_laying = true;
    QWidget *client = m_client;
    const int left = twips(m_layout.grid.left);
    const int top = twips(m_layout.grid.top);
    const int frame = 2 * m_grid->frameWidth();
    QHeaderView *header = m_grid->horizontalHeader();
    QHeaderView *rows = m_grid->verticalHeader();
    QLabel *status = m_statusLine;

    int columnsWidth = 0;
    for (int width : m_minimumWidths)
        columnsWidth += width;
    // The grid fills the client but for a margin as wide as its left one; what it gains goes
    // to the columns in proportion to their widths, and to the rows equally.
    const int available = client->width() - 2 * left - rows->width() - frame;
    const int extra = std::max(0, available - columnsWidth);
    int given = 0;
    for (int column = 0; column < ChannelTableModel::columnCountValue; ++column) {
        const int base = m_minimumWidths[static_cast<std::size_t>(column)];
        int width = base + extra * base / columnsWidth;
        if (column == ChannelTableModel::columnCountValue - 1)
            width = base + extra - given; // the last column takes the rounding
        given += width - base;
        m_grid->setColumnWidth(column, width);
    }
    const int rowsHeight =
        client->height() - top - header->height() - frame - 8 - status->height() - 8;
    const int rowHeight = std::max(m_minimumRowHeight, rowsHeight / channelCount);
    rows->setDefaultSectionSize(rowHeight);
    const int gridWidth = rows->width() + columnsWidth + extra + frame;
    const int gridHeight = header->height() + channelCount * rowHeight + frame;
    m_grid->setGeometry(left, top, gridWidth, gridHeight);
    status->move(left, m_grid->geometry().bottom() + 8);
    placePickLists();
    m_laying = false;
}

void GridGeometry::placePickLists()
{
    QHeaderView *header = m_grid->horizontalHeader();
    // Where the header band starts, from the grid's own measures: the header itself is moved
    // into place only when the grid next lays out its parts.
    const int frame = m_grid->frameWidth();
    const QPoint band(
        m_grid->x() + frame +
            (m_grid->verticalHeader()->isHidden() ? 0 : m_grid->verticalHeader()->width()),
        m_grid->y() + frame);
    for (PickList list : allPickLists) {
        QComboBox *combo = m_editor->pickList(list);
        int column = 0;
        for (int c = 0; c < ChannelTableModel::columnCountValue; ++c)
            if (pickListOfColumn(c) == list)
                column = c;
        const int height = combo->height();
        // Its design row inside the header band, moved up when the band is lower than that.
        const int topInBand = std::min(twips(pickListOffsetTwips) - (band.y() - m_grid->y()),
                                       header->height() - height - 1);
        combo->setGeometry(band.x() + header->sectionViewportPosition(column),
                           band.y() + std::max(0, topInBand), header->sectionSize(column), height);
        combo->raise();
    }
}

bool GridGeometry::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_client && event->type() == QEvent::Resize)
        layout();
    else if (watched == m_header &&
             (event->type() == QEvent::Move || event->type() == QEvent::Resize))
        placePickLists();
    return QObject::eventFilter(watched, event);
}

} // namespace zw
