#include "app/config/language_texts.h"

#include "app/services/language_text.h"

namespace tavik {

std::wstring PlatformLanguageTexts::LanguageText(int number) const {
    return GetLanguageText(number);
}

}  // namespace tavik
