// The model database under faults: the program killed in the middle of a burst of edits; a
// database file that is damaged, cut short, foreign or read-only when a model window opens it;
// another program holding it locked, a second instance editing it, a first creation that fails.

#include "asnobody.h"
#include "channeldocument.h"
#include "channeleditor.h"
#include "channelstore.h"
#include "channeltablemodel.h"
#include "mainwindow.h"
#include "messageboxanswerer.h"
#include "messages.h"
#include "modelwindow.h"
#include "okcheck.h"
#include "rowactions.h"
#include "storeburst.h"
#include "testfolder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMimeData>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace zw;
using zw::test::MessageBoxAnswerer;
using zw::test::tableAfterBurst;

namespace
{

// A channel database as the program makes it, with channel 1 in use.
QByteArray goodDatabase(const QString &folder)
{
    const QString path = folder + QStringLiteral("/good.mdb");
    {
        ChannelStore store;
        if (!store.open(path).ok() || !store.setField(0, RxFrequency, QStringLiteral("145.00000")))
            return QByteArray();
    }
    const QByteArray bytes = test::fileBytes(path);
    QFile::remove(path);
    return bytes;
}

// A SQLite file with a table `table` of the 11 columns holding `records` rows.
QByteArray foreignDatabase(const QString &folder, int records, const QString &table)
{
    const QString path = folder + QStringLiteral("/foreign.mdb");
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("maker"));
        db.setDatabaseName(path);
        db.open();
        QSqlQuery q(db);
        QStringList cols;
        for (const QString &name : fieldNames())
            cols << QLatin1Char('"') + name + QStringLiteral("\" TEXT");
        q.exec(QStringLiteral("CREATE TABLE \"%1\" (%2)").arg(table, cols.join(u',')));
        for (int i = 1; i <= records; ++i)
            q.exec(
                QStringLiteral("INSERT INTO \"%1\" (\"信道号\") VALUES ('%2')").arg(table).arg(i));
        q = QSqlQuery();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("maker"));
    const QByteArray bytes = test::fileBytes(path);
    QFile::remove(path);
    return bytes;
}

// What opening the database at `path` gives the unprivileged user "nobody": the reason it was
// refused, or "<opened>". Worked out in a child process that has given up root.
QString openedAsNobody(const QString &path)
{
    return test::asNobody([&] {
        ChannelStore store;
        const Expected<ChannelStore::Opened> opened = store.open(path);
        // The kind of the refusal and the file it names.
        return opened ? QByteArray("<opened>")
                      : (opened.failure().is(StoreFailure::Unreadable) ? "unreadable "
                                                                       : "other failure ") +
                            opened.failure().path.toUtf8();
    });
}

QStringList setAside(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral("*.bak-*")},
                                  QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
}

enum class Damage {
    RandomBytes,
    Empty,
    HeaderOnly,
    CutToFirstPage,
    PagesOverwritten,
    OtherTable,
    FifteenRecords,
    SeventeenRecords,
    AccessFile,
    Folder
};

} // namespace

Q_DECLARE_METATYPE(Damage)

class TestFaultMatrixDb : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = test::enterFreshFolder();
        QVERIFY(m_dir);
    }

    void cleanup()
    {
        m_main.reset();
        m_dir.reset();
    }

    void killedDuringEditsKeepsLastCommittedEdit_data()
    {
        QTest::addColumn<int>("killAfter"); // committed edits seen before the kill
        QTest::addColumn<int>("delayUs");   // then this long until the kill
        const int rows[][2] = {{1, 0}, {2, 3000}, {9, 700}, {40, 1500}, {121, 9000}, {300, 4100}};
        for (const auto &row : rows)
            QTest::addRow("after %d edits and %d us", row[0], row[1]) << row[0] << row[1];
    }

    void killedDuringEditsKeepsLastCommittedEdit()
    {
        QFETCH(int, killAfter);
        QFETCH(int, delayUs);
        const QString path = m_dir->filePath(QStringLiteral("zw4630.mdb"));
        QProcess burst;
        burst.setProgram(QStringLiteral(STORE_BURST));
        burst.setArguments({path});
        burst.start();
        QVERIFY(burst.waitForStarted());
        QByteArray output;
        auto committed = [&output] {
            // Complete lines only: a number cut by the kill was not yet reported.
            const QList<QByteArray> lines = output.left(output.lastIndexOf('\n') + 1).split('\n');
            return lines.size() < 2 ? 0 : lines.at(lines.size() - 2).toInt();
        };
        QElapsedTimer clock;
        clock.start();
        while (committed() < killAfter && clock.elapsed() < 30000) {
            burst.waitForReadyRead(100);
            output += burst.readAllStandardOutput();
            QVERIFY2(burst.state() == QProcess::Running, burst.readAllStandardError().constData());
        }
        // A report comes right after a commit: the delay moves the kill into the next edit.
        QThread::usleep(delayUs);
        burst.kill(); // SIGKILL, wherever the helper is in its edit
        QVERIFY(burst.waitForFinished(5000));
        output += burst.readAllStandardOutput();
        QCOMPARE(burst.exitStatus(), QProcess::CrashExit);
        const int last = committed();
        QVERIFY(last >= killAfter);

        const bool hotJournal = QFile::exists(path + QStringLiteral("-journal"));
        qInfo("killed after %d reported edits, %s", last,
              hotJournal ? "in a transaction (journal left)" : "between transactions");
        ChannelStore store;
        const Expected<ChannelStore::Opened> opened = store.open(path);
        ZW_VERIFY_OK(opened);
        QVERIFY(!opened->created);
        QVERIFY(opened->movedAsideTo.isEmpty());
        // The last reported edit is there; the one after it may be too, if the kill came
        // between its commit and its report. Nothing else: no edit is half there.
        const ChannelTable &records = store.records();
        QVERIFY2(records == tableAfterBurst(last) || records == tableAfterBurst(last + 1),
                 qPrintable(QStringLiteral("last reported edit %1; channel 1 holds %2 / %3")
                                .arg(last)
                                .arg(records[0][RxFrequency], records[0][TxFrequency])));
        QVERIFY(store.setField(5, Power, QStringLiteral("L")));
        store.close();
        QVERIFY(!QFile::exists(path + QStringLiteral("-journal")));
    }

    void unusableDatabaseIsSetAsideWhole_data()
    {
        QTest::addColumn<Damage>("damage");
        QTest::newRow("random bytes") << Damage::RandomBytes;
        QTest::newRow("empty file") << Damage::Empty;
        QTest::newRow("SQLite header only") << Damage::HeaderOnly;
        QTest::newRow("cut to its first page") << Damage::CutToFirstPage;
        QTest::newRow("pages overwritten") << Damage::PagesOverwritten;
        QTest::newRow("foreign: other table") << Damage::OtherTable;
        QTest::newRow("short: 15 records") << Damage::FifteenRecords;
        QTest::newRow("17 records") << Damage::SeventeenRecords;
        QTest::newRow("foreign: Access file") << Damage::AccessFile;
        QTest::newRow("a folder") << Damage::Folder;
    }

    // The window opens with a fresh table, says once what happened, and the old file is kept
    // byte for byte under another name.
    void unusableDatabaseIsSetAsideWhole()
    {
        QFETCH(Damage, damage);
        const QString path = m_dir->filePath(QStringLiteral("zw7150H.mdb"));
        const QByteArray good = goodDatabase(m_dir->path());
        QVERIFY(good.size() >= 8192);
        QByteArray bytes;
        QRandomGenerator random(7150);
        switch (damage) {
        case Damage::RandomBytes:
            bytes.resize(5000);
            for (char &c : bytes)
                c = char(random.bounded(256));
            break;
        case Damage::Empty:
            break;
        case Damage::HeaderOnly:
            bytes = good.left(100);
            break;
        case Damage::CutToFirstPage:
            bytes = good.left(4096);
            break;
        case Damage::PagesOverwritten:
            bytes = good;
            for (qsizetype i = 4096 + 8; i < bytes.size(); ++i)
                bytes[i] = char(random.bounded(256));
            break;
        case Damage::OtherTable:
            bytes = foreignDatabase(m_dir->path(), 16, QStringLiteral("other"));
            break;
        case Damage::FifteenRecords:
            bytes = foreignDatabase(m_dir->path(), 15, QStringLiteral("信道表"));
            break;
        case Damage::SeventeenRecords:
            bytes = foreignDatabase(m_dir->path(), 17, QStringLiteral("信道表"));
            break;
        case Damage::AccessFile:
            bytes = QByteArray("\x00\x01\x00\x00Standard Jet DB", 19) + QByteArray(2000, '\0');
            break;
        case Damage::Folder:
            break;
        }
        if (damage == Damage::Folder)
            QVERIFY(QDir().mkdir(path));
        else
            QVERIFY(test::writeFileBytes(path, bytes));

        MessageBoxAnswerer messages;
        ModelWindow *w = openWindow(Model::UH);
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.seen().at(0).title, QStringLiteral("系统信息"));
        const QString text = messages.seen().at(0).text;
        QVERIFY2(text.startsWith(QStringLiteral("信道数据库 %1 无法使用（").arg(path)),
                 qPrintable(text));
        QVERIFY(w->document()->isOpen());
        QVERIFY(!w->document()->isReadOnly());
        for (int row = 0; row < channelCount; ++row) {
            QCOMPARE(w->document()->record(row)[ChannelNumber], QString::number(row + 1));
            QCOMPARE(w->document()->record(row)[RxFrequency], QString());
        }
        const QStringList aside = QDir(m_dir->path())
                                      .entryList({QStringLiteral("zw7150H.mdb.bak-*")},
                                                 QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
        QCOMPARE(aside.size(), 1);
        QVERIFY(text.contains(aside.front()));
        if (damage == Damage::Folder)
            QVERIFY(QFileInfo(m_dir->filePath(aside.front())).isDir());
        else
            QCOMPARE(test::fileBytes(m_dir->filePath(aside.front())), bytes);
        QVERIFY(w->document()->setFieldUnrecorded(3, RxFrequency, QStringLiteral("440.00000")));
        ChannelStore again;
        m_main.reset(); // releases the database
        ZW_VERIFY_OK(again.open(path));
        QCOMPARE(again.record(3)[RxFrequency], QStringLiteral("440.00000"));
    }

    void readOnlyDatabaseIsNeverWritten()
    {
        const QString path = m_dir->filePath(QStringLiteral("zw7150L.mdb"));
        QVERIFY(test::writeFileBytes(path, goodDatabase(m_dir->path())));
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
        const QByteArray before = test::fileBytes(path);
        MessageBoxAnswerer messages;
        ModelWindow *w = openWindow(Model::UL);
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.seen().at(0).text,
                 QStringLiteral("信道数据库 %1 是只读的，本窗口的信道数据不能修改。").arg(path));
        QCOMPARE(w->document()->record(0)[RxFrequency], QStringLiteral("145.00000"));
        QVERIFY(!w->document()->setFieldUnrecorded(0, RxFrequency, QStringLiteral("360.00000")));
        QCOMPARE(w->document()->record(0)[RxFrequency], QStringLiteral("145.00000"));
        m_main.reset();
        QCOMPARE(test::fileBytes(path), before);
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files),
                 QStringList{QStringLiteral("zw7150L.mdb")});
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }

    // Another program keeps the database locked: the window waits for it, and a lock that
    // outlasts the wait is reported as busy; the file is never set aside. Nor is a database this
    // user may not read, in a folder where the user could rename it: it is not damaged.
    void busyDatabaseIsNeverSetAside_data()
    {
        QTest::addColumn<int>("holdMs"); // 0: held until the open has given up
        QTest::addColumn<int>("mode");   // opened by "nobody" with these permissions, or -1
        QTest::addColumn<int>("owner");
        QTest::newRow("released after 0.5 s") << 500 << -1 << 0;
        QTest::newRow("held throughout") << 0 << -1 << 0;
        QTest::newRow("unreadable to its owner (0200)") << 0 << 0200 << 65534;
        QTest::newRow("another user's file (0600)") << 0 << 0600 << 0;
    }

    void busyDatabaseIsNeverSetAside()
    {
        QFETCH(int, holdMs);
        QFETCH(int, mode);
        QFETCH(int, owner);
        const QString path = m_dir->filePath(QStringLiteral("zw4630.mdb"));
        QVERIFY(test::writeFileBytes(path, goodDatabase(m_dir->path())));
        const QByteArray before = test::fileBytes(path);
        if (mode >= 0) {
            if (::geteuid() != 0)
                QSKIP("needs root to hand the file to another user and become nobody");
            const QByteArray name = QFile::encodeName(path);
            QCOMPARE(::chmod(QFile::encodeName(m_dir->path()).constData(), 0777), 0);
            QCOMPARE(::chown(name.constData(), uid_t(owner), gid_t(owner)), 0);
            QCOMPARE(::chmod(name.constData(), mode_t(mode)), 0);
            QCOMPARE(openedAsNobody(path), QStringLiteral("unreadable %1").arg(path));
        } else if (holdMs > 0) {
            QProcess holder;
            holder.start(QStringLiteral(STORE_BURST),
                         {QStringLiteral("--hold"), path, QString::number(holdMs)});
            QVERIFY(holder.waitForReadyRead(10000));
            QCOMPARE(holder.readLine(), QByteArray("locked\n"));
            MessageBoxAnswerer messages;
            ModelWindow *w = openWindow(Model::V);
            QCOMPARE(messages.count(), 0);
            QVERIFY(w->document()->isOpen());
            QCOMPARE(w->document()->record(0)[RxFrequency], QStringLiteral("145.00000"));
            QVERIFY(holder.waitForFinished(10000));
        } else {
            QSqlDatabase db =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("holder"));
            db.setDatabaseName(path);
            QVERIFY(db.open());
            QSqlQuery lock(db);
            QVERIFY(lock.exec(QStringLiteral("BEGIN EXCLUSIVE")));
            ChannelStore store;
            store.setBusyTimeout(100);
            const Expected<ChannelStore::Opened> opened = store.open(path);
            QVERIFY(!opened.ok());
            QVERIFY2(opened.failure().is(StoreFailure::Busy), qPrintable(opened.error()));
            QVERIFY(!store.isOpen());
            QVERIFY(lock.exec(QStringLiteral("COMMIT")));
            lock = QSqlQuery();
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(QStringLiteral("holder"));
            ZW_VERIFY_OK(store.open(path));
            QCOMPARE(store.record(0)[RxFrequency], QStringLiteral("145.00000"));
        }
        m_main.reset();
        QCOMPARE(setAside(m_dir->path()), QStringList());
        QCOMPARE(test::fileBytes(path), before);
    }

    // With the database held by another program, an edit from the window waits about a second
    // in all (the re-read, the write, the re-read after the refusal), then says the database is
    // busy; the table keeps what it showed.
    void heldDatabaseMakesAnEditWaitAboutASecond_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::newRow("Clear") << "clear";
        QTest::newRow("paste") << "paste";
        QTest::newRow("undo") << "undo";
    }

    void heldDatabaseMakesAnEditWaitAboutASecond()
    {
        QFETCH(QString, edit);
        ModelWindow *w = openWindow(Model::V);
        ChannelEditor *editor = w->findChild<ChannelEditor *>();
        editor->enterText(0, 1, QStringLiteral("145"));
        QTRY_COMPARE(w->document()->record(0)[RxFrequency], QStringLiteral("145.00000"));
        const ChannelTable before = w->document()->records();
        QProcess holder;
        holder.start(QStringLiteral(STORE_BURST),
                     {QStringLiteral("--hold"), w->document()->path(), QStringLiteral("20000")});
        QVERIFY(holder.waitForReadyRead(10000));
        QCOMPARE(holder.readLine(), QByteArray("locked\n"));
        MessageBoxAnswerer messages;
        w->grid()->setCurrentIndex(w->tableModel()->index(0, 1));
        QElapsedTimer waited;
        waited.start();
        if (edit == QLatin1String("clear")) {
            w->findChild<RowActions *>()->clear();
        } else if (edit == QLatin1String("paste")) {
            QMimeData data;
            data.setText(QStringLiteral("146.00000\t67.0\n"));
            w->findChild<RowActions *>()->pasteFrom(&data);
        } else {
            editor->undo();
        }
        const qint64 elapsed = waited.elapsed();
        holder.kill();
        holder.waitForFinished(5000);
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.seen()[0].text, databaseBusyMessage(false));
        // About a second, where every statement used to wait its own two seconds.
        QVERIFY2(elapsed < 2500, qPrintable(QString::number(elapsed)));
        QVERIFY(w->document()->records() == before);
    }

    // Two instances started together in an empty folder: one creates the database, the other
    // opens it; neither takes the other's half-made file for a damaged one.
    void instancesStartedTogetherShareOneDatabase()
    {
        constexpr int rounds = 20;
        for (int round = 0; round < rounds; ++round) {
            const QString folder = m_dir->filePath(QString::number(round));
            QVERIFY(QDir().mkdir(folder));
            const QString path = folder + QStringLiteral("/zw4630.mdb");
            QProcess first;
            QProcess second;
            first.start(QStringLiteral(STORE_BURST), {path, QStringLiteral("2")});
            second.start(QStringLiteral(STORE_BURST), {path, QStringLiteral("2")});
            QVERIFY(first.waitForFinished(30000) && second.waitForFinished(30000));
            QVERIFY2(first.exitCode() == 0 && second.exitCode() == 0,
                     (first.readAllStandardError() + second.readAllStandardError()).constData());
            QCOMPARE(QDir(folder).entryList(QDir::Files),
                     QStringList{QStringLiteral("zw4630.mdb")});
        }
    }

    // A second instance on the same database: each edit writes only what it changes, a table
    // replaced whole is written whole, and the window shows the other instance's edits when it
    // comes to the front.
    void secondInstanceLosesNothing_data()
    {
        QTest::addColumn<QString>("step");
        QTest::newRow("other field of the same channel") << "field";
        QTest::newRow("whole record from a stale copy") << "record";
        QTest::newRow("table replaced whole") << "table";
        QTest::newRow("window brought to the front") << "window";
    }

    void secondInstanceLosesNothing()
    {
        QFETCH(QString, step);
        const QString path = m_dir->filePath(QStringLiteral("zw4630.mdb"));
        ChannelStore first;
        ZW_VERIFY_OK(first.open(path));
        if (step == QLatin1String("window")) {
            ModelWindow *w = openWindow(Model::V);
            ZW_VERIFY_OK(first.setField(2, RxFrequency, QStringLiteral("146.00000")));
            QSignalSpy changed(w->document(), &ChannelDocument::recordsChanged);
            QApplication::setActiveWindow(m_main.get());
            QEvent activation(QEvent::ActivationChange);
            QCoreApplication::sendEvent(w, &activation);
            QTRY_COMPARE(w->document()->record(2)[RxFrequency], QStringLiteral("146.00000"));
            QVERIFY(changed.count() >= 1);
            return;
        }
        ChannelStore second;
        ZW_VERIFY_OK(second.open(path));
        ZW_VERIFY_OK(first.setField(0, RxFrequency, QStringLiteral("145.00000")));
        ChannelTable expected;
        if (step == QLatin1String("field")) {
            ZW_VERIFY_OK(second.setField(0, Power, QStringLiteral("L")));
            QCOMPARE(second.record(0)[RxFrequency], QStringLiteral("145.00000"));
        } else if (step == QLatin1String("record")) {
            ChannelRecord stale = second.record(0); // without the first instance's frequency
            stale[TxTone] = QStringLiteral("88.5");
            ZW_VERIFY_OK(second.setRecord(0, stale));
            QCOMPARE(second.record(0)[RxFrequency], QStringLiteral("145.00000"));
        } else {
            expected = second.records(); // channel 1 still empty here: a read of an empty radio
            expected[5][Power] = QStringLiteral("L");
            ZW_VERIFY_OK(second.setRecords(expected));
            QCOMPARE(second.records(), expected);
        }
        ChannelStore reader;
        ZW_VERIFY_OK(reader.open(path));
        if (step == QLatin1String("table")) {
            QCOMPARE(reader.records(), expected);
            QVERIFY(first.refresh());
            QCOMPARE(first.records(), expected);
            return;
        }
        QCOMPARE(reader.record(0)[RxFrequency], QStringLiteral("145.00000"));
        QCOMPARE(reader.record(0), second.record(0));
        QCOMPARE(second.record(0)[step == QLatin1String("field") ? Power : TxTone],
                 step == QLatin1String("field") ? QStringLiteral("L") : QStringLiteral("88.5"));
    }

    // A first creation that fails (a full disk, here a file-size limit) leaves no file behind
    // that the next start would take for a damaged database.
    void failedFirstCreationLeavesNoFile()
    {
        const QString path = m_dir->filePath(QStringLiteral("zw4630.mdb"));
        rlimit previous{};
        getrlimit(RLIMIT_FSIZE, &previous);
        void (*previousHandler)(int) = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1024, previous.rlim_max};
        QVERIFY(setrlimit(RLIMIT_FSIZE, &limit) == 0);
        Expected<ChannelStore::Opened> opened = Failure{};
        {
            ChannelStore store;
            opened = store.open(path);
        }
        setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, previousHandler);
        QVERIFY(!opened.ok());
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList());

        ChannelStore store;
        opened = store.open(path);
        ZW_VERIFY_OK(opened);
        QVERIFY(opened->created);
        QVERIFY(opened->movedAsideTo.isEmpty());
    }

private:
    ModelWindow *openWindow(Model model)
    {
        m_main = std::make_unique<MainWindow>();
        m_main->show();
        return m_main->showModel(model);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<MainWindow> m_main;
};

QTEST_MAIN(TestFaultMatrixDb)
#include "tst_faultmatrix_db.moc"
