#pragma once

// Painting helpers shared by the value, colour, device and picture controls: the bitmap
// cache round trip, the control's GDI+ font and centred text.

#include <windows.h>
#include <gdiplus.h>

#include <cwchar>
#include <memory>
#include <string>

#include "orvo/colour.h"
#include "orvo/control_font.h"

namespace Orvo {
namespace ControlPaint {

inline Gdiplus::Color GdiColor(Argb colour) {
    return Gdiplus::Color(colour.Value());
}

// Redraws the control's bitmap cache when it is invalid (first taking in the pixels under
// the control, so its transparent parts show what lies beneath), then copies the cache to
// the control's place. draw(graphics, memoryDC, width, height) paints in control
// coordinates.
template <typename Draw>
void PaintCached(MControl& control, HDC hdc, Draw&& draw) {
    const CRect& rect = control.GetRect();
    const int width = rect.Width();
    const int height = rect.Height();
    if (width <= 0 || height <= 0) {
        return;
    }
    HDC memory = control.GetMemDC();
    if (!control.GetUpdate() || memory == nullptr) {
        memory = control.UpdateMemDC(hdc, width, height);
        if (memory == nullptr) {
            return;
        }
        ::BitBlt(memory, 0, 0, width, height, hdc, rect.left, rect.top, SRCCOPY);
        Gdiplus::Graphics graphics(memory);
        draw(graphics, memory, width, height);
    }
    ::BitBlt(hdc, rect.left, rect.top, width, height, memory, 0, 0, SRCCOPY);
}

// The control's font for GDI+ text, in pixels; null when its family is not installed.
inline std::unique_ptr<Gdiplus::Font> MakeFont(MControlFont& control, int style) {
    Gdiplus::FontFamily* family = control.GetFontFamily(nullptr);
    if (family == nullptr) {
        return nullptr;
    }
    auto font = std::make_unique<Gdiplus::Font>(
        family, static_cast<Gdiplus::REAL>(control.GetFontWidth()), style, Gdiplus::UnitPixel);
    return font->GetLastStatus() == Gdiplus::Ok ? std::move(font) : nullptr;
}

inline std::unique_ptr<Gdiplus::Font> MakeFont(MControlFont& control) {
    return MakeFont(control, control.GetFontStyle());
}

// A family by name at a size in pixels; null when it is not installed.
inline std::unique_ptr<Gdiplus::Font> MakeNamedFont(MControlFont& control, const wchar_t* family,
                                                    int size, int style) {
    Gdiplus::FontFamily* found = control.GetFontFamily(family);
    if (found == nullptr) {
        return nullptr;
    }
    auto font = std::make_unique<Gdiplus::Font>(found, static_cast<Gdiplus::REAL>(size), style,
                                                Gdiplus::UnitPixel);
    return font->GetLastStatus() == Gdiplus::Ok ? std::move(font) : nullptr;
}

// One line of text in a box, centred both ways (or near-aligned), never wrapped.
inline void DrawLine(Gdiplus::Graphics& graphics, const Gdiplus::Font* font, const wchar_t* text,
                     const Gdiplus::RectF& box, const Gdiplus::Brush& brush,
                     Gdiplus::StringAlignment horizontal = Gdiplus::StringAlignmentCenter) {
    if (font == nullptr || text == nullptr || *text == L'\0') {
        return;
    }
    Gdiplus::StringFormat format;
    format.SetAlignment(horizontal);
    format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
    format.SetFormatFlags(Gdiplus::StringFormatFlagsNoWrap);
    graphics.DrawString(text, -1, font, box, &format, &brush);
}

// "title value%": the title, the value and a percent sign when the maximum is 100.
inline std::wstring ValueText(const std::wstring& title, int value, int maximum) {
    wchar_t number[16];
    std::swprintf(number, 16, L"%d", value);
    return title + number + (maximum == 100 ? L"%" : L"");
}

}  // namespace ControlPaint
}  // namespace Orvo
