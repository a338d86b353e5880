// Configuration values, profiles and text snippets of the settings database.

#include "app/store/settings_database.h"

#include "app/store/config_keys.h"
#include "app/store/profile_name_localisation.h"

namespace tavik {

using Guard = std::lock_guard<std::recursive_mutex>;

bool SettingsDatabase::SetConfigValue(int profile, std::wstring_view key, std::wstring_view value) {
    Guard guard(m_lock);
    SQLiteStatement statement;
    m_connection.Prepare(statement,
                         "UPDATE t_configdata SET value = ? WHERE profile = ? and key = ?");
    statement.BindText(1, value);
    statement.BindInt(2, profile);
    statement.BindText(3, key);
    return StepSucceeded(statement.Step());
}

bool SettingsDatabase::GetConfigValue(int profile, std::wstring_view key, std::wstring& value) {
    Guard guard(m_lock);
    value.clear();
    SQLiteStatement statement;
    m_connection.Prepare(statement, "SELECT value FROM t_configdata WHERE profile = ? and key = ?");
    statement.BindInt(1, profile);
    statement.BindText(2, key);
    if (statement.Step() != kSQLiteRow) {
        return false;
    }
    value = statement.ColumnText(0);
    return true;
}

bool SettingsDatabase::InsertDefaultConfig(int profile) {
    Guard guard(m_lock);
    bool allStored = true;
    for (const ConfigKeyDefault& entry : kConfigKeys) {
        SQLiteStatement statement;
        m_connection.Prepare(statement,
                             "INSERT INTO t_configdata(profile, key, value) VALUES (?, ?, ?);");
        statement.BindInt(1, profile);
        statement.BindText(2, entry.key);
        statement.BindText(3, entry.createdWith);
        if (!StepSucceeded(statement.Step())) {
            allStored = false;
        }
    }
    return allStored;
}

bool SettingsDatabase::ResetConfigToDefaults(int profile) {
    // Each key is its own locked write, so the device worker may store between two of them.
    bool allStored = true;
    for (std::wstring_view key : kResetOrder) {
        const ConfigKeyDefault* entry = FindConfigKey(key);
        if (entry == nullptr || !SetConfigValue(profile, key, entry->resetTo)) {
            allStored = false;
        }
    }
    return allStored;
}

int SettingsDatabase::AddProfile(const NamedRecord& record) {
    Guard guard(m_lock);
    SQLiteStatement statement;
    m_connection.Prepare(
        statement, "INSERT INTO t_profile_data(name, status, app, type) VALUES (?, ?, ?, ?);");
    statement.BindText(1, record.name);
    statement.BindInt(2, 0);
    statement.BindText(3, record.text);
    statement.BindInt(4, 0);
    const int profile = InsertedId(statement.Step());
    if (profile != 0) {
        InsertDefaultConfig(profile);
    }
    return profile;
}

bool SettingsDatabase::RenameProfile(int profile, std::wstring_view name) {
    return UpdateTextById("UPDATE t_profile_data SET name = ? WHERE profile = ?", name, profile);
}

bool SettingsDatabase::GetProfileName(int profile, std::wstring& name) {
    if (!SelectTextById("SELECT name FROM t_profile_data WHERE profile = ?", profile, name)) {
        return false;
    }
    name = LocaliseProfileName(name, m_languageId);
    return true;
}

int SettingsDatabase::ListProfiles(std::vector<NamedRecord>& list) {
    Guard guard(m_lock);
    list.clear();
    SQLiteStatement statement;
    m_connection.Prepare(statement, "SELECT * FROM t_profile_data");
    const int languageId = m_languageId;
    while (statement.Step() == kSQLiteRow) {
        NamedRecord record;
        record.id = statement.ColumnInt(0);
        record.name = LocaliseProfileName(statement.ColumnText(1), languageId);
        record.status = statement.ColumnInt(2);
        record.text = statement.ColumnText(3);
        record.type = statement.ColumnInt(4);
        list.push_back(std::move(record));
    }
    return static_cast<int>(list.size());
}

bool SettingsDatabase::SetActiveProfile(int profile) {
    Guard guard(m_lock);
    SQLiteStatement statement;
    m_connection.Prepare(statement, "UPDATE t_profile_data SET status = ?");
    statement.BindInt(1, 0);
    statement.Step();
    m_connection.Prepare(statement, "UPDATE t_profile_data SET status = ? WHERE profile = ?");
    statement.BindInt(1, 1);
    statement.BindInt(2, profile);
    return StepSucceeded(statement.Step());
}

int SettingsDatabase::GetActiveProfile() {
    Guard guard(m_lock);
    SQLiteStatement statement;
    m_connection.Prepare(statement, "SELECT profile FROM t_profile_data WHERE status = ?");
    statement.BindInt(1, 1);
    if (statement.Step() != kSQLiteRow) {
        return 0;
    }
    return statement.ColumnInt(0);
}

int SettingsDatabase::AddText(const NamedRecord& record) {
    Guard guard(m_lock);
    SQLiteStatement statement;
    m_connection.Prepare(
        statement, "INSERT INTO t_text_data(name, status, content, type) VALUES (?, ?, ?, ?);");
    statement.BindText(1, record.name);
    statement.BindInt(2, 0);
    statement.BindText(3, record.text);
    statement.BindInt(4, 0);
    return InsertedId(statement.Step());
}

bool SettingsDatabase::DeleteText(int textId) {
    return ExecuteWithId("DELETE FROM t_text_data WHERE text_id = ?", textId);
}

bool SettingsDatabase::RenameText(int textId, std::wstring_view name) {
    return UpdateTextById("UPDATE t_text_data SET name = ? WHERE text_id = ?", name, textId);
}

bool SettingsDatabase::GetTextName(int textId, std::wstring& name) {
    return SelectTextById("SELECT name FROM t_text_data WHERE text_id = ?", textId, name);
}

bool SettingsDatabase::SetTextContent(int textId, std::wstring_view content) {
    return UpdateTextById("UPDATE t_text_data SET content = ? WHERE text_id = ?", content, textId);
}

bool SettingsDatabase::GetTextContent(int textId, std::wstring& content) {
    return SelectTextById("SELECT content FROM t_text_data WHERE text_id = ?", textId, content);
}

int SettingsDatabase::ListTexts(std::vector<NamedRecord>& list) {
    Guard guard(m_lock);
    list.clear();
    SQLiteStatement statement;
    m_connection.Prepare(statement, "SELECT * FROM t_text_data");
    while (statement.Step() == kSQLiteRow) {
        NamedRecord record;
        record.id = statement.ColumnInt(0);
        record.name = statement.ColumnText(1);
        record.status = statement.ColumnInt(2);
        record.text = statement.ColumnText(3);
        record.type = statement.ColumnInt(4);
        list.push_back(std::move(record));
    }
    return static_cast<int>(list.size());
}

}  // namespace tavik
