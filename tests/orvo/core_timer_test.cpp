// Multimedia timers and the animation tick, including controls deleted while it runs.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "core_test_support.h"
#include "orvo/mm_timer.h"
#include "orvo/paint_manager.h"

namespace {

using Orvo::CRect;
using OrvoTest::TestDialog;

// Waits (bounded) until done() holds.
template <typename Done>
bool WaitFor(Done done) {
    for (int i = 0; i < 400 && !done(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return done();
}

class CountingTimer : public Orvo::CMTimer {
public:
    void OnMTimer(UINT) override { ++ticks; }
    void OnMTimer(UINT, const std::wstring& name) override {
        if (name == L"app") {
            ++namedTicks;
        }
    }
    std::atomic<int> ticks{0};
    std::atomic<int> namedTicks{0};
};

TEST(CoreTimerTest, MultimediaTimersTickAndAreKilledByIdAndName) {
    CountingTimer timer;
    const UINT plain = timer.SetTimer(5, L"plain", 0);
    const UINT app = timer.SetTimer(5, L"app", 1);
    ASSERT_NE(plain, 0u);
    ASSERT_NE(app, 0u);
    EXPECT_TRUE(timer.GetTimerIsRun(plain));
    EXPECT_TRUE(timer.GetTimerIsRun(L"app"));
    EXPECT_EQ(timer.IsAppTimer(app), 1);
    EXPECT_EQ(timer.IsAppTimer(plain), 0);
    EXPECT_EQ(timer.GetTimerName(app), L"app");
    EXPECT_EQ(Orvo::CMTimer::GetMTimer(app), &timer);
    EXPECT_GE(Orvo::CMTimer::GetAccuracy(), 1u);

    EXPECT_TRUE(WaitFor([&] { return timer.ticks >= 4 && timer.namedTicks >= 2; }));

    EXPECT_EQ(timer.KillTimer(L"plain"), 1u);
    EXPECT_EQ(timer.KillTimer(app), 0u);
    EXPECT_EQ(timer.KillTimer(12345u), 0u);
    EXPECT_EQ(Orvo::CMTimer::GetMTimer(app), nullptr);
    const int after = timer.ticks;
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(timer.ticks, after);
}

// A control that notices a tick arriving while it is being deleted.
class TickingControl : public OrvoTest::RecordingControl {
public:
    TickingControl(Orvo::MObject* parent, UINT id, const RECT& rect, std::atomic<bool>* violated)
        : RecordingControl(parent, id, rect), m_violated(violated) {
        SetRunTimer(1);
    }
    ~TickingControl() override {
        m_deleting = true;
        // Long enough for several 1 ms ticks to try.
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    int OnControlTimer() override {
        if (m_deleting) {
            *m_violated = true;
        }
        return RecordingControl::OnControlTimer();
    }

private:
    std::atomic<bool> m_deleting{false};
    std::atomic<bool>* m_violated;  // not owned
};

class CoreAnimationTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { OrvoTest::StartGdiplus(); }
    std::atomic<bool> m_violated{false};
};

TEST_F(CoreAnimationTest, TickRunsVisibleRegisteredControlsOnly) {
    TestDialog dialog;
    ASSERT_NE(dialog.CreateAt(40, 40, 300, 200), nullptr);
    auto* shown = dialog.Add<TickingControl>(1, CRect(0, 0, 10, 10), &m_violated);
    auto* hidden = dialog.Add<TickingControl>(2, CRect(0, 0, 10, 10), &m_violated);
    auto* unregistered = dialog.Add<TickingControl>(3, CRect(0, 0, 10, 10), &m_violated);
    hidden->SetVisible(0);
    shown->AddMTimer();
    hidden->AddMTimer();
    ASSERT_NE(dialog.SetMTimer(1), 0u);
    EXPECT_TRUE(WaitFor([&] { return shown->Ticks() >= 3; }));
    EXPECT_EQ(hidden->Ticks(), 0);
    EXPECT_EQ(unregistered->Ticks(), 0);
    dialog.DestroyWindow();
    EXPECT_FALSE(m_violated);
}

TEST_F(CoreAnimationTest, ControlsLeaveTheTickBeforeTheyAreDeleted) {
    TestDialog dialog;
    ASSERT_NE(dialog.CreateAt(40, 40, 300, 200), nullptr);
    Orvo::PaintManager& manager = *dialog.GetPaintManager();
    ASSERT_NE(dialog.SetMTimer(1), 0u);

    // Removed alone.
    auto* removed = dialog.Add<TickingControl>(1, CRect(0, 0, 10, 10), &m_violated);
    removed->AddMTimer();
    ASSERT_TRUE(WaitFor([&] { return removed->Ticks() >= 2; }));
    EXPECT_TRUE(manager.RemoveControl(removed));

    // A ticking child inside a removed container.
    auto* container = dialog.Add(2, CRect(0, 0, 100, 100));
    auto* child = static_cast<TickingControl*>(container->AddControl(
        std::make_unique<TickingControl>(container, 21, CRect(0, 0, 10, 10), &m_violated)));
    child->AddMTimer();
    ASSERT_TRUE(WaitFor([&] { return child->Ticks() >= 2; }));
    EXPECT_TRUE(manager.RemoveControl(container));

    // Everything still ticking when the window goes (DestroyData).
    for (UINT id = 10; id < 14; ++id) {
        dialog.Add<TickingControl>(id, CRect(0, 0, 10, 10), &m_violated)->AddMTimer();
    }
    auto* last = static_cast<TickingControl*>(manager.GetControl(13));
    ASSERT_TRUE(WaitFor([&] { return last->Ticks() >= 2; }));
    dialog.DestroyWindow();
    EXPECT_FALSE(manager.IsInitialized());
    EXPECT_TRUE(manager.GetControls().empty());
    EXPECT_FALSE(m_violated);
}

TEST_F(CoreAnimationTest, ASecondTickReplacesTheFirstAndKillStopsIt) {
    TestDialog dialog;
    ASSERT_NE(dialog.CreateAt(40, 40, 300, 200), nullptr);
    auto* control = dialog.Add<TickingControl>(1, CRect(0, 0, 10, 10), &m_violated);
    control->AddMTimer();
    const UINT first = dialog.SetMTimer(1);
    const UINT second = dialog.SetMTimer(1);
    ASSERT_NE(second, 0u);
    EXPECT_FALSE(dialog.GetPaintManager()->GetTimerIsRun(first));
    ASSERT_TRUE(WaitFor([&] { return control->Ticks() >= 2; }));
    dialog.KillMTimer(second);
    const int stopped = control->Ticks();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(control->Ticks(), stopped);
    dialog.DestroyWindow();
}

}  // namespace
