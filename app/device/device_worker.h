#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "app/device/clock.h"
#include "app/device/computer_functions.h"
#include "app/device/device_connection.h"
#include "app/device/device_protocol.h"
#include "app/device/hid_device_manager.h"
#include "app/device/job_queue.h"
#include "app/device/thread_basic.h"
#include "app/device/window_effects.h"
#include "app/store/profile_loader.h"

namespace tavik {

class SettingsDatabase;

// The background worker of the main window that does all talking to the device. It sleeps
// until a job is queued, a notification arrives or it is stopped; then each pass runs the
// first queued job, or, with nothing queued and a device listed, handles the notifications
// the interfaces' readers queued. Device-list rebuilds (start-up included) and a device
// selection are applied here too, between two jobs. The UI thread never sends a report
// itself: it stores a setting and queues the matching job (job codes in job_queue.h).
//
// Without reader threads (virtual time) nothing would wake the worker on a report, so it
// then polls every 2 ms as the design's worker does.
//
// The worker owns the job queue, the connection state (DeviceConnection), the protocol and
// the state of the connected mouse. That state is written on the worker thread; other
// threads read the copy MouseState publishes after every pass and change it through
// ChangeMouseState, which the worker applies at the start of its next pass, so a change and
// the job queued after it are seen in that order.
class DeviceWorker : public CThreadBasic, private ProtocolHost {
public:
    // Events handled in one idle pass at most: reports that several interfaces delivered in
    // one read are all handled before the worker pauses, without starving queued jobs.
    static constexpr int kMaxEventsPerPass = 16;

    DeviceWorker(HidDeviceManager& manager, SettingsDatabase& database, WindowEffects& window,
                 ComputerFunctions& computer, DeviceTypePreference& preference,
                 std::shared_ptr<Clock> clock = SystemClock());
    // Stops and joins the worker before anything it uses goes away.
    ~DeviceWorker() override;

    // Appends a job code; any thread. Wakes the worker out of its pause between passes.
    void QueueJob(int jobCode) override;
    // Starts the worker loop.
    bool StartWorker();
    // Wakes the worker out of any sleep and joins it; afterwards nothing of it runs. Every
    // wait of a job looks at the stop request, so this returns well within 1000 ms whatever
    // the device does; a job cut short by it is abandoned.
    bool StopWorker();
    // Asks for a device-list rebuild (RefreshDevices) on the worker before its next job: the
    // start-up probe runs here, never on the UI thread.
    void RequestRefreshDevices();

    // One pass of the worker on the calling thread (tests, the command line).
    void RunPass();
    // Runs one job now on the calling thread, outside the queue; true when the device did
    // what the job asked (the mouse answered). Only while the worker thread is not running.
    bool RunJob(int jobCode);
    // Loads the profiles and makes the active one current, as the read jobs do; on the
    // calling thread, only while the worker thread is not running. False without a profile.
    bool LoadActiveProfile();

    DeviceConnection& Connection() { return m_connection; }
    // The protocol, for the worker thread or while the worker is not running.
    DeviceProtocol& Protocol() { return m_protocol; }
    const JobQueue& Jobs() const { return m_jobs; }

    // The state of the connected mouse as the last pass left it.
    ConnectedMouseState MouseState() const;
    // Queues a change for the worker's own copy; it should set fields rather than accumulate,
    // as it is also applied to the published copy until the worker has taken it.
    void ChangeMouseState(std::function<void(ConnectedMouseState&)> change);

    // Whether the model described last has lighting (its description's `light`). Without it
    // no light job runs and no light data is read or sent.
    void SetLightingAvailable(bool available);

    // The update jobs (firmware checks and downloads) belong to the update subsystem, which
    // installs its handler here. Without one they are taken off the queue and do nothing.
    void SetUpdateJobHandler(std::function<bool(int jobCode)> handler);
    void SetLanguageTexts(LanguageTextLookup texts);
    // Called after every job with its code and result, on the thread that ran it.
    void SetJobObserver(std::function<void(int jobCode, bool succeeded)> observer);

protected:
    void run() override;

private:
    // The protocol sleeps through the worker, so that a stop cuts its waits short too.
    class WorkerClock : public Clock {
    public:
        explicit WorkerClock(DeviceWorker& worker) : m_worker(worker) {}
        uint64_t NowMs() override;
        uint64_t NowUs() override;
        void SleepMs(int milliseconds) override;
        bool IsRealTime() const override;

    private:
        DeviceWorker& m_worker;  // not owned: the worker owns this clock
    };

    // ProtocolHost.
    void DeviceConnectState(int connectionMode) override;
    void RefreshDevicesAfterEvent() override;
    bool IsConnected() override;

    bool Dispatch(int jobCode);
    void RunQueuedJob(int jobCode);
    bool HasWork() const;
    // Jobs 1, 2, 3 and 4: the profile load and full read that follow a device change.
    bool ReadMouse(bool refreshPerformanceFirst);
    void PollEvents();
    void ApplyMouseStateChanges();
    void PublishMouseState();

    HidDeviceManager& m_manager;  // not owned
    WindowEffects& m_window;      // not owned
    std::shared_ptr<WorkerClock> m_workerClock;
    JobQueue m_jobs;
    std::atomic<bool> m_refreshRequested{false};
    ConnectedMouseState m_mouse;  // worker thread only
    DeviceConnection m_connection;
    DeviceProtocol m_protocol;

    mutable std::mutex m_stateLock;  // guards m_publishedMouse, m_mouseChanges
    ConnectedMouseState m_publishedMouse;
    std::vector<std::function<void(ConnectedMouseState&)>> m_mouseChanges;

    std::mutex m_hookLock;  // guards m_updateJobHandler, m_jobObserver
    std::function<bool(int)> m_updateJobHandler;
    std::function<void(int, bool)> m_jobObserver;
};

}  // namespace tavik
