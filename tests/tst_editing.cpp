#include "bandmarkdelegate.h"
#include "channeldocument.h"
#include "channeleditor.h"
#include "channelstore.h"
#include "channeltablemodel.h"
#include "language.h"
#include "mainwindow.h"
#include "messageboxanswerer.h"
#include "modelwindow.h"
#include "radiosession.h"
#include "windowtestfolder.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QUndoStack>
#include <QtTest>

using namespace zw;
using zw::test::MessageBoxAnswerer;

Q_DECLARE_METATYPE(zw::Model)

namespace
{

QString cell(ModelWindow *w, int row, int column)
{
    return w->tableModel()->index(row, column).data().toString();
}

QString field(ModelWindow *w, int row, int f)
{
    return w->document()->record(row)[f];
}

ChannelEditor *editorOf(ModelWindow *w)
{
    return w->findChild<ChannelEditor *>();
}

// Types `text` into a grid cell the way a user does: F2, the text, Return.
void typeInto(ModelWindow *w, int row, int column, const QString &text)
{
    QTableView *grid = w->grid();
    const QModelIndex index = w->tableModel()->index(row, column);
    grid->setCurrentIndex(index);
    QTest::keyClick(grid, Qt::Key_F2);
    auto *editor = qobject_cast<QLineEdit *>(grid->indexWidget(index));
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
}

// Chooses `entry` from a pick list through its open list view, as a click would.
void choose(QComboBox *combo, const QString &entry)
{
    const int index = combo->findText(entry, Qt::MatchExactly);
    QVERIFY2(index >= 0, qPrintable(entry));
    combo->showPopup();
    QAbstractItemView *view = combo->view();
    QTRY_VERIFY(view->isVisible());
    view->setCurrentIndex(combo->model()->index(index, 0));
    QTest::keyClick(view, Qt::Key_Return);
    QTRY_VERIFY(!view->isVisible());
}

} // namespace

class TestEditing : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = test::enterFreshWindowFolder();
        QVERIFY(m_dir);
    }

    void typedAndPickedValuesAreStoredAndUndoable()
    {
        MessageBoxAnswerer answerer;
        MainWindow main;
        main.show();
        ModelWindow *w = main.showModel(Model::V);
        ChannelEditor *editor = editorOf(w);
        QVERIFY(editor);

        typeInto(w, 0, 1, QStringLiteral("145.0123"));
        QTRY_COMPARE(cell(w, 0, 1), QStringLiteral("145.01000"));
        QCOMPARE(cell(w, 0, 3), QStringLiteral("145.01000"));
        QCOMPARE(field(w, 0, Scan) + field(w, 0, Bcl) + field(w, 0, Beat) + field(w, 0, Power),
                 QStringLiteral("addoffoffH"));
        QCOMPARE(answerer.count(), 0);

        typeInto(w, 1, 1, QStringLiteral("129"));
        QTRY_COMPARE(cell(w, 1, 1), QStringLiteral("136.00000"));
        QTRY_COMPARE(answerer.count(), 1);
        const MessageBoxAnswerer::Seen box = answerer.seen().first();
        QCOMPARE(box.icon, QMessageBox::Information);
        QCOMPARE(box.title, QStringLiteral("错误警告 "));
        QCOMPARE(box.text, QStringLiteral("数据超出范围 ！！"));
        QCOMPARE(box.buttons.size(), 1);

        typeInto(w, 1, 3, QStringLiteral("175"));
        QTRY_COMPARE(cell(w, 1, 3), QStringLiteral("175.00000"));
        QTRY_COMPARE(answerer.count(), 2);

        // Pick lists apply to the current row; Combo1 sets both tones, Combo3 the transmit one.
        w->grid()->setCurrentIndex(w->tableModel()->index(0, 2));
        choose(editor->pickList(PickList::ToneBoth), QStringLiteral("D023N"));
        QCOMPARE(cell(w, 0, 2), QStringLiteral("D023N"));
        QCOMPARE(cell(w, 0, 4), QStringLiteral("D023N"));
        choose(editor->pickList(PickList::TxTone), QStringLiteral("67.0"));
        QCOMPARE(cell(w, 0, 2), QStringLiteral("D023N"));
        QCOMPARE(cell(w, 0, 4), QStringLiteral("67.0"));
        // The same entry chosen again on another row applies again.
        w->grid()->setCurrentIndex(w->tableModel()->index(1, 0));
        choose(editor->pickList(PickList::TxTone), QStringLiteral("67.0"));
        QCOMPARE(cell(w, 1, 4), QStringLiteral("67.0"));
        // On an empty channel a choice leaves the field empty and adds no step.
        const int steps = w->document()->undoCount();
        w->grid()->setCurrentIndex(w->tableModel()->index(5, 0));
        choose(editor->pickList(PickList::Power), QStringLiteral("L"));
        QCOMPARE(cell(w, 5, 8), QString());
        QCOMPARE(editor->pickList(PickList::Power)->currentText(), QStringLiteral("L"));
        QCOMPARE(w->document()->undoCount(), steps);

        // Delete on a transmit cell removes it; Ctrl+Z / Ctrl+Y take it back and forth.
        // (offscreen, a closed popup stays the active window until the frame is activated)
        main.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        w->grid()->setFocus();
        QTRY_VERIFY(w->grid()->hasFocus());
        w->grid()->setCurrentIndex(w->tableModel()->index(1, 3));
        QTest::keyClick(w->grid(), Qt::Key_Delete);
        QCOMPARE(cell(w, 1, 3), QString());
        QTest::keyClick(w->grid(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(cell(w, 1, 3), QStringLiteral("175.00000"));
        QTest::keyClick(w->grid(), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(cell(w, 1, 3), QString());
        QTest::keyClick(w->grid(), Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(w->grid(), Qt::Key_Z, Qt::ControlModifier); // the Combo3 choice on row 2
        QCOMPARE(cell(w, 1, 3), QStringLiteral("175.00000"));
        QCOMPARE(cell(w, 1, 4), QString());
        QVERIFY(editor->redoAction()->isEnabled());

        w->findChild<QAction *>(QStringLiteral("退出"))->trigger();
        QVERIFY(!main.modelWindow(Model::V));
        ModelWindow *again = main.showModel(Model::V);
        const QStringList row1{cell(again, 0, 1), cell(again, 0, 2), cell(again, 0, 3),
                               cell(again, 0, 4), cell(again, 0, 8)};
        QCOMPARE(row1, (QStringList{"145.01000", "D023N", "145.01000", "67.0", "H"}));
        const QStringList row2{cell(again, 1, 1), cell(again, 1, 3), cell(again, 1, 4)};
        QCOMPARE(row2, (QStringList{"136.00000", "175.00000", ""}));
        QVERIFY(!editorOf(again)->undoAction()->isEnabled()); // history ends with the window
        QCOMPARE(answerer.count(), 2);
    }

    // An out-of-range entry: the message first, while the grid still shows what the cell held;
    // the held value is stored and shown after the user closed the message.
    void rangeMessageComesBeforeTheHeldValue_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("marked"); // kept outside the band: tinted, with a tool tip
        QTest::newRow("receive below the floor") << 1 << "129"
                                                 << "136.00000" << false;
        QTest::newRow("receive in the lower margin") << 1 << "131"
                                                     << "131.00000" << true;
        QTest::newRow("receive above the ceiling") << 1 << "181"
                                                   << "174.00000" << false;
        QTest::newRow("transmit in the upper margin") << 3 << "175"
                                                      << "175.00000" << true;
        QTest::newRow("transmit below the floor") << 3 << "100"
                                                  << "136.00000" << false;
    }

    void rangeMessageComesBeforeTheHeldValue()
    {
        QFETCH(int, column);
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        QFETCH(bool, marked);
        MessageBoxAnswerer answerer;
        MainWindow main;
        main.show();
        ModelWindow *w = main.showModel(Model::V);
        typeInto(w, 2, 1, QStringLiteral("145"));
        QTRY_COMPARE(cell(w, 2, 1), QStringLiteral("145.00000"));
        QCOMPARE(answerer.count(), 0);

        QStringList behindTheBox;
        answerer.whileShown([&] { behindTheBox << cell(w, 2, 1) << cell(w, 2, 3); });
        typeInto(w, 2, column, typed);
        QTRY_COMPARE(answerer.count(), 1);
        QCOMPARE(answerer.seen().first().text, QStringLiteral("数据超出范围 ！！"));
        QCOMPARE(behindTheBox, (QStringList{"145.00000", "145.00000"}));
        QTRY_COMPARE(cell(w, 2, column), stored);
        QCOMPARE(cell(w, 2, 1), column == 1 ? stored : QStringLiteral("145.00000"));
        QCOMPARE(cell(w, 2, 3), stored);
        auto *marks = qobject_cast<BandMarkDelegate *>(w->grid()->itemDelegate());
        QVERIFY(marks);
        QCOMPARE(marks->isMarked(w->tableModel()->index(2, 3)), marked);
        QCOMPARE(marks->isMarked(w->tableModel()->index(2, 1)), marked && column == 1);
        QVERIFY(!marks->isMarked(w->tableModel()->index(3, 1)));
        QCOMPARE(marks->toolTip(), QStringLiteral("超出 136–174 MHz 频段，按输入保留"));
    }

    // One undo step gives back the whole record, also after Delete emptied the channel.
    void deleteOnReceiveEmptiesChannelAndUndoRestoresIt()
    {
        MessageBoxAnswerer answerer;
        MainWindow main;
        ModelWindow *w = main.showModel(Model::UH);
        ChannelEditor *editor = editorOf(w);
        ChannelRecord full = w->document()->record(3);
        const QStringList values{"4",  "435.10000", "88.5", "s3", "440.00000", "D754N",
                                 "s6", "del",       "2",    "on", "L"};
        for (int f = 0; f < fieldCount; ++f)
            full[f] = values.at(f);
        QVERIFY(w->document()->edit([&](ChannelTable t) {
            t[static_cast<std::size_t>(3)] = full;
            return t;
        }));

        w->grid()->setCurrentIndex(w->tableModel()->index(3, 1));
        QTest::keyClick(w->grid(), Qt::Key_Delete);
        ChannelRecord emptied = full;
        for (int f : {RxFrequency, RxTone, TxFrequency, TxTone, Scan, Bcl, Beat, Power})
            emptied[f] = QString();
        QVERIFY(w->document()->record(3) == emptied);
        editor->undoAction()->trigger();
        QVERIFY(w->document()->record(3) == full);
        // Delete elsewhere than on a frequency cell changes nothing.
        w->grid()->setCurrentIndex(w->tableModel()->index(3, 2));
        QTest::keyClick(w->grid(), Qt::Key_Delete);
        QVERIFY(w->document()->record(3) == full);
        QCOMPARE(answerer.count(), 0);
    }

    void historyEndsAtTableReplacementAndWaitsOutTransfers()
    {
        MainWindow main;
        ModelWindow *w = main.showModel(Model::UL);
        ChannelEditor *editor = editorOf(w);
        editor->enterText(0, 1, QStringLiteral("360"));
        QVERIFY(editor->undoAction()->isEnabled());

        QVERIFY(w->session()->beginRead()); // a read holds the table
        QVERIFY(!editor->undoAction()->isEnabled());
        QVERIFY(!editor->redoAction()->isEnabled());
        for (PickList list : allPickLists)
            QVERIFY(!editor->pickList(list)->isEnabled());
        w->session()->stop();
        QVERIFY(editor->undoAction()->isEnabled());
        QVERIFY(editor->pickList(PickList::ToneBoth)->isEnabled());

        QVERIFY(w->document()->replace(w->document()->records(), std::nullopt));
        QCOMPARE(w->document()->undoCount(), 0);
        QVERIFY(!editor->undoAction()->isEnabled());
        QCOMPARE(cell(w, 0, 1), QStringLiteral("360.00000"));
    }

    // An undo or redo refused because another program changed what it would write offers to
    // discard that step; once discarded, the step beyond it is reached. Kept, it is refused
    // again.
    void refusedStepCanBeDiscarded_data()
    {
        QTest::addColumn<bool>("undoing");
        QTest::addColumn<bool>("discard");
        QTest::newRow("undo, discarded") << true << true;
        QTest::newRow("undo, kept") << true << false;
        QTest::newRow("redo, discarded") << false << true;
        QTest::newRow("redo, kept") << false << false;
    }

    void refusedStepCanBeDiscarded()
    {
        QFETCH(bool, undoing);
        QFETCH(bool, discard);
        MainWindow main;
        ModelWindow *w = main.showModel(Model::V);
        ChannelEditor *editor = editorOf(w);
        QVERIFY(w->document()->edit([](ChannelTable t) {
            for (std::size_t row : {0, 1}) {
                t[row][RxFrequency] = QStringLiteral("145.00000");
                t[row][Power] = QStringLiteral("H");
            }
            return t;
        }));
        w->document()->clearHistory();
        editor->pickOn(0, PickList::Power, QStringLiteral("L"));
        editor->pickOn(1, PickList::Power, QStringLiteral("L"));
        if (!undoing) {
            editor->undo();
            editor->undo();
        }
        // Another program changes the power the next step would write.
        ChannelStore other;
        QVERIFY(other.open(w->document()->path()).ok());
        const int touched = undoing ? 1 : 0;
        QVERIFY(
            other.setField(touched, Power, undoing ? QStringLiteral("H") : QStringLiteral("L")));

        MessageBoxAnswerer answerer;
        answerer.answerWith(discard ? QStringLiteral("放弃这一步") : QStringLiteral("保留"));
        const auto step = [&] { undoing ? editor->undo() : editor->redo(); };
        step();
        QCOMPARE(answerer.count(), 1);
        QVERIFY(answerer.seen()[0].text.endsWith(
            undoing ? QStringLiteral("要放弃这一步，以便撤销更早的步骤吗？")
                    : QStringLiteral("要放弃这一步，以便重做后面的步骤吗？")));
        step();
        // The other channel's step: reached once the refused one is gone.
        const int other_ = 1 - touched;
        QCOMPARE(answerer.count(), discard ? 1 : 2);
        QCOMPARE(field(w, other_, Power),
                 (discard == undoing) ? QStringLiteral("H") : QStringLiteral("L"));
        QCOMPARE(field(w, touched, Power), undoing ? QStringLiteral("H") : QStringLiteral("L"));
        QCOMPARE(editor->undoAction()->isEnabled(), undoing != discard);
    }

    // A change the database refuses is reported, left out of the history, and the grid keeps
    // showing what is stored. The range message comes before the write, so it is the first of
    // the two messages.
    void refusedWriteIsReported()
    {
        MessageBoxAnswerer answerer;
        MainWindow main;
        ModelWindow *w = main.showModel(Model::V);
        ChannelEditor *editor = editorOf(w);
        w->document()->close();
        editor->enterText(2, 1, QStringLiteral("200"));
        QTRY_COMPARE(answerer.count(), 2);
        QCOMPARE(answerer.seen().at(0).text, QStringLiteral("数据超出范围 ！！"));
        QCOMPARE(answerer.seen().at(1).title, QStringLiteral("系统信息"));
        QCOMPARE(cell(w, 2, 1), QString());
        QCOMPARE(w->document()->undoCount(), 0);
        QTest::qWait(50);
        QCOMPARE(answerer.count(), 2);
    }

    // Each pick list lies inside the grid's header band, over the column it sets.
    void pickListsSitOverTheirColumns_data()
    {
        QTest::addColumn<Model>("model");
        for (Model m : allModels)
            QTest::newRow(modelInfo(m).name.toLatin1().constData()) << m;
    }

    void pickListsSitOverTheirColumns()
    {
        QFETCH(Model, model);
        MainWindow main;
        main.show();
        ModelWindow *w = main.showModel(model);
        ChannelEditor *editor = editorOf(w);
        QHeaderView *header = w->grid()->horizontalHeader();
        const QRect band(header->mapTo(w->client(), QPoint(0, 0)), header->size());
        const QList<QPair<PickList, int>> columns{{PickList::ToneBoth, 2}, {PickList::TxTone, 4},
                                                  {PickList::Scan, 5},     {PickList::Bcl, 6},
                                                  {PickList::Beat, 7},     {PickList::Power, 8}};
        for (const auto &[list, column] : columns) {
            QComboBox *combo = editor->pickList(list);
            const QRect g = combo->geometry();
            QVERIFY2(band.top() <= g.top() && g.bottom() <= band.bottom(),
                     qPrintable(pickListName(list)));
            const int left = band.left() + header->sectionViewportPosition(column);
            const int right = left + header->sectionSize(column);
            QVERIFY2(left <= g.center().x() && g.center().x() < right,
                     qPrintable(pickListName(list)));
            QCOMPARE(combo->currentIndex(), -1);
            QVERIFY(!combo->isEditable());
            QCOMPARE(combo->palette().color(QPalette::ButtonText), QColor(Qt::red));
        }
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_MAIN(TestEditing)
#include "tst_editing.moc"
