#pragma once

namespace zw
{

// The program-wide interface language: 0 at start, 1 after the user chose Chinese, 2 after
// English. Only "is it 2" is ever asked; each window reads it when it loads.
int languageMode();
void setLanguageMode(int mode);
inline bool isEnglish()
{
    return languageMode() == 2;
}

} // namespace zw
