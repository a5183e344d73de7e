// CHIRP CSV export and import in a real model window.
#include "backups.h"
#include "channeldocument.h"
#include "channelfile.h"
#include "channelstore.h"
#include "chirpcsv.h"
#include "csvactions.h"
#include "csvproblemsdialog.h"
#include "filedialoganswerer.h"
#include "language.h"
#include "mainwindow.h"
#include "messageboxanswerer.h"
#include "modelwindow.h"
#include "problemsanswerer.h"
#include "radiosession.h"
#include "sampletables.h"
#include "testfolder.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QUndoStack>
#include <QtTest>

using namespace zw;
using zw::test::fileBytes;
using zw::test::FileDialogAnswerer;
using zw::test::MessageBoxAnswerer;
using zw::test::ProblemsAnswerer;
using zw::test::sampleTable;
using zw::test::writeFileBytes;

namespace
{

const QByteArray header = "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,"
                          "DtcsPolarity,RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,"
                          "RPT1CALL,RPT2CALL,DVCODE\r\n";

} // namespace

class TestCsvActions : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = test::enterFreshFolder();
        QVERIFY(m_dir);
        openWindow(0);
        QVERIFY(m_window->document()->replace(sampleTable(), std::nullopt));
    }

    void cleanup()
    {
        m_main.reset();
        m_dir.reset();
        setLanguageMode(0);
    }

    void itemsFollowTheLanguageAndTheTransferLock_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("exportText");
        QTest::addColumn<QString>("importText");
        QTest::newRow("Chinese") << 1 << "导出 CHIRP CSV..."
                                 << "导入 CHIRP CSV...";
        QTest::newRow("English") << 2 << "Export CHIRP CSV..."
                                 << "Import CHIRP CSV...";
    }

    void itemsFollowTheLanguageAndTheTransferLock()
    {
        QFETCH(int, language);
        QFETCH(QString, exportText);
        QFETCH(QString, importText);
        openWindow(language);
        auto *exportItem = m_window->findChild<QAction *>(QStringLiteral("mnuExportCsv"));
        auto *importItem = m_window->findChild<QAction *>(QStringLiteral("mnuImportCsv"));
        QVERIFY(exportItem && importItem);
        QCOMPARE(exportItem->text(), exportText);
        QCOMPARE(importItem->text(), importText);
        QVERIFY(m_window->fileMenu()->actions().contains(exportItem));
        QVERIFY(m_window->fileMenu()->actions().contains(importItem));
        QVERIFY(m_window->session()->beginRead()); // a read holds the table
        QVERIFY(!m_window->fileMenu()->menuAction()->isEnabled());
        m_window->session()->stop();
        QVERIFY(m_window->fileMenu()->menuAction()->isEnabled());
    }

    void exportWritesTheTable()
    {
        const QString path = m_dir->filePath(QStringLiteral("list")); // the suffix is added
        MessageBoxAnswerer messages;
        FileDialogAnswerer dialog(path);
        exportItem()->trigger();
        QVERIFY(dialog.answered);
        QCOMPARE(dialog.acceptMode, QFileDialog::AcceptSave);
        QCOMPARE(dialog.nameFilters, QStringList{QStringLiteral("CSV (*.csv)")});
        QCOMPARE(messages.count(), 0);
        QCOMPARE(fileBytes(path + QStringLiteral(".csv")),
                 exportChirpCsv(sampleTable(), modelInfo(Model::V)).value());
        QCOMPARE(QDir::currentPath(), m_dir->path());
    }

    void exportThatCannotBeWrittenSaysSo()
    {
        const QString path = m_dir->filePath(QStringLiteral("no-such-folder/list.csv"));
        MessageBoxAnswerer messages;
        FileDialogAnswerer dialog(path);
        exportItem()->trigger();
        QVERIFY(dialog.answered);
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.seen().first().icon, QMessageBox::Warning);
        QCOMPARE(messages.seen().first().title, QStringLiteral("系统信息"));
        QCOMPARE(messages.seen().first().text,
                 QStringLiteral("无法保存 CSV 文件 %1（%2），原有文件没有改变。")
                     .arg(QDir::toNativeSeparators(path), qt_error_string(ENOENT)));
    }

    void importReplacesTheTableInOneStep()
    {
        QVERIFY(
            m_window->document()->setFieldUnrecorded(0, RxFrequency, QStringLiteral("140.00000")));
        // From an empty folder: the newest 50 backups of a model are kept, and this test's
        // data folder outlives its runs.
        QVERIFY(QDir(backupFolder()).removeRecursively());
        const QStringList backupsBefore = backupFiles(backupFolder(), Model::V);
        const QString path = m_dir->filePath(QStringLiteral("in.csv"));
        QVERIFY(writeFileBytes(path, header +
                                         "2,,146.000000,,0.000000,TSQL,88.5,88.5,023,NN,023,Tone->"
                                         "Tone,NFM,5.00,S,1.0W,,,,,\r\n"));
        QSignalSpy changed(m_window->document(), &ChannelDocument::recordsChanged);
        QSignalSpy replaced(m_window->document(), &ChannelDocument::replaced);
        MessageBoxAnswerer messages;
        FileDialogAnswerer dialog(path);
        importItem()->trigger();
        QVERIFY(dialog.answered);
        QCOMPARE(dialog.acceptMode, QFileDialog::AcceptOpen);
        QCOMPARE(messages.count(), 0);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(replaced.count(), 1);
        const ChannelRecord expected{
            {"2", "146.00000", "88.5", "", "146.00000", "88.5", "", "del", "off", "off", "L"}};
        QCOMPARE(m_window->document()->record(1), expected);
        // Channels the file does not name are empty now; channel numbers stay.
        QCOMPARE(m_window->document()->record(0)[RxFrequency], QString());
        QCOMPARE(m_window->document()->record(0)[ChannelNumber], QStringLiteral("1"));
        // The table it replaced is in the backups folder.
        const QStringList backups = backupFiles(backupFolder(), Model::V);
        QCOMPARE(backups.size(), backupsBefore.size() + 1);
        QVERIFY(backups.last().endsWith(QStringLiteral("_before-import.doc")));
        QFile kept(backups.last());
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(readChannelFile(kept.readAll()).value().records[0][RxFrequency],
                 QStringLiteral("140.00000"));
    }

    void rowsThatDoNotFitAreListedBeforeAnythingChanges_data()
    {
        QTest::addColumn<bool>("apply");
        QTest::addColumn<int>("language");
        QTest::addColumn<bool>("inFileOrder"); // the list's box ticked: rows in file order
        QTest::newRow("cancel") << false << 0 << false;
        QTest::newRow("apply") << true << 0 << false;
        QTest::newRow("apply, English") << true << 2 << false;
        QTest::newRow("apply in file order") << true << 0 << true;
        QTest::newRow("apply in file order, English") << true << 2 << true;
    }

    void rowsThatDoNotFitAreListedBeforeAnythingChanges()
    {
        QFETCH(bool, apply);
        QFETCH(int, language);
        QFETCH(bool, inFileOrder);
        openWindow(language);
        QVERIFY(m_window->document()->replace(sampleTable(), std::nullopt));
        const QString path = m_dir->filePath(QStringLiteral("mixed.csv"));
        QVERIFY(writeFileBytes(
            path,
            header +
                "1,,145.500000,,0.000000,TSQL,69.4,69.4,023,NN,023,Tone->Tone,NFM,5.00,,5.0W,,,,,"
                "\r\n"
                "2,,146.000000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,NFM,5.00,,5.0W,,,,,\r\n"
                "17,,147.000000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,NFM,5.00,,5.0W,,,,,"
                "\r\n"));
        QSignalSpy changed(m_window->document(), &ChannelDocument::recordsChanged);
        QSignalSpy replaced(m_window->document(), &ChannelDocument::replaced);
        MessageBoxAnswerer messages;
        ProblemsAnswerer problems(apply, inFileOrder);
        FileDialogAnswerer dialog(path);
        importItem()->trigger();
        QVERIFY(problems.seen.shown);
        QCOMPARE(messages.count(), 0);
        const bool english = language == 2;
        QCOMPARE(problems.seen.title,
                 english ? QStringLiteral("Import CHIRP CSV") : QStringLiteral("导入 CHIRP CSV"));
        if (inFileOrder) {
            // Rows 2 and 17 fill channels 1 and 2; only the tone is left out.
            QCOMPARE(problems.seen.text,
                     english ? QStringLiteral("2 rows fit. These 1 rows do not fit this model and "
                                              "are left out:")
                             : QStringLiteral("2 行可以导入。以下 1 行不能用于本机型，不会导入："));
            QCOMPARE(problems.seen.rows.size(), 1);
            QCOMPARE(problems.seen.rows.at(0).mid(0, 2), (QStringList{"2", "1"}));
            QCOMPARE(m_window->document()->record(0)[RxFrequency], QStringLiteral("146.00000"));
            QCOMPARE(m_window->document()->record(1)[RxFrequency], QStringLiteral("147.00000"));
            QCOMPARE(m_window->document()->record(2)[RxFrequency], QString());
            QCOMPARE(replaced.count(), 1);
            return;
        }
        QCOMPARE(problems.seen.text,
                 english ? QStringLiteral(
                               "1 rows fit. These 2 rows do not fit this model and are left out:")
                         : QStringLiteral("1 行可以导入。以下 2 行不能用于本机型，不会导入："));
        QCOMPARE(problems.seen.rows.size(), 2);
        // The reasons in the window's language.
        QCOMPARE(
            problems.seen.rows.at(0),
            (QStringList{
                "2", "1",
                english ? QStringLiteral("CTCSS tone 69.4 Hz is not one of the radio's 39 tones")
                        : QStringLiteral("CTCSS 亚音 69.4 Hz 不在对讲机的 39 个亚音之中")}));
        QCOMPARE(problems.seen.rows.at(1),
                 (QStringList{"4", "17",
                              english ? QStringLiteral(
                                            "Location 17 is not a channel of this radio (1 to 16)")
                                      : QStringLiteral("位置 17 不是本机的信道（1 到 16）")}));
        QVERIFY(problems.seen.applyEnabled);
        if (!apply) {
            QCOMPARE(changed.count(), 0);
            QCOMPARE(replaced.count(), 0);
            QCOMPARE(m_window->document()->records(), sampleTable());
            return;
        }
        QCOMPARE(changed.count(), 1);
        QCOMPARE(replaced.count(), 1);
        // The refused channel 1 keeps what it had; channel 2 takes its row.
        QCOMPARE(m_window->document()->record(0), sampleTable()[0]);
        QCOMPARE(m_window->document()->record(1)[RxFrequency], QStringLiteral("146.00000"));
        QCOMPARE(m_window->document()->record(3)[RxFrequency], QString());
    }

    void whenNoRowFitsOnlyCancelIsOffered()
    {
        const QString path = m_dir->filePath(QStringLiteral("bad.csv"));
        QVERIFY(writeFileBytes(path, header +
                                         "1,,446.000000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,"
                                         "NFM,5.00,,5.0W,,,,,\r\n"));
        QSignalSpy changed(m_window->document(), &ChannelDocument::recordsChanged);
        ProblemsAnswerer problems(true);
        FileDialogAnswerer dialog(path);
        importItem()->trigger();
        QVERIFY(problems.seen.shown);
        QVERIFY(!problems.seen.applyEnabled);
        QCOMPARE(changed.count(), 0);
        QCOMPARE(m_window->document()->records(), sampleTable());
    }

    void filesThatGiveNothingChangeNothing_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // "<none>": no such file
        QTest::addColumn<QString>("message");  // %1: the file
        QTest::newRow("no such file")
            << QByteArray("<none>") << "无法读取 CSV 文件 %1，信道数据没有改变。";
        QTest::newRow("no header") << QByteArray("1,2,3\r\n")
                                   << "%1 不是 CHIRP CSV 文件（标题行没有 Location 和 Frequency "
                                      "列），信道数据没有改变。";
        QTest::newRow("header only")
            << header << "CSV 文件 %1 中没有本机型可以使用的信道，信道数据没有改变。";
        QTest::newRow("only empty memories")
            << header +
                   "1,,0.000000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,NFM,5.00,,5.0W,,,,,\r\n"
            << "CSV 文件 %1 中没有本机型可以使用的信道，信道数据没有改变。";
    }

    void filesThatGiveNothingChangeNothing()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        const QString path = m_dir->filePath(QStringLiteral("f.csv"));
        if (bytes != "<none>")
            QVERIFY(writeFileBytes(path, bytes));
        QSignalSpy changed(m_window->document(), &ChannelDocument::recordsChanged);
        MessageBoxAnswerer messages;
        m_actions->importFile(path);
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.seen().first().title, QStringLiteral("系统信息"));
        QCOMPARE(messages.seen().first().text, message.arg(QDir::toNativeSeparators(path)));
        QCOMPARE(changed.count(), 0);
        QCOMPARE(m_window->document()->records(), sampleTable());
    }

private:
    void openWindow(int language)
    {
        m_main.reset();
        setLanguageMode(language);
        m_main = std::make_unique<MainWindow>();
        m_main->show();
        m_window = m_main->showModel(Model::V);
        QVERIFY(m_window);
        m_actions = m_window->findChild<CsvActions *>();
        QVERIFY(m_actions);
    }

    QAction *exportItem() const { return m_actions->exportAction(); }
    QAction *importItem() const { return m_actions->importAction(); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<MainWindow> m_main;
    ModelWindow *m_window = nullptr;
    CsvActions *m_actions = nullptr;
};

QTEST_MAIN(TestCsvActions)
#include "tst_csvactions.moc"
