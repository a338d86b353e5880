#include "app/store/settings_database.h"

#include <cstdint>
#include <filesystem>
#include <system_error>

#include "app/common/text_encoding.h"

namespace tavik {
namespace {

// The schema, in the order it is created: each table, then the index on its key column.
// t_configdata has no index; t_key_textdata and t_key_light_data are kept for the file
// format although nothing reads or writes them.
constexpr const char* kSchemaStatements[] = {
    "CREATE TABLE IF NOT EXISTS t_configdata (config_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "profile INTEGER, key TEXT, value TEXT)",

    "CREATE TABLE IF NOT EXISTS t_profile_data (profile INTEGER PRIMARY KEY AUTOINCREMENT, "
    "name TEXT, status INTEGER, app TEXT, type INTEGER)",
    "CREATE INDEX IF NOT EXISTS profileindex ON t_profile_data(profile)",

    "CREATE TABLE IF NOT EXISTS t_text_data (text_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "name TEXT, status INTEGER, content TEXT, type INTEGER)",
    "CREATE INDEX IF NOT EXISTS textindex ON t_text_data(text_id)",

    "CREATE TABLE IF NOT EXISTS t_key_macro_data (key_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "profile INTEGER, fn_layer INTEGER, key_code INTEGER, layout_value INTEGER, "
    "layout_desc TEXT, macro_type INTEGER, macro_value INTEGER, macro_value2 INTEGER, "
    "macro_value3 INTEGER, macro_desc TEXT)",
    "CREATE INDEX IF NOT EXISTS keyindex ON t_key_macro_data(key_id)",

    "CREATE TABLE IF NOT EXISTS t_key_otherdata (macro_value INTEGER PRIMARY KEY "
    "AUTOINCREMENT, macro_desc TEXT, param TEXT, type INTEGER)",
    "CREATE INDEX IF NOT EXISTS otheridindex ON t_key_otherdata(macro_value)",

    "CREATE TABLE IF NOT EXISTS t_key_textdata (macro_value INTEGER PRIMARY KEY "
    "AUTOINCREMENT, type INTEGER, text_caption TEXT, text_desc TEXT)",
    "CREATE INDEX IF NOT EXISTS t_key_textdataindex ON t_key_textdata(macro_value)",

    "CREATE TABLE IF NOT EXISTS t_macro_data (macro_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "name TEXT, play_type INTEGER, play_times INTEGER, delay_type INTEGER, "
    "delay_time INTEGER)",
    "CREATE INDEX IF NOT EXISTS macroidindex ON t_macro_data(macro_id)",

    "CREATE TABLE IF NOT EXISTS t_macrorecord (record_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "macro_id INTEGER, type INTEGER, record_index INTEGER, desc TEXT, value INTEGER, "
    "delay_time INTEGER)",
    "CREATE INDEX IF NOT EXISTS macrorecordindex ON t_macrorecord(record_id)",

    "CREATE TABLE IF NOT EXISTS t_light_data (light_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "profile INTEGER, name TEXT, mode INTEGER, brightness INTEGER, speed INTEGER, "
    "direction INTEGER, colorful INTEGER, colorindex INTEGER, color_value1 INTEGER, "
    "color_value2 INTEGER, color_value3 INTEGER, color_value4 INTEGER, color_value5 INTEGER, "
    "color_value6 INTEGER, color_value7 INTEGER, color_value8 INTEGER, "
    "move_closelight INTEGER, config_func INTEGER, reserved INTEGER, status INTEGER)",
    "CREATE INDEX IF NOT EXISTS lightindex ON t_light_data(light_id)",

    "CREATE TABLE IF NOT EXISTS t_key_light_data (keylight_id INTEGER PRIMARY KEY "
    "AUTOINCREMENT, profile INTEGER, light_id INTEGER, key_code INTEGER, key_rgb INTEGER)",
    "CREATE INDEX IF NOT EXISTS keylightindex ON t_key_light_data(keylight_id)",
};

// A model name comes from the device catalogue, a file beside the program: one that holds a
// separator, a drive colon or a NUL could place the database outside the data directory.
bool IsSafeModelName(std::wstring_view modelName) {
    if (modelName.empty()) {
        return false;
    }
    for (wchar_t c : modelName) {
        if (c == L'/' || c == L'\\' || c == L':' || c == L'\0') {
            return false;
        }
    }
    return true;
}

bool FileExists(const std::string& utf8Path) {
    std::error_code error;
    return std::filesystem::exists(std::filesystem::u8path(utf8Path), error);
}

}  // namespace

std::wstring JoinPath(std::wstring_view directory, std::wstring_view name) {
    std::wstring joined(directory);
    if (!joined.empty() && joined.back() != L'/' && joined.back() != kPathSeparator) {
        joined.push_back(kPathSeparator);
    }
    joined.append(name);
    return joined;
}

std::wstring SettingsDatabaseFilePath(std::wstring_view dataDirectory,
                                      std::wstring_view modelName) {
    if (!IsSafeModelName(modelName)) {
        return std::wstring();
    }
    std::wstring fileName(modelName);
    fileName.append(L"_datav8.db");
    return JoinPath(JoinPath(dataDirectory, L"db"), fileName);
}

SettingsDatabase& SettingsDatabase::Instance() {
    static SettingsDatabase instance;
    return instance;
}

SettingsDatabase::~SettingsDatabase() {
    Close();
}

bool SettingsDatabase::OpenForModel(const std::wstring& dataDirectory,
                                    const std::wstring& modelName) {
    return OpenFile(SettingsDatabaseFilePath(dataDirectory, modelName));
}

bool SettingsDatabase::OpenFile(const std::wstring& filePath) {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    if (filePath.empty()) {
        m_opened = false;
        return false;
    }
    const std::string utf8Path = WideToUtf8(filePath);
    // An open connection to another model's file would have every later write land in the
    // wrong model's settings: only the same file counts as already open.
    if (m_connection.IsOpen() && utf8Path != m_path) {
        m_connection.Close();
    }
    m_path = utf8Path;

    bool result;
    if (FileExists(m_path)) {
        result = m_connection.IsOpen() ||
                 m_connection.Open(m_path, kSQLiteOpenReadWrite | kSQLiteOpenFullMutex);
    } else {
        result = CreateSchema();
    }
    m_opened = result;
    return result;
}

bool SettingsDatabase::CreateSchema() {
    if (m_connection.IsOpen()) {
        return true;
    }
    if (!m_connection.Open(m_path,
                           kSQLiteOpenReadWrite | kSQLiteOpenCreate | kSQLiteOpenFullMutex)) {
        return false;
    }
    bool allSucceeded = true;
    for (const char* statement : kSchemaStatements) {
        if (m_connection.Execute(statement) != kSQLiteOk) {
            allSucceeded = false;
        }
    }
    return allSucceeded;
}

int SettingsDatabase::InsertedId(int stepResult) {
    if (!StepSucceeded(stepResult)) {
        return 0;
    }
    const int64_t rowId = m_connection.LastInsertRowId();
    if (rowId < 0) {
        return 0;
    }
    return static_cast<int>(static_cast<uint32_t>(rowId & 0xFFFFFFFF));
}

bool SettingsDatabase::ExecuteWithId(const char* sql, int id) {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    SQLiteStatement statement;
    m_connection.Prepare(statement, sql);
    statement.BindInt(1, id);
    return StepSucceeded(statement.Step());
}

bool SettingsDatabase::UpdateTextById(const char* sql, std::wstring_view text, int id) {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    SQLiteStatement statement;
    m_connection.Prepare(statement, sql);
    statement.BindText(1, text);
    statement.BindInt(2, id);
    return StepSucceeded(statement.Step());
}

bool SettingsDatabase::SelectTextById(const char* sql, int id, std::wstring& text) {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    text.clear();
    SQLiteStatement statement;
    m_connection.Prepare(statement, sql);
    statement.BindInt(1, id);
    if (statement.Step() != kSQLiteRow) {
        return false;
    }
    text = statement.ColumnText(0);
    return true;
}

void SettingsDatabase::Close() {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    m_connection.Close();
    m_opened = false;
}

bool SettingsDatabase::IsOpened() const {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    return m_opened;
}

std::string SettingsDatabase::GetPath() const {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    return m_path;
}

bool SettingsDatabase::RunInTransaction(const std::function<bool()>& work) {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    // A savepoint is a transaction of its own at the outermost level and a nested one inside
    // another, so a failing inner piece of work rolls back only what it wrote.
    if (m_connection.Execute("SAVEPOINT tavik_work") != kSQLiteOk) {
        return false;
    }
    if (work() && m_connection.Execute("RELEASE tavik_work") == kSQLiteOk) {
        return true;
    }
    m_connection.Execute("ROLLBACK TO tavik_work");
    m_connection.Execute("RELEASE tavik_work");
    return false;
}

}  // namespace tavik
