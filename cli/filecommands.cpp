#include "filecommands.h"

#include "channeltexts.h"
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

// Reads a regular file of at most `limit` bytes; a FIFO or a device is refused at once. A
// failure's `why` is the message.
Expected<QByteArray> readBounded(const QString &path, qint64 limit)
{
    Expected<QByteArray> read = readRegularFile(path, limit);
    if (read)
        return read;
    // The system's refusal is said with what was tried; the other kinds say it themselves.
    const QString text = fileFailureText(read.failure(), true);
    return Failure{read.failure().is(FileFailure::SystemRefused)
                       ? QStringLiteral("cannot open ") + text
                       : text};
}

// The refusal of an output that is the command's own input, or an empty text.
QString sameFileRefusal(const QString &path, const QString &outPath)
{
    if (!sameFile(path, outPath))
        return QString();
    return QStringLiteral("%1 is the input file: give another output; nothing written")
        .arg(outPath);
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

Expected<LoadedChannelFile> loadChannelFile(const QString &path)
{
    const Expected<QByteArray> bytes = readBounded(path, maxChannelFileSize);
    if (!bytes)
        return bytes.failure();
    const Expected<ChannelFileData> read = readChannelFile(*bytes);
    if (!read) {
        return Failure{QStringLiteral("%1 is not a channel file this program can use: %2")
                           .arg(path, fileFailureText(read.failure(), true))};
    }
    return LoadedChannelFile{*read, modelFromCode(read->modelCode)};
}

QString otherModelFileRefusal(const QString &path, const LoadedChannelFile &file, Model model,
                              const QString &action)
{
    if (!file.model || *file.model == model)
        return QString();
    return QStringLiteral("%1 is a channel file of a %2, not of a %3: %4 (give --model %5 for "
                          "a %2)")
        .arg(path, modelInfo(*file.model).name, modelInfo(model).name, action,
             modelInfo(*file.model).shortName);
}

Result saveWhole(const QString &path, const QByteArray &bytes)
{
    // The old file is replaced only once the new one is written whole.
    if (const Result saved = saveWholeFile(path, bytes); !saved) {
        const Failure &failure = saved.failure();
        if (std::holds_alternative<FileFailure>(failure.kind) &&
            !failure.is(FileFailure::SystemRefused))
            return Failure{fileFailureText(failure, true)};
        return Failure{QStringLiteral("cannot write %1: %2").arg(path, failure.why)};
    }
    return {};
}

Result saveChannelFile(const QString &path, const ChannelFileData &data)
{
    const Expected<QByteArray> bytes = writeChannelFile(data);
    if (!bytes)
        return Failure{QStringLiteral("cannot write %1: %2")
                           .arg(path, fileFailureText(bytes.failure(), true))};
    return saveWhole(path, *bytes);
}

int showFile(const QString &path)
{
    const Expected<LoadedChannelFile> loaded = loadChannelFile(path);
    if (!loaded) {
        report(loaded.error());
        return Failed;
    }
    const LoadedChannelFile &file = *loaded;
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
    if (const QString refusal = sameFileRefusal(path, outPath); !refusal.isEmpty()) {
        report(refusal);
        return Failed;
    }
    const Expected<LoadedChannelFile> loaded = loadChannelFile(path);
    if (!loaded) {
        report(loaded.error());
        return Failed;
    }
    const LoadedChannelFile &file = *loaded;
    if (model) {
        const QString refusal =
            otherModelFileRefusal(path, file, *model, QStringLiteral("nothing written"));
        if (!refusal.isEmpty()) {
            report(refusal);
            return Failed;
        }
    } else if (!file.model) {
        report(QStringLiteral("%1 names no model (model code \"%2\"): give --model %3; nothing "
                              "written")
                   .arg(path, file.data.modelCode,
                        spokenList(modelTexts(&ModelInfo::shortName), QStringLiteral("or"))));
        return Failed;
    }
    const ModelInfo &info = modelInfo(model ? *model : *file.model);
    const Expected<QByteArray> csv = exportChirpCsv(file.data.records, info);
    if (!csv) {
        report(QStringLiteral("%1 cannot be written as CSV: %2; nothing written")
                   .arg(path, fileFailureText(csv.failure(), true)));
        return Failed;
    }
    if (const Result saved = saveWhole(outPath, *csv); !saved) {
        report(saved.error());
        return Failed;
    }
    return Success;
}

int importCsv(const QString &path, Model model, const QString &outPath, bool skipBad,
              CsvPlacement placement)
{
    if (const QString refusal = sameFileRefusal(path, outPath); !refusal.isEmpty()) {
        report(refusal);
        return Failed;
    }
    const Expected<QByteArray> bytes = readBounded(path, maxCsvFileSize);
    if (!bytes) {
        report(bytes.error());
        return Failed;
    }
    const ModelInfo &info = modelInfo(model);
    const Expected<CsvImport> read = importChirpCsv(*bytes, info, newModelTable(), placement);
    if (!read) {
        report(QStringLiteral("%1 is not a CHIRP CSV file: %2; nothing written")
                   .arg(path, fileFailureText(read.failure(), true)));
        return Failed;
    }
    const CsvImport &imported = *read;
    for (const CsvRowProblem &problem : imported.problems)
        printError(
            QStringLiteral("%1:%2: Location %3: %4\n")
                .arg(path, QString::number(problem.line),
                     problem.location.isEmpty() ? QStringLiteral("(none)") : problem.location,
                     csvReasonText(problem.reason, CsvLanguage::English)));
    if (!imported.problems.isEmpty() && !skipBad) {
        const bool misplaced = std::any_of(
            imported.problems.cbegin(), imported.problems.cend(), [](const CsvRowProblem &p) {
                return p.reason.kind == CsvReasonKind::LocationNotChannel ||
                       p.reason.kind == CsvReasonKind::ChannelTwice;
            });
        report(QStringLiteral(
                   "%1 of the rows of %2 cannot go into a %3 (listed above); nothing "
                   "written. Correct them, or give --skip-bad to write the %4 rows that fit")
                   .arg(QString::number(imported.problems.size()), path, info.name,
                        QString::number(imported.rowsTaken)) +
               (misplaced ? QStringLiteral(", or --renumber to place the rows in file order into "
                                           "channels 1-16")
                          : QString()));
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
    if (const Result saved = saveChannelFile(outPath, data); !saved) {
        report(saved.error());
        return Failed;
    }
    if (placement == CsvPlacement::InFileOrder)
        report(QStringLiteral("placed %1 rows of %2 in file order into channels 1-%1%3")
                   .arg(QString::number(imported.rowsTaken), path,
                        imported.rowsPastEnd == 0
                            ? QString()
                            : QStringLiteral("; %1 more rows that fit came after channel 16 "
                                             "and were left out")
                                  .arg(imported.rowsPastEnd)));
    return Success;
}

} // namespace zw::cli
