#pragma once

// Arithmetic of the value controls (sliders, progress bars, level boxes, the colour field)
// that needs no Windows API, so it is tested natively too. Every division by a range, a
// width or a count is guarded: a zero or negative divisor gives the start of the scale.

#include <cstdint>

namespace Orvo {
namespace ValueGeometry {

constexpr int Clamp(int value, int low, int high) {
    return value < low ? low : (value > high ? high : value);
}

// Offset of a slider's thumb centre from the track's left end for position `position` of
// `range` steps on a track `trackWidth` pixels wide. A position past the range (a stored
// value above maximum - minimum) is drawn at the track's end.
constexpr int ThumbOffset(int trackWidth, int position, int range) {
    if (range <= 0 || trackWidth <= 0) {
        return 0;
    }
    const long long offset = static_cast<long long>(trackWidth) * position / range;
    if (offset < 1) {
        return 0;
    }
    return offset > trackWidth ? trackWidth : static_cast<int>(offset);
}

// The slider position under x, clamped to 0..range.
constexpr int PositionAt(int x, int trackLeft, int trackWidth, int range) {
    if (range <= 0 || trackWidth <= 0) {
        return 0;
    }
    const long long position = static_cast<long long>(x - trackLeft) * range / trackWidth;
    return position < 0 ? 0 : (position > range ? range : static_cast<int>(position));
}

// Filled width of a progress bar `width` pixels wide, never past its end.
constexpr int FilledWidth(int width, int progress, int maximum) {
    if (maximum <= 0 || width <= 0 || progress <= 0) {
        return 0;
    }
    const long long filled = static_cast<long long>(width) * progress / maximum;
    return filled > width ? width : static_cast<int>(filled);
}

// The boxes of a level control: count = maximum - minimum + 1, width = (control width - 5 *
// count) / count, box k at x = k * (width + 5).
struct LevelBoxes {
    int count = 0;
    int width = 0;

    constexpr int Left(int k) const { return k * (width + 5); }
    // The box under x (control coordinates), -1 between boxes or outside.
    constexpr int BoxAt(int x) const {
        if (count <= 0 || width <= 0 || x < 0) {
            return -1;
        }
        const int k = x / (width + 5);
        return k < count && x - Left(k) < width ? k : -1;
    }
};

constexpr LevelBoxes ComputeLevelBoxes(int controlWidth, int minimum, int maximum) {
    LevelBoxes boxes;
    const long long count = static_cast<long long>(maximum) - minimum + 1;
    if (count <= 0 || count > 10000) {
        return boxes;
    }
    boxes.count = static_cast<int>(count);
    const int width = (controlWidth - 5 * boxes.count) / boxes.count;
    boxes.width = width > 0 ? width : 0;
    return boxes;
}

// The colour field: hue across, lightness down; the saturation bar: saturation down.
// Hue in degrees 0..360 at x of a field `width` wide.
constexpr int HueAt(int x, int left, int width) {
    if (width <= 0) {
        return 0;
    }
    const long long hue = static_cast<long long>(x - left) * 360 / width;
    return hue < 1 ? 0 : (hue > 360 ? 360 : static_cast<int>(hue));
}

// Lightness 20..200 at y of a field `height` high (its rows run from 0.1 to 1.0).
constexpr int LightnessAt(int y, int top, int height) {
    if (height <= 0) {
        return 20;
    }
    const long long lightness = static_cast<long long>(y - top) * 180 / height + 20;
    return lightness < 20 ? 20 : (lightness > 200 ? 200 : static_cast<int>(lightness));
}

// Saturation 0..200 at y of a bar `height` high.
constexpr int SaturationAt(int y, int top, int height) {
    if (height <= 0) {
        return 0;
    }
    const long long saturation = static_cast<long long>(y - top) * 200 / height;
    return saturation < 1 ? 0 : (saturation > 199 ? 200 : static_cast<int>(saturation));
}

// Where the marker of a colour of hue `hue` (0..360) and lightness `lightness` (0..200) sits.
struct FieldPoint {
    int x = 0;
    int y = 0;
};

constexpr FieldPoint MarkerFor(int hue, int lightness, int left, int top, int width, int height) {
    FieldPoint point;
    point.x = left + static_cast<int>(static_cast<long long>(width) * hue / 360);
    const int y = top + static_cast<int>(static_cast<long long>(lightness - 20) * height / 180);
    point.y = y < top ? top : y;
    return point;
}

}  // namespace ValueGeometry
}  // namespace Orvo
