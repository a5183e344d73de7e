// The window's words for each way the model database fails, in both languages: every kind is
// said, carries the file or channel it is about, and the Chinese text holds no English besides
// the file name (a busy database once showed SQLite's English inside a Chinese message).
#include "editfailures.h"
#include "language.h"
#include "messages.h"
#include "result.h"

#include <QRegularExpression>
#include <QtTest>

using namespace zw;

Q_DECLARE_METATYPE(zw::StoreFailure)

class TestFailureTexts : public QObject
{
    Q_OBJECT

private slots:
    void storeFailureIsSaidInBothLanguages_data()
    {
        QTest::addColumn<StoreFailure>("kind");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("detail"); // what the text must name: the file or a number
        using K = StoreFailure;
        const QString file = QStringLiteral("/home/u/zw4630.mdb");
        QTest::newRow("busy") << K::Busy << 0 << QString();
        QTest::newRow("not open") << K::NotOpen << 0 << QString();
        QTest::newRow("read-only") << K::ReadOnly << 0 << file;
        QTest::newRow("cannot create") << K::CannotCreate << 0 << file;
        QTest::newRow("cannot rename") << K::CannotRename << 0 << file;
        QTest::newRow("not a file") << K::NotAFile << 0 << QString();
        QTest::newRow("unreadable") << K::Unreadable << 0 << file;
        QTest::newRow("not a database") << K::NotADatabase << 0 << QString();
        QTest::newRow("too few records") << K::RecordCount << 15 << QStringLiteral("15");
        QTest::newRow("too many records") << K::RecordCount << 17 << QStringLiteral("16");
        QTest::newRow("no such channel") << K::NoSuchChannel << 17 << QStringLiteral("17");
        QTest::newRow("record missing") << K::RecordMissing << 0 << file;
        QTest::newRow("changed elsewhere") << K::ChangedElsewhere << 0 << QString();
    }

    void storeFailureIsSaidInBothLanguages()
    {
        QFETCH(StoreFailure, kind);
        QFETCH(int, number);
        QFETCH(QString, detail);
        const Failure failure{QStringLiteral("database is locked Unable to fetch row"),
                              std::nullopt, kind, QStringLiteral("/home/u/zw4630.mdb"), number};
        const QString english = storeFailureText(failure, true);
        const QString chinese = storeFailureText(failure, false);
        QVERIFY(!english.isEmpty());
        QVERIFY(!chinese.isEmpty());
        QVERIFY(english != chinese);
        QVERIFY2(english.contains(detail), qPrintable(english));
        QVERIFY2(chinese.contains(detail), qPrintable(chinese));
        QString rest = chinese;
        rest.remove(QStringLiteral("/home/u/zw4630.mdb")).remove(QStringLiteral("SQLite"));
        QVERIFY2(!rest.contains(QRegularExpression(QStringLiteral("[A-Za-z]"))),
                 qPrintable(chinese));
    }

    // A busy database replaces the whole message, in the window's language: what it is, try
    // again, nothing was changed.
    void busyDatabaseReadsInTheWindowsLanguage_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("message");
        QTest::newRow("chinese") << 0 << databaseBusyMessage(false);
        QTest::newRow("english") << 2 << databaseBusyMessage(true);
    }

    void busyDatabaseReadsInTheWindowsLanguage()
    {
        QFETCH(int, mode);
        QFETCH(QString, message);
        setLanguageMode(mode);
        const Failure busy{QStringLiteral("database is locked Unable to fetch row"), std::nullopt,
                           StoreFailure::Busy};
        QCOMPARE(storeFailureMessage(busy, editNotStoredMessage), message);
        QCOMPARE(storeFailureMessage(busy, tableNotStoredMessage), message);
        QVERIFY(!message.contains(QStringLiteral("locked")));
        const Failure refused{QStringLiteral("disk I/O error"), std::nullopt,
                              StoreFailure::Refused};
        QCOMPARE(storeFailureMessage(refused, editNotStoredMessage),
                 editNotStoredMessage.arg(QStringLiteral("disk I/O error")));
        setLanguageMode(0);
    }
};

QTEST_MAIN(TestFailureTexts)
#include "tst_failuretexts.moc"
