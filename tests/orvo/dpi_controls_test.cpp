// The DPI stage controls on a real dialog, driven through its window procedure.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <mutex>
#include <set>
#include <thread>

#include "core_test_support.h"
#include "thread_noting_dialog.h"
#include "orvo/dpi_slider.h"
#include "orvo/paint_manager.h"

namespace {

using Orvo::CRect;
using OrvoTest::TestDialog;
using OrvoTest::ThreadNotingDialog;

constexpr UINT kSliderId = 104;
const CRect kSliderRect(10, 10, 915, 80);

class DrawCountingSlider : public Orvo::DPISlider {
public:
    DrawCountingSlider(Orvo::MObject* parent, UINT id, const RECT& rect)
        : DPISlider(parent, id, rect, 1, 1) {}
    void DrawControl(HDC hdc, const RECT& rect) override {
        {
            std::lock_guard<std::mutex> guard(m_lock);
            m_threads.insert(::GetCurrentThreadId());
        }
        m_lastDrawnValue = GetProgress();
        DPISlider::DrawControl(hdc, rect);
    }
    std::set<DWORD> Threads() {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_threads;
    }
    std::atomic<int> m_lastDrawnValue{0};

private:
    std::mutex m_lock;  // guards m_threads
    std::set<DWORD> m_threads;
};

class DpiSliderTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { OrvoTest::StartGdiplus(); }
    void SetUp() override {
        ASSERT_NE(m_dialog.CreateAt(30, 30, 940, 120), nullptr);
        m_slider = static_cast<Orvo::DPISlider*>(
            m_dialog.CreateControl(L"DPISlider", kSliderId, kSliderRect, L"", 1, 1));
        ASSERT_NE(m_slider, nullptr);
    }
    void TearDown() override { m_dialog.DestroyWindow(); }

    // The x of the slider's thumb centre in dialog coordinates.
    int ThumbCentre() const { return m_slider->GetThumbRect().CenterPoint().x; }
    std::vector<WPARAM> ValuesOf(UINT code) const {
        std::vector<WPARAM> values;
        for (const auto& message : m_dialog.m_messages) {
            if (message.controlId == kSliderId && message.code == code) {
                values.push_back(message.wParam);
            }
        }
        return values;
    }

    ThreadNotingDialog m_dialog;
    Orvo::DPISlider* m_slider = nullptr;
};

TEST_F(DpiSliderTest, SetProgressStoresTheValueAndReturnsThePosition) {
    struct Case {
        int value;
        int returned;
        int progress;
    };
    // Defaults: minimum 1, maximum 240; the position is value - minimum.
    const Case cases[] = {
        {16, 15, 16},
        {1, 0, 1},
        // Below the minimum nothing changes.
        {0, 0, 1},
        {240, 239, 240},
        // Past the end the position is cut to the maximum, one past maximum - minimum.
        {5000, 240, 241},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.returned, m_slider->SetProgress(c.value)) << c.value;
        EXPECT_EQ(c.progress, m_slider->GetProgress()) << c.value;
    }
    // The position past the range keeps the thumb on the track.
    EXPECT_EQ(kSliderRect.left + Orvo::DPISlider::kTrackRight, ThumbCentre());
    EXPECT_TRUE(ValuesOf(Orvo::kNotifyScroll).empty()) << "SetProgress never notifies";
}

TEST_F(DpiSliderTest, DraggingTheThumbToTheRightEndSends8With240ThenReleaseSends2) {
    m_slider->SetProgress(16);
    const CRect thumb = m_slider->GetThumbRect();
    const POINT grip = thumb.CenterPoint();
    m_dialog.Mouse(WM_MOUSEMOVE, grip.x, grip.y);
    m_dialog.Mouse(WM_LBUTTONDOWN, grip.x, grip.y, MK_LBUTTON);
    m_dialog.Mouse(WM_MOUSEMOVE, 500, grip.y, MK_LBUTTON);
    // Past the control's right edge: the held thumb follows and stops at the end.
    m_dialog.Mouse(WM_MOUSEMOVE, 930, grip.y, MK_LBUTTON);
    m_dialog.Mouse(WM_LBUTTONUP, 930, grip.y);

    const std::vector<WPARAM> moved = ValuesOf(Orvo::kNotifyScroll);
    ASSERT_FALSE(moved.empty());
    EXPECT_EQ(240u, moved.back());
    EXPECT_EQ(240, m_slider->GetProgress());
    EXPECT_EQ(1u, ValuesOf(Orvo::kNotifyClicked).size());
    EXPECT_EQ(Orvo::kNotifyClicked, m_dialog.m_messages.back().code);
}

TEST_F(DpiSliderTest, PressBesideTheThumbJumpsThereAndTheWheelChangesNothing) {
    // Track x = 80 + 378 is the middle: position 239 * 378 / 756.
    const int x = kSliderRect.left + Orvo::DPISlider::kTrackLeft + 378;
    m_dialog.Mouse(WM_MOUSEMOVE, x, 40);
    m_dialog.Mouse(WM_LBUTTONDOWN, x, 40, MK_LBUTTON);
    m_dialog.Mouse(WM_LBUTTONUP, x, 40);
    EXPECT_EQ(1 + 239 * 378 / 756, m_slider->GetProgress());
    ASSERT_EQ(1u, ValuesOf(Orvo::kNotifyScroll).size());

    const int before = m_slider->GetProgress();
    const size_t messages = m_dialog.m_messages.size();
    POINT screen = {x, 40};
    ::ClientToScreen(m_dialog.GetSafeHwnd(), &screen);
    m_dialog.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-240)),
                  MAKELPARAM(screen.x, screen.y));
    m_dialog.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, 240), MAKELPARAM(screen.x, screen.y));
    EXPECT_EQ(before, m_slider->GetProgress());
    EXPECT_EQ(messages, m_dialog.m_messages.size());
}

TEST_F(DpiSliderTest, EmptyRangeKeepsTheThumbAtTheStartInsteadOfDividingByZero) {
    m_slider->SetMaxProgress(1);
    EXPECT_EQ(kSliderRect.left + Orvo::DPISlider::kTrackLeft, ThumbCentre());
    m_slider->MoveThumbPos(600, 40);
    EXPECT_EQ(1, m_slider->GetProgress());
    m_slider->SetMinProgress(5);
    EXPECT_EQ(kSliderRect.left + Orvo::DPISlider::kTrackLeft, ThumbCentre());
}

TEST(DpiSliderThreadTest, WorkerSetsTheValueWhileTheWindowPaintsAndTakesInput) {
    OrvoTest::StartGdiplus();
    ThreadNotingDialog dialog;
    ASSERT_NE(dialog.CreateAt(40, 40, 940, 120), nullptr);
    dialog.ShowWindow(SW_SHOWNA);
    auto* slider = dialog.Add<DrawCountingSlider>(kSliderId, kSliderRect);
    const DWORD uiThread = ::GetCurrentThreadId();
    OrvoTest::PumpMessages();
    ::UpdateWindow(dialog.GetSafeHwnd());

    constexpr int kLast = 230;
    std::atomic<bool> done{false};
    std::thread worker([&] {
        for (int round = 0; round < 40; ++round) {
            for (int value = 2; value <= kLast; value += 7) {
                slider->SetProgress(value);
            }
        }
        slider->SetProgress(kLast);
        done = true;
    });
    // Meanwhile the window paints and the user drags over the slider.
    int x = 100;
    while (!done) {
        dialog.Mouse(WM_MOUSEMOVE, x, 60);
        x = x >= 800 ? 100 : x + 13;
        ::InvalidateRect(dialog.GetSafeHwnd(), nullptr, FALSE);
        ::UpdateWindow(dialog.GetSafeHwnd());
        OrvoTest::PumpMessages();
    }
    worker.join();
    // The worker's last value is on screen: painted already, or the window still has it to
    // paint.
    ::UpdateWindow(dialog.GetSafeHwnd());
    EXPECT_EQ(kLast, slider->m_lastDrawnValue);
    EXPECT_EQ(kLast, slider->GetProgress());

    // Only the window's thread painted the slider or walked the dialog's lists for it.
    EXPECT_EQ(std::set<DWORD>{uiThread}, slider->Threads());
    for (const DWORD thread : dialog.Threads()) {
        EXPECT_EQ(uiThread, thread);
    }
    dialog.DestroyWindow();
}

}  // namespace
