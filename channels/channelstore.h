#pragma once

#include "channelrecord.h"
#include "result.h"

#include <QObject>
#include <QString>

namespace zw
{

// The channel table of one model window, kept in its model database (a SQLite file with the
// table 信道表). Every change is written to the file at once; the store keeps a copy of the 16
// records that always matches what the file holds.
class ChannelStore final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ChannelStore)

public:
    struct Opened {
        bool created = false;  // a new database with 16 empty records was made
        bool readOnly = false; // the file cannot be written; edits will be refused
        QString movedAsideTo;  // an unusable file was renamed to this before `created`
        QString whyMovedAside; // what was wrong with that file
    };

    explicit ChannelStore(QObject *parent = nullptr);
    ~ChannelStore() override;

    // Opens (or creates) the database at `path`. A file that is not a usable channel database
    // (not SQLite, no 信道表, other than 16 records) is never changed: it is renamed to
    // path + ".bak-" + a timestamp and a fresh database is created in its place.
    Expected<Opened> open(const QString &path);
    void close();

    bool isOpen() const { return m_open; }
    bool isReadOnly() const { return m_readOnly; }
    QString path() const { return m_path; }

    const ChannelTable &records() const { return m_records; }
    const ChannelRecord &record(int row) const;

    // Each fails (and leaves file and copy as they were) when the write fails; the reason is
    // also kept in lastError().
    Result setField(int row, int field, const QString &text);
    Result setRecord(int row, const ChannelRecord &record);
    Result setRecords(const ChannelTable &records); // all 16 in one transaction

    // Why the last write failed.
    QString lastError() const { return m_lastError; }

signals:
    // Rows first..last now hold new values (also after a failed write re-read the file).
    void recordsChanged(int first, int last);

private:
    bool openConnection(const QString &path, bool readOnly);
    bool createTable();
    bool loadRecords(QString *why);
    Result writeRows(const ChannelTable &next, int first, int last);
    void reloadAfterFailure();

    QString m_connection;
    QString m_path;
    bool m_open = false;
    bool m_readOnly = false;
    QString m_lastError;
    ChannelTable m_records;
    std::array<qint64, channelCount> m_rowIds{};
};

} // namespace zw
