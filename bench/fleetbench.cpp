// Times a fleet run against the virtual radio's fleet mode, paced like a 9600-baud line, in a
// process of its own:
//   build/bench/zw4630-bench-fleet [RADIOS] [--no-pacing]   (default 20 radios)
//   build/bench/zw4630-bench-fleet --quick                  (2 radios, for a check that it runs)
// For each ZW4630V radio: the time from its ready answer to its log row on the disk, split into
// the identification (ready answer to "A"), the paced write ("A" to the trailer), the read-back
// (trailer to the write's result) and what the run adds after it (the row written and synced);
// the program's CPU time from the ready answer to the row, and over the whole run (the polls
// between radios included). Memory after radios 20, 50, 100 and 200 (those the run reaches) and
// after the last: the resident size, and the heap the program holds (malloc's bytes in use), so
// that growth of the program's own objects shows apart from pages the allocator keeps, and the
// resident size once malloc_trim has handed free heap back; run with 200 radios to see that it
// stays flat (--no-pacing makes that faster).
#include "benchsupport.h"
#include "fleetrun.h"
#include "numberreader.h"
#include "radiosession.h"
#include "serialconnection.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cmath>

#include <malloc.h>

using namespace zw;
using namespace zw::bench;

namespace
{

// The process's resident memory in kB (VmRSS), or 0.
long residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').constFirst().toLong();
    }
    return 0;
}

// The bytes malloc has handed out and not had back, in kB.
long heapInUseKb()
{
    const struct mallinfo2 heap = mallinfo2();
    return long((heap.uordblks + heap.hblkhd) / 1024);
}

struct MemoryAt {
    int radio;
    long residentKb;
    long heapKb;
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList arguments = app.arguments().mid(1);
    const bool quick = arguments.removeAll(QStringLiteral("--quick")) > 0;
    const bool unpaced = arguments.removeAll(QStringLiteral("--no-pacing")) > 0;
    const int radios = quick ? 2 : std::max(1, arguments.value(0, QStringLiteral("20")).toInt());
    const ModelInfo &info = modelInfo(Model::V);

    QStringList fleet;
    for (int i = 0; i < radios; ++i)
        fleet << info.shortName;
    QProcess radio;
    QStringList radioArguments{QStringLiteral("--fleet"), fleet.join(u','),
                               QStringLiteral("--off-time"), QStringLiteral("2000")};
    if (unpaced)
        radioArguments << QStringLiteral("--no-pacing");
    radio.start(QCoreApplication::applicationDirPath() +
                    QStringLiteral("/../tools/zw4630-virtual-radio"),
                radioArguments);
    if (!radio.waitForStarted(5000) || !radio.waitForReadyRead(5000)) {
        std::fprintf(stderr, "cannot start zw4630-virtual-radio\n");
        return 1;
    }
    const QString device = QString::fromLocal8Bit(radio.readLine()).trimmed();
    SerialConnection serial;
    serial.setDevice(1, device);
    if (!serial.open()) {
        std::fprintf(stderr, "cannot open %s\n", qPrintable(device));
        return 1;
    }
    QTemporaryDir folder;
    RadioSession session(Model::V, &serial);
    ChannelFileData plan;
    plan.modelCode = info.code;
    plan.squelchLevel = QStringLiteral("3");
    plan.channelTone = QStringLiteral("中文");
    for (ChannelRecord &record : plan.records)
        record[RxFrequency] = formatFrequency(info.band.bandLow + 1);

    // Per radio, in ms since its ready answer.
    QElapsedTimer clock;
    double cpuAtReady = 0;
    double atA = -1, atTrailer = -1, atResult = -1;
    std::vector<double> totals, identifies, writes, readBacks, afterResults, cpus;
    std::vector<MemoryAt> memory;
    const auto checkpoint = [](int radio) {
        return radio == 20 || radio == 50 || radio == 100 || radio == 200;
    };
    bool failed = false;
    auto now = [&clock] { return double(clock.nsecsElapsed()) / 1e6; };
    // Connected before the run's own handler, so that it sees the result first.
    QObject::connect(&session, &RadioSession::writeFinished, [&] { atResult = now(); });
    QObject::connect(&session, &RadioSession::progress, [&](int blocks, int total) {
        if (total != imageBlockCount)
            return;
        if (blocks == 0)
            atA = now();
        else if (blocks == imageBlockCount)
            atTrailer = now();
    });
    FleetRun run(&session, &serial);
    run.setBackupFolder(folder.filePath(QStringLiteral("backups")));
    run.setRadioLimit(radios);
    QObject::connect(&run, &FleetRun::phaseChanged, [&](FleetRun::Phase phase, int) {
        if (phase != FleetRun::Phase::Writing)
            return;
        clock.start();
        cpuAtReady = cpuMs();
        atA = atTrailer = atResult = -1;
    });
    QObject::connect(&run, &FleetRun::radioDone, [&](const FleetRow &row, const WriteResult &) {
        const double end = now();
        cpus.push_back(cpuMs() - cpuAtReady);
        if (row.outcome != FleetOutcome::Verified || atA < 0 || atTrailer < 0 || atResult < 0) {
            std::fprintf(stderr, "radio %d: %s\n", row.radio,
                         qPrintable(fleetOutcomeName(row.outcome)));
            failed = true;
            return;
        }
        totals.push_back(end);
        identifies.push_back(atA);
        writes.push_back(atTrailer - atA);
        readBacks.push_back(atResult - atTrailer);
        afterResults.push_back(end - atResult);
        if (checkpoint(row.radio))
            memory.push_back({row.radio, residentKb(), heapInUseKb()});
    });
    bool ended = false;
    QObject::connect(&run, &FleetRun::ended, [&] { ended = true; });
    const double cpuBefore = cpuMs();
    QElapsedTimer wall;
    wall.start();
    if (!run.start(plan, folder.filePath(QStringLiteral("fleet.csv")))) {
        std::fprintf(stderr, "cannot start the run\n");
        return 1;
    }
    if (!runUntil([&] { return ended; }, radios * 15000) || failed ||
        int(totals.size()) != radios) {
        std::fprintf(stderr, "the run did not write %d radios verified\n", radios);
        return 1;
    }
    const double cpuAll = cpuMs() - cpuBefore;
    const double seconds = double(wall.elapsed()) / 1000;
    const int paced = 100 + 17 * info.timer1IntervalMs;
    std::printf("fleet-%s per radio from the ready answer to its log row: median %.1f ms, worst "
                "%.1f ms = identification %.1f ms + paced write %.1f ms (paced %d ms) + "
                "read-back %.1f ms + logging %.2f ms (worst %.2f ms; budget 200 ms)%s\n",
                qPrintable(info.name), median(totals),
                *std::max_element(totals.begin(), totals.end()), median(identifies), median(writes),
                paced, median(readBacks), median(afterResults),
                *std::max_element(afterResults.begin(), afterResults.end()),
                unpaced ? " (radio unpaced)" : "");
    std::printf("fleet-%s CPU per radio %.1f ms from ready answer to row, %.1f ms with the polls "
                "between radios; %d radios in %.0f s\n",
                qPrintable(info.name), median(cpus), cpuAll / radios, radios, seconds);
    if (memory.empty() || memory.back().radio != radios)
        memory.push_back({radios, residentKb(), heapInUseKb()});
    for (const MemoryAt &at : memory)
        std::printf("fleet-memory after radio %d: resident %.1f MB, heap in use %.1f MB\n",
                    at.radio, at.residentKb / 1024.0, at.heapKb / 1024.0);
    if (memory.size() > 1) {
        const MemoryAt &first = memory.front();
        const MemoryAt &last = memory.back();
        const double radiosBetween = last.radio - first.radio;
        std::printf("fleet-memory growth per radio from radio %d to %d: resident %.1f kB, heap "
                    "%.1f kB\n",
                    first.radio, last.radio, (last.residentKb - first.residentKb) / radiosBetween,
                    (last.heapKb - first.heapKb) / radiosBetween);
    }
    // What of the resident size is free heap that malloc keeps rather than the program's own.
    malloc_trim(0);
    std::printf("fleet-memory resident %.1f MB after malloc_trim\n", residentKb() / 1024.0);
    session.stop();
    serial.close();
    radio.kill();
    radio.waitForFinished(2000);
    return 0;
}
