#include "numberreader.h"

#include <QLocale>
#include <QtTest>

#include <clocale>

using namespace zw;

// Runs `read` once in the C locale and once with a decimal-comma locale for Qt and, where the
// system has one, for the C library; both results must be the same.
template <typename Read> static auto inBothLocales(Read read)
{
    const auto plain = read();
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const char *cLocale = std::setlocale(LC_ALL, "de_DE.UTF-8");
    if (!cLocale)
        cLocale = std::setlocale(LC_ALL, "de_DE");
    const auto german = read();
    std::setlocale(LC_ALL, "C");
    QLocale::setDefault(before);
    return std::make_pair(plain, german);
}

class TestNumberReader : public QObject
{
    Q_OBJECT

private slots:
    void readsLeadingNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("frequency") << "145.0125" << 145.0125;
        QTest::newRow("blanks inside") << "1 4 5 . 0 1" << 145.01;
        QTest::newRow("minus") << "-12.5" << -12.5;
        QTest::newRow("minus then blank") << "- 5" << -5.0;
        QTest::newRow("two signs") << "--5" << 0.0;
        QTest::newRow("trailing unit") << "145.01MHz" << 145.01;
        QTest::newRow("second point stops") << "1.2.3" << 1.2;
        QTest::newRow("comma stops") << "145,0125" << 145.0;
        QTest::newRow("leading point") << ".5" << 0.5;
        QTest::newRow("sign only") << "-" << 0.0;
        QTest::newRow("no number") << "abc" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("null") << QString() << 0.0;
        QTest::newRow("full-width digits") << "１４５" << 0.0;
    }

    void readsLeadingNumber()
    {
        QFETCH(QString, text);
        QFETCH(double, expected);
        const auto [plain, german] = inBothLocales([&] { return readNumber(text); });
        QCOMPARE(plain, expected);
        QCOMPARE(german, expected);
        QCOMPARE(startsWithNumber(text), expected != 0.0);
    }

    // A number too long for a double must still read as very large (so a band check clamps it
    // to the band's top), not as 0 (which would empty a channel).
    void hugeNumberReadsAsHuge()
    {
        const QString text = QString(400, u'9');
        QVERIFY(readNumber(text) > 1e300);
        QVERIFY(readNumber(QLatin1Char('-') + text) < -1e300);
        QCOMPARE(readNumber(QStringLiteral("0.") + QString(400, u'0') + QLatin1Char('1')), 0.0);
    }

    void formatsFrequency_data()
    {
        QTest::addColumn<double>("mhz");
        QTest::addColumn<QString>("expected");
        QTest::newRow("five decimals") << 145.0125 << "145.01250";
        QTest::newRow("raster") << 145.00625 << "145.00625";
        QTest::newRow("rounds sixth decimal") << 145.000006 << "145.00001";
        QTest::newRow("no leading zero") << 0.5 << ".50000";
    }

    void formatsFrequency()
    {
        QFETCH(double, mhz);
        QFETCH(QString, expected);
        const auto [plain, german] = inBothLocales([&] { return formatFrequency(mhz); });
        QCOMPARE(plain, expected);
        QCOMPARE(german, expected);
    }
};

QTEST_GUILESS_MAIN(TestNumberReader)
#include "tst_numberreader.moc"
