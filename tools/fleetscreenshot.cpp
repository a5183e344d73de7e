// Renders a model window's Write Several Radios panel during a run against the virtual radio's
// fleet mode (a ZW4630V, a ZW4630UH, two more ZW4630V), while the fourth radio is written:
//   QT_QPA_PLATFORM=offscreen zw4630-fleet-screenshot OUT.png [--english]
#include "fleetpanel.h"
#include "mainmenus.h"
#include "mainwindow.h"
#include "modelwindow.h"
#include "programicon.h"
#include "serialconnection.h"
#include "virtualradio.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZW4630"));
    QApplication::setWindowIcon(zw::programIcon());
    QStringList args = QApplication::arguments().mid(1);
    const bool english = args.removeAll(QStringLiteral("--english")) > 0;
    if (args.isEmpty()) {
        std::fprintf(stderr, "usage: zw4630-fleet-screenshot OUT.png [--english]\n");
        return 2;
    }
    const QString out = QFileInfo(args.takeFirst()).absoluteFilePath();
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    // The backups folder and the log go into the temporary folder too.
    qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toLocal8Bit());
    zw::VirtualRadio radio(zw::Model::V);
    radio.setPacing(false);
    QList<zw::VirtualRadio::FleetRadio> fleet;
    for (zw::Model model : {zw::Model::V, zw::Model::UH, zw::Model::V, zw::Model::V}) {
        zw::VirtualRadio::FleetRadio one;
        one.model = model;
        one.offMs = 1700;
        fleet << one;
    }
    if (!radio.open())
        return 1;
    radio.setFleet(fleet, 500);
    zw::MainWindow main;
    main.serial()->setDevice(1, radio.devicePath());
    main.load();
    if (english)
        main.findChild<zw::MainMenus *>()->chooseEnglish(); // as the user does
    main.resize(980, 720);
    zw::ModelWindow *window = main.showModel(zw::Model::V);
    window->findChild<QAction *>(QStringLiteral("mnuFleetWrite"))->trigger();
    zw::FleetPanel *panel = window->fleetPanel();
    panel->findChild<QPushButton *>(QStringLiteral("fleetStart"))->click();
    // Once the fourth radio is identified and its channels are going out.
    QObject::connect(panel->run(), &zw::FleetRun::stepChanged, &app,
                     [&](zw::LinkState::Transfer step, int number) {
                         if (step != zw::LinkState::Transfer::Writing || number != 4)
                             return;
                         QTimer::singleShot(300, &app, [&] {
                             main.grab().save(out);
                             QApplication::quit();
                         });
                     });
    QTimer::singleShot(40000, &app, [] { QApplication::exit(1); });
    return QApplication::exec();
}
