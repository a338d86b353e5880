// Figures of the device worker against the simulated mouse, each printed beside the
// simulator's own round trip so that the ratio shows:
//   latency  job queued -> set-parameter report received by the mouse, while the worker
//            idle-polls as in use (p50, p99 over 1,000 jobs)
//   read     duration of a full read and its number of round trips
//   macros   upload of a maximal macro image
//   idle     CPU of an idle worker over 10 s with one device listed, in % of one core, its
//            wake-ups per second and whether the timer resolution stayed as it was
//   ui       how long the UI thread's calls take: start-up, hot-plug events, selections and
//            page calls while commands go unanswered (p99, max)
//   behind   latency of a job queued behind a macro upload
//   events   event report at the mouse -> handled by the worker (p50, p99)
//   stop     StopWorker while the mouse is silent, mid-upload and mid-send-all
// Usage: device_worker_bench [latency|read|macros|idle|ui|behind|events|stop]... (all when
// none is named)

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
#include "app/device/computer_functions.h"
#include "app/device/computer_functions.h"
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

// Counts the reads the device link makes (each one that returns is a wake-up of a reader).
HidApi CountingReads(HidApi inner, std::shared_ptr<std::atomic<uint64_t>> reads) {
    HidApi api = inner;
    api.readTimeout = [inner, reads](hid_device* device, unsigned char* data, size_t length,
                                     int milliseconds) {
        const int result = inner.readTimeout(device, data, length, milliseconds);
        ++*reads;
        return result;
    };
    return api;
}

// Notes when each computer-side function request reached the program.
class TimedComputerFunctions : public ComputerFunctions {
public:
    void RunComputerFunction(int, int value) override {
        std::lock_guard<std::mutex> guard(m_lock);
        m_handled.emplace_back(value, Clock::now());
        m_signal.notify_all();
    }
    // Waits for the request with `value`; its time, or nothing after 5 s.
    bool WaitFor(int value, Clock::time_point& at) {
        std::unique_lock<std::mutex> lock(m_lock);
        return m_signal.wait_for(lock, std::chrono::seconds(5), [&] {
            for (const auto& [handled, when] : m_handled) {
                if (handled == value) {
                    at = when;
                    return true;
                }
            }
            return false;
        });
    }
    void Clear() {
        std::lock_guard<std::mutex> guard(m_lock);
        m_handled.clear();
    }

private:
    std::mutex m_lock;  // guards m_handled
    std::condition_variable m_signal;
    std::vector<std::pair<int, Clock::time_point>> m_handled;
};

// A worker on the simulated devices in real time, with a settings database of its own.
class Rig {
public:
    explicit Rig(sim::SimulatorSetup setup)
        : m_simulator(std::make_unique<sim::DeviceSimulator>(setup, SystemClock())),
          m_reads(std::make_shared<std::atomic<uint64_t>>(0)),
          m_manager(CountingReads(m_simulator->Api(), m_reads), SystemClock()) {
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
                          {sim::kMainDeviceType, sim::kWirelessMode, sim::kReceiverProductId},
                          {sim::kSecondDeviceType, sim::kWiredMode, sim::kSecondModelProductId}};
        std::vector<DeviceModeRecord> records;
        for (const auto& identity : identities) {
            m_manager.AddSupportedId(sim::kVendorId, identity.product, L"", identity.type,
                                     identity.mode);
            records.push_back({identity.type, identity.mode, sim::kVendorId, identity.product,
                               sim::InterfacePattern(identity.product, sim::kVendorInterface)});
        }
        m_window.AddDeviceListItem(L"Tavik Mouse", sim::kMainDeviceType, L"");
        m_window.AddDeviceListItem(L"Tavik Mouse Lite", sim::kSecondDeviceType, L"");
        m_preference.WriteDeviceType(sim::kMainDeviceType);
        m_worker = std::make_unique<DeviceWorker>(m_manager, m_database, m_window, m_computer,
                                                  m_preference, SystemClock());
        m_worker->SetTimerResolutionHooks(
            {[this](int) { ++m_raisedResolution; }, [this](int) { --m_raisedResolution; }});
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
    HidDeviceManager& Manager() { return m_manager; }
    WindowEffectsRecorder& Window() { return m_window; }
    TimedComputerFunctions& Computer() { return m_computer; }
    uint64_t Reads() const { return m_reads->load(); }
    // Timer-resolution raises not yet restored.
    int RaisedResolution() const { return m_raisedResolution.load(); }

    // 32 macros of 28 key events each: 64 + 32 x (28 x 4 + 8) = 3904 bytes, the largest
    // image of whole macros of this size under the 4000-byte limit.
    void StoreLargestMacroImage() {
        for (int macro = 0; macro < kMaxMacroCount; ++macro) {
            const int id = m_database.AddMacro(L"bench " + std::to_wstring(macro));
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

private:
    std::filesystem::path m_folder;
    std::unique_ptr<sim::DeviceSimulator> m_simulator;
    std::shared_ptr<std::atomic<uint64_t>> m_reads;
    HidDeviceManager m_manager;
    SettingsDatabase m_database;
    WindowEffectsRecorder m_window;
    TimedComputerFunctions m_computer;
    std::atomic<int> m_raisedResolution{0};
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
    rig.StoreLargestMacroImage();
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
    // Let the start-up settle before measuring.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const uint64_t passesBefore = rig.Worker().PassCount();
    const uint64_t readsBefore = rig.Reads();
    int raisedWhileIdle = 0;
    const double cpuBefore = ProcessCpuSeconds();
    const auto start = Clock::now();
    for (int second = 0; second < 10; ++second) {
        std::this_thread::sleep_for(std::chrono::seconds(1));
        raisedWhileIdle = std::max(raisedWhileIdle, rig.RaisedResolution());
    }
    const double cpu = ProcessCpuSeconds() - cpuBefore;
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    const double workerWakeUps = static_cast<double>(rig.Worker().PassCount() - passesBefore);
    const double readerWakeUps = static_cast<double>(rig.Reads() - readsBefore);
    rig.Worker().StopWorker();
    std::printf(
        "idle worker CPU: %.2f %% of one core over %.1f s (%d device interface%s polled, the "
        "simulator's reads included); simulator round trip %.2f ms\n",
        100.0 * cpu / wall, wall, interfaces, interfaces == 1 ? "" : "s", roundTrip);
    std::printf(
        "idle wake-ups: %.1f per second per open interface (reader %.1f/s, worker %.1f/s); "
        "timer resolution raised while idle: %s\n",
        (readerWakeUps + workerWakeUps) / wall / std::max(1, interfaces), readerWakeUps / wall,
        workerWakeUps / wall, raisedWhileIdle > 0 ? "yes" : "no");
}

// Times one call on the calling thread (the UI thread's part of an operation).
template <typename Call>
double TimedMs(Call call) {
    const auto start = Clock::now();
    call();
    return Milliseconds(Clock::now() - start).count();
}

void UiThreadWait() {
    sim::SimulatorSetup setup;
    setup.secondModelPlugged = true;
    std::vector<double> waits;
    // Start-up: what the main window's initialisation asks of the engine.
    Rig rig(setup);
    rig.Worker().Connection().SetDataRead(false);
    waits.push_back(TimedMs([&] {
        rig.Worker().RequestRefreshDevices();
        rig.Worker().QueueJob(job::kFirstRead);
        rig.Worker().StartWorker();
    }));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const double startUp = waits.back();

    // Hot-plug: the receiver comes and goes while the worker probes and rebuilds.
    const std::string receiverPaths[] = {
        sim::InterfacePath(sim::kReceiverProductId, sim::kMouseInterface),
        sim::InterfacePath(sim::kReceiverProductId, sim::kVendorInterface),
        sim::InterfacePath(sim::kReceiverProductId, sim::kKeyboardInterface)};
    std::vector<double> hotPlug;
    for (int event = 0; event < 200; ++event) {
        const bool arrival = event % 2 == 1;
        arrival ? rig.Simulator().PlugReceiver() : rig.Simulator().UnplugReceiver();
        const std::string& path = receiverPaths[static_cast<size_t>(event) % 3];
        hotPlug.push_back(TimedMs([&] {
            rig.Worker().Connection().UpdateUSBDevice(
                arrival ? DeviceChangeEvent::kArrival : DeviceChangeEvent::kRemoval, path);
        }));
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    // Selections between the two models, each queueing a full read.
    std::vector<double> selections;
    for (int selection = 0; selection < 200; ++selection) {
        rig.Window().SetSelectDevice(selection % 2 == 0 ? sim::kSecondDeviceType
                                                        : sim::kMainDeviceType);
        selections.push_back(TimedMs([&] { rig.Worker().Connection().SelectDevice(); }));
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    // Page calls (store a value, queue its job) while the mouse answers nothing.
    rig.Simulator().InjectFault(sim::SimFault::kNoReply, 100000);
    std::vector<double> pageCalls;
    const int profile = rig.Worker().MouseState().currentProfile;
    for (int call = 0; call < 200; ++call) {
        pageCalls.push_back(TimedMs([&] {
            rig.Database().SetConfigValue(profile, L"report_rate", std::to_wstring(call % 4));
            rig.Worker().QueueJob(job::kSendReportRate);
        }));
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    const double stopMs = TimedMs([&] { rig.Worker().StopWorker(); });
    waits.insert(waits.end(), hotPlug.begin(), hotPlug.end());
    waits.insert(waits.end(), selections.begin(), selections.end());
    waits.insert(waits.end(), pageCalls.begin(), pageCalls.end());
    std::printf(
        "UI-thread wait: p99 %.3f ms, max %.3f ms over %zu calls (start-up %.3f ms; 200 hot-plug "
        "events max %.3f ms; 200 selections max %.3f ms; 200 page calls while commands go "
        "unanswered max %.3f ms); stop with unanswered commands %.1f ms\n",
        Percentile(waits, 0.99), Percentile(waits, 1.0), waits.size(), startUp,
        Percentile(hotPlug, 1.0), Percentile(selections, 1.0), Percentile(pageCalls, 1.0), stopMs);
}

void JobBehindMacroUpload() {
    Rig rig(sim::SimulatorSetup{});
    rig.StoreLargestMacroImage();
    const double roundTrip = rig.RoundTripMs();
    std::mutex lock;  // guards receivedAt, received, uploadDone
    std::condition_variable signal;
    bool received = false;
    Clock::time_point receivedAt;
    rig.Simulator().SetCommandObserver([&](const sim::ReceivedCommand& command) {
        if (IsSetParameter(command.bytes, 0x02)) {
            std::lock_guard<std::mutex> guard(lock);
            received = true;
            receivedAt = Clock::now();
            signal.notify_all();
        }
    });
    rig.Worker().StartWorker();
    std::vector<double> behind;
    for (int run = 0; run < 10; ++run) {
        {
            std::lock_guard<std::mutex> guard(lock);
            received = false;
        }
        rig.Worker().QueueJob(job::kSendMacros);
        const auto queuedAt = Clock::now();
        rig.Worker().QueueJob(job::kSendReportRate);
        std::unique_lock<std::mutex> guard(lock);
        if (!signal.wait_for(guard, std::chrono::seconds(10), [&] { return received; })) {
            std::printf("behind: the job got no report\n");
            break;
        }
        behind.push_back(Milliseconds(receivedAt - queuedAt).count());
    }
    rig.Worker().StopWorker();
    rig.Simulator().SetCommandObserver(nullptr);
    std::printf(
        "job behind a macro upload (3904 bytes, 67 chunks): p50 %.1f ms, max %.1f ms over %zu "
        "runs; simulator round trip %.2f ms\n",
        Percentile(behind, 0.5), Percentile(behind, 1.0), behind.size(), roundTrip);
}

void EventLatency() {
    constexpr int kEvents = 1000;
    Rig rig(sim::SimulatorSetup{});
    const double roundTrip = rig.RoundTripMs();
    rig.Worker().StartWorker();
    std::mt19937 random(11);
    std::uniform_int_distribution<int> pause(0, 10);
    std::vector<double> latencies;
    for (int event = 0; event < kEvents; ++event) {
        std::this_thread::sleep_for(std::chrono::milliseconds(pause(random)));
        rig.Computer().Clear();
        const int value = event % 256;
        const auto sentAt = Clock::now();
        rig.Simulator().PressComputerFunction(ComputerFunctions::kLaunchProgram,
                                              static_cast<uint8_t>(value));
        Clock::time_point handledAt;
        if (!rig.Computer().WaitFor(value, handledAt)) {
            std::printf("events: event %d was not handled\n", event);
            break;
        }
        latencies.push_back(Milliseconds(handledAt - sentAt).count());
    }
    rig.Worker().StopWorker();
    std::printf(
        "event latency (report at the mouse -> handled by PollNotifications, 2 open interfaces): "
        "p50 %.2f ms, p99 %.2f ms over %zu events (the next 1 ms frame included); simulator round "
        "trip %.2f ms\n",
        Percentile(latencies, 0.5), Percentile(latencies, 0.99), latencies.size(), roundTrip);
}

void StopTimes() {
    struct Case {
        const char* name;
        sim::SimFault fault;
        int job;
    };
    const Case cases[] = {
        {"silent mouse mid-send-all", sim::SimFault::kNoReply, job::kSendAllSettings},
        {"mid-upload, replies late", sim::SimFault::kLateReply, job::kSendMacros},
        {"silent mouse mid-setting", sim::SimFault::kNoReply, job::kSendReportRate},
    };
    std::string line = "StopWorker:";
    for (const Case& c : cases) {
        Rig rig(sim::SimulatorSetup{});
        rig.StoreLargestMacroImage();
        rig.Worker().StartWorker();
        rig.Simulator().InjectFault(c.fault, 100000, 1);
        rig.Worker().QueueJob(c.job);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        const double stopMs = TimedMs([&] { rig.Worker().StopWorker(); });
        char part[128];
        std::snprintf(part, sizeof(part), " %s %.1f ms;", c.name, stopMs);
        line += part;
    }
    std::printf("%s bound 1000 ms\n", line.c_str());
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
    if (runs("ui")) {
        UiThreadWait();
    }
    if (runs("behind")) {
        JobBehindMacroUpload();
    }
    if (runs("events")) {
        EventLatency();
    }
    if (runs("stop")) {
        StopTimes();
    }
    return 0;
}
