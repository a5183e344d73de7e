#include "cellentry.h"
#include "channelclipboard.h"
#include "channeldocument.h"
#include "channelrows.h"
#include "picklists.h"
#include "sampletables.h"

#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace zw;

namespace
{

const ModelInfo &info = modelInfo(Model::V);

ChannelTable withRecord(ChannelTable table, int row, const ChannelRecord &record)
{
    table[static_cast<std::size_t>(row)] = record;
    return table;
}

// What each edit of one program does to a table, as the window's editing computes it.
using TableEdit = std::function<ChannelTable(const ChannelTable &)>;

TableEdit typed(int row, const QString &text)
{
    return [=](const ChannelTable &now) {
        ChannelRecord record = now[static_cast<std::size_t>(row)];
        record[RxFrequency] = text;
        return withRecord(now, row, checkRxFrequency(record, info.band).record);
    };
}

TableEdit cleared(const QList<int> &rows)
{
    return [=](const ChannelTable &now) { return clearChannels(now, rows, info.band); };
}

TableEdit edit(const QString &name)
{
    if (name == QLatin1String("type"))
        return typed(1, QStringLiteral("150"));
    if (name == QLatin1String("pick"))
        return [](const ChannelTable &now) {
            return withRecord(now, 1, applyPick(now[1], PickList::Power, QStringLiteral("L")));
        };
    if (name == QLatin1String("paste")) // channels 1 and 2 copied onto 5 and 6
        return [](const ChannelTable &now) {
            const CopiedChannels copied = copyChannels(now, {0, 1}, info, {});
            PasteSource source;
            source.ownRows = copied.ownRows;
            return planPaste(source, info, now, 4).table;
        };
    if (name == QLatin1String("clear") || name == QLatin1String("cut"))
        return cleared(name == QLatin1String("clear") ? QList<int>{1, 2} : QList<int>{2});
    if (name == QLatin1String("move")) // channel 2 down
        return [](const ChannelTable &now) { return moveChannels(now, {1}, 1).value_or(now); };
    if (name == QLatin1String("type2")) // the field the first program's typing changes
        return typed(1, QStringLiteral("160"));
    if (name == QLatin1String("type11"))
        return typed(10, QStringLiteral("170"));
    if (name == QLatin1String("clear2"))
        return cleared({1});
    if (name == QLatin1String("clear3"))
        return cleared({2});
    return {};
}

ChannelTable fourChannels()
{
    ChannelTable table = test::emptyTable();
    for (int row = 0; row < 4; ++row) {
        ChannelRecord &r = table[static_cast<std::size_t>(row)];
        r[RxFrequency] = QString::number(140 + row, 'f', 5);
        r[TxFrequency] = QString::number(141 + row, 'f', 5);
        r[RxTone] = QStringLiteral("67.0");
        r[Scan] = QStringLiteral("add");
        r[Bcl] = QStringLiteral("off");
        r[Beat] = QStringLiteral("off");
        r[Power] = row % 2 ? QStringLiteral("H") : QStringLiteral("L");
    }
    return table;
}

} // namespace

class TestChannelDocument : public QObject
{
    Q_OBJECT

private slots:
    // Two programs on one model database: A does one of its edits (or undoes or redoes one),
    // B types a cell or clears a channel before or in between. Whatever the order, the file
    // ends as if each step had been made on what the file held at that moment: nothing B
    // stored is reverted by A, and an undo that would overwrite B's value is refused, stays in
    // the history and writes nothing.
    void twoProgramsLoseNoStoredEdit_data()
    {
        QTest::addColumn<QString>("aEdit");
        QTest::addColumn<QString>("bEdit");
        QTest::addColumn<QString>("steps"); // A's and B's steps in order: a, b, u(ndo), r(edo)
        const QStringList aEdits{"type", "pick", "paste", "clear", "cut", "move"};
        const QStringList bEdits{"type2", "type11", "clear2", "clear3"};
        for (const QString &a : aEdits) {
            for (const QString &b : bEdits) {
                for (const char *steps : {"ba", "ab", "abu", "aub", "aubr", "aubru"})
                    QTest::addRow("%s %s %s", qPrintable(a), qPrintable(b), steps)
                        << a << b << QString::fromLatin1(steps);
            }
        }
    }

    void twoProgramsLoseNoStoredEdit()
    {
        QFETCH(QString, aEdit);
        QFETCH(QString, bEdit);
        QFETCH(QString, steps);
        QTemporaryDir dir;
        const QString path = dir.filePath(info.databaseFile);
        ChannelDocument a(Model::V);
        ChannelDocument b(Model::V);
        QVERIFY(a.open(path).ok());
        QVERIFY(a.replace(fourChannels(), std::nullopt));
        QVERIFY(b.open(path).ok());

        // The file as it must end: each step on what is stored at that moment; an undo or a
        // redo only where every field it writes still holds what A left there.
        ChannelTable expected = fourChannels();
        ChangeSet aChange;
        bool done = false; // A's step is in effect (not undone)
        for (const QChar step : steps) {
            if (step == QLatin1Char('a')) {
                aChange = changesBetween(expected, edit(aEdit)(expected));
                expected = edit(aEdit)(expected);
                QVERIFY(a.edit(edit(aEdit)));
                done = !aChange.isEmpty();
            } else if (step == QLatin1Char('b')) {
                expected = edit(bEdit)(expected);
                QVERIFY(b.edit(edit(bEdit)));
            } else {
                const bool undo = step == QLatin1Char('u');
                const Result result = undo ? a.undo() : a.redo();
                if (done != undo) { // nothing to undo or redo
                    QVERIFY(result.ok());
                    continue;
                }
                const ChangeSet write = undo ? aChange.inverted() : aChange;
                bool free = true;
                for (const FieldChange &f : write.fields)
                    free = free && expected[std::size_t(f.row)][f.field] == f.before;
                QCOMPARE(result.ok(), free);
                if (!free) {
                    QVERIFY(result.failure().changedElsewhere);
                    continue; // refused: the step stays where it was
                }
                for (const FieldChange &f : write.fields)
                    expected[std::size_t(f.row)][f.field] = f.after;
                done = !undo;
            }
            QCOMPARE(a.canUndo(), done);
        }
        ChannelStore file;
        QVERIFY(file.open(path).ok());
        for (int row = 0; row < channelCount; ++row)
            QCOMPARE(file.records()[std::size_t(row)].fields, expected[std::size_t(row)].fields);
        a.refresh();
        QVERIFY(a.records() == expected);
        b.refresh();
        QVERIFY(b.records() == expected);
    }

    // One program's history, as an undo stack keeps it: an edit after undoing drops the undone
    // steps (a later redo has nothing to re-apply over the new edit), and the clean state (the
    // table a channel file was opened or saved with) is there again exactly when undo and redo
    // lead back to it.
    void historyAndCleanStateFollowTheEdits_data()
    {
        // Steps: e edit channel 1, f edit channel 3, u undo, r redo, s marked clean (saved),
        // p the whole table replaced.
        QTest::addColumn<QString>("steps");
        QTest::addColumn<bool>("canRedo");
        QTest::addColumn<bool>("clean");
        QTest::addColumn<QString>("channel1"); // receive frequency at the end
        const QString before = QStringLiteral("140.00000");
        const QString edited = QStringLiteral("150.00000");
        QTest::newRow("undo, then a new edit") << "eufr" << false << false << before;
        QTest::newRow("undo, new edit, undo twice") << "eufuu" << true << false << before;
        QTest::newRow("saved, edited") << "se" << false << false << edited;
        QTest::newRow("saved, edited, undone") << "seu" << true << true << before;
        QTest::newRow("edited, saved, undone, redone") << "esur" << false << true << edited;
        QTest::newRow("saved, undone past it, new edit") << "esufu" << true << false << before;
        QTest::newRow("saved, then replaced") << "sp" << false << false << before;
    }

    void historyAndCleanStateFollowTheEdits()
    {
        QFETCH(QString, steps);
        QFETCH(bool, canRedo);
        QFETCH(bool, clean);
        QFETCH(QString, channel1);
        QTemporaryDir dir;
        ChannelDocument document(Model::V);
        QVERIFY(document.open(dir.filePath(info.databaseFile)).ok());
        QVERIFY(document.replace(fourChannels(), std::nullopt));
        for (const QChar step : steps) {
            const char c = step.toLatin1();
            if (c == 'e' || c == 'f')
                QVERIFY(document.edit(typed(c == 'e' ? 0 : 2, QStringLiteral("150"))));
            else if (c == 'u' || c == 'r')
                QVERIFY(c == 'u' ? document.undo() : document.redo());
            else if (c == 's')
                document.markClean();
            else // channel 4 replaced by another
                QVERIFY(document.replace(withRecord(fourChannels(), 3, {}), std::nullopt));
        }
        QCOMPARE(document.canRedo(), canRedo);
        QCOMPARE(document.isClean(), clean);
        QCOMPARE(document.record(0)[RxFrequency], channel1);
    }

    // A settings choice is one step of its own: B's choice of the other setting stays, and
    // undoing the squelch level over B's newer level is refused.
    void settingsChoicesAreFieldLevelChanges()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(info.databaseFile);
        ChannelDocument a(Model::V);
        ChannelDocument b(Model::V);
        QVERIFY(a.open(path).ok());
        QVERIFY(b.open(path).ok());
        QVERIFY(a.setSetting(RadioSetting::SquelchLevel, QStringLiteral("7")));
        QVERIFY(b.setSetting(RadioSetting::ChannelTone, QStringLiteral("键音")));
        QVERIFY(a.undo());
        ChannelStore file;
        QVERIFY(file.open(path).ok());
        QCOMPARE(file.settings().squelchLevel, QStringLiteral("3"));
        QCOMPARE(file.settings().channelTone, QStringLiteral("键音"));
        file.close();

        QVERIFY(a.redo());
        QVERIFY(b.setSetting(RadioSetting::SquelchLevel, QStringLiteral("9")));
        const Result refused = a.undo();
        QVERIFY(!refused);
        QVERIFY(refused.failure().changedElsewhere && refused.failure().changedElsewhere->settings);
        QCOMPARE(a.settings().squelchLevel, QStringLiteral("9"));
        QVERIFY(a.canUndo());
    }
};

QTEST_GUILESS_MAIN(TestChannelDocument)
#include "tst_channeldocument.moc"
