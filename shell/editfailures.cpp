#include "editfailures.h"

#include "language.h"
#include "messagebox.h"
#include "messages.h"
#include "result.h"

namespace zw
{

void reportRefusedChange(QWidget *parent, const Result &result, UndoDirection direction)
{
    if (result)
        return;
    const std::optional<ChangedElsewhere> &elsewhere = result.failure().changedElsewhere;
    if (!elsewhere) {
        showMessage(parent, MessageIcon::Exclamation, systemInfoTitle,
                    storeFailureMessage(result.failure(), editNotStoredMessage));
        return;
    }
    showMessage(parent, MessageIcon::Exclamation, systemInfoTitle,
                changedElsewhereMessage(elsewhere->channels, elsewhere->settings,
                                        direction != UndoDirection::None, isEnglish()));
}

QString storeFailureMessage(const Failure &failure, const QString &message)
{
    if (failure.is(StoreFailure::Busy))
        return databaseBusyMessage(isEnglish());
    return message.arg(failure.why);
}

} // namespace zw
