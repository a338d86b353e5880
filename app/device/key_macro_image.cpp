#include "app/device/key_macro_image.h"

#include <algorithm>
#include <string>

#include "app/device/protocol_reports.h"

namespace tavik {

namespace {

constexpr uint8_t kKeyboardSlot = 0x20;
constexpr uint8_t kMouseSlot = 0x10;
constexpr uint8_t kMultimediaSlot = 0x30;
constexpr uint8_t kMacroSlot = 0x60;
constexpr uint8_t kComputerFunctionSlot = 0x50;

constexpr uint8_t kEndRecordFlag = 0x83;
constexpr uint8_t kEndRecordValue = 0x01;
constexpr size_t kEventSize = 4;
// After a macro's end record come four zero bytes.
constexpr size_t kMacroTrailerSize = 8;

// Event types of a macro (MacroEvent::type).
constexpr int kEventKeyDown = 2;
constexpr int kEventKeyUp = 3;
constexpr int kEventButtonDown = 4;
constexpr int kEventButtonUp = 5;
constexpr int kEventWheelUp = 6;
constexpr int kEventWheelDown = 7;
constexpr int kEventPointerLast = 11;
constexpr int kEventMove = 12;

uint8_t LowByte(int value) {
    return static_cast<uint8_t>(value & 0xFF);
}

// usage(x) of the keyboard slot: a usage of one byte, the modifier usages as their bits.
uint8_t SlotUsage(int usage) {
    if (uint8_t bit = UsageModifierBit(usage)) {
        return bit;
    }
    // A value that does not fit the byte names no key; it is not cut to another one.
    return usage >= 0 && usage <= 0xFF ? static_cast<uint8_t>(usage) : 0;
}

void PutDelay(std::array<uint8_t, 4>& bytes, int delay) {
    int clamped = std::clamp(delay, 0, 0xFFFF);
    bytes[0] = static_cast<uint8_t>(clamped & 0xFF);
    bytes[1] = static_cast<uint8_t>(clamped >> 8);
}

bool Contains(const std::wstring& text, const wchar_t* part) {
    return text.find(part) != std::wstring::npos;
}

}  // namespace

KeyTable DefaultKeyTable() {
    KeyTable table{};
    table[0] = {0x10, 0x01, 0x00, 0x00};
    table[1] = {0x10, 0x02, 0x00, 0x00};
    table[2] = {0x10, 0x04, 0x00, 0x00};
    table[3] = {0x10, 0x10, 0x00, 0x00};
    table[4] = {0x10, 0x08, 0x00, 0x00};
    table[5] = {0x10, 0x20, 0x00, 0x00};
    table[6] = {0x10, 0x40, 0x00, 0x00};
    table[7] = {0x1F, 0x01, 0x00, 0x00};
    table[8] = {0x1F, 0x00, 0x00, 0x00};
    return table;
}

bool EncodeKeySlot(const KeyAssignment& assignment, const std::vector<int>& imageMacroIds,
                   KeySlot& slot) {
    const int value = assignment.value1;
    switch (assignment.functionType) {
        case kKeyFunctionMouse: {
            bool wholeSlot = false;
            KeySlot bytes{};
            if (!FindMouseFunction(value, wholeSlot, bytes)) {
                slot = {kMouseSlot, 0x00, 0x00, 0x00};
            } else if (wholeSlot) {
                slot = bytes;
            } else {
                slot = {kMouseSlot, bytes[1], bytes[2], bytes[3]};
            }
            return true;
        }
        case kKeyFunctionKeyboard:
            if (assignment.value2 == 0 && UsageModifierBit(value) != 0) {
                slot = {kKeyboardSlot, UsageModifierBit(value), 0x00, SlotUsage(assignment.value3)};
            } else {
                slot = {kKeyboardSlot, LowByte(assignment.value2), SlotUsage(value),
                        SlotUsage(assignment.value3)};
            }
            return true;
        case kKeyFunctionMultimedia: {
            slot[0] = kMultimediaSlot;
            if (uint16_t usage = MultimediaUsage(value)) {
                slot[1] = static_cast<uint8_t>(usage & 0xFF);
                slot[2] = static_cast<uint8_t>(usage >> 8);
            }
            return true;
        }
        case kKeyFunctionMacro: {
            auto found = std::find(imageMacroIds.begin(), imageMacroIds.end(), value);
            if (found == imageMacroIds.end()) {
                return false;
            }
            auto position = static_cast<uint8_t>(found - imageMacroIds.begin());
            slot = {kMacroSlot, position, LowByte(assignment.value2), LowByte(assignment.value3)};
            return true;
        }
        case kKeyFunctionShortcut: {
            ShortcutEntry shortcut;
            if (!FindShortcut(value, shortcut)) {
                slot[0] = kKeyboardSlot;
            } else if (shortcut.wholeSlot) {
                slot = shortcut.slot;
            } else {
                slot = {kKeyboardSlot, shortcut.modifiers, shortcut.usage, 0x00};
            }
            return true;
        }
        case kKeyFunctionDisabled:
            slot = {0x00, 0x00, 0x00, 0x00};
            return true;
        case kKeyFunctionLaunchProgram:
        case kKeyFunctionWebAddress:
        case kKeyFunctionTextSnippet:
            // The mouse hands the id back in one byte of its event; an id that does not fit
            // would come back as another program, address or text.
            if (value < 1 || value > 0xFF) {
                return false;
            }
            slot = {kComputerFunctionSlot, static_cast<uint8_t>(assignment.functionType),
                    static_cast<uint8_t>(value), 0x00};
            return true;
        default:
            return false;
    }
}

KeyTable BuildKeyTable(const std::vector<KeyAssignment>& assignments,
                       const std::vector<int>& imageMacroIds) {
    KeyTable table = DefaultKeyTable();
    for (const KeyAssignment& assignment : assignments) {
        if (assignment.layer != 0 || assignment.keyCode < 0 ||
            assignment.keyCode >= kKeySlotCount) {
            continue;
        }
        EncodeKeySlot(assignment, imageMacroIds, table[static_cast<size_t>(assignment.keyCode)]);
    }
    return table;
}

ReportBuffer KeyTableReport(const KeyTable& table) {
    // The length byte says 0x20 although the slots take more; the mouse expects it so.
    ReportBuffer report = CommandReport(kCommandWriteKeyTable, 0x20);
    for (size_t slot = 0; slot < table.size(); ++slot) {
        std::copy(table[slot].begin(), table[slot].end(),
                  report.begin() + kPayloadStart + 4 * slot);
    }
    return report;
}

bool EncodeMacroEvent(const MacroEvent& event, int& runningDelay, std::array<uint8_t, 4>& bytes) {
    bytes = {0, 0, 0, 0};
    const bool scrollUp = Contains(event.description, L"Scroll Up");
    const bool scrollDown = Contains(event.description, L"Scroll Down");
    switch (event.type) {
        case kEventKeyDown:
        case kEventKeyUp: {
            const bool modifier = IsModifierVirtualKey(event.value);
            uint8_t kind = modifier ? 0x01 : 0x02;
            bytes[2] = static_cast<uint8_t>(event.type == kEventKeyDown ? 0x40 + kind : kind);
            bytes[3] =
                modifier ? VirtualKeyModifierBit(event.value) : VirtualKeyToUsage(event.value);
            break;
        }
        case kEventButtonDown:
        case kEventButtonUp:
            if (scrollUp || scrollDown) {
                bytes[2] = 0x44;
                bytes[3] = scrollUp ? 0x01 : 0xFF;
            } else {
                bytes[2] = event.type == kEventButtonDown ? 0x43 : 0x03;
                bytes[3] = LowByte(event.value);
            }
            break;
        case kEventWheelUp:
            bytes[2] = 0x44;
            bytes[3] = 0x01;
            return true;
        case kEventWheelDown:
            bytes[2] = 0x44;
            bytes[3] = 0xFF;
            return true;
        case kEventMove: {
            // x is the low byte of the value and y the next one, as stored; the mouse's
            // firmware reads byte 3 as (y mod 16) + 16 x kept to a byte, and the signs from
            // byte 1.
            const int x = event.value & 0xFF;
            const int y = (event.value >> 8) & 0xFF;
            bytes[1] = static_cast<uint8_t>((x & 0x80 ? 0x80 : 0) | (y & 0x80 ? 0x40 : 0));
            bytes[2] = 0x06;
            bytes[3] = static_cast<uint8_t>(((y % 16) + 16 * x) & 0xFF);
            return true;
        }
        default:
            if (event.type > kEventWheelDown && event.type <= kEventPointerLast) {
                bytes[2] = 0x06;
                bytes[3] = LowByte(event.value);
                return true;
            }
            return false;
    }
    // Key and button events carry the delay of the event before them.
    PutDelay(bytes, runningDelay);
    runningDelay = event.delayTime;
    return true;
}

std::array<uint8_t, 4> EncodeMacroEnd(int runningDelay) {
    int delay =
        runningDelay <= 0 ? kMinEndDelay : std::clamp(runningDelay, kMinEndDelay, kMaxEndDelay);
    std::array<uint8_t, 4> bytes{};
    PutDelay(bytes, delay);
    bytes[2] = kEndRecordFlag;
    bytes[3] = kEndRecordValue;
    return bytes;
}

MacroImage BuildMacroImage(const std::vector<MacroImageSource>& macros) {
    MacroImage image;
    image.bytes.assign(kMacroTableSize, 0);
    for (const MacroImageSource& macro : macros) {
        if (image.macroIds.size() >= static_cast<size_t>(kMaxMacroCount)) {
            break;
        }
        std::vector<uint8_t> encoded;
        encoded.reserve(macro.events.size() * kEventSize + kMacroTrailerSize);
        int runningDelay = kFirstRunningDelay;
        for (const MacroEvent& event : macro.events) {
            std::array<uint8_t, 4> bytes;
            if (EncodeMacroEvent(event, runningDelay, bytes)) {
                encoded.insert(encoded.end(), bytes.begin(), bytes.end());
            }
        }
        std::array<uint8_t, 4> end = EncodeMacroEnd(runningDelay);
        encoded.insert(encoded.end(), end.begin(), end.end());
        encoded.insert(encoded.end(), kMacroTrailerSize - kEventSize, 0);
        // A macro that does not fit whole is dropped with all after it, so the mouse never
        // runs a macro without its end record.
        if (image.bytes.size() + encoded.size() > kMaxMacroImageSize) {
            break;
        }
        size_t position = image.macroIds.size();
        size_t offset = image.bytes.size();
        image.bytes[2 * position] = static_cast<uint8_t>(offset & 0xFF);
        image.bytes[2 * position + 1] = static_cast<uint8_t>(offset >> 8);
        image.bytes.insert(image.bytes.end(), encoded.begin(), encoded.end());
        image.macroIds.push_back(macro.macroId);
    }
    return image;
}

std::vector<ReportBuffer> MacroImageChunks(const std::vector<uint8_t>& image) {
    std::vector<ReportBuffer> chunks;
    const size_t length = image.size();
    const size_t lastChunk = length / kMacroChunkSize;
    for (size_t chunk = 0; chunk <= lastChunk; ++chunk) {
        const size_t offset = chunk * kMacroChunkSize;
        const size_t count = chunk < lastChunk ? kMacroChunkSize : length % kMacroChunkSize;
        ReportBuffer report =
            CommandReport(kCommandWriteMacroImage, static_cast<unsigned char>(count));
        report[3] = static_cast<unsigned char>(offset & 0xFF);
        report[4] = static_cast<unsigned char>(offset >> 8);
        std::copy(image.begin() + static_cast<std::ptrdiff_t>(offset),
                  image.begin() + static_cast<std::ptrdiff_t>(offset + count),
                  report.begin() + kPayloadStart);
        chunks.push_back(report);
    }
    return chunks;
}

}  // namespace tavik
