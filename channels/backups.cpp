#include "backups.h"

#include "savefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

namespace zw
{

namespace
{

QString reasonText(BackupReason reason)
{
    switch (reason) {
    case BackupReason::BeforeRead:
        return QStringLiteral("before-read");
    case BackupReason::FromRadio:
        return QStringLiteral("from-radio");
    case BackupReason::BeforeOpen:
        return QStringLiteral("before-open");
    case BackupReason::BeforeImport:
        return QStringLiteral("before-import");
    }
    return QStringLiteral("backup");
}

// Names of this program's backups of one model: the time stamp sorts them oldest first.
QRegularExpression backupName(Model model)
{
    return QRegularExpression(QStringLiteral("^%1_\\d{8}-\\d{6}-\\d{3}_[a-z-]+\\.doc$")
                                  .arg(QRegularExpression::escape(modelInfo(model).name)));
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.read(maxChannelFileSize + 1);
}

} // namespace

QString backupFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/backups");
}

QStringList backupFiles(const QString &folder, Model model)
{
    const QRegularExpression pattern = backupName(model);
    QStringList names;
    const QStringList all = QDir(folder).entryList(QDir::Files, QDir::Name);
    for (const QString &name : all) {
        if (pattern.match(name).hasMatch())
            names.append(QDir(folder).filePath(name));
    }
    return names;
}

Expected<BackupFile> writeBackup(const QString &folder, Model model, BackupReason reason,
                                 const ChannelFileData &data, const QDateTime &when)
{
    const Expected<QByteArray> bytes = writeChannelFile(data);
    if (!bytes)
        return Failure{bytes.error()};
    if (!QDir().mkpath(folder))
        return Failure{QStringLiteral("cannot create %1").arg(QDir::toNativeSeparators(folder))};

    QStringList existing = backupFiles(folder, model);
    // The same table again (two reads of an unchanged radio, a read right after a backup of
    // what the radio holds) adds nothing: the older backups stay instead of being pushed out.
    if (!existing.isEmpty() && fileBytes(existing.last()) == *bytes)
        return BackupFile{existing.last(), true};

    // One backup per moment: one made within the same millisecond as another takes the next.
    auto stampTaken = [&existing](const QString &prefix) {
        for (const QString &name : existing)
            if (QFileInfo(name).fileName().startsWith(prefix))
                return true;
        return false;
    };
    QDateTime stamp = when;
    QString prefix;
    do {
        prefix = modelInfo(model).name + QLatin1Char('_') +
                 stamp.toString(QStringLiteral("yyyyMMdd-HHmmss-zzz")) + QLatin1Char('_');
        stamp = stamp.addMSecs(1);
    } while (stampTaken(prefix));
    const QString path =
        QDir(folder).filePath(prefix + reasonText(reason) + QStringLiteral(".doc"));

    if (const Result saved = saveWholeFile(path, *bytes); !saved)
        return Failure{saved.error()};

    existing.append(path);
    existing.sort();
    while (existing.size() > backupsKept)
        QFile::remove(existing.takeFirst());
    return BackupFile{path, false};
}

} // namespace zw
