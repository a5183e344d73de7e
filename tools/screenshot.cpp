// Renders the main window with model windows open into a PNG, for the README and for looking
// at the interface without a display:  QT_QPA_PLATFORM=offscreen zw4630-screenshot OUT.png V UH
#include "language.h"
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
        qWarning("usage: zw4630-screenshot OUT.png [--english] [V|UH|UM|UL ...]");
        return 2;
    }
    const QString out = QFileInfo(args.takeFirst()).absoluteFilePath();
    if (args.removeAll(QStringLiteral("--english")))
        zw::setLanguageMode(2);
    QTemporaryDir dir; // databases of this run only
    QDir::setCurrent(dir.path());
    zw::MDIForm1 main;
    main.serial()->setDevice(1, dir.filePath(QStringLiteral("none")));
    main.show();
    for (const QString &name : args)
        if (auto model = zw::modelFromName(QStringLiteral("ZW4630") + name))
            main.showModel(*model);
    QTimer::singleShot(300, &app, [&] {
        main.grab().save(out);
        QApplication::quit();
    });
    return QApplication::exec();
}
