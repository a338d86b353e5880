#pragma once

#include <array>
#include <cstdint>

namespace tavik {

// One 4-byte slot of the mouse's key table.
using KeySlot = std::array<uint8_t, 4>;

// The USB HID keyboard usage (Keyboard/Keypad page) of a Windows virtual-key code, or of one
// of the application's own key codes 666, 301 and 302; 0 for a code without one.
uint8_t VirtualKeyToUsage(int virtualKey);

// True for the virtual keys of the eight modifier keys: left and right Ctrl, Shift, Alt
// (0xA0 .. 0xA5) and Windows (0x5B, 0x5C).
bool IsModifierVirtualKey(int virtualKey);

// The modifier bit (0x01 left Ctrl ... 0x80 right Windows) of a modifier virtual key; 0 for
// any other key.
uint8_t VirtualKeyModifierBit(int virtualKey);

// The modifier bit of a modifier usage 0xE0 .. 0xE7; 0 for any other usage.
uint8_t UsageModifierBit(int usage);

// A system shortcut of a button (function type 7): either modifier bits and a key usage, or
// a whole slot of its own.
struct ShortcutEntry {
    bool wholeSlot = false;
    KeySlot slot{};         // when wholeSlot
    uint8_t modifiers = 0;  // otherwise
    uint8_t usage = 0;
};

// The shortcut with this number (1 .. 37); false for any other number.
bool FindShortcut(int value, ShortcutEntry& entry);

// Slot bytes 1 .. 3 of a mouse function (function type 1, values 1 .. 10), or the whole slot
// (values 11, 12). False for any other value.
bool FindMouseFunction(int value, bool& wholeSlot, KeySlot& bytes);

// The consumer-control usage of a multimedia function (function type 4); 0 for a value
// without one.
uint16_t MultimediaUsage(int value);

}  // namespace tavik
