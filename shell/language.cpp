#include "language.h"

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

} // namespace zw
