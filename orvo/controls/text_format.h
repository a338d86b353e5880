#pragma once

#include <windows.h>
#include <gdiplus.h>

#include <memory>
#include <string>

#include "orvo/colour.h"
#include "orvo/control_font.h"

namespace Orvo {

// GDI+ string format flags of the text controls: one line (no wrapping, trailing spaces
// measured) or wrapped without clipping.
constexpr int kSingleLineFormatFlags = 0x1800;
constexpr int kMultiLineFormatFlags = 0x4800;

// The control's GDI+ font (family, size in pixels, style); null when the family is missing.
std::unique_ptr<Gdiplus::Font> MakeControlFont(MControlFont& control, int extraSize = 0);

// A string format from DrawText alignments (0/1/2 across, 0/4/8 down) and flags.
void SetFormatAlignment(Gdiplus::StringFormat& format, int hAlign, int vAlign, int flags);

// Draws text with the control's font and alignments into box, anti-aliased with the
// control's rendering hint. Nothing when the font family is missing.
void DrawControlText(Gdiplus::Graphics& graphics, MControlFont& control, const std::wstring& text,
                     const Gdiplus::RectF& box, Argb colour, bool multiLine);

// A DC's pixels of rect copied into a cache DC at (0, 0).
void CopyBackground(HDC cache, HDC hdc, const RECT& rect);

// Loads a picture of the skin folder with GDI+ (not through the window's image cache).
std::unique_ptr<Gdiplus::Image> LoadSkinImage(const wchar_t* fileName);

// Frame width of an image strip of count frames; 0 without an image.
int SkinFrameWidth(Gdiplus::Image* image, int count);

// Draws frame `frame` of a strip of count frames exactly into dest.
void DrawStripFrame(Gdiplus::Graphics& graphics, Gdiplus::Image* image, int count, int frame,
                    const Gdiplus::Rect& dest);

}  // namespace Orvo
