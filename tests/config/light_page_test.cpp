#include "app/config/light_page.h"

#include <gtest/gtest.h>

#include "app/config/performance_page.h"
#include "tests/config/page_fixture.h"

namespace tavik::test {
namespace {

namespace id = light_control;

class FakeColour : public FakeControl<ColourControl> {
public:
    using FakeControl::FakeControl;
    void SetColor(std::uint32_t colour) override {
        colourState = colour;
        Log("SetColor(" + std::to_string(colour) + ")");
    }
    std::uint32_t GetColor() override { return colourState; }
    std::uint32_t colourState = 0;
};

class RecordingLightView : public LightView {
public:
    explicit RecordingLightView(ControlLog& log)
        : modes(id::kModes, log),
          buttons(log),
          sliders(log),
          colours(log),
          texts(log),
          m_log(log) {}
    ComboControl& Modes() override { return modes; }
    ButtonControl& Button(int controlId) override { return buttons[controlId]; }
    SliderControl& Slider(int controlId) override { return sliders[controlId]; }
    ColourControl& Colour(int controlId) override { return colours[controlId]; }
    TextControl& Text(int controlId) override { return texts[controlId]; }
    void SetSettingsArea(int left, int top, int width, int height) override {
        area = {left, top, width, height};
        m_log.Add(0, "SetSettingsArea");
    }
    void ShowColourEditor(bool visible) override {
        editor = visible;
        m_log.Add(0, "ShowColourEditor(" + std::to_string(visible) + ")");
    }

    FakeCombo modes;
    ControlSet<FakeButton> buttons;
    ControlSet<FakeSlider> sliders;
    ControlSet<FakeColour> colours;
    ControlSet<FakeText> texts;
    std::array<int, 4> area{};
    bool editor = false;

private:
    ControlLog& m_log;
};

class LightPageTest : public PageTest {
protected:
    void SetUp() override {
        PageTest::SetUp();
        m_page.RefreshLightPage();
        m_log.Clear();
        ClearJobs();
    }
    void ChooseMode(int mode) {
        m_view.modes.SelectData(mode);
        m_page.OnControlNotify(id::kModes, notify_code::kClicked);
    }
    std::wstring LightRow(int mode, const std::string& columns) {
        return SideRows("SELECT " + columns +
                        " FROM t_light_data WHERE profile = 1 AND mode = " + std::to_string(mode));
    }

    RecordingLightView m_view{m_log};
    LightPage m_page{m_context, m_view, m_dialogs};
};

TEST_F(LightPageTest, FirstRefreshCreatesTheFourDefaultModesWithMode1Active) {
    EXPECT_EQ(SideRows("SELECT mode, brightness, speed, direction, colorful, colorindex, "
                       "color_value1, color_value8, move_closelight, config_func, reserved, status "
                       "FROM t_light_data WHERE profile = 1 ORDER BY mode"),
              L"0|127|128|0|1|0|255|16711935|1|0|280|0\n"
              L"1|127|128|0|1|0|255|16711935|1|2067|281|1\n"
              L"2|127|128|0|1|0|255|16711935|1|3|282|0\n"
              L"3|127|128|0|0|0|255|16711935|1|2065|283|0\n");
    ASSERT_EQ(m_view.modes.items.size(), 4u);
    EXPECT_EQ(m_view.modes.GetItemText(3), L"T283");
    EXPECT_EQ(m_view.modes.GetCurData(), 1);
    m_page.RefreshLightPage();
    EXPECT_EQ(SideInt("SELECT count(*) FROM t_light_data WHERE profile = 1"), 4);
}

struct ModeCase {
    int mode;
    bool brightness;
    bool speed;
    bool slots;
    bool multicolour;
    bool closeLight;
    bool editor;
    int height;
};

TEST_F(LightPageTest, EachModeShowsWhatItsCapabilityBitsAllow) {
    const ModeCase cases[] = {
        {0, false, false, false, false, false, false, 210},
        {1, true, true, true, true, true, false, 650},
        {2, true, true, false, false, true, false, 420},
        {3, true, false, true, false, true, true, 650},
    };
    for (const ModeCase& test : cases) {
        SCOPED_TRACE(test.mode);
        ChooseMode(test.mode);
        EXPECT_EQ(m_view.sliders[id::kBrightness].visibleState, test.brightness);
        EXPECT_EQ(m_view.sliders[id::kSpeed].visibleState, test.speed);
        EXPECT_EQ(m_view.buttons[id::kFirstSlot].visibleState, test.slots);
        EXPECT_EQ(m_view.buttons[id::kLastSlot].visibleState, test.slots);
        EXPECT_EQ(m_view.buttons[id::kMulticolour].visibleState, test.multicolour);
        EXPECT_EQ(m_view.buttons[id::kCloseLight].visibleState, test.closeLight);
        EXPECT_EQ(m_view.editor, test.editor);
        EXPECT_EQ(m_view.area, (std::array<int, 4>{230, 75, 510, test.height}));
        EXPECT_EQ(SideInt("SELECT mode FROM t_light_data WHERE profile = 1 AND status = 1"),
                  test.mode);
        EXPECT_EQ(Jobs().back(), job::kSendLight);
    }
    m_context.SetScaleFactor(1.5);
    ChooseMode(1);
    EXPECT_EQ(m_view.area, (std::array<int, 4>{230, 75, 765, 975}));
}

TEST_F(LightPageTest, ColourPickedWithSlot8ChosenIsStoredAsColourValue8) {
    ChooseMode(3);
    m_page.OnControlNotify(id::kLastSlot, notify_code::kClicked);
    EXPECT_EQ(LightRow(3, "colorful, colorindex"), L"0|7\n");
    EXPECT_TRUE(m_view.editor);
    m_view.buttons[id::kFirstPreset + 2].colourState = 16714752;
    ClearJobs();
    m_page.OnControlNotify(id::kFirstPreset + 2, notify_code::kClicked);
    EXPECT_EQ(LightRow(3, "color_value1, color_value7, color_value8"), L"255|16711680|16714752\n");
    EXPECT_EQ(m_view.colours[id::kPreview].colourState, 16714752u);
    EXPECT_EQ(m_view.texts[id::kRed].textState, L"0");
    EXPECT_EQ(m_view.texts[id::kGreen].textState, L"12");
    EXPECT_EQ(m_view.texts[id::kBlue].textState, L"255");
    EXPECT_EQ(Jobs(), std::vector<int>{job::kSendLight});
}

TEST_F(LightPageTest, MulticolourHidesTheEditorExceptInMode3) {
    ChooseMode(1);
    m_page.OnControlNotify(id::kFirstSlot + 1, notify_code::kClicked);
    EXPECT_TRUE(m_view.editor);
    m_page.OnControlNotify(id::kMulticolour, notify_code::kClicked);
    EXPECT_FALSE(m_view.editor);
    EXPECT_EQ(LightRow(1, "colorful, colorindex"), L"1|1\n");
    ChooseMode(1);
    EXPECT_FALSE(m_view.editor);
    EXPECT_TRUE(m_view.buttons[id::kMulticolour].checkedState);
}

struct FieldCase {
    const wchar_t* red;
    const wchar_t* green;
    const wchar_t* blue;
    const wchar_t* shownRed;
    const wchar_t* stored;
};

TEST_F(LightPageTest, ColourFieldsAreKeptWithin0To255) {
    const FieldCase cases[] = {
        {L"300", L"0", L"0", L"255", L"255"},
        {L"-4", L"128", L"1", L"0", L"98304"},
        {L"abc", L"255", L"255", L"0", L"16776960"},
        {L"18", L"52", L"86", L"18", L"5649426"},
    };
    ChooseMode(2);
    for (const FieldCase& test : cases) {
        SCOPED_TRACE(Narrow(test.stored));
        m_view.texts[id::kRed].textState = test.red;
        m_view.texts[id::kGreen].textState = test.green;
        m_view.texts[id::kBlue].textState = test.blue;
        ClearJobs();
        m_page.OnControlNotify(id::kRed, notify_code::kEditTextChanged);
        EXPECT_EQ(m_view.texts[id::kRed].textState, test.shownRed);
        EXPECT_EQ(LightRow(2, "color_value1"), std::wstring(test.stored) + L"\n");
        EXPECT_EQ(Jobs(), std::vector<int>{job::kSendLight});
    }
}

TEST_F(LightPageTest, PaletteUnchecksThePresets) {
    ChooseMode(2);
    m_view.buttons[id::kFirstPreset].checkedState = true;
    m_view.colours[id::kPalette].colourState = 0x123456;
    m_page.OnControlNotify(id::kPalette, notify_code::kPaletteColourPicked);
    EXPECT_FALSE(m_view.buttons[id::kFirstPreset].checkedState);
    EXPECT_EQ(LightRow(2, "color_value1"), L"1193046\n");
    EXPECT_EQ(m_view.texts[id::kRed].textState, L"86");
}

TEST_F(LightPageTest, SlidersStoreBrightnessAndSpeed) {
    ChooseMode(1);
    m_view.sliders[id::kBrightness].progress = 77;
    m_page.OnControlNotify(id::kBrightness, notify_code::kClicked);
    m_view.sliders[id::kSpeed].progress = 400;
    m_page.OnControlNotify(id::kSpeed, notify_code::kClicked);
    EXPECT_EQ(LightRow(1, "brightness, speed"), L"77|255\n");
    ClearJobs();
    m_page.OnControlNotify(id::kSpeed, notify_code::kSliderMoved);
    EXPECT_TRUE(Jobs().empty()) << "only the release stores";
}

TEST_F(LightPageTest, RestoringLightingBringsBackTheDefaults) {
    ChooseMode(3);
    m_view.sliders[id::kBrightness].progress = 9;
    m_page.OnControlNotify(id::kBrightness, notify_code::kClicked);
    Store(L"move_closelight", L"0");
    m_view.buttons[id::kCloseLight].checkedState = true;
    ClearJobs();

    m_dialogs.answers = {kAnswerDeclined};
    m_page.OnControlNotify(id::kRestore, notify_code::kClicked);
    EXPECT_TRUE(Jobs().empty());
    EXPECT_EQ(LightRow(3, "brightness"), L"9\n");

    m_dialogs.answers = {kAnswerAccepted};
    m_page.OnControlNotify(id::kRestore, notify_code::kClicked);
    EXPECT_EQ(m_dialogs.requests.back().titleText, 276);
    EXPECT_EQ(m_dialogs.requests.back().messageText, 275);
    EXPECT_EQ(LightRow(3, "brightness, status"), L"127|0\n");
    EXPECT_EQ(SideInt("SELECT mode FROM t_light_data WHERE profile = 1 AND status = 1"), 1);
    EXPECT_EQ(Stored(L"move_closelight"), L"1");
    EXPECT_FALSE(m_view.buttons[id::kCloseLight].checkedState);
    EXPECT_EQ(Jobs(), (std::vector<int>{job::kSendLight, job::kSendMoveCloseLight}));
}

TEST_F(LightPageTest, CloseLightOptionIsStoredInverted) {
    const std::pair<bool, const wchar_t*> cases[] = {{true, L"0"}, {false, L"1"}};
    for (const auto& [checked, stored] : cases) {
        m_view.buttons[id::kCloseLight].checkedState = checked;
        ClearJobs();
        m_page.OnControlNotify(id::kCloseLight, notify_code::kClicked);
        EXPECT_EQ(Stored(L"move_closelight"), stored);
        EXPECT_EQ(Jobs(), std::vector<int>{job::kSendMoveCloseLight});
    }
}

TEST_F(LightPageTest, ChosenModeReachesTheMouse) {
    ChooseMode(2);
    RunQueue();
    EXPECT_EQ(m_simulator->Mouse().activeLightMode, 2);
}

}  // namespace
}  // namespace tavik::test
