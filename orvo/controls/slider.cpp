#include "orvo/slider.h"

#include <algorithm>

#include "control_paint.h"
#include "orvo/manager.h"
#include "orvo/paint_manager.h"
#include "orvo/render.h"
#include "value_geometry.h"

namespace Orvo {

ORVO_REGISTER_CONTROL(MSlider);
ORVO_REGISTER_CONTROL(LightSlider);

namespace {

constexpr Argb kTrackColour{0xFF394451};
constexpr Argb kSliderTextColour{0xFF050505};
constexpr Argb kDisabledColour{0xFF828282};
constexpr int kThumbFrames = 4;

}  // namespace

MSlider::MSlider(MObject* parent, UINT id, const RECT& rect, int visible, int enabled)
    : MControlFont(parent, id, rect, L"", visible, enabled, 1) {
    SetTextColor(kSliderTextColour);
    SetAlignment(1, 4);
    ComputeGeometry();
}

int MSlider::SetProgress(int value) {
    const long long wanted = static_cast<long long>(value) - m_minimum;
    const int position = wanted > m_maximum ? m_maximum : static_cast<int>(wanted);
    if (position >= 0 && position <= m_maximum && position != m_position) {
        m_position = position;
        ComputeGeometry();
        UpdateControl(TRUE);
    }
    return m_position;
}

void MSlider::SetMaxProgress(int maximum) {
    m_maximum = maximum;
    ComputeGeometry();
}

void MSlider::SetMinProgress(int minimum) {
    m_minimum = minimum;
    ComputeGeometry();
}

void MSlider::SetShowText(int on) {
    m_showText = on;
    UpdateControl(TRUE);
}

int MSlider::SetThumbImage(const wchar_t* fileName) {
    if (m_manager == nullptr || fileName == nullptr) {
        return 0;
    }
    ImgResInfo* info = m_manager->AddImgResInfo(fileName, kThumbFrames);
    if (info == nullptr || info->image == nullptr) {
        return 0;
    }
    m_thumbImage = info->image.get();
    m_thumbFrameWidth = info->frameWidth;
    m_thumbFrameHeight = info->frameHeight;
    ComputeGeometry();
    UpdateControl(TRUE);
    return 1;
}

int MSlider::SetImage(const wchar_t* fileName, int count) {
    const int loaded = MControlFont::SetImage(fileName, count);
    AddMTimer();
    return loaded;
}

void MSlider::InitControl(PaintManager* manager) {
    MControlFont::InitControl(manager);
    // The drag goes on outside the control only through the tick.
    AddMTimer();
}

void MSlider::SetControlRect(const CRect& rect) {
    m_rect = rect;
    ComputeGeometry();
}

void MSlider::ComputeGeometry() {
    if (m_thumbSize.cx == 0) {
        m_thumbSize.cx = m_thumbFrameWidth;
    }
    if (m_thumbSize.cy == 0) {
        m_thumbSize.cy = m_thumbFrameHeight;
    }
    m_trackLeft = m_rect.left + m_thumbFrameWidth / 2;
    m_trackRight = m_rect.right - m_thumbFrameWidth / 2;
    const int offset =
        ValueGeometry::ThumbOffset(m_trackRight - m_trackLeft, m_position, m_maximum - m_minimum);
    const int centre = m_trackLeft + offset;
    m_thumbRect =
        CRect(centre - m_thumbSize.cx / 2, m_rect.top, centre + m_thumbSize.cx / 2, m_rect.bottom);
}

void MSlider::MoveThumbPos(POINT point) {
    const int position = ValueGeometry::PositionAt(point.x, m_trackLeft, m_trackRight - m_trackLeft,
                                                   m_maximum - m_minimum);
    if (position == m_position) {
        return;
    }
    m_position = position;
    ComputeGeometry();
    UpdateControl(TRUE);
    SendMessageW(kNotifyScroll, static_cast<WPARAM>(m_minimum + position), 0);
}

void MSlider::SetMouseState(int state) {
    if (state == m_mouseState) {
        return;
    }
    m_mouseState = state;
    UpdateControl(TRUE);
}

BOOL MSlider::OnControlLButtonDown(UINT, POINT point) {
    if (!m_enabled) {
        return FALSE;
    }
    if (m_thumbRect.PtInRect(point)) {
        m_mouseState = 2;
        MoveThumbPos(point);
        m_dragging = true;
        m_lastDragStep = ::GetTickCount();
        // The tick follows the pointer only while a drag lasts.
        SetRunTimer(1);
        UpdateControl(TRUE);
        return TRUE;
    }
    MoveThumbPos(point);
    if (m_thumbRect.PtInRect(point)) {
        SetMouseState(2);
    }
    return TRUE;
}

BOOL MSlider::OnControlMouseMove(UINT flags, POINT point) {
    if (!m_enabled) {
        return FALSE;
    }
    if (m_mouseState == 2) {
        MoveThumbPos(point);
        return TRUE;
    }
    if ((flags & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0) {
        SetMouseState(m_rect.PtInRect(point) && m_thumbRect.PtInRect(point) ? 1 : 0);
    }
    return FALSE;
}

BOOL MSlider::OnControlLButtonUp(UINT, POINT point) {
    if (!m_enabled) {
        return FALSE;
    }
    m_dragging = false;
    SetRunTimer(0);
    SetMouseState(m_thumbRect.PtInRect(point) ? 1 : 0);
    SendMessageW(kNotifyClicked, 0, 0);
    return TRUE;
}

int MSlider::OnControlTimer() {
    if (!m_visible || !m_dragging || m_mouseState != 2 || m_manager == nullptr) {
        return 0;
    }
    const DWORD now = ::GetTickCount();
    if (now - m_lastDragStep < kDragStepMs) {
        return 0;
    }
    m_lastDragStep = now;
    POINT cursor;
    if (!::GetCursorPos(&cursor) || !::ScreenToClient(m_manager->GetPaintWnd(), &cursor)) {
        return 0;
    }
    const int before = m_position;
    MoveThumbPos(cursor);
    return before != m_position ? 1 : 0;
}

void MSlider::DrawThumb(Gdiplus::Graphics& graphics, int x, int y) const {
    // The knob keeps its own size, centred in the thumb's box: the track's ends lie half a
    // frame inside the control, so a knob scaled up to the box would be cut off there.
    // Only a frame larger than the box is scaled down into it.
    int width = m_thumbFrameWidth;
    int height = m_thumbFrameHeight;
    if (width > m_thumbSize.cx || height > m_thumbSize.cy) {
        width = m_thumbSize.cx;
        height = m_thumbSize.cy;
    }
    // Frame 0; a disabled slider shows the strip's disabled frame.
    const int frame = m_enabled ? 0 : kThumbFrames - 1;
    MRender::DrawImageExact(&graphics, m_thumbImage,
                            Gdiplus::Rect(x + (m_thumbSize.cx - width) / 2,
                                          y + (m_thumbSize.cy - height) / 2, width, height),
                            frame * m_thumbFrameWidth, 0, m_thumbFrameWidth, m_thumbFrameHeight);
}

void MSlider::DrawControl(HDC hdc, const RECT&) {
    ControlPaint::PaintCached(
        *this, hdc, [&](Gdiplus::Graphics& graphics, HDC, int width, int height) {
            graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
            // The line runs through the knob's middle: half the height, or half the thumb's
            // when the control is taller (its value text lies below).
            const Gdiplus::REAL middle =
                static_cast<Gdiplus::REAL>(std::min<int>(height, m_thumbSize.cy) / 2);
            const Gdiplus::REAL start = static_cast<Gdiplus::REAL>(m_thumbSize.cx / 2);
            Gdiplus::Pen track(ControlPaint::GdiColor(kTrackColour), 2);
            graphics.DrawLine(&track, start, middle,
                              static_cast<Gdiplus::REAL>(width - m_thumbSize.cx / 2), middle);
            if (HasThumbImage() && m_minimum < m_maximum) {
                Gdiplus::Pen filled(
                    ControlPaint::GdiColor(m_enabled ? Manager::GetSelectColor() : kDisabledColour),
                    2);
                graphics.DrawLine(&filled, start, middle, static_cast<Gdiplus::REAL>(ThumbCentre()),
                                  middle);
                DrawThumb(graphics, m_thumbRect.left - m_rect.left, 0);
            }
            if (m_showText) {
                const int divisor = m_divisor != 0 ? m_divisor : 1;
                const std::wstring text =
                    ControlPaint::ValueText(m_title, (m_minimum + m_position) / divisor, m_maximum);
                const auto font = ControlPaint::MakeFont(*this);
                graphics.SetTextRenderingHint(
                    static_cast<Gdiplus::TextRenderingHint>(GetTextRenderingHint()));
                ControlPaint::DrawLine(graphics, font.get(), text.c_str(),
                                       Gdiplus::RectF(0, static_cast<Gdiplus::REAL>(height - 20),
                                                      static_cast<Gdiplus::REAL>(width), 20),
                                       *GetTextBrush());
            }
        });
}

LightSlider::LightSlider(MObject* parent, UINT id, const RECT& rect, int visible, int enabled)
    : MSlider(parent, id, rect, visible, enabled) {
    m_position = 5;
    ComputeGeometry();
}

int LightSlider::SetImage(const wchar_t* fileName, int) {
    const int loaded = MControlFont::SetImage(fileName, 1);
    AddMTimer();
    return loaded;
}

void LightSlider::DrawControl(HDC hdc, const RECT&) {
    ControlPaint::PaintCached(
        *this, hdc, [&](Gdiplus::Graphics& graphics, HDC, int width, int height) {
            graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
            const int half = m_thumbSize.cx / 2;
            const int trackWidth = width - m_thumbSize.cx;
            const int rowHeight = m_imageHeight / 2;
            if (m_image != nullptr && rowHeight > 0 && trackWidth > 0) {
                MRender::DrawImageExact(&graphics, m_image,
                                        Gdiplus::Rect(half, 0, trackWidth, rowHeight), 0, 0,
                                        m_imageWidth, rowHeight);
                if (HasThumbImage() && m_minimum < m_maximum) {
                    const int filled = ValueGeometry::Clamp(ThumbCentre() - half, 0, trackWidth);
                    const int sourceWidth = static_cast<int>(static_cast<long long>(m_imageWidth) *
                                                             filled / trackWidth);
                    if (filled > 0 && sourceWidth > 0) {
                        MRender::DrawImageExact(&graphics, m_image,
                                                Gdiplus::Rect(half, 0, filled, rowHeight), 0,
                                                rowHeight, sourceWidth, rowHeight);
                    }
                }
            }
            if (HasThumbImage() && m_minimum < m_maximum) {
                DrawThumb(graphics, m_thumbRect.left - m_rect.left, height - m_thumbSize.cy - 2);
            }
        });
}

}  // namespace Orvo
