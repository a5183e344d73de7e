#include "tablebackups.h"

#include "captions.h"
#include "channelfileactions.h"
#include "language.h"
#include "messagebox.h"
#include "messages.h"
#include "modelwindow.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QtDebug>

namespace zw
{

TableBackups::TableBackups(ModelWindow *window, QMenu *fileMenu, QAction *before,
                           ChannelFileActions *files)
    : QObject(window), m_window(window), m_openBackups(new QAction(window))
{
    setObjectName(QStringLiteral("tableBackups"));
    m_openBackups->setObjectName(QStringLiteral("mnuOpenBackup"));
    m_openBackups->setText(captionText(Caption::OpenBackupItem,
                                       isEnglish() ? CaptionSet::English : CaptionSet::Design,
                                       &window->layout()));
    fileMenu->insertAction(before, m_openBackups);
    connect(m_openBackups, &QAction::triggered, files, [files] {
        QDir().mkpath(backupFolder());
        files->openFrom(backupFolder());
    });
}

Expected<BackupFile> TableBackups::write(BackupReason reason)
{
    const Expected<BackupFile> result =
        writeBackup(backupFolder(), m_window->model(), reason, m_window->channelFileData());
    if (result)
        m_lastBackup = result->fileName;
    return result;
}

bool TableBackups::keepBefore(BackupReason reason)
{
    const Expected<BackupFile> result = write(reason);
    if (result)
        return true;
    return askToContinue(m_window, systemInfoTitle, backupFailedQuestion.arg(result.error()));
}

void TableBackups::keepFromRadio()
{
    const Expected<BackupFile> result = write(BackupReason::FromRadio);
    if (!result)
        qWarning("cannot keep a backup of the radio's channels: %s", qPrintable(result.error()));
}

bool TableBackups::keepRadioBeforeWrite(const ChannelFileData &radio)
{
    const Expected<BackupFile> result =
        writeBackup(backupFolder(), m_window->model(), BackupReason::FromRadio, radio);
    if (result) {
        m_lastBackup = result->fileName;
        return true;
    }
    return askToContinue(m_window, systemInfoTitle, radioBackupFailedQuestion.arg(result.error()));
}

} // namespace zw
