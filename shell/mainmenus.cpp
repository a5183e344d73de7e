#include "mainmenus.h"

#include "aboutdialog.h"
#include "language.h"
#include "mainwindow.h"
#include "operationnotesdialog.h"
#include "portdialog.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace zw
{

namespace
{

void bringToFront(QWidget *window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

MainMenus::MainMenus(MainWindow *frame) : QObject(frame), m_frame(frame)
{
    setObjectName(QStringLiteral("MainMenus"));
    if (QAction *chinese = item("中文"))
        connect(chinese, &QAction::triggered, this, &MainMenus::chooseChinese);
    if (QAction *english = item("英语"))
        connect(english, &QAction::triggered, this, &MainMenus::chooseEnglish);
    if (QAction *port = item("端口"))
        connect(port, &QAction::triggered, this, &MainMenus::showPortDialog);
    if (QAction *notes = item("说明"))
        connect(notes, &QAction::triggered, this, &MainMenus::showNotes);
    if (QAction *about = item("关于"))
        connect(about, &QAction::triggered, this, &MainMenus::showAbout);

    // The sub-items of 语言 and 帮助 follow the language each time their menu opens.
    QMenuBar *bar = m_frame->menuBar();
    if (auto *language = bar->findChild<QMenu *>(QStringLiteral("语言"))) {
        connect(language, &QMenu::aboutToShow, this, [this] {
            const CaptionSet set = isEnglish() ? CaptionSet::English : CaptionSet::Chinese;
            item("英语")->setText(captionText(Caption::LanguageEnglish, set));
            item("中文")->setText(captionText(Caption::LanguageChinese, set));
        });
    }
    if (auto *help = bar->findChild<QMenu *>(QStringLiteral("帮助"))) {
        connect(help, &QMenu::aboutToShow, this, [this] {
            const CaptionSet set = isEnglish() ? CaptionSet::English : CaptionSet::Chinese;
            item("说明")->setText(captionText(Caption::HelpNotes, set));
            item("关于")->setText(captionText(Caption::HelpAbout, set));
        });
    }
}

MainMenus::~MainMenus()
{
    // The windows have no parent to take them along: the menus that made them close and delete
    // any still there when the main window itself goes (when the program ends after the user
    // closed them, none is).
    for (QWidget *window : {static_cast<QWidget *>(m_portDialog), static_cast<QWidget *>(m_about),
                            static_cast<QWidget *>(m_notes)}) {
        if (window) {
            window->close();
            delete window;
        }
    }
}

QAction *MainMenus::item(const char *name) const
{
    // Only the main window's own menu bar: the model windows have items of the same names.
    return m_frame->menuBar()->findChild<QAction *>(QString::fromUtf8(name));
}

void MainMenus::chooseChinese()
{
    setLanguageMode(1);
    applyMainCaptions(CaptionSet::Chinese);
}

void MainMenus::chooseEnglish()
{
    setLanguageMode(2);
    applyMainCaptions(CaptionSet::English);
}

void MainMenus::applyMainCaptions(CaptionSet set)
{
    m_frame->setWindowTitle(captionText(Caption::MainWindow, set));
    const std::pair<const char *, Caption> topLevel[] = {{"型号", Caption::MainModelMenu},
                                                         {"端口", Caption::MainPortMenu},
                                                         {"语言", Caption::MainLanguageMenu},
                                                         {"退出", Caption::MainExitMenu},
                                                         {"帮助", Caption::MainHelpMenu}};
    for (const auto &[name, caption] : topLevel) {
        if (QAction *action = item(name))
            action->setText(captionText(caption, set));
    }
}

PortDialog *MainMenus::portDialog() const
{
    return m_portDialog;
}

AboutDialog *MainMenus::aboutWindow() const
{
    return m_about;
}

OperationNotesDialog *MainMenus::notesWindow() const
{
    return m_notes;
}

// The port dialog and the two about windows are windows of their own, like Dialog1, not children
// of the main window: when 退出系统 closes the main window, one that is open stays until the
// user closes it, and the program ends then. Closing deletes each.
void MainMenus::showPortDialog()
{
    if (!m_portDialog)
        m_portDialog = new PortDialog(m_frame->serial(), &m_frame->portDevices());
    bringToFront(m_portDialog);
}

void MainMenus::showAbout()
{
    if (!m_about)
        m_about = new AboutDialog();
    bringToFront(m_about);
}

void MainMenus::showNotes()
{
    if (!m_notes)
        m_notes = new OperationNotesDialog();
    bringToFront(m_notes);
}

} // namespace zw
