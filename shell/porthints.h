#pragma once

#include "portprober.h"

#include <QObject>
#include <QString>

class QLabel;

namespace zw
{

class RadioSession;
class SerialConnection;

// Why a port did not open, in one line naming the device, in the window's language: no such
// device; permission denied (naming the group to join only when that group may read and write
// the device, else pointing to a udev rule); in use (by which process, from the lock file).
// Empty when nothing explains the failure.
QString openFailureReason(const PortOpenFailure &failure);

// A port message as shown: the message, then a second line with the reason why `port` of
// `serial` did not open, when one is found.
QString withOpenFailureReason(const QString &message, const SerialConnection &serial, int port);
QString withOpenFailureReason(const QString &message, const PortOpenFailure &failure);

// A port message that blames the port's use (`inUseWords`, e.g. "已被使用"), with one cause: when
// the port is known to have failed for another reason (no such device, not a serial port, no
// permission) those words give way to that reason's, in the same sentence; the second line
// then explains it. A port that may well be in use keeps the message as it is.
QString portMessageWithCause(const QString &message, const QString &inUseWords,
                             const SerialConnection &serial, int port);

// What Find Radio in the port dialog says: while it polls, when a radio answered on `device`,
// and when none did (what to check, and why the ports that did not open failed).
QString findingRadioText();
QString radioFoundText(const QString &device);
QString noRadioFoundText(const QList<PortProber::Result> &results);

// What a model window's status line says when the pointer rests on it: while the radio has
// not answered the ready poll, what to check; nothing once it is ready (the line shows
// `statusText`) or while `transferring`.
QString statusLineHint(const SerialConnection *serial, bool transferring,
                       const QString &statusText);

// Keeps the status line's tooltip to statusLineHint(), worked out when the tooltip is asked for.
class StatusLineHint final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(StatusLineHint)

public:
    // Keeps the tooltip of `statusLine`, which shows the state of `session` on `serial`.
    StatusLineHint(QLabel *statusLine, const SerialConnection *serial, const RadioSession *session);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLabel *m_statusLine;
    const SerialConnection *m_serial;
    const RadioSession *m_session;
};

} // namespace zw
