#pragma once

#include "modelinfo.h"
#include "result.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

namespace zw
{

// How one radio of a fleet run ended, as its log row names it.
enum class FleetOutcome {
    Verified,   // written, and read back as written
    Differs,    // written, but the radio reads back otherwise (changedChannels: where)
    NotChecked, // written, but it could not be read back
    OtherModel, // a radio of another model: refused, nothing sent
    NotWritten, // nothing or not all of the channels reached it (switched off, unplugged, ...)
};

// "verified", "differs", "not-checked", "other-model", "not-written".
QString fleetOutcomeName(FleetOutcome outcome);
std::optional<FleetOutcome> fleetOutcomeFromName(const QString &name);

// One row of the log: one radio.
struct FleetRow {
    int radio = 0;              // counted from 1, on from the log's last row
    QDateTime time;             // when the radio was done, to the second
    std::optional<Model> model; // the radio's model, once it was identified
    FleetOutcome outcome = FleetOutcome::NotWritten;
    // What the write changed in the radio; with Differs the channels that differ.
    QList<int> changedChannels;
    QString backup; // the file its old contents were kept in, or empty

    bool operator==(const FleetRow &other) const;
};

// The log of a fleet run: a CSV file with the header `radio,time,model,outcome,changed_channels,
// backup` and one row per radio, appended and synced to the disk as soon as that radio is done,
// so the log is whole whenever the run ends. A run continues an existing log (the next day, say):
// its radios are numbered on from the log's last row.
class FleetLog final
{
public:
    static QString header();

    // Takes `path` as the log: a missing or empty file gets the header; an existing one must be
    // a fleet log (NotFleetLog otherwise, and it is left as it is).
    Result open(const QString &path);
    QString path() const { return m_path; }
    // The number of the last radio the log holds (0 for a new log).
    int lastRadio() const { return m_lastRadio; }

    // Appends `row` and returns once the disk has it.
    Result append(const FleetRow &row);

    // The rows of the log at `path`, for checking a log and for continuing one.
    static Expected<QList<FleetRow>> read(const QString &path);
    static QString rowText(const FleetRow &row);

private:
    QString m_path;
    int m_lastRadio = 0;
    bool m_needsLineBreak = false; // the file's last line has no line break yet
};

} // namespace zw
