// Arithmetic of the toolkit core that needs no window: wheel notches, modifier codes, timer
// ids, focus cycling, window placement and layered-pixel fixes.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "orvo/core/core_math.h"
#include "orvo/colour.h"

namespace {

using namespace Orvo::CoreMath;

TEST(CoreMathTest, WheelCountsWholeNotches) {
    struct Case {
        int delta;
        int steps;
        bool down;
    };
    const Case cases[] = {
        {60, 0, true},   {-60, 0, true},  {119, 0, true},  {120, 1, false},
        {-120, 1, true}, {-240, 2, true}, {360, 3, false}, {0, 0, true},
    };
    for (const Case& test : cases) {
        EXPECT_EQ(WheelSteps(test.delta), test.steps) << test.delta;
        EXPECT_EQ(WheelDown(test.delta), test.down) << test.delta;
    }
}

TEST(CoreMathTest, ModifierCodesAreOredTogether) {
    EXPECT_EQ(KeyModifiers(false, false, false), 0u);
    EXPECT_EQ(KeyModifiers(true, false, false), 0x10u);
    EXPECT_EQ(KeyModifiers(false, true, false), 0x11u);
    EXPECT_EQ(KeyModifiers(false, false, true), 0x12u);
    EXPECT_EQ(KeyModifiers(true, true, false), 0x11u);
    EXPECT_EQ(KeyModifiers(false, true, true), 0x13u);
}

TEST(CoreMathTest, TimerIdsStartAt17SkipReservedAndWrapToZero) {
    unsigned counter = kFirstControlTimerCounter;
    std::set<unsigned> used;
    const auto inUse = [&](unsigned id) { return used.count(id) != 0; };
    std::vector<unsigned> ids;
    unsigned id = 0;
    while (NextControlTimerId(counter, inUse, id)) {
        ids.push_back(id);
        used.insert(id);
    }
    ASSERT_EQ(ids.size(), 237u);  // 240 ids less 66, 88, 99
    EXPECT_EQ(ids[0], 17u);
    EXPECT_EQ(ids[219], 239u);
    EXPECT_EQ(ids[220], 0u);
    EXPECT_EQ(ids.back(), 16u);
    EXPECT_EQ(used.count(66) + used.count(88) + used.count(99), 0u);

    // A freed id comes round again.
    used.erase(40);
    ASSERT_TRUE(NextControlTimerId(counter, inUse, id));
    EXPECT_EQ(id, 40u);
}

TEST(CoreMathTest, FocusCyclesOverFocusableEntries) {
    const std::vector<bool> focusable = {true, false, true, false};
    const auto at = [&](int i) { return focusable[static_cast<size_t>(i)]; };
    struct Case {
        int focus;
        bool forward;
        int expected;
    };
    const Case cases[] = {
        {-1, true, 0}, {0, true, 2},  {2, true, 0},  {1, true, 2}, {-1, false, 2},
        {2, false, 0}, {0, false, 2}, {4, true, -1},  // the focus control is not in the list
    };
    for (const Case& test : cases) {
        EXPECT_EQ(NextFocusIndex(4, test.focus, test.forward, at), test.expected)
            << test.focus << " " << test.forward;
    }
    const auto none = [](int) { return false; };
    EXPECT_EQ(NextFocusIndex(4, -1, true, none), -1);
    EXPECT_EQ(NextFocusIndex(0, -1, true, none), -1);
}

TEST(CoreMathTest, CenteredWindowsStayInsideTheArea) {
    const Box area{0, 0, 1000, 700};
    int x = 0;
    int y = 0;
    CenterInArea(200, 100, Box{100, 100, 500, 300}, area, x, y);
    EXPECT_EQ(x, 200);
    EXPECT_EQ(y, 150);
    CenterInArea(200, 100, Box{900, 650, 1100, 750}, area, x, y);
    EXPECT_EQ(x, 800);
    EXPECT_EQ(y, 600);
    CenterInArea(1400, 900, area, area, x, y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
}

TEST(CoreMathTest, LayeredPixelsAreClearedAndMadeOpaqueBottomUp) {
    constexpr int kWidth = 4;
    constexpr int kHeight = 3;
    std::vector<uint32_t> bits(kWidth * kHeight, 0x11223344u);
    // Client row 0 is the last DIB row.
    ClearPixels(bits.data(), kWidth, kHeight, Box{1, 0, 3, 1});
    EXPECT_EQ(bits[2 * kWidth + 1], 0u);
    EXPECT_EQ(bits[2 * kWidth + 2], 0u);
    EXPECT_EQ(bits[2 * kWidth + 0], 0x11223344u);
    EXPECT_EQ(bits[0 * kWidth + 1], 0x11223344u);

    bits[0] = 0x00FF0000u;  // drawn by GDI: colour without alpha
    bits[1] = 0x00000000u;  // untouched: stays transparent
    bits[2] = 0x80102030u;  // has alpha already
    MakeDrawnPixelsOpaque(bits.data(), kWidth, kHeight, Box{-5, -5, 50, 50});
    EXPECT_EQ(bits[0], 0xFFFF0000u);
    EXPECT_EQ(bits[1], 0u);
    EXPECT_EQ(bits[2], 0x80102030u);

    ClearPixels(nullptr, kWidth, kHeight, Box{0, 0, 4, 3});
    ClearPixels(bits.data(), 0, 0, Box{0, 0, 4, 3});
}

// The two colour orders meet only through these conversions: a swapped red and blue is the
// fault they exist to prevent.
TEST(CoreMathTest, PlatformAndToolkitColoursConvertChannelByChannel) {
    struct Case {
        uint32_t colorRef;
        uint8_t alpha;
        uint32_t argb;
    };
    const Case cases[] = {
        {0x004BFFu, 254, 0xFEFF4B00u},  // the window border: the accent
        {0x060606u, 254, 0xFE060606u},
        {0x00FF0000u, 255, 0xFF0000FFu},   // blue
        {0x000000FFu, 0x80, 0x80FF0000u},  // red
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Orvo::ColorRef(c.colorRef).ToArgb(c.alpha).Value(), c.argb) << c.colorRef;
        EXPECT_EQ(Orvo::Argb(c.argb).ToColorRef().Value(), c.colorRef) << c.argb;
    }
    EXPECT_EQ(Orvo::kAccentColor.ToColorRef(), Orvo::ColorRef::FromRgb(255, 75, 0));
    // A COLORREF's unused top byte never leaks into the colour.
    EXPECT_EQ(Orvo::ColorRef(0xFF123456u).Value(), 0x123456u);
}

}  // namespace
