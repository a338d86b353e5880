#include <gtest/gtest.h>

#include <fstream>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/common/text_encoding.h"
#include "app/store/settings_database.h"
#include "tests/store/store_test_support.h"
#include "tools/tavikctl/tavikctl.h"

namespace tavik {
namespace {

using test::RunSqliteShell;
using test::SqliteShellAvailable;
using test::TempDirectory;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    std::string line;
    while (std::getline(stream, line)) {
        lines.push_back(line);
    }
    return lines;
}

// A trace line from its leading bytes: the rest of the 64 report bytes are zeros.
std::string TraceLine(char mark, const std::string& leadingBytes) {
    std::string line(1, mark);
    std::istringstream stream(leadingBytes);
    std::string byte;
    int count = 0;
    while (stream >> byte) {
        line += " " + byte;
        ++count;
    }
    for (; count < 64; ++count) {
        line += " 00";
    }
    return line;
}

struct Result {
    int status = -1;
    std::vector<std::string> out;
    std::vector<std::string> trace;
};

// Runs tavikctl in this process with a data folder of its own.
class TavikctlTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(m_temp.Path().empty());
        m_environment.programDirectory = Utf8ToWide(TAVIK_OUTPUT_DIR);
        m_environment.dataDirectory = m_temp.Wide();
    }

    Result Run(const std::vector<std::string>& arguments) {
        std::ostringstream out;
        std::ostringstream trace;
        Result result;
        result.status = tavikctl::Run(arguments, m_environment, out, trace);
        result.out = Lines(out.str());
        result.trace = Lines(trace.str());
        return result;
    }

    // A value of profile 1 in the program's database of the model.
    std::wstring Stored(const std::wstring& key) {
        SettingsDatabase database;
        std::wstring value;
        if (database.OpenForModel(m_temp.Wide(), L"tavik_mouse")) {
            database.GetConfigValue(1, key, value);
        }
        return value;
    }

    // The exchanges after the device discovery (one probe per listed interface).
    static std::vector<std::string> AfterDiscovery(const std::vector<std::string>& trace) {
        constexpr size_t kDiscoveryLines = 4;
        if (trace.size() < kDiscoveryLines) {
            return {};
        }
        return std::vector<std::string>(trace.begin() + kDiscoveryLines, trace.end());
    }

    TempDirectory m_temp;
    tavikctl::Environment m_environment;
};

TEST_F(TavikctlTest, TraceLinesAreTheWholeReportInLowerCaseHex) {
    const Result result = Run({"--simulate", "--trace", "list"});
    ASSERT_EQ(result.status, 0);
    ASSERT_FALSE(result.trace.empty());
    for (const std::string& line : result.trace) {
        ASSERT_EQ(line.size(), 2u + 64u * 3u - 1u) << line;
        EXPECT_TRUE(line.compare(0, 2, "> ") == 0 || line.compare(0, 2, "< ") == 0) << line;
        for (size_t at = 2; at < line.size(); at += 3) {
            EXPECT_TRUE(std::isxdigit(static_cast<unsigned char>(line[at])) &&
                        !std::isupper(static_cast<unsigned char>(line[at])))
                << line;
            if (at + 2 < line.size()) {
                EXPECT_EQ(line[at + 2], ' ') << line;
            }
        }
    }
    // Discovery asks every vendor interface for its device information.
    EXPECT_EQ(result.trace[0], TraceLine('>', "06 05"));
    EXPECT_EQ(result.out, (std::vector<std::string>{
                              "type=102 mode=wireless state=connected battery=85 charging=0 "
                              "release=0x0103",
                              "type=102 mode=wired state=connected battery=85 charging=0 "
                              "release=0x0105",
                          }));
}

struct CommandCase {
    std::vector<std::string> arguments;
    std::vector<std::string> exchange;  // trace lines after discovery, leading bytes
    std::string message;
};

TEST_F(TavikctlTest, EachCommandWritesItsReportsAndStoresTheValue) {
    const CommandCase cases[] = {
        {{"set", "report_rate", "3"},
         {"> 06 13 02 00 00 02 03", "< 06 13 02 00 00 02 03"},
         "report_rate=3 sent"},
        {{"set", "deep_sleep", "600"},
         {"> 06 13 05 00 00 0b 3c 00 58 02", "< 06 13 05 00 00 0b 3c 00 58 02"},
         "deep_sleep=600 sent"},
        {{"set", "dpi_index", "2"},
         {"> 06 13 05 00 00 01 06 02 60 09", "< 06 13 05 00 00 01 06 02 60 09"},
         "dpi_index=2 sent"},
        {{"set", "dpi_group3_rgb", "1193046"},
         {"> 06 21 20 00 00 01 04 1f 1f 00 00 00 00 ff 00 00 00 00 ff ff ff 00 56 34 12 00 ff "
          "ff 80 01 80",
          "< 06 21 20 00 00 01 04 1f 1f 00 00 00 00 ff 00 00 00 00 ff ff ff 00 56 34 12 00 ff "
          "ff 80 01 80"},
         "dpi_group3_rgb=1193046 sent"},
        {{"set", "move_closelight", "0"},
         {"> 06 13 02 00 00 0d 00", "< 06 13 02 00 00 0d 00"},
         "move_closelight=0 sent"},
        {{"assign", "3", "2", "4"},
         {"> 06 12 20 00 00 10 01 00 00 10 02 00 00 10 04 00 00 20 00 04 00 10 08 00 00 10 20 "
          "00 00 10 40 00 00 1f 01 00 00 1f",
          "< 06 12 20 00 00 10 01 00 00 10 02 00 00 10 04 00 00 20 00 04 00 10 08 00 00 10 20 "
          "00 00 10 40 00 00 1f 01 00 00 1f"},
         "button 3 assigned; key table sent"},
        // The key table carries the assignment stored by the case before.
        {{"send", "keytable"},
         {"> 06 12 20 00 00 10 01 00 00 10 02 00 00 10 04 00 00 20 00 04 00 10 08 00 00 10 20 "
          "00 00 10 40 00 00 1f 01 00 00 1f",
          "< 06 12 20 00 00 10 01 00 00 10 02 00 00 10 04 00 00 20 00 04 00 10 08 00 00 10 20 "
          "00 00 10 40 00 00 1f 01 00 00 1f"},
         "keytable sent"},
        // The image of no macros: the 64-byte table in a full chunk and one of 5 bytes.
        {{"send", "macros"},
         {"> 06 31 3b", "< 06 31 3b", "> 06 31 05 3b", "< 06 31 05 3b"},
         "macros sent"},
        // The mouse restores its DPI stages itself (no reply); the stored default colours
        // follow.
        {{"send", "dpi-defaults"},
         {"> 06 0f 01 00 00 08",
          "> 06 21 20 00 00 01 04 1f 1f 00 00 00 00 ff 00 00 00 00 ff ff ff 00 ff a5 00 00 ff "
          "ff 80 00 80",
          "< 06 21 20 00 00 01 04 1f 1f 00 00 00 00 ff 00 00 00 00 ff ff ff 00 ff a5 00 00 ff "
          "ff 80 00 80"},
         "dpi-defaults sent"},
    };
    for (const CommandCase& c : cases) {
        std::vector<std::string> arguments = {"--simulate", "--trace"};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        SCOPED_TRACE(::testing::PrintToString(arguments));
        const Result result = Run(arguments);
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(result.out, std::vector<std::string>{c.message});
        std::vector<std::string> expected;
        for (const std::string& line : c.exchange) {
            expected.push_back(TraceLine(line[0], line.substr(2)));
        }
        EXPECT_EQ(AfterDiscovery(result.trace), expected);
    }
    EXPECT_EQ(Stored(L"report_rate"), L"3");
    EXPECT_EQ(Stored(L"deep_sleep"), L"600");
    EXPECT_EQ(Stored(L"dpi_group3_rgb"), L"42495") << "dpi-defaults restored the colours";
    EXPECT_EQ(Stored(L"dpi_index"), L"1") << "dpi-defaults made stage 1 current again";
}

TEST_F(TavikctlTest, ReadPrintsVersionsBatteryAndEveryKey) {
    const Result result = Run({"--simulate", "read"});
    ASSERT_EQ(result.status, 0);
    ASSERT_EQ(result.out.size(), 6u + 38u);
    EXPECT_EQ(std::vector<std::string>(result.out.begin(), result.out.begin() + 7),
              (std::vector<std::string>{
                  "mouse_version=1.2.5", "receiver_version=", "connection_mode=3",
                  "battery_level=85", "battery_charging=0", "profile=1", "version=1.0.1"}));
    EXPECT_EQ(result.out.back(), "notify_fardistance=1");
    // The full read stored what the mouse holds.
    EXPECT_EQ(Stored(L"sensor_flag"), L"53");
}

TEST_F(TavikctlTest, FactoryResetResetsTheProfileAndReadsTheMouseAgain) {
    ASSERT_EQ(Run({"--simulate", "set", "report_rate", "0"}).status, 0);
    ASSERT_EQ(Run({"--simulate", "assign", "2", "8", "1"}).status, 0);
    const Result result = Run({"--simulate", "--trace", "send", "factory-reset"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, std::vector<std::string>{"factory-reset sent"});
    const std::vector<std::string> exchange = AfterDiscovery(result.trace);
    ASSERT_GE(exchange.size(), 2u);
    EXPECT_EQ(exchange[0], TraceLine('>', "06 0f 01 00 00 ff"));
    EXPECT_EQ(exchange[1], TraceLine('>', "06 05"));
    EXPECT_EQ(Stored(L"report_rate"), L"2") << "read back from the reset mouse";
}

struct RefusalCase {
    std::vector<std::string> arguments;
    std::string message;
};

TEST_F(TavikctlTest, BadUsageAndOutOfRangeValuesAreRefusedAndNothingIsStored) {
    const RefusalCase cases[] = {
        {{"set", "report_rate", "4"}, "report_rate must be 0 to 3"},
        {{"set", "report_rate", "-1"}, "report_rate must be 0 to 3"},
        {{"set", "report_rate", "two"}, "report_rate must be 0 to 3"},
        {{"set", "button_respondtime", "51"}, "button_respondtime must be 1 to 50"},
        {{"set", "dpi_group0_value", "12050"},
         "dpi_group0_value must be a multiple of 50 from 50 to 12000"},
        {{"set", "dpi_group0_value", "825"},
         "dpi_group0_value must be a multiple of 50 from 50 to 12000"},
        {{"set", "dpi_index", "6"}, "dpi_index must be 0 to 5"},
        {{"set", "dpi_count", "0"}, "dpi_count must be 1 to 6"},
        {{"set", "deep_sleep", "100000"}, "deep_sleep must be 60 to 14400"},
        {{"set", "dpi_group0_rgb", "16777216"}, "dpi_group0_rgb must be 0 to 16777215"},
        {{"set", "report_flag", "1"},
         "unknown key \"report_flag\"; settable keys: dpi_count, dpi_index, dpi_group0_value, "
         "dpi_group1_value, dpi_group2_value, dpi_group3_value, dpi_group4_value, "
         "dpi_group5_value, dpi_group0_rgb, dpi_group1_rgb, dpi_group2_rgb, dpi_group3_rgb, "
         "dpi_group4_rgb, dpi_group5_rgb, report_rate, sensor_flag, button_respondtime, "
         "scroll_flag, liftoff_height, highspeed_mode, light_sleep, deep_sleep, move_wakeup, "
         "move_closelight"},
        {{"assign", "3", "9", "256"}, "VALUE for type 9 must be 1 to 255"},
        {{"assign", "3", "11", "0"}, "VALUE for type 11 must be 1 to 255"},
        {{"assign", "14", "1", "1"}, "KEYCODE must be 0 to 13"},
        {{"assign", "3", "3", "1"}, "TYPE must be one of 1, 2, 4, 5, 7, 8, 9, 10, 11"},
        {{"assign", "3", "5", "77"}, "VALUE must be the id of a stored macro"},
        {{"assign", "3", "2", "4", "256"}, "VALUE2 and VALUE3 must be 0 to 255"},
        {{"assign", "x", "2", "4"}, "KEYCODE must be a number"},
        {{"send", "everything"}, "send takes keytable, macros, all, dpi-defaults or factory-reset"},
        {{"set", "report_rate"}, "usage: tavikctl set KEY VALUE"},
        {{"--verbose", "list"}, "unknown option \"--verbose\"; tavikctl --help lists them"},
        {{"frob"}, "unknown command \"frob\"; tavikctl --help lists the commands"},
        {{"rate", "300"}, "rate must be 125, 250, 500 or 1000"},
        {{"dpi", "7", "800"}, "STAGE must be 1 to 6"},
        {{"dpi", "2", "abc"}, "VALUE must be a number from 50 to 12000"},
        {{"dpi", "--count", "7"}, "--count must be 1 to 6"},
        {{"dpi", "--active", "0"}, "STAGE must be 1 to 6"},
        {{"dpi", "2", "800", "--color", "000000"},
         "--color must be six hex digits RRGGBB other than 000000"},
        {{"dpi", "2", "800", "--color", "12ab3"},
         "--color must be six hex digits RRGGBB other than 000000"},
        {{"button", "0", "disabled"},
         "KEY must be one of 1, 2, 3, 4, 7 (the first button keeps its function)"},
        {{"button", "5", "disabled"}, "KEY must be one of 1, 2, 3, 4, 7"},
        {{"button", "3", "key", "ctrl+nosuchkey"},
         "COMBO is modifiers (ctrl, shift, alt, win) and one key joined by +, such as "
         "ctrl+shift+a"},
        {{"button", "3", "mouse", "sideways"},
         "mouse takes left, middle, right, double-click, forward, back, wheel-down, wheel-up or a "
         "value of the list"},
        {{"button", "3", "media", "99"},
         "media takes player, play-pause, stop, previous, next, vol-up, vol-down, mute, "
         "calculator, mail or a value of the list"},
        {{"button", "3", "macro", "99"},
         "ID must be the id of a stored macro (tavikctl macro list)"},
        {{"button", "3", "text", "5"}, "ID must be the id of a stored text (tavikctl text list)"},
        {{"button", "3", "shortcut", "14"}, "shortcut VALUE must be 1 to 37 except 14"},
        {{"button", "3", "program", "/no/such/program.exe"},
         "PATH must name an existing program file"},
        {{"button", "3", "teleport"},
         "FUNCTION must be default, disabled, mouse, key, media, macro, shortcut, program, web or "
         "text"},
        {{"light", "4"}, "MODE must be 0 to 3"},
        {{"light", "1", "--brightness", "0"}, "--brightness must be 1 to 255"},
        {{"light", "2", "--color", "3=00ff00"}, "mode 2 has no colours"},
        {{"light", "1", "--color", "9=00ff00"}, "--color takes N=RRGGBB with N 1 to 8"},
        {{"light", "0", "--speed", "5"}, "mode 0 has no speed"},
        {{"profile", "switch", "5"}, "N must be 1 to 4"},
        {{"profile", "rename", "2", ""}, "NAME must not be empty"},
        {{"profile", "frob"},
         "usage: tavikctl [--json] profile list | switch N | rename N NAME | import FILE | "
         "export N FILE"},
        {{"get", "nosuch"}, "unknown key \"nosuch\"; \"get\" alone lists every key"},
        {{"--db"}, "--db needs a file name"},
    };
    ASSERT_EQ(Run({"--simulate", "list"}).status, 0);  // creates the database
    SettingsDatabase before;
    ASSERT_TRUE(before.OpenForModel(m_temp.Wide(), L"tavik_mouse"));
    std::vector<KeyAssignment> keysBefore;
    before.ListKeyAssignments(1, 0, keysBefore);
    before.Close();
    for (const RefusalCase& c : cases) {
        std::vector<std::string> arguments = {"--simulate", "--trace"};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        SCOPED_TRACE(::testing::PrintToString(arguments));
        const Result result = Run(arguments);
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.out, std::vector<std::string>{c.message});
        EXPECT_TRUE(AfterDiscovery(result.trace).empty()) << "nothing was sent";
    }
    EXPECT_EQ(Stored(L"report_rate"), L"2");
    EXPECT_EQ(Stored(L"button_respondtime"), L"1");
    EXPECT_EQ(Stored(L"dpi_group0_value"), L"800");
    EXPECT_EQ(Stored(L"deep_sleep"), L"60");
    EXPECT_EQ(Stored(L"dpi_count"), L"6");
    EXPECT_EQ(Stored(L"dpi_group1_rgb"), L"16711680");
    SettingsDatabase after;
    ASSERT_TRUE(after.OpenForModel(m_temp.Wide(), L"tavik_mouse"));
    std::vector<KeyAssignment> keysAfter;
    EXPECT_EQ(after.ListKeyAssignments(1, 0, keysAfter), static_cast<int>(keysBefore.size()));
}

struct PageCommandCase {
    std::vector<std::string> arguments;
    std::string message;
    std::string query;  // rows of the program's database afterwards, as the shell prints them
    std::string rows;
};

// Every row of a query on a database file, columns joined with '|', rows ended by '\n' (as
// the sqlite3 shell prints them), read through a connection of its own.
std::string FileRows(const std::filesystem::path& file, const std::string& sql) {
    SQLiteDB db;
    if (!db.Open(file.u8string(), kSQLiteOpenReadWrite)) {
        return "cannot open";
    }
    SQLiteStatement statement;
    if (db.Prepare(statement, sql.c_str()) != kSQLiteOk) {
        return "cannot prepare";
    }
    std::string rows;
    while (statement.Step() == kSQLiteRow) {
        for (int column = 0; column < statement.ColumnCount(); ++column) {
            rows += (column > 0 ? "|" : "") + WideToUtf8(statement.ColumnText(column));
        }
        rows += '\n';
    }
    return rows;
}

TEST_F(TavikctlTest, PageCommandsStoreWhatTheWindowWouldAndSendIt) {
    const PageCommandCase cases[] = {
        {{"dpi", "3", "12345"},
         "dpi stage 3=12000 sent",
         "SELECT value FROM t_configdata WHERE profile = 1 AND key IN ('dpi_group2_value', "
         "'dpi_index') ORDER BY key",
         "12000\n2\n"},
        {{"dpi", "2", "75"},
         "dpi stage 2=50 sent",
         "SELECT value FROM t_configdata WHERE profile = 1 AND key = 'dpi_group1_value'",
         "50\n"},
        {{"dpi", "2", "1649", "--color", "12ab34"},
         "dpi stage 2=1600 color 12ab34 sent",
         "SELECT value FROM t_configdata WHERE profile = 1 AND key IN ('dpi_group1_value', "
         "'dpi_group1_rgb') ORDER BY key",
         "3451666\n1600\n"},
        {{"dpi", "--active", "5"},
         "dpi stage 5 current sent",
         "SELECT value FROM t_configdata WHERE profile = 1 AND key = 'dpi_index'",
         "4\n"},
        {{"dpi", "--count", "3"},
         "dpi count=3 sent",
         "SELECT value FROM t_configdata WHERE profile = 1 AND key IN ('dpi_count', 'dpi_index') "
         "ORDER BY key",
         "3\n2\n"},
        {{"dpi", "--defaults"},
         "dpi defaults sent",
         "SELECT value FROM t_configdata WHERE profile = 1 AND key IN ('dpi_count', 'dpi_index', "
         "'dpi_group2_value') ORDER BY key",
         "6\n2400\n1\n"},
        {{"rate", "250"},
         "rate 250 Hz sent",
         "SELECT value FROM t_configdata WHERE profile = 1 AND key = 'report_rate'",
         "1\n"},
        {{"button", "3", "key", "ctrl+shift+a"},
         "button 3 key Shift + Ctrl + A sent",
         "SELECT macro_type, macro_value, macro_value2, macro_desc FROM t_key_macro_data WHERE "
         "profile = 1 AND key_code = 3",
         "2|4|3|Shift + Ctrl + A\n"},
        {{"button", "4", "key", "Alt+F5"},
         "button 4 key Alt + F5 sent",
         "SELECT macro_type, macro_value, macro_value2 FROM t_key_macro_data WHERE profile = 1 "
         "AND key_code = 4",
         "2|62|4\n"},
        {{"button", "3", "media", "vol-up"},
         "button 3 media vol-up sent",
         "SELECT macro_type, macro_value FROM t_key_macro_data WHERE profile = 1 AND key_code = 3",
         "4|6\n"},
        {{"button", "7", "mouse", "back"},
         "button 7 mouse back sent",
         "SELECT macro_type, macro_value FROM t_key_macro_data WHERE profile = 1 AND key_code = 7",
         "1|6\n"},
        {{"button", "2", "shortcut", "20"},
         "button 2 shortcut 20 sent",
         "SELECT macro_type, macro_value FROM t_key_macro_data WHERE profile = 1 AND key_code = 2",
         "7|20\n"},
        {{"button", "2", "web", "example.org/a?b=1"},
         "button 2 web example.org/a?b=1 sent",
         "SELECT d.macro_type, o.macro_desc, o.param FROM t_key_macro_data d JOIN t_key_otherdata "
         "o ON "
         "o.macro_value = d.macro_value WHERE d.profile = 1 AND d.key_code = 2",
         "10|example.org/a?b=1|\n"},
        {{"button", "4", "disabled"},
         "button 4 disabled sent",
         "SELECT macro_type, macro_value FROM t_key_macro_data WHERE profile = 1 AND key_code = 4",
         "8|1\n"},
        {{"button", "4", "default"},
         "button 4 default sent",
         "SELECT macro_type, macro_value FROM t_key_macro_data WHERE profile = 1 AND key_code = 4",
         "1|6\n"},
        {{"light", "1", "--brightness", "50", "--speed", "9", "--color", "8=0000ff"},
         "light mode 1 sent",
         "SELECT brightness, speed, colorful, colorindex, color_value8, status FROM t_light_data "
         "WHERE profile = 1 AND mode = 1",
         "50|9|0|7|16711680|1\n"},
        {{"light", "2", "--direction", "1"},
         "light mode 2 sent",
         "SELECT mode, direction FROM t_light_data WHERE profile = 1 AND status = 1",
         "2|1\n"},
        {{"profile", "rename", "2", "Games"},
         "profile 2 renamed",
         "SELECT name FROM t_profile_data WHERE profile = 2",
         "Games\n"},
        {{"profile", "switch", "2"},
         "profile 2 sent",
         "SELECT profile FROM t_profile_data WHERE status = 1",
         "2\n"},
        {{"rate", "125"},
         "rate 125 Hz sent",
         "SELECT profile, value FROM t_configdata WHERE key = 'report_rate' AND profile <= 2",
         "1|1\n2|0\n"},
    };
    const std::filesystem::path file = m_temp.Path() / "pages.db";
    for (const PageCommandCase& c : cases) {
        std::vector<std::string> arguments = {"--simulate", "--db", file.u8string()};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        SCOPED_TRACE(::testing::PrintToString(c.arguments));
        const Result result = Run(arguments);
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(result.out, std::vector<std::string>{c.message});
        EXPECT_EQ(FileRows(file, c.query), c.rows);
    }
}

TEST_F(TavikctlTest, FileAndListCommandsChangeOnlyWhatTheyName) {
    const std::filesystem::path macroFile = m_temp.Path() / "hi.xml";
    const std::filesystem::path badFile = m_temp.Path() / "bad.xml";
    const std::filesystem::path exported = m_temp.Path() / "exported.xml";
    const std::filesystem::path profileFile = m_temp.Path() / "profile.xml";
    {
        std::ofstream(macroFile, std::ios::binary)
            << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<macro>\r\n<macroinfo "
               "macro_name=\"Hi\" "
               "macro_type=\"0\" play_times=\"1\" delay_type=\"1\" delay_time=\"0\"/>\r\n"
               "<macroitems>\r\n<item desc=\"A\" index=\"0\" type=\"2\" value=\"65\" "
               "timestamp=\"10\"/>\r\n</macroitems>\r\n</macro>\r\n";
        std::ofstream(badFile, std::ios::binary) << "<macro><macroinfo";
    }
    const std::string tooLong(501, 'x');
    const struct {
        std::vector<std::string> arguments;
        int status;
        std::string message;
        std::string query;
        std::string rows;
    } cases[] = {
        {{"macro", "import", macroFile.u8string()},
         0,
         "macro 1 imported as Hi \xe5\xaf\xbc\xe5\x85\xa5 (1 events)",
         "SELECT m.name, e.type, e.value, e.delay_time FROM t_macro_data m JOIN t_macrorecord e "
         "ON e.macro_id = m.macro_id",
         "Hi \xe5\xaf\xbc\xe5\x85\xa5|2|65|10\n"},
        {{"macro", "import", badFile.u8string()},
         2,
         "cannot import \"" + badFile.u8string() + "\": not a readable macro file; nothing stored",
         "SELECT count(*) FROM t_macro_data",
         "1\n"},
        {{"macro", "import", (m_temp.Path() / "none.xml").u8string()},
         2,
         "cannot import \"" + (m_temp.Path() / "none.xml").u8string() + "\": no such file",
         "SELECT count(*) FROM t_macro_data",
         "1\n"},
        {{"macro", "export", "1", exported.u8string()}, 0, "macro 1 exported", "", ""},
        {{"macro", "export", "9", exported.u8string()},
         2,
         "ID must be the id of a stored macro (tavikctl macro list)",
         "",
         ""},
        {{"button", "3", "macro", "1", "--repeat", "4"},
         0,
         "button 3 macro 1 sent",
         "SELECT macro_type, macro_value, macro_value2, macro_value3 FROM t_key_macro_data WHERE "
         "key_code = 3",
         "5|1|4|0\n"},
        {{"macro", "delete", "1"},
         0,
         "macro 1 deleted; sent to the mouse",
         "SELECT (SELECT count(*) FROM t_macro_data) || ',' || (SELECT count(*) FROM "
         "t_macrorecord)",
         "0,0\n"},
        {{"text", "add", "Sig", "Regards & more"},
         0,
         "text 1 added",
         "SELECT name, content FROM t_text_data",
         "Sig|Regards & more\n"},
        {{"text", "add", "Long", tooLong},
         2,
         "TEXT must be at most 500 characters",
         "SELECT count(*) FROM t_text_data",
         "1\n"},
        {{"text", "delete", "7"},
         2,
         "ID must be the id of a stored text (tavikctl text list)",
         "SELECT count(*) FROM t_text_data",
         "1\n"},
        {{"text", "delete", "1"}, 0, "text 1 deleted", "SELECT count(*) FROM t_text_data", "0\n"},
        {{"profile", "export", "1", profileFile.u8string()}, 0, "profile 1 exported", "", ""},
        {{"rate", "125"},
         0,
         "rate 125 Hz sent",
         "SELECT value FROM t_configdata WHERE profile = 1 AND key = 'report_rate'",
         "0\n"},
        {{"profile", "import", badFile.u8string()},
         2,
         "cannot import \"" + badFile.u8string() +
             "\": not a readable profile file; nothing changed",
         "SELECT value FROM t_configdata WHERE profile = 1 AND key = 'report_rate'",
         "0\n"},
        {{"profile", "import", profileFile.u8string()},
         0,
         "profile 1 imported; sent to the mouse",
         "SELECT value FROM t_configdata WHERE profile = 1 AND key = 'report_rate'",
         "2\n"},
        {{"profile", "export", "1", (m_temp.Path() / "no" / "such.xml").u8string()},
         2,
         "cannot write \"" + (m_temp.Path() / "no" / "such.xml").u8string() + "\"",
         "",
         ""},
    };
    const std::filesystem::path file = m_temp.Path() / "files.db";
    for (const auto& c : cases) {
        std::vector<std::string> arguments = {"--simulate", "--db", file.u8string()};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        SCOPED_TRACE(::testing::PrintToString(c.arguments));
        const Result result = Run(arguments);
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.out, std::vector<std::string>{c.message});
        if (!c.query.empty()) {
            EXPECT_EQ(FileRows(file, c.query), c.rows);
        }
    }
    std::ifstream stream(exported, std::ios::binary);
    std::string first;
    std::getline(stream, first);
    EXPECT_EQ(first, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r");
}

TEST_F(TavikctlTest, PageCommandsReachTheMouse) {
    struct Case {
        std::vector<std::string> arguments;
        std::string firstSent;
    };
    const Case cases[] = {
        {{"rate", "1000"}, "> 06 13 02 00 00 02 03"},
        // Stage 3 becomes current with its new value: count 6, index 2, 4300 dpi.
        {{"dpi", "3", "4321"}, "> 06 13 05 00 00 01 06 02 cc 10"},
        {{"dpi", "--defaults"}, "> 06 0f 01 00 00 08"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> arguments = {"--simulate", "--trace"};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        SCOPED_TRACE(::testing::PrintToString(c.arguments));
        const Result result = Run(arguments);
        EXPECT_EQ(result.status, 0);
        const std::vector<std::string> exchange = AfterDiscovery(result.trace);
        ASSERT_FALSE(exchange.empty());
        EXPECT_EQ(exchange[0], TraceLine('>', c.firstSent.substr(2)));
    }
}

TEST_F(TavikctlTest, HelpAndVersionNeedNoDevice) {
    struct Case {
        std::vector<std::string> arguments;
        std::string firstLine;
    };
    const Case cases[] = {
        {{"--version"}, "tavikctl 1.0.0"},
        {{"--help"},
         "usage: tavikctl [--simulate[=SCRIPT]] [--db FILE] [--trace] [--json] COMMAND ..."},
        {{"dpi", "--help"}, "usage: tavikctl [--json] dpi"},
        {{"button", "3", "key", "--help"}, "usage: tavikctl button KEY FUNCTION [ARGS]"},
        {{"profile", "--help"},
         "usage: tavikctl [--json] profile list | switch N | rename N NAME | import FILE | "
         "export N FILE"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.arguments));
        const Result result = Run(c.arguments);
        EXPECT_EQ(result.status, 0);
        ASSERT_FALSE(result.out.empty());
        EXPECT_EQ(result.out[0], c.firstLine);
        EXPECT_TRUE(result.trace.empty()) << "no device was opened";
    }
    const Result bare = Run({});
    EXPECT_EQ(bare.status, 2);
    EXPECT_GT(bare.out.size(), 5u) << "the whole usage";
}

TEST_F(TavikctlTest, WithoutAMouseTheValueIsStoredAndTheExitStatusSaysNoAnswer) {
    // The real HID backend: no mouse of this vendor is ever attached to a test machine.
    const Result set = Run({"set", "report_rate", "1"});
    EXPECT_EQ(set.status, 1);
    EXPECT_EQ(set.out, std::vector<std::string>{"report_rate=1 stored; the mouse did not answer"});
    EXPECT_EQ(Stored(L"report_rate"), L"1");
    const Result read = Run({"read"});
    EXPECT_EQ(read.status, 1);
    EXPECT_EQ(read.out, std::vector<std::string>{"the mouse did not answer"});
    const Result list = Run({"list"});
    EXPECT_EQ(list.status, 0);
    EXPECT_EQ(list.out, std::vector<std::string>{"no device attached"});
}

#ifndef _WIN32

// The executable itself, as a user runs it.
class TavikctlProgramTest : public ::testing::Test {
protected:
    // Runs the program with the data folder below the test's own; stdout and the exit
    // status come back, standard error goes to `traceFile`.
    int RunProgram(const std::string& arguments, std::string& out) {
        const std::filesystem::path traceFile = m_temp.Path() / "trace.txt";
        const std::string command = "XDG_DATA_HOME='" + m_temp.Path().u8string() + "' '" +
                                    std::string(TAVIKCTL_PATH) + "' " + arguments + " 2>'" +
                                    traceFile.u8string() + "'";
        FILE* pipe = popen(command.c_str(), "r");
        if (pipe == nullptr) {
            return -1;
        }
        out.clear();
        char buffer[4096];
        size_t count;
        while ((count = fread(buffer, 1, sizeof(buffer), pipe)) > 0) {
            out.append(buffer, count);
        }
        const int status = pclose(pipe);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    TempDirectory m_temp;
};

TEST_F(TavikctlProgramTest, StoresRowsOtherProgramsReadAndExitsWithItsStatus) {
    if (!SqliteShellAvailable()) {
        GTEST_SKIP() << "the sqlite3 shell is not installed";
    }
    const std::filesystem::path file = m_temp.Path() / "mine.db";
    const std::string db = "--simulate --db '" + file.u8string() + "' ";
    std::string out;
    EXPECT_EQ(RunProgram(db + "set report_rate 1", out), 0);
    EXPECT_EQ(out, "report_rate=1 sent\n");
    EXPECT_EQ(RunProgram(db + "assign 4 9 12", out), 0);
    EXPECT_EQ(RunProgram(db + "set dpi_count 7", out), 2);
    EXPECT_EQ(out, "dpi_count must be 1 to 6\n");

    EXPECT_EQ(RunSqliteShell(file,
                             "SELECT profile, value FROM t_configdata WHERE key = "
                             "'report_rate' ORDER BY profile;"),
              "1|1\n2|2\n3|2\n4|2\n");
    EXPECT_EQ(RunSqliteShell(file,
                             "SELECT value FROM t_configdata WHERE key = 'dpi_count' "
                             "AND profile = 1;"),
              "6\n");
    EXPECT_EQ(RunSqliteShell(file,
                             "SELECT profile, fn_layer, key_code, macro_type, "
                             "macro_value, macro_value2, macro_value3 FROM "
                             "t_key_macro_data;"),
              "1|0|4|9|12|0|0\n");

    // Without --db: the program's own database of the catalogue's model.
    EXPECT_EQ(RunProgram("--simulate set highspeed_mode 1", out), 0);
    const std::filesystem::path own =
        m_temp.Path() / "Tavik Mouse Files" / "db" / "tavik_mouse_datav8.db";
    EXPECT_EQ(RunSqliteShell(own,
                             "SELECT value FROM t_configdata WHERE key = "
                             "'highspeed_mode' AND profile = 1;"),
              "1\n");

    EXPECT_EQ(RunProgram("--simulate frob", out), 2);
    EXPECT_EQ(RunProgram("read", out), 1);
    EXPECT_EQ(out, "the mouse did not answer\n");
}

TEST_F(TavikctlProgramTest, JsonOutputIsReadByPython) {
    if (std::system("python3 -c 'import json' >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "python3 is not installed";
    }
    struct Case {
        const char* arguments;
        const char* check;  // a Python expression over the parsed document `d`
    };
    const Case cases[] = {
        {"status", "d['connection'] == 'wired' and d['battery'] == 85 and len(d['devices']) == 2"},
        {"get", "len(d) == 38 and d['report_rate'] == 2 and d['version'] == '1.0.1'"},
        {"get dpi_count", "d == {'dpi_count': 6}"},
        {"dpi", "d['count'] == 6 and d['active'] == 2 and d['stages'][3]['color'] == 'ffa500'"},
        {"macro list", "d == []"},
        {"profile list", "[p['name'] for p in d if p['active']] == ['Profile 1'] and len(d) == 4"},
    };
    const std::filesystem::path file = m_temp.Path() / "json.db";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        std::string out;
        ASSERT_EQ(
            RunProgram("--simulate --json --db '" + file.u8string() + "' " + c.arguments, out), 0);
        const std::filesystem::path json = m_temp.Path() / "out.json";
        {
            std::FILE* stream = std::fopen(json.u8string().c_str(), "wb");
            ASSERT_NE(stream, nullptr);
            std::fwrite(out.data(), 1, out.size(), stream);
            std::fclose(stream);
        }
        const std::string command =
            "python3 -c \"import json,sys; d = json.load(open(sys.argv[1])); "
            "sys.exit(0 if (" +
            std::string(c.check) + ") else 1)\" '" + json.u8string() + "'";
        EXPECT_EQ(std::system(command.c_str()), 0) << out;
    }
}

#endif

TEST_F(TavikctlTest, ScenarioPlaysOnTheSimulatedDevicesBeforeTheCommand) {
    const std::filesystem::path script = m_temp.Path() / "mouse off.scenario";
    std::ofstream(script) << "# only the receiver, with its mouse switched off\n"
                             "unplug cable\n"
                             "receiver mouse off\n";
    const Result result = Run({"--simulate=" + script.u8string(), "list"});
    ASSERT_EQ(result.status, 0);
    EXPECT_EQ(result.out,
              (std::vector<std::string>{"type=0 mode=wireless state=none battery=0 charging=0 "
                                        "release=0x0103"}));

    std::ofstream(script) << "unplug cable\nwiggle\n";
    const Result bad = Run({"--simulate=" + script.u8string(), "list"});
    EXPECT_EQ(bad.status, tavikctl::kExitUsage);
    EXPECT_EQ(bad.out,
              std::vector<std::string>{script.u8string() + ": line 2: unknown verb \"wiggle\""});
    EXPECT_EQ(Run({"--simulate=", "list"}).out,
              std::vector<std::string>{"--simulate= needs a scenario file"});
}

}  // namespace
}  // namespace tavik
