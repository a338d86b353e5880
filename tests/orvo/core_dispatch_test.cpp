// The message table shared by dialogs and popups: a typed handler an application overrides
// takes effect, and what it leaves reaches the controls, the paint manager and the default
// procedure. Real windows, messages sent through the window procedure.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "core_test_support.h"
#include "orvo/dialog.h"
#include "orvo/popup_wnd.h"

namespace {

using Orvo::CRect;
using OrvoTest::RecordingControl;

// A window of class Base whose typed handlers answer with the values a case sets and note
// that they ran.
template <typename Base>
class Overriding : public Base {
public:
    LRESULT OnLButtonDown(UINT, POINT) override { return Note("lbuttondown"); }
    LRESULT OnMouseMove(UINT, POINT) override { return Note("mousemove"); }
    LRESULT OnKeyDown(UINT, UINT, UINT) override { return Note("keydown"); }
    LRESULT OnMouseWheel(UINT, short, POINT) override { return Note("mousewheel"); }
    LRESULT OnClose() override { return Note("close"); }
    LRESULT OnNcHitTest(POINT) override { return Note("nchittest"); }
    void OnTimer(UINT_PTR) override { Note("timer"); }

    HWND CreateHidden() {
        return Base::Create(nullptr, L"dispatch test", WS_POPUP, 0, CRect(30, 30, 230, 130));
    }
    RecordingControl* AddRecorder() {
        auto control = std::make_unique<RecordingControl>(this, 5, CRect(0, 0, 200, 100));
        RecordingControl* raw = control.get();
        Base::GetPaintManager()->AddControl(std::move(control));
        return raw;
    }
    LRESULT Send(UINT msg, WPARAM wParam, LPARAM lParam) {
        return ::SendMessageW(Base::GetSafeHwnd(), msg, wParam, lParam);
    }

    std::string handled;  // the handler that answers non-zero
    std::vector<std::string> ran;

private:
    LRESULT Note(const char* name) {
        ran.push_back(name);
        return handled == name ? 1 : 0;
    }
};

template <typename Base>
class DispatchTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { OrvoTest::StartGdiplus(); }
};

using Windows = ::testing::Types<Orvo::MDialog, Orvo::MPopupWnd>;
TYPED_TEST_SUITE(DispatchTest, Windows);

TYPED_TEST(DispatchTest, AHandlerThatTakesAMessageKeepsItFromTheControls) {
    struct Case {
        UINT msg;
        WPARAM wParam;
        LPARAM lParam;
        const char* handler;
        const char* controlSees;  // what the control records when the handler leaves it
    };
    const Case cases[] = {
        {WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20), "lbuttondown", "down"},
        {WM_KEYDOWN, 'A', 1, "keydown", "key"},
    };
    for (const Case& c : cases) {
        for (const bool takes : {false, true}) {
            SCOPED_TRACE(std::string(c.handler) + (takes ? " takes it" : " leaves it"));
            Overriding<TypeParam> window;
            ASSERT_NE(window.CreateHidden(), nullptr);
            RecordingControl* control = window.AddRecorder();
            control->SetTakesKeys(true);
            // The control becomes the hover control (keys go to it first).
            window.Send(WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
            control->ClearEvents();
            window.handled = takes ? c.handler : "";
            window.ran.clear();

            const LRESULT result = window.Send(c.msg, c.wParam, c.lParam);
            ASSERT_EQ(window.ran.size(), 1u);
            EXPECT_EQ(window.ran[0], c.handler);
            const std::vector<std::string> seen = control->Clicks();
            if (takes) {
                EXPECT_EQ(result, 1);
                EXPECT_TRUE(seen.empty());
            } else {
                ASSERT_EQ(seen.size(), 1u);
                EXPECT_EQ(seen[0], c.controlSees);
            }
            window.DestroyWindow();
        }
    }
}

TYPED_TEST(DispatchTest, OnCloseReturningOneKeepsTheWindowOpen) {
    for (const bool refuses : {false, true}) {
        Overriding<TypeParam> window;
        const HWND hwnd = window.CreateHidden();
        ASSERT_NE(hwnd, nullptr);
        window.handled = refuses ? "close" : "";
        window.Send(WM_CLOSE, 0, 0);
        EXPECT_EQ(::IsWindow(hwnd) != FALSE, refuses);
        EXPECT_EQ(window.ran, std::vector<std::string>{"close"});
        window.DestroyWindow();
    }
}

TYPED_TEST(DispatchTest, HandlersOnceOnlyForSubclassesNowRunAndLeaveTheDefault) {
    Overriding<TypeParam> window;
    const HWND hwnd = window.CreateHidden();
    ASSERT_NE(hwnd, nullptr);
    // Not handled: the default procedure answers the hit test (client area).
    POINT inside = {100, 60};
    EXPECT_EQ(window.Send(WM_NCHITTEST, 0, MAKELPARAM(inside.x, inside.y)), HTCLIENT);
    window.handled = "nchittest";
    EXPECT_EQ(window.Send(WM_NCHITTEST, 0, MAKELPARAM(inside.x, inside.y)), 1);
    window.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), MAKELPARAM(100, 60));
    EXPECT_EQ(window.ran, (std::vector<std::string>{"nchittest", "nchittest", "mousewheel"}));
    window.DestroyWindow();
}

TYPED_TEST(DispatchTest, TheWindowsOwnTimerHandlerNeverStarvesTheManagersTimers) {
    Overriding<TypeParam> window;
    ASSERT_NE(window.CreateHidden(), nullptr);
    RecordingControl* control = window.AddRecorder();
    Orvo::PaintManager* manager = window.GetPaintManager();
    control->SetRunTimer(1);
    ASSERT_TRUE(manager->SetTimer(control, 1, 1000));
    const UINT id = manager->GetTimerId(control, 1);
    ASSERT_NE(id, 0u);
    window.Send(WM_TIMER, id, 0);
    EXPECT_EQ(window.ran, std::vector<std::string>{"timer"});
    EXPECT_EQ(control->Ticks(), 1);
    window.DestroyWindow();
}

TEST(PopupDispatch, LosingActivationClosesThePopupButKeepsTheObject) {
    OrvoTest::StartGdiplus();
    Orvo::MPopupWnd popup;
    const HWND hwnd = popup.Create(nullptr, L"popup", WS_POPUP, 0, CRect(10, 10, 110, 60));
    ASSERT_NE(hwnd, nullptr);
    EXPECT_NE(popup.GetExStyle() & WS_EX_TOOLWINDOW, 0u);
    EXPECT_EQ(popup.GetStyle() & (WS_CAPTION | WS_THICKFRAME), 0u);
    ::SendMessageW(hwnd, WM_NCACTIVATE, TRUE, 0);
    OrvoTest::PumpMessages();
    EXPECT_TRUE(::IsWindow(hwnd));
    ::SendMessageW(hwnd, WM_NCACTIVATE, FALSE, 0);
    OrvoTest::PumpMessages();
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_EQ(popup.GetSafeHwnd(), nullptr);
    EXPECT_FALSE(popup.GetPaintManager()->IsInitialized());
}

TEST(PopupDispatch, SendMessageToParentReachesTheParentsOnMessage) {
    OrvoTest::StartGdiplus();
    Orvo::MPopupWnd popup;
    EXPECT_EQ(popup.SendMessageToParent(2, 3, 4), 0);
    OrvoTest::TestDialog parent;
    popup.SetParent(&parent);
    EXPECT_EQ(popup.GetParent(), &parent);
    popup.SendMessageToParent(2, 3, 4);
    ASSERT_EQ(parent.m_messages.size(), 1u);
    EXPECT_EQ(parent.m_messages[0].controlId, 0u);
    EXPECT_EQ(parent.m_messages[0].code, 2u);
    EXPECT_EQ(parent.m_messages[0].wParam, 3u);
    EXPECT_EQ(parent.m_messages[0].lParam, 4);
}

}  // namespace
