#include "channelstore.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

namespace zw
{

namespace
{

const QString tableName = QStringLiteral("信道表");

int connectionSerial = 0;

bool hasSqliteHeader(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return file.read(16) == QByteArray("SQLite format 3\0", 16);
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
    Opened result;
    m_path = path;
    const bool exists = QFileInfo::exists(path);
    const bool writable = canWrite(path);

    if (exists) {
        QString why;
        if (!QFileInfo(path).isFile())
            why = tr("not a file");
        else if (!hasSqliteHeader(path))
            why = tr("not a SQLite database");
        else if (!openConnection(path, !writable))
            why = m_lastError;
        else if (!loadRecords(&why))
            close();
        if (why.isEmpty()) {
            m_open = true;
            m_readOnly = !writable;
            result.readOnly = m_readOnly;
            return result;
        }
        close();
        // Cannot move the file aside nor write a new one: refuse rather than touch it.
        if (!writable)
            return Failure{why};
        const QString aside = asideName(path);
        if (!QFile::rename(path, aside))
            return Failure{tr("cannot rename %1").arg(path)};
        result.movedAsideTo = aside;
        result.whyMovedAside = why;
    } else if (!writable) {
        return Failure{tr("cannot create %1").arg(path)};
    }

    if (!openConnection(path, false) || !createTable()) {
        close();
        return Failure{m_lastError};
    }
    QString why;
    if (!loadRecords(&why)) {
        close();
        return Failure{why};
    }
    m_open = true;
    result.created = true;
    return result;
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
    // Wait a little for another program's lock on the file, then report the edit as failed.
    db.setConnectOptions(readOnly
                             ? QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=1000")
                             : QStringLiteral("QSQLITE_BUSY_TIMEOUT=1000"));
    if (!db.open()) {
        m_lastError = db.lastError().text();
        return false;
    }
    return true;
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

bool ChannelStore::loadRecords(QString *why)
{
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    QStringList columns;
    for (const QString &name : fieldNames())
        columns << QLatin1Char('"') + name + QLatin1Char('"');
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT rowid, %1 FROM \"%2\" ORDER BY rowid")
                        .arg(columns.join(u','), tableName))) {
        *why = query.lastError().text();
        return false;
    }
    ChannelTable records;
    std::array<qint64, channelCount> rowIds{};
    int row = 0;
    while (query.next()) {
        if (row == channelCount) {
            *why = tr("more than %1 records").arg(channelCount);
            return false;
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
        *why = query.lastError().text();
        return false;
    }
    if (row != channelCount) {
        *why = tr("%1 records instead of %2").arg(row).arg(channelCount);
        return false;
    }
    m_records = records;
    m_rowIds = rowIds;
    return true;
}

Result ChannelStore::setField(int row, int field, const QString &text)
{
    if (row < 0 || row >= channelCount || field < 0 || field >= fieldCount)
        return Failure{tr("no field %1 of record %2").arg(field).arg(row)};
    ChannelTable next = m_records;
    next[static_cast<std::size_t>(row)][field] = text;
    return writeRows(next, row, row);
}

Result ChannelStore::setRecord(int row, const ChannelRecord &record)
{
    if (row < 0 || row >= channelCount)
        return Failure{tr("no record %1").arg(row)};
    ChannelTable next = m_records;
    next[static_cast<std::size_t>(row)] = record;
    return writeRows(next, row, row);
}

Result ChannelStore::setRecords(const ChannelTable &records)
{
    return writeRows(records, 0, channelCount - 1);
}

Result ChannelStore::writeRows(const ChannelTable &next, int first, int last)
{
    if (!m_open) {
        m_lastError = tr("the channel database is not open");
        return Failure{m_lastError};
    }
    if (m_readOnly) {
        m_lastError = tr("the channel database %1 is read-only").arg(m_path);
        return Failure{m_lastError};
    }
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    QStringList assignments;
    for (const QString &name : fieldNames())
        assignments << QLatin1Char('"') + name + QStringLiteral("\"=?");
    const QString sql =
        QStringLiteral("UPDATE \"%1\" SET %2 WHERE rowid=?").arg(tableName, assignments.join(u','));
    if (!db.transaction()) {
        m_lastError = db.lastError().text();
        reloadAfterFailure();
        return Failure{m_lastError};
    }
    QSqlQuery query(db);
    bool ok = query.prepare(sql);
    for (int row = first; ok && row <= last; ++row) {
        const ChannelRecord &record = next[static_cast<std::size_t>(row)];
        if (record == m_records[static_cast<std::size_t>(row)] && first != last)
            continue;
        for (int field = 0; field < fieldCount; ++field)
            query.addBindValue(record[field].isNull() ? QLatin1String("") : record[field]);
        query.addBindValue(m_rowIds[static_cast<std::size_t>(row)]);
        ok = query.exec() && query.numRowsAffected() == 1;
    }
    if (!ok || !db.commit()) {
        m_lastError =
            query.lastError().isValid() ? query.lastError().text() : db.lastError().text();
        if (m_lastError.trimmed().isEmpty())
            m_lastError = tr("the record was not found in %1").arg(m_path);
        db.rollback();
        reloadAfterFailure();
        return Failure{m_lastError};
    }
    for (int row = first; row <= last; ++row) {
        m_records[static_cast<std::size_t>(row)] = next[static_cast<std::size_t>(row)];
        for (QString &field : m_records[static_cast<std::size_t>(row)].fields)
            if (field.isNull())
                field = QLatin1String("");
    }
    emit recordsChanged(first, last);
    return {};
}

void ChannelStore::reloadAfterFailure()
{
    // Show what the file really holds; if it cannot be read any more, keep the last good copy.
    QString why;
    loadRecords(&why);
    emit recordsChanged(0, channelCount - 1);
}

} // namespace zw
