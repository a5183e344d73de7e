// The words for each way the model database, a file, a CSV list or a paste fails, in both
// languages: every kind is said, carries the file or channel it is about, and the Chinese text
// holds no English besides the file name (a busy database once showed SQLite's English inside a
// Chinese message). The status bar's words for the line's state, each fact with its time.
#include "channeltexts.h"
#include "editfailures.h"
#include "language.h"
#include "messages.h"
#include "radiotexts.h"
#include "result.h"

#include <QRegularExpression>
#include <QtTest>

using namespace zw;

Q_DECLARE_METATYPE(zw::StoreFailure)
Q_DECLARE_METATYPE(zw::LinkState)

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

    void linkStateIsSaidWithItsTime_data()
    {
        QTest::addColumn<LinkState>("state");
        QTest::addColumn<QString>("chinese");
        QTest::addColumn<QString>("english");
        const QDateTime at(QDate(2026, 12, 9), QTime(10, 42, 7));
        LinkState open;
        open.port = LinkState::Port::Open;
        auto radio = [&](LinkState::Radio r) {
            LinkState s = open;
            s.radio = r;
            s.radioSince = at;
            return s;
        };
        QTest::newRow("radio not polled")
            << radio(LinkState::Radio::NotPolled) << QStringLiteral("尚未询问对讲机")
            << QStringLiteral("radio not polled yet");
        QTest::newRow("radio answered")
            << radio(LinkState::Radio::Answered) << QStringLiteral("对讲机 10:42:07 应答")
            << QStringLiteral("radio answered at 10:42:07");
        QTest::newRow("radio silent")
            << radio(LinkState::Radio::Silent) << QStringLiteral("对讲机没有应答（自 10:42:07 起）")
            << QStringLiteral("no answer from the radio since 10:42:07");
        LinkState closed = radio(LinkState::Radio::Answered);
        closed.port = LinkState::Port::Closed;
        QTest::newRow("port closed")
            << closed << QStringLiteral("端口已关闭") << QStringLiteral("Port closed");
        LinkState writing = open;
        writing.transfer = LinkState::Transfer::Writing;
        writing.blocksDone = 5;
        writing.blocksTotal = 17;
        QTest::newRow("writing") << writing << QStringLiteral("正在写入 5/17")
                                 << QStringLiteral("Writing 5/17");

        auto ended = [&](const auto &result) {
            LinkState s = open;
            s.outcome = LinkState::outcomeOf(result);
            s.outcomeTime = at;
            if constexpr (std::is_same_v<std::decay_t<decltype(result)>, ReadResult>)
                s.read = result;
            else
                s.write = result;
            return s;
        };
        ReadResult read;
        read.outcome = ReadResult::Outcome::Read;
        QTest::newRow("read") << ended(read) << QStringLiteral("已读取 16 个信道 10:42:07")
                              << QStringLiteral("16 channels read 10:42:07");
        read.outcome = ReadResult::Outcome::NoAnswer;
        QTest::newRow("read, no answer")
            << ended(read) << QStringLiteral("读数失败：对讲机没有应答 10:42:07")
            << QStringLiteral("Read failed: the radio does not answer 10:42:07");
        read.outcome = ReadResult::Outcome::Cut;
        QTest::newRow("read, cut")
            << ended(read) << QStringLiteral("读数失败：对讲机中途停止了应答 10:42:07")
            << QStringLiteral("Read failed: the radio stopped answering during the read 10:42:07");
        read.outcome = ReadResult::Outcome::OtherModel;
        read.radioModel = Model::UH;
        QTest::newRow("read, another model")
            << ended(read) << QStringLiteral("读数失败：对讲机是 ZW4630UH，不是 ZW4630V 10:42:07")
            << QStringLiteral("Read failed: the radio is a ZW4630UH, not a ZW4630V 10:42:07");

        WriteResult write;
        write.writeRequestSent = true;
        write.check = WriteResult::Check::Verified;
        QTest::newRow("verified") << ended(write) << QStringLiteral("已写入并核对 10:42:07")
                                  << QStringLiteral("Written and verified 10:42:07");
        write.check = WriteResult::Check::Differs;
        write.differingChannels = {3, 5};
        QTest::newRow("differs") << ended(write)
                                 << QStringLiteral("已写入，但对讲机与写入不同：信道 3、5 10:42:07")
                                 << QStringLiteral(
                                        "Written, but the radio differs: channels 3, 5 10:42:07");
        write.differingChannels = {};
        write.settingsDiffer = true;
        QTest::newRow("differs in the settings")
            << ended(write)
            << QStringLiteral("已写入，但对讲机与写入不同：静噪级别或信道音 10:42:07")
            << QStringLiteral("Written, but the radio differs: the squelch level or channel "
                              "tone 10:42:07");
        write.check = WriteResult::Check::NotChecked;
        write.notCheckedReason = WriteResult::NotCheckedReason::NoReadyAnswer;
        QTest::newRow("not checked")
            << ended(write) << QStringLiteral("已写入，没有核对 10:42:07（写入后对讲机没有应答）")
            << QStringLiteral(
                   "Written, not verified 10:42:07 (the radio did not answer after the write)");
        WriteResult cut;
        cut.outcome = WriteResult::Outcome::PortLost;
        cut.writeRequestSent = true;
        QTest::newRow("port lost after A")
            << ended(cut) << QStringLiteral("已写入，没有核对 10:42:07（写入时串行端口出错）")
            << QStringLiteral(
                   "Written, not verified 10:42:07 (the serial port failed during the write)");
        WriteResult refused;
        refused.outcome = WriteResult::Outcome::OtherModel;
        refused.radioModel = Model::UH;
        QTest::newRow("nothing written, another model")
            << ended(refused) << QStringLiteral("没有写入 10:42:07（对讲机是 ZW4630UH）")
            << QStringLiteral("Nothing written 10:42:07 (the radio is a ZW4630UH)");
        refused.outcome = WriteResult::Outcome::NoAnswer;
        QTest::newRow("nothing written, no answer")
            << ended(refused) << QStringLiteral("没有写入 10:42:07（对讲机没有应答）")
            << QStringLiteral("Nothing written 10:42:07 (the radio did not answer)");
    }

    // The bar says the transfer while one runs, else the last outcome, beside the radio's fact.
    void linkStateIsSaidWithItsTime()
    {
        QFETCH(LinkState, state);
        QFETCH(QString, chinese);
        QFETCH(QString, english);
        for (bool inEnglish : {false, true}) {
            const QString said = state.outcome != LinkState::Outcome::None
                                     ? linkOutcomeText(state, inEnglish)
                                 : state.transferring() ? linkTransferText(state, inEnglish)
                                                        : linkRadioText(state, inEnglish);
            QCOMPARE(said, inEnglish ? english : chinese);
        }
    }

    // Chinese texts put together from pieces keep the spacing of the fixed ones: a blank between
    // a number and a Chinese word, none between two Chinese words.
    void chineseTextsSpaceNumbersOnly_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        WriteResult verified;
        verified.check = WriteResult::Check::Verified;
        verified.changedChannels = {3, 16};
        verified.settingsChanged = true;
        QTest::newRow("verified, channels and settings")
            << writeOutcomeText(verified, Model::V, false)
            << QStringLiteral("已写入并核对：信道 3、16 及静噪级别或信道音已改变。");
        WriteResult differs;
        differs.check = WriteResult::Check::Differs;
        differs.differingChannels = {3};
        QTest::newRow("differs in a channel")
            << writeOutcomeText(differs, Model::V, false)
            << QStringLiteral("对讲机中信道 3 的数据与写入的不同，请重新写入。");
        differs.differingChannels.clear();
        differs.settingsDiffer = true;
        QTest::newRow("differs in the settings")
            << writeOutcomeText(differs, Model::V, false)
            << QStringLiteral("对讲机中静噪级别或信道音的数据与写入的不同，请重新写入。");
        QTest::newRow("restore question")
            << restoreRadioQuestion(false).arg(radioContentsText({3, 5}, true, false))
            << QStringLiteral("写入这个备份将改变对讲机中的信道 3、5 及静噪级别或信道音。\n"
                              "对讲机中现有的信道数据会先保存到备份文件夹。");
        QTest::newRow("changed elsewhere")
            << changedElsewhereMessage({7}, true, false, false)
            << QStringLiteral("另一程序已修改了数据库中的信道 7 和静噪级别或信道音，本次没有改动。"
                              "表中显示的是数据库中保存的数据。");
    }

    void chineseTextsSpaceNumbersOnly()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(text, expected);
    }
};

QTEST_MAIN(TestFailureTexts)
#include "tst_failuretexts.moc"
