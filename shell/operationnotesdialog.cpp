#include "operationnotesdialog.h"

#include "aboutdialog.h"
#include "twips.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>

#include <algorithm>

namespace zw
{

namespace
{

QString blanks(int n)
{
    return QString(n, u' ');
}

} // namespace

QString OperationNotesDialog::displayText(const QString &notes)
{
    // The blank runs were laid out to fill each line to the label's edge. Qt wraps CJK text
    // between any two characters, so a run of four or more blanks after text becomes a line
    // break instead; the heading keeps its leading blanks, and shorter runs stay spacing.
    static const QRegularExpression lineEnd(QStringLiteral("(?<=\\S) {4,}"));
    QString text = notes;
    text.replace(lineEnd, QStringLiteral("\n"));
    return text.trimmed().prepend(
        notes.left(notes.indexOf(QRegularExpression(QStringLiteral("\\S")))));
}

QString OperationNotesDialog::notesText()
{
    const QChar quote(u'"');
    return blanks(18) + QStringLiteral("操作说明") + blanks(25) +
           QStringLiteral("一，使用随机配带的写频电缆，将对讲机（关机）耳机话筒插口与计算机串行口1"
                          "（或串行口2）联结。") +
           blanks(4) + QStringLiteral("二，打开对讲机电源，屏显显示“对讲机就续”。") + blanks(4) +
           QStringLiteral("三，写频操作：用鼠标点菜单项“写信道数椐”。") + blanks(4) +
           QStringLiteral("四，读频操作：用鼠标点菜单项“读信道数据”。") + blanks(4) +
           QStringLiteral("五，文件操作：使用操作“文件”菜单的“保存文") + blanks(7) +
           QStringLiteral("件”子菜单，打开保存文件对话框，可以将当前") + blanks(6) +
           QStringLiteral("的频率数据保存（文件名自选，后缀") + blanks(2) +
           QStringLiteral(".doc）。") + blanks(6) +
           QStringLiteral("同样使用“打开文件”子菜单，可以将保存的频") + blanks(6) +
           QStringLiteral("率数据文件重新调出使用。") + blanks(21) +
           QStringLiteral("六，设置端口：如有必要，可操作") + quote + QStringLiteral("系统设置") +
           quote + QStringLiteral("菜单") + blanks(7) +
           QStringLiteral("的“选择端口”子菜单项，改变当前使用的串行") + blanks(6) +
           QStringLiteral("口。") + blanks(4);
}

OperationNotesDialog::OperationNotesDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout1"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setModal(false);
    setWindowTitle(QStringLiteral("操作说明"));
    setFixedSize(twips(9060), twips(5715));
    move(twips(2340), twips(1935));

    const QFont font = kaiTiFont(15.75);
    // KaiTi sets its lines about 1.15 em apart; the CJK fonts that stand in for it are set
    // wider, and the notes would no longer fit the window. Their lines are drawn closer.
    const QFontMetrics metrics(font);
    const int lineHeight = std::min(
        100, int(100 * 1.15 * QFontInfo(font).pixelSize() / std::max(1, metrics.lineSpacing())));
    QString html;
    for (const QString &line : displayText(notesText()).split(u'\n')) {
        html +=
            QStringLiteral("<p style=\"margin:0; white-space:pre-wrap; line-height:%1%;\">%2</p>")
                .arg(lineHeight)
                .arg(line.toHtmlEscaped());
    }
    auto *label = new QLabel(html, this);
    label->setTextFormat(Qt::RichText);
    label->setObjectName(QStringLiteral("lblDescription"));
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::blue);
    label->setPalette(palette);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(twips(120), 0, twips(8940), twips(5715)); // the whole window; cmdOK on top

    auto *ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setGeometry(twips(7620), twips(5160), twips(1260), twips(420));
    ok->setDefault(true);
    ok->setAutoDefault(true);
    connect(ok, &QPushButton::clicked, this, &OperationNotesDialog::close);
    ok->raise();
    ok->setFocus();
}

} // namespace zw
