// Times an edit from the user's entry to the model database, as the model window makes it
// through its channel document (re-read check, change set, BEGIN IMMEDIATE, the changed fields
// written, commit):
//   build/bench/zw4630-bench-edits [ROUNDS]
// "type a cell -> stored": a typed receive frequency with the band check;
// "paste 16 rows -> stored": 16 rows of the program's own clipboard form, checked as typed.
#include "benchsupport.h"
#include "cellentry.h"
#include "channelclipboard.h"
#include "channeldocument.h"
#include "numberreader.h"

#include <QCoreApplication>
#include <QTemporaryDir>

using namespace zw;
using namespace zw::bench;

namespace
{

ChannelTable fullTable(double base)
{
    ChannelTable table;
    for (int i = 0; i < channelCount; ++i) {
        ChannelRecord &r = table[std::size_t(i)];
        r[ChannelNumber] = QString::number(i + 1);
        r[RxFrequency] = formatFrequency(base + i * 0.5);
        r[RxTone] = QStringLiteral("88.5");
        r[TxFrequency] = formatFrequency(base + i * 0.5);
        r[TxTone] = QStringLiteral("D023N");
        r[Scan] = QStringLiteral("add");
        r[Bcl] = QStringLiteral("off");
        r[Beat] = QStringLiteral("off");
        r[Power] = QStringLiteral("H");
    }
    return table;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 200;
    const ModelInfo &info = modelInfo(Model::V);
    QTemporaryDir dir;
    ChannelDocument document(Model::V);
    if (!document.open(dir.filePath(info.databaseFile)).ok() ||
        !document.replace(fullTable(140), std::nullopt)) {
        std::fprintf(stderr, "cannot open the model database\n");
        return 1;
    }
    // Two clipboards, pasted in turn, so every paste changes all 16 channels.
    PasteSource sources[2];
    for (int i = 0; i < 2; ++i)
        sources[i].ownRows =
            copyChannels(fullTable(150 + i), {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15},
                         info, {})
                .ownRows;

    std::vector<double> typed, pasted;
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer clock;
        clock.start();
        const int row = round % channelCount;
        const QString text = QString::number(160 + round % 7);
        const Result stored = document.edit([&](ChannelTable now) {
            ChannelRecord record = now[std::size_t(row)];
            record[RxFrequency] = text;
            now[std::size_t(row)] = checkRxFrequency(record, info.band).record;
            return now;
        });
        if (!stored)
            return 1;
        typed.push_back(double(clock.nsecsElapsed()) / 1e6);

        clock.restart();
        const PasteSource &source = sources[round % 2];
        if (!document.edit(
                [&](const ChannelTable &now) { return planPaste(source, info, now, 0).table; }))
            return 1;
        pasted.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    std::printf("edit-type-cell-stored %.3f ms (median of %d)\n", median(typed), rounds);
    std::printf("edit-paste-16-rows-stored %.3f ms\n", median(pasted));
    return 0;
}
