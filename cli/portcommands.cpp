#include "portcommands.h"

#include "console.h"
#include "portaccess.h"
#include "portprober.h"
#include "serialports.h"

#include <QEventLoop>

namespace zw::cli
{

QString openFailureText(const PortOpenFailure &failure)
{
    using Reason = PortOpenFailure::Reason;
    switch (failure.reason) {
    case Reason::NoSuchDevice:
        return QStringLiteral("no such device");
    case Reason::PermissionDenied:
        if (failure.access.groupMayUse)
            return QStringLiteral("permission denied (members of group %1 may use it: sudo "
                                  "usermod -aG %1 $USER, then log in again)")
                .arg(failure.access.group);
        return QStringLiteral("permission denied (the device's permissions deny this user; a "
                              "udev rule can grant them)");
    case Reason::InUse: {
        const PortLock &lock = failure.lock;
        if (lock.thisProgram)
            return QStringLiteral("in use by this program");
        if (lock.pid > 0 && lock.processGone)
            return QStringLiteral("locked by %1, left by process %2, which no longer runs")
                .arg(lock.file)
                .arg(lock.pid);
        if (lock.pid > 0)
            return QStringLiteral("in use by %1 (pid %2, lock file %3)")
                .arg(lock.program.isEmpty() ? QStringLiteral("another program") : lock.program)
                .arg(lock.pid)
                .arg(lock.file);
        return QStringLiteral("in use by another program");
    }
    case Reason::NotASerialPort:
        return QStringLiteral("not a serial port");
    case Reason::Unknown:
        break;
    }
    return failure.systemError.isEmpty()
               ? QStringLiteral("cannot be opened")
               : QStringLiteral("cannot be opened: %1").arg(failure.systemError);
}

int listPorts(bool probe, const QStringList &namedDevices, int timeoutMs)
{
    const QList<SerialPortEntry> ports = systemSerialPorts();
    if (!probe) {
        for (const SerialPortEntry &entry : ports)
            printOut(entry.label() + QLatin1Char('\n'));
        if (ports.isEmpty())
            report(QStringLiteral("the system lists no serial ports"));
        return Success;
    }

    QStringList devices = namedDevices;
    QStringList labels = namedDevices;
    for (const SerialPortEntry &entry : ports) {
        const qsizetype named = devices.indexOf(entry.device);
        if (named >= 0) {
            labels[named] = entry.label();
        } else if (namedDevices.isEmpty()) {
            devices << entry.device;
            labels << entry.label();
        }
    }
    PortProber prober;
    prober.setTimeout(timeoutMs);
    QEventLoop loop;
    QObject::connect(&prober, &PortProber::finished, &loop, &QEventLoop::quit);
    prober.start(devices);
    if (prober.isRunning())
        loop.exec();

    for (const PortProber::Result &result : prober.results()) {
        const QString label = labels.value(int(devices.indexOf(result.device)), result.device);
        QString outcome;
        switch (result.outcome) {
        case PortProber::Outcome::Answered:
            outcome = QStringLiteral("radio answers");
            break;
        case PortProber::Outcome::Silent:
            outcome = QStringLiteral("no answer");
            break;
        case PortProber::Outcome::NotOpened:
        case PortProber::Outcome::InUseByThisProgram:
            outcome = openFailureText(result.failure);
            break;
        }
        printOut(QStringLiteral("%1: %2\n").arg(label, outcome));
    }
    const QStringList answering = prober.answeringDevices();
    if (answering.isEmpty()) {
        report(QStringLiteral("no radio answered on %1 ports: is it switched on, the cable "
                              "seated, and may this user use the serial ports?")
                   .arg(prober.results().size()));
        return Failed;
    }
    report(QStringLiteral("a radio answers on %1").arg(answering.join(QStringLiteral(", "))));
    return Success;
}

} // namespace zw::cli
