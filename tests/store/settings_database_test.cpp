#include "app/store/settings_database.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "store_test_support.h"

namespace tavik {
namespace {

const std::wstring kModel = L"M700";

// The schema as SQLite itself reports it: each table's columns in order with their declared
// types ("*" marks the key column), and each index with the column it covers.
constexpr char kExpectedColumns[] =
    "t_configdata|config_id|INTEGER|*\n"
    "t_configdata|profile|INTEGER|\n"
    "t_configdata|key|TEXT|\n"
    "t_configdata|value|TEXT|\n"
    "t_profile_data|profile|INTEGER|*\n"
    "t_profile_data|name|TEXT|\n"
    "t_profile_data|status|INTEGER|\n"
    "t_profile_data|app|TEXT|\n"
    "t_profile_data|type|INTEGER|\n"
    "t_text_data|text_id|INTEGER|*\n"
    "t_text_data|name|TEXT|\n"
    "t_text_data|status|INTEGER|\n"
    "t_text_data|content|TEXT|\n"
    "t_text_data|type|INTEGER|\n"
    "t_key_macro_data|key_id|INTEGER|*\n"
    "t_key_macro_data|profile|INTEGER|\n"
    "t_key_macro_data|fn_layer|INTEGER|\n"
    "t_key_macro_data|key_code|INTEGER|\n"
    "t_key_macro_data|layout_value|INTEGER|\n"
    "t_key_macro_data|layout_desc|TEXT|\n"
    "t_key_macro_data|macro_type|INTEGER|\n"
    "t_key_macro_data|macro_value|INTEGER|\n"
    "t_key_macro_data|macro_value2|INTEGER|\n"
    "t_key_macro_data|macro_value3|INTEGER|\n"
    "t_key_macro_data|macro_desc|TEXT|\n"
    "t_key_otherdata|macro_value|INTEGER|*\n"
    "t_key_otherdata|macro_desc|TEXT|\n"
    "t_key_otherdata|param|TEXT|\n"
    "t_key_otherdata|type|INTEGER|\n"
    "t_key_textdata|macro_value|INTEGER|*\n"
    "t_key_textdata|type|INTEGER|\n"
    "t_key_textdata|text_caption|TEXT|\n"
    "t_key_textdata|text_desc|TEXT|\n"
    "t_macro_data|macro_id|INTEGER|*\n"
    "t_macro_data|name|TEXT|\n"
    "t_macro_data|play_type|INTEGER|\n"
    "t_macro_data|play_times|INTEGER|\n"
    "t_macro_data|delay_type|INTEGER|\n"
    "t_macro_data|delay_time|INTEGER|\n"
    "t_macrorecord|record_id|INTEGER|*\n"
    "t_macrorecord|macro_id|INTEGER|\n"
    "t_macrorecord|type|INTEGER|\n"
    "t_macrorecord|record_index|INTEGER|\n"
    "t_macrorecord|desc|TEXT|\n"
    "t_macrorecord|value|INTEGER|\n"
    "t_macrorecord|delay_time|INTEGER|\n"
    "t_light_data|light_id|INTEGER|*\n"
    "t_light_data|profile|INTEGER|\n"
    "t_light_data|name|TEXT|\n"
    "t_light_data|mode|INTEGER|\n"
    "t_light_data|brightness|INTEGER|\n"
    "t_light_data|speed|INTEGER|\n"
    "t_light_data|direction|INTEGER|\n"
    "t_light_data|colorful|INTEGER|\n"
    "t_light_data|colorindex|INTEGER|\n"
    "t_light_data|color_value1|INTEGER|\n"
    "t_light_data|color_value2|INTEGER|\n"
    "t_light_data|color_value3|INTEGER|\n"
    "t_light_data|color_value4|INTEGER|\n"
    "t_light_data|color_value5|INTEGER|\n"
    "t_light_data|color_value6|INTEGER|\n"
    "t_light_data|color_value7|INTEGER|\n"
    "t_light_data|color_value8|INTEGER|\n"
    "t_light_data|move_closelight|INTEGER|\n"
    "t_light_data|config_func|INTEGER|\n"
    "t_light_data|reserved|INTEGER|\n"
    "t_light_data|status|INTEGER|\n"
    "t_key_light_data|keylight_id|INTEGER|*\n"
    "t_key_light_data|profile|INTEGER|\n"
    "t_key_light_data|light_id|INTEGER|\n"
    "t_key_light_data|key_code|INTEGER|\n"
    "t_key_light_data|key_rgb|INTEGER|\n";

// Creation order of the nineteen schema objects, with each index's table and column.
constexpr char kExpectedObjects[] =
    "table|t_configdata|t_configdata|\n"
    "table|t_profile_data|t_profile_data|\n"
    "index|profileindex|t_profile_data|profile\n"
    "table|t_text_data|t_text_data|\n"
    "index|textindex|t_text_data|text_id\n"
    "table|t_key_macro_data|t_key_macro_data|\n"
    "index|keyindex|t_key_macro_data|key_id\n"
    "table|t_key_otherdata|t_key_otherdata|\n"
    "index|otheridindex|t_key_otherdata|macro_value\n"
    "table|t_key_textdata|t_key_textdata|\n"
    "index|t_key_textdataindex|t_key_textdata|macro_value\n"
    "table|t_macro_data|t_macro_data|\n"
    "index|macroidindex|t_macro_data|macro_id\n"
    "table|t_macrorecord|t_macrorecord|\n"
    "index|macrorecordindex|t_macrorecord|record_id\n"
    "table|t_light_data|t_light_data|\n"
    "index|lightindex|t_light_data|light_id\n"
    "table|t_key_light_data|t_key_light_data|\n"
    "index|keylightindex|t_key_light_data|keylight_id\n";

class SettingsDatabaseTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(m_temp.Path().empty());
        test::MakeDataDirectory(m_temp);
        m_file = m_temp.Path() / "db" / "M700_datav8.db";
    }

    // A second connection to the file, to look at it apart from the object under test.
    bool OpenSide(SQLiteDB& side) {
        return side.Open(m_file.u8string(), kSQLiteOpenReadWrite | kSQLiteOpenFullMutex);
    }

    // Every row of a query as the shell prints it: columns joined with '|', one row a line.
    static std::string Rows(SQLiteDB& db, const char* sql) {
        SQLiteStatement statement;
        db.Prepare(statement, sql);
        std::string rows;
        while (statement.Step() == kSQLiteRow) {
            for (int column = 0; column < statement.ColumnCount(); ++column) {
                rows += (column > 0 ? "|" : "") + WideToUtf8(statement.ColumnText(column));
            }
            rows += "\n";
        }
        return rows;
    }

    static int Count(SQLiteDB& db, const char* sql) {
        SQLiteStatement statement;
        db.Prepare(statement, sql);
        return statement.Step() == kSQLiteRow ? statement.ColumnInt(0) : -1;
    }

    test::TempDirectory m_temp;
    std::filesystem::path m_file;
};

TEST_F(SettingsDatabaseTest, FilePathJoinsWithThePlatformSeparator) {
    const std::wstring sep(1, kPathSeparator);
    EXPECT_EQ(SettingsDatabaseFilePath(L"data", L"M700"),
              L"data" + sep + L"db" + sep + L"M700_datav8.db");
    EXPECT_EQ(SettingsDatabaseFilePath(L"data" + sep, L"M700"),
              L"data" + sep + L"db" + sep + L"M700_datav8.db");
    EXPECT_EQ(JoinPath(L"", L"x"), L"x");
    // Names that could leave the data directory are refused.
    for (const wchar_t* unsafe : {L"", L"../x", L"a\\b", L"c:x", L"a/b"}) {
        EXPECT_EQ(SettingsDatabaseFilePath(L"data", unsafe), L"") << unsafe;
    }
}

constexpr char kObjectsQuery[] =
    "SELECT m.type, m.name, m.tbl_name, ifnull(i.name, '') FROM sqlite_master m "
    "LEFT JOIN pragma_index_info(m.name) i WHERE m.name NOT LIKE 'sqlite%' ORDER BY m.rowid";
constexpr char kColumnsQuery[] =
    "SELECT m.name, p.name, p.type, CASE p.pk WHEN 1 THEN '*' ELSE '' END "
    "FROM sqlite_master m, pragma_table_info(m.name) p WHERE m.type = 'table' "
    "AND m.name NOT LIKE 'sqlite%' ORDER BY m.rowid, p.cid";
// Every key column counts up without reusing ids.
constexpr char kAutoincrementQuery[] =
    "SELECT count(*) FROM sqlite_master WHERE type = 'table' "
    "AND sql LIKE '%INTEGER PRIMARY KEY AUTOINCREMENT%'";

TEST_F(SettingsDatabaseTest, NewFileGetsTheWholeSchema) {
    {
        SettingsDatabase database;
        ASSERT_TRUE(database.OpenForModel(m_temp.Wide(), kModel));
        EXPECT_TRUE(database.IsOpened());
        EXPECT_EQ(database.GetPath(), m_file.u8string());
    }
    ASSERT_TRUE(std::filesystem::exists(m_file));
    SQLiteDB side;
    ASSERT_TRUE(OpenSide(side));
    EXPECT_EQ(Rows(side, kObjectsQuery), kExpectedObjects);
    EXPECT_EQ(Rows(side, kColumnsQuery), kExpectedColumns);
    EXPECT_EQ(Rows(side, kAutoincrementQuery), "10\n");
}

TEST_F(SettingsDatabaseTest, SqliteShellReadsTheSchema) {
    if (!test::SqliteShellAvailable()) {
        GTEST_SKIP() << "the sqlite3 shell is not available here";
    }
    {
        SettingsDatabase database;
        ASSERT_TRUE(database.OpenForModel(m_temp.Wide(), kModel));
    }
    EXPECT_EQ(test::RunSqliteShell(m_file, kObjectsQuery), kExpectedObjects);
    EXPECT_EQ(test::RunSqliteShell(m_file, kColumnsQuery), kExpectedColumns);
    EXPECT_EQ(test::RunSqliteShell(m_file, kAutoincrementQuery), "10\n");
    EXPECT_EQ(test::RunSqliteShell(m_file, "PRAGMA journal_mode"), "wal\n");
    EXPECT_EQ(test::RunSqliteShell(m_file, "PRAGMA integrity_check"), "ok\n");
}

TEST_F(SettingsDatabaseTest, ExistingFileIsNeverRepaired) {
    {
        SettingsDatabase database;
        ASSERT_TRUE(database.OpenForModel(m_temp.Wide(), kModel));
    }
    {
        SQLiteDB side;
        ASSERT_TRUE(OpenSide(side));
        ASSERT_EQ(side.Execute("DROP TABLE t_text_data"), kSQLiteOk);
    }
    SettingsDatabase database;
    EXPECT_TRUE(database.OpenForModel(m_temp.Wide(), kModel));
    database.Close();

    SQLiteDB side;
    ASSERT_TRUE(OpenSide(side));
    EXPECT_EQ(Count(side, "SELECT count(*) FROM sqlite_master WHERE name = 't_text_data'"), 0);
    EXPECT_EQ(Count(side, "SELECT count(*) FROM sqlite_master WHERE name = 'textindex'"), 0);
    EXPECT_EQ(Count(side,
                    "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name "
                    "LIKE 't_%'"),
              9);
}

TEST_F(SettingsDatabaseTest, SecondOpenOfTheSameModelSucceedsWithoutReopening) {
    SettingsDatabase database;
    ASSERT_TRUE(database.OpenForModel(m_temp.Wide(), kModel));
    EXPECT_TRUE(database.OpenForModel(m_temp.Wide(), kModel));
    EXPECT_TRUE(database.IsOpened());
    database.Close();
    EXPECT_FALSE(database.IsOpened());
    EXPECT_TRUE(database.OpenForModel(m_temp.Wide(), kModel));
}

TEST_F(SettingsDatabaseTest, OpeningAnotherModelSwitchesFiles) {
    SettingsDatabase database;
    ASSERT_TRUE(database.OpenForModel(m_temp.Wide(), kModel));
    ASSERT_TRUE(database.OpenForModel(m_temp.Wide(), L"M800"));
    const std::filesystem::path other = m_temp.Path() / "db" / "M800_datav8.db";
    EXPECT_EQ(database.GetPath(), other.u8string());
    database.Close();

    SQLiteDB side;
    ASSERT_TRUE(side.Open(other.u8string(), kSQLiteOpenReadWrite));
    EXPECT_EQ(Count(side, "SELECT count(*) FROM sqlite_master WHERE name NOT LIKE 'sqlite%'"), 19);
}

TEST_F(SettingsDatabaseTest, NonAsciiDataDirectoryAndModel) {
    // "配置" as a folder and a model name: the path goes to SQLite as UTF-8.
    const std::wstring word = Utf8ToWide("\xE9\x85\x8D\xE7\xBD\xAE");
    const std::filesystem::path folder = m_temp.Path() / std::filesystem::u8path("\xE9\x85\x8D");
    std::filesystem::create_directories(folder / "db");
    SettingsDatabase database;
    ASSERT_TRUE(database.OpenForModel(Utf8ToWide(folder.u8string()), word));
    database.Close();
    EXPECT_TRUE(std::filesystem::exists(
        folder / "db" / std::filesystem::u8path("\xE9\x85\x8D\xE7\xBD\xAE_datav8.db")));
}

TEST_F(SettingsDatabaseTest, MissingFolderOrUnsafeNameFailsQuietly) {
    SettingsDatabase database;
    EXPECT_FALSE(database.OpenForModel(Utf8ToWide((m_temp.Path() / "absent").u8string()), kModel));
    EXPECT_FALSE(database.IsOpened());
    EXPECT_FALSE(database.OpenForModel(m_temp.Wide(), L"../escape"));
    EXPECT_FALSE(database.IsOpened());
    EXPECT_FALSE(std::filesystem::exists(m_temp.Path() / "escape_datav8.db"));
}

TEST_F(SettingsDatabaseTest, OpenFileUsesExactlyTheNamedFile) {
    const std::filesystem::path file = m_temp.Path() / "mine settings.sqlite";
    {
        SettingsDatabase database;
        ASSERT_TRUE(database.OpenFile(Utf8ToWide(file.u8string())));
        EXPECT_EQ(database.GetPath(), file.u8string());
        EXPECT_EQ(database.AddProfile({0, L"Only", L"", 0, 0}), 1);
    }
    EXPECT_FALSE(std::filesystem::exists(m_file)) << "no model file appears beside it";
    SQLiteDB side;
    ASSERT_TRUE(side.Open(file.u8string(), kSQLiteOpenReadWrite));
    EXPECT_EQ(Rows(side, kObjectsQuery), kExpectedObjects);
    EXPECT_EQ(Rows(side, "SELECT name FROM t_profile_data"), "Only\n");
    side.Close();
    // Opened again: the same rows, nothing recreated.
    SettingsDatabase again;
    ASSERT_TRUE(again.OpenFile(Utf8ToWide(file.u8string())));
    std::vector<NamedRecord> profiles;
    EXPECT_EQ(again.ListProfiles(profiles), 1);

    SettingsDatabase missing;
    EXPECT_FALSE(missing.OpenFile(Utf8ToWide((m_temp.Path() / "absent" / "x.db").u8string())));
    EXPECT_FALSE(missing.OpenFile(L""));
    EXPECT_FALSE(missing.IsOpened());
}

TEST_F(SettingsDatabaseTest, InstanceIsOneObject) {
    EXPECT_EQ(&SettingsDatabase::Instance(), &SettingsDatabase::Instance());
}

}  // namespace
}  // namespace tavik
