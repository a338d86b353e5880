#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/device/computer_functions.h"
#include "app/device/device_connection.h"
#include "app/frame/tray_icon.h"

namespace tavik {

namespace sim {
class DeviceSimulator;
class ScenarioPlayer;
}  // namespace sim
class DeviceCatalogue;
class DeviceWorker;
class PlainWindowEffects;

// The main window: a borderless 1280 × 780 pop-up, centred, with the tray icon. This plain
// window carries the lifecycle (single-instance marker, tray, the ways the application
// ends) until the skinned main window takes its place.
class DeviceMainDlg {
public:
    // With simulated devices, `scenarioFile` (may be empty) is a scenario played on them.
    DeviceMainDlg(bool useSimulatedDevices, std::wstring scenarioFile);
    ~DeviceMainDlg();
    DeviceMainDlg(const DeviceMainDlg&) = delete;
    DeviceMainDlg& operator=(const DeviceMainDlg&) = delete;

    // Creates the window, shown or hidden in the tray, and runs its message loop until the
    // window is destroyed.
    void RunModal(bool visible);

private:
    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnInitDialog();
    void OnClose();
    void OnTrayMessage(LPARAM mouseMessage);
    void ShowFromTray();
    // Removes the tray icon and ends the process at once with code 0.
    [[noreturn]] void EndApplication();
    void OnDeviceChange(WPARAM event, LPARAM data);
    void StartSimulatedDevices();
    void StopDevices();
    void Paint();

    HWND m_window = nullptr;
    HFONT m_titleFont = nullptr;  // owned: made once, not on every paint
    HFONT m_bodyFont = nullptr;   // owned
    TrayIcon m_trayIcon;
    void* m_hidNotifications = nullptr;
    bool m_useSimulatedDevices = false;
    std::wstring m_scenarioFile;
    std::unique_ptr<sim::DeviceSimulator> m_simulator;
    std::unique_ptr<sim::ScenarioPlayer> m_scenario;
    std::unique_ptr<PlainWindowEffects> m_effects;
    std::unique_ptr<DeviceCatalogue> m_catalogue;
    std::unique_ptr<DeviceTypePreference> m_deviceTypePreference;
    std::unique_ptr<ComputerFunctions> m_computerFunctions;
    // Declared last: destroyed first, so it stops before what it uses goes away.
    std::unique_ptr<DeviceWorker> m_worker;
};

}  // namespace tavik
