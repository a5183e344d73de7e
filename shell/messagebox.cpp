#include "messagebox.h"

#include "captions.h"

#include <QCoreApplication>
#include <QList>
#include <QMessageBox>
#include <QPushButton>

namespace zw
{

namespace
{

bool questionsDeclined = false;
QList<QMessageBox *> openBoxes; // the questions and messages open, innermost last

} // namespace

void showMessage(QWidget *parent, MessageIcon icon, const QString &title, const QString &text)
{
    // The program is ending: no notice opens to hold it up.
    if (questionsDeclined)
        return;
    QMessageBox box(parent);
    box.setIcon(icon == MessageIcon::Information   ? QMessageBox::Information
                : icon == MessageIcon::Exclamation ? QMessageBox::Warning
                                                   : QMessageBox::NoIcon);
    box.setWindowTitle(title);
    box.setText(text);
    box.setStandardButtons(QMessageBox::Ok);
    openBoxes.append(&box);
    box.exec();
    openBoxes.removeOne(&box);
}

bool askToContinue(QWidget *parent, const QString &title, const QString &text)
{
    return askToConfirm(parent, title, text,
                        captionText(Caption::ContinueQuestionGo, CaptionSet::Design),
                        captionText(Caption::ContinueQuestionStop, CaptionSet::Design));
}

bool askToConfirm(QWidget *parent, const QString &title, const QString &text, const QString &goText,
                  const QString &stopText)
{
    if (questionsDeclined)
        return false;
    QMessageBox box(parent);
    box.setIcon(QMessageBox::Warning);
    box.setWindowTitle(title);
    box.setText(text);
    QPushButton *cancel = box.addButton(stopText, QMessageBox::RejectRole);
    QPushButton *go = box.addButton(goText, QMessageBox::AcceptRole);
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    openBoxes.append(&box);
    box.exec();
    openBoxes.removeOne(&box);
    // A click that came after the box was declined does not count.
    return !questionsDeclined && box.clickedButton() == go;
}

void declineQuestions(bool declined)
{
    questionsDeclined = declined;
    if (declined)
        for (QMessageBox *box : std::as_const(openBoxes))
            box->reject();
}

bool areQuestionsDeclined()
{
    return questionsDeclined;
}

bool isQuestionOpen()
{
    return !openBoxes.isEmpty();
}

QString programTitle()
{
    return QCoreApplication::applicationName();
}

} // namespace zw
