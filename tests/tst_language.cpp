#include "language.h"
#include "mainwindow.h"
#include "modelwindow.h"
#include "windowtestfolder.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace zw;

Q_DECLARE_METATYPE(zw::Model)

namespace
{

QAction *mainItem(MainWindow &main, const char *name)
{
    return main.menuBar()->findChild<QAction *>(QString::fromUtf8(name));
}

QString mainText(MainWindow &main, const char *name)
{
    QAction *action = mainItem(main, name);
    return action ? action->text() : QStringLiteral("<missing>");
}

// Opens a menu of the main window and closes it again, as a user glancing at it.
void openMenu(MainWindow &main, const char *name)
{
    auto *menu = main.menuBar()->findChild<QMenu *>(QString::fromUtf8(name));
    QVERIFY(menu);
    menu->popup(QPoint(0, 0));
    menu->close();
}

QStringList topLevelTexts(MainWindow &main)
{
    QStringList texts;
    for (const char *name : {"型号", "端口", "语言", "退出", "帮助"})
        texts << mainText(main, name);
    return texts;
}

QString blanks(int n)
{
    return QString(n, u' ');
}

} // namespace

class TestLanguage : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = test::enterFreshWindowFolder();
        QVERIFY(m_dir);
    }

    void startShowsDesignTexts()
    {
        MainWindow main;
        QCOMPARE(main.windowTitle(), QStringLiteral("ZW4630  版本  B1.3"));
        QCOMPARE(topLevelTexts(main),
                 (QStringList{blanks(7) + "对讲机型号", blanks(7) + "设置端口", blanks(7) + "语言",
                              blanks(7) + "退出系统", blanks(7) + "帮助"}));
        openMenu(main, "语言");
        openMenu(main, "帮助");
        QCOMPARE(mainText(main, "中文"), QStringLiteral("中文"));
        QCOMPARE(mainText(main, "英语"), QStringLiteral("英语"));
        QCOMPARE(mainText(main, "说明"), QStringLiteral("操作说明"));
        QCOMPARE(mainText(main, "关于"), QStringLiteral("关于本软件"));
        QCOMPARE(mainText(main, "mnuSaveTrace"), QStringLiteral("保存通信记录…"));
        for (const char *model : {"H", "M", "L", "X"})
            QVERIFY(mainItem(main, model));
    }

    void choicesSwitchTheMainWindowAtOnce_data()
    {
        QTest::addColumn<QStringList>("choices");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("topLevel");
        // 中文, 英语, 说明, 关于, 保存通信记录 once opened
        QTest::addColumn<QStringList>("subItems");
        const QStringList english{blanks(8) + "Model", blanks(8) + "Set Port",
                                  blanks(8) + "Language", blanks(8) + "Exit System",
                                  blanks(8) + "Help"};
        const QStringList chinese{blanks(8) + "型号", blanks(8) + "设置端口", blanks(8) + "语言",
                                  blanks(8) + "退出系统", blanks(8) + "帮助"};
        QTest::newRow("English") << QStringList{"英语"} << 2 << "ZW4630  Version B1.3" << english
                                 << QStringList{"Chinese", "English", "Opertion", "About",
                                                "Save Serial Trace…"};
        QTest::newRow("Chinese") << QStringList{"中文"} << 1 << "ZW4630  版本 B1.3" << chinese
                                 << QStringList{"中文", "英语", "操作说明", "关于本软件",
                                                "保存通信记录…"};
        QTest::newRow("English then Chinese")
            << QStringList{"英语", "中文"} << 1 << "ZW4630  版本 B1.3" << chinese
            << QStringList{"中文", "英语", "操作说明", "关于本软件", "保存通信记录…"};
        QTest::newRow("Chinese then English")
            << QStringList{"中文", "英语"} << 2 << "ZW4630  Version B1.3" << english
            << QStringList{"Chinese", "English", "Opertion", "About", "Save Serial Trace…"};
    }

    void choicesSwitchTheMainWindowAtOnce()
    {
        QFETCH(QStringList, choices);
        QFETCH(int, mode);
        QFETCH(QString, title);
        QFETCH(QStringList, topLevel);
        QFETCH(QStringList, subItems);
        MainWindow main;
        main.show();
        for (const QString &choice : choices) {
            mainItem(main, choice.toUtf8().constData())->trigger();
            openMenu(main, "语言");
            openMenu(main, "帮助");
        }
        QCOMPARE(languageMode(), mode);
        QCOMPARE(main.windowTitle(), title);
        // Qt's own buttons (those of its file dialogs among them) in the language chosen.
        QDialogButtonBox qtButtons(QDialogButtonBox::Cancel);
        QCOMPARE(qtButtons.button(QDialogButtonBox::Cancel)->text(),
                 mode == 2 ? QStringLiteral("Cancel") : QStringLiteral("取消"));
        QCOMPARE(topLevelTexts(main), topLevel);
        QCOMPARE(
            (QStringList{mainText(main, "中文"), mainText(main, "英语"), mainText(main, "说明"),
                         mainText(main, "关于"), mainText(main, "mnuSaveTrace")}),
            subItems);
        for (const char *model : {"H", "M", "L", "X"}) {
            const QString name = QString::fromUtf8(model);
            QCOMPARE(mainText(main, model),
                     QStringLiteral("ZW4630") + (name == "X" ? "V" : "U" + name));
        }
    }

    void subMenusFollowOnlyWhenOpened()
    {
        MainWindow main;
        main.show();
        mainItem(main, "英语")->trigger();
        QCOMPARE(mainText(main, "英语"), QStringLiteral("英语"));
        QCOMPARE(mainText(main, "说明"), QStringLiteral("操作说明"));
        openMenu(main, "语言");
        QCOMPARE(mainText(main, "英语"), QStringLiteral("English"));
        QCOMPARE(mainText(main, "说明"), QStringLiteral("操作说明")); // help menu not opened yet
        openMenu(main, "帮助");
        QCOMPARE(mainText(main, "说明"), QStringLiteral("Opertion"));
        mainItem(main, "中文")->trigger();
        QCOMPARE(mainText(main, "关于"), QStringLiteral("About"));
        openMenu(main, "帮助");
        QCOMPARE(mainText(main, "关于"), QStringLiteral("关于本软件"));
    }

    void modelWindowsTakeTheLanguageAtLoad()
    {
        MainWindow main;
        main.show();
        ModelWindow *before = main.showModel(Model::UH);
        mainItem(main, "英语")->trigger();
        auto text = [](ModelWindow *w, const char *name) {
            return w->findChild<QAction *>(QString::fromUtf8(name))->text();
        };
        QCOMPARE(text(before, "文件"), QStringLiteral("    文件(&F)"));
        ModelWindow *v = main.showModel(Model::V);
        QCOMPARE(text(v, "文件"), blanks(8) + "&File");
        QCOMPARE(text(v, "打开"), QStringLiteral("打开文件(&O)"));
        QCOMPARE(v->findChild<QLabel *>(QStringLiteral("Label7"))->text(),
                 QStringLiteral("CH Tone"));

        // Choosing Chinese leaves open windows as they are; a window opened now is Chinese.
        mainItem(main, "中文")->trigger();
        QCOMPARE(text(v, "文件"), blanks(8) + "&File");
        main.closeModel(Model::V);
        ModelWindow *um = main.showModel(Model::UM);
        QCOMPARE(text(um, "文件"), QStringLiteral("   文件(&F)"));
        QCOMPARE(um->findChild<QLabel *>(QStringLiteral("Label4"))->text(),
                 QStringLiteral("静噪级别："));
    }

    // Alt and a letter reaches one top-level item of a model window, in either language: no
    // two items share a letter, and the Edit menu has one of its own.
    void modelWindowMnemonicsAreDistinct_data()
    {
        QTest::addColumn<Model>("model");
        QTest::addColumn<bool>("english");
        for (Model model : allModels) {
            const QByteArray name = modelInfo(model).name.toLatin1();
            QTest::addRow("%s Chinese", name.constData()) << model << false;
            QTest::addRow("%s English", name.constData()) << model << true;
        }
    }

    void modelWindowMnemonicsAreDistinct()
    {
        QFETCH(Model, model);
        QFETCH(bool, english);
        MainWindow main;
        main.show();
        mainItem(main, english ? "英语" : "中文")->trigger();
        ModelWindow *w = main.showModel(model);
        setLanguageMode(0);
        QMap<int, QString> letters;
        for (QAction *item : w->findChild<QMenuBar *>(QStringLiteral("menuBar"))->actions()) {
            const QKeySequence mnemonic = QKeySequence::mnemonic(item->text());
            if (mnemonic.isEmpty())
                continue;
            const int key = mnemonic[0].key();
            QVERIFY2(!letters.contains(key),
                     qPrintable(letters.value(key) + QStringLiteral(" / ") + item->text()));
            letters.insert(key, item->text());
        }
        QVERIFY(!QKeySequence::mnemonic(w->findChild<QAction *>(QStringLiteral("编辑"))->text())
                     .isEmpty());
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_MAIN(TestLanguage)
#include "tst_language.moc"
