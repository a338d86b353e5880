// Light records of the settings database.

#include "app/store/settings_database.h"

#include <cstddef>

namespace tavik {
namespace {

using Guard = std::lock_guard<std::recursive_mutex>;

constexpr char kInsertLightSql[] =
    "INSERT INTO t_light_data(profile, name, mode, brightness, speed, direction, colorful, "
    "colorindex,\t\t\t\t\tcolor_value1, color_value2, color_value3, color_value4, color_value5, "
    "color_value6, color_value7, color_value8, move_closelight, config_func, reserved, "
    "status)\t\t\t\t\t VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?);";

constexpr char kUpdateLightSql[] =
    "UPDATE t_light_data SET brightness = ?, speed = ?, direction = ?, colorful = ?, colorindex "
    "= ?,\t\t\t color_value1 = ?, color_value2 = ?, color_value3 = ?, color_value4 = ?, "
    "color_value5 = ?, color_value6 = ?, color_value7 = ?, color_value8 = ?,\t\t\t\t"
    "move_closelight = ?, config_func = ?, reserved = ? WHERE profile = ? AND mode = ?";

// The four modes a profile starts with: mode, language text of its name, capability bits,
// multicolour option.
struct DefaultLightMode {
    int mode;
    int nameText;
    int configFunc;
    int colorful;
};

constexpr DefaultLightMode kDefaultLightModes[] = {
    {0, 280, 0, 1},
    {1, 281, 0x813, 1},
    {2, 282, 0x003, 1},
    {3, 283, 0x811, 0},
};

// Red, orange, yellow, green, spring green, cyan, blue, magenta (COLORREF).
constexpr std::array<int, 8> kDefaultLightColors = {255,     33023,    65535,    65280,
                                                    8453888, 16776960, 16711680, 16711935};

constexpr int kDefaultActiveLightMode = 1;

// Reads a row of "SELECT * FROM t_light_data": every column into its own field.
void ReadLight(const SQLiteStatement& statement, LightRecord& record) {
    record.lightId = statement.ColumnInt(0);
    record.profile = statement.ColumnInt(1);
    record.name = statement.ColumnText(2);
    record.mode = statement.ColumnInt(3);
    record.brightness = statement.ColumnInt(4);
    record.speed = statement.ColumnInt(5);
    record.direction = statement.ColumnInt(6);
    record.colorful = statement.ColumnInt(7);
    record.colorIndex = statement.ColumnInt(8);
    for (size_t slot = 0; slot < record.colorValues.size(); ++slot) {
        record.colorValues[slot] = statement.ColumnInt(9 + static_cast<int>(slot));
    }
    record.moveCloseLight = statement.ColumnInt(17);
    record.configFunc = statement.ColumnInt(18);
    record.reserved = statement.ColumnInt(19);
    record.status = statement.ColumnInt(20);
}

}  // namespace

bool SettingsDatabase::DeleteProfileLights(int profile) {
    return ExecuteWithId("DELETE FROM t_light_data WHERE profile = ?", profile);
}

int SettingsDatabase::CountProfileLights(int profile) {
    Guard guard(m_lock);
    SQLiteStatement statement;
    m_connection.Prepare(statement, "select count(*) FROM t_light_data WHERE profile = ?");
    statement.BindInt(1, profile);
    if (statement.Step() != kSQLiteRow) {
        return 0;
    }
    return statement.ColumnInt(0);
}

int SettingsDatabase::AddLight(const LightRecord& record) {
    Guard guard(m_lock);
    SQLiteStatement statement;
    m_connection.Prepare(statement, kInsertLightSql);
    int index = 1;
    statement.BindInt(index++, record.profile);
    statement.BindText(index++, std::wstring_view());
    statement.BindInt(index++, record.mode);
    statement.BindInt(index++, record.brightness);
    statement.BindInt(index++, record.speed);
    statement.BindInt(index++, record.direction);
    statement.BindInt(index++, record.colorful);
    statement.BindInt(index++, record.colorIndex);
    for (int color : record.colorValues) {
        statement.BindInt(index++, color);
    }
    statement.BindInt(index++, record.moveCloseLight);
    statement.BindInt(index++, record.configFunc);
    statement.BindInt(index++, record.reserved);
    statement.BindInt(index++, record.status);
    return InsertedId(statement.Step());
}

bool SettingsDatabase::UpdateLight(int mode, const LightRecord& record) {
    Guard guard(m_lock);
    SQLiteStatement statement;
    m_connection.Prepare(statement, kUpdateLightSql);
    int index = 1;
    statement.BindInt(index++, record.brightness);
    statement.BindInt(index++, record.speed);
    statement.BindInt(index++, record.direction);
    statement.BindInt(index++, record.colorful);
    statement.BindInt(index++, record.colorIndex);
    for (int color : record.colorValues) {
        statement.BindInt(index++, color);
    }
    statement.BindInt(index++, record.moveCloseLight);
    statement.BindInt(index++, record.configFunc);
    statement.BindInt(index++, record.reserved);
    statement.BindInt(index++, record.profile);
    statement.BindInt(index++, mode);
    return StepSucceeded(statement.Step());
}

bool SettingsDatabase::SetActiveLightMode(int profile, int mode) {
    Guard guard(m_lock);
    SQLiteStatement statement;
    m_connection.Prepare(statement, "UPDATE t_light_data SET status = ? WHERE profile = ?");
    statement.BindInt(1, 0);
    statement.BindInt(2, profile);
    statement.Step();
    m_connection.Prepare(statement,
                         "UPDATE t_light_data SET status = ? WHERE profile = ? and mode = ?");
    statement.BindInt(1, 1);
    statement.BindInt(2, profile);
    statement.BindInt(3, mode);
    return StepSucceeded(statement.Step());
}

int SettingsDatabase::GetActiveLightMode(int profile) {
    Guard guard(m_lock);
    SQLiteStatement statement;
    m_connection.Prepare(statement,
                         "SELECT mode FROM t_light_data WHERE profile = ? and status = ?");
    statement.BindInt(1, profile);
    statement.BindInt(2, 1);
    if (statement.Step() != kSQLiteRow) {
        return 0;
    }
    return statement.ColumnInt(0);
}

bool SettingsDatabase::GetLight(int profile, int mode, LightRecord& record) {
    Guard guard(m_lock);
    SQLiteStatement statement;
    m_connection.Prepare(statement, "SELECT * FROM t_light_data WHERE profile = ? AND mode = ?");
    statement.BindInt(1, profile);
    statement.BindInt(2, mode);
    if (statement.Step() != kSQLiteRow) {
        return false;
    }
    ReadLight(statement, record);
    return true;
}

int SettingsDatabase::ListLights(int profile, std::vector<LightRecord>& list) {
    Guard guard(m_lock);
    list.clear();
    SQLiteStatement statement;
    m_connection.Prepare(statement, "SELECT * FROM t_light_data WHERE profile = ?");
    statement.BindInt(1, profile);
    while (statement.Step() == kSQLiteRow) {
        LightRecord record;
        ReadLight(statement, record);
        list.push_back(std::move(record));
    }
    return static_cast<int>(list.size());
}

bool SettingsDatabase::EnsureDefaultLights(int profile) {
    // Held across the count and the inserts, so two threads refreshing at once cannot both
    // find no rows and create the modes twice.
    Guard guard(m_lock);
    if (CountProfileLights(profile) >= 1) {
        return true;
    }
    bool allStored = true;
    for (const DefaultLightMode& defaults : kDefaultLightModes) {
        LightRecord record;
        record.profile = profile;
        record.mode = defaults.mode;
        record.brightness = 127;
        record.speed = 128;
        record.direction = 0;
        record.colorful = defaults.colorful;
        record.colorIndex = 0;
        record.colorValues = kDefaultLightColors;
        record.configFunc = defaults.configFunc;
        record.moveCloseLight = 1;
        record.reserved = defaults.nameText;
        record.status = 0;
        if (AddLight(record) == 0) {
            allStored = false;
        }
    }
    SetActiveLightMode(profile, kDefaultActiveLightMode);
    return allStored;
}

}  // namespace tavik
