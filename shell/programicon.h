#pragma once

#include <QIcon>

namespace zw
{

// The program's own icon: a handheld radio (antenna, blue body, green display, keypad), the
// picture of packaging/zw4630.svg drawn by the program itself, so that no image plugin is
// needed. Every window shows it (it is set as the application's window icon at start) and the
// about window shows it as picIcon. Needs the GUI application to exist.
QIcon programIcon();

} // namespace zw
