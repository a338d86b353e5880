#include "app/device/key_tables.h"

#include <cstddef>

namespace tavik {

namespace {

struct VirtualKeyUsage {
    int virtualKey;
    uint8_t usage;
};

// Keys whose virtual-key codes do not run in step with their usages.
constexpr VirtualKeyUsage kSingleKeys[] = {
    {0x0D, 0x28},  // Enter
    {0x1B, 0x29},  // Escape
    {0x08, 0x2A},  // Backspace
    {0x09, 0x2B},  // Tab
    {0x20, 0x2C},  // Space
    {0xBD, 0x2D},  // -
    {0xBB, 0x2E},  // =
    {0xDB, 0x2F},  // [
    {0xDD, 0x30},  // ]
    {0xDC, 0x31},  // backslash
    {0xBA, 0x33},  // ;
    {0xDE, 0x34},  // '
    {0xC0, 0x35},  // `
    {0xBC, 0x36},  // ,
    {0xBE, 0x37},  // .
    {0xBF, 0x38},  // /
    {0x14, 0x39},  // Caps Lock
    {0x2C, 0x46},  // Print Screen
    {0x91, 0x47},  // Scroll Lock
    {0x13, 0x48},  // Pause
    {0x2D, 0x49},  // Insert
    {0x24, 0x4A},  // Home
    {0x21, 0x4B},  // Page Up
    {0x2E, 0x4C},  // Delete
    {0x23, 0x4D},  // End
    {0x22, 0x4E},  // Page Down
    {0x27, 0x4F},  // Right
    {0x25, 0x50},  // Left
    {0x28, 0x51},  // Down
    {0x26, 0x52},  // Up
    {0x90, 0x53},  // Num Lock
    {0x6F, 0x54},  // keypad /
    {0x6A, 0x55},  // keypad *
    {0x6D, 0x56},  // keypad -
    {0x6B, 0x57},  // keypad +
    {0x6C, 0x58},  // keypad separator
    {0x60, 0x62},  // keypad 0
    {0x6E, 0x63},  // keypad decimal
    {0xE2, 0x64},  // the extra key beside left Shift
    {0x5D, 0x65},  // Application
    {0xFE, 0xAF},
    {0xA2, 0xE0},  // left Ctrl
    {0xA0, 0xE1},  // left Shift
    {0xA4, 0xE2},  // left Alt
    {0x5B, 0xE3},  // left Windows
    {0xA3, 0xE4},  // right Ctrl
    {0xA1, 0xE5},  // right Shift
    {0xA5, 0xE6},  // right Alt
    {0x5C, 0xE7},  // right Windows
    // Codes of the application's own key list.
    {666, 0x32},
    {301, 0xEC},
    {302, 0xEB},
};

// The modifier virtual keys in the order of their bits 0x01 .. 0x80.
constexpr int kModifierVirtualKeys[8] = {0xA2, 0xA0, 0xA4, 0x5B, 0xA3, 0xA1, 0xA5, 0x5C};

struct ShortcutKeys {
    uint8_t modifiers;
    uint8_t usage;
};

constexpr uint8_t kCtrl = 0x01;
constexpr uint8_t kShift = 0x02;
constexpr uint8_t kAlt = 0x04;
constexpr uint8_t kWin = 0x08;

// Shortcuts 1 .. 37 by number; 27 .. 29 are whole slots and have no entry here.
constexpr ShortcutKeys kShortcuts[37] = {
    {kCtrl, 0x1B},           // 1 Ctrl+X
    {kCtrl, 0x06},           // 2 Ctrl+C
    {kCtrl, 0x19},           // 3 Ctrl+V
    {kCtrl, 0x16},           // 4 Ctrl+S
    {kCtrl, 0x13},           // 5 Ctrl+P
    {kCtrl, 0x04},           // 6 Ctrl+A
    {kCtrl, 0x1D},           // 7 Ctrl+Z
    {kCtrl, 0x1C},           // 8 Ctrl+Y
    {kWin, 0x16},            // 9 Win+S
    {kWin, 0x13},            // 10 Win+P
    {kCtrl, 0x2E},           // 11 Ctrl+=
    {kCtrl, 0x2D},           // 12 Ctrl+-
    {kShift | kWin, 0x16},   // 13 Shift+Win+S
    {kWin, 0x36},            // 14 Win+,
    {kWin, 0x0B},            // 15 Win+H
    {kWin, 0x08},            // 16 Win+E
    {kWin, 0x15},            // 17 Win+R
    {kWin, 0x07},            // 18 Win+D
    {kWin, 0x36},            // 19 Win+,
    {kAlt, 0x2B},            // 20 Alt+Tab
    {kAlt, 0x3D},            // 21 Alt+F4
    {kWin, 0x52},            // 22 Win+Up
    {kWin, 0x10},            // 23 Win+M
    {kWin, 0x0F},            // 24 Win+L
    {kCtrl | kShift, 0x29},  // 25 Ctrl+Shift+Esc
    {kWin, 0x1B},            // 26 Win+X
    {0, 0},                  // 27 whole slot
    {0, 0},                  // 28 whole slot
    {0, 0},                  // 29 whole slot
    {kCtrl | kWin, 0x12},    // 30 Ctrl+Win+O
    {kWin, 0x2E},            // 31 Win+=
    {kWin, 0x0A},            // 32 Win+G
    {kCtrl | kWin, 0x07},    // 33 Ctrl+Win+D
    {kCtrl | kWin, 0x50},    // 34 Ctrl+Win+Left
    {kCtrl | kWin, 0x4F},    // 35 Ctrl+Win+Right
    {kCtrl | kWin, 0x3D},    // 36 Ctrl+Win+F4
    {kWin, 0x2B},            // 37 Win+Tab
};

}  // namespace

uint8_t VirtualKeyToUsage(int virtualKey) {
    if (virtualKey >= 'A' && virtualKey <= 'Z') {
        return static_cast<uint8_t>(0x04 + (virtualKey - 'A'));
    }
    if (virtualKey >= '1' && virtualKey <= '9') {
        return static_cast<uint8_t>(0x1E + (virtualKey - '1'));
    }
    if (virtualKey == '0') {
        return 0x27;
    }
    if (virtualKey >= 0x70 && virtualKey <= 0x7B) {  // F1 .. F12
        return static_cast<uint8_t>(0x3A + (virtualKey - 0x70));
    }
    if (virtualKey >= 0x7C && virtualKey <= 0x87) {  // F13 .. F24
        return static_cast<uint8_t>(0x68 + (virtualKey - 0x7C));
    }
    if (virtualKey >= 0x61 && virtualKey <= 0x69) {  // keypad 1 .. 9
        return static_cast<uint8_t>(0x59 + (virtualKey - 0x61));
    }
    if (virtualKey >= 0x88 && virtualKey <= 0x8B) {
        return static_cast<uint8_t>(virtualKey);
    }
    for (const VirtualKeyUsage& key : kSingleKeys) {
        if (key.virtualKey == virtualKey) {
            return key.usage;
        }
    }
    return 0;
}

bool IsModifierVirtualKey(int virtualKey) {
    return VirtualKeyModifierBit(virtualKey) != 0;
}

uint8_t VirtualKeyModifierBit(int virtualKey) {
    for (int bit = 0; bit < 8; ++bit) {
        if (kModifierVirtualKeys[bit] == virtualKey) {
            return static_cast<uint8_t>(1u << bit);
        }
    }
    return 0;
}

uint8_t UsageModifierBit(int usage) {
    if (usage < 0xE0 || usage > 0xE7) {
        return 0;
    }
    return static_cast<uint8_t>(1u << (usage - 0xE0));
}

bool FindShortcut(int value, ShortcutEntry& entry) {
    if (value < 1 || value > 37) {
        return false;
    }
    entry = ShortcutEntry{};
    if (value >= 27 && value <= 29) {
        // System functions the mouse carries out itself.
        entry.wholeSlot = true;
        entry.slot = {0x40, static_cast<uint8_t>(1u << (value - 27)), 0x00, 0x00};
        return true;
    }
    const ShortcutKeys& keys = kShortcuts[static_cast<size_t>(value - 1)];
    entry.modifiers = keys.modifiers;
    entry.usage = keys.usage;
    return true;
}

bool FindMouseFunction(int value, bool& wholeSlot, KeySlot& bytes) {
    static constexpr KeySlot kFunctions[10] = {
        {0x10, 0x01, 0x00, 0x00}, {0x10, 0x04, 0x00, 0x00}, {0x10, 0x02, 0x00, 0x00},
        {0x10, 0x01, 0x02, 0x00}, {0x10, 0x10, 0x00, 0x00}, {0x10, 0x08, 0x00, 0x00},
        {0x10, 0x20, 0x00, 0x00}, {0x10, 0x40, 0x00, 0x00}, {0x10, 0x00, 0x00, 0xFE},
        {0x10, 0x00, 0x00, 0x02},
    };
    if (value >= 1 && value <= 10) {
        wholeSlot = false;
        bytes = kFunctions[value - 1];
        return true;
    }
    if (value == 11 || value == 12) {
        wholeSlot = true;
        bytes = {0x1F, static_cast<uint8_t>(value == 11 ? 0x01 : 0x00), 0x00, 0x00};
        return true;
    }
    return false;
}

uint16_t MultimediaUsage(int value) {
    switch (value) {
        case 1:
            return 0x0183;
        case 2:
            return 0x00CD;
        case 3:
            return 0x00B7;
        case 4:
            return 0x00B6;
        case 5:
            return 0x00B5;
        case 6:
            return 0x00E9;
        case 7:
            return 0x00EA;
        case 8:
            return 0x00E2;
        case 12:
            return 0x0192;
        case 13:
            return 0x018A;
        default:
            return 0;
    }
}

}  // namespace tavik
