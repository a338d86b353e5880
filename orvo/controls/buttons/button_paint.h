#pragma once

#include <windows.h>
#include <gdiplus.h>

#include <string>

#include "orvo/control_font.h"

namespace Orvo {

// Paints the bitmap cache of a control with `slots` states side by side when it is invalid
// (each slot over a copy of the pixels under the control), then copies slot `shown` to the
// control's place. Paint receives a graphics on the cache and the slot's rectangle in it.
template <typename Paint>
void DrawCachedSlots(MControl& control, HDC hdc, int slots, int shown, Paint&& paint) {
    const CRect& rect = control.GetRect();
    const int width = rect.Width();
    const int height = rect.Height();
    if (width <= 0 || height <= 0 || slots <= 0) {
        return;
    }
    HDC cache = control.GetMemDC();
    if (control.GetUpdate() == 0 || cache == nullptr) {
        cache = control.UpdateMemDC(hdc, width * slots, height);
        if (cache == nullptr) {
            return;
        }
        for (int slot = 0; slot < slots; ++slot) {
            ::BitBlt(cache, slot * width, 0, width, height, hdc, rect.left, rect.top, SRCCOPY);
        }
        Gdiplus::Graphics graphics(cache);
        graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        for (int slot = 0; slot < slots; ++slot) {
            const RECT slotRect = {slot * width, 0, (slot + 1) * width, height};
            paint(graphics, cache, slotRect, slot);
        }
    }
    const int visible = shown < 0 ? 0 : (shown >= slots ? slots - 1 : shown);
    ::BitBlt(hdc, rect.left, rect.top, width, height, cache, visible * width, 0, SRCCOPY);
}

// Text in a control's font (GDI+, pixel size), aligned with DrawText values inside box, on
// one line. Nothing when the font family does not exist.
void DrawControlText(MControlFont& control, Gdiplus::Graphics& graphics, const RECT& box, Argb argb,
                     const std::wstring& text, int hAlign, int vAlign);

// Frame `frame` of the control's state image at its own size, top-left at (x, y).
void DrawStateImageFrame(MControlFont& control, Gdiplus::Graphics& graphics, int x, int y,
                         int frame);

// The screen point of a client point of the control's host window.
POINT ToScreen(MControl& control, POINT point);

}  // namespace Orvo
