#include "messagebox.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace zw {

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

QString programTitle()
{
    return QCoreApplication::applicationName();
}

} // namespace zw
