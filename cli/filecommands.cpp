#include "filecommands.h"

#include "chirpcsv.h"
#include "console.h"
#include "radiosettings.h"
#include "savefile.h"

#include <QFile>
#include <QStringList>

#include <algorithm>

namespace zw::cli
{

namespace
{

// A CHIRP list of a few hundred channels is far below this; anything larger is no channel list.
constexpr qint64 maxCsvFileSize = 1024 * 1024;

// Reads at most `limit` + 1 bytes, so a file over the limit is told without reading it all.
bool readBounded(const QString &path, qint64 limit, QByteArray *bytes, QString *message)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *message = QStringLiteral("cannot open %1: %2").arg(path, file.errorString());
        return false;
    }
    *bytes = file.read(limit + 1);
    if (bytes->size() > limit) {
        *message = QStringLiteral("%1 is too large (more than %2 bytes)")
                       .arg(path, QString::number(limit));
        return false;
    }
    return true;
}

QString modelLine(const LoadedChannelFile &file)
{
    if (file.model)
        return modelInfo(*file.model).name;
    return QStringLiteral("no model (model code \"%1\")").arg(file.data.modelCode);
}

} // namespace

ChannelTable newModelTable()
{
    ChannelTable table;
    for (int row = 0; row < channelCount; ++row) {
        ChannelRecord &record = table[static_cast<std::size_t>(row)];
        for (QString &field : record.fields)
            field = QLatin1String("");
        record[ChannelNumber] = QString::number(row + 1);
    }
    return table;
}

QString shortModelName(Model model)
{
    return modelInfo(model).name.mid(6); // after "ZW4630"
}

std::optional<Model> modelFromShortName(const QString &name)
{
    if (name.isEmpty())
        return std::nullopt;
    return modelFromName(QStringLiteral("ZW4630") + name.toUpper());
}

LoadedChannelFile loadChannelFile(const QString &path)
{
    LoadedChannelFile result;
    QByteArray bytes;
    if (!readBounded(path, maxChannelFileSize, &bytes, &result.message))
        return result;
    const ChannelFileRead read = readChannelFile(bytes);
    if (!read.ok) {
        result.message = QStringLiteral("%1 is not a channel file this program can use: %2")
                             .arg(path, read.error);
        return result;
    }
    result.ok = true;
    result.data = read.data;
    result.model = modelFromCode(read.data.modelCode);
    return result;
}

QString otherModelFileRefusal(const QString &path, const LoadedChannelFile &file, Model model,
                              const QString &action)
{
    if (!file.model || *file.model == model)
        return QString();
    return QStringLiteral("%1 is a channel file of a %2, not of a %3: %4 (give --model %5 for "
                          "a %2)")
        .arg(path, modelInfo(*file.model).name, modelInfo(model).name, action,
             shortModelName(*file.model));
}

QString saveWhole(const QString &path, const QByteArray &bytes)
{
    // The old file is replaced only once the new one is written whole.
    if (const QString why = saveWholeFile(path, bytes); !why.isEmpty())
        return QStringLiteral("cannot write %1: %2").arg(path, why);
    return QString();
}

QString saveChannelFile(const QString &path, const ChannelFileData &data)
{
    const ChannelFileBytes bytes = writeChannelFile(data);
    if (!bytes.ok)
        return QStringLiteral("cannot write %1: %2").arg(path, bytes.error);
    return saveWhole(path, bytes.bytes);
}

int showFile(const QString &path)
{
    const LoadedChannelFile file = loadChannelFile(path);
    if (!file.ok) {
        report(file.message);
        return Failed;
    }
    const QStringList header{
        QStringLiteral("CH"),     QStringLiteral("RX MHz"),  QStringLiteral("RX TONE"),
        QStringLiteral("TX MHz"), QStringLiteral("TX TONE"), QStringLiteral("SCAN"),
        QStringLiteral("BCL"),    QStringLiteral("BEAT"),    QStringLiteral("POWER")};
    const int fields[] = {RxFrequency, RxTone, TxFrequency, TxTone, Scan, Bcl, Beat, Power};
    QList<QStringList> rows{header};
    for (int row = 0; row < channelCount; ++row) {
        const ChannelRecord &record = file.data.records[static_cast<std::size_t>(row)];
        QStringList cells{QString::number(row + 1)};
        for (int field : fields)
            cells << record[field].trimmed();
        rows << cells;
    }
    QList<qsizetype> widths(header.size(), 0);
    for (const QStringList &cells : rows)
        for (qsizetype i = 0; i < cells.size(); ++i)
            widths[i] = std::max(widths[i], cells.at(i).size());

    QString text = QStringLiteral("model          %1\nchannel tone   %2\nsquelch level  %3\n\n")
                       .arg(modelLine(file), file.data.channelTone, file.data.squelchLevel);
    for (const QStringList &cells : rows) {
        QString line = cells.at(0).rightJustified(widths[0]);
        for (qsizetype i = 1; i < cells.size(); ++i)
            line += QStringLiteral("  ") + cells.at(i).leftJustified(widths[i]);
        while (line.endsWith(u' '))
            line.chop(1);
        text += line + QLatin1Char('\n');
    }
    printOut(text);
    return Success;
}

int exportCsv(const QString &path, const QString &outPath, std::optional<Model> model)
{
    const LoadedChannelFile file = loadChannelFile(path);
    if (!file.ok) {
        report(file.message);
        return Failed;
    }
    if (model) {
        const QString refusal =
            otherModelFileRefusal(path, file, *model, QStringLiteral("nothing written"));
        if (!refusal.isEmpty()) {
            report(refusal);
            return Failed;
        }
    } else if (!file.model) {
        report(QStringLiteral("%1 names no model (model code \"%2\"): give --model V, UH, UM or "
                              "UL; nothing written")
                   .arg(path, file.data.modelCode));
        return Failed;
    }
    const ModelInfo &info = modelInfo(model ? *model : *file.model);
    const QString error = saveWhole(outPath, exportChirpCsv(file.data.records, info));
    if (!error.isEmpty()) {
        report(error);
        return Failed;
    }
    return Success;
}

int importCsv(const QString &path, Model model, const QString &outPath, bool skipBad)
{
    QByteArray bytes;
    QString message;
    if (!readBounded(path, maxCsvFileSize, &bytes, &message)) {
        report(message);
        return Failed;
    }
    const ModelInfo &info = modelInfo(model);
    const CsvImport imported = importChirpCsv(bytes, info, newModelTable());
    if (!imported.error.isEmpty()) {
        report(QStringLiteral("%1 is not a CHIRP CSV file: %2; nothing written")
                   .arg(path, imported.error));
        return Failed;
    }
    for (const CsvRowProblem &problem : imported.problems)
        printError(
            QStringLiteral("%1:%2: Location %3: %4\n")
                .arg(path, QString::number(problem.line),
                     problem.location.isEmpty() ? QStringLiteral("(none)") : problem.location,
                     problem.reason));
    if (!imported.problems.isEmpty() && !skipBad) {
        report(QStringLiteral(
                   "%1 of the rows of %2 cannot go into a %3 (listed above); nothing "
                   "written. Correct them, or give --skip-bad to write the %4 rows that fit")
                   .arg(QString::number(imported.problems.size()), path, info.name,
                        QString::number(imported.rowsTaken)));
        return Failed;
    }
    if (imported.rowsTaken == 0) {
        report(QStringLiteral("%1 holds no channel a %2 can take; nothing written")
                   .arg(path, info.name));
        return Failed;
    }
    ChannelFileData data;
    data.modelCode = info.code;
    // CHIRP lists carry no radio-wide settings: those of a new model window.
    data.channelTone = defaultChannelTone();
    data.squelchLevel = defaultSquelchLevel();
    data.records = imported.table;
    const QString error = saveChannelFile(outPath, data);
    if (!error.isEmpty()) {
        report(error);
        return Failed;
    }
    return Success;
}

} // namespace zw::cli
