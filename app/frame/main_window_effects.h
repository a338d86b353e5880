#pragma once

#include <windows.h>

#include <functional>
#include <mutex>
#include <string>

#include "app/device/headless_window.h"

namespace tavik {

class DeviceMainDlg;
class KeptWaitDlg;
class UiThreadQueue;

// The device engine's effects on the main window. The device list, view and status text
// are kept by HeadlessWindow, the one portable model of them (so GetSelectDevice answers the
// worker without touching a control), and every effect reaches the controls on the window's
// thread: at once when it is called there, otherwise posted through the window's queue.
class MainWindowEffects : public HeadlessWindow {
public:
    MainWindowEffects(DeviceMainDlg& window, UiThreadQueue& queue, KeptWaitDlg& waitDialog);

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
    void SetAllDeviceState(ConnectState state) override;
    void SetDeviceState(int deviceType, DeviceMode mode, ConnectState state) override;
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

    // The user picked a card: the model follows the control (window's thread).
    void RememberSelection(int deviceType) { HeadlessWindow::SetSelectDevice(deviceType); }

private:
    void OnWindowThread(std::function<void()> work);

    DeviceMainDlg& m_window;     // not owned: it owns these effects
    UiThreadQueue& m_queue;      // not owned
    KeptWaitDlg& m_waitDialog;   // not owned
    const DWORD m_windowThread;  // the thread that created the window
    std::mutex m_labelLock;      // guards m_mouseLabel and m_receiverLabel
    std::wstring m_mouseLabel;
    std::wstring m_receiverLabel;
};

}  // namespace tavik
