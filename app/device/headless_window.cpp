#include "app/device/headless_window.h"

namespace tavik {

void HeadlessWindow::SetDeviceBattery(int deviceType, int level, int charging) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (ListedDevice* device = FindDevice(deviceType)) {
        device->charging = charging;
        device->level = level;
    }
}

void HeadlessWindow::ClearDeviceList() {
    std::lock_guard<std::mutex> guard(m_lock);
    m_devices.clear();
    m_selected = 0;
}

void HeadlessWindow::AddDeviceListItem(const std::wstring& name, int deviceType,
                                       const std::wstring& picturePath) {
    std::lock_guard<std::mutex> guard(m_lock);
    ListedDevice device;
    device.name = name;
    device.picturePath = picturePath;
    device.deviceType = deviceType;
    m_devices.push_back(device);
}

void HeadlessWindow::SetAllDeviceState(int state) {
    std::lock_guard<std::mutex> guard(m_lock);
    for (ListedDevice& device : m_devices) {
        device.state = state;
    }
}

void HeadlessWindow::SetDeviceState(int deviceType, int mode, int state) {
    std::lock_guard<std::mutex> guard(m_lock);
    ListedDevice* device = FindDevice(deviceType);
    // As the control does: an entry in state 1 only accepts a change to the wired mode.
    if (device != nullptr && !(device->state == 1 && mode != 0)) {
        device->mode = mode;
        device->state = state;
    }
}

void HeadlessWindow::SetDeviceVersion(int deviceType, int releaseNumber) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (ListedDevice* device = FindDevice(deviceType)) {
        device->releaseNumber = releaseNumber;
    }
}

void HeadlessWindow::SetSelectDevice(int deviceType) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_selected = -1;
    for (size_t i = 0; i < m_devices.size(); ++i) {
        if (m_devices[i].state > 0 && m_devices[i].deviceType == deviceType) {
            m_selected = static_cast<int>(i);
            return;
        }
    }
    for (size_t i = 0; i < m_devices.size(); ++i) {
        if (m_devices[i].state > 0) {
            m_selected = static_cast<int>(i);
            return;
        }
    }
}

int HeadlessWindow::GetSelectDevice() {
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_devices.empty()) {
        return 0;
    }
    if (m_selected < 0 || m_selected >= static_cast<int>(m_devices.size())) {
        m_selected = 0;
    }
    return m_devices[static_cast<size_t>(m_selected)].deviceType;
}

void HeadlessWindow::SetStatusText(int languageText) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_statusText = languageText;
}

void HeadlessWindow::ShowView(MainView view) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_view = view;
}

std::vector<HeadlessWindow::ListedDevice> HeadlessWindow::Devices() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_devices;
}

MainView HeadlessWindow::View() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_view;
}

int HeadlessWindow::StatusText() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_statusText;
}

HeadlessWindow::ListedDevice* HeadlessWindow::FindDevice(int deviceType) {
    for (ListedDevice& device : m_devices) {
        if (device.deviceType == deviceType) {
            return &device;
        }
    }
    return nullptr;
}

}  // namespace tavik
