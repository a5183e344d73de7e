#pragma once

#include <QString>

class QWidget;

namespace zw
{

// The process's current directory, as the channel-file dialogs keep it: the model databases are
// opened by bare file name, so a dialog that changes the folder must not leave it changed.
// On failure each shows its message ("Error" / "ERROR") titled with the program's title.
QString getCurrentDirectory(QWidget *parent);
bool setCurrentDirectory(QWidget *parent, const QString &path);

} // namespace zw
