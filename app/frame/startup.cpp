#include "app/frame/startup.h"

#include <windows.h>
#include <shlobj.h>

#include <cwchar>

#include "orvo/manager.h"

namespace tavik {

int MonitorScaleForDpi(unsigned dpi) {
    if (dpi <= 96) {
        return 100;
    }
    if (dpi == 120) {
        return 125;
    }
    if (dpi == 144 || dpi == 168 || dpi == 192) {
        return static_cast<int>(dpi);
    }
    return 100;
}

int GetMonitorScale() {
    const POINT corner = {1, 1};
    HMONITOR monitor = MonitorFromPoint(corner, MONITOR_DEFAULTTONULL);
    if (monitor == nullptr) {
        return 100;
    }
    unsigned dpi = 96;
    if (HMODULE shcore = LoadLibraryW(L"Shcore.dll")) {
        using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
        auto getDpiForMonitor = reinterpret_cast<GetDpiForMonitorFunction>(
            reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")));
        if (getDpiForMonitor != nullptr) {
            UINT dpiX = 0;
            UINT dpiY = 0;
            constexpr int kEffectiveDpi = 0;
            if (FAILED(getDpiForMonitor(monitor, kEffectiveDpi, &dpiX, &dpiY))) {
                FreeLibrary(shcore);
                MessageBoxW(nullptr, L"GetDpiForMonitor failed", L"Notification", MB_OK);
                return 96;
            }
            dpi = dpiX;
        }
        FreeLibrary(shcore);
    }
    return MonitorScaleForDpi(dpi);
}

bool ShouldDeclareDpiAware(int screenWidth, int screenHeight, int (*monitorScale)()) {
    if (screenWidth < 1400 || screenHeight < 788) {
        return true;
    }
    return screenWidth == 1920 && screenHeight == 1080 && monitorScale() > 125;
}

std::wstring GetDataDirectory() {
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(
            SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder))) {
        return L"";
    }
    return std::wstring(folder) + L"\\" + Orvo::Manager::GetDeviceName() + L" Files\\";
}

bool EnsureDirectory(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return true;
    }
    // Each prefix ending at a backslash, from the second backslash on: the first ends at the
    // drive ("C:\") which always exists.
    size_t slash = path.find(L'\\');
    if (slash != std::wstring::npos) {
        slash = path.find(L'\\', slash + 1);
    }
    while (slash != std::wstring::npos) {
        CreateDirectoryW(path.substr(0, slash).c_str(), nullptr);
        slash = path.find(L'\\', slash + 1);
    }
    if (CreateDirectoryW(path.c_str(), nullptr)) {
        return true;
    }
    return GetLastError() == ERROR_ALREADY_EXISTS;
}

bool EnableDebugPrivilege() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
        return false;
    }
    TOKEN_PRIVILEGES privileges = {};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    bool enabled = false;
    if (LookupPrivilegeValueW(nullptr, L"SeDebugPrivilege", &privileges.Privileges[0].Luid)) {
        enabled = AdjustTokenPrivileges(token, FALSE, &privileges, sizeof(privileges), nullptr,
                                        nullptr) &&
                  GetLastError() == ERROR_SUCCESS;
    }
    CloseHandle(token);
    return enabled;
}

bool HasAutorunFlag(const wchar_t* commandLine) {
    return commandLine != nullptr && std::wcsstr(commandLine, L"-autorun") != nullptr;
}

namespace {

// TAVIK_SIMULATE's value; empty when it is not set (or longer than a path can be).
std::wstring SimulateVariable() {
    wchar_t value[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(L"TAVIK_SIMULATE", value, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(value, length) : std::wstring();
}

}  // namespace

bool WantsSimulatedDevices(const wchar_t* commandLine) {
    if (commandLine != nullptr && std::wcsstr(commandLine, L"--simulate") != nullptr) {
        return true;
    }
    const std::wstring value = SimulateVariable();
    return !value.empty() && value != L"0";
}

std::wstring SimulationScenario(const wchar_t* commandLine) {
    const wchar_t* option =
        commandLine != nullptr ? std::wcsstr(commandLine, L"--simulate=") : nullptr;
    if (option != nullptr) {
        const wchar_t* start = option + std::wcslen(L"--simulate=");
        const wchar_t end = *start == L'"' ? L'"' : L' ';
        if (*start == L'"') {
            ++start;
        }
        const wchar_t* stop = start;
        while (*stop != L'\0' && *stop != end && (end == L'"' || *stop != L'\t')) {
            ++stop;
        }
        return std::wstring(start, stop);
    }
    const std::wstring value = SimulateVariable();
    return value == L"1" || value == L"0" ? std::wstring() : value;
}

bool ActivateRunningInstance() {
    const wchar_t* property = Orvo::Manager::GetDeviceName();
    for (HWND window = GetWindow(GetDesktopWindow(), GW_CHILD); window != nullptr;
         window = GetWindow(window, GW_HWNDNEXT)) {
        if (GetPropW(window, property) != nullptr) {
            SetForegroundWindow(window);
            ShowWindow(window, SW_SHOWNORMAL);
            UpdateWindow(window);
            BringWindowToTop(window);
            return true;
        }
    }
    return false;
}

}  // namespace tavik
