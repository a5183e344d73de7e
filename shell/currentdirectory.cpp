#include "currentdirectory.h"

#include "messagebox.h"
#include "messages.h"

#include <QDir>

namespace zw
{

QString getCurrentDirectory(QWidget *parent)
{
    const QString path = QDir::currentPath();
    if (path.isEmpty() || !QDir(path).exists()) {
        showMessage(parent, MessageIcon::None, programTitle(), currentDirectoryUnreadableMessage);
        return QString();
    }
    return path;
}

bool setCurrentDirectory(QWidget *parent, const QString &path)
{
    if (!path.isEmpty() && QDir::setCurrent(path))
        return true;
    showMessage(parent, MessageIcon::None, programTitle(), currentDirectoryUnsetMessage);
    return false;
}

} // namespace zw
