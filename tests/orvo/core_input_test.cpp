// Input routing of the paint manager and the control base, driven by window messages sent to
// a real dialog.
#include <gtest/gtest.h>

#include <windows.h>

#include "core_test_support.h"
#include "orvo/paint_manager.h"

namespace {

using Orvo::CRect;
using OrvoTest::RecordingControl;
using OrvoTest::TestDialog;

class CoreInputTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { OrvoTest::StartGdiplus(); }
    void SetUp() override { ASSERT_NE(m_dialog.CreateAt(40, 40, 400, 300), nullptr); }
    void TearDown() override {
        ::SetKeyboardState(m_neutralKeys);
        m_dialog.DestroyWindow();
    }
    Orvo::PaintManager& Manager() { return *m_dialog.GetPaintManager(); }
    void HoldShift(bool down) {
        BYTE keys[256] = {};
        keys[VK_SHIFT] = down ? 0x80 : 0;
        ::SetKeyboardState(keys);
    }
    LRESULT Tab() {
        MSG msg = {m_dialog.GetSafeHwnd(), WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
        return m_dialog.PreTranslateMessage(&msg);
    }

    TestDialog m_dialog;
    BYTE m_neutralKeys[256] = {};
};

TEST_F(CoreInputTest, OverlappingControlsTheLaterOneIsHit) {
    RecordingControl* below = m_dialog.Add(1, CRect(10, 10, 110, 110));
    RecordingControl* above = m_dialog.Add(2, CRect(60, 60, 160, 160));

    m_dialog.Mouse(WM_MOUSEMOVE, 80, 80);
    EXPECT_EQ(Manager().GetHoverControl(), above);
    m_dialog.Mouse(WM_LBUTTONDOWN, 80, 80, MK_LBUTTON);
    m_dialog.Mouse(WM_LBUTTONUP, 80, 80);
    EXPECT_EQ(above->Clicks(), (std::vector<std::string>{"down", "up"}));
    EXPECT_TRUE(below->Clicks().empty());

    m_dialog.Mouse(WM_MOUSEMOVE, 20, 20);
    EXPECT_EQ(Manager().GetHoverControl(), below);
}

TEST_F(CoreInputTest, RepaintingTheEarlierControlRepaintsTheLaterOne) {
    RecordingControl* below = m_dialog.Add(1, CRect(10, 10, 110, 110));
    RecordingControl* above = m_dialog.Add(2, CRect(60, 60, 160, 160));
    RecordingControl* apart = m_dialog.Add(3, CRect(200, 10, 250, 60));
    // A hidden window keeps no update region.
    m_dialog.ShowWindow(SW_SHOWNA);
    const auto validateAll = [&] {
        for (RecordingControl* control : {below, above, apart}) {
            control->SetUpdate(1, Orvo::ColorRef());
        }
        ::ValidateRect(m_dialog.GetSafeHwnd(), nullptr);
    };

    validateAll();
    below->UpdateControl(TRUE);
    EXPECT_EQ(below->GetUpdate(), 0);
    EXPECT_EQ(above->GetUpdate(), 0);
    EXPECT_EQ(apart->GetUpdate(), 1);
    RECT dirty;
    ASSERT_TRUE(::GetUpdateRect(m_dialog.GetSafeHwnd(), &dirty, FALSE));
    EXPECT_EQ(CRect(dirty), CRect(10, 10, 160, 160));

    // The later control is on top: repainting it leaves the earlier one alone.
    validateAll();
    above->UpdateControl(TRUE);
    EXPECT_EQ(below->GetUpdate(), 1);
    EXPECT_EQ(above->GetUpdate(), 0);
}

TEST_F(CoreInputTest, PressThenReleaseOutsideGoesToThePressedControl) {
    RecordingControl* control = m_dialog.Add(1, CRect(10, 10, 60, 60));
    m_dialog.Mouse(WM_MOUSEMOVE, 20, 20);
    m_dialog.Mouse(WM_LBUTTONDOWN, 20, 20, MK_LBUTTON);
    EXPECT_TRUE(Manager().IsCaptured());
    m_dialog.Mouse(WM_MOUSEMOVE, 200, 200, MK_LBUTTON);
    m_dialog.Mouse(WM_LBUTTONUP, 200, 200);

    ASSERT_EQ(control->Clicks(), (std::vector<std::string>{"down", "up"}));
    EXPECT_EQ(control->Events().back().point.x, 200);
    EXPECT_EQ(Manager().GetHoverControl(), nullptr);
    EXPECT_FALSE(Manager().IsCaptured());
}

TEST_F(CoreInputTest, DoubleClickIsASecondPressUnlessTheControlHandlesIt) {
    struct Case {
        bool handlesDoubleClick;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {false, {"down", "up", "down", "up"}},
        {true, {"down", "up", "dblclk", "up"}},
    };
    UINT id = 1;
    for (const Case& test : cases) {
        RecordingControl* control = m_dialog.Add(id++, CRect(10, 10, 60, 60));
        control->SetHandlesDoubleClick(test.handlesDoubleClick);
        m_dialog.Mouse(WM_MOUSEMOVE, 20, 20);
        m_dialog.Mouse(WM_LBUTTONDOWN, 20, 20, MK_LBUTTON);
        m_dialog.Mouse(WM_LBUTTONUP, 20, 20);
        m_dialog.Mouse(WM_LBUTTONDBLCLK, 20, 20, MK_LBUTTON);
        m_dialog.Mouse(WM_LBUTTONUP, 20, 20);
        EXPECT_EQ(control->Clicks(), test.expected) << test.handlesDoubleClick;
        Manager().RemoveControl(control);
    }
}

TEST_F(CoreInputTest, NestedChildTakesPressAndReleaseOutsideAndSecondPress) {
    RecordingControl* container = m_dialog.Add(1, CRect(10, 10, 200, 200));
    auto* child = static_cast<RecordingControl*>(container->AddControl(
        std::make_unique<RecordingControl>(container, 11, CRect(20, 20, 60, 60))));
    EXPECT_EQ(child->GetManager(), &Manager());

    m_dialog.Mouse(WM_MOUSEMOVE, 30, 30);
    m_dialog.Mouse(WM_LBUTTONDOWN, 30, 30, MK_LBUTTON);
    m_dialog.Mouse(WM_LBUTTONUP, 300, 250);
    m_dialog.Mouse(WM_MOUSEMOVE, 30, 30);
    m_dialog.Mouse(WM_LBUTTONDBLCLK, 30, 30, MK_LBUTTON);
    EXPECT_EQ(child->Clicks(), (std::vector<std::string>{"down", "up", "down"}));
    EXPECT_TRUE(container->Clicks().empty());
    EXPECT_EQ(container->GetControl(11), child);
    EXPECT_EQ(m_dialog.GetControl(11), child);
}

TEST_F(CoreInputTest, InvisibleControlIsNeitherHitNorDrawn) {
    RecordingControl* hidden = m_dialog.Add(1, CRect(10, 10, 60, 60));
    hidden->SetVisible(0);
    m_dialog.Mouse(WM_MOUSEMOVE, 20, 20);
    m_dialog.Mouse(WM_LBUTTONDOWN, 20, 20, MK_LBUTTON);
    m_dialog.Mouse(WM_LBUTTONUP, 20, 20);
    EXPECT_TRUE(hidden->Events().empty());
    EXPECT_FALSE(hidden->OnLButtonDown(0, POINT{20, 20}));
    EXPECT_FALSE(hidden->OnScroll(1, 1, POINT{20, 20}));

    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 400, 300);
    HGDIOBJ previous = ::SelectObject(memory, bitmap);
    Manager().DrawControl(memory, CRect(0, 0, 400, 300));
    ::SelectObject(memory, previous);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    EXPECT_EQ(hidden->Draws(), 0);
}

TEST_F(CoreInputTest, TabCyclesThroughTabStopsAndIsEatenOnlyWhenFocusMoves) {
    RecordingControl* first = m_dialog.Add(1, CRect(10, 10, 50, 50));
    RecordingControl* plain = m_dialog.Add(2, CRect(60, 10, 100, 50));
    RecordingControl* hidden = m_dialog.Add(3, CRect(110, 10, 150, 50));
    RecordingControl* last = m_dialog.Add(4, CRect(160, 10, 200, 50));
    (void)plain;

    // No tab stop at all: the Tab is left to the window.
    EXPECT_EQ(Tab(), 0);
    EXPECT_EQ(Manager().GetFocusControl(), nullptr);

    first->SetTabStop(1);
    hidden->SetTabStop(1);
    hidden->SetVisible(0);
    last->SetTabStop(1);
    EXPECT_EQ(Tab(), 1);
    EXPECT_EQ(Manager().GetFocusControl(), first);
    EXPECT_EQ(first->IsFocused(), 1);
    EXPECT_EQ(Tab(), 1);
    EXPECT_EQ(Manager().GetFocusControl(), last);
    EXPECT_EQ(first->IsFocused(), 0);
    EXPECT_EQ(Tab(), 1);
    EXPECT_EQ(Manager().GetFocusControl(), first);

    HoldShift(true);
    EXPECT_EQ(Tab(), 1);
    EXPECT_EQ(Manager().GetFocusControl(), last);
    HoldShift(false);

    // The only tab stop left keeps the focus: nothing changes, the Tab is not eaten.
    first->SetTabStop(0);
    EXPECT_EQ(Tab(), 0);
    EXPECT_EQ(Manager().GetFocusControl(), last);
}

TEST_F(CoreInputTest, WheelScrollsWholeNotchesOnly) {
    RecordingControl* control = m_dialog.Add(1, CRect(10, 10, 110, 110));
    m_dialog.Mouse(WM_MOUSEMOVE, 50, 50);
    POINT screen = {50, 50};
    ::ClientToScreen(m_dialog.GetSafeHwnd(), &screen);
    const auto wheel = [&](short delta) {
        control->ClearEvents();
        m_dialog.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(delta)),
                      MAKELPARAM(screen.x, screen.y));
        return control->Clicks();
    };
    EXPECT_TRUE(wheel(60).empty());
    EXPECT_TRUE(wheel(-119).empty());
    EXPECT_EQ(wheel(-240), (std::vector<std::string>{"scroll-down", "scroll-down"}));
    EXPECT_EQ(wheel(120), (std::vector<std::string>{"scroll-up"}));
    EXPECT_EQ(control->Events().front().point.x, 50);

    // Not under the mouse: the control list is offered the step, but only a control under
    // the point takes it.
    control->ClearEvents();
    screen = POINT{300, 250};
    ::ClientToScreen(m_dialog.GetSafeHwnd(), &screen);
    m_dialog.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)),
                  MAKELPARAM(screen.x, screen.y));
    EXPECT_TRUE(control->Clicks().empty());
}

TEST_F(CoreInputTest, DeactivationReleasesTheHeldControlAtMinusOne) {
    RecordingControl* held = m_dialog.Add(1, CRect(10, 10, 60, 60));
    m_dialog.Mouse(WM_MOUSEMOVE, 20, 20);
    m_dialog.Mouse(WM_LBUTTONDOWN, 20, 20, MK_LBUTTON);
    held->ClearEvents();
    m_dialog.Send(WM_NCACTIVATE, FALSE, 0);
    ASSERT_EQ(held->Kinds(), (std::vector<std::string>{"up"}));
    EXPECT_EQ(held->Events()[0].point.x, -1);
    EXPECT_EQ(held->Events()[0].point.y, -1);
    EXPECT_EQ(Manager().GetHoverControl(), nullptr);
    EXPECT_FALSE(Manager().IsCaptured());

    // Without a held button the hover control only hears that the mouse went away.
    m_dialog.Mouse(WM_MOUSEMOVE, 20, 20);
    held->ClearEvents();
    m_dialog.Send(WM_NCACTIVATE, FALSE, 0);
    ASSERT_EQ(held->Kinds(), (std::vector<std::string>{"move"}));
    EXPECT_EQ(held->Events()[0].point.x, -1);
}

TEST_F(CoreInputTest, KeysGoToTheHoverControlThenTheList) {
    RecordingControl* first = m_dialog.Add(1, CRect(10, 10, 60, 60));
    RecordingControl* second = m_dialog.Add(2, CRect(100, 10, 160, 60));
    second->SetTakesKeys(true);
    m_dialog.Mouse(WM_MOUSEMOVE, 20, 20);
    m_dialog.Send(WM_KEYDOWN, 'A', 0);
    EXPECT_EQ(first->Clicks(), (std::vector<std::string>{"key", "key"}));
    EXPECT_EQ(second->Clicks(), (std::vector<std::string>{"key"}));

    // A hot key is taken by the base control itself.
    auto* hot = m_dialog.Add(3, CRect(200, 10, 260, 60));
    hot->SetHotKey(VK_F5, 0);
    EXPECT_TRUE(hot->Orvo::MControl::OnControlKeyDown(VK_F5, 1, 0));
    EXPECT_FALSE(hot->Orvo::MControl::OnControlKeyDown(VK_F5, 1, 0x11));
}

TEST_F(CoreInputTest, ControlNotificationsReachTheDialog) {
    RecordingControl* control = m_dialog.Add(7, CRect(10, 10, 60, 60));
    control->SendMessageW(Orvo::kNotifyClicked, 3, 4);
    ASSERT_EQ(m_dialog.m_messages.size(), 1u);
    EXPECT_EQ(m_dialog.m_messages[0].controlId, 7u);
    EXPECT_EQ(m_dialog.m_messages[0].code, 2u);
    EXPECT_EQ(m_dialog.m_messages[0].wParam, 3u);
    EXPECT_EQ(m_dialog.m_messages[0].lParam, 4);
    EXPECT_EQ(control->IsParentVisible(), 1);
}

TEST_F(CoreInputTest, PerControlTimerIdsStartAt17SkipReservedIdsAndWrap) {
    RecordingControl* control = m_dialog.Add(1, CRect(10, 10, 60, 60));
    constexpr UINT kNeverFires = 1000000;
    std::vector<UINT> ids;
    for (UINT key = 0; key < 221; ++key) {
        ASSERT_TRUE(Manager().SetTimer(control, key, kNeverFires)) << key;
        ids.push_back(Manager().GetTimerId(control, key));
    }
    EXPECT_EQ(ids.front(), 17u);
    EXPECT_EQ(ids[1], 18u);
    // 17 ... 239 without 66, 88 and 99 are 220 ids; the next wraps to 0.
    EXPECT_EQ(ids[219], 239u);
    EXPECT_EQ(ids[220], 0u);
    for (UINT id : ids) {
        EXPECT_TRUE(id != 66 && id != 88 && id != 99) << id;
    }

    // Running: refused. Stopped: restarted under the same id.
    EXPECT_FALSE(Manager().SetTimer(control, 5, kNeverFires));
    EXPECT_TRUE(Manager().KillTimer(control, 5));
    EXPECT_FALSE(Manager().KillTimer(control, 5));
    EXPECT_TRUE(Manager().SetTimer(control, 5, kNeverFires));
    EXPECT_EQ(Manager().GetTimerId(control, 5), ids[5]);

    // WM_TIMER with a control's id reaches the control; the reserved ids do not.
    m_dialog.Send(WM_TIMER, ids[3], 0);
    EXPECT_EQ(control->Ticks(), 1);
    m_dialog.Send(WM_TIMER, 66, 0);
    m_dialog.Send(WM_TIMER, 88, 0);
    EXPECT_EQ(control->Ticks(), 1);

    Manager().KillTimer(control);
    EXPECT_EQ(Manager().GetTimerId(control, 3), 0u);
}

// A container's own focus scan: it skips what cannot take the focus and wraps around.
TEST_F(CoreInputTest, ContainerFocusScanSkipsUnfocusableChildrenAndWraps) {
    RecordingControl* container = m_dialog.Add(1, CRect(0, 0, 300, 100));
    std::vector<RecordingControl*> children;
    for (UINT id = 10; id < 15; ++id) {
        children.push_back(static_cast<RecordingControl*>(container->AddControl(
            std::make_unique<RecordingControl>(container, id, CRect(0, 0, 10, 10)))));
        children.back()->SetTabStop(true);
    }
    children[1]->SetVisible(0);
    children[2]->SetEnabled(0);
    children[3]->SetTabStop(false);
    EXPECT_EQ(container->GetFocusControl(), nullptr);
    EXPECT_EQ(container->GetNextFocusableControl(), children[0]);
    EXPECT_EQ(container->GetPrevFocusableControl(), children[4]);
    children[0]->SetControlFocus(1);
    EXPECT_EQ(container->GetFocusControl(), children[0]);
    EXPECT_EQ(container->GetNextFocusableControl(), children[4]);
    children[0]->SetControlFocus(0);
    children[4]->SetControlFocus(1);
    EXPECT_EQ(container->GetNextFocusableControl(), children[0]);  // wrapped
    EXPECT_EQ(container->GetPrevFocusableControl(), children[0]);

    // The tooltip owner id lives in the manager, seen from every control.
    children[0]->SetTooltipCtrlID(12);
    EXPECT_EQ(children[4]->GetTooltipCtrlID(), 12u);
    EXPECT_EQ(Manager().GetTooltipCtrlID(), 12u);

    // Animating means what the argument says.
    children[0]->UpdateAControl(1);
    EXPECT_TRUE(children[0]->IsAnimating());
    children[0]->UpdateAControl(0);
    EXPECT_FALSE(children[0]->IsAnimating());
}

}  // namespace
