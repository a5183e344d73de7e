#include "currentdirectory.h"

#include "messagebox.h"

#include <QDir>

namespace zw
{

QString getCurrentDirectory(QWidget *parent)
{
    const QString path = QDir::currentPath();
    if (path.isEmpty() || !QDir(path).exists()) {
        showMessage(parent, MessageIcon::None, programTitle(), QStringLiteral("Error"));
        return QString();
    }
    return path;
}

bool setCurrentDirectory(QWidget *parent, const QString &path)
{
    if (!path.isEmpty() && QDir::setCurrent(path))
        return true;
    showMessage(parent, MessageIcon::None, programTitle(), QStringLiteral("ERROR"));
    return false;
}

} // namespace zw
