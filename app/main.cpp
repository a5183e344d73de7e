#include "exitsignals.h"
#include "mainwindow.h"
#include "serialconnection.h"
#ifdef ZW_HAVE_VIRTUAL_RADIO
#include "virtualradio.h"
#endif

#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>
#include <memory>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZW4630"));
    QApplication::setApplicationVersion(QStringLiteral("B1.3"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("ZW4630 channel programming software"));
    parser.addHelpOption();
    const QCommandLineOption com1({QStringLiteral("com1")},
                                  QStringLiteral("Serial device used as COM1."),
                                  QStringLiteral("DEVICE"));
    const QCommandLineOption com2({QStringLiteral("com2")},
                                  QStringLiteral("Serial device used as COM2."),
                                  QStringLiteral("DEVICE"));
    parser.addOption(com1);
    parser.addOption(com2);
#ifdef ZW_HAVE_VIRTUAL_RADIO
    const QCommandLineOption virtualRadio(
        {QStringLiteral("virtual-radio")},
        QStringLiteral("Put COM1 on a virtual radio of this model (V, UH, UM or UL), played "
                       "inside the program."),
        QStringLiteral("MODEL"));
    parser.addOption(virtualRadio);
#endif
    parser.process(app);

#ifdef ZW_HAVE_VIRTUAL_RADIO
    std::unique_ptr<zw::VirtualRadio> radio;
    if (parser.isSet(virtualRadio)) {
        const auto model = zw::modelFromName(QStringLiteral("ZW4630") + parser.value(virtualRadio));
        if (!model) {
            std::fprintf(stderr, "unknown radio model: %s (V, UH, UM or UL)\n",
                         qPrintable(parser.value(virtualRadio)));
            return 2;
        }
        radio = std::make_unique<zw::VirtualRadio>(*model);
        if (!radio->open()) {
            std::fprintf(stderr, "no virtual radio: %s\n", qPrintable(radio->errorString()));
            return 1;
        }
    }
#endif

    zw::MainWindow mainWindow;
    if (parser.isSet(com1))
        mainWindow.serial()->setDevice(1, parser.value(com1));
    if (parser.isSet(com2))
        mainWindow.serial()->setDevice(2, parser.value(com2));
#ifdef ZW_HAVE_VIRTUAL_RADIO
    if (radio)
        mainWindow.serial()->setDevice(1, radio->devicePath());
#endif
    // A signal ends the program as 退出系统 does: a transfer under way finishes first, then the
    // port closes and its lock file goes.
    zw::ExitSignals exitSignals;
    QObject::connect(&exitSignals, &zw::ExitSignals::exitRequested, &mainWindow, [&mainWindow] {
        mainWindow.close();
        QApplication::quit();
    });
    mainWindow.load();
    return QApplication::exec();
}
