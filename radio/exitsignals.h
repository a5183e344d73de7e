#pragma once

#include <QObject>

class QSocketNotifier;

namespace zw
{

// Turns SIGTERM, SIGINT and SIGHUP into a Qt signal, so that the program ends through its normal
// exit (transfers finish, the serial port closes and its lock file goes) instead of dying where
// it stands. The handler only writes the signal's number into a socket pair; the event loop
// reads it. One instance per program; on systems without these signals it does nothing.
class ExitSignals final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ExitSignals)

public:
    explicit ExitSignals(QObject *parent = nullptr);
    ~ExitSignals() override;

signals:
    // Emitted once, for the first of the signals that arrives.
    void exitRequested(int signalNumber);

private:
    QSocketNotifier *m_notifier = nullptr;
    bool m_requested = false;
};

} // namespace zw
