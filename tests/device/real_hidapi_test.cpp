#include <gtest/gtest.h>
#include <hidapi.h>

#include "app/device/hid_device_manager.h"

#if defined(_WIN32)
#include <windows.h>

#include "app/device/hid_notifications.h"
#endif

namespace tavik {
namespace {

// The Windows backend of hidapi refuses to start under Wine unless the bootstrap made one
// configuration-manager lookup optional; a failing hid_init would silently hide every mouse.
TEST(RealHidApi, InitialisesAndEnumerates) {
    ASSERT_EQ(hid_init(), 0);
    HidApi api = RealHidApi();
    hid_device_info* devices = api.enumerate(0, 0);
    for (hid_device_info* device = devices; device != nullptr; device = device->next) {
        EXPECT_NE(device->path, nullptr);
    }
    api.freeEnumeration(devices);
    HidDeviceManager manager(RealHidApi());
    manager.AddSupportedId(0x7768, 0x0001, L"", 102, 0);
    manager.RebuildDevices();
    std::vector<DeviceEntry> entries;
    manager.GetDevices(entries);
    for (const DeviceEntry& entry : entries) {
        EXPECT_EQ(entry.vendorId, 0x7768);
    }
}

#if defined(_WIN32)
TEST(HidNotifications, RegisterForAWindowAndRefuseNone) {
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    void* registration = RegisterHidNotifications(window);
    EXPECT_NE(registration, nullptr);
    UnregisterHidNotifications(registration);
    EXPECT_EQ(RegisterHidNotifications(nullptr), nullptr);
    DestroyWindow(window);
}
#endif

}  // namespace
}  // namespace tavik
