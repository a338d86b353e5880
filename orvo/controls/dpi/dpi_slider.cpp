#include "orvo/dpi_slider.h"

#include <algorithm>
#include <string>

#include "../cached_drawing.h"
#include "orvo/paint_manager.h"
#include "orvo/render.h"

namespace Orvo {

ORVO_REGISTER_CONTROL(DPISlider);

namespace {

// The DPI of one step: the label at the right end is maximum x 50.
constexpr int kDpiStep = 50;
constexpr int kThumbTop = 50;

}  // namespace

DPISlider::DPISlider(MObject* parent, UINT id, const RECT& rect, int visible, int enabled)
    : MControlFont(parent, id, rect, L"", visible, enabled, 1) {
    SetTextColor(Argb(0xFF050505));
    m_imageCount = 1;
}

int DPISlider::SetProgress(int value) {
    {
        std::lock_guard<std::recursive_mutex> guard(m_valueLock);
        const int position = std::min(m_maximum, value - m_minimum);
        if (position < 0 || position > m_maximum || position == m_position) {
            return m_position;
        }
        m_position = position;
    }
    UpdateControl(TRUE);
    std::lock_guard<std::recursive_mutex> guard(m_valueLock);
    return m_position;
}

int DPISlider::GetProgress() const {
    std::lock_guard<std::recursive_mutex> guard(m_valueLock);
    return m_minimum + m_position;
}

void DPISlider::SetMaxProgress(int maximum) {
    {
        std::lock_guard<std::recursive_mutex> guard(m_valueLock);
        m_maximum = maximum;
    }
    UpdateControl(TRUE);
}

int DPISlider::GetMaxProgress() const {
    std::lock_guard<std::recursive_mutex> guard(m_valueLock);
    return m_maximum;
}

void DPISlider::SetMinProgress(int minimum) {
    {
        std::lock_guard<std::recursive_mutex> guard(m_valueLock);
        m_minimum = minimum;
    }
    UpdateControl(TRUE);
}

int DPISlider::GetMinProgress() const {
    std::lock_guard<std::recursive_mutex> guard(m_valueLock);
    return m_minimum;
}

void DPISlider::SetScaleValue(float scale) {
    m_scale = scale;
    UpdateControl(TRUE);
}

int DPISlider::SetImage(const wchar_t* fileName, int count) {
    AddMTimer();
    const int loaded = MControlFont::SetImage(fileName, 1);
    (void)count;
    if (loaded && m_thumbWidth == 0) {
        m_thumbWidth = m_imageWidth;
    }
    if (loaded && m_thumbHeight == 0) {
        m_thumbHeight = m_imageHeight;
    }
    return loaded;
}

int DPISlider::SetBkgImage(const wchar_t* fileName) {
    if (m_manager == nullptr || fileName == nullptr) {
        return 0;
    }
    ImgResInfo* info = m_manager->AddImgResInfo(fileName, 1);
    if (info == nullptr || info->image == nullptr) {
        return 0;
    }
    m_background = info->image.get();
    m_backgroundWidth = static_cast<int>(m_background->GetWidth());
    m_backgroundHeight = static_cast<int>(m_background->GetHeight());
    UpdateControl(TRUE);
    return 1;
}

CRect DPISlider::ThumbRectFor(int position) const {
    int range = 0;
    {
        std::lock_guard<std::recursive_mutex> guard(m_valueLock);
        range = m_maximum - m_minimum;
    }
    // A slider whose maximum is not above its minimum keeps the thumb at the left end.
    const int offset = range > 0 ? std::clamp(position * kTrackWidth / range, 0, kTrackWidth) : 0;
    const int centre = kTrackLeft + offset;
    const int top = static_cast<int>(kThumbTop * m_scale);
    CRect thumb(centre - m_thumbWidth / 2, top, centre + m_thumbWidth / 2, m_thumbHeight + top);
    thumb.OffsetRect(m_rect.left, m_rect.top);
    return thumb;
}

CRect DPISlider::GetThumbRect() const {
    int position = 0;
    {
        std::lock_guard<std::recursive_mutex> guard(m_valueLock);
        position = m_position;
    }
    return ThumbRectFor(position);
}

void DPISlider::MoveThumbPos(int x, int) {
    int value = 0;
    {
        std::lock_guard<std::recursive_mutex> guard(m_valueLock);
        const int range = m_maximum - m_minimum;
        const int position =
            range > 0
                ? std::clamp(range * (x - static_cast<int>(m_rect.left + kTrackLeft)) / kTrackWidth,
                             0, range)
                : 0;
        if (position == m_position) {
            return;
        }
        m_position = position;
        value = m_minimum + position;
    }
    UpdateControl(TRUE);
    SendMessageW(kNotifyScroll, static_cast<WPARAM>(value), 0);
}

int DPISlider::OnControlTimer() {
    if (!m_dragging || !m_visible || m_state != ThumbState::kDragging || m_manager == nullptr) {
        return 0;
    }
    const DWORD now = ::GetTickCount();
    if (now - m_lastFollow < kDragFollowMs) {
        return 0;
    }
    m_lastFollow = now;
    POINT cursor;
    if (!::GetCursorPos(&cursor) || !::ScreenToClient(m_manager->GetPaintWnd(), &cursor)) {
        return 0;
    }
    MoveThumbPos(cursor.x, cursor.y);
    return 1;
}

BOOL DPISlider::OnControlMouseMove(UINT flags, POINT point) {
    if (!m_enabled) {
        return FALSE;
    }
    if (m_state == ThumbState::kDragging) {
        MoveThumbPos(point.x, point.y);
        return TRUE;
    }
    if ((flags & MK_LBUTTON) == 0) {
        const ThumbState state =
            GetThumbRect().PtInRect(point) ? ThumbState::kHot : ThumbState::kIdle;
        if (state != m_state) {
            m_state = state;
            UpdateControl(TRUE);
        }
    }
    return TRUE;
}

BOOL DPISlider::OnControlLButtonDown(UINT, POINT point) {
    if (!m_enabled) {
        return FALSE;
    }
    if (GetThumbRect().PtInRect(point)) {
        m_state = ThumbState::kDragging;
        MoveThumbPos(point.x, point.y);
        m_dragging = true;
        m_lastFollow = ::GetTickCount();
        // The animation tick runs only while a drag is held.
        SetRunTimer(1);
    } else {
        MoveThumbPos(point.x, point.y);
        if (GetThumbRect().PtInRect(point)) {
            m_state = ThumbState::kDragging;
        }
    }
    UpdateControl(TRUE);
    return TRUE;
}

BOOL DPISlider::OnControlLButtonUp(UINT, POINT point) {
    if (!m_enabled) {
        return FALSE;
    }
    m_dragging = false;
    SetRunTimer(0);
    m_state = GetThumbRect().PtInRect(point) ? ThumbState::kHot : ThumbState::kIdle;
    UpdateControl(TRUE);
    SendMessageW(kNotifyClicked, 0, 0);
    return TRUE;
}

BOOL DPISlider::OnControlScroll(int, int, POINT) {
    return TRUE;
}

void DPISlider::SetControlRect(const CRect& rect) {
    MControlFont::SetControlRect(rect);
    if (m_thumbWidth == 0) {
        m_thumbWidth = m_imageWidth;
    }
    if (m_thumbHeight == 0) {
        m_thumbHeight = m_imageHeight;
    }
}

void DPISlider::DrawControl(HDC hdc, const RECT&) {
    CachedDrawing::Draw(*this, hdc, [this](HDC cache) { DrawIntoCache(cache); });
}

void DPISlider::DrawIntoCache(HDC dc) {
    const int width = m_rect.Width();
    const int height = m_rect.Height();
    Gdiplus::Graphics graphics(dc);
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    graphics.SetTextRenderingHint(static_cast<Gdiplus::TextRenderingHint>(m_renderingHint));
    if (m_background != nullptr) {
        MRender::DrawImageFrame(&graphics, m_background, RECT{0, 0, width, height}, 0, 0,
                                m_backgroundWidth, m_backgroundHeight, 10);
    }

    Gdiplus::Pen tickPen(Gdiplus::Color(0xFFFFFFFF), 1.0f);
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeNone);
    const int ticks = static_cast<int>(kTickCount * m_scale);
    const float tickTop = kTrackTop * m_scale;
    const float tickBottom = 45 * m_scale;
    for (int k = 0; k < ticks; ++k) {
        const float x = kTrackLeft * m_scale + static_cast<float>(kTickSpacing * k);
        graphics.DrawLine(&tickPen, x, tickTop, x, tickBottom);
    }
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);

    int maximum = 0;
    {
        std::lock_guard<std::recursive_mutex> guard(m_valueLock);
        maximum = m_maximum;
    }
    if (Gdiplus::FontFamily* family = GetFontFamily(m_fontName.c_str())) {
        Gdiplus::Font font(family, static_cast<Gdiplus::REAL>(m_fontSize), m_fontStyle,
                           Gdiplus::UnitPixel);
        Gdiplus::StringFormat format;
        format.SetAlignment(Gdiplus::StringAlignmentCenter);
        format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
        format.SetFormatFlags(Gdiplus::StringFormatFlagsNoWrap);
        const std::wstring low = std::to_wstring(kDpiStep);
        const std::wstring high = std::to_wstring(maximum * kDpiStep);
        graphics.DrawString(low.c_str(), -1, &font, Gdiplus::RectF(10, 30, 50, 20), &format,
                            m_textBrush.get());
        graphics.DrawString(high.c_str(), -1, &font, Gdiplus::RectF(850 * m_scale, 30, 55, 20),
                            &format, m_textBrush.get());
    }

    if (m_image != nullptr) {
        CRect thumb = GetThumbRect();
        thumb.OffsetRect(-m_rect.left, -m_rect.top);
        MRender::DrawImageExact(&graphics, m_image,
                                Gdiplus::Rect(thumb.left, thumb.top, m_imageWidth, m_imageHeight),
                                0, 0, m_imageWidth, m_imageHeight);
    }
}

}  // namespace Orvo
