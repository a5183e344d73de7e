#pragma once

#include <QDialog>
#include <QFont>
#include <QString>

class QLabel;
class QPushButton;

namespace zw
{

// The support telephone number shown after "技术咨询：". A placeholder of zeros: no real
// number is given out by this build.
inline const char *supportTelephone()
{
    return "000-0000-0000";
}

// The about windows' KaiTi font, with the CJK fonts that stand in for it where it is missing.
QFont kaiTiFont(double pointSize);

// The about window: the program's title and version, the support line, and a button that
// starts the operating system's system-information tool. Modeless, one instance (closing
// deletes it); Enter and Esc close it.
class AboutDialog final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AboutDialog)

public:
    explicit AboutDialog(QWidget *parent = nullptr);

    // The system-information tool of this system: on Windows from the registry, elsewhere the
    // first known tool found on the PATH. Empty when there is none.
    static QString systemInfoProgram();

    // cmdSysInfo: starts the tool, or says "此时系统信息不可用".
    void startSysInfo();

private:
    QLabel *addLabel(const char *name, const QString &text, const QColor &colour, double pointSize,
                     int left, int top, int width, int height);
};

} // namespace zw
