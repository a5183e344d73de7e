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

// A question with the buttons `stop` (shown first, so a box answered without reading it
// changes nothing) and `go`. True when the user chose `go`, and never once the questions are
// declined.
bool askToConfirm(QWidget *parent, const QString &title, const QString &text, const QString &go,
                  const QString &stop);

// From now on every question is answered 取消 and no message is shown: the open ones are
// closed, later ones are not shown. The program is ending. (false only lets a test start
// afresh.)
void declineQuestions(bool declined = true);
// Whether declineQuestions() was called: the program is ending.
bool areQuestionsDeclined();
// Whether a question or a message is open: the code that showed it has not gone on yet.
bool isQuestionOpen();

// The program's own title, used where a message has no title of its own.
QString programTitle();

} // namespace zw
