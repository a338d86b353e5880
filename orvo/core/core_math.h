#pragma once

// Arithmetic of the toolkit core that needs no Windows API, so it is tested natively too.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Orvo {
namespace CoreMath {

constexpr int kWheelDelta = 120;

// Whole wheel notches in delta; a delta below one notch in size scrolls nothing.
constexpr int WheelSteps(int delta) {
    const int steps = delta / kWheelDelta;
    return steps < 0 ? -steps : steps;
}

// The wheel turns towards the user ("down") when delta / 120 <= 0.
constexpr bool WheelDown(int delta) {
    return delta / kWheelDelta <= 0;
}

// Modifier code of a key press: Shift 0x10, Ctrl 0x11, Alt 0x12, OR-ed together (so Ctrl
// with Shift is 0x11, like Ctrl alone).
constexpr unsigned KeyModifiers(bool shift, bool ctrl, bool alt) {
    return (shift ? 0x10u : 0u) | (ctrl ? 0x11u : 0u) | (alt ? 0x12u : 0u);
}

// Per-control timer ids: (counter + 1) mod 240, the counter starting at 4096, so the first
// id is 17 and they wrap after 239 to 0. Ids that the paint manager keeps for itself (66,
// 88, 99) would never reach a control, and an id still held by another timer record would
// replace that timer, so both are skipped. Returns false when every id is taken.
constexpr unsigned kControlTimerIdCount = 240;
constexpr unsigned kFirstControlTimerCounter = 4096;

constexpr bool IsReservedTimerId(unsigned id) {
    return id == 66 || id == 88 || id == 99 || id == 6553;
}

template <typename InUse>
bool NextControlTimerId(unsigned& counter, InUse&& inUse, unsigned& id) {
    for (unsigned tries = 0; tries < kControlTimerIdCount; ++tries) {
        ++counter;
        const unsigned candidate = counter % kControlTimerIdCount;
        if (!IsReservedTimerId(candidate) && !inUse(candidate)) {
            id = candidate;
            return true;
        }
    }
    return false;
}

// Tab focus cycling over a list in order. focusable(i) says whether entry i is visible,
// enabled and a tab stop; focus is the index of the focus control, -1 when there is none,
// count when it is not in the list. Returns the next (or, backwards, the previous)
// focusable index after the focus, wrapping round to the first one found from the start
// (end) — but only when the focus is in the list or there is none. -1 when none qualifies.
template <typename Focusable>
int NextFocusIndex(int count, int focus, bool forward, Focusable&& focusable) {
    bool seen = false;
    for (int step = 0; step < count; ++step) {
        const int i = forward ? step : count - 1 - step;
        if (seen && focusable(i)) {
            return i;
        }
        if (i == focus) {
            seen = true;
        }
    }
    if (!seen && focus >= 0) {
        return -1;
    }
    for (int step = 0; step < count; ++step) {
        const int i = forward ? step : count - 1 - step;
        if (focusable(i)) {
            return i;
        }
    }
    return -1;
}

// Placement of a window of size (width, height) centred on center and kept inside area:
// moved left/up so it does not pass the right/bottom edge, then so it does not start
// before the left/top edge.
struct Box {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

inline void CenterInArea(int width, int height, const Box& center, const Box& area, int& x,
                         int& y) {
    x = (center.left + center.right) / 2 - width / 2;
    y = (center.top + center.bottom) / 2 - height / 2;
    if (x + width > area.right) {
        x = area.right - width;
    }
    if (y + height > area.bottom) {
        y = area.bottom - height;
    }
    if (x < area.left) {
        x = area.left;
    }
    if (y < area.top) {
        y = area.top;
    }
}

// Layered painting works on a bottom-up 32-bit DIB of width x height; rect is in client
// coordinates (top-down) and is clipped to the bitmap.
inline Box ClipToBitmap(const Box& rect, int width, int height) {
    Box clipped{rect.left < 0 ? 0 : rect.left, rect.top < 0 ? 0 : rect.top,
                rect.right > width ? width : rect.right,
                rect.bottom > height ? height : rect.bottom};
    if (clipped.right < clipped.left) {
        clipped.right = clipped.left;
    }
    if (clipped.bottom < clipped.top) {
        clipped.bottom = clipped.top;
    }
    return clipped;
}

// Clears the pixels of rect to fully transparent; the first DIB row cleared is
// height - bottom.
inline void ClearPixels(uint32_t* bits, int width, int height, const Box& rect) {
    if (bits == nullptr || width <= 0 || height <= 0) {
        return;
    }
    const Box box = ClipToBitmap(rect, width, height);
    for (int row = height - box.bottom; row < height - box.top; ++row) {
        uint32_t* line = bits + static_cast<size_t>(row) * static_cast<size_t>(width);
        for (int x = box.left; x < box.right; ++x) {
            line[x] = 0;
        }
    }
}

// GDI drawing leaves alpha 0: every pixel of rect with alpha 0 and a colour becomes opaque.
inline void MakeDrawnPixelsOpaque(uint32_t* bits, int width, int height, const Box& rect) {
    if (bits == nullptr || width <= 0 || height <= 0) {
        return;
    }
    const Box box = ClipToBitmap(rect, width, height);
    for (int row = height - box.bottom; row < height - box.top; ++row) {
        uint32_t* line = bits + static_cast<size_t>(row) * static_cast<size_t>(width);
        for (int x = box.left; x < box.right; ++x) {
            if ((line[x] & 0xFF000000u) == 0 && (line[x] & 0x00FFFFFFu) != 0) {
                line[x] |= 0xFF000000u;
            }
        }
    }
}

}  // namespace CoreMath
}  // namespace Orvo
