#pragma once

#include "changeset.h"
#include "channelrecord.h"
#include "radiosettings.h"
#include "result.h"

#include <QDeadlineTimer>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

namespace zw
{

// The channel table of one model window and its two radio-wide settings, kept in its model
// database (a SQLite file with the tables 信道表 and 设置表) over one connection. Every change is
// written to the file at once; the store keeps a copy of the 16 records and the settings.
// Another program (a second instance of this one) may change the same file: an edit writes only
// the fields it changes, and the copy is brought up to date before every write and whenever
// refresh() is called.
class ChannelStore final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ChannelStore)

public:
    struct Opened {
        bool created = false;  // a new database with 16 empty records was made
        bool readOnly = false; // the file cannot be written; edits will be refused
        QString movedAsideTo;  // an unusable file was renamed to this before `created`
        Failure whyMovedAside; // what was wrong with that file
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
    // The squelch level and channel tone stored in 设置表; the defaults ("3", "中文") when the
    // file has no such table or row, and a stored value no list offers reads as its default.
    const RadioSettings &settings() const { return m_settings; }

    // How long to wait for another program's lock on the file, per attempt (default 2 s).
    void setBusyTimeout(int milliseconds) { m_busyTimeoutMs = milliseconds; }
    // Until `deadline` every wait for a lock is cut to what is left of it, so that a run of
    // statements (a re-read, the write, the re-read after a refusal) waits that long in all,
    // not the busy time-out each; past it a locked file is reported busy at once. Forever
    // (the default) leaves the busy time-out alone.
    void setWaitDeadline(QDeadlineTimer deadline) { m_waitDeadline = deadline; }

    // Writes the fields and settings of `change` in one transaction, after re-reading the file
    // under its write lock. With `checkBefore`, a field whose stored value is no longer the
    // change's "before" (another program changed it) refuses the whole change: nothing is
    // written, and the failure names those channels in `changedElsewhere`.
    Result apply(const ChangeSet &change, bool checkBefore);
    // All 16 records, every field, and the settings when given, in one transaction.
    Result replaceAll(const ChannelTable &records,
                      const std::optional<RadioSettings> &settings = std::nullopt);

    // Each fails (and leaves file and copy as they were) when the write fails: busy when
    // another program or window held the database locked longer than the wait. setField and
    // setRecord write only the fields that differ from the copy, so another program's change to the
    // other fields stays.
    Result setField(int row, int field, const QString &text);
    Result setRecord(int row, const ChannelRecord &record);
    Result setRecords(const ChannelTable &records) { return replaceAll(records); }

    // Reloads the copy when another program has changed the file since it was last read;
    // recordsChanged() then tells the rows. Returns whether anything was reloaded.
    bool refresh();

signals:
    // Rows first..last now hold new values (also after a failed write re-read the file).
    void recordsChanged(int first, int last);
    // The settings may hold new values.
    void settingsChanged();

private:
    enum class OpenProblem { None, Unusable, Busy, Other };
    OpenProblem openExisting(const QString &path, bool writable, Failure *why);
    Expected<bool> createDatabase(const QString &path);
    bool openConnection(const QString &path, bool readOnly);
    bool createTable();
    Result loadRecords();
    void loadSettings();
    qint64 dataVersion() const;
    // Runs `write` between BEGIN IMMEDIATE and COMMIT, after bringing the copy up to date;
    // a failure `write` returns rolls back.
    Result transact(const std::function<Result()> &write);
    // Write the changed fields, or the settings named in `which`, inside the transaction; the
    // copy takes the values once written.
    Result writeFields(const QList<FieldChange> &changes);
    Result writeSettings(const RadioSettings &settings, const QList<RadioSetting> &which);
    void reloadAfterFailure();
    // Sets SQLite's wait for a lock to the busy time-out, or to what is left before the wait
    // deadline when that is less.
    void limitWait() const;

    QString m_connection;
    QString m_path;
    bool m_open = false;
    bool m_readOnly = false;
    QString m_lastError;
    ChannelTable m_records;
    RadioSettings m_settings;
    bool m_hasSettingsRow = false; // 设置表 exists and holds its row
    bool m_reloaded = false;       // the running transaction found another program's changes
    std::array<qint64, channelCount> m_rowIds{};
    qint64 m_dataVersion = -1;
    int m_lastSqliteCode = 0; // SQLite's result code of the last failed statement, 0 for none
    int m_busyTimeoutMs = 2000;
    QDeadlineTimer m_waitDeadline{QDeadlineTimer::Forever};
    mutable int m_appliedWaitMs = -1; // the wait SQLite has now, -1 when not known
};

} // namespace zw
