#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "app/device/headless_window.h"

namespace tavik {

// A headless main window that records every window effect as one line of text
// ("SetBatteryInfo 85 0", "SetMouseVersionLabel Mouse: 1.2.5", "ShowView NoConnection"), in
// call order, so tests can compare what a window would have shown. Its device list answers
// as the real control does (HeadlessWindow).
class WindowEffectsRecorder : public HeadlessWindow {
public:
    using ListedDevice = HeadlessWindow::ListedDevice;

    void SetBatteryInfo(int level, int charging) override;
    void SetDeviceBattery(int deviceType, int level, int charging) override;
    void SetMouseVersionLabel(const std::wstring& text) override;
    void SetReceiverVersionLabel(const std::wstring& text) override;
    void SelectDpiStage(int stageIndex) override;
    void RefreshButtonPage() override;
    void RefreshMacroPage() override;
    void RefreshPerformancePage() override;
    void RefreshLightPage() override;

    void ClearDeviceList() override;
    void AddDeviceListItem(const std::wstring& name, int deviceType,
                           const std::wstring& picturePath) override;
    void SetAllDeviceState(int state) override;
    void SetDeviceState(int deviceType, int mode, int state) override;
    void SetDeviceVersion(int deviceType, int releaseNumber) override;
    void SetSelectDevice(int deviceType) override;
    void SetStatusText(int languageText) override;
    void ShowView(MainView view) override;
    void LoadDeviceDescription(int deviceType) override;
    void SetApplicationVersionLabel(const std::wstring& text) override;
    void SetMousePicture(const std::wstring& picture) override;
    void SetLightingAvailable(bool available) override;
    void ClearMouseButtons() override;
    void AddMouseButton(const std::wstring& name, int keyValue, int direction, int fromX, int fromY,
                        int toX, int toY) override;
    void DisableInputMethod() override;
    int CloseTransientWindows() override;
    void CloseWaitDialog() override;

    std::vector<std::string> Calls() const;
    // The calls whose line starts with `name` followed by a space or the end of the line.
    std::vector<std::string> CallsOf(const std::string& name) const;
    void Clear();
    int TransientWindowCloses() const;

    static const char* ViewName(MainView view);

protected:
    void Record(std::string call);

private:
    mutable std::mutex m_lock;  // guards m_calls, m_transientCloses
    std::vector<std::string> m_calls;
    int m_transientCloses = 0;
};

}  // namespace tavik
