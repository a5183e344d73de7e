#include "messagebox.h"

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
    QPushButton *cancel = box.addButton(QStringLiteral("取消"), QMessageBox::RejectRole);
    QPushButton *go = box.addButton(QStringLiteral("继续"), QMessageBox::AcceptRole);
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
