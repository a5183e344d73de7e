// Timing probes for bench/run. Each subcommand prints one line "name value unit".
//   start NS   the program's main window, as main() builds it; prints the time from NS (the
//              launcher's CLOCK_REALTIME in nanoseconds) to its first paint
//   bare NS    the same for a bare QMainWindow with a QMdiArea: the floor any Qt MDI program has
//   bare-chinese-menus NS   the bare window with the main window's Chinese menu titles
//   open       opening a model window (fresh database, existing database, another fresh one),
//              to first paint
#include "afterfirstpaint.h"
#include "idlewarmup.h"
#include "mainwindow.h"
#include "modelwindow.h"
#include "serialconnection.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <pty.h>

namespace
{

qint64 nowNs()
{
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

qint64 threadCpuNs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

// bareMenus: the bare window gets a menu bar with the main window's five Chinese titles, to
// tell the cost of Chinese text (finding and loading a CJK font) from the rest.
int startup(const char *name, qint64 launchedNs, bool bare, bool bareMenus = false)
{
    QMainWindow *window = nullptr;
    QWidget *watched = nullptr;
    std::unique_ptr<zw::MainWindow> form;
    std::unique_ptr<QMainWindow> plain;
    if (bare) {
        plain = std::make_unique<QMainWindow>();
        auto *area = new QMdiArea;
        plain->setCentralWidget(area);
        window = plain.get();
        if (bareMenus)
            for (const char *title : {"对讲机型号", "设置端口", "语言", "退出系统", "帮助"})
                plain->menuBar()->addMenu(QString::fromUtf8(title));
        // A bare main window draws nothing itself; its first frame is the MDI area's paint.
        watched = area->viewport();
    } else {
        form = std::make_unique<zw::MainWindow>();
        // COM1 on a pseudo-terminal: the port opens as with a cable plugged in, so the start
        // shows no port warning.
        int master = -1;
        int slave = -1;
        char slaveName[256] = {};
        if (::openpty(&master, &slave, slaveName, nullptr, nullptr) == 0)
            form->serial()->setDevice(1, QString::fromLocal8Bit(slaveName));
        window = form.get();
        watched = window;
    }
    zw::runAfterFirstPaint(watched, watched, [&] {
        timespec cpu{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
        // The process's CPU time up to the first paint as well, all threads: on a busy machine
        // the wall clock also counts the time other processes had the processor.
        std::printf("%s %.1f ms (cpu %.1f ms)\n", name, double(nowNs() - launchedNs) / 1e6,
                    double(cpu.tv_sec) * 1e3 + double(cpu.tv_nsec) / 1e6);
        std::fflush(stdout);
        // Ends here: what runs after the first paint (the idle warm-up, the teardown) is not
        // part of a start, and an instruction count of the probe then holds the start alone.
        // The port is closed first: its lock file would stay behind, and the next start would
        // find it stale and do more than a start does.
        if (form)
            form->serial()->close();
        std::_Exit(0);
    });
    if (bare)
        plain->show();
    else
        form->load(); // shows the window, then opens the port
    return QApplication::exec();
}

int openModelWindow()
{
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    zw::MainWindow main;
    main.show();
    // A user reaches the model menu well after the main window appears: by then the idle
    // warm-up that follows its first paint has run.
    auto *warmUp = main.findChild<zw::IdleWarmUp *>();
    QElapsedTimer warming;
    warming.start();
    while (warmUp && !warmUp->isDone() && warming.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QApplication::processEvents();
    // The first window of a process also loads the SQLite driver; the later ones show what a
    // user sees on every other open.
    const std::pair<const char *, zw::Model> opens[] = {
        {"open-model-window-first-in-process-new-db", zw::Model::V},
        {"open-model-window-existing-db", zw::Model::V},
        {"open-model-window-new-db", zw::Model::UH},
    };
    for (const auto &[label, model] : opens) {
        QElapsedTimer clock;
        clock.start();
        const qint64 cpuBefore = threadCpuNs();
        bool painted = false;
        zw::ModelWindow *w = main.showModel(model);
        zw::runAfterFirstPaint(w, w, [&painted] { painted = true; });
        while (!painted)
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        // The thread's CPU time as well: on a busy machine the wall clock also counts the time
        // other processes had the processor.
        std::printf("%s %.1f ms (cpu %.1f ms)\n", label, double(clock.nsecsElapsed()) / 1e6,
                    double(threadCpuNs() - cpuBefore) / 1e6);
        main.closeModel(model);
        QApplication::processEvents();
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZW4630"));
    const QString command = argc > 1 ? QString::fromLatin1(argv[1]) : QString();
    const qint64 launched = argc > 2 ? QByteArray(argv[2]).toLongLong() : nowNs();
    if (command == QLatin1String("bare-chinese-menus")) {
        QTemporaryDir dir;
        QDir::setCurrent(dir.path());
        return startup("start-bare-qt-mdi-chinese-menus", launched, true, true);
    }
    if (command == QLatin1String("start") || command == QLatin1String("bare")) {
        QTemporaryDir dir;
        QDir::setCurrent(dir.path());
        return startup(command == QLatin1String("bare") ? "start-bare-qt-mdi" : "start-main-window",
                       launched, command == QLatin1String("bare"));
    }
    if (command == QLatin1String("open"))
        return openModelWindow();
    std::fprintf(stderr, "usage: zw4630-bench start|bare|bare-chinese-menus NS | open\n");
    return 2;
}
