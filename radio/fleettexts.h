#pragma once

#include "fleetrun.h"

#include <QString>

namespace zw
{

// The words of a fleet run, in English or Chinese, for the window's panel and the command-line
// tool alike.

// One radio done: "radio 7: written and verified, channels 3 5 changed".
QString fleetRadioText(const FleetRow &row, const WriteResult &result, Model own, bool english);

// What the run waits for or does now, to be read from across the bench: "connect the next radio
// and switch it on", "identifying radio 7…", "writing radio 7…", "checking radio 7…", "switch
// radio 7 off and connect the next". `step` is what Writing does now (FleetRun::step()); `last`
// is how the radio of WaitingForQuiet ended.
QString fleetPhaseText(FleetRun::Phase phase, int radio, LinkState::Transfer step,
                       FleetOutcome last, bool english);

// How the run ended, with where its log is.
QString fleetEndText(const FleetEnd &end, const QString &logPath, bool english);

} // namespace zw
