#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

#include <optional>
#include <utility>
#include <variant>

namespace zw
{

// The one way the libraries report how an operation went: success (with its value, for an
// Expected), or the reason it failed. The window or the command line decides how to show it.

// What another program changed in the model database since this one last saw it, when that is
// why a change was refused: the channels (1..16) and whether the radio-wide settings.
struct ChangedElsewhere {
    QList<int> channels;
    bool settings = false;
};

// What went wrong with the model database, for the front ends to word.
enum class StoreFailure {
    Refused,          // SQLite refused for another reason (its own text in `why`)
    Busy,             // another program or window held the database locked longer than the wait
    NotOpen,          // no database is open
    ReadOnly,         // the database file (`path`) cannot be written
    CannotCreate,     // no database can be made at `path`
    CannotRename,     // the unusable file at `path` cannot be set aside
    NotAFile,         // `path` names a folder or a device
    Unreadable,       // `path` cannot be read
    NotADatabase,     // `path` holds no SQLite database
    RecordCount,      // 信道表 holds `number` records instead of 16 (17: more than 16)
    NoSuchChannel,    // there is no channel `number` (or no such field of it)
    RecordMissing,    // a channel's record vanished from the file (`path`) during the write
    ChangedElsewhere, // another program changed what the change was made against
};

// What went wrong with a file the program reads or writes.
enum class FileFailure {
    SystemRefused,    // the system refused to open, read or write it (its text in `why`)
    NotRegular,       // `path` is a FIFO, a device or a folder
    TooLarge,         // `path` holds more than `number` bytes
    WriteFailed,      // the new content of `path` could not be written whole; the old file is kept
    SyncFailed,       // the disk did not confirm the new content of `path`; the old file is kept
    FolderSyncFailed, // `path` holds the new content, but the disk did not confirm its folder:
                      // after a power loss the old file may be back
    // What a channel file holds, or what cannot be put into one:
    NoConverter,      // this system has no GB2312 converter
    NotGb2312Text,    // the bytes are not GB2312 text
    NotWritable,      // a value cannot be written in GB2312
    QuoteInValue,     // the value (`value`) needs quotes and holds a double quote
    Truncated,        // the file ends after `number` of the values a channel file holds
    ChannelToneBad,   // the channel tone (`value`) is not an entry of its list
    SquelchLevelBad,  // the squelch level (`value`) is not an entry of its list
    NoBackupFolder,   // there is no folder for backups (no home folder)
    CannotMakeFolder, // the folder `path` cannot be created
    NotFleetLog,      // `path` holds something other than a fleet log: its first line is not
                      // the log's header, or a row is not one of its rows (line `number`)
};

// What went wrong with a CHIRP CSV list as a whole (a row's own problem is a CsvReason).
enum class CsvFailure {
    NoHeader,          // the file holds no CSV header
    NoChannelColumns,  // the header has no Location and Frequency columns
    FrequencyTooLarge, // channel `number` holds `value` MHz, too large for a CSV frequency
};

// Why an operation failed; converts to a failed Result or Expected of any type. A failure of a
// kind of its own carries that kind, and `why` only the underlying library's text, if any;
// otherwise `why` says what went wrong.
struct Failure {
    QString why;
    std::optional<ChangedElsewhere> changedElsewhere = std::nullopt;
    std::variant<std::monostate, StoreFailure, FileFailure, CsvFailure> kind = std::monostate{};
    QString path = {}; // the file or device the failure is about
    int number = 0;
    QString value = {}; // the value the failure is about, as the file holds it

    template <typename Kind> bool is(Kind which) const
    {
        const Kind *own = std::get_if<Kind>(&kind);
        return own && *own == which;
    }
};

class [[nodiscard]] Result
{
public:
    Result() = default; // success
    Result(Failure failure) : m_failed(true), m_failure(std::move(failure)) {}

    bool ok() const { return !m_failed; }
    explicit operator bool() const { return ok(); }
    // Why it failed; empty on success.
    const QString &error() const { return m_failure.why; }
    const Failure &failure() const { return m_failure; }

private:
    bool m_failed = false;
    Failure m_failure;
};

template <typename T> class [[nodiscard]] Expected
{
public:
    Expected(T value) : m_value(std::move(value)) {}
    Expected(Failure failure) : m_failure(std::move(failure)) {}

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }
    // The value. Asked of a failure, it stops the program with the failure's reason, in every
    // build: going on without the value would only fail later, further from the cause.
    const T &value() const
    {
        if (!m_value)
            valueOfFailure();
        return *m_value;
    }
    T &value()
    {
        if (!m_value)
            valueOfFailure();
        return *m_value;
    }
    const T &operator*() const { return value(); }
    const T *operator->() const { return &value(); }
    // Why it failed; empty on success.
    const QString &error() const { return m_failure.why; }
    const Failure &failure() const { return m_failure; }

private:
    [[noreturn]] void valueOfFailure() const
    {
        qFatal("value() of a failed operation: %s", qUtf8Printable(m_failure.why));
    }

    std::optional<T> m_value;
    Failure m_failure;
};

} // namespace zw
