#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <string>
#include <thread>
#include <vector>

#include "tests/device/worker_fixture.h"

namespace tavik {
namespace {

using sim::SimDevice;
using sim::SimFault;

// Waits in real time for a condition that a running worker makes true; the bound only keeps
// a broken build from hanging the suite.
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

std::vector<unsigned char> EventReport(unsigned char code, unsigned char first,
                                       unsigned char second = 0) {
    return {0x06, 0xFA, 0x00, 0x00, 0x00, code, first, second};
}

class WorkerJobsTest : public test::WorkerTest {
protected:
    // Start-up with the light records in place, so that every job has something to send.
    void StartUpWithLights() {
        StartUp();
        ASSERT_TRUE(m_worker->Connection().DataRead());
        ASSERT_TRUE(m_database.EnsureDefaultLights(m_worker->MouseState().currentProfile));
        RunQueue();
        m_simulator->ClearReceivedCommands();
        m_window.Clear();
    }

    // The first report a job sends, as hex; empty when it sends nothing.
    std::string FirstCommandOf(int jobCode) {
        m_simulator->ClearReceivedCommands();
        m_worker->QueueJob(jobCode);
        m_worker->RunPass();
        std::vector<std::string> sent = SentCommands();
        return sent.empty() ? std::string() : sent.front();
    }

    // The worker answers: a job reaches the mouse and an event gets handled.
    void ExpectResponsive() {
        m_simulator->ClearFaults();
        m_simulator->ClearReceivedCommands();
        m_worker->QueueJob(job::kSendReportRate);
        RunQueue();
        const std::vector<std::string> sent = SentCommands();
        ASSERT_FALSE(sent.empty());
        EXPECT_EQ(sent.back().substr(0, 17), "06 13 02 00 00 02");
        RunQueue();
        m_window.Clear();
        m_simulator->PressDpiButton();
        RunPasses(3);
        EXPECT_EQ(m_window.CallsOf("SelectDpiStage").size(), 1u);
    }
};

TEST_F(WorkerJobsTest, FirstReadLoadsTheProfileReadsTheMouseAndRefreshesThePages) {
    m_worker->Connection().RefreshDevices();
    m_window.Clear();
    m_worker->QueueJob(job::kFirstRead);
    m_worker->RunPass();

    EXPECT_TRUE(m_worker->Connection().DataRead());
    EXPECT_NE(m_worker->MouseState().currentProfile, 0);
    EXPECT_EQ(m_worker->MouseState().mouseVersion, L"1.2.5");
    const std::vector<std::string> calls = m_window.Calls();
    ASSERT_GE(calls.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(calls.end() - 4, calls.end()),
              (std::vector<std::string>{"RefreshButtonPage", "RefreshMacroPage",
                                        "RefreshPerformancePage", "RefreshLightPage"}));
    // The read queues the macro upload and the firmware check itself.
    EXPECT_EQ(m_worker->Jobs().Snapshot(),
              (std::vector<int>{job::kMouseFirmwareAutoCheck, job::kSendMacros}));

    // A second first read does nothing once the mouse has been read.
    RunQueue();
    m_simulator->ClearReceivedCommands();
    m_worker->QueueJob(job::kFirstRead);
    m_worker->RunPass();
    EXPECT_TRUE(SentCommands().empty());
}

struct DispatchCase {
    int jobCode;
    const char* firstCommand;  // prefix of the first report sent; "" for none
};

TEST_F(WorkerJobsTest, EveryJobCodeRunsItsOperation) {
    StartUpWithLights();
    const DispatchCase cases[] = {
        {job::kSendAllSettings, "06 13 05 00 00 01"},
        {job::kSendMacros, "06 31"},
        {job::kSendKeyTable, "06 12 20 00 00"},
        {job::kSendLight, "06 21 20 00 00 01 01"},
        {job::kSendDpiStages, "06 13 05 00 00 01"},
        {job::kSendDpiColors, "06 21 20 00 00 01 04"},
        {job::kSendReportRate, "06 13 02 00 00 02"},
        {job::kSendSensorFlag, "06 13 02 00 00 07"},
        {job::kSendButtonRespondTime, "06 13 02 00 00 0a"},
        {job::kSendScrollFlag, "06 13 04 00 00 05"},
        {job::kSendLiftoffHeight, "06 13 02 00 00 06"},
        {job::kSendHighspeedMode, "06 13 02 00 00 08"},
        {job::kSendSleepTimes, "06 13 05 00 00 0b"},
        {job::kSendMoveWakeup, "06 13 02 00 00 0c"},
        {job::kSendMoveCloseLight, "06 13 02 00 00 0d"},
        {job::kSendDpiDefaults, "06 0f 01 00 00 08"},
        {job::kSendFactoryReset, "06 0f 01 00 00 ff"},
        {job::kDeviceSelected, "06 05"},
        {job::kFirstRead, ""},
        // Codes no page queues, and the update jobs without an update handler.
        {8, ""},
        {21, ""},
        {22, ""},
        {25, ""},
        {26, ""},
        {31, ""},
        {99, ""},
        {-1, ""},
        {job::kMouseFirmwareCheck, ""},
        {job::kReceiverFirmwareCheck, ""},
        {job::kMouseFirmwareAutoCheck, ""},
        {job::kReceiverFirmwareAutoCheck, ""},
        {job::kMouseFirmwareDownload, ""},
        {job::kReceiverFirmwareDownload, ""},
    };
    for (const DispatchCase& c : cases) {
        SCOPED_TRACE("job " + std::to_string(c.jobCode));
        const std::string first = FirstCommandOf(c.jobCode);
        const std::string expected = c.firstCommand;
        EXPECT_EQ(first.substr(0, expected.size()), expected);
        if (expected.empty()) {
            EXPECT_TRUE(first.empty()) << first;
        }
        m_worker->RunPass();  // Nothing a job queued may leak into the next case.
        RunQueue();
    }
}

TEST_F(WorkerJobsTest, FactoryResetAndDeviceSelectionCloseTheWaitDialog) {
    StartUpWithLights();
    const uint64_t sleptBefore = m_clock->SleptMs();
    m_worker->QueueJob(job::kSendFactoryReset);
    m_worker->RunPass();
    const std::vector<std::string> reset = m_window.Calls();
    ASSERT_FALSE(reset.empty());
    EXPECT_EQ(reset.back(), "CloseWaitDialog");
    EXPECT_GE(m_clock->SleptMs() - sleptBefore, 3200u) << "3 s settle time, 2 × 100 ms";

    RunQueue();
    m_window.Clear();
    m_worker->QueueJob(job::kDeviceSelected);
    m_worker->RunPass();
    const std::vector<std::string> selected = m_window.Calls();
    ASSERT_GE(selected.size(), 2u);
    EXPECT_EQ(selected.front(), "RefreshPerformancePage")
        << "the page shows the new profile before the read";
    EXPECT_EQ(selected.back(), "CloseWaitDialog");
}

TEST_F(WorkerJobsTest, UpdateJobsGoToTheUpdateHandler) {
    StartUpWithLights();
    std::vector<int> handled;
    m_worker->SetUpdateJobHandler([&](int code) {
        handled.push_back(code);
        return true;
    });
    for (int code : {27, 28, 29, 30, 32, 33, 31, 12}) {
        m_worker->QueueJob(code);
    }
    RunQueue();
    EXPECT_EQ(handled, (std::vector<int>{27, 28, 29, 30, 32, 33}));
}

TEST_F(WorkerJobsTest, JobsRunInTheOrderTheyWereQueued) {
    StartUpWithLights();
    for (int code : {job::kSendReportRate, job::kSendDpiStages, job::kSendDpiColors,
                     job::kSendSleepTimes, job::kSendReportRate}) {
        m_worker->QueueJob(code);
    }
    RunQueue();
    std::vector<std::string> heads;
    for (const std::string& sent : SentCommands()) {
        heads.push_back(sent.substr(0, 20));
    }
    EXPECT_EQ(heads, (std::vector<std::string>{"06 13 02 00 00 02 02", "06 13 05 00 00 01 06",
                                               "06 21 20 00 00 01 04", "06 13 05 00 00 0b 3c",
                                               "06 13 02 00 00 02 02"}));
}

TEST_F(WorkerJobsTest, JobsQueuedWhilePairingAreDroppedOnePerPass) {
    StartUpWithLights();
    m_worker->Connection().SetPairing(true);
    m_worker->QueueJob(job::kSendReportRate);
    m_worker->QueueJob(job::kSendDpiStages);
    m_worker->QueueJob(job::kSendKeyTable);
    m_simulator->PressDpiButton();

    m_worker->RunPass();
    EXPECT_EQ(m_worker->Jobs().Snapshot(),
              (std::vector<int>{job::kSendDpiStages, job::kSendKeyTable}));
    RunPasses(2);
    EXPECT_TRUE(m_worker->Jobs().Empty());
    RunPasses(2);
    EXPECT_TRUE(SentCommands().empty()) << "nothing reached the mouse";
    EXPECT_EQ(m_simulator->PendingReports(SimDevice::kWiredMouse), 1u)
        << "no polling while the pairing dialog owns the receiver";

    // Pairing over: the dropped jobs stay dropped; the event is read now.
    m_worker->Connection().SetPairing(false);
    RunPasses(2);
    EXPECT_TRUE(SentCommands().empty());
    EXPECT_EQ(m_window.CallsOf("SelectDpiStage").size(), 1u);
}

TEST_F(WorkerJobsTest, NoPollingWhileNoDeviceIsListed) {
    // The interfaces are open, but no device-list rebuild has found a device yet.
    m_manager.RebuildDevices();
    m_simulator->ClearReceivedCommands();
    m_simulator->PressDpiButton();
    RunPasses(5);
    EXPECT_EQ(m_simulator->PendingReports(SimDevice::kWiredMouse), 1u);
    EXPECT_EQ(m_manager.PendingNotificationCount(), 0u);
    EXPECT_TRUE(m_window.Calls().empty()) << ::testing::PrintToString(m_window.Calls());

    // With nothing attached at all a rebuild lists nothing and the worker still stays quiet.
    m_simulator->UnplugCable();
    m_simulator->UnplugReceiver();
    m_worker->Connection().RefreshDevices();
    ASSERT_FALSE(m_worker->Connection().DevicesPresent());
    m_window.Clear();
    m_simulator->ClearReceivedCommands();
    RunPasses(5);
    EXPECT_TRUE(m_window.Calls().empty());
    EXPECT_TRUE(SentCommands().empty());
}

TEST_F(WorkerJobsTest, EventsFromTwoInterfacesInOnePassAreAllHandled) {
    StartUpWithLights();
    ASSERT_EQ(m_worker->MouseState().dpiStageIndex, 1);
    // The cable reports a DPI stage and the receiver a battery level in the same read.
    m_simulator->EmitReport(SimDevice::kWiredMouse, EventReport(0x02, 3));
    m_simulator->EmitReport(SimDevice::kReceiver, EventReport(0x03, 42, 1));
    m_worker->RunPass();

    EXPECT_EQ(m_window.CallsOf("SelectDpiStage"), std::vector<std::string>{"SelectDpiStage 3"});
    EXPECT_EQ(m_window.CallsOf("SetBatteryInfo"), std::vector<std::string>{"SetBatteryInfo 42 1"});
    EXPECT_EQ(m_manager.PendingNotificationCount(), 0u);
    EXPECT_EQ(m_worker->MouseState().dpiStageIndex, 3);
    EXPECT_EQ(m_worker->MouseState().batteryLevel, 42);
}

TEST_F(WorkerJobsTest, HotPlugQueuesTheRereadAndTheWindowFollowsTheDevices) {
    ForwardHotPlug();
    StartUpWithLights();

    // The cable goes: the mouse is still there through the receiver.
    m_simulator->UnplugCable();
    EXPECT_EQ(m_worker->Jobs().Snapshot(), std::vector<int>{job::kDeviceRemoved});
    uint64_t slept = m_clock->SleptMs();
    m_worker->RunPass();
    EXPECT_GE(m_clock->SleptMs() - slept, 500u);
    EXPECT_EQ(m_window.StatusText(), kWirelessConnectionText);
    EXPECT_EQ(m_window.View(), MainView::kDeviceList);
    EXPECT_TRUE(m_worker->Connection().IsConnected());
    RunQueue();

    // The receiver goes too: nothing left.
    m_simulator->UnplugReceiver();
    EXPECT_EQ(m_worker->Jobs().Snapshot(), std::vector<int>{job::kDeviceRemoved});
    RunQueue();
    EXPECT_EQ(m_window.StatusText(), kNoConnectionText);
    EXPECT_EQ(m_window.View(), MainView::kNoConnection);
    EXPECT_FALSE(m_worker->Connection().DevicesPresent());

    // Without a device the worker takes no removal and polls nothing; the cable comes back.
    m_simulator->PlugCable();
    EXPECT_EQ(m_worker->Jobs().Snapshot(), std::vector<int>{job::kDeviceArrived});
    slept = m_clock->SleptMs();
    m_worker->RunPass();
    EXPECT_GE(m_clock->SleptMs() - slept, 1000u);
    EXPECT_EQ(m_window.StatusText(), kWiredConnectionText);
    EXPECT_TRUE(m_worker->Connection().IsConnected());
    const std::vector<int> queued = m_worker->Jobs().Snapshot();
    ASSERT_FALSE(queued.empty());
    EXPECT_EQ(queued.back(), job::kFirstRead) << "an arrival ends with a first read";
}

TEST_F(WorkerJobsTest, AFailedFirstReadShowsTheDisconnectedStateAndIsRetriedLater) {
    m_worker->Connection().RefreshDevices();
    m_simulator->InjectFault(SimFault::kZeroVersion, 5);
    m_window.Clear();
    const int closesBefore = m_window.TransientWindowCloses();
    m_worker->QueueJob(job::kFirstRead);
    m_worker->RunPass();

    EXPECT_FALSE(m_worker->Connection().DataRead());
    EXPECT_FALSE(m_worker->Connection().IsConnected());
    EXPECT_EQ(m_window.View(), MainView::kNoConnection);
    EXPECT_EQ(m_window.StatusText(), kNoConnectionText);
    EXPECT_EQ(m_window.TransientWindowCloses(), closesBefore + 1);

    m_worker->QueueJob(job::kFirstRead);
    m_worker->RunPass();
    EXPECT_TRUE(m_worker->Connection().DataRead());
}

TEST_F(WorkerJobsTest, MouseStateChangesReachTheWorkerBeforeTheNextJob) {
    StartUpWithLights();
    // The profile dialog switches to profile 2, whose report rate differs, then queues a job.
    ASSERT_TRUE(m_database.SetConfigValue(2, L"report_rate", L"3"));
    ASSERT_TRUE(m_database.SetConfigValue(1, L"report_rate", L"1"));
    m_worker->ChangeMouseState([](ConnectedMouseState& mouse) { mouse.currentProfile = 2; });
    EXPECT_EQ(m_worker->MouseState().currentProfile, 2) << "visible at once to the caller";
    m_worker->QueueJob(job::kSendReportRate);
    m_worker->RunPass();
    const std::vector<std::string> sent = SentCommands();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], "06 13 02 00 00 02 03");
    EXPECT_EQ(m_worker->MouseState().currentProfile, 2);
}

struct FaultCase {
    const char* name;
    SimFault fault;
    int times;
    int parameter;
    int jobCode;
};

TEST_F(WorkerJobsTest, EverySimulatorFaultLeavesTheWorkerResponsive) {
    ForwardHotPlug();
    const FaultCase cases[] = {
        {"no reply to a setting", SimFault::kNoReply, 1, 0, job::kSendReportRate},
        {"no reply to the full read", SimFault::kNoReply, 20, 0, job::kDeviceSelected},
        {"late reply", SimFault::kLateReply, 3, 4, job::kDeviceSelected},
        {"event before the reply", SimFault::kEventBeforeReply, 4, 0, job::kDeviceSelected},
        {"zero version bytes", SimFault::kZeroVersion, 5, 0, job::kDeviceSelected},
        {"short reply", SimFault::kShortReply, 6, 9, job::kDeviceSelected},
        {"garbage reply", SimFault::kGarbageReply, 6, 0, job::kDeviceSelected},
        {"unplugged during the macro upload", SimFault::kUnplugDuringMacroUpload, 1, 0,
         job::kSendMacros},
    };
    StartUpWithLights();
    for (const FaultCase& c : cases) {
        SCOPED_TRACE(c.name);
        m_simulator->InjectFault(c.fault, c.times, c.parameter);
        m_worker->QueueJob(c.jobCode);
        RunQueue();
        // Garbage and unrelated events may also arrive as notifications: let them be read.
        RunPasses(3);
        RunQueue();
        if (c.fault == SimFault::kUnplugDuringMacroUpload) {
            // The cable went with the chunk in flight; the receiver still reaches the mouse.
            EXPECT_FALSE(m_simulator->IsPlugged(SimDevice::kWiredMouse));
            EXPECT_EQ(m_window.StatusText(), kWirelessConnectionText);
        }
        // A failed read leaves the window disconnected until the mouse is read again.
        m_worker->QueueJob(job::kDeviceSelected);
        RunQueue();
        ExpectResponsive();
    }
}

TEST_F(WorkerJobsTest, TheRunningWorkerTakesJobsAndEventsThroughFaultsAndStops) {
    StartUpWithLights();
    ASSERT_TRUE(m_worker->StartWorker());
    m_simulator->InjectFault(SimFault::kNoReply, 2);
    m_worker->QueueJob(job::kSendReportRate);
    m_worker->QueueJob(job::kSendDpiStages);
    m_worker->QueueJob(job::kSendSleepTimes);
    ASSERT_TRUE(WaitUntil([&] {
        const auto jobs = JobsRun();
        return !jobs.empty() && jobs.back().first == job::kSendSleepTimes;
    }));
    const auto jobs = JobsRun();
    ASSERT_GE(jobs.size(), 3u);
    EXPECT_EQ(jobs[jobs.size() - 3], std::make_pair(job::kSendReportRate, false));
    EXPECT_EQ(jobs[jobs.size() - 2], std::make_pair(job::kSendDpiStages, false));
    EXPECT_EQ(jobs[jobs.size() - 1], std::make_pair(job::kSendSleepTimes, true));

    m_simulator->PressDpiButton();
    ASSERT_TRUE(WaitUntil([&] { return !m_window.CallsOf("SelectDpiStage").empty(); }));
    EXPECT_TRUE(m_worker->StopWorker());
    EXPECT_TRUE(m_worker->IsDone());
}

TEST_F(WorkerJobsTest, DestroyingARunningWorkerStopsAndJoinsItFirst) {
    StartUpWithLights();
    ASSERT_TRUE(m_worker->StartWorker());
    for (int i = 0; i < 20; ++i) {
        m_worker->QueueJob(job::kSendReportRate);
    }
    ASSERT_TRUE(WaitUntil([&] { return !JobsRun().empty(); }));
    // The worker is busy with jobs; its owner goes away. Under the sanitizers a worker that
    // outlived its owner would be caught touching freed memory.
    m_worker.reset();
    const size_t sent = SentCommands().size();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(SentCommands().size(), sent) << "nothing runs after the owner is gone";
}

// The worker sleeps in real time here; the device is still simulated on virtual time.
class WorkerStopTest : public test::WorkerTest {
protected:
    WorkerStopTest() : WorkerTest(sim::SimulatorSetup{}, SystemClock()) {}
};

TEST_F(WorkerStopTest, StopWakesTheWorkerOutOfAJobsSleepAndAbandonsTheJob) {
    m_worker->Connection().RefreshDevices();
    m_window.Clear();
    ASSERT_TRUE(m_worker->StartWorker());
    // Job 2 begins with a one-second pause before it rebuilds the device list.
    m_worker->QueueJob(job::kDeviceArrived);
    ASSERT_TRUE(WaitUntil([&] { return m_worker->Jobs().Empty(); }));
    EXPECT_TRUE(m_worker->StopWorker());
    EXPECT_TRUE(m_worker->IsDone());
    EXPECT_EQ(JobsRun(), (std::vector<std::pair<int, bool>>{{job::kDeviceArrived, false}}));
    EXPECT_TRUE(m_window.CallsOf("SetAllDeviceState").empty())
        << "the job ended at its pause instead of rebuilding the list";
}

// A model whose description says light="0": nothing about lights goes to or comes from it.
TEST_F(WorkerJobsTest, ModelWithoutLightingGetsNoLightJobsOrData) {
    StartUpWithLights();
    m_worker->SetLightingAvailable(false);
    auto isLightReport = [](const std::string& report) {
        static const char* const kLightHeads[] = {
            "06 20 20 00 00 ff 00", "06 20 20 00 00 01 01", "06 20 20 00 00 01 02",
            "06 20 20 00 00 01 03", "06 21 20 00 00 01 01", "06 21 20 00 00 01 02",
            "06 21 20 00 00 01 03", "06 13 02 00 00 0d"};
        for (const char* head : kLightHeads) {
            if (report.rfind(head, 0) == 0) {
                return true;
            }
        }
        return false;
    };
    const int jobs[] = {job::kFirstRead,       job::kDeviceArrived,   job::kDeviceSelected,
                        job::kSendLight,       job::kSendMoveCloseLight, job::kSendAllSettings,
                        job::kSendFactoryReset};
    for (int code : jobs) {
        SCOPED_TRACE(code);
        m_worker->Connection().SetDataRead(false);
        m_simulator->ClearReceivedCommands();
        m_window.Clear();
        m_worker->QueueJob(code);
        RunQueue();
        for (const std::string& report : SentCommands()) {
            EXPECT_FALSE(isLightReport(report)) << report;
        }
        EXPECT_TRUE(m_window.CallsOf("RefreshLightPage").empty());
    }
    // With lighting the same light job does send its block.
    m_worker->SetLightingAvailable(true);
    m_simulator->ClearReceivedCommands();
    m_worker->QueueJob(job::kSendLight);
    RunQueue();
    ASSERT_FALSE(SentCommands().empty());
    EXPECT_TRUE(isLightReport(SentCommands().front()));
}

}  // namespace
}  // namespace tavik
