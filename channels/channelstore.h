#pragma once

#include "channelrecord.h"
#include "result.h"

#include <QObject>
#include <QString>

namespace zw
{

// The channel table of one model window, kept in its model database (a SQLite file with the
// table 信道表). Every change is written to the file at once; the store keeps a copy of the 16
// records. Another program (a second instance of this one) may change the same file: an edit
// writes only the fields it changes, and the copy is brought up to date before every write and
// whenever refresh() is called.
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
    // (not SQLite, damaged as SQLite reports it, no 信道表, other than 16 records) is never
    // changed: it is renamed to path + ".bak-" + a timestamp and a fresh database is created in
    // its place. A database another program keeps locked past the busy time-out is reported as
    // busy and left alone, as is one that cannot be read for any other reason. A new database
    // appears under `path` only once it holds its 16 records.
    Expected<Opened> open(const QString &path);
    void close();

    bool isOpen() const { return m_open; }
    bool isReadOnly() const { return m_readOnly; }
    QString path() const { return m_path; }

    const ChannelTable &records() const { return m_records; }
    const ChannelRecord &record(int row) const;

    // How long to wait for another program's lock on the file, per attempt (default 2 s).
    void setBusyTimeout(int milliseconds) { m_busyTimeoutMs = milliseconds; }

    // Each fails (and leaves file and copy as they were) when the write fails; the reason is
    // also kept in lastError(). setField and setRecord write only the fields that differ from
    // the copy, so another program's change to the other fields stays.
    Result setField(int row, int field, const QString &text);
    Result setRecord(int row, const ChannelRecord &record);
    Result setRecords(const ChannelTable &records); // all 16, every field, in one transaction

    // Reloads the copy when another program has changed the file since it was last read;
    // recordsChanged() then tells the rows. Returns whether anything was reloaded.
    bool refresh();

    // Why the last write failed.
    QString lastError() const { return m_lastError; }

signals:
    // Rows first..last now hold new values (also after a failed write re-read the file).
    void recordsChanged(int first, int last);

private:
    enum class OpenProblem { None, Unusable, Busy, Other };
    OpenProblem openExisting(const QString &path, bool writable, QString *why);
    Expected<bool> createDatabase(const QString &path);
    bool openConnection(const QString &path, bool readOnly);
    bool createTable();
    bool loadRecords(QString *why);
    qint64 dataVersion() const;
    // Writes the fields of `fields` (all when empty) of rows first..last from `next`.
    Result writeRows(const ChannelTable &next, int first, int last, const QList<int> &fields);
    void reloadAfterFailure();

    QString m_connection;
    QString m_path;
    bool m_open = false;
    bool m_readOnly = false;
    QString m_lastError;
    ChannelTable m_records;
    std::array<qint64, channelCount> m_rowIds{};
    qint64 m_dataVersion = -1;
    int m_lastSqliteCode = 0; // SQLite's result code of the last failed statement, 0 for none
    int m_busyTimeoutMs = 2000;
};

} // namespace zw
