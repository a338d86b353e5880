// Button assignments and their extra data in the settings database.

#include "app/store/settings_database.h"

namespace tavik {
namespace {

using Guard = std::lock_guard<std::recursive_mutex>;

// The mouse reports a computer-side function's press with the assignment's value 1 in a
// single byte, which names the extra data row (program, address) or the text.
constexpr int kLargestReportedId = 255;

bool IsComputerFunction(int functionType) {
    return functionType == kFunctionLaunchProgram || functionType == kFunctionOpenWebAddress ||
           functionType == kFunctionTypeTextSnippet;
}

void ReadKeyAssignment(const SQLiteStatement& statement, KeyAssignment& record) {
    record.keyId = statement.ColumnInt(0);
    record.profile = statement.ColumnInt(1);
    record.layer = statement.ColumnInt(2);
    record.keyCode = statement.ColumnInt(3);
    record.layoutValue = statement.ColumnInt(4);
    record.layoutDescription = statement.ColumnText(5);
    record.functionType = statement.ColumnInt(6);
    record.value1 = statement.ColumnInt(7);
    record.value2 = statement.ColumnInt(8);
    record.value3 = statement.ColumnInt(9);
    record.description = statement.ColumnText(10);
}

}  // namespace

int SettingsDatabase::SaveKeyAssignment(const KeyAssignment& record) {
    Guard guard(m_lock);
    const bool stores = record.value1 != 0 || record.value2 != 0;
    // An id the mouse cannot carry in its byte would come back as another row's id and launch
    // the wrong program, address or text: such an assignment is refused before the old one
    // is touched.
    if (stores && IsComputerFunction(record.functionType) &&
        (record.value1 < 1 || record.value1 > kLargestReportedId)) {
        return 0;
    }
    SQLiteStatement statement;
    m_connection.Prepare(
        statement,
        "DELETE FROM t_key_macro_data WHERE profile = ? and fn_layer = ? and key_code = ?");
    statement.BindInt(1, record.profile);
    statement.BindInt(2, record.layer);
    statement.BindInt(3, record.keyCode);
    statement.Step();
    if (!stores) {
        return 0;
    }
    m_connection.Prepare(statement,
                         "INSERT INTO t_key_macro_data(profile, fn_layer, key_code, layout_value, "
                         "layout_desc,                     macro_type, macro_value, macro_value2, "
                         "macro_value3, macro_desc) \t\t\t\t\t VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, "
                         "?);");
    statement.BindInt(1, record.profile);
    statement.BindInt(2, record.layer);
    statement.BindInt(3, record.keyCode);
    statement.BindInt(4, record.layoutValue);
    statement.BindText(5, record.layoutDescription);
    statement.BindInt(6, record.functionType);
    statement.BindInt(7, record.value1);
    statement.BindInt(8, record.value2);
    statement.BindInt(9, record.value3);
    statement.BindText(10, record.description);
    return InsertedId(statement.Step());
}

bool SettingsDatabase::GetKeyAssignment(int profile, int /*layer*/, int keyCode,
                                        KeyAssignment& record) {
    Guard guard(m_lock);
    SQLiteStatement statement;
    m_connection.Prepare(
        statement,
        "SELECT * FROM t_key_macro_data WHERE profile = ? and fn_layer = ? and key_code = ?");
    statement.BindInt(1, profile);
    statement.BindInt(2, 0);
    statement.BindInt(3, keyCode);
    if (statement.Step() != kSQLiteRow) {
        return false;
    }
    ReadKeyAssignment(statement, record);
    return true;
}

bool SettingsDatabase::SetKeyDescription(int profile, int /*layer*/, int keyCode,
                                         std::wstring_view text) {
    Guard guard(m_lock);
    SQLiteStatement statement;
    m_connection.Prepare(statement,
                         "UPDATE t_key_macro_data SET macro_desc = ? WHERE profile = ? and "
                         "fn_layer = ? and key_code = ?");
    statement.BindText(1, text);
    statement.BindInt(2, profile);
    statement.BindInt(3, 0);
    statement.BindInt(4, keyCode);
    return StepSucceeded(statement.Step());
}

int SettingsDatabase::ListKeyAssignments(int profile, int /*layer*/,
                                         std::vector<KeyAssignment>& list) {
    Guard guard(m_lock);
    list.clear();
    SQLiteStatement statement;
    m_connection.Prepare(statement,
                         "SELECT * FROM t_key_macro_data WHERE profile = ? and fn_layer = ?");
    statement.BindInt(1, profile);
    statement.BindInt(2, 0);
    while (statement.Step() == kSQLiteRow) {
        KeyAssignment record;
        ReadKeyAssignment(statement, record);
        list.push_back(std::move(record));
    }
    return static_cast<int>(list.size());
}

bool SettingsDatabase::DeleteProfileKeys(int profile) {
    return ExecuteWithId("DELETE FROM t_key_macro_data WHERE profile = ?", profile);
}

int SettingsDatabase::AddKeyExtraData(std::wstring_view description, std::wstring_view parameter,
                                      int type) {
    Guard guard(m_lock);
    // Every apply on the button page adds a row and none is ever removed; giving the same
    // program or address its existing id keeps the ids within the byte the mouse reports.
    SQLiteStatement statement;
    m_connection.Prepare(statement,
                         "SELECT macro_value FROM t_key_otherdata WHERE macro_desc = ? and param "
                         "= ? and type = ? and macro_value <= ? ORDER BY macro_value LIMIT 1");
    statement.BindText(1, description);
    statement.BindText(2, parameter);
    statement.BindInt(3, type);
    statement.BindInt(4, kLargestReportedId);
    if (statement.Step() == kSQLiteRow) {
        return statement.ColumnInt(0);
    }
    statement.Finalize();
    return InsertKeyExtraData(description, parameter, type);
}

int SettingsDatabase::InsertKeyExtraData(std::wstring_view description, std::wstring_view parameter,
                                         int type) {
    SQLiteStatement statement;
    m_connection.Prepare(statement,
                         "INSERT INTO t_key_otherdata(macro_desc, param, type) VALUES (?, ?, ?);");
    statement.BindText(1, description);
    statement.BindText(2, parameter);
    statement.BindInt(3, type);
    const int id = InsertedId(statement.Step());
    if (id > kLargestReportedId) {
        // The mouse could never name this row; an assignment to it would be refused anyway.
        m_connection.Prepare(statement, "DELETE FROM t_key_otherdata WHERE macro_value = ?");
        statement.BindInt(1, id);
        statement.Step();
        return 0;
    }
    return id;
}

bool SettingsDatabase::GetKeyExtraData(int id, std::wstring& description, std::wstring& parameter,
                                       int& type) {
    Guard guard(m_lock);
    SQLiteStatement statement;
    m_connection.Prepare(
        statement, "SELECT macro_desc, param, type FROM t_key_otherdata WHERE macro_value = ?");
    statement.BindInt(1, id);
    if (statement.Step() != kSQLiteRow) {
        return false;
    }
    description = statement.ColumnText(0);
    parameter = statement.ColumnText(1);
    type = statement.ColumnInt(2);
    return true;
}

}  // namespace tavik
