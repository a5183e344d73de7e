#include "frequency.h"

#include <QtTest>

#include <limits>

using namespace zw;

Q_DECLARE_METATYPE(zw::Model)

class TestFrequency : public QObject
{
    Q_OBJECT

private slots:
    void readsTextIntoUnits_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("counts");
        QTest::addColumn<qint64>("units");

        QTest::newRow("five decimals") << "145.01250" << true << qint64(14501250);
        QTest::newRow("whole MHz") << "145" << true << qint64(14500000);
        QTest::newRow("blanks inside") << " 1 45.0 125" << true << qint64(14501250);
        QTest::newRow("trailing text") << "145.0125MHz" << true << qint64(14501250);
        // Exact halves of a unit go to the even neighbour, whichever side that is.
        QTest::newRow("half down to even") << "145.000005" << true << qint64(14500000);
        QTest::newRow("half up to even") << "145.000015" << true << qint64(14500002);
        QTest::newRow("just above half") << "145.0000051" << true << qint64(14500001);
        QTest::newRow("just below half") << "145.0000049" << true << qint64(14500000);
        QTest::newRow("negative") << "-21.4" << true << qint64(-2140000);
        QTest::newRow("no number") << "abc" << true << qint64(0);
        QTest::newRow("empty") << "" << true << qint64(0);
        // Too many digits reads as the largest number, which no frequency can count.
        QTest::newRow("overlong") << QString(400, u'9') << false << qint64(0);
        QTest::newRow("beyond counting") << "10000000000000" << false << qint64(0);
    }

    void readsTextIntoUnits()
    {
        QFETCH(QString, text);
        QFETCH(bool, counts);
        QFETCH(qint64, units);
        const std::optional<Frequency> f = Frequency::fromText(text);
        QCOMPARE(f.has_value(), counts);
        if (counts)
            QCOMPARE(f->units(), units);
    }

    void notFiniteDoesNotCount()
    {
        QVERIFY(!Frequency::fromMHz(std::numeric_limits<double>::infinity()));
        QVERIFY(!Frequency::fromMHz(std::numeric_limits<double>::quiet_NaN()));
        QVERIFY(!Frequency::fromMHz(-std::numeric_limits<double>::max()));
    }

    void snapsToRaster_data()
    {
        QTest::addColumn<qint64>("units");
        QTest::addColumn<bool>("onRaster");
        QTest::addColumn<QString>("snapped");

        QTest::newRow("6.25 kHz") << qint64(14500625) << true << "145.00625";
        QTest::newRow("5 kHz") << qint64(14501000) << true << "145.01000";
        QTest::newRow("12.5 kHz") << qint64(14501250) << true << "145.01250";
        QTest::newRow("neither, cut down") << qint64(14501230) << false << "145.01000";
        QTest::newRow("just below 5 kHz") << qint64(14500499) << false << "145.00000";
        QTest::newRow("just above 6.25 kHz") << qint64(14500626) << false << "145.00500";
        QTest::newRow("one unit") << qint64(1) << false << ".00000";
        QTest::newRow("none") << qint64(0) << true << ".00000";
    }

    void snapsToRaster()
    {
        QFETCH(qint64, units);
        QFETCH(bool, onRaster);
        QFETCH(QString, snapped);
        const Frequency f = Frequency::fromUnits(units);
        QCOMPARE(f.isOnRaster(), onRaster);
        QCOMPARE(f.snappedToRaster().text(), snapped);
        QCOMPARE(f.snappedToRaster().isOnRaster(), true);
        if (onRaster)
            QCOMPARE(f.snappedToRaster(), f);
    }

    void writesFiveDecimals_data()
    {
        QTest::addColumn<qint64>("units");
        QTest::addColumn<QString>("text");

        QTest::newRow("three digits") << qint64(14500000) << "145.00000";
        QTest::newRow("smallest step") << qint64(43000001) << "430.00001";
        QTest::newRow("below 1 MHz") << qint64(50000) << ".50000";
        QTest::newRow("negative") << qint64(-2140000) << "-21.40000";
        QTest::newRow("eight digits") << qint64(99999999) << "999.99999";
    }

    void writesFiveDecimals()
    {
        QFETCH(qint64, units);
        QFETCH(QString, text);
        const Frequency f = Frequency::fromUnits(units);
        QCOMPARE(f.text(), text);
        QCOMPARE(Frequency::fromText(f.text()), f);
    }

    void checksBandEdges_data()
    {
        QTest::addColumn<Model>("model");
        QTest::addColumn<qint64>("units");
        QTest::addColumn<bool>("inBand");

        // Every model's band edges, 10 Hz inside and outside each.
        for (Model model : allModels) {
            const ModelInfo &info = modelInfo(model);
            const qint64 low = qRound64(info.band.bandLow * 100000);
            const qint64 high = qRound64(info.band.bandHigh * 100000);
            const QByteArray name = info.shortName.toLatin1();
            QTest::addRow("%s low edge", name.constData()) << model << low << true;
            QTest::addRow("%s below low", name.constData()) << model << low - 1 << false;
            QTest::addRow("%s high edge", name.constData()) << model << high << true;
            QTest::addRow("%s above high", name.constData()) << model << high + 1 << false;
            QTest::addRow("%s inside", name.constData()) << model << (low + high) / 2 << true;
        }
        QTest::newRow("none") << Model::V << qint64(0) << false;
    }

    void checksBandEdges()
    {
        QFETCH(Model, model);
        QFETCH(qint64, units);
        QFETCH(bool, inBand);
        QCOMPARE(Frequency::fromUnits(units).isInBand(modelInfo(model).band), inBand);
    }

    void addsAnOffsetExactly()
    {
        // The radio stores a V receive frequency 21.4 MHz up; adding the offset back in units
        // lands on the typed text, where adding in MHz might not.
        const Frequency offset = *Frequency::fromMHz(-21.4);
        QCOMPARE(offset.units(), qint64(-2140000));
        QCOMPARE((Frequency::fromUnits(16641250) + offset).text(), QStringLiteral("145.01250"));
        QCOMPARE((Frequency::fromUnits(14501250) - offset).units(), qint64(16641250));
    }
};

QTEST_GUILESS_MAIN(TestFrequency)
#include "tst_frequency.moc"
