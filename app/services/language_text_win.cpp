#include <windows.h>

#include <cwchar>

#include "app/services/language_text.h"
#include "orvo/manager.h"

namespace tavik {

std::wstring GetLanguageText(const wchar_t* section, int number) {
    wchar_t key[16] = {};
    std::swprintf(key, 16, L"%d", number);
    const std::wstring file = Orvo::Manager::GetProgramDirectory() + L"language\\" +
                              std::to_wstring(GetCurrentLanguage()) + L".lan";
    // The reader cuts values at 259 characters; the buffer holds that and the terminator.
    wchar_t text[260] = {};
    GetPrivateProfileStringW(section, key, L"", text, 260, file.c_str());
    return text;
}

}  // namespace tavik
