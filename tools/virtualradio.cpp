// Plays a ZW4630 radio on a pseudo-terminal and prints the device to give the program:
//   zw4630-virtual-radio --model UH &      ->  /dev/pts/5
//   zw4630 --com1 /dev/pts/5
#include "virtualradio.h"
#include "modelinfo.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>

namespace
{

// Fleet mode: a radio goes off this long after its last command, and the line stays without a
// radio this long by default (a person takes longer; a program needs 1 s of silence to see it).
constexpr int fleetLeaveMs = 500;
constexpr int defaultOffMs = 2000;
// After a write that ended early a program waits up to 2 s for the radio's answer, after the
// rest of the write has gone out: a radio switched off mid-write stays off longer than that.
constexpr int droppedOffMs = 6000;

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zw4630-virtual-radio"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("A ZW4630 radio on a pseudo-terminal, for trying the program without "
                       "hardware. Prints the device path to pass to zw4630 --com1."));
    parser.addHelpOption();
    const QString models =
        zw::spokenList(zw::modelTexts(&zw::ModelInfo::shortName), QStringLiteral("or"));
    const QString defaultModel = zw::modelInfo(zw::Model::V).shortName;
    QStringList codes = zw::modelTexts(&zw::ModelInfo::code);
    codes.sort();
    const QCommandLineOption model(
        {QStringLiteral("model")},
        QStringLiteral("Radio model: %1 (default %2).").arg(models, defaultModel),
        QStringLiteral("MODEL"), defaultModel);
    const QCommandLineOption memory(
        {QStringLiteral("memory")},
        QStringLiteral("Memory file (17 lines of 32 hex characters): loaded at start when it "
                       "exists, saved after every write."),
        QStringLiteral("FILE"));
    const QCommandLineOption noPacing({QStringLiteral("no-pacing")},
                                      QStringLiteral("Answer at once instead of at 9600 baud."));
    const QCommandLineOption silent({QStringLiteral("silent")},
                                    QStringLiteral("Answer nothing (radio switched off)."));
    const QCommandLineOption stopAfter({QStringLiteral("stop-after")},
                                       QStringLiteral("Stop the read reply after N blocks."),
                                       QStringLiteral("N"));
    const QCommandLineOption garbage({QStringLiteral("garbage-in")},
                                     QStringLiteral("Put a non-hex character in block N (1-18)."),
                                     QStringLiteral("N"));
    const QCommandLineOption code(
        {QStringLiteral("report-code")},
        QStringLiteral("Model code to send in the trailer instead of the own one (%1 another "
                       "model, else none).")
            .arg(zw::spokenList(codes, QStringLiteral("or"))),
        QStringLiteral("CODE"));
    const QCommandLineOption slow({QStringLiteral("slow")},
                                  QStringLiteral("Start the reply to a read MS milliseconds late."),
                                  QStringLiteral("MS"));
    const QCommandLineOption readyDelay(
        {QStringLiteral("ready-delay")},
        QStringLiteral("Answer every ready poll MS milliseconds late (a radio slow to wake)."),
        QStringLiteral("MS"));
    const QCommandLineOption dropBlock(
        {QStringLiteral("drop-block")},
        QStringLiteral("Do not store block N (1-16 a channel, 17 the trailer) of a write."),
        QStringLiteral("N"));
    const QCommandLineOption garbleBlock(
        {QStringLiteral("garble-block")},
        QStringLiteral("Store block N (1-17) of a write with one digit wrong."),
        QStringLiteral("N"));
    const QCommandLineOption silentAfterWrite(
        {QStringLiteral("silent-after-write")},
        QStringLiteral("Answer nothing more after a complete write."));
    const QCommandLineOption fleet(
        {QStringLiteral("fleet")},
        QStringLiteral("Play several radios one after another, as when a fleet is programmed: a "
                       "comma-separated list of models, each optionally with :off-mid-write "
                       "(switched off after 5 blocks of a write), :differs (stores channel 3 "
                       "of a write with one digit wrong) or :late-ready (answers each ready "
                       "poll 300 ms late), e.g. V,UH,V:differs. Each radio goes "
                       "off %1 ms after its last command; the next comes on --off-time ms "
                       "later (a radio switched off mid-write stays off at least %2 ms, longer "
                       "than a program waits for it after the write). --model and the fault "
                       "options are ignored.")
            .arg(fleetLeaveMs)
            .arg(droppedOffMs),
        QStringLiteral("LIST"));
    const QCommandLineOption offTime(
        {QStringLiteral("off-time")},
        QStringLiteral("With --fleet: how long the line stays without a radio (default %1).")
            .arg(defaultOffMs),
        QStringLiteral("MS"), QString::number(defaultOffMs));
    parser.addOptions({model, memory, noPacing, silent, stopAfter, garbage, code, slow, readyDelay,
                       dropBlock, garbleBlock, silentAfterWrite, fleet, offTime});
    parser.process(app);

    const auto radioModel = zw::modelFromShortName(parser.value(model));
    if (!radioModel) {
        std::fprintf(stderr, "unknown model %s (%s)\n", qPrintable(parser.value(model)),
                     qPrintable(models));
        return 2;
    }
    zw::VirtualRadio radio(*radioModel);
    radio.setPacing(!parser.isSet(noPacing));
    zw::VirtualRadio::Faults faults;
    faults.silent = parser.isSet(silent);
    faults.stopAfterBlocks = parser.isSet(stopAfter) ? parser.value(stopAfter).toInt() : -1;
    faults.garbageInBlock = parser.isSet(garbage) ? parser.value(garbage).toInt() : -1;
    faults.reportedCode = parser.value(code);
    faults.replyDelayMs = parser.value(slow).toInt();
    faults.readyDelayMs = parser.value(readyDelay).toInt();
    faults.dropBlock = parser.isSet(dropBlock) ? parser.value(dropBlock).toInt() : -1;
    faults.garbleBlock = parser.isSet(garbleBlock) ? parser.value(garbleBlock).toInt() : -1;
    faults.silentAfterWrite = parser.isSet(silentAfterWrite);
    radio.setFaults(faults);
    if (parser.isSet(fleet)) {
        const int off = parser.value(offTime).toInt();
        const auto radios =
            zw::VirtualRadio::fleetFromText(parser.value(fleet), off, std::max(off, droppedOffMs));
        if (!radios) {
            std::fprintf(
                stderr,
                "--fleet: '%s' is not a list of MODEL[:off-mid-write|:differs|:late-ready] "
                "(%s)\n",
                qPrintable(parser.value(fleet)), qPrintable(models));
            return 2;
        }
        radio.setFleet(*radios, fleetLeaveMs);
    }
    if (parser.isSet(memory)) {
        const QString path = parser.value(memory);
        if (QFileInfo::exists(path)) {
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly)) {
                std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(file.errorString()));
                return 1;
            }
            const std::optional<zw::VirtualRadio::Memory> kept =
                zw::VirtualRadio::memoryFromText(file.readAll());
            if (!kept) {
                std::fprintf(stderr,
                             "%s: not a memory file (17 lines of 32 hexadecimal characters)\n",
                             qPrintable(path));
                return 1;
            }
            radio.setMemory(*kept);
        }
        radio.setMemoryFile(path);
    }
    if (!radio.open()) {
        std::fprintf(stderr, "no pseudo-terminal: %s\n", qPrintable(radio.errorString()));
        return 1;
    }
    std::printf("%s\n", qPrintable(radio.devicePath()));
    std::fflush(stdout);
    return QCoreApplication::exec();
}
