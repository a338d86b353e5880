// A slider dragged past its control goes on following the pointer through the animation
// tick; the codes it sends from the tick reach the dialog on the window's own thread. The
// test moves the system pointer, so it runs alone.
#include <gtest/gtest.h>

#include <windows.h>

#include <set>

#include "orvo/slider.h"
#include "values_test_support.h"

namespace {

using Orvo::CRect;

// Notes the thread of every notification.
class ThreadNotingDialog : public OrvoTest::TestDialog {
public:
    long OnMessage(UINT controlId, UINT code, WPARAM wParam, LPARAM lParam) override {
        m_threads.insert(::GetCurrentThreadId());
        return TestDialog::OnMessage(controlId, code, wParam, lParam);
    }
    std::set<DWORD> m_threads;
};

TEST(SliderTickTest, DragOutsideTheControlFollowsThePointerOnTheWindowsThread) {
    OrvoTest::StartGdiplus();
    ValuesTest::SkinPicture thumb(L"tick_thumb", 20, 20,
                                  {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF});
    ASSERT_TRUE(thumb.Saved());
    ThreadNotingDialog dialog;
    ASSERT_NE(dialog.CreateAt(100, 100, 500, 200), nullptr);
    ASSERT_NE(dialog.SetMTimer(10), 0u);
    dialog.ShowWindow(SW_SHOWNOACTIVATE);
    auto* slider = dynamic_cast<Orvo::MSlider*>(
        dialog.CreateControl(L"MSlider", 10, CRect(20, 20, 420, 50), L"", 1, 1));
    ASSERT_NE(slider, nullptr);
    ASSERT_EQ(slider->SetThumbImage(thumb.Name()), 1);
    OrvoTest::PumpMessages();

    // Pressed on the knob at value 0, the pointer then leaves the control to the right
    // without another message reaching the window: only the tick can follow it.
    dialog.Mouse(WM_MOUSEMOVE, 30, 35);
    dialog.Mouse(WM_LBUTTONDOWN, 30, 35, MK_LBUTTON);
    ASSERT_EQ(slider->GetMouseState(), 2);
    POINT restore{};
    ::GetCursorPos(&restore);
    POINT outside{460, 35};
    ::ClientToScreen(dialog.GetSafeHwnd(), &outside);
    ::SetCursorPos(outside.x, outside.y);
    const DWORD deadline = ::GetTickCount() + 5000;
    while (slider->GetProgress() != 10 && ::GetTickCount() < deadline) {
        MSG msg;
        if (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            // Pointer moves of the real cursor would follow the thumb too: only the tick may.
            if (msg.message == WM_MOUSEMOVE) {
                continue;
            }
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        } else {
            ::Sleep(5);
        }
    }
    EXPECT_EQ(slider->GetProgress(), 10) << "the tick did not follow the pointer";
    bool sentTen = false;
    for (const auto& message : dialog.m_messages) {
        sentTen = sentTen || (message.code == Orvo::kNotifyScroll && message.wParam == 10);
    }
    EXPECT_TRUE(sentTen);
    EXPECT_EQ(dialog.m_threads, std::set<DWORD>{::GetCurrentThreadId()});

    // Released, the slider stops asking for ticks.
    dialog.Mouse(WM_LBUTTONUP, 460, 35);
    EXPECT_EQ(slider->IsRunTimer(), 0);
    // Other tests photograph windows under the pointer: it goes back where it was.
    ::SetCursorPos(restore.x, restore.y);
    dialog.DestroyWindow();
}

}  // namespace
