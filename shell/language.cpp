#include "language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace zw
{

namespace
{
int g_languageMode = 0;
}

int languageMode()
{
    return g_languageMode;
}

void setLanguageMode(int mode)
{
    g_languageMode = mode;
}

void followLanguageInQtTexts()
{
    static QTranslator *chinese = nullptr;
    if (!QCoreApplication::instance())
        return;
    if (isEnglish()) {
        if (chinese)
            QCoreApplication::removeTranslator(chinese);
        return;
    }
    if (!chinese) {
        chinese = new QTranslator(QCoreApplication::instance());
        if (!chinese->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                           QStringLiteral("_"),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            delete chinese;
            chinese = nullptr;
            return;
        }
    }
    QCoreApplication::installTranslator(chinese);
}

} // namespace zw
