// The serial trace: how it writes the line, that it keeps only its last lines, and that an
// output device gets every line as it happens.
#include "savefile.h"
#include "serialtrace.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using namespace zw;

Q_DECLARE_METATYPE(zw::SerialTrace::Event)

namespace
{

// A trace line without its time stamp (the first column).
QString withoutTime(const QString &line)
{
    return line.section(u' ', 1, -1, QString::SectionSkipEmpty);
}

} // namespace

class TestSerialTrace : public QObject
{
    Q_OBJECT

private slots:
    void linesShowTheCharactersInHexAndText_data()
    {
        using E = SerialTrace::Event;
        QTest::addColumn<QString>("port");
        QTest::addColumn<SerialTrace::Event>("event");
        QTest::addColumn<QByteArray>("characters");
        QTest::addColumn<QStringList>("lines");
        const QString dev = QStringLiteral("/dev/ttyUSB0");
        QTest::newRow("ready poll sent")
            << dev << E::Sent << QByteArray("C")
            << QStringList{QStringLiteral("/dev/ttyUSB0 TX 43") + QString(47, u' ') + "|C|"};
        QTest::newRow("control and high characters as dots")
            << dev << E::Received << QByteArray("\r\n\x00\xff A", 6)
            << QStringList{QStringLiteral("/dev/ttyUSB0 RX 0D 0A 00 FF 20 41") + QString(32, u' ') +
                           "|.... A|"};
        QTest::newRow("17 characters make two lines")
            << dev << E::Received << QByteArray("0123456789ABCDEFG")
            << QStringList{QStringLiteral("/dev/ttyUSB0 RX 30 31 32 33 34 35 36 37 38 39 41 42 43 "
                                          "44 45 46  |0123456789ABCDEF|"),
                           QStringLiteral("/dev/ttyUSB0 RX 47") + QString(47, u' ') + "|G|"};
        QTest::newRow("nothing sent, no line") << dev << E::Sent << QByteArray() << QStringList{};
        QTest::newRow("open") << dev << E::Opened << QByteArray()
                              << QStringList{"/dev/ttyUSB0 open"};
        QTest::newRow("a line break in the device name makes no second line")
            << QStringLiteral("/tmp/a\n1 /dev/x TX 41") << E::Opened << QByteArray()
            << QStringList{"/tmp/a?1 /dev/x TX 41 open"};
    }

    void linesShowTheCharactersInHexAndText()
    {
        QFETCH(QString, port);
        QFETCH(SerialTrace::Event, event);
        QFETCH(QByteArray, characters);
        QFETCH(QStringList, lines);
        SerialTrace trace;
        if (event == SerialTrace::Event::Sent || event == SerialTrace::Event::Received)
            trace.record(port, event, characters);
        else
            trace.record(port, event);
        QStringList got = trace.lines();
        for (QString &line : got) {
            QVERIFY2(QRegularExpression(QStringLiteral("^ *\\d+ ")).match(line).hasMatch(),
                     qPrintable(line));
            line = withoutTime(line);
        }
        QCOMPARE(got, lines);
        QCOMPARE(trace.text().count('\n'), lines.size());
    }

    // The ring holds the last lines only, oldest first, also after it has wrapped around.
    void ringKeepsOnlyTheLastLines_data()
    {
        QTest::addColumn<int>("recorded");
        QTest::addColumn<int>("firstKept");
        QTest::newRow("fewer than the capacity") << 9999 << 0;
        QTest::newRow("exactly the capacity") << 10000 << 0;
        QTest::newRow("one more") << 10001 << 1;
        QTest::newRow("twice around and then some") << 25005 << 15005;
    }

    void ringKeepsOnlyTheLastLines()
    {
        QFETCH(int, recorded);
        QFETCH(int, firstKept);
        SerialTrace trace;
        for (int i = 0; i < recorded; ++i)
            trace.record(QString::number(i), SerialTrace::Event::Opened);
        const QStringList lines = trace.lines();
        QCOMPARE(lines.size(), qMin(recorded, SerialTrace::defaultCapacity));
        QCOMPARE(withoutTime(lines.constFirst()), QStringLiteral("%1 open").arg(firstKept));
        QCOMPARE(withoutTime(lines.constLast()), QStringLiteral("%1 open").arg(recorded - 1));
    }

    // With an output device every line is there as soon as it is recorded, including those
    // the ring has since let go.
    void outputGetsEveryLineAsItHappens()
    {
        SerialTrace trace(2);
        auto buffer = std::make_unique<QBuffer>();
        QVERIFY(buffer->open(QIODevice::WriteOnly));
        QBuffer *output = buffer.get();
        trace.record(QStringLiteral("before"), SerialTrace::Event::Opened);
        trace.setOutput(std::move(buffer));
        trace.record(QStringLiteral("p"), SerialTrace::Event::Opened);
        QCOMPARE(output->data().count('\n'), 1);
        trace.record(QStringLiteral("p"), SerialTrace::Event::Sent, QByteArray(20, 'B'));
        trace.record(QStringLiteral("p"), SerialTrace::Event::Closed);
        const QList<QByteArray> written = output->data().split('\n');
        QCOMPARE(written.size(), 5); // four lines and the empty text after the last line end
        QVERIFY(written.at(0).endsWith("p open"));
        QVERIFY(written.at(2).endsWith("|BBBB|"));
        QVERIFY(written.at(3).endsWith("p close"));
        QCOMPARE(trace.text(), written.at(2) + '\n' + written.at(3) + '\n');
    }

    // The output stops at its size limit with a last line that says so (a port that floods the
    // line would fill the disk), and at the first write the system refuses, which
    // outputFailure() names for the end of the run. The lines in memory go on either way.
    void outputStopsAtItsLimitOrAtAFailedWrite_data()
    {
        QTest::addColumn<QString>("device"); // empty: a buffer
        QTest::addColumn<qint64>("limit");
        QTest::addColumn<int>("linesWritten");
        QTest::addColumn<QString>("failure");
        QTest::newRow("under the limit") << QString() << qint64(10000) << 100 << QString();
        // 100 lines of 80 bytes: 5 fit under 450 bytes, then the line that says it stops.
        QTest::newRow("at the limit") << QString() << qint64(450) << 6 << QString();
        QTest::newRow("a device that is full")
            << QStringLiteral("/dev/full") << SerialTrace::defaultOutputLimit << 0
            << qt_error_string(ENOSPC);
    }

    void outputStopsAtItsLimitOrAtAFailedWrite()
    {
        QFETCH(QString, device);
        QFETCH(qint64, limit);
        QFETCH(int, linesWritten);
        QFETCH(QString, failure);
        SerialTrace trace;
        QBuffer *buffer = nullptr;
        if (device.isEmpty()) {
            auto own = std::make_unique<QBuffer>();
            QVERIFY(own->open(QIODevice::WriteOnly));
            buffer = own.get();
            trace.setOutput(std::move(own), limit);
        } else {
            auto file = std::make_unique<QFile>(device);
            QVERIFY(file->open(QIODevice::WriteOnly));
            trace.setOutput(std::move(file), limit);
        }
        for (int i = 0; i < 100; ++i)
            trace.record(QStringLiteral("/dev/ttyUSB0"), SerialTrace::Event::Sent, "C");
        QCOMPARE(trace.lines().size(), 100);
        QCOMPARE(trace.outputFailure().value_or(QString()), failure);
        if (!buffer)
            return;
        const QList<QByteArray> written = buffer->data().split('\n');
        QCOMPARE(written.size() - 1, linesWritten);
        if (linesWritten == 100)
            return;
        QVERIFY(buffer->data().size() <= limit + written.at(linesWritten - 1).size() + 1);
        QVERIFY2(written.at(linesWritten - 1)
                     .endsWith("trace stopped: it reached its limit of 450 bytes"),
                 written.at(linesWritten - 1).constData());
    }

    // A trace goes only to a regular file or a new name, and only where the system takes
    // writes: a FIFO nobody reads would hold the program before it starts, a device (the
    // serial port itself, /dev/full) would take or lose the text; each is refused at once.
    void traceFileIsARegularFileOrANewName_data()
    {
        QTest::addColumn<QString>("name"); // in a fresh folder unless it starts with '/'
        QTest::addColumn<bool>("opens");
        QTest::addColumn<bool>("notRegular");
        QTest::newRow("new name") << "new.txt" << true << false;
        QTest::newRow("regular file, emptied") << "old.txt" << true << false;
        QTest::newRow("FIFO") << "fifo" << false << true;
        QTest::newRow("folder") << "folder" << false << true;
        QTest::newRow("/dev/full") << "/dev/full" << false << true;
        QTest::newRow("/dev/null") << "/dev/null" << false << true;
        QTest::newRow("/proc/version") << "/proc/version" << false << false;
    }

    void traceFileIsARegularFileOrANewName()
    {
        QFETCH(QString, name);
        QFETCH(bool, opens);
        QFETCH(bool, notRegular);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QFile old(dir.filePath(QStringLiteral("old.txt")));
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old lines\n") == 10);
        old.close();
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
#ifdef Q_OS_UNIX
        QCOMPARE(
            ::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("fifo"))).constData(), 0600), 0);
#endif
        const QString path = name.startsWith(u'/') ? name : dir.filePath(name);
        QFile file;
        QElapsedTimer clock;
        clock.start();
        const Result opened = openNewFile(&file, path);
        QVERIFY(clock.elapsed() < 5000);
        QCOMPARE(opened.ok(), opens);
        QCOMPARE(opened.failure().is(FileFailure::NotRegular), notRegular);
        if (opens) {
            QCOMPARE(file.size(), 0);
            QCOMPARE(file.write("x"), 1);
        }
    }
};

QTEST_GUILESS_MAIN(TestSerialTrace)
#include "tst_serialtrace.moc"
