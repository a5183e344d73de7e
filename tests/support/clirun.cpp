#include "clirun.h"

#include "numberreader.h"
#include "sampletables.h"

#include <QFile>
#include <QProcess>
#include <QSignalSpy>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

namespace zw::test
{

QString cliPath()
{
    return QStringLiteral(ZW_CLI_PATH);
}

CliRun runCli(const QStringList &arguments, int timeoutMs, const QString &program,
              qint64 fileSizeLimit)
{
    QProcess process;
    process.setProgram(program.isEmpty() ? cliPath() : program);
    process.setArguments(arguments);
#ifdef Q_OS_UNIX
    if (fileSizeLimit >= 0)
        process.setChildProcessModifier([fileSizeLimit] {
            const rlimit limit{rlim_t(fileSizeLimit), rlim_t(fileSizeLimit)};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        });
#else
    Q_UNUSED(fileSizeLimit)
#endif
    QSignalSpy finished(&process, &QProcess::finished);
    process.start();
    CliRun run;
    if (!finished.wait(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

ChannelFileData sampleChannelFile(Model model)
{
    const ModelInfo &info = modelInfo(model);
    ChannelFileData data;
    data.modelCode = info.code;
    data.channelTone = QStringLiteral("英文");
    data.squelchLevel = QStringLiteral("7");
    data.records = emptyTable();
    for (ChannelRecord &r : data.records)
        r[ChannelNumber] = QString(); // never in a file
    auto f = [&](double above) { return formatFrequency(sampleFrequencyMHz(info.band, above)); };
    data.records[0].fields = {"", f(1), "67.0", "", f(1), "67.0", "", "add", "off", "off", "H"};
    data.records[1].fields = {"", f(2.00625), "D754N", "",    f(2.5), "100.0",
                              "", "del",      "off",   "off", "L"};
    data.records[4].fields = {"", f(3), "", "", "", "D023N", "", "add", "off", "off", "H"};
    data.records[15].fields = {"", f(4.005), "", "", f(4.605), "", "", "del", "off", "off", "L"};
    return data;
}

Expected<ChannelFileData> readChannelFileAt(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Failure{file.errorString()};
    return readChannelFile(file.readAll());
}

} // namespace zw::test
