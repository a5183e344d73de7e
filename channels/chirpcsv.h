#pragma once

#include "channelrecord.h"
#include "modelinfo.h"
#include "result.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace zw
{

// Exchange of channel tables with the CSV format of CHIRP, the channel list most radio users
// already have. Only what both sides know travels: frequencies, tones, scan and power. BCL and
// beat have no column there: an export leaves them out, an import gives them the channel
// defaults ("off").
//
// Power is written in watts, the model's figures (ModelInfo::highPowerWatts for "H",
// lowPowerWatts for everything else: only "H" is high power on the radio); on import any watt
// value is read back as the nearer of the two, "H" when exactly between them, and a row
// without a Power column takes "H", the channel default.

// CHIRP's column names, in the order of its header.
const QStringList &chirpCsvColumns();

// The table of a `model` window as CHIRP CSV: UTF-8, CRLF line ends, the full header, one row
// per channel in use (Location = channel 1..16), empty channels left out. A DCS code cell that a
// spreadsheet would take for a formula gets a leading apostrophe. Fails on a frequency field
// too large to be a frequency (1 THz and above).
Expected<QByteArray> exportChirpCsv(const ChannelTable &table, const ModelInfo &model);

// Why a row of a CSV file cannot go into the radio. `subject` is the text the reason is about
// (the value as the file has it, or a frequency as "145.000000"); out-of-band reasons also name
// the band.
enum class CsvReasonKind {
    FrequencyNotNumber,
    FrequencyTooManyDecimals,
    FrequencyFinerThan10Hz,
    LocationNotChannel,
    ChannelTwice,
    ReceiveOutOfBand,
    ReceiveOffRaster,
    DuplexUnknown,
    TransmitOutOfBand,
    TransmitOffRaster,
    CrossModeUnknown,
    ToneModeUnknown,
    ToneNotInList,
    DcsInverted,
    DcsNotInList,
    PowerNotWatts,
    ModeNotAnalogFm, // a digital (DMR, DV), AM or single-sideband channel: the radio is FM only
};

struct CsvReason {
    CsvReasonKind kind = CsvReasonKind::FrequencyNotNumber;
    QString subject;
    double bandLow = 0; // MHz, for the out-of-band reasons
    double bandHigh = 0;
};

struct CsvRowProblem {
    int line = 0;     // line of the file, counted from 1
    QString location; // the row's Location text
    CsvReason reason;
};

struct CsvImport {
    // The table after the import: channels with a row that fits take it; channels without a
    // row become empty channels; channels whose row does not fit keep what `current` had.
    // Fields 0 (信道号), 3 and 6 always keep their values.
    ChannelTable table;
    int rowsTaken = 0;
    // Placed in file order: rows that fit but came after channel 16 was filled.
    int rowsPastEnd = 0;
    QList<CsvRowProblem> problems;
};

// Where the rows of a CSV file go: to the channel their Location names, or in file order into
// channels 1..16 whatever their Location says (a repeater directory's export counts from 0, and
// its first row would otherwise be lost).
enum class CsvPlacement { ByLocation, InFileOrder };

// The fields a CHIRP row carries; 信道号, 备用3 and 备用6 it does not.
constexpr std::array<int, 8> chirpFields{RxFrequency, RxTone, TxFrequency, TxTone,
                                         Scan,        Bcl,    Beat,        Power};

// The columns a CHIRP CSV header names, found by name in any order; blanks around a name do not
// count, and of two columns of the same name the last one counts.
class ChirpCsvHeader
{
public:
    explicit ChirpCsvHeader(const QStringList &names);

    bool has(const char *name) const;
    // Position of the column in a row, -1 when the header has none.
    int indexOf(const char *name) const;
    // The row's value of the column, trimmed; empty when the column or the value is missing.
    QString value(const QStringList &fields, const char *name) const;

private:
    QHash<QString, int> m_index;
};

// The header of rows that can be read: it names the Location and Frequency columns.
Expected<ChirpCsvHeader> readChirpCsvHeader(const QStringList &names);

// One row read for a window of a model.
struct ChirpRow {
    // The channel (1..16) of a row that fits; 0 for CHIRP's empty memory (frequency 0), which
    // sets nothing, and for a row that does not fit.
    int channel = 0;
    // Of a row that fits: the chirpFields as the row sets them (BCL and 拍频 "off"), every other
    // field empty.
    ChannelRecord record;
    std::optional<CsvReason> problem; // why the row does not fit
};

// Reads one row under `header` with every check of importChirpCsv, which reads each row of a
// file with it. `taken` marks the channels earlier rows of the same file filled: a row naming
// one of them again does not fit. The Mode column must be empty, FM or NFM: the radio is analog
// FM only, and a digital repeater's row would become a channel that hears nothing.
ChirpRow readChirpRow(const ChirpCsvHeader &header, const QStringList &fields,
                      const ModelInfo &model, const std::array<bool, channelCount> &taken = {});
// The same for a row placed into `channel` (1..16) whatever its Location says.
ChirpRow readChirpRowInto(const ChirpCsvHeader &header, const QStringList &fields,
                          const ModelInfo &model, int channel);

// Reads a CHIRP CSV file for a window of `model`, checking each row against the model's band,
// its tones and DCS codes (normal polarity only) and the 5 kHz / 6.25 kHz raster. Nothing is
// rounded to a neighbour: a row that does not fit is listed in `problems`. Fails when the file
// as a whole cannot be read (no header, no Location or Frequency column). In file order, the
// rows that fit fill channels 1..16 in turn and every other channel becomes empty.
Expected<CsvImport> importChirpCsv(const QByteArray &bytes, const ModelInfo &model,
                                   const ChannelTable &current,
                                   CsvPlacement placement = CsvPlacement::ByLocation);

} // namespace zw
