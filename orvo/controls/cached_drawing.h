#pragma once

#include <windows.h>

#include "orvo/control.h"
#include "orvo/paint_manager.h"

namespace Orvo {
namespace CachedDrawing {

// The usual DrawControl of a control with a bitmap cache: when the cache is invalid (or the
// caller says its picture is stale) the pixels now under the control are copied into it and
// `paint(cacheDC)` draws the control there in its own coordinates (0, 0 at its top-left);
// then the cache is copied to the control's place in hdc. An unchanged control costs one copy.
template <typename Paint>
void Draw(MControl& control, HDC hdc, bool stale, Paint&& paint) {
    const CRect& rect = control.GetRect();
    const int width = rect.Width();
    const int height = rect.Height();
    if (width <= 0 || height <= 0) {
        return;
    }
    if (!control.GetUpdate() || stale || control.GetMemDC() == nullptr) {
        HDC cache = control.UpdateMemDC(hdc, width, height);
        if (cache == nullptr) {
            return;
        }
        ::BitBlt(cache, 0, 0, width, height, hdc, rect.left, rect.top, SRCCOPY);
        paint(cache);
    }
    ::BitBlt(hdc, rect.left, rect.top, width, height, control.GetMemDC(), 0, 0, SRCCOPY);
}

// For setters the device worker calls: the window is invalidated (a call any thread may
// make) and paints on its own thread, where the control notices its stale picture. Nothing
// of the control lists is walked off the window's thread.
inline void InvalidateFromAnyThread(const MControl& control) {
    PaintManager* manager = control.GetManager();
    const HWND window = manager != nullptr ? manager->GetPaintWnd() : nullptr;
    if (window != nullptr) {
        ::InvalidateRect(window, nullptr, FALSE);
    }
}

// True on the thread of the control's window (or while it has none yet).
inline bool OnWindowThread(const MControl& control) {
    PaintManager* manager = control.GetManager();
    const HWND window = manager != nullptr ? manager->GetPaintWnd() : nullptr;
    return window == nullptr ||
           ::GetWindowThreadProcessId(window, nullptr) == ::GetCurrentThreadId();
}

}  // namespace CachedDrawing
}  // namespace Orvo
