// Fleet runs: one plan written into one radio after another over the real serial port on a
// pseudo-terminal, against the virtual radio's fleet mode, and the log they leave.
#include "channelfile.h"
#include "codec.h"
#include "fleetlog.h"
#include "fleetrun.h"
#include "fleettexts.h"
#include "radiosession.h"
#include "sampletables.h"
#include "serialconnection.h"
#include "testfolder.h"
#include "virtualradio.h"
#include "writecheck.h"

#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <memory>

#include <csignal>

using namespace zw;

Q_DECLARE_METATYPE(zw::FleetEnd::Reason)

namespace
{

// A radio goes off a while after its last command (longer than the pauses within a write), and
// the line stays without a radio longer than the run's 1 s of silence; after a radio switched
// off mid-write longer than the rest of the write and the 2 s the read-back waits for it, so
// that each radio is seen as one.
constexpr int offMs = 1700;
constexpr int droppedOffMs = 4800;
constexpr int leaveAfterMs = 500;
// The tool is a process of its own, started beside a dozen other tests: a radio waits longer
// for its next command before it goes, or a busy machine could let the next radio answer the
// read-back of the last.
constexpr int toolLeaveAfterMs = 1500;

// "V,UH,V:off-mid-write,V:differs", as zw4630-virtual-radio --fleet takes it.
QList<VirtualRadio::FleetRadio> fleetOf(const QString &models, int offTime = offMs)
{
    return VirtualRadio::fleetFromText(models, offTime, droppedOffMs).value();
}

ChannelFileData plan()
{
    ChannelFileData data;
    data.modelCode = modelInfo(Model::V).code;
    data.squelchLevel = QStringLiteral("5");
    data.channelTone = QStringLiteral("英文");
    data.records = test::radioSampleTable(Model::V);
    return data;
}

// What a radio's memory shows as channels, as a read decodes it.
RadioChannels channelsOf(const VirtualRadio::Memory &memory, Model model)
{
    RadioChannels channels;
    for (int i = 0; i < channelCount; ++i)
        channels[std::size_t(i)] =
            decodeChannelBlock(QString::fromLatin1(memory.channels[std::size_t(i)]),
                               modelInfo(model).receiveOffsetMHz);
    return channels;
}

} // namespace

class TestFleetRun : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_radio = std::make_unique<VirtualRadio>(Model::V);
        m_radio->setPacing(false);
        QVERIFY(m_radio->open());
        m_serial = std::make_unique<SerialConnection>();
        m_serial->setDevice(1, m_radio->devicePath());
        QVERIFY(m_serial->open());
        m_session = std::make_unique<RadioSession>(Model::V, m_serial.get());
        m_run = std::make_unique<FleetRun>(m_session.get(), m_serial.get());
        m_run->setBackupFolder(m_dir.filePath(QStringLiteral("backups")));
        m_log = m_dir.filePath(QStringLiteral("fleet.csv"));
        QFile::remove(m_log);
    }

    void cleanup()
    {
        m_run.reset();
        m_session.reset();
        m_serial.reset();
        m_radio.reset();
    }

    // Each radio is identified, kept, written, read back and logged; the run waits for it to
    // go and for the next. `stopDuring`: Stop is pressed while that radio is being written.
    // `offTime`: how long the line is without a radio between two. `steps`: what the run said
    // it did with each radio, in order.
    void radiosInARow_data()
    {
        QTest::addColumn<QString>("fleet");
        QTest::addColumn<int>("limit");
        QTest::addColumn<int>("stopDuring");
        QTest::addColumn<int>("offTime");
        QTest::addColumn<QStringList>("outcomes");
        QTest::addColumn<QStringList>("changed");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<FleetEnd::Reason>("reason");
        const QString all = QStringLiteral("identifying writing checking");
        // The plan changes channels 1 to 4 of a radio's default contents.
        QTest::newRow("V then UH then V - Stop during the third ends the run after it")
            << "V,UH,V" << 0 << 3 << offMs << QStringList{"verified", "other-model", "verified"}
            << QStringList{"1 2 3 4", "", "1 2 3 4"} << QStringList{all, "identifying", all}
            << FleetEnd::Reason::Stopped;
        QTest::newRow("switched off mid-write and the run goes on - the next reads back otherwise")
            << "V:off-mid-write,V:differs" << 2 << 0 << offMs
            << QStringList{"not-written", "differs"} << QStringList{"", "3"}
            << QStringList{all, all} << FleetEnd::Reason::CountReached;
        // The next radio comes on a second after the last went; one answers the ready poll late.
        QTest::newRow("the next radio a second after the last - one answers late")
            << "V,V:late-ready,V,V" << 4 << 0 << 1000
            << QStringList{"verified", "verified", "verified", "verified"}
            << QStringList{"1 2 3 4", "1 2 3 4", "1 2 3 4", "1 2 3 4"}
            << QStringList{all, all, all, all} << FleetEnd::Reason::CountReached;
    }

    void radiosInARow()
    {
        QFETCH(QString, fleet);
        QFETCH(int, limit);
        QFETCH(int, stopDuring);
        QFETCH(int, offTime);
        QFETCH(QStringList, outcomes);
        QFETCH(QStringList, changed);
        QFETCH(QStringList, steps);
        QFETCH(FleetEnd::Reason, reason);
        const QList<VirtualRadio::FleetRadio> radios = fleetOf(fleet, offTime);
        m_radio->setFleet(radios, leaveAfterMs);
        m_run->setRadioLimit(limit);
        QStringList said(outcomes.size());
        auto say = [&](LinkState::Transfer step, int radio) {
            const QString words =
                fleetPhaseText(FleetRun::Phase::Writing, radio, step, FleetOutcome::Verified, true);
            QString &of = said[radio - 1];
            of += (of.isEmpty() ? QString() : QStringLiteral(" ")) + words.section(u' ', 0, 0);
        };
        connect(m_run.get(), &FleetRun::stepChanged, this, say);
        connect(m_run.get(), &FleetRun::phaseChanged, this, [&](FleetRun::Phase phase, int radio) {
            if (phase == FleetRun::Phase::Writing)
                say(m_run->step(), radio);
            if (phase == FleetRun::Phase::Writing && radio == stopDuring)
                m_run->stop();
        });
        QSignalSpy done(m_run.get(), &FleetRun::radioDone);
        QSignalSpy ended(m_run.get(), &FleetRun::ended);
        QVERIFY(m_run->start(plan(), m_log).ok());
        QVERIFY(ended.wait(30000));
        QCOMPARE(ended.at(0).at(0).value<FleetEnd>().reason, reason);
        QCOMPARE(done.count(), outcomes.size());
        QCOMPARE(said, steps);

        // The log is whole: the header, then one row per radio as the run reported it.
        const QByteArray text = test::fileBytes(m_log);
        QVERIFY(text.startsWith("radio,time,model,outcome,changed_channels,backup\n"));
        QVERIFY(text.endsWith('\n'));
        const Expected<QList<FleetRow>> rows = FleetLog::read(m_log);
        QVERIFY2(rows.ok(), qPrintable(rows.error()));
        QCOMPARE(rows->size(), outcomes.size());
        const RadioContents written = contentsOfPlan();
        for (int i = 0; i < rows->size(); ++i) {
            const FleetRow &row = rows->at(i);
            QCOMPARE(row, done.at(i).at(0).value<FleetRow>());
            QCOMPARE(row.radio, i + 1);
            QCOMPARE(fleetOutcomeName(row.outcome), outcomes.at(i));
            QStringList numbers;
            for (int channel : row.changedChannels)
                numbers << QString::number(channel);
            QCOMPARE(numbers.join(u' '), changed.at(i));
            QCOMPARE(row.model, std::optional<Model>(radios.at(i).model));
            const VirtualRadio::Memory memory = m_radio->fleetMemory(i);
            const VirtualRadio::Memory before = VirtualRadio::defaultMemory(radios.at(i).model);
            if (row.outcome == FleetOutcome::OtherModel) {
                // Refused: nothing was kept of it, and it holds what it held.
                QVERIFY(row.backup.isEmpty());
                QCOMPARE(memory.channels, before.channels);
                QCOMPARE(memory.squelch, before.squelch);
                continue;
            }
            // Its old contents were kept before anything was sent.
            QVERIFY(QFileInfo::exists(row.backup));
            const Expected<ChannelFileData> kept = readChannelFile(test::fileBytes(row.backup));
            QVERIFY(kept.ok());
            if (row.outcome == FleetOutcome::Verified) {
                QCOMPARE(channelsOf(memory, row.model.value()), written.channels);
                QCOMPARE(memory.squelch, '5');
            } else if (row.outcome == FleetOutcome::NotWritten) {
                QCOMPARE(memory.channels, before.channels);
            }
        }
    }

    // Stop, or the termination signal the tool turns into it, while the run waits for a radio:
    // the run ends at once and the log holds its header only.
    void stopWhileWaitingForARadio()
    {
        m_radio->setFleet({}, leaveAfterMs); // no radio on the line
        QSignalSpy ended(m_run.get(), &FleetRun::ended);
        QVERIFY(m_run->start(plan(), m_log).ok());
        QTest::qWait(300);
        QCOMPARE(m_run->phase(), FleetRun::Phase::WaitingForRadio);
        m_run->stop();
        QCOMPARE(ended.count(), 1);
        QCOMPARE(ended.at(0).at(0).value<FleetEnd>().reason, FleetEnd::Reason::Stopped);
        QCOMPARE(test::fileBytes(m_log), QByteArray("radio,time,model,outcome,changed_channels,"
                                                    "backup\n"));
        // The session is back on the plain ready poll.
        QCOMPARE(m_session->state(), RadioSession::State::Polling);
    }

    // Write Data would ask whether to write without a backup; a run asks nothing: the radio is
    // left as it is, logged not written, and the run stops with the reason.
    void unusableBackupsFolderStopsTheRun()
    {
        const QString notAFolder = m_dir.filePath(QStringLiteral("file"));
        QVERIFY(test::writeFileBytes(notAFolder, "x"));
        m_run->setBackupFolder(notAFolder + QStringLiteral("/backups"));
        m_radio->setFleet(fleetOf(QStringLiteral("V,V")), leaveAfterMs);
        QSignalSpy ended(m_run.get(), &FleetRun::ended);
        QVERIFY(m_run->start(plan(), m_log).ok());
        QVERIFY(ended.wait(10000));
        const FleetEnd end = ended.at(0).at(0).value<FleetEnd>();
        QCOMPARE(end.reason, FleetEnd::Reason::BackupFailed);
        QCOMPARE(end.radio, 1);
        QVERIFY(end.failure.is(FileFailure::CannotMakeFolder));
        const Expected<QList<FleetRow>> rows = FleetLog::read(m_log);
        QVERIFY(rows.ok());
        QCOMPARE(rows->size(), 1);
        QCOMPARE(rows->at(0).outcome, FleetOutcome::NotWritten);
        QVERIFY(rows->at(0).backup.isEmpty());
        QCOMPARE(m_radio->fleetMemory(0).channels, VirtualRadio::defaultMemory(Model::V).channels);
        QVERIFY(!m_radio->heard().contains('A'));
    }

    // A run appends to the log it is given: a log of an earlier run goes on with the next
    // radio's number; a file that is no fleet log is refused and left as it is.
    void logIsContinuedOrRefused_data()
    {
        QTest::addColumn<QByteArray>("existing");
        QTest::addColumn<bool>("taken");
        QTest::addColumn<int>("lastRadio");
        const QByteArray header = "radio,time,model,outcome,changed_channels,backup\n";
        const QByteArray twoRows = header +
                                   "6,2026-12-08T16:20:01,ZW4630V,verified,1 2,/b/ZW4630V_1.doc\n"
                                   "7,2026-12-08T16:20:09,ZW4630UH,other-model,,\n";
        QTest::newRow("new file") << QByteArray() << true << 0;
        QTest::newRow("empty file") << QByteArray("") << true << 0;
        QTest::newRow("an earlier run's log") << twoRows << true << 7;
        QTest::newRow("last line without its line break") << twoRows.chopped(1) << true << 7;
        QTest::newRow("a backup name with a comma")
            << header + "1,2026-12-08T16:20:01,ZW4630V,verified,,\"/b/a,b.doc\"\n"
            << true << 1;
        QTest::newRow("another CSV")
            << QByteArray("Location,Name,Frequency\n1,A,145.0\n") << false << 0;
        QTest::newRow("a row that is not a radio's")
            << header + "1,2026-12-08T16:20:01,ZW4630V,fine,,\n"
            << false << 0;
    }

    void logIsContinuedOrRefused()
    {
        QFETCH(QByteArray, existing);
        QFETCH(bool, taken);
        QFETCH(int, lastRadio);
        if (!existing.isNull())
            QVERIFY(test::writeFileBytes(m_log, existing));
        FleetLog log;
        const Result opened = log.open(m_log);
        QCOMPARE(opened.ok(), taken);
        if (!taken) {
            QVERIFY(opened.failure().is(FileFailure::NotFleetLog));
            QCOMPARE(test::fileBytes(m_log), existing);
            return;
        }
        QCOMPARE(log.lastRadio(), lastRadio);
        FleetRow row;
        row.radio = lastRadio + 1;
        row.time = QDateTime(QDate(2026, 12, 9), QTime(8, 0, 5));
        row.model = Model::V;
        row.outcome = FleetOutcome::Differs;
        row.changedChannels = {3, 12};
        row.backup = QStringLiteral("/b/with, comma.doc");
        QVERIFY(log.append(row).ok());
        const QByteArray after = test::fileBytes(m_log);
        QVERIFY(after.startsWith(existing.isEmpty() ? QByteArray("radio,time,") : existing));
        const Expected<QList<FleetRow>> rows = FleetLog::read(m_log);
        QVERIFY2(rows.ok(), qPrintable(rows.error()));
        QCOMPARE(rows->constLast(), row);
    }

    // zw4630-cli write --repeat: a line per radio and the waits in words, the exit status from
    // the outcomes, and a termination signal that ends the run at once while it waits and after
    // the radio being written otherwise, with the log whole.
    void toolWritesRadioAfterRadio_data()
    {
        QTest::addColumn<QString>("fleet");
        QTest::addColumn<QString>("repeat");
        QTest::addColumn<char>("signalAfter"); // 0: no signal
        QTest::addColumn<int>("status");
        QTest::addColumn<QStringList>("said");
        QTest::addColumn<QStringList>("outcomes");
        QTest::newRow("SIGTERM while waiting for a radio: exit 0, nothing written")
            << ""
            << "0" << 'C' << 0 << QStringList{"radios done: 0"} << QStringList{};
        QTest::newRow("a radio of another model: exit 1")
            << "UH"
            << "1" << '\0' << 1
            << QStringList{"connect the next radio and switch it on", "identifying radio 1…",
                           "radio 1: a ZW4630UH, not a ZW4630V: refused, nothing written",
                           "radios done: 1 (0 written and verified, 0 differ, 0 not checked, 1 "
                           "refused, 0 not written)",
                           "All radios asked for are done."}
            << QStringList{"other-model"};
        QTest::newRow("V then UH then V - each answers the ready poll late: exit 1")
            << "V:late-ready,UH:late-ready,V:late-ready"
            << "3" << '\0' << 1
            << QStringList{"identifying radio 1…",
                           "writing radio 1…",
                           "checking radio 1…",
                           "radio 1: written and verified, channels 1 2 3 4 changed",
                           "switch radio 1 off and connect the next",
                           "identifying radio 2…",
                           "radio 2: a ZW4630UH, not a ZW4630V: refused, nothing written",
                           "radio 3: written and verified, channels 1 2 3 4 changed"}
            << QStringList{"verified", "other-model", "verified"};
        QTest::newRow("SIGTERM during a write: the radio is finished and logged, exit 0")
            << "V,V"
            << "0" << 'A' << 0
            << QStringList{"radio 1: written and verified, channels 1 2 3 4 changed", "Stopped."}
            << QStringList{"verified"};
    }

    void toolWritesRadioAfterRadio()
    {
        QFETCH(QString, fleet);
        QFETCH(QString, repeat);
        QFETCH(char, signalAfter);
        QFETCH(int, status);
        QFETCH(QStringList, said);
        QFETCH(QStringList, outcomes);
        // The tool takes the port itself.
        m_run.reset();
        m_session.reset();
        m_serial->close();
        m_radio->setFleet(fleetOf(fleet), toolLeaveAfterMs);
        const QString planFile = m_dir.filePath(QStringLiteral("plan.doc"));
        QVERIFY(test::writeFileBytes(planFile, writeChannelFile(plan()).value()));
        QSignalSpy requests(m_radio.get(), &VirtualRadio::requestReceived);
        QProcess tool;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_DATA_HOME"), m_dir.filePath(QStringLiteral("data")));
        tool.setProcessEnvironment(environment);
        QSignalSpy finished(&tool, &QProcess::finished);
        tool.start(QStringLiteral(ZW_CLI_PATH),
                   {"write", "--port", m_radio->devicePath(), "--model", "V", "--repeat", repeat,
                    "--log", m_log, planFile});
        if (signalAfter) {
            QTRY_VERIFY_WITH_TIMEOUT(std::any_of(requests.begin(), requests.end(),
                                                 [signalAfter](const QList<QVariant> &r) {
                                                     return r.at(0).value<char>() == signalAfter;
                                                 }),
                                     10000);
            ::kill(pid_t(tool.processId()), SIGTERM);
        }
        QVERIFY(finished.wait(40000));
        QCOMPARE(tool.exitStatus(), QProcess::NormalExit);
        const QString out = QString::fromUtf8(tool.readAllStandardOutput());
        QVERIFY2(tool.exitCode() == status, qPrintable(out + tool.readAllStandardError()));
        qsizetype at = 0;
        for (const QString &line : said) {
            at = out.indexOf(line, at);
            QVERIFY2(at >= 0, qPrintable(line + QStringLiteral(" not in:\n") + out));
        }
        const Expected<QList<FleetRow>> rows = FleetLog::read(m_log);
        QVERIFY(rows.ok());
        QStringList logged;
        for (const FleetRow &row : *rows)
            logged << fleetOutcomeName(row.outcome);
        QCOMPARE(logged, outcomes);
    }

    // The options of a run, checked before the port is touched.
    void toolRefusesWrongOptions_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("said");
        QTest::newRow("a negative count") << QStringList{"--repeat", "-1"} << "--repeat takes";
        QTest::newRow("no count") << QStringList{"--repeat", "many"} << "--repeat takes";
        QTest::newRow("a log without --repeat")
            << QStringList{"--log", "x.csv"} << "--log goes with --repeat";
        QTest::newRow("without the read-back")
            << QStringList{"--repeat", "2", "--no-verify"} << "do not go with it";
    }

    void toolRefusesWrongOptions()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, said);
        QProcess tool;
        tool.start(QStringLiteral(ZW_CLI_PATH),
                   QStringList{"write", "--port", "/dev/null", "--model", "V"} + options +
                       QStringList{"plan.doc"});
        QVERIFY(tool.waitForFinished(10000));
        QCOMPARE(tool.exitCode(), 2);
        QVERIFY(QString::fromUtf8(tool.readAllStandardError()).contains(said));
    }

private:
    RadioContents contentsOfPlan() const
    {
        const ChannelFileData p = plan();
        return contentsOfWrite(p.records, p.squelchLevel, p.channelTone, Model::V);
    }

    QTemporaryDir m_dir;
    QString m_log;
    std::unique_ptr<VirtualRadio> m_radio;
    std::unique_ptr<SerialConnection> m_serial;
    std::unique_ptr<RadioSession> m_session;
    std::unique_ptr<FleetRun> m_run;
};

QTEST_GUILESS_MAIN(TestFleetRun)
#include "tst_fleetrun.moc"
