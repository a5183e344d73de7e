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
QList<QMessageBox *> openQuestions; // innermost last

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
    box.exec();
}

bool askToContinue(QWidget *parent, const QString &title, const QString &text)
{
    if (questionsDeclined)
        return false;
    QMessageBox box(parent);
    box.setIcon(QMessageBox::Warning);
    box.setWindowTitle(title);
    box.setText(text);
    QPushButton *cancel = box.addButton(
        captionText(Caption::ContinueQuestionStop, CaptionSet::Design), QMessageBox::RejectRole);
    QPushButton *go = box.addButton(captionText(Caption::ContinueQuestionGo, CaptionSet::Design),
                                    QMessageBox::AcceptRole);
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    openQuestions.append(&box);
    box.exec();
    openQuestions.removeOne(&box);
    // A click that came after the box was declined does not count.
    return !questionsDeclined && box.clickedButton() == go;
}

void declineQuestions(bool declined)
{
    questionsDeclined = declined;
    if (declined)
        for (QMessageBox *box : std::as_const(openQuestions))
            box->reject();
}

bool isQuestionOpen()
{
    return !openQuestions.isEmpty();
}

QString programTitle()
{
    return QCoreApplication::applicationName();
}

} // namespace zw
