#include "fleetcommand.h"

#include "backups.h"
#include "channeltexts.h"
#include "console.h"
#include "exitsignals.h"
#include "fleetrun.h"
#include "fleettexts.h"
#include "portaccess.h"
#include "porttexts.h"
#include "radiocommands.h"
#include "radiosession.h"
#include "serialconnection.h"

#include <QDir>
#include <QEventLoop>

namespace zw::cli
{

int writeFleet(Model model, const QString &device, const QString &path, const ChannelFileData &data,
               int radios, const QString &logPath)
{
    SerialConnection serial;
    serial.setDevice(1, device);
    serial.setPortNumber(1);
    if (!serial.open()) {
        report(portOpenFailureText(
                   diagnoseOpenFailure(device, serial.openError(), serial.errorString()), true) +
               QStringLiteral(" Nothing sent."));
        return Failed;
    }
    RadioSession session(model, &serial);
    FleetRun run(&session, &serial);
    run.setRadioLimit(radios);
    QEventLoop loop;
    FleetEnd end;
    FleetOutcome last = FleetOutcome::Verified;
    bool shown = false; // the run's first line is out
    // Ctrl+C, SIGTERM or SIGHUP: a radio being written is finished and logged first.
    ExitSignals exitSignals;
    QObject::connect(&exitSignals, &ExitSignals::exitRequested, &run, [&run] {
        if (run.phase() == FleetRun::Phase::Writing)
            report(QStringLiteral("interrupted: finishing radio %1 first").arg(run.radio()));
        run.stop();
    });
    QObject::connect(&run, &FleetRun::phaseChanged, &loop, [&](FleetRun::Phase phase, int radio) {
        // After a radio, its own wait already said what comes next.
        if (!shown || phase == FleetRun::Phase::WaitingForRadio)
            return;
        const QString text = fleetPhaseText(phase, radio, run.step(), last, true);
        if (!text.isEmpty())
            printOut(text + u'\n');
    });
    // A radio that is identified goes on to its write and its read-back, each said.
    QObject::connect(&run, &FleetRun::stepChanged, &loop, [&](LinkState::Transfer step, int radio) {
        printOut(fleetPhaseText(FleetRun::Phase::Writing, radio, step, last, true) + u'\n');
    });
    QObject::connect(&run, &FleetRun::radioDone, &loop,
                     [&](const FleetRow &row, const WriteResult &result) {
                         last = row.outcome;
                         printOut(fleetRadioText(row, result, model, true) + u'\n');
                     });
    QObject::connect(&run, &FleetRun::ended, &loop, [&](const FleetEnd &how) {
        end = how;
        loop.quit();
    });
    if (const Result started = run.start(data, logPath); !started) {
        report(QStringLiteral("cannot keep the log: %1; nothing sent")
                   .arg(fileFailureText(started.failure(), true)));
        return Failed;
    }
    printOut(QStringLiteral("writing %1 (checksum %2) into one %3 after another; log %4\n")
                 .arg(QDir::toNativeSeparators(path), FleetRun::planChecksum(data, model),
                      modelInfo(model).name, QDir::toNativeSeparators(run.logPath())));
    printOut(fleetPhaseText(FleetRun::Phase::WaitingForRadio, run.radio(), run.step(), last, true) +
             u'\n');
    shown = true;

    loop.exec();
    session.stop();
    serial.close();

    const FleetCounts &counts = run.counts();
    printOut(QStringLiteral("radios done: %1 (%2 written and verified, %3 differ, %4 not "
                            "checked, %5 refused, %6 not written)\n")
                 .arg(counts.total())
                 .arg(counts.verified)
                 .arg(counts.differs)
                 .arg(counts.notChecked)
                 .arg(counts.otherModel)
                 .arg(counts.notWritten));
    const QString ending = fleetEndText(end, run.logPath(), true);
    const bool failed =
        end.reason != FleetEnd::Reason::Stopped && end.reason != FleetEnd::Reason::CountReached;
    if (failed)
        report(ending);
    else
        printOut(ending + u'\n');
    if (failed || counts.otherModel > 0 || counts.notWritten > 0)
        return Failed;
    if (counts.notChecked > 0)
        return ReadBackNotChecked;
    if (counts.differs > 0)
        return ReadBackDiffers;
    return Success;
}

} // namespace zw::cli
