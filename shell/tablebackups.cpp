#include "tablebackups.h"

#include "captions.h"
#include "channelfileactions.h"
#include "language.h"
#include "messagebox.h"
#include "modelwindow.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QtDebug>

namespace zw
{

TableBackups::TableBackups(ModelWindow *window)
    : QObject(window), m_window(window), m_openBackups(new QAction(window))
{
    setObjectName(QStringLiteral("tableBackups"));
    m_openBackups->setObjectName(QStringLiteral("mnuOpenBackup"));
    m_openBackups->setText(captionText(Caption::OpenBackupItem,
                                       isEnglish() ? CaptionSet::English : CaptionSet::Design,
                                       &window->info()));
    window->fileMenu()->insertAction(window->saveAction(), m_openBackups);
    connect(m_openBackups, &QAction::triggered, this, [this] {
        QDir().mkpath(backupFolder());
        if (auto *files = m_window->findChild<ChannelFileActions *>())
            files->openFrom(backupFolder());
    });
}

BackupResult TableBackups::write(BackupReason reason)
{
    const BackupResult result =
        writeBackup(backupFolder(), m_window->model(), reason, m_window->channelFileData());
    if (result.ok)
        m_lastBackup = result.fileName;
    return result;
}

bool TableBackups::keepBefore(BackupReason reason)
{
    const BackupResult result = write(reason);
    if (result.ok)
        return true;
    return askToContinue(
        m_window, systemInfoTitle(),
        QStringLiteral(
            "无法备份现有的信道数据（%1）。\n继续的话，现有的信道数据将被替换且没有备份。")
            .arg(result.error));
}

void TableBackups::keepFromRadio()
{
    const BackupResult result = write(BackupReason::FromRadio);
    if (!result.ok)
        qWarning("cannot keep a backup of the radio's channels: %s", qPrintable(result.error));
}

bool TableBackups::keepRadioBeforeWrite(const ChannelFileData &radio)
{
    const BackupResult result =
        writeBackup(backupFolder(), m_window->model(), BackupReason::FromRadio, radio);
    if (result.ok) {
        m_lastBackup = result.fileName;
        return true;
    }
    return askToContinue(
        m_window, systemInfoTitle(),
        QStringLiteral("无法备份对讲机中现有的信道数据（%1）。\n继续的话，对讲机中的信道数据将被"
                       "替换且没有备份。")
            .arg(result.error));
}

} // namespace zw
