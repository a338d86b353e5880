// Macros and their events in the settings database.

#include "app/store/settings_database.h"

namespace tavik {
namespace {

using Guard = std::lock_guard<std::recursive_mutex>;

constexpr char kInsertMacroSql[] =
    "INSERT INTO t_macro_data(name, play_type, play_times, delay_type, delay_time) VALUES (?, "
    "?, ?, ?, ?);";

constexpr char kInsertMacroEventSql[] =
    "INSERT INTO t_macrorecord(macro_id, type, record_index, desc, value, delay_time) "
    "\t\t\t\t\t VALUES (?, ?, ?, ?, ?, ?);";

void ReadMacro(const SQLiteStatement& statement, MacroRecord& record) {
    record.macroId = statement.ColumnInt(0);
    record.name = statement.ColumnText(1);
    record.playType = statement.ColumnInt(2);
    record.playTimes = statement.ColumnInt(3);
    record.delayType = statement.ColumnInt(4);
    record.delayTime = statement.ColumnInt(5);
}

}  // namespace

int SettingsDatabase::AddMacro(std::wstring_view name) {
    MacroRecord record;
    record.name = std::wstring(name);
    record.playType = 0;
    record.playTimes = 1;
    record.delayType = 1;
    record.delayTime = 0;
    return AddMacroWithSettings(record);
}

int SettingsDatabase::AddMacroWithSettings(const MacroRecord& record) {
    Guard guard(m_lock);
    SQLiteStatement statement;
    m_connection.Prepare(statement, kInsertMacroSql);
    statement.BindText(1, record.name);
    statement.BindInt(2, record.playType);
    statement.BindInt(3, record.playTimes);
    statement.BindInt(4, record.delayType);
    statement.BindInt(5, record.delayTime);
    return InsertedId(statement.Step());
}

bool SettingsDatabase::RenameMacro(int macroId, std::wstring_view name) {
    return UpdateTextById("UPDATE t_macro_data SET name = ? WHERE macro_id = ?", name, macroId);
}

bool SettingsDatabase::DeleteMacro(int macroId) {
    // One lock over both deletes: no one sees the macro without its events.
    Guard guard(m_lock);
    return ExecuteWithId("DELETE FROM t_macro_data WHERE macro_id = ?", macroId) &&
           ExecuteWithId("DELETE FROM t_macrorecord WHERE macro_id = ?", macroId);
}

bool SettingsDatabase::GetMacro(int macroId, MacroRecord& record) {
    Guard guard(m_lock);
    SQLiteStatement statement;
    m_connection.Prepare(statement, "SELECT * FROM t_macro_data WHERE macro_id = ?");
    statement.BindInt(1, macroId);
    if (statement.Step() != kSQLiteRow) {
        return false;
    }
    ReadMacro(statement, record);
    return true;
}

bool SettingsDatabase::UpdateMacro(const MacroRecord& record) {
    Guard guard(m_lock);
    SQLiteStatement statement;
    m_connection.Prepare(statement,
                         "UPDATE t_macro_data SET name = ?, play_type = ?, play_times = ?, "
                         "delay_type = ?,delay_time = ? WHERE macro_id = ?");
    statement.BindText(1, record.name);
    statement.BindInt(2, record.playType);
    statement.BindInt(3, record.playTimes);
    statement.BindInt(4, record.delayType);
    statement.BindInt(5, record.delayTime);
    statement.BindInt(6, record.macroId);
    return StepSucceeded(statement.Step());
}

int SettingsDatabase::ListMacros(std::vector<MacroRecord>& list) {
    Guard guard(m_lock);
    list.clear();
    SQLiteStatement statement;
    m_connection.Prepare(statement, "SELECT * FROM t_macro_data");
    while (statement.Step() == kSQLiteRow) {
        MacroRecord record;
        ReadMacro(statement, record);
        list.push_back(std::move(record));
    }
    return static_cast<int>(list.size());
}

int SettingsDatabase::AddMacroEvent(const MacroEvent& event) {
    Guard guard(m_lock);
    SQLiteStatement statement;
    m_connection.Prepare(statement, kInsertMacroEventSql);
    statement.BindInt(1, event.macroId);
    statement.BindInt(2, event.type);
    statement.BindInt(3, event.recordIndex);
    statement.BindText(4, event.description);
    statement.BindInt(5, event.value);
    statement.BindInt(6, event.delayTime);
    return InsertedId(statement.Step());
}

int SettingsDatabase::AddMacroEvents(const std::vector<MacroEvent>& list) {
    Guard guard(m_lock);
    SQLiteAutoTransaction transaction(&m_connection);
    int stored = 0;
    for (const MacroEvent& event : list) {
        if (AddMacroEvent(event) != 0) {
            ++stored;
        }
    }
    transaction.Commit();
    return stored;
}

int SettingsDatabase::ListMacroEvents(int macroId, std::vector<MacroEvent>& list) {
    Guard guard(m_lock);
    list.clear();
    SQLiteStatement statement;
    m_connection.Prepare(
        statement, "SELECT * FROM t_macrorecord WHERE macro_id = ? ORDER BY record_index ASC");
    statement.BindInt(1, macroId);
    while (statement.Step() == kSQLiteRow) {
        MacroEvent event;
        event.recordId = statement.ColumnInt(0);
        event.macroId = statement.ColumnInt(1);
        event.type = statement.ColumnInt(2);
        event.recordIndex = statement.ColumnInt(3);
        event.description = statement.ColumnText(4);
        event.value = statement.ColumnInt(5);
        event.delayTime = statement.ColumnInt(6);
        list.push_back(std::move(event));
    }
    return static_cast<int>(list.size());
}

bool SettingsDatabase::DeleteMacroEvents(int macroId) {
    return ExecuteWithId("DELETE FROM t_macrorecord WHERE macro_id = ?", macroId);
}

}  // namespace tavik
