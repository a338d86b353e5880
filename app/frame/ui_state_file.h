#pragma once

#include <string>
#include <utility>
#include <vector>

namespace tavik {

// What the main window shows, written as "key=value" lines for the end-to-end tests and the
// benchmarks (TAVIK_UI_STATE). The file is replaced whole, so a reader never sees half of it.
class UiStateFile {
public:
    explicit UiStateFile(std::wstring path) : m_path(std::move(path)) {}

    void Add(const std::string& key, const std::wstring& value);
    void Add(const std::string& key, const char* value);
    void Add(const std::string& key, int value);
    void AddRect(const std::string& key, int left, int top, int right, int bottom);
    // Writes the lines added since the last write; false when the file could not be written.
    bool Write();

private:
    std::wstring m_path;
    std::vector<std::pair<std::string, std::string>> m_lines;
};

}  // namespace tavik
