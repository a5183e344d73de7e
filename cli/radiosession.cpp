#include "radiosession.h"

#include "codec.h"
#include "console.h"
#include "filecommands.h"
#include "portaccess.h"
#include "radiosettings.h"
#include "serialconnection.h"

#include <QEventLoop>
#include <QFileInfo>

namespace zw::cli
{

namespace
{

// Time allowed for the last blocks of a write to leave the port after the link sent them.
constexpr int drainTimeoutMs = 5000;
constexpr int drainCheckMs = 10;
// Longer than any read or write the link runs; the link ends each one itself.
constexpr int transferLimitMs = 60000;

QString noAnswerMessage()
{
    return QStringLiteral("no answer from the radio: is it switched on and the cable seated?");
}

} // namespace

RadioSession::RadioSession(Model model, const QString &device, int readyTimeoutMs, QObject *parent)
    : QObject(parent), m_model(model), m_device(device), m_readyTimeoutMs(readyTimeoutMs),
      m_serial(new SerialConnection(this))
{
    // The same timer roles and intervals as a model window.
    m_timer1.setInterval(modelInfo(model).timer1IntervalMs);
    m_timer2.setInterval(100);
    m_timer3.setInterval(100);
    m_timer4.setInterval(500);
    m_link = new RadioLink(model, m_serial, {&m_timer1, &m_timer2, &m_timer3, &m_timer4}, this);
    m_serial->setDevice(1, device);
    m_serial->setPortNumber(1);
    connect(m_serial, &SerialConnection::portFailed, this, [this](const QString &error) {
        m_portFailure = error;
        wake();
    });
}

RadioSession::~RadioSession()
{
    m_link->stop();
    m_serial->close();
}

QString RadioSession::openFailureMessage(const QString &device, const QString &portError)
{
    if (!QFileInfo::exists(device))
        return QStringLiteral("no device %1: is the cable plugged in and the name right?")
            .arg(device);
    // The group that grants access is the device's own (dialout on Debian for USB cables).
    if (const PortAccess access = portAccess(device); access.denied)
        return QStringLiteral("permission denied on %1: membership of group %2 grants access")
            .arg(device, access.group);
    return QStringLiteral("cannot open %1 (%2): is another program using it?")
        .arg(device, portError);
}

bool RadioSession::waitFor(const bool &done, int timeoutMs)
{
    if (done)
        return true;
    QEventLoop loop;
    m_loop = &loop;
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    m_loop = nullptr;
    return done;
}

void RadioSession::wake()
{
    if (m_loop)
        m_loop->quit();
}

QString RadioSession::connectRadio()
{
    if (!m_serial->open())
        return openFailureMessage(m_device, m_serial->errorString());
    bool ready = false;
    QObject context; // the connections below end with this function
    connect(m_link, &RadioLink::radioReady, &context, [this, &ready] {
        ready = true;
        wake();
    });
    m_timer3.start();
    const bool answered = waitFor(ready, m_readyTimeoutMs);
    if (!m_portFailure.isEmpty())
        return QStringLiteral("the port %1 failed (%2): is the cable still plugged in?")
            .arg(m_device, m_portFailure);
    if (!answered)
        return noAnswerMessage();
    return QString();
}

RadioSession::ReadResult RadioSession::read()
{
    ReadResult result;
    result.message = connectRadio();
    if (!result.message.isEmpty())
        return result;

    bool finished = false;
    RadioLink::Outcome outcome = RadioLink::Outcome::NoData;
    QByteArray reply;
    ProgressBar bar(QStringLiteral("reading"));
    QObject context; // the connections below end with this function
    connect(m_link, &RadioLink::progress, &context,
            [&bar](int done, int total) { bar.update(done, total); });
    connect(m_link, &RadioLink::readFinished, &context,
            [&](RadioLink::Outcome o, const QByteArray &r) {
                outcome = o;
                reply = r;
                finished = true;
                wake();
            });
    m_link->beginRead();
    // The link ends every read itself (a block's silence limit, a failed port).
    while (!finished)
        waitFor(finished, transferLimitMs);
    bar.finish();

    switch (outcome) {
    case RadioLink::Outcome::NoData:
        result.message = QStringLiteral("the radio stopped answering during the read: is it "
                                        "still switched on and the cable seated? Nothing written");
        return result;
    case RadioLink::Outcome::PortUnavailable:
        result.message = QStringLiteral("the port %1 failed during the read (%2): is the cable "
                                        "still plugged in? Nothing written")
                             .arg(m_device, m_portFailure);
        return result;
    case RadioLink::Outcome::Finished:
        break;
    }

    const RadioReply decoded = decodeReply(reply, newModelTable(), m_model);
    switch (decoded.status) {
    case RadioReply::Status::Ok:
        break;
    case RadioReply::Status::OtherModel: {
        const Model other = *decoded.radioModel;
        result.message =
            QStringLiteral("the radio is a %1, not a %2: nothing written (read it "
                           "with --model %3)")
                .arg(modelInfo(other).name, modelInfo(m_model).name, shortModelName(other));
        return result;
    }
    case RadioReply::Status::UnknownModel:
        result.message = QStringLiteral("the radio reports no model of this family: check that "
                                        "it is a ZW4630 and read again; nothing written");
        return result;
    case RadioReply::Status::BadCharacter:
    case RadioReply::Status::Incomplete:
        result.message = QStringLiteral("the radio's answer was garbled: check the cable and "
                                        "read again; nothing written");
        return result;
    }

    result.ok = true;
    result.data.modelCode = modelInfo(m_model).code;
    // A trailer value the lists do not offer leaves the setting a new window starts with.
    result.data.squelchLevel = decoded.settings.squelchLevel.isEmpty()
                                   ? defaultSquelchLevel()
                                   : decoded.settings.squelchLevel;
    result.data.channelTone = decoded.settings.channelTone.isEmpty() ? defaultChannelTone()
                                                                     : decoded.settings.channelTone;
    result.data.records = decoded.records;
    return result;
}

QString RadioSession::write(const ChannelFileData &data)
{
    const QString message = connectRadio();
    if (!message.isEmpty())
        return message + QStringLiteral("; nothing sent");

    // A file holds no channel numbers: the radio gets 1 to 16, as from a new model table.
    ChannelTable records = data.records;
    const ChannelTable numbers = newModelTable();
    for (std::size_t row = 0; row < records.size(); ++row)
        records[row][ChannelNumber] = numbers[row][ChannelNumber];

    bool finished = false;
    RadioLink::Outcome outcome = RadioLink::Outcome::PortUnavailable;
    ProgressBar bar(QStringLiteral("writing"));
    QObject context; // the connections below end with this function
    connect(m_link, &RadioLink::progress, &context,
            [&bar](int done, int total) { bar.update(done, total); });
    connect(m_link, &RadioLink::writeFinished, &context, [&](RadioLink::Outcome o) {
        outcome = o;
        finished = true;
        wake();
    });
    m_link->beginWrite(records, data.squelchLevel, data.channelTone);
    while (!finished)
        waitFor(finished, transferLimitMs);

    // The last block may still wait in the port's buffer: let it reach the line.
    bool drained = m_serial->bytesToWrite() == 0;
    QTimer drainCheck;
    connect(&drainCheck, &QTimer::timeout, this, [&] {
        drained = m_serial->bytesToWrite() == 0;
        if (drained)
            wake();
    });
    drainCheck.start(drainCheckMs);
    if (outcome == RadioLink::Outcome::Finished)
        waitFor(drained, drainTimeoutMs);
    bar.finish();

    if (outcome != RadioLink::Outcome::Finished || !drained || !m_portFailure.isEmpty())
        return QStringLiteral("the port %1 failed during the write (%2): is the cable still "
                              "plugged in? The radio may hold part of the channels; write again")
            .arg(m_device,
                 m_portFailure.isEmpty() ? QStringLiteral("data not sent") : m_portFailure);
    return QString();
}

} // namespace zw::cli
