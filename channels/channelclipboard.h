#pragma once

#include "channelrecord.h"
#include "chirpcsv.h"
#include "modelinfo.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace zw
{

// Channels on the clipboard. A copy is offered in three forms at once: our own rows (every
// field, for a paste into a window of the same band), tab-separated text of the grid's nine
// columns with a caption row (for a spreadsheet) and CHIRP CSV rows (for CHIRP).
QString channelRowsMimeType(); // our own rows
QString chirpCsvMimeType();    // "text/csv"

struct CopiedChannels {
    QByteArray ownRows;
    QString tabText;
    QByteArray chirpCsv;
};

// The channels at `rows` (0..15, in table order) of a `model` window. `captions` are the nine
// column captions the grid shows; their trailing blanks are left out of the caption row.
CopiedChannels copyChannels(const ChannelTable &table, const QList<int> &rows,
                            const ModelInfo &model, const QStringList &captions);

// What the clipboard holds, in the forms a paste understands; the best one present is used
// (own rows, then CHIRP CSV, then plain text, which may itself be CHIRP CSV or tab-separated).
struct PasteSource {
    QByteArray ownRows;
    QByteArray chirpCsv;
    QString text;
};

// Why a paste or a pasted row does not fit, or why a row is taken with a warning.
enum class PasteReasonKind {
    NoReceiveFrequency, // the row gives no receive frequency
    NotANumber,         // the frequency of grid `column` (`value`) is not a number
    OutsideBand,        // the frequency of grid `column` (`value`) lies outside the band
    NotInList,          // `value` is not an entry of grid `column`'s pick list
    SpareTooLong,       // spare field `column` (3 or 6) is longer than maxSpareFieldBytes
    SpareNotGb2312,     // spare field `column` holds a character a channel file cannot hold
    SpareQuote,         // spare field `column` holds a double quote a channel file cannot hold
    Csv,                // a CHIRP row that does not fit, for the reason `csv`
    NoChirpColumns,     // CHIRP rows whose header has no Frequency column
    TooLarge,           // the clipboard holds more than a channel list
    NoChannels,         // nothing on the clipboard reads as channels
};

struct PasteReason {
    PasteReasonKind kind = PasteReasonKind::NoChannels;
    int column = 0;
    QString value = {};
    double bandLow = 0; // MHz, for OutsideBand
    double bandHigh = 0;
    CsvReason csv = {};
};

// The caption of grid column `column` a reason names: the Chinese field name or the English
// caption.
QString gridColumnName(int column, bool english);

// A pasted row that does not fit, or is taken with a warning, and why.
struct PasteProblem {
    int line = 0;     // line of the pasted text, counted from 1; of our own rows, the row
    QString location; // the channel it would have gone to
    PasteReason reason;
};

struct PastePlan {
    // The table after the paste: pasted row i lands on channel startRow + i; a channel whose
    // row does not fit keeps what it had, as does every channel the paste does not reach.
    ChannelTable table;
    QList<int> rowsChanged;       // channels (0..15) that take a pasted row
    int rowsTaken = 0;            // pasted rows that fit
    int rowsPastEnd = 0;          // rows that would land after channel 16 (counted only)
    QList<PasteProblem> problems; // rows that do not fit the model, with their reason
    // Rows taken with a frequency outside the band that typing keeps too (the warning margins),
    // with the reason typing would have shown the range message for.
    QList<PasteProblem> warnings;
    // Captions of a caption row that name no column this program knows: those columns are
    // not read.
    QStringList ignoredColumns;
    // Nothing on the clipboard reads as channels, or it is far too large.
    std::optional<PasteReasonKind> error;
};

// Pastes from channel `startRow` on. Every row is entered the way a user enters a channel: the
// receive frequency through the receive check, the transmit frequency through the transmit
// check, then every other column as a choice of its pick list. A row whose frequency lies
// outside the band, is not a number, or whose setting is not an entry of its list, does not
// fit: it is listed, never moved to the band edge or to a neighbouring entry. A frequency in the
// band's warning margins, which typing keeps with the range message, is taken and listed as a
// warning. A row that gives no receive frequency is listed; only an empty receive frequency
// empties a channel. Spare fields of our own rows must be fields a channel file can carry.
PastePlan planPaste(const PasteSource &source, const ModelInfo &model, const ChannelTable &current,
                    int startRow);

} // namespace zw
