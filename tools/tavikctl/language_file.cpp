#include "tools/tavikctl/language_file.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "app/common/text_encoding.h"

namespace tavik::tavikctl {

namespace {

// A language file of this size would already be many times the whole table.
constexpr std::uintmax_t kMaxFileSize = 4 * 1024 * 1024;

}  // namespace

bool LanguageFile::Load(const std::wstring& programDirectory, int languageId) {
    m_texts.clear();
    const std::filesystem::path file = std::filesystem::u8path(WideToUtf8(programDirectory)) /
                                       "language" / (std::to_string(languageId) + ".lan");
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (error || size < 2 || size > kMaxFileSize) {
        return false;
    }
    std::ifstream stream(file, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(stream)),
                                  std::istreambuf_iterator<char>());
    if (bytes.size() < 2 || static_cast<unsigned char>(bytes[0]) != 0xFF ||
        static_cast<unsigned char>(bytes[1]) != 0xFE) {
        return false;
    }
    std::wstring text;
    for (size_t at = 2; at + 1 < bytes.size(); at += 2) {
        const unsigned unit = static_cast<unsigned char>(bytes[at]) |
                              static_cast<unsigned>(static_cast<unsigned char>(bytes[at + 1])) << 8;
        text.push_back(static_cast<wchar_t>(unit));
    }
    // Surrogate pairs stay as they are: wide text on Windows is UTF-16 as well, and the
    // texts this tool stores are plain.
    bool inSection = false;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) {
            end = text.size();
        }
        std::wstring line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == L'\r') {
            line.pop_back();
        }
        if (!line.empty() && line.front() == L'[') {
            inSection = line == L"[LAN]";
            continue;
        }
        const size_t equals = line.find(L'=');
        if (!inSection || equals == std::wstring::npos || equals == 0 || equals > 9) {
            continue;
        }
        int number = 0;
        bool digits = true;
        for (size_t at = 0; at < equals; ++at) {
            if (line[at] < L'0' || line[at] > L'9') {
                digits = false;
                break;
            }
            number = number * 10 + (line[at] - L'0');
        }
        if (digits) {
            m_texts[number] = line.substr(equals + 1);
        }
    }
    return true;
}

std::wstring LanguageFile::Text(int number) const {
    const auto found = m_texts.find(number);
    return found == m_texts.end() ? std::wstring() : found->second;
}

}  // namespace tavik::tavikctl
