#pragma once

#include <string>

namespace tavik {

// The numbered texts of the interface language, as the page logic reads them. The program
// reads the language files (PlatformLanguageTexts); tests read the text table itself, so
// the rules that compare stored names with texts are checked against the real wording.
class LanguageTexts {
public:
    virtual ~LanguageTexts() = default;
    // Text `number` of the current language; empty when there is none.
    virtual std::wstring LanguageText(int number) const = 0;
};

#ifdef _WIN32
// The texts of the current language file beside the program (GetLanguageText).
class PlatformLanguageTexts : public LanguageTexts {
public:
    std::wstring LanguageText(int number) const override;
};
#endif

}  // namespace tavik
