#include "picklists.h"

#include <QtTest>

using namespace zw;

Q_DECLARE_METATYPE(zw::Model)
Q_DECLARE_METATYPE(zw::PickList)

namespace
{

ChannelRecord usedChannel()
{
    ChannelRecord r;
    r[ChannelNumber] = QStringLiteral("3");
    r[RxFrequency] = QStringLiteral("145.00000");
    r[TxFrequency] = QStringLiteral("145.00000");
    r[Spare3] = QStringLiteral("s3");
    r[Spare6] = QStringLiteral("s6");
    return r;
}

} // namespace

class TestPickLists : public QObject
{
    Q_OBJECT

private slots:
    void entries_data()
    {
        QTest::addColumn<Model>("model");
        QTest::addColumn<PickList>("list");
        QTest::addColumn<int>("count");
        QTest::addColumn<QStringList>("head"); // the first entries
        QTest::addColumn<QStringList>("tail"); // the last entries

        for (Model m : allModels) {
            const QByteArray name = modelInfo(m).name.toLatin1();
            const bool fourBlanks = m == Model::V || m == Model::UH;
            QTest::addRow("%s Combo1", name.constData())
                << m << PickList::ToneBoth << 124 << QStringList{"", "67.0", "69.3"}
                << QStringList{"D743N", "D754N", fourBlanks ? "    " : "   "};
            QTest::addRow("%s Combo3", name.constData())
                << m << PickList::TxTone << 125 << QStringList{"   ", "67.0"}
                << QStringList{"D754N", " ", " "};
            QTest::addRow("%s Combo5", name.constData())
                << m << PickList::Scan << 3 << QStringList{"add", "del", "  "} << QStringList{};
            QTest::addRow("%s Combo6", name.constData())
                << m << PickList::Bcl << 4 << QStringList{"off", "1", "2", " "} << QStringList{};
            QTest::addRow("%s Combo7", name.constData())
                << m << PickList::Beat << 3 << QStringList{"off", "on", "  "} << QStringList{};
            QTest::addRow("%s Combo10", name.constData())
                << m << PickList::Power << (m == Model::V ? 2 : 3)
                << (m == Model::V ? QStringList{"H", "L"} : QStringList{"H", "L", " "})
                << QStringList{};
        }
    }

    void entries()
    {
        QFETCH(Model, model);
        QFETCH(PickList, list);
        QFETCH(int, count);
        QFETCH(QStringList, head);
        QFETCH(QStringList, tail);
        const QStringList entries = pickListEntries(list, model);
        QCOMPARE(entries.size(), count);
        QCOMPARE(entries.mid(0, head.size()), head);
        QCOMPARE(entries.mid(entries.size() - tail.size()), tail);
        if (list == PickList::ToneBoth || list == PickList::TxTone) {
            // One leading entry, the 39 tones, the 83 DCS entries, then the blank entries.
            QCOMPARE(entries.at(39), QStringLiteral("250.3"));
            QCOMPARE(entries.at(40), QStringLiteral("D023N"));
            QCOMPARE(entries.at(122), QStringLiteral("D754N"));
        }
    }

    void pickRule_data()
    {
        QTest::addColumn<PickList>("list");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("rx");
        QTest::addColumn<QList<int>>("fields"); // the fields that change
        QTest::addColumn<QString>("stored");    // what they hold afterwards

        const QString used = QStringLiteral("145.00000");
        QTest::newRow("Combo1 first entry")
            << PickList::ToneBoth << "" << used << QList<int>{RxTone, TxTone} << "";
        QTest::newRow("Combo1 last entry")
            << PickList::ToneBoth << "    " << used << QList<int>{RxTone, TxTone} << "    ";
        QTest::newRow("Combo3 blanks")
            << PickList::TxTone << "   " << used << QList<int>{TxTone} << "   ";
        QTest::newRow("Combo5") << PickList::Scan << "del" << used << QList<int>{Scan} << "del";
        QTest::newRow("Combo6") << PickList::Bcl << "2" << used << QList<int>{Bcl} << "2";
        QTest::newRow("Combo7") << PickList::Beat << "on" << used << QList<int>{Beat} << "on";
        QTest::newRow("Combo10") << PickList::Power << " " << used << QList<int>{Power} << " ";
        for (PickList list : allPickLists) {
            const QByteArray name = pickListName(list).toLatin1();
            QTest::addRow("%s on empty channel", name.constData())
                << list << pickListEntries(list, Model::UH).at(1) << "" << pickListFields(list)
                << "";
            QTest::addRow("%s on zero channel", name.constData())
                << list << pickListEntries(list, Model::UH).at(1) << "0.000" << pickListFields(list)
                << "";
        }
    }

    void pickRule()
    {
        QFETCH(PickList, list);
        QFETCH(QString, entry);
        QFETCH(QString, rx);
        QFETCH(QList<int>, fields);
        QFETCH(QString, stored);

        ChannelRecord before = usedChannel();
        before[RxFrequency] = rx;
        for (int field : {RxTone, TxTone, Scan, Bcl, Beat, Power})
            before[field] = QStringLiteral("old");
        const ChannelRecord after = applyPick(before, list, entry);
        for (int field = 0; field < fieldCount; ++field) {
            const QString expected = fields.contains(field) ? stored : before[field];
            QVERIFY2(after[field] == expected, qPrintable(QString::number(field)));
        }
    }
};

QTEST_GUILESS_MAIN(TestPickLists)
#include "tst_picklists.moc"
