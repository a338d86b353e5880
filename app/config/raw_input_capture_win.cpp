#include <windows.h>

#include <cstddef>

#include "app/config/raw_input_capture.h"

namespace tavik {
namespace {

namespace layout = raw_input_layout;
static_assert(sizeof(RAWINPUTHEADER) == layout::kHeaderSize);
static_assert(offsetof(RAWINPUT, data.keyboard.VKey) == layout::kKeyboardVirtualKey);
static_assert(offsetof(RAWINPUT, data.keyboard.Message) == layout::kKeyboardMessage);
static_assert(layout::kHeaderSize + sizeof(RAWKEYBOARD) == layout::kKeyboardSize);
static_assert(offsetof(RAWINPUT, data.mouse.usButtonFlags) == layout::kMouseButtonFlags);
static_assert(offsetof(RAWINPUT, data.mouse.usButtonData) == layout::kMouseButtonData);
static_assert(layout::kHeaderSize + sizeof(RAWMOUSE) == layout::kMouseSize);

// No raw input message of a mouse or keyboard comes near this.
constexpr UINT kMaxRawInputBytes = 4096;
constexpr int kKeyNameLength = 260;

}  // namespace

bool PlatformRawInput::RegisterDevices(void* window) {
    RAWINPUTDEVICE devices[2] = {};
    devices[0].usUsagePage = 1;
    devices[0].usUsage = 2;
    devices[0].dwFlags = RIDEV_INPUTSINK;
    devices[0].hwndTarget = static_cast<HWND>(window);
    devices[1] = devices[0];
    devices[1].usUsage = 6;
    return RegisterRawInputDevices(devices, 2, sizeof(RAWINPUTDEVICE)) != FALSE;
}

bool PlatformRawInput::ReadRawInput(uintptr_t rawInputHandle, std::vector<uint8_t>& bytes) {
    const HRAWINPUT handle = reinterpret_cast<HRAWINPUT>(rawInputHandle);
    UINT size = 0;
    if (GetRawInputData(handle, RID_INPUT, nullptr, &size, sizeof(RAWINPUTHEADER)) != 0 ||
        size == 0 || size > kMaxRawInputBytes) {
        return false;
    }
    bytes.assign(size, 0);
    UINT available = size;
    const UINT copied =
        GetRawInputData(handle, RID_INPUT, bytes.data(), &available, sizeof(RAWINPUTHEADER));
    // (UINT)-1 is a failure; anything beyond the buffer would be a lie about it.
    if (copied == static_cast<UINT>(-1) || copied > size) {
        return false;
    }
    bytes.resize(copied);
    return true;
}

unsigned PlatformRawInput::VirtualKeyToScanCode(unsigned virtualKey) {
    return MapVirtualKeyExW(virtualKey, MAPVK_VK_TO_VSC, GetKeyboardLayout(0));
}

std::wstring PlatformRawInput::KeyNameText(long lParam) {
    wchar_t name[kKeyNameLength] = {};
    const int length = GetKeyNameTextW(lParam, name, kKeyNameLength);
    return std::wstring(name, length > 0 && length < kKeyNameLength ? length : 0);
}

}  // namespace tavik
