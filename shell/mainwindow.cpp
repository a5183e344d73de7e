#include "mainwindow.h"

#include "captions.h"
#include "idlewarmup.h"
#include "mainmenus.h"
#include "mainstatusbar.h"
#include "messagebox.h"
#include "messages.h"
#include "modelchoicedialog.h"
#include "modelwindow.h"
#include "porthints.h"
#include "recentfiles.h"
#include "serialconnection.h"
#include "twips.h"
#include "windowlayout.h"

#include <QCloseEvent>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>

#include <algorithm>

namespace zw
{

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent), m_serial(new SerialConnection(this)), m_mdiArea(new QMdiArea(this)),
      m_recentFiles(new RecentFiles(this)), m_statusBar(new MainStatusBar(statusBar(), m_serial))
{
    setObjectName(QStringLiteral("MDIForm1"));
    setWindowTitle(captionText(Caption::MainWindow, CaptionSet::Design));
    m_mdiArea->setObjectName(QStringLiteral("mdiArea"));
    m_mdiArea->setBackground(palette().brush(QPalette::Dark)); // application-workspace colour
    setCentralWidget(m_mdiArea);
    const MainMenuItems items = buildMenus();
    new MainMenus(this, m_serial, &m_portDevices, items); // port dialog, language and help items
    // The status bar speaks the language chosen, at once as the main window's captions do.
    for (QAction *language : {items.chinese, items.english})
        connect(language, &QAction::triggered, m_statusBar, &MainStatusBar::refresh);
    new IdleWarmUp(this); // the first model window's share of Qt's first-use work, done early
    // F10 opens the first menu, so that every model window can be opened without a mouse; Alt
    // alone reaches the menu bar through the style's own menu-bar navigation.
    auto *menuKey = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(menuKey, &QShortcut::activated, this, &MainWindow::openMenus);
    menuBar()->setNativeMenuBar(false);
    // Client area 11745 x 8700 twips at left 60, top 630, between the menus and the status
    // bar.
    resize(twips(11745),
           twips(8700) + menuBar()->sizeHint().height() + statusBar()->sizeHint().height());
    move(twips(60), twips(630));
}

MainWindow::~MainWindow()
{
    // Dialog1 has no parent to take it along.
    if (m_modelChoiceDialog) {
        m_modelChoiceDialog->close();
        delete m_modelChoiceDialog;
    }
}

MainMenuItems MainWindow::buildMenus()
{
    MainMenuItems items;
    QMenuBar *bar = menuBar();
    items.modelMenu = bar->addMenu(captionText(Caption::MainModelMenu, CaptionSet::Design));
    items.modelMenu->setObjectName(QStringLiteral("型号"));
    items.modelMenu->menuAction()->setObjectName(QStringLiteral("型号"));
    for (const ModelWindowLayout &row : modelWindowLayouts()) {
        QAction *action = items.modelMenu->addAction(modelInfo(row.model).name);
        action->setObjectName(row.menuItemName);
        const Model target = row.model;
        connect(action, &QAction::triggered, this, [this, target] { showModel(target); });
    }

    items.port = bar->addAction(captionText(Caption::MainPortMenu, CaptionSet::Design));
    items.port->setObjectName(QStringLiteral("端口"));

    items.languageMenu = bar->addMenu(captionText(Caption::MainLanguageMenu, CaptionSet::Design));
    items.languageMenu->setObjectName(QStringLiteral("语言"));
    items.languageMenu->menuAction()->setObjectName(QStringLiteral("语言"));
    items.chinese =
        items.languageMenu->addAction(captionText(Caption::LanguageChinese, CaptionSet::Design));
    items.chinese->setObjectName(QStringLiteral("中文"));
    items.english =
        items.languageMenu->addAction(captionText(Caption::LanguageEnglish, CaptionSet::Design));
    items.english->setObjectName(QStringLiteral("英语"));

    items.exit = bar->addAction(captionText(Caption::MainExitMenu, CaptionSet::Design));
    items.exit->setObjectName(QStringLiteral("退出"));
    connect(items.exit, &QAction::triggered, this, &MainWindow::exitProgram);

    items.helpMenu = bar->addMenu(captionText(Caption::MainHelpMenu, CaptionSet::Design));
    items.helpMenu->setObjectName(QStringLiteral("帮助"));
    items.helpMenu->menuAction()->setObjectName(QStringLiteral("帮助"));
    items.notes = items.helpMenu->addAction(captionText(Caption::HelpNotes, CaptionSet::Design));
    items.notes->setObjectName(QStringLiteral("说明"));
    items.about = items.helpMenu->addAction(captionText(Caption::HelpAbout, CaptionSet::Design));
    items.about->setObjectName(QStringLiteral("关于"));
    return items;
}

void MainWindow::setPortDevices(const PortDevices &devices)
{
    m_portDevices = devices;
    m_serial->setDevice(1, devices.device(1));
    m_serial->setDevice(2, devices.device(2));
    m_statusBar->refresh();
}

void MainWindow::load()
{
    show();
    const int first = m_portDevices.startPort();
    const int second = 3 - first;
    m_serial->setPortNumber(first);
    if (m_serial->open()) {
        m_serial->setTextMode();
        return;
    }
    // One cause per message: a missing or forbidden device is not "in use", and the second
    // line says why.
    const QString inUse = QStringLiteral("已被使用");
    showMessage(this, MessageIcon::Exclamation, systemInfoTitle,
                first == 1 ? portMessageWithCause(port1TakenAtStartMessage,
                                                  QStringLiteral("已被其它设备使用"), *m_serial, 1)
                           : portMessageWithCause(port2TakenMessage, inUse, *m_serial, 2));
    if (areQuestionsDeclined())
        return; // a termination signal closed the message: the program is ending
    m_serial->setPortNumber(second);
    if (!m_serial->open()) {
        // Neither port: say so and go on with the port closed; the port dialog can open one.
        showMessage(this, MessageIcon::Exclamation, systemInfoTitle,
                    portMessageWithCause(second == 2 ? port2TakenMessage : port1TakenMessage, inUse,
                                         *m_serial, second));
    }
}

ModelWindow *MainWindow::showModel(Model model)
{
    QPointer<ModelWindow> &slot = m_windows[modelIndex(model)];
    if (slot) {
        if (auto *frame = qobject_cast<QMdiSubWindow *>(slot->parentWidget())) {
            frame->showNormal();
            m_mdiArea->setActiveSubWindow(frame);
        }
        return slot;
    }
    auto *window = new ModelWindow(model, m_serial, nullptr, m_recentFiles);
    QMdiSubWindow *frame = m_mdiArea->addSubWindow(window);
    frame->setAttribute(Qt::WA_DeleteOnClose);
    frame->setObjectName(window->objectName() + QStringLiteral("Frame"));
    frame->setWindowTitle(window->windowTitle());
    const TwipsRect &g = window->layout().geometry;
    frame->setGeometry(twips(g.left), twips(g.top), twips(g.width), twips(g.height));
    frame->resize(frame->size().expandedTo(frame->minimumSizeHint()));
    slot = window;
    connect(window, &ModelWindow::closed, this, [this, model, window] {
        QPointer<ModelWindow> &s = m_windows[modelIndex(model)];
        if (s == window)
            s = nullptr;
    });
    connect(window, &ModelWindow::modelDialogRequested, this, &MainWindow::showModelChoiceDialog);
    connect(window, &ModelWindow::switchRequested, this, [this, model](Model other) {
        closeModel(model);
        showModel(other);
    });
    frame->show();
    m_mdiArea->setActiveSubWindow(frame);
    window->load();
    fitIntoArea(frame);
    frame->installEventFilter(this);
    return window;
}

void MainWindow::openMenus()
{
    const QList<QAction *> menus = menuBar()->actions();
    if (!menus.isEmpty())
        menuBar()->setActiveAction(menus.constFirst());
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize) {
        if (auto *frame = qobject_cast<QMdiSubWindow *>(watched); frame && !frame->isMaximized())
            // After the resize is done: moving the frame from inside its own resize would
            // be undone by what follows it.
            QTimer::singleShot(0, this, [this, guarded = QPointer<QMdiSubWindow>(frame)] {
                if (guarded)
                    fitIntoArea(guarded);
            });
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::fitIntoArea(QMdiSubWindow *frame)
{
    layout()->activate(); // the area's size, also before the main window is first shown
    const QSize area = m_mdiArea->viewport()->size();
    QRect placed = frame->geometry();
    if (placed.bottom() >= area.height())
        placed.moveTop(std::max(0, area.height() - placed.height()));
    if (placed.right() >= area.width())
        placed.moveLeft(std::max(0, area.width() - placed.width()));
    frame->move(placed.topLeft());
    const QSize missing(std::max(0, placed.right() + 1 - area.width()),
                        std::max(0, placed.bottom() + 1 - area.height()));
    if (missing.width() > 0 || missing.height() > 0)
        resize(size() + missing);
}

void MainWindow::closeModel(Model model)
{
    QPointer<ModelWindow> window = m_windows[modelIndex(model)];
    if (window)
        window->closeWindow();
    m_windows[modelIndex(model)] = nullptr;
}

ModelWindow *MainWindow::modelWindow(Model model) const
{
    return m_windows[modelIndex(model)];
}

ModelChoiceDialog *MainWindow::modelChoiceDialog() const
{
    return m_modelChoiceDialog;
}

void MainWindow::showModelChoiceDialog()
{
    if (!m_modelChoiceDialog) {
        m_modelChoiceDialog = new ModelChoiceDialog;
        connect(m_modelChoiceDialog, &ModelChoiceDialog::showRequested, this,
                [this](Model model) { showModel(model); });
        connect(m_modelChoiceDialog, &ModelChoiceDialog::closeRequested, this,
                &MainWindow::closeModel);
    }
    m_modelChoiceDialog->show();
    m_modelChoiceDialog->raise();
    m_modelChoiceDialog->activateWindow();
}

void MainWindow::exitProgram()
{
    close();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    for (Model model : allModels)
        closeModel(model);
    // Closed again while a model window waits for its transfer to end: that window closes
    // itself once done, and the port stays open for it until then.
    if (m_serial->isTransferring()) {
        event->ignore();
        return;
    }
    m_serial->close();
    event->accept();
}

} // namespace zw
