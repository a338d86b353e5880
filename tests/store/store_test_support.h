#pragma once

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>

#include "app/common/text_encoding.h"

namespace tavik::test {

// A fresh directory below the system's temporary folder, removed with everything in it.
class TempDirectory {
public:
    TempDirectory() {
        std::random_device random;
        const std::filesystem::path base = std::filesystem::temp_directory_path();
        for (int attempt = 0; attempt < 100; ++attempt) {
            const std::filesystem::path candidate =
                base / ("tavik-store-" + std::to_string(random()) + "-" + std::to_string(attempt));
            std::error_code error;
            if (std::filesystem::create_directory(candidate, error)) {
                m_path = candidate;
                return;
            }
        }
    }
    ~TempDirectory() {
        std::error_code error;
        if (!m_path.empty()) {
            std::filesystem::remove_all(m_path, error);
        }
    }
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    // The directory as the program passes it around: wide text.
    std::wstring Wide() const { return Utf8ToWide(m_path.u8string()); }

private:
    std::filesystem::path m_path;
};

// A data directory as start-up leaves it: with its "db" folder.
inline std::filesystem::path MakeDataDirectory(const TempDirectory& temp) {
    std::filesystem::create_directories(temp.Path() / "db");
    return temp.Path();
}

// Whether SQLite's own command-line shell can be run to read our files back.
inline bool SqliteShellAvailable() {
#ifdef _WIN32
    return false;
#else
    std::error_code error;
    return std::filesystem::exists("/usr/bin/sqlite3", error);
#endif
}

// Runs "sqlite3 -batch FILE SQL" and returns what it printed (empty when it could not run).
// Paths and SQL are quoted for the shell; the SQL must not contain a double quote.
inline std::string RunSqliteShell(const std::filesystem::path& file, const std::string& sql) {
#ifdef _WIN32
    (void)file;
    (void)sql;
    return std::string();
#else
    const std::string command =
        "/usr/bin/sqlite3 -batch '" + file.u8string() + "' \"" + sql + "\" 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return std::string();
    }
    std::string output;
    char buffer[4096];
    size_t count;
    while ((count = fread(buffer, 1, sizeof(buffer), pipe)) > 0) {
        output.append(buffer, count);
    }
    pclose(pipe);
    return output;
#endif
}

}  // namespace tavik::test
