#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace tavik {

// One key or mouse button as the capture saw it.
struct CapturedInput {
    enum Kind : int32_t { kIgnore = 0, kMouse = 1, kKeyboard = 2, kOtherDevice = 3 };
    enum Action : int32_t { kDown = 0, kUp = 1, kWheelUp = 3, kWheelDown = 4 };

    int32_t kind = kIgnore;  // kIgnore also for a repeated key-down
    int32_t action = kDown;
    // Keyboard: the virtual-key code; mouse: button bit 1 left, 2 right, 4 middle, 8 back,
    // 16 forward; wheel: 1 up, 255 down.
    int32_t code = 0;
    std::wstring name;  // empty when none applies
};

// Who owns the capture and what it is for: the main window holds these modes while its
// capture object exists.
namespace capture_mode {
constexpr int kNone = 0;
constexpr int kMacroRecording = 1;
constexpr int kButtonKeyField = 10;
constexpr int kMacroKeyField = 12;
}  // namespace capture_mode

// One raw input message as GetRawInputData lays it out in a 64-bit process, reduced to the
// fields the capture reads.
struct RawInputRecord {
    enum Type : uint32_t { kMouse = 0, kKeyboard = 1, kHid = 2 };
    uint32_t type = kHid;
    uint16_t virtualKey = 0;   // keyboard
    uint32_t message = 0;      // keyboard: WM_KEYDOWN ... WM_SYSKEYUP
    uint16_t buttonFlags = 0;  // mouse: RI_MOUSE_* bits
    int16_t wheelDelta = 0;    // mouse: the button data, signed
};

// Byte offsets of a RAWINPUT in a 64-bit process: a 24-byte header, then the device data.
namespace raw_input_layout {
constexpr size_t kHeaderSize = 24;
constexpr size_t kKeyboardVirtualKey = 30;
constexpr size_t kKeyboardMessage = 32;
constexpr size_t kKeyboardSize = 40;
constexpr size_t kMouseButtonFlags = 28;
constexpr size_t kMouseButtonData = 30;
constexpr size_t kMouseSize = 48;
}  // namespace raw_input_layout

// Reads a raw input message's bytes; false when they are too short for their own type or
// for the size their header gives.
bool ParseRawInput(const std::vector<uint8_t>& bytes, RawInputRecord& record);

// The platform calls of the capture: RegisterRawInputDevices, GetRawInputData,
// MapVirtualKeyExW and GetKeyNameTextW. The program uses PlatformRawInput; tests feed
// messages of their own.
class RawInputPlatform {
public:
    virtual ~RawInputPlatform() = default;
    // Registers mouse (page 1, usage 2) and keyboard (page 1, usage 6) input for the window,
    // also while it is in the background.
    virtual bool RegisterDevices(void* window) = 0;
    // The message's bytes, read only into a buffer of the size the system reported; false
    // when it cannot be read or the sizes do not agree.
    virtual bool ReadRawInput(uintptr_t rawInputHandle, std::vector<uint8_t>& bytes) = 0;
    // MapVirtualKeyExW(virtualKey, MAPVK_VK_TO_VSC, current layout).
    virtual unsigned VirtualKeyToScanCode(unsigned virtualKey) = 0;
    // GetKeyNameTextW(lParam) into a 260-character buffer.
    virtual std::wstring KeyNameText(long lParam) = 0;
};

// The keyboard and mouse capture behind macro recording and the key fields. It remembers the
// keys that are down, so a held key's auto-repeat is ignored.
class RawInputCapture {
public:
    explicit RawInputCapture(RawInputPlatform& platform) : m_platform(platform) {}
    ~RawInputCapture() { m_heldKeys.clear(); }
    RawInputCapture(const RawInputCapture&) = delete;
    RawInputCapture& operator=(const RawInputCapture&) = delete;

    // Forgets the held keys and registers the window for raw input, trying twice.
    bool Start(void* window);
    // Turns one WM_INPUT message into a record; false, with nothing filled, when the message
    // could not be read.
    bool Decode(uintptr_t rawInputHandle, CapturedInput& input);
    // The same for a message already read.
    void DecodeRecord(const RawInputRecord& record, CapturedInput& input);

private:
    void DecodeKeyboard(const RawInputRecord& record, CapturedInput& input);
    std::wstring KeyName(int virtualKey);

    RawInputPlatform& m_platform;  // not owned
    std::set<int> m_heldKeys;      // virtual keys (as reported) that are down
};

#ifdef _WIN32
// The raw input of the running Windows session.
class PlatformRawInput : public RawInputPlatform {
public:
    bool RegisterDevices(void* window) override;
    bool ReadRawInput(uintptr_t rawInputHandle, std::vector<uint8_t>& bytes) override;
    unsigned VirtualKeyToScanCode(unsigned virtualKey) override;
    std::wstring KeyNameText(long lParam) override;
};
#endif

}  // namespace tavik
