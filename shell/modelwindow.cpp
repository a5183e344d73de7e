#include "modelwindow.h"

#include "captions.h"
#include "channeleditor.h"
#include "channelfileactions.h"
#include "channelstore.h"
#include "channeltablemodel.h"
#include "csvactions.h"
#include "gridgeometry.h"
#include "gridheader.h"
#include "language.h"
#include "messagebox.h"
#include "messages.h"
#include "pickcelleditor.h"
#include "porthints.h"
#include "radiosession.h"
#include "radiosettings.h"
#include "radiotransfer.h"
#include "rowactions.h"
#include "serialconnection.h"
#include "settingskeeper.h"
#include "tablebackups.h"
#include "twips.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QHeaderView>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace zw
{

namespace
{

QFont gridFont()
{
    QFont font(QStringLiteral("SimSun"), 9);
    font.setFamilies({QStringLiteral("SimSun"), QStringLiteral("宋体"),
                      QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Noto Sans CJK SC")});
    return font;
}

} // namespace

ModelWindow::ModelWindow(Model model, SerialConnection *serial, QWidget *parent)
    : QWidget(parent), m_info(modelInfo(model)), m_layout(modelWindowLayout(model)),
      m_serial(serial), m_store(new ChannelStore(this)),
      m_tableModel(new ChannelTableModel(m_store, this))
{
    setObjectName(m_info.name);
    setWindowTitle(m_layout.caption);
    buildMenus();
    buildControls();

    m_session = new RadioSession(model, serial, this); // its timers are Timer1 to Timer4

    auto *editor = new ChannelEditor(this); // typed entry, pick lists and undo
    new PickCellEditor(this, editor);       // pick lists from the keyboard, in the cell
    new RowActions(this, editor);           // copy, cut, paste, clear and move whole channels
    new GridGeometry(this, editor);         // the grid and its pick lists follow the window
    m_settingsKeeper = new SettingsKeeper(this);
    new RadioTransfer(this); // Read Data / Write Data, status line and progress
    // 打开 and 保存 of the file menu
    auto *files = new ChannelFileActions(this, m_openAction, m_saveAction);
    new CsvActions(this, m_fileMenu); // CHIRP CSV export and import in the file menu
    m_backups = new TableBackups(this, m_fileMenu, m_saveAction, files);
    new StatusLineHint(this); // what to check while the radio does not answer
}

ModelWindow::~ModelWindow() = default;

void ModelWindow::buildMenus()
{
    m_menuBar = new QMenuBar(this);
    m_menuBar->setObjectName(QStringLiteral("menuBar"));
    m_menuBar->setNativeMenuBar(false);
    m_client = new QWidget(this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(m_menuBar);
    layout->addWidget(m_client);

    m_modelAction = m_menuBar->addAction(QString());
    m_modelAction->setObjectName(QStringLiteral("型号"));
    connect(m_modelAction, &QAction::triggered, this, &ModelWindow::modelDialogRequested);

    m_fileMenu = m_menuBar->addMenu(QString());
    m_fileMenu->setObjectName(QStringLiteral("文件"));
    m_fileMenu->menuAction()->setObjectName(QStringLiteral("文件"));
    m_openAction = m_fileMenu->addAction(QString());
    m_openAction->setObjectName(QStringLiteral("打开"));
    m_saveAction = m_fileMenu->addAction(QString());
    m_saveAction->setObjectName(QStringLiteral("保存"));
    m_openAction->setShortcut(QKeySequence::Open);
    m_saveAction->setShortcut(QKeySequence::Save);
    for (QAction *action : {m_openAction, m_saveAction}) {
        // Several model windows share one frame: each window's keys work inside it only.
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(action);
    }

    m_readAction = m_menuBar->addAction(QString());
    m_readAction->setObjectName(QStringLiteral("读信道"));
    m_writeAction = m_menuBar->addAction(QString());
    m_writeAction->setObjectName(QStringLiteral("写信道"));

    m_exitAction = m_menuBar->addAction(QString());
    m_exitAction->setObjectName(QStringLiteral("退出"));
    connect(m_exitAction, &QAction::triggered, this, &ModelWindow::closeWindow);
}

void ModelWindow::buildControls()
{
    const QFont font = gridFont();
    auto place = [](QWidget *w, int left, int top, int width, int height) {
        w->setGeometry(twips(left), twips(top), twips(width), twips(height));
    };

    m_grid = new QTableView(m_client);
    m_grid->setObjectName(QStringLiteral("DataGrid1"));
    m_grid->setHorizontalHeader(new GridHeader(Qt::Horizontal, m_grid));
    m_grid->setVerticalHeader(new GridHeader(Qt::Vertical, m_grid));
    m_grid->setModel(m_tableModel);
    m_grid->setFont(font);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);
    m_grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const int lineHeight = QFontMetrics(font).height();
    QHeaderView *header = m_grid->horizontalHeader();
    header->setFont(font);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignTop);
    header->setFixedHeight(4 * lineHeight + 4); // the header band holds four text lines
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setHighlightSections(false);
    QHeaderView *rows = m_grid->verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setFont(font);
    rows->setMinimumSectionSize(lineHeight + 2);
    rows->setDefaultSectionSize(lineHeight + 2);
    rows->setFixedWidth(20); // the record selector column
    int columnsWidth = 0;
    for (int column = 0; column < ChannelTableModel::columnCountValue; ++column) {
        const int width = twips(m_layout.columnWidths[static_cast<std::size_t>(column)]);
        m_grid->setColumnWidth(column, width);
        columnsWidth += width;
    }
    // All 16 channels are in view at once: the grid is at least as large as its rows (the
    // design size assumed a smaller font than the CJK fallback fonts have).
    const int frame = 2 * m_grid->frameWidth();
    const int gridWidth = std::max(twips(m_layout.grid.width), 20 + columnsWidth + frame);
    const int gridHeight =
        std::max(twips(m_layout.grid.height),
                 header->height() + channelCount * rows->defaultSectionSize() + frame);
    m_grid->setGeometry(twips(m_layout.grid.left), twips(m_layout.grid.top), gridWidth, gridHeight);

    m_squelchLabel = new QLabel(m_client);
    m_squelchLabel->setObjectName(QStringLiteral("Label4"));
    m_squelchLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    place(m_squelchLabel, m_layout.pickListLefts.squelch - 1500, 240, 1440, 330);
    m_squelchList = new QComboBox(m_client);
    m_squelchList->setObjectName(QStringLiteral("Combo8"));
    m_squelchList->addItems(squelchLevels());
    place(m_squelchList, m_layout.pickListLefts.squelch, 240, 615, 330);

    m_channelToneLabel = new QLabel(m_client);
    m_channelToneLabel->setObjectName(QStringLiteral("Label7"));
    m_channelToneLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    place(m_channelToneLabel, m_layout.pickListLefts.channelTone - 1140, 240, 1080, 330);
    m_channelToneList = new QComboBox(m_client);
    m_channelToneList->setObjectName(QStringLiteral("Combo11"));
    m_channelToneList->addItems(channelTones());
    place(m_channelToneList, m_layout.pickListLefts.channelTone, 240, 855, 330);

    for (QComboBox *combo : {m_squelchList, m_channelToneList}) {
        QPalette palette = combo->palette();
        palette.setColor(QPalette::ButtonText, Qt::red);
        palette.setColor(QPalette::Text, Qt::red);
        combo->setPalette(palette);
        combo->setFont(font);
    }

    m_statusLine = new QLabel(QStringLiteral(" "), m_client);
    m_statusLine->setObjectName(QStringLiteral("Label2"));
    QPalette palette = m_statusLine->palette();
    palette.setColor(QPalette::WindowText, Qt::blue);
    m_statusLine->setPalette(palette);
    m_statusLine->setFont(font);
    const int statusTop = m_grid->geometry().bottom() + 8;
    m_statusLine->setGeometry(twips(m_layout.grid.left), statusTop, twips(4000), lineHeight + 4);

    m_client->setMinimumSize(m_grid->geometry().right() + twips(m_layout.grid.left),
                             statusTop + lineHeight + 16);
}

void ModelWindow::applyCaptions(bool english)
{
    const CaptionSet set = english ? CaptionSet::English : CaptionSet::Design;
    m_modelAction->setText(captionText(Caption::ModelMenu, set, &m_layout));
    m_fileMenu->setTitle(captionText(Caption::FileMenu, set, &m_layout));
    m_openAction->setText(captionText(Caption::OpenItem, set, &m_layout));
    m_saveAction->setText(captionText(Caption::SaveItem, set, &m_layout));
    m_readAction->setText(captionText(Caption::ReadItem, set, &m_layout));
    m_writeAction->setText(captionText(Caption::WriteItem, set, &m_layout));
    m_exitAction->setText(captionText(Caption::ExitItem, set, &m_layout));
    m_squelchLabel->setText(captionText(Caption::SquelchLabel, set, &m_layout));
    m_channelToneLabel->setText(captionText(Caption::ChannelToneLabel, set, &m_layout));
    m_tableModel->setCaptions(gridCaptions(m_layout, english));
}

void ModelWindow::load()
{
    applyCaptions(false);
    const QString path = QDir::current().filePath(m_info.databaseFile);
    const Expected<ChannelStore::Opened> opened = m_store->open(path);
    emit m_tableModel->layoutChanged();
    m_grid->setCurrentIndex(m_tableModel->index(0, 0));
    m_settingsKeeper->restore(); // the stored settings, or the defaults
    m_session->startPolling();
    if (isEnglish())
        applyCaptions(true);

    if (opened && !opened->movedAsideTo.isEmpty()) {
        showMessage(this, MessageIcon::Exclamation, systemInfoTitle,
                    databaseMovedAsideMessage.arg(QDir::toNativeSeparators(path),
                                                  opened->whyMovedAside,
                                                  QDir::toNativeSeparators(opened->movedAsideTo)));
    } else if (!opened) {
        showMessage(this, MessageIcon::Exclamation, systemInfoTitle,
                    databaseUnopenedMessage.arg(QDir::toNativeSeparators(path), opened.error()));
    } else if (opened->readOnly) {
        showMessage(this, MessageIcon::Exclamation, systemInfoTitle,
                    databaseReadOnlyMessage.arg(QDir::toNativeSeparators(path)));
    }
}

int ModelWindow::currentRow() const
{
    const int row = m_grid->currentIndex().row();
    return row < 0 ? 0 : row;
}

ChannelFileData ModelWindow::channelFileData() const
{
    ChannelFileData data;
    data.modelCode = m_info.code;
    data.channelTone = m_channelToneList->currentText();
    data.squelchLevel = m_squelchList->currentText();
    data.records = m_store->records();
    return data;
}

void ModelWindow::setTransferLock(bool locked)
{
    m_transferLocked = locked;
    // Open and save too: their keys work without the file menu.
    for (QAction *action : {m_fileMenu->menuAction(), m_openAction, m_saveAction, m_readAction,
                            m_writeAction, m_exitAction})
        action->setEnabled(!locked);
    m_tableModel->setEditingLocked(locked);
    emit transferLockChanged(locked);
}

void ModelWindow::reportStoreFailure()
{
    showMessage(this, MessageIcon::Exclamation, systemInfoTitle,
                editNotStoredMessage.arg(m_store->lastError()));
}

void ModelWindow::closeWindow()
{
    if (auto *frame = qobject_cast<QMdiSubWindow *>(parentWidget()))
        frame->close();
    else
        close();
}

bool ModelWindow::event(QEvent *event)
{
    // Another instance of the program may have changed the model database while this window
    // was not in front: its table is brought up to date when the window comes to the front.
    switch (event->type()) {
    case QEvent::WindowActivate:
    case QEvent::ActivationChange:
        if (isActiveWindow())
            m_store->refresh();
        break;
    case QEvent::ParentChange:
        if (auto *frame = qobject_cast<QMdiSubWindow *>(parentWidget())) {
            connect(frame, &QMdiSubWindow::windowStateChanged, this,
                    [this](Qt::WindowStates, Qt::WindowStates now) {
                        if (now & Qt::WindowActive)
                            m_store->refresh();
                    });
        }
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

void ModelWindow::closeEvent(QCloseEvent *event)
{
    if (m_closing && !m_unloaded) {
        event->ignore(); // already waiting for the transfer to end
        return;
    }
    if (!m_unloaded && m_session->isTransferring()) {
        // The session ends every transfer by itself (the write's last block, the read's
        // silence limit, a failed port); the window stays until then.
        m_closing = true;
        QEventLoop wait;
        connect(m_session, &RadioSession::transferEnded, &wait, &QEventLoop::quit);
        wait.exec();
    }
    m_closing = true;
    if (!m_unloaded) {
        m_unloaded = true;
        m_session->stop();
        m_store->close();
        emit closed();
    }
    event->accept();
}

} // namespace zw
