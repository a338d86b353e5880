#include "app/config/button_page.h"

#include <gtest/gtest.h>

#include <fstream>

#include "app/common/text_encoding.h"
#include "app/config/button_tables.h"
#include "app/config/performance_page.h"
#include "app/device/key_macro_image.h"
#include "tests/config/page_fixture.h"

namespace tavik::test {
namespace {

namespace id = button_control;

class RecordingButtonView : public ButtonView {
public:
    explicit RecordingButtonView(ControlLog& log)
        : mouse(id::kMouseButtons, log),
          types(id::kFunctionTypes, log),
          values(id::kFunctionValues, log),
          combos(log),
          texts(log),
          buttons(log),
          m_log(log) {
        mouse.keyCodes = {0, 2, 1, 3, 4, 7};
    }
    MouseButtonControl& MouseButtons() override { return mouse; }
    FunctionListControl& FunctionTypes() override { return types; }
    FunctionListControl& FunctionValues() override { return values; }
    ComboControl& Combo(int controlId) override { return combos[controlId]; }
    TextControl& Text(int controlId) override { return texts[controlId]; }
    ButtonControl& Button(int controlId) override { return buttons[controlId]; }
    void SelectTab(int index) override { m_log.Add(0, "SelectTab(" + std::to_string(index) + ")"); }
    void StartKeyCapture() override { m_log.Add(0, "StartKeyCapture()"); }
    void StopKeyCapture() override { m_log.Add(0, "StopKeyCapture()"); }

    FakeMouseButtons mouse;
    FakeFunctionList types;
    FakeFunctionList values;
    ControlSet<FakeCombo> combos;
    ControlSet<FakeText> texts;
    ControlSet<FakeButton> buttons;

private:
    ControlLog& m_log;
};

class ButtonPageTest : public PageTest {
protected:
    void SetUp() override {
        PageTest::SetUp();
        m_page.SetButtonDefaults({{0, L"1", 1, 1, L"150"},
                                  {1, L"2", 1, 3, L"151"},
                                  {2, L"3", 1, 2, L"152"},
                                  {3, L"4", 1, 5, L"153"},
                                  {4, L"5", 1, 6, L"154"},
                                  {7, L"6", 1, 11, L"210"}});
        m_page.FillControls();
        m_page.RefreshKeyPage();
        m_log.Clear();
        ClearJobs();
    }

    // The user picks a function type in the type list.
    void ChooseType(int type) {
        m_view.types.SetCurData(type);
        m_page.OnControlNotify(id::kFunctionTypes, notify_code::kClicked);
    }
    void ChooseButton(int index) {
        m_view.mouse.selected = index;
        m_page.OnControlNotify(id::kMouseButtons, notify_code::kClicked, index);
    }
    void Apply() { m_page.OnControlNotify(id::kApply, notify_code::kClicked); }

    // The stored row of the selected button as "type|v1|v2|v3|desc", empty without one.
    std::wstring Row(int keyCode) {
        return SideRows(
            "SELECT macro_type, macro_value, macro_value2, macro_value3, macro_desc "
            "FROM t_key_macro_data WHERE profile = 1 AND fn_layer = 0 AND key_code = " +
            std::to_string(keyCode));
    }

    RecordingButtonView m_view{m_log};
    ButtonPage m_page{m_context, m_view, m_dialogs};
};

struct KeyboardCase {
    const char* name;
    std::vector<int> modifiers;  // toggle ids checked
    int virtualKey;
    const wchar_t* keyName;
    const wchar_t* row;  // empty: nothing stored
};

TEST_F(ButtonPageTest, KeyboardAssignmentStoresUsageModifiersAndDescription) {
    const KeyboardCase cases[] = {
        {"Shift Alt A", {id::kShift, id::kAlt}, 'A', L"A", L"2|4|6|0|Shift + Alt + A\n"},
        {"Ctrl alone", {id::kCtrl}, 0, L"", L"2|0|1|0|Ctrl\n"},
        {"F5 alone", {}, 0x74, L"F5", L"2|62|0|0|F5\n"},
        {"all four",
         {id::kCtrl, id::kWin, id::kAlt, id::kShift},
         'Z',
         L"Z",
         L"2|29|15|0|Shift + Ctrl + Win + Alt + Z\n"},
        {"nothing at all", {}, 0, L"", L""},
    };
    for (const KeyboardCase& test : cases) {
        SCOPED_TRACE(test.name);
        ChooseButton(3);
        ChooseType(2);
        ASSERT_EQ(m_view.combos[id::kFirstList].GetCurData(), kKeyFieldCategory);
        EXPECT_TRUE(m_view.texts[id::kKeyField].visibleState);
        m_page.OnControlNotify(id::kKeyField, notify_code::kEditOpened);
        m_page.OnCapturedKey(160, L"Shift");  // modifiers come from the toggles only
        if (test.virtualKey != 0) {
            m_page.OnCapturedKey(test.virtualKey, test.keyName);
        }
        m_page.OnControlNotify(id::kKeyField, notify_code::kEditClosed);
        m_page.OnCapturedKey('Q', L"Q");  // after closing, keys are not captured
        for (int toggle : {id::kCtrl, id::kWin, id::kAlt, id::kShift}) {
            m_view.buttons[toggle].checkedState =
                std::find(test.modifiers.begin(), test.modifiers.end(), toggle) !=
                test.modifiers.end();
        }
        ClearJobs();
        Apply();
        EXPECT_EQ(Row(3), test.row);
        EXPECT_EQ(Jobs(), std::wstring(test.row).empty() ? std::vector<int>{}
                                                         : std::vector<int>{job::kSendKeyTable});
        m_database.SaveKeyAssignment({0, 1, 0, 3, 0, L"", 0, 0, 0, 0, L""});
    }
    EXPECT_EQ(m_log.Matching("0.StartKeyCapture").size(), 5u);
}

TEST_F(ButtonPageTest, StoredKeyboardAssignmentIsShownAgain) {
    m_database.SaveKeyAssignment({0, 1, 0, 4, 0, L"", 2, 0x28, 1 | 8, 0, L"Ctrl + Win + Enter"});
    ChooseButton(4);
    EXPECT_EQ(m_view.types.GetCurData(), 2);
    EXPECT_TRUE(m_view.buttons[id::kCtrl].checkedState);
    EXPECT_TRUE(m_view.buttons[id::kWin].checkedState);
    EXPECT_FALSE(m_view.buttons[id::kShift].checkedState);
    EXPECT_EQ(m_view.texts[id::kKeyField].textState, L"Enter");
    EXPECT_EQ(m_view.mouse.descriptions[4], L"Ctrl + Win + Enter");
    // Applying again without touching anything keeps the same key.
    Apply();
    EXPECT_EQ(Row(4), L"2|40|9|0|Ctrl + Win + Enter\n");
}

struct PlayModeCase {
    int radio;
    const wchar_t* repeat;
    const wchar_t* row;
};

TEST_F(ButtonPageTest, MacroPlayModesAndRepeatCount) {
    const int macro = m_database.AddMacro(L"Macro 7");
    ASSERT_GT(macro, 0);
    const std::wstring m = std::to_wstring(macro);
    const PlayModeCase cases[] = {
        {id::kPlayMode1, L"5", L"|1|1|T351 7\n"},  {id::kPlayMode2, L"5", L"|1|2|T351 7\n"},
        {id::kPlayMode3, L"5", L"|1|3|T351 7\n"},  {id::kPlayRepeat, L"5", L"|5|0|T351 7\n"},
        {id::kPlayRepeat, L"", L"|10|0|T351 7\n"}, {id::kPlayRepeat, L"300", L"|255|0|T351 7\n"},
    };
    for (const PlayModeCase& test : cases) {
        SCOPED_TRACE(Narrow(test.row));
        ChooseButton(2);
        ChooseType(5);
        ASSERT_EQ(m_view.combos[id::kFirstList].GetCurData(), macro);
        for (int radio : {id::kPlayMode1, id::kPlayMode2, id::kPlayMode3, id::kPlayRepeat}) {
            m_view.buttons[radio].checkedState = radio == test.radio;
        }
        m_view.texts[id::kRepeatCount].textState = test.repeat;
        Apply();
        EXPECT_EQ(Row(1), L"5|" + m + test.row);
        // Shown again: the same radio is checked.
        for (int radio : {id::kPlayMode1, id::kPlayMode2, id::kPlayMode3, id::kPlayRepeat}) {
            m_view.buttons[radio].checkedState = false;
        }
        ChooseButton(2);
        EXPECT_TRUE(m_view.buttons[test.radio].checkedState);
    }
}

TEST_F(ButtonPageTest, TheFirstButtonCannotBeAssigned) {
    ChooseButton(0);
    ASSERT_EQ(m_dialogs.requests.size(), 1u);
    EXPECT_EQ(m_dialogs.requests[0].kind, ScriptedDialogs::Kind::kMessage);
    EXPECT_EQ(m_dialogs.requests[0].titleText, 750);
    EXPECT_EQ(m_dialogs.requests[0].messageText, 751);
    EXPECT_EQ(m_view.mouse.selected, 1);
    EXPECT_EQ(m_page.SelectedKeyCode(), 2);
    ChooseButton(6);  // past the last button of the picture
    EXPECT_EQ(m_page.SelectedKeyCode(), 2);
    EXPECT_EQ(m_dialogs.requests.size(), 1u);
}

TEST_F(ButtonPageTest, ResetDeletesTheRowAndShowsTheDefault) {
    m_database.SaveKeyAssignment({0, 1, 0, 3, 0, L"", 8, 1, 0, 0, L"T139"});
    ChooseButton(3);
    m_page.OnControlNotify(id::kReset, notify_code::kClicked);
    EXPECT_EQ(Row(3), L"");
    EXPECT_EQ(m_view.mouse.descriptions[3], L"T153");
    EXPECT_TRUE(Jobs().empty()) << "the default goes with the next key table";
    ChooseButton(3);
    EXPECT_EQ(m_view.types.GetCurData(), 1);
    EXPECT_EQ(m_view.values.GetCurData(), 5);
}

TEST_F(ButtonPageTest, DefaultTypeAsksAndStoresTheFactoryFunction) {
    ChooseButton(4);
    ChooseType(0);
    m_dialogs.answers = {kAnswerDeclined, kAnswerAccepted};
    Apply();
    EXPECT_EQ(Row(4), L"");
    EXPECT_TRUE(Jobs().empty());
    Apply();
    EXPECT_EQ(m_dialogs.requests[0].titleText, 753);
    EXPECT_EQ(m_dialogs.requests[0].messageText, 752);
    EXPECT_EQ(Row(4), L"1|6|0|0|T154\n");
    EXPECT_EQ(Jobs(), std::vector<int>{job::kSendKeyTable});
}

struct ListedValueCase {
    int type;
    int item;
    const wchar_t* row;
};

TEST_F(ButtonPageTest, ValueListsStoreTheItemValueAndText) {
    const ListedValueCase cases[] = {
        {1, 0, L"1|1|0|0|T150\n"}, {1, 2, L"1|3|0|0|T151\n"},  {1, 10, L"1|11|0|0|T210\n"},
        {4, 0, L"4|6|0|0|T165\n"}, {4, 9, L"4|13|0|0|T132\n"}, {8, -1, L"8|1|0|0|T139\n"},
    };
    for (const ListedValueCase& test : cases) {
        SCOPED_TRACE(Narrow(test.row));
        ChooseButton(5);
        ChooseType(test.type);
        if (test.item >= 0) {
            m_view.values.selected = test.item;
        }
        Apply();
        EXPECT_EQ(Row(7), test.row);
    }
}

TEST_F(ButtonPageTest, KeyboardCategoriesAndShortcutsComeFromTheirTables) {
    ChooseButton(1);
    ChooseType(2);
    m_view.combos[id::kFirstList].SelectData(4);
    m_page.OnControlNotify(id::kFirstList, notify_code::kClicked);
    ComboControl& second = m_view.combos[id::kSecondList];
    ASSERT_EQ(second.GetItemCount(), 17);
    EXPECT_EQ(second.GetItemText(13), L"Num Enter");
    EXPECT_EQ(second.GetCurSel(), -1) << "no key is chosen for the user";
    EXPECT_FALSE(m_view.texts[id::kKeyField].visibleState);
    Apply();
    EXPECT_EQ(Row(2), L"") << "nothing chosen stores nothing";
    second.SetCurSel(13);
    Apply();
    EXPECT_EQ(Row(2), L"2|88|0|0|Num Enter\n");

    ChooseType(7);
    m_view.combos[id::kFirstList].SelectData(3);
    m_page.OnControlNotify(id::kFirstList, notify_code::kClicked);
    EXPECT_EQ(second.GetItemCount(), 6);
    second.SetCurSel(5);
    Apply();
    EXPECT_EQ(Row(2), L"7|23|0|0|T792\n");
    ChooseButton(1);
    EXPECT_EQ(m_view.combos[id::kFirstList].GetCurData(), 3);
    EXPECT_EQ(second.GetCurData(), 23);
}

TEST_F(ButtonPageTest, ProgramLaunchKeepsThePathInTheExtraData) {
    const std::filesystem::path program = m_temp.Path() / "Recorder.exe";
    std::ofstream(program) << "MZ";
    ChooseButton(2);
    ChooseType(9);
    m_dialogs.files = {std::wstring(L"/nonexistent/Other.exe"), Utf8ToWide(program.u8string())};
    m_page.OnControlNotify(id::kChooseProgram, notify_code::kClicked);
    EXPECT_EQ(m_view.texts[id::kPathEdit].textState, L"") << "a missing file is not taken";
    m_page.OnControlNotify(id::kChooseProgram, notify_code::kClicked);
    EXPECT_EQ(m_dialogs.requests.back().filter.label, L"Application (*.exe)");
    EXPECT_EQ(m_dialogs.requests.back().filter.pattern, L"*.exe");
    EXPECT_EQ(m_view.texts[id::kPathEdit].textState, L"Recorder.exe");
    Apply();
    const int extra = SideInt("SELECT macro_value FROM t_key_otherdata WHERE type = 9");
    ASSERT_GT(extra, 0);
    EXPECT_EQ(Row(1), L"9|" + std::to_wstring(extra) + L"|0|0|Recorder.exe\n");
    EXPECT_EQ(SideRows("SELECT macro_desc, param FROM t_key_otherdata"),
              L"Recorder.exe|" + Utf8ToWide(program.u8string()) + L"\n");
    ChooseButton(3);
    ChooseButton(2);
    EXPECT_EQ(m_view.texts[id::kPathEdit].textState, L"Recorder.exe");
    EXPECT_EQ(m_page.ProgramPath(), Utf8ToWide(program.u8string()));
}

TEST_F(ButtonPageTest, WebAddressAndEmptyEdits) {
    ChooseButton(2);
    ChooseType(10);
    Apply();
    EXPECT_EQ(Row(1), L"") << "an empty address stores nothing";
    m_view.texts[id::kPathEdit].textState = L"example.org/a?b=1&c=2";
    Apply();
    const int extra = SideInt("SELECT macro_value FROM t_key_otherdata WHERE type = 10");
    EXPECT_EQ(Row(1), L"10|" + std::to_wstring(extra) + L"|0|0|example.org/a?b=1&c=2\n");
    EXPECT_EQ(SideRows("SELECT macro_desc, param FROM t_key_otherdata"),
              L"example.org/a?b=1&c=2|\n");
}

TEST_F(ButtonPageTest, TextSnippetsAreListedWithTheirShownNames) {
    const int blessing = m_database.AddText({0, L"Example 1 - Blessing", L"Happy days", 0, 0});
    const int own = m_database.AddText({0, L"Signature", L"Regards", 0, 0});
    ChooseButton(2);
    ChooseType(11);
    ComboControl& list = m_view.combos[id::kFirstList];
    ASSERT_EQ(list.GetItemCount(), 2);
    EXPECT_EQ(list.GetItemText(0), L"T460");
    EXPECT_EQ(list.GetItemText(1), L"Signature");
    list.SelectData(own);
    Apply();
    EXPECT_EQ(Row(1), L"11|" + std::to_wstring(own) + L"|0|0|Signature\n");
    EXPECT_NE(blessing, own);
}

TEST_F(ButtonPageTest, RefreshShowsDefaultsThenStoredDescriptions) {
    m_database.SaveKeyAssignment({0, 1, 0, 7, 0, L"", 8, 1, 0, 0, L"off"});
    m_log.Clear();
    m_page.RefreshKeyPage();
    const std::vector<std::string> descriptions = m_log.Matching("82.SetItemKeyDesc");
    ASSERT_GE(descriptions.size(), 7u);
    EXPECT_EQ(descriptions[0], "82.SetItemKeyDesc(0,T150)");
    EXPECT_EQ(descriptions[5], "82.SetItemKeyDesc(7,T210)");
    EXPECT_EQ(descriptions[6], "82.SetItemKeyDesc(7,off)");
    EXPECT_EQ(m_view.mouse.selected, 1);
    EXPECT_EQ(m_page.SelectedKeyCode(), 1);
    EXPECT_EQ(m_view.values.GetCurData(), 3) << "key code 1 without a row shows its default";
}

TEST_F(ButtonPageTest, AppliedKeyReachesTheMousesKeyTable) {
    ChooseButton(3);
    ChooseType(2);
    m_page.OnControlNotify(id::kKeyField, notify_code::kEditOpened);
    m_page.OnCapturedKey('B', L"B");
    m_view.buttons[id::kCtrl].checkedState = true;
    Apply();
    RunQueue();
    KeyAssignment stored;
    ASSERT_TRUE(m_database.GetKeyAssignment(1, 0, 3, stored));
    KeySlot slot = DefaultKeyTable()[3];
    ASSERT_TRUE(EncodeKeySlot(stored, {}, slot));
    const auto table = m_simulator->Mouse().keyTable;
    EXPECT_EQ((KeySlot{table[12], table[13], table[14], table[15]}), slot);
}

TEST_F(ButtonPageTest, LinkOpensTheMacroTab) {
    m_page.OnControlNotify(id::kMacroPageLink, notify_code::kClicked);
    EXPECT_EQ(m_log.Matching("0.SelectTab"), std::vector<std::string>{"0.SelectTab(4)"});
}

TEST(ButtonTablesTest, UsageNamesAndReverseKeys) {
    const std::pair<int, const wchar_t*> names[] = {
        {4, L"A"},    {29, L"Z"},        {30, L"1"},      {39, L"0"},     {88, L"Enter"},
        {53, L"`"},   {69, L"F12"},      {84, L"//"},     {97, L"Num 9"}, {99, L"Num Del"},
        {175, L"Fn"}, {227, L"Windows"}, {229, L"Shift"}, {50, L""},      {0, L""},
    };
    for (const auto& [usage, name] : names) {
        EXPECT_EQ(UsageKeyName(usage), name) << usage;
    }
    for (int usage : {4, 29, 30, 39, 40, 41, 58, 69, 79, 82, 98, 224, 231}) {
        const int virtualKey = UsageToVirtualKey(usage);
        ASSERT_NE(virtualKey, 0) << usage;
        EXPECT_EQ(VirtualKeyToUsage(virtualKey), usage);
    }
    EXPECT_EQ(UsageToVirtualKey(0), 0);
    EXPECT_EQ(UsageToVirtualKey(300), 0);
}

}  // namespace
}  // namespace tavik::test
