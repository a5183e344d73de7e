#include "chirpcsv.h"

#include "csvtext.h"
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

// A frequency field in units of 10 Hz (MHz x 100000), or nothing for an empty channel.
std::optional<qint64> units(const QString &text)
{
    const double mhz = readNumber(text);
    if (mhz <= 0)
        return std::nullopt;
    return qint64(std::llround(mhz * 100000.0));
}

QString mhzText(qint64 units10Hz)
{
    // Six decimals: the unit is 10 Hz, so the last digit is always 0. A transmit frequency
    // below 0 (an offset larger than the frequency) is shown with its sign.
    const QString sign = units10Hz < 0 ? QStringLiteral("-") : QString();
    const qint64 magnitude = units10Hz < 0 ? -units10Hz : units10Hz;
    return sign + QString::number(magnitude / 100000) + QLatin1Char('.') +
           QStringLiteral("%1").arg((magnitude % 100000) * 10, 6, 10, QLatin1Char('0'));
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
    if (hz > 0) {
        s.kind = Squelch::Tone;
        s.tenths = int(std::lround(hz * 10));
    }
    return s;
}

QString toneText(int tenths)
{
    return QString::number(tenths / 10) + QLatin1Char('.') + QString::number(tenths % 10);
}

// A frequency column: MHz with at most 6 decimals, or with a " MHz" / " kHz" suffix.
// Why a row cannot be taken, for the command line (English) and the window (either language).
struct CsvReason {
    QString english;
    QString chinese;
};

std::optional<qint64> parseFrequency(const QString &raw, CsvReason *why)
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
    if (!ok || value < 0) {
        *why = {QStringLiteral("frequency \"%1\" is not a number").arg(raw),
                QStringLiteral("频率“%1”不是数字").arg(raw)};
        return std::nullopt;
    }
    const qsizetype point = text.indexOf(u'.');
    if (scale == 1.0 && point >= 0 && text.size() - point - 1 > 6) {
        *why = {QStringLiteral("frequency \"%1\" has more than 6 decimals").arg(raw),
                QStringLiteral("频率“%1”的小数超过 6 位").arg(raw)};
        return std::nullopt;
    }
    const double hz = value * scale * 1e6;
    if (std::fabs(hz - std::round(hz / 10.0) * 10.0) > 0.5) {
        *why = {QStringLiteral("frequency \"%1\" is finer than 10 Hz").arg(raw),
                QStringLiteral("频率“%1”精确到 10 Hz 以下").arg(raw)};
        return std::nullopt;
    }
    return qint64(std::llround(hz / 10.0));
}

bool onRaster(qint64 units10Hz)
{
    return units10Hz % 625 == 0 || units10Hz % 500 == 0;
}

// A CHIRP tone column ("88.5") as one of this radio's tones, or an explanation.
std::optional<QString> radioTone(const QString &raw, CsvReason *why)
{
    bool ok = false;
    const double hz = raw.trimmed().toDouble(&ok);
    if (ok) {
        const int tenths = int(std::lround(hz * 10));
        for (const QString &tone : ctcssTones())
            if (int(std::lround(tone.toDouble() * 10)) == tenths)
                return tone;
    }
    *why = {
        QStringLiteral("CTCSS tone %1 Hz is not one of the radio's 39 tones").arg(raw.trimmed()),
        QStringLiteral("CTCSS 亚音 %1 Hz 不在对讲机的 39 个亚音之中").arg(raw.trimmed())};
    return std::nullopt;
}

std::optional<QString> radioDcs(const QString &raw, QChar polarity, CsvReason *why)
{
    const QString code = raw.trimmed().rightJustified(3, u'0');
    if (polarity != u'N') {
        *why = {
            QStringLiteral("DCS code %1 with inverted polarity: the radio has normal polarity only")
                .arg(code),
            QStringLiteral("DCS 码 %1 为反相：对讲机只有正相").arg(code)};
        return std::nullopt;
    }
    if (!dcsCodes().contains(code)) {
        *why = {QStringLiteral("DCS code %1 is not one of the radio's 83 codes").arg(raw.trimmed()),
                QStringLiteral("DCS 码 %1 不在对讲机的 83 个码之中").arg(raw.trimmed())};
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

QByteArray exportChirpCsv(const ChannelTable &table, const ModelInfo &model)
{
    QString out = header().join(u',') + QStringLiteral("\r\n");
    for (int row = 0; row < channelCount; ++row) {
        const ChannelRecord &r = table[static_cast<std::size_t>(row)];
        const std::optional<qint64> rx = units(r[RxFrequency]);
        if (!rx)
            continue;
        const std::optional<qint64> tx = units(r[TxFrequency]);
        QString duplex;
        qint64 offset = 0;
        if (!tx) {
            duplex = QStringLiteral("off");
        } else if (*tx != *rx) {
            const qint64 diff = *tx - *rx;
            // Repeater-style offsets as +/-; anything wider as an absolute transmit frequency.
            if (std::llabs(diff) <= 1000000) {
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

        const QString step = *rx % 500 == 0 ? QStringLiteral("5.00") : QStringLiteral("6.25");
        const QStringList fields{
            QString::number(row + 1),
            QString(),
            mhzText(*rx),
            duplex,
            mhzText(offset),
            mode,
            rTone,
            cTone,
            dtcs,
            QStringLiteral("NN"),
            rxDtcs,
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

CsvImport importChirpCsv(const QByteArray &bytes, const ModelInfo &model,
                         const ChannelTable &current)
{
    CsvImport result;
    result.table = current;
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);

    QList<std::pair<int, QStringList>> rows;
    for (const auto &row : parseCsv(text))
        if (!row.second.first().trimmed().startsWith(u'#'))
            rows.append(row);
    if (rows.isEmpty()) {
        result.error = QStringLiteral("the file holds no CSV header");
        return result;
    }
    QHash<QString, int> column;
    const QStringList &names = rows.first().second;
    for (int i = 0; i < names.size(); ++i)
        column.insert(names.at(i).trimmed(), i);
    if (!column.contains(QStringLiteral("Location")) ||
        !column.contains(QStringLiteral("Frequency"))) {
        result.error = QStringLiteral("the header has no Location and Frequency columns");
        return result;
    }
    rows.removeFirst();

    std::array<bool, channelCount> taken{};
    std::array<bool, channelCount> rejected{};
    for (const auto &[line, fields] : rows) {
        auto get = [&, &fields = fields](const char *name) {
            const int i = column.value(QLatin1String(name), -1);
            return (i >= 0 && i < fields.size()) ? fields.at(i).trimmed() : QString();
        };
        auto has = [&](const char *name) { return column.contains(QLatin1String(name)); };
        const QString location = get("Location");
        auto reject = [&, line = line](const CsvReason &why) {
            result.problems.append({line, location, why.english, why.chinese});
            bool ok = false;
            const int n = location.toInt(&ok);
            if (ok && n >= 1 && n <= channelCount)
                rejected[static_cast<std::size_t>(n - 1)] = true;
        };

        CsvReason why;
        const std::optional<qint64> rx = parseFrequency(get("Frequency"), &why);
        if (!rx) {
            reject(why);
            continue;
        }
        if (*rx == 0)
            continue; // CHIRP's empty memory
        bool ok = false;
        const int channel = location.toInt(&ok);
        if (!ok || channel < 1 || channel > channelCount) {
            reject({QStringLiteral("Location %1 is not a channel of this radio (1 to 16)")
                        .arg(location),
                    QStringLiteral("位置 %1 不是本机的信道（1 到 16）").arg(location)});
            continue;
        }
        if (taken[static_cast<std::size_t>(channel - 1)]) {
            reject({QStringLiteral("channel %1 appears twice").arg(channel),
                    QStringLiteral("信道 %1 出现了两次").arg(channel)});
            continue;
        }
        auto inBand = [&](qint64 u) {
            return u >= qint64(std::llround(model.band.bandLow * 100000)) &&
                   u <= qint64(std::llround(model.band.bandHigh * 100000));
        };
        if (!inBand(*rx)) {
            reject({QStringLiteral("receive frequency %1 MHz is outside %2 to %3 MHz")
                        .arg(mhzText(*rx))
                        .arg(model.band.bandLow)
                        .arg(model.band.bandHigh),
                    QStringLiteral("接收频率 %1 MHz 超出 %2 到 %3 MHz")
                        .arg(mhzText(*rx))
                        .arg(model.band.bandLow)
                        .arg(model.band.bandHigh)});
            continue;
        }
        if (!onRaster(*rx)) {
            reject(
                {QStringLiteral("receive frequency %1 MHz is not on the 5 kHz or 6.25 kHz raster")
                     .arg(mhzText(*rx)),
                 QStringLiteral("接收频率 %1 MHz 不在 5 kHz 或 6.25 kHz 的步进上")
                     .arg(mhzText(*rx))});
            continue;
        }

        // Transmit frequency.
        const QString duplex = get("Duplex");
        qint64 txUnits = *rx; // meaningful only while hasTx
        bool hasTx = true;
        if (!duplex.isEmpty() && duplex != QLatin1String("off")) {
            const std::optional<qint64> offset = parseFrequency(get("Offset"), &why);
            if (!offset) {
                reject(why);
                continue;
            }
            if (duplex == QLatin1String("+"))
                txUnits = *rx + *offset;
            else if (duplex == QLatin1String("-"))
                txUnits = *rx - *offset;
            else if (duplex == QLatin1String("split"))
                txUnits = *offset;
            else {
                reject({QStringLiteral("Duplex \"%1\" is not known").arg(duplex),
                        QStringLiteral("不认识的 Duplex“%1”").arg(duplex)});
                continue;
            }
        } else if (duplex == QLatin1String("off")) {
            hasTx = false;
        }
        if (hasTx && !inBand(txUnits)) {
            reject({QStringLiteral("transmit frequency %1 MHz is outside %2 to %3 MHz")
                        .arg(mhzText(txUnits))
                        .arg(model.band.bandLow)
                        .arg(model.band.bandHigh),
                    QStringLiteral("发送频率 %1 MHz 超出 %2 到 %3 MHz")
                        .arg(mhzText(txUnits))
                        .arg(model.band.bandLow)
                        .arg(model.band.bandHigh)});
            continue;
        }
        if (hasTx && !onRaster(txUnits)) {
            reject(
                {QStringLiteral("transmit frequency %1 MHz is not on the 5 kHz or 6.25 kHz raster")
                     .arg(mhzText(txUnits)),
                 QStringLiteral("发送频率 %1 MHz 不在 5 kHz 或 6.25 kHz 的步进上")
                     .arg(mhzText(txUnits))});
            continue;
        }

        // Squelch on both sides.
        QString rTone = get("rToneFreq");
        QString cTone = get("cToneFreq");
        if (!has("rToneFreq"))
            rTone = cTone;
        if (!has("cToneFreq"))
            cTone = rTone;
        const QString dtcs = get("DtcsCode");
        const QString rxDtcs = has("RxDtcsCode") ? get("RxDtcsCode") : dtcs;
        const QString polarity =
            get("DtcsPolarity").isEmpty() ? QStringLiteral("NN") : get("DtcsPolarity");
        const QString mode = get("Tone");
        enum class Side { None, Tone, Dcs };
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
            const QString t = arrow < 0 ? QString() : cross.left(arrow);
            const QString r = arrow < 0 ? QString() : cross.mid(arrow + 2);
            auto side = [](const QString &s) {
                return s == QLatin1String("Tone")   ? std::optional<Side>(Side::Tone)
                       : s == QLatin1String("DTCS") ? std::optional<Side>(Side::Dcs)
                       : s.isEmpty()                ? std::optional<Side>(Side::None)
                                                    : std::nullopt;
            };
            const auto ts = side(t);
            const auto rs = side(r);
            if (arrow < 0 || !ts || !rs) {
                reject({QStringLiteral("CrossMode \"%1\" is not known").arg(cross),
                        QStringLiteral("不认识的 CrossMode“%1”").arg(cross)});
                continue;
            }
            txSide = *ts;
            rxSide = *rs;
            txToneHz = rTone;
            rxToneHz = cTone;
            txCode = dtcs;
            rxCode = rxDtcs;
        } else {
            reject({QStringLiteral("Tone mode \"%1\" cannot be stored in this radio").arg(mode),
                    QStringLiteral("Tone 方式“%1”不能存入本机").arg(mode)});
            continue;
        }
        QString fields2, fields5;
        bool bad = false;
        auto resolve = [&](Side s, const QString &hz, const QString &code, QChar pol,
                           QString *out) {
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
        if (!resolve(txSide, txToneHz, txCode, txPol, &fields5) ||
            !resolve(rxSide, rxToneHz, rxCode, rxPol, &fields2))
            bad = true;
        if (bad) {
            reject(why);
            continue;
        }

        ChannelRecord record = current[static_cast<std::size_t>(channel - 1)];
        record[RxFrequency] = formatFrequency(double(*rx) / 100000.0);
        record[TxFrequency] =
            hasTx ? formatFrequency(double(txUnits) / 100000.0) : QString(QLatin1String(""));
        record[RxTone] = fields2;
        record[TxTone] = fields5;
        record[Scan] =
            get("Skip") == QLatin1String("S") ? QStringLiteral("del") : QStringLiteral("add");
        record[Bcl] = QStringLiteral("off");
        record[Beat] = QStringLiteral("off");
        const QString power = get("Power");
        const std::optional<double> watts = parseWatts(power);
        if (!power.isEmpty() && !watts) {
            reject({QStringLiteral("Power \"%1\" is not a watt value").arg(power),
                    QStringLiteral("功率“%1”不是瓦数").arg(power)});
            continue;
        }
        const double middle = (model.highPowerWatts + model.lowPowerWatts) / 2;
        record[Power] =
            (power.isEmpty() || *watts >= middle) ? QStringLiteral("H") : QStringLiteral("L");
        for (QString &f : record.fields)
            if (f.isNull())
                f = QLatin1String("");
        result.table[static_cast<std::size_t>(channel - 1)] = record;
        taken[static_cast<std::size_t>(channel - 1)] = true;
        ++result.rowsTaken;
    }
    for (int row = 0; row < channelCount; ++row) {
        const auto i = static_cast<std::size_t>(row);
        if (taken[i] || rejected[i])
            continue;
        ChannelRecord &record = result.table[i];
        for (int field : {RxFrequency, RxTone, TxFrequency, TxTone, Scan, Bcl, Beat, Power})
            record[field] = QLatin1String("");
    }
    return result;
}

} // namespace zw
