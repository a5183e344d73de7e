#include "aboutdialog.h"

#include "messagebox.h"
#include "messages.h"
#include "programicon.h"
#include "twips.h"

#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>

namespace zw
{

QFont kaiTiFont(double pointSize)
{
    QFont font(QStringLiteral("KaiTi_GB2312"));
    font.setFamilies({QStringLiteral("KaiTi_GB2312"), QStringLiteral("KaiTi"),
                      QStringLiteral("楷体_GB2312"), QStringLiteral("楷体"),
                      QStringLiteral("AR PL UKai CN"), QStringLiteral("Noto Serif CJK SC")});
    font.setPointSizeF(pointSize);
    return font;
}

AboutDialog::AboutDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setModal(false);
    setWindowTitle(QStringLiteral("关于本软件"));
    setFixedSize(twips(5940), twips(4110));
    move(twips(2340), twips(1935));

    const QIcon icon = programIcon();
    setWindowIcon(icon);
    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("picIcon"));
    picture->setPixmap(icon.pixmap(32, 32));
    picture->setGeometry(twips(240), twips(240), 32, 32);

    addLabel("lblTitle", QStringLiteral("    ZW4630写频软件"), Qt::red, 15.75, 1050, 240, 4600,
             480);
    addLabel("lblVersion", QStringLiteral("      版本 B1.3"), Qt::red, 15.75, 1050, 780, 4600, 480);
    QLabel *description = addLabel(
        "lblDescription",
        QStringLiteral(
            "本软件是专供用户，对Talvenor的ZW4630对讲机，编写工作频率及参数的专用软件      "),
        Qt::blue, 12, 1050, 1380, 4600, 1200);
    description->setWordWrap(true);
    QLabel *support =
        addLabel("lblDisclaimer", QStringLiteral(" 技术咨询：") + QLatin1String(supportTelephone()),
                 QColor(0x80, 0x00, 0x80), 14.25, 240, 2880, 3900, 900);
    support->setWordWrap(true);

    // An etched separator: a grey line over a white one.
    auto *grey = new QFrame(this);
    grey->setObjectName(QStringLiteral("Line1"));
    grey->setFrameShape(QFrame::NoFrame);
    grey->setAutoFillBackground(true);
    grey->setStyleSheet(QStringLiteral("background-color: #808080;"));
    grey->setGeometry(twips(90), twips(2700), twips(5760), 1);
    auto *white = new QFrame(this);
    white->setObjectName(QStringLiteral("Line2"));
    white->setFrameShape(QFrame::NoFrame);
    white->setStyleSheet(QStringLiteral("background-color: #ffffff;"));
    white->setGeometry(twips(90), twips(2700) + 1, twips(5760), 1);

    auto *ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setGeometry(twips(4380), twips(2880), twips(1320), twips(375));
    ok->setDefault(true);
    ok->setAutoDefault(true);
    auto *sysInfo = new QPushButton(QStringLiteral("系统信息(&S)..."), this);
    sysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    sysInfo->setGeometry(twips(4380), twips(3420), twips(1320), twips(375));
    sysInfo->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &AboutDialog::close);
    connect(sysInfo, &QPushButton::clicked, this, &AboutDialog::startSysInfo);
    ok->setFocus();
}

QLabel *AboutDialog::addLabel(const char *name, const QString &text, const QColor &colour,
                              double pointSize, int left, int top, int width, int height)
{
    auto *label = new QLabel(text, this);
    label->setObjectName(QLatin1String(name));
    label->setFont(kaiTiFont(pointSize));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(twips(left), twips(top), twips(width), twips(height));
    return label;
}

QString AboutDialog::systemInfoProgram()
{
#ifdef Q_OS_WIN
    const QString root = QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\");
    const QSettings msinfo(root + QStringLiteral("Shared Tools\\MSINFO"), QSettings::NativeFormat);
    const QString path = msinfo.value(QStringLiteral("PATH")).toString();
    if (!path.isEmpty())
        return path;
    const QSettings location(root + QStringLiteral("Shared Tools Location"),
                             QSettings::NativeFormat);
    const QString folder = location.value(QStringLiteral("MSINFO")).toString();
    if (!folder.isEmpty()) {
        const QString program = folder + QStringLiteral("\\MSINFO32.EXE");
        if (QFileInfo::exists(program))
            return program;
    }
    return QString();
#else
    // The desktop's own system-information viewers, where one is installed.
    for (const char *name : {"kinfocenter", "hardinfo2", "hardinfo", "gnome-system-monitor"}) {
        const QString program = QStandardPaths::findExecutable(QLatin1String(name));
        if (!program.isEmpty())
            return program;
    }
    return QString();
#endif
}

void AboutDialog::startSysInfo()
{
    const QString program = systemInfoProgram();
    if (program.isEmpty() || !QProcess::startDetached(program, {})) {
        showMessage(this, MessageIcon::None, programTitle(), systemInfoUnavailableMessage);
    }
}

} // namespace zw
