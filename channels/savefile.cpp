#include "savefile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zw
{

Result saveWholeFile(const QString &path, const QByteArray &bytes)
{
    // QSaveFile would put a regular file in place of a FIFO or a device node and report success.
    const QFileInfo target(path);
    if (target.exists() && !target.isFile())
        return Failure{QStringLiteral("%1 is not a regular file").arg(path), std::nullopt,
                       FileFailure::NotRegular, path};
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return Failure{file.errorString(), std::nullopt, FileFailure::SystemRefused, path};
    // The buffer is flushed and checked before commit(): commit() alone reports success after
    // a failed flush (a full disk), and would put a cut or empty file in place of the old one.
    if (file.write(bytes) != bytes.size() || !file.flush() || !file.commit()) {
        const QString why = file.errorString();
        file.cancelWriting();
        return Failure{why.isEmpty() ? QStringLiteral("the file could not be written whole") : why};
    }
    return {};
}

Expected<QByteArray> readRegularFile(const QString &path, qint64 limit)
{
    QFile file;
#ifdef Q_OS_UNIX
    // Opened without blocking, then checked on the open file itself: a FIFO would otherwise
    // hold the open until another program opens its other end.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return Failure{QString::fromLocal8Bit(std::strerror(errno)), std::nullopt,
                       FileFailure::SystemRefused, path};
    struct stat status {
    };
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return Failure{QStringLiteral("%1 is not a regular file").arg(path), std::nullopt,
                       FileFailure::NotRegular, path};
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return Failure{file.errorString(), std::nullopt, FileFailure::SystemRefused, path};
    }
#else
    if (!QFileInfo(path).isFile())
        return Failure{QStringLiteral("%1 is not a regular file").arg(path), std::nullopt,
                       FileFailure::NotRegular, path};
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly))
        return Failure{file.errorString(), std::nullopt, FileFailure::SystemRefused, path};
#endif
    // One byte past the bound tells a file that is too large without reading it.
    QByteArray bytes = file.read(limit + 1);
    if (bytes.size() > limit)
        return Failure{QStringLiteral("%1 is too large (more than %2 bytes)")
                           .arg(path, QString::number(limit)),
                       std::nullopt, FileFailure::TooLarge, path, int(limit)};
    return bytes;
}

bool sameFile(const QString &first, const QString &second)
{
    const QString a = QFileInfo(first).canonicalFilePath();
    return !a.isEmpty() && a == QFileInfo(second).canonicalFilePath();
}

} // namespace zw
