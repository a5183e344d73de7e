#include "tablereplacement.h"

#include "channeldocument.h"
#include "editfailures.h"
#include "messagebox.h"
#include "messages.h"
#include "tablebackups.h"

namespace zw
{

bool replaceWholeTable(ChannelDocument *document, TableBackups *backups, QWidget *window,
                       BackupReason reason, const TableReplacement &replacement)
{
    if (!backups->keepBefore(reason))
        return false;
    // An empty setting keeps what the window has; with neither given, 设置表 is left alone.
    std::optional<RadioSettings> settings;
    if (!replacement.squelchLevel.isEmpty() || !replacement.channelTone.isEmpty()) {
        settings = document->settings();
        if (!replacement.squelchLevel.isEmpty())
            settings->squelchLevel = replacement.squelchLevel;
        if (!replacement.channelTone.isEmpty())
            settings->channelTone = replacement.channelTone;
    }
    const Result written = document->replace(replacement.records, settings);
    if (!written) {
        const QString &message =
            reason == BackupReason::BeforeRead ? readTableNotStoredMessage : tableNotStoredMessage;
        showMessage(window, MessageIcon::Exclamation, systemInfoTitle,
                    storeFailureMessage(written.failure(), message));
        return false;
    }
    return true;
}

} // namespace zw
