#pragma once

#include <QString>

class QWidget;

namespace zw
{

class Result;
struct Failure;

enum class UndoDirection { None, Undo, Redo };

// Tells the user, in a message over `parent`, why an edit (or its undo or redo, as `direction`
// says) was not stored: another program changed the same channels meanwhile (they are named,
// and the table now shows what that program stored), or the database refused the write. Says
// nothing when `result` is a success.
void reportRefusedChange(QWidget *parent, const Result &result, UndoDirection direction);

// As reportRefusedChange for a refused undo or redo; when another program changed what the step
// would write, the user is also offered to discard the step. True when the user chose that.
bool offerToDiscardRefusedStep(QWidget *parent, const Result &result, UndoDirection direction);

// What went wrong with the model database, in a few words of the window's language (English
// or not), to fill the database messages' %1: the window's one wording of each StoreFailure.
QString storeFailureText(const Failure &failure, bool english);

// The message for a store failure: the busy message in the window's language when another
// program or window held the database, else `message` with storeFailureText() for %1.
QString storeFailureMessage(const Failure &failure, const QString &message);

// The message for a save of `fileName` that failed: `message` (which says the old file is
// unchanged) with the file's name for %1 and why for %2, unless the new file is already in place
// and only its folder's sync failed, which is said instead.
QString unsavedFileMessage(const Failure &failure, const QString &message, const QString &fileName);

} // namespace zw
