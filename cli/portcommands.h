#pragma once

#include <QString>
#include <QStringList>

namespace zw
{
struct PortOpenFailure;
}

namespace zw::cli
{

// `ports`: lists the serial ports the system knows, with what it says about each; with
// `probe`, polls them (or only `namedDevices` when some are named) with the ready poll and
// says which one has a radio answering. Exit status 0 when listed (or, probing, when a radio
// answered), else 1.
int listPorts(bool probe, const QStringList &namedDevices, int timeoutMs);

// Why a device did not open, in one line for the terminal: "no such device", "permission
// denied (...)", "in use by minicom (pid 4242, lock file /var/lock/LCK..ttyUSB0)".
QString openFailureText(const PortOpenFailure &failure);

} // namespace zw::cli
