// The button family on a real dialog, driven by window messages through its window
// procedure: press and click notifications, check groups, keyboard checks, the switch, and the
// buttons that count time (with a test clock, ticks on the UI thread).
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

#include "core_test_support.h"
#include "orvo/buttons.h"
#include "orvo/paint_manager.h"
#include "orvo/panel.h"

namespace {

using Orvo::CRect;

constexpr DWORD kShownPopup = WS_POPUP | WS_VISIBLE;

// The test clock of the buttons that count time.
ULONGLONG g_now = 1000000;
ULONGLONG TestTicks() {
    return g_now;
}

// A dialog that notes on which thread each notification arrived.
class NotedDialog : public OrvoTest::TestDialog {
public:
    long OnMessage(UINT controlId, UINT code, WPARAM wParam, LPARAM lParam) override {
        threads.push_back(::GetCurrentThreadId());
        return TestDialog::OnMessage(controlId, code, wParam, lParam);
    }
    std::vector<UINT> Codes() const {
        std::vector<UINT> codes;
        for (const Message& message : m_messages) {
            codes.push_back(message.code);
        }
        return codes;
    }
    size_t CountOf(UINT code) const {
        size_t count = 0;
        for (const Message& message : m_messages) {
            count += message.code == code ? 1 : 0;
        }
        return count;
    }
    std::vector<DWORD> threads;
};

class ButtonsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { OrvoTest::StartGdiplus(); }
    void SetUp() override {
        Orvo::SetButtonTickSource(TestTicks);
        ASSERT_NE(m_dialog.CreateAt(40, 40, 400, 300), nullptr);
    }
    void TearDown() override {
        ::SetKeyboardState(m_neutralKeys);
        m_dialog.DestroyWindow();
        Orvo::SetButtonTickSource(nullptr);
    }
    template <typename T>
    T* Make(const wchar_t* className, UINT id, const RECT& rect, const wchar_t* text = L"") {
        return dynamic_cast<T*>(m_dialog.CreateControl(className, id, rect, text, 1, 1));
    }
    void Press(int x, int y) {
        m_dialog.Mouse(WM_MOUSEMOVE, x, y);
        m_dialog.Mouse(WM_LBUTTONDOWN, x, y, MK_LBUTTON);
    }
    void Click(int x, int y) {
        Press(x, y);
        m_dialog.Mouse(WM_LBUTTONUP, x, y);
    }
    void HoldCtrl(bool down) {
        BYTE keys[256] = {};
        keys[VK_CONTROL] = down ? 0x80 : 0;
        ::SetKeyboardState(keys);
    }
    // Delivers messages until done() or a generous bound of waits has passed.
    template <typename Done>
    bool PumpUntil(Done done) {
        for (int i = 0; i < 400 && !done(); ++i) {
            OrvoTest::PumpMessages();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        OrvoTest::PumpMessages();
        return done();
    }
    // Gives the tick a fair chance to run (for things that must not happen).
    void PumpTicks(int ticks) {
        Orvo::PaintManager& manager = *m_dialog.GetPaintManager();
        const unsigned long long target = manager.GetTicksRun() + ticks;
        PumpUntil([&] { return manager.GetTicksRun() >= target; });
    }

    NotedDialog m_dialog;
    BYTE m_neutralKeys[256] = {};
};

TEST_F(ButtonsTest, PushButtonsSendPressAndOnlyAReleaseInsideCompletesTheClick) {
    struct Case {
        const wchar_t* className;
        bool releaseInside;
        std::vector<UINT> codes;
        int stateAfter;
    };
    const Case cases[] = {
        {L"MButton", true, {1, 2}, Orvo::kStateHot},
        {L"MButton", false, {1}, Orvo::kStateNormal},
        {L"CImageButton", true, {1, 2}, Orvo::kStateHot},
        {L"CTextButton", false, {1}, Orvo::kStateNormal},
        {L"CIconButton", true, {1, 2}, Orvo::kStateHot},
        {L"CTimerButton", false, {1}, Orvo::kStateNormal},
        {L"CHelpButton", true, {1, 2}, Orvo::kStateHot},
    };
    UINT id = 10;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::wstring(c.className) + (c.releaseInside ? L" inside" : L" outside"));
        auto* button = Make<Orvo::PushButtonBase>(c.className, ++id, CRect(10, 10, 90, 40), L"Go");
        ASSERT_NE(button, nullptr);
        m_dialog.m_messages.clear();
        Press(30, 20);
        EXPECT_EQ(button->GetState(), Orvo::kStatePressed);
        const int x = c.releaseInside ? 30 : 300;
        m_dialog.Mouse(WM_MOUSEMOVE, x, 20, MK_LBUTTON);
        m_dialog.Mouse(WM_LBUTTONUP, x, 20);
        EXPECT_EQ(m_dialog.Codes(), c.codes);
        EXPECT_EQ(button->GetState(), c.stateAfter);
        // Moving away leaves the hot state.
        m_dialog.Mouse(WM_MOUSEMOVE, 300, 250);
        EXPECT_EQ(button->GetState(), Orvo::kStateNormal);
        m_dialog.GetPaintManager()->RemoveControl(button);
    }
}

TEST_F(ButtonsTest, DisabledPushButtonsShowTheirDisabledStateAndIgnoreTheMouse) {
    auto* button = Make<Orvo::MButton>(L"MButton", 1, CRect(10, 10, 90, 40), L"Go");
    ASSERT_NE(button, nullptr);
    button->SetEnabled(0);
    EXPECT_EQ(button->GetState(), Orvo::kStateDisabled);
    Click(30, 20);
    EXPECT_TRUE(m_dialog.m_messages.empty());
    button->SetEnabled(1);
    EXPECT_EQ(button->GetState(), Orvo::kStateNormal);
}

// Two members of one group and a third of another class with the same group name.
struct GroupCase {
    const char* name;
    std::function<Orvo::MControl*(NotedDialog&, UINT, const RECT&)> make;
    std::function<int(Orvo::MControl*)> check;
    std::function<void(Orvo::MControl*, const wchar_t*)> setGroup;
};

template <typename T>
GroupCase MakeGroupCase(const char* name, const wchar_t* className) {
    return GroupCase{
        name,
        [className](NotedDialog& dialog, UINT id, const RECT& rect) -> Orvo::MControl* {
            // MButton2 is made only inside panels: here with its constructor.
            if constexpr (std::is_same_v<T, Orvo::MButton2>) {
                return dialog.Add<T>(id, rect, 1, 1);
            } else {
                return dialog.CreateControl(className, id, rect, L"", 1, 1);
            }
        },
        [](Orvo::MControl* control) { return static_cast<T*>(control)->GetCheck(); },
        [](Orvo::MControl* control, const wchar_t* group) {
            static_cast<T*>(control)->SetGroupName(group);
        }};
}

TEST_F(ButtonsTest, ClickingAGroupMemberUnchecksTheOthersOfItsClassOnly) {
    const GroupCase cases[] = {
        MakeGroupCase<Orvo::CRadioButton>("radio", L"CRadioButton"),
        MakeGroupCase<Orvo::CSelectButton>("select", L"CSelectButton"),
        MakeGroupCase<Orvo::CColorButton>("colour", L"CColorButton"),
        MakeGroupCase<Orvo::MButton2>("mbutton2", nullptr),
    };
    for (const GroupCase& c : cases) {
        SCOPED_TRACE(c.name);
        m_dialog.GetPaintManager()->ClearControls();
        Orvo::MControl* first = c.make(m_dialog, 1, CRect(10, 10, 60, 40));
        Orvo::MControl* second = c.make(m_dialog, 2, CRect(70, 10, 120, 40));
        Orvo::MControl* otherGroup = c.make(m_dialog, 3, CRect(130, 10, 180, 40));
        ASSERT_NE(first, nullptr);
        ASSERT_NE(second, nullptr);
        for (Orvo::MControl* member : {first, second}) {
            c.setGroup(member, L"stages");
        }
        c.setGroup(otherGroup, L"modes");
        // A radio-like button of another class with the same group name.
        Orvo::RadioButtonBase* stranger = nullptr;
        if (first->IsClass(L"CRadioButton")) {
            stranger = m_dialog.Add<Orvo::CSelectButton>(4, CRect(10, 100, 60, 130), L"", 1, 1);
        } else {
            stranger = m_dialog.Add<Orvo::CRadioButton>(4, CRect(10, 100, 60, 130), L"", 1, 1);
        }
        stranger->SetGroupName(L"stages");
        stranger->SetControlCheck(1);

        Click(30, 20);
        Click(130 + 10, 20);
        EXPECT_EQ(c.check(first), 1);
        EXPECT_EQ(c.check(otherGroup), 1);
        Click(90, 20);
        EXPECT_EQ(c.check(first), 0);
        EXPECT_EQ(c.check(second), 1);
        EXPECT_EQ(c.check(otherGroup), 1);
        EXPECT_EQ(stranger->GetCheck(), 1);
    }
}

TEST_F(ButtonsTest, UncheckingARadioButtonUnchecksItsWholeGroup) {
    auto* first = Make<Orvo::CRadioButton>(L"CRadioButton", 1, CRect(10, 10, 60, 40));
    auto* second = Make<Orvo::CRadioButton>(L"CRadioButton", 2, CRect(70, 10, 120, 40));
    ASSERT_NE(second, nullptr);
    // SetControlCheck leaves the group alone: two checked members.
    first->SetControlCheck(1);
    second->SetControlCheck(1);
    EXPECT_EQ(second->SetCheck(0), 0);
    EXPECT_EQ(first->GetCheck(), 0);
}

TEST_F(ButtonsTest, SetCheckOnADisabledCheckBoxChangesNothing) {
    auto* box = Make<Orvo::CCheckButton>(L"CCheckButton", 1, CRect(10, 10, 120, 40), L"Beep");
    ASSERT_NE(box, nullptr);
    box->SetEnabled(0);
    EXPECT_EQ(box->SetCheck(1), 0);
    EXPECT_EQ(box->GetCheck(), 0);
    EXPECT_EQ(box->GetVisualState(), 3);
    box->SetEnabled(1);
    EXPECT_EQ(box->SetCheck(1), 1);
    box->SetEnabled(0);
    EXPECT_EQ(box->GetVisualState(), 7);
}

TEST_F(ButtonsTest, ClicksToggleCheckBoxesAndWalkTheEightVisualStates) {
    auto* box = Make<Orvo::CCheckButton>(L"CCheckButton", 1, CRect(10, 10, 120, 40), L"Beep");
    ASSERT_NE(box, nullptr);
    m_dialog.Mouse(WM_MOUSEMOVE, 20, 20);
    EXPECT_EQ(box->GetVisualState(), 1);
    m_dialog.Mouse(WM_LBUTTONDOWN, 20, 20, MK_LBUTTON);
    EXPECT_EQ(box->GetVisualState(), 2);
    m_dialog.Mouse(WM_LBUTTONUP, 20, 20);
    EXPECT_EQ(box->GetCheck(), 1);
    EXPECT_EQ(box->GetVisualState(), 5);
    m_dialog.Mouse(WM_MOUSEMOVE, 300, 250);
    EXPECT_EQ(box->GetVisualState(), 4);
    // Check-like buttons send no press notification, only the click.
    EXPECT_EQ(m_dialog.Codes(), std::vector<UINT>{2});
}

TEST_F(ButtonsTest, SpaceOnTheFocusedButtonChecksItAndSendsSeven) {
    struct Case {
        const char* name;
        const wchar_t* className;
        bool focused;
        bool ctrl;
        std::vector<int> checksAfterEachSpace;  // empty: the key is not taken
    };
    const Case cases[] = {
        {"focused check box toggles", L"CCheckButton", true, false, {1, 0}},
        {"Ctrl+Space does nothing", L"CCheckButton", true, true, {}},
        {"without focus nothing", L"CCheckButton", false, false, {}},
        {"text check toggles", L"TextCheckButton", true, false, {1, 0}},
        {"radio stays checked", L"CRadioButton", true, false, {1, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_dialog.GetPaintManager()->ClearControls();
        m_dialog.m_messages.clear();
        auto* button = Make<Orvo::CheckButtonBase>(c.className, 1, CRect(10, 10, 120, 40), L"A");
        ASSERT_NE(button, nullptr);
        Orvo::CRadioButton* peer = nullptr;
        if (std::wstring(c.className) == L"CRadioButton") {
            peer = Make<Orvo::CRadioButton>(L"CRadioButton", 2, CRect(10, 50, 120, 80), L"B");
            peer->SetControlCheck(1);
        }
        if (c.focused) {
            m_dialog.SetFocusControl(button);
        }
        HoldCtrl(c.ctrl);
        std::vector<int> checks;
        for (int press = 0; press < 2; ++press) {
            const size_t before = m_dialog.m_messages.size();
            m_dialog.Send(WM_KEYDOWN, VK_SPACE, 1);
            if (m_dialog.m_messages.size() == before) {
                continue;
            }
            const auto& message = m_dialog.m_messages.back();
            EXPECT_EQ(message.code, Orvo::kNotifyKeyCheck);
            EXPECT_EQ(message.wParam, 0u);
            EXPECT_EQ(message.lParam, button->GetCheck());
            checks.push_back(button->GetCheck());
        }
        EXPECT_EQ(checks, c.checksAfterEachSpace);
        if (peer != nullptr) {
            EXPECT_EQ(peer->GetCheck(), 0);
        }
        HoldCtrl(false);
    }
}

TEST_F(ButtonsTest, SwitchFlipsOnClickSendsItsNewStateAndShowsItsDisabledFrame) {
    auto* toggle = Make<Orvo::CSwitchButton>(L"CSwitchButton", 1, CRect(10, 10, 54, 34));
    ASSERT_NE(toggle, nullptr);
    toggle->SetEnabled(0);
    EXPECT_EQ(toggle->GetState(), Orvo::kStateDisabled);
    toggle->SetEnabled(1);
    EXPECT_EQ(toggle->GetState(), Orvo::kStateNormal);

    for (int expected : {1, 0}) {
        m_dialog.m_messages.clear();
        Click(20, 20);
        EXPECT_EQ(toggle->GetCheck(), expected);
        ASSERT_EQ(m_dialog.m_messages.size(), 1u);
        EXPECT_EQ(m_dialog.m_messages[0].code, Orvo::kNotifyClicked);
        EXPECT_EQ(m_dialog.m_messages[0].lParam, expected);
    }
    // A press that leaves before the release flips nothing.
    Press(20, 20);
    m_dialog.Mouse(WM_LBUTTONUP, 300, 250);
    EXPECT_EQ(toggle->GetCheck(), 0);
    // Keys are not taken, not even its hot key.
    toggle->SetHotKey(VK_SPACE, 0);
    m_dialog.SetFocusControl(toggle);
    m_dialog.m_messages.clear();
    m_dialog.Send(WM_KEYDOWN, VK_SPACE, 1);
    EXPECT_TRUE(m_dialog.m_messages.empty());
}

TEST_F(ButtonsTest, CheckedMButton3AndMButton2ShowTheirPressedSlot) {
    auto* toggle = m_dialog.Add<Orvo::MButton3>(1, CRect(10, 10, 60, 40), 1, 1);
    auto* radio = m_dialog.Add<Orvo::MButton2>(2, CRect(70, 10, 120, 40), 1, 1);
    EXPECT_EQ(radio->GetGroupName(), L"MouseFunction");
    Click(20, 20);
    Click(80, 20);
    EXPECT_EQ(toggle->GetCheck(), 1);
    EXPECT_EQ(radio->GetCheck(), 1);
    Click(20, 20);
    EXPECT_EQ(toggle->GetCheck(), 0);
    // MButton3 only changes while enabled.
    toggle->SetEnabled(0);
    EXPECT_EQ(toggle->SetCheck(1), 0);
}

TEST_F(ButtonsTest, ColorButtonChecksOnPressAndKeepsItsColour) {
    auto* swatch = Make<Orvo::CColorButton>(L"CColorButton", 1, CRect(10, 10, 40, 40));
    ASSERT_NE(swatch, nullptr);
    EXPECT_EQ(swatch->GetColor(), Orvo::ColorRef(0xFFFFFF));
    swatch->SetColor(Orvo::ColorRef::FromRgb(255, 0, 0));
    EXPECT_EQ(swatch->GetColor().Red(), 255);
    Press(20, 20);
    EXPECT_EQ(swatch->GetCheck(), 1);
    EXPECT_EQ(m_dialog.Codes(), std::vector<UINT>{1});
    m_dialog.Mouse(WM_LBUTTONUP, 20, 20);
    EXPECT_EQ(m_dialog.Codes(), (std::vector<UINT>{1, 2}));
}

TEST_F(ButtonsTest, ColorButtonExShowsItsValueAndEditsItInPlace) {
    auto* card = m_dialog.Add<Orvo::ColorButtonEx>(1, CRect(10, 10, 80, 40), L"", 1, 1);
    card->SetValue(800);
    EXPECT_EQ(card->GetTitle(), L"800");
    EXPECT_EQ(card->GetValue(), 800);
    card->SetShowEdit(1);
    Click(20, 20);
    ASSERT_TRUE(card->IsEditShown());
    ::SetWindowTextW(card->GetEditWindow(), L"1600");
    EXPECT_EQ(card->GetValue(), 1600);
    card->HideEdit();
    EXPECT_FALSE(card->IsEditShown());
    EXPECT_EQ(card->GetTitle(), L"1600");
}

TEST_F(ButtonsTest, TimerButtonCountsTenSecondsAndSendsOneClickOnTheUiThread) {
    m_dialog.ShowWindow(SW_SHOWNA);
    auto* button = Make<Orvo::CTimerButton>(L"CTimerButton", 1, CRect(10, 10, 150, 40), L"Wait");
    ASSERT_NE(button, nullptr);
    ASSERT_NE(m_dialog.SetMTimer(10), 0u);
    button->SetRun(1);
    EXPECT_EQ(button->GetShownTitle(), L"Wait(10s)");
    g_now += 4500;
    PumpTicks(3);
    EXPECT_EQ(button->GetShownTitle(), L"Wait(6s)");
    EXPECT_TRUE(m_dialog.m_messages.empty());
    g_now += 5500;
    ASSERT_TRUE(PumpUntil([&] { return !m_dialog.m_messages.empty(); }));
    PumpTicks(5);
    EXPECT_EQ(m_dialog.CountOf(Orvo::kNotifyClicked), 1u);
    EXPECT_FALSE(button->IsRun());
    EXPECT_EQ(button->GetShownTitle(), L"Wait");
    for (DWORD thread : m_dialog.threads) {
        EXPECT_EQ(thread, ::GetCurrentThreadId());
    }
}

TEST_F(ButtonsTest, TimerButtonDoesNotStartWhileDisabled) {
    auto* button = Make<Orvo::CTimerButton>(L"CTimerButton", 1, CRect(10, 10, 150, 40), L"Wait");
    ASSERT_NE(button, nullptr);
    button->SetEnabled(0);
    button->SetRun(1);
    EXPECT_FALSE(button->IsRun());
}

TEST_F(ButtonsTest, LongPressRepeatsEvery300MsWhileHeldOnTheUiThread) {
    m_dialog.ShowWindow(SW_SHOWNA);
    auto* button = m_dialog.Add<Orvo::LongPressButton>(1, CRect(10, 10, 60, 40), L"+", 1, 1);
    ASSERT_NE(m_dialog.SetMTimer(10), 0u);
    Press(20, 20);
    EXPECT_EQ(m_dialog.Codes(), std::vector<UINT>{1});
    struct Step {
        ULONGLONG advance;
        size_t repeats;  // repeats seen after the step
    };
    // Exactly 300 ms is not more than 300 ms.
    const Step steps[] = {{100, 0}, {200, 0}, {1, 1}, {250, 1}, {60, 2}};
    for (const Step& step : steps) {
        g_now += step.advance;
        if (step.repeats > m_dialog.CountOf(Orvo::kNotifyLongPress)) {
            ASSERT_TRUE(PumpUntil(
                [&] { return m_dialog.CountOf(Orvo::kNotifyLongPress) >= step.repeats; }));
        }
        PumpTicks(3);
        EXPECT_EQ(m_dialog.CountOf(Orvo::kNotifyLongPress), step.repeats) << step.advance;
    }
    m_dialog.Mouse(WM_LBUTTONUP, 20, 20);
    g_now += 1000;
    PumpTicks(3);
    EXPECT_EQ(m_dialog.CountOf(Orvo::kNotifyLongPress), 2u);
    EXPECT_EQ(m_dialog.CountOf(Orvo::kNotifyClicked), 1u);
    for (DWORD thread : m_dialog.threads) {
        EXPECT_EQ(thread, ::GetCurrentThreadId());
    }
    (void)button;
}

TEST_F(ButtonsTest, PanelMadeGroupMembersResetOnlyTheirPanelsMembers) {
    auto* panel = static_cast<Orvo::MPanel*>(m_dialog.GetPaintManager()->AddControl(
        std::make_unique<Orvo::MPanel>(&m_dialog, 50, CRect(0, 0, 400, 200), 1)));
    auto* left = dynamic_cast<Orvo::MButton2*>(
        panel->CreateControl(L"MButton2", 1, CRect(10, 10, 60, 40), L"", 1, 1));
    auto* right = dynamic_cast<Orvo::MButton2*>(
        panel->CreateControl(L"MButton2", 2, CRect(70, 10, 120, 40), L"", 1, 1));
    ASSERT_NE(left, nullptr);
    ASSERT_NE(right, nullptr);
    // A member of the same group outside the panel is another group's business.
    auto* outside = m_dialog.Add<Orvo::MButton2>(3, CRect(10, 250, 60, 280), 1, 1);
    outside->SetControlCheck(1);
    Click(20, 20);
    EXPECT_EQ(left->GetCheck(), 1);
    Click(80, 20);
    EXPECT_EQ(left->GetCheck(), 0);
    EXPECT_EQ(right->GetCheck(), 1);
    EXPECT_EQ(outside->GetCheck(), 1);
}

TEST_F(ButtonsTest, HelpButtonHidesOnlyItsOwnBubble) {
    m_dialog.ShowWindow(SW_SHOWNA);
    auto* help = Make<Orvo::CHelpButton>(L"CHelpButton", 1, CRect(10, 10, 28, 28), L"Lift-off");
    ASSERT_NE(help, nullptr);
    m_dialog.Mouse(WM_MOUSEMOVE, 15, 15);
    Orvo::MAirBladder* bubble = m_dialog.GetPaintManager()->GetAirBladder();
    ASSERT_NE(bubble, nullptr);
    EXPECT_TRUE(bubble->IsWindowVisible());
    EXPECT_EQ(bubble->GetText(), L"Lift-off");
    POINT anchor = {10 + 20, 10};
    ::ClientToScreen(m_dialog.GetSafeHwnd(), &anchor);
    EXPECT_EQ(bubble->GetAnchor().x, anchor.x);
    EXPECT_EQ(bubble->GetAnchor().y, anchor.y);

    // Another owner shows the bubble: leaving the help button leaves it up.
    m_dialog.GetPaintManager()->SetAirBladderMsg(L"Other", POINT{400, 400}, 1, 3);
    m_dialog.GetPaintManager()->ShowAirBladder(1, 77);
    m_dialog.Mouse(WM_MOUSEMOVE, 300, 250);
    EXPECT_TRUE(bubble->IsWindowVisible());
    // Its own bubble goes when the pointer leaves.
    m_dialog.Mouse(WM_MOUSEMOVE, 15, 15);
    m_dialog.Mouse(WM_MOUSEMOVE, 300, 250);
    EXPECT_FALSE(bubble->IsWindowVisible());
}

TEST_F(ButtonsTest, ImageButtonBubbleSitsAtTheChosenEdge) {
    for (int mode : {1, 2}) {
        SCOPED_TRACE(mode);
        m_dialog.GetPaintManager()->ClearControls();
        auto* button =
            Make<Orvo::CImageButton>(L"CImageButton", 1, CRect(100, 100, 180, 130), L"Reset");
        ASSERT_NE(button, nullptr);
        button->SetAlrBladderMode(mode);
        m_dialog.Mouse(WM_MOUSEMOVE, 300, 250);
        m_dialog.Mouse(WM_MOUSEMOVE, 120, 110);
        Orvo::MAirBladder* bubble = m_dialog.GetPaintManager()->GetAirBladder();
        ASSERT_NE(bubble, nullptr);
        POINT anchor = {mode == 1 ? 180 : 100, 115};
        ::ClientToScreen(m_dialog.GetSafeHwnd(), &anchor);
        EXPECT_EQ(bubble->GetAnchor().x, anchor.x);
        EXPECT_EQ(bubble->GetAnchor().y, anchor.y);
        EXPECT_EQ(bubble->GetPlacement(), mode);
        m_dialog.Mouse(WM_MOUSEMOVE, 300, 250);
        EXPECT_FALSE(bubble->IsWindowVisible());
    }
}

TEST_F(ButtonsTest, DownloadButtonClampsItsProgress) {
    auto* button = m_dialog.Add<Orvo::DownloadButton>(1, CRect(10, 10, 150, 40), L"Get", 1, 1);
    for (const auto& [given, kept] : {std::pair{-5, 0}, {40, 40}, {250, 100}}) {
        button->SetDownloadProcess(given);
        EXPECT_EQ(button->GetDownloadProcess(), kept);
    }
}

}  // namespace
