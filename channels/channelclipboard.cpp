#include "channelclipboard.h"

#include "cellentry.h"
#include "channelfile.h"
#include "csvtext.h"
#include "numberreader.h"
#include "picklists.h"
#include "tones.h"

#include <QRegularExpression>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

namespace zw
{

namespace
{

constexpr int gridColumns = 9;
constexpr int rxColumn = 1; // 接收频率

// A channel list of a few hundred rows is far below this; anything larger is no channel list.
constexpr qsizetype maxPasteSize = 1024 * 1024;

// The first line of our own rows; the model code follows on the second line.
const QString ownRowsTag = QStringLiteral("ZW4630 channels");

// Grid column -> field, as the grid shows them.
constexpr std::array<int, gridColumns> columnField{
    ChannelNumber, RxFrequency, RxTone, TxFrequency, TxTone, Scan, Bcl, Beat, Power};

// The names a caption row may give each grid column: the table's field name, the English
// caption and CHIRP's name where it means the same column ("Frequency", "Power"), compared
// without surrounding blanks and without regard to case. The first name is the Chinese one, the
// last the English one the reasons use.
const std::array<QStringList, gridColumns> &columnNames()
{
    static const std::array<QStringList, gridColumns> names{
        QStringList{QStringLiteral("信道号"), QStringLiteral("No")},
        QStringList{QStringLiteral("接收频率"), QStringLiteral("Frequency"),
                    QStringLiteral("RxFrequency")},
        QStringList{QStringLiteral("收哑音"), QStringLiteral("QT/DQT Dec")},
        QStringList{QStringLiteral("发送频率"), QStringLiteral("TxFrequency")},
        QStringList{QStringLiteral("发哑音"), QStringLiteral("QT/DQT Enc")},
        QStringList{QStringLiteral("扫描"), QStringLiteral("Scan")},
        QStringList{QStringLiteral("BCL")},
        QStringList{QStringLiteral("拍频"), QStringLiteral("Beat")},
        QStringList{QStringLiteral("功率"), QStringLiteral("Power")},
    };
    return names;
}

} // namespace

QString gridColumnName(int column, bool english)
{
    if (column < 0 || column >= gridColumns)
        return QString();
    const QStringList &names = columnNames()[static_cast<std::size_t>(column)];
    return english ? names.last() : names.first();
}

namespace
{

int columnOfName(const QString &name)
{
    const QString wanted = name.trimmed();
    for (int column = 0; column < gridColumns; ++column)
        for (const QString &known : columnNames()[static_cast<std::size_t>(column)])
            if (wanted.compare(known, Qt::CaseInsensitive) == 0)
                return column;
    return -1;
}

using Reason = PasteReason;
using Kind = PasteReasonKind;

// The CHIRP column name `name` stands for, compared as the grid's names are; empty when CHIRP
// has no such column.
QString chirpColumnOf(const QString &name)
{
    const QString wanted = name.trimmed();
    for (const QString &known : chirpCsvColumns())
        if (wanted.compare(known, Qt::CaseInsensitive) == 0)
            return known;
    return QString();
}

// One pasted row: the texts it gives for the grid columns (a column it does not give stays
// empty as an optional), and for our own rows also the two spare fields.
struct PastedRow {
    int line = 0;
    std::array<std::optional<QString>, gridColumns> cells;
    std::optional<QString> spare3;
    std::optional<QString> spare6;
    bool emptyChannel = false; // a CHIRP row without a frequency
    std::optional<Reason> refused;
    std::optional<Reason> warning; // taken all the same, as typing takes it
};

// The pick-list entry a pasted text stands for: the entry itself; the same word in another
// case; a tone written with other decimals ("88.50"); any blank text for the list's first
// blank entry. Nothing when the list has no such entry.
std::optional<QString> entryOf(PickList list, const QString &text, Model model)
{
    const QStringList entries = pickListEntries(list, model);
    if (entries.contains(text))
        return text;
    const QString wanted = text.trimmed();
    if (wanted.isEmpty()) {
        for (const QString &entry : entries)
            if (entry.trimmed().isEmpty())
                return entry;
        return std::nullopt;
    }
    for (const QString &entry : entries)
        if (!entry.trimmed().isEmpty() && entry.compare(wanted, Qt::CaseInsensitive) == 0)
            return entry;
    if (list == PickList::ToneBoth || list == PickList::TxTone) {
        bool ok = false;
        const double hz = wanted.toDouble(&ok);
        if (ok) {
            const long tenths = std::lround(hz * 10);
            for (const QString &tone : ctcssTones())
                if (std::lround(tone.toDouble() * 10) == tenths &&
                    std::fabs(hz * 10 - tenths) < 1e-6)
                    return tone;
        }
    }
    return std::nullopt;
}

bool readsAsNumber(const QString &text)
{
    return startsWithNumber(text);
}

// A frequency typing would move to the band edge; one in the warning margins typing keeps.
bool heldAtBandEdge(const QString &text, const BandLimits &band)
{
    const double typed = readNumber(text);
    return holdInBand(typed, band, nullptr) != typed;
}

Reason outsideBand(int column, const QString &text, const ModelInfo &model)
{
    return {Kind::OutsideBand, column, text.trimmed(), model.band.bandLow, model.band.bandHigh};
}

std::optional<Reason> spareFieldProblem(const QString &value, int field)
{
    switch (spareFieldFault(value)) {
    case SpareFieldFault::None:
        return std::nullopt;
    case SpareFieldFault::TooLong:
        return Reason{Kind::SpareTooLong, field};
    case SpareFieldFault::NotGb2312:
        return Reason{Kind::SpareNotGb2312, field};
    case SpareFieldFault::Quote:
        return Reason{Kind::SpareQuote, field};
    }
    return std::nullopt;
}

// Enters one pasted row into `target` as typing and picking would; the record, or why not.
// A frequency typing keeps with the range message is kept, and `warning` says so.
std::optional<ChannelRecord> enterRow(const ChannelRecord &target, const PastedRow &row,
                                      const ModelInfo &model, Reason *why,
                                      std::optional<Reason> *warning)
{
    // Spare fields come only with our own rows; they must be fields a channel file can carry,
    // or the table could no longer be saved and opened again.
    for (const auto &[spare, field] :
         {std::pair{&row.spare3, int(Spare3)}, {&row.spare6, int(Spare6)}}) {
        if (!*spare)
            continue;
        if (const std::optional<Reason> problem = spareFieldProblem(**spare, field)) {
            *why = *problem;
            return std::nullopt;
        }
    }
    if (!row.cells[1] && !row.emptyChannel) {
        // Only a clipboard that gives an empty receive frequency empties a channel.
        *why = {Kind::NoReceiveFrequency};
        return std::nullopt;
    }
    ChannelRecord record = target;
    if (row.spare3)
        record[Spare3] = *row.spare3;
    if (row.spare6)
        record[Spare6] = *row.spare6;

    const QString rx = row.emptyChannel ? QString() : row.cells[1].value_or(QString());
    if (!rx.trimmed().isEmpty() && !readsAsNumber(rx)) {
        *why = {Kind::NotANumber, 1, rx};
        return std::nullopt;
    }
    record[RxFrequency] = rx;
    CellEntryResult entered = checkRxFrequency(record, model.band);
    if (entered.outOfRange) {
        *why = outsideBand(1, rx, model);
        if (heldAtBandEdge(rx, model.band))
            return std::nullopt;
        *warning = *why;
    }
    record = entered.record;
    if (isEmptyChannel(record))
        return record; // an empty channel takes no other column

    if (row.cells[3]) {
        const QString tx = *row.cells[3];
        if (!tx.trimmed().isEmpty() && !readsAsNumber(tx)) {
            *why = {Kind::NotANumber, 3, tx};
            return std::nullopt;
        }
        record[TxFrequency] = tx;
        entered = checkTxFrequency(record, model.band);
        if (entered.outOfRange) {
            *why = outsideBand(3, tx, model);
            if (heldAtBandEdge(tx, model.band))
                return std::nullopt;
            *warning = *why;
        }
        record = entered.record;
    }

    // The receive tone list sets both tones; the transmit list then sets a different one.
    struct Pick {
        int column;
        PickList list;
    };
    const std::array<Pick, 6> picks{{{2, PickList::ToneBoth},
                                     {4, PickList::TxTone},
                                     {5, PickList::Scan},
                                     {6, PickList::Bcl},
                                     {7, PickList::Beat},
                                     {8, PickList::Power}}};
    for (const Pick &pick : picks) {
        const std::optional<QString> &text = row.cells[static_cast<std::size_t>(pick.column)];
        if (!text)
            continue;
        if (pick.list == PickList::TxTone && row.cells[2] && *row.cells[2] == *text)
            continue; // already set with the receive tone
        const std::optional<QString> entry = entryOf(pick.list, *text, model.model);
        if (!entry) {
            *why = {Kind::NotInList, pick.column, *text};
            return std::nullopt;
        }
        record = applyPick(record, pick.list, *entry);
    }
    return record;
}

// Our own rows: the tag, the model code, then one CSV row of all eleven fields per channel.
std::optional<QList<PastedRow>> ownRows(const QByteArray &bytes)
{
    const QList<std::pair<int, QStringList>> rows = parseCsv(QString::fromUtf8(bytes));
    if (rows.size() < 2 || rows.at(0).second.value(0) != ownRowsTag)
        return std::nullopt;
    QList<PastedRow> pasted;
    for (qsizetype i = 2; i < rows.size(); ++i) {
        const QStringList &fields = rows.at(i).second;
        if (fields.size() != fieldCount)
            return std::nullopt;
        PastedRow row;
        row.line = int(pasted.size()) + 1; // the tag and the model code are not shown
        for (int column = 1; column < gridColumns; ++column)
            row.cells[static_cast<std::size_t>(column)] =
                fields.at(columnField[static_cast<std::size_t>(column)]);
        row.spare3 = fields.at(Spare3);
        row.spare6 = fields.at(Spare6);
        pasted.append(row);
    }
    return pasted;
}

bool looksLikeChirpCsv(const QString &text)
{
    for (const QString &line : text.split(QRegularExpression(QStringLiteral("\r?\n")))) {
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u'#'))
            continue;
        if (trimmed.contains(u'\t'))
            return false;
        const QStringList names = trimmed.split(u',');
        return names.contains(QStringLiteral("Location")) &&
               names.contains(QStringLiteral("Frequency"));
    }
    return false;
}

// CHIRP rows (line and cells, the header first), each read as the CSV import reads a row, as if
// it were channel 1: a row means here exactly what it means in an imported file, wherever the
// paste puts it. Rows copied from a spreadsheet may come without the Location column.
QList<PastedRow> chirpRows(QList<std::pair<int, QStringList>> rows, const ModelInfo &model,
                           int limit)
{
    QList<PastedRow> pasted;
    if (rows.isEmpty())
        return pasted;
    QStringList names = rows.takeFirst().second;
    if (ChirpCsvHeader(names).indexOf("Location") < 0)
        names << QStringLiteral("Location");
    const Expected<ChirpCsvHeader> header = readChirpCsvHeader(names);
    const int location = header ? header->indexOf("Location") : -1;
    for (const auto &[line, fields] : rows) {
        if (pasted.size() >= limit) { // past channel 16: only counted
            pasted.append(PastedRow{});
            continue;
        }
        PastedRow row;
        row.line = line;
        if (!header) {
            row.refused = Reason{Kind::NoChirpColumns};
            pasted.append(row);
            continue;
        }
        QStringList one = fields;
        while (one.size() <= location)
            one << QString();
        one[location] = QStringLiteral("1");
        const ChirpRow read = readChirpRow(*header, one, model);
        if (read.problem) {
            row.refused = Reason{Kind::Csv};
            row.refused->csv = *read.problem;
        } else if (read.channel == 0) {
            row.emptyChannel = true;
        } else {
            for (int column = 1; column < gridColumns; ++column)
                row.cells[static_cast<std::size_t>(column)] =
                    read.record[columnField[static_cast<std::size_t>(column)]];
            if (read.record[TxFrequency].isEmpty())
                row.cells[3] = QString(); // transmit off
        }
        pasted.append(row);
    }
    return pasted;
}

QList<PastedRow> chirpRows(QString text, const ModelInfo &model, int limit)
{
    if (text.startsWith(QChar(0xFEFF))) // a byte-order mark, as a file may start with
        text.remove(0, 1);
    QList<std::pair<int, QStringList>> rows;
    for (const auto &row : parseCsv(text))
        if (!row.second.first().trimmed().startsWith(u'#'))
            rows.append(row);
    return chirpRows(rows, model, limit);
}

// The grid columns a caption row names, when every caption in it is a name of a grid column
// (blank captions name no column); nothing when the row is not such a caption row.
std::optional<QList<int>> gridCaptionRow(const QStringList &cells)
{
    QList<int> columns;
    bool any = false;
    for (const QString &cell : cells) {
        columns << columnOfName(cell);
        if (columns.last() < 0 && !cell.trimmed().isEmpty())
            return std::nullopt;
        any = any || columns.last() >= 0;
    }
    return any ? std::optional(columns) : std::nullopt;
}

// A caption row of CHIRP's column names only (a CHIRP list copied from a spreadsheet), with
// the Frequency column; the names as CHIRP spells them.
std::optional<QStringList> chirpCaptionRow(const QStringList &cells)
{
    QStringList names;
    for (const QString &cell : cells) {
        names << chirpColumnOf(cell);
        if (names.last().isEmpty() && !cell.trimmed().isEmpty())
            return std::nullopt;
    }
    return names.contains(QStringLiteral("Frequency")) ? std::optional(names) : std::nullopt;
}

// A caption row some of whose captions the program does not know (a spreadsheet's own columns
// beside the channels'): read by the captions it knows when they name the receive frequency.
// They are read as CHIRP's when the row has a CHIRP setting the grid has no column for (Duplex,
// Tone, ...), else as the grid's. The captions not read are returned in `unknown`; the grid
// columns in `columns`, or for CHIRP the names (an empty text for one not read) in `chirpNames`.
// False when the row is no caption row.
bool partlyKnownCaptionRow(const QStringList &cells, QList<int> *columns, QStringList *chirpNames,
                           QStringList *unknown)
{
    QList<int> grid;
    QStringList chirp;
    QStringList unknownToGrid;
    QStringList unknownToChirp;
    bool chirpSetting = false;
    for (const QString &cell : cells) {
        grid << columnOfName(cell);
        chirp << chirpColumnOf(cell);
        if (cell.trimmed().isEmpty())
            continue;
        if (grid.last() < 0)
            unknownToGrid << cell.trimmed();
        if (chirp.last().isEmpty())
            unknownToChirp << cell.trimmed();
        const QStringList descriptive{QStringLiteral("Location"), QStringLiteral("Name"),
                                      QStringLiteral("Comment")};
        chirpSetting = chirpSetting || (grid.last() < 0 && !chirp.last().isEmpty() &&
                                        !descriptive.contains(chirp.last()));
    }
    if (chirpSetting && chirp.contains(QStringLiteral("Frequency"))) {
        *chirpNames = chirp;
        *unknown = unknownToChirp;
        return true;
    }
    if (!grid.contains(rxColumn))
        return false;
    *columns = grid;
    *unknown = unknownToGrid;
    return true;
}

// Tab-separated text: columns by a caption row when the first row is one, else the grid's
// order (nine cells with the channel number first, or fewer starting at 接收频率). A first row
// is a caption row when every caption in it is known, or when the ones known name the receive
// frequency (the others are ignored and returned in `ignored`); rows under CHIRP's captions are
// read as CHIRP rows.
QList<PastedRow> tabRows(const QString &text, const ModelInfo &model, int limit,
                         QStringList *ignored)
{
    QList<PastedRow> pasted;
    QStringList lines = text.split(QRegularExpression(QStringLiteral("\r?\n")));
    int lineNumber = 0;
    std::optional<QList<int>> byHeader;
    const auto cellsOf = [](const QString &line) {
        QStringList cells = line.split(u'\t');
        for (QString &cell : cells)
            if (cell.size() >= 2 && cell.startsWith(u'"') && cell.endsWith(u'"'))
                cell = cell.mid(1, cell.size() - 2)
                           .replace(QStringLiteral("\"\""), QStringLiteral("\""));
        return cells;
    };
    for (const QString &line : lines) {
        ++lineNumber;
        if (line.trimmed().isEmpty())
            continue;
        const QStringList cells = cellsOf(line);
        if (!byHeader && pasted.isEmpty()) {
            byHeader = gridCaptionRow(cells);
            if (byHeader)
                continue;
            std::optional<QStringList> names = chirpCaptionRow(cells);
            QList<int> columns;
            QStringList partNames;
            if (!names && partlyKnownCaptionRow(cells, &columns, &partNames, ignored)) {
                if (partNames.isEmpty()) {
                    byHeader = columns;
                    continue;
                }
                names = partNames;
            }
            if (names) {
                QList<std::pair<int, QStringList>> rows{{lineNumber, *names}};
                for (int i = lineNumber; i < lines.size(); ++i)
                    if (!lines.at(i).trimmed().isEmpty())
                        rows.append({i + 1, cellsOf(lines.at(i))});
                return chirpRows(rows, model, limit);
            }
        }
        QList<int> columns;
        if (byHeader) {
            columns = *byHeader;
        } else {
            const int first = cells.size() >= gridColumns ? 0 : 1;
            for (int i = 0; i < cells.size(); ++i)
                columns << (first + i < gridColumns ? first + i : -1);
        }
        PastedRow row;
        row.line = lineNumber;
        for (int i = 0; i < cells.size() && i < columns.size(); ++i)
            if (columns.at(i) > 0)
                row.cells[static_cast<std::size_t>(columns.at(i))] = cells.at(i);
        pasted.append(row);
    }
    return pasted;
}

} // namespace

QString channelRowsMimeType()
{
    return QStringLiteral("application/x-zw4630-channels");
}

QString chirpCsvMimeType()
{
    return QStringLiteral("text/csv");
}

CopiedChannels copyChannels(const ChannelTable &table, const QList<int> &rows,
                            const ModelInfo &model, const QStringList &captions)
{
    CopiedChannels copied;
    QString own = ownRowsTag + QStringLiteral("\r\n") + model.code + QStringLiteral("\r\n");
    QStringList captionRow;
    for (int column = 0; column < gridColumns; ++column) {
        QString caption = captions.value(column);
        while (caption.endsWith(u' '))
            caption.chop(1);
        captionRow << caption;
    }
    QString tab = captionRow.join(u'\t') + QStringLiteral("\r\n");
    ChannelTable chosen;
    for (int row : rows) {
        if (row < 0 || row >= channelCount)
            continue;
        const ChannelRecord &record = table[static_cast<std::size_t>(row)];
        QStringList fields;
        for (const QString &field : record.fields)
            fields << csvField(field);
        own += fields.join(u',') + QStringLiteral("\r\n");
        QStringList cells;
        for (int field : columnField)
            cells << record[field];
        tab += cells.join(u'\t') + QStringLiteral("\r\n");
        chosen[static_cast<std::size_t>(row)] = record;
    }
    copied.ownRows = own.toUtf8();
    copied.tabText = tab;
    // A table CSV cannot carry (a frequency field that is no frequency) is copied without it.
    if (const Expected<QByteArray> csv = exportChirpCsv(chosen, model); csv)
        copied.chirpCsv = *csv;
    return copied;
}

PastePlan planPaste(const PasteSource &source, const ModelInfo &model, const ChannelTable &current,
                    int startRow)
{
    PastePlan plan;
    plan.table = current;
    if (source.ownRows.size() > maxPasteSize || source.chirpCsv.size() > maxPasteSize ||
        source.text.size() > maxPasteSize) {
        plan.error = Kind::TooLarge;
        return plan;
    }
    const int start = std::clamp(startRow, 0, channelCount);
    QList<PastedRow> rows;
    if (const auto own = ownRows(source.ownRows)) {
        rows = *own;
    } else if (!source.chirpCsv.isEmpty()) {
        rows = chirpRows(QString::fromUtf8(source.chirpCsv), model, channelCount - start);
    } else if (looksLikeChirpCsv(source.text)) {
        rows = chirpRows(source.text, model, channelCount - start);
    } else {
        rows = tabRows(source.text, model, channelCount - start, &plan.ignoredColumns);
    }
    if (rows.isEmpty()) {
        plan.error = Kind::NoChannels;
        return plan;
    }

    int channel = start;
    for (const PastedRow &row : rows) {
        const QString location = QString::number(channel + 1);
        if (channel >= channelCount) {
            ++plan.rowsPastEnd; // counted, not listed one by one
            continue;
        }
        Reason why;
        std::optional<Reason> warning;
        std::optional<ChannelRecord> record;
        if (row.refused)
            why = *row.refused;
        else
            record =
                enterRow(current[static_cast<std::size_t>(channel)], row, model, &why, &warning);
        if (!record) {
            plan.problems.append({row.line, location, why});
        } else {
            if (warning)
                plan.warnings.append({row.line, location, *warning});
            plan.table[static_cast<std::size_t>(channel)] = *record;
            plan.rowsChanged.append(channel);
            ++plan.rowsTaken;
        }
        ++channel;
    }
    return plan;
}

} // namespace zw
