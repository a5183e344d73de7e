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
#include <csignal>
#include <iterator>
#include <memory>

using namespace zw;
using namespace zw::cli;

namespace
{

constexpr int defaultReadyTimeoutSeconds = 5;
constexpr int defaultProbeTimeoutMs = 700;

// How a command takes an option: it must be given, it may be, or it may be given again.
enum class Need { Required, Optional, Repeated };

// One option of one command: the shared declaration (names, value name and its usual line of
// help), and this command's own line of help or value name where they differ.
struct OptionUse {
    const QCommandLineOption *option;
    Need need = Need::Optional;
    const char *help = nullptr;
    const char *valueName = nullptr;
};

// One row per command: its name, one line of purpose (the overview's line and the start of its
// help), its plain argument if it takes one ("FILE"), the options it declares, what more its
// help says, and the function that runs it with the command's own arguments (the program name
// first). The usage line, the option list and the exit statuses of its help are made from the
// row, so they cannot leave out what the parser takes. "@MODEL_LIST@" in a text stands for the
// models' short names as "V, UH, UM or UL".
struct Command {
    const char *name;
    const char *purpose;
    const char *operand;
    QList<OptionUse> options;
    const char *details;
    int (*run)(const Command &command, const QStringList &arguments);
};

// Every exit status the tool ends with and what it means: for every command (no command named),
// or for one command where its meaning there is its own. The overview and each command's help
// list them from here; the manual page is checked against them.
struct ExitMeaning {
    const char *command;
    int status;
    const char *meaning;
};

const ExitMeaning exitMeanings[] = {
    {nullptr, Success, "success"},
    {nullptr, Failed, "the operation failed; the message says what to check"},
    {nullptr, BadUsage, "wrong usage or input: a command, option or file the tool cannot take"},
    {"write", ReadBackDiffers, "all was sent, but the radio reads back otherwise than written"},
    {"write", ReadBackNotChecked, "all was sent, but the radio could not be read back"},
    {"diff", Failed, "the radio and the file differ"},
    {"diff", RadioNotRead, "the radio could not be read"},
};

QString withModels(const char *text)
{
    const QStringList names = modelTexts(&ModelInfo::shortName);
    return QString::fromUtf8(text).replace(QStringLiteral("@MODEL_LIST@"),
                                           spokenList(names, QStringLiteral("or")));
}

// A value the user gave, quoted for a message: a long one is cut, so that a mistaken paste or a
// hostile argument does not flood the terminal.
QString quoted(const QString &value)
{
    constexpr int shown = 40;
    if (value.size() <= shown)
        return QLatin1Char('\'') + value + QLatin1Char('\'');
    return QStringLiteral("'%1...' (%2 characters)").arg(value.left(shown)).arg(value.size());
}

// An option as the usage line and the option list write it: "-o FILE", "--model V|UH|UM|UL".
QString spelling(const QCommandLineOption &option)
{
    const QString name = option.names().constFirst();
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

QString withValue(const OptionUse &use, bool inUsage)
{
    QString text = spelling(*use.option);
    QString value = use.valueName ? QString::fromUtf8(use.valueName) : use.option->valueName();
    if (inUsage && value == QLatin1String("MODEL"))
        value = modelTexts(&ModelInfo::shortName).join(u'|');
    if (!value.isEmpty())
        text += QLatin1Char(' ') + value;
    return text;
}

QString usageLine(const Command &command)
{
    QStringList parts{QStringLiteral("zw4630-cli"), QString::fromLatin1(command.name)};
    for (const OptionUse &use : command.options)
        if (use.need == Need::Required)
            parts << withValue(use, true);
    if (command.operand)
        parts << QString::fromLatin1(command.operand);
    for (const OptionUse &use : command.options)
        if (use.need != Need::Required)
            parts << QLatin1Char('[') + withValue(use, true) + QLatin1Char(']') +
                         (use.need == Need::Repeated ? QStringLiteral("...") : QString());
    return parts.join(u' ');
}

// The exit statuses `command` ends with, one "  N  meaning" line each; all commands' when
// `command` is null, each command's own under a line naming it.
QString exitStatusText(const char *command)
{
    QString text;
    const auto own = [](const ExitMeaning &meaning, const char *name) {
        return meaning.command && name && qstrcmp(meaning.command, name) == 0;
    };
    const auto line = [](const ExitMeaning &meaning) {
        return QStringLiteral("  %1  %2\n").arg(meaning.status).arg(QLatin1String(meaning.meaning));
    };
    if (command) {
        QList<ExitMeaning> meanings;
        for (const ExitMeaning &meaning : exitMeanings) {
            const bool replaced =
                !meaning.command && std::any_of(std::cbegin(exitMeanings), std::cend(exitMeanings),
                                                [&](const ExitMeaning &other) {
                                                    return own(other, command) &&
                                                           other.status == meaning.status;
                                                });
            if ((!meaning.command && !replaced) || own(meaning, command))
                meanings.append(meaning);
        }
        std::stable_sort(
            meanings.begin(), meanings.end(),
            [](const ExitMeaning &a, const ExitMeaning &b) { return a.status < b.status; });
        text += QStringLiteral("Exit status:\n");
        for (const ExitMeaning &meaning : meanings)
            text += line(meaning);
        return text;
    }
    text += QStringLiteral("Exit status:\n");
    QStringList named;
    for (const ExitMeaning &meaning : exitMeanings) {
        if (!meaning.command)
            text += line(meaning);
        else if (!named.contains(QLatin1String(meaning.command)))
            named << QLatin1String(meaning.command);
    }
    for (const QString &name : named) {
        text += QStringLiteral("Exit status of %1:\n").arg(name);
        for (const ExitMeaning &meaning : exitMeanings)
            if (meaning.command && name == QLatin1String(meaning.command))
                text += line(meaning);
    }
    return text;
}

// A command's --help: usage, purpose, what more it does, its options and its exit statuses.
QString commandHelp(const Command &command)
{
    QString purpose = QString::fromUtf8(command.purpose);
    purpose[0] = purpose[0].toUpper();
    QString text = QStringLiteral("Usage: %1\n\n%2.\n").arg(usageLine(command), purpose);
    if (command.details)
        text += QLatin1Char('\n') + withModels(command.details);
    QList<std::pair<QString, QString>> lines;
    int width = 0;
    for (const OptionUse &use : command.options) {
        const QString name = withValue(use, false);
        lines.append({name, withModels(use.help ? use.help
                                                : use.option->description().toUtf8().constData())});
        width = std::max(width, int(name.size()));
    }
    lines.append({QStringLiteral("-h, --help"), QStringLiteral("describe this command")});
    width = std::max(width, 10);
    text += QStringLiteral("\nOptions:\n");
    for (const auto &[name, help] : lines)
        text += QStringLiteral("  %1  %2\n").arg(name.leftJustified(width), help);
    return text + QLatin1Char('\n') + exitStatusText(command.name);
}

int usageError(const Command &command, const QString &message)
{
    report(QStringLiteral("%1: %2").arg(QLatin1String(command.name), message));
    printError(QStringLiteral("Usage: %1\nTry 'zw4630-cli %2 --help'.\n")
                   .arg(usageLine(command), QLatin1String(command.name)));
    return BadUsage;
}

// The options of one command, parsed; `positionals` is the number of plain arguments wanted.
struct Parsed {
    QCommandLineParser parser;
    int status = -1; // an exit status when the command is already done (help, bad usage)
};

// Every option of the tool, with its usual line of help ("@MODEL_LIST@" as in a command's text).
const QCommandLineOption portOption({QStringLiteral("port")},
                                    QStringLiteral("serial device of the cable, e.g. /dev/ttyUSB0"),
                                    QStringLiteral("DEVICE"));
const QCommandLineOption modelOption({QStringLiteral("model")},
                                     QStringLiteral("the radio's model: @MODEL_LIST@"),
                                     QStringLiteral("MODEL"));
const QCommandLineOption outOption({QStringLiteral("o"), QStringLiteral("output")},
                                   QStringLiteral("the file to write (replaced whole)"),
                                   QStringLiteral("FILE"));
const QCommandLineOption
    timeoutOption({QStringLiteral("timeout")},
                  QStringLiteral("how long to wait for the radio's ready answer"),
                  QStringLiteral("SECONDS"));
const QCommandLineOption skipBadOption({QStringLiteral("skip-bad")},
                                       QStringLiteral("write the rows that fit, leave the others"));
const QCommandLineOption
    probeOption({QStringLiteral("probe")},
                QStringLiteral("poll the ports and say which one has a radio answering"));
const QCommandLineOption
    traceOption({QStringLiteral("trace")},
                QStringLiteral("write every character on the line to FILE as it goes"),
                QStringLiteral("FILE"));
const QCommandLineOption
    noVerifyOption({QStringLiteral("no-verify")},
                   QStringLiteral("do not read the radio back after the write"));
const QCommandLineOption renumberOption(
    {QStringLiteral("renumber")},
    QStringLiteral("place the rows that fit in file order into channels 1-16, whatever their "
                   "Location says (repeater directory exports count from 0); says how many rows "
                   "came after channel 16"));
const QCommandLineOption
    repeatOption({QStringLiteral("repeat")},
                 QStringLiteral("write radio after radio, N of them (0: until interrupted)"),
                 QStringLiteral("N"));
const QCommandLineOption
    logOption({QStringLiteral("log")},
              QStringLiteral("with --repeat: the log to append to (default fleet-YYYYMMDD.csv in "
                             "the backups folder)"),
              QStringLiteral("FILE"));
const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("help")}, QString());

// Parses the command's arguments by the options its row declares.
void parse(Parsed &parsed, const Command &command, const QStringList &arguments)
{
    QCommandLineParser &parser = parsed.parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const OptionUse &use : command.options)
        parser.addOption(*use.option);
    parser.addOption(helpOption);
    const int positionals = command.operand ? 1 : 0;
    if (!parser.parse(arguments)) {
        parsed.status = usageError(command, parser.errorText());
        return;
    }
    if (parser.isSet(helpOption)) {
        printOut(commandHelp(command));
        parsed.status = Success;
        return;
    }
    const QStringList plain = parser.positionalArguments();
    if (plain.size() != positionals) {
        parsed.status = usageError(
            command,
            plain.size() < positionals
                ? QStringLiteral("a file name is missing")
                : QStringLiteral("unexpected argument %1").arg(quoted(plain.at(positionals))));
        return;
    }
    for (const OptionUse &use : command.options) {
        if (use.need == Need::Required &&
            (!parser.isSet(*use.option) || parser.value(*use.option).isEmpty())) {
            parsed.status = usageError(
                command, QStringLiteral("option %1 is missing").arg(spelling(*use.option)));
            return;
        }
    }
    // Only options this command defines can be asked for (asking for others warns).
    const QStringList given = parser.optionNames();
    if (given.contains(QStringLiteral("model")) && !modelFromShortName(parser.value(modelOption))) {
        parsed.status = usageError(
            command, QStringLiteral("unknown model %1 (%2)")
                         .arg(quoted(parser.value(modelOption)), withModels("@MODEL_LIST@")));
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

// The trace file of this run, once it is open.
QString tracePath;

// --trace FILE: from here on every character on the line, each port's opening and closing, go
// to FILE as they happen. FILE must not be one of the command's own files (opening it empties
// it), nor a serial port of the command, nor anything but a regular file or a new name (a FIFO
// nobody reads would hold the tool before it starts). An exit status when the command cannot go
// on, else -1.
int startTrace(const QCommandLineParser &parser, const QStringList &ownFiles,
               const QStringList &ports = {})
{
    if (!parser.isSet(traceOption))
        return -1;
    const QString path = parser.value(traceOption);
    const QString shown = QDir::toNativeSeparators(path);
    for (const QString &own : ownFiles) {
        if (sameFile(path, own) || QDir::cleanPath(QFileInfo(path).absoluteFilePath()) ==
                                       QDir::cleanPath(QFileInfo(own).absoluteFilePath())) {
            report(QStringLiteral("%1 is the channel file: the trace needs a file of its own")
                       .arg(shown));
            return Failed;
        }
    }
    for (const QString &port : ports) {
        if (sameFile(path, port)) {
            report(QStringLiteral("%1 is the serial port: the trace needs a file of its own")
                       .arg(shown));
            return Failed;
        }
    }
    auto file = std::make_unique<QFile>();
    if (const Result opened = openNewFile(file.get(), path); !opened) {
        report(QStringLiteral("cannot write the serial trace to %1: %2")
                   .arg(shown, opened.failure().is(FileFailure::NotRegular)
                                   ? QStringLiteral("it is not a regular file")
                                   : opened.error()));
        return Failed;
    }
    SerialTrace::instance().setOutput(std::move(file));
    tracePath = path;
    return -1;
}

// Says, after the command's own outcome, when the trace file could not be written whole; the
// exit status stays the command's.
void endTrace()
{
    if (tracePath.isEmpty())
        return;
    if (const std::optional<QString> failure = SerialTrace::instance().outputFailure())
        report(QStringLiteral("the serial trace in %1 is incomplete: writing it failed (%2)")
                   .arg(QDir::toNativeSeparators(tracePath), *failure));
    SerialTrace::instance().setOutput(nullptr);
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
    parse(parsed, command, arguments);
    if (parsed.status >= 0)
        return parsed.status;
    const QCommandLineParser &p = parsed.parser;
    const QString device = p.value(portOption);
    const QString out = p.value(outOption);
    if (const int status = startTrace(p, {out}, {device}); status >= 0)
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
    parse(parsed, command, arguments);
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
    // For diff, 1 says the radio differs: a file or trace it cannot take is wrong input.
    const int refused = diff ? BadUsage : Failed;
    const Expected<LoadedChannelFile> loaded = loadChannelFile(path);
    if (!loaded) {
        report(loaded.error() + QStringLiteral("; ") + nothing);
        return refused;
    }
    const LoadedChannelFile &file = *loaded;
    const QString refusal = otherModelFileRefusal(path, file, model, nothing);
    if (!refusal.isEmpty()) {
        report(refusal);
        return refused;
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
    if (const int status = startTrace(p, {path, logPath}, {device}); status >= 0)
        return status == Failed ? refused : status;
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
    parse(parsed, command, arguments);
    if (parsed.status >= 0)
        return parsed.status;
    return showFile(parsed.parser.positionalArguments().constFirst());
}

int runExport(const Command &command, const QStringList &arguments)
{
    Parsed parsed;
    parse(parsed, command, arguments);
    if (parsed.status >= 0)
        return parsed.status;
    const QCommandLineParser &p = parsed.parser;
    return exportCsv(p.positionalArguments().constFirst(), p.value(outOption),
                     modelFromShortName(p.value(modelOption)));
}

int runImport(const Command &command, const QStringList &arguments)
{
    Parsed parsed;
    parse(parsed, command, arguments);
    if (parsed.status >= 0)
        return parsed.status;
    const QCommandLineParser &p = parsed.parser;
    return importCsv(
        p.positionalArguments().constFirst(), *modelFromShortName(p.value(modelOption)),
        p.value(outOption), p.isSet(skipBadOption),
        p.isSet(renumberOption) ? CsvPlacement::InFileOrder : CsvPlacement::ByLocation);
}

int runPorts(const Command &command, const QStringList &arguments)
{
    Parsed parsed;
    parse(parsed, command, arguments);
    if (parsed.status >= 0)
        return parsed.status;
    const QCommandLineParser &p = parsed.parser;
    const bool probe = p.isSet(probeOption);
    if (!probe && (p.isSet(portOption) || p.isSet(timeoutOption)))
        return usageError(command, QStringLiteral("--port and --timeout go with --probe"));
    const int timeoutMs = p.isSet(timeoutOption) ? readyTimeoutMs(p) : defaultProbeTimeoutMs;
    if (const int status = startTrace(p, {}, p.values(portOption)); status >= 0)
        return status;
    return listPorts(probe, p.values(portOption), timeoutMs);
}

// The options as most commands take them.
const OptionUse portNeeded{&portOption, Need::Required};
const OptionUse modelNeeded{&modelOption, Need::Required};
const OptionUse timeoutAllowed{&timeoutOption};
const OptionUse traceAllowed{&traceOption};

const Command commands[] = {
    {"read",
     "read a radio into a channel file",
     nullptr,
     {portNeeded,
      modelNeeded,
      {&outOption, Need::Required, "the channel file to write (replaced whole)"},
      timeoutAllowed,
      traceAllowed},
     R"(Reads the 16 channels and the two radio settings of a radio into a channel
file (the format the program saves). The radio must answer the ready poll
within the time-out (default 5 seconds). A radio of another model is refused,
naming its model, and nothing is written.
)",
     runRead},
    {"write",
     "write a channel file into a radio and read it back",
     "FILE",
     {portNeeded,
      modelNeeded,
      {&noVerifyOption},
      timeoutAllowed,
      {&repeatOption},
      {&logOption},
      traceAllowed},
     R"(Writes the channels and the two radio settings of a channel file into a
radio, paced as the program writes. The radio must answer the ready poll
within the time-out (default 5 seconds). Before anything is sent the radio is
read once to learn its model, and what it holds is kept as a channel file in
the tool's backups folder. A file or a radio of another model is refused,
naming its model, and nothing is sent. Writing such a backup puts the radio
back as it was.

After the write the radio is read back and compared with what was sent: the
message names the channels the write changed, or lists those the radio holds
otherwise with what it holds (write again).

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
)",
     runWrite},
    {"diff",
     "show where a radio differs from a channel file",
     "FILE",
     {portNeeded, modelNeeded, timeoutAllowed, traceAllowed},
     R"(Reads the radio and prints, channel by channel, where it differs from a
channel file as a write of that file would leave it: what the radio holds and
what the file holds. Writes nothing. A file that cannot be used is wrong
input: the radio is not read.
)",
     runDiff},
    {"show",
     "print a channel file as a table",
     "FILE",
     {},
     R"(Prints a channel file: its model, the channel tone, the squelch level and
the 16 channels as an aligned table.
)",
     runShow},
    {"export-csv",
     "convert a channel file to CHIRP CSV",
     "FILE",
     {{&outOption, Need::Required, "the CSV file to write (replaced whole)", "OUT.csv"},
      {&modelOption, Need::Optional,
       "the model to take a file for: needed only for a file whose first value names no "
       "model; a file of another model is refused"}},
     R"(Converts a channel file to CHIRP CSV. BCL and beat have no CHIRP column and
are left out; power is written in the model's watts.
)",
     runExport},
    {"import-csv",
     "convert CHIRP CSV to a channel file",
     "IN.csv",
     {{&modelOption, Need::Required, "the model to convert for: @MODEL_LIST@"},
      {&outOption, Need::Required, "the channel file to write (replaced whole)"},
      {&skipBadOption},
      {&renumberOption}},
     R"(Converts CHIRP CSV to a channel file of a model. Every row is checked against
the model's band, its 39 CTCSS tones and 83 DCS codes and the 5 / 6.25 kHz
raster; the radio is analog FM only, so a row whose Mode is not empty, FM or
NFM (DMR, DV, AM, ...) does not fit either. Rows that do not fit are listed
on standard error with the reason. By default nothing is written when any
row does not fit. Each row goes to the channel its Location names (1-16).
Channels without a row are empty; BCL and beat take the channel defaults
(off); the channel tone is 中文 and the squelch level 3.
)",
     runImport},
    {"ports",
     "list the serial ports; with --probe, find the radio",
     nullptr,
     {{&probeOption},
      {&portOption, Need::Repeated, "with --probe: probe this device instead"},
      {&timeoutOption, Need::Optional,
       "with --probe: how long each port may take to answer (default 0.7)"},
      {&traceOption, Need::Optional, "write every character on the lines to FILE as it goes"}},
     R"(Lists the serial ports the system knows, with their descriptions and USB ids.
With --probe, sends the ready poll to each of them (a few at a time, each
closed again at once) and says which one has a radio answering; it fails when
none answers. With --port, only the devices named are probed, listed or not
(pseudo-terminals and links such as /dev/serial/by-id/... are never listed).
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
                         QString::fromUtf8(command.purpose));
    return QStringLiteral(R"(Usage: zw4630-cli COMMAND [options]

Reads and writes ZW4630 radios over a serial programming cable, shows channel
files and converts them to and from CHIRP CSV.

Commands:
%1
zw4630-cli COMMAND --help describes each command; zw4630-cli --version says
the tool's version.

)")
               .arg(list) +
           exitStatusText(nullptr);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zw4630-cli"));
#ifdef SIGXFSZ
    // Past a file-size limit (ulimit -f) a write then fails with EFBIG and is reported as any
    // failed write, its temporary file removed; by default the signal would end the tool there.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
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
    if (command == QLatin1String("--version")) {
        printOut(QStringLiteral("zw4630-cli " ZW_VERSION "\n"));
        return Success;
    }
    // A name the table does not hold is wrong usage: no command runs in its place.
    const Command *found = findCommand(command);
    if (!found) {
        report(QStringLiteral("unknown command %1").arg(quoted(command)));
        printError(QStringLiteral("Try 'zw4630-cli --help'.\n"));
        return BadUsage;
    }
    // The parser takes the program name first, then the command's own arguments.
    arguments[0] = program;
    const int status = found->run(*found, arguments);
    endTrace();
    return status;
}
