#include "app/store/profile_name_localisation.h"

#include <array>
#include <cstddef>

namespace tavik {
namespace {

constexpr std::wstring_view kWordEnglish = L"Profile";
constexpr std::wstring_view kWordChineseSimplified = L"\u914D\u7F6E";   // 配置
constexpr std::wstring_view kWordChineseTraditional = L"\u914D\u5BD8";  // 配寘
constexpr std::wstring_view kWordJapanese = L"\u30DC\u30BF\u30F3";      // ボタン
constexpr std::wstring_view kWordRussian =
    L"\u041F\u0440\u043E\u0444\u0438\u043B\u044C";  // Профиль

struct LanguageProfileWord {
    int languageId;
    std::wstring_view targetWord;
    // The stored words this language rewrites, tested in this order; unused slots are empty.
    std::array<std::wstring_view, 4> otherWords;
};

const LanguageProfileWord kLanguages[] = {
    {kLanguageChineseSimplified,
     kWordChineseSimplified,
     {{kWordEnglish, kWordChineseTraditional, kWordJapanese}}},
    {kLanguageChineseTraditional,
     kWordChineseTraditional,
     {{kWordEnglish, kWordChineseSimplified, kWordJapanese}}},
    {kLanguageEnglish,
     kWordEnglish,
     {{kWordChineseSimplified, kWordChineseTraditional, kWordJapanese}}},
    {kLanguageJapanese,
     kWordJapanese,
     {{kWordEnglish, kWordChineseSimplified, kWordChineseTraditional}}},
    {kLanguageRussian,
     kWordRussian,
     {{kWordEnglish, kWordChineseSimplified, kWordChineseTraditional, kWordJapanese}}},
};

}  // namespace

std::wstring LocaliseProfileName(std::wstring_view storedName, int languageId) {
    for (const LanguageProfileWord& language : kLanguages) {
        if (language.languageId != languageId) {
            continue;
        }
        for (std::wstring_view word : language.otherWords) {
            if (!word.empty() && storedName.substr(0, word.size()) == word) {
                std::wstring shown(language.targetWord);
                shown.push_back(L' ');
                shown.append(storedName.substr(word.size()));
                return shown;
            }
        }
        break;
    }
    return std::wstring(storedName);
}

}  // namespace tavik
