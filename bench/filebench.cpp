// Times a channel-file load and save as the model window does them (file bytes, whole-file
// check, all 16 records into the model database in one transaction; records out of the
// database, file text, atomic replace of the file), and the backup kept before a load:
//   build/bench/zw4630-bench-files [ROUNDS]
#include "backups.h"
#include "benchsupport.h"
#include "channelfile.h"
#include "channelstore.h"
#include "numberreader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>

using namespace zw;
using namespace zw::bench;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 200;
    QTemporaryDir dir;
    ChannelStore store;
    if (!store.open(dir.filePath(QStringLiteral("ZW4630V.mdb"))).ok()) {
        std::fprintf(stderr, "cannot open the model database\n");
        return 1;
    }
    // A full table: every channel in use with tones on both sides.
    ChannelFileData data;
    data.modelCode = modelInfo(Model::V).code;
    data.channelTone = QStringLiteral("中文");
    data.squelchLevel = QStringLiteral("3");
    for (int i = 0; i < channelCount; ++i) {
        ChannelRecord &r = data.records[std::size_t(i)];
        r[RxFrequency] = formatFrequency(140 + i * 0.5);
        r[RxTone] = QStringLiteral("88.5");
        r[TxFrequency] = formatFrequency(140 + i * 0.5);
        r[TxTone] = QStringLiteral("D023N");
        r[Scan] = QStringLiteral("add");
        r[Bcl] = QStringLiteral("off");
        r[Beat] = QStringLiteral("off");
        r[Power] = QStringLiteral("H");
    }
    const QString path = dir.filePath(QStringLiteral("channels.doc"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(writeChannelFile(data).value()) <= 0)
            return 1;
    }
    const QString backups = dir.filePath(QStringLiteral("backups"));

    std::vector<double> loads, checks, saves, keeps;
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer clock;
        clock.start();
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return 1;
        const Expected<ChannelFileData> read = readChannelFile(file.read(maxChannelFileSize + 1));
        ChannelTable table = store.records();
        for (std::size_t row = 0; row < table.size(); ++row)
            for (int field = RxFrequency; field <= Power; ++field)
                table[row][field] = read->records[row][field];
        // A changed table each round, so the database really writes.
        table[0][Power] = round % 2 ? QStringLiteral("L") : QStringLiteral("H");
        const double checked = double(clock.nsecsElapsed()) / 1e6;
        if (!read.ok() || !store.setRecords(table))
            return 1;
        loads.push_back(double(clock.nsecsElapsed()) / 1e6);
        checks.push_back(checked);

        clock.restart();
        ChannelFileData out = read.value();
        out.records = store.records();
        const Expected<QByteArray> bytes = writeChannelFile(out);
        QSaveFile save(path);
        if (!bytes.ok() || !save.open(QIODevice::WriteOnly) || save.write(bytes.value()) <= 0 ||
            !save.commit())
            return 1;
        saves.push_back(double(clock.nsecsElapsed()) / 1e6);

        clock.restart();
        if (!writeBackup(backups, Model::V, BackupReason::BeforeOpen, out).ok())
            return 1;
        keeps.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    std::printf("channel-file-load %.3f ms (median of %d)\n", median(loads), rounds);
    std::printf("channel-file-load-without-database-commit %.3f ms\n", median(checks));
    std::printf("channel-file-save %.3f ms\n", median(saves));
    std::printf("channel-file-load-plus-save %.3f ms\n", median(loads) + median(saves));
    std::printf("backup-before-load %.3f ms\n", median(keeps));
    return 0;
}
