#pragma once

#include "channelfile.h"
#include "fleetlog.h"
#include "fleetrun.h"

#include <QPointer>
#include <QWidget>

class QLabel;
class QPushButton;
class QTableWidget;

namespace zw
{

class ChannelDocument;
class RadioSession;
class SerialConnection;

// Write Several Radios of a model window: a panel over the whole window that writes the
// window's table and its two settings, as stored when Start is pressed, into one radio after
// another (a FleetRun over the window's session). It shows the plan's name and checksum, the
// counters, the live log, the state in large words, Stop, and where the log is kept (fleet-
// YYYYMMDD.csv beside the backups unless changed). While it is open the window is locked, so
// the plan cannot drift during a run.
class FleetPanel final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FleetPanel)

public:
    // Covers `window`, which owns it; hidden until open().
    FleetPanel(RadioSession *session, SerialConnection *serial, ChannelDocument *document,
               QWidget *window);

    // Shows the panel over the window; `planName` names the table (its channel file or the
    // window).
    void open(const QString &planName);
    bool isRunning() const;
    QString logPath() const { return m_logPath; }
    FleetRun *run() const { return m_run; }

    // Open: the window holds its transfer lock.
    bool isOpen() const { return m_open; }

signals:
    // The panel opened (true) or closed (false).
    void openChanged(bool open);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void start();
    void stop();
    void chooseLog();
    void close();
    void showPhase(FleetRun::Phase phase, int radio);
    void addRow(const FleetRow &row, const WriteResult &result);
    void ended(const FleetEnd &end);
    void showCounts();
    void showButtons();

    RadioSession *m_session;
    SerialConnection *m_serial;
    ChannelDocument *m_document;
    ChannelFileData m_plan;
    QString m_planName;
    QString m_logPath;
    QPointer<FleetRun> m_run;
    FleetOutcome m_last = FleetOutcome::Verified;
    bool m_open = false;
    bool m_english = false; // the language the panel opened in
    QLabel *m_title;
    QLabel *m_planLine;
    QLabel *m_state;
    QLabel *m_counts;
    QTableWidget *m_logTable;
    QLabel *m_logLine;
    QPushButton *m_changeLog;
    QPushButton *m_start;
    QPushButton *m_stop;
    QPushButton *m_close;
};

} // namespace zw
