#include "portcommands.h"

#include "console.h"
#include "portaccess.h"
#include "portprober.h"
#include "porttexts.h"
#include "serialports.h"

#include <QEventLoop>

namespace zw::cli
{

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
            outcome = portOpenFailureText(result.failure, true, FrontEnd::CommandLine);
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
