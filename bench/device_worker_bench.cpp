// Figures of the device worker against the simulated mouse, each printed beside the
// simulator's own round trip so that the ratio shows:
//   latency  job queued -> set-parameter report received by the mouse, while the worker
//            idle-polls as in use (p50, p99 over 1,000 jobs)
//   read     duration of a full read and its number of round trips
//   macros   upload of a maximal macro image
//   idle     CPU of an idle worker over 10 s with one device listed, in % of one core
// Usage: device_worker_bench [latency|read|macros|idle]... (all when none is named)

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "app/common/text_encoding.h"
#include "tests/support/computer_functions_recorder.h"
#include "app/device/device_connection.h"
#include "app/device/device_worker.h"
#include "app/device/job_queue.h"
#include "app/device/key_macro_image.h"
#include "app/device/sim/device_simulator.h"
#include "app/device/sim/sim_identities.h"
#include "tests/support/window_effects_recorder.h"
#include "app/store/settings_database.h"
#include "bench/cpu_time.h"

namespace tavik::bench {
namespace {

using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::duration<double, std::milli>;

double Percentile(std::vector<double> values, double fraction) {
    if (values.empty()) {
        return 0.0;
    }
    std::sort(values.begin(), values.end());
    const size_t at = std::min(values.size() - 1,
                               static_cast<size_t>(fraction * static_cast<double>(values.size())));
    return values[at];
}

// The report of set-parameter command 0x13 with parameter `id`.
bool IsSetParameter(const ReportBuffer& bytes, unsigned char id) {
    return bytes[1] == 0x13 && bytes[5] == id;
}

// A worker on the simulated devices in real time, with a settings database of its own.
class Rig {
public:
    explicit Rig(sim::SimulatorSetup setup)
        : m_simulator(std::make_unique<sim::DeviceSimulator>(setup, SystemClock())),
          m_manager(m_simulator->Api(), SystemClock()) {
        std::random_device random;
        m_folder =
            std::filesystem::temp_directory_path() / ("tavik-bench-" + std::to_string(random()));
        std::filesystem::create_directories(m_folder / "db");
        m_database.OpenForModel(Utf8ToWide(m_folder.u8string()), L"bench");
        const struct {
            int type;
            int mode;
            uint16_t product;
        } identities[] = {{sim::kMainDeviceType, sim::kWiredMode, sim::kWiredMouseProductId},
                          {sim::kMainDeviceType, sim::kWirelessMode, sim::kReceiverProductId}};
        std::vector<DeviceModeRecord> records;
        for (const auto& identity : identities) {
            m_manager.AddSupportedId(sim::kVendorId, identity.product, L"", identity.type,
                                     identity.mode);
            records.push_back({identity.type, identity.mode, sim::kVendorId, identity.product,
                               sim::InterfacePattern(identity.product, sim::kVendorInterface)});
        }
        m_window.AddDeviceListItem(L"Tavik Mouse", sim::kMainDeviceType, L"");
        m_preference.WriteDeviceType(sim::kMainDeviceType);
        m_worker = std::make_unique<DeviceWorker>(m_manager, m_database, m_window, m_computer,
                                                  m_preference, SystemClock());
        m_worker->Connection().SetDeviceRecords(records);
        m_worker->Connection().RefreshDevices();
        // The first read as at start-up, then the jobs it queued.
        m_worker->QueueJob(job::kFirstRead);
        while (!m_worker->Jobs().Empty()) {
            m_worker->RunPass();
        }
    }

    ~Rig() {
        m_worker.reset();
        m_database.Close();
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }

    // The simulator's round trip as the device link sees it: one set-parameter command
    // with its reply through the manager (median of 200).
    double RoundTripMs() {
        std::vector<double> times;
        for (int i = 0; i < 200; ++i) {
            ReportBuffer report{};
            report[0] = 0x06;
            report[1] = 0x13;
            report[2] = 0x02;
            report[5] = 0x02;
            report[6] = 0x02;
            const auto start = Clock::now();
            m_manager.SendCommand(report, true);
            times.push_back(Milliseconds(Clock::now() - start).count());
        }
        return Percentile(times, 0.5);
    }

    int OpenInterfaces() {
        std::vector<DeviceEntry> entries;
        const int current = m_manager.GetCurDeviceType();
        m_manager.SetCurDeviceType(0);
        m_manager.GetDevices(entries);
        m_manager.SetCurDeviceType(current);
        return static_cast<int>(entries.size());
    }

    sim::DeviceSimulator& Simulator() { return *m_simulator; }
    SettingsDatabase& Database() { return m_database; }
    DeviceWorker& Worker() { return *m_worker; }

private:
    std::filesystem::path m_folder;
    std::unique_ptr<sim::DeviceSimulator> m_simulator;
    HidDeviceManager m_manager;
    SettingsDatabase m_database;
    WindowEffectsRecorder m_window;
    ComputerFunctionsRecorder m_computer;
    MemoryDeviceTypePreference m_preference;
    std::unique_ptr<DeviceWorker> m_worker;
};

void ApplyLatency(const char* name, sim::SimulatorSetup setup) {
    constexpr int kJobs = 1000;
    Rig rig(setup);
    const double roundTrip = rig.RoundTripMs();
    const int interfaces = rig.OpenInterfaces();

    std::mutex lock;  // guards received, finished
    std::condition_variable signal;
    bool received = false;
    bool finished = false;
    Clock::time_point receivedAt;
    rig.Simulator().SetCommandObserver([&](const sim::ReceivedCommand& command) {
        if (IsSetParameter(command.bytes, 0x02)) {
            std::lock_guard<std::mutex> guard(lock);
            received = true;
            receivedAt = Clock::now();
            signal.notify_all();
        }
    });
    rig.Worker().SetJobObserver([&](int code, bool) {
        if (code == job::kSendReportRate) {
            std::lock_guard<std::mutex> guard(lock);
            finished = true;
            signal.notify_all();
        }
    });
    rig.Worker().StartWorker();
    std::mt19937 random(7);
    std::uniform_int_distribution<int> pause(0, 25);
    std::vector<double> latencies;
    for (int i = 0; i < kJobs; ++i) {
        // Jobs arrive at any point of the worker's idle polling, as a user's clicks do.
        std::this_thread::sleep_for(std::chrono::milliseconds(pause(random)));
        {
            std::lock_guard<std::mutex> guard(lock);
            received = false;
            finished = false;
        }
        const auto queuedAt = Clock::now();
        rig.Worker().QueueJob(job::kSendReportRate);
        std::unique_lock<std::mutex> guard(lock);
        if (!signal.wait_for(guard, std::chrono::seconds(5),
                             [&] { return received && finished; })) {
            std::printf("latency: job %d got no report\n", i);
            break;
        }
        latencies.push_back(Milliseconds(receivedAt - queuedAt).count());
    }
    rig.Worker().StopWorker();
    std::printf(
        "apply latency (%s, %d open interface%s): p50 %.2f ms, p99 %.2f ms, max %.2f ms over %zu "
        "jobs; simulator round trip %.2f ms\n",
        name, interfaces, interfaces == 1 ? "" : "s", Percentile(latencies, 0.5),
        Percentile(latencies, 0.99), Percentile(latencies, 1.0), latencies.size(), roundTrip);
}

void FullRead() {
    constexpr int kReads = 50;
    sim::SimulatorSetup setup;
    setup.cablePlugged = false;  // through the receiver, which answers its own command too
    Rig rig(setup);
    const double roundTrip = rig.RoundTripMs();
    std::atomic<int> commands{0};
    rig.Simulator().SetCommandObserver([&](const sim::ReceivedCommand&) { ++commands; });
    std::vector<double> durations;
    int roundTrips = 0;
    for (int i = 0; i < kReads; ++i) {
        rig.Worker().Connection().SetDataRead(false);
        commands = 0;
        const auto start = Clock::now();
        const bool read = rig.Worker().RunJob(job::kFirstRead);
        durations.push_back(Milliseconds(Clock::now() - start).count());
        roundTrips = commands.load();
        if (!read) {
            std::printf("read: the mouse did not answer\n");
            return;
        }
    }
    std::printf(
        "full read: p50 %.2f ms, p99 %.2f ms over %d reads, %d round trips (%.2f ms each "
        "through the link); simulator round trip %.2f ms\n",
        Percentile(durations, 0.5), Percentile(durations, 0.99), kReads, roundTrips,
        Percentile(durations, 0.5) / std::max(1, roundTrips), roundTrip);
}

void MacroUpload() {
    Rig rig(sim::SimulatorSetup{});
    const double roundTrip = rig.RoundTripMs();
    // 32 macros of 28 key events each: 64 + 32 × (28 × 4 + 8) = 3904 bytes, the largest
    // image of whole macros of this size under the 4000-byte limit.
    SettingsDatabase& database = rig.Database();
    for (int macro = 0; macro < kMaxMacroCount; ++macro) {
        const int id = database.AddMacro(L"bench " + std::to_wstring(macro));
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
        database.AddMacroEvents(events);
    }
    std::atomic<int> chunks{0};
    std::atomic<int> bytes{0};
    rig.Simulator().SetCommandObserver([&](const sim::ReceivedCommand& command) {
        if (command.bytes[1] == 0x31) {
            ++chunks;
            bytes += command.bytes[2];
        }
    });
    std::vector<double> durations;
    for (int i = 0; i < 5; ++i) {
        chunks = 0;
        bytes = 0;
        const auto start = Clock::now();
        const bool sent = rig.Worker().RunJob(job::kSendMacros);
        durations.push_back(Milliseconds(Clock::now() - start).count());
        if (!sent) {
            std::printf("macros: a chunk got no reply\n");
            return;
        }
    }
    const double median = Percentile(durations, 0.5);
    std::printf(
        "macro upload: %d bytes in %d chunks, p50 %.1f ms (%.2f ms a chunk, of which 10 ms is "
        "the pause between chunks); simulator round trip %.2f ms\n",
        bytes.load(), chunks.load(), median, median / std::max(1, chunks.load()), roundTrip);
}

void IdleCpu() {
    sim::SimulatorSetup setup;
    setup.receiverPlugged = false;  // one device listed: the wired mouse
    Rig rig(setup);
    const double roundTrip = rig.RoundTripMs();
    const int interfaces = rig.OpenInterfaces();
    rig.Worker().StartWorker();
    const double cpuBefore = ProcessCpuSeconds();
    const auto start = Clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(10));
    const double cpu = ProcessCpuSeconds() - cpuBefore;
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    rig.Worker().StopWorker();
    std::printf(
        "idle worker CPU: %.2f %% of one core over %.1f s (%d device interface%s polled, the "
        "simulator's reads included); simulator round trip %.2f ms\n",
        100.0 * cpu / wall, wall, interfaces, interfaces == 1 ? "" : "s", roundTrip);
}

}  // namespace
}  // namespace tavik::bench

int main(int argc, char** argv) {
    using namespace tavik::bench;
    std::vector<std::string> wanted(argv + 1, argv + argc);
    auto runs = [&](const char* name) {
        return wanted.empty() || std::find(wanted.begin(), wanted.end(), name) != wanted.end();
    };
    if (runs("latency")) {
        tavik::sim::SimulatorSetup receiverOnly;
        receiverOnly.cablePlugged = false;
        ApplyLatency("receiver", receiverOnly);
        ApplyLatency("cable and receiver", tavik::sim::SimulatorSetup{});
    }
    if (runs("read")) {
        FullRead();
    }
    if (runs("macros")) {
        MacroUpload();
    }
    if (runs("idle")) {
        IdleCpu();
    }
    return 0;
}
