#include "filenames.h"

#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <dirent.h>
#include <sys/stat.h>
#endif

namespace zw
{

namespace
{

constexpr char16_t escapeBase = 0xDC00; // U+DC80..U+DCFF stand for the bytes 0x80..0xFF

// The length of the well-formed UTF-8 character at `at`, or 0.
int utf8Length(const QByteArray &bytes, qsizetype at)
{
    const auto byte = [&](qsizetype i) { return uchar(bytes.at(i)); };
    const uchar lead = byte(at);
    int length = 0;
    uchar low = 0x80, high = 0xBF; // the second byte's range (no overlongs, no surrogates)
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (at + length > bytes.size() || byte(at + 1) < low || byte(at + 1) > high)
        return 0;
    for (int i = 2; i < length; ++i)
        if ((byte(at + i) & 0xC0) != 0x80)
            return 0;
    return length;
}

// Whether `name` holds a byte that is not part of a UTF-8 character.
bool holdsNonUtf8Byte(const QString &name)
{
    for (const QChar c : name)
        if (c.unicode() >= escapeBase + 0x80 && c.unicode() <= escapeBase + 0xFF)
            return true;
    return false;
}

} // namespace

QString fileNameFromBytes(const QByteArray &bytes)
{
    QString name;
    name.reserve(bytes.size());
    for (qsizetype at = 0; at < bytes.size();) {
        const int length = utf8Length(bytes, at);
        if (length == 0) {
            name += QChar(char16_t(escapeBase + uchar(bytes.at(at))));
            ++at;
            continue;
        }
        name += QString::fromUtf8(bytes.constData() + at, length);
        at += length;
    }
    return name;
}

QByteArray fileNameBytes(const QString &name)
{
    QByteArray bytes;
    bytes.reserve(name.size());
    qsizetype start = 0; // of the run of ordinary characters not yet converted
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name.at(i).unicode();
        if (c < escapeBase + 0x80 || c > escapeBase + 0xFF)
            continue;
        // The low half of a character beyond U+FFFF (U+1F4FB is D83D DCFB) is no escape.
        if (i > 0 && name.at(i - 1).isHighSurrogate())
            continue;
        bytes += QStringView(name).mid(start, i - start).toUtf8();
        bytes += char(c - escapeBase);
        start = i + 1;
    }
    bytes += QStringView(name).mid(start).toUtf8();
    return bytes;
}

QString fileNameAsListed(const QString &path)
{
#ifdef Q_OS_UNIX
    const QByteArray bytes = fileNameBytes(path);
    struct stat status {
    };
    if (!path.contains(QChar::ReplacementCharacter) || ::lstat(bytes.constData(), &status) == 0)
        return path;
    const QFileInfo info(path);
    const QString folder = info.path();
    DIR *entries = ::opendir(fileNameBytes(folder).constData());
    if (!entries)
        return path;
    QString found;
    int matches = 0;
    while (const dirent *entry = ::readdir(entries)) {
        const QByteArray name(entry->d_name);
        if (QString::fromUtf8(name) == info.fileName()) {
            found = fileNameFromBytes(name);
            ++matches;
        }
    }
    ::closedir(entries);
    if (matches != 1)
        return path;
    return folder == QLatin1String(".") && !path.startsWith(QLatin1String("./"))
               ? found
               : folder + QLatin1Char('/') + found;
#else
    return path;
#endif
}

QStringList filesNotListedByQt(const QString &folder)
{
    QStringList names;
#ifdef Q_OS_UNIX
    const QByteArray folderBytes = fileNameBytes(folder);
    DIR *entries = ::opendir(folderBytes.constData());
    if (!entries)
        return names;
    while (const dirent *entry = ::readdir(entries)) {
        const QString name = fileNameFromBytes(QByteArray(entry->d_name));
        struct stat status {
        };
        if (holdsNonUtf8Byte(name) &&
            ::stat((folderBytes + '/' + entry->d_name).constData(), &status) == 0 &&
            S_ISREG(status.st_mode))
            names << name;
    }
    ::closedir(entries);
    names.sort();
#else
    Q_UNUSED(folder)
#endif
    return names;
}

} // namespace zw
