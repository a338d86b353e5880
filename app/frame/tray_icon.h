#pragma once

#include <windows.h>

namespace tavik {

constexpr UINT kTrayIconId = 109;
constexpr UINT kTrayCallbackMessage = 1690;
constexpr UINT kEndApplicationMessage = 1691;
constexpr LPARAM kEndApplicationParam = 610;
constexpr UINT kExitCommand = 100;
constexpr UINT kSettingsCommand = 102;
constexpr int kWindowIconResource = 107;

// The notification-area icon of the main window. It is removed on every way out.
class TrayIcon {
public:
    TrayIcon() = default;
    ~TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // Adds the icon for `owner`, loaded from "DeviceDriver.ico" in the current skin folder.
    bool Add(HWND owner);
    void Remove();
    // The tray menu: one item, command 100, titled with language text 12.
    void ShowMenu();

private:
    HWND m_owner = nullptr;  // not owned
    HICON m_icon = nullptr;
    bool m_added = false;
};

}  // namespace tavik
