#pragma once

class QWidget;

namespace zw
{

class Result;

enum class UndoDirection { None, Undo, Redo };

// Tells the user, in a message over `parent`, why an edit (or its undo or redo, as `direction`
// says) was not stored: another program changed the same channels meanwhile (they are named,
// and the table now shows what that program stored), or the database refused the write. Says
// nothing when `result` is a success.
void reportRefusedChange(QWidget *parent, const Result &result, UndoDirection direction);

} // namespace zw
