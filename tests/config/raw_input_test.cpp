#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "app/config/raw_input_capture.h"

namespace tavik {
namespace {

namespace layout = raw_input_layout;

template <typename T>
void Put(std::vector<uint8_t>& bytes, size_t offset, T value) {
    std::memcpy(bytes.data() + offset, &value, sizeof(T));
}

std::vector<uint8_t> KeyboardMessage(uint16_t virtualKey, uint32_t message) {
    std::vector<uint8_t> bytes(layout::kKeyboardSize, 0);
    Put<uint32_t>(bytes, 0, RawInputRecord::kKeyboard);
    Put<uint32_t>(bytes, 4, layout::kKeyboardSize);
    Put(bytes, layout::kKeyboardVirtualKey, virtualKey);
    Put(bytes, layout::kKeyboardMessage, message);
    return bytes;
}

std::vector<uint8_t> MouseMessage(uint16_t flags, int16_t delta = 0) {
    std::vector<uint8_t> bytes(layout::kMouseSize, 0);
    Put<uint32_t>(bytes, 0, RawInputRecord::kMouse);
    Put<uint32_t>(bytes, 4, layout::kMouseSize);
    Put(bytes, layout::kMouseButtonFlags, flags);
    Put(bytes, layout::kMouseButtonData, delta);
    return bytes;
}

// Messages by handle, a scan code of 0x1000 + the virtual key, and key names that show the
// lParam they were asked for.
class ScriptedRawInput : public RawInputPlatform {
public:
    bool RegisterDevices(void* window) override {
        registrations.push_back(window);
        return registrations.size() > failingRegistrations;
    }
    bool ReadRawInput(uintptr_t handle, std::vector<uint8_t>& bytes) override {
        const auto found = messages.find(handle);
        if (found == messages.end()) {
            return false;
        }
        bytes = found->second;
        return true;
    }
    unsigned VirtualKeyToScanCode(unsigned virtualKey) override { return 0x1000 + virtualKey; }
    std::wstring KeyNameText(long lParam) override { return L"name " + std::to_wstring(lParam); }

    std::map<uintptr_t, std::vector<uint8_t>> messages;
    std::vector<void*> registrations;
    size_t failingRegistrations = 0;
};

constexpr uint32_t kKeyDown = 256, kKeyUp = 257, kSystemKeyDown = 260, kSystemKeyUp = 261;

class RawInputTest : public ::testing::Test {
protected:
    CapturedInput Feed(const std::vector<uint8_t>& bytes) {
        m_platform.messages[++m_handle] = bytes;
        CapturedInput input;
        input.kind = 99;
        EXPECT_TRUE(m_capture.Decode(m_handle, input));
        return input;
    }

    ScriptedRawInput m_platform;
    RawInputCapture m_capture{m_platform};
    uintptr_t m_handle = 0;
};

struct KeyCase {
    uint16_t virtualKey;
    int code;
    const wchar_t* name;
};

// Names the case in test listings.
void PrintTo(const KeyCase& param, std::ostream* os) {
    *os << param.virtualKey;
}

class KeyNameTest : public RawInputTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(KeyNameTest, CodeAndName) {
    const CapturedInput input = Feed(KeyboardMessage(GetParam().virtualKey, kKeyDown));
    EXPECT_EQ(input.kind, CapturedInput::kKeyboard);
    EXPECT_EQ(input.action, CapturedInput::kDown);
    EXPECT_EQ(input.code, GetParam().code);
    EXPECT_EQ(input.name, GetParam().name);
}

// The scan code goes into bits 16 and up; Page Up … Delete but not 41 … 44 get the
// extended-key bit (0x100 << 16).
INSTANTIATE_TEST_SUITE_P(
    Keys, KeyNameTest,
    ::testing::Values(KeyCase{16, 160, L"Shift"}, KeyCase{17, 162, L"Ctrl"},
                      KeyCase{18, 164, L"Alt"}, KeyCase{161, 161, L"RShift"},
                      KeyCase{165, 165, L"RAlt"}, KeyCase{44, 44, L"Print Screen"},
                      KeyCase{169, 169, L"Stop"}, KeyCase{178, 178, L"Stop"},
                      KeyCase{183, 183, L"Cal"},
                      KeyCase{65, 65, L"name 272695296"},    // (0x1000 + 65) << 16
                      KeyCase{33, 33, L"name 287375360"},    // (0x1000 + 33 | 0x100) << 16
                      KeyCase{46, 46, L"name 288227328"},    // Delete, extended
                      KeyCase{41, 41, L"name 271122432"},    // Select, not extended
                      KeyCase{43, 43, L"name 271253504"},    // Execute, not extended
                      KeyCase{47, 47, L"name 271515648"}));  // Help, outside the range

TEST_F(RawInputTest, HeldKeyGivesOneDownAndIgnoresItsRepeats) {
    EXPECT_EQ(Feed(KeyboardMessage(65, kKeyDown)).kind, CapturedInput::kKeyboard);
    for (int repeat = 0; repeat < 3; ++repeat) {
        EXPECT_EQ(Feed(KeyboardMessage(65, kKeyDown)).kind, CapturedInput::kIgnore);
    }
    // Another key meanwhile is its own.
    EXPECT_EQ(Feed(KeyboardMessage(16, kKeyDown)).kind, CapturedInput::kKeyboard);
    const CapturedInput up = Feed(KeyboardMessage(65, kKeyUp));
    EXPECT_EQ(up.kind, CapturedInput::kKeyboard);
    EXPECT_EQ(up.action, CapturedInput::kUp);
    EXPECT_EQ(Feed(KeyboardMessage(65, kKeyDown)).kind, CapturedInput::kKeyboard);
    // System keys (with Alt) count as key down and up; a shift reported as 16 is held as 160.
    EXPECT_EQ(Feed(KeyboardMessage(160, kSystemKeyDown)).kind, CapturedInput::kIgnore);
    EXPECT_EQ(Feed(KeyboardMessage(16, kSystemKeyUp)).action, CapturedInput::kUp);
    EXPECT_EQ(Feed(KeyboardMessage(16, kKeyDown)).kind, CapturedInput::kKeyboard);
}

TEST_F(RawInputTest, StartForgetsTheHeldKeysAndRegistersAgainOnce) {
    int window = 0;
    EXPECT_EQ(Feed(KeyboardMessage(65, kKeyDown)).kind, CapturedInput::kKeyboard);
    m_platform.failingRegistrations = 1;
    EXPECT_TRUE(m_capture.Start(&window));
    EXPECT_EQ(m_platform.registrations, (std::vector<void*>{&window, &window}));
    EXPECT_EQ(Feed(KeyboardMessage(65, kKeyDown)).kind, CapturedInput::kKeyboard);
    m_platform.failingRegistrations = 5;
    EXPECT_FALSE(m_capture.Start(&window));
    EXPECT_EQ(m_platform.registrations.size(), 4u);
}

struct MouseCase {
    const char* label;
    uint16_t flags;
    int16_t delta;
    int action;
    int code;
    const wchar_t* name;
};

// Names the case in test listings.
void PrintTo(const MouseCase& param, std::ostream* os) {
    *os << param.label;
}

class MouseTest : public RawInputTest, public ::testing::WithParamInterface<MouseCase> {};

TEST_P(MouseTest, FirstFlagInOrderWins) {
    const CapturedInput input = Feed(MouseMessage(GetParam().flags, GetParam().delta));
    EXPECT_EQ(input.kind, CapturedInput::kMouse);
    EXPECT_EQ(input.action, GetParam().action);
    EXPECT_EQ(input.code, GetParam().code);
    EXPECT_EQ(input.name, GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, MouseTest,
    ::testing::Values(MouseCase{"LeftDown", 0x0001, 0, 0, 1, L"LB"},
                      MouseCase{"LeftUp", 0x0002, 0, 1, 1, L"LB"},
                      MouseCase{"RightDown", 0x0004, 0, 0, 2, L"RB"},
                      MouseCase{"RightUp", 0x0008, 0, 1, 2, L"RB"},
                      MouseCase{"MiddleDown", 0x0010, 0, 0, 4, L"MB"},
                      MouseCase{"MiddleUp", 0x0020, 0, 1, 4, L"MB"},
                      MouseCase{"BackDown", 0x0040, 0, 0, 8, L"Backward"},
                      MouseCase{"BackUp", 0x0080, 0, 1, 8, L"Backward"},
                      MouseCase{"ForwardDown", 0x0100, 0, 0, 16, L"Forward"},
                      MouseCase{"ForwardUp", 0x0200, 0, 1, 16, L"Forward"},
                      // Middle down is tested before right down, and every down before every up.
                      MouseCase{"MiddleBeforeRight", 0x0014, 0, 0, 4, L"MB"},
                      MouseCase{"RightDownBeforeLeftUp", 0x0006, 0, 0, 2, L"RB"},
                      MouseCase{"LeftUpBeforeBack", 0x0042, 0, 1, 1, L"LB"},
                      MouseCase{"WheelOneNotchUp", 0x0400, 120, 3, 1, L"Scroll Up"},
                      MouseCase{"WheelTwoNotchesUp", 0x0400, 240, 3, 1, L"Scroll Up"},
                      MouseCase{"WheelSmoothUp", 0x0400, 15, 3, 1, L"Scroll Up"},
                      MouseCase{"WheelDown", 0x0400, -120, 4, 255, L"Scroll Down"},
                      MouseCase{"WheelTwoNotchesDown", 0x0400, -240, 4, 255, L"Scroll Down"},
                      MouseCase{"WheelReplacesButton", 0x0401, -120, 4, 255, L"Scroll Down"},
                      MouseCase{"WheelWithoutDeltaKeepsButton", 0x0401, 0, 0, 1, L"LB"},
                      MouseCase{"MoveOnly", 0x0000, 0, 0, 0, L""}),
    [](const ::testing::TestParamInfo<MouseCase>& info) { return info.param.label; });

// Messages that are short, claim more than they hold, or come from other devices.
TEST_F(RawInputTest, HostileOrForeignMessages) {
    std::vector<uint8_t> hid(layout::kHeaderSize + 8, 0);
    Put<uint32_t>(hid, 0, RawInputRecord::kHid);
    Put<uint32_t>(hid, 4, static_cast<uint32_t>(hid.size()));
    EXPECT_EQ(Feed(hid).kind, CapturedInput::kOtherDevice);

    std::vector<uint8_t> shortKeyboard = KeyboardMessage(65, kKeyDown);
    shortKeyboard.resize(layout::kKeyboardSize - 1);
    Put<uint32_t>(shortKeyboard, 4, static_cast<uint32_t>(shortKeyboard.size()));
    std::vector<uint8_t> lying = MouseMessage(0x0001);
    Put<uint32_t>(lying, 4, 4096);
    std::vector<uint8_t> tiny(8, 0);
    for (const auto& bytes : {shortKeyboard, lying, tiny, std::vector<uint8_t>()}) {
        m_platform.messages[++m_handle] = bytes;
        CapturedInput input;
        input.kind = 99;
        EXPECT_FALSE(m_capture.Decode(m_handle, input));
        EXPECT_EQ(input.kind, 99) << "nothing filled";
    }
    CapturedInput input;
    EXPECT_FALSE(m_capture.Decode(12345, input)) << "unreadable handle";
    // A keyboard message that is neither down nor up is ignored.
    EXPECT_EQ(Feed(KeyboardMessage(65, 0x0102)).kind, CapturedInput::kIgnore);
}

}  // namespace
}  // namespace tavik
