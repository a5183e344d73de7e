#include "fleetlog.h"

#include "csvtext.h"
#include "savefile.h"

#include <QFileInfo>
#include <QStringDecoder>

#include <array>

namespace zw
{

namespace
{

// A log grows by about a hundred bytes a radio: this is far more radios than any run programs.
constexpr qint64 maxLogSize = 64 * 1024 * 1024;
constexpr int columnCount = 6;

constexpr std::array outcomeNames = {
    std::pair{FleetOutcome::Verified, "verified"},
    std::pair{FleetOutcome::Differs, "differs"},
    std::pair{FleetOutcome::NotChecked, "not-checked"},
    std::pair{FleetOutcome::OtherModel, "other-model"},
    std::pair{FleetOutcome::NotWritten, "not-written"},
};

Failure notFleetLog(const QString &path, int line)
{
    return Failure{QString(), std::nullopt, FileFailure::NotFleetLog, path, line};
}

// One row of the log's text, or nothing when the fields are not a row of it.
std::optional<FleetRow> rowFromFields(const QStringList &fields)
{
    if (fields.size() != columnCount)
        return std::nullopt;
    FleetRow row;
    bool ok = false;
    row.radio = fields.at(0).toInt(&ok);
    if (!ok || row.radio < 1)
        return std::nullopt;
    row.time = QDateTime::fromString(fields.at(1), Qt::ISODate);
    if (!row.time.isValid())
        return std::nullopt;
    if (!fields.at(2).isEmpty()) {
        row.model = modelFromName(fields.at(2));
        if (!row.model)
            return std::nullopt;
    }
    const std::optional<FleetOutcome> outcome = fleetOutcomeFromName(fields.at(3));
    if (!outcome)
        return std::nullopt;
    row.outcome = *outcome;
    for (const QString &channel : fields.at(4).split(u' ', Qt::SkipEmptyParts)) {
        const int number = channel.toInt(&ok);
        if (!ok || number < 1 || number > 16)
            return std::nullopt;
        row.changedChannels << number;
    }
    row.backup = fields.at(5);
    return row;
}

} // namespace

QString fleetOutcomeName(FleetOutcome outcome)
{
    for (const auto &[value, name] : outcomeNames) {
        if (value == outcome)
            return QLatin1String(name);
    }
    return QString();
}

std::optional<FleetOutcome> fleetOutcomeFromName(const QString &name)
{
    for (const auto &[value, text] : outcomeNames) {
        if (name == QLatin1String(text))
            return value;
    }
    return std::nullopt;
}

bool FleetRow::operator==(const FleetRow &other) const
{
    return radio == other.radio && time == other.time && model == other.model &&
           outcome == other.outcome && changedChannels == other.changedChannels &&
           backup == other.backup;
}

QString FleetLog::header()
{
    return QStringLiteral("radio,time,model,outcome,changed_channels,backup");
}

QString FleetLog::rowText(const FleetRow &row)
{
    QStringList channels;
    for (int channel : row.changedChannels)
        channels << QString::number(channel);
    const QStringList fields = {
        QString::number(row.radio),
        row.time.toString(Qt::ISODate),
        row.model ? modelInfo(*row.model).name : QString(),
        fleetOutcomeName(row.outcome),
        channels.join(u' '),
        csvField(row.backup),
    };
    return fields.join(u',');
}

Expected<QList<FleetRow>> FleetLog::read(const QString &path)
{
    const Expected<QByteArray> bytes = readRegularFile(path, maxLogSize);
    if (!bytes)
        return bytes.failure();
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(*bytes);
    if (utf8.hasError())
        return notFleetLog(path, 1);
    const QList<std::pair<int, QStringList>> rows = parseCsv(text);
    QList<FleetRow> log;
    for (const auto &[line, fields] : rows) {
        if (line == rows.constFirst().first) {
            if (fields.join(u',') != header())
                return notFleetLog(path, line);
            continue;
        }
        const std::optional<FleetRow> row = rowFromFields(fields);
        if (!row)
            return notFleetLog(path, line);
        log << *row;
    }
    return log;
}

Result FleetLog::open(const QString &path)
{
    m_path.clear();
    m_lastRadio = 0;
    m_needsLineBreak = false;
    const QFileInfo file(path);
    if (file.exists() || file.isSymLink()) {
        const Expected<QList<FleetRow>> rows = read(path);
        if (!rows)
            return rows.failure();
        for (const FleetRow &row : *rows)
            m_lastRadio = std::max(m_lastRadio, row.radio);
        const Expected<QByteArray> bytes = readRegularFile(path, maxLogSize);
        if (!bytes)
            return bytes.failure();
        if (!bytes->trimmed().isEmpty()) {
            m_path = path;
            m_needsLineBreak = !bytes->endsWith('\n');
            return {};
        }
    }
    // A new log: the header, and the file's name in its folder, are on the disk before the first
    // radio (a row's own sync keeps the row, not a name the folder has not kept).
    if (const Result written = saveWholeFile(path, (header() + u'\n').toUtf8()); !written)
        return written;
    m_path = path;
    return {};
}

Result FleetLog::append(const FleetRow &row)
{
    QString text = rowText(row) + u'\n';
    if (m_needsLineBreak)
        text.prepend(u'\n');
    const Result written = appendToFile(m_path, text.toUtf8());
    if (written) {
        m_needsLineBreak = false;
        m_lastRadio = std::max(m_lastRadio, row.radio);
    }
    return written;
}

} // namespace zw
