#include "app/config/performance_page.h"

#include <gtest/gtest.h>

#include "app/config/performance_rules.h"
#include "tests/config/page_fixture.h"

namespace tavik::test {
namespace {

namespace id = performance_control;

class RecordingPerformanceView : public PerformanceView {
public:
    explicit RecordingPerformanceView(ControlLog& log)
        : stages(id::kDpiStages, log),
          slider(id::kDpiSlider, log),
          rates(id::kReportRate, log),
          combos(log),
          buttons(log),
          texts(log) {}
    DpiStageControl& DpiStages() override { return stages; }
    SliderControl& DpiSlider() override { return slider; }
    ReportRateControl& ReportRates() override { return rates; }
    ComboControl& Combo(int controlId) override { return combos[controlId]; }
    ButtonControl& Button(int controlId) override { return buttons[controlId]; }
    TextControl& Text(int controlId) override { return texts[controlId]; }

    FakeDpiStages stages;
    FakeSlider slider;
    FakeReportRates rates;
    ControlSet<FakeCombo> combos;
    ControlSet<FakeButton> buttons;
    ControlSet<FakeText> texts;
};

class PerformancePageTest : public PageTest {
protected:
    void SetUp() override {
        PageTest::SetUp();
        m_page.FillControls();
        m_page.RefreshPerformancePage();
        m_log.Clear();
        ClearJobs();
    }

    RecordingPerformanceView m_view{m_log};
    PerformancePage m_page{m_context, m_view, m_dialogs};
};

struct TypedDpiCase {
    int deviceType;
    const wchar_t* typed;
    const wchar_t* stored;
};

TEST_F(PerformancePageTest, TypedStageValueIsStoredAsAMultipleOf50InTheDevicesRange) {
    const TypedDpiCase cases[] = {
        {102, L"12345", L"12000"}, {101, L"26049", L"26000"},
        {101, L"12345", L"12300"}, {102, L"75", L"50"},
        {102, L"0", L"50"},        {102, L"text", L"50"},
        {102, L"-400", L"50"},     {102, L"99999999999", L"12000"},
        {102, L"1649", L"1600"},
    };
    for (const TypedDpiCase& test : cases) {
        SCOPED_TRACE(test.typed);
        m_context.SetDeviceType(test.deviceType);
        m_view.stages.selected = 2;
        m_view.stages.editText = test.typed;
        ClearJobs();
        m_page.OnControlNotify(id::kDpiStages, notify_code::kEditClosed);
        EXPECT_EQ(Stored(L"dpi_group2_value"), test.stored);
        EXPECT_EQ(m_view.stages.editText, test.stored);
        EXPECT_EQ(m_view.stages.stages[2].first, ReadDecimal(test.stored));
        EXPECT_EQ(m_view.slider.progress, ReadDecimal(test.stored) / 50);
        EXPECT_EQ(Jobs(), std::vector<int>{job::kSendDpiStages});
    }
}

TEST_F(PerformancePageTest, FewerStagesMakeTheLastRemainingStageCurrent) {
    Store(L"dpi_index", L"5");
    m_view.combos[id::kDpiCount].SelectData(3);
    m_page.OnControlNotify(id::kDpiCount, notify_code::kClicked);
    EXPECT_EQ(Stored(L"dpi_count"), L"3");
    EXPECT_EQ(Stored(L"dpi_index"), L"2");
    EXPECT_EQ(m_view.stages.stages.size(), 3u);
    EXPECT_EQ(m_view.stages.selected, 2);
    EXPECT_EQ(Jobs(), std::vector<int>{job::kSendDpiStages});
}

TEST_F(PerformancePageTest, MoreStagesKeepTheCurrentStage) {
    Store(L"dpi_count", L"3");
    Store(L"dpi_index", L"1");
    m_view.combos[id::kDpiCount].SelectData(6);
    m_page.OnControlNotify(id::kDpiCount, notify_code::kClicked);
    EXPECT_EQ(Stored(L"dpi_index"), L"1");
    EXPECT_EQ(m_view.stages.stages.size(), 6u);
}

struct StoredIndexCase {
    const wchar_t* index;
    const wchar_t* count;
    int selected;
    size_t stageCount;
};

TEST_F(PerformancePageTest, RefreshClampsTheStoredStageToTheStagesInUse) {
    const StoredIndexCase cases[] = {
        {L"9", L"6", 5, 6}, {L"-3", L"6", 0, 6}, {L"4", L"3", 2, 3},
        {L"1", L"6", 1, 6}, {L"x", L"6", 0, 6},  {L"2", L"0", 0, 1},
    };
    for (const StoredIndexCase& test : cases) {
        SCOPED_TRACE(testing::Message()
                     << "index " << Narrow(test.index) << " count " << Narrow(test.count));
        Store(L"dpi_index", test.index);
        Store(L"dpi_count", test.count);
        m_log.Clear();
        m_page.RefreshPerformancePage();
        EXPECT_EQ(m_view.stages.selected, test.selected);
        EXPECT_EQ(m_view.stages.stages.size(), test.stageCount);
        for (const std::string& call : m_log.Matching("103.SetSelectItem")) {
            EXPECT_EQ(call, "103.SetSelectItem(" + std::to_string(test.selected) + ")");
        }
    }
    EXPECT_TRUE(Jobs().empty()) << "a refresh sends nothing";
}

TEST_F(PerformancePageTest, RefreshShowsEveryStoredSetting) {
    Store(L"button_respondtime", L"17");
    Store(L"report_rate", L"3");
    Store(L"dpi_group3_value", L"4200");
    Store(L"dpi_group3_rgb", L"42495");
    Store(L"dpi_index", L"3");
    Store(L"sensor_flag", L"5");
    Store(L"liftoff_height", L"0");
    Store(L"scroll_flag", L"1");
    Store(L"deep_sleep", L"1800");
    Store(L"move_wakeup", L"0");
    Store(L"move_closelight", L"0");
    m_context.SetDeviceType(101);
    m_page.RefreshPerformancePage();

    EXPECT_EQ(m_view.texts[id::kResponseTime].textState, L"17");
    EXPECT_EQ(m_view.rates.items.size(), 4u);
    EXPECT_EQ(m_view.rates.selected, 3);
    EXPECT_EQ(m_view.stages.stages[3], std::make_pair(4200, std::uint32_t{42495}));
    EXPECT_EQ(m_view.stages.selected, 3);
    EXPECT_EQ(m_view.slider.progress, 84);
    EXPECT_EQ(m_view.slider.maximum, 520);
    EXPECT_TRUE(m_view.buttons[id::kSensorBit0].checkedState);
    EXPECT_FALSE(m_view.buttons[id::kSensorBit1].checkedState);
    EXPECT_TRUE(m_view.buttons[id::kSensorBit2].checkedState);
    EXPECT_TRUE(m_view.buttons[id::kLiftoff1mm].checkedState);
    EXPECT_FALSE(m_view.buttons[id::kLiftoff2mm].checkedState);
    EXPECT_TRUE(m_view.buttons[id::kScrollSecond].checkedState);
    EXPECT_EQ(m_view.combos[id::kSleepTime].GetCurData(), 1800);
    EXPECT_TRUE(m_view.buttons[id::kNoWakeOnMove].checkedState);
    EXPECT_TRUE(m_view.buttons[id::kCloseLight].checkedState);
    EXPECT_EQ(m_context.ReportRateMask(), 127) << "no mask from the mouse offers every rate";
}

struct HighspeedCase {
    int devMode;
    const wchar_t* stored;
    bool checked;
    bool enabled;
};

TEST_F(PerformancePageTest, OverTheCableHighSpeedShowsOnAndCannotBeChanged) {
    const HighspeedCase cases[] = {
        {0, L"0", true, false},
        {0, L"1", true, false},
        {1, L"0", false, true},
        {1, L"1", true, true},
    };
    for (const HighspeedCase& test : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << test.devMode);
        Store(L"highspeed_mode", test.stored);
        m_context.SetDevMode(test.devMode);
        m_page.RefreshPerformancePage();
        EXPECT_EQ(m_view.buttons[id::kHighspeed].checkedState, test.checked);
        EXPECT_EQ(m_view.buttons[id::kHighspeed].enabledState, test.enabled);
    }
}

TEST_F(PerformancePageTest, RestoringDpiDefaultsQueuesTheMousesOwnRestoreThenTheColours) {
    Store(L"dpi_count", L"2");
    Store(L"dpi_group1_value", L"700");
    Store(L"dpi_group5_rgb", L"8388992");
    Store(L"dpi_index", L"0");
    m_dialogs.answers = {kAnswerAccepted};
    m_page.OnControlNotify(id::kRestoreDpi, notify_code::kClicked);

    ASSERT_EQ(m_dialogs.requests.size(), 1u);
    EXPECT_EQ(m_dialogs.requests[0].titleText, 253);
    EXPECT_EQ(m_dialogs.requests[0].messageText, 258);
    EXPECT_EQ(m_dialogs.requests[0].style, kMessageStyleTwoAnswers);
    EXPECT_EQ(Jobs(), (std::vector<int>{job::kSendDpiDefaults, job::kSendDpiColors}));
    EXPECT_EQ(SideRows("SELECT key, value FROM t_configdata WHERE profile = 1 AND key LIKE "
                       "'dpi_%' AND key != 'dpi_flag' ORDER BY rowid"),
              L"dpi_index|1\ndpi_count|6\n"
              L"dpi_group0_value|800\ndpi_group1_value|1600\ndpi_group2_value|2400\n"
              L"dpi_group3_value|3200\ndpi_group4_value|5000\ndpi_group5_value|12000\n"
              L"dpi_group0_rgb|255\ndpi_group1_rgb|16711680\ndpi_group2_rgb|65535\n"
              L"dpi_group3_rgb|42495\ndpi_group4_rgb|16776960\ndpi_group5_rgb|8388736\n");
    EXPECT_EQ(m_view.stages.stages.size(), 6u);
    EXPECT_EQ(m_view.stages.selected, 1);
    EXPECT_EQ(m_view.slider.progress, 32);
    EXPECT_EQ(m_view.combos[id::kDpiCount].GetCurData(), 6);

    RunQueue();
    EXPECT_EQ(m_simulator->Mouse().dpiRestores, 1);
    EXPECT_TRUE(Contains(SentCommands(), "06 0f 01 00 00 08"));
}

TEST_F(PerformancePageTest, DeclinedRestoreChangesNothing) {
    Store(L"dpi_group1_value", L"700");
    for (int control : {id::kRestoreDpi, id::kRestoreReportRate}) {
        m_dialogs.answers = {kAnswerDeclined};
        m_page.OnControlNotify(control, notify_code::kClicked);
    }
    EXPECT_EQ(Stored(L"dpi_group1_value"), L"700");
    EXPECT_TRUE(Jobs().empty());
    EXPECT_TRUE(m_log.Lines().empty());
}

TEST_F(PerformancePageTest, RestoringTheReportRateDependsOnTheDeviceType) {
    const std::pair<int, const wchar_t*> cases[] = {{101, L"2"}, {102, L"2"}, {201, L"3"}};
    for (const auto& [deviceType, stored] : cases) {
        Store(L"report_rate", L"0");
        m_context.SetDeviceType(deviceType);
        m_dialogs.answers = {kAnswerAccepted};
        ClearJobs();
        m_page.OnControlNotify(id::kRestoreReportRate, notify_code::kClicked);
        EXPECT_EQ(Stored(L"report_rate"), stored);
        EXPECT_EQ(Jobs(), std::vector<int>{job::kSendReportRate});
    }
    EXPECT_EQ(m_dialogs.requests.back().titleText, 257);
    EXPECT_EQ(m_dialogs.requests.back().messageText, 259);
}

TEST_F(PerformancePageTest, ChosenReportRateIsStoredAndSent) {
    m_view.rates.selected = 0;
    m_page.OnControlNotify(id::kReportRate, notify_code::kClicked);
    EXPECT_EQ(Stored(L"report_rate"), L"0");
    EXPECT_EQ(Jobs(), std::vector<int>{job::kSendReportRate});
    RunQueue();
    EXPECT_EQ(m_simulator->Mouse().reportRate, 0);

    ClearJobs();
    m_view.rates.selected = -1;
    m_page.OnControlNotify(id::kReportRate, notify_code::kClicked);
    EXPECT_TRUE(Jobs().empty());
}

struct ResponseTimeCase {
    const wchar_t* typed;
    const wchar_t* stored;
};

TEST_F(PerformancePageTest, ResponseTimeIsKeptWithin1To50) {
    const ResponseTimeCase cases[] = {{L"0", L"1"},    {L"-7", L"1"},  {L"51", L"50"},
                                      {L"900", L"50"}, {L"20", L"20"}, {L"abc", L"1"}};
    for (const ResponseTimeCase& test : cases) {
        for (int code : {notify_code::kEditClosed, notify_code::kClicked}) {
            SCOPED_TRACE(testing::Message() << Narrow(test.typed) << " code " << code);
            m_view.texts[id::kResponseTime].textState = test.typed;
            ClearJobs();
            m_page.OnControlNotify(id::kResponseTime, code);
            EXPECT_EQ(Stored(L"button_respondtime"), test.stored);
            EXPECT_EQ(m_view.texts[id::kResponseTime].textState, test.stored);
            EXPECT_EQ(Jobs(), code == notify_code::kClicked
                                  ? std::vector<int>{job::kSendButtonRespondTime}
                                  : std::vector<int>{});
        }
    }
}

TEST_F(PerformancePageTest, StageColourIsAppliedOnlyWhenTheDialogGivesOne) {
    const std::uint32_t before = m_view.stages.stages[3].second;
    struct Case {
        std::optional<std::uint32_t> picked;
        std::vector<int> jobs;
        const wchar_t* stored;
    };
    const Case cases[] = {
        {std::nullopt, {job::kSendDpiStages}, L"42495"},
        {0u, {job::kSendDpiStages}, L"42495"},
        {0x00FF8000u, {job::kSendDpiStages, job::kSendDpiColors, job::kSendDpiStages}, L"16744448"},
    };
    for (const Case& test : cases) {
        m_view.stages.selected = 3;
        m_dialogs.colours = {test.picked};
        ClearJobs();
        m_page.OnControlNotify(id::kDpiStages, notify_code::kColourBlockClicked);
        EXPECT_EQ(m_dialogs.requests.back().kind, ScriptedDialogs::Kind::kPickColour);
        EXPECT_EQ(Stored(L"dpi_index"), L"3");
        EXPECT_EQ(Stored(L"dpi_group3_rgb"), test.stored);
        EXPECT_EQ(Jobs(), test.jobs);
    }
    EXPECT_EQ(m_dialogs.requests[0].initialColour, before);
    EXPECT_EQ(m_view.stages.stages[3].second, 0x00FF8000u);
}

TEST_F(PerformancePageTest, StageClicksStoreTheCurrentStage) {
    const std::pair<int, bool> cases[] = {{notify_code::kClicked, true},
                                          {notify_code::kEditOpened, false}};
    for (const auto& [code, movesSlider] : cases) {
        m_view.slider.progress = 0;
        m_view.stages.selected = 4;
        ClearJobs();
        m_page.OnControlNotify(id::kDpiStages, code);
        EXPECT_EQ(Stored(L"dpi_index"), L"4");
        EXPECT_EQ(m_view.slider.progress, movesSlider ? 100 : 0);
        EXPECT_EQ(Jobs(), std::vector<int>{job::kSendDpiStages});
    }
}

TEST_F(PerformancePageTest, SliderStoresTheStageValueAndSendsOnRelease) {
    m_view.stages.selected = 0;
    m_page.OnControlNotify(id::kDpiStages, notify_code::kClicked);
    ClearJobs();
    m_view.slider.progress = 37;
    m_page.OnControlNotify(id::kDpiSlider, notify_code::kSliderMoved);
    EXPECT_EQ(Stored(L"dpi_group0_value"), L"1850");
    EXPECT_TRUE(Jobs().empty());
    m_view.slider.progress = 0;
    m_page.OnControlNotify(id::kDpiSlider, notify_code::kClicked);
    EXPECT_EQ(Stored(L"dpi_group0_value"), L"50") << "the slider's bottom is still a DPI";
    EXPECT_EQ(Jobs(), std::vector<int>{job::kSendDpiStages});
    RunQueue();
    EXPECT_EQ(m_simulator->Mouse().dpi[0], 50);
}

struct ToggleCase {
    const char* name;
    std::vector<std::pair<int, bool>> checks;
    int control;
    const wchar_t* key;
    const wchar_t* stored;
    int job;
};

TEST_F(PerformancePageTest, OptionButtonsStoreTheirValueAndQueueTheirJob) {
    const ToggleCase cases[] = {
        {"sensor 0+2", {{229, true}, {230, false}, {231, true}}, 229, L"sensor_flag", L"5", 13},
        {"sensor none", {{229, false}, {230, false}, {231, false}}, 231, L"sensor_flag", L"0", 13},
        {"sensor all", {{229, true}, {230, true}, {231, true}}, 230, L"sensor_flag", L"7", 13},
        {"lift-off 1mm", {{224, true}, {225, false}}, 224, L"liftoff_height", L"0", 16},
        {"lift-off 2mm", {{224, false}, {225, true}}, 225, L"liftoff_height", L"1", 16},
        {"wake", {{234, true}, {235, false}}, 234, L"move_wakeup", L"1", 19},
        {"no wake", {{234, false}, {235, true}}, 235, L"move_wakeup", L"0", 19},
        {"scroll first", {{238, true}, {239, false}}, 238, L"scroll_flag", L"0", 15},
        {"scroll second", {{238, false}, {239, true}}, 239, L"scroll_flag", L"1", 15},
        {"high speed on", {{242, true}}, 242, L"highspeed_mode", L"1", 17},
        {"high speed off", {{242, false}}, 242, L"highspeed_mode", L"0", 17},
    };
    for (const ToggleCase& test : cases) {
        SCOPED_TRACE(test.name);
        for (const auto& [control, checked] : test.checks) {
            m_view.buttons[control].checkedState = checked;
        }
        ClearJobs();
        m_page.OnControlNotify(test.control, notify_code::kClicked);
        EXPECT_EQ(Stored(test.key), test.stored);
        EXPECT_EQ(Jobs(), std::vector<int>{test.job});
    }
}

TEST_F(PerformancePageTest, SleepTimeStoresTheItemsSeconds) {
    ComboControl& sleep = m_view.combos[id::kSleepTime];
    ASSERT_EQ(sleep.GetItemCount(), 13);
    EXPECT_EQ(sleep.GetItemText(0), L"2T537");
    EXPECT_EQ(sleep.GetItemText(9), L"1T538");
    sleep.SetCurSel(12);
    m_page.OnControlNotify(id::kSleepTime, notify_code::kClicked);
    EXPECT_EQ(Stored(L"deep_sleep"), L"14400");
    EXPECT_EQ(Jobs(), std::vector<int>{job::kSendSleepTimes});
}

TEST_F(PerformancePageTest, MouseSwitchingItsStageMovesThePageWithoutAJob) {
    m_context.SetCachedDpiIndex(1);
    m_page.OnMouseDpiStageChanged(1);
    EXPECT_TRUE(m_log.Lines().empty()) << "the cached stage changes nothing";
    m_page.OnMouseDpiStageChanged(4);
    EXPECT_EQ(m_view.stages.selected, 4);
    EXPECT_EQ(Stored(L"dpi_index"), L"4");
    EXPECT_EQ(m_view.slider.progress, 100);
    EXPECT_EQ(m_context.CachedDpiIndex(), 4);
    m_page.OnMouseDpiStageChanged(9);
    EXPECT_EQ(Stored(L"dpi_index"), L"4") << "a stage the mouse cannot have is ignored";
    EXPECT_TRUE(Jobs().empty());
}

TEST_F(PerformancePageTest, EditedStageReachesTheMouse) {
    m_view.stages.selected = 2;
    m_page.OnControlNotify(id::kDpiStages, notify_code::kEditOpened);
    m_view.stages.editText = L"4321";
    m_page.OnControlNotify(id::kDpiStages, notify_code::kEditClosed);
    RunQueue();
    EXPECT_EQ(m_simulator->Mouse().dpiIndex, 2);
    EXPECT_EQ(m_simulator->Mouse().dpi[2], 4300);
}

}  // namespace
}  // namespace tavik::test
