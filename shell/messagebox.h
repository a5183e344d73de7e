#pragma once

#include <QString>

class QWidget;

namespace zw
{

enum class MessageIcon { None, Information, Exclamation };

// The one way the program shows a message: a modal box with a single OK button. Tests answer
// these boxes and read their icon, title and text.
void showMessage(QWidget *parent, MessageIcon icon, const QString &title, const QString &text);

// A question with the buttons "继续" and "取消" (the first one shown is 取消, so a box answered
// without reading it changes nothing). True when the user chose 继续, and never once the
// questions are declined.
bool askToContinue(QWidget *parent, const QString &title, const QString &text);

// From now on every question is answered 取消: the open ones are closed, later ones and later
// notices are not shown. The program is ending. (false only lets a test start afresh.)
void declineQuestions(bool declined = true);
// Whether a question is open: the code that asked it has not had its answer yet.
bool isQuestionOpen();

// The program's own title, used where a message has no title of its own.
QString programTitle();

} // namespace zw
