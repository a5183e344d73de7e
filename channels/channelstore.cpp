#include "channelstore.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

#include <algorithm>

#include <algorithm>
#include <optional>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <unistd.h>
#endif

namespace zw
{

namespace
{

const QString tableName = QStringLiteral("信道表");
const QString settingsTableName = QStringLiteral("设置表");
const QString squelchColumn = QStringLiteral("静噪级别");
const QString toneColumn = QStringLiteral("信道音");

int connectionSerial = 0;

// Whether the file starts as every SQLite database does; nothing when it cannot be read.
std::optional<bool> hasSqliteHeader(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.read(16) == QByteArray("SQLite format 3\0", 16);
}

// SQLite's primary result code behind a Qt SQL error, or -1.
int sqliteCode(const QSqlError &error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok ? (code & 0xff) : -1;
}

constexpr int sqliteError = 1;    // SQLITE_ERROR: here, no such table or column
constexpr int sqliteBusy = 5;     // SQLITE_BUSY
constexpr int sqliteLocked = 6;   // SQLITE_LOCKED
constexpr int sqliteCorrupt = 11; // SQLITE_CORRUPT
constexpr int sqliteNotADb = 26;  // SQLITE_NOTADB

// A statement refused because another connection holds the file: busy, else refused.
StoreFailure storeFailureOf(int code)
{
    return code == sqliteBusy || code == sqliteLocked ? StoreFailure::Busy : StoreFailure::Refused;
}

// A file or folder counts as writable only when the process may write it and its owner's write
// permission is set: a file marked read-only stays untouched even for a user (such as root) whom
// the system would let write it.
bool writable(const QFileInfo &info)
{
    return info.isWritable() && (info.permissions() & QFileDevice::WriteOwner);
}

bool canWrite(const QString &path)
{
    const QFileInfo info(path);
    const QFileInfo folder(info.absolutePath());
    // SQLite writes a journal beside the database, so the folder must take new files too.
    return writable(folder) && (!info.exists() || writable(info));
}

// Gives the file `from` the name `to` unless `to` is taken; never replaces nor truncates a file
// under `to`. QFile::rename() is no help here: when its rename is refused it falls back to
// copying into the target, which would cut short another program's new database.
bool nameWithoutReplacing(const QString &from, const QString &to)
{
#ifdef Q_OS_UNIX
    if (::link(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0) {
        QFile::remove(from);
        return true;
    }
    if (errno == EEXIST)
        return false;
        // A file system without hard links: a plain rename when the name is free.
#endif
    return !QFileInfo::exists(to) && QFile::rename(from, to);
}

QString asideName(const QString &path)
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString name = path + QStringLiteral(".bak-") + stamp;
    for (int n = 2; QFileInfo::exists(name); ++n)
        name = path + QStringLiteral(".bak-") + stamp + QLatin1Char('-') + QString::number(n);
    return name;
}

} // namespace

const std::array<QString, fieldCount> &fieldNames()
{
    static const std::array<QString, fieldCount> names{
        QStringLiteral("信道号"), QStringLiteral("接收频率"), QStringLiteral("收哑音"),
        QStringLiteral("备用3"),  QStringLiteral("发送频率"), QStringLiteral("发哑音"),
        QStringLiteral("备用6"),  QStringLiteral("扫描"),     QStringLiteral("BCL"),
        QStringLiteral("拍频"),   QStringLiteral("功率"),
    };
    return names;
}

ChannelStore::ChannelStore(QObject *parent)
    : QObject(parent), m_connection(QStringLiteral("channelstore-%1").arg(++connectionSerial))
{
}

ChannelStore::~ChannelStore()
{
    close();
}

const ChannelRecord &ChannelStore::record(int row) const
{
    return m_records.at(static_cast<std::size_t>(row));
}

Expected<ChannelStore::Opened> ChannelStore::open(const QString &path)
{
    close();
    m_path = path;
    Opened result;
    // Another program's lock outlasting the busy time-out is waited for twice more.
    int busyAttempts = 3;
    while (true) {
        const bool writable = canWrite(path);
        if (!QFileInfo::exists(path)) {
            if (!writable)
                return Failure{QString(), std::nullopt, StoreFailure::CannotCreate, path, 0};
            const Expected<bool> made = createDatabase(path);
            if (!made)
                return made.failure();
            // False: another program created it first; that one is opened.
            result.created = *made;
        }
        Failure why;
        const OpenProblem problem = openExisting(path, writable, &why);
        if (problem == OpenProblem::None) {
            m_open = true;
            m_readOnly = !writable;
            result.readOnly = m_readOnly;
            return result;
        }
        close();
        if (problem == OpenProblem::Busy) {
            if (--busyAttempts > 0)
                continue;
            return Failure{why.why, std::nullopt, StoreFailure::Busy, path};
        }
        // Cannot move the file aside nor write a new one: refuse rather than touch it. A file
        // made just now that cannot be used is not set aside again and again.
        if (problem == OpenProblem::Other || !writable || result.created ||
            !result.movedAsideTo.isEmpty())
            return Failure{why};
        const QString aside = asideName(path);
        if (!QFile::rename(path, aside))
            return Failure{QString(), std::nullopt, StoreFailure::CannotRename, path, 0};
        result.movedAsideTo = aside;
        result.whyMovedAside = why;
    }
}

ChannelStore::OpenProblem ChannelStore::openExisting(const QString &path, bool writable,
                                                     Failure *why)
{
    auto problemOf = [](int code) {
        if (code == sqliteBusy || code == sqliteLocked)
            return OpenProblem::Busy;
        if (code == 0 || code == sqliteError || code == sqliteCorrupt || code == sqliteNotADb)
            return OpenProblem::Unusable;
        return OpenProblem::Other;
    };
    if (!QFileInfo(path).isFile()) {
        *why = Failure{QString(), std::nullopt, StoreFailure::NotAFile, path, 0};
        return OpenProblem::Unusable;
    }
    const std::optional<bool> sqlite = hasSqliteHeader(path);
    if (!sqlite) {
        *why = Failure{QString(), std::nullopt, StoreFailure::Unreadable, path, 0};
        return OpenProblem::Other;
    }
    if (!*sqlite) {
        *why = Failure{QString(), std::nullopt, StoreFailure::NotADatabase, path, 0};
        return OpenProblem::Unusable;
    }
    if (!openConnection(path, !writable)) {
        *why = Failure{m_lastError, std::nullopt, storeFailureOf(m_lastSqliteCode), path};
        return problemOf(m_lastSqliteCode) == OpenProblem::Busy ? OpenProblem::Busy
                                                                : OpenProblem::Other;
    }
    if (const Result loaded = loadRecords(); !loaded) {
        *why = loaded.failure();
        return problemOf(m_lastSqliteCode);
    }
    loadSettings();
    m_dataVersion = dataVersion();
    return OpenProblem::None;
}

Expected<bool> ChannelStore::createDatabase(const QString &path)
{
    // Made under a name of its own beside `path` and renamed once it holds its 16 records: no
    // other program ever sees it half made, and a failure (a full disk) leaves no file that the
    // next start would take for a damaged database.
    static int serial = 0;
    const QString temporary = QStringLiteral("%1.new-%2-%3")
                                  .arg(path)
                                  .arg(QCoreApplication::applicationPid())
                                  .arg(++serial);
    QFile::remove(temporary);
    const bool made = openConnection(temporary, false) && createTable();
    close();
    if (!made) {
        QFile::remove(temporary);
        QFile::remove(temporary + QStringLiteral("-journal"));
        return Failure{m_lastError, std::nullopt, storeFailureOf(m_lastSqliteCode), path};
    }
    // The rename never replaces a file: one that another program made meanwhile is kept.
    if (!nameWithoutReplacing(temporary, path)) {
        QFile::remove(temporary);
        if (QFileInfo::exists(path))
            return false;
        return Failure{QString(), std::nullopt, StoreFailure::CannotCreate, path, 0};
    }
    return true;
}

void ChannelStore::close()
{
    m_open = false;
    m_readOnly = false;
    if (QSqlDatabase::contains(m_connection)) {
        {
            QSqlDatabase db = QSqlDatabase::database(m_connection, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_connection);
    }
}

bool ChannelStore::openConnection(const QString &path, bool readOnly)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    db.setDatabaseName(path);
    // Wait a while for another program's lock on the file (another instance writing), then
    // report the open or the edit as failed.
    const QString busy = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(m_busyTimeoutMs);
    db.setConnectOptions(readOnly ? QStringLiteral("QSQLITE_OPEN_READONLY;") + busy : busy);
    if (!db.open()) {
        m_lastError = db.lastError().text();
        m_lastSqliteCode = sqliteCode(db.lastError());
        return false;
    }
    m_appliedWaitMs = m_busyTimeoutMs;
    return true;
}

void ChannelStore::limitWait() const
{
    qint64 wait = m_busyTimeoutMs;
    if (!m_waitDeadline.isForever())
        wait = std::clamp<qint64>(m_waitDeadline.remainingTime(), 0, m_busyTimeoutMs);
    if (wait == m_appliedWaitMs || !QSqlDatabase::contains(m_connection))
        return;
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    if (query.exec(QStringLiteral("PRAGMA busy_timeout = %1").arg(wait)))
        m_appliedWaitMs = int(wait);
}

bool ChannelStore::createTable()
{
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    QStringList columns;
    for (const QString &name : fieldNames())
        columns << QLatin1Char('"') + name + QLatin1Char('"') +
                       QStringLiteral(" TEXT NOT NULL DEFAULT ''");
    columns[0] += QStringLiteral(" PRIMARY KEY");
    if (!db.transaction()) {
        m_lastError = db.lastError().text();
        return false;
    }
    QSqlQuery query(db);
    bool ok =
        query.exec(QStringLiteral("CREATE TABLE \"%1\" (%2)").arg(tableName, columns.join(u',')));
    for (int channel = 1; ok && channel <= channelCount; ++channel) {
        ok = query.prepare(QStringLiteral("INSERT INTO \"%1\" (\"%2\") VALUES (?)")
                               .arg(tableName, fieldNames()[0]));
        query.addBindValue(QString::number(channel));
        ok = ok && query.exec();
    }
    if (!ok || !db.commit()) {
        m_lastError =
            query.lastError().isValid() ? query.lastError().text() : db.lastError().text();
        db.rollback();
        return false;
    }
    return true;
}

Result ChannelStore::loadRecords()
{
    limitWait();
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    QStringList columns;
    for (const QString &name : fieldNames())
        columns << QLatin1Char('"') + name + QLatin1Char('"');
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT rowid, %1 FROM \"%2\" ORDER BY rowid")
                        .arg(columns.join(u','), tableName))) {
        m_lastSqliteCode = sqliteCode(query.lastError());
        return Failure{query.lastError().text(), std::nullopt, storeFailureOf(m_lastSqliteCode),
                       m_path};
    }
    ChannelTable records;
    std::array<qint64, channelCount> rowIds{};
    int row = 0;
    while (query.next()) {
        if (row == channelCount) {
            m_lastSqliteCode = 0;
            return Failure{QString(), std::nullopt, StoreFailure::RecordCount, m_path,
                           channelCount + 1};
        }
        rowIds[static_cast<std::size_t>(row)] = query.value(0).toLongLong();
        for (int field = 0; field < fieldCount; ++field) {
            // A NULL from a database made elsewhere is kept as empty text, the way every rule
            // of the program treats a missing value.
            const QVariant value = query.value(field + 1);
            records[static_cast<std::size_t>(row)][field] =
                value.isNull() ? QLatin1String("") : value.toString();
        }
        ++row;
    }
    if (query.lastError().isValid()) {
        m_lastSqliteCode = sqliteCode(query.lastError());
        return Failure{query.lastError().text(), std::nullopt, storeFailureOf(m_lastSqliteCode),
                       m_path};
    }
    if (row != channelCount) {
        m_lastSqliteCode = 0;
        return Failure{QString(), std::nullopt, StoreFailure::RecordCount, m_path, row};
    }
    m_records = records;
    m_rowIds = rowIds;
    return {};
}

qint64 ChannelStore::dataVersion() const
{
    limitWait();
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    if (!query.exec(QStringLiteral("PRAGMA data_version")) || !query.next())
        return -1;
    return query.value(0).toLongLong();
}

bool ChannelStore::refresh()
{
    if (!m_open)
        return false;
    const qint64 version = dataVersion();
    if (version < 0 || version == m_dataVersion)
        return false;
    if (!loadRecords())
        return false; // keep the last good copy; the next write reports the trouble
    loadSettings();
    m_dataVersion = version;
    emit recordsChanged(0, channelCount - 1);
    emit settingsChanged();
    return true;
}

void ChannelStore::loadSettings()
{
    // A database from before the settings were kept has no 设置表: the defaults, and the first
    // change creates the table.
    m_settings = RadioSettings{};
    m_hasSettingsRow = false;
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    if (!query.exec(QStringLiteral("SELECT \"%1\", \"%2\" FROM \"%3\" LIMIT 1")
                        .arg(squelchColumn, toneColumn, settingsTableName)) ||
        !query.next())
        return;
    m_hasSettingsRow = true;
    const QString squelch = query.value(0).toString();
    const QString tone = query.value(1).toString();
    if (isSquelchLevel(squelch))
        m_settings.squelchLevel = squelch;
    if (isChannelTone(tone))
        m_settings.channelTone = tone;
}

Result ChannelStore::setField(int row, int field, const QString &text)
{
    if (row < 0 || row >= channelCount || field < 0 || field >= fieldCount)
        return Failure{QString(), std::nullopt, StoreFailure::NoSuchChannel, m_path, row + 1};
    ChangeSet change;
    change.fields.append({row, field, record(row)[field], text});
    return apply(change, false);
}

Result ChannelStore::setRecord(int row, const ChannelRecord &record)
{
    if (row < 0 || row >= channelCount)
        return Failure{QString(), std::nullopt, StoreFailure::NoSuchChannel, m_path, row + 1};
    // Only what this edit changes: the record may hold another program's newer values in the
    // fields this copy has not seen yet.
    ChannelTable next = m_records;
    next[static_cast<std::size_t>(row)] = record;
    const ChangeSet change = changesBetween(m_records, next);
    if (change.isEmpty()) {
        refresh();
        return {};
    }
    return apply(change, false);
}

Result ChannelStore::apply(const ChangeSet &change, bool checkBefore)
{
    for (const FieldChange &field : change.fields)
        if (field.row < 0 || field.row >= channelCount || field.field < 0 ||
            field.field >= fieldCount)
            return Failure{QString(), std::nullopt, StoreFailure::NoSuchChannel, m_path,
                           field.row + 1};
    return transact([&]() -> Result {
        if (checkBefore) {
            // Compared with what the file holds now: a field another program changed since
            // the change was made is not overwritten.
            ChangedElsewhere elsewhere;
            for (const FieldChange &field : change.fields) {
                const QString &stored = record(field.row)[field.field];
                if (stored != field.before && !elsewhere.channels.contains(field.row + 1))
                    elsewhere.channels.append(field.row + 1);
            }
            std::sort(elsewhere.channels.begin(), elsewhere.channels.end());
            for (const SettingChange &setting : change.settings) {
                const QString &stored = setting.setting == RadioSetting::SquelchLevel
                                            ? m_settings.squelchLevel
                                            : m_settings.channelTone;
                if (stored != setting.before)
                    elsewhere.settings = true;
            }
            if (!elsewhere.channels.isEmpty() || elsewhere.settings)
                return Failure{QString(), elsewhere, StoreFailure::ChangedElsewhere, m_path};
        }
        if (const Result written = writeFields(change.fields); !written)
            return written;
        if (change.settings.isEmpty())
            return {};
        RadioSettings next = m_settings;
        QList<RadioSetting> which;
        for (const SettingChange &setting : change.settings) {
            (setting.setting == RadioSetting::SquelchLevel ? next.squelchLevel : next.channelTone) =
                setting.after;
            which.append(setting.setting);
        }
        return writeSettings(next, which);
    });
}

Result ChannelStore::replaceAll(const ChannelTable &records,
                                const std::optional<RadioSettings> &settings)
{
    return transact([&]() -> Result {
        QList<FieldChange> all;
        for (int row = 0; row < channelCount; ++row)
            for (int field = 0; field < fieldCount; ++field)
                all.append({row, field, {}, records[static_cast<std::size_t>(row)][field]});
        Result written = writeFields(all);
        if (written && settings)
            written =
                writeSettings(*settings, {RadioSetting::SquelchLevel, RadioSetting::ChannelTone});
        return written;
    });
}

Result ChannelStore::transact(const std::function<Result()> &write)
{
    if (!m_open) {
        return Failure{QString(), std::nullopt, StoreFailure::NotOpen, m_path, 0};
    }
    if (m_readOnly) {
        return Failure{QString(), std::nullopt, StoreFailure::ReadOnly, m_path, 0};
    }
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    QSqlQuery control(db);
    // The write lock first: between the re-read below and the commit no other program writes.
    m_lastSqliteCode = 0;
    limitWait();
    if (!control.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        m_lastError = control.lastError().text();
        const int code = sqliteCode(control.lastError());
        reloadAfterFailure();
        return Failure{m_lastError, std::nullopt, storeFailureOf(code), m_path};
    }
    m_reloaded = false;
    const qint64 version = dataVersion();
    if (version != m_dataVersion) {
        m_reloaded = loadRecords().ok();
        loadSettings();
        m_dataVersion = version;
    }
    const ChannelTable before = m_records;
    const RadioSettings settingsBefore = m_settings;
    const Result wrote = write();
    Failure failure = wrote.failure();
    bool written = wrote.ok();
    if (written)
        limitWait(); // the commit waits for other programs' readers to finish
    if (written && !control.exec(QStringLiteral("COMMIT"))) {
        failure = Failure{control.lastError().text(), std::nullopt,
                          storeFailureOf(sqliteCode(control.lastError()))};
        written = false;
    }
    if (!written) {
        failure.path = m_path;
        control.exec(QStringLiteral("ROLLBACK"));
        if (failure.changedElsewhere) {
            // Nothing was written; the copy now shows what the other program stored.
            if (m_reloaded) {
                emit recordsChanged(0, channelCount - 1);
                emit settingsChanged();
            }
        } else {
            reloadAfterFailure();
        }
        return failure;
    }
    if (m_reloaded) {
        emit recordsChanged(0, channelCount - 1);
        emit settingsChanged();
        return {};
    }
    int first = channelCount;
    int last = -1;
    for (int row = 0; row < channelCount; ++row) {
        if (m_records[static_cast<std::size_t>(row)] != before[static_cast<std::size_t>(row)]) {
            first = std::min(first, row);
            last = row;
        }
    }
    if (last >= 0)
        emit recordsChanged(first, last);
    if (m_settings != settingsBefore)
        emit settingsChanged();
    return {};
}

Result ChannelStore::writeFields(const QList<FieldChange> &changes)
{
    // One UPDATE per channel, of that channel's changed fields only.
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    QHash<QString, QSqlQuery> prepared;
    for (int row = 0; row < channelCount; ++row) {
        QStringList assignments;
        QList<const FieldChange *> ofRow;
        for (const FieldChange &change : changes) {
            if (change.row != row)
                continue;
            assignments << QLatin1Char('"') + fieldNames()[static_cast<std::size_t>(change.field)] +
                               QStringLiteral("\"=?");
            ofRow.append(&change);
        }
        if (ofRow.isEmpty())
            continue;
        // Channels that change the same fields share one statement: a read or a load changes
        // every field of all sixteen, and preparing a statement costs more than running it.
        const QString statement = QStringLiteral("UPDATE \"%1\" SET %2 WHERE rowid=?")
                                      .arg(tableName, assignments.join(u','));
        auto found = prepared.find(statement);
        bool ok = true;
        if (found == prepared.end()) {
            QSqlQuery query(db);
            ok = query.prepare(statement);
            found = prepared.insert(statement, query);
        }
        QSqlQuery &query = *found;
        int position = 0;
        for (const FieldChange *change : ofRow)
            query.bindValue(position++, change->after.isNull() ? QLatin1String("") : change->after);
        query.bindValue(position, m_rowIds[static_cast<std::size_t>(row)]);
        if (!ok || !query.exec()) {
            const QSqlError error = query.lastError();
            return Failure{error.text(), std::nullopt, storeFailureOf(sqliteCode(error))};
        }
        // The channel's record vanished from the file since it was read.
        if (query.numRowsAffected() != 1)
            return Failure{QString(), std::nullopt, StoreFailure::RecordMissing};
    }
    // The copy takes the values only now; a rollback re-reads the file anyway.
    for (const FieldChange &change : changes)
        m_records[static_cast<std::size_t>(change.row)][change.field] =
            change.after.isNull() ? QLatin1String("") : change.after;
    return {};
}

Result ChannelStore::writeSettings(const RadioSettings &settings, const QList<RadioSetting> &which)
{
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    auto value = [&](RadioSetting setting) {
        return setting == RadioSetting::SquelchLevel ? settings.squelchLevel : settings.channelTone;
    };
    bool ok = true;
    if (m_hasSettingsRow) {
        // Only the settings this change sets: another program's choice of the other stays.
        QStringList assignments;
        for (RadioSetting setting : which)
            assignments << QLatin1Char('"') +
                               (setting == RadioSetting::SquelchLevel ? squelchColumn
                                                                      : toneColumn) +
                               QStringLiteral("\"=?");
        ok = query.prepare(
            QStringLiteral("UPDATE \"%1\" SET %2").arg(settingsTableName, assignments.join(u',')));
        for (RadioSetting setting : which)
            query.addBindValue(value(setting));
        ok = ok && query.exec();
    } else {
        ok = query.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS \"%1\" (\"%2\" TEXT NOT NULL "
                                       "DEFAULT '', \"%3\" TEXT NOT NULL DEFAULT '')")
                            .arg(settingsTableName, squelchColumn, toneColumn)) &&
             query.exec(QStringLiteral("DELETE FROM \"%1\"").arg(settingsTableName)) &&
             query.prepare(QStringLiteral("INSERT INTO \"%1\" (\"%2\", \"%3\") VALUES (?, ?)")
                               .arg(settingsTableName, squelchColumn, toneColumn));
        if (ok) {
            query.addBindValue(settings.squelchLevel);
            query.addBindValue(settings.channelTone);
            ok = query.exec();
        }
    }
    if (!ok) {
        const QSqlError error = query.lastError();
        return Failure{error.text(), std::nullopt, storeFailureOf(sqliteCode(error))};
    }
    for (RadioSetting setting : which)
        (setting == RadioSetting::SquelchLevel ? m_settings.squelchLevel : m_settings.channelTone) =
            value(setting);
    m_hasSettingsRow = true;
    return {};
}

void ChannelStore::reloadAfterFailure()
{
    // Show what the file really holds; if it cannot be read any more, keep the last good copy.
    if (loadRecords()) {
        loadSettings();
        m_dataVersion = dataVersion();
    }
    emit recordsChanged(0, channelCount - 1);
    emit settingsChanged();
}

} // namespace zw
