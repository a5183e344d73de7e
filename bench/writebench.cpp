// Times full writes against the virtual radio paced like a 9600-baud line:
//   build/bench/zw4630-bench-write [ROUNDS]
// For models V (Timer1 100 ms) and UH (200 ms), through the radio session the window and the
// command-line tool share: the identification before the write (ready answer seen, then the
// read request and the radio's reply), the paced write itself ("A" at once, block b after
// Timer2 and b + 1 Timer1 intervals), the read-back after it (the wait for the ready answer
// after the trailer, then the read request and the radio's reply) and the whole, the program's
// CPU time, and how far any block was sent from its paced moment.
#include "benchsupport.h"
#include "numberreader.h"
#include "radiosession.h"
#include "serialconnection.h"

#include <QCoreApplication>

#include <cmath>

using namespace zw;
using namespace zw::bench;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 5;

    for (Model model : {Model::V, Model::UH}) {
        const ModelInfo &info = modelInfo(model);
        QProcess radio;
        const QString device = startVirtualRadio(radio, info.name.mid(6));
        if (device.isEmpty())
            return 1;
        SerialConnection serial;
        serial.setDevice(1, device);
        if (!serial.open()) {
            std::fprintf(stderr, "cannot open %s\n", qPrintable(device));
            return 1;
        }
        RadioSession session(model, &serial);
        ChannelTable table;
        for (ChannelRecord &record : table)
            record[RxFrequency] = formatFrequency(info.band.bandLow + 1);

        std::vector<double> identifies, writes, readyWaits, readBacks, totals, cpus, offsets;
        for (int round = 0; round < rounds; ++round) {
            session.startPolling();
            if (!runUntil([&] { return session.state() == RadioSession::State::Ready; }, 3000)) {
                std::fprintf(stderr, "the radio does not answer the ready poll\n");
                return 1;
            }
            QElapsedTimer clock;
            double atA = -1; // when "A" went out, after the identification
            double worst = 0;
            double last = 0;
            double atReadBack = -1; // when the read-back's "B" went out
            bool done = false;
            const auto sent =
                QObject::connect(&session, &RadioSession::progress, [&](int blocks, int total) {
                    const double at = double(clock.nsecsElapsed()) / 1e6;
                    if (total == replyBlockCount && blocks == 0 && atA >= 0)
                        atReadBack = at;
                    if (total != imageBlockCount)
                        return;
                    if (blocks == 0) {
                        atA = at;
                        return;
                    }
                    const double paced = atA + 100.0 + blocks * info.timer1IntervalMs;
                    worst = std::max(worst, std::abs(at - paced));
                    last = at;
                });
            double end = 0;
            const auto finished = QObject::connect(&session, &RadioSession::writeFinished,
                                                   [&](const WriteResult &result) {
                                                       done = result.verified();
                                                       end = double(clock.nsecsElapsed()) / 1e6;
                                                   });
            const double cpuBefore = cpuMs();
            clock.start();
            session.beginWrite(table, QStringLiteral("3"), QStringLiteral("中文"));
            const bool ok = runUntil([&] { return done; }, 10000);
            const double cpu = cpuMs() - cpuBefore;
            QObject::disconnect(sent);
            QObject::disconnect(finished);
            if (!ok || atA < 0 || atReadBack < 0) {
                std::fprintf(stderr, "write %d did not end verified\n", round + 1);
                return 1;
            }
            identifies.push_back(atA);
            writes.push_back(last - atA);
            readyWaits.push_back(atReadBack - last);
            readBacks.push_back(end - atReadBack);
            totals.push_back(end);
            cpus.push_back(cpu);
            offsets.push_back(worst);
        }
        const int paced = 100 + 17 * info.timer1IntervalMs;
        std::printf("write-%s identify %.1f ms + paced write %.1f ms (paced %d ms) + read-back "
                    "%.1f ms (ready wait %.1f ms, read %.1f ms; line time 601 ms) = %.1f ms, "
                    "%.1f ms over the paced write (budget 1500 ms), CPU %.1f ms, worst block "
                    "%.1f ms from its paced moment (median of %d)\n",
                    qPrintable(info.name), median(identifies), median(writes), paced,
                    median(readyWaits) + median(readBacks), median(readyWaits), median(readBacks),
                    median(totals), median(totals) - paced, median(cpus), median(offsets), rounds);
        std::printf("write-%s-worst-of-all %.1f ms from its paced moment\n", qPrintable(info.name),
                    *std::max_element(offsets.begin(), offsets.end()));
        session.stop();
        serial.close();
        radio.kill();
        radio.waitForFinished(2000);
    }
    return 0;
}
