#include "exitsignals.h"
#include "filenames.h"
#include "language.h"
#include "mainwindow.h"
#include "modelinfo.h"
#include "portdevices.h"
#include "programexit.h"
#include "programicon.h"
#include "recentfiles.h"
#include "savefile.h"
#include "serialtrace.h"
#ifdef ZW_HAVE_VIRTUAL_RADIO
#include "virtualradio.h"
#endif

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>

#include <csignal>
#include <cstdio>
#include <memory>
#include <vector>

namespace
{

void nameTheApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("ZW4630"));
    QCoreApplication::setApplicationVersion(QStringLiteral("B1.3"));
}

// The program's options, the same for the early look at the command line and the real one.
void describeOptions(QCommandLineParser &parser)
{
    parser.setApplicationDescription(QStringLiteral("ZW4630 channel programming software"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption({{QStringLiteral("com1")},
                      QStringLiteral("Serial device used as COM1 for this run."),
                      QStringLiteral("DEVICE")});
    parser.addOption({{QStringLiteral("com2")},
                      QStringLiteral("Serial device used as COM2 for this run."),
                      QStringLiteral("DEVICE")});
    parser.addOption({{QStringLiteral("in-documents")},
                      QStringLiteral("Work in the user's documents folder (the home folder when "
                                     "there is none), so the model databases are kept there.")});
    parser.addOption({{QStringLiteral("trace")},
                      QStringLiteral("Write a trace of the serial line to FILE as it goes."),
                      QStringLiteral("FILE")});
#ifdef ZW_HAVE_VIRTUAL_RADIO
    parser.addOption(
        {{QStringLiteral("virtual-radio")},
         QStringLiteral("Put COM1 on a virtual radio of this model (%1), played "
                        "inside the program.")
             .arg(zw::spokenList(zw::modelTexts(&zw::ModelInfo::shortName), QStringLiteral("or"))),
         QStringLiteral("MODEL")});
#endif
}

// --help and --version are answered before the windowing system is touched, so that they work
// without a display. Qt's own GUI options (-platform, -style, ...) are not known yet here; a
// command line with them is left to the full parse once the GUI application exists.
void answerHelpAndVersion(int argc, char *argv[])
{
    // On copies: an application object may take its own options out of the argument list,
    // and the GUI application that follows must see the list whole.
    std::vector<char *> arguments(argv, argv + argc);
    arguments.push_back(nullptr);
    int count = argc;
    QCoreApplication early(count, arguments.data());
    nameTheApplication();
    QCommandLineParser parser;
    describeOptions(parser);
    if (parser.parse(QCoreApplication::arguments())) {
        parser.process(early); // answers --help, --help-all and --version, and exits
        return;
    }
    if (parser.isSet(QStringLiteral("version")))
        parser.showVersion();
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp();
}

// The model databases are opened in the folder the program runs in. A desktop launcher starts
// programs in a folder of its own choosing, so the menu entry passes --in-documents; started from
// a terminal without it, the program stays where it was started.
void enterDocumentsFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if ((!documents.isEmpty() && QDir::setCurrent(documents)) || QDir::setCurrent(QDir::homePath()))
        return;
    std::fprintf(stderr, "cannot enter the documents folder %s or the home folder; working in %s\n",
                 qPrintable(documents), qPrintable(QDir::currentPath()));
}

} // namespace

int main(int argc, char *argv[])
{
    answerHelpAndVersion(argc, argv);

    QApplication app(argc, argv);
    nameTheApplication();
#ifdef SIGXFSZ
    // Past a file-size limit (ulimit -f) a save then fails with EFBIG and says so; by default
    // the signal would end the program in the middle of it.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    QApplication::setWindowIcon(zw::programIcon()); // every window's icon
    zw::followLanguageInQtTexts(); // the window starts Chinese, and so do Qt's own dialogs

    QCommandLineParser parser;
    describeOptions(parser);
    // The arguments QApplication left (it takes its own out of argv), with file names byte for
    // byte: arguments() would turn bytes that are not UTF-8 into U+FFFD.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << zw::fileNameFromBytes(QByteArray(argv[i]));
    parser.process(arguments);
    // The trace file is opened before the documents folder is entered: a relative name is
    // taken where the program was started, as the user typed it. Only a regular file or a new
    // name is taken: a FIFO nobody reads would hold the program before its window opens, and a
    // serial port would get the text.
    const QString traceName = parser.value(QStringLiteral("trace"));
    if (parser.isSet(QStringLiteral("trace"))) {
        auto file = std::make_unique<QFile>();
        if (const zw::Result opened = zw::openNewFile(file.get(), traceName); !opened) {
            std::fprintf(stderr, "cannot write the serial trace to %s: %s\n",
                         zw::fileNameBytes(traceName).constData(),
                         opened.failure().is(zw::FileFailure::NotRegular)
                             ? "it is not a regular file"
                             : qPrintable(opened.error()));
            return 1;
        }
        zw::SerialTrace::instance().setOutput(std::move(file));
    }
    if (parser.isSet(QStringLiteral("in-documents")))
        enterDocumentsFolder();

#ifdef ZW_HAVE_VIRTUAL_RADIO
    std::unique_ptr<zw::VirtualRadio> radio;
    if (parser.isSet(QStringLiteral("virtual-radio"))) {
        const QString name = parser.value(QStringLiteral("virtual-radio"));
        const auto model = zw::modelFromShortName(name);
        if (!model) {
            std::fprintf(stderr, "unknown radio model: %s (%s)\n", qPrintable(name),
                         qPrintable(zw::spokenList(zw::modelTexts(&zw::ModelInfo::shortName),
                                                   QStringLiteral("or"))));
            return 2;
        }
        radio = std::make_unique<zw::VirtualRadio>(*model);
        if (!radio->open()) {
            std::fprintf(stderr, "no virtual radio: %s\n", qPrintable(radio->errorString()));
            return 1;
        }
    }
#endif

    // The devices chosen in the port dialog, remembered from earlier runs; the command line
    // replaces them for this run.
    QSettings settings(QStringLiteral("ZW4630"), QStringLiteral("ZW4630"));
    zw::PortDevices devices(&settings);
    for (int port : {1, 2}) {
        const QString option = QStringLiteral("com%1").arg(port);
        if (parser.isSet(option))
            devices.overrideDevice(port, parser.value(option));
    }
#ifdef ZW_HAVE_VIRTUAL_RADIO
    if (radio)
        devices.overrideDevice(1, radio->devicePath());
#endif

    zw::MainWindow mainWindow;
    mainWindow.setPortDevices(devices);
    mainWindow.recentFiles()->setStore(&settings);
    // A signal ends the program as 退出系统 does: a transfer under way finishes first, then the
    // port closes and its lock file goes; a question open then is answered "no".
    zw::ExitSignals exitSignals;
    zw::ProgramExit programExit(&mainWindow);
    QObject::connect(&exitSignals, &zw::ExitSignals::exitRequested, &programExit,
                     &zw::ProgramExit::request);
    bool ended = false;
    QObject::connect(&programExit, &zw::ProgramExit::finished, &mainWindow, [&ended] {
        ended = true;
        QApplication::quit();
    });
    mainWindow.load();
    // A signal while a start-up message was open may have ended the program already, before
    // there was an event loop for quit() to end.
    const int status = ended ? 0 : QApplication::exec();
    if (const std::optional<QString> failure = zw::SerialTrace::instance().outputFailure())
        std::fprintf(stderr, "the serial trace in %s is incomplete: writing it failed (%s)\n",
                     zw::fileNameBytes(traceName).constData(), qPrintable(*failure));
    return status;
}
