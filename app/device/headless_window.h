#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "app/device/window_effects.h"

namespace tavik {

// The portable model of the main window's device list (items, the state setters, and the
// selection with its fallback, as the list control keeps them), its view and status text.
// The command line uses it as a window without a screen, the real main window and the tests'
// recorder build on it, so every one of them answers GetSelectDevice by the same rule; the
// effects it has nothing to show for are dropped here. Safe to call from any thread.
class HeadlessWindow : public WindowEffects {
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

    void SetBatteryInfo(int, int) override {}
    void SetDeviceBattery(int deviceType, int level, int charging) override;
    void SetMouseVersionLabel(const std::wstring&) override {}
    void SetReceiverVersionLabel(const std::wstring&) override {}
    void SelectDpiStage(int) override {}
    void RefreshButtonPage() override {}
    void RefreshMacroPage() override {}
    void RefreshPerformancePage() override {}
    void RefreshLightPage() override {}

    void ClearDeviceList() override;
    void AddDeviceListItem(const std::wstring& name, int deviceType,
                           const std::wstring& picturePath) override;
    void SetAllDeviceState(ConnectState state) override;
    void SetDeviceState(int deviceType, DeviceMode mode, ConnectState state) override;
    void SetDeviceVersion(int deviceType, int releaseNumber) override;
    void SetSelectDevice(int deviceType) override;
    int GetSelectDevice() override;
    void SetStatusText(int languageText) override;
    void ShowView(MainView view) override;
    void LoadDeviceDescription(int) override {}
    void SetApplicationVersionLabel(const std::wstring&) override {}
    void SetMousePicture(const std::wstring&) override {}
    void SetLightingAvailable(bool) override {}
    void ClearMouseButtons() override {}
    void AddMouseButton(const std::wstring&, int, int, int, int, int, int) override {}
    void DisableInputMethod() override {}
    int CloseTransientWindows() override { return 0; }
    void CloseWaitDialog() override {}

    // The device list as the window would show it.
    std::vector<ListedDevice> Devices() const;
    // What the window shows now.
    MainView View() const;
    int StatusText() const;

private:
    ListedDevice* FindDevice(int deviceType);

    mutable std::mutex m_lock;  // guards every field below
    std::vector<ListedDevice> m_devices;
    int m_selected = 0;  // index into m_devices, -1 when nothing is selected
    MainView m_view = MainView::kDeviceList;
    int m_statusText = 0;
};

}  // namespace tavik
