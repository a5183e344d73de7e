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

// Qt's own texts (the file dialogs, the buttons of Qt's dialogs, an edit line's context menu)
// follow the language: in Chinese they come from Qt's Chinese translations in the system's Qt
// translations folder (Debian's qt6-translations-l10n), in English they are Qt's own. Called at
// start and at each choice of a language; without the translations installed they stay English.
void followLanguageInQtTexts();

} // namespace zw
