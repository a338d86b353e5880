#include "orvo/area.h"

#include <gdiplus.h>

#include <algorithm>

#include "orvo/render.h"

namespace Orvo {
namespace {

// Copies the pixels now under the control into its cache, the background it is drawn over.
HDC RefreshCache(MControl& control, HDC hdc) {
    const CRect& rect = control.GetRect();
    HDC cache = control.UpdateMemDC(hdc, rect.Width(), rect.Height());
    if (cache != nullptr) {
        ::BitBlt(cache, 0, 0, rect.Width(), rect.Height(), hdc, rect.left, rect.top, SRCCOPY);
    }
    return cache;
}

void FillRect(HDC hdc, const RECT& rect, Argb colour) {
    Gdiplus::Graphics graphics(hdc);
    Gdiplus::SolidBrush brush(Gdiplus::Color(colour.Value()));
    graphics.FillRectangle(&brush, static_cast<INT>(rect.left), static_cast<INT>(rect.top),
                           static_cast<INT>(rect.right - rect.left),
                           static_cast<INT>(rect.bottom - rect.top));
}

}  // namespace

CArea::CArea(MObject* parent, UINT id, const RECT& rect, int visible, int enabled)
    : MControl(parent, id, rect, visible, enabled, 0) {}

void CArea::SetTransparent(int start, int end, ColorRef colour) {
    m_start = std::clamp(start, 0, 100);
    m_end = std::clamp(end, 0, 100);
    m_fill = colour;
    RepaintIfVisible();
}

void CArea::SetFrame(bool on, Argb colour, bool vertical) {
    m_frameOn = on;
    m_frameColour = colour;
    m_vertical = vertical;
    RepaintIfVisible();
}

void CArea::RepaintIfVisible() {
    if (m_visible) {
        UpdateControl(TRUE);
    }
}

void CArea::DrawControl(HDC hdc, const RECT&) {
    const int width = m_rect.Width();
    const int height = m_rect.Height();
    if (width <= 0 || height <= 0) {
        return;
    }
    if (!m_cacheValid || GetMemDC() == nullptr) {
        HDC cache = RefreshCache(*this, hdc);
        if (cache == nullptr) {
            return;
        }
        const CRect local(0, 0, width, height);
        if (m_start == 0 && m_end == 0) {
            if (m_frameOn) {
                FillRect(cache, local, m_frameColour);
                FillRect(cache, CRect(1, 1, width - 1, height - 1), m_fill.ToArgb(254));
            } else {
                FillRect(cache, local, m_fill.ToArgb(254));
            }
        } else {
            MemoryCanvas fill(width, height);
            if (fill.IsValid()) {
                MRender::FillSolidRect(fill.GetDC(), local, m_fill);
                if (m_vertical) {
                    MRender::DrawVerticalTransition(cache, fill.GetDC(), local, local, m_start,
                                                    m_end);
                } else {
                    MRender::DrawHorizontalTransition(cache, fill.GetDC(), local, local, m_start,
                                                      m_end);
                }
            }
        }
    }
    ::BitBlt(hdc, m_rect.left, m_rect.top, width, height, GetMemDC(), 0, 0, SRCCOPY);
}

CRoundArea::CRoundArea(MObject* parent, UINT id, const RECT& rect, int visible, int enabled)
    : MControl(parent, id, rect, visible, enabled, 0) {}

void CRoundArea::SetColor(Argb colour) {
    m_colour = colour;
    if (m_visible) {
        UpdateControl(TRUE);
    }
}

void CRoundArea::DrawControl(HDC hdc, const RECT&) {
    const int width = m_rect.Width();
    const int height = m_rect.Height();
    if (width <= 0 || height <= 0) {
        return;
    }
    if (!m_cacheValid || GetMemDC() == nullptr) {
        HDC cache = RefreshCache(*this, hdc);
        if (cache == nullptr) {
            return;
        }
        Gdiplus::Graphics graphics(cache);
        graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
        Gdiplus::SolidBrush brush(Gdiplus::Color(m_colour.Value()));
        graphics.FillRectangle(&brush, 0, 0, width, height);
    }
    ::BitBlt(hdc, m_rect.left, m_rect.top, width, height, GetMemDC(), 0, 0, SRCCOPY);
}

ORVO_REGISTER_CONTROL(CArea);
ORVO_REGISTER_CONTROL(CRoundArea);

}  // namespace Orvo
