#pragma once

#include <windows.h>

#include <mutex>
#include <string>
#include <vector>

#include "app/device/window_effects.h"

namespace tavik {

// What the plain main window shows of the device engine: the engine's calls are kept here
// (from the worker and the UI thread alike) and the window is asked to repaint.
class PlainWindowEffects : public WindowEffects {
public:
    struct DeviceItem {
        std::wstring name;
        int deviceType = 0;
        int wiredState = 0;
        int wirelessState = 0;
        int battery = -1;
        int charging = 0;
        int releaseNumber = 0;
    };
    struct Snapshot {
        std::vector<DeviceItem> devices;
        int selectedDeviceType = 0;
        int statusText = 0;
        MainView view = MainView::kDeviceList;
        int batteryLevel = -1;
        int batteryCharging = 0;
        int dpiStage = -1;
        std::wstring mouseVersion;
        std::wstring receiverVersion;
        std::wstring applicationVersion;
    };

    // `window` gets `repaintMessage` posted after every change.
    PlainWindowEffects(HWND window, UINT repaintMessage);

    Snapshot Current() const;

    void SetBatteryInfo(int level, int charging) override;
    void SetDeviceBattery(int deviceType, int level, int charging) override;
    void SetMouseVersionLabel(const std::wstring& text) override;
    void SetReceiverVersionLabel(const std::wstring& text) override;
    void SelectDpiStage(int stageIndex) override;
    void RefreshButtonPage() override {}
    void RefreshMacroPage() override {}
    void RefreshPerformancePage() override {}
    void RefreshLightPage() override {}
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
    void LoadDeviceDescription(int) override {}
    void SetApplicationVersionLabel(const std::wstring& text) override;
    void SetMousePicture(const std::wstring&) override {}
    void SetLightingAvailable(bool) override {}
    void ClearMouseButtons() override {}
    void AddMouseButton(const std::wstring&, int, int, int, int, int, int) override {}
    void DisableInputMethod() override {}
    int CloseTransientWindows() override { return 0; }
    void CloseWaitDialog() override {}

private:
    template <typename Change>
    void Update(Change change);
    DeviceItem* FindDevice(int deviceType);

    HWND m_window;  // not owned
    UINT m_repaintMessage;
    mutable std::mutex m_lock;  // guards m_snapshot
    Snapshot m_snapshot;
};

}  // namespace tavik
