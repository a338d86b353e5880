#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "app/device/job_queue.h"
#include "app/device/thread_basic.h"

namespace tavik {
namespace {

// Waits (in real time, bounded) until `done` holds; the bound only keeps a broken build
// from hanging the suite.
template <typename Predicate>
bool WaitUntil(Predicate done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// Counts its passes; optionally sleeps through the base class in each one.
class CountingThread : public CThreadBasic {
public:
    explicit CountingThread(std::shared_ptr<Clock> clock, int sleepMs = 0)
        : CThreadBasic(std::move(clock)), m_sleepMs(sleepMs) {}
    ~CountingThread() override { Stop(); }

    std::atomic<int> passes{0};
    std::atomic<bool> sleeping{false};
    std::atomic<int> sleepResults{0};  // 1 slept to the end, 2 cut short
    uint64_t sleptFor = 0;

protected:
    void run() override {
        ++passes;
        if (m_sleepMs > 0) {
            const uint64_t start = GetClock()->NowMs();
            sleeping = true;
            const bool completed = SleepMs(m_sleepMs);
            sleptFor = GetClock()->NowMs() - start;
            sleepResults = completed ? 1 : 2;
        }
    }

private:
    int m_sleepMs;
};

TEST(ThreadBasicTest, LoopModeRunsUntilStoppedAndSetsTheDoneEvent) {
    CountingThread thread(std::make_shared<VirtualClock>());
    EXPECT_FALSE(thread.IsDone());
    ASSERT_TRUE(thread.Start());
    EXPECT_FALSE(thread.Start()) << "a running thread is not started twice";
    EXPECT_TRUE(thread.IsRunning());
    EXPECT_EQ(thread.Interval(), 2);
    ASSERT_TRUE(WaitUntil([&] { return thread.passes.load() >= 3; }));
    EXPECT_TRUE(thread.Stop());
    EXPECT_TRUE(thread.IsDone());
    EXPECT_FALSE(thread.IsRunning());
    const int passes = thread.passes.load();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(thread.passes.load(), passes) << "no pass after Stop returned";
}

TEST(ThreadBasicTest, SinglePassModeRunsOnceAndCanBeStartedAgain) {
    CountingThread thread(std::make_shared<VirtualClock>());
    ASSERT_TRUE(thread.Start(false));
    ASSERT_TRUE(thread.WaitDone(20000));
    EXPECT_EQ(thread.passes.load(), 1);
    EXPECT_FALSE(thread.IsRunning());
    ASSERT_TRUE(thread.Start(false));
    ASSERT_TRUE(thread.WaitDone(20000));
    EXPECT_EQ(thread.passes.load(), 2);
}

TEST(ThreadBasicTest, StopWakesAWorkerOutOfItsSleepAndJoinsIt) {
    // A one-minute sleep in real time: Stop must cut it short, not wait for it.
    CountingThread thread(SystemClock(), 60000);
    ASSERT_TRUE(thread.Start());
    ASSERT_TRUE(WaitUntil([&] { return thread.sleeping.load(); }));
    EXPECT_TRUE(thread.Stop());
    EXPECT_TRUE(thread.IsDone()) << "Stop returns only once the thread has ended";
    EXPECT_EQ(thread.sleepResults.load(), 2) << "the sleep reports that the worker stops";
    EXPECT_LT(thread.sleptFor, 60000u);
    EXPECT_EQ(thread.passes.load(), 1);
}

TEST(ThreadBasicTest, SleepsRunOnTheClockAndWithoutAThreadLastAsLongAsAsked) {
    auto clock = std::make_shared<VirtualClock>();
    CountingThread thread(clock, 1000);
    // A pass run by the owner itself (no thread): the sleep is not cut short.
    EXPECT_TRUE(thread.SleepMs(1000));
    EXPECT_EQ(clock->SleptMs(), 1000u);
    thread.Stop();
    EXPECT_FALSE(thread.SleepMs(1000)) << "after a stop, sleeps end at once";
    EXPECT_EQ(clock->SleptMs(), 1000u);
}

TEST(ThreadBasicTest, TimerResolutionIsRaisedAndRestoredAroundEveryPause) {
    auto clock = std::make_shared<VirtualClock>();
    CountingThread thread(clock);
    std::mutex lock;
    std::vector<int> calls;  // +ms raised, -ms restored
    thread.SetTimerResolutionHooks({[&](int ms) {
                                        std::lock_guard<std::mutex> guard(lock);
                                        calls.push_back(ms);
                                    },
                                    [&](int ms) {
                                        std::lock_guard<std::mutex> guard(lock);
                                        calls.push_back(-ms);
                                    }});
    ASSERT_TRUE(thread.Start());
    ASSERT_TRUE(WaitUntil([&] { return thread.passes.load() >= 3; }));
    thread.Stop();
    std::lock_guard<std::mutex> guard(lock);
    ASSERT_GE(calls.size(), 2u);
    for (size_t i = 0; i + 1 < calls.size(); i += 2) {
        EXPECT_EQ(calls[i], 2);
        EXPECT_EQ(calls[i + 1], -2);
    }
    EXPECT_EQ(calls.size() % 2, 0u);
}

TEST(JobQueueTest, HandsOutJobsFirstInFirstOutAcrossThreads) {
    JobQueue queue;
    constexpr int kPerProducer = 2000;
    // Two producers tag their jobs; each one's jobs must come out in its own order while
    // a consumer takes jobs off at the same time.
    std::vector<int> taken;
    std::atomic<bool> producing{true};
    std::thread consumer([&] {
        int code = 0;
        while (producing.load() || !queue.Empty()) {
            if (queue.Pop(code)) {
                taken.push_back(code);
            }
        }
    });
    std::thread first([&] {
        for (int i = 0; i < kPerProducer; ++i) {
            queue.Push(100000 + i);
        }
    });
    std::thread second([&] {
        for (int i = 0; i < kPerProducer; ++i) {
            queue.Push(200000 + i);
        }
    });
    first.join();
    second.join();
    producing = false;
    consumer.join();

    ASSERT_EQ(taken.size(), static_cast<size_t>(2 * kPerProducer));
    int nextFirst = 100000;
    int nextSecond = 200000;
    for (int code : taken) {
        if (code < 200000) {
            EXPECT_EQ(code, nextFirst++);
        } else {
            EXPECT_EQ(code, nextSecond++);
        }
    }
    int code = 0;
    EXPECT_FALSE(queue.Pop(code));
}

TEST(JobQueueTest, SnapshotShowsTheQueueInOrderAndClearEmptiesIt) {
    JobQueue queue;
    queue.Push(12);
    queue.Push(10);
    queue.Push(12);
    EXPECT_EQ(queue.Snapshot(), (std::vector<int>{12, 10, 12}));
    EXPECT_EQ(queue.Size(), 3u);
    int code = 0;
    ASSERT_TRUE(queue.Pop(code));
    EXPECT_EQ(code, 12);
    queue.Clear();
    EXPECT_TRUE(queue.Empty());
}

}  // namespace
}  // namespace tavik
