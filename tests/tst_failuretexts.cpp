// The words for each way the model database, a file, a CSV list or a paste fails, in both
// languages: every kind is said, carries the file or channel it is about, and the Chinese text
// holds no English besides the file name (a busy database once showed SQLite's English inside a
// Chinese message).
#include "channeltexts.h"
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

    // Every kind of a file, a CSV list and a paste is worded in both languages (a kind without
    // words would show nothing, as the domain code gives no text of its own), and names the file
    // or the value it is about.
    void everyFileCsvAndPasteKindIsWorded_data()
    {
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("chinese");
        QTest::addColumn<QString>("detail");
        const QString file = QStringLiteral("/home/u/chan1.doc");
        auto failure = [&](auto kind) {
            return Failure{QStringLiteral("Input/output error"),
                           std::nullopt,
                           kind,
                           file,
                           7,
                           QStringLiteral("88.8")};
        };
        auto fileRow = [&](FileFailure kind, const QString &detail) {
            const Failure f = failure(kind);
            QTest::addRow("file kind %d", int(kind))
                << fileFailureText(f, true) << fileFailureText(f, false) << detail;
        };
        using F = FileFailure;
        for (F kind : {F::SystemRefused, F::NotRegular, F::TooLarge, F::CannotMakeFolder})
            fileRow(kind, file);
        for (F kind : {F::QuoteInValue, F::ChannelToneBad, F::SquelchLevelBad})
            fileRow(kind, QStringLiteral("88.8"));
        for (F kind : {F::NoConverter, F::NotGb2312Text, F::NotWritable, F::NoBackupFolder})
            fileRow(kind, QString());
        fileRow(F::Truncated, QStringLiteral("7"));
        for (CsvFailure kind :
             {CsvFailure::NoHeader, CsvFailure::NoChannelColumns, CsvFailure::FrequencyTooLarge}) {
            const Failure f = failure(kind);
            QTest::addRow("csv kind %d", int(kind))
                << fileFailureText(f, true) << fileFailureText(f, false) << QString();
        }
        for (int k = 0; k <= int(PasteReasonKind::NoChannels); ++k) {
            PasteReason reason{PasteReasonKind(k), k == 1 || k == 2 ? 3 : 6, QStringLiteral("9x")};
            reason.csv = {CsvReasonKind::PowerNotWatts, QStringLiteral("9x")};
            QTest::addRow("paste kind %d", k)
                << pasteReasonText(reason, true) << pasteReasonText(reason, false) << QString();
        }
    }

    void everyFileCsvAndPasteKindIsWorded()
    {
        QFETCH(QString, english);
        QFETCH(QString, chinese);
        QFETCH(QString, detail);
        QVERIFY(!english.isEmpty());
        QVERIFY2(chinese.contains(QRegularExpression(QStringLiteral("[\\x{4e00}-\\x{9fff}]"))),
                 qPrintable(chinese));
        QVERIFY2(english.contains(detail) && chinese.contains(detail),
                 qPrintable(english + QLatin1Char('|') + chinese));
    }
};

QTEST_MAIN(TestFailureTexts)
#include "tst_failuretexts.moc"
