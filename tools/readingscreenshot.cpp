// Renders a model window in the middle of a read from a virtual radio, progress bar showing:
//   QT_QPA_PLATFORM=offscreen zw4630-reading-screenshot OUT.png [MODEL]
// MODEL is a model's short name (UH when none is given).
#include "mainwindow.h"
#include "modelwindow.h"
#include "programicon.h"
#include "radiosession.h"
#include "serialconnection.h"
#include "virtualradio.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZW4630"));
    QApplication::setWindowIcon(zw::programIcon()); // as the program shows its windows
    QStringList args = QApplication::arguments().mid(1);
    const QString models = zw::modelTexts(&zw::ModelInfo::shortName).join(u'|');
    if (args.isEmpty()) {
        std::fprintf(stderr, "usage: zw4630-reading-screenshot OUT.png [%s]\n", qPrintable(models));
        return 2;
    }
    const QString out = QFileInfo(args.takeFirst()).absoluteFilePath();
    const auto model =
        args.isEmpty() ? std::optional(zw::Model::UH) : zw::modelFromShortName(args.first());
    if (!model)
        return 2;
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    zw::VirtualRadio radio(*model);
    if (!radio.open())
        return 1;
    zw::MainWindow main;
    main.serial()->setDevice(1, radio.devicePath());
    main.load();
    zw::ModelWindow *window = main.showModel(*model);
    // Read as soon as the radio is ready, and take the picture when half the reply is in.
    QObject::connect(window->session(), &zw::RadioSession::radioReady, window,
                     [window] { window->readAction()->trigger(); });
    QObject::connect(window->session(), &zw::RadioSession::progress, &app,
                     [&](int done, int total) {
                         if (done == total / 2) {
                             main.grab().save(out);
                             QApplication::quit();
                         }
                     });
    QTimer::singleShot(5000, &app, [] { QApplication::exit(1); });
    return QApplication::exec();
}
