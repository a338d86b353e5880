#include "app/frame/device_main_dlg.h"

#include <dbt.h>
#include <mmsystem.h>

#include <cwchar>
#include <filesystem>
#include <string>
#include <vector>

#include "app/common/text_encoding.h"
#include "app/config/computer_function_runner.h"
#include "app/device/device_catalogue.h"
#include "app/device/device_worker.h"
#include "app/device/hid_device_manager.h"
#include "app/device/hid_notifications.h"
#include "app/device/job_queue.h"
#include "app/device/sim/device_simulator.h"
#include "app/device/sim/scenario_script.h"
#include "app/frame/plain_window_effects.h"
#include "app/frame/registry_settings.h"
#include "app/frame/startup.h"
#include "app/services/language_text.h"
#include "app/store/settings_database.h"
#include "orvo/manager.h"

namespace tavik {
namespace {

constexpr int kWindowWidth = 1280;
constexpr int kWindowHeight = 780;
constexpr wchar_t kWindowClass[] = L"TavikMouseMainWindow";
constexpr UINT kRepaintMessage = WM_APP + 1;
// Hot-plug events of the simulated devices, posted from the thread that caused them:
// wParam is the event, lParam an owned copy of the interface path.
constexpr UINT kSimulatedDeviceChangeMessage = WM_APP + 2;
constexpr UINT_PTR kToolkitTimer = 1;

void RegisterWindowClass(WNDPROC procedure) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = Orvo::Manager::GetInstance();
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassExW(&windowClass);
}

class RegistryDeviceTypePreference : public DeviceTypePreference {
public:
    int ReadDeviceType() override { return tavik::ReadDeviceType(); }
    void WriteDeviceType(int deviceType) override { tavik::WriteDeviceType(deviceType); }
};

const wchar_t* StateText(int state) {
    return state == 1 ? L"connected" : state == 2 ? L"disconnected" : L"-";
}

}  // namespace

DeviceMainDlg::DeviceMainDlg(bool useSimulatedDevices, std::wstring scenarioFile)
    : m_titleFont(CreateFontW(-28, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0,
                              CLEARTYPE_QUALITY, 0, L"Segoe UI")),
      m_bodyFont(CreateFontW(-16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0,
                             CLEARTYPE_QUALITY, 0, L"Segoe UI")),
      m_useSimulatedDevices(useSimulatedDevices),
      m_scenarioFile(std::move(scenarioFile)) {}

DeviceMainDlg::~DeviceMainDlg() {
    StopDevices();
    m_worker.reset();
    m_scenario.reset();
    HidDeviceManager::Instance().CloseAll();
    if (m_simulator) {
        HidDeviceManager::Instance().UseBackend(RealHidApi());
    }
    DeleteObject(m_titleFont);
    DeleteObject(m_bodyFont);
}

void DeviceMainDlg::RunModal(bool visible) {
    RegisterWindowClass(&DeviceMainDlg::WindowProcedure);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    m_window = CreateWindowExW(0, kWindowClass, Orvo::Manager::GetDeviceName(),
                               WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                               (screenWidth - kWindowWidth) / 2, (screenHeight - kWindowHeight) / 2,
                               kWindowWidth, kWindowHeight, nullptr, nullptr,
                               Orvo::Manager::GetInstance(), this);
    if (m_window == nullptr) {
        return;
    }
    if (visible) {
        ShowWindow(m_window, SW_SHOW);
        UpdateWindow(m_window);
    }
    MSG message = {};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

LRESULT CALLBACK DeviceMainDlg::WindowProcedure(HWND window, UINT message, WPARAM wParam,
                                                LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* self = static_cast<DeviceMainDlg*>(create->lpCreateParams);
        self->m_window = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<DeviceMainDlg*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return self->OnMessage(message, wParam, lParam);
}

LRESULT DeviceMainDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            OnInitDialog();
            return 0;
        case WM_PAINT:
            Paint();
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_CLOSE:
            OnClose();
            return 0;
        case WM_COMMAND:
            if (LOWORD(wParam) == kExitCommand) {
                EndApplication();
            }
            return 0;
        case WM_DEVICECHANGE:
            if (m_worker) {
                OnDeviceChange(wParam, lParam);
            }
            return TRUE;
        case WM_DESTROY:
            StopDevices();
            if (m_hidNotifications != nullptr) {
                UnregisterHidNotifications(m_hidNotifications);
                m_hidNotifications = nullptr;
            }
            m_trayIcon.Remove();
            RemovePropW(m_window, Orvo::Manager::GetDeviceName());
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    if (message == kRepaintMessage) {
        InvalidateRect(m_window, nullptr, FALSE);
        return 0;
    }
    if (message == kSimulatedDeviceChangeMessage) {
        std::unique_ptr<std::string> path(reinterpret_cast<std::string*>(lParam));
        if (m_worker) {
            m_worker->Connection().UpdateUSBDevice(
                wParam == 1 ? DeviceChangeEvent::kArrival : DeviceChangeEvent::kRemoval, *path);
        }
        return 0;
    }
    if (message == kTrayCallbackMessage) {
        OnTrayMessage(lParam);
        return 0;
    }
    if (message == kEndApplicationMessage && lParam == kEndApplicationParam) {
        EndApplication();
    }
    return DefWindowProcW(m_window, message, wParam, lParam);
}

void DeviceMainDlg::OnInitDialog() {
    SetPropW(m_window, Orvo::Manager::GetDeviceName(), reinterpret_cast<HANDLE>(1));
    m_trayIcon.Add(m_window);
    HICON icon = LoadIconW(Orvo::Manager::GetInstance(), MAKEINTRESOURCEW(kWindowIconResource));
    SendMessageW(m_window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageW(m_window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));

    HidDeviceManager& devices = HidDeviceManager::Instance();
    if (m_useSimulatedDevices) {
        StartSimulatedDevices();
    }
    m_effects = std::make_unique<PlainWindowEffects>(m_window, kRepaintMessage);
    m_deviceTypePreference = std::make_unique<RegistryDeviceTypePreference>();
    m_computerFunctions = std::make_unique<PlatformComputerFunctions>(SettingsDatabase::Instance());

    DeviceCatalogue::Setup setup;
    setup.programDirectory = Orvo::Manager::GetProgramDirectory();
    setup.themeDirectory = Orvo::Manager::GetThemeDirectory();
    setup.dataDirectory = GetDataDirectory();
    setup.manager = &devices;
    setup.store = &SettingsDatabase::Instance();
    setup.effects = m_effects.get();
    setup.languageText = [](int number) { return GetLanguageText(number); };
    m_catalogue = std::make_unique<DeviceCatalogue>(setup);
    m_catalogue->LoadCatalogue();
    m_catalogue->LoadDeviceDescription();

    m_worker = std::make_unique<DeviceWorker>(devices, SettingsDatabase::Instance(), *m_effects,
                                              *m_computerFunctions, *m_deviceTypePreference);
    m_worker->SetLanguageTexts([](int number) { return GetLanguageText(number); });
    m_worker->SetLightingAvailable(m_catalogue->HasLighting());
    m_worker->Connection().SetDeviceRecords(m_catalogue->ModeRecords());
    // The multimedia timer's resolution is raised only while a job needs pauses shorter than
    // the system's tick (the macro upload), never while the worker is idle.
    m_worker->SetTimerResolutionHooks(
        {[](int milliseconds) { timeBeginPeriod(static_cast<UINT>(milliseconds)); },
         [](int milliseconds) { timeEndPeriod(static_cast<UINT>(milliseconds)); }});
    m_hidNotifications = RegisterHidNotifications(m_window);
    // The probe of the attached devices runs on the worker: the window shows at once and the
    // device list fills when the probe ends.
    m_worker->RequestRefreshDevices();
    m_worker->QueueJob(job::kFirstRead);
    m_worker->StartWorker();
    SetTimer(m_window, kToolkitTimer, 10, nullptr);
}

void DeviceMainDlg::StartSimulatedDevices() {
    m_simulator = std::make_unique<sim::DeviceSimulator>();
    HWND window = m_window;
    m_simulator->SetHotPlugCallback([window](sim::HotPlugEvent event, const std::string& path) {
        auto* copy = new std::string(path);
        if (!PostMessageW(window, kSimulatedDeviceChangeMessage,
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
        MessageBoxW(m_window, Utf8ToWide(error).c_str(), Orvo::Manager::GetDeviceName(),
                    MB_OK | MB_ICONWARNING);
        return;
    }
    m_scenario = std::make_unique<sim::ScenarioPlayer>(*m_simulator, std::move(script));
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

void DeviceMainDlg::StopDevices() {
    KillTimer(m_window, kToolkitTimer);
    if (m_worker) {
        m_worker->StopWorker();
    }
}

void DeviceMainDlg::OnClose() {
    if (ReadRegistryInt(L"exit_mode") == 1) {
        EndApplication();
    }
    ShowWindow(m_window, SW_HIDE);
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
    SetForegroundWindow(m_window);
    ShowWindow(m_window, SW_SHOW);
    UpdateWindow(m_window);
    BringWindowToTop(m_window);
}

void DeviceMainDlg::EndApplication() {
    // The process ends at once; the worker is not waited for.
    m_trayIcon.Remove();
    ExitProcess(0);
}

void DeviceMainDlg::Paint() {
    PAINTSTRUCT paint = {};
    HDC dc = BeginPaint(m_window, &paint);
    RECT client = {};
    GetClientRect(m_window, &client);
    HBRUSH background = CreateSolidBrush(RGB(0x0A, 0x0B, 0x0D));
    FillRect(dc, &client, background);
    DeleteObject(background);
    RECT accent = {0, 0, client.right, 3};
    HBRUSH accentBrush = CreateSolidBrush(RGB(0xFF, 0x4B, 0x00));
    FillRect(dc, &accent, accentBrush);
    DeleteObject(accentBrush);

    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ oldFont = SelectObject(dc, m_titleFont);
    SetTextColor(dc, RGB(0xFF, 0xFF, 0xFF));
    RECT line = {40, 32, client.right - 40, 72};
    DrawTextW(dc, Orvo::Manager::GetDeviceName(), -1, &line, DT_LEFT | DT_SINGLELINE);

    SelectObject(dc, m_bodyFont);
    SetTextColor(dc, RGB(184, 210, 239));
    const PlainWindowEffects::Snapshot state =
        m_effects ? m_effects->Current() : PlainWindowEffects::Snapshot{};
    std::vector<std::wstring> lines;
    if (!state.applicationVersion.empty()) {
        lines.push_back(state.applicationVersion);
    }
    if (state.statusText != 0) {
        lines.push_back(GetLanguageText(state.statusText));
    }
    for (const PlainWindowEffects::DeviceItem& item : state.devices) {
        wchar_t line[256] = {};
        std::swprintf(line, 256, L"%ls%ls  cable: %ls  receiver: %ls", item.name.c_str(),
                      item.deviceType == state.selectedDeviceType ? L" (selected)" : L"",
                      StateText(item.wiredState), StateText(item.wirelessState));
        lines.push_back(line);
    }
    if (state.batteryLevel >= 0) {
        wchar_t line[128] = {};
        std::swprintf(line, 128, L"Battery %d%%%ls", state.batteryLevel,
                      state.batteryCharging == 1 ? L", charging" : L"");
        lines.push_back(line);
    }
    if (state.dpiStage >= 0) {
        lines.push_back(L"DPI stage " + std::to_wstring(state.dpiStage + 1));
    }
    for (const std::wstring* label : {&state.mouseVersion, &state.receiverVersion}) {
        if (!label->empty()) {
            lines.push_back(*label);
        }
    }
    int top = 96;
    for (const std::wstring& text : lines) {
        RECT row = {40, top, client.right - 40, top + 24};
        DrawTextW(dc, text.c_str(), -1, &row, DT_LEFT | DT_SINGLELINE | DT_END_ELLIPSIS);
        top += 28;
    }
    SelectObject(dc, oldFont);
    EndPaint(m_window, &paint);
}

}  // namespace tavik
