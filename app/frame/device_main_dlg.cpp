#include "app/frame/device_main_dlg.h"

#include <string>
#include <vector>

#include "app/device/hid_device_manager.h"
#include "app/device/hid_notifications.h"
#include "app/device/sim/device_simulator.h"
#include "app/device/sim/sim_identities.h"
#include "app/frame/registry_settings.h"
#include "orvo/manager.h"

namespace tavik {
namespace {

constexpr int kWindowWidth = 1280;
constexpr int kWindowHeight = 780;
constexpr wchar_t kWindowClass[] = L"TavikMouseMainWindow";

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

std::wstring DescribeEntry(const DeviceEntry& entry) {
    const wchar_t* mode = entry.deviceMode == 0 ? L"wired" : L"receiver";
    const wchar_t* state = entry.connectState == ConnectState::kConnected      ? L"connected"
                           : entry.connectState == ConnectState::kDisconnected ? L"disconnected"
                                                                               : L"not answering";
    wchar_t line[256] = {};
    swprintf(line, 256, L"%ls (%ls, type %d) %ls, battery %d%%%ls", entry.product.c_str(), mode,
             entry.deviceType, state, entry.batteryLevel,
             entry.batteryCharging == 1 ? L", charging" : L"");
    return line;
}

}  // namespace

DeviceMainDlg::DeviceMainDlg(bool useSimulatedDevices)
    : m_useSimulatedDevices(useSimulatedDevices) {}

DeviceMainDlg::~DeviceMainDlg() {
    HidDeviceManager::Instance().CloseAll();
    if (m_simulator) {
        HidDeviceManager::Instance().UseBackend(RealHidApi());
    }
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
        case WM_DESTROY:
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
        m_simulator = std::make_unique<sim::DeviceSimulator>();
        devices.UseBackend(m_simulator->Api());
    }
    // The catalogue registers these ids once it is read; until then the product line's
    // identities are registered here.
    devices.ClearSupportedIds();
    devices.AddSupportedId(sim::kVendorId, sim::kWiredMouseProductId, L"", sim::kMainDeviceType,
                           sim::kWiredMode);
    devices.AddSupportedId(sim::kVendorId, sim::kReceiverProductId, L"", sim::kMainDeviceType,
                           sim::kWirelessMode);
    devices.AddSupportedId(sim::kVendorId, sim::kSecondModelProductId, L"", sim::kSecondDeviceType,
                           sim::kWiredMode);
    m_hidNotifications = RegisterHidNotifications(m_window);
    devices.RebuildDevices();
    // Listing every entry needs the current type 0 for a moment.
    std::vector<DeviceEntry> entries;
    devices.SetCurDeviceType(0);
    if (devices.GetDevices(entries)) {
        for (const DeviceEntry& entry : entries) {
            m_deviceLines.push_back(DescribeEntry(entry));
        }
    } else {
        m_deviceLines.push_back(L"No mouse or receiver found.");
    }
    const int deviceType = ReadDeviceType();
    devices.SetCurDeviceType(deviceType != 0 ? deviceType : sim::kMainDeviceType);
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
    HFONT titleFont = CreateFontW(-28, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0,
                                  CLEARTYPE_QUALITY, 0, L"Segoe UI");
    HFONT bodyFont = CreateFontW(-16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0,
                                 0, CLEARTYPE_QUALITY, 0, L"Segoe UI");
    HGDIOBJ oldFont = SelectObject(dc, titleFont);
    SetTextColor(dc, RGB(0xFF, 0xFF, 0xFF));
    RECT line = {40, 32, client.right - 40, 72};
    DrawTextW(dc, Orvo::Manager::GetDeviceName(), -1, &line, DT_LEFT | DT_SINGLELINE);

    SelectObject(dc, bodyFont);
    SetTextColor(dc, RGB(184, 210, 239));
    int top = 96;
    for (const std::wstring& text : m_deviceLines) {
        RECT row = {40, top, client.right - 40, top + 24};
        DrawTextW(dc, text.c_str(), -1, &row, DT_LEFT | DT_SINGLELINE | DT_END_ELLIPSIS);
        top += 28;
    }
    SelectObject(dc, oldFont);
    DeleteObject(titleFont);
    DeleteObject(bodyFont);
    EndPaint(m_window, &paint);
}

}  // namespace tavik
