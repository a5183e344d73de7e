#include "channelstore.h"
#include "channeltablemodel.h"
#include "eventcounter.h"
#include "language.h"
#include "mainwindow.h"
#include "menubarchanges.h"
#include "messageboxanswerer.h"
#include "modelchoicedialog.h"
#include "modelwindow.h"
#include "okcheck.h"
#include "radiosession.h"
#include "windowlayout.h"
#include "windowtestfolder.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

using namespace zw;
using zw::test::EventCounter;
using zw::test::MessageBoxAnswerer;

Q_DECLARE_METATYPE(zw::Model)

namespace
{

QString actionText(QWidget *window, const char *name)
{
    auto *action = window->findChild<QAction *>(QString::fromUtf8(name));
    return action ? action->text() : QStringLiteral("<missing>");
}

QStringList headerTexts(ModelWindow *w)
{
    QStringList texts;
    for (int c = 0; c < 9; ++c)
        texts << w->tableModel()->headerData(c, Qt::Horizontal).toString();
    return texts;
}

// The four original models as the product defines them: the radio as one line of facts, and the
// window as it was drawn. Every other per-model test takes its rows from the model table, which
// is held to these facts here; a model added since gets the default window.
struct OriginalModel {
    const char *name;
    const char *facts; // short name, code, band limits, offset, database, write step, watts
    const char *caption;
    int txToneBlanks; // after "发哑音"
    int menuBlanks;   // before "读信道数据(&R)"
    int rxTwips;      // width of the receive column
    int otherBlanks;  // after the comma when naming a radio of most other models
};

const OriginalModel originalModels[] = {
    {"ZW4630V", "V 4 130/136/174/180 -21.4 zw4630.mdb 100 5/1", "ZW4630V  (136MHz-174MHz)", 11, 4,
     1275, 2},
    {"ZW4630UH", "UH 1 400/430/470/500 45.05 zw7150H.mdb 200 4/1", "ZW4630UH (430MHz-470MHz)", 6, 4,
     1155, 1},
    {"ZW4630UM", "UM 2 380/400/430/450 45.05 zw7150M.mdb 100 4/1", "ZW4630UM  (400MHz-430MHz)", 6,
     3, 1155, 1},
    {"ZW4630UL", "UL 3 340/350/370/380 45.05 zw7150L.mdb 100 4/1", "ZW4630UL  (350MHz-370MHz)", 6,
     3, 1155, 2},
};

const OriginalModel *originalModel(Model model)
{
    for (const OriginalModel &original : originalModels)
        if (modelInfo(model).name == QLatin1String(original.name))
            return &original;
    return nullptr;
}

} // namespace

class TestModelWindows : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = test::enterFreshWindowFolder();
        QVERIFY(m_dir);
    }

    // Each model's window as it opens: the original four as they were drawn, any other model
    // with the default window.
    void freshWindowShowsItsModel_data()
    {
        QTest::addColumn<Model>("model");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("database");
        QTest::addColumn<QString>("txToneCaption");
        QTest::addColumn<QString>("readCaption");
        QTest::addColumn<int>("rxWidth");
        for (Model model : allModels) {
            const ModelInfo &info = modelInfo(model);
            const OriginalModel *original = originalModel(model);
            const QString caption = original ? QString::fromUtf8(original->caption)
                                             : QStringLiteral("%1  (%2MHz-%3MHz)")
                                                   .arg(info.name)
                                                   .arg(info.band.bandLow)
                                                   .arg(info.band.bandHigh);
            QTest::newRow(qPrintable(info.name))
                << model << caption << info.databaseFile
                << QStringLiteral("发哑音") + QString(original ? original->txToneBlanks : 6, u' ')
                << QString(original ? original->menuBlanks : 3, u' ') +
                       QStringLiteral("读信道数据(&R)")
                << (original ? original->rxTwips : 1155) / 15;
        }
    }

    // The model table holds the facts of the original four radios.
    void originalModelsKeepTheirFacts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("facts");
        for (const OriginalModel &original : originalModels)
            QTest::newRow(original.name) << original.name << original.facts;
    }

    void originalModelsKeepTheirFacts()
    {
        QFETCH(QString, name);
        QFETCH(QString, facts);
        const std::optional<Model> model = modelFromName(name);
        QVERIFY2(model, "not in the model table");
        const ModelInfo &i = modelInfo(*model);
        const BandLimits &b = i.band;
        QCOMPARE(QStringLiteral("%1 %2 %3/%4/%5/%6 %7 %8 %9 %10/%11")
                     .arg(i.shortName, i.code)
                     .arg(b.clampFloor)
                     .arg(b.bandLow)
                     .arg(b.bandHigh)
                     .arg(b.clampCeiling)
                     .arg(i.receiveOffsetMHz)
                     .arg(i.databaseFile)
                     .arg(i.timer1IntervalMs)
                     .arg(i.highPowerWatts)
                     .arg(i.lowPowerWatts),
                 facts);
    }

    void freshWindowShowsItsModel()
    {
        QFETCH(Model, model);
        QFETCH(QString, caption);
        QFETCH(QString, database);
        QFETCH(QString, txToneCaption);
        QFETCH(QString, readCaption);
        QFETCH(int, rxWidth);
        MessageBoxAnswerer answerer;
        MainWindow main;
        ModelWindow *w = main.showModel(model);
        QVERIFY(w);
        QCOMPARE(answerer.count(), 0);
        QCOMPARE(w->windowTitle(), caption);
        QCOMPARE(main.mdiArea()->subWindowList().size(), 1);
        QVERIFY(QFile::exists(m_dir->filePath(database)));
        QCOMPARE(w->currentRow(), 0);
        QCOMPARE(w->squelchList()->currentText(), QStringLiteral("3"));
        QCOMPARE(w->channelToneList()->currentText(), QStringLiteral("中文"));
        QCOMPARE(w->statusLine()->text(), QStringLiteral(" "));
        QCOMPARE(w->findChild<QLabel *>(QStringLiteral("Label4"))->text(),
                 QStringLiteral("静噪级别："));
        QCOMPARE(w->findChild<QLabel *>(QStringLiteral("Label7"))->text(),
                 QStringLiteral("信道音："));
        QCOMPARE(headerTexts(w),
                 (QStringList{"信道号", "接收频率", "收哑音       ", "发送频率", txToneCaption,
                              "扫描      ", "BCL      ", "拍频       ", "功率       "}));
        QCOMPARE(w->grid()->columnWidth(1), rxWidth);
        QCOMPARE(actionText(w, "读信道"), readCaption);
        QCOMPARE(actionText(w, "型号"), QStringLiteral(" 对讲机型号"));
        QCOMPARE(w->findChild<QTimer *>(QStringLiteral("Timer1"))->interval(),
                 modelInfo(model).timer1IntervalMs);
        QVERIFY(w->findChild<QTimer *>(QStringLiteral("Timer3"))->isActive());
        QVERIFY(!w->findChild<QTimer *>(QStringLiteral("Timer1"))->isActive());
        for (int row = 0; row < 16; ++row) {
            QCOMPARE(w->tableModel()->index(row, 0).data().toString(), QString::number(row + 1));
            for (int c = 1; c < 9; ++c)
                QCOMPARE(w->tableModel()->index(row, c).data().toString(), QString());
        }
        for (int c = 0; c < 9; ++c) {
            const bool editable =
                w->tableModel()->flags(w->tableModel()->index(0, c)) & Qt::ItemIsEditable;
            QCOMPARE(editable, c == 1 || c == 3);
        }
        // At the main window's default size the status line and the progress bar are in view.
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        QWidget *area = main.mdiArea()->viewport();
        for (QWidget *part :
             {static_cast<QWidget *>(w->parentWidget()), static_cast<QWidget *>(w->statusLine()),
              w->findChild<QWidget *>(QStringLiteral("transferProgress"))}) {
            QVERIFY(part);
            const QRect shownAt(part->mapTo(area, QPoint(0, 0)), part->size());
            QVERIFY2(area->rect().contains(shownAt),
                     qPrintable(QStringLiteral("%1 at %2,%3 %4x%5 outside %6x%7")
                                    .arg(part->objectName())
                                    .arg(shownAt.x())
                                    .arg(shownAt.y())
                                    .arg(shownAt.width())
                                    .arg(shownAt.height())
                                    .arg(area->width())
                                    .arg(area->height())));
        }
    }

    // Every model has its row in the window table, and through it a menu item, a Dialog1
    // option that fits above the buttons, and a window that opens with its own caption.
    void everyModelHasACompleteWindowRow_data()
    {
        QTest::addColumn<Model>("model");
        for (Model model : allModels)
            QTest::newRow(qPrintable(modelInfo(model).name)) << model;
    }

    void everyModelHasACompleteWindowRow()
    {
        QFETCH(Model, model);
        const QString name = modelInfo(model).name;
        const ModelWindowLayout &row = modelWindowLayout(model);
        QCOMPARE(row.model, model);
        QVERIFY2(row.caption.startsWith(name), qPrintable(row.caption));
        QCOMPARE(row.dialogOption.trimmed(), name);
        for (int size : {row.geometry.width, row.geometry.height, row.grid.width, row.grid.height,
                         row.menuLeadingBlanks})
            QVERIFY(size > 0);
        for (int width : row.columnWidths)
            QVERIFY(width > 0);
        const PickListLefts &lefts = row.pickListLefts;
        for (int left : {lefts.toneBoth, lefts.txTone, lefts.scan, lefts.bcl, lefts.beat,
                         lefts.power, lefts.squelch, lefts.channelTone})
            QVERIFY(left > 0);
        for (Model radio : allModels)
            QVERIFY(otherRadioMessage(row, radio)
                        .startsWith(QStringLiteral("本机是") + modelInfo(radio).name + u','));

        MainWindow main;
        auto *menu = main.findChild<QMenu *>(QStringLiteral("型号"));
        QCOMPARE(menu->actions().size(), int(modelCount));
        const QList<QAction *> items = menu->findChildren<QAction *>(row.menuItemName);
        QCOMPARE(items.size(), 1);
        QCOMPARE(items.first()->text(), name);
        items.first()->trigger();
        QVERIFY(main.modelWindow(model));
        QCOMPARE(main.modelWindow(model)->windowTitle(), row.caption);

        main.showModelChoiceDialog();
        ModelChoiceDialog *dialog = main.modelChoiceDialog();
        QRadioButton *option = dialog->option(model);
        QVERIFY(option);
        QCOMPARE(option->text(), row.dialogOption);
        const QRect buttons =
            dialog->findChild<QPushButton *>(QStringLiteral("OKButton"))->geometry();
        QVERIFY(option->geometry().bottom() < buttons.top());
        QVERIFY(dialog->rect().contains(buttons));
        dialog->close();
    }

    // The "another model" message of each window, blanks and "！" as each window has them.
    void otherRadioMessageOfEachWindow_data()
    {
        QTest::addColumn<Model>("window");
        QTest::addColumn<Model>("radio");
        QTest::addColumn<QString>("text");
        const struct {
            Model window;
            Model radio;
            const char *text;
        } rows[] = {
            {Model::V, Model::UH, "本机是ZW4630UH,  需要转换窗口,重读数据！"},
            {Model::V, Model::UM, "本机是ZW4630UM,  需要转换窗口,重读数据！"},
            {Model::V, Model::UL, "本机是ZW4630UL, 需要转换窗口,重读数据！"},
            {Model::UH, Model::UM, "本机是ZW4630UM, 需要转换窗口,重读数据！"},
            {Model::UH, Model::UL, "本机是ZW4630UL, 需要转换窗口,重读数据！"},
            {Model::UH, Model::V, "本机是ZW4630V, 需要转换窗口,重读数据！"},
            {Model::UM, Model::UH, "本机是ZW4630UH, 需要转换窗口,重读数据"},
            {Model::UM, Model::UL, "本机是ZW4630UL, 需要转换窗口,重读数据！"},
            {Model::UM, Model::V, "本机是ZW4630V, 需要转换窗口,重读数据！"},
            {Model::UL, Model::UH, "本机是ZW4630UH,  需要转换窗口,重读数据！"},
            {Model::UL, Model::UM, "本机是ZW4630UM,  需要转换窗口,重读数据！"},
            {Model::UL, Model::V, "本机是ZW4630V,  需要转换窗口,重读数据！"},
        };
        for (const auto &row : rows)
            QTest::addRow("%s window, %s radio", qPrintable(modelInfo(row.window).name),
                          qPrintable(modelInfo(row.radio).name))
                << row.window << row.radio << QString::fromUtf8(row.text);
        // A model added since: its window names others with one blank and "！"; an original
        // window names it as it names most models.
        for (Model window : allModels) {
            const OriginalModel *original = originalModel(window);
            for (Model radio : allModels) {
                if (radio == window || (original && originalModel(radio)))
                    continue;
                const int blanks = original ? original->otherBlanks : 1;
                QTest::addRow("%s window, %s radio", qPrintable(modelInfo(window).name),
                              qPrintable(modelInfo(radio).name))
                    << window << radio
                    << QStringLiteral("本机是%1,%2需要转换窗口,重读数据！")
                           .arg(modelInfo(radio).name, QString(blanks, u' '));
            }
        }
    }

    void otherRadioMessageOfEachWindow()
    {
        QFETCH(Model, window);
        QFETCH(Model, radio);
        QFETCH(QString, text);
        QCOMPARE(otherRadioMessage(modelWindowLayout(window), radio), text);
    }

    void englishModeAppliesAtLoadOnly()
    {
        MainWindow main;
        ModelWindow *before = main.showModel(Model::UH);
        setLanguageMode(2);
        ModelWindow *w = main.showModel(Model::V);
        QCOMPARE(actionText(w, "型号"), QStringLiteral("        Model"));
        QCOMPARE(actionText(w, "文件"), QStringLiteral("        &File"));
        QCOMPARE(actionText(w, "读信道"), QStringLiteral("      &Read Data"));
        QCOMPARE(actionText(w, "写信道"), QStringLiteral("      &Write Data"));
        QCOMPARE(actionText(w, "退出"), QStringLiteral("        &Exit"));
        QCOMPARE(actionText(w, "打开"), QStringLiteral("打开文件(&O)"));
        QCOMPARE(actionText(w, "保存"), QStringLiteral("保存文件(&V)"));
        QCOMPARE(w->findChild<QLabel *>(QStringLiteral("Label4"))->text(),
                 QStringLiteral("Squelch Level"));
        QCOMPARE(w->findChild<QLabel *>(QStringLiteral("Label7"))->text(),
                 QStringLiteral("CH Tone"));
        QCOMPARE(headerTexts(w), (QStringList{"No", "RxFrequency", "QT/DQT Dec      ",
                                              "TxFrequency", "QT/DQT Enc      ", "Scan      ",
                                              "BCL      ", "Beat     ", "Power      "}));
        // The window opened before the switch keeps its Chinese texts.
        QCOMPARE(actionText(before, "读信道"), QStringLiteral("    读信道数据(&R)"));
    }

    // Without a mouse: F10, or Alt alone, opens the main window's first menu, from which a
    // model window opens; in an English model window Alt+E is Exit, as in a Chinese one.
    void keyboardReachesTheMenus_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::newRow("F10, Down, Return") << "F10";
        QTest::newRow("Alt alone, Down, Return") << "Alt";
        QTest::newRow("English model window, Alt+E") << "Alt+E";
    }

    void keyboardReachesTheMenus()
    {
        QFETCH(QString, keys);
        if (keys == "Alt+E")
            setLanguageMode(2);
        MainWindow main;
        main.show();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        if (keys == "Alt+E") {
            ModelWindow *w = main.showModel(Model::V);
            QTest::keyClick(w->grid(), Qt::Key_E, Qt::AltModifier);
            QTRY_VERIFY(!main.modelWindow(Model::V));
            return;
        }
        if (keys == "F10") {
            QTest::keyClick(&main, Qt::Key_F10);
        } else {
            QTest::keyPress(&main, Qt::Key_Alt, Qt::AltModifier);
            QTest::keyRelease(&main, Qt::Key_Alt, Qt::NoModifier);
        }
        auto *models = main.findChild<QMenu *>(QStringLiteral("型号"));
        QTRY_COMPARE(main.menuBar()->activeAction(), models->menuAction());
        // The menu bar is reached after Alt: Down opens its menu at the first entry. F10 opens
        // the menu itself: Down goes to the first entry.
        QTest::keyClick(keys == "Alt" ? static_cast<QWidget *>(main.menuBar()) : models,
                        Qt::Key_Down);
        QTRY_VERIFY(models->isVisible());
        QTest::keyClick(models, Qt::Key_Return);
        QTRY_VERIFY(main.modelWindow(Model::UH)); // the menu's first model
    }

    void openingTwiceBringsTheSameWindowForward()
    {
        MainWindow main;
        ModelWindow *first = main.showModel(Model::V);
        first->squelchList()->setCurrentText(QStringLiteral("7"));
        ModelWindow *second = main.showModel(Model::V);
        QCOMPARE(first, second);
        QCOMPARE(second->squelchList()->currentText(), QStringLiteral("7")); // not reloaded
        main.showModel(Model::UH);
        QCOMPARE(main.mdiArea()->subWindowList().size(), 2);
        QVERIFY(main.modelWindow(Model::V));
    }

    void dialog1ReplacesKeepsOrDoesNothing_data()
    {
        QTest::addColumn<int>("option"); // -1: none chosen
        QTest::addColumn<bool>("vOpen");
        QTest::addColumn<bool>("ulOpen");
        QTest::addColumn<bool>("uhOpen");
        QTest::newRow("replace by UL") << 2 << false << true << false;
        QTest::newRow("keep V") << 3 << true << false << false;
        QTest::newRow("no choice") << -1 << true << false << true;
    }

    void dialog1ReplacesKeepsOrDoesNothing()
    {
        QFETCH(int, option);
        QFETCH(bool, vOpen);
        QFETCH(bool, ulOpen);
        QFETCH(bool, uhOpen);
        MainWindow main;
        QPointer<ModelWindow> v = main.showModel(Model::V);
        v->squelchList()->setCurrentText(QStringLiteral("9"));
        main.showModel(Model::UH);
        v->findChild<QAction *>(QStringLiteral("型号"))->trigger();
        QPointer<ModelChoiceDialog> dialog = main.modelChoiceDialog();
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Select Model"));
        QCOMPARE(dialog->findChild<QLabel *>()->text(), QStringLiteral("Select Model:"));
        QCOMPARE(dialog->findChild<QPushButton *>(QStringLiteral("CancelButton"))->text(),
                 QStringLiteral("CANCEL"));
        for (int i = 0; i < 4; ++i)
            QVERIFY(!dialog->option(i)->isChecked());
        if (option >= 0)
            dialog->option(option)->setChecked(true);
        dialog->findChild<QPushButton *>(QStringLiteral("OKButton"))->click();
        QTRY_VERIFY(!dialog);
        QCOMPARE(bool(main.modelWindow(Model::V)), vOpen);
        QCOMPARE(bool(main.modelWindow(Model::UL)), ulOpen);
        QCOMPARE(bool(main.modelWindow(Model::UH)), uhOpen);
        if (vOpen) // kept, not reloaded
            QCOMPARE(main.modelWindow(Model::V)->squelchList()->currentText(), QStringLiteral("9"));
        QTRY_COMPARE(main.mdiArea()->subWindowList().size(),
                     int(vOpen) + int(ulOpen) + int(uhOpen));
    }

    void dialog1InEnglishMode()
    {
        setLanguageMode(2);
        MainWindow main;
        main.showModelChoiceDialog();
        ModelChoiceDialog *dialog = main.modelChoiceDialog();
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Select Model"));
        QCOMPARE(dialog->findChild<QLabel *>()->text(), QStringLiteral("Plise Select Model"));
        QCOMPARE(dialog->findChild<QPushButton *>(QStringLiteral("OKButton"))->text(),
                 QStringLiteral("OK"));
        QCOMPARE(dialog->findChild<QPushButton *>(QStringLiteral("CancelButton"))->text(),
                 QStringLiteral("Cancel"));
        QCOMPARE(dialog->option(3)->text(), QStringLiteral("  ZW4630V"));
        dialog->close();
    }

    void typedEntrySurvivesReopenAndRestart()
    {
        {
            MainWindow main;
            ModelWindow *w = main.showModel(Model::UM);
            QTableView *grid = w->grid();
            grid->setCurrentIndex(w->tableModel()->index(4, 1));
            QTest::keyClick(grid, Qt::Key_F2);
            auto *editor = grid->findChild<QLineEdit *>();
            QVERIFY(editor);
            editor->selectAll();
            QTest::keyClicks(editor, QStringLiteral("410.12500"));
            QTest::keyClick(editor, Qt::Key_Return);
            QTRY_VERIFY(!w->tableModel()->index(4, 1).data().toString().isEmpty());
            const QString stored = w->tableModel()->index(4, 1).data().toString();
            w->findChild<QAction *>(QStringLiteral("退出"))->trigger();
            QVERIFY(!main.modelWindow(Model::UM));
            ModelWindow *again = main.showModel(Model::UM);
            QVERIFY(again);
            QCOMPARE(again->tableModel()->index(4, 1).data().toString(), stored);
            m_stored = stored;
        }
        MainWindow restarted;
        ModelWindow *w = restarted.showModel(Model::UM);
        QCOMPARE(w->tableModel()->index(4, 1).data().toString(), m_stored);
    }

    void damagedDatabaseIsSetAsideWithAMessage()
    {
        QFile junk(m_dir->filePath(QStringLiteral("zw4630.mdb")));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write("Standard Jet DB, not ours");
        junk.close();
        MessageBoxAnswerer answerer;
        MainWindow main;
        ModelWindow *w = main.showModel(Model::V);
        QCOMPARE(answerer.count(), 1);
        const auto &box = answerer.seen().first();
        QCOMPARE(box.title, QStringLiteral("系统信息"));
        QVERIFY(box.text.contains(QStringLiteral("zw4630.mdb")));
        const QStringList aside =
            QDir(m_dir->path()).entryList({QStringLiteral("zw4630.mdb.bak-*")});
        QCOMPARE(aside.size(), 1);
        QVERIFY(box.text.contains(aside.first()));
        QFile kept(m_dir->filePath(aside.first()));
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("Standard Jet DB, not ours"));
        QCOMPARE(w->tableModel()->index(15, 0).data().toString(), QStringLiteral("16"));
    }

    void readOnlyDatabaseSaysSoAndTakesNoTyping()
    {
        {
            ChannelStore store;
            ZW_VERIFY_OK(store.open(m_dir->filePath(QStringLiteral("zw7150L.mdb"))));
        }
        QFile::setPermissions(m_dir->filePath(QStringLiteral("zw7150L.mdb")),
                              QFileDevice::ReadOwner);
        MessageBoxAnswerer answerer;
        MainWindow main;
        ModelWindow *w = main.showModel(Model::UL);
        QCOMPARE(answerer.count(), 1);
        QVERIFY(answerer.seen().first().text.contains(QStringLiteral("只读")));
        QVERIFY(!(w->tableModel()->flags(w->tableModel()->index(0, 1)) & Qt::ItemIsEditable));
        QFile::setPermissions(m_dir->filePath(QStringLiteral("zw7150L.mdb")),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }

    void transferLockDisablesTheFourItemsAndTyping()
    {
        MainWindow main;
        ModelWindow *w = main.showModel(Model::V);
        QVERIFY(w->session()->beginRead()); // a read holds the table
        for (const char *name : {"文件", "读信道", "写信道", "退出"})
            QVERIFY2(!w->findChild<QAction *>(QString::fromUtf8(name))->isEnabled(), name);
        QVERIFY(w->findChild<QAction *>(QStringLiteral("型号"))->isEnabled());
        QVERIFY(!(w->tableModel()->flags(w->tableModel()->index(0, 1)) & Qt::ItemIsEditable));
        w->session()->stop();
        for (const char *name : {"文件", "读信道", "写信道", "退出"})
            QVERIFY2(w->findChild<QAction *>(QString::fromUtf8(name))->isEnabled(), name);
    }

    // Items greyed as one change look and sit as if greyed one by one, and the bar is drawn
    // again; a changed text still moves the items after it.
    void menuBarChangesAsOne_data()
    {
        QTest::addColumn<bool>("rename");
        QTest::newRow("greyed") << false;
        QTest::newRow("greyed and renamed") << true;
    }

    void menuBarChangesAsOne()
    {
        QFETCH(bool, rename);
        QMenuBar held;
        QMenuBar plain;
        for (QMenuBar *bar : {&held, &plain}) {
            bar->setNativeMenuBar(false);
            for (const char *text : {"型号(&M)", "文件(&F)", "读信道数据(&R)", "退出(&X)"})
                bar->addAction(QString::fromUtf8(text));
            bar->resize(400, bar->sizeHint().height());
            bar->show();
            QVERIFY(QTest::qWaitForWindowExposed(bar));
        }
        auto change = [rename](QMenuBar *bar) {
            for (QAction *action : bar->actions().mid(1))
                action->setEnabled(false);
            if (rename)
                bar->actions().at(1)->setText(QStringLiteral("文件文件文件文件(&F)"));
        };
        int paints = 0;
        EventCounter counter(&held, QEvent::Paint, &paints);
        {
            const MenuBarChanges asOne(&held);
            change(&held);
        }
        change(&plain);
        QTRY_VERIFY(paints > 0);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(held.actionGeometry(held.actions().at(i)),
                     plain.actionGeometry(plain.actions().at(i)));
        QCOMPARE(held.grab().toImage(), plain.grab().toImage());
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_stored;
};

QTEST_MAIN(TestModelWindows)
#include "tst_modelwindows.moc"
