#include "app/device/key_macro_image.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/device/key_tables.h"
#include "tests/device/protocol_test_support.h"

namespace tavik {
namespace {

using test::HexBytes;
using test::ReportHex;
using test::ToHex;

KeyAssignment Assignment(int keyCode, int type, int value1, int value2 = 0, int value3 = 0) {
    KeyAssignment assignment;
    assignment.profile = 1;
    assignment.keyCode = keyCode;
    assignment.functionType = type;
    assignment.value1 = value1;
    assignment.value2 = value2;
    assignment.value3 = value3;
    return assignment;
}

TEST(KeyTableTest, DefaultSlotsAndReportFraming) {
    EXPECT_EQ(ReportHex(KeyTableReport(DefaultKeyTable())),
              "06 12 20 00 00 10 01 00 00 10 02 00 00 10 04 00 00 10 10 00 00 10 08 00 00 "
              "10 20 00 00 10 40 00 00 1f 01 00 00 1f");
}

struct SlotCase {
    const char* name;
    KeyAssignment assignment;
    const char* slot;  // the slot's bytes after encoding
};

TEST(KeyTableTest, SlotOfEveryFunctionType) {
    // Slot 3's default is 10 10 00 00 and slot 9 has none (zeros): "keeps its default" shows.
    const std::vector<int> imageMacros = {7, 3, 9};
    const SlotCase cases[] = {
        {"mouse 1", Assignment(3, 1, 1), "10 01 00 00"},
        {"mouse 2", Assignment(3, 1, 2), "10 04 00 00"},
        {"mouse 3", Assignment(3, 1, 3), "10 02 00 00"},
        {"mouse 4", Assignment(3, 1, 4), "10 01 02 00"},
        {"mouse 5", Assignment(3, 1, 5), "10 10 00 00"},
        {"mouse 6", Assignment(3, 1, 6), "10 08 00 00"},
        {"mouse 7", Assignment(3, 1, 7), "10 20 00 00"},
        {"mouse 8", Assignment(3, 1, 8), "10 40 00 00"},
        {"mouse 9", Assignment(3, 1, 9), "10 00 00 fe"},
        {"mouse 10", Assignment(3, 1, 10), "10 00 00 02"},
        {"mouse 11", Assignment(3, 1, 11), "1f 01 00 00"},
        {"mouse 12", Assignment(3, 1, 12), "1f 00 00 00"},
        {"mouse other", Assignment(3, 1, 13), "10 00 00 00"},
        {"mouse zero", Assignment(3, 1, 0), "10 00 00 00"},
        {"key shift usage alone", Assignment(3, 2, 0xE1, 0, 0x04), "20 02 00 04"},
        {"key with modifiers", Assignment(3, 2, 0x04, 0x03, 0x05), "20 03 04 05"},
        {"modifier usage with modifiers", Assignment(3, 2, 0xE1, 0x01, 0xE5), "20 01 02 20"},
        {"right gui alone", Assignment(3, 2, 0xE7, 0, 0), "20 80 00 00"},
        {"usage beyond a byte", Assignment(3, 2, 0x104, 0x01, 0x2C), "20 01 00 2c"},
        {"multimedia 1", Assignment(3, 4, 1), "30 83 01 00"},
        {"multimedia 2", Assignment(3, 4, 2), "30 cd 00 00"},
        {"multimedia 3", Assignment(3, 4, 3), "30 b7 00 00"},
        {"multimedia 4", Assignment(3, 4, 4), "30 b6 00 00"},
        {"multimedia 5", Assignment(3, 4, 5), "30 b5 00 00"},
        {"multimedia 6", Assignment(3, 4, 6), "30 e9 00 00"},
        {"multimedia 7", Assignment(3, 4, 7), "30 ea 00 00"},
        {"multimedia 8", Assignment(3, 4, 8), "30 e2 00 00"},
        {"multimedia 12", Assignment(3, 4, 12), "30 92 01 00"},
        {"multimedia 13", Assignment(3, 4, 13), "30 8a 01 00"},
        {"multimedia other keeps bytes", Assignment(3, 4, 9), "30 10 00 00"},
        {"macro by position", Assignment(3, 5, 9, 2, 5), "60 02 02 05"},
        {"macro first", Assignment(9, 5, 7, 1, 1), "60 00 01 01"},
        {"macro not in image", Assignment(3, 5, 4, 1, 1), "10 10 00 00"},
        {"shortcut 1", Assignment(3, 7, 1), "20 01 1b 00"},
        {"shortcut 13", Assignment(3, 7, 13), "20 0a 16 00"},
        {"shortcut 27", Assignment(3, 7, 27), "40 01 00 00"},
        {"shortcut 28", Assignment(3, 7, 28), "40 02 00 00"},
        {"shortcut 29", Assignment(3, 7, 29), "40 04 00 00"},
        {"shortcut other keeps bytes", Assignment(3, 7, 38), "20 10 00 00"},
        {"disabled", Assignment(3, 8, 1), "00 00 00 00"},
        {"program", Assignment(3, 9, 1), "50 09 01 00"},
        {"web address", Assignment(3, 10, 200), "50 0a c8 00"},
        {"text snippet", Assignment(9, 11, 255), "50 0b ff 00"},
        {"text id beyond a byte", Assignment(3, 11, 256), "10 10 00 00"},
        {"program id 0", Assignment(9, 9, 0, 1), "00 00 00 00"},
        {"type 3 not sent", Assignment(3, 3, 1), "10 10 00 00"},
        {"type 6 not sent", Assignment(3, 6, 1), "10 10 00 00"},
    };
    for (const SlotCase& testCase : cases) {
        KeyTable table = BuildKeyTable({testCase.assignment}, imageMacros);
        EXPECT_EQ(ToHex(table[static_cast<size_t>(testCase.assignment.keyCode)]), testCase.slot)
            << testCase.name;
    }
}

TEST(KeyTableTest, RowsOutsideTheReportAreSkipped) {
    KeyTable table = BuildKeyTable(
        {Assignment(-1, 8, 1), Assignment(14, 8, 1), Assignment(13, 9, 5), Assignment(0, 8, 1)},
        {});
    KeyTable expected = DefaultKeyTable();
    expected[13] = {0x50, 0x09, 0x05, 0x00};
    expected[0] = {0x00, 0x00, 0x00, 0x00};
    EXPECT_EQ(table, expected);
    // Slot 13 is the last that fits: it ends at report byte 60.
    EXPECT_EQ(ReportHex(KeyTableReport(table)).substr(3 * 57), "50 09 05");
}

TEST(KeyTablesTest, ShortcutTable) {
    // Modifier bits and key usage of shortcuts 1 .. 37; 27 .. 29 are whole slots.
    const char* expected[37] = {
        "01 1b", "01 06", "01 19", "01 16", "01 13", "01 04", "01 1d", "01 1c", "08 16", "08 13",
        "01 2e", "01 2d", "0a 16", "08 36", "08 0b", "08 08", "08 15", "08 07", "08 36", "04 2b",
        "04 3d", "08 52", "08 10", "08 0f", "03 29", "08 1b", "",      "",      "",      "09 12",
        "08 2e", "08 0a", "09 07", "09 50", "09 4f", "09 3d", "08 2b"};
    for (int value = 1; value <= 37; ++value) {
        ShortcutEntry entry;
        ASSERT_TRUE(FindShortcut(value, entry)) << value;
        if (value >= 27 && value <= 29) {
            EXPECT_TRUE(entry.wholeSlot) << value;
            continue;
        }
        EXPECT_FALSE(entry.wholeSlot) << value;
        EXPECT_EQ(ToHex(std::vector<uint8_t>{entry.modifiers, entry.usage}), expected[value - 1])
            << value;
    }
    ShortcutEntry entry;
    EXPECT_FALSE(FindShortcut(0, entry));
    EXPECT_FALSE(FindShortcut(38, entry));
}

TEST(KeyTablesTest, VirtualKeyUsages) {
    struct Case {
        int virtualKey;
        int usage;
    };
    const Case cases[] = {
        {'A', 0x04},  {'Z', 0x1D},  {'1', 0x1E},  {'9', 0x26},  {'0', 0x27},  {0x0D, 0x28},
        {0x1B, 0x29}, {0x08, 0x2A}, {0x09, 0x2B}, {0x20, 0x2C}, {0xBD, 0x2D}, {0xBB, 0x2E},
        {0xDB, 0x2F}, {0xDD, 0x30}, {0xDC, 0x31}, {0xBA, 0x33}, {0xDE, 0x34}, {0xC0, 0x35},
        {0xBC, 0x36}, {0xBE, 0x37}, {0xBF, 0x38}, {0x14, 0x39}, {0x70, 0x3A}, {0x7B, 0x45},
        {0x7C, 0x68}, {0x87, 0x73}, {0x2C, 0x46}, {0x91, 0x47}, {0x13, 0x48}, {0x2D, 0x49},
        {0x24, 0x4A}, {0x21, 0x4B}, {0x2E, 0x4C}, {0x23, 0x4D}, {0x22, 0x4E}, {0x27, 0x4F},
        {0x25, 0x50}, {0x28, 0x51}, {0x26, 0x52}, {0x90, 0x53}, {0x6F, 0x54}, {0x6A, 0x55},
        {0x6D, 0x56}, {0x6B, 0x57}, {0x6C, 0x58}, {0x61, 0x59}, {0x69, 0x61}, {0x60, 0x62},
        {0x6E, 0x63}, {0xE2, 0x64}, {0x5D, 0x65}, {0xFE, 0xAF}, {0xA2, 0xE0}, {0xA0, 0xE1},
        {0xA4, 0xE2}, {0x5B, 0xE3}, {0xA3, 0xE4}, {0xA1, 0xE5}, {0xA5, 0xE6}, {0x5C, 0xE7},
        {666, 0x32},  {301, 0xEC},  {302, 0xEB},  {0x88, 0x88}, {0x8B, 0x8B}, {0x10, 0},
        {0x11, 0},    {0x12, 0},    {0x8C, 0},    {-1, 0},      {0x10041, 0}, {0, 0},
    };
    for (const Case& testCase : cases) {
        EXPECT_EQ(VirtualKeyToUsage(testCase.virtualKey), testCase.usage)
            << std::hex << testCase.virtualKey;
    }
}

TEST(KeyTablesTest, ModifierBits) {
    const int virtualKeys[8] = {0xA2, 0xA0, 0xA4, 0x5B, 0xA3, 0xA1, 0xA5, 0x5C};
    for (int bit = 0; bit < 8; ++bit) {
        EXPECT_EQ(VirtualKeyModifierBit(virtualKeys[bit]), 1 << bit);
        EXPECT_TRUE(IsModifierVirtualKey(virtualKeys[bit]));
        EXPECT_EQ(UsageModifierBit(0xE0 + bit), 1 << bit);
    }
    EXPECT_EQ(VirtualKeyModifierBit(0x10), 0);
    EXPECT_FALSE(IsModifierVirtualKey('A'));
    EXPECT_EQ(UsageModifierBit(0xDF), 0);
    EXPECT_EQ(UsageModifierBit(0xE8), 0);
}

MacroEvent Event(int type, int value, int delay, const wchar_t* description = L"") {
    MacroEvent event;
    event.type = type;
    event.value = value;
    event.delayTime = delay;
    event.description = description;
    return event;
}

TEST(MacroImageTest, EventEncodings) {
    struct Case {
        const char* name;
        MacroEvent event;
        int runningBefore;
        const char* bytes;  // empty: skipped
        int runningAfter;
    };
    const Case cases[] = {
        {"key down letter", Event(2, 'A', 50), 10, "0a 00 42 04", 50},
        {"key down shift", Event(2, 0xA0, 30), 300, "2c 01 41 02", 30},
        {"key up right win", Event(3, 0x5C, 0), 10, "0a 00 01 80", 0},
        {"key up enter", Event(3, 0x0D, 20), 0x1234, "34 12 02 28", 20},
        {"key down unknown key", Event(2, 0x10, 5), 10, "0a 00 42 00", 5},
        {"button down", Event(4, 4, 15), 10, "0a 00 43 04", 15},
        {"button up", Event(5, 16, 15), 15, "0f 00 03 10", 15},
        {"button scroll up", Event(4, 1, 15, L"Scroll Up"), 10, "0a 00 44 01", 15},
        {"button up scroll down", Event(5, 255, 7, L"x Scroll Down"), 10, "0a 00 44 ff", 7},
        {"wheel up", Event(6, 1, 99), 10, "00 00 44 01", 10},
        {"wheel down", Event(7, 255, 99), 10, "00 00 44 ff", 10},
        {"type 8", Event(8, 0x1234, 99), 10, "00 00 06 34", 10},
        {"type 11", Event(11, 0x7F, 99), 10, "00 00 06 7f", 10},
        {"move right down", Event(12, 0x0203, 99), 10, "00 00 06 32", 10},
        // Negative steps go in as the stored bytes: x = 0xFE gives 16 x = 0xE0 in a byte.
        {"move left", Event(12, 0x00FE, 99), 10, "00 80 06 e0", 10},
        {"move up", Event(12, 0xFD00, 99), 10, "00 40 06 0d", 10},
        {"move left and up", Event(12, 0xFFF1, 99), 10, "00 c0 06 1f", 10},
        {"move right, bits above y ignored", Event(12, 0x70105, 99), 10, "00 00 06 51", 10},
        {"type 1 skipped", Event(1, 1, 99), 10, "", 10},
        {"type 13 skipped", Event(13, 1, 99), 10, "", 10},
        {"negative delay kept for the end", Event(2, 'B', -4), 10, "0a 00 42 05", -4},
        {"huge delay carried in 16 bits", Event(3, 'B', 1), 70000, "ff ff 02 05", 1},
    };
    for (const Case& testCase : cases) {
        int running = testCase.runningBefore;
        std::array<uint8_t, 4> bytes{};
        bool encoded = EncodeMacroEvent(testCase.event, running, bytes);
        EXPECT_EQ(encoded ? ToHex(bytes) : std::string(), testCase.bytes) << testCase.name;
        EXPECT_EQ(running, testCase.runningAfter) << testCase.name;
    }
}

TEST(MacroImageTest, EndRecordDelayIsLimited) {
    const std::pair<int, const char*> cases[] = {
        {20000, "10 27 83 01"}, {10000, "10 27 83 01"}, {500, "f4 01 83 01"}, {10, "0a 00 83 01"},
        {5, "0a 00 83 01"},     {0, "0a 00 83 01"},     {-3, "0a 00 83 01"},
    };
    for (const auto& [delay, bytes] : cases) {
        EXPECT_EQ(ToHex(EncodeMacroEnd(delay)), bytes) << delay;
    }
}

MacroImageSource Macro(int id, int eventCount, int lastDelay = 25) {
    MacroImageSource macro;
    macro.macroId = id;
    for (int index = 0; index < eventCount; ++index) {
        MacroEvent event = Event(index % 2 == 0 ? 2 : 3, 'A' + index % 26, 25);
        event.recordIndex = index;
        macro.events.push_back(event);
    }
    if (eventCount > 0) {
        macro.events.back().delayTime = lastDelay;
    }
    return macro;
}

std::vector<size_t> ChunkLengths(const std::vector<ReportBuffer>& chunks) {
    std::vector<size_t> lengths;
    for (const ReportBuffer& chunk : chunks) {
        lengths.push_back(chunk[2]);
    }
    return lengths;
}

TEST(MacroImageTest, LayoutOfOneMacro) {
    MacroImageSource macro;
    macro.macroId = 4;
    macro.events = {Event(2, 'A', 40), Event(3, 'A', 20000)};
    MacroImage image = BuildMacroImage({macro});
    ASSERT_EQ(image.bytes.size(), 64u + 8 + 8);
    EXPECT_EQ(ToHex(image.bytes.begin(), image.bytes.begin() + 4), "40 00 00 00");
    EXPECT_EQ(ToHex(image.bytes.begin() + 64, image.bytes.end()),
              "0a 00 42 04 28 00 02 04 10 27 83 01 00 00 00 00");
    EXPECT_EQ(image.macroIds, std::vector<int>{4});

    macro.events.back().delayTime = 0;
    image = BuildMacroImage({macro});
    EXPECT_EQ(ToHex(image.bytes.begin() + 72, image.bytes.begin() + 76), "0a 00 83 01");
}

TEST(MacroImageTest, ThreeMacrosOfTenEvents) {
    MacroImage image = BuildMacroImage({Macro(1, 10), Macro(2, 10), Macro(5, 10)});
    ASSERT_EQ(image.bytes.size(), 208u);
    EXPECT_EQ(ToHex(image.bytes.begin(), image.bytes.begin() + 8), "40 00 70 00 a0 00 00 00");
    std::vector<ReportBuffer> chunks = MacroImageChunks(image.bytes);
    EXPECT_EQ(ChunkLengths(chunks), (std::vector<size_t>{59, 59, 59, 31}));
    // Offsets 0, 59, 118, 177 in bytes 3..4; each chunk carries its slice of the image.
    for (size_t k = 0; k < chunks.size(); ++k) {
        EXPECT_EQ(chunks[k][0], 0x06);
        EXPECT_EQ(chunks[k][1], 0x31);
        EXPECT_EQ(chunks[k][3] | (chunks[k][4] << 8), static_cast<int>(59 * k));
        size_t count = chunks[k][2];
        EXPECT_EQ(ToHex(chunks[k].begin() + 5, chunks[k].begin() + 5 + count),
                  ToHex(image.bytes.begin() + 59 * k, image.bytes.begin() + 59 * k + count));
        // Nothing past the image.
        for (size_t at = 5 + count; at < chunks[k].size(); ++at) {
            EXPECT_EQ(chunks[k][at], 0) << k << " " << at;
        }
    }
}

TEST(MacroImageTest, ChunkLengthsAtTheEdges) {
    EXPECT_EQ(ChunkLengths(MacroImageChunks(std::vector<uint8_t>(118, 1))),
              (std::vector<size_t>{59, 59, 0}));
    MacroImage empty = BuildMacroImage({});
    EXPECT_EQ(empty.bytes, std::vector<uint8_t>(64, 0));
    std::vector<ReportBuffer> chunks = MacroImageChunks(empty.bytes);
    EXPECT_EQ(ChunkLengths(chunks), (std::vector<size_t>{59, 5}));
    EXPECT_EQ(ReportHex(chunks[1]), "06 31 05 3b");
}

TEST(MacroImageTest, AtMostThirtyTwoMacros) {
    std::vector<MacroImageSource> macros;
    for (int id = 1; id <= 33; ++id) {
        macros.push_back(Macro(id, 1));
    }
    MacroImage image = BuildMacroImage(macros);
    ASSERT_EQ(image.macroIds.size(), 32u);
    EXPECT_EQ(image.macroIds.back(), 32);
    EXPECT_EQ(image.bytes.size(), 64u + 32 * 12);
    // A button of the 33rd macro keeps its default.
    KeyTable table =
        BuildKeyTable({Assignment(2, 5, 33, 1, 1), Assignment(3, 5, 32, 1, 1)}, image.macroIds);
    EXPECT_EQ(ToHex(table[2]), "10 04 00 00");
    EXPECT_EQ(ToHex(table[3]), "60 1f 01 01");
}

TEST(MacroImageTest, SizeLimitDropsWholeMacros) {
    // Four macros of 200 events take 64 + 4 x 808 = 3296 bytes; a fifth would pass 4000.
    std::vector<MacroImageSource> macros = {Macro(1, 200), Macro(2, 200), Macro(3, 200),
                                            Macro(4, 200), Macro(5, 200), Macro(6, 1)};
    MacroImage image = BuildMacroImage(macros);
    EXPECT_EQ(image.bytes.size(), 3296u);
    EXPECT_EQ(image.macroIds, (std::vector<int>{1, 2, 3, 4}));
    // Table entries of dropped macros stay zero; every entry points inside the transfer at a
    // macro that ends with its end record.
    for (size_t position = 0; position < 32; ++position) {
        int offset = image.bytes[2 * position] | (image.bytes[2 * position + 1] << 8);
        if (position >= image.macroIds.size()) {
            EXPECT_EQ(offset, 0) << position;
            continue;
        }
        size_t end = static_cast<size_t>(offset) + 200 * 4;
        ASSERT_LE(end + 8, image.bytes.size());
        EXPECT_EQ(image.bytes[end + 2], 0x83) << position;
    }
    KeyTable table = BuildKeyTable({Assignment(1, 5, 5), Assignment(4, 5, 4)}, image.macroIds);
    EXPECT_EQ(ToHex(table[1]), "10 02 00 00");
    EXPECT_EQ(ToHex(table[4]), "60 03 00 00");

    // The largest image that fits is sent whole: 3296 + 696 + 8 = 4000.
    macros[4] = Macro(5, 174);
    image = BuildMacroImage(macros);
    EXPECT_EQ(image.bytes.size(), 4000u);
    EXPECT_EQ(image.macroIds.size(), 5u);
    std::vector<ReportBuffer> chunks = MacroImageChunks(image.bytes);
    EXPECT_EQ(chunks.size(), 68u);
    EXPECT_EQ(chunks.back()[2], 4000 % 59);
}

TEST(MacroImageTest, SkippedEventsDoNotChangeTheDelay) {
    MacroImageSource macro;
    macro.macroId = 1;
    macro.events = {Event(2, 'A', 40), Event(0, 0, 999), Event(6, 1, 777), Event(3, 'A', 60)};
    MacroImage image = BuildMacroImage({macro});
    EXPECT_EQ(ToHex(image.bytes.begin() + 64, image.bytes.end()),
              "0a 00 42 04 00 00 44 01 28 00 02 04 3c 00 83 01 00 00 00 00");
}

}  // namespace
}  // namespace tavik
