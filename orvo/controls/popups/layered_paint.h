#pragma once

#include <windows.h>
#include <gdiplus.h>

#include "orvo/geometry.h"
#include "orvo/render.h"

namespace Orvo {

// Paints a layered popup with per-pixel alpha: draw(graphics, dc) paints into a cleared,
// premultiplied 32-bit canvas of the window's size (GDI+ through graphics, GDI through dc),
// then the canvas goes on screen at screenRect with UpdateLayeredWindow. GDI leaves alpha 0
// where it draws: with gdiText, such pixels that have a colour become opaque.
template <typename Draw>
void PaintLayeredWindow(HWND hwnd, const CRect& screenRect, Draw&& draw, bool gdiText = false) {
    const int width = screenRect.Width();
    const int height = screenRect.Height();
    if (hwnd == nullptr || width <= 0 || height <= 0) {
        return;
    }
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down, as a GDI+ bitmap over the same bytes
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const HDC screen = ::GetDC(nullptr);
    const HDC memory = ::CreateCompatibleDC(screen);
    void* bits = nullptr;
    const HBITMAP bitmap = ::CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap != nullptr && bits != nullptr) {
        const ScopedSelectObject selected(memory, bitmap);
        {
            Gdiplus::Bitmap canvas(width, height, width * 4, PixelFormat32bppPARGB,
                                   static_cast<BYTE*>(bits));
            Gdiplus::Graphics graphics(&canvas);
            graphics.Clear(Gdiplus::Color(0, 0, 0, 0));
            draw(graphics, memory);
        }
        ::GdiFlush();
        if (gdiText) {
            auto* pixels = static_cast<DWORD*>(bits);
            for (int i = 0; i < width * height; ++i) {
                if ((pixels[i] & 0xFF000000u) == 0 && (pixels[i] & 0x00FFFFFFu) != 0) {
                    pixels[i] |= 0xFF000000u;
                }
            }
        }
        POINT origin = {screenRect.left, screenRect.top};
        SIZE size = {width, height};
        POINT source = {0, 0};
        BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        ::UpdateLayeredWindow(hwnd, screen, &origin, &size, memory, &source, 0, &blend, ULW_ALPHA);
    }
    if (bitmap != nullptr) {
        ::DeleteObject(bitmap);
    }
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
}

}  // namespace Orvo
