#pragma once

#include "portaccess.h"

#include <QString>

namespace zw
{

// The one text of each reason a serial port did not open, in English or Chinese, naming the
// device: no such device; not a serial port (a plain file, a folder, a FIFO, /dev/null);
// permission denied (naming the group to join only when that group may read and write the
// device, else pointing to a udev rule); in use (by which process, from the lock file). The
// window and the command-line tool both show it, so they say the same about the same port.
// An unexplained failure names the serial port's own error text, when it gave one. A missing
// device's text ends with what the front end offers instead: the window's Port menu, the
// command-line tool's --port.
enum class FrontEnd { Window, CommandLine };
QString portOpenFailureText(const PortOpenFailure &failure, bool english,
                            FrontEnd frontEnd = FrontEnd::Window);

} // namespace zw
