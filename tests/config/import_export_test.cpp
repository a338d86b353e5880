#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "app/config/macro_file.h"
#include "app/config/macro_page.h"
#include "app/config/profile_file.h"
#include "app/config/profile_transfer.h"
#include "app/services/xml_doc.h"
#include "config_fixture.h"
#include "tests/config/scripted_dialogs.h"

namespace tavik {
namespace {

namespace fs = std::filesystem;

constexpr ProfileFileDevice kMouseWithLights{102, true};

// A file that Python's XML writer made at build time (write_sample_files.py).
std::wstring SampleFile(const char* name) {
    return Utf8ToWide((fs::path(TAVIK_CONFIG_SAMPLES) / name).u8string());
}

class MacroFileTest : public test::ConfigTest {
protected:
    // A macro with a header unlike a new one's and two events.
    int StoreSampleMacro() {
        MacroRecord header;
        header.name = L"stored name";
        header.playType = 2;
        header.playTimes = 4;
        header.delayType = 2;
        header.delayTime = 150;
        const int id = m_database.AddMacroWithSettings(header);
        MacroEvent down;
        down.macroId = id;
        down.type = 2;
        down.recordIndex = 0;
        down.value = 65;
        down.delayTime = 31000;
        down.description = L"\u2193  A";
        MacroEvent up = down;
        up.type = 3;
        up.recordIndex = 1;
        up.delayTime = 10;
        up.description = L"\u2191  A";
        m_database.AddMacroEvents({down, up});
        return id;
    }
};

TEST_F(MacroFileTest, ExportWritesTheFileLineByLine) {
    const int id = StoreSampleMacro();
    ASSERT_EQ(ExportMacroFile(m_database, id, L"Combo \"A\" & <B>", WideFile("m.xml")),
              FileResult::kDone);
    EXPECT_EQ(ReadBytes(File("m.xml")),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
              "<macro>\r\n"
              "<macroinfo macro_name=\"Combo &quot;A&quot; &amp; &lt;B&gt;\" macro_type=\"2\" "
              "play_times=\"4\" delay_type=\"2\" delay_time=\"150\"/>\r\n"
              "<macroitems>\r\n"
              "<item desc=\"\xE2\x86\x93  A\" index=\"0\" type=\"2\" value=\"65\" "
              "timestamp=\"31000\"/>\r\n"
              "<item desc=\"\xE2\x86\x91  A\" index=\"1\" type=\"3\" value=\"65\" "
              "timestamp=\"10\"/>\r\n"
              "</macroitems>\r\n"
              "</macro>\r\n");
}

TEST_F(MacroFileTest, ExportOfAMacroWithoutEventsKeepsItemsEmpty) {
    const int id = m_database.AddMacro(L"Empty");
    ASSERT_EQ(ExportMacroFile(m_database, id, L"Empty", WideFile("m.xml")), FileResult::kDone);
    EXPECT_EQ(ReadBytes(File("m.xml")),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<macro>\r\n"
              "<macroinfo macro_name=\"Empty\" macro_type=\"0\" play_times=\"1\" "
              "delay_type=\"1\" delay_time=\"0\"/>\r\n<macroitems/>\r\n</macro>\r\n");
    EXPECT_EQ(ExportMacroFile(m_database, 999, L"None", WideFile("none.xml")),
              FileResult::kNothingToSave);
    EXPECT_FALSE(fs::exists(File("none.xml")));
    EXPECT_EQ(ExportMacroFile(m_database, id, L"Empty", WideFile("no-folder/m.xml")),
              FileResult::kWriteFailed);
}

TEST_F(MacroFileTest, ImportAddsASecondMacroWithTheSuffixAndTheSameEvents) {
    const int id = StoreSampleMacro();
    ASSERT_EQ(ExportMacroFile(m_database, id, L"Combo", WideFile("m.xml")), FileResult::kDone);
    const MacroImport import = ImportMacroFile(m_database, WideFile("m.xml"));
    ASSERT_EQ(import.result, FileResult::kDone);
    EXPECT_NE(import.macroId, id);
    EXPECT_EQ(import.name, L"Combo \u5bfc\u5165");
    EXPECT_EQ(SideRows("SELECT name, play_type, play_times, delay_type, delay_time FROM "
                       "t_macro_data ORDER BY macro_id"),
              L"stored name|2|4|2|150\nCombo \u5bfc\u5165|2|4|2|150\n");
    auto eventsOf = [&](int macro) {
        return SideRows(
            "SELECT type, record_index, desc, value, delay_time FROM t_macrorecord "
            "WHERE macro_id = " +
            std::to_string(macro) + " ORDER BY record_index");
    };
    EXPECT_EQ(eventsOf(import.macroId), eventsOf(id));
    EXPECT_EQ(eventsOf(id), L"2|0|\u2193  A|65|31000\n3|1|\u2191  A|65|10\n");

    // Read back byte for byte: the imported macro exports to the same file.
    ASSERT_EQ(ExportMacroFile(m_database, import.macroId, L"Combo", WideFile("again.xml")),
              FileResult::kDone);
    EXPECT_EQ(ReadBytes(File("again.xml")), ReadBytes(File("m.xml")));
}

struct MacroFieldCase {
    const char* label;
    const char* info;   // attributes of macroinfo
    const char* items;  // the item elements
    const wchar_t* header;
    const wchar_t* events;
};

// Names the case in test listings.
void PrintTo(const MacroFieldCase& param, std::ostream* os) {
    *os << param.label;
}

class MacroFieldTest : public MacroFileTest,
                       public ::testing::WithParamInterface<MacroFieldCase> {};

// Values out of range never reach the store: the header takes a new macro's values and such
// an event is left out.
TEST_P(MacroFieldTest, StoresOnlyValuesWithinRange) {
    const MacroFieldCase& param = GetParam();
    WriteBytes(File("m.xml"), std::string("<macro><macroinfo ") + param.info + "/><macroitems>" +
                                  param.items + "</macroitems></macro>");
    const MacroImport import = ImportMacroFile(m_database, WideFile("m.xml"));
    ASSERT_EQ(import.result, FileResult::kDone);
    EXPECT_EQ(SideRows("SELECT name, play_type, play_times, delay_type, delay_time FROM "
                       "t_macro_data"),
              param.header);
    EXPECT_EQ(SideRows("SELECT type, record_index, value, delay_time, desc FROM t_macrorecord "
                       "ORDER BY record_id"),
              param.events);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, MacroFieldTest,
    ::testing::Values(
        MacroFieldCase{"Valid",
                       "macro_name='m' macro_type='1' play_times='9' delay_type='2' "
                       "delay_time='300'",
                       "<item desc='d' index='0' type='2' value='65' timestamp='65535'/>",
                       L"m \u5bfc\u5165|1|9|2|300\n", L"2|0|65|65535|d\n"},
        MacroFieldCase{"HeaderOutOfRange",
                       "macro_name='m' macro_type='9' play_times='0' delay_type='-1' "
                       "delay_time='99999999999'",
                       "", L"m \u5bfc\u5165|0|1|1|0\n", L""},
        MacroFieldCase{"MissingHeaderReadsAsEmpty", "", "", L" \u5bfc\u5165|0|1|1|0\n", L""},
        MacroFieldCase{"EventsOutOfRangeLeftOut", "macro_name='m'",
                       "<item index='0' type='1' value='1' timestamp='1'/>"
                       "<item index='1' type='13' value='1' timestamp='1'/>"
                       "<item index='2' type='12' value='256' timestamp='1'/>"
                       "<item index='3' type='12' value='255' timestamp='65536'/>"
                       "<item index='4' type='12' value='255' timestamp='-1'/>"
                       "<item index='5' type='7' value='255' timestamp=' +12ms'/>"
                       "<item index='6' type='2'/>",
                       L"m \u5bfc\u5165|0|1|1|0\n", L"7|5|255|12|\n"}),
    [](const ::testing::TestParamInfo<MacroFieldCase>& info) { return info.param.label; });

TEST_F(MacroFileTest, ImportStoresAtMostTheEventLimit) {
    std::string file = "<macro><macroinfo macro_name='big'/><macroitems>";
    for (int index = 0; index < 10000; ++index) {
        file += "<item desc='e' index='" + std::to_string(index) +
                "' type='2' value='65' timestamp='10'/>";
    }
    WriteBytes(File("big.xml"), file + "</macroitems></macro>");
    const MacroImport import = ImportMacroFile(m_database, WideFile("big.xml"));
    ASSERT_EQ(import.result, FileResult::kDone);
    EXPECT_EQ(import.eventCount, 200);
    EXPECT_EQ(SideInt("SELECT count(*) FROM t_macrorecord"), 200);
    EXPECT_EQ(SideInt("SELECT max(record_index) FROM t_macrorecord"), 199);
}

// Only what follows the element found last is seen: items before their header are skipped.
TEST_F(MacroFileTest, ImportReadsElementsOnlyInTheirWrittenOrder) {
    WriteBytes(File("m.xml"),
               "<macro><macroitems><item index='0' type='2' value='1' timestamp='1'/>"
               "</macroitems><macroinfo macro_name='late' play_times='5'/></macro>");
    const MacroImport import = ImportMacroFile(m_database, WideFile("m.xml"));
    ASSERT_EQ(import.result, FileResult::kDone);
    EXPECT_EQ(SideRows("SELECT name, play_times FROM t_macro_data"), L"late \u5bfc\u5165|5\n");
    EXPECT_EQ(SideInt("SELECT count(*) FROM t_macrorecord"), 0);
}

TEST_F(MacroFileTest, UnreadableFilesStoreNothing) {
    StoreSampleMacro();
    const std::wstring before = AllRows();
    WriteBytes(File("profile.xml"), "<profile><macroinfo macro_name='x'/></profile>");
    WriteBytes(File("broken.xml"), "<macro><macroinfo macro_name='x'/>");
    WriteBytes(File("two.xml"), "<macro/><macro/>");
    WriteBytes(File("empty.xml"), "");
    for (const char* name : {"missing.xml", "profile.xml", "broken.xml", "two.xml", "empty.xml"}) {
        EXPECT_EQ(ImportMacroFile(m_database, WideFile(name)).result, FileResult::kUnreadable)
            << name;
    }
    EXPECT_EQ(AllRows(), before);
}

// A store that refuses the second event takes back the header and the first event too.
TEST_F(MacroFileTest, ImportThatTheStoreRefusesHalfWayLeavesNothing) {
    ASSERT_EQ(m_side.Execute("CREATE TRIGGER refuse BEFORE INSERT ON t_macrorecord WHEN "
                             "NEW.record_index = 1 BEGIN SELECT RAISE(ABORT, 'full'); END"),
              kSQLiteOk);
    const std::wstring before = AllRows();
    WriteBytes(File("m.xml"),
               "<macro><macroinfo macro_name='m'/><macroitems>"
               "<item index='0' type='2' value='1' timestamp='1'/>"
               "<item index='1' type='3' value='1' timestamp='1'/></macroitems></macro>");
    EXPECT_EQ(ImportMacroFile(m_database, WideFile("m.xml")).result, FileResult::kStoreFailed);
    EXPECT_EQ(AllRows(), before);
}

// Files written by another program: Python's XML writer in UTF-8 and in UTF-16 with a mark.
TEST_F(MacroFileTest, FilesWrittenByPythonImport) {
    for (const char* name : {"macro-utf8.xml", "macro-utf16.xml"}) {
        const MacroImport import = ImportMacroFile(m_database, SampleFile(name));
        ASSERT_EQ(import.result, FileResult::kDone) << name;
        EXPECT_EQ(import.name, L"Python \"quoted\" & <made> \u5bfc\u5165") << name;
        std::vector<MacroEvent> events;
        ASSERT_EQ(m_database.ListMacroEvents(import.macroId, events), 3) << name;
        EXPECT_EQ(events[0].description, L"\u2193  A");
        EXPECT_EQ(events[1].type, 3);
        EXPECT_EQ(events[2].value, 1);
        EXPECT_EQ(events[2].delayTime, 10);
        MacroRecord header;
        ASSERT_TRUE(m_database.GetMacro(import.macroId, header));
        EXPECT_EQ(header.playTimes, 3);
        EXPECT_EQ(header.delayType, 2);
        EXPECT_EQ(header.delayTime, 250);
    }
}

class ProfileFileTest : public test::ConfigTest {
protected:
    std::wstring ProfileRows(int profile) {
        const std::string where = " WHERE profile = " + std::to_string(profile);
        return SideRows("SELECT key, value FROM t_configdata" + where + " ORDER BY key") +
               SideRows(
                   "SELECT fn_layer, key_code, layout_value, layout_desc, macro_type, "
                   "macro_value, macro_value2, macro_value3, macro_desc FROM "
                   "t_key_macro_data" +
                   where + " ORDER BY key_code") +
               SideRows(
                   "SELECT name, mode, brightness, speed, direction, colorful, "
                   "colorindex, color_value1, color_value2, color_value3, color_value4, "
                   "color_value5, color_value6, color_value7, color_value8, "
                   "move_closelight, config_func, reserved, status FROM t_light_data" +
                   where + " ORDER BY mode");
    }

    void Assign(int profile, int keyCode, int type, int value1, int value2,
                const wchar_t* description) {
        KeyAssignment assignment;
        assignment.profile = profile;
        assignment.keyCode = keyCode;
        assignment.functionType = type;
        assignment.value1 = value1;
        assignment.value2 = value2;
        assignment.description = description;
        ASSERT_NE(m_database.SaveKeyAssignment(assignment), 0);
    }

    // Gives a profile settings unlike the defaults everywhere the file reaches.
    void Customise(int profile) {
        Assign(profile, 1, 2, 4, 6, L"Shift + Alt + A");
        Assign(profile, 4, 5, 1, 3, L"Macro \"1\" & <2>");
        for (auto [key, value] : {std::pair{L"dpi_flag", L"7"},
                                  {L"dpi_index", L"2"},
                                  {L"dpi_count", L"4"},
                                  {L"dpi_group0_value", L"450"},
                                  {L"dpi_group4_rgb", L"123456"},
                                  {L"report_rate", L"3"},
                                  {L"button_respondtime", L"12"},
                                  {L"sensor_flag", L"5"},
                                  {L"liftoff_height", L"0"},
                                  {L"scroll_flag", L"0"},
                                  {L"highspeed_mode", L"1"},
                                  {L"leftbtn_lock", L"0"}}) {
            ASSERT_TRUE(m_database.SetConfigValue(profile, key, value));
        }
        LightRecord light;
        ASSERT_TRUE(m_database.GetLight(profile, 2, light));
        light.brightness = 33;
        light.speed = 44;
        light.direction = 1;
        light.colorful = 0;
        light.colorIndex = 6;
        light.colorValues = {1, 2, 3, 4, 5, 6, 7, 8};
        ASSERT_TRUE(m_database.UpdateLight(2, light));
        ASSERT_TRUE(m_database.SetActiveLightMode(profile, 2));
    }
};

TEST_F(ProfileFileTest, ExportOfANewProfileIsExact) {
    ASSERT_EQ(ExportProfileFile(m_database, 1, kMouseWithLights, WideFile("p.xml")),
              FileResult::kDone);
    std::string lights;
    const char* const kColours =
        "color_value1=\"255\" color_value2=\"33023\" color_value3=\"65535\" "
        "color_value4=\"65280\" color_value5=\"8453888\" color_value6=\"16776960\"";
    for (auto [mode, colorful] : {std::pair{0, 1}, {1, 1}, {2, 1}, {3, 0}}) {
        lights += "<item light_mode=\"" + std::to_string(mode) +
                  "\" brightness=\"127\" speed=\"128\" direction=\"0\" colorful=\"" +
                  std::to_string(colorful) + "\" colorindex=\"0\" " + kColours + "/>\r\n";
    }
    EXPECT_EQ(ReadBytes(File("p.xml")),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
              "<profile>\r\n"
              "<profileinfo name=\"Profile 1\">\r\n"
              "<keyitems/>\r\n"
              "<Lightitems lightmode=\"1\">\r\n" +
                  lights +
                  "</Lightitems>\r\n"
                  "<Mouse_DPI dpi_flag=\"5\" dpi_index=\"1\" dpi_count=\"6\">\r\n"
                  "<DPI1 value=\"800\" color=\"255\"/>\r\n"
                  "<DPI2 value=\"1600\" color=\"16711680\"/>\r\n"
                  "<DPI3 value=\"2400\" color=\"65535\"/>\r\n"
                  "<DPI4 value=\"3200\" color=\"42495\"/>\r\n"
                  "<DPI5 value=\"5000\" color=\"16776960\"/>\r\n"
                  "</Mouse_DPI>\r\n"
                  "<Mouse>\r\n"
                  "<button_respondtime value=\"1\"/>\r\n"
                  "<report_rate value=\"2\"/>\r\n"
                  "<sensor_flag value=\"53\"/>\r\n"
                  "<liftoff_height value=\"1\"/>\r\n"
                  "<scroll_flag value=\"1\"/>\r\n"
                  "<e-sports_flag value=\"0\"/>\r\n"
                  "<leftbtn_lock value=\"1\"/>\r\n"
                  "</Mouse>\r\n"
                  "</profileinfo>\r\n"
                  "</profile>\r\n");
}

TEST_F(ProfileFileTest, ExportWithoutLightingLeavesLightsOut) {
    Customise(1);
    ASSERT_EQ(ExportProfileFile(m_database, 1, {102, false}, WideFile("p.xml")), FileResult::kDone);
    const std::string file = ReadBytes(File("p.xml"));
    EXPECT_EQ(file.find("Lightitems"), std::string::npos);
    EXPECT_NE(file.find("</keyitems>\r\n<Mouse_DPI dpi_flag=\"7\""), std::string::npos) << file;
    EXPECT_NE(file.find("<item key_code=\"4\" macro_type=\"5\" macro_value=\"1\" "
                        "macro_value2=\"3\" macro_value3=\"0\" "
                        "macro_desc=\"Macro &quot;1&quot; &amp; &lt;2&gt;\"/>\r\n"),
              std::string::npos)
        << file;
}

// The requested profile throughout: its name, assignments, lights and values, never the
// current profile's.
TEST_F(ProfileFileTest, ExportOfAnotherProfileWritesThatProfile) {
    Customise(3);
    ASSERT_TRUE(m_database.RenameProfile(3, L"Third"));
    ASSERT_EQ(ExportProfileFile(m_database, 3, kMouseWithLights, WideFile("p3.xml")),
              FileResult::kDone);
    const std::string file = ReadBytes(File("p3.xml"));
    for (const char* expected :
         {"<profileinfo name=\"Third\">", "<item key_code=\"1\" macro_type=\"2\"",
          "<Lightitems lightmode=\"2\">",
          "<item light_mode=\"2\" brightness=\"33\" speed=\"44\" direction=\"1\" colorful=\"0\" "
          "colorindex=\"6\" color_value1=\"1\"",
          "<Mouse_DPI dpi_flag=\"7\" dpi_index=\"2\" dpi_count=\"4\">", "<DPI1 value=\"450\"",
          "<report_rate value=\"3\"/>"}) {
        EXPECT_NE(file.find(expected), std::string::npos) << expected;
    }
}

// Our own file imported into another profile gives it every stored value of the first;
// colour 7, which the file does not carry, keeps the target's stored value.
TEST_F(ProfileFileTest, RoundTripKeepsEveryStoredRow) {
    Customise(1);
    ASSERT_EQ(ExportProfileFile(m_database, 1, kMouseWithLights, WideFile("p.xml")),
              FileResult::kDone);
    LightRecord target;
    ASSERT_TRUE(m_database.GetLight(2, 2, target));
    target.colorValues[6] = 777;
    ASSERT_TRUE(m_database.UpdateLight(2, target));
    Assign(2, 7, 8, 1, 0, L"Disabled");
    ASSERT_EQ(m_side.Execute("INSERT INTO t_key_macro_data(profile, fn_layer, key_code, "
                             "macro_type, macro_value) VALUES (2, 1, 2, 1, 3)"),
              kSQLiteOk);

    ASSERT_EQ(ImportProfileFile(m_database, 2, kMouseWithLights, WideFile("p.xml"), &m_jobs),
              FileResult::kDone);
    std::wstring expected = ProfileRows(1);
    // Colours 7 and 8 of mode 2 were 7 and 8 in the source, 777 and magenta in the target.
    const std::wstring sourceLight = L"|2|33|44|1|0|6|1|2|3|4|5|6|7|8|";
    const std::wstring targetLight = L"|2|33|44|1|0|6|1|2|3|4|5|6|777|16711935|";
    ASSERT_NE(expected.find(sourceLight), std::wstring::npos);
    expected.replace(expected.find(sourceLight), sourceLight.size(), targetLight);
    EXPECT_EQ(ProfileRows(2), expected);
    EXPECT_EQ(m_jobs.Snapshot(), std::vector<int>{job::kSendAllSettings});
}

TEST_F(ProfileFileTest, ImportReplacesTheAssignmentsOnEveryLayer) {
    Assign(1, 3, 8, 1, 0, L"Disabled");
    ASSERT_EQ(m_side.Execute("INSERT INTO t_key_macro_data(profile, fn_layer, key_code, "
                             "macro_type, macro_value) VALUES (1, 1, 2, 1, 3)"),
              kSQLiteOk);
    WriteBytes(File("p.xml"),
               "<profile><profileinfo name='x'><keyitems>"
               "<item key_code='5' macro_type='1' macro_value='2' macro_value2='0' "
               "macro_value3='0' macro_desc='Right'/>"
               "<item key_code='6' macro_type='1' macro_value='0' macro_value2='0' "
               "macro_value3='0' macro_desc='Nothing stored'/>"
               "<item key_code='7' macro_type='3' macro_value='1' macro_value2='0' "
               "macro_value3='0' macro_desc='Unknown type'/>"
               "<item key_code='8' macro_type='5' macro_value='1' macro_value2='999' "
               "macro_value3='0' macro_desc='Too many repeats'/>"
               "<item key_code='2' macro_type='10' macro_value='300' macro_value2='0' "
               "macro_value3='0' macro_desc='Id beyond a byte'/>"
               "</keyitems></profileinfo></profile>");
    ASSERT_EQ(ImportProfileFile(m_database, 1, kMouseWithLights, WideFile("p.xml"), &m_jobs),
              FileResult::kDone);
    EXPECT_EQ(SideRows("SELECT fn_layer, key_code, macro_type, macro_value, macro_desc FROM "
                       "t_key_macro_data WHERE profile = 1"),
              L"0|5|1|2|Right\n");
    // A file without keyitems still removes them.
    WriteBytes(File("none.xml"), "<profile><profileinfo/></profile>");
    ASSERT_EQ(ImportProfileFile(m_database, 1, kMouseWithLights, WideFile("none.xml"), &m_jobs),
              FileResult::kDone);
    EXPECT_EQ(SideInt("SELECT count(*) FROM t_key_macro_data WHERE profile = 1"), 0);
}

struct ValueCase {
    const char* label;
    const char* element;  // a line inside profileinfo
    const char* key;
    const wchar_t* stored;  // the value afterwards
};

// Names the case in test listings.
void PrintTo(const ValueCase& param, std::ostream* os) {
    *os << param.label;
}

class ProfileValueTest : public ProfileFileTest, public ::testing::WithParamInterface<ValueCase> {};

// Each value within its range is stored as a number; one out of range or absent keeps the
// stored value.
TEST_P(ProfileValueTest, StoresOnlyValuesWithinRange) {
    const ValueCase& param = GetParam();
    WriteBytes(File("p.xml"),
               std::string("<profile><profileinfo>") + param.element + "</profileinfo></profile>");
    ASSERT_EQ(ImportProfileFile(m_database, 1, kMouseWithLights, WideFile("p.xml"), nullptr),
              FileResult::kDone);
    std::wstring value;
    ASSERT_TRUE(m_database.GetConfigValue(1, Utf8ToWide(param.key), value));
    EXPECT_EQ(value, param.stored);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ProfileValueTest,
    ::testing::Values(
        ValueCase{"CountValid", "<Mouse_DPI dpi_count='3'/>", "dpi_count", L"3"},
        ValueCase{"CountZero", "<Mouse_DPI dpi_count='0'/>", "dpi_count", L"6"},
        ValueCase{"CountSeven", "<Mouse_DPI dpi_count='7'/>", "dpi_count", L"6"},
        ValueCase{"IndexWithinFileCount", "<Mouse_DPI dpi_count='3' dpi_index='2'/>", "dpi_index",
                  L"2"},
        ValueCase{"IndexBeyondFileCount", "<Mouse_DPI dpi_count='3' dpi_index='3'/>", "dpi_index",
                  L"1"},
        ValueCase{"IndexWithinStoredCount", "<Mouse_DPI dpi_index='5'/>", "dpi_index", L"5"},
        ValueCase{"IndexNegative", "<Mouse_DPI dpi_index='-1'/>", "dpi_index", L"1"},
        ValueCase{"FlagHuge", "<Mouse_DPI dpi_flag='4294967301'/>", "dpi_flag", L"5"},
        ValueCase{"DpiValid", "<Mouse_DPI><DPI2 value='12000' color='1'/></Mouse_DPI>",
                  "dpi_group1_value", L"12000"},
        ValueCase{"DpiNotAStep", "<Mouse_DPI><DPI2 value='1234' color='1'/></Mouse_DPI>",
                  "dpi_group1_value", L"1600"},
        ValueCase{"DpiAboveTheModel", "<Mouse_DPI><DPI2 value='12050'/></Mouse_DPI>",
                  "dpi_group1_value", L"1600"},
        ValueCase{"DpiZero", "<Mouse_DPI><DPI2 value='0'/></Mouse_DPI>", "dpi_group1_value",
                  L"1600"},
        ValueCase{"DpiText", "<Mouse_DPI><DPI2 value='fast'/></Mouse_DPI>", "dpi_group1_value",
                  L"1600"},
        ValueCase{"ColourValid", "<Mouse_DPI><DPI5 color=' 16777215'/></Mouse_DPI>",
                  "dpi_group4_rgb", L"16777215"},
        ValueCase{"ColourTooWide", "<Mouse_DPI><DPI5 color='16777216'/></Mouse_DPI>",
                  "dpi_group4_rgb", L"16776960"},
        ValueCase{"ColourAbsent", "<Mouse_DPI><DPI5/></Mouse_DPI>", "dpi_group4_rgb", L"16776960"},
        ValueCase{"RateValid", "<Mouse><report_rate value='0'/></Mouse>", "report_rate", L"0"},
        ValueCase{"RateFour", "<Mouse><report_rate value='4'/></Mouse>", "report_rate", L"2"},
        ValueCase{"ResponseFifty", "<Mouse><button_respondtime value='50'/></Mouse>",
                  "button_respondtime", L"50"},
        ValueCase{"ResponseZero", "<Mouse><button_respondtime value='0'/></Mouse>",
                  "button_respondtime", L"1"},
        ValueCase{"SensorSeven", "<Mouse><sensor_flag value='7'/></Mouse>", "sensor_flag", L"7"},
        ValueCase{"SensorEight", "<Mouse><sensor_flag value='8'/></Mouse>", "sensor_flag", L"53"},
        ValueCase{"HighSpeedFromEsports", "<Mouse><e-sports_flag value='1'/></Mouse>",
                  "highspeed_mode", L"1"},
        ValueCase{"FlagTwo", "<Mouse><scroll_flag value='2'/></Mouse>", "scroll_flag", L"1"},
        ValueCase{"NumberWithTail", "<Mouse><leftbtn_lock value='0x1'/></Mouse>", "leftbtn_lock",
                  L"0"},
        ValueCase{"EmptyValue", "<Mouse><leftbtn_lock value=''/></Mouse>", "leftbtn_lock", L"0"}),
    [](const ::testing::TestParamInfo<ValueCase>& info) { return info.param.label; });

TEST_F(ProfileFileTest, WideDpiRangeOnTheModelThatHasIt) {
    WriteBytes(File("p.xml"),
               "<profile><profileinfo><Mouse_DPI><DPI1 value='26000'/>"
               "<DPI2 value='26050'/></Mouse_DPI></profileinfo></profile>");
    ASSERT_EQ(ImportProfileFile(m_database, 1, {101, true}, WideFile("p.xml"), nullptr),
              FileResult::kDone);
    std::wstring value;
    m_database.GetConfigValue(1, L"dpi_group0_value", value);
    EXPECT_EQ(value, L"26000");
    m_database.GetConfigValue(1, L"dpi_group1_value", value);
    EXPECT_EQ(value, L"1600");
}

TEST_F(ProfileFileTest, LightItemsUpdateOnlyStoredModesAndValidFields) {
    const std::wstring before = ProfileRows(1);
    WriteBytes(File("p.xml"),
               "<profile><profileinfo><Lightitems lightmode='3'>"
               "<item light_mode='7' brightness='1'/>"
               "<item light_mode='0' brightness='0' speed='256' direction='2' colorful='2' "
               "colorindex='8' color_value1='16777216' color_value7='5'/>"
               "<item light_mode='3' brightness='255' speed='1' colorful='1' colorindex='7' "
               "color_value2='9' color_value7='70'/>"
               "</Lightitems></profileinfo></profile>");
    ASSERT_EQ(ImportProfileFile(m_database, 1, kMouseWithLights, WideFile("p.xml"), nullptr),
              FileResult::kDone);
    EXPECT_EQ(SideRows("SELECT mode, brightness, speed, direction, colorful, colorindex, "
                       "color_value1, color_value2, color_value7, color_value8, status FROM "
                       "t_light_data WHERE profile = 1 ORDER BY mode"),
              L"0|127|128|2|1|0|255|33023|5|16711935|0\n"
              L"1|127|128|0|1|0|255|33023|16711680|16711935|0\n"
              L"2|127|128|0|1|0|255|33023|16711680|16711935|0\n"
              L"3|255|1|0|1|7|255|9|70|16711935|1\n");
    EXPECT_EQ(SideInt("SELECT count(*) FROM t_light_data"), 16) << before;

    // Without lighting the file's lights are not read at all.
    WriteBytes(File("q.xml"),
               "<profile><profileinfo><Lightitems lightmode='0'>"
               "<item light_mode='0' brightness='9'/></Lightitems>"
               "</profileinfo></profile>");
    ASSERT_EQ(ImportProfileFile(m_database, 1, {102, false}, WideFile("q.xml"), nullptr),
              FileResult::kDone);
    EXPECT_EQ(m_database.GetActiveLightMode(1), 3);
}

// Searches look only forward: children in another order import only those after the last
// one found.
TEST_F(ProfileFileTest, MouseChildrenInAnotherOrderImportOnlyThoseThatFollow) {
    WriteBytes(File("p.xml"),
               "<profile><profileinfo><Mouse>"
               "<leftbtn_lock value='0'/><report_rate value='0'/>"
               "<sensor_flag value='1'/><button_respondtime value='9'/>"
               "</Mouse></profileinfo></profile>");
    ASSERT_EQ(ImportProfileFile(m_database, 1, kMouseWithLights, WideFile("p.xml"), nullptr),
              FileResult::kDone);
    EXPECT_EQ(SideRows("SELECT key, value FROM t_configdata WHERE profile = 1 AND key IN "
                       "('button_respondtime', 'report_rate', 'sensor_flag', 'leftbtn_lock') "
                       "ORDER BY key"),
              L"button_respondtime|9\nleftbtn_lock|1\nreport_rate|2\nsensor_flag|53\n");
}

TEST_F(ProfileFileTest, JobFiveOnlyAfterAnImportIntoAMouseThatTakesIt) {
    WriteBytes(File("p.xml"), "<profile><profileinfo/></profile>");
    ASSERT_EQ(ImportProfileFile(m_database, 1, {201, true}, WideFile("p.xml"), &m_jobs),
              FileResult::kDone);
    EXPECT_TRUE(m_jobs.Empty());
    ASSERT_EQ(ImportProfileFile(m_database, 1, {200, true}, WideFile("p.xml"), &m_jobs),
              FileResult::kDone);
    EXPECT_EQ(m_jobs.Snapshot(), std::vector<int>{job::kSendAllSettings});
    ASSERT_EQ(ImportProfileFile(m_database, 1, {101, true}, WideFile("missing.xml"), &m_jobs),
              FileResult::kUnreadable);
    EXPECT_EQ(m_jobs.Size(), 1u);
}

TEST_F(ProfileFileTest, UnreadableFilesChangeNothing) {
    Customise(1);
    const std::wstring before = AllRows();
    WriteBytes(File("macro.xml"), "<macro><profileinfo/></macro>");
    WriteBytes(File("unclosed.xml"), "<profile><profileinfo><keyitems/></profileinfo>");
    WriteBytes(File("garbage.xml"), std::string("\xFF\x00\x12<<<>>>&&", 11));
    for (const char* name : {"missing.xml", "macro.xml", "unclosed.xml", "garbage.xml"}) {
        EXPECT_EQ(ImportProfileFile(m_database, 1, kMouseWithLights, WideFile(name), &m_jobs),
                  FileResult::kUnreadable)
            << name;
    }
    EXPECT_EQ(AllRows(), before);
    EXPECT_TRUE(m_jobs.Empty());
}

// A store that refuses one write half-way takes back the deleted assignments and every value
// already written.
TEST_F(ProfileFileTest, ImportThatTheStoreRefusesHalfWayChangesNothing) {
    Customise(1);
    ASSERT_EQ(m_side.Execute("CREATE TRIGGER refuse BEFORE UPDATE ON t_configdata WHEN "
                             "NEW.key = 'report_rate' BEGIN SELECT RAISE(ABORT, 'full'); END"),
              kSQLiteOk);
    const std::wstring before = AllRows();
    ASSERT_EQ(ExportProfileFile(m_database, 2, kMouseWithLights, WideFile("p2.xml")),
              FileResult::kDone);
    EXPECT_EQ(ImportProfileFile(m_database, 1, kMouseWithLights, WideFile("p2.xml"), &m_jobs),
              FileResult::kStoreFailed);
    EXPECT_EQ(AllRows(), before);
    EXPECT_TRUE(m_jobs.Empty());
}

TEST_F(ProfileFileTest, FilesWrittenByPythonImport) {
    ASSERT_EQ(
        ImportProfileFile(m_database, 1, kMouseWithLights, SampleFile("profile-utf8.xml"), nullptr),
        FileResult::kDone);
    const std::string mouseKeys =
        "SELECT key, value FROM t_configdata WHERE profile = %d AND key IN "
        "('button_respondtime', 'report_rate', 'sensor_flag', 'liftoff_height', 'scroll_flag', "
        "'highspeed_mode', 'leftbtn_lock', 'dpi_count', 'dpi_index', 'dpi_group2_value') "
        "ORDER BY key";
    auto keysOf = [&](int profile) {
        std::string sql = mouseKeys;
        sql.replace(sql.find("%d"), 2, std::to_string(profile));
        return SideRows(sql);
    };
    EXPECT_EQ(keysOf(1),
              L"button_respondtime|7\ndpi_count|3\ndpi_group2_value|3000\ndpi_index|2\n"
              L"highspeed_mode|1\nleftbtn_lock|0\nliftoff_height|0\nreport_rate|1\n"
              L"scroll_flag|0\nsensor_flag|3\n");
    EXPECT_EQ(SideRows("SELECT key_code, macro_type, macro_value, macro_value2, macro_desc FROM "
                       "t_key_macro_data WHERE profile = 1"),
              L"3|2|4|6|Shift + Alt + A\n");
    EXPECT_EQ(m_database.GetActiveLightMode(1), 2);

    // Reordered: only the child written last in the file (button_respondtime) follows the
    // first one found.
    ASSERT_EQ(ImportProfileFile(m_database, 2, kMouseWithLights,
                                SampleFile("profile-reordered.xml"), nullptr),
              FileResult::kDone);
    EXPECT_EQ(keysOf(2),
              L"button_respondtime|7\ndpi_count|3\ndpi_group2_value|3000\ndpi_index|2\n"
              L"highspeed_mode|0\nleftbtn_lock|1\nliftoff_height|1\nreport_rate|2\n"
              L"scroll_flag|1\nsensor_flag|53\n");
}

// Our export is well-formed XML to another reader too.
TEST_F(ProfileFileTest, ExportIsReadByXmllint) {
#ifdef _WIN32
    GTEST_SKIP() << "xmllint runs beside the native tests only";
#else
    if (std::system("xmllint --version >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "no xmllint";
    }
    Customise(1);
    ASSERT_EQ(ExportProfileFile(m_database, 1, kMouseWithLights, WideFile("p.xml")),
              FileResult::kDone);
    const std::string command = "xmllint --noout " + File("p.xml").string();
    EXPECT_EQ(std::system(command.c_str()), 0);
#endif
}

// Hostile input: every file of the XML fuzz corpus and its crash inputs, as a macro file and
// as a profile file, imports nothing wrong and crashes nothing.
TEST_F(ProfileFileTest, FuzzCorpusImportsNothingWrong) {
    std::vector<fs::path> inputs;
    for (const fs::path& folder :
         {fs::path(TAVIK_SOURCE_DIR) / "tests" / "data" / "xml",
          fs::path(TAVIK_SOURCE_DIR) / "tests" / "data" / "xml" / "crashes",
          fs::path(TAVIK_SOURCE_DIR) / "fuzz" / "corpus" / "xml_doc"}) {
        for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
            if (entry.is_regular_file()) {
                inputs.push_back(entry.path());
            }
        }
    }
    ASSERT_GT(inputs.size(), 20u);
    const std::wstring before = AllRows();
    for (const fs::path& input : inputs) {
        const std::wstring path = Utf8ToWide(input.u8string());
        const MacroImport macro = ImportMacroFile(m_database, path);
        const FileResult profile =
            ImportProfileFile(m_database, 4, kMouseWithLights, path, nullptr);
        // None of them is one of our files: whatever was stored must be within range.
        if (macro.result == FileResult::kDone) {
            ASSERT_TRUE(m_database.DeleteMacro(macro.macroId)) << input;
        }
        EXPECT_NE(profile, FileResult::kStoreFailed) << input;
    }
    EXPECT_EQ(SideInt("SELECT count(*) FROM t_macrorecord"), 0);
    // Profile 4 only lost assignments it never had; every other table row is as before.
    EXPECT_EQ(AllRows(), before);
}

TEST_F(ProfileFileTest, TenThousandItemsAndHugeNumbers) {
    std::string file = "<profile><profileinfo><keyitems>";
    for (int item = 0; item < 10000; ++item) {
        file += "<item key_code='" + std::to_string(item % 300) +
                "' macro_type='1' macro_value='99999999999999999999' macro_value2='0' "
                "macro_value3='0' macro_desc='x'/>";
    }
    file += "</keyitems><Lightitems lightmode='1'>";
    for (int item = 0; item < 10000; ++item) {
        file += "<item light_mode='1' brightness='-2147483649'/>";
    }
    file += "</Lightitems><Mouse_DPI dpi_count='+99999999999'/></profileinfo></profile>";
    WriteBytes(File("p.xml"), file);
    const std::wstring before = ProfileRows(1);
    ASSERT_EQ(ImportProfileFile(m_database, 1, kMouseWithLights, WideFile("p.xml"), nullptr),
              FileResult::kDone);
    EXPECT_EQ(ProfileRows(1), before);
}

// The profile dialog's buttons: the file dialogs with their labels, job 5 after an import
// into the current profile, a message for every file that failed and none on success.
TEST_F(ProfileFileTest, TransferThroughTheDialogs) {
    test::ScriptedDialogs dialogs;
    bool lighting = true;
    ProfileTransfer transfer(m_context, dialogs, [&] { return lighting; });
    Customise(3);
    // Colours 7 and 8 are not in the file: give them the values profile 2 keeps.
    LightRecord light;
    ASSERT_TRUE(m_database.GetLight(3, 2, light));
    light.colorValues[6] = 16711680;
    light.colorValues[7] = 16711935;
    ASSERT_TRUE(m_database.UpdateLight(2, light));
    dialogs.files.push_back(WideFile("p3.xml"));
    transfer.ExportProfile(3);
    dialogs.files.push_back(WideFile("p3.xml"));
    m_context.SetCurrentProfile(2);
    transfer.ImportProfile();
    EXPECT_EQ(ProfileRows(2), ProfileRows(3));
    EXPECT_EQ(m_jobs.Snapshot(), std::vector<int>{job::kSendAllSettings});
    ASSERT_EQ(dialogs.requests.size(), 2u);
    EXPECT_EQ(dialogs.requests[0].filter.label, L"Macro (*.xml)");
    EXPECT_EQ(dialogs.requests[1].filter.label, L"MouseKey (*.xml)");

    // Cancelled: nothing at all. Failed: told, and nothing changed or sent.
    dialogs.requests.clear();
    m_jobs.Clear();
    transfer.ImportProfile();
    transfer.ExportProfile(1);
    EXPECT_EQ(dialogs.requests.size(), 2u);
    const std::wstring before = AllRows();
    WriteBytes(File("bad.xml"), "<profile><profileinfo>");
    dialogs.files.push_back(WideFile("bad.xml"));
    transfer.ImportProfile();
    dialogs.files.push_back(WideFile("no-folder/p.xml"));
    transfer.ExportProfile(1);
    EXPECT_EQ(AllRows(), before);
    EXPECT_TRUE(m_jobs.Empty());
    std::vector<int> messages;
    for (const auto& request : dialogs.requests) {
        if (request.kind == test::ScriptedDialogs::Kind::kMessage) {
            messages.push_back(request.messageText);
        }
    }
    EXPECT_EQ(messages, (std::vector<int>{kFileNotImportedText, kFileNotSavedText}));

    // Without lighting the export leaves the lights out.
    lighting = false;
    dialogs.files.push_back(WideFile("dark.xml"));
    transfer.ExportProfile(1);
    EXPECT_EQ(ReadBytes(File("dark.xml")).find("Lightitems"), std::string::npos);
}

}  // namespace
}  // namespace tavik
