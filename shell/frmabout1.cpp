#include "frmabout1.h"

#include "frmabout.h"
#include "modelwindow.h"

#include <QLabel>
#include <QPushButton>

namespace zw {

namespace {

QString blanks(int n)
{
    return QString(n, u' ');
}

} // namespace

QString frmAbout1::notesText()
{
    const QChar quote(u'"');
    return blanks(18) + QStringLiteral("操作说明") + blanks(25)
           + QStringLiteral("一，使用随机配带的写频电缆，将对讲机（关机）耳机话筒插口与计算机串行口1（或串行口2）联结。")
           + blanks(4) + QStringLiteral("二，打开对讲机电源，屏显显示“对讲机就续”。") + blanks(4)
           + QStringLiteral("三，写频操作：用鼠标点菜单项“写信道数椐”。") + blanks(4)
           + QStringLiteral("四，读频操作：用鼠标点菜单项“读信道数据”。") + blanks(4)
           + QStringLiteral("五，文件操作：使用操作“文件”菜单的“保存文") + blanks(7)
           + QStringLiteral("件”子菜单，打开保存文件对话框，可以将当前") + blanks(6)
           + QStringLiteral("的频率数据保存（文件名自选，后缀") + blanks(2) + QStringLiteral(".doc）。")
           + blanks(6) + QStringLiteral("同样使用“打开文件”子菜单，可以将保存的频") + blanks(6)
           + QStringLiteral("率数据文件重新调出使用。") + blanks(21)
           + QStringLiteral("六，设置端口：如有必要，可操作") + quote + QStringLiteral("系统设置") + quote
           + QStringLiteral("菜单") + blanks(7)
           + QStringLiteral("的“选择端口”子菜单项，改变当前使用的串行") + blanks(6) + QStringLiteral("口。")
           + blanks(4);
}

frmAbout1::frmAbout1(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout1"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint);
    setModal(false);
    setWindowTitle(QStringLiteral("操作说明"));
    setFixedSize(twips(9060), twips(5715));
    move(twips(2340), twips(1935));

    auto *label = new QLabel(notesText(), this);
    label->setObjectName(QStringLiteral("lblDescription"));
    label->setFont(kaiTiFont(15.75));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::blue);
    label->setPalette(palette);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(twips(120), twips(120), twips(8820), twips(4920));

    auto *ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setGeometry(twips(7620), twips(5160), twips(1260), twips(420));
    ok->setDefault(true);
    ok->setAutoDefault(true);
    connect(ok, &QPushButton::clicked, this, &frmAbout1::close);
    ok->setFocus();
}

} // namespace zw
