#include "fleetpanel.h"

#include "backups.h"
#include "captions.h"
#include "channeldocument.h"
#include "channeltexts.h"
#include "filedialogs.h"
#include "fleettexts.h"
#include "language.h"
#include "messagebox.h"
#include "messages.h"

#include <QDate>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace zw
{

namespace
{

QString text(Caption caption, bool english)
{
    return captionText(caption, english ? CaptionSet::English : CaptionSet::Chinese);
}

QLabel *label(QWidget *parent, const char *name, int pointSize, bool bold)
{
    auto *l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    QFont font = l->font();
    font.setPointSize(pointSize);
    font.setBold(bold);
    l->setFont(font);
    l->setWordWrap(true);
    return l;
}

} // namespace

FleetPanel::FleetPanel(RadioSession *session, SerialConnection *serial, ChannelDocument *document,
                       QWidget *window)
    : QWidget(window), m_session(session), m_serial(serial), m_document(document),
      m_title(label(this, "fleetTitle", 14, true)), m_planLine(label(this, "fleetPlan", 10, false)),
      m_state(label(this, "fleetState", 22, true)), m_counts(label(this, "fleetCounts", 11, false)),
      m_logTable(new QTableWidget(0, 6, this)), m_logLine(label(this, "fleetLogFile", 9, false)),
      m_changeLog(new QPushButton(this)), m_start(new QPushButton(this)),
      m_stop(new QPushButton(this)), m_close(new QPushButton(this))
{
    setObjectName(QStringLiteral("fleetPanel"));
    setAutoFillBackground(true); // the table beneath does not show through
    m_state->setMinimumHeight(m_state->fontMetrics().height() * 2 + 8);
    m_logTable->setObjectName(QStringLiteral("fleetLog"));
    m_logTable->setHorizontalHeaderLabels(FleetLog::header().split(u','));
    m_logTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_logTable->verticalHeader()->hide();
    m_logTable->setWordWrap(false);
    // The backup's file name is at the end of its path: that end stays in view.
    m_logTable->setTextElideMode(Qt::ElideLeft);
    m_logTable->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_logTable->horizontalHeader()->setStretchLastSection(true);
    m_changeLog->setObjectName(QStringLiteral("fleetChangeLog"));
    m_start->setObjectName(QStringLiteral("fleetStart"));
    m_stop->setObjectName(QStringLiteral("fleetStop"));
    m_close->setObjectName(QStringLiteral("fleetClose"));

    auto *logRow = new QHBoxLayout;
    logRow->addWidget(m_logLine, 1);
    logRow->addWidget(m_changeLog);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton *button : {m_start, m_stop, m_close})
        buttons->addWidget(button);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_title);
    layout->addWidget(m_planLine);
    layout->addWidget(m_state);
    layout->addWidget(m_counts);
    layout->addWidget(m_logTable, 1);
    layout->addLayout(logRow);
    layout->addLayout(buttons);

    connect(m_start, &QPushButton::clicked, this, &FleetPanel::start);
    connect(m_stop, &QPushButton::clicked, this, &FleetPanel::stop);
    connect(m_close, &QPushButton::clicked, this, &FleetPanel::close);
    connect(m_changeLog, &QPushButton::clicked, this, &FleetPanel::chooseLog);
    window->installEventFilter(this);
    hide();
}

bool FleetPanel::isRunning() const
{
    return m_run && m_run->phase() != FleetRun::Phase::Ended;
}

void FleetPanel::open(const QString &planName)
{
    // The panel takes the language at each opening and keeps it while open, as a model window
    // keeps the captions it loaded with: a run's words never switch language half-way.
    m_english = isEnglish();
    m_planName = planName;
    m_document->refresh();
    m_plan = m_document->channelFileData();
    if (m_logPath.isEmpty())
        m_logPath = FleetRun::defaultLogName(backupFolder(), QDate::currentDate());
    m_title->setText(text(Caption::FleetTitle, m_english));
    m_planLine->setText(text(Caption::FleetPlan, m_english)
                            .arg(planName, FleetRun::planChecksum(m_plan, m_document->model())));
    m_state->setText(text(Caption::FleetBeforeStart, m_english));
    m_logLine->setText(
        text(Caption::FleetLogFile, m_english).arg(QDir::toNativeSeparators(m_logPath)));
    m_changeLog->setText(text(Caption::FleetChangeLog, m_english));
    m_start->setText(text(Caption::FleetStart, m_english));
    m_stop->setText(text(Caption::FleetStop, m_english));
    m_close->setText(text(Caption::FleetClose, m_english));
    showCounts();
    showButtons();
    setGeometry(parentWidget()->rect());
    m_open = true;
    emit openChanged(true);
    show();
    raise();
    m_start->setFocus();
}

void FleetPanel::start()
{
    if (isRunning())
        return;
    // The plan is what is stored now (the window is locked, so it stays so during the run).
    m_document->refresh();
    m_plan = m_document->channelFileData();
    m_planLine->setText(text(Caption::FleetPlan, m_english)
                            .arg(m_planName, FleetRun::planChecksum(m_plan, m_document->model())));
    QDir().mkpath(QFileInfo(m_logPath).absolutePath());
    delete m_run;
    m_run = new FleetRun(m_session, m_serial, this);
    connect(m_run, &FleetRun::phaseChanged, this, &FleetPanel::showPhase);
    connect(m_run, &FleetRun::stepChanged, this,
            [this](LinkState::Transfer, int radio) { showPhase(FleetRun::Phase::Writing, radio); });
    connect(m_run, &FleetRun::radioDone, this, &FleetPanel::addRow);
    connect(m_run, &FleetRun::ended, this, &FleetPanel::ended);
    m_logTable->setRowCount(0);
    if (const Result started = m_run->start(m_plan, m_logPath); !started) {
        delete m_run;
        showMessage(this, MessageIcon::Exclamation, systemInfoTitle,
                    fileFailureText(started.failure(), m_english));
        return;
    }
    // An earlier day's log goes on where it ended: its rows are shown too.
    const Expected<QList<FleetRow>> earlier = FleetLog::read(m_logPath);
    if (earlier) {
        for (const FleetRow &row : *earlier)
            addRow(row, WriteResult());
    }
    showCounts();
    showButtons();
}

void FleetPanel::stop()
{
    if (!m_run)
        return;
    m_run->stop();
    if (m_run->isStopping())
        m_state->setText(text(Caption::FleetStopping, m_english).arg(m_run->radio()));
    showButtons();
}

void FleetPanel::chooseLog()
{
    QFileDialog dialog(this, text(Caption::FleetChangeLog, m_english));
    dialog.setObjectName(QStringLiteral("fleetLogDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // The log is appended to: choosing an existing log is no reason to ask about replacing it.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setNameFilter(QStringLiteral("CSV (*.csv)"));
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    dialog.selectFile(m_logPath);
    const QString chosen = execFileDialog(dialog);
    if (chosen.isEmpty())
        return;
    m_logPath = chosen;
    m_logLine->setText(
        text(Caption::FleetLogFile, m_english).arg(QDir::toNativeSeparators(m_logPath)));
}

void FleetPanel::close()
{
    if (isRunning())
        return;
    hide();
    m_open = false;
    emit openChanged(false);
}

void FleetPanel::showPhase(FleetRun::Phase phase, int radio)
{
    if (phase == FleetRun::Phase::Ended)
        return; // ended() says how
    if (phase == FleetRun::Phase::Writing && m_run && m_run->isStopping())
        return;
    m_state->setText(fleetPhaseText(phase, radio, m_run ? m_run->step() : LinkState::Transfer::Idle,
                                    m_last, m_english));
}

void FleetPanel::addRow(const FleetRow &row, const WriteResult &)
{
    m_last = row.outcome;
    const int at = m_logTable->rowCount();
    m_logTable->insertRow(at);
    QStringList channels;
    for (int channel : row.changedChannels)
        channels << QString::number(channel);
    const QStringList cells = {QString::number(row.radio),
                               row.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                               row.model ? modelInfo(*row.model).name : QString(),
                               fleetOutcomeName(row.outcome),
                               channels.join(u' '),
                               QDir::toNativeSeparators(row.backup)};
    for (int column = 0; column < cells.size(); ++column)
        m_logTable->setItem(at, column, new QTableWidgetItem(cells.at(column)));
    m_logTable->scrollToBottom();
    showCounts();
}

void FleetPanel::ended(const FleetEnd &end)
{
    m_state->setText(fleetEndText(end, m_logPath, m_english));
    showButtons();
}

void FleetPanel::showCounts()
{
    const FleetCounts counts = m_run ? m_run->counts() : FleetCounts();
    const QString separator = QStringLiteral("    ");
    m_counts->setText(QStringList{
        text(Caption::FleetVerified, m_english) + QStringLiteral(" %1").arg(counts.verified),
        text(Caption::FleetDiffers, m_english) + QStringLiteral(" %1").arg(counts.differs),
        text(Caption::FleetNotChecked, m_english) + QStringLiteral(" %1").arg(counts.notChecked),
        text(Caption::FleetRefused, m_english) + QStringLiteral(" %1").arg(counts.otherModel),
        text(Caption::FleetNotWritten, m_english) + QStringLiteral(" %1").arg(counts.notWritten)}
                          .join(separator));
}

void FleetPanel::showButtons()
{
    const bool running = isRunning();
    m_start->setEnabled(!running);
    m_changeLog->setEnabled(!running);
    m_close->setEnabled(!running);
    m_stop->setEnabled(running && !m_run->isStopping());
}

bool FleetPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    return QWidget::eventFilter(watched, event);
}

} // namespace zw
