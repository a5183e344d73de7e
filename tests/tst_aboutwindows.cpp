#include "aboutdialog.h"
#include "filedialoganswerer.h"
#include "mainmenus.h"
#include "mainwindow.h"
#include "messageboxanswerer.h"
#include "modelchoicedialog.h"
#include "modelwindow.h"
#include "operationnotesdialog.h"
#include "portdialog.h"
#include "programicon.h"
#include "serialtrace.h"

#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStyle>
#include <QTemporaryDir>
#include <QtTest>

using namespace zw;
using zw::test::FileDialogAnswerer;
using zw::test::MessageBoxAnswerer;

Q_DECLARE_METATYPE(Qt::Key)

class TestAboutWindows : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QApplication::setApplicationName(QStringLiteral("ZW4630"));
        QVERIFY(m_dir.isValid());
        QVERIFY(QDir::setCurrent(m_dir.path()));
    }

    void notesTextAndLines()
    {
        const QString notes = OperationNotesDialog::notesText();
        QVERIFY(notes.startsWith(QString(18, u' ') + QStringLiteral("操作说明") +
                                 QString(25, u' ') + "一，"));
        QVERIFY(notes.contains(QStringLiteral("后缀  .doc）。      同样")));
        QVERIFY(notes.contains(QStringLiteral("可操作\"系统设置\"菜单       的")));
        QVERIFY(notes.endsWith(QStringLiteral("串行      口。    ")));
        const QStringList lines = OperationNotesDialog::displayText(notes).split(u'\n');
        QCOMPARE(lines.size(), 13);
        QCOMPARE(lines[0], QString(18, u' ') + QStringLiteral("操作说明"));
        QCOMPARE(lines[6], QStringLiteral("件”子菜单，打开保存文件对话框，可以将当前"));
        QCOMPARE(lines[7], QStringLiteral("的频率数据保存（文件名自选，后缀  .doc）。"));
        QCOMPARE(lines[12], QStringLiteral("口。"));
    }

    void enterAndEscClose_data()
    {
        QTest::addColumn<QByteArray>("item");
        QTest::addColumn<Qt::Key>("key");
        QTest::newRow("about, Enter") << QByteArray("关于") << Qt::Key_Return;
        QTest::newRow("about, Esc") << QByteArray("关于") << Qt::Key_Escape;
        QTest::newRow("notes, Enter") << QByteArray("说明") << Qt::Key_Return;
        QTest::newRow("notes, Esc") << QByteArray("说明") << Qt::Key_Escape;
    }

    void enterAndEscClose()
    {
        QFETCH(QByteArray, item);
        QFETCH(Qt::Key, key);
        MainWindow main;
        main.show();
        QPointer<QDialog> window = open(main, item.constData());
        QCOMPARE(open(main, item.constData()), window.data()); // one instance
        QVERIFY(!window->parentWidget()); // a window of its own, not the main window's child
        const auto windows = QApplication::topLevelWidgets();
        QCOMPARE(
            std::count_if(windows.begin(), windows.end(),
                          [](QWidget *w) { return qobject_cast<QDialog *>(w) && w->isVisible(); }),
            1);
        QVERIFY(QTest::qWaitForWindowActive(window));
        QTest::keyClick(window, key);
        QTRY_VERIFY(window.isNull());
        QVERIFY(open(main, item.constData())); // opens again after closing
    }

    // The program's own icon: picIcon and the about window's icon even before the application
    // has one, and, once the program has set it at start, the icon of every window.
    void programIconIsEveryWindowsIcon()
    {
        const QImage own = programIcon().pixmap(32, 32).toImage();
        QVERIFY(!own.isNull());
        const QImage generic =
            QApplication::style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(32, 32).toImage();
        QVERIFY(own != generic);
        {
            MainWindow main;
            auto *about = open(main, "关于");
            QCOMPARE(about->findChild<QLabel *>(QStringLiteral("picIcon"))->pixmap().toImage(),
                     own);
            QCOMPARE(about->windowIcon().pixmap(32, 32).toImage(), own);
            about->close();
        }

        QApplication::setWindowIcon(programIcon()); // as the program does at start
        MainWindow main;
        main.show();
        QList<QWidget *> windows{&main, open(main, "关于"), open(main, "说明"),
                                 main.showModel(Model::UH)};
        main.findChild<MainMenus *>()->showPortDialog();
        windows << main.findChild<MainMenus *>()->portDialog();
        main.showModelChoiceDialog();
        windows << main.modelChoiceDialog();
        for (QWidget *window : windows) {
            QVERIFY(window);
            QVERIFY2(window->windowIcon().pixmap(32, 32).toImage() == own,
                     qPrintable(window->objectName()));
        }
        for (QWidget *window : windows.mid(1))
            window->close();
        QApplication::setWindowIcon(QIcon());
    }

    void sysInfoWithoutAToolSaysSo()
    {
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", m_dir.path().toLocal8Bit()); // a folder without any tool
        MainWindow main;
        auto *about = qobject_cast<AboutDialog *>(open(main, "关于"));
        QVERIFY(about);
        QVERIFY(AboutDialog::systemInfoProgram().isEmpty());
        MessageBoxAnswerer messages;
        about->findChild<QPushButton *>(QStringLiteral("cmdSysInfo"))->click();
        qputenv("PATH", path);
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.seen()[0].text, QStringLiteral("此时系统信息不可用"));
        QCOMPARE(messages.seen()[0].title, QStringLiteral("ZW4630"));
        QCOMPARE(messages.seen()[0].icon, QMessageBox::NoIcon);
        QCOMPARE(messages.seen()[0].buttons, QStringList{QStringLiteral("OK")});
    }

    // 保存通信记录… saves the lines the trace keeps, whole; a failed save says so and leaves a
    // file already there as it was.
    void saveTraceWritesTheKeptLines_data()
    {
        QTest::addColumn<QString>("name"); // in the test's folder
        QTest::addColumn<bool>("oldFile");
        QTest::addColumn<bool>("saved");
        QTest::newRow("new file") << "trace.txt" << false << true;
        QTest::newRow("suffix added") << "trace" << false << true;
        QTest::newRow("over an old file") << "old.txt" << true << true;
        QTest::newRow("into a missing folder") << "missing/trace.txt" << false << false;
    }

    void saveTraceWritesTheKeptLines()
    {
        QFETCH(QString, name);
        QFETCH(bool, oldFile);
        QFETCH(bool, saved);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(name);
        QString written = path;
        if (QFileInfo(name).suffix().isEmpty())
            written += QStringLiteral(".txt");
        if (oldFile) {
            QFile old(path);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("old");
        }
        SerialTrace::instance().record(QStringLiteral("/dev/ttyUSB0"), SerialTrace::Event::Sent,
                                       "C");
        const QByteArray expected = SerialTrace::instance().text();
        MainWindow main;
        main.show();
        FileDialogAnswerer dialog(path);
        MessageBoxAnswerer messages;
        main.menuBar()->findChild<QAction *>(QStringLiteral("mnuSaveTrace"))->trigger();
        QVERIFY(dialog.answered);
        QCOMPARE(dialog.acceptMode, QFileDialog::AcceptSave);
        QCOMPARE(QDir::currentPath(), QFileInfo(m_dir.path()).canonicalFilePath());
        // Offered: a new name with the date and time, in the documents folder (else home).
        QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        if (documents.isEmpty() || !QFileInfo(documents).isDir())
            documents = QDir::homePath();
        QCOMPARE(QFileInfo(dialog.offered).absolutePath(), QFileInfo(documents).absoluteFilePath());
        QVERIFY2(QRegularExpression(QStringLiteral("^zw4630-trace-\\d{8}-\\d{6}\\.txt$"))
                     .match(QFileInfo(dialog.offered).fileName())
                     .hasMatch(),
                 qPrintable(dialog.offered));
        if (saved) {
            // Qt's dialog asks before it replaces a file; the answer given here is the first
            // button, Yes. Then the program says where the trace went.
            QCOMPARE(messages.count(), oldFile ? 2 : 1);
            if (oldFile)
                QVERIFY2(messages.seen()[0].text.contains(QStringLiteral("already exists")),
                         qPrintable(messages.seen()[0].text));
            QFile file(written);
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray text = file.readAll();
            QVERIFY(text.endsWith("/dev/ttyUSB0 TX 43" + QByteArray(47, ' ') + "|C|\n"));
            QVERIFY(text.startsWith(expected)); // later lines (none here) may follow
            QCOMPARE(messages.seen().constLast().text,
                     QStringLiteral("通信记录（%1 行）已保存到 %2。")
                         .arg(text.count('\n'))
                         .arg(written));
            return;
        }
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.seen()[0].text,
                 QStringLiteral("无法保存通信记录 %1（%2），原有文件没有改变。")
                     .arg(path, qt_error_string(ENOENT)));
        QVERIFY(!QFileInfo::exists(path));
    }

private:
    static QDialog *open(MainWindow &main, const char *item)
    {
        main.menuBar()->findChild<QAction *>(QString::fromUtf8(item))->trigger();
        auto *menus = main.findChild<MainMenus *>();
        return qstrcmp(item, "关于") == 0 ? static_cast<QDialog *>(menus->aboutWindow())
                                          : static_cast<QDialog *>(menus->notesWindow());
    }

    QTemporaryDir m_dir;
};

QTEST_MAIN(TestAboutWindows)
#include "tst_aboutwindows.moc"
