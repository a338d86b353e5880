#include "orvo/palette.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "control_paint.h"
#include "hsl_colour.h"
#include "orvo/paint_manager.h"
#include "orvo/render.h"
#include "value_geometry.h"

namespace Orvo {

ORVO_REGISTER_CONTROL(MPalette);
ORVO_REGISTER_CONTROL(PaletteBar);
ORVO_REGISTER_CONTROL(CirclePalette);

namespace {

constexpr int kCanvasWidth = 400;
constexpr int kCanvasHeight = 360;
constexpr Argb kMarkerColour{0xFEFFFFFF};
constexpr Argb kMarkerShadowColour{0xFE808080};
constexpr Argb kDisabledWash{0x0A808080};
constexpr Argb kThumbOutline{0xFFFFFFFF};
constexpr Argb kThumbShadow{0x99000000};
constexpr int kThumbFrames = 4;

// COLORREF to a pixel of a 32-bit DIB (0xAARRGGBB, opaque).
DWORD PixelOf(uint32_t colorref) {
    return 0xFF000000u | ((colorref & 0xFFu) << 16) | (colorref & 0xFF00u) |
           ((colorref >> 16) & 0xFFu);
}

void StrokeCircle(Gdiplus::Graphics& graphics, Argb colour, Gdiplus::REAL width, int x, int y,
                  int size) {
    Gdiplus::Pen pen{ControlPaint::GdiColor(colour), width};
    graphics.DrawEllipse(&pen, x, y, size, size);
}

}  // namespace

MPalette::MPalette(MObject* parent, UINT id, const RECT& rect, int visible)
    : MControlFont(parent, id, rect, L"", visible, 1, 1),
      m_reportedColour(HslColour::ScaledHslToColorRef(m_hue, m_saturation, m_lightness)),
      m_selectedColour(m_reportedColour) {
    ComputeRects();
    const ValueGeometry::FieldPoint marker =
        ValueGeometry::MarkerFor(m_hue, m_lightness, m_paletteRect.left, m_paletteRect.top,
                                 m_paletteRect.Width(), m_paletteHeight);
    m_marker = POINT{marker.x, marker.y};
}

MPalette::~MPalette() = default;

uint32_t MPalette::CurrentColour() const {
    return HslColour::ScaledHslToColorRef(m_hue, m_saturation, m_lightness);
}

void MPalette::ComputeRects() {
    m_paletteRect =
        CRect(m_rect.left, m_rect.top, m_rect.right - kBarWidth - 22, m_rect.top + m_paletteHeight);
    m_barRect = CRect(m_rect.right - kBarWidth - 16, m_rect.top, m_rect.right,
                      m_rect.top + m_paletteHeight);
}

void MPalette::InitControl(PaintManager* manager) {
    MControlFont::InitControl(manager);
    if (m_field == nullptr) {
        m_field = std::make_unique<MemoryCanvas>(kCanvasWidth, kCanvasHeight);
        if (!m_field->IsValid()) {
            m_field.reset();
            return;
        }
        UpdatePaletteData();
        UpdateBarData();
    }
}

void MPalette::UpdatePaletteData() {
    if (m_field == nullptr) {
        return;
    }
    ::GdiFlush();
    DWORD* bits = m_field->Bits();
    for (int y = 0; y < kFieldHeight; ++y) {
        DWORD* row = bits + static_cast<size_t>(kCanvasHeight - 1 - y) * kCanvasWidth;
        for (int x = 0; x < kFieldWidth; ++x) {
            row[x] =
                PixelOf(HslColour::NeverBlack(HslColour::HslToColorRef(x / 360.0, 1.0, y / 200.0)));
        }
    }
}

void MPalette::UpdateBarData() {
    if (m_field == nullptr) {
        return;
    }
    ::GdiFlush();
    DWORD* bits = m_field->Bits();
    for (int y = 0; y < kFieldHeight; ++y) {
        const DWORD pixel = PixelOf(HslColour::NeverBlack(
            HslColour::HslToColorRef(m_hue / 360.0, y / 200.0, m_lightness / 200.0)));
        DWORD* row = bits + static_cast<size_t>(kCanvasHeight - 1 - y) * kCanvasWidth;
        for (int i = 0; i < kBarWidth; ++i) {
            row[kBarLeft + i] = pixel;
        }
    }
}

void MPalette::SetControlRect(const CRect& rect) {
    m_rect = rect;
    ComputeRects();
    UpdatePaletteData();
    UpdateBarData();
    const ValueGeometry::FieldPoint marker =
        ValueGeometry::MarkerFor(m_hue, m_lightness, m_paletteRect.left, m_paletteRect.top,
                                 m_paletteRect.Width(), m_paletteHeight);
    m_marker = POINT{marker.x, marker.y};
}

void MPalette::SetPalletHeight(int height) {
    if (height <= 0) {
        return;
    }
    m_paletteHeight = height;
    SetControlRect(m_rect);
    UpdateControl(TRUE);
}

int MPalette::SetThumbImage(const wchar_t* fileName) {
    if (m_manager == nullptr || fileName == nullptr) {
        return 0;
    }
    ImgResInfo* info = m_manager->AddImgResInfo(fileName, kThumbFrames);
    if (info == nullptr || info->image == nullptr) {
        return 0;
    }
    m_thumbImage = info->image.get();
    m_thumbWidth = info->frameWidth;
    m_thumbHeight = info->frameHeight;
    UpdateControl(TRUE);
    return 1;
}

void MPalette::SetSelectColor(ColorRef colour) {
    m_reportedColour = colour.Value();
    m_selectedColour = colour.Value();
    const HslColour::ScaledHsl hsl = HslColour::ColorRefToScaledHsl(colour.Value());
    m_hue = hsl.hue;
    m_saturation = hsl.saturation;
    m_lightness = hsl.lightness;
    const ValueGeometry::FieldPoint marker =
        ValueGeometry::MarkerFor(m_hue, m_lightness, m_paletteRect.left, m_paletteRect.top,
                                 m_paletteRect.Width(), m_paletteHeight);
    m_marker = POINT{marker.x, marker.y};
    UpdateBarData();
    UpdateControl(TRUE);
}

void MPalette::PickInPalette(POINT point) {
    m_hue = ValueGeometry::HueAt(point.x, m_paletteRect.left, m_paletteRect.Width());
    m_lightness = ValueGeometry::LightnessAt(point.y, m_paletteRect.top, m_paletteHeight);
    m_marker.x = ValueGeometry::Clamp(point.x, m_paletteRect.left, m_paletteRect.right);
    m_marker.y = ValueGeometry::Clamp(point.y, m_paletteRect.top, m_paletteRect.bottom);
    m_selectedColour = CurrentColour();
    UpdateBarData();
}

BOOL MPalette::OnControlLButtonDown(UINT, POINT point) {
    if (!m_enabled || !m_rect.PtInRect(point)) {
        return FALSE;
    }
    if (m_paletteRect.PtInRect(point)) {
        PickInPalette(point);
        m_paletteDragging = true;
    } else if (m_barRect.PtInRect(point)) {
        m_saturation = ValueGeometry::SaturationAt(point.y, m_barRect.top, m_paletteHeight);
        m_selectedColour = CurrentColour();
        m_barDragging = true;
    }
    const uint32_t colour = CurrentColour();
    if (colour != m_reportedColour) {
        m_reportedColour = colour;
        m_selectedColour = colour;
        SendMessageW(kNotifyColorPicked, static_cast<WPARAM>(colour), 0);
    }
    UpdateControl(TRUE);
    return TRUE;
}

BOOL MPalette::OnControlMouseMove(UINT flags, POINT point) {
    if (!m_enabled || (flags & MK_LBUTTON) == 0) {
        return FALSE;
    }
    if (m_paletteDragging && m_paletteRect.PtInRect(point)) {
        PickInPalette(point);
        UpdateControl(TRUE);
        return TRUE;
    }
    if (m_barDragging) {
        m_saturation = ValueGeometry::SaturationAt(point.y, m_barRect.top, m_paletteHeight);
        m_selectedColour = CurrentColour();
        SendMessageW(kNotifyColorPicked, 0, 0);
        UpdateControl(TRUE);
        return TRUE;
    }
    return FALSE;
}

BOOL MPalette::OnControlLButtonUp(UINT, POINT) {
    if (!m_enabled) {
        return FALSE;
    }
    m_paletteDragging = false;
    m_barDragging = false;
    UpdateControl(TRUE);
    return TRUE;
}

void MPalette::DrawControl(HDC hdc, const RECT&) {
    ControlPaint::PaintCached(
        *this, hdc, [&](Gdiplus::Graphics& graphics, HDC memory, int width, int height) {
            if (m_field != nullptr) {
                const CRect palette(m_paletteRect.left - m_rect.left, 0,
                                    m_paletteRect.right - m_rect.left, m_paletteHeight);
                const int previous = ::SetStretchBltMode(memory, HALFTONE);
                ::SetBrushOrgEx(memory, 0, 0, nullptr);
                // Rows 20..199: lightness 0.1 to 1.0.
                ::StretchBlt(memory, palette.left, palette.top, palette.Width(), palette.Height(),
                             m_field->GetDC(), 0, 20, kFieldWidth, kFieldHeight - 20, SRCCOPY);
                ::StretchBlt(memory, m_barRect.left - m_rect.left, 0, kBarWidth, m_paletteHeight,
                             m_field->GetDC(), kBarLeft, 0, kBarWidth, kFieldHeight, SRCCOPY);
                ::SetStretchBltMode(memory, previous);
            }
            graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
            const int x = m_marker.x - m_rect.left;
            const int y = m_marker.y - m_rect.top;
            StrokeCircle(graphics, kMarkerShadowColour, 1.5f, x - 3, y - 3, 8);
            StrokeCircle(graphics, kMarkerColour, 1.5f, x - 4, y - 4, 8);
            if (!m_enabled) {
                Gdiplus::SolidBrush wash{ControlPaint::GdiColor(kDisabledWash)};
                graphics.FillRectangle(&wash, 0, 0, width, height);
            }
        });
    if (m_thumbImage != nullptr) {
        Gdiplus::Graphics graphics(hdc);
        const int centre =
            m_barRect.top +
            static_cast<int>(static_cast<long long>(m_paletteHeight) * m_saturation / 200);
        MRender::DrawImageExact(
            &graphics, m_thumbImage,
            Gdiplus::Rect(m_barRect.right - m_thumbWidth, centre - m_thumbHeight / 2, m_thumbWidth,
                          m_thumbHeight),
            0, 0, m_thumbWidth, m_thumbHeight);
    }
}

PaletteBar::PaletteBar(MObject* parent, UINT id, const RECT& rect, int visible)
    : MControlFont(parent, id, rect, L"", visible, 1, 1) {}

void PaletteBar::SetSelectColor(ColorRef colour) {
    m_colour = colour;
    UpdateControl(TRUE);
}

void PaletteBar::SetPosition(int position) {
    position = ValueGeometry::Clamp(position, 0, std::max(0, m_rect.Width() - kThumbWidth));
    if (position != m_position) {
        m_position = position;
        UpdateControl(TRUE);
    }
}

Argb PaletteBar::PaletteHSLToRGB(int saturation) const {
    const int span = m_rect.Width() - kThumbWidth;
    const double hue = span > 0 ? static_cast<double>(m_position) * 360.0 / span / 360.0 : 0.0;
    return ColorRef(HslColour::HslToColorRef(hue, saturation / 200.0, 0.5)).ToArgb(255);
}

int PaletteBar::PositionAt(int x) const {
    return ValueGeometry::Clamp(x - (m_rect.left + kThumbWidth / 2), 0,
                                std::max(0, m_rect.Width() - kThumbWidth));
}

BOOL PaletteBar::OnControlLButtonDown(UINT, POINT point) {
    if (!m_enabled || !m_rect.PtInRect(point)) {
        return FALSE;
    }
    const int thumbLeft = m_rect.left + m_position;
    m_dragging = point.x >= thumbLeft && point.x < thumbLeft + kThumbWidth;
    m_position = PositionAt(point.x);
    UpdateControl(TRUE);
    return TRUE;
}

BOOL PaletteBar::OnControlMouseMove(UINT, POINT point) {
    if (!m_enabled || !m_dragging) {
        return FALSE;
    }
    const int position = PositionAt(point.x);
    if (position != m_position) {
        m_position = position;
        UpdateControl(TRUE);
    }
    return TRUE;
}

BOOL PaletteBar::OnControlLButtonUp(UINT, POINT point) {
    if (!m_enabled) {
        return FALSE;
    }
    m_dragging = false;
    if (m_rect.PtInRect(point)) {
        SendMessageW(kNotifyClicked, 0, 0);
    }
    return TRUE;
}

void PaletteBar::DrawControl(HDC hdc, const RECT&) {
    ControlPaint::PaintCached(
        *this, hdc, [&](Gdiplus::Graphics& graphics, HDC, int width, int height) {
            const int span = width - kThumbWidth;
            const int bandTop = height / 4;
            const int bandHeight = height - 2 * bandTop;
            for (int x = 0; x < span; ++x) {
                Gdiplus::SolidBrush brush{Gdiplus::Color(
                    PixelOf(HslColour::HslToColorRef(static_cast<double>(x) / span, 1.0, 0.5)))};
                graphics.FillRectangle(&brush, kThumbWidth / 2 + x, bandTop, 1, bandHeight);
            }
            graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
            Gdiplus::SolidBrush fill{ControlPaint::GdiColor(PaletteHSLToRGB(200))};
            graphics.FillRectangle(&fill, m_position + 1, 1, kThumbWidth - 2, height - 2);
            Gdiplus::Pen shadow{ControlPaint::GdiColor(kThumbShadow), 3};
            graphics.DrawRectangle(&shadow, m_position + 1, 1, kThumbWidth - 2, height - 2);
            Gdiplus::Pen outline{ControlPaint::GdiColor(kThumbOutline), 1.5f};
            graphics.DrawRectangle(&outline, m_position + 1, 1, kThumbWidth - 2, height - 2);
        });
}

CirclePalette::CirclePalette(MObject* parent, UINT id, const RECT& rect, int visible, int enabled)
    : MControlFont(parent, id, rect, L"", visible, enabled, 1) {
    SetImageCount(1);
}

void CirclePalette::SetSelectColor(ColorRef colour) {
    m_colour = colour;
    UpdateControl(TRUE);
}

int CirclePalette::GetDistanse(POINT point) const {
    const CPoint centre = m_rect.CenterPoint();
    const double dx = point.x - centre.x;
    const double dy = point.y - centre.y;
    return static_cast<int>(std::sqrt(dx * dx + dy * dy));
}

bool CirclePalette::MoveThumbPos(POINT point) {
    const int distance = GetDistanse(point);
    if (distance <= kInnerDistance || distance > kOuterDistance) {
        return false;
    }
    m_thumbRect = CRect(point.x - kThumbSize / 2, point.y - kThumbSize / 2,
                        point.x + kThumbSize / 2, point.y + kThumbSize / 2);
    m_lastThumbPoint = point;
    // The ring as it shows on screen decides the colour, read before the thumb moves there.
    if (m_manager != nullptr && m_manager->GetPaintWnd() != nullptr) {
        HDC window = ::GetDC(m_manager->GetPaintWnd());
        if (window != nullptr) {
            const COLORREF picked = ::GetPixel(window, point.x, point.y);
            if (picked != CLR_INVALID) {
                m_colour = ColorRef(picked);
            }
            ::ReleaseDC(m_manager->GetPaintWnd(), window);
        }
    }
    UpdateControl(TRUE);
    SendMessageW(kNotifyColorPicked, 0, static_cast<LPARAM>(m_colour.Value()));
    return true;
}

BOOL CirclePalette::OnControlLButtonDown(UINT, POINT point) {
    if (!m_enabled) {
        return FALSE;
    }
    if (m_thumbRect.PtInRect(point)) {
        m_mouseState = 2;
    }
    MoveThumbPos(point);
    return TRUE;
}

BOOL CirclePalette::OnControlMouseMove(UINT, POINT point) {
    if (!m_enabled || m_mouseState != 2) {
        return FALSE;
    }
    if (std::abs(point.x - m_lastThumbPoint.x) <= 5 && std::abs(point.y - m_lastThumbPoint.y) < 6) {
        return TRUE;
    }
    MoveThumbPos(point);
    return TRUE;
}

BOOL CirclePalette::OnControlLButtonUp(UINT, POINT) {
    if (!m_enabled) {
        return FALSE;
    }
    m_mouseState = 0;
    return TRUE;
}

void CirclePalette::DrawControl(HDC hdc, const RECT&) {
    ControlPaint::PaintCached(
        *this, hdc, [&](Gdiplus::Graphics& graphics, HDC, int width, int height) {
            if (m_image != nullptr) {
                const int left = (width - m_imageWidth) / 2;
                const int top = (height - m_imageHeight) / 2;
                MRender::DrawImageExact(&graphics, m_image,
                                        Gdiplus::Rect(left, top, m_imageWidth, m_imageHeight), 0, 0,
                                        m_imageWidth, m_imageHeight);
            }
            if (!m_thumbRect.IsRectEmpty()) {
                graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
                const int x = m_thumbRect.left - m_rect.left;
                const int y = m_thumbRect.top - m_rect.top;
                StrokeCircle(graphics, kThumbShadow, 3, x, y, kThumbSize);
                StrokeCircle(graphics, kThumbOutline, 1.5f, x, y, kThumbSize);
            }
        });
}

}  // namespace Orvo
