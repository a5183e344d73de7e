// Renders the main window with model windows open into a PNG, for the README and for looking
// at the interface without a display:  QT_QPA_PLATFORM=offscreen zw4630-screenshot OUT.png V UH
#include "frmabout.h"
#include "frmabout1.h"
#include "mainmenus.h"
#include "mdiform1.h"
#include "modelwindow.h"
#include "serialconnection.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZW4630"));
    QStringList args = QApplication::arguments().mid(1);
    if (args.isEmpty()) {
        qWarning("usage: zw4630-screenshot OUT.png [--english] [--notes|--about] [V|UH|UM|UL ...]");
        return 2;
    }
    const QString out = QFileInfo(args.takeFirst()).absoluteFilePath();
    const bool english = args.removeAll(QStringLiteral("--english")) > 0;
    // --notes / --about: render that window of the help menu instead of the main window.
    const bool notes = args.removeAll(QStringLiteral("--notes")) > 0;
    const bool about = args.removeAll(QStringLiteral("--about")) > 0;
    QTemporaryDir dir; // databases of this run only
    QDir::setCurrent(dir.path());
    zw::MDIForm1 main;
    main.serial()->setDevice(1, dir.filePath(QStringLiteral("none")));
    main.show();
    auto *menus = main.findChild<zw::MainMenus *>();
    if (english)
        menus->chooseEnglish(); // as the user does, through the language menu
    for (const QString &name : args)
        if (auto model = zw::modelFromName(QStringLiteral("ZW4630") + name))
            main.showModel(*model);
    QWidget *shown = &main;
    if (notes) {
        menus->showNotes();
        shown = menus->notesWindow();
    } else if (about) {
        menus->showAbout();
        shown = menus->aboutWindow();
    }
    QTimer::singleShot(300, &app, [&] {
        shown->grab().save(out);
        QApplication::quit();
    });
    return QApplication::exec();
}
