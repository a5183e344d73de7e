#include "channelstore.h"
#include "okcheck.h"
#include "testfolder.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

using namespace zw;
using zw::test::fileBytes;

namespace
{

// Makes a SQLite file with 信道表 holding `records` rows, or a table of another name.
void makeDatabase(const QString &path, int records, const QString &table = QStringLiteral("信道表"))
{
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("maker"));
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery q(db);
        QStringList cols;
        for (const QString &name : fieldNames())
            cols << QLatin1Char('"') + name + QStringLiteral("\" TEXT");
        QVERIFY(q.exec(QStringLiteral("CREATE TABLE \"%1\" (%2)").arg(table, cols.join(u','))));
        for (int i = 1; i <= records; ++i)
            QVERIFY(q.exec(
                QStringLiteral("INSERT INTO \"%1\" (\"信道号\") VALUES ('%2')").arg(table).arg(i)));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("maker"));
}

} // namespace

class TestChannelStore : public QObject
{
    Q_OBJECT

private slots:
    void freshDatabaseHoldsSixteenEmptyChannels()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("zw4630.mdb"));
        ChannelStore store;
        const auto result = store.open(path);
        ZW_VERIFY_OK(result);
        QVERIFY(result->created);
        QVERIFY(!result->readOnly);
        QVERIFY(QFile::exists(path));
        for (int row = 0; row < channelCount; ++row) {
            QCOMPARE(store.record(row)[ChannelNumber], QString::number(row + 1));
            for (int field = 1; field < fieldCount; ++field) {
                QVERIFY(!store.record(row)[field].isNull());
                QCOMPARE(store.record(row)[field], QString());
            }
        }
    }

    void editIsStoredAtOnceAndSurvivesReopen()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("zw7150H.mdb"));
        {
            ChannelStore store;
            ZW_VERIFY_OK(store.open(path));
            QSignalSpy changed(&store, &ChannelStore::recordsChanged);
            QVERIFY(store.setField(15, RxFrequency, QStringLiteral("435.10000")));
            QCOMPARE(changed.count(), 1);
            ChannelRecord r = store.record(3);
            r[RxTone] = QStringLiteral("D023N");
            r[Spare3] = QStringLiteral("023");
            QVERIFY(store.setRecord(3, r));
        }
        ChannelStore again;
        const auto result = again.open(path);
        ZW_VERIFY_OK(result);
        QVERIFY(!result->created);
        QCOMPARE(again.record(15)[RxFrequency], QStringLiteral("435.10000"));
        QCOMPARE(again.record(3)[RxTone], QStringLiteral("D023N"));
        QCOMPARE(again.record(3)[Spare3], QStringLiteral("023"));
        QCOMPARE(again.record(3)[ChannelNumber], QStringLiteral("4"));
    }

    void setRecordsReplacesAllInOneStep()
    {
        QTemporaryDir dir;
        ChannelStore store;
        QVERIFY(store.open(dir.filePath(QStringLiteral("a.mdb"))).ok());
        ChannelTable table = store.records();
        for (int row = 0; row < channelCount; ++row)
            table[row][RxFrequency] = QStringLiteral("14%1.00000").arg(row % 10);
        QVERIFY(store.setRecords(table));
        QCOMPARE(store.records(), table);
        const QString path = store.path();
        store.close();
        ChannelStore again;
        ZW_VERIFY_OK(again.open(path));
        QCOMPARE(again.records(), table);
    }

    void unusableFileIsMovedAsideAndReplaced_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("random bytes") << 0;
        QTest::newRow("empty file") << 1;
        QTest::newRow("other table") << 2;
        QTest::newRow("fifteen records") << 3;
        QTest::newRow("seventeen records") << 4;
        QTest::newRow("access-style header") << 5;
    }

    void unusableFileIsMovedAsideAndReplaced()
    {
        QFETCH(int, kind);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("zw7150L.mdb"));
        switch (kind) {
        case 0: {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(3000, '\x5a'));
            break;
        }
        case 1:
            QVERIFY(QFile(path).open(QIODevice::WriteOnly));
            break;
        case 2:
            makeDatabase(path, 16, QStringLiteral("other"));
            break;
        case 3:
            makeDatabase(path, 15);
            break;
        case 4:
            makeDatabase(path, 17);
            break;
        case 5: {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray("\x00\x01\x00\x00Standard Jet DB", 19) + QByteArray(2000, '\0'));
            break;
        }
        }
        const QByteArray original = fileBytes(path);

        ChannelStore store;
        const auto result = store.open(path);
        ZW_VERIFY_OK(result);
        QVERIFY(result->created);
        QVERIFY(!result->movedAsideTo.isEmpty());
        QVERIFY(result->movedAsideTo.startsWith(path + QStringLiteral(".bak-")));
        QCOMPARE(fileBytes(result->movedAsideTo), original);
        QCOMPARE(store.record(0)[ChannelNumber], QStringLiteral("1"));
        QCOMPARE(store.record(15)[ChannelNumber], QStringLiteral("16"));
        QVERIFY(store.setField(0, RxFrequency, QStringLiteral("145.00000")));
    }

    void readOnlyFileIsNeverWritten()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("zw4630.mdb"));
        {
            ChannelStore store;
            ZW_VERIFY_OK(store.open(path));
            QVERIFY(store.setField(0, RxFrequency, QStringLiteral("145.00000")));
        }
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
        const QByteArray before = fileBytes(path);
        ChannelStore store;
        const auto result = store.open(path);
        ZW_VERIFY_OK(result);
        QVERIFY(result->readOnly);
        QVERIFY(store.isReadOnly());
        QCOMPARE(store.record(0)[RxFrequency], QStringLiteral("145.00000"));
        const Result refused = store.setField(0, RxFrequency, QStringLiteral("146.00000"));
        QVERIFY(!refused);
        QVERIFY(!refused.failure().is(StoreFailure::Busy));
        QCOMPARE(store.record(0)[RxFrequency], QStringLiteral("145.00000"));
        store.close();
        QCOMPARE(fileBytes(path), before);
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }

    void unusableFileInReadOnlyFolderIsLeftAlone()
    {
        QTemporaryDir dir;
        const QString sub = dir.filePath(QStringLiteral("ro"));
        QVERIFY(QDir().mkdir(sub));
        const QString path = sub + QStringLiteral("/zw4630.mdb");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("not a database");
        f.close();
        QFile::setPermissions(sub, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        ChannelStore store;
        const auto result = store.open(path);
        QVERIFY(!result.ok());
        QVERIFY(result.failure().is(StoreFailure::NotADatabase));
        QCOMPARE(fileBytes(path), QByteArray("not a database"));
        QCOMPARE(QDir(sub).entryList(QDir::Files).size(), 1);
        QVERIFY(!store.setField(0, RxFrequency, QStringLiteral("145.00000")));
        QFile::setPermissions(sub, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                       QFileDevice::ExeOwner);
    }

    void failedWriteKeepsWhatTheFileHolds()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("zw7150M.mdb"));
        ChannelStore store;
        ZW_VERIFY_OK(store.open(path));
        QVERIFY(store.setField(2, RxFrequency, QStringLiteral("410.00000")));

        // Another program holds the database locked: the edit must fail, not vanish silently.
        QSqlDatabase other =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("locker"));
        other.setDatabaseName(path);
        QVERIFY(other.open());
        QSqlQuery lock(other);
        QVERIFY(lock.exec(QStringLiteral("BEGIN EXCLUSIVE")));
        QSignalSpy changed(&store, &ChannelStore::recordsChanged);
        const Result refused = store.setField(2, RxFrequency, QStringLiteral("420.00000"));
        QVERIFY(!refused);
        QVERIFY(refused.failure().is(StoreFailure::Busy));
        QCOMPARE(store.record(2)[RxFrequency], QStringLiteral("410.00000"));
        QCOMPARE(changed.count(), 1);
        QVERIFY(lock.exec(QStringLiteral("ROLLBACK")));
        lock = QSqlQuery();
        other.close();
        other = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("locker"));
        QVERIFY(store.setField(2, RxFrequency, QStringLiteral("420.00000")));
    }
};

QTEST_GUILESS_MAIN(TestChannelStore)
#include "tst_channelstore.moc"
