// Arithmetic of the value, colour and device controls: slider thumbs, progress fills, level
// boxes, the colour field's scales, HSL conversions, device cards, fitted pictures and
// battery segments. Divisions by zero ranges, widths and counts must give the scale's start.
#include <gtest/gtest.h>

#include "orvo/controls/device_geometry.h"
#include "orvo/controls/hsl_colour.h"
#include "orvo/controls/value_geometry.h"

namespace {

using namespace Orvo;

TEST(ValueGeometryTest, ThumbOffsetIsClampedToTheTrack) {
    struct Case {
        int track, position, range, offset;
    };
    const Case cases[] = {
        {200, 0, 10, 0},
        {200, 5, 10, 100},
        {200, 10, 10, 200},
        // A stored position past the range is drawn at the end.
        {200, 15, 10, 200},
        {200, 255, 254, 200},
        // Offsets below one pixel stay at the start.
        {9, 1, 10, 0},
        // Zero or negative ranges and tracks never divide.
        {200, 3, 0, 0},
        {200, 3, -4, 0},
        {0, 3, 10, 0},
        {-8, 3, 10, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ValueGeometry::ThumbOffset(c.track, c.position, c.range), c.offset)
            << c.track << " " << c.position << " " << c.range;
    }
}

TEST(ValueGeometryTest, PositionUnderThePointerIsClampedToTheRange) {
    struct Case {
        int x, left, width, range, position;
    };
    const Case cases[] = {
        {10, 10, 200, 10, 0},   {30, 10, 200, 10, 1},  {29, 10, 200, 10, 0}, {210, 10, 200, 10, 10},
        {900, 10, 200, 10, 10}, {-50, 10, 200, 10, 0}, {50, 10, 0, 10, 0},   {50, 10, 200, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ValueGeometry::PositionAt(c.x, c.left, c.width, c.range), c.position) << c.x;
    }
}

TEST(ValueGeometryTest, ProgressFillNeverPassesTheBar) {
    EXPECT_EQ(ValueGeometry::FilledWidth(300, 50, 100), 150);
    EXPECT_EQ(ValueGeometry::FilledWidth(300, 100, 100), 300);
    EXPECT_EQ(ValueGeometry::FilledWidth(300, 150, 100), 300);
    EXPECT_EQ(ValueGeometry::FilledWidth(300, 0, 100), 0);
    EXPECT_EQ(ValueGeometry::FilledWidth(300, 50, 0), 0);
    EXPECT_EQ(ValueGeometry::FilledWidth(300, -5, 100), 0);
}

TEST(ValueGeometryTest, LevelBoxesAndTheGapsBetweenThem) {
    // The default range 0..15 is 16 boxes; 400 pixels give boxes 20 wide, 5 apart.
    const ValueGeometry::LevelBoxes boxes = ValueGeometry::ComputeLevelBoxes(400, 0, 15);
    EXPECT_EQ(boxes.count, 16);
    EXPECT_EQ(boxes.width, 20);
    EXPECT_EQ(boxes.Left(15), 375);
    EXPECT_EQ(boxes.BoxAt(0), 0);
    EXPECT_EQ(boxes.BoxAt(19), 0);
    EXPECT_EQ(boxes.BoxAt(21), -1);  // in the gap
    EXPECT_EQ(boxes.BoxAt(25), 1);
    EXPECT_EQ(boxes.BoxAt(394), 15);
    EXPECT_EQ(boxes.BoxAt(399), -1);
    EXPECT_EQ(boxes.BoxAt(-3), -1);
    // A range upside down or a control too narrow has no boxes to hit.
    EXPECT_EQ(ValueGeometry::ComputeLevelBoxes(400, 5, 2).count, 0);
    EXPECT_EQ(ValueGeometry::ComputeLevelBoxes(400, 5, 2).BoxAt(10), -1);
    EXPECT_EQ(ValueGeometry::ComputeLevelBoxes(40, 0, 15).BoxAt(10), -1);
}

TEST(ValueGeometryTest, ColourFieldScales) {
    EXPECT_EQ(ValueGeometry::HueAt(0, 0, 180), 0);
    EXPECT_EQ(ValueGeometry::HueAt(90, 0, 180), 180);
    EXPECT_EQ(ValueGeometry::HueAt(180, 0, 180), 360);
    EXPECT_EQ(ValueGeometry::HueAt(400, 0, 180), 360);
    EXPECT_EQ(ValueGeometry::HueAt(-10, 0, 180), 0);
    EXPECT_EQ(ValueGeometry::HueAt(10, 0, 0), 0);
    EXPECT_EQ(ValueGeometry::LightnessAt(0, 0, 150), 20);
    EXPECT_EQ(ValueGeometry::LightnessAt(75, 0, 150), 110);
    EXPECT_EQ(ValueGeometry::LightnessAt(150, 0, 150), 200);
    EXPECT_EQ(ValueGeometry::LightnessAt(400, 0, 150), 200);
    EXPECT_EQ(ValueGeometry::LightnessAt(5, 0, 0), 20);
    EXPECT_EQ(ValueGeometry::SaturationAt(0, 0, 150), 0);
    EXPECT_EQ(ValueGeometry::SaturationAt(149, 0, 150), 198);
    EXPECT_EQ(ValueGeometry::SaturationAt(150, 0, 150), 200);
    EXPECT_EQ(ValueGeometry::SaturationAt(5, 0, 0), 0);
    const ValueGeometry::FieldPoint red = ValueGeometry::MarkerFor(0, 100, 30, 60, 180, 150);
    EXPECT_EQ(red.x, 30);
    EXPECT_EQ(red.y, 60 + 80 * 150 / 180);
    // Lightness below the field's first row keeps the marker on its top edge.
    EXPECT_EQ(ValueGeometry::MarkerFor(0, 5, 30, 60, 180, 150).y, 60);
}

TEST(HslColourTest, KnownColours) {
    struct Case {
        int hue, saturation, lightness;
        uint32_t colorref;
    };
    const Case cases[] = {
        {180, 200, 120, 0xFFFF33},  // the palette's first colour: (51, 255, 255)
        {0, 200, 100, 0x0000FF},    // red
        {120, 200, 100, 0x00FF00},  // green
        {240, 200, 100, 0xFF0000},  // blue
        {60, 200, 100, 0x00FFFF},   // yellow
        {300, 200, 100, 0xFF00FF},  // magenta
        {360, 200, 100, 0x0000FF},  // a full turn is red again
        {0, 0, 100, 0x7F7F7F},      // grey: lightness x 255, truncated
        {0, 0, 200, 0xFFFFFF},     {0, 200, 0, 0x000000}, {30, 200, 100, 0x007FFF},  // orange
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HslColour::ScaledHslToColorRef(c.hue, c.saturation, c.lightness), c.colorref)
            << c.hue << " " << c.saturation << " " << c.lightness;
    }
}

TEST(HslColourTest, ColoursBackToTheirScales) {
    struct Case {
        uint32_t colorref;
        int hue, saturation, lightness;
    };
    const Case cases[] = {
        {0x0000FF, 0, 200, 100}, {0x00FF00, 120, 200, 100}, {0xFF0000, 240, 200, 100},
        {0xFFFFFF, 0, 0, 200},   {0x000000, 0, 0, 0},       {0xFFFF33, 180, 200, 120},
        {0x808080, 0, 0, 100},
    };
    for (const Case& c : cases) {
        const HslColour::ScaledHsl hsl = HslColour::ColorRefToScaledHsl(c.colorref);
        EXPECT_EQ(hsl.hue, c.hue) << std::hex << c.colorref;
        EXPECT_EQ(hsl.saturation, c.saturation) << std::hex << c.colorref;
        EXPECT_EQ(hsl.lightness, c.lightness) << std::hex << c.colorref;
    }
    EXPECT_EQ(HslColour::NeverBlack(0x000000), 0x000001u);
    EXPECT_EQ(HslColour::NeverBlack(0x010000), 0x010000u);
}

TEST(DeviceGeometryTest, CardsOfOneOrTwoConnectedDevices) {
    // One device: one 770 x 530 card centred (less the 60-pixel allowance) in 1100 x 600.
    const DeviceGeometry::CardLayout one = DeviceGeometry::ComputeCardLayout(1, 1100, 600);
    EXPECT_EQ(one.width, 770);
    EXPECT_EQ(one.height, 530);
    EXPECT_EQ(one.Card(0, 100, 50), (DeviceGeometry::Box{100 + 135, 50 + 35, 100 + 905, 50 + 565}));
    // Two devices: two 500 x 400 cards, the second 30 pixels after the first.
    const DeviceGeometry::CardLayout two = DeviceGeometry::ComputeCardLayout(2, 1100, 600);
    EXPECT_EQ(two.width, 500);
    EXPECT_EQ(two.height, 400);
    EXPECT_EQ(two.Card(0, 0, 0).left, 20);
    EXPECT_EQ(two.Card(1, 0, 0).left, 550);
    EXPECT_EQ(two.Card(1, 0, 0).top, 100);
    EXPECT_EQ(two.Card(1, 0, 0).left - two.Card(0, 0, 0).right, 30);
}

TEST(DeviceGeometryTest, PicturesAreFittedIntoTheirBox) {
    const DeviceGeometry::Box card{0, 0, 770, 530};
    const DeviceGeometry::Box box = DeviceGeometry::PictureBox(card);
    EXPECT_EQ(box, (DeviceGeometry::Box{50, 50, 720, 510}));
    struct Case {
        int width, height;
        DeviceGeometry::Box fitted;
    };
    const Case cases[] = {
        // Too wide: 670 x 201, centred vertically.
        {1000, 300, {50, 50 + 129, 720, 50 + 129 + 201}},
        // Too high: scaled by the height.
        {300, 920, {50 + 260, 50, 50 + 260 + 150, 510}},
        // Both too large, the width's ratio larger.
        {1340, 690, {50, 50 + 57, 720, 50 + 57 + 345}},
        // Smaller: its own size, centred.
        {200, 100, {50 + 235, 50 + 180, 50 + 435, 50 + 280}},
        // Exactly the box.
        {670, 460, {50, 50, 720, 510}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DeviceGeometry::FitPicture(c.width, c.height, box), c.fitted)
            << c.width << " x " << c.height;
    }
    // Empty pictures or boxes give an empty rectangle rather than a division by zero.
    EXPECT_EQ(DeviceGeometry::FitPicture(0, 300, box).Width(), 0);
    EXPECT_EQ(DeviceGeometry::FitPicture(100, 300, DeviceGeometry::Box{5, 5, 5, 80}).Width(), 0);
}

TEST(DeviceGeometryTest, BatterySegmentsByLevel) {
    struct Case {
        int level, segments;
        bool lowMark;
    };
    const Case cases[] = {
        {100, 5, false}, {120, 5, false}, {95, 5, false}, {94, 4, false},
        {75, 4, false},  {74, 3, false},  {50, 3, false}, {49, 2, false},
        {25, 2, false},  {24, 0, true},   {0, 0, true},   {-1, 0, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DeviceGeometry::SegmentCount(c.level), c.segments) << c.level;
        EXPECT_EQ(DeviceGeometry::ShowsLowMark(c.level), c.lowMark) << c.level;
    }
    EXPECT_EQ(DeviceGeometry::SegmentWidth(31), 5);
    EXPECT_EQ(DeviceGeometry::SegmentWidth(4), 0);
    EXPECT_EQ(DeviceGeometry::SegmentLeft(4, 5), 32);
}

TEST(DeviceGeometryTest, ChargingFillsUpToFiveAndStartsAgain) {
    // At 50 % (three segments) the animation shows 3, 4, 5, 3, ...
    const int expected[] = {3, 4, 5, 3, 4};
    for (int phase = 0; phase < 5; ++phase) {
        EXPECT_EQ(DeviceGeometry::ChargingSegments(50, phase), expected[phase]) << phase;
    }
    EXPECT_EQ(DeviceGeometry::ChargingSegments(100, 7), 5);
    EXPECT_EQ(DeviceGeometry::ChargingSegments(10, 5), 5);
    EXPECT_EQ(DeviceGeometry::ChargingSegments(10, 6), 0);
}

}  // namespace
