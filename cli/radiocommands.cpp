#include "radiocommands.h"

#include "backups.h"
#include "console.h"
#include "exitsignals.h"
#include "filecommands.h"
#include "portaccess.h"
#include "porttexts.h"
#include "radiosession.h"
#include "serialconnection.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>

namespace zw::cli
{

namespace
{

// Time allowed for the last blocks of a write to leave the port after the session sent them.
constexpr int flushTimeoutMs = 5000;

QString noAnswerMessage()
{
    return QStringLiteral("no answer from the radio: is it switched on and the cable seated?");
}

QString interruptedMessage()
{
    return QStringLiteral("interrupted");
}

QString portFailedMessage(const QString &device, const QString &error)
{
    return QStringLiteral("the port %1 failed (%2): is the cable still plugged in?")
        .arg(device, error);
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
        // Ctrl+C, SIGTERM or SIGHUP: before "A" nothing is lost, so the command ends at once;
        // once "A" is out the write goes on to its end, so the radio is never left half written.
        QObject::connect(&m_exitSignals, &ExitSignals::exitRequested, &m_session, [this] {
            m_interrupted = true;
            if (m_sending) {
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
    }
    Q_DISABLE_COPY_MOVE(RadioLine)

    // Opens the port and waits for the ready answer: an empty text, or the message.
    QString connect(int readyTimeoutMs)
    {
        if (!m_serial.open())
            return portOpenFailureText(
                diagnoseOpenFailure(m_device, m_serial.openError(), m_serial.errorString()), true);
        bool answered = false;
        QEventLoop loop;
        QObject::connect(&m_session, &RadioSession::readyWaitEnded, &loop, [&](bool ok) {
            answered = ok;
            loop.quit();
        });
        m_session.awaitReady(readyTimeoutMs);
        run(loop);
        if (!m_serial.isOpen())
            return portFailedMessage(m_device, m_serial.errorString());
        return answered ? QString() : noAnswerMessage();
    }

    ReadResult read()
    {
        ReadResult result;
        ProgressBar bar(QStringLiteral("reading"));
        QEventLoop loop;
        QObject::connect(&m_session, &RadioSession::progress, &loop,
                         [&bar](int done, int total) { bar.update(done, total); });
        QObject::connect(&m_session, &RadioSession::readFinished, &loop, [&](const ReadResult &r) {
            result = r;
            loop.quit();
        });
        if (m_session.beginRead())
            run(loop);
        bar.finish();
        return result;
    }

    // Identifies the radio, keeps its contents in the backups folder (`keptIn` names the
    // file), then writes.
    WriteResult write(const ChannelFileData &data, QString &keptIn, QString &backupError)
    {
        WriteResult result;
        result.outcome = WriteResult::Outcome::PortLost;
        bool finished = false;
        ProgressBar bar(QStringLiteral("writing"));
        QEventLoop loop;
        QObject::connect(&m_session, &RadioSession::progress, &loop,
                         [&bar](int done, int total) { bar.update(done, total); });
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
            backupError = kept.error();
            m_sending = kept.ok() && !m_interrupted;
            m_sent = m_sending;
            return m_sending;
        });
        if (m_session.beginWrite(data.records, data.squelchLevel, data.channelTone) && !finished)
            run(loop);
        m_sending = false;
        m_session.setBeforeWrite({});
        // The last block may still wait in the port's buffer: let it reach the line.
        if (result.ok() && !m_serial.flush(flushTimeoutMs)) {
            result.outcome = WriteResult::Outcome::PortLost;
            result.portError =
                m_serial.isOpen() ? QStringLiteral("data not sent") : m_serial.errorString();
        }
        bar.finish();
        return result;
    }

    // A signal asked the command to end (see the constructor).
    bool interrupted() const { return m_interrupted; }
    // "A" went out during this command.
    bool sentWriteRequest() const { return m_sent; }

private:
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
    SerialConnection m_serial;
    RadioSession m_session;
    ExitSignals m_exitSignals;
    QEventLoop *m_loop = nullptr;
    bool m_sending = false; // "A" is out: the write runs to its end
    bool m_sent = false;
    bool m_interrupted = false;
};

} // namespace

Expected<ChannelFileData> readRadio(Model model, const QString &device, int readyTimeoutMs)
{
    QString message;
    RadioLine line(model, device);
    message = line.connect(readyTimeoutMs);
    if (line.interrupted())
        message = interruptedMessage() + QStringLiteral("; nothing written");
    if (!message.isEmpty())
        return Failure{message};

    const ReadResult read = line.read();
    if (line.interrupted()) {
        message = interruptedMessage() + QStringLiteral("; nothing written");
        return Failure{message};
    }
    switch (read.outcome) {
    case ReadResult::Outcome::Read:
        return read.channelFile(model);
    case ReadResult::Outcome::NoAnswer:
    case ReadResult::Outcome::Cut:
        message = QStringLiteral("the radio stopped answering during the read: is it "
                                 "still switched on and the cable seated? Nothing written");
        return Failure{message};
    case ReadResult::Outcome::PortLost:
        message = QStringLiteral("the port %1 failed during the read (%2): is the cable "
                                 "still plugged in? Nothing written")
                      .arg(device, read.portError);
        return Failure{message};
    case ReadResult::Outcome::OtherModel: {
        const Model other = *read.radioModel;
        message =
            QStringLiteral("the radio is a %1, not a %2: nothing written (read it "
                           "with --model %3)")
                .arg(modelInfo(other).name, modelInfo(model).name, modelInfo(other).shortName);
        return Failure{message};
    }
    case ReadResult::Outcome::UnknownModel:
        message = QStringLiteral("the radio reports no model of this family: check that "
                                 "it is a ZW4630 and read again; nothing written");
        return Failure{message};
    case ReadResult::Outcome::Garbled:
        message = QStringLiteral("the radio's answer was garbled: check the cable and "
                                 "read again; nothing written");
        return Failure{message};
    }
    return Failure{message};
}

Result writeRadio(Model model, const QString &device, int readyTimeoutMs,
                  const ChannelFileData &data)
{
    QString message;
    RadioLine line(model, device);
    message = line.connect(readyTimeoutMs);
    if (line.interrupted())
        message = interruptedMessage();
    if (!message.isEmpty()) {
        // A port's text is a whole sentence, as the window shows it.
        message += message.endsWith(QLatin1Char('.')) ? QStringLiteral(" Nothing sent.")
                                                      : QStringLiteral("; nothing sent");
        return Failure{message};
    }
    QString keptIn;
    QString backupError;
    const WriteResult written = line.write(data, keptIn, backupError);
    if (line.interrupted() && !line.sentWriteRequest()) {
        message = interruptedMessage() + QStringLiteral("; nothing sent");
        return Failure{message};
    }
    switch (written.outcome) {
    case WriteResult::Outcome::Written:
        break;
    case WriteResult::Outcome::NoAnswer:
        message = noAnswerMessage() + QStringLiteral("; nothing sent");
        return Failure{message};
    case WriteResult::Outcome::OtherModel:
        message = QStringLiteral("the radio is a %1, not a %2: nothing sent (its channels "
                                 "are written only from a file of its own model)")
                      .arg(modelInfo(*written.radioModel).name, modelInfo(model).name);
        return Failure{message};
    case WriteResult::Outcome::NotIdentified:
        message = QStringLiteral("the radio's answer to the read request was cut or "
                                 "garbled, so its model is unknown: check the cable and "
                                 "write again; nothing sent");
        return Failure{message};
    case WriteResult::Outcome::Declined:
        message = QStringLiteral("cannot keep the radio's channels before writing (%1): "
                                 "nothing sent")
                      .arg(backupError);
        return Failure{message};
    case WriteResult::Outcome::PortLost: {
        const QString error =
            written.portError.isEmpty() ? QStringLiteral("data not sent") : written.portError;
        // Before "A" the radio takes nothing: only a write cut after it leaves part behind.
        message = written.writeRequestSent
                      ? QStringLiteral("the port %1 failed during the write (%2): is the "
                                       "cable still plugged in? The radio may hold part "
                                       "of the channels; write again")
                            .arg(device, error)
                      : QStringLiteral("the port %1 failed before the write (%2): is the "
                                       "cable still plugged in? Nothing sent")
                            .arg(device, error);
        return Failure{message};
    }
    }
    if (!keptIn.isEmpty())
        report(QStringLiteral("kept the radio's channels before the write in %1")
                   .arg(QDir::toNativeSeparators(keptIn)));
    return {};
}

} // namespace zw::cli
