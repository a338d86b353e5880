#include "app/frame/ui_state_file.h"

#include <windows.h>

#include <cstdio>

#include "app/common/text_encoding.h"

namespace tavik {

void UiStateFile::Add(const std::string& key, const std::wstring& value) {
    std::string text = WideToUtf8(value);
    // One value a line: a line break inside a text would start a false key.
    for (char& c : text) {
        if (c == '\n' || c == '\r') {
            c = ' ';
        }
    }
    m_lines.emplace_back(key, std::move(text));
}

void UiStateFile::Add(const std::string& key, const char* value) {
    m_lines.emplace_back(key, value);
}

void UiStateFile::Add(const std::string& key, int value) {
    m_lines.emplace_back(key, std::to_string(value));
}

void UiStateFile::AddRect(const std::string& key, int left, int top, int right, int bottom) {
    m_lines.emplace_back(key, std::to_string(left) + "," + std::to_string(top) + "," +
                                  std::to_string(right) + "," + std::to_string(bottom));
}

bool UiStateFile::Write() {
    std::string contents;
    for (const auto& [key, value] : m_lines) {
        contents += key + "=" + value + "\n";
    }
    m_lines.clear();
    const std::wstring temporary = m_path + L".tmp";
    FILE* file = _wfopen(temporary.c_str(), L"wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = std::fwrite(contents.data(), 1, contents.size(), file) == contents.size();
    const bool closed = std::fclose(file) == 0;
    return written && closed &&
           MoveFileExW(temporary.c_str(), m_path.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

}  // namespace tavik
