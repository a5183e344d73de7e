#pragma once

#include "channelfile.h"
#include "modelinfo.h"
#include "result.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

namespace zw
{

// Backups of channel tables: before a read from the radio, a channel-file open or a CSV import
// replaces a model window's table, the table is kept as an ordinary channel file, so restoring
// one is a plain file open. After a successful read the radio's own contents are kept too.
// Each model keeps its newest `backupsKept` files.
constexpr int backupsKept = 50;

// Why a backup was made; part of its file name.
enum class BackupReason { BeforeRead, FromRadio, BeforeOpen, BeforeImport };

// The folder the program keeps its backups in (QStandardPaths::AppDataLocation + "/backups"),
// or an empty text when there is none: without a home folder (HOME unset) Qt would name one
// under the root folder.
QString backupFolder();

struct BackupFile {
    QString fileName;     // the backup written (or the newest one, when skipped)
    bool skipped = false; // the newest backup of the model already holds exactly this
};

// Writes `data` as a channel file named "<model>_<yyyyMMdd-HHmmss-zzz>_<reason>.doc" in
// `folder` (created when missing), unless the model's newest backup holds the same bytes, and
// then removes the model's oldest backups beyond `backupsKept`: only ones whose names date them
// before the one just written, which always stays. Never touches other files.
Expected<BackupFile> writeBackup(const QString &folder, Model model, BackupReason reason,
                                 const ChannelFileData &data,
                                 const QDateTime &when = QDateTime::currentDateTime());

// The model's backups in `folder`, oldest first.
QStringList backupFiles(const QString &folder, Model model);

// What a backup's name says about it: when it was made (local time, to the millisecond), of
// which model and why (none for a reason this program does not write).
struct BackupName {
    QDateTime made;
    Model model = Model::V;
    std::optional<BackupReason> reason;
};
// Read from the name of `path`; nothing when it is not a backup's name.
std::optional<BackupName> readBackupName(const QString &path);

} // namespace zw
