#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "tests/support/computer_functions_recorder.h"
#include "app/device/device_connection.h"
#include "app/device/device_worker.h"
#include "app/device/sim/device_simulator.h"
#include "app/device/sim/sim_identities.h"
#include "tests/support/window_effects_recorder.h"
#include "tests/store/store_fixture.h"

namespace tavik::test {

// The report bytes 0 .. 63 as lower-case hex pairs, trailing zeros dropped: "06 13 02 02 03".
inline std::string TrimmedReportHex(const ReportBuffer& report) {
    size_t end = kReportBufferSize - 1;
    while (end > 0 && report[end - 1] == 0) {
        --end;
    }
    std::string text;
    char pair[4];
    for (size_t at = 0; at < end; ++at) {
        std::snprintf(pair, sizeof(pair), "%02x", static_cast<unsigned>(report[at]));
        if (!text.empty()) {
            text.push_back(' ');
        }
        text += pair;
    }
    return text;
}

// The catalogue's mode records of the simulated devices, in catalogue order.
inline std::vector<DeviceModeRecord> SimulatedDeviceRecords() {
    return {
        {sim::kMainDeviceType, sim::kWiredMode, sim::kVendorId, sim::kWiredMouseProductId,
         sim::InterfacePattern(sim::kWiredMouseProductId, sim::kVendorInterface)},
        {sim::kMainDeviceType, sim::kWirelessMode, sim::kVendorId, sim::kReceiverProductId,
         sim::InterfacePattern(sim::kReceiverProductId, sim::kVendorInterface)},
        {sim::kSecondDeviceType, sim::kWiredMode, sim::kVendorId, sim::kSecondModelProductId,
         sim::InterfacePattern(sim::kSecondModelProductId, sim::kVendorInterface)},
    };
}

// A device worker on the simulator, a fresh settings database and a recorded window, all on
// virtual time. The catalogue has been loaded (ids, device list, records); nothing else ran.
class WorkerTest : public StoreTest {
protected:
    explicit WorkerTest(sim::SimulatorSetup setup = {},
                        std::shared_ptr<Clock> workerClock = nullptr)
        : m_clock(std::make_shared<VirtualClock>()),
          m_simulator(std::make_unique<sim::DeviceSimulator>(setup, m_clock)),
          m_manager(m_simulator->Api(), m_clock),
          m_worker(std::make_unique<DeviceWorker>(m_manager, m_database, m_window, m_computer,
                                                  m_preference,
                                                  workerClock ? workerClock : m_clock)) {
        m_manager.AddSupportedId(sim::kVendorId, sim::kWiredMouseProductId, L"",
                                 sim::kMainDeviceType, sim::kWiredMode);
        m_manager.AddSupportedId(sim::kVendorId, sim::kReceiverProductId, L"", sim::kMainDeviceType,
                                 sim::kWirelessMode);
        m_manager.AddSupportedId(sim::kVendorId, sim::kSecondModelProductId, L"",
                                 sim::kSecondDeviceType, sim::kWiredMode);
        m_window.AddDeviceListItem(L"Tavik Mouse", sim::kMainDeviceType, L"");
        m_window.AddDeviceListItem(L"Tavik Mouse Lite", sim::kSecondDeviceType, L"");
        m_window.Clear();
        m_worker->Connection().SetDeviceRecords(SimulatedDeviceRecords());
        m_worker->SetJobObserver([this](int code, bool succeeded) {
            std::lock_guard<std::mutex> guard(m_jobLock);
            m_jobsRun.emplace_back(code, succeeded);
        });
    }

    ~WorkerTest() override {
        // The worker goes first: it uses everything else.
        m_worker.reset();
    }

    // Hot-plug notifications reach the worker as the main window would hand them on.
    void ForwardHotPlug() {
        m_simulator->SetHotPlugCallback([this](sim::HotPlugEvent event, const std::string& path) {
            m_worker->Connection().UpdateUSBDevice(event == sim::HotPlugEvent::kArrival
                                                       ? DeviceChangeEvent::kArrival
                                                       : DeviceChangeEvent::kRemoval,
                                                   path);
        });
    }

    // Start-up as the main window does it, followed by the first full read.
    void StartUp() {
        m_worker->Connection().RefreshDevices();
        m_worker->QueueJob(job::kFirstRead);
        RunPasses(1);
    }

    void RunPasses(int passes) {
        for (int pass = 0; pass < passes; ++pass) {
            m_worker->RunPass();
        }
    }

    // Runs passes until the queue is empty (at most `limit`).
    void RunQueue(int limit = 32) {
        for (int pass = 0; pass < limit && !m_worker->Jobs().Empty(); ++pass) {
            m_worker->RunPass();
        }
    }

    std::vector<std::string> SentCommands() {
        std::vector<std::string> sent;
        for (const sim::ReceivedCommand& command : m_simulator->ReceivedCommands()) {
            sent.push_back(TrimmedReportHex(command.bytes));
        }
        return sent;
    }

    std::vector<std::pair<int, bool>> JobsRun() {
        std::lock_guard<std::mutex> guard(m_jobLock);
        return m_jobsRun;
    }

    static bool Contains(const std::vector<std::string>& lines, const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }

    std::shared_ptr<VirtualClock> m_clock;
    std::unique_ptr<sim::DeviceSimulator> m_simulator;
    HidDeviceManager m_manager;
    WindowEffectsRecorder m_window;
    ComputerFunctionsRecorder m_computer;
    MemoryDeviceTypePreference m_preference;
    std::mutex m_jobLock;  // guards m_jobsRun
    std::vector<std::pair<int, bool>> m_jobsRun;
    std::unique_ptr<DeviceWorker> m_worker;
};

}  // namespace tavik::test
