#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "app/device/clock.h"

namespace tavik {

// Raises and restores the system timer resolution around the worker's pauses, so that a
// 2 ms sleep lasts 2 ms and not a whole scheduler tick. The Windows frame installs the
// multimedia-timer calls; where sleeps are already fine-grained the hooks stay empty.
struct TimerResolutionHooks {
    std::function<void(int milliseconds)> raise;
    std::function<void(int milliseconds)> restore;
};

// Holds a raised timer resolution for its own lifetime.
class ScopedTimerResolution {
public:
    ScopedTimerResolution(const TimerResolutionHooks& hooks, int milliseconds);
    ~ScopedTimerResolution();
    ScopedTimerResolution(const ScopedTimerResolution&) = delete;
    ScopedTimerResolution& operator=(const ScopedTimerResolution&) = delete;

private:
    const TimerResolutionHooks& m_hooks;
    int m_milliseconds;
};

// True on the thread of a CThreadBasic whose owner has asked it to stop; false on every
// other thread. Waits deep inside the device link (a command waiting for its reply, a probe)
// look at it so that a stop is never held up by the device.
bool CurrentThreadStopRequested();

// A worker thread that calls `run` again and again (loop mode) or once, with a pause of
// `interval` milliseconds between calls. The owner starts it with Start and ends it with
// Stop; every pause the worker takes through SleepMs ends as soon as Stop is called, and Stop
// joins the thread, so when it returns nothing of the worker runs any more.
//
// A class deriving from this one must call Stop in its own destructor: once the derived
// part is gone the thread must not call `run` again.
class CThreadBasic {
public:
    static constexpr int kDefaultIntervalMs = 2;
    // As the interval: no timed pause at all, the thread sleeps until WakeUp or Stop.
    static constexpr int kUntilWokenUp = -1;

    explicit CThreadBasic(std::shared_ptr<Clock> clock = SystemClock());
    virtual ~CThreadBasic();
    CThreadBasic(const CThreadBasic&) = delete;
    CThreadBasic& operator=(const CThreadBasic&) = delete;

    // Starts the thread; false when it is already running.
    bool Start(bool loopMode = true, int intervalMs = kDefaultIntervalMs);
    // Clears running, wakes the thread out of any pause and waits for it to end: every wait
    // of the device link looks at the stop request, so this takes at most a few tens of
    // milliseconds. Called on the worker itself it only clears running (a thread cannot join
    // itself) and returns false. True when no worker thread is left.
    bool Stop();
    // Ends the current pause between two passes early (a job was queued), or the next one
    // when the thread is in a pass. A pause inside a pass is not cut short by this.
    void WakeUp();

    // The loop continues while this is set.
    bool IsRunning() const { return m_running.load(); }
    // The done event: set by the thread when its loop has ended.
    bool IsDone() const;
    // Waits up to `milliseconds` of real time for the done event.
    bool WaitDone(int milliseconds);
    bool LoopMode() const { return m_loopMode; }
    int Interval() const { return m_intervalMs; }
    // The clock's tick count when the thread was started.
    uint32_t StartTick() const { return m_startTick.load(); }
    // Calls of `run` so far (each one is a wake-up of the thread).
    uint64_t PassCount() const { return m_passes.load(); }

    void SetTimerResolutionHooks(TimerResolutionHooks hooks);
    const TimerResolutionHooks& TimerHooks() const { return m_timerHooks; }
    const std::shared_ptr<Clock>& GetClock() const { return m_clock; }

    // Sleeps on the worker's clock. Returns false, at once or as soon as Stop is called,
    // when the worker is stopping: the caller then abandons what it was doing.
    bool SleepMs(int milliseconds);
    bool StopRequested() const { return m_stopRequested.load(); }

protected:
    // One call of the worker's work, on the worker thread.
    virtual void run() = 0;

private:
    void ThreadMain();
    // The pause between two passes; ends early on WakeUp or Stop.
    void PauseBetweenPasses();
    // True when sleeps take real time and can therefore be cut short by a signal.
    bool SleepsInRealTime() const;

    std::shared_ptr<Clock> m_clock;
    TimerResolutionHooks m_timerHooks;  // set before Start, read by the thread
    std::atomic<bool> m_running{false};
    // Set by Stop, cleared by Start: sleeps end at once. Without a thread (a pass run by the
    // caller itself) it stays clear and sleeps last as long as asked.
    std::atomic<bool> m_stopRequested{false};
    bool m_loopMode = true;  // set by Start before the thread exists
    int m_intervalMs = kDefaultIntervalMs;
    std::atomic<uint32_t> m_startTick{0};
    std::atomic<uint64_t> m_passes{0};

    mutable std::mutex m_signalLock;  // guards m_done, m_wakeRequested, m_thread
    std::condition_variable m_signal;
    bool m_done = false;  // the done event: not set until a started loop has ended
    bool m_wakeRequested = false;
    std::thread m_thread;
};

}  // namespace tavik
