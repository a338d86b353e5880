// Multimedia timers and the animation tick: ticks run on the UI thread, pause when nothing
// animates or the window is hidden, and never reach a control being deleted.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "core_test_support.h"
#include "orvo/mm_timer.h"
#include "orvo/paint_manager.h"

namespace {

using Orvo::CRect;
using OrvoTest::TestDialog;

// Waits (bounded) until done() holds, delivering this thread's messages meanwhile: the
// animation tick arrives as one.
template <typename Done>
bool WaitFor(Done done) {
    for (int i = 0; i < 400 && !done(); ++i) {
        OrvoTest::PumpMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    OrvoTest::PumpMessages();
    return done();
}

// Delivers messages for a while, so that ticks that should not come have had their chance.
void PumpFor(int milliseconds) {
    for (int waited = 0; waited < milliseconds; waited += 5) {
        OrvoTest::PumpMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    OrvoTest::PumpMessages();
}

constexpr DWORD kShownPopup = WS_POPUP | WS_VISIBLE;

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
    ASSERT_NE(dialog.CreateAt(40, 40, 300, 200, kShownPopup), nullptr);
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
    ASSERT_NE(dialog.CreateAt(40, 40, 300, 200, kShownPopup), nullptr);
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
    ASSERT_NE(dialog.CreateAt(40, 40, 300, 200, kShownPopup), nullptr);
    auto* control = dialog.Add<TickingControl>(1, CRect(0, 0, 10, 10), &m_violated);
    control->AddMTimer();
    const UINT first = dialog.SetMTimer(1);
    const UINT second = dialog.SetMTimer(1);
    ASSERT_NE(second, 0u);
    EXPECT_FALSE(dialog.GetPaintManager()->GetTimerIsRun(first));
    ASSERT_TRUE(WaitFor([&] { return control->Ticks() >= 2; }));
    dialog.KillMTimer(second);
    const int stopped = control->Ticks();
    PumpFor(30);
    EXPECT_EQ(control->Ticks(), stopped);
    EXPECT_FALSE(dialog.GetPaintManager()->IsAnimationTickRunning());
    dialog.DestroyWindow();
}

// Records the thread of every tick, notification and repaint that reaches it.
class ThreadRecordingControl : public OrvoTest::RecordingControl {
public:
    ThreadRecordingControl(Orvo::MObject* parent, UINT id, const RECT& rect,
                           std::vector<DWORD>* threads)
        : RecordingControl(parent, id, rect), m_threads(threads) {
        SetRunTimer(1);
    }
    int OnControlTimer() override {
        m_threads->push_back(::GetCurrentThreadId());
        // A notification raised on the tick, as long-press repeat does.
        SendMessageW(Orvo::kNotifyLongPress);
        return RecordingControl::OnControlTimer();
    }
    void SetUpdate(int valid, Orvo::ColorRef colour) override {
        if (!valid) {
            m_threads->push_back(::GetCurrentThreadId());
        }
        RecordingControl::SetUpdate(valid, colour);
    }

private:
    std::vector<DWORD>* m_threads;  // not owned
};

class ThreadRecordingDialog : public TestDialog {
public:
    long OnMessage(UINT controlId, UINT code, WPARAM wParam, LPARAM lParam) override {
        m_threads.push_back(::GetCurrentThreadId());
        return TestDialog::OnMessage(controlId, code, wParam, lParam);
    }
    std::vector<DWORD> m_threads;
};

TEST_F(CoreAnimationTest, TicksNotificationsAndRepaintsFromAWorkerRunOnTheUiThread) {
    ThreadRecordingDialog dialog;
    ASSERT_NE(dialog.CreateAt(40, 40, 300, 200, kShownPopup), nullptr);
    std::vector<DWORD> controlThreads;
    auto* ticking = dialog.Add<ThreadRecordingControl>(1, CRect(0, 0, 10, 10), &controlThreads);
    auto* timed = dialog.Add<ThreadRecordingControl>(2, CRect(20, 0, 30, 10), &controlThreads);
    ticking->AddMTimer();
    ASSERT_NE(dialog.SetMTimer(1), 0u);
    // A per-control window timer drives the other one.
    ASSERT_TRUE(dialog.GetPaintManager()->SetTimer(timed, 7, 1));
    // A worker asks both for a repaint, as device-list setters do.
    std::thread worker([&] {
        ticking->UpdateControl();
        timed->UpdateControl();
    });
    worker.join();
    ASSERT_TRUE(WaitFor([&] { return ticking->Ticks() >= 5 && timed->Ticks() >= 2; }));
    dialog.GetPaintManager()->KillTimer(timed);
    dialog.GetPaintManager()->KillMTimer();
    dialog.DestroyWindow();

    const DWORD ui = ::GetCurrentThreadId();
    ASSERT_FALSE(controlThreads.empty());
    ASSERT_FALSE(dialog.m_threads.empty());
    for (DWORD thread : controlThreads) {
        EXPECT_EQ(thread, ui);
    }
    for (DWORD thread : dialog.m_threads) {
        EXPECT_EQ(thread, ui);
    }
}

// Animates a given number of ticks, then stops asking for them.
class FiniteAnimation : public OrvoTest::RecordingControl {
public:
    FiniteAnimation(Orvo::MObject* parent, UINT id, const RECT& rect)
        : RecordingControl(parent, id, rect) {}
    void Animate(int ticks) {
        m_left = ticks;
        SetRunTimer(1);
    }
    int OnControlTimer() override {
        RecordingControl::OnControlTimer();
        if (--m_left <= 0) {
            SetRunTimer(0);
        }
        return 1;
    }

private:
    int m_left = 0;
};

TEST_F(CoreAnimationTest, TickStopsWhenNothingAnimatesAndWhileTheWindowIsHidden) {
    TestDialog dialog;
    ASSERT_NE(dialog.CreateAt(40, 40, 300, 200, kShownPopup), nullptr);
    Orvo::PaintManager& manager = *dialog.GetPaintManager();
    auto* control = dialog.Add<FiniteAnimation>(1, CRect(0, 0, 10, 10));
    control->AddMTimer();
    ASSERT_NE(dialog.SetMTimer(1), 0u);

    // Nothing runs a timer: the first tick finds nothing to do and the timer pauses.
    ASSERT_TRUE(WaitFor([&] { return !manager.IsAnimationTickRunning(); }));
    EXPECT_EQ(control->Ticks(), 0);

    control->Animate(3);
    EXPECT_TRUE(manager.IsAnimationTickRunning());
    ASSERT_TRUE(WaitFor([&] { return !manager.IsAnimationTickRunning(); }));
    EXPECT_EQ(control->Ticks(), 3);
    const unsigned long long ticksRun = manager.GetTicksRun();
    PumpFor(40);
    EXPECT_EQ(manager.GetTicksRun(), ticksRun);

    // Hidden (the program resting in the tray): the tick pauses although the control
    // still animates, and showing the window resumes it.
    control->Animate(1000000);
    ::ShowWindow(dialog.GetSafeHwnd(), SW_HIDE);
    ASSERT_TRUE(WaitFor([&] { return !manager.IsAnimationTickRunning(); }));
    const int hiddenTicks = control->Ticks();
    PumpFor(40);
    EXPECT_EQ(control->Ticks(), hiddenTicks);
    ::ShowWindow(dialog.GetSafeHwnd(), SW_SHOWNOACTIVATE);
    EXPECT_TRUE(manager.IsAnimationTickRunning());
    EXPECT_TRUE(WaitFor([&] { return control->Ticks() > hiddenTicks + 2; }));

    // A hidden page holding the animated control pauses the tick too.
    control->SetVisible(0);
    ASSERT_TRUE(WaitFor([&] { return !manager.IsAnimationTickRunning(); }));
    control->SetVisible(1);
    EXPECT_TRUE(manager.IsAnimationTickRunning());
    dialog.DestroyWindow();
}

}  // namespace
