#include "app/device/thread_basic.h"

#include <chrono>

namespace tavik {

namespace {

// The stop request of the CThreadBasic running on this thread, if any.
thread_local const std::atomic<bool>* t_stopRequested = nullptr;

}  // namespace

bool CurrentThreadStopRequested() {
    return t_stopRequested != nullptr && t_stopRequested->load();
}

ScopedTimerResolution::ScopedTimerResolution(const TimerResolutionHooks& hooks, int milliseconds)
    : m_hooks(hooks), m_milliseconds(milliseconds) {
    if (m_hooks.raise) {
        m_hooks.raise(m_milliseconds);
    }
}

ScopedTimerResolution::~ScopedTimerResolution() {
    if (m_hooks.restore) {
        m_hooks.restore(m_milliseconds);
    }
}

CThreadBasic::CThreadBasic(std::shared_ptr<Clock> clock)
    : m_clock(clock ? std::move(clock) : SystemClock()) {}

CThreadBasic::~CThreadBasic() {
    // Derived classes stop the thread in their own destructors; this only catches a thread
    // that was never started by one of them or already stopped, and joins nothing otherwise.
    Stop();
}

bool CThreadBasic::Start(bool loopMode, int intervalMs) {
    std::lock_guard<std::mutex> guard(m_signalLock);
    if (m_thread.joinable()) {
        if (!m_done) {
            return false;
        }
        // The previous thread has ended on its own (a single pass, or a stop it did itself).
        m_thread.join();
    }
    m_loopMode = loopMode;
    m_intervalMs = intervalMs < 0 ? kUntilWokenUp : intervalMs;
    m_done = false;
    m_wakeRequested = false;
    m_startTick = static_cast<uint32_t>(m_clock->NowMs());
    m_stopRequested = false;
    m_running = true;
    m_thread = std::thread(&CThreadBasic::ThreadMain, this);
    return true;
}

bool CThreadBasic::Stop() {
    std::thread worker;
    {
        std::lock_guard<std::mutex> guard(m_signalLock);
        m_stopRequested = true;
        m_running = false;
        m_signal.notify_all();
        if (!m_thread.joinable()) {
            return true;
        }
        if (m_thread.get_id() == std::this_thread::get_id()) {
            return false;
        }
        worker = std::move(m_thread);
    }
    // The thread is awake and leaves its loop after the pass it is in: the longest wait is
    // one device command still waiting for its reply, which the HID layer bounds.
    worker.join();
    return true;
}

void CThreadBasic::WakeUp() {
    std::lock_guard<std::mutex> guard(m_signalLock);
    m_wakeRequested = true;
    m_signal.notify_all();
}

bool CThreadBasic::IsDone() const {
    std::lock_guard<std::mutex> guard(m_signalLock);
    return m_done;
}

bool CThreadBasic::WaitDone(int milliseconds) {
    std::unique_lock<std::mutex> lock(m_signalLock);
    return m_signal.wait_for(lock, std::chrono::milliseconds(milliseconds < 0 ? 0 : milliseconds),
                             [this] { return m_done; });
}

void CThreadBasic::SetTimerResolutionHooks(TimerResolutionHooks hooks) {
    m_timerHooks = std::move(hooks);
}

bool CThreadBasic::SleepsInRealTime() const {
    return m_clock->IsRealTime();
}

bool CThreadBasic::SleepMs(int milliseconds) {
    if (m_stopRequested) {
        return false;
    }
    if (SleepsInRealTime()) {
        std::unique_lock<std::mutex> lock(m_signalLock);
        m_signal.wait_for(lock, std::chrono::milliseconds(milliseconds < 0 ? 0 : milliseconds),
                          [this] { return m_stopRequested.load(); });
    } else {
        // Virtual time passes at once; nothing waits that a stop would need to cut short.
        m_clock->SleepMs(milliseconds);
    }
    return !m_stopRequested.load();
}

void CThreadBasic::PauseBetweenPasses() {
    if (m_intervalMs == kUntilWokenUp) {
        // Idle costs nothing: no timer, no raised timer resolution.
        std::unique_lock<std::mutex> lock(m_signalLock);
        m_signal.wait(lock, [this] { return m_stopRequested.load() || m_wakeRequested; });
        m_wakeRequested = false;
        return;
    }
    ScopedTimerResolution resolution(m_timerHooks, m_intervalMs);
    if (SleepsInRealTime()) {
        std::unique_lock<std::mutex> lock(m_signalLock);
        m_signal.wait_for(lock, std::chrono::milliseconds(m_intervalMs),
                          [this] { return m_stopRequested.load() || m_wakeRequested; });
        m_wakeRequested = false;
    } else {
        m_clock->SleepMs(m_intervalMs);
        // On virtual time the loop would otherwise never give the processor away.
        std::this_thread::yield();
    }
}

void CThreadBasic::ThreadMain() {
    t_stopRequested = &m_stopRequested;
    if (!m_loopMode) {
        ++m_passes;
        run();
    } else {
        while (m_running.load()) {
            ++m_passes;
            run();
            if (!m_running.load()) {
                break;
            }
            PauseBetweenPasses();
        }
    }
    std::lock_guard<std::mutex> guard(m_signalLock);
    m_running = false;
    m_done = true;
    m_signal.notify_all();
}

}  // namespace tavik
