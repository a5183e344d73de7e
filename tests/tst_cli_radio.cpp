// The command-line tool's radio commands (read, write, diff, ports --probe) end to end: the
// built zw4630-cli runs as a process, with the radio played by a VirtualRadio on a
// pseudo-terminal inside this test (the test's event loop answers the tool while it waits).
#include "clirun.h"
#include "codec.h"
#include "numberreader.h"
#include "okcheck.h"
#include "ptypair.h"
#include "sampletables.h"
#include "tablemerge.h"
#include "testfolder.h"
#include "virtualradio.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSerialPort>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

#ifdef Q_OS_UNIX
#include <csignal>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace zw;
using namespace zw::test;

Q_DECLARE_METATYPE(zw::Model)

namespace
{

// What the virtual radio of `model` holds at start as a channel file, with channels 3, 5 and 7
// changed when `changed`.
ChannelFileData radioFile(Model model, bool changed)
{
    const ModelInfo &info = modelInfo(model);
    RadioChannels radio;
    for (int i = 0; i < channelCount; ++i)
        radio[std::size_t(i)] = decodeChannelBlock(
            QString::fromLatin1(VirtualRadio::defaultMemory(model).channels[std::size_t(i)]),
            info.receiveOffsetMHz);
    ChannelFileData data;
    data.modelCode = info.code;
    data.squelchLevel = QStringLiteral("3");
    data.channelTone = QStringLiteral("中文");
    data.records = mergeRadioChannels(emptyTable(), radio);
    if (changed) {
        auto f = [&](double above) { return formatFrequency(info.band.bandLow + above); };
        data.records[2][RxFrequency] = f(7);
        data.records[4].fields = {"", f(8), "", "", f(8), "", "", "add", "off", "off", "H"};
        data.records[6].fields = {"", f(9), "67.0", "", f(9), "67.0", "", "del", "off", "off", "L"};
    }
    for (ChannelRecord &r : data.records)
        r[ChannelNumber] = QString(); // never in a file
    return data;
}

// A trace file taken apart: the characters sent and received on `device`, in order. A line of
// any other form, another device, a time running backwards or a text column that does not show
// the hex column's characters is reported in `problems`.
struct Trace {
    QByteArray sent;
    QByteArray received;
    QStringList events; // "open", "close", ...
    QStringList problems;
};

Trace readTrace(const QString &path, const QString &device)
{
    static const QRegularExpression data(
        QStringLiteral("^ *(\\d+) (\\S+) (TX|RX) ((?:[0-9A-F]{2} ?){1,16}) *  \\|(.*)\\|$"));
    static const QRegularExpression event(
        QStringLiteral("^ *(\\d+) (\\S+) (open|open failed|close|lost)$"));
    Trace trace;
    qint64 last = 0;
    const QList<QByteArray> lines = fileBytes(path).split('\n');
    if (!lines.constLast().isEmpty())
        trace.problems << QStringLiteral("no line end at the end");
    for (const QByteArray &bytes : lines.mid(0, lines.size() - 1)) {
        const QString line = QString::fromUtf8(bytes);
        const QRegularExpressionMatch d = data.match(line);
        const QRegularExpressionMatch e = event.match(line);
        const QRegularExpressionMatch &m = d.hasMatch() ? d : e;
        if (!m.hasMatch() || m.captured(2) != device || m.captured(1).toLongLong() < last) {
            trace.problems << line;
            continue;
        }
        last = m.captured(1).toLongLong();
        if (!d.hasMatch()) {
            trace.events << e.captured(3);
            continue;
        }
        const QByteArray characters = QByteArray::fromHex(d.captured(4).toLatin1());
        QString shown;
        for (char c : characters)
            shown += (c >= 0x20 && c < 0x7f) ? QLatin1Char(c) : QLatin1Char('.');
        if (shown != d.captured(5))
            trace.problems << line;
        (d.captured(3) == QLatin1String("TX") ? trace.sent : trace.received) += characters;
    }
    return trace;
}

// The trace of a run against the virtual radio shows exactly what crossed the line: all the
// radio heard, and what it said up to the moment the tool closed the port, `reply` among it.
void compareTraceWithTheLine(const QString &path, const VirtualRadio &radio,
                             const QByteArray &reply)
{
    const Trace trace = readTrace(path, radio.devicePath());
    QVERIFY2(trace.problems.isEmpty(), qPrintable(trace.problems.join(u'\n')));
    QCOMPARE(trace.events, (QStringList{"open", "close"}));
    QTRY_COMPARE(radio.heard().size(), trace.sent.size());
    QCOMPARE(trace.sent, radio.heard());
    QCOMPARE(trace.received, radio.said().left(trace.received.size()));
    QVERIFY(trace.received.contains(reply));
}

} // namespace

class TestCliRadio : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }

    void cleanup()
    {
        m_radio.reset();
        m_dir.reset();
    }

    void readFromTheRadio_data()
    {
        QTest::addColumn<Model>("model");
        QTest::addColumn<bool>("traced");
        for (Model model : allModels)
            QTest::newRow(qPrintable(modelInfo(model).name)) << model << false;
        QTest::newRow("ZW4630UM, traced") << Model::UM << true;
    }

    void readFromTheRadio()
    {
        QFETCH(Model, model);
        QFETCH(bool, traced);
        startRadio(model);
        VirtualRadio::Memory memory = VirtualRadio::defaultMemory(model);
        memory.squelch = '6';
        memory.channelTone = "01";
        m_radio->setMemory(memory);
        const QString out = m_dir->filePath(QStringLiteral("radio.doc"));
        QStringList arguments{
            "read", "--port", m_radio->devicePath(), "--model", modelInfo(model).shortName,
            "-o",   out};
        const QString trace = m_dir->filePath(QStringLiteral("read.trace"));
        if (traced)
            arguments << QStringLiteral("--trace") << trace;
        const CliRun run = runCli(arguments);
        QCOMPARE(run.status, 0);
        if (traced)
            compareTraceWithTheLine(trace, *m_radio, m_radio->reply());
        QVERIFY2(run.err.contains(QStringLiteral("18/18")), qPrintable(run.err)); // progress bar
        const Expected<ChannelFileData> file = readChannelFileAt(out);
        ZW_VERIFY_OK(file);
        QCOMPARE(file->modelCode, modelInfo(model).code);
        QCOMPARE(file->squelchLevel, QStringLiteral("6"));
        QCOMPARE(file->channelTone, QStringLiteral("键音"));
        const RadioReply expected = decodeReply(m_radio->reply(), model);
        QCOMPARE(expected.status, RadioReply::Status::Ok);
        const ChannelTable expectedRecords = mergeRadioChannels(emptyTable(), expected.channels);
        for (int row = 0; row < channelCount; ++row)
            for (int field = RxFrequency; field <= Power; ++field)
                QCOMPARE(file->records[row][field], expectedRecords[row][field]);
        QCOMPARE(file->records[2][Bcl], QStringLiteral("1"));
        // The radio's sample channels lie in the model's band, however narrow it is.
        const BandLimits &band = modelInfo(model).band;
        for (const ChannelRecord &record : file->records) {
            for (int field : {int(RxFrequency), int(TxFrequency)}) {
                const double mhz = record[field].toDouble();
                QVERIFY2(record[field].isEmpty() || (mhz >= band.bandLow && mhz <= band.bandHigh),
                         qPrintable(record[field]));
            }
        }
    }

    // A trailer value the lists do not offer: the file gets what a new window starts with.
    void readFallsBackToNewWindowSettings()
    {
        startRadio(Model::UM);
        VirtualRadio::Memory memory = VirtualRadio::defaultMemory(Model::UM);
        memory.squelch = 'A';
        memory.channelTone = "11";
        m_radio->setMemory(memory);
        const QString out = m_dir->filePath(QStringLiteral("fallback.doc"));
        const CliRun run =
            runCli({"read", "--port", m_radio->devicePath(), "--model", "UM", "-o", out});
        QCOMPARE(run.status, 0);
        const Expected<ChannelFileData> file = readChannelFileAt(out);
        ZW_VERIFY_OK(file);
        QCOMPARE(file->squelchLevel, QStringLiteral("3"));
        QCOMPARE(file->channelTone, QStringLiteral("中文"));
    }

    void writeIntoTheRadio_data()
    {
        QTest::addColumn<Model>("model");
        QTest::addColumn<bool>("traced");
        QTest::newRow("ZW4630V") << Model::V << false;
        QTest::newRow("ZW4630UH (slower pace)") << Model::UH << false;
        QTest::newRow("ZW4630V, traced") << Model::V << true;
    }

    void writeIntoTheRadio()
    {
        QFETCH(Model, model);
        QFETCH(bool, traced);
        startRadio(model);
        const QString path = m_dir->filePath(QStringLiteral("w.doc"));
        const ChannelFileData data = sampleChannelFile(model);
        QVERIFY(writeFileBytes(path, writeChannelFile(data).value()));
        QSignalSpy written(m_radio.get(), &VirtualRadio::memoryWritten);
        const QByteArray replyBefore = m_radio->reply(); // to the read that identifies the radio
        QStringList arguments{
            "write", "--port", m_radio->devicePath(), "--model", modelInfo(model).shortName, path};
        const QString trace = m_dir->filePath(QStringLiteral("write.trace"));
        if (traced)
            arguments << QStringLiteral("--trace") << trace;
        const CliRun run = runCli(arguments);
        QCOMPARE(run.status, 0);
        QVERIFY2(run.err.contains(QStringLiteral("17/17")), qPrintable(run.err));
        QVERIFY2(run.err.contains(QStringLiteral("kept the radio's channels before the write in")),
                 qPrintable(run.err));
        QVERIFY(written.count() == 1 || written.wait(2000));
        // What a model window with this file loaded would send: channel numbers 1 to 16.
        ChannelTable sent = readChannelFileAt(path).value().records;
        for (int row = 0; row < channelCount; ++row)
            sent[row][ChannelNumber] = QString::number(row + 1);
        for (int row = 0; row < channelCount; ++row)
            QCOMPARE(QString::fromLatin1(m_radio->memory().channels[row]),
                     EncodeChannelBlock(sent[row], modelInfo(model).receiveOffsetMHz));
        QCOMPARE(m_radio->memory().squelch, '7');
        QCOMPARE(m_radio->memory().channelTone, QByteArray("10"));
        if (traced) {
            compareTraceWithTheLine(trace, *m_radio, replyBefore);
            QVERIFY(readTrace(trace, m_radio->devicePath()).sent.contains('A'));
        }
    }

    void writeIsReadBackAndEndsAsFound_data()
    {
        QTest::addColumn<QStringList>("command");
        QTest::addColumn<bool>("changed"); // the file changes channels 3, 5 and 7
        QTest::addColumn<int>("dropBlock");
        QTest::addColumn<int>("garbleBlock");
        QTest::addColumn<bool>("silentAfterWrite");
        QTest::addColumn<int>("status");
        QTest::addColumn<QStringList>("said");
        QTest::addColumn<qint64>("fileSizeLimit"); // bytes the tool's files may grow to; -1 none
        const QStringList write{"write"};
        QTest::newRow("verified")
            << write << true << -1 << -1 << false << 0
            << QStringList{"zw4630-cli: Written and verified: channels 3, 5, 7 changed.\n"}
            << qint64(-1);
        QTest::newRow("nothing changed")
            << write << false << -1 << -1 << false << 0
            << QStringList{"Written and verified: nothing in the radio changed."} << qint64(-1);
        QTest::newRow("block 5 dropped")
            << write << true << 5 << -1 << false << 3
            << QStringList{"The radio does not hold what was written in channel 5. Write again.",
                           "\nchannel 5: radio empty; written RX 144.00000 -, TX 144.00000 -, "
                           "scan add, BCL off, beat off, power H\n"}
            << qint64(-1);
        QTest::newRow("block 7 garbled")
            << write << true << -1 << 7 << false << 3
            << QStringList{"The radio does not hold what was written in channel 7. Write again."}
            << qint64(-1);
        QTest::newRow("trailer garbled")
            << write << false << -1 << imageBlockCount << false << 3
            << QStringList{"written in the squelch level or channel tone. Write again.",
                           "\nsettings: radio squelch level 1, channel tone 中文; written squelch "
                           "level 3, channel tone 中文\n"}
            << qint64(-1);
        QTest::newRow("silent after the write")
            << write << true << -1 << -1 << true << 4
            << QStringList{"The channels were sent, but not verified: the radio did not answer "
                           "after the write. Read the radio to see what it holds."}
            << qint64(-1);
        QTest::newRow("silent after the write, --no-verify")
            << QStringList{"write", "--no-verify"} << true << -1 << -1 << true << 0
            << QStringList{"zw4630-cli: The channels have been written to the radio.\n"}
            << qint64(-1);
        QTest::newRow("diff, file differs")
            << QStringList{"diff"} << true << -1 << -1 << false << 1
            << QStringList{"\nchannel 3: radio RX 146.00000 D023N, TX 151.00000 D023N, scan del, "
                           "BCL 1, beat on, power L; file RX 143.00000 D023N,",
                           "differ in channels 3, 5, 7.\n"}
            << qint64(-1);
        QTest::newRow("diff, same") << QStringList{"diff"} << false << -1 << -1 << false << 0
                                    << QStringList{"The radio holds what "} << qint64(-1);
        QTest::newRow("diff, same, its trace cut by a file-size limit")
            << QStringList{"diff", "--trace", "cut.trace"} << false << -1 << -1 << false << 0
            << QStringList{"The radio holds what ",
                           "zw4630-cli: the serial trace in cut.trace is incomplete: writing it "
                           "failed (" +
                               qt_error_string(EFBIG) + ")\n"}
            << qint64(300);
    }

    // write reads the radio back and says what it found, with its own exit status for each
    // outcome; diff compares without writing.
    void writeIsReadBackAndEndsAsFound()
    {
        QFETCH(QStringList, command);
        QFETCH(bool, changed);
        QFETCH(int, dropBlock);
        QFETCH(int, garbleBlock);
        QFETCH(bool, silentAfterWrite);
        QFETCH(int, status);
        QFETCH(QStringList, said);
        QFETCH(qint64, fileSizeLimit);
        QVERIFY(QDir::setCurrent(m_dir->path()));
        startRadio(Model::V);
        VirtualRadio::Faults faults;
        faults.dropBlock = dropBlock;
        faults.garbleBlock = garbleBlock;
        faults.silentAfterWrite = silentAfterWrite;
        m_radio->setFaults(faults);
        const QString path = m_dir->filePath(QStringLiteral("w.doc"));
        QVERIFY(writeFileBytes(path, writeChannelFile(radioFile(Model::V, changed)).value()));
        QSignalSpy requests(m_radio.get(), &VirtualRadio::requestReceived);
        const CliRun run =
            runCli(command + QStringList{"--port", m_radio->devicePath(), "--model", "V", path},
                   30000, QString(), fileSizeLimit);
        QCOMPARE(run.status, status);
        for (const QString &text : said)
            QVERIFY2((run.err + run.out).contains(text), qPrintable(run.err + run.out));
        const bool diff = command.constFirst() == QLatin1String("diff");
        QCOMPARE(requests.contains(QVariantList{QVariant::fromValue('A')}), !diff);
    }

    // Ctrl+C before "A" ends the command at once with nothing sent; once "A" is out, the write
    // goes on to its end so the radio is never left half written.
    void interruptNeverLeavesAHalfWrittenRadio_data()
    {
        QTest::addColumn<bool>("silent");
        QTest::addColumn<char>("signalAfter"); // the request the radio has seen
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("said");
        QTest::newRow("waiting for the ready answer")
            << true << 'C' << 1 << "interrupted; nothing sent";
        QTest::newRow("during the write")
            << false << 'A' << 0 << "interrupted: finishing the write first";
    }

    void interruptNeverLeavesAHalfWrittenRadio()
    {
        QFETCH(bool, silent);
        QFETCH(char, signalAfter);
        QFETCH(int, status);
        QFETCH(QString, said);
        startRadio(Model::V);
        m_radio->setPacing(true);
        VirtualRadio::Faults faults;
        faults.silent = silent;
        m_radio->setFaults(faults);
        const QString path = m_dir->filePath(QStringLiteral("w.doc"));
        QVERIFY(writeFileBytes(path, writeChannelFile(sampleChannelFile(Model::V)).value()));
        QSignalSpy requests(m_radio.get(), &VirtualRadio::requestReceived);
        QSignalSpy written(m_radio.get(), &VirtualRadio::memoryWritten);
        QProcess process;
        QSignalSpy finished(&process, &QProcess::finished);
        process.start(cliPath(), {"write", "--port", m_radio->devicePath(), "--model", "V", path});
        const auto seen = [&] {
            for (const QList<QVariant> &request : requests)
                if (request.at(0).value<char>() == signalAfter)
                    return true;
            return false;
        };
        QTRY_VERIFY_WITH_TIMEOUT(seen(), 10000);
        ::kill(pid_t(process.processId()), SIGINT);
        QVERIFY(finished.wait(10000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), status);
        QVERIFY(QString::fromUtf8(process.readAllStandardError()).contains(said));
        const bool sentA = std::any_of(requests.begin(), requests.end(), [](const auto &r) {
            return r.at(0).template value<char>() == 'A';
        });
        QCOMPARE(sentA, !silent);
        // Either nothing at all or the whole image reached the radio.
        QCOMPARE(written.count() == 1 || written.wait(2000), !silent);
    }

    void anotherModelIsRefusedAndNothingWritten_data()
    {
        QTest::addColumn<QString>("what");
        QTest::newRow("read from a radio of another model") << "read";
        QTest::newRow("write a file of another model") << "file";
        QTest::newRow("write into a radio of another model") << "radio";
    }

    void anotherModelIsRefusedAndNothingWritten()
    {
        QFETCH(QString, what);
        const bool reading = what == QLatin1String("read");
        startRadio(Model::UH);
        const VirtualRadio::Memory before = m_radio->memory();
        QSignalSpy requests(m_radio.get(), &VirtualRadio::requestReceived);
        const QString path = m_dir->filePath(QStringLiteral("f.doc"));
        if (reading) {
            const CliRun run =
                runCli({"read", "--port", m_radio->devicePath(), "--model", "V", "-o", path});
            QCOMPARE(run.status, 1);
            QVERIFY2(run.err.contains(QStringLiteral("The radio is a ZW4630UH, not a ZW4630V, so "
                                                     "nothing was read. Read it with --model UH.")),
                     qPrintable(run.err));
            QVERIFY(!QFileInfo::exists(path));
        } else if (what == QLatin1String("file")) {
            QVERIFY(writeFileBytes(path, writeChannelFile(sampleChannelFile(Model::V)).value()));
            const CliRun run =
                runCli({"write", "--port", m_radio->devicePath(), "--model", "UH", path});
            QCOMPARE(run.status, 1);
            QVERIFY2(run.err.contains(QStringLiteral(
                         "is a channel file of a ZW4630V, not of a ZW4630UH: nothing sent")),
                     qPrintable(run.err));
            QVERIFY(!requests.contains(QVariantList{QVariant::fromValue('A')}));
            QCOMPARE(m_radio->memory().channels, before.channels);
        } else {
            // The radio is identified with one read request before anything is sent.
            QVERIFY(writeFileBytes(path, writeChannelFile(sampleChannelFile(Model::V)).value()));
            const CliRun run =
                runCli({"write", "--port", m_radio->devicePath(), "--model", "V", path});
            QCOMPARE(run.status, 1);
            QVERIFY2(run.err.contains(QStringLiteral(
                         "The radio is a ZW4630UH, not a ZW4630V, so nothing was written.")),
                     qPrintable(run.err));
            QVERIFY(requests.contains(QVariantList{QVariant::fromValue('B')}));
            QVERIFY(!requests.contains(QVariantList{QVariant::fromValue('A')}));
            QCOMPARE(m_radio->memory().channels, before.channels);
        }
    }

    // Each port problem says what it is, in the words the window uses for it.
    void portProblemsNameWhatToCheck_data()
    {
        QTest::addColumn<QString>("command");
        // "silent": a radio that does not answer; "held": a radio whose port this test holds;
        // "cut": a radio whose reply to "B" stops after 200 characters; "file", "folder",
        // "fifo": such a thing in the test's folder; else a device path.
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("message");
        // The window's words (one table for both).
        const QString check = QStringLiteral(
            " Check that it is switched on, that the programming cable is seated at both ends and "
            "that the right port is chosen.\n");
        const QString silentRead =
            QStringLiteral("zw4630-cli: The radio does not answer, so nothing was read.") + check;
        const QString silentWrite =
            QStringLiteral("zw4630-cli: The radio does not answer, so nothing was written.") +
            check;
        // The tool's own ending: the Port menu is the window's.
        const QString missing =
            QStringLiteral("zw4630-cli: /dev/zw4630-missing does not exist: check that the cable "
                           "is plugged in and that --port names its device.");
        const QString notPort = QStringLiteral(" is not a serial port.\n");
        QTest::newRow("read, silent radio") << "read"
                                            << "silent" << silentRead;
        QTest::newRow("write, silent radio") << "write"
                                             << "silent" << silentWrite;
        QTest::newRow("read, missing device") << "read"
                                              << "/dev/zw4630-missing" << missing;
        QTest::newRow("read, regular file") << "read"
                                            << "file" << notPort;
        QTest::newRow("read, bare name of a missing device") << "read"
                                                             << "zw4630-missing" << missing;
        QTest::newRow("write, missing device") << "write"
                                               << "/dev/zw4630-missing" << missing;
        QTest::newRow("diff, silent radio") << "diff"
                                            << "silent" << silentRead;
        QTest::newRow("diff, missing device") << "diff"
                                              << "/dev/zw4630-missing" << missing;
        QTest::newRow("read, /dev/null")
            << "read"
            << "/dev/null" << QStringLiteral("zw4630-cli: /dev/null is not a serial port.\n");
        QTest::newRow("write, /dev/zero")
            << "write"
            << "/dev/zero"
            << QStringLiteral("zw4630-cli: /dev/zero is not a serial port. Nothing sent.\n");
        QTest::newRow("read, folder") << "read"
                                      << "folder" << notPort;
        QTest::newRow("read, FIFO") << "read"
                                    << "fifo" << notPort;
        QTest::newRow("read, port held by another process")
            << "read"
            << "held" << QStringLiteral(" is in use by process tst_cli_radio (");
        QTest::newRow("read, radio answers the ready poll but not B")
            << "read"
            << "mute"
            << QStringLiteral("zw4630-cli: The radio answered the ready poll but then stopped "
                              "answering, so nothing was read. Check that it is still switched "
                              "on and the cable seated, and read again.\n");
        QTest::newRow("write, radio answers the ready poll but not B")
            << "write"
            << "mute"
            << QStringLiteral("zw4630-cli: The radio answered the ready poll but then stopped "
                              "answering, so nothing was written.");
        QTest::newRow("read, adapter pulled during the reply")
            << "read"
            << "pulled" << QStringLiteral("zw4630-cli: The cable or adapter was disconnected (");
        QTest::newRow("write, reply to B cut after 200 characters")
            << "write"
            << "cut"
            << QStringLiteral("zw4630-cli: The radio's model could not be read, so nothing was "
                              "written. Check the cable and write again.\n");
    }

    void portProblemsNameWhatToCheck()
    {
        QFETCH(QString, command);
        QFETCH(QString, port);
        QFETCH(QString, message);
        QSerialPort holder;
        if (port == QLatin1String("silent") || port == QLatin1String("held") ||
            port == QLatin1String("cut") || port == QLatin1String("mute") ||
            port == QLatin1String("pulled")) {
            startRadio(Model::V);
            VirtualRadio::Faults faults;
            faults.silent = port == QLatin1String("silent");
            faults.stopAfterCharacters = port == QLatin1String("cut")    ? 200
                                         : port == QLatin1String("mute") ? 0
                                                                         : -1;
            m_radio->setFaults(faults);
            if (port == QLatin1String("pulled")) {
                // The line goes away 100 ms into the reply to "B" (about 600 ms long), as when
                // the adapter is pulled.
                m_radio->setPacing(true);
                connect(m_radio.get(), &VirtualRadio::requestReceived, this, [this](char request) {
                    if (request == 'B')
                        QTimer::singleShot(100, this, [this] { m_radio.reset(); });
                });
            }
            if (port == QLatin1String("held")) {
                holder.setPortName(m_radio->devicePath());
                QVERIFY(holder.open(QIODevice::ReadWrite));
            }
            port = m_radio->devicePath();
        } else if (port == QLatin1String("file")) {
            port = m_dir->filePath(QStringLiteral("port.txt"));
            QVERIFY(writeFileBytes(port, "not a device"));
        } else if (port == QLatin1String("folder")) {
            port = m_dir->path();
        } else if (port == QLatin1String("fifo")) {
            port = m_dir->filePath(QStringLiteral("fifo"));
            QVERIFY(mkfifo(QFile::encodeName(port).constData(), 0600) == 0);
        }
        std::unique_ptr<QSignalSpy> requests;
        if (m_radio)
            requests = std::make_unique<QSignalSpy>(m_radio.get(), &VirtualRadio::requestReceived);
        const QString file = m_dir->filePath(QStringLiteral("p.doc"));
        if (command != QLatin1String("read"))
            QVERIFY(writeFileBytes(file, writeChannelFile(sampleChannelFile(Model::V)).value()));
        QStringList arguments{command, "--port", port, "--model", "V", "--timeout", "0.5"};
        arguments << (command == QLatin1String("read") ? QStringList{"-o", file}
                                                       : QStringList{file});
        QElapsedTimer clock;
        clock.start();
        const CliRun run = runCli(arguments);
        QCOMPARE(run.status, command == QLatin1String("diff") ? 4 : 1); // diff: radio not read
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
        QVERIFY2(!run.err.contains(QStringLiteral("Port menu")), qPrintable(run.err));
        QVERIFY(clock.elapsed() < 10000);
        if (command == QLatin1String("read"))
            QVERIFY(!QFileInfo::exists(file));
        if (requests) // nothing is sent to a radio that does not answer
            QVERIFY(!requests->contains(QVariantList{QVariant::fromValue('A')}));
    }

    // A device this user may not open: the message names the device's group only when that group
    // may read and write it. Run as the unprivileged user "nobody" (through setpriv) when the
    // tests run as root.
    void deviceWithoutPermissionNamesTheGroup()
    {
#ifdef Q_OS_UNIX
        const group *dialout = ::getgrnam("dialout");
        if (!dialout)
            QSKIP("no group dialout on this machine");
        zw::test::PtyPair pty;
        QVERIFY(pty.isValid());
        const QByteArray path = QFile::encodeName(pty.slavePath());
        if (::geteuid() == 0) {
            QCOMPARE(::chown(path.constData(), 0, dialout->gr_gid), 0);
            QCOMPARE(::chmod(path.constData(), 0660), 0);
        } else if (::access(path.constData(), R_OK | W_OK) == 0) {
            QCOMPARE(::chmod(path.constData(), 0), 0);
        }
        const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
        if (::geteuid() == 0 && setpriv.isEmpty())
            QSKIP("root may open any device, and setpriv is missing");
        QProcess process;
        const QStringList arguments = {QStringLiteral("read"),
                                       QStringLiteral("--port"),
                                       pty.slavePath(),
                                       QStringLiteral("--model"),
                                       QStringLiteral("V"),
                                       QStringLiteral("-o"),
                                       QStringLiteral("/nonexistent/x.doc")};
        if (::geteuid() == 0)
            process.start(setpriv, QStringList{QStringLiteral("--reuid=65534"),
                                               QStringLiteral("--regid=65534"),
                                               QStringLiteral("--clear-groups"), cliPath()} +
                                       arguments);
        else
            process.start(cliPath(), arguments);
        QVERIFY(process.waitForFinished(30000));
        const QString err = QString::fromUtf8(process.readAllStandardError());
        QCOMPARE(process.exitCode(), 1);
        // As root the device is 0660 root:dialout, so dialout may use it; otherwise its mode
        // is 0 and no group would help.
        const QString expected =
            ::geteuid() == 0
                ? QStringLiteral("No permission to use %1: members of group dialout may use "
                                 "it (sudo usermod -aG dialout $USER, then log in again).")
                : QStringLiteral("No permission to use %1: the device's permissions deny this "
                                 "user. A udev rule can grant them");
        QVERIFY2(err.contains(expected.arg(pty.slavePath())), qPrintable(err));
#else
        QSKIP("POSIX devices only");
#endif
    }

    // `ports --probe` on named devices: each one's outcome, and which one a radio answers on.
    void portsProbeSaysWhereTheRadioAnswers_data()
    {
        QTest::addColumn<bool>("radioOn");
        QTest::addColumn<int>("status");
        QTest::newRow("radio on") << true << 0;
        QTest::newRow("radio off") << false << 1;
    }

    void portsProbeSaysWhereTheRadioAnswers()
    {
        QFETCH(bool, radioOn);
        QFETCH(int, status);
        startRadio(Model::UL);
        if (!radioOn) {
            VirtualRadio::Faults faults;
            faults.silent = true;
            m_radio->setFaults(faults);
        }
        zw::test::PtyPair silent;
        QVERIFY(silent.isValid());
        const QString missing = m_dir->filePath(QStringLiteral("ttyUSB5"));
        const CliRun run = runCli({"ports", "--probe", "--port", silent.slavePath(), "--port",
                                   missing, "--port", m_radio->devicePath(), "--timeout", "3"});
        QCOMPARE(run.status, status);
        QCOMPARE(run.out,
                 QStringLiteral("%1: no answer\n%2: %2 does not exist: check that the cable is "
                                "plugged in and that --port names its device.\n%3: %4\n")
                     .arg(silent.slavePath(), missing, m_radio->devicePath(),
                          radioOn ? QStringLiteral("radio answers") : QStringLiteral("no answer")));
        const QString verdict =
            radioOn
                ? QStringLiteral("zw4630-cli: a radio answers on %1\n").arg(m_radio->devicePath())
                : QStringLiteral("zw4630-cli: no radio answered on 3 ports: is it switched "
                                 "on, the cable seated, and may this user use the serial "
                                 "ports?\n");
        QCOMPARE(run.err, verdict);
    }

private:
    void startRadio(Model model)
    {
        m_radio = std::make_unique<VirtualRadio>(model);
        m_radio->setPacing(false);
        QVERIFY(m_radio->open());
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<VirtualRadio> m_radio;
};

QTEST_GUILESS_MAIN(TestCliRadio)
#include "tst_cli_radio.moc"
