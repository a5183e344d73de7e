#include "savefile.h"

#include "filenames.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zw
{

namespace
{

#ifdef Q_OS_UNIX

Failure systemFailure(FileFailure kind, const QString &path, int error)
{
    return Failure{qt_error_string(error), std::nullopt, kind, path};
}

// Writes all of `bytes` to `fd`, through interruptions and short writes.
bool writeAll(int fd, const QByteArray &bytes)
{
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, std::size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            if (written == 0)
                errno = EIO;
            return false;
        }
        data += written;
        left -= written;
    }
    return true;
}

// A new file beside `finalPath`, created exclusively under a name of its own; -1 and errno on
// failure. The name is the file's own with a dot and up to 7 characters after it, its own part
// shortened where the whole would pass the folder's longest name: a name of 249 bytes and more
// is legal and is saved as any other.
int createTemporary(const QByteArray &finalPath, QByteArray *name)
{
    const qsizetype slash = finalPath.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : finalPath.left(qMax(slash, 1));
    const long longest = ::pathconf(folder.constData(), _PC_NAME_MAX);
    const qsizetype ownLength = finalPath.size() - (slash + 1);
    const qsizetype keep = qMin(ownLength, qsizetype(longest > 0 ? longest : 255) - 8);
    const QByteArray stem = finalPath.left(slash + 1 + qMax(keep, qsizetype(1)));
    for (int attempt = 0; attempt < 100; ++attempt) {
        *name = stem + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        // 0666 as for any new file: the user's umask decides.
        const int fd = ::open(name->constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

// The new content goes into a file of its own beside the old one, is synced to the disk and
// only then renamed over the old one; the folder is synced last, so that the rename outlives a
// power loss too. QSaveFile does the same but does not report a failed sync: an EIO there would
// replace a good file with one the disk never confirmed. Names are taken byte for byte.
Result replaceBySync(const QString &path, const QByteArray &bytes)
{
    QByteArray finalPath = fileNameBytes(path);
    // A symbolic link to a regular file stays a link: its target gets the new content.
    struct stat old {
    };
    const bool exists = ::stat(finalPath.constData(), &old) == 0;
    struct stat link {
    };
    if (exists && ::lstat(finalPath.constData(), &link) == 0 && S_ISLNK(link.st_mode)) {
        char *resolved = ::realpath(finalPath.constData(), nullptr);
        if (!resolved)
            return systemFailure(FileFailure::SystemRefused, path, errno);
        finalPath = QByteArray(resolved);
        std::free(resolved);
    }
    QByteArray temporary;
    const int fd = createTemporary(finalPath, &temporary);
    if (fd < 0)
        return systemFailure(FileFailure::SystemRefused, path, errno);
    auto fail = [&](FileFailure kind) {
        const int error = errno;
        ::close(fd);
        ::unlink(temporary.constData());
        return systemFailure(kind, path, error);
    };
    // The new file keeps the old one's permissions, as an edit in place would.
    if (exists && ::fchmod(fd, old.st_mode & 07777) != 0)
        return fail(FileFailure::WriteFailed);
    if (!writeAll(fd, bytes))
        return fail(FileFailure::WriteFailed);
    if (::fdatasync(fd) != 0)
        return fail(FileFailure::SyncFailed);
    // A network file system may report a failed write only when the file is closed.
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temporary.constData());
        return systemFailure(FileFailure::WriteFailed, path, error);
    }
    if (::rename(temporary.constData(), finalPath.constData()) != 0) {
        const int error = errno;
        ::unlink(temporary.constData());
        return systemFailure(FileFailure::WriteFailed, path, error);
    }
    const qsizetype slash = finalPath.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : finalPath.left(qMax(slash, 1));
    const int folderFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd < 0)
        return systemFailure(FileFailure::FolderSyncFailed, path, errno);
    // Some file systems cannot sync a folder at all (EINVAL): nothing more can be done there.
    const bool synced = ::fsync(folderFd) == 0 || errno == EINVAL;
    const int error = errno;
    ::close(folderFd);
    if (!synced)
        return systemFailure(FileFailure::FolderSyncFailed, path, error);
    return {};
}

#endif

} // namespace

Result saveWholeFile(const QString &path, const QByteArray &bytes)
{
    // A rename would put a regular file in place of a FIFO or a device node.
#ifdef Q_OS_UNIX
    struct stat target {
    };
    if (::stat(fileNameBytes(path).constData(), &target) == 0 && !S_ISREG(target.st_mode))
        return Failure{QString(), std::nullopt, FileFailure::NotRegular, path};
    return replaceBySync(path, bytes);
#else
    const QFileInfo target(path);
    if (target.exists() && !target.isFile())
        return Failure{QString(), std::nullopt, FileFailure::NotRegular, path};
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return Failure{file.errorString(), std::nullopt, FileFailure::SystemRefused, path};
    // The buffer is flushed and checked before commit(): commit() alone reports success after
    // a failed flush (a full disk), and would put a cut or empty file in place of the old one.
    if (file.write(bytes) != bytes.size() || !file.flush() || !file.commit()) {
        const QString why = file.errorString();
        file.cancelWriting();
        return Failure{why, std::nullopt, FileFailure::WriteFailed, path};
    }
    return {};
#endif
}

Expected<QByteArray> readRegularFile(const QString &path, qint64 limit)
{
    QFile file;
#ifdef Q_OS_UNIX
    // Opened without blocking, then checked on the open file itself: a FIFO would otherwise
    // hold the open until another program opens its other end.
    const int fd = ::open(fileNameBytes(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return Failure{QString::fromLocal8Bit(std::strerror(errno)), std::nullopt,
                       FileFailure::SystemRefused, path};
    struct stat status {
    };
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return Failure{QString(), std::nullopt, FileFailure::NotRegular, path};
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return Failure{file.errorString(), std::nullopt, FileFailure::SystemRefused, path};
    }
#else
    if (!QFileInfo(path).isFile())
        return Failure{QString(), std::nullopt, FileFailure::NotRegular, path};
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly))
        return Failure{file.errorString(), std::nullopt, FileFailure::SystemRefused, path};
#endif
    // One byte past the bound tells a file that is too large without reading it.
    QByteArray bytes = file.read(limit + 1);
    if (bytes.size() > limit)
        return Failure{QString(), std::nullopt, FileFailure::TooLarge, path, int(limit)};
    return bytes;
}

bool sameFile(const QString &first, const QString &second)
{
#ifdef Q_OS_UNIX
    struct stat a {
    }, b{};
    return ::stat(fileNameBytes(first).constData(), &a) == 0 &&
           ::stat(fileNameBytes(second).constData(), &b) == 0 && a.st_dev == b.st_dev &&
           a.st_ino == b.st_ino;
#else
    const QString a = QFileInfo(first).canonicalFilePath();
    return !a.isEmpty() && a == QFileInfo(second).canonicalFilePath();
#endif
}

Result openNewFile(QFile *file, const QString &path)
{
#ifdef Q_OS_UNIX
    const QByteArray name = fileNameBytes(path);
    // A FIFO nobody reads would hold the open (and every write) forever, a device would get the
    // text: only a regular file or a new name is taken. The check is made again on the open
    // file, opened without waiting, in case the name changed in between.
    struct stat status {
    };
    if (::stat(name.constData(), &status) == 0 && !S_ISREG(status.st_mode))
        return Failure{QString(), std::nullopt, FileFailure::NotRegular, path};
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0)
        return systemFailure(FileFailure::SystemRefused, path, errno);
    auto refuse = [&](FileFailure kind, int error) {
        ::close(fd);
        return kind == FileFailure::NotRegular ? Failure{QString(), std::nullopt, kind, path}
                                               : systemFailure(kind, path, error);
    };
    if (::fstat(fd, &status) != 0)
        return refuse(FileFailure::SystemRefused, errno);
    if (!S_ISREG(status.st_mode))
        return refuse(FileFailure::NotRegular, 0);
    // A write of nothing asks the system whether it takes writes there at all: a file of /proc
    // opens for root, and then refuses every line.
    if (::ftruncate(fd, 0) != 0 || ::write(fd, "", 0) != 0)
        return refuse(FileFailure::SystemRefused, errno);
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0)
        return refuse(FileFailure::SystemRefused, errno);
    // Unbuffered: each write reaches the file at once, and a failed one names its reason.
    if (!file->open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered,
                    QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return Failure{file->errorString(), std::nullopt, FileFailure::SystemRefused, path};
    }
#else
    if (QFileInfo(path).exists() && !QFileInfo(path).isFile())
        return Failure{QString(), std::nullopt, FileFailure::NotRegular, path};
    file->setFileName(path);
    if (!file->open(QIODevice::WriteOnly | QIODevice::Truncate))
        return Failure{file->errorString(), std::nullopt, FileFailure::SystemRefused, path};
#endif
    return {};
}

Result appendToFile(const QString &path, const QByteArray &bytes)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(fileNameBytes(path).constData(),
                          O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0)
        return systemFailure(FileFailure::SystemRefused, path, errno);
    // Checked on the open file: a FIFO or a device would take the record and keep nothing.
    struct stat status {
    };
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return Failure{QString(), std::nullopt, FileFailure::NotRegular, path};
    }
    if (!writeAll(fd, bytes)) {
        const int error = errno;
        ::close(fd);
        return systemFailure(FileFailure::WriteFailed, path, error);
    }
    if (::fdatasync(fd) != 0) {
        const int error = errno;
        ::close(fd);
        return systemFailure(FileFailure::SyncFailed, path, error);
    }
    if (::close(fd) != 0)
        return systemFailure(FileFailure::WriteFailed, path, errno);
    return {};
#else
    const QFileInfo target(path);
    if (target.exists() && !target.isFile())
        return Failure{QString(), std::nullopt, FileFailure::NotRegular, path};
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return Failure{file.errorString(), std::nullopt, FileFailure::SystemRefused, path};
    if (file.write(bytes) != bytes.size() || !file.flush())
        return Failure{file.errorString(), std::nullopt, FileFailure::WriteFailed, path};
    return {};
#endif
}

} // namespace zw
