#include <cwchar>

#include "button_paint.h"
#include "orvo/buttons.h"
#include "orvo/manager.h"
#include "orvo/paint_manager.h"
#include "orvo/render.h"

namespace Orvo {

CTextButton::CTextButton(MObject* parent, UINT id, const RECT& rect, const wchar_t* title,
                         int visible, int enabled)
    : PushButtonBase(parent, id, rect, title, visible, enabled),
      m_colors{Argb(0xFFFFFFFF), Manager::GetSelectColor(), Manager::GetSelectColor(),
               Argb(0xFF49FFE6)} {}

void CTextButton::SetTextButtonColor(Argb normal, Argb hover, Argb pressed, Argb disabled) {
    m_colors[0] = normal;
    m_colors[1] = hover;
    m_colors[2] = pressed;
    m_colors[3] = disabled;
    UpdateControl(TRUE);
}

void CTextButton::DrawSlot(Gdiplus::Graphics& graphics, HDC, const RECT& slotRect, int slot) {
    DrawTitle(graphics, slotRect, m_colors[slot & 3], m_title);
}

CIconButton::CIconButton(MObject* parent, UINT id, const RECT& rect, const wchar_t* title,
                         int visible, int enabled)
    : PushButtonBase(parent, id, rect, title, visible, enabled),
      m_colors{Argb(0xFFFFFFFF), Argb(0xFFFFFFFF), Argb(0xFFFFFFFF), Argb(0xFF323232)} {}

int CIconButton::SetIconImage(const wchar_t* fileName, int count) {
    if (m_manager == nullptr || fileName == nullptr || count <= 0) {
        return 0;
    }
    ImgResInfo* info = m_manager->AddImgResInfo(fileName, count);
    if (info == nullptr || info->image == nullptr) {
        return 0;
    }
    m_icon = info->image.get();
    m_iconWidth = info->frameWidth;
    m_iconHeight = info->frameHeight;
    m_iconCount = count;
    UpdateControl(TRUE);
    return 1;
}

void CIconButton::SetTextRect(const RECT& textRect, const RECT& iconRect) {
    m_textRect = textRect;
    m_iconRect = iconRect;
    UpdateControl(TRUE);
}

void CIconButton::SetTextButtonColor(Argb normal, Argb hover, Argb pressed, Argb disabled) {
    m_colors[0] = normal;
    m_colors[1] = hover;
    m_colors[2] = pressed;
    m_colors[3] = disabled;
    UpdateControl(TRUE);
}

void CIconButton::DrawSlot(Gdiplus::Graphics& graphics, HDC, const RECT& slotRect, int slot) {
    if (m_image != nullptr && m_imageWidth > 0) {
        MRender::DrawImageFrame(&graphics, m_image, slotRect, slot * m_imageWidth, 0, m_imageWidth,
                                m_imageHeight, 6);
    }
    if (m_icon != nullptr && m_iconWidth > 0) {
        RECT iconBox =
            m_iconRect.IsRectEmpty() ? CRect(0, 0, m_rect.Width(), m_rect.Height()) : m_iconRect;
        ::OffsetRect(&iconBox, slotRect.left, slotRect.top);
        const int frame = m_iconCount > 1 ? (slot < m_iconCount ? slot : m_iconCount - 1) : 0;
        const int y = iconBox.top + (iconBox.bottom - iconBox.top - m_iconHeight) / 2;
        MRender::DrawImageExact(&graphics, m_icon,
                                Gdiplus::Rect(iconBox.left, y, m_iconWidth, m_iconHeight),
                                frame * m_iconWidth, 0, m_iconWidth, m_iconHeight);
    }
    RECT textBox =
        m_textRect.IsRectEmpty() ? CRect(0, 0, m_rect.Width(), m_rect.Height()) : m_textRect;
    ::OffsetRect(&textBox, slotRect.left, slotRect.top);
    DrawControlText(*this, graphics, textBox, m_colors[slot & 3], m_title, 1, 4);
}

CTimerButton::CTimerButton(MObject* parent, UINT id, const RECT& rect, const wchar_t* title,
                           int visible, int enabled)
    : PushButtonBase(parent, id, rect, title, visible, enabled) {
    m_hAlign = 1;
}

void CTimerButton::SetRun(int on) {
    if (on && !m_enabled) {
        return;
    }
    m_running = on ? 1 : 0;
    m_shownSeconds = -1;
    if (m_running) {
        m_started = ButtonTicks();
        AddMTimer();
        SetRunTimer(1);
    } else {
        SetRunTimer(0);
    }
    UpdateControl(TRUE);
}

std::wstring CTimerButton::GetShownTitle() const {
    if (!m_running) {
        return m_title;
    }
    const ULONGLONG elapsed = ButtonTicks() - m_started;
    const int left = 10 - static_cast<int>(elapsed / 1000);
    wchar_t text[300];
    std::swprintf(text, 300, L"%ls(%ds)", m_title.c_str(), left < 0 ? 0 : left);
    return text;
}

int CTimerButton::OnControlTimer() {
    if (!m_running) {
        return 0;
    }
    const ULONGLONG elapsed = ButtonTicks() - m_started;
    if (elapsed >= kCountdownMs) {
        m_running = 0;
        SetRunTimer(0);
        UpdateControl(TRUE);
        SendMessageW(kNotifyClicked, 0, 0);
        return 1;
    }
    const int seconds = static_cast<int>(elapsed / 1000);
    if (seconds != m_shownSeconds) {
        m_shownSeconds = seconds;
        UpdateControl(TRUE);
    }
    return 1;
}

void CTimerButton::DrawSlot(Gdiplus::Graphics& graphics, HDC, const RECT& slotRect, int slot) {
    if (m_image != nullptr && m_imageWidth > 0) {
        MRender::DrawImageFrame(&graphics, m_image, slotRect, slot * m_imageWidth, 0, m_imageWidth,
                                m_imageHeight, 4);
    }
    RECT box = slotRect;
    if (slot == kStatePressed) {
        ::OffsetRect(&box, 1, 1);
    }
    DrawControlText(*this, graphics, box, slot == kStateDisabled ? Argb(0xFF808080) : m_textColor,
                    GetShownTitle(), 1, 4);
}

CHelpButton::CHelpButton(MObject* parent, UINT id, const RECT& rect, const wchar_t* title,
                         int visible, int enabled)
    : PushButtonBase(parent, id, rect, title, visible, enabled) {}

BOOL CHelpButton::OnControlMouseMove(UINT flags, POINT point) {
    const BOOL inside = PushButtonBase::OnControlMouseMove(flags, point);
    if (m_manager == nullptr) {
        return inside;
    }
    const auto key = reinterpret_cast<UINT_PTR>(this);
    const bool over = PtInRect(point) != FALSE;
    if (over && !m_bubbleShown && !m_title.empty()) {
        const POINT anchor = ToScreen(*this, POINT{m_rect.left + 20, m_rect.top});
        m_manager->SetAirBladderMsg(m_title.c_str(), anchor, 1, 3);
        m_manager->ShowAirBladder(1, key);
        m_bubbleShown = true;
    } else if (!over && m_bubbleShown) {
        // Hides the bubble only while it still shows this button's text.
        m_manager->ShowAirBladder(0, key);
        m_bubbleShown = false;
    }
    return inside;
}

void CHelpButton::DrawSlot(Gdiplus::Graphics& graphics, HDC, const RECT& slotRect, int slot) {
    if (m_image == nullptr || m_imageWidth <= 0) {
        return;
    }
    const int frame = slot < m_imageCount ? slot : 0;
    MRender::DrawImageExact(
        &graphics, m_image,
        Gdiplus::Rect(slotRect.left, slotRect.top, slotRect.right - slotRect.left,
                      slotRect.bottom - slotRect.top),
        frame * m_imageWidth, 0, m_imageWidth, m_imageHeight);
}

ORVO_REGISTER_CONTROL(CTextButton);
ORVO_REGISTER_CONTROL(CIconButton);
ORVO_REGISTER_CONTROL(CTimerButton);
ORVO_REGISTER_CONTROL(CHelpButton);

}  // namespace Orvo
