#include "cellentry.h"
#include "numberreader.h"

#include <QtTest>

using namespace zw;

namespace
{

enum class Column { Rx, Tx };

// A channel with every field set, so that what a check leaves alone can be seen.
ChannelRecord fullChannel()
{
    ChannelRecord r;
    const QStringList values{"5",      "145.00000", "67.0", "spare3", "150.00000", "D023N",
                             "spare6", "del",       "2",    "on",     "L"};
    for (int field = 0; field < fieldCount; ++field)
        r[field] = values.at(field);
    return r;
}

CellEntryResult enter(Model model, Column column, ChannelRecord record, const QString &typed)
{
    const BandLimits &band = modelInfo(model).band;
    if (column == Column::Rx) {
        record[RxFrequency] = typed;
        return checkRxFrequency(record, band);
    }
    record[TxFrequency] = typed;
    return checkTxFrequency(record, band);
}

} // namespace

Q_DECLARE_METATYPE(zw::Model)
Q_DECLARE_METATYPE(Column)

class TestCellEntry : public QObject
{
    Q_OBJECT

private slots:
    void typedFrequency_data()
    {
        QTest::addColumn<Model>("model");
        QTest::addColumn<Column>("column");
        QTest::addColumn<QString>("rxBefore");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("rx");
        QTest::addColumn<QString>("tx");
        QTest::addColumn<bool>("message");

        // Band edges of every model, written out here rather than taken from the model table,
        // so that a wrong entry there shows: floor, low, high, ceiling.
        struct Band {
            Model model;
            const char *name;
            double floor, low, high, ceiling;
        };
        const Band bands[] = {{Model::V, "V", 130, 136, 174, 180},
                              {Model::UH, "UH", 400, 430, 470, 500},
                              {Model::UM, "UM", 380, 400, 430, 450},
                              {Model::UL, "UL", 340, 350, 370, 380}};
        const QString used = QStringLiteral("145.00000");
        for (const Band &b : bands) {
            for (Column c : {Column::Rx, Column::Tx}) {
                auto row = [&](const char *what, double typed, double stored, bool message) {
                    const QString f = formatFrequency(stored);
                    const bool rx = c == Column::Rx;
                    QTest::addRow("%s %s %s", b.name, rx ? "rx" : "tx", what)
                        << b.model << c << (rx ? QString() : used) << QString::number(typed, 'f', 2)
                        << (rx ? f : used) << f << message;
                };
                row("below floor", b.floor - 0.01, b.low, true);
                row("at floor", b.floor, b.floor, true);
                row("just below low", b.low - 0.01, b.low - 0.01, true);
                row("at low", b.low, b.low, false);
                row("at high", b.high, b.high, false);
                row("just above high", b.high + 0.01, b.high + 0.01, true);
                row("at ceiling", b.ceiling, b.ceiling, true);
                row("above ceiling", b.ceiling + 0.01, b.high, true);
            }
        }

        auto add = [](const char *name, Model m, Column c, const QString &rxBefore,
                      const QString &typed, const QString &rx, const QString &tx, bool message) {
            QTest::newRow(name) << m << c << rxBefore << typed << rx << tx << message;
        };
        const Column rx = Column::Rx;
        const Column tx = Column::Tx;
        add("12.5 kHz step", Model::V, rx, "", "145.0125", "145.01250", "145.01250", false);
        add("off raster cut to 5 kHz", Model::V, rx, "", "145.0123", "145.01000", "145.01000",
            false);
        add("6.25 kHz raster kept", Model::V, rx, "", "145.00625", "145.00625", "145.00625", false);
        add("3 kHz cut down", Model::V, rx, "", "145.003", "145.00000", "145.00000", false);
        add("whole MHz", Model::V, rx, "", "145", "145.00000", "145.00000", false);
        add("cut lands in band", Model::V, rx, "", "174.00001", "174.00000", "174.00000", true);
        add("too long for a double", Model::V, rx, "", QString(400, u'9'), "174.00000", "174.00000",
            true);
        add("negative raised", Model::V, rx, "", "-145", "136.00000", "136.00000", true);
        // u = 14500624.5 goes to the even 14500624 (off raster, cut to 5 kHz); rounding the half
        // up would have kept 145.00625.
        add("half to even down", Model::V, rx, "", "145.006245", "145.00500", "145.00500", false);
        // u = 14499999.5 goes to the even 14500000, on the raster.
        add("half to even up", Model::V, rx, "", "144.999995", "145.00000", "145.00000", false);
        add("rx zero", Model::V, rx, "145.00000", "0", "", "", false);
        add("rx not a number", Model::V, rx, "145.00000", "abc", "", "", false);
        add("rx deleted", Model::V, rx, "145.00000", "", "", "", false);
        add("tx 150.1", Model::V, tx, "145.0", "150.1", "145.0", "150.10000", false);
        add("tx on empty channel", Model::V, tx, "", "150.1", "", "", false);
        add("tx not a number", Model::V, tx, "145.00000", "abc", "145.00000", "", false);
        add("tx deleted", Model::V, tx, "145.00000", "", "145.00000", "", false);
        add("UH 390 clamped", Model::UH, rx, "", "390", "430.00000", "430.00000", true);
        add("UH 420 kept", Model::UH, rx, "", "420", "420.00000", "420.00000", true);
        add("UL 385 clamped", Model::UL, rx, "", "385", "370.00000", "370.00000", true);
    }

    void typedFrequency()
    {
        QFETCH(Model, model);
        QFETCH(Column, column);
        QFETCH(QString, rxBefore);
        QFETCH(QString, typed);
        QFETCH(QString, rx);
        QFETCH(QString, tx);
        QFETCH(bool, message);

        ChannelRecord before;
        before[ChannelNumber] = QStringLiteral("5");
        before[RxFrequency] = rxBefore;
        const CellEntryResult result = enter(model, column, before, typed);
        QCOMPARE(result.record[RxFrequency], rx);
        QCOMPARE(result.record[TxFrequency], tx);
        QCOMPARE(result.outOfRange, message);
        QCOMPARE(result.record[ChannelNumber], QStringLiteral("5"));
    }

    // Which fields each kind of entry touches, on a ZW4630V channel with every field set.
    void fieldsTouched_data()
    {
        QTest::addColumn<Column>("column");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("expected"); // all eleven fields after the entry

        QTest::newRow("re-entered rx: tones stay, five fields overwritten")
            << Column::Rx << "146"
            << QStringList{"5",      "146.00000", "67.0", "spare3", "146.00000", "D023N",
                           "spare6", "add",       "off",  "off",    "H"};
        QTest::newRow("rx cleared: channel emptied, number and spares stay")
            << Column::Rx << ""
            << QStringList{"5", "", "", "spare3", "", "", "spare6", "", "", "", ""};
        QTest::newRow("tx typed: only tx changes")
            << Column::Tx << "150.1"
            << QStringList{"5",      "145.00000", "67.0", "spare3", "150.10000", "D023N",
                           "spare6", "del",       "2",    "on",     "L"};
        QTest::newRow("tx cleared: only tx changes")
            << Column::Tx << " "
            << QStringList{"5",      "145.00000", "67.0", "spare3", "", "D023N",
                           "spare6", "del",       "2",    "on",     "L"};
    }

    void fieldsTouched()
    {
        QFETCH(Column, column);
        QFETCH(QString, typed);
        QFETCH(QStringList, expected);
        const CellEntryResult result = enter(Model::V, column, fullChannel(), typed);
        QStringList fields;
        for (int field = 0; field < fieldCount; ++field)
            fields << result.record[field];
        QCOMPARE(fields, expected);
    }
};

QTEST_GUILESS_MAIN(TestCellEntry)
#include "tst_cellentry.moc"
