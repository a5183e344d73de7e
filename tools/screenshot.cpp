// Renders the main window with model windows open into a PNG, for the README and for looking
// at the interface without a display:  QT_QPA_PLATFORM=offscreen zw4630-screenshot OUT.png V UH
// With --editing the first window gets a few channels entered and its Combo1 list opened;
// --notes / --about render that window of the help menu instead of the main window;
// --csv-problems renders the list of CHIRP CSV rows the first window cannot take.
#include "aboutdialog.h"
#include "channeleditor.h"
#include "channelstore.h"
#include "channeltablemodel.h"
#include "chirpcsv.h"
#include "csvproblemsdialog.h"
#include "language.h"
#include "mainmenus.h"
#include "mainwindow.h"
#include "modelwindow.h"
#include "operationnotesdialog.h"
#include "programicon.h"
#include "serialconnection.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QPainter>
#include <QPixmap>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

// A few channels typed and picked the way a user would, then the receive-tone list opened.
static QComboBox *enterChannels(zw::ModelWindow *window)
{
    auto *editor = window->findChild<zw::ChannelEditor *>();
    const double low = window->info().band.bandLow;
    const QStringList tones{QStringLiteral("67.0"), QStringLiteral("D023N"), QStringLiteral("88.5"),
                            QStringLiteral("D754N")};
    for (int row = 0; row < tones.size(); ++row) {
        editor->enterText(row, zw::ChannelTableModel::rxFrequencyColumn,
                          QString::number(low + 1.0125 + row * 0.5, 'f', 4));
        window->grid()->setCurrentIndex(window->tableModel()->index(row, 2));
        editor->pick(zw::PickList::ToneBoth, tones.at(row));
    }
    editor->pick(zw::PickList::Power, QStringLiteral("L"));
    QComboBox *list = editor->pickList(zw::PickList::ToneBoth);
    list->setCurrentIndex(list->findText(QStringLiteral("D754N")));
    list->showPopup();
    return list;
}

// The problems dialog of an import of a list made for another radio: a few rows fit.
static QWidget *csvProblems(zw::ModelWindow *window)
{
    const QByteArray csv =
        "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
        "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\r\n"
        "1,Simplex,146.520000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,5.0W,,,,,\r\n"
        "2,Club,146.940000,-,0.600000,Tone,69.3,69.3,023,NN,023,Tone->Tone,FM,5.00,,5.0W,,,,,\r\n"
        "3,Net,147.120000,+,0.600000,TSQL,159.8,159.8,023,NN,023,Tone->Tone,FM,5.00,,5.0W,,,,,\r\n"
        "4,Rptr,145.230000,-,0.600000,DTCS,88.5,88.5,023,NR,023,Tone->Tone,FM,5.00,,5.0W,,,,,\r\n"
        "5,Air,121.500000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,AM,25.00,,5.0W,,,,,\r\n"
        "6,Wx,162.550000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,S,1.0W,,,,,\r\n"
        "20,Far,146.580000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,5.0W,,,,,\r\n";
    const zw::CsvImport imported =
        zw::importChirpCsv(csv, window->info(), window->store()->records());
    auto *dialog = new zw::CsvProblemsDialog(imported, zw::isEnglish(), window);
    dialog->setModal(false);
    dialog->show();
    return dialog;
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZW4630"));
    QApplication::setWindowIcon(zw::programIcon()); // as the program shows its windows
    QStringList args = QApplication::arguments().mid(1);
    if (args.isEmpty()) {
        qWarning("usage: zw4630-screenshot OUT.png [--english] [--editing] "
                 "[--notes|--about|--csv-problems] "
                 "[V|UH|UM|UL ...]");
        return 2;
    }
    const QString out = QFileInfo(args.takeFirst()).absoluteFilePath();
    const bool english = args.removeAll(QStringLiteral("--english")) > 0;
    const bool editing = args.removeAll(QStringLiteral("--editing")) > 0;
    const bool notes = args.removeAll(QStringLiteral("--notes")) > 0;
    const bool about = args.removeAll(QStringLiteral("--about")) > 0;
    const bool problems = args.removeAll(QStringLiteral("--csv-problems")) > 0;
    QTemporaryDir dir; // databases of this run only
    QDir::setCurrent(dir.path());
    zw::MainWindow main;
    main.serial()->setDevice(1, dir.filePath(QStringLiteral("none")));
    main.show();
    auto *menus = main.findChild<zw::MainMenus *>();
    if (english)
        menus->chooseEnglish(); // as the user does, through the language menu
    zw::ModelWindow *first = nullptr;
    for (const QString &name : args)
        if (auto model = zw::modelFromName(QStringLiteral("ZW4630") + name))
            if (zw::ModelWindow *window = main.showModel(*model); !first)
                first = window;
    QComboBox *openList = nullptr;
    if (editing && first)
        openList = enterChannels(first);
    QWidget *shown = &main;
    if (notes) {
        menus->showNotes();
        shown = menus->notesWindow();
    } else if (about) {
        menus->showAbout();
        shown = menus->aboutWindow();
    } else if (problems && first) {
        shown = csvProblems(first);
    }
    QTimer::singleShot(300, &app, [&] {
        QPixmap shot = shown->grab();
        if (openList && shown == &main && openList->view()->window()->isVisible()) {
            // The open list is a window of its own: draw it where it stands over the frame.
            QWidget *popup = openList->view()->window();
            QPainter painter(&shot);
            painter.drawPixmap(main.mapFromGlobal(popup->mapToGlobal(QPoint(0, 0))), popup->grab());
        }
        shot.save(out);
        QApplication::quit();
    });
    return QApplication::exec();
}
