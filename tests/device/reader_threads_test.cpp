// The device link on real time, as the program runs it: a reader thread per open interface,
// the worker asleep until a job, a notification or stop, and the simulator's blocking reads.
// Waits here are bounded only so that a broken build fails instead of hanging.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <future>
#include <mutex>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "app/device/job_queue.h"
#include "app/device/protocol_reports.h"
#include "tests/device/worker_fixture.h"

namespace tavik {
namespace {

using sim::SimDevice;

constexpr auto kBound = std::chrono::seconds(20);

template <typename Predicate>
bool WaitUntil(Predicate done) {
    const auto deadline = std::chrono::steady_clock::now() + kBound;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// Counts the reads in progress and finished on the vendor interfaces; optionally stretches
// the readers' time-out so that "before this read ends" does not depend on the machine's
// speed.
struct ReadWatch {
    std::atomic<int> inRead{0};
    std::atomic<int> readsEnded{0};
    std::atomic<int> stretchedTimeoutMs{0};
};

HidApi Watched(HidApi inner, std::shared_ptr<ReadWatch> watch) {
    HidApi api = inner;
    api.readTimeout = [inner, watch](hid_device* device, unsigned char* data, size_t length,
                                     int milliseconds) {
        // Reads of 100 ms are the readers' own; the drains read with no time-out.
        const bool readerRead = milliseconds >= 100;
        if (readerRead && watch->stretchedTimeoutMs > 0) {
            milliseconds = watch->stretchedTimeoutMs;
        }
        if (readerRead) {
            ++watch->inRead;
        }
        const int result = inner.readTimeout(device, data, length, milliseconds);
        if (readerRead) {
            --watch->inRead;
            ++watch->readsEnded;
        }
        return result;
    };
    return api;
}

class ReaderThreadsTest : public test::StoreTest {
protected:
    explicit ReaderThreadsTest(sim::SimulatorSetup setup = {})
        : m_simulator(std::make_unique<sim::DeviceSimulator>(setup, SystemClock())),
          m_watch(std::make_shared<ReadWatch>()),
          m_manager(Watched(m_simulator->Api(), m_watch), SystemClock()),
          m_worker(std::make_unique<DeviceWorker>(m_manager, m_database, m_window, m_computer,
                                                  m_preference, SystemClock())) {
        m_manager.AddSupportedId(sim::kVendorId, sim::kWiredMouseProductId, L"",
                                 sim::kMainDeviceType, sim::kWiredMode);
        m_manager.AddSupportedId(sim::kVendorId, sim::kReceiverProductId, L"", sim::kMainDeviceType,
                                 sim::kWirelessMode);
        m_manager.AddSupportedId(sim::kVendorId, sim::kSecondModelProductId, L"",
                                 sim::kSecondDeviceType, sim::kWiredMode);
        m_window.AddDeviceListItem(L"Tavik Mouse", sim::kMainDeviceType, L"");
        m_window.AddDeviceListItem(L"Tavik Mouse Lite", sim::kSecondDeviceType, L"");
        m_preference.WriteDeviceType(sim::kMainDeviceType);
        m_worker->Connection().SetDeviceRecords(test::SimulatedDeviceRecords());
        m_worker->SetJobObserver([this](int code, bool succeeded) {
            std::lock_guard<std::mutex> guard(m_lock);
            m_jobsRun.emplace_back(code, succeeded);
        });
        m_simulator->SetCommandObserver([this](const sim::ReceivedCommand& command) {
            std::lock_guard<std::mutex> guard(m_lock);
            m_commands.push_back(command);
        });
    }

    ~ReaderThreadsTest() override {
        m_worker.reset();
        m_manager.CloseAll();
    }

    // Start-up as the main window does it: the worker probes, then reads the mouse.
    void StartWorker() {
        ASSERT_TRUE(m_manager.UsesReaderThreads());
        m_worker->Connection().SetDataRead(false);
        m_worker->RequestRefreshDevices();
        m_worker->QueueJob(job::kFirstRead);
        ASSERT_TRUE(m_worker->StartWorker());
        ASSERT_TRUE(WaitUntil([this] { return JobRan(job::kFirstRead); }));
        ASSERT_TRUE(WaitUntil([this] { return JobRan(job::kSendMacros); }));
        std::lock_guard<std::mutex> guard(m_lock);
        m_jobsRun.clear();
        m_commands.clear();
    }

    // Observers that capture a test's locals must go before the locals do.
    void StopAndForgetObservers() {
        m_worker->StopWorker();
        m_simulator->SetCommandObserver(nullptr);
    }

    bool JobRan(int code) {
        std::lock_guard<std::mutex> guard(m_lock);
        for (const auto& [ran, succeeded] : m_jobsRun) {
            if (ran == code) {
                return true;
            }
        }
        return false;
    }

    std::vector<sim::ReceivedCommand> Commands() {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_commands;
    }

    int CommandsWith(unsigned char command) {
        int count = 0;
        for (const sim::ReceivedCommand& received : Commands()) {
            count += received.bytes[1] == command ? 1 : 0;
        }
        return count;
    }

    // Stores `count` macros of 28 key events: with 32 of them the image is 3,904 bytes,
    // 67 chunks.
    void StoreMacros(int count) {
        for (int macro = 0; macro < count; ++macro) {
            const int id = m_database.AddMacro(L"macro " + std::to_wstring(macro));
            std::vector<MacroEvent> events;
            for (int event = 0; event < 28; ++event) {
                MacroEvent record;
                record.macroId = id;
                record.type = event % 2 == 0 ? 2 : 3;
                record.recordIndex = event;
                record.value = 0x41 + (event / 2) % 26;
                record.delayTime = 10;
                events.push_back(record);
            }
            m_database.AddMacroEvents(events);
        }
    }

    std::unique_ptr<sim::DeviceSimulator> m_simulator;
    std::shared_ptr<ReadWatch> m_watch;
    HidDeviceManager m_manager;
    WindowEffectsRecorder m_window;
    ComputerFunctionsRecorder m_computer;
    MemoryDeviceTypePreference m_preference;
    std::mutex m_lock;  // guards m_jobsRun, m_commands
    std::vector<std::pair<int, bool>> m_jobsRun;
    std::vector<sim::ReceivedCommand> m_commands;
    std::unique_ptr<DeviceWorker> m_worker;
};

class CableOnlyTest : public ReaderThreadsTest {
protected:
    CableOnlyTest() : ReaderThreadsTest(sim::SimulatorSetup{true, false, true, true, false, 1}) {}
};

TEST_F(CableOnlyTest, JobQueuedDuringAnIdleReadReachesTheMouseBeforeThatReadEnds) {
    StartWorker();
    // The reader's read now lasts until something arrives: only the job can end it.
    m_watch->stretchedTimeoutMs = 60000;
    ASSERT_TRUE(WaitUntil([this] { return m_watch->inRead.load() == 1; }));
    // The read that started before the stretch ends at its own 100 ms; wait for a stretched one.
    const int endedBefore = m_watch->readsEnded.load();
    ASSERT_TRUE(WaitUntil(
        [&] { return m_watch->readsEnded.load() > endedBefore && m_watch->inRead.load() == 1; }));
    const int readsEnded = m_watch->readsEnded.load();

    std::atomic<int> endedAtWrite{-1};
    m_simulator->SetCommandObserver([&](const sim::ReceivedCommand& command) {
        if (command.bytes[1] == kCommandSetParameter) {
            endedAtWrite = m_watch->readsEnded.load();
        }
    });
    m_worker->QueueJob(job::kSendReportRate);
    ASSERT_TRUE(WaitUntil([this] { return JobRan(job::kSendReportRate); }));
    EXPECT_EQ(endedAtWrite.load(), readsEnded) << "the write waited for the idle read to end";
    StopAndForgetObservers();
    // The stretched read ends when its device goes.
    m_simulator->UnplugCable();
}

TEST_F(ReaderThreadsTest, EventsSentDuringAMacroUploadAllArriveInOrder) {
    constexpr int kEvents = 1000;
    StoreMacros(32);
    StartWorker();
    std::atomic<bool> uploading{false};
    m_simulator->SetCommandObserver([&](const sim::ReceivedCommand& command) {
        if (command.bytes[1] == kCommandWriteMacroImage) {
            uploading = true;
        }
    });
    m_worker->QueueJob(job::kSendMacros);
    ASSERT_TRUE(WaitUntil([&] { return uploading.load(); }));
    for (int event = 0; event < kEvents; ++event) {
        m_simulator->PressComputerFunction(ComputerFunctions::kTypeTextSnippet,
                                           static_cast<uint8_t>(event % 256));
    }
    ASSERT_TRUE(
        WaitUntil([this] { return m_computer.Calls().size() >= static_cast<size_t>(kEvents); }));
    const std::vector<ComputerFunctionsRecorder::Call> calls = m_computer.Calls();
    ASSERT_EQ(calls.size(), static_cast<size_t>(kEvents));
    for (int event = 0; event < kEvents; ++event) {
        ASSERT_EQ(calls[static_cast<size_t>(event)].value, event % 256) << "event " << event;
    }
    EXPECT_TRUE(JobRan(job::kSendMacros));
    EXPECT_EQ(m_manager.DroppedNotificationCount(), 0u);
    StopAndForgetObservers();
}

TEST_F(CableOnlyTest, ARebuildKeepsEveryReportTheInterfaceHad) {
    m_manager.RebuildDevices();
    ASSERT_EQ(m_manager.GetCurrentDevMode(), -1) << "no type chosen yet";
    for (int press = 0; press < 40; ++press) {
        m_simulator->PressComputerFunction(ComputerFunctions::kLaunchProgram,
                                           static_cast<uint8_t>(press));
    }
    // One report per 1 ms frame: after 100 ms all forty have reached the interface.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    m_manager.RebuildDevices();
    std::vector<int> values;
    ReportBuffer report{};
    int deviceType = 0;
    while (m_manager.PendingNotificationCount() > 0 &&
           m_manager.ReadNotifications(report, deviceType)) {
        if (report[1] == kEventMark && report[5] == kEventComputerFunction) {
            values.push_back(report[7]);
        }
    }
    ASSERT_EQ(values.size(), 40u);
    for (int press = 0; press < 40; ++press) {
        EXPECT_EQ(values[static_cast<size_t>(press)], press);
    }
}

TEST_F(ReaderThreadsTest, NotificationQueueKeepsTheNewestAndCountsWhatItDropped) {
    m_manager.RebuildDevices();
    const size_t kept = HidDeviceManager::kMaxPendingNotifications;
    const size_t sent = kept + 10;
    for (size_t press = 0; press < sent; ++press) {
        m_simulator->PressComputerFunction(ComputerFunctions::kLaunchProgram,
                                           static_cast<uint8_t>(press % 256));
    }
    ASSERT_TRUE(WaitUntil([&] {
        return m_manager.PendingNotificationCount() + m_manager.DroppedNotificationCount() >= sent;
    }));
    EXPECT_EQ(m_manager.PendingNotificationCount(), kept);
    EXPECT_EQ(m_manager.DroppedNotificationCount(), sent - kept);
    ReportBuffer oldest{};
    int deviceType = 0;
    ASSERT_TRUE(m_manager.ReadNotifications(oldest, deviceType));
    EXPECT_EQ(oldest[7], static_cast<unsigned char>((sent - kept) % 256));
}

struct StopCase {
    const char* name;
    sim::SimFault fault;  // what the mouse does meanwhile
    int jobCode;
    unsigned char startedBy;  // the command that shows the job is under way
};

TEST_F(ReaderThreadsTest, StopEndsEveryJobWhateverTheMouseDoes) {
    const StopCase cases[] = {
        {"silent mouse during a setting", sim::SimFault::kNoReply, job::kSendReportRate,
         kCommandSetParameter},
        {"during the macro upload", sim::SimFault::kLateReply, job::kSendMacros,
         kCommandWriteMacroImage},
        {"silent mouse during send-all", sim::SimFault::kNoReply, job::kSendAllSettings,
         kCommandSetParameter},
    };
    StoreMacros(32);
    for (const StopCase& c : cases) {
        SCOPED_TRACE(c.name);
        StartWorker();
        std::atomic<bool> started{false};
        m_simulator->SetCommandObserver([&](const sim::ReceivedCommand& command) {
            if (command.bytes[1] == c.startedBy) {
                started = true;
            }
            std::lock_guard<std::mutex> guard(m_lock);
            m_commands.push_back(command);
        });
        m_simulator->InjectFault(c.fault, 1000, 1);
        m_worker->QueueJob(c.jobCode);
        ASSERT_TRUE(WaitUntil([&] { return started.load(); }));
        EXPECT_TRUE(m_worker->StopWorker());
        EXPECT_TRUE(m_worker->IsDone());
        const size_t sentBeforeStop = Commands().size();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_EQ(Commands().size(), sentBeforeStop) << "nothing is sent once stopped";
        if (c.jobCode == job::kSendMacros) {
            EXPECT_LT(CommandsWith(kCommandWriteMacroImage), 67) << "the upload was abandoned";
        }
        m_simulator->ClearFaults();
        m_simulator->SetCommandObserver([this](const sim::ReceivedCommand& command) {
            std::lock_guard<std::mutex> guard(m_lock);
            m_commands.push_back(command);
        });
    }
}

TEST_F(ReaderThreadsTest, StopDuringTheStartUpProbeOfASilentMouse) {
    m_simulator->InjectFault(sim::SimFault::kNoReply, 1000);
    m_worker->RequestRefreshDevices();
    ASSERT_TRUE(m_worker->StartWorker());
    ASSERT_TRUE(WaitUntil([this] { return !Commands().empty(); }));
    EXPECT_TRUE(m_worker->StopWorker());
    EXPECT_TRUE(m_worker->IsDone());
}

class TwoModelsTest : public ReaderThreadsTest {
protected:
    TwoModelsTest() : ReaderThreadsTest(sim::SimulatorSetup{true, false, true, true, true, 1}) {}
};

TEST_F(TwoModelsTest, SelectionDuringAnUploadFinishesTheUploadOnTheFirstDevice) {
    StoreMacros(32);
    StartWorker();
    ASSERT_EQ(m_manager.GetCurDeviceType(), sim::kMainDeviceType);
    std::promise<void> firstChunk;
    std::atomic<bool> seen{false};
    m_simulator->SetCommandObserver([&](const sim::ReceivedCommand& command) {
        {
            std::lock_guard<std::mutex> guard(m_lock);
            m_commands.push_back(command);
        }
        if (command.bytes[1] == kCommandWriteMacroImage && !seen.exchange(true)) {
            firstChunk.set_value();
        }
    });
    m_worker->QueueJob(job::kSendMacros);
    ASSERT_EQ(firstChunk.get_future().wait_for(kBound), std::future_status::ready);
    // The user opens the second model while the upload runs (the UI thread's part).
    m_window.SetSelectDevice(sim::kSecondDeviceType);
    m_worker->Connection().SelectDevice();
    ASSERT_TRUE(WaitUntil([this] { return JobRan(job::kDeviceSelected); }));

    int chunksToMain = 0;
    bool secondModelRead = false;
    for (const sim::ReceivedCommand& command : Commands()) {
        if (command.bytes[1] == kCommandWriteMacroImage && !secondModelRead) {
            EXPECT_EQ(command.device, SimDevice::kWiredMouse);
            ++chunksToMain;
        }
        if (command.device == SimDevice::kSecondModel &&
            command.bytes[1] == kCommandDeviceInformation) {
            secondModelRead = true;
        }
    }
    EXPECT_EQ(chunksToMain, 67) << "the whole image went to the mouse it started on";
    EXPECT_TRUE(secondModelRead);
    EXPECT_EQ(m_manager.GetCurDeviceType(), sim::kSecondDeviceType);
    StopAndForgetObservers();
}

// A backend whose opening of one path waits until the test lets it go, to hold the worker
// inside a hidapi call.
TEST(ReaderThreadsLockTest, UnrelatedHotPlugNeverWaitsForTheDevice) {
    sim::DeviceSimulator simulator(sim::SimulatorSetup{}, SystemClock());
    HidApi api = simulator.Api();
    std::mutex gateLock;  // guards gateOpen, held
    std::condition_variable gate;
    bool gateOpen = false;
    std::atomic<bool> held{false};
    const std::string blocked =
        sim::InterfacePath(sim::kWiredMouseProductId, sim::kVendorInterface);
    HidApi inner = api;
    api.openPath = [&, inner](const char* path) {
        if (blocked == path) {
            std::unique_lock<std::mutex> lock(gateLock);
            held = true;
            gate.wait(lock, [&] { return gateOpen; });
        }
        return inner.openPath(path);
    };
    HidDeviceManager manager(api, SystemClock());
    manager.AddSupportedId(sim::kVendorId, sim::kWiredMouseProductId, L"", sim::kMainDeviceType,
                           sim::kWiredMode);
    std::thread rebuild([&] { manager.RebuildDevices(); });
    ASSERT_TRUE(WaitUntil([&] { return held.load(); }));

    // The rebuild sits inside the HID layer; the UI thread's questions are answered anyway.
    auto answers = std::async(std::launch::async, [&] {
        const bool keyboard = manager.IsVendorInterface(
            sim::InterfacePath(sim::kReceiverProductId, sim::kKeyboardInterface));
        const bool vendor = manager.IsVendorInterface(
            sim::InterfacePath(sim::kReceiverProductId, sim::kVendorInterface));
        const int listed = manager.FindEntry(sim::kVendorId, sim::kReceiverProductId, 1);
        return std::make_tuple(keyboard, vendor, listed);
    });
    const bool answered = answers.wait_for(kBound) == std::future_status::ready;
    {
        std::lock_guard<std::mutex> lock(gateLock);
        gateOpen = true;
    }
    gate.notify_all();
    rebuild.join();
    ASSERT_TRUE(answered);
    EXPECT_EQ(answers.get(), std::make_tuple(false, true, -1));
    EXPECT_EQ(manager.FindEntry(sim::kVendorId, sim::kWiredMouseProductId, 0), 0);
    manager.CloseAll();
}

TEST_F(ReaderThreadsTest, IdleWorkerNeitherPollsNorWakes) {
    StartWorker();
    // The pass of the last start-up job may still be ending.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const size_t before = Commands().size();
    const uint64_t passesBefore = m_worker->PassCount();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(Commands().size(), before) << "nothing written while idle";
    EXPECT_EQ(m_worker->PassCount(), passesBefore) << "nothing woke the worker";
    // A report wakes it once.
    m_simulator->PressDpiButton();
    ASSERT_TRUE(WaitUntil([&] { return m_worker->PassCount() > passesBefore; }));
    ASSERT_TRUE(WaitUntil([this] { return !m_window.CallsOf("SelectDpiStage").empty(); }));
}

}  // namespace
}  // namespace tavik
