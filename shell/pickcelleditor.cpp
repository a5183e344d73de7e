#include "pickcelleditor.h"

#include "channeldocument.h"
#include "channeleditor.h"
#include "channeltablemodel.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QTableView>

#include <functional>

namespace zw
{

namespace
{

// A pick list over one cell. Moving through it (arrow keys, typed letters, the wheel) only
// shows another entry; the entry is taken with Enter or Tab or by a choice in the open list.
class CellList final : public QComboBox
{
    Q_DISABLE_COPY_MOVE(CellList)

public:
    CellList(QWidget *parent, std::function<void(bool)> finish)
        : QComboBox(parent), m_finish(std::move(finish))
    {
        setObjectName(QStringLiteral("pickCellEditor"));
        connect(this, &QComboBox::activated, this, [this] {
            if (!m_browsing)
                m_finish(true); // chosen in the open list
        });
    }

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            m_finish(true);
            return;
        case Qt::Key_Escape:
            m_finish(false);
            return;
        default:
            break;
        }
        m_browsing = true;
        QComboBox::keyPressEvent(event);
        m_browsing = false;
    }
    void wheelEvent(QWheelEvent *event) override
    {
        m_browsing = true;
        QComboBox::wheelEvent(event);
        m_browsing = false;
    }
    void focusOutEvent(QFocusEvent *event) override
    {
        QComboBox::focusOutEvent(event);
        // The open list takes the focus for a while; anything else ends the edit unchanged.
        if (event->reason() != Qt::PopupFocusReason && !view()->isVisible())
            m_finish(false);
    }
    bool focusNextPrevChild(bool) override { return false; } // Tab is handled above

private:
    std::function<void(bool)> m_finish;
    bool m_browsing = false;
};

bool isPlainText(const QKeyEvent *key)
{
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString text = key->text();
    return !text.isEmpty() && text.at(0).isPrint();
}

} // namespace

PickCellEditor::PickCellEditor(ChannelDocument *document, ChannelEditor *editor, QTableView *grid,
                               QWidget *squelchList, QWidget *channelToneList)
    : QObject(grid), m_document(document), m_editor(editor), m_grid(grid)
{
    setObjectName(QStringLiteral("pickCellEditing"));
    m_grid->installEventFilter(this);
    // Tab walks the window's controls instead of the grid's cells (the arrow keys do that):
    // grid, squelch level, channel tone.
    m_grid->setTabKeyNavigation(false);
    QWidget::setTabOrder(m_grid, squelchList);
    QWidget::setTabOrder(squelchList, channelToneList);
    connect(m_grid, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex &index) { open(index, nullptr, true); });
    connect(document, &ChannelDocument::replaced, this, [this] { close(false); });
    // While a transfer with the radio runs no list opens, and an open one closes.
    connect(document, &ChannelDocument::editingHeldChanged, this, [this](bool held) {
        if (held)
            close(false);
    });
}

PickCellEditor::~PickCellEditor() = default;

bool PickCellEditor::editable() const
{
    return !m_document->isEditingHeld() && m_document->isEditable();
}

bool PickCellEditor::open(const QModelIndex &index, QKeyEvent *firstKey, bool showList)
{
    const std::optional<PickList> list = pickListOfColumn(index.column());
    if (!index.isValid() || !list || !editable())
        return false;
    close(false);
    m_row = index.row();
    m_list = *list;
    m_grid->setCurrentIndex(index);
    auto *combo = new CellList(m_grid->viewport(), [this](bool apply) { close(apply); });
    combo->addItems(pickListEntries(*list, m_document->model()));
    combo->setCurrentIndex(combo->findText(index.data().toString(), Qt::MatchExactly));
    combo->setMaxVisibleItems(16);
    combo->setFont(m_grid->font());
    combo->setGeometry(m_grid->visualRect(index));
    combo->show();
    combo->setFocus(Qt::OtherFocusReason);
    m_combo = combo;
    if (firstKey)
        QCoreApplication::sendEvent(combo, firstKey);
    if (showList)
        combo->showPopup();
    return true;
}

void PickCellEditor::close(bool apply)
{
    if (!m_combo)
        return;
    QComboBox *combo = m_combo;
    m_combo = nullptr;
    const QString entry = combo->currentIndex() >= 0 ? combo->currentText() : QString();
    const bool take = apply && combo->currentIndex() >= 0;
    combo->hide();
    combo->deleteLater();
    m_grid->setFocus(Qt::OtherFocusReason);
    if (take)
        m_editor->pickOn(m_row, m_list, entry);
}

bool PickCellEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_grid || event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    const QModelIndex index = m_grid->currentIndex();
    if (!index.isValid())
        return false;
    if (pickListOfColumn(index.column())) {
        const bool altDown = key->key() == Qt::Key_Down && key->modifiers() == Qt::AltModifier;
        const bool opens = key->key() == Qt::Key_F2 || key->key() == Qt::Key_Return ||
                           key->key() == Qt::Key_Enter || altDown;
        if (opens || isPlainText(key)) {
            open(index, opens ? nullptr : key, altDown);
            return true; // also when locked: no keyboard search
        }
    }
    // Text typed where nothing can be typed would start the view's search for a cell that
    // begins with it, and move the current channel: ignore it instead.
    if (isPlainText(key) && !(index.flags() & Qt::ItemIsEditable))
        return true;
    return false;
}

} // namespace zw
