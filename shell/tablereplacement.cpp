#include "tablereplacement.h"

#include "channelstore.h"
#include "messagebox.h"
#include "messages.h"
#include "modelwindow.h"
#include "tablebackups.h"

#include <QComboBox>
#include <QTableView>

namespace zw
{

bool replaceWholeTable(ModelWindow *window, BackupReason reason,
                       const TableReplacement &replacement)
{
    if (!window->backups()->keepBefore(reason))
        return false;
    ChannelStore *store = window->store();
    if (!store->setRecords(replacement.records)) {
        const QString &message =
            reason == BackupReason::BeforeRead ? readTableNotStoredMessage : tableNotStoredMessage;
        showMessage(window, MessageIcon::Exclamation, systemInfoTitle,
                    message.arg(store->lastError()));
        return false;
    }
    if (!replacement.squelchLevel.isEmpty())
        window->squelchList()->setCurrentText(replacement.squelchLevel);
    if (!replacement.channelTone.isEmpty())
        window->channelToneList()->setCurrentText(replacement.channelTone);
    window->grid()->setCurrentIndex(window->grid()->model()->index(0, 0));
    window->notifyTableReplaced();
    return true;
}

} // namespace zw
