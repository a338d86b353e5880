#pragma once

#include <string>

namespace tavik {

// The language every lookup uses: 2052 (Simplified Chinese) or 1033 (English).
int GetCurrentLanguage();
void SetCurrentLanguage(int languageId);

// 2052 stays 2052; every other language id becomes 1033.
int NormaliseLanguageId(int languageId);

// Text `number` of `section` in "<program directory>language\<language>.lan"; empty when the
// file, section or key is missing. The file is read at every call.
std::wstring GetLanguageText(const wchar_t* section, int number);
std::wstring GetLanguageText(int number);

// The font family texts of the current language are drawn in: for 2052 a family the system
// maps to its CJK face (the toolkit's own face has no Chinese glyphs); empty for the
// toolkit's default.
std::wstring GetLanguageFontName();

}  // namespace tavik
