// Times full writes against the virtual radio paced like a 9600-baud line:
//   QT_QPA_PLATFORM=offscreen build/bench/zw4630-bench-write [ROUNDS]
// For models V (Timer1 100 ms) and UH (200 ms): the time from Write Data to the last block
// sent, the program's CPU time meanwhile, and how far any block was sent from its paced
// moment ("A" at once, block b after Timer2 and b + 1 Timer1 intervals).
#include "benchsupport.h"
#include "mainwindow.h"
#include "modelwindow.h"
#include "radiosession.h"
#include "serialconnection.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QTemporaryDir>

#include <cmath>

using namespace zw;
using namespace zw::bench;

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZW4630-bench"));
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());

    for (Model model : {Model::V, Model::UH}) {
        const ModelInfo &info = modelInfo(model);
        QProcess radio;
        const QString device = startVirtualRadio(radio, info.name.mid(6));
        if (device.isEmpty())
            return 1;
        MainWindow main;
        main.serial()->setDevice(1, device);
        main.load();
        ModelWindow *window = main.showModel(model);
        RadioSession *link = window->session();

        std::vector<double> totals, cpus, offsets;
        for (int round = 0; round < rounds; ++round) {
            if (!runUntil(
                    [&] { return window->statusLine()->text() == QStringLiteral("对讲机就绪..."); },
                    3000)) {
                std::fprintf(stderr, "the radio does not answer the ready poll\n");
                return 1;
            }
            QElapsedTimer clock;
            double worst = 0;
            double last = 0;
            const auto sent = QObject::connect(link, &RadioSession::progress, [&](int done, int) {
                if (done == 0)
                    return;
                const double at = double(clock.nsecsElapsed()) / 1e6;
                const double paced = 100.0 + done * info.timer1IntervalMs;
                worst = std::max(worst, std::abs(at - paced));
                last = at;
            });
            const double cpuBefore = cpuMs();
            clock.start();
            window->writeAction()->trigger();
            const bool ok = runUntil([&] { return !window->isTransferLocked(); }, 10000);
            const double cpu = cpuMs() - cpuBefore;
            QObject::disconnect(sent);
            if (!ok) {
                std::fprintf(stderr, "write %d did not end\n", round + 1);
                return 1;
            }
            totals.push_back(last);
            cpus.push_back(cpu);
            offsets.push_back(worst);
        }
        std::printf("write-%s %.1f ms (paced %d ms), CPU %.1f ms, worst block %.1f ms from its "
                    "paced moment (median of %d)\n",
                    qPrintable(info.name), median(totals), 100 + 17 * info.timer1IntervalMs,
                    median(cpus), median(offsets), rounds);
        std::printf("write-%s-worst-of-all %.1f ms from its paced moment\n", qPrintable(info.name),
                    *std::max_element(offsets.begin(), offsets.end()));
        main.close();
        radio.kill();
        radio.waitForFinished(2000);
    }
    return 0;
}
