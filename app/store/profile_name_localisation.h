#pragma once

#include <string>
#include <string_view>

namespace tavik {

// Interface languages (Windows language ids) whose profile word is known.
constexpr int kLanguageChineseSimplified = 2052;
constexpr int kLanguageChineseTraditional = 1028;
constexpr int kLanguageEnglish = 1033;
constexpr int kLanguageJapanese = 1041;
constexpr int kLanguageRussian = 1049;

// A profile's name as shown in the interface language. Profile names are stored in the
// language that was active when they were created ("Profile 1"); a name that begins with
// another language's profile word is shown with this language's word instead, followed by a
// blank and the rest of the name as stored (which keeps its own leading blank). Other names,
// and every name under a language without a profile word, are shown as stored.
std::wstring LocaliseProfileName(std::wstring_view storedName, int languageId);

}  // namespace tavik
