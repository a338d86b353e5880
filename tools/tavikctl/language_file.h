#pragma once

#include <map>
#include <string>

namespace tavik::tavikctl {

// The numbered texts of one language file "language\<id>.lan" beside the program (UTF-16
// little-endian with a byte-order mark, section "[LAN]", lines "number=text"), read once, so
// that what the command line stores reads as what the window would store.
class LanguageFile {
public:
    // Reads the file; a missing or unreadable file leaves every text empty.
    bool Load(const std::wstring& programDirectory, int languageId);
    // Text `number`, empty when the file has none.
    std::wstring Text(int number) const;

private:
    std::map<int, std::wstring> m_texts;
};

}  // namespace tavik::tavikctl
