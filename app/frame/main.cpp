#include <windows.h>
#include <gdiplus.h>
#include <ole2.h>

#include "app/frame/device_main_dlg.h"
#include "app/frame/registry_settings.h"
#include "app/frame/startup.h"
#include "app/services/language_text.h"
#include "orvo/manager.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    using namespace tavik;

    if (ShouldDeclareDpiAware(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                              &GetMonitorScale)) {
        SetProcessDPIAware();
    }

    HANDLE instanceMutex = CreateMutexW(nullptr, TRUE, Orvo::Manager::GetDeviceName());
    if (instanceMutex != nullptr && GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(instanceMutex);
        ActivateRunningInstance();
        return 0;
    }

    EnableDebugPrivilege();

    Gdiplus::GdiplusStartupInput gdiplusInput;
    ULONG_PTR gdiplusToken = 0;
    Gdiplus::GdiplusStartup(&gdiplusToken, &gdiplusInput, nullptr);

    int languageId = ReadLanguageId();
    if (languageId == 0) {
        languageId = GetUserDefaultUILanguage();
    }
    languageId = NormaliseLanguageId(languageId);
    SetCurrentLanguage(languageId);
    Orvo::Manager::SetLanguage(languageId);
    WriteLanguageId(languageId);

    Orvo::Manager::SetInstance(instance);
    EnsureDirectory(GetDataDirectory() + L"db");

    const HRESULT com = CoInitialize(nullptr);
    const HRESULT ole = OleInitialize(nullptr);

    const bool autorun = HasAutorunFlag(commandLine);
    {
        DeviceMainDlg mainWindow(WantsSimulatedDevices(commandLine),
                                 SimulationScenario(commandLine));
        mainWindow.RunModal(!autorun);
    }

    if (SUCCEEDED(ole)) {
        OleUninitialize();
    }
    if (SUCCEEDED(com)) {
        CoUninitialize();
    }
    Gdiplus::GdiplusShutdown(gdiplusToken);
    if (instanceMutex != nullptr) {
        CloseHandle(instanceMutex);
    }
    return 1;
}
