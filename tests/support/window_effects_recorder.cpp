#include "tests/support/window_effects_recorder.h"

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

void WindowEffectsRecorder::SetDeviceBattery(int deviceType, int level, int charging) {
    HeadlessWindow::SetDeviceBattery(deviceType, level, charging);
    Record(Line("SetDeviceBattery", {deviceType, level, charging}));
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
    HeadlessWindow::SetAllDeviceState(state);
    Record(Line("SetAllDeviceState", {state}));
}

void WindowEffectsRecorder::SetDeviceState(int deviceType, int mode, int state) {
    HeadlessWindow::SetDeviceState(deviceType, mode, state);
    Record(Line("SetDeviceState", {deviceType, mode, state}));
}

void WindowEffectsRecorder::SetDeviceVersion(int deviceType, int releaseNumber) {
    HeadlessWindow::SetDeviceVersion(deviceType, releaseNumber);
    Record(Line("SetDeviceVersion", {deviceType, releaseNumber}));
}

void WindowEffectsRecorder::SetSelectDevice(int deviceType) {
    HeadlessWindow::SetSelectDevice(deviceType);
    Record(Line("SetSelectDevice", {deviceType}));
}

void WindowEffectsRecorder::SetStatusText(int languageText) {
    HeadlessWindow::SetStatusText(languageText);
    Record(Line("SetStatusText", {languageText}));
}

void WindowEffectsRecorder::ShowView(MainView view) {
    HeadlessWindow::ShowView(view);
    Record(std::string("ShowView ") + ViewName(view));
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
    HeadlessWindow::ClearDeviceList();
    Record("ClearDeviceList");
}

void WindowEffectsRecorder::AddDeviceListItem(const std::wstring& name, int deviceType,
                                              const std::wstring& picturePath) {
    HeadlessWindow::AddDeviceListItem(name, deviceType, picturePath);
    Record("AddDeviceListItem " + WideToUtf8(name) + " " + std::to_string(deviceType) + " " +
           WideToUtf8(picturePath));
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

int WindowEffectsRecorder::TransientWindowCloses() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_transientCloses;
}

void WindowEffectsRecorder::Record(std::string call) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_calls.push_back(std::move(call));
}

}  // namespace tavik
