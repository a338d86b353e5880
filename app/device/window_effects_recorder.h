#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "app/device/window_effects.h"

namespace tavik {

// A headless main window: records every window effect as one line of text
// ("SetBatteryInfo 85 0", "SetMouseVersionLabel Mouse: 1.2.5", "ShowView NoConnection"), in
// call order, so tests can compare what a window would have shown. It also keeps a device
// list as the real control does (items, the state setters, and the selection with its
// fallback), so GetSelectDevice answers as the window would.
class WindowEffectsRecorder : public WindowEffects {
public:
    // One entry of the device list.
    struct ListedDevice {
        std::wstring name;
        std::wstring picturePath;
        int deviceType = 0;
        int state = 0;  // 0 not connected (not shown), above 0 shown
        int mode = 0;
        int releaseNumber = 0;
        int charging = 0;
        int level = 100;
    };

    void SetBatteryInfo(int level, int charging) override;
    void SetDeviceBattery(int deviceType, int charging, int level) override;
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
    int GetSelectDevice() override;
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

    // The device list as the window would show it.
    std::vector<ListedDevice> Devices() const;

    std::vector<std::string> Calls() const;
    // The calls whose line starts with `name` followed by a space or the end of the line.
    std::vector<std::string> CallsOf(const std::string& name) const;
    void Clear();

    // What the window shows now.
    MainView View() const;
    int StatusText() const;
    int TransientWindowCloses() const;

    static const char* ViewName(MainView view);

protected:
    void Record(std::string call);

private:
    ListedDevice* FindDevice(int deviceType);

    mutable std::mutex m_lock;  // guards every field below
    std::vector<std::string> m_calls;
    std::vector<ListedDevice> m_devices;
    int m_selected = 0;  // index into m_devices, -1 when nothing is selected
    MainView m_view = MainView::kDeviceList;
    int m_statusText = 0;
    int m_transientCloses = 0;
};

}  // namespace tavik
