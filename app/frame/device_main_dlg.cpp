#include "app/frame/device_main_dlg.h"

#include <windows.h>
#include <dbt.h>
#include <imm.h>
#include <mmsystem.h>

#include <cstdio>
#include <cwchar>
#include <filesystem>
#include <string>
#include <vector>

#include "app/common/text_encoding.h"
#include "app/config/computer_function_runner.h"
#include "app/config/platform_dialogs_win.h"
#include "app/device/device_catalogue.h"
#include "app/device/device_worker.h"
#include "app/device/hid_device_manager.h"
#include "app/device/hid_notifications.h"
#include "app/device/job_queue.h"
#include "app/device/sim/device_simulator.h"
#include "app/device/sim/scenario_script.h"
#include "app/frame/main_window_effects.h"
#include "app/frame/main_window_ids.h"
#include "app/frame/registry_settings.h"
#include "app/frame/startup.h"
#include "app/frame/ui_state_file.h"
#include "app/services/language_text.h"
#include "app/services/ui_message_box.h"
#include "app/store/settings_database.h"
#include "orvo/buttons.h"
#include "orvo/device_list.h"
#include "orvo/manager.h"

namespace tavik {
namespace {

// Hot-plug events of the simulated devices, posted from the thread that caused them:
// wParam is the event, lParam an owned copy of the interface path.
constexpr UINT kSimulatedDeviceChangeMessage = WM_APP + 2;
constexpr UINT kLanguageChangedMessage = 2022;
constexpr UINT kUpdateResultMessage = 1692;
constexpr UINT kMacroMenuMessage = 1709;
constexpr UINT kClicked = 2;
constexpr UINT kTabSelected = 1;  // the tab strip sends 1 with the index it selected
constexpr UINT kDeviceOpened = 2;

// Text numbers of the frame.
constexpr int kFactoryResetTitleText = 570;
constexpr int kFactoryResetQuestionText = 571;
constexpr int kNoticeTitleText = 576;
constexpr int kNotConnectedText = 57;

// The firmware base of the update server for the described model.
constexpr wchar_t kUpdateHost[] = L"https://update.tavik-mouse.com";
constexpr wchar_t kFirmwareBasePath[] = L"/firmware-upgrade/tavik/qz70_2260/release/";

class RegistryDeviceTypePreference : public DeviceTypePreference {
public:
    int ReadDeviceType() override { return tavik::ReadDeviceType(); }
    void WriteDeviceType(int deviceType) override { tavik::WriteDeviceType(deviceType); }
};

std::wstring EnvironmentValue(const wchar_t* name) {
    wchar_t value[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(name, value, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(value, length) : std::wstring();
}

// Milliseconds since this process was created.
double MillisecondsSinceProcessStart() {
    FILETIME created = {};
    FILETIME exited = {};
    FILETIME kernel = {};
    FILETIME user = {};
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    FILETIME now = {};
    GetSystemTimeAsFileTime(&now);
    const auto ticks = [](const FILETIME& time) {
        return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    return static_cast<double>(ticks(now) - ticks(created)) / 10000.0;
}

}  // namespace

DeviceMainDlg::DeviceMainDlg(bool useSimulatedDevices, std::wstring scenarioFile)
    : m_useSimulatedDevices(useSimulatedDevices), m_scenarioFile(std::move(scenarioFile)) {
    const std::wstring statePath = EnvironmentValue(L"TAVIK_UI_STATE");
    if (!statePath.empty()) {
        m_uiState = std::make_unique<UiStateFile>(statePath);
    }
    m_paintLog = EnvironmentValue(L"TAVIK_PAINT_LOG");
}

DeviceMainDlg::~DeviceMainDlg() {
    StopDevices();
    // Nothing the worker uses may go before it has stopped: the worker first, then the wait
    // dialog it may still have reached, then the devices.
    m_worker.reset();
    m_uiQueue.Detach();
    m_waitDialog.Reset();
    m_scenario.reset();
    HidDeviceManager::Instance().CloseAll();
    if (m_simulator) {
        HidDeviceManager::Instance().UseBackend(RealHidApi());
    }
}

void DeviceMainDlg::RunModal(bool visible) {
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    const int left = (screenWidth - kMainWindowWidth) / 2;
    const int top = (screenHeight - kMainWindowHeight) / 2;
    constexpr DWORD kStyle = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_MINIMIZEBOX;
    if (Create(nullptr, Orvo::Manager::GetDeviceName(), kStyle, WS_EX_APPWINDOW,
               Orvo::CRect(left, top, left + kMainWindowWidth, top + kMainWindowHeight)) ==
        nullptr) {
        return;
    }
    ShowModal(visible ? SW_SHOW : SW_HIDE);
}

BOOL DeviceMainDlg::OnInitDialog() {
    m_uiQueue.Attach(m_hWnd);
    MDialog::OnInitDialog();
    SetPropW(m_hWnd, Orvo::Manager::GetDeviceName(), reinterpret_cast<HANDLE>(1));
    m_trayIcon.Add(m_hWnd);
    HICON icon = LoadIconW(Orvo::Manager::GetInstance(), MAKEINTRESOURCEW(kWindowIconResource));
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    StartDevices();
    // The toolkit's 10 ms tick drives the charging battery and the GIFs; it runs only while
    // one of them animates and the window is shown.
    SetMTimer(10);
    NoteChange();
    return TRUE;
}

void DeviceMainDlg::StartDevices() {
    HidDeviceManager& devices = HidDeviceManager::Instance();
    if (m_useSimulatedDevices) {
        StartSimulatedDevices();
    }
    SettingsDatabase& store = SettingsDatabase::Instance();
    store.SetInterfaceLanguage(GetCurrentLanguage());
    m_effects = std::make_unique<MainWindowEffects>(*this, m_uiQueue, m_waitDialog);
    m_deviceTypePreference = std::make_unique<RegistryDeviceTypePreference>();
    m_computerFunctions = std::make_unique<PlatformComputerFunctions>(store);
    m_dialogs = std::make_unique<PlatformDialogs>(
        m_hWnd, [](int number) { return GetLanguageText(number); });
    m_pageContext = std::make_unique<PageContext>(
        store, [this](int jobCode) { QueueJob(jobCode); },
        [](int number) { return GetLanguageText(number); });
    m_profilePage =
        std::make_unique<ProfilePage>(*m_pageContext, static_cast<ProfileView&>(*this), *m_dialogs);

    DeviceCatalogue::Setup setup;
    setup.programDirectory = Orvo::Manager::GetProgramDirectory();
    setup.themeDirectory = Orvo::Manager::GetThemeDirectory();
    setup.dataDirectory = GetDataDirectory();
    setup.manager = &devices;
    setup.store = &store;
    setup.effects = m_effects.get();
    setup.languageText = [](int number) { return GetLanguageText(number); };
    m_catalogue = std::make_unique<DeviceCatalogue>(setup);
    m_catalogue->LoadCatalogue();
    m_firmwareUpdateBase = std::wstring(kUpdateHost) + kFirmwareBasePath;

    m_worker = std::make_unique<DeviceWorker>(devices, store, *m_effects, *m_computerFunctions,
                                              *m_deviceTypePreference);
    m_worker->SetLanguageTexts([](int number) { return GetLanguageText(number); });
    m_worker->SetLightingAvailable(m_catalogue->HasLighting());
    m_worker->Connection().SetDeviceRecords(m_catalogue->ModeRecords());
    // The multimedia timer's resolution is raised only while a job needs pauses shorter than
    // the system's tick (the macro upload), never while the worker is idle.
    m_worker->SetTimerResolutionHooks(
        {[](int milliseconds) { timeBeginPeriod(static_cast<UINT>(milliseconds)); },
         [](int milliseconds) { timeEndPeriod(static_cast<UINT>(milliseconds)); }});
    m_pageContext->SetProfileSink([this](int profile) {
        m_worker->ChangeMouseState(
            [profile](ConnectedMouseState& mouse) { mouse.currentProfile = profile; });
    });
    m_pageContext->SetDeviceType(m_catalogue->CurrentDeviceType());
    m_profilePage->LoadProfiles();
    m_hidNotifications = RegisterHidNotifications(m_hWnd);
    // The probe of the attached devices runs on the worker: the window shows at once and the
    // device list fills when the probe ends.
    m_worker->RequestRefreshDevices();
    QueueJob(job::kFirstRead);
    m_worker->StartWorker();
}

void DeviceMainDlg::StartSimulatedDevices() {
    m_simulator = std::make_unique<sim::DeviceSimulator>();
    HWND window = m_hWnd;
    m_simulator->SetHotPlugCallback([window](sim::HotPlugEvent event, const std::string& path) {
        auto* copy = new std::string(path);
        if (!::PostMessageW(window, kSimulatedDeviceChangeMessage,
                            event == sim::HotPlugEvent::kArrival ? 1 : 0,
                            reinterpret_cast<LPARAM>(copy))) {
            delete copy;
        }
    });
    HidDeviceManager::Instance().UseBackend(m_simulator->Api());
    if (m_scenarioFile.empty()) {
        return;
    }
    sim::ScenarioScript script;
    std::string error;
    if (!sim::ScenarioScript::Load(std::filesystem::path(m_scenarioFile), script, error)) {
        // A person trying a scenario wants to know which line is wrong; the devices run
        // without it.
        ShowMessageBox(Utf8ToWide(error), m_hWnd, Orvo::Manager::GetDeviceName(),
                       kMessageBoxStyleOk);
        return;
    }
    m_scenario = std::make_unique<sim::ScenarioPlayer>(*m_simulator, std::move(script));
}

void DeviceMainDlg::QueueJob(int jobCode) {
    if (!m_worker) {
        return;
    }
    m_worker->QueueJob(jobCode);
    ++m_queuedJobs[jobCode];
    NoteChange();
}

bool DeviceMainDlg::IsConnected() const {
    return m_worker && m_worker->Connection().IsConnected();
}

LRESULT DeviceMainDlg::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_PAINT:
            if (!m_paintLog.empty()) {
                return RecordPaint(msg, wParam, lParam);
            }
            break;
        case WM_COMMAND:
            if (LOWORD(wParam) == kExitCommand) {
                EndApplication();
            }
            if (LOWORD(wParam) == kSettingsCommand) {
                // The settings dialog opens here once it exists.
                return 0;
            }
            break;
        case WM_DEVICECHANGE:
            if (m_worker) {
                OnDeviceChange(wParam, lParam);
            }
            return 0;
        case WM_INPUT:
            // Macro recording takes raw input once the macro page is bound.
            break;
        case WM_TIMER:
            if (wParam == kUiStateTimer) {
                ::KillTimer(m_hWnd, kUiStateTimer);
                m_uiStatePending = false;
                WriteUiState();
                return 0;
            }
            break;
        default:
            break;
    }
    if (msg == UiThreadQueue::kRunMessage) {
        m_uiQueue.RunQueued();
        return 0;
    }
    if (msg == kSimulatedDeviceChangeMessage) {
        std::unique_ptr<std::string> path(reinterpret_cast<std::string*>(lParam));
        if (m_worker) {
            m_worker->Connection().UpdateUSBDevice(
                wParam == 1 ? DeviceChangeEvent::kArrival : DeviceChangeEvent::kRemoval, *path);
        }
        return 0;
    }
    if (msg == kTrayCallbackMessage) {
        OnTrayMessage(lParam);
        return 0;
    }
    if (msg == kEndApplicationMessage) {
        if (lParam == kEndApplicationParam) {
            EndApplication();
        }
        return 0;
    }
    if (msg == kUpdateResultMessage) {
        // Update results reach the update code once it is part of the program.
        return 0;
    }
    if (msg == static_cast<UINT>(kProfileRequestMessage)) {
        if (m_profilePage) {
            m_profilePage->OnProfileRequest(static_cast<int>(wParam), static_cast<int>(lParam));
            NoteChange();
        }
        return 0;
    }
    if (msg == kMacroMenuMessage) {
        // The macro page handles its menu's copy and delete once it is bound.
        return 0;
    }
    if (msg == kLanguageChangedMessage) {
        OnLanguageChanged();
    }
    return MDialog::OnWindowMessage(msg, wParam, lParam);
}

LRESULT DeviceMainDlg::RecordPaint(UINT msg, WPARAM wParam, LPARAM lParam) {
    LARGE_INTEGER frequency = {};
    LARGE_INTEGER start = {};
    LARGE_INTEGER end = {};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    const LRESULT result = MDialog::OnWindowMessage(msg, wParam, lParam);
    QueryPerformanceCounter(&end);
    const double microseconds =
        frequency.QuadPart > 0
            ? static_cast<double>(end.QuadPart - start.QuadPart) * 1e6 / frequency.QuadPart
            : 0.0;
    if (FILE* log = _wfopen(m_paintLog.c_str(), L"a")) {
        std::fprintf(log, "%.0f %.1f\n", microseconds, MillisecondsSinceProcessStart());
        std::fclose(log);
    }
    return result;
}

LRESULT DeviceMainDlg::OnSize(UINT type, int cx, int cy) {
    MDialog::OnSize(type, cx, cy);
    // Only the caption bar drags the window; the pages keep their clicks.
    const Orvo::CRect client = GetCachedClientRect();
    SetCaptionRect(Orvo::CRect(1, 1, client.right - 1, 50));
    NoteChange();
    return 1;
}

LRESULT DeviceMainDlg::OnClose() {
    if (ReadRegistryInt(L"exit_mode") == 1) {
        EndApplication();
    }
    ::ShowWindow(m_hWnd, SW_HIDE);
    return 1;
}

LRESULT DeviceMainDlg::OnDestroy() {
    DestroyMainWindow();
    PostQuitMessage(0);
    return 0;
}

void DeviceMainDlg::DestroyMainWindow() {
    StopDevices();
    m_uiQueue.Detach();
    m_waitDialog.Reset();
    if (m_hidNotifications != nullptr) {
        UnregisterHidNotifications(m_hidNotifications);
        m_hidNotifications = nullptr;
    }
    m_trayIcon.Remove();
    if (m_worker) {
        m_worker->Connection().SetDeviceRecords({});
    }
    if (m_hWnd != nullptr) {
        RemovePropW(m_hWnd, Orvo::Manager::GetDeviceName());
    }
}

void DeviceMainDlg::StopDevices() {
    if (m_worker) {
        m_worker->StopWorker();
    }
}

void DeviceMainDlg::OnDeviceChange(WPARAM event, LPARAM data) {
    if (event != DBT_DEVICEARRIVAL && event != DBT_DEVICEREMOVECOMPLETE) {
        return;
    }
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
    if (header == nullptr || header->dbch_devicetype != DBT_DEVTYP_DEVICEINTERFACE) {
        return;
    }
    const auto* deviceInterface = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(data);
    // The name is terminated inside the size the header gives; never read past it.
    const size_t nameOffset = offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name);
    if (header->dbch_size <= nameOffset) {
        return;
    }
    const size_t capacity = (header->dbch_size - nameOffset) / sizeof(wchar_t);
    const std::wstring name(deviceInterface->dbcc_name,
                            wcsnlen(deviceInterface->dbcc_name, capacity));
    m_worker->Connection().UpdateUSBDevice(
        event == DBT_DEVICEARRIVAL ? DeviceChangeEvent::kArrival : DeviceChangeEvent::kRemoval,
        WideToUtf8(name));
}

void DeviceMainDlg::OnTrayMessage(LPARAM mouseMessage) {
    switch (static_cast<UINT>(mouseMessage)) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            ShowFromTray();
            break;
        case WM_RBUTTONUP:
            m_trayIcon.ShowMenu();
            break;
        default:
            break;
    }
}

void DeviceMainDlg::ShowFromTray() {
    SetForegroundWindow(m_hWnd);
    ::ShowWindow(m_hWnd, SW_SHOW);
    UpdateWindow(m_hWnd);
    BringWindowToTop(m_hWnd);
}

void DeviceMainDlg::EndApplication() {
    // The process ends at once; the worker is not waited for.
    m_trayIcon.Remove();
    ExitProcess(0);
}

void DeviceMainDlg::OnLanguageChanged() {
    // The settings dialog stores the new language before it tells this window, so the stored
    // value is the one to show.
    const int stored = ReadLanguageId();
    if (stored != 0) {
        const int language = NormaliseLanguageId(stored);
        SetCurrentLanguage(language);
        Orvo::Manager::SetLanguage(language);
    }
    SettingsDatabase::Instance().SetInterfaceLanguage(GetCurrentLanguage());
    ApplyTexts();
    NoteChange();
}

long DeviceMainDlg::OnMessage(UINT controlId, UINT code, WPARAM wParam, LPARAM lParam) {
    switch (controlId) {
        case kCloseButtonId:
        case kMinimiseButtonId:
        case kMaximiseButtonId:
        case kSettingsButtonId:
            if (code == kClicked) {
                OnCaptionButton(controlId);
                return 1;
            }
            break;
        case kProfileButtonId:
            if (code == kClicked && m_profilePage && m_profilePage->CanOpenProfileDialog()) {
                // The profile dialog opens above this button once it exists.
            }
            return 1;
        case kTabStripId:
            if (code == kTabSelected) {
                OnTabSelected(static_cast<int>(wParam));
                return 1;
            }
            break;
        case kDeviceListId:
            if (code == kDeviceOpened) {
                OnDeviceOpened();
                return 1;
            }
            break;
        case kFactoryResetButtonId:
            if (code == kClicked) {
                OnFactoryReset();
                return 1;
            }
            break;
        case kPairingButtonId:
        case kPairingButton2Id:
            // The pairing dialog opens here once it exists.
            return 1;
        case kMouseFirmwareCheckId:
        case kReceiverFirmwareCheckId:
            if (code == kClicked) {
                QueueJob(controlId == kMouseFirmwareCheckId ? job::kMouseFirmwareCheck
                                                            : job::kReceiverFirmwareCheck);
                return 1;
            }
            break;
        case kMacroTabButtonId:
            if (code == kClicked && m_tabs != nullptr) {
                OnTabSelected(4);
                return 1;
            }
            break;
        case kCharacterMapButtonId:
            if (code == kClicked) {
                ShellExecuteW(m_hWnd, L"open", L"charmap.exe", nullptr, nullptr, SW_SHOWNORMAL);
                return 1;
            }
            break;
        case kMouseSettingsButtonId:
            if (code == kClicked) {
                ShellExecuteW(m_hWnd, L"open", L"control.exe", L"/name Microsoft.Mouse", nullptr,
                              SW_SHOWNORMAL);
                return 1;
            }
            break;
        default:
            break;
    }
    return MDialog::OnMessage(controlId, code, wParam, lParam);
}

void DeviceMainDlg::OnDeviceOpened() {
    if (m_deviceList == nullptr || !m_worker) {
        return;
    }
    m_effects->RememberSelection(m_deviceList->GetSelectDevice());
    m_worker->Connection().SelectDevice();
    NoteChange();
}

void DeviceMainDlg::OnFactoryReset() {
    if (!IsConnected()) {
        ShowMessageBox(GetLanguageText(kNotConnectedText), m_hWnd,
                       GetLanguageText(kNoticeTitleText), kMessageBoxStyleOk);
        return;
    }
    NoteChange();
    const int answer =
        ShowMessageBox(GetLanguageText(kFactoryResetQuestionText), m_hWnd,
                       GetLanguageText(kFactoryResetTitleText), kMessageBoxStyleQuestion);
    NoteChange();
    // Only the accepting answer resets: Alt+F4 (0), a box closed because the device went
    // away (2) or one that could not open (-1) leave the mouse and the store as they are.
    if (answer != kMessageBoxAccepted || !IsConnected()) {
        return;
    }
    // The dialog exists before the job is queued, so the worker's close always finds it.
    WaitDlg* wait = m_waitDialog.Renew();
    m_profilePage->ResetCurrentProfile();
    m_worker->Connection().SetDataRead(false);
    if (wait != nullptr) {
        NoteChange();
        wait->ShowModalOver(m_hWnd);
    }
    NoteChange();
}

void DeviceMainDlg::OnCaptionButton(UINT controlId) {
    switch (controlId) {
        case kCloseButtonId:
            OnClose();
            break;
        case kMinimiseButtonId:
            ::ShowWindow(m_hWnd, SW_MINIMIZE);
            break;
        case kMaximiseButtonId: {
            const bool maximise = ::IsZoomed(m_hWnd) == FALSE;
            ::ShowWindow(m_hWnd, maximise ? SW_MAXIMIZE : SW_RESTORE);
            if (m_maximiseButton != nullptr) {
                m_maximiseButton->SetImage(
                    maximise ? L"sysbtn_restore.png" : L"sysbtn_maximize.png", 4);
                m_maximiseButton->UpdateControl(TRUE);
            }
            break;
        }
        case kSettingsButtonId:
            // The settings dialog opens here, with the application version, once it exists.
            break;
        default:
            break;
    }
}

void DeviceMainDlg::SetProfileLabel(const std::wstring& name) {
    if (m_profileButton != nullptr) {
        m_profileButton->SetControlTitle(name.c_str());
        m_profileButton->SetUpdate(0, Orvo::ColorRef(0));
        m_profileButton->UpdateControl(TRUE);
    }
    NoteChange();
}

void DeviceMainDlg::RefreshProfileLabel() {
    if (m_worker && m_pageContext) {
        const int profile = m_worker->MouseState().currentProfile;
        if (profile > 0 && profile != m_pageContext->CurrentProfile()) {
            m_pageContext->SetCurrentProfile(profile);
        }
        std::wstring name;
        if (SettingsDatabase::Instance().GetProfileName(m_pageContext->CurrentProfile(), name)) {
            SetProfileLabel(name);
        }
    }
    NoteChange();
}

void DeviceMainDlg::DisableInputMethod() {
    ImmAssociateContext(m_hWnd, nullptr);
}

void DeviceMainDlg::LoadDeviceDescription(int deviceType) {
    if (!m_catalogue) {
        return;
    }
    m_catalogue->LoadDeviceDescription(deviceType);
    if (m_worker) {
        m_worker->SetLightingAvailable(m_catalogue->HasLighting());
    }
    if (m_pageContext) {
        m_pageContext->SetDeviceType(m_catalogue->CurrentDeviceType());
    }
    if (m_profilePage) {
        m_profilePage->LoadProfiles();
    }
    NoteChange();
}

void DeviceMainDlg::NoteChange() {
    if (m_uiState && m_hWnd != nullptr && !m_uiStatePending) {
        m_uiStatePending = ::SetTimer(m_hWnd, kUiStateTimer, 50, nullptr) != 0;
    }
}

}  // namespace tavik
