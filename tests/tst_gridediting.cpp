#include "channeldocument.h"
#include "channeleditor.h"
#include "channelstore.h"
#include "channeltablemodel.h"
#include "csvproblemsdialog.h"
#include "language.h"
#include "mainmenus.h"
#include "mainwindow.h"
#include "messageboxanswerer.h"
#include "modelwindow.h"
#include "operationnotesdialog.h"
#include "pickcelleditor.h"
#include "problemsanswerer.h"
#include "radiosession.h"
#include "rowactions.h"
#include "windowtestfolder.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QUndoStack>
#include <QtTest>

using namespace zw;
using zw::test::MessageBoxAnswerer;
using zw::test::ProblemsAnswerer;

Q_DECLARE_METATYPE(zw::Model)

namespace
{

ChannelEditor *editorOf(ModelWindow *w)
{
    return w->findChild<ChannelEditor *>();
}

RowActions *rowsOf(ModelWindow *w)
{
    return w->findChild<RowActions *>();
}

QStringList shown(ModelWindow *w, int row)
{
    QStringList cells;
    for (int column = 1; column < ChannelTableModel::columnCountValue; ++column)
        cells << w->tableModel()->index(row, column).data().toString();
    return cells;
}

// Channels 1 to 4 in use, with every setting differing from the defaults somewhere.
void fillFourChannels(ModelWindow *w)
{
    const double low = w->info().band.bandLow;
    const QStringList tones{"67.0", "D023N", "88.5", "D754N"};
    for (int row = 0; row < 4; ++row) {
        ChannelRecord r = w->document()->record(row);
        r[RxFrequency] = QString::number(low + 1 + row, 'f', 5);
        r[TxFrequency] = QString::number(low + 2 + row, 'f', 5);
        r[RxTone] = tones.at(row);
        r[TxTone] = tones.at(3 - row);
        r[Scan] = row % 2 ? QStringLiteral("del") : QStringLiteral("add");
        r[Bcl] = QStringList{"off", "1", "2"}.at(row % 3);
        r[Beat] = row % 2 ? QStringLiteral("on") : QStringLiteral("off");
        r[Power] = row % 2 ? QStringLiteral("L") : QStringLiteral("H");
        r[Spare3] = QStringLiteral("s%1").arg(row);
        QVERIFY(w->document()->edit([&](ChannelTable t) {
            t[static_cast<std::size_t>(row)] = r;
            return t;
        }));
    }
    w->document()->clearHistory();
}

void selectRows(ModelWindow *w, const QList<int> &rows)
{
    QTableView *grid = w->grid();
    grid->setCurrentIndex(w->tableModel()->index(rows.first(), 0));
    grid->clearSelection();
    for (int row : rows)
        grid->selectionModel()->select(w->tableModel()->index(row, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

} // namespace

class TestGridEditing : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = test::enterFreshWindowFolder();
        QVERIFY(m_dir);
    }

    // From the keyboard alone: the cell's own list opens over it, typed letters choose, Enter
    // applies the pick rule to that channel, Escape changes nothing; the channel stays current.
    void keyboardPicksInTheCell_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("opener"); // key that opens the list; 0: the first typed letter
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("finish");        // Return or Escape
        QTest::addColumn<QStringList>("after"); // columns 1..8 of channel 6 afterwards

        const QStringList before{"145.00000", "", "145.00000", "", "add", "off", "off", "H"};
        auto with = [&](int column, const QString &value) {
            QStringList row = before;
            row[column - 1] = value;
            return row;
        };
        QStringList both = with(2, "88.5");
        both[3] = "88.5";
        QTest::newRow("receive tone, typed") << 2 << 0 << "88" << int(Qt::Key_Return) << both;
        QTest::newRow("transmit tone, F2 then typed")
            << 4 << int(Qt::Key_F2) << "d75" << int(Qt::Key_Return) << with(4, "D754N");
        QTest::newRow("scan, Enter then typed")
            << 5 << int(Qt::Key_Return) << "d" << int(Qt::Key_Enter) << with(5, "del");
        QTest::newRow("BCL, typed") << 6 << 0 << "2" << int(Qt::Key_Return) << with(6, "2");
        QTest::newRow("beat, typed") << 7 << 0 << "on" << int(Qt::Key_Return) << with(7, "on");
        QTest::newRow("power, typed") << 8 << 0 << "l" << int(Qt::Key_Tab) << with(8, "L");
        QTest::newRow("power, Escape") << 8 << 0 << "l" << int(Qt::Key_Escape) << before;
    }

    void keyboardPicksInTheCell()
    {
        QFETCH(int, column);
        QFETCH(int, opener);
        QFETCH(QString, typed);
        QFETCH(int, finish);
        QFETCH(QStringList, after);
        MainWindow main;
        ModelWindow *w = main.showModel(Model::V);
        editorOf(w)->enterText(5, 1, QStringLiteral("145"));
        QTableView *grid = w->grid();
        grid->setCurrentIndex(w->tableModel()->index(5, column));
        auto *cellLists = w->findChild<PickCellEditor *>();
        QString rest = typed;
        if (opener) {
            QTest::keyClick(grid, Qt::Key(opener));
        } else {
            QTest::keyClicks(grid, rest.left(1));
            rest.remove(0, 1);
        }
        QComboBox *list = cellLists->openEditor();
        QVERIFY(list);
        QCOMPARE(list->count(), pickListEntries(*pickListOfColumn(column), Model::V).size());
        QTest::keyClicks(list, rest);
        QTest::keyClick(list, Qt::Key(finish));
        QTRY_VERIFY(!cellLists->openEditor());
        QCOMPARE(shown(w, 5), after);
        QCOMPARE(grid->currentIndex().row(), 5);
    }

    // Alt+Down drops the list down; a choice in it applies at once.
    void altDownOpensTheListAndAChoiceApplies()
    {
        MainWindow main;
        ModelWindow *w = main.showModel(Model::UH);
        editorOf(w)->enterText(2, 1, QStringLiteral("440"));
        w->grid()->setCurrentIndex(w->tableModel()->index(2, 2));
        QTest::keyClick(w->grid(), Qt::Key_Down, Qt::AltModifier);
        QComboBox *list = w->findChild<PickCellEditor *>()->openEditor();
        QVERIFY(list);
        QTRY_VERIFY(list->view()->isVisible());
        list->view()->setCurrentIndex(list->model()->index(list->findText("D023N"), 0));
        QTest::keyClick(list->view(), Qt::Key_Return);
        QTRY_COMPARE(w->document()->record(2)[RxTone], QStringLiteral("D023N"));
        QCOMPARE(w->document()->record(2)[TxTone], QStringLiteral("D023N"));
        // On an empty channel the same choice leaves the fields empty (the pick rule).
        w->grid()->setCurrentIndex(w->tableModel()->index(3, 2));
        QTest::keyClick(w->grid(), Qt::Key_F2);
        list = w->findChild<PickCellEditor *>()->openEditor();
        QVERIFY(list);
        list->setCurrentIndex(list->findText("D023N"));
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(w->document()->record(3)[RxTone], QString());
    }

    // Typed text never starts the view's search for another channel.
    void typingNeverMovesToAnotherChannel_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<bool>("locked");
        QTest::newRow("channel number") << 0 << false;
        QTest::newRow("tone while a transfer runs") << 2 << true;
        QTest::newRow("frequency while a transfer runs") << 1 << true;
    }

    void typingNeverMovesToAnotherChannel()
    {
        QFETCH(int, column);
        QFETCH(bool, locked);
        MainWindow main;
        ModelWindow *w = main.showModel(Model::V);
        fillFourChannels(w);
        w->grid()->setCurrentIndex(w->tableModel()->index(5, column));
        if (locked)
            QVERIFY(w->session()->beginRead());
        QTest::keyClicks(w->grid(), QStringLiteral("1 88.5"));
        QCOMPARE(w->grid()->currentIndex().row(), 5);
        QVERIFY(!w->findChild<PickCellEditor *>()->openEditor());
        QCOMPARE(shown(w, 5), QStringList(8, QString()));
        w->session()->stop();
    }

    void tabReachesTheRadioWideLists()
    {
        MainWindow main;
        main.show();
        ModelWindow *w = main.showModel(Model::UM);
        main.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        w->grid()->setFocus();
        QTRY_VERIFY(w->grid()->hasFocus());
        QTest::keyClick(w->grid(), Qt::Key_Tab);
        QTRY_VERIFY(w->squelchList()->hasFocus());
        QTest::keyClick(w->squelchList(), Qt::Key_Down);
        QCOMPARE(w->squelchList()->currentText(), QStringLiteral("4"));
        QTest::keyClick(w->squelchList(), Qt::Key_Tab);
        QTRY_VERIFY(w->channelToneList()->hasFocus());
        QTest::keyClick(w->channelToneList(), Qt::Key_Down);
        QCOMPARE(w->channelToneList()->currentText(), QStringLiteral("英文"));
    }

    // Each red list starts where its column starts, in every window and both languages, also
    // when the window is made larger; every column shows whole, without sideways scrolling.
    void pickListsLineUpWithTheirColumns_data()
    {
        QTest::addColumn<Model>("model");
        QTest::addColumn<bool>("english");
        for (Model m : allModels)
            for (bool english : {false, true})
                QTest::addRow("%s %s", modelInfo(m).name.toLatin1().constData(),
                              english ? "English" : "Chinese")
                    << m << english;
    }

    void pickListsLineUpWithTheirColumns()
    {
        QFETCH(Model, model);
        QFETCH(bool, english);
        setLanguageMode(english ? 2 : 0);
        MainWindow main;
        main.resize(1200, 900);
        main.show();
        ModelWindow *w = main.showModel(model);
        QVERIFY(QTest::qWaitForWindowExposed(w));
        QTableView *grid = w->grid();
        QHeaderView *header = grid->horizontalHeader();
        auto check = [&] {
            for (int column = 0; column < ChannelTableModel::columnCountValue; ++column) {
                const int left = header->mapTo(w->client(), QPoint(0, 0)).x() +
                                 header->sectionViewportPosition(column);
                if (const std::optional<PickList> list = pickListOfColumn(column)) {
                    const QRect g = editorOf(w)->pickList(*list)->geometry();
                    QVERIFY2(std::abs(g.left() - left) <= 2,
                             qPrintable(QStringLiteral("%1 at %2, column at %3")
                                            .arg(pickListName(*list))
                                            .arg(g.left())
                                            .arg(left)));
                    QVERIFY(std::abs(g.width() - header->sectionSize(column)) <= 2);
                    const QRect band(header->mapTo(w->client(), QPoint(0, 0)), header->size());
                    QVERIFY(band.top() <= g.top() && g.bottom() <= band.bottom());
                }
                const QString caption = w->tableModel()->captions().at(column).trimmed();
                QVERIFY2(header->fontMetrics().horizontalAdvance(caption) <
                             header->sectionSize(column),
                         qPrintable(caption));
            }
            QCOMPARE(header->length(), grid->viewport()->width());
            grid->setCurrentIndex(w->tableModel()->index(9, 8));
            grid->scrollTo(grid->currentIndex());
            QCOMPARE(grid->horizontalScrollBar()->value(), 0);
            QCOMPARE(header->sectionViewportPosition(0), 0);
        };
        check();
        const QSize before = grid->size();
        auto *frame = qobject_cast<QMdiSubWindow *>(w->parentWidget());
        frame->showMaximized();
        QTRY_VERIFY(grid->width() > before.width());
        QVERIFY(grid->height() > before.height());
        check();
    }

    // Each row operation is one undo step, however many channels it touches; undo puts back
    // the table as it was and redo the table as the operation left it.
    void eachRowOperationIsOneUndoStep_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QList<int>>("rows");
        QTest::addColumn<QList<int>>("changed"); // rows that differ afterwards
        // How the rows are chosen: "select" through the selection model; "header" by clicks on
        // the row headers (Ctrl adds); "menu" by the context menu of a row header outside an
        // older selection of channels 1-3.
        QTest::addColumn<QString>("chooseBy");
        QTest::newRow("cut") << "cut" << QList<int>{1, 2} << QList<int>{1, 2} << "select";
        QTest::newRow("clear with Delete")
            << "delete" << QList<int>{0, 3} << QList<int>{0, 3} << "select";
        QTest::newRow("move up") << "up" << QList<int>{2, 3} << QList<int>{1, 2, 3} << "select";
        QTest::newRow("move down") << "down" << QList<int>{0} << QList<int>{0, 1} << "select";
        QTest::newRow("copy and paste")
            << "paste" << QList<int>{0, 1, 2} << QList<int>{10, 11, 12} << "select";
        QTest::newRow("header clicks, then Delete")
            << "delete" << QList<int>{1, 3} << QList<int>{1, 3} << "header";
        QTest::newRow("header click, copy and paste")
            << "paste" << QList<int>{2} << QList<int>{10} << "header";
        QTest::newRow("header clicks near the row edges, then Delete")
            << "delete" << QList<int>{1, 3} << QList<int>{1, 3} << "header edge";
        // Channel 5 is empty: the pick leaves it so.
        QTest::newRow("pick over the header on the header-selected rows")
            << "pick L" << QList<int>{0, 2, 4} << QList<int>{0, 2} << "header";
        QTest::newRow("pick over the header on one channel")
            << "pick L" << QList<int>{2} << QList<int>{2} << "header";
        QTest::newRow("header menu outside the selection, clear")
            << "clear" << QList<int>{3} << QList<int>{3} << "menu";
        QTest::newRow("cell menu outside the selection, cut")
            << "cut" << QList<int>{3} << QList<int>{3} << "cell menu";
    }

    void eachRowOperationIsOneUndoStep()
    {
        QFETCH(QString, operation);
        QFETCH(QList<int>, rows);
        QFETCH(QList<int>, changed);
        QFETCH(QString, chooseBy);
        MainWindow main;
        main.show();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        ModelWindow *w = main.showModel(Model::V);
        fillFourChannels(w);
        const ChannelTable original = w->document()->records();
        RowActions *actions = rowsOf(w);
        w->grid()->setFocus();
        QTRY_VERIFY(w->grid()->hasFocus());
        QHeaderView *headers = w->grid()->verticalHeader();
        const auto headerAt = [&](int row) {
            return QPoint(headers->width() / 2,
                          headers->sectionViewportPosition(row) + headers->sectionSize(row) / 2);
        };
        // One pixel inside the row's top edge (even clicks) or its bottom edge (odd clicks).
        const auto headerEdge = [&](int row, int i) {
            const int top = headers->sectionViewportPosition(row);
            return QPoint(headers->width() / 2,
                          i % 2 ? top + headers->sectionSize(row) - 2 : top + 1);
        };
        if (chooseBy == "select") {
            selectRows(w, rows);
        } else if (chooseBy.startsWith("header")) {
            w->grid()->setCurrentIndex(w->tableModel()->index(0, 1));
            for (int i = 0; i < rows.size(); ++i)
                QTest::mouseClick(
                    headers->viewport(), Qt::LeftButton, i ? Qt::ControlModifier : Qt::NoModifier,
                    chooseBy == "header" ? headerAt(rows[i]) : headerEdge(rows[i], i));
        } else {
            selectRows(w, {0, 1, 2});
            QWidget *area = chooseBy == "menu" ? headers->viewport() : w->grid()->viewport();
            const QPoint at =
                chooseBy == "menu"
                    ? headerAt(rows.first())
                    : w->grid()->visualRect(w->tableModel()->index(rows.first(), 2)).center();
            QContextMenuEvent event(QContextMenuEvent::Mouse, at, area->mapToGlobal(at));
            QApplication::sendEvent(area, &event);
            QTRY_VERIFY(actions->contextMenu()->isVisible());
            actions->contextMenu()->hide();
        }
        QCOMPARE(actions->chosenRows(), rows);
        if (operation == "cut") {
            actions->cutAction()->trigger();
            QVERIFY(QGuiApplication::clipboard()->mimeData()->text().contains(
                QString::number(w->info().band.bandLow + 1 + rows.first(), 'f', 5)));
        } else if (operation == "clear") {
            actions->clearAction()->trigger();
        } else if (operation == "delete") {
            QTest::keyClick(w->grid(), Qt::Key_Delete);
        } else if (operation == "pick L") {
            QComboBox *power = editorOf(w)->pickList(PickList::Power);
            power->setCurrentIndex(power->findText(QStringLiteral("L")));
            emit power->activated(power->currentIndex()); // as a click in its list does
            for (int row : changed)
                QCOMPARE(w->document()->record(row)[Power], QStringLiteral("L"));
        } else if (operation == "up") {
            QTest::keyClick(w->grid(), Qt::Key_Up, Qt::ControlModifier);
        } else if (operation == "down") {
            QTest::keyClick(w->grid(), Qt::Key_Down, Qt::ControlModifier);
        } else {
            ProblemsAnswerer none(false); // a list of refused rows would be a failure
            QTest::keyClick(w->grid(), Qt::Key_C, Qt::ControlModifier);
            w->grid()->clearSelection();
            w->grid()->setCurrentIndex(w->tableModel()->index(10, 1));
            QTest::keyClick(w->grid(), Qt::Key_V, Qt::ControlModifier);
            QVERIFY(!none.seen.shown);
        }
        const ChannelTable after = w->document()->records();
        for (int row = 0; row < channelCount; ++row) {
            QCOMPARE(after[row] != original[row], changed.contains(row));
            QCOMPARE(after[row][ChannelNumber], QString::number(row + 1));
        }
        if (operation == "paste")
            for (int i = 0; i < rows.size(); ++i)
                QVERIFY(after[10 + i] == [&] {
                    ChannelRecord r = original[rows[i]];
                    r[ChannelNumber] = QString::number(11 + i);
                    return r;
                }());
        if (operation == "up" || operation == "down") {
            QList<int> selected;
            for (const QModelIndex &index : w->grid()->selectionModel()->selectedRows())
                selected << index.row();
            std::sort(selected.begin(), selected.end());
            QList<int> expected;
            for (int row : rows)
                expected << row + (operation == "up" ? -1 : 1);
            QCOMPARE(selected, expected); // the selection goes with the channels
        }
        QCOMPARE(w->document()->undoCount(), 1);
        QTest::keyClick(w->grid(), Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(w->document()->records() == original);
        QTest::keyClick(w->grid(), Qt::Key_Y, Qt::ControlModifier);
        QVERIFY(w->document()->records() == after);
    }

    void movesStopAtTheFirstAndLastChannel()
    {
        MainWindow main;
        ModelWindow *w = main.showModel(Model::UL);
        fillFourChannels(w);
        const ChannelTable original = w->document()->records();
        RowActions *actions = rowsOf(w);
        selectRows(w, {0, 1});
        QVERIFY(!actions->moveUpAction()->isEnabled());
        QVERIFY(actions->moveDownAction()->isEnabled());
        actions->moveUp();
        selectRows(w, {15});
        QVERIFY(actions->moveUpAction()->isEnabled());
        QVERIFY(!actions->moveDownAction()->isEnabled());
        actions->moveDown();
        QVERIFY(w->document()->records() == original);
        QCOMPARE(w->document()->undoCount(), 0);
        QVERIFY(w->session()->beginRead()); // a read holds the table
        for (QAction *a : {actions->cutAction(), actions->pasteAction(), actions->clearAction(),
                           actions->moveUpAction()})
            QVERIFY(!a->isEnabled());
        w->session()->stop();
    }

    // Rows of another band are listed with their reason before anything changes; cancelling
    // keeps the table, applying takes the rows that fit, as one undo step.
    void pasteWithRowsThatDoNotFit_data()
    {
        QTest::addColumn<bool>("apply");
        QTest::addColumn<bool>("margin"); // a row in the band's warning margin, taken as typed
        QTest::newRow("cancel") << false << false;
        QTest::newRow("apply") << true << false;
        QTest::newRow("apply, with a row in the warning margin") << true << true;
    }

    void pasteWithRowsThatDoNotFit()
    {
        QFETCH(bool, apply);
        QFETCH(bool, margin);
        MainWindow main;
        ModelWindow *w = main.showModel(Model::UH);
        const ChannelTable original = w->document()->records();
        QMimeData data;
        data.setText(QStringLiteral("RxFrequency\tQT/DQT Dec\tPower\n"
                                    "%1\t67.0\tL\n"
                                    "145.00000\t67.0\tL\n"
                                    "441.00000\t69.4\tH\n"
                                    "442.00000\tD023N\tH\n")
                         .arg(margin ? "472.00000" : "440.00000"));
        w->grid()->setCurrentIndex(w->tableModel()->index(13, 0));
        ProblemsAnswerer answerer(apply);
        rowsOf(w)->pasteFrom(&data);
        // One of another band, one tone not in the list, and the row taken with a warning.
        QCOMPARE(answerer.seen.rows.size(), margin ? 3 : 2);
        QCOMPARE(answerer.seen.title, QStringLiteral("粘贴信道"));
        QCOMPARE(answerer.seen.text,
                 QStringLiteral("1 行可以粘贴。以下 2 行不能用于本机型，不会粘贴："
                                " 另有 1 行超出第 16 信道，不会粘贴。") +
                     (margin ? QStringLiteral(" 另有 1 行的频率超出频段，按输入粘贴（见下表）。")
                             : QString()));
        if (!apply) {
            QVERIFY(w->document()->records() == original);
            QCOMPARE(w->document()->undoCount(), 0);
            return;
        }
        const QString rx = margin ? "472.00000" : "440.00000";
        QCOMPARE(shown(w, 13), (QStringList{rx, "67.0", rx, "67.0", "add", "off", "off", "L"}));
        QVERIFY(w->document()->records()[14] == original[14]);
        QVERIFY(w->document()->records()[15] == original[15]);
        QCOMPARE(w->document()->undoCount(), 1);
        editorOf(w)->undoAction()->trigger();
        QVERIFY(w->document()->records() == original);
    }

    // Squelch 7 and 键音 are there again after the window is closed and after a restart; a
    // database kept from before the settings were stored opens with "3" and "中文".
    void radioWideSettingsSurviveCloseAndRestart()
    {
        {
            MainWindow main;
            ModelWindow *w = main.showModel(Model::V);
            QCOMPARE(w->squelchList()->currentText(), QStringLiteral("3"));
            QCOMPARE(w->channelToneList()->currentText(), QStringLiteral("中文"));
            w->squelchList()->setCurrentText(QStringLiteral("7"));
            w->channelToneList()->setCurrentText(QStringLiteral("键音"));
            main.closeModel(Model::V);
            w = main.showModel(Model::V);
            QCOMPARE(w->squelchList()->currentText(), QStringLiteral("7"));
            QCOMPARE(w->channelToneList()->currentText(), QStringLiteral("键音"));
            // Other models keep their own.
            QCOMPARE(main.showModel(Model::UH)->squelchList()->currentText(), QStringLiteral("3"));
        }
        {
            MainWindow restarted;
            ModelWindow *w = restarted.showModel(Model::V);
            QCOMPARE(w->squelchList()->currentText(), QStringLiteral("7"));
            QCOMPARE(w->channelToneList()->currentText(), QStringLiteral("键音"));
        }
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "drop");
            db.setDatabaseName(m_dir->filePath(QStringLiteral("zw4630.mdb")));
            QVERIFY(db.open());
            QVERIFY(QSqlQuery(db).exec(QStringLiteral("DROP TABLE \"设置表\"")));
        }
        QSqlDatabase::removeDatabase("drop");
        MessageBoxAnswerer answerer;
        MainWindow older;
        ModelWindow *w = older.showModel(Model::V);
        QCOMPARE(answerer.count(), 0);
        QCOMPARE(w->squelchList()->currentText(), QStringLiteral("3"));
        QCOMPARE(w->channelToneList()->currentText(), QStringLiteral("中文"));
    }

    void shortcutsForFilesAndNotes()
    {
        MainWindow main;
        main.show();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        ModelWindow *w = main.showModel(Model::V);
        QCOMPARE(w->openAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
        QCOMPARE(w->saveAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
        QCOMPARE(w->openAction()->text(), QStringLiteral("打开文件(&O)"));
        QVERIFY(w->session()->beginRead()); // a read holds the table
        QVERIFY(!w->openAction()->isEnabled());
        QVERIFY(!w->saveAction()->isEnabled());
        w->session()->stop();
        QVERIFY(w->openAction()->isEnabled());
        QTest::keyClick(&main, Qt::Key_F1);
        auto *menus = main.findChild<MainMenus *>();
        QTRY_VERIFY(menus->notesWindow() && menus->notesWindow()->isVisible());
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_MAIN(TestGridEditing)
#include "tst_gridediting.moc"
