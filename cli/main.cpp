// zw4630-cli: reads and writes ZW4630 radios, shows channel files and converts them to and
// from CHIRP CSV, without a window. See --help.
#include "backups.h"
#include "console.h"
#include "filecommands.h"
#include "filenames.h"
#include "fleetcommand.h"
#include "fleetrun.h"
#include "portcommands.h"
#include "radiocommands.h"
#include "savefile.h"
#include "serialtrace.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <memory>

using namespace zw;
using namespace zw::cli;

namespace
{

constexpr int defaultReadyTimeoutSeconds = 5;
constexpr int defaultProbeTimeoutMs = 700;

// One row per command: its name, its line in the overview of --help, its usage line and help
// text, and the function that runs it with the command's own arguments (the program name
// first). "@MODELS@" in a usage line stands for the models' short names as "V|UH|UM|UL",
// "@MODEL_LIST@" in a help text for them as "V, UH, UM or UL".
struct Command {
    const char *name;
    const char *summary;
    const char *usage;
    const char *help;
    int (*run)(const Command &command, const QStringList &arguments);
};

QString withModels(const char *text)
{
    const QStringList names = modelTexts(&ModelInfo::shortName);
    return QString::fromUtf8(text)
        .replace(QStringLiteral("@MODELS@"), names.join(u'|'))
        .replace(QStringLiteral("@MODEL_LIST@"), spokenList(names, QStringLiteral("or")));
}

int usageError(const Command &command, const QString &message)
{
    report(QStringLiteral("%1: %2").arg(QLatin1String(command.name), message));
    printError(QStringLiteral("Usage: %1\nTry 'zw4630-cli %2 --help'.\n")
                   .arg(withModels(command.usage), QLatin1String(command.name)));
    return BadUsage;
}

// The options of one command, parsed; `positionals` is the number of plain arguments wanted.
struct Parsed {
    QCommandLineParser parser;
    int status = -1; // an exit status when the command is already done (help, bad usage)
};

const QCommandLineOption portOption({QStringLiteral("port")}, QString(), QStringLiteral("DEVICE"));
const QCommandLineOption modelOption({QStringLiteral("model")}, QString(), QStringLiteral("MODEL"));
const QCommandLineOption outOption({QStringLiteral("o"), QStringLiteral("output")}, QString(),
                                   QStringLiteral("FILE"));
const QCommandLineOption timeoutOption({QStringLiteral("timeout")}, QString(),
                                       QStringLiteral("SECONDS"));
const QCommandLineOption skipBadOption({QStringLiteral("skip-bad")}, QString());
const QCommandLineOption probeOption({QStringLiteral("probe")}, QString());
const QCommandLineOption traceOption({QStringLiteral("trace")}, QString(), QStringLiteral("FILE"));
const QCommandLineOption noVerifyOption({QStringLiteral("no-verify")}, QString());
const QCommandLineOption repeatOption({QStringLiteral("repeat")}, QString(), QStringLiteral("N"));
const QCommandLineOption logOption({QStringLiteral("log")}, QString(), QStringLiteral("FILE"));
const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("help")}, QString());

// An option as the usage line writes it: "-o", "--port".
QString spelling(const QCommandLineOption &option)
{
    const QString name = option.names().constFirst();
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

void parse(Parsed &parsed, const Command &command, const QStringList &arguments,
           const QList<QCommandLineOption> &options, int positionals,
           const QList<const QCommandLineOption *> &required)
{
    QCommandLineParser &parser = parsed.parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOptions(options);
    parser.addOption(helpOption);
    if (!parser.parse(arguments)) {
        parsed.status = usageError(command, parser.errorText());
        return;
    }
    if (parser.isSet(helpOption)) {
        printOut(QStringLiteral("Usage: %1\n\n%2")
                     .arg(withModels(command.usage), withModels(command.help)));
        parsed.status = Success;
        return;
    }
    const QStringList plain = parser.positionalArguments();
    if (plain.size() != positionals) {
        parsed.status = usageError(
            command, plain.size() < positionals
                         ? QStringLiteral("a file name is missing")
                         : QStringLiteral("unexpected argument '%1'").arg(plain.at(positionals)));
        return;
    }
    for (const QCommandLineOption *option : required) {
        if (!parser.isSet(*option) || parser.value(*option).isEmpty()) {
            parsed.status =
                usageError(command, QStringLiteral("option %1 is missing").arg(spelling(*option)));
            return;
        }
    }
    // Only options this command defines can be asked for (asking for others warns).
    const QStringList given = parser.optionNames();
    if (given.contains(QStringLiteral("model")) && !modelFromShortName(parser.value(modelOption))) {
        parsed.status =
            usageError(command, QStringLiteral("unknown model '%1' (%2)")
                                    .arg(parser.value(modelOption), withModels("@MODEL_LIST@")));
        return;
    }
    if (given.contains(QStringLiteral("timeout"))) {
        bool ok = false;
        const double seconds = parser.value(timeoutOption).toDouble(&ok);
        // NaN passes every comparison: it and the infinities are refused first.
        if (!ok || !std::isfinite(seconds) || seconds <= 0 || seconds > 600) {
            parsed.status =
                usageError(command, QStringLiteral("--timeout takes seconds from 0 to 600"));
            return;
        }
    }
}

// --trace FILE: from here on every character on the line, each port's opening and closing, go
// to FILE as they happen. FILE must not be one of the command's own files: opening it empties it.
// An exit status when the command cannot go on, else -1.
int startTrace(const QCommandLineParser &parser, const QStringList &ownFiles)
{
    if (!parser.isSet(traceOption))
        return -1;
    const QString path = parser.value(traceOption);
    for (const QString &own : ownFiles) {
        if (sameFile(path, own) || QDir::cleanPath(QFileInfo(path).absoluteFilePath()) ==
                                       QDir::cleanPath(QFileInfo(own).absoluteFilePath())) {
            report(QStringLiteral("%1 is the channel file: the trace needs a file of its own")
                       .arg(QDir::toNativeSeparators(path)));
            return Failed;
        }
    }
    auto file = std::make_unique<QFile>();
    if (const Result opened = openNewFile(file.get(), path); !opened) {
        report(QStringLiteral("cannot write the serial trace to %1: %2")
                   .arg(QDir::toNativeSeparators(path), opened.error()));
        return Failed;
    }
    SerialTrace::instance().setOutput(std::move(file));
    return -1;
}

int readyTimeoutMs(const QCommandLineParser &parser)
{
    if (!parser.isSet(timeoutOption))
        return defaultReadyTimeoutSeconds * 1000;
    return int(parser.value(timeoutOption).toDouble() * 1000);
}

int runRead(const Command &command, const QStringList &arguments)
{
    Parsed parsed;
    parse(parsed, command, arguments,
          {portOption, modelOption, outOption, timeoutOption, traceOption}, 0,
          {&portOption, &modelOption, &outOption});
    if (parsed.status >= 0)
        return parsed.status;
    const QCommandLineParser &p = parsed.parser;
    const QString device = p.value(portOption);
    const QString out = p.value(outOption);
    if (const int status = startTrace(p, {out}); status >= 0)
        return status;
    const Expected<ChannelFileData> read =
        readRadio(*modelFromShortName(p.value(modelOption)), device, readyTimeoutMs(p));
    if (!read) {
        report(read.error());
        return Failed;
    }
    if (const Result saved = saveChannelFile(out, *read); !saved) {
        report(saved.error());
        return Failed;
    }
    report(QStringLiteral("read the %1 on %2 into %3")
               .arg(modelInfo(*modelFromShortName(p.value(modelOption))).name, device, out));
    return Success;
}

// write, and diff (`diff`): the file is checked whole before the port is touched.
int runWriteOrDiff(const Command &command, const QStringList &arguments, bool diff)
{
    Parsed parsed;
    parse(parsed, command, arguments,
          diff ? QList<QCommandLineOption>{portOption, modelOption, timeoutOption, traceOption}
               : QList<QCommandLineOption>{portOption, modelOption, noVerifyOption, timeoutOption,
                                           repeatOption, logOption, traceOption},
          1, {&portOption, &modelOption});
    if (parsed.status >= 0)
        return parsed.status;
    const QCommandLineParser &p = parsed.parser;
    // --repeat: one radio after another, each waited for as long as it takes and always read
    // back.
    const bool fleet = p.isSet(repeatOption);
    bool countOk = false;
    const int radios = fleet ? p.value(repeatOption).toInt(&countOk) : 0;
    if (fleet && (!countOk || radios < 0))
        return usageError(command, QStringLiteral("--repeat takes a number of radios, 0 for no "
                                                  "limit"));
    if (!fleet && p.isSet(logOption))
        return usageError(command, QStringLiteral("--log goes with --repeat"));
    if (fleet && (p.isSet(noVerifyOption) || p.isSet(timeoutOption)))
        return usageError(command, QStringLiteral("--repeat waits for each radio and reads each "
                                                  "back: --no-verify and --timeout do not go "
                                                  "with it"));
    const Model model = *modelFromShortName(p.value(modelOption));
    const QString path = p.positionalArguments().constFirst();
    const QString device = p.value(portOption);
    const QString nothing = diff ? QStringLiteral("nothing read") : QStringLiteral("nothing sent");
    const Expected<LoadedChannelFile> loaded = loadChannelFile(path);
    if (!loaded) {
        report(loaded.error() + QStringLiteral("; ") + nothing);
        return Failed;
    }
    const LoadedChannelFile &file = *loaded;
    const QString refusal = otherModelFileRefusal(path, file, model, nothing);
    if (!refusal.isEmpty()) {
        report(refusal);
        return Failed;
    }
    QString logPath = p.value(logOption);
    if (fleet && logPath.isEmpty()) {
        const QString folder = backupFolder();
        if (folder.isEmpty() || !QDir().mkpath(folder)) {
            report(QStringLiteral("no place for the log (%1): name one with --log; nothing sent")
                       .arg(folder.isEmpty() ? QStringLiteral("no backups folder")
                                             : QDir::toNativeSeparators(folder)));
            return Failed;
        }
        logPath = FleetRun::defaultLogName(folder, QDate::currentDate());
    }
    if (const int status = startTrace(p, {path, logPath}); status >= 0)
        return status;
    if (fleet)
        return writeFleet(model, device, path, file.data, radios, logPath);
    if (diff)
        return diffRadio(model, device, readyTimeoutMs(p), path, file.data);
    return writeRadio(model, device, readyTimeoutMs(p), file.data, !p.isSet(noVerifyOption));
}

int runWrite(const Command &command, const QStringList &arguments)
{
    return runWriteOrDiff(command, arguments, false);
}

int runDiff(const Command &command, const QStringList &arguments)
{
    return runWriteOrDiff(command, arguments, true);
}

int runShow(const Command &command, const QStringList &arguments)
{
    Parsed parsed;
    parse(parsed, command, arguments, {}, 1, {});
    if (parsed.status >= 0)
        return parsed.status;
    return showFile(parsed.parser.positionalArguments().constFirst());
}

int runExport(const Command &command, const QStringList &arguments)
{
    Parsed parsed;
    parse(parsed, command, arguments, {outOption, modelOption}, 1, {&outOption});
    if (parsed.status >= 0)
        return parsed.status;
    const QCommandLineParser &p = parsed.parser;
    return exportCsv(p.positionalArguments().constFirst(), p.value(outOption),
                     modelFromShortName(p.value(modelOption)));
}

int runImport(const Command &command, const QStringList &arguments)
{
    Parsed parsed;
    parse(parsed, command, arguments, {modelOption, outOption, skipBadOption}, 1,
          {&modelOption, &outOption});
    if (parsed.status >= 0)
        return parsed.status;
    const QCommandLineParser &p = parsed.parser;
    return importCsv(p.positionalArguments().constFirst(),
                     *modelFromShortName(p.value(modelOption)), p.value(outOption),
                     p.isSet(skipBadOption));
}

int runPorts(const Command &command, const QStringList &arguments)
{
    Parsed parsed;
    parse(parsed, command, arguments, {probeOption, portOption, timeoutOption, traceOption}, 0, {});
    if (parsed.status >= 0)
        return parsed.status;
    const QCommandLineParser &p = parsed.parser;
    const bool probe = p.isSet(probeOption);
    if (!probe && (p.isSet(portOption) || p.isSet(timeoutOption)))
        return usageError(command, QStringLiteral("--port and --timeout go with --probe"));
    const int timeoutMs = p.isSet(timeoutOption) ? readyTimeoutMs(p) : defaultProbeTimeoutMs;
    if (const int status = startTrace(p, {}); status >= 0)
        return status;
    return listPorts(probe, p.values(portOption), timeoutMs);
}

const Command commands[] = {
    {"read", "read a radio into a channel file",
     "zw4630-cli read --port DEVICE --model @MODELS@ -o FILE [--timeout SECONDS] [--trace FILE]",
     R"(Reads the 16 channels and the two radio settings of a radio into a channel
file (the format the program saves). The radio must answer the ready poll
within the time-out (default 5 seconds). A radio of another model is refused,
naming its model, and nothing is written.

Options:
  --port DEVICE      serial device of the cable, e.g. /dev/ttyUSB0
  --model MODEL      the radio's model: @MODEL_LIST@
  -o FILE            the channel file to write (replaced whole)
  --timeout SECONDS  how long to wait for the radio's ready answer
  --trace FILE       write every character on the line to FILE as it goes
)",
     runRead},
    {"write", "write a channel file into a radio and read it back",
     "zw4630-cli write --port DEVICE --model @MODELS@ FILE [--no-verify] [--timeout SECONDS] "
     "[--repeat N [--log FILE]] [--trace FILE]",
     R"(Writes the channels and the two radio settings of a channel file into a
radio, paced as the program writes. The radio must answer the ready poll
within the time-out (default 5 seconds). Before anything is sent the radio is
read once to learn its model, and what it holds is kept as a channel file in
the tool's backups folder. A file or a radio of another model is refused,
naming its model, and nothing is sent. Writing such a backup puts the radio
back as it was.

After the write the radio is read back and compared with what was sent.
Exit status 0 when it holds what was written (the message names the channels
the write changed), 3 when it holds something else (the channels are listed
with what the radio holds: write again), 4 when it could not be read back, 1
when nothing or not all of the file was sent.

With --repeat N the file is written into one radio after another: each is
identified, kept, written and read back as above, then the tool waits until it
is switched off (no answer for 1 second) and for the next one to answer, and
says each wait in words. A radio of another model is refused and left
untouched; a radio switched off during the write is not written, and is
written again as the next radio when it comes back on. N counts every radio
that answered, whatever its outcome; 0 runs until interrupted (Ctrl+C or
SIGTERM end the run after the radio being written). Each radio is a row of the
log (CSV: radio,time,model,outcome,changed_channels,backup), appended and
synced as soon as it is done. Exit status 0 when every radio was written and
verified, else 1 when any was refused or not written, else 4 when any could
not be read back, else 3.

Options:
  --port DEVICE      serial device of the cable, e.g. /dev/ttyUSB0
  --model MODEL      the radio's model: @MODEL_LIST@
  --no-verify        do not read the radio back after the write
  --timeout SECONDS  how long to wait for the radio's ready answer
  --repeat N         write radio after radio, N of them (0: until interrupted)
  --log FILE         with --repeat: the log to append to (default
                     fleet-YYYYMMDD.csv in the backups folder)
  --trace FILE       write every character on the line to FILE as it goes
)",
     runWrite},
    {"diff", "show where a radio differs from a channel file",
     "zw4630-cli diff --port DEVICE --model @MODELS@ FILE [--timeout SECONDS] [--trace FILE]",
     R"(Reads the radio and prints, channel by channel, where it differs from a
channel file as a write of that file would leave it: what the radio holds and
what the file holds. Writes nothing. Exit status 0 when they hold the same, 1
when they differ or the radio could not be read.

Options:
  --port DEVICE      serial device of the cable, e.g. /dev/ttyUSB0
  --model MODEL      the radio's model: @MODEL_LIST@
  --timeout SECONDS  how long to wait for the radio's ready answer
  --trace FILE       write every character on the line to FILE as it goes
)",
     runDiff},
    {"show", "print a channel file as a table", "zw4630-cli show FILE",
     R"(Prints a channel file: its model, the channel tone, the squelch level and
the 16 channels as an aligned table.
)",
     runShow},
    {"export-csv", "convert a channel file to CHIRP CSV",
     "zw4630-cli export-csv FILE -o OUT.csv [--model @MODELS@]",
     R"(Converts a channel file to CHIRP CSV. BCL and beat have no CHIRP column and
are left out; power is written in the model's watts.

Options:
  -o OUT.csv     the CSV file to write (replaced whole)
  --model MODEL  the model to take a file for: needed only for a file whose
                 first value names no model; a file of another model is refused
)",
     runExport},
    {"import-csv", "convert CHIRP CSV to a channel file",
     "zw4630-cli import-csv IN.csv --model @MODELS@ -o FILE [--skip-bad]",
     R"(Converts CHIRP CSV to a channel file of a model. Every row is checked against
the model's band, its 39 CTCSS tones and 83 DCS codes and the 5 / 6.25 kHz
raster; rows that do not fit are listed on standard error with the reason.
By default nothing is written when any row does not fit. Channels without a
row are empty; BCL and beat take the channel defaults (off); the channel tone
is 中文 and the squelch level 3.

Options:
  --model MODEL  the model to convert for: @MODEL_LIST@
  -o FILE        the channel file to write (replaced whole)
  --skip-bad     write the rows that fit and leave the others out
)",
     runImport},
    {"ports", "list the serial ports; with --probe, find the radio",
     "zw4630-cli ports [--probe [--port DEVICE]... [--timeout SECONDS]] [--trace FILE]",
     R"(Lists the serial ports the system knows, with their descriptions and USB ids.
With --probe, sends the ready poll to each of them (a few at a time, each
closed again at once) and says which one has a radio answering; exit status 1
when none answers. With --port, only the devices named are probed, listed or
not (pseudo-terminals and links such as /dev/serial/by-id/... are never
listed).

Options:
  --probe            poll the ports and say which one has a radio answering
  --port DEVICE      probe this device instead (may be given several times)
  --timeout SECONDS  how long each port may take to answer (default 0.7)
  --trace FILE       write every character on the lines to FILE as it goes
)",
     runPorts},
};

const Command *findCommand(const QString &name)
{
    for (const Command &command : commands)
        if (name == QLatin1String(command.name))
            return &command;
    return nullptr;
}

// The tool's --help: every command of the table with its summary.
QString overview()
{
    int width = 0;
    for (const Command &command : commands)
        width = std::max(width, int(qstrlen(command.name)));
    QString list;
    for (const Command &command : commands)
        list += QStringLiteral("  %1  %2\n")
                    .arg(QString::fromLatin1(command.name).leftJustified(width),
                         QString::fromUtf8(command.summary));
    return QStringLiteral(R"(Usage: zw4630-cli COMMAND [options]

Reads and writes ZW4630 radios over a serial programming cable, shows channel
files and converts them to and from CHIRP CSV.

Commands:
%1
zw4630-cli COMMAND --help describes each command.
Exit status: 0 success, 1 the operation failed, 2 wrong usage; write: 3 the
radio reads back otherwise than written, 4 it could not be read back.
)")
        .arg(list);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zw4630-cli"));
    // File names are taken byte for byte: arguments() would turn bytes that are not UTF-8
    // into U+FFFD, and name another file or none.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << fileNameFromBytes(QByteArray(argv[i]));
    const QString program = arguments.isEmpty() ? QString() : arguments.takeFirst();

    if (arguments.isEmpty()) {
        printError(overview());
        return BadUsage;
    }
    const QString command = arguments.constFirst();
    if (command == QLatin1String("--help") || command == QLatin1String("-h") ||
        command == QLatin1String("help")) {
        printOut(overview());
        return Success;
    }
    // A name the table does not hold is wrong usage: no command runs in its place.
    const Command *found = findCommand(command);
    if (!found) {
        report(QStringLiteral("unknown command '%1'").arg(command));
        printError(QStringLiteral("Try 'zw4630-cli --help'.\n"));
        return BadUsage;
    }
    // The parser takes the program name first, then the command's own arguments.
    arguments[0] = program;
    return found->run(*found, arguments);
}
