#include "text_format.h"

#include "orvo/image_strip.h"
#include "orvo/manager.h"
#include "orvo/render.h"

namespace Orvo {

std::unique_ptr<Gdiplus::Font> MakeControlFont(MControlFont& control, int extraSize) {
    Gdiplus::FontFamily* family = control.GetFontFamily(nullptr);
    if (family == nullptr) {
        return nullptr;
    }
    auto font = std::make_unique<Gdiplus::Font>(
        family, static_cast<Gdiplus::REAL>(control.GetFontWidth() + extraSize),
        control.GetFontStyle(), Gdiplus::UnitPixel);
    if (font->GetLastStatus() != Gdiplus::Ok) {
        return nullptr;
    }
    return font;
}

void SetFormatAlignment(Gdiplus::StringFormat& format, int hAlign, int vAlign, int flags) {
    format.SetFormatFlags(flags);
    format.SetAlignment(hAlign == 1   ? Gdiplus::StringAlignmentCenter
                        : hAlign == 2 ? Gdiplus::StringAlignmentFar
                                      : Gdiplus::StringAlignmentNear);
    format.SetLineAlignment(vAlign == 4   ? Gdiplus::StringAlignmentCenter
                            : vAlign == 8 ? Gdiplus::StringAlignmentFar
                                          : Gdiplus::StringAlignmentNear);
}

void DrawControlText(Gdiplus::Graphics& graphics, MControlFont& control, const std::wstring& text,
                     const Gdiplus::RectF& box, Argb colour, bool multiLine) {
    std::unique_ptr<Gdiplus::Font> font = MakeControlFont(control);
    if (font == nullptr || text.empty()) {
        return;
    }
    int hAlign = 0;
    int vAlign = 0;
    control.GetAlignment(hAlign, vAlign);
    Gdiplus::StringFormat format;
    SetFormatAlignment(format, hAlign, vAlign,
                       multiLine ? kMultiLineFormatFlags : kSingleLineFormatFlags);
    graphics.SetTextRenderingHint(
        static_cast<Gdiplus::TextRenderingHint>(control.GetTextRenderingHint()));
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
    Gdiplus::SolidBrush brush{Gdiplus::Color(colour.Value())};
    graphics.DrawString(text.c_str(), static_cast<INT>(text.size()), font.get(), box, &format,
                        &brush);
}

void CopyBackground(HDC cache, HDC hdc, const RECT& rect) {
    ::BitBlt(cache, 0, 0, rect.right - rect.left, rect.bottom - rect.top, hdc, rect.left, rect.top,
             SRCCOPY);
}

std::unique_ptr<Gdiplus::Image> LoadSkinImage(const wchar_t* fileName) {
    if (fileName == nullptr || *fileName == L'\0') {
        return nullptr;
    }
    const std::wstring path = Manager::GetSkinDirectory() + fileName;
    return MRender::LoadImageFromFile(path.c_str());
}

int SkinFrameWidth(Gdiplus::Image* image, int count) {
    if (image == nullptr) {
        return 0;
    }
    return StripFrameWidth(static_cast<int>(image->GetWidth()), count);
}

void DrawStripFrame(Gdiplus::Graphics& graphics, Gdiplus::Image* image, int count, int frame,
                    const Gdiplus::Rect& dest) {
    if (image == nullptr || dest.Width <= 0 || dest.Height <= 0) {
        return;
    }
    const StripRect source = StripFrameRect(static_cast<int>(image->GetWidth()),
                                            static_cast<int>(image->GetHeight()), count, frame);
    if (source.IsEmpty()) {
        return;
    }
    MRender::DrawImageExact(&graphics, image, dest, source.x, source.y, source.width,
                            source.height);
}

}  // namespace Orvo
