#pragma once

#include "channelfile.h"
#include "modelinfo.h"

#include <QString>
#include <QStringList>

namespace zw::test
{

// The built zw4630-cli the command-line tests run.
QString cliPath();

struct CliRun {
    int status = -1; // -1: did not end in time, or ended by a signal
    QString out;
    QString err;
};

// Runs the tool (or `program`, when given, for a wrapper such as a shell or strace) with
// `arguments`, and keeps this process's event loop going meanwhile: a virtual radio that
// answers the tool lives in it. A run that has not ended after `timeoutMs` is killed. With a
// `fileSizeLimit`, the files the tool writes may grow to that many bytes (as ulimit -f).
CliRun runCli(const QStringList &arguments, int timeoutMs = 30000,
              const QString &program = QString(), qint64 fileSizeLimit = -1);

// A channel file of `model` with four channels in use (channels 1, 2, 5 and 16, in the model's
// band) and the settings 英文 / 7.
ChannelFileData sampleChannelFile(Model model);

// The channel file at `path`, read as the tool reads it.
Expected<ChannelFileData> readChannelFileAt(const QString &path);

} // namespace zw::test
