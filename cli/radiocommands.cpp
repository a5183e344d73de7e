#include "radiocommands.h"

#include "backups.h"
#include "channeltexts.h"
#include "console.h"
#include "exitsignals.h"
#include "filecommands.h"
#include "portaccess.h"
#include "porttexts.h"
#include "radiosession.h"
#include "radiotexts.h"
#include "serialconnection.h"
#include "writecheck.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>

#include <optional>

namespace zw::cli
{

namespace
{

// Time allowed for the last blocks of a write to leave the port after the session sent them.
constexpr int flushTimeoutMs = 5000;

QString interruptedMessage()
{
    return QStringLiteral("interrupted");
}

// The port failed while the command waited for the ready answer: the session's words for a lost
// port, and the port's own error for support.
ReadResult portLostRead(const QString &error)
{
    ReadResult result;
    result.outcome = ReadResult::Outcome::PortLost;
    result.portError = error;
    return result;
}

// The word for each phase of a transfer on the progress bar.
QString phaseLabel(LinkState::Transfer phase)
{
    switch (phase) {
    case LinkState::Transfer::Idle:
        break;
    case LinkState::Transfer::Reading:
        return QStringLiteral("reading");
    case LinkState::Transfer::Identifying:
        return QStringLiteral("identifying");
    case LinkState::Transfer::Writing:
        return QStringLiteral("writing");
    case LinkState::Transfer::Verifying:
        return QStringLiteral("verifying");
    }
    return QString();
}

// The program's own radio session on one device for the length of a command. Each wait runs
// an event loop until the session reports; the session ends every wait itself (ready limit,
// silence limit, failed port).
class RadioLine
{
public:
    RadioLine(Model model, const QString &device) : m_device(device), m_session(model, &m_serial)
    {
        m_serial.setDevice(1, device);
        m_serial.setPortNumber(1);
        // The progress bar draws the line's state: one bar per phase of the transfer.
        QObject::connect(&m_session, &RadioSession::linkStateChanged, &m_session,
                         [this](const LinkState &state) { showProgress(state); });
        // Ctrl+C, SIGTERM or SIGHUP: before "A" nothing is lost, so the command ends at once;
        // once "A" is out the write goes on to its end, so the radio is never left half written.
        QObject::connect(&m_exitSignals, &ExitSignals::exitRequested, &m_session, [this] {
            m_interrupted = true;
            if (m_sending) {
                // The read-back is only a check: it ends at once, the write "not checked".
                if (m_serial.linkState().transfer == LinkState::Transfer::Verifying) {
                    m_session.abandonReadBack();
                    return;
                }
                report(QStringLiteral("interrupted: finishing the write first"));
                return;
            }
            m_session.stop();
            if (m_loop)
                m_loop->quit();
        });
    }
    ~RadioLine()
    {
        m_session.stop();
        m_serial.close();
        endProgress();
    }
    Q_DISABLE_COPY_MOVE(RadioLine)

    enum class Connected { Ready, NotOpened, NoAnswer, PortLost };

    // Opens the port and waits for the ready answer. openFailure() explains NotOpened,
    // portError() PortLost.
    Connected connect(int readyTimeoutMs)
    {
        if (!m_serial.open()) {
            m_openFailure = portOpenFailureText(
                diagnoseOpenFailure(m_device, m_serial.openError(), m_serial.errorString()), true,
                FrontEnd::CommandLine);
            return Connected::NotOpened;
        }
        bool answered = false;
        QEventLoop loop;
        QObject::connect(&m_session, &RadioSession::readyWaitEnded, &loop, [&](bool ok) {
            answered = ok;
            loop.quit();
        });
        m_session.awaitReady(readyTimeoutMs);
        run(loop);
        if (!m_serial.isOpen())
            return Connected::PortLost;
        return answered ? Connected::Ready : Connected::NoAnswer;
    }
    QString openFailure() const { return m_openFailure; }
    QString portError() const { return m_serial.errorString(); }

    ReadResult read()
    {
        ReadResult result;
        QEventLoop loop;
        QObject::connect(&m_session, &RadioSession::readFinished, &loop, [&](const ReadResult &r) {
            result = r;
            loop.quit();
        });
        if (m_session.beginRead())
            run(loop);
        endProgress();
        return result;
    }

    // Identifies the radio, keeps its contents in the backups folder (`keptIn` names the
    // file), then writes, and reads the radio back when `verify`.
    WriteResult write(const ChannelFileData &data, bool verify, QString &keptIn,
                      QString &backupError)
    {
        m_session.setVerifyWrites(verify);
        WriteResult result;
        result.outcome = WriteResult::Outcome::PortLost;
        bool finished = false;
        QEventLoop loop;
        QObject::connect(&m_session, &RadioSession::writeFinished, &loop,
                         [&](const WriteResult &r) {
                             result = r;
                             finished = true;
                             loop.quit();
                         });
        const Model model = m_session.model();
        m_session.setBeforeWrite([&](const ReadResult &radio) {
            const Expected<BackupFile> kept = writeBackup(
                backupFolder(), model, BackupReason::FromRadio, radio.channelFile(model));
            keptIn = kept ? kept->fileName : QString();
            backupError = kept ? QString() : fileFailureText(kept.failure(), true);
            m_sending = kept.ok() && !m_interrupted;
            m_sent = m_sending;
            return m_sending;
        });
        if (m_session.beginWrite(data.records, data.squelchLevel, data.channelTone) && !finished)
            run(loop);
        m_sending = false;
        m_session.setBeforeWrite({});
        // Unless the radio was read back, the last block may still wait in the port's buffer:
        // let it reach the line.
        if (result.ok() && result.check == WriteResult::Check::Skipped &&
            !m_serial.flush(flushTimeoutMs)) {
            result.outcome = WriteResult::Outcome::PortLost;
            result.portError =
                m_serial.isOpen() ? QStringLiteral("data not sent") : m_serial.errorString();
        }
        endProgress();
        return result;
    }

    // A signal asked the command to end (see the constructor).
    bool interrupted() const { return m_interrupted; }
    // "A" went out during this command.
    bool sentWriteRequest() const { return m_sent; }

private:
    void showProgress(const LinkState &state)
    {
        if (!state.transferring() || state.blocksTotal == 0)
            return;
        if (m_bar && state.transfer != m_barPhase)
            endProgress();
        if (!m_bar) {
            m_bar.emplace(phaseLabel(state.transfer));
            m_barPhase = state.transfer;
        }
        m_bar->update(state.blocksDone, state.blocksTotal);
    }
    void endProgress()
    {
        if (m_bar)
            m_bar->finish();
        m_bar.reset();
    }

    // Runs `loop` unless a signal has already asked to end; a signal during it quits it.
    void run(QEventLoop &loop)
    {
        if (m_interrupted)
            return;
        m_loop = &loop;
        loop.exec();
        m_loop = nullptr;
    }

    QString m_device;
    QString m_openFailure;
    SerialConnection m_serial;
    RadioSession m_session;
    ExitSignals m_exitSignals;
    QEventLoop *m_loop = nullptr;
    bool m_sending = false; // "A" is out: the write runs to its end
    bool m_sent = false;
    bool m_interrupted = false;
    std::optional<ProgressBar> m_bar;
    LinkState::Transfer m_barPhase = LinkState::Transfer::Idle;
};

// Opens the line and reads the radio: the result, or the message saying why not.
Expected<ReadResult> readOnce(RadioLine &line, Model model, int readyTimeoutMs)
{
    const auto connected = line.connect(readyTimeoutMs);
    if (line.interrupted())
        return Failure{interruptedMessage() + QStringLiteral("; nothing written")};
    ReadResult read;
    switch (connected) {
    case RadioLine::Connected::NotOpened:
        return Failure{line.openFailure()};
    case RadioLine::Connected::NoAnswer:
        read.outcome = ReadResult::Outcome::NoAnswer;
        break;
    case RadioLine::Connected::PortLost:
        read = portLostRead(line.portError());
        break;
    case RadioLine::Connected::Ready:
        read = line.read();
        if (line.interrupted())
            return Failure{interruptedMessage() + QStringLiteral("; nothing written")};
        break;
    }
    if (read.ok())
        return read;
    // The table's sentence names the system's words for a lost port.
    QString message = readFailureText(read, model, true, connected == RadioLine::Connected::Ready);
    if (read.outcome == ReadResult::Outcome::OtherModel)
        message +=
            QStringLiteral(" Read it with --model %1.").arg(modelInfo(*read.radioModel).shortName);
    return Failure{message};
}

// "channel 3: radio RX ...; file RX ..." for each channel in `channels`.
void printChannels(const QList<int> &channels, const RadioChannels &radio,
                   const RadioChannels &other, const QString &otherName, bool toError)
{
    for (int channel : channels) {
        const auto i = std::size_t(channel - 1);
        const QString line =
            QStringLiteral("%1: radio %2; %3 %4\n")
                .arg(channelListText({channel}, true), radioChannelText(radio[i], true), otherName,
                     radioChannelText(other[i], true));
        toError ? printError(line) : printOut(line);
    }
}

void printSettings(const TrailerSettings &radio, const TrailerSettings &other,
                   const QString &otherName, bool toError)
{
    const QString line =
        QStringLiteral("settings: radio %1; %2 %3\n")
            .arg(radioSettingsText(radio, true), otherName, radioSettingsText(other, true));
    toError ? printError(line) : printOut(line);
}

// What a write of `data` leaves in the radio, as its read shows it.
RadioContents sentContents(Model model, const ChannelFileData &data)
{
    return contentsOfWrite(data.records, data.squelchLevel, data.channelTone, model);
}

} // namespace

Expected<ChannelFileData> readRadio(Model model, const QString &device, int readyTimeoutMs)
{
    RadioLine line(model, device);
    const Expected<ReadResult> read = readOnce(line, model, readyTimeoutMs);
    if (!read)
        return read.failure();
    return read->channelFile(model);
}

int writeRadio(Model model, const QString &device, int readyTimeoutMs, const ChannelFileData &data,
               bool verify)
{
    RadioLine line(model, device);
    WriteResult written;
    written.outcome = WriteResult::Outcome::NoAnswer;
    const RadioLine::Connected connected = line.connect(readyTimeoutMs);
    switch (connected) {
    case RadioLine::Connected::NotOpened:
        // A port's text is a whole sentence, as the window shows it.
        report(line.openFailure() + QStringLiteral(" Nothing sent."));
        return Failed;
    case RadioLine::Connected::NoAnswer:
        break;
    case RadioLine::Connected::PortLost:
        written.outcome = WriteResult::Outcome::PortLost;
        written.portError = line.portError();
        break;
    case RadioLine::Connected::Ready: {
        if (line.interrupted())
            break;
        QString keptIn;
        QString backupError;
        written = line.write(data, verify, keptIn, backupError);
        if (!keptIn.isEmpty())
            report(QStringLiteral("kept the radio's channels before the write in %1")
                       .arg(QDir::toNativeSeparators(keptIn)));
        if (written.outcome == WriteResult::Outcome::Declined && !line.interrupted()) {
            report(radioBackupFailedText(backupError, true));
            return Failed;
        }
        break;
    }
    }
    if (line.interrupted() && !line.sentWriteRequest()) {
        report(interruptedMessage() + QStringLiteral("; nothing sent"));
        return Failed;
    }
    report(writeOutcomeText(written, model, true, connected == RadioLine::Connected::Ready));
    if (!written.ok())
        return Failed;
    switch (written.check) {
    case WriteResult::Check::Skipped:
    case WriteResult::Check::Verified:
        return Success;
    case WriteResult::Check::Differs: {
        const RadioContents sent = sentContents(model, data);
        printChannels(written.differingChannels, written.radioChannels, sent.channels,
                      QStringLiteral("written"), true);
        if (written.settingsDiffer)
            printSettings(written.radioSettings, sent.settings, QStringLiteral("written"), true);
        return ReadBackDiffers;
    }
    case WriteResult::Check::NotChecked:
        return ReadBackNotChecked;
    }
    return Failed;
}

int diffRadio(Model model, const QString &device, int readyTimeoutMs, const QString &path,
              const ChannelFileData &data)
{
    RadioLine line(model, device);
    const Expected<ReadResult> read = readOnce(line, model, readyTimeoutMs);
    if (!read) {
        report(read.error());
        return RadioNotRead;
    }
    const RadioContents file = sentContents(model, data);
    const ContentsDifference difference =
        compareContents(read->channels, read->settings, file.channels, file.settings);
    const QString name = QDir::toNativeSeparators(path);
    printChannels(difference.channels, read->channels, file.channels, QStringLiteral("file"),
                  false);
    if (difference.settings)
        printSettings(read->settings, file.settings, QStringLiteral("file"), false);
    if (!difference.any()) {
        printOut(QStringLiteral("The radio holds what %1 holds.\n").arg(name));
        return Success;
    }
    QStringList what;
    if (!difference.channels.isEmpty())
        what << channelListText(difference.channels, true);
    if (difference.settings)
        what << QStringLiteral("the settings");
    printOut(QStringLiteral("The radio and %1 differ in %2.\n")
                 .arg(name, what.join(QStringLiteral(" and "))));
    return Failed;
}

} // namespace zw::cli
