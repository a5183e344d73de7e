#include "mdiform1.h"
#include "serialconnection.h"

#include <QApplication>
#include <QCommandLineParser>

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
    parser.process(app);

    zw::MDIForm1 mainWindow;
    if (parser.isSet(com1))
        mainWindow.serial()->setDevice(1, parser.value(com1));
    if (parser.isSet(com2))
        mainWindow.serial()->setDevice(2, parser.value(com2));
    mainWindow.load();
    return QApplication::exec();
}
