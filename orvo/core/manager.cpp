#include "orvo/manager.h"

#include <gdiplus.h>
#include <ole2.h>

#include <atomic>
#include <mutex>

namespace Orvo {
namespace {

std::atomic<HINSTANCE> g_instance{nullptr};
std::atomic<HINSTANCE> g_orvoInstance{nullptr};
std::atomic<int> g_language{1033};
std::atomic<int> g_fontWidth{14};

std::mutex g_namesLock;  // guards g_fontName, g_deviceName
std::wstring g_fontName = L"Segoe UI";
std::wstring g_deviceName = L"Tavik Mouse";

std::mutex g_gdiplusLock;  // guards g_gdiplusToken
ULONG_PTR g_gdiplusToken = 0;

bool AltF4Held() {
    return (GetKeyState(VK_MENU) & 0x8000) != 0 && (GetKeyState(VK_F4) & 0x8000) != 0;
}

}  // namespace

const wchar_t* Manager::GetDeviceName() {
    std::lock_guard<std::mutex> lock(g_namesLock);
    return g_deviceName.c_str();
}

void Manager::SetDeviceName(const wchar_t* name) {
    if (name == nullptr) {
        return;
    }
    std::lock_guard<std::mutex> lock(g_namesLock);
    g_deviceName = name;
}

void Manager::SetInstance(HINSTANCE instance) {
    g_instance = instance;
}

HINSTANCE Manager::GetInstance() {
    return g_instance;
}

HINSTANCE Manager::GetOrvoInstance() {
    return g_orvoInstance;
}

void Manager::SetLanguage(int languageId) {
    g_language = languageId;
}

int Manager::GetLanguage() {
    return g_language;
}

std::wstring Manager::GetProgramDirectory() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return L"";
        }
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? L"" : path.substr(0, slash + 1);
}

const wchar_t* Manager::GetTheme() {
    return L"theme1\\";
}

std::wstring Manager::GetSkinDirectory() {
    return GetProgramDirectory() + L"skins\\" + GetTheme();
}

Argb Manager::GetSelectColor() {
    return kAccentColor;
}

std::wstring Manager::GetFontName() {
    std::lock_guard<std::mutex> lock(g_namesLock);
    return g_fontName;
}

void Manager::SetFontName(const wchar_t* name) {
    if (name == nullptr) {
        return;
    }
    std::lock_guard<std::mutex> lock(g_namesLock);
    g_fontName = name;
}

int Manager::GetFontWidth() {
    return g_fontWidth;
}

void Manager::SetFont(const wchar_t* name, int size) {
    SetFontName(name);
    if (size > 0) {
        g_fontWidth = size;
    }
}

bool Manager::InitGdiplus() {
    std::lock_guard<std::mutex> lock(g_gdiplusLock);
    if (g_gdiplusToken == 0) {
        Gdiplus::GdiplusStartupInput input;
        if (Gdiplus::GdiplusStartup(&g_gdiplusToken, &input, nullptr) != Gdiplus::Ok) {
            g_gdiplusToken = 0;
            return false;
        }
    }
    CoInitialize(nullptr);
    OleInitialize(nullptr);
    return true;
}

void Manager::UnInitGdiplus() {
    std::lock_guard<std::mutex> lock(g_gdiplusLock);
    if (g_gdiplusToken != 0) {
        Gdiplus::GdiplusShutdown(g_gdiplusToken);
        g_gdiplusToken = 0;
    }
    CoUninitialize();
    OleUninitialize();
}

void Manager::MessageLoop() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (PreTranslateMessage(&msg) != 0) {
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

int Manager::PreTranslateMessage(const MSG*) {
    return AltF4Held() ? 1 : 0;
}

}  // namespace Orvo

// The toolkit keeps its own module handle: its fonts and built-in images live there.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        Orvo::g_orvoInstance = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}
