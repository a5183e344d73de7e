// Renders the main window with model windows open into a PNG, for the README and for looking
// at the interface without a display:  QT_QPA_PLATFORM=offscreen zw4630-screenshot OUT.png V UH
// With --editing the first window gets a few channels entered and its Combo1 list opened;
// --notes / --about render that window of the help menu instead of the main window;
// --csv-problems renders the list of CHIRP CSV rows the first window cannot take;
// --row-menu enters a few channels, selects two of them and opens the grid's row menu;
// --paste-problems shows over the main window the list of a paste with a row the first window
// cannot take (another band).
#include "aboutdialog.h"
#include "channelclipboard.h"
#include "channeldocument.h"
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
#include "rowactions.h"
#include "serialconnection.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QMenu>
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

// The problems dialog of an import of a list made for another radio, numbered from 0 as
// repeater directories number theirs: a few rows fit.
static QWidget *csvProblems(zw::ModelWindow *window)
{
    const QByteArray csv =
        "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
        "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\r\n"
        "0,Simplex,146.520000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,5.0W,,,,,\r\n"
        "2,Club,146.940000,-,0.600000,Tone,69.3,69.3,023,NN,023,Tone->Tone,FM,5.00,,5.0W,,,,,\r\n"
        "3,Net,147.120000,+,0.600000,TSQL,159.8,159.8,023,NN,023,Tone->Tone,FM,5.00,,5.0W,,,,,\r\n"
        "4,Rptr,145.230000,-,0.600000,DTCS,88.5,88.5,023,NR,023,Tone->Tone,FM,5.00,,5.0W,,,,,\r\n"
        "5,Air,121.500000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,AM,25.00,,5.0W,,,,,\r\n"
        "6,Wx,162.550000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,S,1.0W,,,,,\r\n"
        "20,Far,146.580000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,5.0W,,,,,\r\n";
    const zw::ChannelTable current = window->document()->records();
    const zw::ModelInfo &info = window->info();
    auto *dialog = new zw::CsvProblemsDialog(
        [csv, current, &info](zw::CsvPlacement placement) {
            return zw::importChirpCsv(csv, info, current, placement).value();
        },
        zw::isEnglish(), window);
    dialog->setModal(false);
    dialog->show();
    return dialog;
}

// Channels 1 to 4 entered, channels 2 and 3 selected by their row headers, the row menu open
// over them.
static QMenu *openRowMenu(zw::ModelWindow *window)
{
    QComboBox *list = enterChannels(window);
    list->hidePopup();
    QTableView *grid = window->grid();
    grid->setCurrentIndex(window->tableModel()->index(1, 0));
    grid->clearSelection();
    for (int row : {1, 2})
        grid->selectionModel()->select(window->tableModel()->index(row, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
    auto *actions = window->findChild<zw::RowActions *>();
    const QRect cell = grid->visualRect(window->tableModel()->index(2, 1));
    actions->contextMenu()->popup(grid->viewport()->mapToGlobal(cell.center()));
    return actions->contextMenu();
}

// The list a paste shows before it changes anything: three rows copied from a spreadsheet,
// one of them of another band, pasted at channel 6.
static QWidget *pasteProblems(zw::ModelWindow *window)
{
    const double low = window->info().band.bandLow;
    const QString text = QStringLiteral("RxFrequency\tQT/DQT Dec\tPower\n"
                                        "%1\t67.0\tL\n"
                                        "%2\t88.5\tH\n"
                                        "%3\tD023N\tH\n")
                             .arg(low + 2.5, 0, 'f', 5)
                             .arg(low > 300 ? 145.5 : 446.00625, 0, 'f', 5)
                             .arg(low + 3.0125, 0, 'f', 5);
    const zw::PastePlan plan =
        zw::planPaste({{}, {}, text}, window->info(), window->document()->records(), 5);
    auto *dialog = new zw::CsvProblemsDialog(plan, zw::isEnglish(), window);
    dialog->setModal(false);
    dialog->resize(500, 190);
    // Low on the window, clear of the channels above.
    QWidget *frame = window->window();
    dialog->move(frame->mapToGlobal(QPoint(frame->width() - 520, frame->height() - 200)));
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
                 "[--notes|--about|--csv-problems] [--row-menu] [--paste-problems] [%s ...]",
                 qPrintable(zw::modelTexts(&zw::ModelInfo::shortName).join(u'|')));
        return 2;
    }
    const QString out = QFileInfo(args.takeFirst()).absoluteFilePath();
    const bool english = args.removeAll(QStringLiteral("--english")) > 0;
    const bool editing = args.removeAll(QStringLiteral("--editing")) > 0;
    const bool notes = args.removeAll(QStringLiteral("--notes")) > 0;
    const bool about = args.removeAll(QStringLiteral("--about")) > 0;
    const bool problems = args.removeAll(QStringLiteral("--csv-problems")) > 0;
    const bool rowMenu = args.removeAll(QStringLiteral("--row-menu")) > 0;
    const bool pasteList = args.removeAll(QStringLiteral("--paste-problems")) > 0;
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
        if (auto model = zw::modelFromShortName(name))
            if (zw::ModelWindow *window = main.showModel(*model); !first)
                first = window;
    QComboBox *openList = nullptr;
    if (editing && first && !rowMenu)
        openList = enterChannels(first);
    // Windows of their own drawn over the frame where they stand: an open list or menu, a dialog.
    QList<QWidget *> over;
    if (pasteList && first)
        over << pasteProblems(first);
    if (rowMenu && first)
        over << openRowMenu(first); // after the dialog: a menu closes when a window opens
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
        if (shown == &main) {
            QPainter painter(&shot);
            for (QWidget *window : over) {
                if (!window->isVisible())
                    continue;
                // A dialog is drawn with a thin frame, as a window manager would draw it.
                const QPoint at = main.mapFromGlobal(window->mapToGlobal(QPoint(0, 0)));
                painter.drawPixmap(at, window->grab());
                if (!qobject_cast<QMenu *>(window)) {
                    painter.setPen(QColor(80, 80, 80));
                    painter.drawRect(QRect(at, window->size()).adjusted(-1, -1, 0, 0));
                }
            }
        }
        shot.save(out);
        QApplication::quit();
    });
    return QApplication::exec();
}
