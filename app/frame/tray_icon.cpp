#include "app/frame/tray_icon.h"

#include <shellapi.h>

#include <cwchar>
#include <string>

#include "app/services/language_text.h"
#include "orvo/manager.h"

namespace tavik {

TrayIcon::~TrayIcon() {
    Remove();
    if (m_icon != nullptr) {
        DestroyIcon(m_icon);
    }
}

bool TrayIcon::Add(HWND owner) {
    m_owner = owner;
    if (m_icon == nullptr) {
        const std::wstring iconPath = Orvo::Manager::GetProgramDirectory() + L"skins\\" +
                                      Orvo::Manager::GetThemeDirectory() + L"DeviceDriver.ico";
        m_icon = static_cast<HICON>(
            LoadImageW(nullptr, iconPath.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE));
    }
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof(data);
    data.hWnd = owner;
    data.uID = kTrayIconId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kTrayCallbackMessage;
    data.hIcon = m_icon;
    std::wcsncpy(data.szTip, Orvo::Manager::GetDeviceName(), std::size(data.szTip) - 1);
    m_added = Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
    return m_added;
}

void TrayIcon::Remove() {
    if (!m_added) {
        return;
    }
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof(data);
    data.hWnd = m_owner;
    data.uID = kTrayIconId;
    Shell_NotifyIconW(NIM_DELETE, &data);
    m_added = false;
}

void TrayIcon::ShowMenu() {
    HMENU menu = CreatePopupMenu();
    if (menu == nullptr) {
        return;
    }
    const std::wstring title = GetLanguageText(12);
    AppendMenuW(menu, MF_STRING, kExitCommand, title.c_str());
    POINT cursor = {};
    GetCursorPos(&cursor);
    // The owner must be foreground or the menu does not close when the user clicks elsewhere.
    SetForegroundWindow(m_owner);
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, m_owner, nullptr);
    PostMessageW(m_owner, WM_NULL, 0, 0);
    DestroyMenu(menu);
}

}  // namespace tavik
