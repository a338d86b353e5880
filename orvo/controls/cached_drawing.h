#pragma once

#include <windows.h>

#include "orvo/control.h"

namespace Orvo {
namespace CachedDrawing {

// The usual DrawControl of a control with a bitmap cache: when the cache is invalid the pixels
// now under the control are copied into it and `paint(cacheDC)` draws the control there in its
// own coordinates (0, 0 at its top-left); then the cache is copied to the control's place in
// hdc. An unchanged control costs one copy.
template <typename Paint>
void Draw(MControl& control, HDC hdc, Paint&& paint) {
    const CRect& rect = control.GetRect();
    const int width = rect.Width();
    const int height = rect.Height();
    if (width <= 0 || height <= 0) {
        return;
    }
    if (!control.GetUpdate() || control.GetMemDC() == nullptr) {
        HDC cache = control.UpdateMemDC(hdc, width, height);
        if (cache == nullptr) {
            return;
        }
        ::BitBlt(cache, 0, 0, width, height, hdc, rect.left, rect.top, SRCCOPY);
        paint(cache);
    }
    ::BitBlt(hdc, rect.left, rect.top, width, height, control.GetMemDC(), 0, 0, SRCCOPY);
}

}  // namespace CachedDrawing
}  // namespace Orvo
