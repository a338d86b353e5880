#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "app/config/macro_page.h"
#include "app/device/clock.h"
#include "config_fixture.h"
#include "fake_lists.h"
#include "tests/config/recording_views.h"
#include "tests/config/scripted_dialogs.h"

namespace tavik {
namespace {

namespace id = macro_control;

class FakeMacroView : public MacroView {
public:
    NameListControl& MacroList() override { return macros; }
    RecordListControl& EventList() override { return events; }
    ButtonControl& Button(int controlId) override { return buttons[controlId]; }
    TextControl& Text(int controlId) override { return texts[controlId]; }
    ComboControl& Combo(int controlId) override { return combos[controlId]; }
    void SetEventCounter(const std::wstring& text) override { counter = text; }
    void SetRecordButton(int textNumber, const std::wstring& iconFile) override {
        recordText = textNumber;
        recordIcon = iconFile;
    }
    void SetFixedDelayTip(const std::wstring& text) override { tip = text; }
    void EnablePageControls(bool enabled) override { pageEnabled = enabled; }
    bool CursorOnRecordButton() override { return cursorOnRecord; }
    void ShowMacroMenu() override { ++menus; }
    void StartCapture(int mode) override { captureMode = mode; }
    void StopCapture() override { captureMode = 0; }

    test::ControlLog log;
    test::ControlSet<test::FakeButton> buttons{log};
    test::ControlSet<test::FakeText> texts{log};
    test::ControlSet<test::FakeCombo> combos{log};
    test::FakeNameList macros;
    test::FakeRecordList events;
    std::wstring counter;
    int recordText = 0;
    std::wstring recordIcon;
    std::wstring tip;
    bool pageEnabled = true;
    bool cursorOnRecord = false;
    int menus = 0;
    int captureMode = 0;
};

CapturedInput Key(int code, bool down, const wchar_t* name) {
    CapturedInput input;
    input.kind = CapturedInput::kKeyboard;
    input.action = down ? CapturedInput::kDown : CapturedInput::kUp;
    input.code = code;
    input.name = name;
    return input;
}

CapturedInput Mouse(int action, int code, const wchar_t* name) {
    CapturedInput input;
    input.kind = CapturedInput::kMouse;
    input.action = action;
    input.code = code;
    input.name = name;
    return input;
}

class MacroPageTest : public test::ConfigTest {
protected:
    void SetUp() override {
        ConfigTest::SetUp();
        // The page as laid out: measured delays, insert a key before the selection.
        m_view.buttons[id::kMeasuredDelay].checkedState = true;
        m_view.buttons[id::kInsertKey].checkedState = true;
        m_view.texts[id::kFixedDelayField].textState = L"10";
        for (auto [text, data] :
             {std::pair{L"LB", 1}, {L"RB", 2}, {L"MB", 4}, {L"Fwd", 16}, {L"Back", 8}}) {
            m_view.combos[id::kMouseButtonList].AddItem(text, data);
        }
        m_view.combos[id::kInsertPosition].AddItem(L"before", 0);
        m_view.combos[id::kInsertPosition].AddItem(L"after", 1);
        m_view.combos[id::kInsertPosition].SetCurSel(0);
    }

    // A new, selected macro.
    int NewMacro() {
        m_page.OnNewMacro();
        return m_view.macros.GetItemData(m_view.macros.GetCurSel());
    }

    void Capture(const CapturedInput& input) {
        m_page.OnCapturedInput(capture_mode::kMacroRecording, input);
    }

    std::wstring StoredEvents(int macroId) {
        return SideRows(
            "SELECT record_index, type, value, delay_time, desc FROM t_macrorecord "
            "WHERE macro_id = " +
            std::to_string(macroId) + " ORDER BY record_index");
    }

    FakeMacroView m_view;
    test::ScriptedDialogs m_dialogs;
    VirtualClock m_clock;
    int m_choiceRefreshes = 0;
    int m_textRefreshes = 0;
    MacroPage m_page{m_context,
                     m_view,
                     m_dialogs,
                     m_clock,
                     [this] { ++m_choiceRefreshes; },
                     [this] { ++m_textRefreshes; }};
};

TEST_F(MacroPageTest, RefreshListsMacrosWithTheShownNamesAndTheTextPage) {
    const int first = m_database.AddMacro(L"\u5b8f 1");
    const int second = m_database.AddMacro(L"Jump");
    MacroEvent event;
    event.macroId = first;
    event.type = 2;
    event.value = 65;
    event.delayTime = 10;
    event.description = L"\u2193  A";
    m_database.AddMacroEvent(event);
    m_page.RefreshMacroPage();
    EXPECT_EQ(m_view.macros.Texts(), (std::vector<std::wstring>{L"Macro 1", L"Jump"}));
    EXPECT_EQ(m_view.macros.selected, 0);
    EXPECT_EQ(m_view.events.rows, (std::vector<RecordRow>{{L"\u2193  A", 2, 65, 10}}));
    EXPECT_EQ(m_view.counter, L"1/200");
    EXPECT_EQ(m_textRefreshes, 1);
    // Without any macro the text page is refreshed all the same.
    m_database.DeleteMacro(first);
    m_database.DeleteMacro(second);
    m_page.RefreshMacroPage();
    EXPECT_EQ(m_view.macros.GetItemCount(), 0);
    EXPECT_EQ(m_view.counter, L"0/200");
    EXPECT_EQ(m_textRefreshes, 2);
}

TEST_F(MacroPageTest, NewMacrosAreNumberedPastTheShownNames) {
    NewMacro();
    NewMacro();
    m_view.macros.ModifyItemString(0, L"Renamed");
    NewMacro();
    EXPECT_EQ(m_view.macros.Texts(),
              (std::vector<std::wstring>{L"Renamed", L"Macro 2", L"Macro 1"}));
    EXPECT_EQ(SideRows("SELECT name, play_type, play_times, delay_type, delay_time FROM "
                       "t_macro_data ORDER BY macro_id"),
              L"Macro 1|0|1|1|0\nMacro 2|0|1|1|0\nMacro 1|0|1|1|0\n");
    EXPECT_EQ(m_choiceRefreshes, 3);
    EXPECT_TRUE(m_jobs.Empty());
}

// Mode 1 measures the time between events, at most 31 seconds; the last keeps 10.
TEST_F(MacroPageTest, RecordingMeasuresDelaysUpToTheCap) {
    const int macro = NewMacro();
    m_page.OnRecord();
    EXPECT_TRUE(m_page.IsRecording());
    EXPECT_EQ(m_view.captureMode, capture_mode::kMacroRecording);
    EXPECT_EQ(m_view.recordText, kStopRecordText);
    EXPECT_FALSE(m_view.pageEnabled);
    Capture(Key(65, true, L"A"));
    m_clock.AdvanceMs(40000);
    Capture(Key(65, false, L"A"));
    m_clock.AdvanceMs(250);
    Capture(Mouse(CapturedInput::kWheelUp, 1, L"Scroll Up"));
    m_page.OnRecord();
    EXPECT_FALSE(m_page.IsRecording());
    EXPECT_EQ(m_view.captureMode, 0);
    EXPECT_EQ(m_view.recordText, kRecordText);
    EXPECT_TRUE(m_view.pageEnabled);
    EXPECT_EQ(StoredEvents(macro),
              L"0|2|65|31000|\u2193  A\n1|3|65|250|\u2191  A\n2|6|1|10|Scroll Up\n");
    EXPECT_EQ(m_jobs.Snapshot(), std::vector<int>{job::kSendMacros});
}

TEST_F(MacroPageTest, RecordingWithoutAndWithFixedDelay) {
    const int macro = NewMacro();
    m_page.OnDelayMode(id::kNoDelay);
    m_page.OnRecord();
    Capture(Mouse(CapturedInput::kDown, 2, L"RB"));
    m_clock.AdvanceMs(500);
    Capture(Mouse(CapturedInput::kUp, 2, L"RB"));
    m_page.OnRecord();
    EXPECT_EQ(StoredEvents(macro), L"0|4|2|10|\u2193  RB\n1|5|2|10|\u2191  RB\n");
    EXPECT_EQ(SideRows("SELECT delay_type, delay_time FROM t_macro_data"), L"0|10\n");

    // Mode 2 on a list that is empty: the first event has no predecessor to change.
    m_page.OnDeleteAllEvents();
    m_page.OnDelayMode(id::kFixedDelay);
    m_view.texts[id::kFixedDelayField].textState = L"300";
    m_page.OnRecord();
    Capture(Key(66, true, L"B"));
    Capture(Key(66, false, L"B"));
    Capture(Mouse(CapturedInput::kWheelDown, 255, L"Scroll Down"));
    m_page.OnRecord();
    EXPECT_EQ(StoredEvents(macro),
              L"0|2|66|300|\u2193  B\n1|3|66|300|\u2191  B\n2|7|255|10|Scroll Down\n");
    EXPECT_EQ(SideRows("SELECT delay_type, delay_time FROM t_macro_data"), L"2|300\n");
}

TEST_F(MacroPageTest, RecordingIgnoresTheStopClickRepeatsAndNamelessRecords) {
    const int macro = NewMacro();
    m_page.OnRecord();
    Capture(Key(65, true, L"A"));
    CapturedInput repeat = Key(65, true, L"A");
    repeat.kind = CapturedInput::kIgnore;
    Capture(repeat);
    Capture(Mouse(CapturedInput::kDown, 0, L""));
    CapturedInput other;
    other.kind = CapturedInput::kOtherDevice;
    Capture(other);
    m_view.cursorOnRecord = true;
    Capture(Mouse(CapturedInput::kDown, 1, L"LB"));
    m_page.OnRecord();
    EXPECT_EQ(StoredEvents(macro), L"0|2|65|10|\u2193  A\n");
}

// The 200th event ends the recording; another start shows the limit.
TEST_F(MacroPageTest, TwoHundredEventsEndTheRecording) {
    const int macro = NewMacro();
    m_page.OnDelayMode(id::kNoDelay);
    m_page.OnRecord();
    for (int event = 0; event < 205; ++event) {
        Capture(Key(65 + event % 20, event % 2 == 0, L"K"));
    }
    EXPECT_FALSE(m_page.IsRecording());
    EXPECT_EQ(m_view.counter, L"200/200");
    EXPECT_EQ(
        SideInt("SELECT count(*) FROM t_macrorecord WHERE macro_id = " + std::to_string(macro)),
        200);
    m_page.OnRecord();
    EXPECT_FALSE(m_page.IsRecording());
    ASSERT_EQ(m_dialogs.requests.size(), 1u);
    EXPECT_EQ(m_dialogs.requests[0].titleText, kMacroRecordingTitleText);
    EXPECT_EQ(m_dialogs.requests[0].messageText, kEventLimitText);
}

TEST_F(MacroPageTest, MeasuredRecordingStopsAtTheLimitWithoutAdding) {
    NewMacro();
    for (int event = 0; event < 199; ++event) {
        m_view.events.AddString({L"x", 2, 65, 10});
    }
    m_page.OnRecord();
    Capture(Key(66, true, L"B"));  // the 200th
    EXPECT_FALSE(m_page.IsRecording());
    EXPECT_EQ(m_view.events.GetItemCount(), 200);
}

TEST_F(MacroPageTest, RecordingNeedsASelectedMacro) {
    m_page.OnRecord();
    EXPECT_FALSE(m_page.IsRecording());
    ASSERT_EQ(m_dialogs.requests.size(), 1u);
    EXPECT_EQ(m_dialogs.requests[0].titleText, kRecordText);
    EXPECT_EQ(m_dialogs.requests[0].messageText, kSelectMacroFirstText);
}

struct InsertCase {
    const char* label;
    int radio;
    int position;  // 0 before, 1 after
    int selected;  // -1 none
    std::vector<RecordRow> rows;
};

// Names the case in test listings.
void PrintTo(const InsertCase& param, std::ostream* os) {
    *os << param.label;
}

class InsertTest : public MacroPageTest, public ::testing::WithParamInterface<InsertCase> {};

TEST_P(InsertTest, PairGoesWhereThePositionSays) {
    const InsertCase& param = GetParam();
    NewMacro();
    m_view.events.AddString({L"first", 2, 70, 10});
    m_view.events.AddString({L"second", 3, 70, 10});
    m_page.OnInsertKind(param.radio);
    if (param.radio == id::kInsertKey) {
        m_page.OnKeyFieldOpened();
        EXPECT_EQ(m_view.captureMode, capture_mode::kMacroKeyField);
        m_page.OnCapturedInput(capture_mode::kMacroKeyField, Key(162, true, L"Ctrl"));
        m_page.OnKeyFieldClosed();
        EXPECT_EQ(m_view.texts[id::kKeyField].textState, L"Ctrl");
    } else {
        m_view.combos[id::kMouseButtonList].SetCurSel(3);  // Forward, data 16
    }
    m_view.combos[id::kInsertPosition].SetCurSel(param.position);
    m_view.events.selected = param.selected;
    m_page.OnInsert();
    EXPECT_EQ(m_view.events.rows, param.rows);
    EXPECT_EQ(SideInt("SELECT count(*) FROM t_macrorecord"), 4);
}

const RecordRow kFirst{L"first", 2, 70, 10};
const RecordRow kSecond{L"second", 3, 70, 10};
const RecordRow kCtrlDown{L"\u2193  Ctrl", 2, 162, 10};
const RecordRow kCtrlUp{L"\u2191  Ctrl", 3, 162, 10};
const RecordRow kForwardDown{L"\u2193  Forward", 4, 16, 10};
const RecordRow kForwardUp{L"\u2191  Forward", 5, 16, 10};

INSTANTIATE_TEST_SUITE_P(
    Positions, InsertTest,
    ::testing::Values(
        InsertCase{"KeyAtTheEnd", id::kInsertKey, 0, -1, {kFirst, kSecond, kCtrlDown, kCtrlUp}},
        InsertCase{"KeyBefore", id::kInsertKey, 0, 1, {kFirst, kCtrlDown, kCtrlUp, kSecond}},
        InsertCase{"KeyAfter", id::kInsertKey, 1, 0, {kFirst, kCtrlDown, kCtrlUp, kSecond}},
        InsertCase{"KeyAfterTheLast", id::kInsertKey, 1, 1, {kFirst, kSecond, kCtrlDown, kCtrlUp}},
        InsertCase{"ButtonBeforeTheFirst",
                   id::kInsertMouseButton,
                   0,
                   0,
                   {kForwardDown, kForwardUp, kFirst, kSecond}}),
    [](const ::testing::TestParamInfo<InsertCase>& info) { return info.param.label; });

TEST_F(MacroPageTest, InsertRefusals) {
    NewMacro();
    m_page.OnInsert();  // no events yet
    for (int event = 0; event < 198; ++event) {
        m_view.events.AddString({L"x", 2, 65, 10});
    }
    m_page.OnInsert();  // no captured key
    m_view.events.AddString({L"x", 2, 65, 10});
    m_page.OnCapturedInput(capture_mode::kMacroKeyField, Key(65, true, L"A"));
    m_page.OnInsert();  // 199 + 2 is past the limit
    std::vector<int> messages;
    for (const auto& request : m_dialogs.requests) {
        messages.push_back(request.messageText);
    }
    EXPECT_EQ(messages, (std::vector<int>{kNoEventsText, kNoKeyToInsertText, kEventLimitText}));
    EXPECT_EQ(m_view.events.GetItemCount(), 199);
    // The other two options insert nothing.
    m_view.events.DeleteAllItems();
    m_view.events.AddString({L"x", 2, 65, 10});
    for (int radio : {id::kInsertOther, id::kInsertDelay}) {
        m_page.OnInsertKind(radio);
        m_page.OnInsert();
    }
    EXPECT_EQ(m_view.events.GetItemCount(), 1);
    EXPECT_EQ(m_view.texts[id::kDelayField].textState, L"10");
}

TEST_F(MacroPageTest, FixedDelayFieldIsClamped) {
    NewMacro();
    m_page.OnDelayMode(id::kFixedDelay);
    EXPECT_TRUE(m_view.texts[id::kFixedDelayField].enabledState);
    for (auto [typed, shown, told] : {std::tuple{L"9", L"10", true},
                                      {L"10001", L"10000", true},
                                      {L"500", L"500", false},
                                      {L"", L"10", true}}) {
        m_dialogs.requests.clear();
        m_view.texts[id::kFixedDelayField].textState = typed;
        m_page.OnFixedDelayChanged();
        EXPECT_EQ(m_view.texts[id::kFixedDelayField].textState, shown) << typed;
        EXPECT_EQ(m_dialogs.requests.size(), told ? 1u : 0u) << typed;
    }
    m_page.OnDelayMode(id::kNoDelay);
    EXPECT_FALSE(m_view.texts[id::kFixedDelayField].enabledState);
}

TEST_F(MacroPageTest, MenuCopiesAndDeletes) {
    const int first = NewMacro();
    m_view.events.AddString({L"\u2193  A", 2, 65, 10});
    m_page.SaveCurrentMacro();
    m_page.OnMacroEditImage();
    EXPECT_EQ(m_view.menus, 1);
    m_page.OnMacroMenu(kMacroMenuCopy);
    EXPECT_EQ(m_view.macros.Texts(), (std::vector<std::wstring>{L"Macro 1", L"Macro 1 Copy"}));
    const int copy = m_view.macros.GetItemData(1);
    EXPECT_EQ(StoredEvents(copy), StoredEvents(first));

    // Deleting the copy selects the macro before it and shows its events.
    m_view.macros.SetCurSel(1);
    m_jobs.Clear();
    m_page.OnMacroMenu(kMacroMenuDelete);
    EXPECT_EQ(m_view.macros.Texts(), std::vector<std::wstring>{L"Macro 1"});
    EXPECT_EQ(m_view.macros.selected, 0);
    EXPECT_EQ(m_view.events.rows.size(), 1u);
    EXPECT_EQ(m_jobs.Snapshot(), std::vector<int>{job::kSendMacros});
    // An edit now saves the shown macro's own events, never an empty list.
    m_page.OnEventEdited();
    EXPECT_EQ(StoredEvents(first), L"0|2|65|10|\u2193  A\n");
}

TEST_F(MacroPageTest, RenameToEmptyRestoresTheStoredName) {
    NewMacro();
    m_view.macros.ModifyItemString(0, L"");
    m_page.OnMacroRenamed();
    EXPECT_EQ(m_view.macros.GetItemText(0), L"Macro 1");
    m_view.macros.ModifyItemString(0, L"Fire");
    m_page.OnMacroRenamed();
    EXPECT_EQ(SideRows("SELECT name FROM t_macro_data"), L"Fire\n");
}

TEST_F(MacroPageTest, FilesThroughTheDialogs) {
    const int macro = NewMacro();
    m_view.events.AddString({L"\u2193  A", 2, 65, 10});
    m_page.SaveCurrentMacro();
    const std::wstring path = WideFile("macro.xml");
    m_dialogs.files.push_back(path);
    EXPECT_TRUE(m_page.ExportMacro());
    m_dialogs.files.push_back(path);
    EXPECT_TRUE(m_page.ImportMacro());
    EXPECT_EQ(m_view.macros.Texts(),
              (std::vector<std::wstring>{L"Macro 1", L"Macro 1 \u5bfc\u5165"}));
    EXPECT_EQ(StoredEvents(m_view.macros.GetItemData(1)), StoredEvents(macro));
    ASSERT_EQ(m_dialogs.requests.size(), 2u);
    EXPECT_EQ(m_dialogs.requests[0].filter.label, L"Profile (*.xml)");
    EXPECT_EQ(m_dialogs.requests[1].filter.label, L"Macros (*.xml)");

    // Cancelled dialogs do nothing; failures are told.
    m_dialogs.requests.clear();
    EXPECT_FALSE(m_page.ImportMacro());
    EXPECT_FALSE(m_page.ExportMacro());
    m_dialogs.files.push_back(WideFile("missing.xml"));
    EXPECT_FALSE(m_page.ImportMacro());
    m_dialogs.files.push_back(WideFile("no-folder/out.xml"));
    EXPECT_TRUE(m_page.ExportMacro());
    std::vector<int> messages;
    for (const auto& request : m_dialogs.requests) {
        if (request.kind == test::ScriptedDialogs::Kind::kMessage) {
            messages.push_back(request.messageText);
        }
    }
    EXPECT_EQ(messages, (std::vector<int>{kFileNotImportedText, kFileNotSavedText}));
    m_view.macros.SetCurSel(-1);
    m_dialogs.requests.clear();
    EXPECT_FALSE(m_page.ExportMacro());
    EXPECT_TRUE(m_dialogs.requests.empty()) << "no dialog without a selected macro";
}

}  // namespace
}  // namespace tavik
