#include <atomic>

#include "app/services/language_text.h"

namespace tavik {
namespace {

std::atomic<int> g_currentLanguage{1033};

}  // namespace

int GetCurrentLanguage() {
    return g_currentLanguage;
}

void SetCurrentLanguage(int languageId) {
    g_currentLanguage = languageId;
}

int NormaliseLanguageId(int languageId) {
    return languageId == 2052 ? 2052 : 1033;
}

std::wstring GetLanguageText(int number) {
    return GetLanguageText(L"LAN", number);
}

std::wstring GetLanguageFontName() {
    return NormaliseLanguageId(GetCurrentLanguage()) == 2052 ? L"Microsoft YaHei" : L"";
}

}  // namespace tavik
