#pragma once

#include <windows.h>
#include <gdiplus.h>

#include <memory>
#include <type_traits>

#include "orvo/colour.h"
#include "orvo/orvo_api.h"

namespace Orvo {

// Drawing helpers shared by every control: nine-patch skin images, alpha ramps, gradients,
// rounded rectangles, text measuring and placing, off-screen bitmaps and image loaders.
// GDI+ drawing takes Argb colours, GDI drawing ColorRef colours.
class ORVO_API MRender {
public:
    // Nine-patch of the source rectangle with equal corners of `corner` pixels.
    static void DrawImageFrame(Gdiplus::Graphics* graphics, Gdiplus::Image* image, const RECT& dest,
                               int srcX, int srcY, int srcW, int srcH, int corner);
    // Nine-patch with separate margins; corners are left x top, right x top, and so on.
    static void DrawImageFrameMID(Gdiplus::Graphics* graphics, Gdiplus::Image* image,
                                  const RECT& dest, int srcX, int srcY, int srcW, int srcH,
                                  int left, int top, int right, int bottom);
    // Frame `frame` of a strip of `count` frames at its own size, top-left at (x, y).
    static void DrawImageStripFrame(Gdiplus::Graphics* graphics, Gdiplus::Image* image, int x,
                                    int y, int count, int frame);
    // Draws source pixels into dest exactly: nearest neighbour sampling with pixel centres at
    // half offsets, so a strip frame never picks up its neighbour's edge.
    static void DrawImageExact(Gdiplus::Graphics* graphics, Gdiplus::Image* image,
                               const Gdiplus::Rect& dest, int srcX, int srcY, int srcW, int srcH);

    // Blends src over dst row by row with a constant alpha running from
    // 255 * (100 - from) / 100 at the top to 255 * (100 - to) / 100 at the bottom (from and to
    // are transparency percentages). Returns the last alpha used.
    static int DrawVerticalTransition(HDC dst, HDC src, const RECT& dstRect, const RECT& srcRect,
                                      int from, int to);
    // The same per column, left to right.
    static int DrawHorizontalTransition(HDC dst, HDC src, const RECT& dstRect, const RECT& srcRect,
                                        int from, int to);
    // Copies src to dst, fading the bottom-right n x n corner: a pixel at distance d from the
    // corner square's inner point gets alpha 255 - 255 * min(n, d) / n.
    static void DrawRightBottomTransition(HDC dst, HDC src, const RECT& dstRect,
                                          const RECT& srcRect, int n);

    // Two-colour ARGB gradient, top to bottom (vertical) or left to right. The alpha is the
    // mean of both alphas; below 255 the gradient is blended with that constant alpha.
    static void DrawGradient(HDC hdc, const RECT& rect, Argb first, Argb second, bool vertical,
                             int steps);

    // Rounded rectangles: filled; filled and outlined; outlined (and filled if `filled`) with
    // corner radii width / divisor / 2 and height / divisor / 2.
    static void DrawRoundRectange(Gdiplus::Graphics* graphics, int x, int y, int width, int height,
                                  int radius, Argb fill);
    static void DrawRoundRectange(Gdiplus::Graphics* graphics, int x, int y, int width, int height,
                                  int radius, Argb pen, int penWidth, Argb fill);
    static void DrawRoundRectange(Gdiplus::Graphics* graphics, int x, int y, int width, int height,
                                  int divisor, Argb pen, int penWidth, BOOL filled, Argb fill);
    // The outline path used by the rounded rectangles (a plain rectangle for radius 0).
    static void AddRoundRectPath(Gdiplus::GraphicsPath* path, int x, int y, int width, int height,
                                 int radiusX, int radiusY);

    // GDI text with a transparent background; restores the DC's colour and font. Returns the
    // text height, 0 for null text.
    static int DrawTextW(HDC hdc, const RECT& rect, const wchar_t* text, ColorRef colour,
                         HFONT font, UINT format);
    // GDI+ fill; nothing for a fully transparent colour (alpha 0).
    static void DrawColor(HDC hdc, const RECT& rect, Argb colour);
    // Opaque GDI fills.
    static void FillSolidRect(HDC hdc, const RECT& rect, ColorRef colour);
    static void FillSolidRect(HDC hdc, int x, int y, int width, int height, ColorRef colour);

    // Text size from the outline of the text: width rounded up, height = the font's line
    // height + 4 when it has a fractional part, else + 1.
    static SIZE GetTextBounds(Gdiplus::Font* font, const Gdiplus::StringFormat* format,
                              const wchar_t* text);
    // The same, wrapped at `width` pixels.
    static SIZE GetTextBounds(Gdiplus::Font* font, const Gdiplus::StringFormat* format, int width,
                              const wchar_t* text);
    static SIZE GetTextBounds(Gdiplus::Font* font, const wchar_t* text);

    // Offset of content in a box by DrawText alignments (1 centre, 2 right; 4 centre,
    // 8 bottom).
    static POINT GetOriginPoint(int width, int height, int contentWidth, int contentHeight,
                                int hAlign, int vAlign);
    // The same in absolute coordinates, two pixels lower.
    static POINT GetOriginPoint(const RECT& rect, int contentWidth, int contentHeight, int hAlign,
                                int vAlign);

    // A 32-bit bottom-up DIB section (BI_RGB) and its pixels; null on failure.
    static HBITMAP CreateARGB32Bitmap(HDC hdc, int width, int height, DWORD*& bits);
    // Pure black (low 24 bits 0) becomes 0x000001, so it never reads as "no colour".
    static void CheckAlphaColor(ColorRef& colour);
    // Writes a BMP file of the bitmap at the display's colour depth; 1 on success.
    static int SaveBitmapToFile(HBITMAP bitmap, const wchar_t* path);

    // Loaders; each returns null on any failure. The file stays open while the image lives.
    static std::unique_ptr<Gdiplus::Image> LoadImageFromFile(const wchar_t* path);
    // A copy of the file's picture at (width, height), or its own size for 0 x 0; the file is
    // not held.
    static std::unique_ptr<Gdiplus::Image> LoadImageFromFileEx(const wchar_t* path, int width,
                                                               int height);
    static std::unique_ptr<Gdiplus::Image> LoadImageFromIDResource(UINT id, const wchar_t* type,
                                                                   HMODULE module);
    // The icon the shell associates with a file; the caller destroys it.
    static HICON LoadIconFromFile(const wchar_t* path);
};

// Selects a GDI object into a DC for the scope and puts the previous one back; a null
// object or DC selects nothing.
class ORVO_API ScopedSelectObject {
public:
    ScopedSelectObject(HDC hdc, HGDIOBJ object)
        : m_hdc(hdc),
          m_old(hdc != nullptr && object != nullptr ? ::SelectObject(hdc, object) : nullptr) {}
    ~ScopedSelectObject() {
        if (m_old != nullptr) {
            ::SelectObject(m_hdc, m_old);
        }
    }
    ScopedSelectObject(const ScopedSelectObject&) = delete;
    ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;

private:
    HDC m_hdc;
    HGDIOBJ m_old;
};

// Owners of GDI handles: fonts, bitmaps and brushes are deleted with DeleteObject, memory
// DCs with DeleteDC.
struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const {
        if (object != nullptr) {
            ::DeleteObject(object);
        }
    }
};
struct MemoryDCDeleter {
    void operator()(HDC dc) const {
        if (dc != nullptr) {
            ::DeleteDC(dc);
        }
    }
};
using UniqueFont = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectDeleter>;
using UniqueBitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, GdiObjectDeleter>;
using UniqueMemoryDC = std::unique_ptr<std::remove_pointer_t<HDC>, MemoryDCDeleter>;

// A memory DC holding a 32-bit DIB section: the off-screen canvas of transitions, layered
// windows and tests.
class ORVO_API MemoryCanvas {
public:
    MemoryCanvas(int width, int height);
    ~MemoryCanvas();
    MemoryCanvas(const MemoryCanvas&) = delete;
    MemoryCanvas& operator=(const MemoryCanvas&) = delete;

    bool IsValid() const { return m_bits != nullptr; }
    HDC GetDC() const { return m_dc.get(); }
    HBITMAP GetBitmap() const { return m_bitmap.get(); }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // Pixel (x, y) counted from the top row, 0xAARRGGBB; 0 outside.
    DWORD GetPixel(int x, int y) const;
    void SetPixel(int x, int y, DWORD argb);
    // Row-major, bottom row first (the DIB's own order).
    DWORD* Bits() const { return m_bits; }

private:
    int m_width = 0;
    int m_height = 0;
    // Destroyed in reverse: the bitmap is selected out, then the DC and the bitmap go.
    UniqueBitmap m_bitmap;
    UniqueMemoryDC m_dc;
    std::unique_ptr<ScopedSelectObject> m_selection;
    DWORD* m_bits = nullptr;  // not owned: the bitmap's pixels
};

}  // namespace Orvo
