// The DPI slider's drag that follows the real pointer outside the control: it moves the
// system cursor, so the test runs alone.
#include <gtest/gtest.h>

#include <windows.h>

#include "core_test_support.h"
#include "orvo/dpi_slider.h"
#include "orvo/paint_manager.h"

namespace {

using Orvo::CRect;

class ThreadNotingDialog : public OrvoTest::TestDialog {
public:
    long OnMessage(UINT controlId, UINT code, WPARAM wParam, LPARAM lParam) override {
        m_threads.push_back(::GetCurrentThreadId());
        return TestDialog::OnMessage(controlId, code, wParam, lParam);
    }
    std::vector<DWORD> m_threads;
};

TEST(DpiSliderPointerTest, HeldThumbFollowsThePointerPastTheEndOnTheTickAndTellsTheUiThread) {
    OrvoTest::StartGdiplus();
    ThreadNotingDialog dialog;
    ASSERT_NE(dialog.CreateAt(30, 30, 940, 120), nullptr);
    dialog.ShowWindow(SW_SHOWNA);
    auto* slider = static_cast<Orvo::DPISlider*>(
        dialog.CreateControl(L"DPISlider", 104, CRect(10, 10, 915, 80), L"", 1, 1));
    ASSERT_NE(slider, nullptr);
    slider->AddMTimer();
    ASSERT_NE(0u, dialog.SetMTimer(10));
    OrvoTest::PumpMessages();
    EXPECT_FALSE(dialog.GetPaintManager()->IsAnimationTickRunning())
        << "a slider at rest asks for no ticks";

    const POINT grip = slider->GetThumbRect().CenterPoint();
    dialog.Mouse(WM_MOUSEMOVE, grip.x, grip.y);
    dialog.Mouse(WM_LBUTTONDOWN, grip.x, grip.y, MK_LBUTTON);
    // The pointer leaves the window without a move message: only the tick sees it.
    POINT beyond = {960, grip.y};
    ::ClientToScreen(dialog.GetSafeHwnd(), &beyond);
    ::SetCursorPos(beyond.x, beyond.y);

    const ULONGLONG deadline = ::GetTickCount64() + 10000;
    while (slider->GetProgress() != 240 && ::GetTickCount64() < deadline) {
        MSG msg;
        if (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
            ::DispatchMessageW(&msg);
        }
    }
    EXPECT_EQ(240, slider->GetProgress());
    ASSERT_FALSE(dialog.m_messages.empty());
    EXPECT_EQ(Orvo::kNotifyScroll, dialog.m_messages.back().code);
    EXPECT_EQ(240u, dialog.m_messages.back().wParam);
    for (const DWORD thread : dialog.m_threads) {
        EXPECT_EQ(::GetCurrentThreadId(), thread);
    }

    dialog.Mouse(WM_LBUTTONUP, 960, grip.y);
    EXPECT_EQ(0, slider->IsRunTimer()) << "the release ends the slider's ticks";
    dialog.DestroyWindow();
}

}  // namespace
