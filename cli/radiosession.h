#pragma once

#include "channelfile.h"
#include "radiolink.h"

#include <QEventLoop>
#include <QObject>
#include <QString>
#include <QTimer>

namespace zw
{
class SerialConnection;
}

namespace zw::cli
{

// One read or write of a radio from the command line: opens the device, waits for the radio's
// answer to the ready poll, then runs the program's own link (RadioLink) on its four timers,
// drawing a progress bar on standard error. Runs its own event loop while it waits.
class RadioSession final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RadioSession)

public:
    RadioSession(Model model, const QString &device, int readyTimeoutMs, QObject *parent = nullptr);
    ~RadioSession() override;

    struct ReadResult {
        bool ok = false;
        ChannelFileData data; // the radio's channels and settings, as a channel file holds them
        QString message;      // why ok is false
    };
    ReadResult read();

    // Sends the channels and settings of `data` (a file of this session's model). An empty
    // text on success, else the message.
    QString write(const ChannelFileData &data);

    // The message for a device that cannot be opened, naming what to check.
    static QString openFailureMessage(const QString &device, const QString &portError);

private:
    // Opens the port and waits for the ready answer; an empty text, or the message.
    QString connectRadio();
    // Runs the event loop until `done` is set or `timeoutMs` passes; false on the time-out.
    bool waitFor(const bool &done, int timeoutMs);
    // Ends the wait of waitFor (a handler set its flag).
    void wake();

    Model m_model;
    QString m_device;
    int m_readyTimeoutMs;
    SerialConnection *m_serial;
    QTimer m_timer1; // write step (the model's pace)
    QTimer m_timer2; // write start delay
    QTimer m_timer3; // ready poll
    QTimer m_timer4; // read start
    RadioLink *m_link;
    QString m_portFailure;        // set when the port failed during the session
    QEventLoop *m_loop = nullptr; // the wait in progress
};

} // namespace zw::cli
