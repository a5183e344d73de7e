#include "tablebackups.h"

#include "channeldocument.h"
#include "channeltexts.h"
#include "language.h"
#include "messagebox.h"
#include "messages.h"

#include <QWidget>
#include <QtDebug>

namespace zw
{

TableBackups::TableBackups(ChannelDocument *document, QWidget *window)
    : QObject(window), m_document(document), m_window(window)
{
    setObjectName(QStringLiteral("tableBackups"));
}

Expected<BackupFile> TableBackups::write(BackupReason reason)
{
    const Expected<BackupFile> result =
        writeBackup(backupFolder(), m_document->model(), reason, m_document->channelFileData());
    if (result)
        m_lastBackup = result->fileName;
    return result;
}

bool TableBackups::keepBefore(BackupReason reason)
{
    const Expected<BackupFile> result = write(reason);
    if (result)
        return true;
    return askToContinue(m_window, systemInfoTitle,
                         backupFailedQuestion.arg(fileFailureText(result.failure(), isEnglish())));
}

void TableBackups::keepFromRadio()
{
    const Expected<BackupFile> result = write(BackupReason::FromRadio);
    if (!result)
        qWarning("cannot keep a backup of the radio's channels: %s",
                 qPrintable(fileFailureText(result.failure(), true)));
}

bool TableBackups::keepRadioBeforeWrite(const ChannelFileData &radio)
{
    const Expected<BackupFile> result =
        writeBackup(backupFolder(), m_document->model(), BackupReason::FromRadio, radio);
    if (result) {
        m_lastBackup = result->fileName;
        return true;
    }
    return askToContinue(
        m_window, systemInfoTitle,
        radioBackupFailedQuestion.arg(fileFailureText(result.failure(), isEnglish())));
}

} // namespace zw
