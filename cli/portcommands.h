#pragma once

#include <QString>
#include <QStringList>

namespace zw::cli
{

// `ports`: lists the serial ports the system knows, with what it says about each; with
// `probe`, polls them (or only `namedDevices` when some are named) with the ready poll and
// says which one has a radio answering. Exit status 0 when listed (or, probing, when a radio
// answered), else 1.
int listPorts(bool probe, const QStringList &namedDevices, int timeoutMs);

} // namespace zw::cli
