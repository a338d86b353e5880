#pragma once

#include <fstream>
#include <functional>
#include <map>
#include <string>

#include "app/common/text_encoding.h"

namespace tavik::test {

// The texts of one language straight from the project's text table
// (assets/language/texts.tsv), so tests compare with the wording the program ships.
class TableLanguageTexts {
public:
    static constexpr int kEnglish = 1033;
    static constexpr int kChinese = 2052;

    explicit TableLanguageTexts(int language = kEnglish) { Load(language); }

    // Switches the language, as the settings dialog does.
    void Load(int language) {
        m_texts.clear();
        std::ifstream table(std::string(TAVIK_SOURCE_DIR) + "/assets/language/texts.tsv");
        std::string line;
        while (std::getline(table, line)) {
            if (line.empty() || line[0] < '0' || line[0] > '9') {
                continue;
            }
            std::string fields[4];
            size_t start = 0;
            for (int field = 0; field < 4; ++field) {
                const size_t tab = line.find('\t', start);
                fields[field] = line.substr(start, tab == std::string::npos ? tab : tab - start);
                start = tab == std::string::npos ? line.size() : tab + 1;
            }
            m_texts[std::stoi(fields[0])] =
                Utf8ToWide(language == kChinese ? fields[3] : fields[2]);
        }
    }

    std::wstring LanguageText(int number) const {
        const auto found = m_texts.find(number);
        return found == m_texts.end() ? std::wstring() : found->second;
    }

    // The lookup the page context takes.
    std::function<std::wstring(int)> Lookup() const {
        return [this](int number) { return LanguageText(number); };
    }

private:
    std::map<int, std::wstring> m_texts;
};

}  // namespace tavik::test
