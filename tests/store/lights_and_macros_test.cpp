#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/store/settings_database.h"
#include "store_fixture.h"

namespace tavik {
namespace {

using LightTest = test::StoreTest;

// The four rows a profile's lighting starts with, by column name:
// profile|name|mode|brightness|speed|direction|colorful|colorindex|colours 1-8|
// move_closelight|config_func|reserved|status.
constexpr wchar_t kDefaultLightRows[] =
    L"5||0|127|128|0|1|0|255|33023|65535|65280|8453888|16776960|16711680|16711935|1|0|280|0\n"
    L"5||1|127|128|0|1|0|255|33023|65535|65280|8453888|16776960|16711680|16711935|1|2067|281|1\n"
    L"5||2|127|128|0|1|0|255|33023|65535|65280|8453888|16776960|16711680|16711935|1|3|282|0\n"
    L"5||3|127|128|0|0|0|255|33023|65535|65280|8453888|16776960|16711680|16711935|1|2065|283|0\n";

constexpr char kLightColumns[] =
    "SELECT profile, name, mode, brightness, speed, direction, colorful, colorindex, "
    "color_value1, color_value2, color_value3, color_value4, color_value5, color_value6, "
    "color_value7, color_value8, move_closelight, config_func, reserved, status FROM "
    "t_light_data";

TEST_F(LightTest, ProfileWithoutLightsGetsTheFourDefaultModes) {
    EXPECT_EQ(m_database.CountProfileLights(5), 0);
    EXPECT_TRUE(m_database.EnsureDefaultLights(5));
    EXPECT_EQ(SideRows(std::string(kLightColumns) + " ORDER BY light_id"), kDefaultLightRows);
    EXPECT_EQ(m_database.GetActiveLightMode(5), 1);

    // A second call leaves the rows as they are.
    ASSERT_TRUE(m_database.SetActiveLightMode(5, 3));
    EXPECT_TRUE(m_database.EnsureDefaultLights(5));
    EXPECT_EQ(m_database.CountProfileLights(5), 4);
    EXPECT_EQ(m_database.GetActiveLightMode(5), 3);

    // Restoring the lighting: delete, then the defaults come back with mode 1 active.
    EXPECT_TRUE(m_database.DeleteProfileLights(5));
    EXPECT_EQ(m_database.CountProfileLights(5), 0);
    EXPECT_TRUE(m_database.EnsureDefaultLights(5));
    EXPECT_EQ(SideRows(std::string(kLightColumns) + " ORDER BY light_id"), kDefaultLightRows);
}

TEST_F(LightTest, RecordsRoundTripWithEveryColumnInItsField) {
    LightRecord record;
    record.profile = 2;
    record.name = L"ignored";
    record.mode = 3;
    record.brightness = 10;
    record.speed = 20;
    record.direction = 1;
    record.colorful = 0;
    record.colorIndex = 7;
    record.colorValues = {1, 2, 3, 4, 5, 6, 7, 8};
    record.configFunc = 0x811;
    record.moveCloseLight = 1;
    record.reserved = 283;
    record.status = 1;
    const int lightId = m_database.AddLight(record);
    ASSERT_EQ(lightId, 1);
    EXPECT_EQ(SideRows(kLightColumns), L"2||3|10|20|1|0|7|1|2|3|4|5|6|7|8|1|2065|283|1\n");

    record.brightness = 255;
    record.colorValues[7] = 0xFF00FF;
    record.configFunc = 0x10;
    record.moveCloseLight = 0;
    record.status = 0;  // not written by an update
    EXPECT_TRUE(m_database.UpdateLight(3, record));

    LightRecord loaded;
    ASSERT_TRUE(m_database.GetLight(2, 3, loaded));
    EXPECT_EQ(loaded.lightId, lightId);
    EXPECT_EQ(loaded.profile, 2);
    EXPECT_EQ(loaded.name, L"");
    EXPECT_EQ(loaded.mode, 3);
    EXPECT_EQ(loaded.brightness, 255);
    EXPECT_EQ(loaded.speed, 20);
    EXPECT_EQ(loaded.direction, 1);
    EXPECT_EQ(loaded.colorIndex, 7);
    EXPECT_EQ(loaded.colorValues, (std::array<int, 8>{1, 2, 3, 4, 5, 6, 7, 0xFF00FF}));
    EXPECT_EQ(loaded.configFunc, 0x10);
    EXPECT_EQ(loaded.moveCloseLight, 0);
    EXPECT_EQ(loaded.reserved, 283);
    EXPECT_EQ(loaded.status, 1);

    std::vector<LightRecord> list;
    ASSERT_EQ(m_database.ListLights(2, list), 1);
    EXPECT_EQ(list[0].configFunc, 0x10);
    EXPECT_EQ(list[0].moveCloseLight, 0);
    EXPECT_EQ(m_database.ListLights(9, list), 0);
    EXPECT_FALSE(m_database.GetLight(2, 0, loaded));
}

TEST_F(LightTest, OneActiveModePerProfile) {
    ASSERT_TRUE(m_database.EnsureDefaultLights(1));
    ASSERT_TRUE(m_database.EnsureDefaultLights(2));
    EXPECT_TRUE(m_database.SetActiveLightMode(1, 2));
    EXPECT_EQ(SideInt("SELECT count(*) FROM t_light_data WHERE profile = 1 AND status = 1"), 1);
    EXPECT_EQ(m_database.GetActiveLightMode(1), 2);
    EXPECT_EQ(m_database.GetActiveLightMode(2), 1);
    EXPECT_TRUE(m_database.SetActiveLightMode(1, 9));
    EXPECT_EQ(m_database.GetActiveLightMode(1), 0);
}

using MacroTest = test::StoreTest;

MacroEvent Event(int macroId, int index, int value) {
    MacroEvent event;
    event.macroId = macroId;
    event.type = 1;
    event.recordIndex = index;
    event.value = value;
    event.delayTime = 10 * index;
    event.description = L"key " + std::to_wstring(value);
    return event;
}

TEST_F(MacroTest, MacroRecordsRoundTrip) {
    const int first = m_database.AddMacro(L"Macro 1");
    ASSERT_EQ(first, 1);
    EXPECT_EQ(SideRows("SELECT name, play_type, play_times, delay_type, delay_time FROM "
                       "t_macro_data"),
              L"Macro 1|0|1|1|0\n");

    MacroRecord record;
    record.name = L"Imported";
    record.playType = 2;
    record.playTimes = 5;
    record.delayType = 0;
    record.delayTime = 300;
    const int second = m_database.AddMacroWithSettings(record);
    ASSERT_EQ(second, 2);

    MacroRecord loaded;
    ASSERT_TRUE(m_database.GetMacro(second, loaded));
    EXPECT_EQ(loaded.macroId, second);
    EXPECT_EQ(loaded.name, L"Imported");
    EXPECT_EQ(loaded.playType, 2);
    EXPECT_EQ(loaded.playTimes, 5);
    EXPECT_EQ(loaded.delayType, 0);
    EXPECT_EQ(loaded.delayTime, 300);

    loaded.playTimes = 9;
    loaded.name = L"Renamed";
    EXPECT_TRUE(m_database.UpdateMacro(loaded));
    EXPECT_TRUE(m_database.RenameMacro(first, L"First"));
    std::vector<MacroRecord> list;
    ASSERT_EQ(m_database.ListMacros(list), 2);
    EXPECT_EQ(list[0].name, L"First");
    EXPECT_EQ(list[1].name, L"Renamed");
    EXPECT_EQ(list[1].playTimes, 9);
    EXPECT_FALSE(m_database.GetMacro(99, loaded));
}

TEST_F(MacroTest, EventsAreStoredTogetherAndReadByIndex) {
    const int macro = m_database.AddMacro(L"Macro 1");
    const int other = m_database.AddMacro(L"Macro 2");
    // Stored out of order; one row is refused by the file and must not cost the others.
    ASSERT_EQ(m_side.Execute("CREATE TRIGGER refuse_type_99 BEFORE INSERT ON t_macrorecord "
                             "WHEN NEW.type = 99 BEGIN SELECT RAISE(ABORT, 'refused'); END"),
              kSQLiteOk);
    MacroEvent refused = Event(macro, 1, 0);
    refused.type = 99;
    const std::vector<MacroEvent> events = {Event(macro, 2, 5), Event(macro, 0, 4), refused,
                                            Event(macro, 1, 6), Event(other, 0, 9)};
    EXPECT_EQ(m_database.AddMacroEvents(events), 4);

    std::vector<MacroEvent> loaded;
    ASSERT_EQ(m_database.ListMacroEvents(macro, loaded), 3);
    EXPECT_EQ(loaded[0].recordIndex, 0);
    EXPECT_EQ(loaded[0].value, 4);
    EXPECT_EQ(loaded[1].recordIndex, 1);
    EXPECT_EQ(loaded[1].value, 6);
    EXPECT_EQ(loaded[1].description, L"key 6");
    EXPECT_EQ(loaded[1].delayTime, 10);
    EXPECT_EQ(loaded[2].recordIndex, 2);
    EXPECT_EQ(loaded[0].macroId, macro);
    EXPECT_GT(loaded[0].recordId, 0);

    // Deleting a macro takes its events with it and leaves the other macro's.
    EXPECT_TRUE(m_database.DeleteMacro(macro));
    EXPECT_EQ(m_database.ListMacroEvents(macro, loaded), 0);
    EXPECT_EQ(m_database.ListMacroEvents(other, loaded), 1);
    EXPECT_TRUE(m_database.DeleteMacroEvents(other));
    EXPECT_EQ(SideInt("SELECT count(*) FROM t_macrorecord"), 0);
    EXPECT_EQ(SideInt("SELECT count(*) FROM t_macro_data"), 1);
    EXPECT_NE(m_database.AddMacroEvent(Event(other, 0, 1)), 0);
}

TEST_F(MacroTest, WorkInOneTransactionIsKeptWholeOrNotAtAll) {
    const int kept = m_database.AddMacro(L"Kept");
    // A failing piece of work leaves nothing, also of the events that were stored together.
    EXPECT_FALSE(m_database.RunInTransaction([&] {
        const int macro = m_database.AddMacro(L"Half");
        m_database.AddMacroEvents({Event(macro, 0, 4), Event(macro, 1, 5)});
        m_database.RenameMacro(kept, L"Renamed");
        return false;
    }));
    EXPECT_EQ(SideRows("SELECT name FROM t_macro_data"), L"Kept\n");
    EXPECT_EQ(SideInt("SELECT count(*) FROM t_macrorecord"), 0);

    // An inner failure takes back only its own rows; the outer work is committed.
    EXPECT_TRUE(m_database.RunInTransaction([&] {
        m_database.AddMacro(L"Outer");
        EXPECT_FALSE(m_database.RunInTransaction([&] {
            m_database.AddMacro(L"Inner");
            return false;
        }));
        return true;
    }));
    EXPECT_EQ(SideRows("SELECT name FROM t_macro_data ORDER BY macro_id"), L"Kept\nOuter\n");
}

}  // namespace
}  // namespace tavik
