#pragma once

#include <windows.h>

#include <string>

#include "orvo/control.h"
#include "orvo/render.h"

namespace Gallery {

// A raised card behind a group of controls, or the page a tab shows: radius 10, a 1-pixel
// line, an optional title at its top left.
class FamilyCard : public Orvo::MControl {
public:
    FamilyCard(Orvo::MObject* parent, UINT id, const RECT& rect, std::wstring title = L"",
               HFONT font = nullptr)
        : MControl(parent, id, rect, 1, 1, 0), m_title(std::move(title)), m_font(font) {}

    const wchar_t* GetClassNameW() const override { return L"GalleryFamilyCard"; }
    void DrawControl(HDC hdc, const RECT&) override {
        {
            Gdiplus::Graphics graphics(hdc);
            graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
            Orvo::MRender::DrawRoundRectange(&graphics, m_rect.left, m_rect.top, m_rect.Width() - 1,
                                             m_rect.Height() - 1, 10, Orvo::Argb(0xFF2A303A), 1,
                                             Orvo::Argb(0xFF1C2027));
        }
        if (!m_title.empty() && m_font != nullptr) {
            RECT text = m_rect;
            text.top += 16;
            text.left += 16;
            Orvo::MRender::DrawTextW(hdc, text, m_title.c_str(),
                                     Orvo::ColorRef::FromRgb(255, 255, 255), m_font,
                                     DT_LEFT | DT_TOP | DT_SINGLELINE);
        }
    }

private:
    std::wstring m_title;
    HFONT m_font;  // not owned: a font of GalleryFonts
};

}  // namespace Gallery
