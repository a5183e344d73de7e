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
                    editNotStoredMessage.arg(result.error()));
        return;
    }
    showMessage(parent, MessageIcon::Exclamation, systemInfoTitle,
                changedElsewhereMessage(elsewhere->channels, elsewhere->settings,
                                        direction != UndoDirection::None, isEnglish()));
}

} // namespace zw
