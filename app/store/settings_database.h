#pragma once

#include <mutex>
#include <string>
#include <string_view>

#include "app/store/sqlite_db.h"

namespace tavik {

// The separator of file paths on this platform.
#ifdef _WIN32
constexpr wchar_t kPathSeparator = L'\\';
#else
constexpr wchar_t kPathSeparator = L'/';
#endif

// Joins a directory and a name with one platform separator between them.
std::wstring JoinPath(std::wstring_view directory, std::wstring_view name);

// Full path of a model's settings file: "db" below the data directory, then
// "<model>_datav8.db". Empty when the model name could name a file outside that folder.
std::wstring SettingsDatabaseFilePath(std::wstring_view dataDirectory, std::wstring_view modelName);

// The settings database of the current mouse model: one per process, reached through
// Instance(). Every operation on it holds its lock, so the pages on the user-interface
// thread and the device worker never interleave their statements.
class SettingsDatabase {
public:
    // The process-wide object, created on first use.
    static SettingsDatabase& Instance();

    // Separate objects are for tests; the program uses Instance().
    SettingsDatabase() = default;
    SettingsDatabase(const SettingsDatabase&) = delete;
    SettingsDatabase& operator=(const SettingsDatabase&) = delete;
    virtual ~SettingsDatabase();

    // Opens the model's file below dataDirectory, creating it with the full schema when it
    // does not exist. An existing file is opened as it is, never repaired. True when the
    // database is usable; also true, without reopening, when that file is already open.
    bool OpenForModel(const std::wstring& dataDirectory, const std::wstring& modelName);
    // Closes the connection (before a model change or at exit) and clears the opened state.
    void Close();
    // The result of the last open.
    bool IsOpened() const;
    // UTF-8 path of the file named by the last open.
    std::string GetPath() const;

private:
    bool CreateSchema();

    mutable std::recursive_mutex m_lock;  // guards m_connection, m_path, m_opened
    SQLiteDB m_connection;
    std::string m_path;
    bool m_opened = false;
};

}  // namespace tavik
