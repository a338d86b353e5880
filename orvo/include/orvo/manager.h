#pragma once

#include <windows.h>

#include <string>

#include "orvo/orvo_api.h"

namespace Orvo {

// Process-wide facts the toolkit is given at start-up: it loads nothing of the application,
// so the module instance and the active language come from the caller.
class ORVO_API Manager {
public:
    // The application name: mutex, window property, title, tray tip and registry key.
    static const wchar_t* GetDeviceName();
    static void SetInstance(HINSTANCE instance);
    static HINSTANCE GetInstance();
    // Active language id, 2052 or 1033.
    static void SetLanguage(int languageId);
    static int GetLanguage();
    // Directory of the running executable, with a trailing backslash.
    static std::wstring GetProgramDirectory();
    // Skin folder below the program directory, with a trailing backslash ("theme1\").
    static const wchar_t* GetThemeDirectory();
};

}  // namespace Orvo
