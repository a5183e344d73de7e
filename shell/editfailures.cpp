#include "editfailures.h"

#include "captions.h"
#include "channelrecord.h"
#include "channeltexts.h"
#include "language.h"
#include "messagebox.h"
#include "messages.h"
#include "result.h"

#include <QDir>

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

bool offerToDiscardRefusedStep(QWidget *parent, const Result &result, UndoDirection direction)
{
    if (result)
        return false;
    const std::optional<ChangedElsewhere> &elsewhere = result.failure().changedElsewhere;
    // A busy or failing database refuses for the moment only: the step is worth keeping.
    if (!elsewhere || direction == UndoDirection::None) {
        reportRefusedChange(parent, result, direction);
        return false;
    }
    // Refused for good until the other program's values go again: kept, it would be refused at
    // every try and keep the steps beyond it out of reach.
    const bool english = isEnglish();
    const CaptionSet set = english ? CaptionSet::English : CaptionSet::Design;
    return askToConfirm(
        parent, systemInfoTitle,
        changedElsewhereMessage(elsewhere->channels, elsewhere->settings, true, english) +
            QStringLiteral("\n") +
            discardRefusedStepQuestion(direction == UndoDirection::Undo, english),
        captionText(Caption::DiscardStepButton, set), captionText(Caption::KeepButton, set));
}

QString storeFailureText(const Failure &failure, bool english)
{
    const StoreFailure *kind = std::get_if<StoreFailure>(&failure.kind);
    if (!kind)
        return failure.why;
    const QString path = QDir::toNativeSeparators(failure.path);
    auto say = [english](const char *en, const char *zh) {
        return english ? QString::fromUtf8(en) : QString::fromUtf8(zh);
    };
    switch (*kind) {
    case StoreFailure::Refused:
        break;
    case StoreFailure::Busy:
        return say("another program or window is using the model database",
                   "另一个程序或窗口正在使用本机型的数据库");
    case StoreFailure::NotOpen:
        return say("the channel database is not open", "信道数据库没有打开");
    case StoreFailure::ReadOnly:
        return say("the channel database %1 is read-only", "信道数据库 %1 是只读的").arg(path);
    case StoreFailure::CannotCreate:
        return say("cannot create %1", "无法创建 %1").arg(path);
    case StoreFailure::CannotRename:
        return say("cannot rename %1", "无法给 %1 改名").arg(path);
    case StoreFailure::NotAFile:
        return say("not a file", "不是文件");
    case StoreFailure::Unreadable:
        return say("cannot read %1", "无法读取 %1").arg(path);
    case StoreFailure::NotADatabase:
        return say("not a SQLite database", "不是 SQLite 数据库");
    case StoreFailure::RecordCount:
        if (failure.number > channelCount)
            return say("more than %1 records", "记录多于 %1 条").arg(channelCount);
        return say("%1 records instead of %2", "有 %1 条记录，应为 %2 条")
            .arg(failure.number)
            .arg(channelCount);
    case StoreFailure::NoSuchChannel:
        return say("no channel %1", "没有信道 %1").arg(failure.number);
    case StoreFailure::RecordMissing:
        return say("a channel's record is missing from %1", "%1 中缺少信道的记录").arg(path);
    case StoreFailure::ChangedElsewhere:
        return say("changed by another program meanwhile", "已被另一程序修改");
    }
    return failure.why; // SQLite's own text
}

QString unsavedFileMessage(const Failure &failure, const QString &message, const QString &fileName)
{
    if (failure.is(FileFailure::FolderSyncFailed))
        return fileFailureText(failure, isEnglish());
    return message.arg(QDir::toNativeSeparators(fileName), fileFailureReason(failure, isEnglish()));
}

QString storeFailureMessage(const Failure &failure, const QString &message)
{
    if (failure.is(StoreFailure::Busy))
        return databaseBusyMessage(isEnglish());
    return message.arg(storeFailureText(failure, isEnglish()));
}

} // namespace zw
