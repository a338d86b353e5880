#include "app/device/hid_notifications.h"

#include <windows.h>
#include <dbt.h>

namespace tavik {

namespace {

// GUID_DEVINTERFACE_HID, spelled out so that no extra SDK header or library is needed.
const GUID kHidInterfaceClass = {
    0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};

}  // namespace

void* RegisterHidNotifications(void* window) {
    if (window == nullptr) {
        return nullptr;
    }
    DEV_BROADCAST_DEVICEINTERFACE_W filter = {};
    filter.dbcc_size = sizeof(filter);
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    filter.dbcc_classguid = kHidInterfaceClass;
    return RegisterDeviceNotificationW(static_cast<HWND>(window), &filter,
                                       DEVICE_NOTIFY_WINDOW_HANDLE);
}

void UnregisterHidNotifications(void* registration) {
    if (registration != nullptr) {
        UnregisterDeviceNotification(static_cast<HDEVNOTIFY>(registration));
    }
}

}  // namespace tavik
