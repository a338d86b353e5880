#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/common/text_encoding.h"
#include "app/store/profile_name_localisation.h"
#include "app/store/settings_database.h"
#include "store_fixture.h"

namespace tavik {
namespace {

// The configuration keys of a profile, written out here apart from the code: key, value at
// creation, value after a reset (null: not reset). Rows are in insertion order.
struct KeyCase {
    const char* key;
    const char* created;
    const char* reset;
};

constexpr KeyCase kKeyCases[] = {
    {"version", "1.0.1", nullptr},
    {"lightmode", "3", "3"},
    {"sleep_light", "1", "1"},
    {"deep_sleep", "60", "60"},
    {"light_sleep", "60", "60"},
    {"move_wakeup", "1", "1"},
    {"move_closelight", "1", "1"},
    {"report_rate", "2", "2"},
    {"report_count", "4", "4"},
    {"report_flag", "15", "15"},
    {"button_respondtime", "1", "1"},
    {"sensor_flag", "53", "53"},
    {"liftoff_height", "1", "1"},
    {"scroll_flag", "1", "1"},
    {"e-sports_flag", "0", "0"},
    {"highspeed_mode", "0", "0"},
    {"leftbtn_lock", "1", "1"},
    {"dpi_flag", "5", "5"},
    {"dpi_index", "1", "1"},
    {"dpi_count", "6", "6"},
    {"dpi_group0_value", "800", "800"},
    {"dpi_group1_value", "1600", "1600"},
    {"dpi_group2_value", "2400", "2400"},
    {"dpi_group3_value", "3200", "3200"},
    {"dpi_group4_value", "5000", "5000"},
    {"dpi_group5_value", "12000", "12000"},
    {"dpi_group0_rgb", "255", "255"},
    {"dpi_group1_rgb", "16711680", "16711680"},
    {"dpi_group2_rgb", "65535", "65535"},
    {"dpi_group3_rgb", "42495", "42495"},
    {"dpi_group4_rgb", "16776960", "16776960"},
    {"dpi_group5_rgb", "8388992", "8388736"},
    {"notify_dpi", "1", "1"},
    {"notify_light", "1", "1"},
    {"notify_devsleep", "1", "1"},
    {"notify_reporterate", "1", "1"},
    {"notify_lowbattery", "1", "1"},
    {"notify_fardistance", "1", "1"},
};

// The order a reset writes the keys in: move_closelight comes before move_wakeup.
constexpr const char* kResetOrderCases[] = {
    "lightmode",          "sleep_light",        "deep_sleep",         "light_sleep",
    "move_closelight",    "move_wakeup",        "report_rate",        "report_count",
    "report_flag",        "button_respondtime", "sensor_flag",        "liftoff_height",
    "scroll_flag",        "e-sports_flag",      "highspeed_mode",     "leftbtn_lock",
    "dpi_flag",           "dpi_index",          "dpi_count",          "dpi_group0_value",
    "dpi_group1_value",   "dpi_group2_value",   "dpi_group3_value",   "dpi_group4_value",
    "dpi_group5_value",   "dpi_group0_rgb",     "dpi_group1_rgb",     "dpi_group2_rgb",
    "dpi_group3_rgb",     "dpi_group4_rgb",     "dpi_group5_rgb",     "notify_dpi",
    "notify_light",       "notify_devsleep",    "notify_reporterate", "notify_lowbattery",
    "notify_fardistance",
};

std::wstring Wide(const char* text) {
    return Utf8ToWide(text);
}

std::string ExpectedCreatedRows(int profile) {
    std::string rows;
    for (const KeyCase& c : kKeyCases) {
        rows += std::to_string(profile) + "|" + c.key + "|" + c.created + "\n";
    }
    return rows;
}

using ConfigTest = test::StoreTest;

TEST_F(ConfigTest, NewProfileGetsTheThirtyEightKeysInOrder) {
    NamedRecord record;
    record.name = L"Profile 1";
    const int profile = m_database.AddProfile(record);
    ASSERT_EQ(profile, 1);
    EXPECT_EQ(SideRows("SELECT profile, key, value FROM t_configdata ORDER BY config_id"),
              Wide(ExpectedCreatedRows(profile).c_str()));
    for (const KeyCase& c : kKeyCases) {
        std::wstring value = L"stale";
        EXPECT_TRUE(m_database.GetConfigValue(profile, Wide(c.key), value)) << c.key;
        EXPECT_EQ(value, Wide(c.created)) << c.key;
    }
}

TEST_F(ConfigTest, SqliteShellReadsTheDefaultConfiguration) {
    if (!test::SqliteShellAvailable()) {
        GTEST_SKIP() << "the sqlite3 shell is not available here";
    }
    NamedRecord record;
    record.name = L"Profile 1";
    ASSERT_EQ(m_database.AddProfile(record), 1);
    ASSERT_EQ(m_database.AddProfile(record), 2);
    m_database.Close();
    m_side.Close();
    EXPECT_EQ(test::RunSqliteShell(
                  m_file, "SELECT profile, key, value FROM t_configdata ORDER BY config_id"),
              ExpectedCreatedRows(1) + ExpectedCreatedRows(2));
    EXPECT_EQ(test::RunSqliteShell(m_file,
                                   "SELECT typeof(value), count(*) FROM t_configdata "
                                   "GROUP BY typeof(value)"),
              "text|76\n");
}

TEST_F(ConfigTest, ResetWritesEveryKeyButVersionInItsOrder) {
    NamedRecord record;
    const int profile = m_database.AddProfile(record);
    const int other = m_database.AddProfile(record);
    ASSERT_GT(other, profile);
    ASSERT_EQ(m_side.Execute("UPDATE t_configdata SET value = 'changed'"), kSQLiteOk);
    // A trigger in the file logs each write the reset makes, in the order it makes them.
    ASSERT_EQ(m_side.Execute("CREATE TABLE write_log (key TEXT); "
                             "CREATE TRIGGER log_writes AFTER UPDATE ON t_configdata "
                             "BEGIN INSERT INTO write_log VALUES (NEW.key); END"),
              kSQLiteOk);

    EXPECT_TRUE(m_database.ResetConfigToDefaults(profile));

    std::string expectedOrder;
    for (const char* key : kResetOrderCases) {
        expectedOrder += std::string(key) + "\n";
    }
    EXPECT_EQ(SideRows("SELECT key FROM write_log ORDER BY rowid"), Wide(expectedOrder.c_str()));
    for (const KeyCase& c : kKeyCases) {
        std::wstring value;
        ASSERT_TRUE(m_database.GetConfigValue(profile, Wide(c.key), value));
        EXPECT_EQ(value, c.reset != nullptr ? Wide(c.reset) : L"changed") << c.key;
    }
    std::wstring value;
    ASSERT_TRUE(m_database.GetConfigValue(profile, L"dpi_group5_rgb", value));
    EXPECT_EQ(value, L"8388736");
    ASSERT_TRUE(m_database.GetConfigValue(other, L"dpi_index", value));
    EXPECT_EQ(value, L"changed") << "another profile is left alone";
}

TEST_F(ConfigTest, WritesChangeOnlyExistingRows) {
    NamedRecord record;
    const int profile = m_database.AddProfile(record);
    EXPECT_TRUE(m_database.SetConfigValue(profile, L"report_rate", L"3"));
    std::wstring value;
    EXPECT_TRUE(m_database.GetConfigValue(profile, L"report_rate", value));
    EXPECT_EQ(value, L"3");

    EXPECT_TRUE(m_database.SetConfigValue(profile, L"no_such_key", L"1"));
    EXPECT_TRUE(m_database.SetConfigValue(99, L"report_rate", L"1"));
    EXPECT_EQ(SideInt("SELECT count(*) FROM t_configdata"), 38);

    value = L"stale";
    EXPECT_FALSE(m_database.GetConfigValue(profile, L"no_such_key", value));
    EXPECT_EQ(value, L"");
}

using ProfileTest = test::StoreTest;

TEST_F(ProfileTest, AddListRenameAndActivate) {
    NamedRecord record;
    record.name = L"Profile 1";
    record.text = L"app";
    record.status = 1;  // not taken from the record: a new profile is never active
    record.type = 7;
    ASSERT_EQ(m_database.AddProfile(record), 1);
    record.name = L"Profile 2";
    ASSERT_EQ(m_database.AddProfile(record), 2);
    EXPECT_EQ(SideRows("SELECT profile, name, status, app, type FROM t_profile_data"),
              L"1|Profile 1|0|app|0\n2|Profile 2|0|app|0\n");

    EXPECT_TRUE(m_database.RenameProfile(2, L"Work"));
    EXPECT_TRUE(m_database.SetActiveProfile(2));
    EXPECT_EQ(m_database.GetActiveProfile(), 2);
    std::vector<NamedRecord> list(3);
    ASSERT_EQ(m_database.ListProfiles(list), 2);
    EXPECT_EQ(list[0].id, 1);
    EXPECT_EQ(list[0].status, 0);
    EXPECT_EQ(list[1].name, L"Work");
    EXPECT_EQ(list[1].status, 1);

    // An id without a row leaves no profile active and still reports success.
    EXPECT_TRUE(m_database.SetActiveProfile(42));
    EXPECT_EQ(SideInt("SELECT count(*) FROM t_profile_data WHERE status != 0"), 0);
    EXPECT_EQ(m_database.GetActiveProfile(), 0);

    std::wstring name = L"stale";
    EXPECT_FALSE(m_database.GetProfileName(42, name));
    EXPECT_EQ(name, L"");
}

struct LocalisationCase {
    int language;
    const char* stored;
    const char* shown;
};

// 配置 / 配寘 / ボタン / Профиль in UTF-8.
#define ZH_CN "\xE9\x85\x8D\xE7\xBD\xAE"
#define ZH_TW "\xE9\x85\x8D\xE5\xAF\x98"
#define JA "\xE3\x83\x9C\xE3\x82\xBF\xE3\x83\xB3"
#define RU "\xD0\x9F\xD1\x80\xD0\xBE\xD1\x84\xD0\xB8\xD0\xBB\xD1\x8C"

constexpr LocalisationCase kLocalisationCases[] = {
    {2052, "Profile 1", ZH_CN "  1"},
    {2052, ZH_TW " 2", ZH_CN "  2"},
    {2052, JA " 3", ZH_CN "  3"},
    {2052, ZH_CN " 4", ZH_CN " 4"},
    {1028, ZH_CN " 1", ZH_TW "  1"},
    {1033, "Profile 1", "Profile 1"},
    {1033, ZH_CN " 1", "Profile  1"},
    {1033, JA "1", "Profile 1"},
    {1041, "Profile 2", JA "  2"},
    {1049, JA " 3", RU "  3"},
    {1049, "Profile 4", RU "  4"},
    {1049, RU " 4", RU " 4"},
    {1031, "Profile 1", "Profile 1"},
    {0, ZH_CN " 1", ZH_CN " 1"},
    {2052, "My Profile", "My Profile"},
    {2052, "Profil 1", "Profil 1"},
    {2052, "", ""},
};

TEST(ProfileNameLocalisation, RewritesAnotherLanguagesProfileWord) {
    for (const LocalisationCase& c : kLocalisationCases) {
        EXPECT_EQ(LocaliseProfileName(Utf8ToWide(c.stored), c.language), Utf8ToWide(c.shown))
            << c.language << " " << c.stored;
    }
}

TEST_F(ProfileTest, NamesAreShownInTheInterfaceLanguageAndStoredAsGiven) {
    NamedRecord record;
    record.name = L"Profile 1";
    const int profile = m_database.AddProfile(record);

    m_database.SetInterfaceLanguage(2052);
    std::wstring name;
    ASSERT_TRUE(m_database.GetProfileName(profile, name));
    EXPECT_EQ(name, Utf8ToWide(ZH_CN "  1"));
    std::vector<NamedRecord> list;
    ASSERT_EQ(m_database.ListProfiles(list), 1);
    EXPECT_EQ(list[0].name, Utf8ToWide(ZH_CN "  1"));
    EXPECT_EQ(SideRows("SELECT name FROM t_profile_data"), L"Profile 1\n");

    m_database.SetInterfaceLanguage(1033);
    ASSERT_TRUE(m_database.GetProfileName(profile, name));
    EXPECT_EQ(name, L"Profile 1");
}

using TextTest = test::StoreTest;

TEST_F(TextTest, SnippetRoundTrip) {
    NamedRecord record;
    record.name = Utf8ToWide("1 \xE5\xAE\x9E\xE4\xBE\x8B");  // "1 实例"
    record.text = Utf8ToWide("Hello \xF0\x9F\x96\xB1");
    record.status = 5;
    const int id = m_database.AddText(record);
    ASSERT_EQ(id, 1);
    EXPECT_EQ(SideRows("SELECT status, type FROM t_text_data"), L"0|0\n");

    std::wstring text;
    ASSERT_TRUE(m_database.GetTextName(id, text));
    EXPECT_EQ(text, record.name);
    ASSERT_TRUE(m_database.GetTextContent(id, text));
    EXPECT_EQ(text, record.text);

    EXPECT_TRUE(m_database.RenameText(id, L"Greeting"));
    EXPECT_TRUE(m_database.SetTextContent(id, L""));
    std::vector<NamedRecord> list;
    ASSERT_EQ(m_database.ListTexts(list), 1);
    EXPECT_EQ(list[0].id, id);
    EXPECT_EQ(list[0].name, L"Greeting");
    EXPECT_EQ(list[0].text, L"");

    EXPECT_TRUE(m_database.DeleteText(id));
    EXPECT_FALSE(m_database.GetTextContent(id, text));
    EXPECT_EQ(text, L"");
    EXPECT_EQ(m_database.ListTexts(list), 0);
    EXPECT_TRUE(list.empty());
    // Ids are not reused after a delete: a button still naming the old id types nothing.
    EXPECT_EQ(m_database.AddText(record), 2);
}

}  // namespace
}  // namespace tavik
