#include "app/device/window_effects_recorder.h"

#include "app/common/text_encoding.h"

namespace tavik {

namespace {

std::string Line(const char* name, std::initializer_list<int> values) {
    std::string line = name;
    for (int value : values) {
        line += ' ';
        line += std::to_string(value);
    }
    return line;
}

}  // namespace

const char* WindowEffectsRecorder::ViewName(MainView view) {
    switch (view) {
        case MainView::kDeviceList:
            return "DeviceList";
        case MainView::kNoConnection:
            return "NoConnection";
        case MainView::kDevice:
            return "Device";
    }
    return "";
}

void WindowEffectsRecorder::SetBatteryInfo(int level, int charging) {
    Record(Line("SetBatteryInfo", {level, charging}));
}

void WindowEffectsRecorder::SetDeviceBattery(int deviceType, int charging, int level) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (ListedDevice* device = FindDevice(deviceType)) {
        device->charging = charging;
        device->level = level;
    }
    m_calls.push_back(Line("SetDeviceBattery", {deviceType, charging, level}));
}

void WindowEffectsRecorder::SetMouseVersionLabel(const std::wstring& text) {
    Record("SetMouseVersionLabel " + WideToUtf8(text));
}

void WindowEffectsRecorder::SetReceiverVersionLabel(const std::wstring& text) {
    Record("SetReceiverVersionLabel " + WideToUtf8(text));
}

void WindowEffectsRecorder::SelectDpiStage(int stageIndex) {
    Record(Line("SelectDpiStage", {stageIndex}));
}

void WindowEffectsRecorder::RefreshButtonPage() {
    Record("RefreshButtonPage");
}

void WindowEffectsRecorder::RefreshMacroPage() {
    Record("RefreshMacroPage");
}

void WindowEffectsRecorder::RefreshPerformancePage() {
    Record("RefreshPerformancePage");
}

void WindowEffectsRecorder::RefreshLightPage() {
    Record("RefreshLightPage");
}

void WindowEffectsRecorder::SetAllDeviceState(int state) {
    std::lock_guard<std::mutex> guard(m_lock);
    for (ListedDevice& device : m_devices) {
        device.state = state;
    }
    m_calls.push_back(Line("SetAllDeviceState", {state}));
}

void WindowEffectsRecorder::SetDeviceState(int deviceType, int mode, int state) {
    std::lock_guard<std::mutex> guard(m_lock);
    ListedDevice* device = FindDevice(deviceType);
    // As the control does: an entry in state 1 only accepts a change to the wired mode.
    if (device != nullptr && !(device->state == 1 && mode != 0)) {
        device->mode = mode;
        device->state = state;
    }
    m_calls.push_back(Line("SetDeviceState", {deviceType, mode, state}));
}

void WindowEffectsRecorder::SetDeviceVersion(int deviceType, int releaseNumber) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (ListedDevice* device = FindDevice(deviceType)) {
        device->releaseNumber = releaseNumber;
    }
    m_calls.push_back(Line("SetDeviceVersion", {deviceType, releaseNumber}));
}

void WindowEffectsRecorder::SetSelectDevice(int deviceType) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_selected = -1;
    for (size_t i = 0; i < m_devices.size(); ++i) {
        if (m_devices[i].state > 0 && m_devices[i].deviceType == deviceType) {
            m_selected = static_cast<int>(i);
            break;
        }
    }
    if (m_selected < 0) {
        for (size_t i = 0; i < m_devices.size(); ++i) {
            if (m_devices[i].state > 0) {
                m_selected = static_cast<int>(i);
                break;
            }
        }
    }
    m_calls.push_back(Line("SetSelectDevice", {deviceType}));
}

int WindowEffectsRecorder::GetSelectDevice() {
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_devices.empty()) {
        return 0;
    }
    if (m_selected < 0 || m_selected >= static_cast<int>(m_devices.size())) {
        m_selected = 0;
    }
    return m_devices[static_cast<size_t>(m_selected)].deviceType;
}

void WindowEffectsRecorder::SetStatusText(int languageText) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_statusText = languageText;
    m_calls.push_back(Line("SetStatusText", {languageText}));
}

void WindowEffectsRecorder::ShowView(MainView view) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_view = view;
    m_calls.push_back(std::string("ShowView ") + ViewName(view));
}

void WindowEffectsRecorder::LoadDeviceDescription(int deviceType) {
    Record(Line("LoadDeviceDescription", {deviceType}));
}

int WindowEffectsRecorder::CloseTransientWindows() {
    std::lock_guard<std::mutex> guard(m_lock);
    ++m_transientCloses;
    m_calls.push_back("CloseTransientWindows");
    return 0;
}

void WindowEffectsRecorder::CloseWaitDialog() {
    Record("CloseWaitDialog");
}

void WindowEffectsRecorder::ClearDeviceList() {
    std::lock_guard<std::mutex> guard(m_lock);
    m_devices.clear();
    m_selected = 0;
    m_calls.push_back("ClearDeviceList");
}

void WindowEffectsRecorder::AddDeviceListItem(const std::wstring& name, int deviceType,
                                              const std::wstring& picturePath) {
    std::lock_guard<std::mutex> guard(m_lock);
    ListedDevice device;
    device.name = name;
    device.picturePath = picturePath;
    device.deviceType = deviceType;
    m_devices.push_back(device);
    m_calls.push_back("AddDeviceListItem " + WideToUtf8(name) + " " + std::to_string(deviceType) +
                      " " + WideToUtf8(picturePath));
}

void WindowEffectsRecorder::SetApplicationVersionLabel(const std::wstring& text) {
    Record("SetApplicationVersionLabel " + WideToUtf8(text));
}

void WindowEffectsRecorder::SetMousePicture(const std::wstring& picture) {
    Record("SetMousePicture " + WideToUtf8(picture));
}

void WindowEffectsRecorder::SetLightingAvailable(bool available) {
    Record(Line("SetLightingAvailable", {available ? 1 : 0}));
}

void WindowEffectsRecorder::ClearMouseButtons() {
    Record("ClearMouseButtons");
}

void WindowEffectsRecorder::AddMouseButton(const std::wstring& name, int keyValue, int direction,
                                           int fromX, int fromY, int toX, int toY) {
    Record("AddMouseButton " + WideToUtf8(name) +
           Line("", {keyValue, direction, fromX, fromY, toX, toY}));
}

void WindowEffectsRecorder::DisableInputMethod() {
    Record("DisableInputMethod");
}

std::vector<WindowEffectsRecorder::ListedDevice> WindowEffectsRecorder::Devices() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_devices;
}

std::vector<std::string> WindowEffectsRecorder::Calls() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_calls;
}

std::vector<std::string> WindowEffectsRecorder::CallsOf(const std::string& name) const {
    std::lock_guard<std::mutex> guard(m_lock);
    std::vector<std::string> matching;
    for (const std::string& call : m_calls) {
        if (call.compare(0, name.size(), name) == 0 &&
            (call.size() == name.size() || call[name.size()] == ' ')) {
            matching.push_back(call);
        }
    }
    return matching;
}

void WindowEffectsRecorder::Clear() {
    std::lock_guard<std::mutex> guard(m_lock);
    m_calls.clear();
}

MainView WindowEffectsRecorder::View() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_view;
}

int WindowEffectsRecorder::StatusText() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_statusText;
}

int WindowEffectsRecorder::TransientWindowCloses() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_transientCloses;
}

void WindowEffectsRecorder::Record(std::string call) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_calls.push_back(std::move(call));
}

WindowEffectsRecorder::ListedDevice* WindowEffectsRecorder::FindDevice(int deviceType) {
    for (ListedDevice& device : m_devices) {
        if (device.deviceType == deviceType) {
            return &device;
        }
    }
    return nullptr;
}

}  // namespace tavik
