#include "modelwindow.h"

#include "bandmarkdelegate.h"
#include "captions.h"
#include "channeldocument.h"
#include "channeleditor.h"
#include "channelfileactions.h"
#include "channeltablemodel.h"
#include "csvactions.h"
#include "editfailures.h"
#include "fleetpanel.h"
#include "gridgeometry.h"
#include "gridheader.h"
#include "language.h"
#include "menubarchanges.h"
#include "messagebox.h"
#include "messages.h"
#include "pickcelleditor.h"
#include "porthints.h"
#include "radiosession.h"
#include "radiosettings.h"
#include "radiotransfer.h"
#include "recentfiles.h"
#include "rowactions.h"
#include "serialconnection.h"
#include "tablebackups.h"
#include "twips.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSignalBlocker>
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

ModelWindow::ModelWindow(Model model, SerialConnection *serial, QWidget *parent,
                         RecentFiles *recentFiles)
    : QWidget(parent), m_info(modelInfo(model)), m_layout(modelWindowLayout(model)),
      m_serial(serial), m_document(new ChannelDocument(model, this)),
      m_tableModel(new ChannelTableModel(m_document, this)), m_recentFiles(recentFiles)
{
    setObjectName(m_info.name);
    setWindowTitle(m_layout.caption);
    buildMenus();
    buildControls();
    m_session = new RadioSession(model, serial, this); // its timers are Timer1 to Timer4
    wire();
}

void ModelWindow::wire()
{
    // Typed entry, the pick lists over the header band, the Edit menu's undo and redo.
    m_editor = new ChannelEditor(m_document, m_tableModel, m_grid, m_layout, m_client, m_menuBar,
                                 m_readAction, this);
    // The pick lists from the keyboard, in the cell.
    m_pickCells =
        new PickCellEditor(m_document, m_editor, m_grid, m_squelchList, m_channelToneList);
    // Copy, cut, paste, clear and move whole channels.
    m_rowActions = new RowActions(m_document, m_editor, m_grid, m_tableModel, m_layout, this);
    // The grid and its pick lists follow the window's size.
    new GridGeometry(m_client, m_grid, m_statusLine, m_layout, m_tableModel, m_editor);

    m_backups = new TableBackups(m_document, this);
    // 打开 and 保存 of the file menu, and 打开备份, which opens the backups folder there.
    auto *files =
        new ChannelFileActions(m_document, m_backups, m_grid, this, m_openAction, m_saveAction);
    // An item of the file menu before 保存.
    auto fileMenuItem = [this](Caption caption, const QString &name) {
        auto *item = new QAction(
            captionText(caption, isEnglish() ? CaptionSet::English : CaptionSet::Design, &m_layout),
            this);
        item->setObjectName(name);
        m_fileMenu->insertAction(m_saveAction, item);
        return item;
    };
    QAction *openBackups = fileMenuItem(Caption::OpenBackupItem, QStringLiteral("mnuOpenBackup"));
    connect(openBackups, &QAction::triggered, files, [files] {
        QDir().mkpath(backupFolder());
        files->openFrom(backupFolder());
    });
    connect(files, &ChannelFileActions::otherModelFile, this, &ModelWindow::switchRequested);
    connect(files, &ChannelFileActions::fileInUse, this, &ModelWindow::showChannelFile);
    // The title's mark shows that the table differs from the file opened or saved: undoing back
    // to that state clears it again.
    auto markChanged = [this] {
        setWindowModified(!m_channelFile.isEmpty() && !m_document->isClean());
    };
    connect(m_document, &ChannelDocument::recordsChanged, this, markChanged);
    connect(m_document, &ChannelDocument::settingsChanged, this, markChanged);
    connect(m_document, &ChannelDocument::replaced, this, markChanged);
    connect(m_document, &ChannelDocument::historyChanged, this, markChanged);
    // CHIRP CSV export and import at the end of the file menu.
    m_csvActions = new CsvActions(m_document, m_backups, m_fileMenu, m_layout, this);
    // Then the recent files, opened as 打开 opens a file.
    if (m_recentFiles)
        m_recentFiles->showIn(m_fileMenu, files, [this, files](const QString &path) {
            if (!m_recentFiles->offerToForgetMissing(this, path))
                files->openFile(path);
        });

    // Read Data / Write Data, the status line and the progress bar.
    m_transfer = new RadioTransfer(m_session, m_document, m_backups, m_layout, m_readAction,
                                   m_writeAction, m_statusLine, m_client, this);
    connect(m_transfer, &RadioTransfer::transferHandled, this, [this] {
        // A transfer ends with channel 1 current, in the column that was current.
        m_grid->setCurrentIndex(
            m_tableModel->index(0, std::max(m_grid->currentIndex().column(), 0)));
    });
    // The transfer lock is the session's: held while it reads or writes, and while the panel of
    // Write Several Radios is open, so that its plan cannot drift.
    m_document->setEditingHeld(
        [this] { return m_session->isTransferring() || (m_fleetPanel && m_fleetPanel->isOpen()); });
    connect(m_session, &RadioSession::linkStateChanged, this, &ModelWindow::showTransferLock);
    connect(m_transfer, &RadioTransfer::otherModelRadio, this, &ModelWindow::switchTo);
    // 恢复对讲机 after 打开备份: writes a backup of the radio back into it.
    QAction *restoreRadio =
        fileMenuItem(Caption::RestoreRadioItem, QStringLiteral("mnuRestoreRadio"));
    connect(restoreRadio, &QAction::triggered, m_transfer, &RadioTransfer::restoreRadio);
    // 批量写入…: the table into one radio after another, on a panel over the window.
    m_fleetPanel = new FleetPanel(m_session, m_serial, m_document, this);
    QAction *fleetWrite = fileMenuItem(Caption::FleetWriteItem, QStringLiteral("mnuFleetWrite"));
    connect(fleetWrite, &QAction::triggered, m_fleetPanel, [this] {
        m_fleetPanel->open(m_channelFile.isEmpty() ? m_info.name
                                                   : QFileInfo(m_channelFile).fileName());
    });
    connect(m_fleetPanel, &FleetPanel::openChanged, this, &ModelWindow::showTransferLock);
    // What to check while the radio does not answer.
    new StatusLineHint(m_statusLine, m_serial, m_session);

    // Combo8 and Combo11 show the document; a choice of the user's goes to it.
    connect(m_document, &ChannelDocument::settingsChanged, this, &ModelWindow::showSettings);
    connect(m_squelchList, &QComboBox::currentTextChanged, this,
            [this](const QString &text) { chooseSetting(RadioSetting::SquelchLevel, text); });
    connect(m_channelToneList, &QComboBox::currentTextChanged, this,
            [this](const QString &text) { chooseSetting(RadioSetting::ChannelTone, text); });
    // A replaced table starts at channel 1.
    connect(m_document, &ChannelDocument::replaced, this,
            [this] { m_grid->setCurrentIndex(m_tableModel->index(0, 0)); });
}

ModelWindow::~ModelWindow() = default;

void ModelWindow::buildMenus()
{
    m_menuBar = new QMenuBar(this);
    m_menuBar->setObjectName(QStringLiteral("menuBar"));
    m_menuBar->setNativeMenuBar(false);
    m_client = new QWidget(this);
    // The window draws its own background: a control of it that is drawn again (greyed, a new
    // count) then stops here instead of having the frame draw its title bar again.
    setAutoFillBackground(true);
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
    // A frequency kept outside the band stands out, with the band in its tool tip.
    m_grid->setItemDelegate(new BandMarkDelegate(m_info.band, isEnglish(), m_grid));
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
    // Shows the stored settings, or the defaults, through settingsChanged.
    const Expected<ChannelStore::Opened> opened = m_document->open(path);
    emit m_tableModel->layoutChanged();
    m_grid->setCurrentIndex(m_tableModel->index(0, 0));
    m_session->startPolling();
    if (isEnglish())
        applyCaptions(true);

    if (opened && !opened->movedAsideTo.isEmpty()) {
        showMessage(
            this, MessageIcon::Exclamation, systemInfoTitle,
            databaseMovedAsideMessage.arg(QDir::toNativeSeparators(path),
                                          storeFailureText(opened->whyMovedAside, isEnglish()),
                                          QDir::toNativeSeparators(opened->movedAsideTo)));
    } else if (!opened) {
        showMessage(
            this, MessageIcon::Exclamation, systemInfoTitle,
            opened.failure().is(StoreFailure::Busy)
                ? databaseBusyMessage(isEnglish())
                : databaseUnopenedMessage.arg(QDir::toNativeSeparators(path),
                                              storeFailureText(opened.failure(), isEnglish())));
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

void ModelWindow::showSettings()
{
    // What the document holds, without taking it for a choice of the user's.
    const QSignalBlocker squelch(m_squelchList);
    const QSignalBlocker tone(m_channelToneList);
    m_squelchList->setCurrentText(m_document->settings().squelchLevel);
    m_channelToneList->setCurrentText(m_document->settings().channelTone);
}

void ModelWindow::chooseSetting(RadioSetting setting, const QString &value)
{
    const Result stored = m_document->setSetting(setting, value);
    if (stored)
        return;
    // The list goes back to what is stored before the message shows.
    showSettings();
    reportRefusedChange(this, stored, UndoDirection::None);
}

void ModelWindow::switchTo(Model other)
{
    if (m_closing)
        return;
    // Queued: the switch closes this window, which is still inside the read's handler.
    QMetaObject::invokeMethod(
        this, [this, other] { emit switchRequested(other); }, Qt::QueuedConnection);
}

void ModelWindow::showChannelFile(const QString &fileName)
{
    m_channelFile = fileName;
    // The design caption stays as it is until a file is in use.
    setWindowTitle(m_layout.caption + QStringLiteral(" - ") + QFileInfo(fileName).fileName() +
                   QStringLiteral("[*]"));
    m_document->markClean();
    setWindowModified(false);
    if (m_recentFiles)
        m_recentFiles->add(fileName);
}

bool ModelWindow::isTransferLocked() const
{
    return m_document->isEditingHeld();
}

void ModelWindow::showTransferLock()
{
    const bool locked = m_document->isEditingHeld();
    // The bar is measured once for the four items, not once for each.
    const MenuBarChanges barChanges(m_menuBar);
    // Open and save too: their keys work without the file menu.
    for (QAction *action : {m_fileMenu->menuAction(), m_openAction, m_saveAction, m_readAction,
                            m_writeAction, m_exitAction})
        action->setEnabled(!locked);
    // The radio-wide settings are part of what a transfer sends or replaces.
    m_squelchList->setEnabled(!locked);
    m_channelToneList->setEnabled(!locked);
    // The grid, the pick lists, the row and CSV actions follow the document.
    m_document->editingHeldMayHaveChanged();
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
            m_document->refresh();
        break;
    case QEvent::ParentChange:
        if (auto *frame = qobject_cast<QMdiSubWindow *>(parentWidget())) {
            connect(frame, &QMdiSubWindow::windowStateChanged, this,
                    [this](Qt::WindowStates, Qt::WindowStates now) {
                        if (now & Qt::WindowActive)
                            m_document->refresh();
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
        m_closing = true;
        // A read-back is only a check: it ends at once, the write "not checked".
        m_session->abandonReadBack();
    }
    if (!m_unloaded && m_session->isTransferring()) {
        // The session ends every transfer by itself (the write's last block, the read's
        // silence limit, a failed port); the window stays until then.
        QEventLoop wait;
        connect(m_session, &RadioSession::transferEnded, &wait, &QEventLoop::quit);
        wait.exec();
    }
    m_closing = true;
    if (!m_unloaded) {
        m_unloaded = true;
        m_session->stop();
        m_document->close();
        emit closed();
    }
    event->accept();
}

} // namespace zw
