#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/config/page_context.h"
#include "app/config/profile_page.h"
#include "app/device/computer_functions.h"
#include "app/device/device_connection.h"
#include "app/device/window_effects.h"
#include "app/frame/main_window_geometry.h"
#include "app/frame/tray_icon.h"
#include "app/frame/ui_thread_queue.h"
#include "app/services/wait_dlg.h"
#include "orvo/dialog.h"

namespace Orvo {
class BatteryCtrl;
class CDeviceList;
class CDeviceState;
class CIconButton;
class CImageButton;
class DPIControl;
class DPISlider;
class MButton;
class MControlFont;
class MPicture;
class MTabCtrl;
class MTabLayout;
class MText;
class MouseCtrl;
}  // namespace Orvo

namespace tavik {

namespace sim {
class DeviceSimulator;
class ScenarioPlayer;
}  // namespace sim
class DeviceCatalogue;
class DeviceWorker;
class Dialogs;
class MainWindowEffects;
class UiStateFile;

// The application's only top-level window: the skinned 1280 x 780 frame with caption, left
// tab strip, page area and status bar, and the home view listing the attached devices. It
// owns the device worker and every device-link object the pages read; the worker reaches it
// only through MainWindowEffects, which posts each effect to this window's thread.
class DeviceMainDlg : public Orvo::MDialog, private ProfileView {
public:
    // With simulated devices, `scenarioFile` (may be empty) is a scenario played on them.
    DeviceMainDlg(bool useSimulatedDevices, std::wstring scenarioFile);
    ~DeviceMainDlg() override;
    DeviceMainDlg(const DeviceMainDlg&) = delete;
    DeviceMainDlg& operator=(const DeviceMainDlg&) = delete;

    // Creates the window, shown or hidden in the tray, and runs it until it is destroyed.
    void RunModal(bool visible);

    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog() override;
    void InitUI(const Orvo::CRect& clientRect) override;
    void UISize(const Orvo::CRect& clientRect) override;
    long OnMessage(UINT controlId, UINT code, WPARAM wParam, LPARAM lParam) override;
    void OnTimer(UINT_PTR) override {}
    LRESULT OnSize(UINT type, int cx, int cy) override;
    LRESULT OnClose() override;
    LRESULT OnDestroy() override;
    // Stops the worker (bounded), removes the tray icon, empties the device records and
    // destroys the window.
    virtual void DestroyMainWindow();

    // What MainWindowEffects runs on this window's thread.
    void ShowView(MainView view);
    void ShowBattery(int level, int charging);
    void ShowStatusText(int languageText);
    void ShowFirmwareLabels(const std::wstring& mouse, const std::wstring& receiver);
    void ShowDpiStage(int stageIndex);
    void ShowMousePicture(const std::wstring& picture);
    void ShowLightTab(bool available);
    void ClearMouseButtons();
    void AddMouseButton(const std::wstring& name, int keyValue, int direction, POINT from,
                        POINT to);
    void ShowApplicationVersion(const std::wstring& text);
    void LoadDeviceDescription(int deviceType);
    void RefreshPerformancePage();
    void RefreshProfileLabel();
    void DisableInputMethod();
    // Closes and hides what belongs to the old device; the message boxes and the wait dialog
    // are closed by the caller's thread already.
    void CloseOwnedPopups();
    Orvo::CDeviceList* DeviceList() { return m_deviceList; }
    // Something the window shows changed: the test state file (when asked for) follows.
    void NoteChange();

private:
    void SetProfileLabel(const std::wstring& name) override;

    void CreateFrameControls(const Orvo::CRect& client);
    void CreateHomeView();
    void CreatePages();
    void CreateEmptyState(Orvo::MTabLayout& page, UINT firstId, int titleText);
    void CreateButtonPage();
    void CreatePerformancePage();
    void CreateSystemPage();
    void ApplyTexts();
    void LayOutPages(const MainWindowGeometry& geometry);

    void StartDevices();
    void StartSimulatedDevices();
    void OnDeviceChange(WPARAM event, LPARAM data);
    void OnTrayMessage(LPARAM mouseMessage);
    void ShowFromTray();
    [[noreturn]] void EndApplication();
    void StopDevices();
    void OnLanguageChanged();
    void OnTabSelected(int index);
    void OnDeviceOpened();
    void OnFactoryReset();
    void OnCaptionButton(UINT controlId);
    void QueueJob(int jobCode);
    bool IsConnected() const;
    void WriteUiState();
    LRESULT RecordPaint(UINT msg, WPARAM wParam, LPARAM lParam);

    // Device link.
    bool m_useSimulatedDevices = false;
    std::wstring m_scenarioFile;
    TrayIcon m_trayIcon;
    void* m_hidNotifications = nullptr;
    std::unique_ptr<sim::DeviceSimulator> m_simulator;
    std::unique_ptr<sim::ScenarioPlayer> m_scenario;
    UiThreadQueue m_uiQueue;
    std::unique_ptr<MainWindowEffects> m_effects;
    std::unique_ptr<DeviceCatalogue> m_catalogue;
    std::unique_ptr<DeviceTypePreference> m_deviceTypePreference;
    std::unique_ptr<ComputerFunctions> m_computerFunctions;
    std::unique_ptr<PageContext> m_pageContext;
    std::unique_ptr<Dialogs> m_dialogs;
    std::unique_ptr<ProfilePage> m_profilePage;
    KeptWaitDlg m_waitDialog;
    std::unique_ptr<UiStateFile> m_uiState;
    bool m_uiStatePending = false;    // its write is waiting on the timer
    std::map<int, int> m_queuedJobs;  // UI thread: job code -> times this window queued it
    // The firmware base address of the described model, for the update code.
    std::wstring m_firmwareUpdateBase;
    int m_currentTab = 1;
    MainView m_view = MainView::kDeviceList;
    int m_statusText = 0;
    std::wstring m_mouseVersion;
    std::wstring m_receiverVersion;
    std::wstring m_applicationVersion;
    std::wstring m_paintLog;

    // Frame controls: owned by the paint manager.
    Orvo::MPicture* m_background = nullptr;
    Orvo::MPicture* m_captionBar = nullptr;
    Orvo::MPicture* m_statusBar = nullptr;
    Orvo::MPicture* m_leftPanel = nullptr;
    Orvo::MPicture* m_logo = nullptr;
    Orvo::MPicture* m_captionPicture = nullptr;
    Orvo::MText* m_title = nullptr;
    Orvo::MText* m_version = nullptr;
    Orvo::MText* m_statusCentre = nullptr;
    Orvo::CImageButton* m_closeButton = nullptr;
    Orvo::CImageButton* m_maximiseButton = nullptr;
    Orvo::CImageButton* m_minimiseButton = nullptr;
    Orvo::CImageButton* m_settingsButton = nullptr;
    Orvo::BatteryCtrl* m_battery = nullptr;
    Orvo::CDeviceState* m_connectionState = nullptr;
    Orvo::CIconButton* m_profileButton = nullptr;
    std::vector<Orvo::MTabLayout*> m_pages;  // 49 home, 50 buttons, 51 DPI, 52 macros, 53 light,
                                             // 54 text, 55 device settings
    Orvo::MTabCtrl* m_tabs = nullptr;
    Orvo::CDeviceList* m_deviceList = nullptr;
    Orvo::MText* m_deviceListHint = nullptr;
    Orvo::MPicture* m_noConnectionPicture = nullptr;
    Orvo::MText* m_noConnectionText = nullptr;
    std::vector<Orvo::MButton*> m_homeButtons;
    Orvo::MPicture* m_mousePictureControl = nullptr;
    Orvo::MouseCtrl* m_mouseButtons = nullptr;
    Orvo::DPIControl* m_dpiStages = nullptr;
    Orvo::DPISlider* m_dpiSlider = nullptr;
    std::vector<Orvo::MButton*> m_systemButtons;
    struct EmptyState {
        Orvo::MText* title;  // not owned, as every control here
        Orvo::MText* line;
    };
    std::vector<EmptyState> m_emptyStates;
    // Controls whose whole text is one language text, with its number.
    std::vector<std::pair<Orvo::MControlFont*, int>> m_textLabels;

    // Declared last: destroyed first, so it stops before what it uses goes away.
    std::unique_ptr<DeviceWorker> m_worker;
};

}  // namespace tavik
