#include "channelfile.h"
#include "filenames.h"
#include "okcheck.h"

#include <QTest>

using namespace zw;

namespace
{

ChannelFileData sampleData()
{
    ChannelFileData data;
    data.modelCode = QStringLiteral("4");
    data.channelTone = QStringLiteral("中文");
    data.squelchLevel = QStringLiteral("3");
    ChannelRecord &first = data.records[0];
    first[RxFrequency] = QStringLiteral("145.00000");
    first[RxTone] = QStringLiteral("67.0");
    first[TxFrequency] = QStringLiteral("145.00000");
    first[TxTone] = QStringLiteral("67.0");
    first[Scan] = QStringLiteral("add");
    first[Bcl] = QStringLiteral("off");
    first[Beat] = QStringLiteral("off");
    first[Power] = QStringLiteral("H");
    return data;
}

QByteArray sampleBytes()
{
    return QByteArray("4,\xD6\xD0\xCE\xC4,3,145.00000,67.0,,145.00000,67.0,,add,off,off,H,") +
           QByteArray(15 * 10, ',');
}

} // namespace

class TestChannelFile : public QObject
{
    Q_OBJECT

private slots:
    void writesTheFileByteForByte()
    {
        const Expected<QByteArray> written = writeChannelFile(sampleData());
        ZW_VERIFY_OK(written);
        QCOMPARE(written.value(), sampleBytes());
    }

    // Values go into the file as they are; only a value that would end early, open a quoted
    // value or lose its leading blanks on reading is quoted.
    void writesValuesUnquoted_data()
    {
        QTest::addColumn<QString>("tone");
        QTest::addColumn<QByteArray>("written");
        QTest::newRow("blank entry") << "    " << QByteArray(",    ,");
        QTest::newRow("one blank") << " " << QByteArray(", ,");
        QTest::newRow("trailing blanks") << "D023N  " << QByteArray(",D023N  ,");
        QTest::newRow("blanks before text") << "  `" << QByteArray(",\"  `\",");
        QTest::newRow("quote inside") << "a\"b" << QByteArray(",a\"b,");
        QTest::newRow("comma") << "a,b" << QByteArray(",\"a,b\",");
        QTest::newRow("line break") << "a\r\nb" << QByteArray(",\"a\r\nb\",");
        QTest::newRow("leading quote") << "\"a" << QByteArray();
        QTest::newRow("quote after blanks") << "  \"a" << QByteArray();
    }

    void writesValuesUnquoted()
    {
        QFETCH(QString, tone);
        QFETCH(QByteArray, written);
        ChannelFileData data = sampleData();
        data.records[0][RxTone] = tone;
        const Expected<QByteArray> bytes = writeChannelFile(data);
        if (written.isEmpty()) { // cannot be carried by the file
            QVERIFY(!bytes.ok());
            return;
        }
        ZW_VERIFY_OK(bytes);
        QByteArray expected = sampleBytes();
        expected.replace(expected.indexOf(",67.0,"), 6, written); // the receive tone only
        QCOMPARE(bytes.value(), expected);
    }

    void roundTripKeepsFieldsExceptNumberForms_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("saved");
        QTest::addColumn<QString>("loaded");
        QTest::newRow("frequency") << int(RxFrequency) << "438.12500"
                                   << "438.12500";
        QTest::newRow("frequency not a number") << int(RxFrequency) << "abc"
                                                << "abc";
        QTest::newRow("empty frequency") << int(TxFrequency) << ""
                                         << "";
        QTest::newRow("ctcss tone") << int(RxTone) << "67.0"
                                    << "67";
        QTest::newRow("ctcss tone 100") << int(TxTone) << "100.0"
                                        << "100";
        QTest::newRow("dcs entry") << int(RxTone) << "D023N"
                                   << "D023N";
        QTest::newRow("blank tone entry") << int(RxTone) << "    "
                                          << "";
        QTest::newRow("spare code") << int(Spare3) << "023"
                                    << "023";
        QTest::newRow("spare one digit") << int(Spare6) << "5"
                                         << "5";
        QTest::newRow("scan blank") << int(Scan) << "  "
                                    << "";
        QTest::newRow("power") << int(Power) << "L"
                               << "L";
        QTest::newRow("comma inside") << int(Beat) << "a,b"
                                      << "a,b";
        QTest::newRow("null text") << int(Power) << QString() << "";
        QTest::newRow("Null word") << int(RxFrequency) << "Null"
                                   << "Null";
    }

    void roundTripKeepsFieldsExceptNumberForms()
    {
        QFETCH(int, field);
        QFETCH(QString, saved);
        QFETCH(QString, loaded);
        ChannelFileData data = sampleData();
        data.squelchLevel = QStringLiteral("0");
        data.channelTone = QStringLiteral("键音");
        for (int row : {0, 7, 15})
            data.records[static_cast<std::size_t>(row)][field] = saved;
        const Expected<QByteArray> written = writeChannelFile(data);
        ZW_VERIFY_OK(written);
        const Expected<ChannelFileData> read = readChannelFile(written.value());
        ZW_VERIFY_OK(read);
        QCOMPARE(read->modelCode, QStringLiteral("4"));
        QCOMPARE(read->squelchLevel, QStringLiteral("0"));
        QCOMPARE(read->channelTone, QStringLiteral("键音"));
        for (int row : {0, 7, 15})
            QCOMPARE(read->records[static_cast<std::size_t>(row)][field], loaded);
        QCOMPARE(read->records[0][Scan], field == Scan ? loaded : QStringLiteral("add"));
        QCOMPARE(read->records[3][RxFrequency], QString());
        QCOMPARE(read->records[3][ChannelNumber], QString());
    }

    // A channel file's name is taken byte for byte: UTF-8 characters as they are, up to one
    // that ends with the name's last byte; bytes of no UTF-8 character (Latin-1, GBK, a
    // character cut short) stand for themselves and turn back into the same bytes.
    void fileNamesKeepTheirBytes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("utf8"); // read as the UTF-8 text it is
        QTest::newRow("two-byte character last") << QByteArray("caf\xc3\xa9") << true;
        QTest::newRow("four-byte character last") << QByteArray("a\xf0\x9f\x93\xbb") << true;
        QTest::newRow("Latin-1") << QByteArray("\xe9t\xe9.doc") << false;
        QTest::newRow("character cut short at the end")
            << QByteArray("\xe6\xb5\x8b\xe8\xaf") << false;
    }

    void fileNamesKeepTheirBytes()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, utf8);
        const QString name = fileNameFromBytes(bytes);
        QCOMPARE(fileNameBytes(name), bytes);
        if (utf8)
            QCOMPARE(name, QString::fromUtf8(bytes));
        else
            QVERIFY(name != QString::fromUtf8(bytes));
    }

    void writeRefusesTextItCannotHold_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("not in GB2312") << QStringLiteral("€");
        QTest::newRow("quote needing quotes") << QStringLiteral("a,\"b");
    }

    void writeRefusesTextItCannotHold()
    {
        QFETCH(QString, text);
        ChannelFileData data = sampleData();
        data.records[2][Power] = text;
        const Expected<QByteArray> written = writeChannelFile(data);
        QVERIFY(!written.ok());
        QVERIFY(written.failure().is(FileFailure::NotWritable) ||
                written.failure().is(FileFailure::QuoteInValue));
    }

    void splitsValuesByTheReadingRules_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("values");
        QTest::newRow("plain") << QByteArray("a,b,") << QStringList{"a", "b"};
        QTest::newRow("two commas") << QByteArray("a,,b,") << QStringList{"a", "", "b"};
        QTest::newRow("last value without comma") << QByteArray("a,b") << QStringList{"a", "b"};
        QTest::newRow("leading blanks") << QByteArray("  a,\t b ,") << QStringList{"a", "b "};
        QTest::newRow("quoted") << QByteArray("\"  x,y\",z,") << QStringList{"  x,y", "z"};
        QTest::newRow("quoted number stays text") << QByteArray("\"023\",") << QStringList{"023"};
        QTest::newRow("text after closing quote")
            << QByteArray("\"a\"bc,d,") << QStringList{"a", "d"};
        QTest::newRow("unclosed quote") << QByteArray("a,\"b,c") << QStringList{"a", "b,c"};
        QTest::newRow("crlf ends a value") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
        QTest::newRow("lf ends a value") << QByteArray("a\nb") << QStringList{"a", "b"};
        QTest::newRow("comma then line break")
            << QByteArray("a,\r\nb,") << QStringList{"a", "", "b"};
        QTest::newRow("empty line") << QByteArray("a\r\n\r\nb,") << QStringList{"a", "b"};
        QTest::newRow("numbers shortest")
            << QByteArray("023,67.0,145.00000,-1.50,+7,.5,0.0,")
            << QStringList{"23", "67", "145", "-1.5", "7", "0.5", "0"};
        QTest::newRow("very large and very small numbers without exponent")
            << QByteArray("999999999999999999999999999999999,0.0000001,")
            << QStringList{"1000000000000000000000000000000000", "0.0000001"};
        QTest::newRow("not numbers")
            << QByteArray("1.2.3,12a,D023N,1 2,") << QStringList{"1.2.3", "12a", "D023N", "1 2"};
        QTest::newRow("number with trailing blanks") << QByteArray("67.0  ,") << QStringList{"67"};
        QTest::newRow("gb2312") << QByteArray("\xD3\xA2\xCE\xC4,\xBC\xFC\xD2\xF4,")
                                << QStringList{QStringLiteral("英文"), QStringLiteral("键音")};
        QTest::newRow("empty file") << QByteArray() << QStringList{};
    }

    void splitsValuesByTheReadingRules()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, values);
        const Expected<QStringList> split = splitChannelFile(bytes);
        ZW_VERIFY_OK(split);
        QCOMPARE(split.value(), values);
    }

    void squelchLevelIsCheckedAndDefaulted_data()
    {
        QTest::addColumn<QByteArray>("level");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("loaded");
        QTest::newRow("zero kept") << QByteArray("0") << true << "0";
        QTest::newRow("nine") << QByteArray("9") << true << "9";
        QTest::newRow("empty") << QByteArray("") << true << "3";
        QTest::newRow("text") << QByteArray("abc") << true << "3";
        QTest::newRow("ten") << QByteArray("10") << false << "";
        QTest::newRow("negative") << QByteArray("-1") << false << "";
        QTest::newRow("number then text") << QByteArray("3abc") << false << "";
        // A quoted value may hold a line break: a level is one digit and nothing else.
        QTest::newRow("digit and line break") << QByteArray("\"3\n\"") << false << "";
    }

    void squelchLevelIsCheckedAndDefaulted()
    {
        QFETCH(QByteArray, level);
        QFETCH(bool, ok);
        QFETCH(QString, loaded);
        QByteArray bytes = sampleBytes();
        bytes.replace(",3,", "," + level + ",");
        const Expected<ChannelFileData> read = readChannelFile(bytes);
        QCOMPARE(read.ok(), ok);
        if (ok)
            QCOMPARE(read->squelchLevel, loaded);
    }
};

QTEST_GUILESS_MAIN(TestChannelFile)
#include "tst_channelfile.moc"
