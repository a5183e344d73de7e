// Times a full read against the virtual radio paced like a 9600-baud line, run as its own
// process so that only the program's CPU time is counted:
//   QT_QPA_PLATFORM=offscreen build/bench/zw4630-bench-read [ROUNDS]
// Prints, for each read, the time from Read Data to the table filled and the CPU time the
// program used meanwhile. Under callgrind it counts the instructions of the reads from the
// second on (the first warms what a user's first read also warms), not the start:
//   QT_QPA_PLATFORM=offscreen valgrind --tool=callgrind --instr-atstart=no
//       build/bench/zw4630-bench-read 4      (on one line: the instructions of 3 reads)
#include "benchsupport.h"
#include "channeldocument.h"
#include "mainwindow.h"
#include "modelwindow.h"
#include "radiosession.h"
#include "serialconnection.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#else
#define CALLGRIND_START_INSTRUMENTATION
#define CALLGRIND_STOP_INSTRUMENTATION
#endif

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <optional>
#include <vector>

using namespace zw::bench;

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 5;

    QProcess radio;
    const QString device = startVirtualRadio(radio, QStringLiteral("V"));
    if (device.isEmpty())
        return 1;

    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    zw::MainWindow main;
    main.serial()->setDevice(1, device);
    main.load();
    zw::ModelWindow *window = main.showModel(zw::Model::V);

    zw::RadioSession *session = window->session();
    std::vector<double> times;
    std::vector<double> cpus;
    for (int round = 0; round < rounds; ++round) {
        // The session's own state says the radio answered; after a read it polls again.
        if (!runUntil([&] { return session->state() == zw::RadioSession::State::Ready; }, 3000)) {
            std::fprintf(stderr, "read %d: the radio does not answer the ready poll\n", round + 1);
            return 1;
        }
        bool filled = false;
        bool ended = false;
        std::optional<zw::ReadResult> result;
        QElapsedTimer clock;
        const auto connection = QObject::connect(window->document(), &zw::ChannelDocument::replaced,
                                                 [&] { filled = true; });
        double cpuAtReply = 0;
        const auto replyConnection =
            QObject::connect(session, &zw::RadioSession::progress, [&](int done, int total) {
                if (done == total)
                    cpuAtReply = (cpuMs() / 1000.0);
            });
        const auto finished = QObject::connect(session, &zw::RadioSession::readFinished,
                                               [&](const zw::ReadResult &r) { result = r; });
        const auto end =
            QObject::connect(session, &zw::RadioSession::transferEnded, [&] { ended = true; });
        const double cpuBefore = (cpuMs() / 1000.0);
        clock.start();
        if (round == 1)
            CALLGRIND_START_INSTRUMENTATION;
        window->readAction()->trigger();
        const bool ok = runUntil([&] { return filled || (result && !result->ok()); }, 5000);
        const double elapsed = double(clock.nsecsElapsed()) / 1e6;
        const double cpu = ((cpuMs() / 1000.0) - cpuBefore) * 1000.0;
        runUntil([&] { return ended; }, 2000);
        if (round == rounds - 1)
            CALLGRIND_STOP_INSTRUMENTATION;
        QObject::disconnect(connection);
        QObject::disconnect(replyConnection);
        QObject::disconnect(finished);
        QObject::disconnect(end);
        if (!ok || !filled || !result || !result->ok() || !ended) {
            std::fprintf(stderr, "read %d did not fill the table and end the transfer\n",
                         round + 1);
            return 1;
        }
        std::printf("read %d: table filled after %.1f ms, program CPU time %.1f ms "
                    "(%.1f ms until the reply was in, %.1f ms to apply it)\n",
                    round + 1, elapsed, cpu, (cpuAtReply - cpuBefore) * 1000.0,
                    cpu - (cpuAtReply - cpuBefore) * 1000.0);
        times.push_back(elapsed);
        cpus.push_back(cpu);
    }
    std::printf("median of %d: %.1f ms (goal <= 750 ms), CPU %.1f ms (goal <= 15 ms)\n", rounds,
                median(times), median(cpus));
    std::printf("worst of %d:  %.1f ms, CPU %.1f ms\n", rounds,
                *std::max_element(times.begin(), times.end()),
                *std::max_element(cpus.begin(), cpus.end()));
    main.close();
    radio.kill();
    radio.waitForFinished(2000);
    return 0;
}
