#include "app/device/device_worker.h"

namespace tavik {

DeviceWorker::DeviceWorker(HidDeviceManager& manager, SettingsDatabase& database,
                           WindowEffects& window, ComputerFunctions& computer,
                           DeviceTypePreference& preference, std::shared_ptr<Clock> clock)
    : CThreadBasic(std::move(clock)),
      m_manager(manager),
      m_window(window),
      m_workerClock(std::make_shared<WorkerClock>(*this)),
      m_connection(manager, window, preference, [this](int jobCode) { QueueJob(jobCode); }),
      m_protocol(manager, database, m_mouse, *this, window, computer, m_workerClock) {
    m_publishedMouse = m_mouse;
}

DeviceWorker::~DeviceWorker() {
    StopWorker();
}

uint64_t DeviceWorker::WorkerClock::NowMs() {
    return m_worker.GetClock()->NowMs();
}

uint64_t DeviceWorker::WorkerClock::NowUs() {
    return m_worker.GetClock()->NowUs();
}

bool DeviceWorker::WorkerClock::IsRealTime() const {
    return m_worker.GetClock()->IsRealTime();
}

void DeviceWorker::WorkerClock::SleepMs(int milliseconds) {
    m_worker.CThreadBasic::SleepMs(milliseconds);
}

void DeviceWorker::QueueJob(int jobCode) {
    m_jobs.Push(jobCode);
    WakeUp();
}

bool DeviceWorker::StartWorker() {
    const bool woken = m_manager.UsesReaderThreads();
    if (woken) {
        m_manager.SetNotificationListener([this] { WakeUp(); });
    }
    return Start(true, woken ? kUntilWokenUp : kDefaultIntervalMs);
}

bool DeviceWorker::StopWorker() {
    const bool stopped = Stop();
    // Once this returns no reader calls into the worker any more.
    m_manager.SetNotificationListener(nullptr);
    return stopped;
}

void DeviceWorker::RequestRefreshDevices() {
    m_refreshRequested = true;
    WakeUp();
}

bool DeviceWorker::HasWork() const {
    return m_refreshRequested.load() || !m_jobs.Empty() ||
           (m_connection.DevicesPresent() && m_manager.PendingNotificationCount() > 0);
}

ConnectedMouseState DeviceWorker::MouseState() const {
    std::lock_guard<std::mutex> guard(m_stateLock);
    return m_publishedMouse;
}

void DeviceWorker::ChangeMouseState(std::function<void(ConnectedMouseState&)> change) {
    if (!change) {
        return;
    }
    std::lock_guard<std::mutex> guard(m_stateLock);
    m_mouseChanges.push_back(std::move(change));
    // The published copy shows the change at once, so a reader that made it sees it.
    m_mouseChanges.back()(m_publishedMouse);
}

void DeviceWorker::SetLightingAvailable(bool available) {
    ChangeMouseState([available](ConnectedMouseState& mouse) { mouse.hasLighting = available; });
}

void DeviceWorker::SetUpdateJobHandler(std::function<bool(int jobCode)> handler) {
    std::lock_guard<std::mutex> guard(m_hookLock);
    m_updateJobHandler = std::move(handler);
}

void DeviceWorker::SetLanguageTexts(LanguageTextLookup texts) {
    m_protocol.SetLanguageTexts(std::move(texts));
}

void DeviceWorker::SetJobObserver(std::function<void(int jobCode, bool succeeded)> observer) {
    std::lock_guard<std::mutex> guard(m_hookLock);
    m_jobObserver = std::move(observer);
}

void DeviceWorker::ApplyMouseStateChanges() {
    std::vector<std::function<void(ConnectedMouseState&)>> changes;
    {
        std::lock_guard<std::mutex> guard(m_stateLock);
        changes.swap(m_mouseChanges);
    }
    for (auto& change : changes) {
        change(m_mouse);
    }
}

void DeviceWorker::PublishMouseState() {
    std::lock_guard<std::mutex> guard(m_stateLock);
    // Changes made since this pass began are not in m_mouse yet; keep them visible.
    m_publishedMouse = m_mouse;
    for (auto& change : m_mouseChanges) {
        change(m_publishedMouse);
    }
}

void DeviceWorker::run() {
    RunPass();
}

void DeviceWorker::RunPass() {
    ApplyMouseStateChanges();
    if (m_refreshRequested.exchange(false)) {
        m_connection.RefreshDevices();
    }
    // A selection made on the UI thread takes effect here, between two jobs, so a job never
    // continues on another device than it started on.
    m_connection.ApplyPendingSelection();
    int jobCode = 0;
    if (m_connection.Pairing()) {
        // The pairing dialog owns the receiver: jobs queued meanwhile are dropped, one per
        // pass, and nothing is polled.
        m_jobs.Pop(jobCode);
    } else if (m_jobs.Pop(jobCode)) {
        RunQueuedJob(jobCode);
    } else if (m_connection.DevicesPresent()) {
        PollEvents();
    }
    PublishMouseState();
    if (HasWork()) {
        // The pause after this pass must not wait for a wake-up that already came.
        WakeUp();
    }
}

void DeviceWorker::RunQueuedJob(int jobCode) {
    bool succeeded = false;
    if (jobCode == job::kSendMacros) {
        // The 10 ms pauses between macro chunks are shorter than the system's tick.
        ScopedTimerResolution resolution(TimerHooks(), 1);
        succeeded = Dispatch(jobCode);
    } else {
        succeeded = Dispatch(jobCode);
    }
    std::function<void(int, bool)> observer;
    {
        std::lock_guard<std::mutex> guard(m_hookLock);
        observer = m_jobObserver;
    }
    if (observer) {
        observer(jobCode, succeeded);
    }
}

bool DeviceWorker::RunJob(int jobCode) {
    ApplyMouseStateChanges();
    const bool succeeded = Dispatch(jobCode);
    PublishMouseState();
    return succeeded;
}

bool DeviceWorker::LoadActiveProfile() {
    ApplyMouseStateChanges();
    const bool loaded = m_protocol.LoadActiveProfile();
    PublishMouseState();
    return loaded;
}

void DeviceWorker::PollEvents() {
    m_protocol.PollNotifications();
    // Reports that other interfaces delivered in the same read wait in the manager's queue;
    // handle them now rather than one per pass, unless a job arrived in between.
    for (int handled = 1; handled < kMaxEventsPerPass; ++handled) {
        if (StopRequested() || !m_jobs.Empty() || m_manager.PendingNotificationCount() == 0) {
            break;
        }
        m_protocol.PollNotifications();
    }
}

bool DeviceWorker::ReadMouse(bool refreshPerformanceFirst) {
    if (m_manager.GetCurrentDevMode() == -1) {
        return false;
    }
    m_protocol.LoadActiveProfile();
    if (refreshPerformanceFirst) {
        m_window.RefreshPerformancePage();
    }
    if (!m_protocol.GetMouseData()) {
        return false;
    }
    m_protocol.RefreshPagesAfterRead();
    return true;
}

bool DeviceWorker::Dispatch(int jobCode) {
    switch (jobCode) {
        case job::kFirstRead:
            if (m_connection.DataRead() || m_manager.GetCurrentDevMode() == -1) {
                return false;
            }
            m_protocol.LoadActiveProfile();
            if (!m_protocol.GetMouseData()) {
                return false;
            }
            m_protocol.RefreshPagesAfterRead();
            m_connection.SetDataRead(true);
            return true;
        case job::kDeviceArrived: {
            // The interface needs a moment after its arrival before it answers.
            if (!SleepMs(1000)) {
                return false;
            }
            m_connection.RefreshDevices();
            const bool read = ReadMouse(false);
            QueueJob(job::kFirstRead);
            return read;
        }
        case job::kDeviceRemoved:
            if (!SleepMs(500)) {
                return false;
            }
            m_connection.RefreshDevices();
            return ReadMouse(false);
        case job::kDeviceSelected: {
            const bool read = ReadMouse(true);
            m_window.CloseWaitDialog();
            SleepMs(100);
            return read;
        }
        case job::kSendAllSettings:
            m_protocol.SendAllSettings();
            return true;
        case job::kSendMacros:
            return m_protocol.SendMacros();
        case job::kSendKeyTable:
            return m_protocol.SendKeyTable();
        case job::kSendLight:
            return m_protocol.SendLight();
        case job::kSendDpiStages:
            return m_protocol.SendDpiStages();
        case job::kSendDpiColors:
            return m_protocol.SendDpiColors();
        case job::kSendReportRate:
            return m_protocol.SendReportRate();
        case job::kSendSensorFlag:
            return m_protocol.SendSensorFlag();
        case job::kSendButtonRespondTime:
            return m_protocol.SendButtonRespondTime();
        case job::kSendScrollFlag:
            return m_protocol.SendScrollFlag();
        case job::kSendLiftoffHeight:
            return m_protocol.SendLiftoffHeight();
        case job::kSendHighspeedMode:
            return m_protocol.SendHighspeedMode();
        case job::kSendSleepTimes:
            return m_protocol.SendSleepTimes();
        case job::kSendMoveWakeup:
            return m_protocol.SendMoveWakeup();
        case job::kSendMoveCloseLight:
            return m_protocol.SendMoveCloseLight();
        case job::kSendDpiDefaults:
            return m_protocol.SendDpiDefaults();
        case job::kSendFactoryReset: {
            const bool reset = m_protocol.SendFactoryReset();
            SleepMs(100);
            m_window.CloseWaitDialog();
            SleepMs(100);
            return reset;
        }
        default:
            break;
    }
    if (IsUpdateJob(jobCode)) {
        std::function<bool(int)> handler;
        {
            std::lock_guard<std::mutex> guard(m_hookLock);
            handler = m_updateJobHandler;
        }
        return handler ? handler(jobCode) : false;
    }
    // Codes no page queues (8, 21, 22, 25, 26, 31, or anything else) are dropped.
    return false;
}

void DeviceWorker::DeviceConnectState(int connectionMode) {
    m_connection.DeviceConnectState(connectionMode);
}

void DeviceWorker::RefreshDevicesAfterEvent() {
    m_connection.RefreshDevicesAfterEvent();
}

bool DeviceWorker::IsConnected() {
    return m_connection.IsConnected();
}

}  // namespace tavik
