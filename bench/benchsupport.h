#pragma once

// Small helpers the benchmarks share: process CPU time, running the event loop until something
// holds, and a paced virtual radio in a process of its own.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QString>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace zw::bench
{

inline double cpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// Runs the event loop until `done` holds or `timeoutMs` passes.
template <typename Done> bool runUntil(Done done, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    // Sleeps between events and looks again after each: what it waits for comes with an event.
    // Only the time limit wakes it on its own; a regular wake-up would be counted as the
    // program's CPU time (one every 10 ms was 70 loop passes during a read).
    QTimer limit;
    limit.setSingleShot(true);
    limit.start(timeoutMs);
    while (!done() && clock.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return done();
}

// Starts zw4630-virtual-radio (paced like a 9600-baud line) for `model` ("V", "UH", ...) and
// returns its device, or an empty text.
inline QString startVirtualRadio(QProcess &radio, const QString &model)
{
    radio.start(QCoreApplication::applicationDirPath() +
                    QStringLiteral("/../tools/zw4630-virtual-radio"),
                {QStringLiteral("--model"), model});
    if (!radio.waitForStarted(5000) || !radio.waitForReadyRead(5000)) {
        std::fprintf(stderr, "cannot start zw4630-virtual-radio\n");
        return QString();
    }
    return QString::fromLocal8Bit(radio.readLine()).trimmed();
}

inline double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

} // namespace zw::bench
