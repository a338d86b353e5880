#pragma once

#include <windows.h>
#include <gdiplus.h>

#include "orvo/battery.h"

namespace Orvo {

// Where a gauge's segments are copied from in the level image.
enum class SegmentSource {
    kOwnPlace,    // the segment's own place; the last of four or five from 5 pixels to its left
    kFixedStrip,  // always the strip at x = 10
};

// Draws a gauge with its background's top-left at (x, y): `segments` segments copied from
// the level image, or, with lowMark, the red mark of one segment's size lowMarkDrop pixels
// below the first segment's place, kept inside the background's outline.
void DrawBatteryGauge(Gdiplus::Graphics& graphics, Gdiplus::Image* background, int backgroundWidth,
                      int backgroundHeight, const BatteryIcons& icons, int x, int y, int segments,
                      bool lowMark, int lowMarkDrop, SegmentSource source);

}  // namespace Orvo
