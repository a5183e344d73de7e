#include "backups.h"

#include "savefile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

#include <array>

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

// Names of this program's backups of one model: the time stamp sorts them oldest first. Made
// once per model: every backup lists the folder with it.
const QRegularExpression &backupName(Model model)
{
    static const std::array<QRegularExpression, modelCount> names = [] {
        std::array<QRegularExpression, modelCount> made;
        for (Model each : allModels)
            made[modelIndex(each)] =
                QRegularExpression(QStringLiteral("^%1_\\d{8}-\\d{6}-\\d{3}_[a-z-]+\\.doc$")
                                       .arg(QRegularExpression::escape(modelInfo(each).name)));
        return made;
    }();
    return names[modelIndex(model)];
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
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    const bool homeless = qEnvironmentVariableIsEmpty("HOME") &&
                          !QDir::isAbsolutePath(qEnvironmentVariable("XDG_DATA_HOME"));
    if (data.isEmpty() || homeless)
        return QString();
    return data + QStringLiteral("/backups");
}

std::optional<BackupName> readBackupName(const QString &path)
{
    static const QRegularExpression pattern(
        QStringLiteral("^(.+)_(\\d{8}-\\d{6}-\\d{3})_([a-z-]+)\\.doc$"));
    const QRegularExpressionMatch match = pattern.match(QFileInfo(path).fileName());
    if (!match.hasMatch())
        return std::nullopt;
    std::optional<Model> model;
    for (Model m : allModels)
        if (modelInfo(m).name == match.captured(1))
            model = m;
    const QDateTime made =
        QDateTime::fromString(match.captured(2), QStringLiteral("yyyyMMdd-HHmmss-zzz"));
    if (!model || !made.isValid())
        return std::nullopt;
    BackupName name{made, *model, std::nullopt};
    for (BackupReason reason : {BackupReason::BeforeRead, BackupReason::FromRadio,
                                BackupReason::BeforeOpen, BackupReason::BeforeImport})
        if (reasonText(reason) == match.captured(3))
            name.reason = reason;
    return name;
}

QStringList backupFiles(const QString &folder, Model model)
{
    const QRegularExpression &pattern = backupName(model);
    const QDir dir(folder);
    QStringList names;
    // The folder's entries as they come (sorting a listing of every file costs more than
    // sorting the backups of one model).
    QDirIterator entries(folder, QDir::Files);
    while (entries.hasNext()) {
        entries.next();
        const QString name = entries.fileName();
        if (pattern.match(name).hasMatch())
            names.append(dir.filePath(name));
    }
    names.sort();
    return names;
}

Expected<BackupFile> writeBackup(const QString &folder, Model model, BackupReason reason,
                                 const ChannelFileData &data, const QDateTime &when)
{
    if (folder.isEmpty())
        return Failure{{}, std::nullopt, FileFailure::NoBackupFolder};
    const Expected<QByteArray> bytes = writeChannelFile(data);
    if (!bytes)
        return bytes.failure();
    if (!QDir().mkpath(folder))
        return Failure{{}, std::nullopt, FileFailure::CannotMakeFolder, folder};

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
        return saved.failure();

    // Names sort by their time. Backups dated after this one (a clock set back, a fall-back
    // of daylight-saving time) are not pruned for it, and this one never is.
    const QString name = QFileInfo(path).fileName();
    QStringList older;
    for (const QString &file : std::as_const(existing))
        if (QFileInfo(file).fileName() < name)
            older << file;
    older.sort();
    for (qsizetype excess = existing.size() + 1 - backupsKept; excess > 0 && !older.isEmpty();
         --excess)
        QFile::remove(older.takeFirst());
    return BackupFile{path, false};
}

} // namespace zw
