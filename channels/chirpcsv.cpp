#include "chirpcsv.h"

#include "csvtext.h"
#include "frequency.h"
#include "numberreader.h"
#include "tones.h"

#include <QHash>
#include <QStringList>

#include <cmath>

namespace zw
{

namespace
{

const QStringList &header()
{
    static const QStringList names =
        QStringLiteral(
            "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
            "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE")
            .split(u',');
    return names;
}

// No radio frequency reaches 1 THz: a larger number in a frequency field or column is out of
// any band, and is never converted to 10 Hz units (it would not fit them).
constexpr double maxExchangeMhz = 1e6;

// A tone in Hz beyond this is no tone (and its tenths would not fit an int).
constexpr double maxToneHz = 1e5;

// A frequency field in units of 10 Hz (Frequency units); nothing for an empty channel, and the
// number itself when it is too large to be a frequency.
std::optional<qint64> units(const QString &text, double *tooLarge = nullptr)
{
    const double mhz = readNumber(text);
    if (mhz <= 0)
        return std::nullopt;
    if (!(mhz < maxExchangeMhz)) {
        if (tooLarge)
            *tooLarge = mhz;
        return std::nullopt;
    }
    return Frequency::fromMHz(mhz)->units();
}

// A cell a spreadsheet would read as a formula ("=A1", "@SU", "+1", "-1") gets a leading
// apostrophe, so that it stays text.
QString spreadsheetSafe(const QString &cell)
{
    static const QString formulaStarts = QStringLiteral("=+-@\t\r");
    if (!cell.isEmpty() && formulaStarts.contains(cell.front()))
        return QLatin1Char('\'') + cell;
    return cell;
}

QString mhzText(qint64 units10Hz)
{
    // Six decimals: the unit is 10 Hz, so the last digit is always 0. A transmit frequency
    // below 0 (an offset larger than the frequency) is shown with its sign.
    const QString sign = units10Hz < 0 ? QStringLiteral("-") : QString();
    const qint64 magnitude = units10Hz < 0 ? -units10Hz : units10Hz;
    return sign + QString::number(magnitude / Frequency::unitsPerMHz) + QLatin1Char('.') +
           QStringLiteral("%1").arg((magnitude % Frequency::unitsPerMHz) * 10, 6, 10,
                                    QLatin1Char('0'));
}

// One side of a channel's squelch: nothing, a CTCSS tone (tenths of Hz) or a DCS code text.
struct Squelch {
    enum Kind { None, Tone, Dcs } kind = None;
    int tenths = 0;
    QString code;
};

Squelch squelchOf(const QString &field)
{
    Squelch s;
    const QString text = field.trimmed();
    if (text.isEmpty())
        return s;
    if (text.startsWith(u'D')) {
        s.kind = Squelch::Dcs;
        s.code = text.mid(1, 3);
        return s;
    }
    const double hz = readNumber(text);
    if (hz > 0 && hz < maxToneHz) {
        s.kind = Squelch::Tone;
        s.tenths = int(std::lround(hz * 10));
    }
    return s;
}

QString toneText(int tenths)
{
    return QString::number(tenths / 10) + QLatin1Char('.') + QString::number(tenths % 10);
}

// Why a row cannot be taken: the kind and what it is about.
CsvReason reasonAbout(CsvReasonKind kind, const QString &subject)
{
    return {kind, subject, 0, 0};
}

CsvReason outOfBand(CsvReasonKind kind, qint64 units10Hz, const ModelInfo &model)
{
    return {kind, mhzText(units10Hz), model.band.bandLow, model.band.bandHigh};
}

// A frequency column: MHz with at most 6 decimals, or with a " MHz" / " kHz" suffix. A number
// too large for any band gives `outOfBand` with the number as the subject.
std::optional<qint64> parseFrequency(const QString &raw, CsvReason *why, CsvReasonKind outOfBand,
                                     const ModelInfo &model)
{
    QString text = raw.trimmed();
    double scale = 1.0;
    if (text.endsWith(QLatin1String("kHz"), Qt::CaseInsensitive)) {
        scale = 0.001;
        text.chop(3);
    } else if (text.endsWith(QLatin1String("MHz"), Qt::CaseInsensitive)) {
        text.chop(3);
    }
    text = text.trimmed();
    bool ok = false;
    const double value = text.toDouble(&ok); // QString::toDouble uses the C locale
    // NaN and the infinities read as numbers; they are none.
    if (!ok || !std::isfinite(value) || value < 0) {
        *why = reasonAbout(CsvReasonKind::FrequencyNotNumber, raw);
        return std::nullopt;
    }
    if (!(value * scale < maxExchangeMhz)) {
        *why = {outOfBand, QString::number(value * scale, 'g', 6), model.band.bandLow,
                model.band.bandHigh};
        return std::nullopt;
    }
    const qsizetype point = text.indexOf(u'.');
    if (scale == 1.0 && point >= 0 && text.size() - point - 1 > 6) {
        *why = reasonAbout(CsvReasonKind::FrequencyTooManyDecimals, raw);
        return std::nullopt;
    }
    const double hz = value * scale * 1e6;
    if (std::fabs(hz - std::round(hz / 10.0) * 10.0) > 0.5) {
        *why = reasonAbout(CsvReasonKind::FrequencyFinerThan10Hz, raw);
        return std::nullopt;
    }
    return Frequency::fromMHz(value * scale)->units();
}

bool onRaster(qint64 units10Hz)
{
    return Frequency::fromUnits(units10Hz).isOnRaster();
}

// A CHIRP tone column ("88.5") as one of this radio's tones, or an explanation.
std::optional<QString> radioTone(const QString &raw, CsvReason *why)
{
    bool ok = false;
    const double hz = raw.trimmed().toDouble(&ok);
    if (ok && std::isfinite(hz) && hz > 0 && hz < maxToneHz) {
        const int tenths = int(std::lround(hz * 10));
        for (const QString &tone : ctcssTones())
            if (int(std::lround(tone.toDouble() * 10)) == tenths)
                return tone;
    }
    *why = reasonAbout(CsvReasonKind::ToneNotInList, raw.trimmed());
    return std::nullopt;
}

std::optional<QString> radioDcs(const QString &raw, QChar polarity, CsvReason *why)
{
    const QString code = raw.trimmed().rightJustified(3, u'0');
    if (polarity != u'N') {
        *why = reasonAbout(CsvReasonKind::DcsInverted, code);
        return std::nullopt;
    }
    if (!dcsCodes().contains(code)) {
        *why = reasonAbout(CsvReasonKind::DcsNotInList, raw.trimmed());
        return std::nullopt;
    }
    return QLatin1Char('D') + code + QLatin1Char('N');
}

// A Power column ("5.0W", "50W", "0.5 W", "4"), or nothing when it holds no watt value.
std::optional<double> parseWatts(const QString &raw)
{
    QString text = raw.trimmed();
    if (text.endsWith(u'W', Qt::CaseInsensitive))
        text.chop(1);
    bool ok = false;
    const double watts = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(watts) || watts < 0)
        return std::nullopt;
    return watts;
}

// CHIRP's way of writing watts: whole watts from 10 W up, one decimal below.
QString wattsText(double watts)
{
    if (watts >= 10)
        return QString::number(int(watts)) + QLatin1Char('W');
    return QString::number(watts, 'f', 1) + QLatin1Char('W');
}

} // namespace

const QStringList &chirpCsvColumns()
{
    return header();
}

Expected<QByteArray> exportChirpCsv(const ChannelTable &table, const ModelInfo &model)
{
    QString out = header().join(u',') + QStringLiteral("\r\n");
    for (int row = 0; row < channelCount; ++row) {
        const ChannelRecord &r = table[static_cast<std::size_t>(row)];
        double tooLarge = 0;
        auto tooLargeFailure = [&] {
            return Failure{{}, std::nullopt, CsvFailure::FrequencyTooLarge,
                           {}, row + 1,      QString::number(tooLarge, 'g', 6)};
        };
        const std::optional<qint64> rx = units(r[RxFrequency], &tooLarge);
        if (tooLarge > 0)
            return tooLargeFailure();
        if (!rx)
            continue;
        const std::optional<qint64> tx = units(r[TxFrequency], &tooLarge);
        if (tooLarge > 0)
            return tooLargeFailure();
        QString duplex;
        qint64 offset = 0;
        if (!tx) {
            duplex = QStringLiteral("off");
        } else if (*tx != *rx) {
            const qint64 diff = *tx - *rx;
            // Repeater-style offsets (up to 10 MHz) as +/-; anything wider as an absolute transmit
            // frequency.
            if (std::llabs(diff) <= 10 * Frequency::unitsPerMHz) {
                duplex = diff > 0 ? QStringLiteral("+") : QStringLiteral("-");
                offset = std::llabs(diff);
            } else {
                duplex = QStringLiteral("split");
                offset = *tx;
            }
        }

        const Squelch rxs = squelchOf(r[RxTone]);
        const Squelch txs = squelchOf(r[TxTone]);
        QString mode;
        QString rTone = QStringLiteral("88.5");
        QString cTone = QStringLiteral("88.5");
        QString dtcs = QStringLiteral("023");
        QString rxDtcs = QStringLiteral("023");
        QString cross = QStringLiteral("Tone->Tone");
        if (txs.kind == Squelch::Tone)
            rTone = toneText(txs.tenths);
        if (rxs.kind == Squelch::Tone)
            cTone = toneText(rxs.tenths);
        if (txs.kind == Squelch::Dcs)
            dtcs = txs.code;
        if (rxs.kind == Squelch::Dcs)
            rxDtcs = rxs.code;
        if (rxs.kind == Squelch::None && txs.kind == Squelch::None) {
            mode.clear();
        } else if (rxs.kind == Squelch::None && txs.kind == Squelch::Tone) {
            mode = QStringLiteral("Tone");
        } else if (rxs.kind == Squelch::Tone && txs.kind == Squelch::Tone &&
                   rxs.tenths == txs.tenths) {
            mode = QStringLiteral("TSQL");
        } else if (rxs.kind == Squelch::Dcs && txs.kind == Squelch::Dcs && rxs.code == txs.code) {
            mode = QStringLiteral("DTCS");
        } else {
            mode = QStringLiteral("Cross");
            auto side = [](const Squelch &s) {
                return s.kind == Squelch::Tone  ? QStringLiteral("Tone")
                       : s.kind == Squelch::Dcs ? QStringLiteral("DTCS")
                                                : QString();
            };
            cross = side(txs) + QStringLiteral("->") + side(rxs);
            if (txs.kind == Squelch::None && rxs.kind == Squelch::Dcs)
                dtcs = rxDtcs; // every reader finds the receive code
            if (txs.kind == Squelch::Tone && rxs.kind == Squelch::Dcs)
                dtcs = rxDtcs;
        }
        if (mode == QLatin1String("DTCS"))
            rxDtcs = dtcs;
        if (mode == QLatin1String("TSQL"))
            rTone = cTone;

        const QString step =
            *rx % Frequency::raster5kHz == 0 ? QStringLiteral("5.00") : QStringLiteral("6.25");
        const QStringList fields{
            QString::number(row + 1),
            QString(),
            mhzText(*rx),
            duplex,
            mhzText(offset),
            mode,
            rTone,
            cTone,
            spreadsheetSafe(dtcs),
            QStringLiteral("NN"),
            spreadsheetSafe(rxDtcs),
            cross,
            QStringLiteral("NFM"),
            step,
            r[Scan] == QLatin1String("del") ? QStringLiteral("S") : QString(),
            wattsText(r[Power] == QLatin1String("H") ? model.highPowerWatts : model.lowPowerWatts),
            QString(),
            QString(),
            QString(),
            QString(),
            QString(),
        };
        QStringList escaped;
        for (const QString &f : fields)
            escaped << csvField(f);
        out += escaped.join(u',') + QStringLiteral("\r\n");
    }
    return out.toUtf8();
}

namespace
{

// The rows of a CSV file without its comment lines (the header first), after a byte-order mark.
QList<std::pair<int, QStringList>> csvRows(const QByteArray &bytes)
{
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    QList<std::pair<int, QStringList>> rows;
    for (const auto &row : parseCsv(text))
        if (!row.second.first().trimmed().startsWith(u'#'))
            rows.append(row);
    return rows;
}

// One side of a channel's squelch as a CSV row names it.
enum class Side { None, Tone, Dcs };

std::optional<Side> sideOf(const QString &s)
{
    if (s == QLatin1String("Tone"))
        return Side::Tone;
    if (s == QLatin1String("DTCS"))
        return Side::Dcs;
    if (s.isEmpty())
        return Side::None;
    return std::nullopt;
}

ChirpRow rejected(const CsvReason &why)
{
    ChirpRow row;
    row.problem = why;
    return row;
}

// A row read into `channel`; a row with a `placementProblem` does not fit (once it is known to
// be more than CHIRP's empty memory).
ChirpRow readRow(const ChirpCsvHeader &header, const QStringList &fields, const ModelInfo &model,
                 int channel, const std::optional<CsvReason> &placementProblem);

} // namespace

ChirpCsvHeader::ChirpCsvHeader(const QStringList &names)
{
    for (int i = 0; i < names.size(); ++i)
        m_index.insert(names.at(i).trimmed(), i);
}

bool ChirpCsvHeader::has(const char *name) const
{
    return m_index.contains(QLatin1String(name));
}

int ChirpCsvHeader::indexOf(const char *name) const
{
    return m_index.value(QLatin1String(name), -1);
}

QString ChirpCsvHeader::value(const QStringList &fields, const char *name) const
{
    const int i = indexOf(name);
    return (i >= 0 && i < fields.size()) ? fields.at(i).trimmed() : QString();
}

Expected<ChirpCsvHeader> readChirpCsvHeader(const QStringList &names)
{
    ChirpCsvHeader header(names);
    if (!header.has("Location") || !header.has("Frequency"))
        return Failure{{}, std::nullopt, CsvFailure::NoChannelColumns};
    return header;
}

ChirpRow readChirpRow(const ChirpCsvHeader &header, const QStringList &fields,
                      const ModelInfo &model, const std::array<bool, channelCount> &taken)
{
    const QString location = header.value(fields, "Location");
    bool ok = false;
    const int channel = location.toInt(&ok);
    if (!ok || channel < 1 || channel > channelCount)
        return readRow(header, fields, model, 0,
                       reasonAbout(CsvReasonKind::LocationNotChannel, location));
    if (taken[static_cast<std::size_t>(channel - 1)])
        return readRow(header, fields, model, 0,
                       reasonAbout(CsvReasonKind::ChannelTwice, QString::number(channel)));
    return readRow(header, fields, model, channel, std::nullopt);
}

ChirpRow readChirpRowInto(const ChirpCsvHeader &header, const QStringList &fields,
                          const ModelInfo &model, int channel)
{
    return readRow(header, fields, model, channel, std::nullopt);
}

namespace
{

// Mode names of analog FM: CHIRP's "FM" (25 kHz) and "NFM" (12.5 kHz); empty in lists that
// have no Mode column value.
bool analogFm(const QString &mode)
{
    return mode.isEmpty() || mode.compare(QLatin1String("FM"), Qt::CaseInsensitive) == 0 ||
           mode.compare(QLatin1String("NFM"), Qt::CaseInsensitive) == 0;
}

ChirpRow readRow(const ChirpCsvHeader &header, const QStringList &fields, const ModelInfo &model,
                 int channel, const std::optional<CsvReason> &placementProblem)
{
    auto get = [&](const char *name) { return header.value(fields, name); };
    CsvReason why;
    const std::optional<qint64> rx =
        parseFrequency(get("Frequency"), &why, CsvReasonKind::ReceiveOutOfBand, model);
    if (!rx)
        return rejected(why);
    if (*rx == 0)
        return ChirpRow{}; // CHIRP's empty memory
    if (placementProblem)
        return rejected(*placementProblem);
    if (const QString mode = get("Mode"); !analogFm(mode))
        return rejected(reasonAbout(CsvReasonKind::ModeNotAnalogFm, mode));
    auto inBand = [&](qint64 u) { return Frequency::fromUnits(u).isInBand(model.band); };
    if (!inBand(*rx))
        return rejected(outOfBand(CsvReasonKind::ReceiveOutOfBand, *rx, model));
    if (!onRaster(*rx))
        return rejected(reasonAbout(CsvReasonKind::ReceiveOffRaster, mhzText(*rx)));

    // Transmit frequency.
    const QString duplex = get("Duplex");
    qint64 txUnits = *rx; // meaningful only while hasTx
    bool hasTx = true;
    if (!duplex.isEmpty() && duplex != QLatin1String("off")) {
        const std::optional<qint64> offset =
            parseFrequency(get("Offset"), &why, CsvReasonKind::TransmitOutOfBand, model);
        if (!offset)
            return rejected(why);
        if (duplex == QLatin1String("+"))
            txUnits = *rx + *offset;
        else if (duplex == QLatin1String("-"))
            txUnits = *rx - *offset;
        else if (duplex == QLatin1String("split"))
            txUnits = *offset;
        else
            return rejected(reasonAbout(CsvReasonKind::DuplexUnknown, duplex));
    } else if (duplex == QLatin1String("off")) {
        hasTx = false;
    }
    if (hasTx && !inBand(txUnits))
        return rejected(outOfBand(CsvReasonKind::TransmitOutOfBand, txUnits, model));
    if (hasTx && !onRaster(txUnits))
        return rejected(reasonAbout(CsvReasonKind::TransmitOffRaster, mhzText(txUnits)));

    // Squelch on both sides.
    QString rTone = get("rToneFreq");
    QString cTone = get("cToneFreq");
    if (!header.has("rToneFreq"))
        rTone = cTone;
    if (!header.has("cToneFreq"))
        cTone = rTone;
    const QString dtcs = get("DtcsCode");
    const QString rxDtcs = header.has("RxDtcsCode") ? get("RxDtcsCode") : dtcs;
    const QString polarity =
        get("DtcsPolarity").isEmpty() ? QStringLiteral("NN") : get("DtcsPolarity");
    const QString mode = get("Tone");
    Side txSide = Side::None;
    Side rxSide = Side::None;
    QString txToneHz, rxToneHz, txCode, rxCode;
    if (mode.isEmpty()) {
    } else if (mode == QLatin1String("Tone")) {
        txSide = Side::Tone;
        txToneHz = rTone;
    } else if (mode == QLatin1String("TSQL")) {
        txSide = rxSide = Side::Tone;
        txToneHz = rxToneHz = cTone;
    } else if (mode == QLatin1String("DTCS")) {
        txSide = rxSide = Side::Dcs;
        txCode = rxCode = dtcs;
    } else if (mode == QLatin1String("Cross")) {
        const QString cross = get("CrossMode");
        const qsizetype arrow = cross.indexOf(QLatin1String("->"));
        const auto ts = arrow < 0 ? std::nullopt : sideOf(cross.left(arrow));
        const auto rs = arrow < 0 ? std::nullopt : sideOf(cross.mid(arrow + 2));
        if (!ts || !rs)
            return rejected(reasonAbout(CsvReasonKind::CrossModeUnknown, cross));
        txSide = *ts;
        rxSide = *rs;
        txToneHz = rTone;
        rxToneHz = cTone;
        txCode = dtcs;
        rxCode = rxDtcs;
    } else {
        return rejected(reasonAbout(CsvReasonKind::ToneModeUnknown, mode));
    }
    auto resolve = [&why](Side s, const QString &hz, const QString &code, QChar pol, QString *out) {
        if (s == Side::Tone) {
            const auto tone = radioTone(hz, &why);
            if (!tone)
                return false;
            *out = *tone;
        } else if (s == Side::Dcs) {
            const auto d = radioDcs(code, pol, &why);
            if (!d)
                return false;
            *out = *d;
        }
        return true;
    };
    const QChar txPol = polarity.size() > 0 ? polarity.at(0) : QChar(u'N');
    const QChar rxPol = polarity.size() > 1 ? polarity.at(1) : txPol;
    QString rxTone, txTone;
    if (!resolve(txSide, txToneHz, txCode, txPol, &txTone) ||
        !resolve(rxSide, rxToneHz, rxCode, rxPol, &rxTone))
        return rejected(why);

    const QString power = get("Power");
    const std::optional<double> watts = parseWatts(power);
    if (!power.isEmpty() && !watts)
        return rejected(reasonAbout(CsvReasonKind::PowerNotWatts, power));

    ChirpRow row;
    row.channel = channel;
    ChannelRecord &record = row.record;
    record[RxFrequency] = Frequency::fromUnits(*rx).text();
    record[TxFrequency] = hasTx ? Frequency::fromUnits(txUnits).text() : QString(QLatin1String(""));
    record[RxTone] = rxTone;
    record[TxTone] = txTone;
    record[Scan] =
        get("Skip") == QLatin1String("S") ? QStringLiteral("del") : QStringLiteral("add");
    record[Bcl] = QStringLiteral("off");
    record[Beat] = QStringLiteral("off");
    const double middle = (model.highPowerWatts + model.lowPowerWatts) / 2;
    record[Power] =
        (power.isEmpty() || *watts >= middle) ? QStringLiteral("H") : QStringLiteral("L");
    for (QString &f : record.fields)
        if (f.isNull())
            f = QLatin1String("");
    return row;
}

// Puts a row that fits into its channel of the import's table, over what `current` holds there.
void placeRow(CsvImport &result, const ChannelTable &current, const ChirpRow &row)
{
    const auto i = static_cast<std::size_t>(row.channel - 1);
    ChannelRecord &record = result.table[i];
    record = current[i];
    for (int field : chirpFields)
        record[field] = row.record[field];
    for (QString &f : record.fields)
        if (f.isNull())
            f = QLatin1String("");
    ++result.rowsTaken;
}

} // namespace

Expected<CsvImport> importChirpCsv(const QByteArray &bytes, const ModelInfo &model,
                                   const ChannelTable &current, CsvPlacement placement)
{
    QList<std::pair<int, QStringList>> rows = csvRows(bytes);
    if (rows.isEmpty())
        return Failure{{}, std::nullopt, CsvFailure::NoHeader};
    const Expected<ChirpCsvHeader> header = readChirpCsvHeader(rows.takeFirst().second);
    if (!header)
        return header.failure();

    CsvImport result;
    result.table = current;
    std::array<bool, channelCount> taken{};
    std::array<bool, channelCount> refused{};
    int next = 1; // in file order: the channel the next row that fits goes to
    for (const auto &[line, fields] : rows) {
        if (placement == CsvPlacement::InFileOrder) {
            // A row past channel 16 is still read whole, to count it only when it fits.
            ChirpRow row = readChirpRowInto(*header, fields, model, qMin(next, channelCount));
            if (row.problem) {
                result.problems.append({line, header->value(fields, "Location"), *row.problem});
                continue;
            }
            if (row.channel == 0)
                continue;
            if (next > channelCount) {
                ++result.rowsPastEnd;
                continue;
            }
            ++next;
            placeRow(result, current, row);
            taken[static_cast<std::size_t>(row.channel - 1)] = true;
            continue;
        }
        const ChirpRow row = readChirpRow(*header, fields, model, taken);
        if (row.problem) {
            const QString location = header->value(fields, "Location");
            result.problems.append({line, location, *row.problem});
            bool ok = false;
            const int n = location.toInt(&ok);
            if (ok && n >= 1 && n <= channelCount)
                refused[static_cast<std::size_t>(n - 1)] = true;
            continue;
        }
        if (row.channel == 0)
            continue;
        placeRow(result, current, row);
        taken[static_cast<std::size_t>(row.channel - 1)] = true;
    }
    for (int row = 0; row < channelCount; ++row) {
        const auto i = static_cast<std::size_t>(row);
        if (taken[i] || refused[i])
            continue;
        ChannelRecord &record = result.table[i];
        for (int field : chirpFields)
            record[field] = QLatin1String("");
    }
    return result;
}

} // namespace zw
