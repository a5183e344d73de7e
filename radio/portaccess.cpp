#include "portaccess.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <unistd.h>
#endif

namespace zw
{

PortAccess portAccess(const QString &device)
{
    PortAccess result;
#ifdef Q_OS_UNIX
    const QByteArray path = QFile::encodeName(device);
    if (::access(path.constData(), R_OK | W_OK) != 0 && errno == EACCES) {
        result.denied = true;
        result.group = QFileInfo(device).group();
    }
#else
    Q_UNUSED(device)
#endif
    return result;
}

} // namespace zw
