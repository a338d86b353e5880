#include "app/device/clock.h"

#include <chrono>
#include <thread>

namespace tavik {

namespace {

class SteadyClock : public Clock {
public:
    uint64_t NowMs() override {
        auto sinceEpoch = std::chrono::steady_clock::now().time_since_epoch();
        return static_cast<uint64_t>(
            std::chrono::duration_cast<std::chrono::milliseconds>(sinceEpoch).count());
    }
    uint64_t NowUs() override {
        auto sinceEpoch = std::chrono::steady_clock::now().time_since_epoch();
        return static_cast<uint64_t>(
            std::chrono::duration_cast<std::chrono::microseconds>(sinceEpoch).count());
    }
    void SleepMs(int milliseconds) override {
        if (milliseconds > 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
        }
    }
};

}  // namespace

std::shared_ptr<Clock> SystemClock() {
    static const std::shared_ptr<Clock> clock = std::make_shared<SteadyClock>();
    return clock;
}

void VirtualClock::SleepMs(int milliseconds) {
    if (milliseconds > 0) {
        m_now += static_cast<uint64_t>(milliseconds);
        m_slept += static_cast<uint64_t>(milliseconds);
    }
}

}  // namespace tavik
