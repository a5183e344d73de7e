#include "channeldocument.h"
#include "channelfile.h"
#include "channelstore.h"
#include "csvactions.h"
#include "filedialoganswerer.h"
#include "language.h"
#include "mainwindow.h"
#include "messageboxanswerer.h"
#include "modelwindow.h"
#include "recentfiles.h"
#include "windowtestfolder.h"

#include "channeltablemodel.h"
#include "sampletables.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using namespace zw;
using zw::test::afterChannelFileRoundTrip;
using zw::test::fileBytes;
using zw::test::FileDialogAnswerer;
using zw::test::MessageBoxAnswerer;
using zw::test::sampleTable;
using zw::test::writeFileBytes;

namespace
{

QByteArray fileOf(const QString &code)
{
    return code.toLatin1() + QByteArray(",\xD3\xA2\xCE\xC4,7,") + QByteArray(160, ',');
}

} // namespace

class TestFileActions : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = test::enterFreshWindowFolder();
        QVERIFY(m_dir);
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("elsewhere")));
        m_main.reset(new MainWindow);
        m_main->show();
        m_window = m_main->showModel(Model::V);
        QVERIFY(m_window);
    }

    void cleanup()
    {
        m_main.reset();
        m_dir.reset();
    }

    void saveThenOpenRestoresTableAndSettings()
    {
        QVERIFY(m_window->document()->replace(sampleTable(), std::nullopt));
        m_window->squelchList()->setCurrentText(QStringLiteral("0"));
        m_window->channelToneList()->setCurrentText(QStringLiteral("键音"));
        // Typed without an extension: saved with the one the open dialog lists.
        const QString typed = m_dir->filePath(QStringLiteral("channels"));
        const QString path = typed + QStringLiteral(".doc");
        const QString caption = QStringLiteral("ZW4630V  (136MHz-174MHz)");
        QCOMPARE(m_window->windowTitle(), caption); // no file yet
        MessageBoxAnswerer messages;

        FileDialogAnswerer saveDialog(typed, m_dir->filePath(QStringLiteral("elsewhere")));
        m_window->saveAction()->trigger();
        QVERIFY(saveDialog.answered);
        QCOMPARE(saveDialog.acceptMode, QFileDialog::AcceptSave);
        QCOMPARE(saveDialog.nameFilters, QStringList{QStringLiteral("text(*.doc)")});
        QCOMPARE(QDir::currentPath(), m_dir->path());
        QVERIFY(
            fileBytes(path).startsWith(QByteArray("4,\xBC\xFC\xD2\xF4,0,140.12500,D023N,023,")));
        QVERIFY(!QFile::exists(typed));
        // The title names the file; the mark shows a change since it was saved or opened.
        QCOMPARE(m_window->windowTitle(), caption + QStringLiteral(" - channels.doc[*]"));
        QVERIFY(!m_window->isWindowModified());
        QCOMPARE(m_main->recentFiles()->files(), QStringList{path});

        // Change everything, then load the file back.
        ChannelTable other;
        for (int row = 0; row < channelCount; ++row)
            other[static_cast<std::size_t>(row)][ChannelNumber] = QString::number(row + 1);
        other[5][RxFrequency] = QStringLiteral("150.00000");
        QVERIFY(m_window->document()->replace(other, std::nullopt));
        m_window->squelchList()->setCurrentText(QStringLiteral("5"));
        m_window->channelToneList()->setCurrentText(QStringLiteral("中文"));
        m_window->grid()->setCurrentIndex(m_window->tableModel()->index(7, 1));
        QVERIFY(m_window->isWindowModified());
        QSignalSpy replaced(m_window->document(), &ChannelDocument::replaced);

        FileDialogAnswerer openDialog(path, m_dir->filePath(QStringLiteral("elsewhere")));
        m_window->openAction()->trigger();
        QVERIFY(openDialog.answered);
        QCOMPARE(openDialog.acceptMode, QFileDialog::AcceptOpen);
        QCOMPARE(openDialog.offered, path); // the name last chosen in this window
        QCOMPARE(QDir::currentPath(), m_dir->path());
        QCOMPARE(messages.count(), 0);
        QCOMPARE(replaced.count(), 1);
        const ChannelTable expected = afterChannelFileRoundTrip(sampleTable());
        for (int row = 0; row < channelCount; ++row)
            QCOMPARE(m_window->document()->record(row), expected[static_cast<std::size_t>(row)]);
        QCOMPARE(m_window->squelchList()->currentText(), QStringLiteral("0"));
        QCOMPARE(m_window->channelToneList()->currentText(), QStringLiteral("键音"));
        QCOMPARE(m_window->currentRow(), 0);
        QVERIFY(!m_window->isWindowModified());
        // The mark follows the table: undone back to the file's state, it goes; redone, it is
        // back.
        m_window->squelchList()->setCurrentText(QStringLiteral("9"));
        QVERIFY(m_window->isWindowModified());
        QVERIFY(m_window->document()->undo());
        QVERIFY(!m_window->isWindowModified());
        QVERIFY(m_window->document()->redo());
        QVERIFY(m_window->isWindowModified());

        // Cancelling a later save writes nothing.
        const QByteArray saved = fileBytes(path);
        QVERIFY(m_window->document()->replace(other, std::nullopt));
        FileDialogAnswerer cancelled{QString()};
        m_window->saveAction()->trigger();
        QVERIFY(cancelled.answered);
        QCOMPARE(fileBytes(path), saved);
        QCOMPARE(messages.count(), 0);

        // The file menu lists the five files last saved or opened, newest first, and opens
        // them.
        QStringList names{path};
        for (int n = 2; n <= 6; ++n) {
            names.prepend(m_dir->filePath(QStringLiteral("recent%1.doc").arg(n)));
            QVERIFY(QFile::copy(path, names.constFirst()));
            m_main->recentFiles()->add(names.constFirst());
        }
        QCOMPARE(m_main->recentFiles()->files(), names.mid(0, 5));
        auto *first = m_window->fileMenu()->findChild<QAction *>(QStringLiteral("recentFile1"));
        QVERIFY(first && m_window->fileMenu()->actions().contains(first));
        QCOMPARE(first->text(), QStringLiteral("&1 recent6.doc"));
        QVERIFY(!m_window->fileMenu()->findChild<QAction *>(QStringLiteral("recentFile6")));
        QVERIFY(m_window->document()->replace(other, std::nullopt));
        first->trigger();
        QCOMPARE(messages.count(), 0);
        QCOMPARE(m_window->document()->record(0), expected[0]);
        QCOMPARE(m_window->windowTitle(), caption + QStringLiteral(" - recent6.doc[*]"));
    }

    // A recent file that is gone says so, not that it cannot be read, and offers to leave the
    // list; nothing in the table changes either way.
    void missingRecentFileIsOfferedForRemoval_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("removed");
        QTest::newRow("removed from the list") << QStringLiteral("从列表中去掉") << true;
        QTest::newRow("kept in the list") << QStringLiteral("保留") << false;
    }

    void missingRecentFileIsOfferedForRemoval()
    {
        QFETCH(QString, answer);
        QFETCH(bool, removed);
        const QString kept = m_dir->filePath(QStringLiteral("kept.doc"));
        const QString gone = m_dir->filePath(QStringLiteral("gone.doc"));
        QVERIFY(writeFileBytes(kept, fileOf(QStringLiteral("ZW4630V"))));
        m_main->recentFiles()->add(kept);
        m_main->recentFiles()->add(gone);
        QVERIFY(m_window->document()->replace(sampleTable(), std::nullopt));
        MessageBoxAnswerer messages;
        messages.answerWith(answer);
        m_window->fileMenu()->findChild<QAction *>(QStringLiteral("recentFile1"))->trigger();
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.seen()[0].text,
                 QStringLiteral("信道文件 %1 已不存在。要把它从最近打开的文件列表中去掉吗？")
                     .arg(QDir::toNativeSeparators(gone)));
        const QStringList left = removed ? QStringList{kept} : QStringList{gone, kept};
        QCOMPARE(m_main->recentFiles()->files(), left);
        QCOMPARE(m_window->document()->records(), sampleTable());
    }

    // When the current folder cannot be read (it was removed under the program), the lookup
    // says "Error" and the restore after the dialog says "ERROR"; the operation goes on.
    void failedFolderLookupShowsErrorThenERROR_data()
    {
        QTest::addColumn<QString>("item");
        for (const char *item : {"save", "open", "export CSV", "import CSV"})
            QTest::newRow(item) << QString::fromLatin1(item);
    }

    void failedFolderLookupShowsErrorThenERROR()
    {
        QFETCH(QString, item);
        auto *csv = m_window->findChild<CsvActions *>();
        QVERIFY(csv);
        QAction *action = item == QLatin1String("save")         ? m_window->saveAction()
                          : item == QLatin1String("open")       ? m_window->openAction()
                          : item == QLatin1String("export CSV") ? csv->exportAction()
                                                                : csv->importAction();
        QApplication::setApplicationName(QStringLiteral("ZW4630")); // the messages' title
        const QString gone = m_dir->filePath(QStringLiteral("gone"));
        QVERIFY(QDir().mkdir(gone));
        QVERIFY(QDir::setCurrent(gone));
        QVERIFY(QDir().rmdir(gone));
        MessageBoxAnswerer messages;
        FileDialogAnswerer cancelled{QString()};
        action->trigger();
        QDir::setCurrent(m_dir->path());
        QVERIFY(cancelled.answered);
        QCOMPARE(messages.count(), 2);
        for (const auto &[index, text] : {std::pair{0, "Error"}, std::pair{1, "ERROR"}}) {
            QCOMPARE(messages.seen().at(index).text, QLatin1String(text));
            QCOMPARE(messages.seen().at(index).title, QStringLiteral("ZW4630"));
            QCOMPARE(messages.seen().at(index).icon, QMessageBox::NoIcon);
            QCOMPARE(messages.seen().at(index).buttons, QStringList{QStringLiteral("OK")});
        }
    }

    void firstValueDecidesTheModel_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("message"); // empty: read as this window's own data
        QTest::addColumn<QString>("window");
        QTest::newRow("own") << "4"
                             << ""
                             << "ZW4630V";
        QTest::newRow("UL") << "3"
                            << "本文件是ZW4630UL,转换窗口以后重新读！"
                            << "ZW4630UL";
        QTest::newRow("seven") << "7"
                               << ""
                               << "ZW4630V";
        QTest::newRow("abc") << "abc"
                             << ""
                             << "ZW4630V";
    }

    void firstValueDecidesTheModel()
    {
        QFETCH(QString, code);
        QFETCH(QString, message);
        QFETCH(QString, window);
        QVERIFY(m_window->document()->replace(sampleTable(), std::nullopt));
        const QString path = m_dir->filePath(QStringLiteral("other.doc"));
        QVERIFY(writeFileBytes(path, fileOf(code)));
        MessageBoxAnswerer messages;
        FileDialogAnswerer dialog(path);
        QPointer<ModelWindow> v = m_window;
        m_window->openAction()->trigger();
        QVERIFY(dialog.answered);
        QCOMPARE(QDir::currentPath(), m_dir->path());
        if (message.isEmpty()) {
            QCOMPARE(messages.count(), 0);
            QCOMPARE(m_window->channelToneList()->currentText(), QStringLiteral("英文"));
            QCOMPARE(m_window->squelchList()->currentText(), QStringLiteral("7"));
            QCOMPARE(m_window->document()->record(0)[RxFrequency], QString());
            QCOMPARE(m_window->document()->record(0)[ChannelNumber], QStringLiteral("1"));
            return;
        }
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.seen()[0].title, QStringLiteral("文件机型提示信息！！"));
        QCOMPARE(messages.seen()[0].text, message);
        QCOMPARE(messages.seen()[0].icon, QMessageBox::NoIcon);
        QCOMPARE(messages.seen()[0].buttons, QStringList{QStringLiteral("OK")});
        QTRY_VERIFY(v.isNull());
        QVERIFY(!m_main->modelWindow(Model::V));
        ModelWindow *opened = m_main->modelWindow(*modelFromName(window));
        QVERIFY(opened);
        QCOMPARE(opened->document()->record(0)[RxFrequency], QString()); // nothing loaded
        QCOMPARE(opened->channelToneList()->currentText(), QStringLiteral("中文"));
    }

    // A save over an existing file replaces its contents only: the file keeps its permissions,
    // and a symbolic link stays a link to the file it names, which gets the new contents.
    void saveKeepsPermissionsAndLinks_data()
    {
        QTest::addColumn<int>("mode");    // of the old file
        QTest::addColumn<bool>("linked"); // saved through a link in the window's folder
        QTest::newRow("owner only") << 0600 << false;
        QTest::newRow("through a symbolic link") << 0640 << true;
    }

    void saveKeepsPermissionsAndLinks()
    {
        QFETCH(int, mode);
        QFETCH(bool, linked);
        const QString target = m_dir->filePath(linked ? QStringLiteral("elsewhere/target.doc")
                                                      : QStringLiteral("old.doc"));
        const QString chosen = m_dir->filePath(QStringLiteral("old.doc"));
        QVERIFY(writeFileBytes(target, "old contents"));
        QCOMPARE(::chmod(QFile::encodeName(target).constData(), mode_t(mode)), 0);
        if (linked)
            QVERIFY(QFile::link(QStringLiteral("elsewhere/target.doc"), chosen));
        QVERIFY(m_window->document()->replace(sampleTable(), std::nullopt));
        MessageBoxAnswerer messages;
        FileDialogAnswerer dialog(chosen);
        m_window->saveAction()->trigger();
        QVERIFY(dialog.answered);
        QCOMPARE(messages.count(), 0);
        QVERIFY(fileBytes(target).startsWith("4,"));
        struct stat status {
        };
        QCOMPARE(::stat(QFile::encodeName(target).constData(), &status), 0);
        QCOMPARE(int(status.st_mode & 07777), mode);
        QCOMPARE(QFileInfo(chosen).isSymLink(), linked);
        QCOMPARE(QDir(m_dir->filePath(QStringLiteral("elsewhere"))).entryList(QDir::Files),
                 linked ? QStringList{QStringLiteral("target.doc")} : QStringList{});
    }

    void failedSaveKeepsTheOldFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("badField"); // a text GB2312 cannot hold, or none
        QTest::newRow("text not in GB2312") << "old.doc" << QStringLiteral("€");
        QTest::newRow("folder is a file") << "old.doc/new.doc" << QString();
    }

    void failedSaveKeepsTheOldFile()
    {
        QFETCH(QString, name);
        QFETCH(QString, badField);
        const QString old = m_dir->filePath(QStringLiteral("old.doc"));
        QVERIFY(writeFileBytes(old, "old contents"));
        if (!badField.isEmpty())
            QVERIFY(m_window->document()->setFieldUnrecorded(2, Power, badField));
        MessageBoxAnswerer messages;
        FileDialogAnswerer dialog(m_dir->filePath(name));
        m_window->saveAction()->trigger();
        QVERIFY(dialog.answered);
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.seen()[0].title, QStringLiteral("系统信息"));
        QCOMPARE(fileBytes(old), QByteArray("old contents"));
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files),
                 QStringList{QStringLiteral("old.doc")} +
                     QStringList{QStringLiteral("zw4630.mdb")});
        QCOMPARE(QDir::currentPath(), m_dir->path());
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<MainWindow> m_main;
    ModelWindow *m_window = nullptr;
};

QTEST_MAIN(TestFileActions)
#include "tst_fileactions.moc"
