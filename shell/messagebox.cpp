#include "messagebox.h"

#include "captions.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>

namespace zw
{

void showMessage(QWidget *parent, MessageIcon icon, const QString &title, const QString &text)
{
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
    box.exec();
    return box.clickedButton() == go;
}

QString programTitle()
{
    return QCoreApplication::applicationName();
}

} // namespace zw
