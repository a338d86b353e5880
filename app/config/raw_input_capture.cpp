#include "app/config/raw_input_capture.h"

#include <cstring>

namespace tavik {
namespace {

constexpr uint32_t kKeyDown = 256;
constexpr uint32_t kKeyUp = 257;
constexpr uint32_t kSystemKeyDown = 260;
constexpr uint32_t kSystemKeyUp = 261;
constexpr uint16_t kWheelFlag = 0x0400;
constexpr unsigned kExtendedKeyBit = 0x100;
constexpr int kWheelUpCode = 1;
constexpr int kWheelDownCode = 255;

// Keys whose name is fixed, whatever the keyboard layout says; the three generic modifiers
// are also reported as their left-hand keys.
struct FixedKeyName {
    int virtualKey;
    int reportedAs;
    const wchar_t* name;
};

constexpr FixedKeyName kFixedKeyNames[] = {
    {16, 160, L"Shift"},       {17, 162, L"Ctrl"},        {18, 164, L"Alt"},
    {19, 19, L"Pause"},        {44, 44, L"Print Screen"}, {91, 91, L"Windows"},
    {92, 92, L"RWindows"},     {93, 93, L"Application"},  {144, 144, L"Num Lock"},
    {160, 160, L"Shift"},      {161, 161, L"RShift"},     {162, 162, L"Ctrl"},
    {163, 163, L"RCtrl"},      {164, 164, L"Alt"},        {165, 165, L"RAlt"},
    {166, 166, L"Backward"},   {167, 167, L"Forward"},    {168, 168, L"Refresh"},
    {169, 169, L"Stop"},       {170, 170, L"Search"},     {171, 171, L"Favorites"},
    {172, 172, L"Home"},       {173, 173, L"Vol Mute"},   {174, 174, L"Vol Down"},
    {175, 175, L"Vol Up"},     {176, 176, L"Next"},       {177, 177, L"Prev"},
    {178, 178, L"Stop"},       {179, 179, L"Play/Pause"}, {180, 180, L"EMail"},
    {181, 181, L"Multimedia"}, {182, 182, L"Computer"},   {183, 183, L"Cal"},
};

// The button flags in the order they are tested; the first set one wins.
struct ButtonFlag {
    uint16_t flag;
    const wchar_t* name;
    int code;
    int action;
};

constexpr ButtonFlag kButtonFlags[] = {
    {0x0001, L"LB", 1, CapturedInput::kDown},       {0x0010, L"MB", 4, CapturedInput::kDown},
    {0x0004, L"RB", 2, CapturedInput::kDown},       {0x0002, L"LB", 1, CapturedInput::kUp},
    {0x0020, L"MB", 4, CapturedInput::kUp},         {0x0008, L"RB", 2, CapturedInput::kUp},
    {0x0040, L"Backward", 8, CapturedInput::kDown}, {0x0080, L"Backward", 8, CapturedInput::kUp},
    {0x0100, L"Forward", 16, CapturedInput::kDown}, {0x0200, L"Forward", 16, CapturedInput::kUp},
};

template <typename T>
T ReadAt(const std::vector<uint8_t>& bytes, size_t offset) {
    T value;
    std::memcpy(&value, bytes.data() + offset, sizeof(T));
    return value;
}

}  // namespace

bool ParseRawInput(const std::vector<uint8_t>& bytes, RawInputRecord& record) {
    namespace layout = raw_input_layout;
    if (bytes.size() < layout::kHeaderSize) {
        return false;
    }
    const uint32_t type = ReadAt<uint32_t>(bytes, 0);
    const uint32_t declaredSize = ReadAt<uint32_t>(bytes, 4);
    if (declaredSize < layout::kHeaderSize || declaredSize > bytes.size()) {
        return false;
    }
    record = RawInputRecord();
    record.type = type;
    if (type == RawInputRecord::kKeyboard) {
        if (declaredSize < layout::kKeyboardSize) {
            return false;
        }
        record.virtualKey = ReadAt<uint16_t>(bytes, layout::kKeyboardVirtualKey);
        record.message = ReadAt<uint32_t>(bytes, layout::kKeyboardMessage);
    } else if (type == RawInputRecord::kMouse) {
        if (declaredSize < layout::kMouseSize) {
            return false;
        }
        record.buttonFlags = ReadAt<uint16_t>(bytes, layout::kMouseButtonFlags);
        record.wheelDelta = ReadAt<int16_t>(bytes, layout::kMouseButtonData);
    }
    return true;
}

bool RawInputCapture::Start(void* window) {
    m_heldKeys.clear();
    return m_platform.RegisterDevices(window) || m_platform.RegisterDevices(window);
}

bool RawInputCapture::Decode(uintptr_t rawInputHandle, CapturedInput& input) {
    std::vector<uint8_t> bytes;
    RawInputRecord record;
    if (!m_platform.ReadRawInput(rawInputHandle, bytes) || !ParseRawInput(bytes, record)) {
        return false;
    }
    DecodeRecord(record, input);
    return true;
}

void RawInputCapture::DecodeRecord(const RawInputRecord& record, CapturedInput& input) {
    input = CapturedInput();
    switch (record.type) {
        case RawInputRecord::kKeyboard:
            DecodeKeyboard(record, input);
            break;
        case RawInputRecord::kMouse:
            input.kind = CapturedInput::kMouse;
            for (const ButtonFlag& button : kButtonFlags) {
                if ((record.buttonFlags & button.flag) != 0) {
                    input.name = button.name;
                    input.code = button.code;
                    input.action = button.action;
                    break;
                }
            }
            // The wheel's direction is the sign of its delta; one message may carry several
            // notches (240 is two notches up).
            if ((record.buttonFlags & kWheelFlag) != 0 && record.wheelDelta != 0) {
                const bool up = record.wheelDelta > 0;
                input.name = up ? L"Scroll Up" : L"Scroll Down";
                input.code = up ? kWheelUpCode : kWheelDownCode;
                input.action = up ? CapturedInput::kWheelUp : CapturedInput::kWheelDown;
            }
            break;
        default:
            input.kind = CapturedInput::kOtherDevice;
            break;
    }
}

void RawInputCapture::DecodeKeyboard(const RawInputRecord& record, CapturedInput& input) {
    bool down;
    if (record.message == kKeyDown || record.message == kSystemKeyDown) {
        down = true;
    } else if (record.message == kKeyUp || record.message == kSystemKeyUp) {
        down = false;
    } else {
        return;
    }
    int code = record.virtualKey;
    input.name = KeyName(code);
    for (const FixedKeyName& fixed : kFixedKeyNames) {
        if (fixed.virtualKey == code) {
            code = fixed.reportedAs;
            break;
        }
    }
    input.kind = CapturedInput::kKeyboard;
    input.action = down ? CapturedInput::kDown : CapturedInput::kUp;
    input.code = code;
    if (down) {
        if (!m_heldKeys.insert(code).second) {
            input.kind = CapturedInput::kIgnore;
        }
    } else {
        m_heldKeys.erase(code);
    }
}

std::wstring RawInputCapture::KeyName(int virtualKey) {
    for (const FixedKeyName& fixed : kFixedKeyNames) {
        if (fixed.virtualKey == virtualKey) {
            return fixed.name;
        }
    }
    unsigned scanCode = m_platform.VirtualKeyToScanCode(static_cast<unsigned>(virtualKey));
    // Page Up … Delete (but not Select, Print, Execute and Print Screen) share their scan
    // codes with the number pad: the extended bit names the navigation key.
    if (virtualKey >= 33 && virtualKey <= 46 && (virtualKey < 41 || virtualKey > 44)) {
        scanCode |= kExtendedKeyBit;
    }
    return m_platform.KeyNameText(static_cast<long>(scanCode << 16));
}

}  // namespace tavik
