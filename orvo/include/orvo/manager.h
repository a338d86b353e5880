#pragma once

#include <windows.h>

#include <string>

#include "orvo/colour.h"
#include "orvo/orvo_api.h"

namespace Orvo {

// Process-wide settings of the toolkit. It loads nothing of the application, so the module
// instance and the active language come from the caller at start-up.
class ORVO_API Manager {
public:
    // The product name: mutex, window property, title, tray tip and registry key.
    static const wchar_t* GetDeviceName();
    static void SetDeviceName(const wchar_t* name);
    // Module whose window classes and application resources are used; set once at start-up
    // before any window is created.
    static void SetInstance(HINSTANCE instance);
    static HINSTANCE GetInstance();
    // The toolkit's own module: its fonts and built-in images are loaded from it.
    static HINSTANCE GetOrvoInstance();
    // Active language id, 2052 or 1033.
    static void SetLanguage(int languageId);
    static int GetLanguage();
    // Directory of the running executable, with a trailing backslash.
    static std::wstring GetProgramDirectory();
    // Skin theme below "skins\" ("theme1\").
    static const wchar_t* GetTheme();
    static const wchar_t* GetThemeDirectory() { return GetTheme(); }
    // Program directory + "skins\" + theme, with a trailing backslash.
    static std::wstring GetSkinDirectory();
    // Accent colour for selections and highlights.
    static Argb GetSelectColor();
    // Default font family and size (pixels) of every text control.
    static std::wstring GetFontName();
    static void SetFontName(const wchar_t* name);
    static int GetFontWidth();
    static void SetFont(const wchar_t* name, int size);

    // GDI+ start-up, then COM and OLE; UnInitGdiplus undoes all three.
    static bool InitGdiplus();
    static void UnInitGdiplus();

    // Gets and dispatches messages until WM_QUIT, dropping those that arrive while Alt and
    // F4 are both held.
    static void MessageLoop();
    // 1 while Alt and F4 are both held, else 0.
    static int PreTranslateMessage(const MSG* msg);
};

}  // namespace Orvo
