#pragma once

#include <filesystem>
#include <string>

namespace tavik {
class SettingsDatabase;
}

namespace tavik::tavikctl {

// Opens any file as the settings database, creating it with the schema when it is missing.
//
// SettingsDatabase opens files only by model name below a data directory
// ("<data>/db/<model>_datav8.db"). A file of that shape is opened directly; any other is
// reached through a symbolic link of that shape in a private scratch directory, which SQLite
// follows (its journal goes beside the real file). The scratch directory is removed when
// this object goes, after the database has been closed.
class DatabaseFile {
public:
    DatabaseFile() = default;
    ~DatabaseFile();
    DatabaseFile(const DatabaseFile&) = delete;
    DatabaseFile& operator=(const DatabaseFile&) = delete;

    // False with `error` set when the file cannot be opened or created.
    bool Open(SettingsDatabase& database, const std::filesystem::path& file, std::string& error);

private:
    bool MakeScratchDirectory();

    SettingsDatabase* m_database = nullptr;  // not owned
    std::filesystem::path m_scratch;
};

}  // namespace tavik::tavikctl
