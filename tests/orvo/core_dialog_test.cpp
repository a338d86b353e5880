// Dialog creation, closing through message 1090, the modal loop, window wrappers and
// double-buffered painting, on real windows.
#include <gtest/gtest.h>

#include <windows.h>

#include "core_test_support.h"
#include "orvo/paint_manager.h"

namespace {

using Orvo::CRect;
using OrvoTest::RecordingControl;
using OrvoTest::TestDialog;

class CoreDialogTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { OrvoTest::StartGdiplus(); }
};

TEST_F(CoreDialogTest, CreatingTwiceKeepsTheFirstWindow) {
    TestDialog dialog;
    const HWND first = dialog.CreateAt(40, 40, 300, 200);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(dialog.CreateAt(60, 60, 100, 100), first);
    EXPECT_EQ(dialog.m_initUICalls, 1);
    EXPECT_TRUE(dialog.GetPaintManager()->IsInitialized());
    EXPECT_EQ(dialog.GetPaintManager()->GetPaintWnd(), first);
    // The created style is borderless whatever was asked for.
    EXPECT_EQ(dialog.GetStyle() & (WS_CAPTION | WS_THICKFRAME), 0u);
    EXPECT_EQ(dialog.GetPaintManager()->GetScrollVID(), 102u);
    EXPECT_EQ(dialog.GetPaintManager()->GetScrollHID(), 101u);
    dialog.DestroyWindow();
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
    EXPECT_FALSE(dialog.GetPaintManager()->IsInitialized());
}

TEST_F(CoreDialogTest, TinyClientAreaNeverGetsUISize) {
    TestDialog tiny;
    ASSERT_NE(tiny.CreateAt(40, 40, 1, 1), nullptr);
    EXPECT_EQ(tiny.m_uiSizeCalls, 0);
    tiny.DestroyWindow();

    TestDialog normal;
    ASSERT_NE(normal.CreateAt(40, 40, 300, 200), nullptr);
    normal.MoveWindow(40, 40, 320, 220);
    EXPECT_GE(normal.m_uiSizeCalls, 1);
    // After a resize the whole client area is the caption (dragging) area.
    EXPECT_EQ(normal.GetPaintManager()->GetCaptionRect(), CRect(0, 0, 320, 220));
    normal.DestroyWindow();
}

TEST_F(CoreDialogTest, ClassNamesAreExact) {
    TestDialog dialog;
    EXPECT_EQ(dialog.IsClass(L"MDialog"), 1);
    EXPECT_EQ(dialog.IsClass(L"mdialog"), 0);
    EXPECT_EQ(dialog.IsClass(nullptr), 0);
    RecordingControl control(&dialog, 1, CRect(0, 0, 1, 1));
    EXPECT_EQ(control.IsClass(L"RecordingControl"), 1);
}

// A dialog that notes whether its owner was disabled while it ran.
class OwnedDialog : public TestDialog {
public:
    LRESULT OnUserCloseWindow(WPARAM wParam, LPARAM lParam) override {
        ownerEnabledWhileModal = ::IsWindowEnabled(::GetWindow(GetSafeHwnd(), GW_OWNER)) != FALSE;
        return TestDialog::OnUserCloseWindow(wParam, lParam);
    }
    bool ownerEnabledWhileModal = true;
};

TEST_F(CoreDialogTest, DialogsCloseThroughMessage1090WithTheirResult) {
    struct Case {
        void (Orvo::MDialog::*close)();
        UINT result;
    };
    const Case cases[] = {
        {&Orvo::MDialog::DoOK, 1},  {&Orvo::MDialog::DoCancel, 2}, {&Orvo::MDialog::DoClose, 2},
        {&Orvo::MDialog::DoYes, 6}, {&Orvo::MDialog::DoNo, 7},
    };
    TestDialog owner;
    ASSERT_NE(owner.CreateAt(20, 20, 200, 100), nullptr);
    for (const Case& test : cases) {
        OwnedDialog dialog;
        ASSERT_NE(
            dialog.Create(owner.GetSafeHwnd(), L"modal", WS_POPUP, 0, CRect(60, 60, 260, 160)),
            nullptr);
        (dialog.*test.close)();
        EXPECT_EQ(dialog.ShowModal(SW_SHOWNA), test.result);
        EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
        EXPECT_FALSE(dialog.ownerEnabledWhileModal);
        EXPECT_TRUE(::IsWindowEnabled(owner.GetSafeHwnd()));
    }
    owner.DestroyWindow();
}

TEST_F(CoreDialogTest, SystemKeysNoControlTakesReachTheSystem) {
    // Alt+F4 as the keyboard delivers it: the system's close command ends the modal loop.
    constexpr LPARAM kAltDown = static_cast<LPARAM>(KF_ALTDOWN) << 16;
    TestDialog owner;
    ASSERT_NE(owner.CreateAt(20, 20, 200, 100), nullptr);
    TestDialog dialog;
    ASSERT_NE(dialog.Create(owner.GetSafeHwnd(), L"modal", WS_POPUP, 0, CRect(60, 60, 260, 160)),
              nullptr);
    ::PostMessageW(dialog.GetSafeHwnd(), WM_SYSKEYDOWN, VK_F4, kAltDown | 1);
    EXPECT_EQ(dialog.ShowModal(SW_SHOWNA), 0u);
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
    owner.DestroyWindow();
}

TEST_F(CoreDialogTest, QuitInsideTheModalLoopEndsItAndIsPostedAgain) {
    TestDialog owner;
    ASSERT_NE(owner.CreateAt(20, 20, 200, 100), nullptr);
    TestDialog dialog;
    ASSERT_NE(dialog.Create(owner.GetSafeHwnd(), L"modal", WS_POPUP, 0, CRect(60, 60, 260, 160)),
              nullptr);
    ::PostQuitMessage(5);
    EXPECT_EQ(dialog.ShowModal(SW_SHOWNA), 0u);
    EXPECT_TRUE(::IsWindowEnabled(owner.GetSafeHwnd()));
    MSG msg;
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 5u);
    dialog.DestroyWindow();
    owner.DestroyWindow();
}

TEST_F(CoreDialogTest, WrappersWithoutAWindowDoNothing) {
    TestDialog dialog;
    std::wstring text = L"left over";
    RECT rect = {1, 2, 3, 4};
    EXPECT_EQ(dialog.ShowModal(), static_cast<UINT>(-1));
    EXPECT_EQ(dialog.GetWindowTextLengthW(), -1);
    EXPECT_EQ(dialog.GetWindowTextW(text), 0);
    EXPECT_TRUE(text.empty());
    EXPECT_FALSE(dialog.GetClientRect(&rect));
    EXPECT_EQ(dialog.GetStyle(), 0u);
    EXPECT_FALSE(dialog.ModifyStyle(0, WS_VISIBLE));
    EXPECT_EQ(dialog.SendMessageW(WM_USER), 0);
    EXPECT_FALSE(dialog.PostMessageW(WM_USER));
}

TEST_F(CoreDialogTest, WindowWrappersAndStyles) {
    TestDialog dialog;
    ASSERT_NE(dialog.CreateAt(40, 40, 300, 200), nullptr);
    EXPECT_TRUE(dialog.SetWindowTextW(L"Tavik"));
    std::wstring text;
    EXPECT_EQ(dialog.GetWindowTextW(text), 5);
    EXPECT_EQ(text, L"Tavik");
    EXPECT_FALSE(dialog.ModifyExStyle(0, 0));
    EXPECT_TRUE(dialog.ModifyExStyle(0, WS_EX_TOOLWINDOW, SWP_FRAMECHANGED));
    EXPECT_NE(dialog.GetExStyle() & WS_EX_TOOLWINDOW, 0u);
    dialog.DestroyWindow();
}

TEST_F(CoreDialogTest, CenteringAWindowLargerThanTheWorkAreaKeepsItsTopLeftInside) {
    RECT work;
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    TestDialog dialog;
    ASSERT_NE(
        dialog.CreateAt(10, 10, (work.right - work.left) + 400, (work.bottom - work.top) + 300),
        nullptr);
    dialog.CenterWindow();
    RECT placed;
    dialog.GetWindowRect(&placed);
    EXPECT_EQ(placed.left, work.left);
    EXPECT_EQ(placed.top, work.top);
    dialog.DestroyWindow();
}

// Pixel (x, y) of the window as shown on screen, as 0x00RRGGBB.
DWORD ScreenPixel(HWND window, int x, int y) {
    HDC dc = ::GetDC(window);
    const COLORREF colour = ::GetPixel(dc, x, y);
    ::ReleaseDC(window, dc);
    return (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}

// Colours match within 2 per channel: the window's fill and border are drawn with alpha
// 254, which rounds a channel by one.
::testing::AssertionResult Near(DWORD actual, DWORD expected) {
    for (int shift = 0; shift <= 16; shift += 8) {
        const int a = static_cast<int>((actual >> shift) & 0xFF);
        const int e = static_cast<int>((expected >> shift) & 0xFF);
        if (a - e > 2 || e - a > 2) {
            return ::testing::AssertionFailure()
                   << std::hex << "0x" << actual << " is not near 0x" << expected;
        }
    }
    return ::testing::AssertionSuccess();
}

// Tests run in parallel processes on one screen: windows whose pixels are read back get a
// place of their own, above the others.
void ShowOnTop(TestDialog& dialog) {
    ::SetWindowPos(dialog.GetSafeHwnd(), HWND_TOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    dialog.ShowWindow(SW_SHOWNA);
}

TEST_F(CoreDialogTest, PaintsBorderFillAndControlsDoubleBuffered) {
    TestDialog dialog;
    ASSERT_NE(dialog.CreateAt(700, 560, 200, 120), nullptr);
    dialog.Add(1, CRect(20, 20, 80, 80), RGB(0, 0, 255));
    dialog.Add(2, CRect(50, 50, 120, 100), RGB(0, 255, 0));
    ShowOnTop(dialog);
    ::UpdateWindow(dialog.GetSafeHwnd());
    const HWND window = dialog.GetSafeHwnd();
    EXPECT_TRUE(Near(ScreenPixel(window, 0, 0), 0xFF4B00u));
    EXPECT_TRUE(Near(ScreenPixel(window, 199, 119), 0xFF4B00u));
    EXPECT_TRUE(Near(ScreenPixel(window, 5, 5), 0x060606u));
    EXPECT_EQ(ScreenPixel(window, 30, 30), 0x0000FFu);
    // The later control is drawn on top.
    EXPECT_EQ(ScreenPixel(window, 60, 60), 0x00FF00u);

    dialog.GetPaintManager()->SetBackColor(Orvo::ColorRef::FromRgb(0x33, 0x33, 0x33),
                                           Orvo::ColorRef::FromRgb(0x10, 0x20, 0x30));
    dialog.GetPaintManager()->Invalidate();
    ::UpdateWindow(window);
    EXPECT_TRUE(Near(ScreenPixel(window, 0, 0), 0x102030u));
    EXPECT_TRUE(Near(ScreenPixel(window, 150, 110), 0x333333u));
    dialog.DestroyWindow();
}

TEST_F(CoreDialogTest, OverlayMessageDrawsItsBoxAndText) {
    TestDialog dialog;
    ASSERT_NE(dialog.CreateAt(1000, 560, 300, 160), nullptr);
    ShowOnTop(dialog);
    dialog.SetMessage(L"WWWW MMMM", CRect(20, 20, 280, 140), 24);
    const HWND window = dialog.GetSafeHwnd();
    ::UpdateWindow(window);
    EXPECT_EQ(ScreenPixel(window, 30, 30), 0x141414u);
    // Text must really render: some pixels in the text band are bright.
    int bright = 0;
    for (int y = 60; y < 100; ++y) {
        for (int x = 40; x < 260; ++x) {
            const DWORD pixel = ScreenPixel(window, x, y);
            if (((pixel >> 16) & 0xFF) > 0xC0 && ((pixel >> 8) & 0xFF) > 0xC0) {
                ++bright;
            }
        }
    }
    EXPECT_GT(bright, 20);

    dialog.SetMessage(L"", CRect(), 16);
    ::UpdateWindow(window);
    EXPECT_TRUE(Near(ScreenPixel(window, 30, 30), 0x060606u));
    dialog.DestroyWindow();
}

TEST_F(CoreDialogTest, ProgressOverlayCountsUpAndFadesAway) {
    TestDialog dialog;
    ASSERT_NE(dialog.CreateAt(30, 30, 300, 160), nullptr);
    Orvo::PaintManager& manager = *dialog.GetPaintManager();
    manager.SetProgress(3, L"Downloading", CRect());
    EXPECT_EQ(manager.GetOverlayProgress(), 3);
    manager.SetProgress(50, L"Downloading", CRect());
    for (int step = 0; step < 40 && manager.GetOverlayProgress() < 50; ++step) {
        dialog.Send(WM_TIMER, Orvo::PaintManager::kOverlayProgressTimerId, 0);
    }
    EXPECT_EQ(manager.GetOverlayProgress(), 50);
    manager.SetProgress(100, L"Done", CRect());
    for (int step = 0; step < 40 && manager.GetOverlayProgress() < 100; ++step) {
        dialog.Send(WM_TIMER, Orvo::PaintManager::kOverlayProgressTimerId, 0);
    }
    for (int step = 0; step < 30 && !manager.GetOverlayText().empty(); ++step) {
        dialog.Send(WM_TIMER, Orvo::PaintManager::kOverlayFadeTimerId, 0);
    }
    EXPECT_TRUE(manager.GetOverlayText().empty());
    EXPECT_EQ(manager.GetOverlayProgress(), 0);
    dialog.DestroyWindow();
}

}  // namespace
