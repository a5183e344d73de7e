#include "settingstable.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace zw
{

namespace
{

const QString tableName = QStringLiteral("设置表");
const QString squelchColumn = QStringLiteral("静噪级别");
const QString toneColumn = QStringLiteral("信道音");

int connectionSerial = 0;

// A connection of its own for the time of one read or write, beside the channel store's.
class Connection
{
public:
    Connection(const QString &path, bool readOnly)
        : m_name(QStringLiteral("settingstable-%1").arg(++connectionSerial))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(path);
        db.setConnectOptions(readOnly
                                 ? QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=1000")
                                 : QStringLiteral("QSQLITE_BUSY_TIMEOUT=1000"));
        m_open = db.open();
        if (!m_open)
            m_error = db.lastError().text();
    }
    ~Connection()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_name);
    }
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    bool isOpen() const { return m_open; }
    QString error() const { return m_error; }
    QSqlDatabase database() const { return QSqlDatabase::database(m_name, false); }

private:
    QString m_name;
    bool m_open = false;
    QString m_error;
};

} // namespace

std::optional<RadioSettings> readRadioSettings(const QString &databasePath)
{
    // Opening a missing file would create it: a window without its database has nothing stored.
    if (!QFileInfo(databasePath).isFile())
        return std::nullopt;
    Connection connection(databasePath, true);
    if (!connection.isOpen() || !connection.database().tables().contains(tableName))
        return std::nullopt;
    QSqlQuery query(connection.database());
    if (!query.exec(QStringLiteral("SELECT \"%1\", \"%2\" FROM \"%3\" LIMIT 1")
                        .arg(squelchColumn, toneColumn, tableName)) ||
        !query.next())
        return std::nullopt;
    RadioSettings settings;
    const QString squelch = query.value(0).toString();
    const QString tone = query.value(1).toString();
    if (isSquelchLevel(squelch))
        settings.squelchLevel = squelch;
    if (isChannelTone(tone))
        settings.channelTone = tone;
    return settings;
}

bool writeRadioSettings(const QString &databasePath, const RadioSettings &settings, QString *error)
{
    auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    if (!QFileInfo(databasePath).isFile())
        return fail(QStringLiteral("%1 does not exist").arg(databasePath));
    Connection connection(databasePath, false);
    if (!connection.isOpen())
        return fail(connection.error());
    QSqlDatabase db = connection.database();
    if (!db.transaction())
        return fail(db.lastError().text());
    QSqlQuery query(db);
    bool ok = query.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS \"%1\" (\"%2\" TEXT NOT NULL "
                                        "DEFAULT '', \"%3\" TEXT NOT NULL DEFAULT '')")
                             .arg(tableName, squelchColumn, toneColumn)) &&
              query.exec(QStringLiteral("DELETE FROM \"%1\"").arg(tableName)) &&
              query.prepare(QStringLiteral("INSERT INTO \"%1\" (\"%2\", \"%3\") VALUES (?, ?)")
                                .arg(tableName, squelchColumn, toneColumn));
    if (ok) {
        query.addBindValue(settings.squelchLevel);
        query.addBindValue(settings.channelTone);
        ok = query.exec();
    }
    if (!ok || !db.commit()) {
        const QString why =
            query.lastError().isValid() ? query.lastError().text() : db.lastError().text();
        db.rollback();
        return fail(why);
    }
    return true;
}

} // namespace zw
