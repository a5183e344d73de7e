#include "mainmenus.h"

#include "aboutdialog.h"
#include "currentdirectory.h"
#include "editfailures.h"
#include "filedialogs.h"
#include "language.h"
#include "messagebox.h"
#include "messages.h"
#include "operationnotesdialog.h"
#include "portdialog.h"
#include "savefile.h"
#include "serialtrace.h"

#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QStandardPaths>

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

MainMenus::MainMenus(QWidget *frame, SerialConnection *serial, PortDevices *devices,
                     const MainMenuItems &items)
    : QObject(frame), m_frame(frame), m_serial(serial), m_devices(devices), m_items(items)
{
    setObjectName(QStringLiteral("MainMenus"));
    connect(m_items.chinese, &QAction::triggered, this, &MainMenus::chooseChinese);
    connect(m_items.english, &QAction::triggered, this, &MainMenus::chooseEnglish);
    connect(m_items.port, &QAction::triggered, this, &MainMenus::showPortDialog);
    connect(m_items.notes, &QAction::triggered, this, &MainMenus::showNotes);
    m_items.notes->setShortcut(QKeySequence::HelpContents); // F1
    m_frame->addAction(m_items.notes); // also while the menu bar is not reached
    connect(m_items.about, &QAction::triggered, this, &MainMenus::showAbout);
    m_items.helpMenu->addSeparator();
    m_saveTrace =
        m_items.helpMenu->addAction(captionText(Caption::HelpSaveTrace, CaptionSet::Design));
    m_saveTrace->setObjectName(QStringLiteral("mnuSaveTrace"));
    connect(m_saveTrace, &QAction::triggered, this, &MainMenus::saveTrace);

    // The sub-items of 语言 and 帮助 follow the language each time their menu opens.
    connect(m_items.languageMenu, &QMenu::aboutToShow, this, [this] {
        const CaptionSet set = isEnglish() ? CaptionSet::English : CaptionSet::Chinese;
        m_items.english->setText(captionText(Caption::LanguageEnglish, set));
        m_items.chinese->setText(captionText(Caption::LanguageChinese, set));
    });
    connect(m_items.helpMenu, &QMenu::aboutToShow, this, [this] {
        const CaptionSet set = isEnglish() ? CaptionSet::English : CaptionSet::Chinese;
        m_items.notes->setText(captionText(Caption::HelpNotes, set));
        m_items.about->setText(captionText(Caption::HelpAbout, set));
        m_saveTrace->setText(captionText(Caption::HelpSaveTrace, set));
    });
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

void MainMenus::chooseChinese()
{
    setLanguageMode(1);
    followLanguageInQtTexts();
    applyMainCaptions(CaptionSet::Chinese);
}

void MainMenus::chooseEnglish()
{
    setLanguageMode(2);
    followLanguageInQtTexts();
    applyMainCaptions(CaptionSet::English);
}

void MainMenus::applyMainCaptions(CaptionSet set)
{
    m_frame->setWindowTitle(captionText(Caption::MainWindow, set));
    const std::pair<QAction *, Caption> topLevel[] = {
        {m_items.modelMenu->menuAction(), Caption::MainModelMenu},
        {m_items.port, Caption::MainPortMenu},
        {m_items.languageMenu->menuAction(), Caption::MainLanguageMenu},
        {m_items.exit, Caption::MainExitMenu},
        {m_items.helpMenu->menuAction(), Caption::MainHelpMenu}};
    for (const auto &[action, caption] : topLevel)
        action->setText(captionText(caption, set));
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
        m_portDialog = new PortDialog(m_serial, m_devices);
    bringToFront(m_portDialog);
}

void MainMenus::showAbout()
{
    if (!m_about)
        m_about = new AboutDialog();
    bringToFront(m_about);
}

void MainMenus::saveTrace()
{
    const bool english = isEnglish();
    QString title =
        captionText(Caption::HelpSaveTrace, english ? CaptionSet::English : CaptionSet::Chinese);
    title.remove(u'…');
    FileDialog dialog(m_frame, title);
    dialog.setObjectName(QStringLiteral("traceFileDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(english ? QStringLiteral("Text (*.txt)") : QStringLiteral("文本 (*.txt)"));
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    // A new name in the documents folder each time (the home folder when there is none), where
    // the user finds it again to send it on; the folder the program works in holds databases.
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::homePath();
    dialog.setDirectory(folder);
    dialog.selectFile(QDir(folder).filePath(QDateTime::currentDateTime().toString(
        QStringLiteral("'zw4630-trace-'yyyyMMdd-HHmmss'.txt'"))));
    // The model databases are opened by bare file name: the folder stays what it was.
    const QString directory = getCurrentDirectory(m_frame);
    const QString fileName = execFileDialog(dialog);
    setCurrentDirectory(m_frame, directory);
    if (fileName.isEmpty())
        return;
    // The lines as they are when the user chose the file; an old file is replaced only once the
    // new one is written whole.
    const QByteArray text = SerialTrace::instance().text();
    if (const Result saved = saveWholeFile(fileName, text); !saved) {
        showMessage(m_frame, MessageIcon::Exclamation, systemInfoTitle,
                    unsavedFileMessage(saved.failure(), unsavedTraceMessage(english), fileName));
        return;
    }
    showMessage(
        m_frame, MessageIcon::Information, systemInfoTitle,
        savedTraceMessage(english).arg(text.count('\n')).arg(QDir::toNativeSeparators(fileName)));
}

void MainMenus::showNotes()
{
    if (!m_notes)
        m_notes = new OperationNotesDialog();
    bringToFront(m_notes);
}

} // namespace zw
