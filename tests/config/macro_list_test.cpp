#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "app/config/macro_list.h"
#include "config_fixture.h"

namespace tavik {
namespace {

using MacroListTest = test::ConfigTest;

struct NameCase {
    const wchar_t* stored;
    int language;
    const wchar_t* shown;
};

// Names the case in test listings.
void PrintTo(const NameCase& param, std::ostream* os) {
    *os << WideToUtf8(param.stored) << " in " << param.language;
}

class MacroNameTest : public test::ConfigTest, public ::testing::WithParamInterface<NameCase> {};

TEST_P(MacroNameTest, ShownWithTheCurrentMacroWord) {
    m_texts.Load(GetParam().language);
    EXPECT_EQ(DisplayedMacroName(GetParam().stored, m_context), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Names, MacroNameTest,
                         ::testing::Values(NameCase{L"Macro 3", 2052, L"\u5b8f 3"},
                                           NameCase{L"\u5b8f 3", 1033, L"Macro 3"},
                                           NameCase{L"\u5b8f3", 1033, L"Macro3"},
                                           NameCase{L"Macros", 2052, L"\u5b8fs"},
                                           NameCase{L"macro 3", 2052, L"macro 3"},
                                           NameCase{L"My Macro", 2052, L"My Macro"}));

TEST_F(MacroListTest, NewNamesSkipNumbersAlreadyShown) {
    EXPECT_EQ(NewMacroName(m_context, {}), L"Macro 1");
    EXPECT_EQ(NewMacroName(m_context, {L"Macro 1", L"Macro 3"}), L"Macro 2");
    std::vector<std::wstring> all;
    for (int number = 1; number <= 1000; ++number) {
        all.push_back(L"Macro " + std::to_wstring(number));
    }
    EXPECT_EQ(NewMacroName(m_context, all), L"Macro 1000");
}

TEST_F(MacroListTest, CopyStoresHeaderAndEventsUnderTheCopyName) {
    MacroRecord header;
    header.name = L"Combo";
    header.playType = 1;
    header.playTimes = 3;
    header.delayType = 2;
    header.delayTime = 70;
    const int id = m_database.AddMacroWithSettings(header);
    MacroEvent event;
    event.macroId = id;
    event.type = 2;
    event.value = 65;
    event.delayTime = 10;
    event.description = L"\u2193  A";
    m_database.AddMacroEvent(event);
    std::wstring name;
    const int copy = CopyMacro(m_context, id, &name);
    ASSERT_GT(copy, id);
    EXPECT_EQ(name, L"Combo Copy");
    EXPECT_EQ(SideRows("SELECT name, play_type, play_times, delay_type, delay_time FROM "
                       "t_macro_data WHERE macro_id = " +
                       std::to_string(copy)),
              L"Combo Copy|1|3|2|70\n");
    EXPECT_EQ(SideRows("SELECT type, value, desc FROM t_macrorecord WHERE macro_id = " +
                       std::to_string(copy)),
              L"2|65|\u2193  A\n");
    EXPECT_EQ(CopyMacro(m_context, 999), 0);
    EXPECT_TRUE(m_jobs.Empty()) << "a copy reaches the mouse with the next send";
}

TEST_F(MacroListTest, RenameFollowsIntoTheCurrentProfilesButtonsAndDeleteSends) {
    const int id = m_database.AddMacro(L"Macro 1");
    for (int profile : {1, 3}) {
        KeyAssignment assignment;
        assignment.profile = profile;
        assignment.keyCode = 4;
        assignment.functionType = 5;
        assignment.value1 = id;
        assignment.value2 = 1;
        assignment.description = L"Macro 1";
        ASSERT_NE(m_database.SaveKeyAssignment(assignment), 0);
    }
    EXPECT_TRUE(RenameMacro(m_context, id, L"Fire"));
    EXPECT_EQ(SideRows("SELECT profile, macro_desc FROM t_key_macro_data ORDER BY profile"),
              L"1|Fire\n3|Macro 1\n");
    EXPECT_TRUE(DeleteMacro(m_context, id));
    EXPECT_EQ(SideInt("SELECT count(*) FROM t_macro_data"), 0);
    EXPECT_EQ(m_jobs.Snapshot(), std::vector<int>{job::kSendMacros});
    EXPECT_EQ(SideInt("SELECT count(*) FROM t_key_macro_data"), 2) << "assignments stay";
}

}  // namespace
}  // namespace tavik
