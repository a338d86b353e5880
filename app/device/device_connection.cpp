#include "app/device/device_connection.h"

#include <cctype>

#include "app/device/job_queue.h"

namespace tavik {

namespace {

std::string UpperCase(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return text;
}

bool PatternOccursIn(const DeviceModeRecord& record, const std::string& upperPath) {
    return !record.hidInterface.empty() &&
           upperPath.find(UpperCase(record.hidInterface)) != std::string::npos;
}

}  // namespace

DeviceConnection::DeviceConnection(HidDeviceManager& manager, WindowEffects& window,
                                   DeviceTypePreference& preference, JobSink queueJob)
    : m_manager(manager),
      m_window(window),
      m_preference(preference),
      m_queueJob(std::move(queueJob)) {}

void DeviceConnection::SetDeviceRecords(std::vector<DeviceModeRecord> records) {
    std::lock_guard<std::mutex> guard(m_recordLock);
    m_records = std::move(records);
}

std::vector<DeviceModeRecord> DeviceConnection::DeviceRecords() const {
    std::lock_guard<std::mutex> guard(m_recordLock);
    return m_records;
}

int DeviceConnection::RefreshDevices() {
    return Rebuild(RebuildVariant::kFull);
}

void DeviceConnection::RefreshDevicesAfterEvent() {
    Rebuild(RebuildVariant::kAfterEvent);
}

int DeviceConnection::Rebuild(RebuildVariant variant) {
    std::lock_guard<std::mutex> guard(m_rebuildLock);
    if (m_upgrading) {
        return 0;
    }
    // A selection not yet applied is overtaken by the rebuild's own choice.
    m_pendingSelection = -1;
    const int preferred = m_preference.ReadDeviceType();

    m_manager.RebuildDevices();
    std::vector<DeviceEntry> entries;
    m_manager.SetCurDeviceType(0);
    m_manager.GetDevices(entries);
    m_manager.SetCurDeviceType(preferred);

    m_window.SetAllDeviceState(0);
    for (const DeviceEntry& entry : entries) {
        m_window.SetDeviceState(entry.deviceType, entry.deviceMode,
                                static_cast<int>(entry.connectState));
        m_window.SetDeviceVersion(entry.deviceType, entry.releaseNumber);
        m_window.SetDeviceBattery(entry.deviceType, entry.batteryLevel, entry.batteryCharging);
    }

    // The device list falls back to another connected device when the preferred one is
    // absent; its choice is the type the window and the manager work with.
    m_window.SetSelectDevice(preferred);
    const int selected = m_window.GetSelectDevice();
    m_currentDeviceType = selected;
    m_manager.SetCurDeviceType(selected);

    if (entries.empty()) {
        m_devicesPresent = false;
        m_connected = false;
        ShowNoConnection();
        return variant == RebuildVariant::kFull ? CloseTransientWindows() : 0;
    }

    m_devicesPresent = true;
    const int mode = m_manager.GetCurrentDevMode();
    if (mode == 0 || mode == 1) {
        m_connected = true;
        m_window.SetStatusText(mode == 0 ? kWiredConnectionText : kWirelessConnectionText);
        m_window.ShowView(MainView::kDeviceList);
        return variant == RebuildVariant::kFull ? CloseTransientWindows() : 0;
    }
    m_connected = false;
    ShowNoConnection();
    return 0;
}

void DeviceConnection::ShowNoConnection() {
    m_window.SetStatusText(kNoConnectionText);
    m_window.ShowView(MainView::kNoConnection);
}

std::vector<DeviceModeRecord> DeviceConnection::ArrivalCandidates(
    const std::string& upperPath) const {
    std::vector<DeviceModeRecord> records = DeviceRecords();
    std::vector<DeviceModeRecord> matching;
    for (const DeviceModeRecord& record : records) {
        if (PatternOccursIn(record, upperPath)) {
            matching.push_back(record);
        }
    }
    return matching.empty() ? records : matching;
}

void DeviceConnection::UpdateUSBDevice(DeviceChangeEvent event, const std::string& path) {
    const std::string upperPath = UpperCase(path);
    if (event == DeviceChangeEvent::kArrival) {
        // The path as the system gave it: on some systems paths are case-sensitive.
        if (!m_manager.IsVendorInterface(path)) {
            return;
        }
        // Only the records the arriving interface can belong to are looked at: an interface
        // that is already listed must not cause a re-read because some other catalogue
        // device happens to be absent.
        for (const DeviceModeRecord& record : ArrivalCandidates(upperPath)) {
            if (m_manager.FindEntry(record.vendorId, record.productId, record.mode) < 0) {
                m_pendingMode = record.mode;
                m_queueJob(job::kDeviceArrived);
                CloseTransientWindows();
                return;
            }
        }
        return;
    }
    if (event == DeviceChangeEvent::kRemoval && m_devicesPresent) {
        for (const DeviceModeRecord& record : DeviceRecords()) {
            if (PatternOccursIn(record, upperPath) &&
                m_manager.FindEntry(record.vendorId, record.productId, record.mode) >= 0) {
                m_pendingMode = record.mode;
                m_queueJob(job::kDeviceRemoved);
                CloseTransientWindows();
                return;
            }
        }
    }
}

void DeviceConnection::SelectDevice() {
    const int selected = m_window.GetSelectDevice();
    const int pending = m_pendingSelection.load();
    const int chosen = pending >= 0 ? pending : m_currentDeviceType.load();
    if (selected != chosen) {
        m_pendingSelection = selected;
        m_preference.WriteDeviceType(selected);
        m_window.LoadDeviceDescription(selected);
        m_queueJob(job::kDeviceSelected);
    }
    m_window.ShowView(MainView::kDevice);
}

void DeviceConnection::ApplyPendingSelection() {
    const int selected = m_pendingSelection.exchange(-1);
    if (selected < 0) {
        return;
    }
    m_currentDeviceType = selected;
    m_manager.SetCurDeviceType(selected);
}

void DeviceConnection::DeviceConnectState(int mode) {
    m_connected = false;
    ShowNoConnection();
    m_window.SetDeviceState(m_currentDeviceType, mode,
                            static_cast<int>(ConnectState::kDisconnected));
    m_manager.PollWirelessConnect();
    CloseTransientWindows();
}

int DeviceConnection::CloseTransientWindows() {
    return m_window.CloseTransientWindows();
}

}  // namespace tavik
