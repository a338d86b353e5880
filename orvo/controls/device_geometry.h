#pragma once

// Arithmetic of the device list and the battery gauges: card placement, the fitted device
// picture and the battery segments. No Windows API, so it is tested natively too.

namespace Orvo {
namespace DeviceGeometry {

struct Box {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    constexpr int Width() const { return right - left; }
    constexpr int Height() const { return bottom - top; }
    constexpr bool operator==(const Box& other) const {
        return left == other.left && top == other.top && right == other.right &&
               bottom == other.bottom;
    }
};

// Cards of the connected devices: one large card, or smaller ones side by side 30 pixels
// apart.
struct CardLayout {
    int width = 0;
    int height = 0;
    int firstLeft = 0;  // relative to the control's left
    int top = 0;        // relative to the control's top
    int step = 0;       // from one card's left to the next one's

    constexpr Box Card(int index, int controlLeft, int controlTop) const {
        const int left = controlLeft + firstLeft + index * step;
        return Box{left, controlTop + top, left + width, controlTop + top + height};
    }
};

constexpr int kCardGap = 30;

constexpr CardLayout ComputeCardLayout(int connected, int controlWidth, int controlHeight) {
    CardLayout layout;
    layout.width = connected < 2 ? 770 : 500;
    layout.height = connected < 2 ? 530 : 400;
    layout.firstLeft = (controlWidth - connected * layout.width - 60) / 2;
    layout.top = (controlHeight - layout.height) / 2;
    layout.step = layout.width + kCardGap;
    return layout;
}

// The box a card's device picture is fitted into.
constexpr Box PictureBox(const Box& card) {
    return Box{card.left + 50, card.top + 50, card.right - 50, card.bottom - 20};
}

// A picture larger than the box in either dimension is scaled down, keeping its aspect
// ratio, until it fits (by the dimension whose ratio to the box is larger); a smaller one
// keeps its size. The result is centred in the box.
constexpr Box FitPicture(int imageWidth, int imageHeight, const Box& box) {
    const int boxWidth = box.Width();
    const int boxHeight = box.Height();
    if (imageWidth <= 0 || imageHeight <= 0 || boxWidth <= 0 || boxHeight <= 0) {
        return Box{box.left, box.top, box.left, box.top};
    }
    long long width = imageWidth;
    long long height = imageHeight;
    if (imageWidth > boxWidth || imageHeight > boxHeight) {
        // Compare imageWidth / boxWidth with imageHeight / boxHeight without dividing.
        const bool byWidth = static_cast<long long>(imageWidth) * boxHeight >=
                             static_cast<long long>(imageHeight) * boxWidth;
        if (byWidth) {
            width = boxWidth;
            height = static_cast<long long>(imageHeight) * boxWidth / imageWidth;
        } else {
            height = boxHeight;
            width = static_cast<long long>(imageWidth) * boxHeight / imageHeight;
        }
    }
    const int left = box.left + static_cast<int>((boxWidth - width) / 2);
    const int top = box.top + static_cast<int>((boxHeight - height) / 2);
    return Box{left, top, left + static_cast<int>(width), top + static_cast<int>(height)};
}

// Segments of a 5-segment gauge: 95 and above 5, 75..94 4, 50..74 3, 25..49 2, 0..24 none
// (the gauge then shows a red mark), below 0 nothing at all.
constexpr int SegmentCount(int level) {
    if (level >= 95) {
        return 5;
    }
    if (level >= 75) {
        return 4;
    }
    if (level >= 50) {
        return 3;
    }
    if (level >= 25) {
        return 2;
    }
    return 0;
}

constexpr bool ShowsLowMark(int level) {
    return level >= 0 && level < 25;
}

constexpr int kSegments = 5;

// Width of one segment: five segments with 2-pixel gaps and 3-pixel ends in the level image.
constexpr int SegmentWidth(int levelImageWidth) {
    const int width = (levelImageWidth - 6) / kSegments;
    return width > 0 ? width : 0;
}

// Left of segment i, relative to the gauge's background picture.
constexpr int SegmentLeft(int index, int segmentWidth) {
    return 4 + index * (segmentWidth + 2);
}

// Segments shown while charging: the gauge fills up from the level's segments to five, one
// step of the animation at a time, then starts again.
constexpr int ChargingSegments(int level, int phase) {
    const int base = level < 0 ? 0 : SegmentCount(level);
    const int steps = kSegments - base + 1;
    return base + (phase < 0 ? 0 : phase % steps);
}

}  // namespace DeviceGeometry
}  // namespace Orvo
