#include "mainwindow.h"

#include "captions.h"
#include "mainmenus.h"
#include "messagebox.h"
#include "modelchoicedialog.h"
#include "modelwindow.h"
#include "porthints.h"
#include "serialconnection.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>

namespace zw
{

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent), m_serial(new SerialConnection(this)), m_mdiArea(new QMdiArea(this))
{
    setObjectName(QStringLiteral("MDIForm1"));
    setWindowTitle(captionText(Caption::MainWindow, CaptionSet::Design));
    m_mdiArea->setObjectName(QStringLiteral("mdiArea"));
    m_mdiArea->setBackground(palette().brush(QPalette::Dark)); // application-workspace colour
    setCentralWidget(m_mdiArea);
    buildMenus();
    new MainMenus(this); // port dialog, language and help items
    menuBar()->setNativeMenuBar(false);
    // Client area 11745 x 8700 twips at left 60, top 630.
    resize(twips(11745), twips(8700) + menuBar()->sizeHint().height());
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

void MainWindow::buildMenus()
{
    QMenuBar *bar = menuBar();
    m_modelMenu = bar->addMenu(captionText(Caption::MainModelMenu, CaptionSet::Design));
    m_modelMenu->setObjectName(QStringLiteral("型号"));
    m_modelMenu->menuAction()->setObjectName(QStringLiteral("型号"));
    const std::array<std::pair<const char *, Model>, 4> items{
        {{"H", Model::UH}, {"M", Model::UM}, {"L", Model::UL}, {"X", Model::V}}};
    for (const auto &[name, model] : items) {
        QAction *action = m_modelMenu->addAction(modelInfo(model).name);
        action->setObjectName(QLatin1String(name));
        const Model target = model;
        connect(action, &QAction::triggered, this, [this, target] { showModel(target); });
    }

    m_portAction = bar->addAction(captionText(Caption::MainPortMenu, CaptionSet::Design));
    m_portAction->setObjectName(QStringLiteral("端口"));

    m_languageMenu = bar->addMenu(captionText(Caption::MainLanguageMenu, CaptionSet::Design));
    m_languageMenu->setObjectName(QStringLiteral("语言"));
    m_languageMenu->menuAction()->setObjectName(QStringLiteral("语言"));
    m_languageMenu->addAction(captionText(Caption::LanguageChinese, CaptionSet::Design))
        ->setObjectName(QStringLiteral("中文"));
    m_languageMenu->addAction(captionText(Caption::LanguageEnglish, CaptionSet::Design))
        ->setObjectName(QStringLiteral("英语"));

    m_exitAction = bar->addAction(captionText(Caption::MainExitMenu, CaptionSet::Design));
    m_exitAction->setObjectName(QStringLiteral("退出"));
    connect(m_exitAction, &QAction::triggered, this, &MainWindow::exitProgram);

    m_helpMenu = bar->addMenu(captionText(Caption::MainHelpMenu, CaptionSet::Design));
    m_helpMenu->setObjectName(QStringLiteral("帮助"));
    m_helpMenu->menuAction()->setObjectName(QStringLiteral("帮助"));
    m_helpMenu->addAction(captionText(Caption::HelpNotes, CaptionSet::Design))
        ->setObjectName(QStringLiteral("说明"));
    m_helpMenu->addAction(captionText(Caption::HelpAbout, CaptionSet::Design))
        ->setObjectName(QStringLiteral("关于"));
}

void MainWindow::setPortDevices(const PortDevices &devices)
{
    m_portDevices = devices;
    m_serial->setDevice(1, devices.device(1));
    m_serial->setDevice(2, devices.device(2));
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
    // The second line says why: a missing or forbidden device is not "in use".
    showMessage(this, MessageIcon::Exclamation, systemInfoTitle(),
                withOpenFailureReason(
                    first == 1 ? QStringLiteral("串行端口 1已被其它设备使用，已选择 COM2 ")
                               : QStringLiteral("串行端口 2 已被使用， "),
                    *m_serial, first));
    m_serial->setPortNumber(second);
    if (!m_serial->open()) {
        // Neither port: say so and go on with the port closed; the port dialog can open one.
        showMessage(this, MessageIcon::Exclamation, systemInfoTitle(),
                    withOpenFailureReason(second == 2 ? QStringLiteral("串行端口 2 已被使用， ")
                                                      : QStringLiteral("串行端口 1 已被使用 "),
                                          *m_serial, second));
    }
}

ModelWindow *MainWindow::showModel(Model model)
{
    QPointer<ModelWindow> &slot = m_windows[static_cast<std::size_t>(model)];
    if (slot) {
        if (auto *frame = qobject_cast<QMdiSubWindow *>(slot->parentWidget())) {
            frame->showNormal();
            m_mdiArea->setActiveSubWindow(frame);
        }
        return slot;
    }
    auto *window = new ModelWindow(model, m_serial);
    QMdiSubWindow *frame = m_mdiArea->addSubWindow(window);
    frame->setAttribute(Qt::WA_DeleteOnClose);
    frame->setObjectName(window->objectName() + QStringLiteral("Frame"));
    frame->setWindowTitle(window->windowTitle());
    const TwipsRect &g = window->info().geometry;
    frame->setGeometry(twips(g.left), twips(g.top), twips(g.width), twips(g.height));
    frame->resize(frame->size().expandedTo(frame->minimumSizeHint()));
    slot = window;
    connect(window, &ModelWindow::closed, this, [this, model, window] {
        QPointer<ModelWindow> &s = m_windows[static_cast<std::size_t>(model)];
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
    return window;
}

void MainWindow::closeModel(Model model)
{
    QPointer<ModelWindow> window = m_windows[static_cast<std::size_t>(model)];
    if (window)
        window->closeWindow();
    m_windows[static_cast<std::size_t>(model)] = nullptr;
}

ModelWindow *MainWindow::modelWindow(Model model) const
{
    return m_windows[static_cast<std::size_t>(model)];
}

ModelChoiceDialog *MainWindow::modelChoiceDialog() const
{
    return m_modelChoiceDialog;
}

void MainWindow::showModelChoiceDialog()
{
    if (!m_modelChoiceDialog)
        m_modelChoiceDialog = new ModelChoiceDialog(this);
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
    for (Model model : {Model::V, Model::UH, Model::UM, Model::UL})
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
