#include "gallery_controls.h"

#include <gdiplus.h>

#include <cwchar>

#include "gallery_scene.h"
#include "orvo/image_strip.h"
#include "orvo/img_res_info.h"
#include "orvo/paint_manager.h"
#include "orvo/render.h"

namespace Gallery {

GalleryFonts::~GalleryFonts() {
    for (auto& entry : m_fonts) {
        ::DeleteObject(entry.second);
    }
}

HFONT GalleryFonts::Get(const wchar_t* face, int pixels, bool bold) {
    const std::wstring key =
        std::wstring(face) + L"/" + std::to_wstring(pixels) + (bold ? L"b" : L"");
    HFONT& font = m_fonts[key];
    if (font == nullptr) {
        LOGFONTW description{};
        description.lfHeight = -pixels;
        description.lfWeight = bold ? FW_BOLD : FW_NORMAL;
        description.lfCharSet = DEFAULT_CHARSET;
        description.lfQuality = ANTIALIASED_QUALITY;
        std::wcsncpy(description.lfFaceName, face, LF_FACESIZE - 1);
        font = ::CreateFontIndirectW(&description);
    }
    return font;
}

StripControl::StripControl(Orvo::MObject* parent, UINT id, const RECT& rect, Kind kind,
                           std::wstring image, std::wstring offImage)
    : MControl(parent, id, rect, 1, 1, 1),
      m_kind(kind),
      m_image(std::move(image)),
      m_offImage(std::move(offImage)) {}

void StripControl::SetChecked(bool checked) {
    if (m_checked != checked) {
        m_checked = checked;
        UpdateControl();
    }
}

int StripControl::StateFrame() const {
    if (!m_enabled) {
        return 3;
    }
    if (m_pressed && m_hot) {
        return 2;
    }
    return m_hot ? 1 : 0;
}

void StripControl::DrawControl(HDC hdc, const RECT&) {
    if (m_manager == nullptr) {
        return;
    }
    const bool off = m_kind == Kind::kSwitch && !m_checked;
    const int count = m_kind == Kind::kCheck ? 8 : 4;
    const int frame = StateFrame() + (m_kind == Kind::kCheck && m_checked ? 4 : 0);
    Orvo::ImgResInfo* info =
        m_manager->AddImgResInfo(off ? m_offImage.c_str() : m_image.c_str(), count);
    if (info != nullptr && info->image != nullptr) {
        Gdiplus::Image* image = info->image.get();
        Gdiplus::Graphics graphics(hdc);
        const Orvo::StripRect source =
            Orvo::StripFrameRect(static_cast<int>(image->GetWidth()),
                                 static_cast<int>(image->GetHeight()), count, frame);
        if (m_corner > 0) {
            Orvo::MRender::DrawImageFrame(&graphics, image, m_rect, source.x, source.y,
                                          source.width, source.height, m_corner);
        } else {
            // Centred in the rectangle at the frame's own size.
            const int x = m_rect.left + (m_rect.Width() - source.width) / 2;
            const int y = m_rect.top + (m_rect.Height() - source.height) / 2;
            Orvo::MRender::DrawImageExact(&graphics, image,
                                          Gdiplus::Rect(x, y, source.width, source.height),
                                          source.x, source.y, source.width, source.height);
        }
    }
    if (!m_caption.empty()) {
        Orvo::MRender::DrawTextW(hdc, m_rect, m_caption.c_str(),
                                 m_enabled ? Orvo::ColorRef::FromRgb(255, 255, 255)
                                           : Orvo::ColorRef::FromRgb(130, 130, 130),
                                 m_font, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
}

BOOL StripControl::OnControlMouseMove(UINT, POINT point) {
    const bool hot = PtInRect(point) != FALSE;
    if (hot != m_hot) {
        m_hot = hot;
        UpdateControl();
    }
    return hot;
}

BOOL StripControl::OnControlLButtonDown(UINT, POINT point) {
    if (!m_enabled || !PtInRect(point)) {
        return FALSE;
    }
    m_pressed = true;
    UpdateControl();
    SendMessageW(Orvo::kNotifyPressed);
    return TRUE;
}

BOOL StripControl::OnControlLButtonUp(UINT, POINT point) {
    if (!m_pressed) {
        return FALSE;
    }
    m_pressed = false;
    m_hot = PtInRect(point) != FALSE;
    UpdateControl();
    if (!m_hot) {
        return TRUE;
    }
    if (m_kind != Kind::kPush) {
        m_checked = !m_checked;
    }
    SendMessageW(Orvo::kNotifyClicked, m_checked ? 1 : 0);
    return TRUE;
}

SceneArea::SceneArea(Orvo::MObject* parent, const RECT& rect, GalleryFonts* fonts)
    : MControl(parent, 0, rect, 1, 1, 0), m_fonts(fonts) {}

void SceneArea::DrawControl(HDC hdc, const RECT&) {
    if (m_manager != nullptr) {
        DrawScene(hdc, m_manager, *m_fonts);
    }
}

}  // namespace Gallery
