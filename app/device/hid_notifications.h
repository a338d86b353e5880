#pragma once

namespace tavik {

// Registers `window` (an HWND) for arrival and removal notifications of HID interfaces;
// they arrive as WM_DEVICECHANGE carrying the interface path. Windows only. Returns the
// registration (null on failure), which the window's owner hands to
// UnregisterHidNotifications before the window goes away.
void* RegisterHidNotifications(void* window);
void UnregisterHidNotifications(void* registration);

}  // namespace tavik
