#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

// The USB identities of the simulated devices. The device catalogue lists the same ones, so
// change them here and in the catalogue together.
namespace tavik::sim {

constexpr uint16_t kVendorId = 0x7768;

// The main model: one mouse, reachable by cable (the wired product) or through its
// receiver (the receiver product).
constexpr uint16_t kWiredMouseProductId = 0x0001;
constexpr uint16_t kReceiverProductId = 0x0002;
constexpr int kMainDeviceType = 102;
// A second model, wired only.
constexpr uint16_t kSecondModelProductId = 0x0003;
constexpr int kSecondDeviceType = 101;

constexpr int kWiredMode = 0;
constexpr int kWirelessMode = 1;

// Byte 11 of the device information: how the mouse says it is connected. 3 (the cable)
// makes the host check for mouse firmware, anything else for receiver firmware.
constexpr uint8_t kCableConnectionMode = 3;
constexpr uint8_t kReceiverConnectionMode = 1;

// Interface numbers of every simulated device: the mouse collection, the vendor collection
// that takes commands, and a keyboard collection.
constexpr int kMouseInterface = 0;
constexpr int kVendorInterface = 1;
constexpr int kKeyboardInterface = 2;

constexpr uint16_t kVendorUsagePage = 0xFFB2;
constexpr uint16_t kVendorUsage = 0x01;
constexpr uint16_t kGenericDesktopPage = 0x01;
constexpr uint16_t kMouseUsage = 0x02;
constexpr uint16_t kKeyboardUsage = 0x06;

constexpr uint16_t kWiredMouseRelease = 0x0105;
constexpr uint16_t kReceiverRelease = 0x0103;
constexpr uint16_t kSecondModelRelease = 0x0101;

inline const wchar_t* ProductName(uint16_t productId) {
    switch (productId) {
        case kWiredMouseProductId:
            return L"Tavik Mouse";
        case kReceiverProductId:
            return L"Tavik Receiver";
        case kSecondModelProductId:
            return L"Tavik Mouse Lite";
        default:
            return L"";
    }
}

// The part of an interface path the catalogue's hid_interface pattern holds, upper case:
// "VID_7768&PID_0002&MI_01".
inline std::string InterfacePattern(uint16_t productId, int interfaceNumber) {
    char text[32];
    std::snprintf(text, sizeof(text), "VID_%04X&PID_%04X&MI_%02X", kVendorId, productId,
                  interfaceNumber & 0xFF);
    return text;
}

// A Windows-style interface path of the HID class, such as
// \\?\HID#VID_7768&PID_0002&MI_01#7&1a2b3c4d&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}
inline std::string InterfacePath(uint16_t productId, int interfaceNumber) {
    const char* instance = productId == kReceiverProductId     ? "7&1a2b3c4d"
                           : productId == kWiredMouseProductId ? "7&2b3c4d5e"
                                                               : "7&3c4d5e6f";
    return "\\\\?\\HID#" + InterfacePattern(productId, interfaceNumber) + "#" + instance +
           "&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}";
}

}  // namespace tavik::sim
