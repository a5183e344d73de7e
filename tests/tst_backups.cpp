#include "backupchoicedialog.h"
#include "backups.h"
#include "channeldocument.h"
#include "channelfile.h"
#include "channelstore.h"
#include "exitsignals.h"
#include "filedialoganswerer.h"
#include "mainwindow.h"
#include "messagebox.h"
#include "messageboxanswerer.h"
#include "modelwindow.h"
#include "numberreader.h"
#include "okcheck.h"
#include "programexit.h"
#include "serialconnection.h"
#include "tablebackups.h"
#include "testfolder.h"
#include "virtualradio.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include <csignal>

using namespace zw;
using zw::test::FileDialogAnswerer;
using zw::test::MessageBoxAnswerer;
using zw::test::writeFileBytes;

namespace
{

ChannelFileData dataWith(const QString &rxFrequency)
{
    ChannelFileData data;
    data.modelCode = modelInfo(Model::V).code;
    data.channelTone = QStringLiteral("中文");
    data.squelchLevel = QStringLiteral("3");
    data.records[0][RxFrequency] = rxFrequency;
    return data;
}

ChannelFileData fileData(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return readChannelFile(file.readAll()).value();
}

QByteArray channelFileWith(const QString &rxFrequency)
{
    return writeChannelFile(dataWith(rxFrequency)).value();
}

} // namespace

class TestBackups : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = test::enterFreshFolder();
        QVERIFY(m_dir);
        QVERIFY(QDir(backupFolder()).removeRecursively());
    }

    void cleanup()
    {
        m_main.reset();
        m_radio.reset();
        QFile::remove(backupFolder()); // the plain file a test put in the folder's place
    }

    // The newest 50 of each model stay; other models' backups and other files are never touched;
    // the same table twice in a row is kept once; two backups in one millisecond both stay.
    void keepsTheNewestOfEachModel()
    {
        const QString folder = m_dir->filePath(QStringLiteral("backups"));
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(writeFileBytes(folder + QStringLiteral("/notes.txt"), "mine"));
        const QDateTime start(QDate(2026, 1, 2), QTime(3, 4, 5));
        ChannelFileData uh = dataWith(QStringLiteral("400.00000"));
        uh.modelCode = modelInfo(Model::UH).code;
        ZW_VERIFY_OK(writeBackup(folder, Model::UH, BackupReason::BeforeOpen, uh, start));

        QStringList written;
        for (int i = 0; i < backupsKept + 5; ++i) {
            const Expected<BackupFile> r =
                writeBackup(folder, Model::V, BackupReason::BeforeRead,
                            dataWith(formatFrequency(140 + i * 0.0125)), start.addSecs(i));
            QVERIFY2(r.ok() && !r->skipped, qPrintable(r.error()));
            written << r->fileName;
        }
        QCOMPARE(backupFiles(folder, Model::V), written.mid(5));
        QCOMPARE(QFileInfo(written.last()).fileName(),
                 QStringLiteral("ZW4630V_20260102-030459-000_before-read.doc"));
        QCOMPARE(fileData(written.last()).records[0][RxFrequency], QStringLiteral("140.67500"));
        QCOMPARE(backupFiles(folder, Model::UH).size(), 1);
        QVERIFY(QFile::exists(folder + QStringLiteral("/notes.txt")));

        const Expected<BackupFile> again =
            writeBackup(folder, Model::V, BackupReason::FromRadio,
                        dataWith(formatFrequency(140 + 54 * 0.0125)));
        QVERIFY(again.ok() && again->skipped);
        QCOMPARE(again->fileName, written.last());

        const QDateTime moment = start.addDays(1);
        const Expected<BackupFile> first =
            writeBackup(folder, Model::V, BackupReason::BeforeOpen,
                        dataWith(QStringLiteral("145.00000")), moment);
        const Expected<BackupFile> second =
            writeBackup(folder, Model::V, BackupReason::BeforeOpen,
                        dataWith(QStringLiteral("146.00000")), moment);
        QVERIFY(first.ok() && second.ok() && first->fileName != second->fileName);
        QCOMPARE(backupFiles(folder, Model::V).mid(backupsKept - 2),
                 (QStringList{first->fileName, second->fileName}));
    }

    // Restore Radio offers the window's model's backups under its own title, newest first, each
    // with its date, time, model and reason in columns wide enough to read them whole.
    void restoreRadioListsTheBackupsNewestFirst()
    {
        const QString folder = m_dir->filePath(QStringLiteral("backups"));
        const QDateTime day(QDate(2026, 12, 1), QTime(10, 10, 10));
        ZW_VERIFY_OK(writeBackup(folder, Model::V, BackupReason::BeforeImport,
                                 dataWith(QStringLiteral("140.00000")), day.addSecs(-36612)));
        ZW_VERIFY_OK(writeBackup(folder, Model::V, BackupReason::FromRadio,
                                 dataWith(QStringLiteral("142.00000")), day));
        ChannelFileData uh = dataWith(QStringLiteral("440.00000"));
        uh.modelCode = modelInfo(Model::UH).code;
        ZW_VERIFY_OK(writeBackup(folder, Model::UH, BackupReason::FromRadio, uh, day.addSecs(5)));
        QCOMPARE(BackupChoiceDialog(folder, Model::V, true).windowTitle(),
                 QStringLiteral("Restore Radio"));
        BackupChoiceDialog dialog(folder, Model::V, false);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("恢复对讲机"));
        QTreeWidget *list = dialog.list();
        const auto row = [&](int index) {
            QStringList cells;
            for (int column = 0; column < list->columnCount(); ++column) {
                cells << list->topLevelItem(index)->text(column);
                if (list->columnWidth(column) < list->fontMetrics().horizontalAdvance(cells.last()))
                    cells << QStringLiteral("<cut off>");
            }
            return cells;
        };
        QCOMPARE(list->topLevelItemCount(), 2);
        QCOMPARE(row(0), (QStringList{"2026-12-01", "10:10:10", "ZW4630V", "从对讲机读出"}));
        QCOMPARE(row(1), (QStringList{"2026-11-30", "23:59:58", "ZW4630V", "导入 CSV 之前"}));
        dialog.accept();
        QCOMPARE(fileData(dialog.chosenFile()).records[0][RxFrequency],
                 QStringLiteral("142.00000"));
    }

    // Backups dated after the clock (a clock set back, a daylight-saving fall-back) never push
    // out the one just written: a backup reported as kept exists.
    void backupJustWrittenIsAlwaysKept_data()
    {
        QTest::addColumn<int>("older");
        QTest::addColumn<int>("newer"); // dated after the new backup
        QTest::newRow("50 dated after the clock") << 0 << backupsKept;
        QTest::newRow("hour repeated at a fall-back") << 30 << 25;
    }

    void backupJustWrittenIsAlwaysKept()
    {
        QFETCH(int, older);
        QFETCH(int, newer);
        const QString folder = m_dir->filePath(QStringLiteral("backups"));
        const QDateTime now(QDate(2026, 10, 25), QTime(2, 30));
        QStringList kept;
        for (int i = 0; i < older + newer; ++i) {
            const QDateTime when = i < older ? now.addSecs(-3600 + i) : now.addSecs(60 + i);
            const Expected<BackupFile> r =
                writeBackup(folder, Model::V, BackupReason::BeforeRead,
                            dataWith(formatFrequency(140 + i * 0.0125)), when);
            ZW_VERIFY_OK(r);
            kept << r->fileName;
        }
        const Expected<BackupFile> r = writeBackup(folder, Model::V, BackupReason::BeforeOpen,
                                                   dataWith(QStringLiteral("145.00000")), now);
        QVERIFY2(r.ok() && !r->skipped, qPrintable(r.error()));
        QVERIFY(QFile::exists(r->fileName));
        QCOMPARE(fileData(r->fileName).records[0][RxFrequency], QStringLiteral("145.00000"));
        // Only older ones were pruned, oldest first; all newer ones stay.
        const QStringList after = backupFiles(folder, Model::V);
        QCOMPARE(after.size(), std::max(backupsKept, newer + 1));
        for (const QString &name : kept.mid(older))
            QVERIFY(after.contains(name));
    }

    // Without a home folder there is no backups folder (not one under the root folder); a
    // backup then fails with its reason, so the window asks before replacing the table.
    void noHomeFolderMeansNoBackupFolder()
    {
        const QByteArray home = qgetenv("HOME");
        const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
        qunsetenv("HOME");
        qunsetenv("XDG_DATA_HOME");
        const QString folder = backupFolder();
        const Expected<BackupFile> r = writeBackup(folder, Model::V, BackupReason::BeforeOpen,
                                                   dataWith(QStringLiteral("145.00000")));
        qputenv("HOME", home);
        qputenv("XDG_DATA_HOME", dataHome);
        QCOMPARE(folder, QString());
        QVERIFY(!r.ok());
        QVERIFY(r.failure().is(FileFailure::NoBackupFolder));
        QVERIFY(!QFileInfo::exists(QStringLiteral("//.local")));
    }

    // Opening a file keeps the table it replaces; 打开备份 starts in the backups folder and
    // restores a backup like any channel file.
    void openKeepsTheReplacedTableAndRestores()
    {
        startProgram(QString());
        ModelWindow *w = m_main->showModel(Model::V);
        QVERIFY(w->document()->setFieldUnrecorded(2, RxFrequency, QStringLiteral("141.00000")));
        w->squelchList()->setCurrentText(QStringLiteral("6"));
        const QString file = m_dir->filePath(QStringLiteral("other.doc"));
        QVERIFY(writeFileBytes(file, channelFileWith(QStringLiteral("150.00000"))));
        MessageBoxAnswerer messages;

        FileDialogAnswerer open(file);
        w->openAction()->trigger();
        QCOMPARE(w->document()->record(0)[RxFrequency], QStringLiteral("150.00000"));
        const QStringList kept = backupFiles(backupFolder(), Model::V);
        QCOMPARE(kept.size(), 1);
        QVERIFY(kept.front().endsWith(QStringLiteral("_before-open.doc")));
        const ChannelFileData before = fileData(kept.front());
        QCOMPARE(before.records[2][RxFrequency], QStringLiteral("141.00000"));
        QCOMPARE(before.squelchLevel, QStringLiteral("6"));

        QAction *openBackup = w->findChild<QAction *>(QStringLiteral("mnuOpenBackup"));
        QVERIFY(openBackup && w->fileMenu()->actions().contains(openBackup));
        FileDialogAnswerer restore(QFileInfo(kept.front()).fileName());
        openBackup->trigger();
        QVERIFY(restore.answered);
        QCOMPARE(QDir::cleanPath(restore.offered), QDir::cleanPath(backupFolder()));
        QCOMPARE(w->document()->record(2)[RxFrequency], QStringLiteral("141.00000"));
        QCOMPARE(w->document()->record(0)[RxFrequency], QString());
        QCOMPARE(w->squelchList()->currentText(), QStringLiteral("6"));
        QCOMPARE(messages.count(), 0);
        QCOMPARE(QDir::currentPath(), m_dir->path());
    }

    // When no backup can be written the user decides; 取消 leaves the table as it was.
    void failedBackupAsksFirst_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("expected");
        QTest::newRow("cancel") << QStringLiteral("取消") << QStringLiteral("141.00000");
        QTest::newRow("go on") << QStringLiteral("继续") << QStringLiteral("150.00000");
    }

    void failedBackupAsksFirst()
    {
        QFETCH(QString, answer);
        QFETCH(QString, expected);
        QVERIFY(QDir().mkpath(QFileInfo(backupFolder()).path()));
        QVERIFY(writeFileBytes(backupFolder(), "a file where the folder belongs"));
        startProgram(QString());
        ModelWindow *w = m_main->showModel(Model::V);
        QVERIFY(w->document()->setFieldUnrecorded(0, RxFrequency, QStringLiteral("141.00000")));
        const QString file = m_dir->filePath(QStringLiteral("other.doc"));
        QVERIFY(writeFileBytes(file, channelFileWith(QStringLiteral("150.00000"))));
        MessageBoxAnswerer messages;
        messages.answerWith(answer);
        FileDialogAnswerer open(file);
        w->openAction()->trigger();
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.seen().front().title, QStringLiteral("系统信息"));
        QVERIFY(messages.seen().front().text.startsWith(QStringLiteral("无法备份现有的信道数据")));
        QCOMPARE(w->document()->record(0)[RxFrequency], expected);
    }

    // A read keeps the table it replaces and then what the radio holds.
    void readKeepsBothSides()
    {
        startProgram(QStringLiteral("radio"));
        ModelWindow *w = m_main->showModel(Model::V);
        QTRY_COMPARE_WITH_TIMEOUT(w->statusLine()->text(), QStringLiteral("对讲机就绪..."), 2000);
        QVERIFY(w->document()->setFieldUnrecorded(5, RxFrequency, QStringLiteral("147.00000")));
        MessageBoxAnswerer messages;
        w->readAction()->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(!w->isTransferLocked(), 5000);
        QCOMPARE(messages.count(), 0);
        const QStringList kept = backupFiles(backupFolder(), Model::V);
        QCOMPARE(kept.size(), 2);
        QVERIFY(kept[0].endsWith(QStringLiteral("_before-read.doc")));
        QVERIFY(kept[1].endsWith(QStringLiteral("_from-radio.doc")));
        QCOMPARE(fileData(kept[0]).records[5][RxFrequency], QStringLiteral("147.00000"));
        const ChannelFileData fromRadio = fileData(kept[1]);
        for (int row = 0; row < channelCount; ++row)
            for (int field = RxFrequency; field <= Power; ++field)
                QCOMPARE(fromRadio.records[std::size_t(row)][field],
                         w->document()->record(row)[field]);
    }

    // A termination signal while the program asks whether to go on without a backup: the
    // program ends, the question counts as 取消 even when the user clicks 继续 right after,
    // and what it asked about never starts.
    void signalWhileAskingEndsWithoutGoingOn_data()
    {
        QTest::addColumn<bool>("write"); // else an open of a channel file
        QTest::newRow("write into the radio") << true;
        QTest::newRow("open of a channel file") << false;
    }

    void signalWhileAskingEndsWithoutGoingOn()
    {
        QFETCH(bool, write);
        QVERIFY(QDir().mkpath(QFileInfo(backupFolder()).path()));
        QVERIFY(writeFileBytes(backupFolder(), "a file where the folder belongs"));
        startProgram(QStringLiteral("radio"));
        ExitSignals signals_;
        ProgramExit exit(m_main.get());
        connect(&signals_, &ExitSignals::exitRequested, &exit, &ProgramExit::request);
        QSignalSpy finished(&exit, &ProgramExit::finished);
        ModelWindow *w = m_main->showModel(Model::V);
        QTRY_COMPARE_WITH_TIMEOUT(w->statusLine()->text(), QStringLiteral("对讲机就绪..."), 2000);
        QVERIFY(w->document()->setFieldUnrecorded(0, RxFrequency, QStringLiteral("141.00000")));
        const QString database = w->document()->path();
        const QString file = m_dir->filePath(QStringLiteral("other.doc"));
        QVERIFY(writeFileBytes(file, channelFileWith(QStringLiteral("150.00000"))));
        MessageBoxAnswerer messages;
        messages.answerWith(QStringLiteral("继续"));
        messages.whileShown([] {
            QCOMPARE(::raise(SIGTERM), 0);
            QTest::qWait(100);
        });
        FileDialogAnswerer open(file);
        (write ? w->writeAction() : w->openAction())->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 5000);
        declineQuestions(false);
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.seen().front().buttons.size(), 2); // the question
        QVERIFY(!m_main->isVisible());
        QVERIFY(!m_radio->heard().contains('A'));
        ChannelStore store;
        ZW_VERIFY_OK(store.open(database));
        QCOMPARE(store.record(0)[RxFrequency], QStringLiteral("141.00000"));
    }

private:
    // With a virtual radio on COM1 when `radio` is not empty, else with COM1 on nothing.
    void startProgram(const QString &radio)
    {
        m_main = std::make_unique<MainWindow>();
        if (!radio.isEmpty()) {
            m_radio = std::make_unique<VirtualRadio>(Model::V);
            m_radio->setPacing(false);
            QVERIFY(m_radio->open());
            m_main->serial()->setDevice(1, m_radio->devicePath());
        } else {
            m_main->serial()->setDevice(1, m_dir->filePath(QStringLiteral("none")));
            m_main->serial()->setDevice(2, m_dir->filePath(QStringLiteral("none")));
        }
        m_main->show();
        if (!radio.isEmpty())
            m_main->load();
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<VirtualRadio> m_radio;
    std::unique_ptr<MainWindow> m_main;
};

QTEST_MAIN(TestBackups)
#include "tst_backups.moc"
