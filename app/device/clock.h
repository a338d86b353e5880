#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

namespace tavik {

// The fixed pauses of the device link (10 and 20 ms between reads, the simulator's round
// trip) go through this interface so that tests can run them on virtual time.
class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary start; only differences are meaningful.
    virtual uint64_t NowMs() = 0;
    // The same time in microseconds (the simulator's 1 ms frames need finer steps).
    virtual uint64_t NowUs() { return NowMs() * 1000; }
    virtual void SleepMs(int milliseconds) = 0;
    // False for virtual time, where a wait must go through SleepMs to let time pass at all;
    // true where a thread may simply block on a condition with a real time-out.
    virtual bool IsRealTime() const { return true; }
};

// The steady wall clock; sleeping really waits.
std::shared_ptr<Clock> SystemClock();

// Virtual time: sleeping advances the time at once and returns, so a test that waits out
// ten 100 ms time-outs takes no real time. Safe to share between threads.
class VirtualClock : public Clock {
public:
    uint64_t NowMs() override { return m_now.load(); }
    void SleepMs(int milliseconds) override;
    bool IsRealTime() const override { return false; }
    void AdvanceMs(uint64_t milliseconds) { m_now += milliseconds; }
    // Total time slept through this clock, to check that a caller waited as designed.
    uint64_t SleptMs() const { return m_slept.load(); }

private:
    std::atomic<uint64_t> m_now{0};
    std::atomic<uint64_t> m_slept{0};
};

}  // namespace tavik
