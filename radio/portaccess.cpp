#include "portaccess.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <unistd.h>
#endif

namespace zw
{

QString portDevicePath(const QString &name)
{
#ifdef Q_OS_UNIX
    if (name.startsWith(u'/') || name.startsWith(QLatin1String("./")) ||
        name.startsWith(QLatin1String("../")))
        return name;
    return QStringLiteral("/dev/") + name;
#else
    return name;
#endif
}

PortAccess portAccess(const QString &name)
{
    PortAccess result;
    result.path = portDevicePath(name);
    const QFileInfo info(result.path);
    result.exists = info.exists();
    result.regularFile = info.isFile();
#ifdef Q_OS_UNIX
    const QByteArray path = QFile::encodeName(result.path);
    if (result.exists && ::access(path.constData(), R_OK | W_OK) != 0 && errno == EACCES) {
        result.denied = true;
        result.group = info.group();
    }
#endif
    return result;
}

} // namespace zw
