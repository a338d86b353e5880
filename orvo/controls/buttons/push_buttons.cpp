#include <cwchar>

#include "button_paint.h"
#include "orvo/buttons.h"
#include "orvo/manager.h"
#include "orvo/paint_manager.h"
#include "orvo/render.h"

namespace Orvo {
namespace {

constexpr Argb kDisabledText = Argb(0xFF808080);
constexpr Argb kCheckedDarkText = Argb(0xFF050505);

ULONGLONG SystemTicks() {
    return ::GetTickCount64();
}

TickSource g_tickSource = SystemTicks;  // set by tests before any control counts time

Gdiplus::StringAlignment ToStringAlignment(int value, int centre, int end) {
    if (value == centre) {
        return Gdiplus::StringAlignmentCenter;
    }
    if (value == end) {
        return Gdiplus::StringAlignmentFar;
    }
    return Gdiplus::StringAlignmentNear;
}

}  // namespace

void SetButtonTickSource(TickSource source) {
    g_tickSource = source != nullptr ? source : SystemTicks;
}

ULONGLONG ButtonTicks() {
    return g_tickSource();
}

void DrawControlText(MControlFont& control, Gdiplus::Graphics& graphics, const RECT& box, Argb argb,
                     const std::wstring& text, int hAlign, int vAlign) {
    if (text.empty()) {
        return;
    }
    Gdiplus::FontFamily* family = control.GetFontFamily(control.GetTextFont().c_str());
    if (family == nullptr) {
        return;
    }
    Gdiplus::Font font(family, static_cast<Gdiplus::REAL>(control.GetFontWidth()),
                       control.GetFontStyle(), Gdiplus::UnitPixel);
    Gdiplus::StringFormat format;
    format.SetAlignment(ToStringAlignment(hAlign, 1, 2));
    format.SetLineAlignment(ToStringAlignment(vAlign, 4, 8));
    format.SetFormatFlags(Gdiplus::StringFormatFlagsNoWrap);
    graphics.SetTextRenderingHint(
        static_cast<Gdiplus::TextRenderingHint>(control.GetTextRenderingHint()));
    Gdiplus::SolidBrush brush{Gdiplus::Color(argb.Value())};
    const Gdiplus::RectF layout(static_cast<Gdiplus::REAL>(box.left),
                                static_cast<Gdiplus::REAL>(box.top),
                                static_cast<Gdiplus::REAL>(box.right - box.left),
                                static_cast<Gdiplus::REAL>(box.bottom - box.top));
    graphics.DrawString(text.c_str(), static_cast<INT>(text.size()), &font, layout, &format,
                        &brush);
}

void DrawStateImageFrame(MControlFont& control, Gdiplus::Graphics& graphics, int x, int y,
                         int frame) {
    Gdiplus::Image* image = control.GetImage();
    const CSize size = control.GetImageSize();
    if (image == nullptr || size.cx <= 0 || size.cy <= 0) {
        return;
    }
    MRender::DrawImageExact(&graphics, image, Gdiplus::Rect(x, y, size.cx, size.cy),
                            frame * size.cx, 0, size.cx, size.cy);
}

POINT ToScreen(MControl& control, POINT point) {
    if (PaintManager* manager = control.GetManager()) {
        if (HWND window = manager->GetPaintWnd()) {
            ::ClientToScreen(window, &point);
        }
    }
    return point;
}

PushButtonBase::PushButtonBase(MObject* parent, UINT id, const RECT& rect, const wchar_t* title,
                               int visible, int enabled)
    : MControlFont(parent, id, rect, title, visible, enabled, 1) {
    m_state = enabled ? kStateNormal : kStateDisabled;
}

void PushButtonBase::SetState(int state) {
    if (state == m_state) {
        return;
    }
    m_state = state;
    // Every state is already in the cache: a copy of another slot, no redraw.
    UpdateControl(FALSE);
}

void PushButtonBase::SetControlEnabled(int enabled) {
    const bool changed = (enabled != 0) != (m_enabled != 0);
    MControlFont::SetControlEnabled(enabled);
    if (changed) {
        SetState(enabled ? kStateNormal : kStateDisabled);
    }
}

BOOL PushButtonBase::OnControlMouseMove(UINT, POINT point) {
    if (!m_enabled || m_state == kStatePressed) {
        return FALSE;
    }
    const bool inside = PtInRect(point) != FALSE;
    SetCursorEx(inside ? kCursorHand : kCursorArrow);
    SetState(inside ? kStateHot : kStateNormal);
    return inside ? TRUE : FALSE;
}

BOOL PushButtonBase::OnControlLButtonDown(UINT, POINT point) {
    if (!m_enabled || !PtInRect(point)) {
        return FALSE;
    }
    SetCursorEx(kCursorHand);
    SetState(kStatePressed);
    if (SendsPress()) {
        SendMessageW(kNotifyPressed, 0, 0);
    }
    return TRUE;
}

BOOL PushButtonBase::OnControlLButtonUp(UINT, POINT point) {
    if (!m_enabled) {
        return FALSE;
    }
    const bool wasPressed = m_state == kStatePressed;
    if (PtInRect(point)) {
        SetState(kStateHot);
        if (wasPressed) {
            OnClicked();
        }
        return TRUE;
    }
    SetState(kStateNormal);
    return FALSE;
}

void PushButtonBase::OnClicked() {
    SendMessageW(kNotifyClicked, 0, 0);
}

void PushButtonBase::DrawControl(HDC hdc, const RECT&) {
    DrawCachedSlots(*this, hdc, SlotCount(), ShownSlot(),
                    [this](Gdiplus::Graphics& graphics, HDC cache, const RECT& slotRect, int slot) {
                        DrawSlot(graphics, cache, slotRect, slot);
                    });
}

void PushButtonBase::DrawTitle(Gdiplus::Graphics& graphics, const RECT& box, Argb colour,
                               const std::wstring& text) {
    DrawControlText(*this, graphics, box, colour, text, m_hAlign, m_vAlign);
}

MButton::MButton(MObject* parent, UINT id, const RECT& rect, const wchar_t* title, int visible,
                 int enabled)
    : PushButtonBase(parent, id, rect, title, visible, enabled) {
    m_hAlign = 1;
}

int MButton::SetIconImage(const wchar_t* fileName, int count) {
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

void MButton::SetTextRect(const RECT& rect) {
    m_textRect = rect;
    UpdateControl(TRUE);
}

BOOL MButton::OnControlKeyDown(UINT vk, UINT repeat, UINT modifiers) {
    return MControlFont::OnControlKeyDown(vk, repeat, modifiers);
}

Argb MButton::SlotTextColor(int slot) const {
    return slot == kStateDisabled ? kDisabledText : m_textColor;
}

void MButton::DrawStateFrame(Gdiplus::Graphics& graphics, const RECT& slotRect, int frame) {
    if (m_image == nullptr || m_imageWidth <= 0) {
        return;
    }
    MRender::DrawImageFrame(&graphics, m_image, slotRect, frame * m_imageWidth, 0, m_imageWidth,
                            m_imageHeight, m_corner);
}

void MButton::DrawSlot(Gdiplus::Graphics& graphics, HDC, const RECT& slotRect, int slot) {
    DrawStateFrame(graphics, slotRect, slot);
    if (m_title.empty()) {
        return;
    }
    RECT box = slotRect;
    if (!m_textRect.IsRectEmpty()) {
        box = m_textRect;
        ::OffsetRect(&box, slotRect.left, 0);
    }
    if (slot == kStatePressed) {
        ::OffsetRect(&box, 1, 1);
    }
    DrawControlText(*this, graphics, box, SlotTextColor(slot), m_title, 1, 4);
}

BOOL CImageButton::OnControlMouseMove(UINT flags, POINT point) {
    const BOOL inside = MButton::OnControlMouseMove(flags, point);
    if (m_manager == nullptr || (m_bubbleMode != 1 && m_bubbleMode != 2) || m_title.empty()) {
        return inside;
    }
    const bool over = PtInRect(point) != FALSE;
    if (over && !m_bubbleShown) {
        const POINT anchor = {m_bubbleMode == 1 ? m_rect.right : m_rect.left,
                              m_rect.top + m_rect.Height() / 2};
        m_manager->SetAirBladderMsg(m_title.c_str(), ToScreen(*this, anchor), 1, m_bubbleMode);
        m_manager->ShowAirBladder(1, reinterpret_cast<UINT_PTR>(this));
        m_bubbleShown = true;
    } else if (!over && m_bubbleShown) {
        m_manager->ShowAirBladder(0, reinterpret_cast<UINT_PTR>(this));
        m_bubbleShown = false;
    }
    return inside;
}

LongPressButton::LongPressButton(MObject* parent, UINT id, const RECT& rect, const wchar_t* title,
                                 int visible, int enabled)
    : MButton(parent, id, rect, title, visible, enabled) {}

BOOL LongPressButton::OnControlLButtonDown(UINT flags, POINT point) {
    const BOOL taken = MButton::OnControlLButtonDown(flags, point);
    if (taken) {
        m_held = true;
        m_lastRepeat = ButtonTicks();
        AddMTimer();
        SetRunTimer(1);
    }
    return taken;
}

BOOL LongPressButton::OnControlLButtonUp(UINT flags, POINT point) {
    m_held = false;
    SetRunTimer(0);
    return MButton::OnControlLButtonUp(flags, point);
}

int LongPressButton::OnControlTimer() {
    if (!m_held || m_state != kStatePressed) {
        return 0;
    }
    const ULONGLONG now = ButtonTicks();
    if (now - m_lastRepeat <= kRepeatMs) {
        return 0;
    }
    m_lastRepeat = now;
    SendMessageW(kNotifyLongPress, 0, 0);
    return 1;
}

MButton2::MButton2(MObject* parent, UINT id, const RECT& rect, int visible, int enabled)
    : MButton(parent, id, rect, L"", visible, enabled) {}

int MButton2::SetCheck(int check) {
    if (!m_enabled) {
        return m_check;
    }
    const int value = check != 0 ? 1 : 0;
    const bool changed = value != m_check;
    m_check = value;
    if (changed) {
        ResetGroupCheck();
    }
    UpdateControl(FALSE);
    return m_check;
}

void MButton2::SetControlCheck(int check) {
    m_check = check != 0 ? 1 : 0;
    UpdateControl(FALSE);
}

void MButton2::UncheckByGroup() {
    m_check = 0;
    m_state = m_enabled ? kStateNormal : kStateDisabled;
    UpdateControl(FALSE);
}

void MButton2::OnClicked() {
    m_check = 1;
    ResetGroupCheck();
    UpdateControl(FALSE);
    SendMessageW(kNotifyClicked, 0, 0);
}

MButton3::MButton3(MObject* parent, UINT id, const RECT& rect, int visible, int enabled)
    : MButton(parent, id, rect, L"", visible, enabled) {}

int MButton3::SetCheck(int check) {
    const int value = check != 0 ? 1 : 0;
    if (m_enabled && value != m_check) {
        m_check = value;
        UpdateControl(FALSE);
    }
    return m_check;
}

Argb MButton3::SlotTextColor(int slot) const {
    return slot == kStatePressed ? kCheckedDarkText : MButton::SlotTextColor(slot);
}

void MButton3::OnClicked() {
    m_check = m_check ? 0 : 1;
    UpdateControl(FALSE);
    SendMessageW(kNotifyClicked, 0, 0);
}

UpgradeButton::UpgradeButton(MObject* parent, UINT id, const RECT& rect, const wchar_t* title,
                             int visible, int enabled)
    : MButton(parent, id, rect, title, visible, enabled) {}

void UpgradeButton::SetUpgradeStatus(int status) {
    m_status = status;
    UpdateControl(TRUE);
}

DownloadButton::DownloadButton(MObject* parent, UINT id, const RECT& rect, const wchar_t* title,
                               int visible, int enabled)
    : MButton(parent, id, rect, title, visible, enabled) {}

void DownloadButton::SetDownloadProcess(int percent) {
    const int clamped = percent < 0 ? 0 : (percent > 100 ? 100 : percent);
    if (clamped == m_percent) {
        return;
    }
    m_percent = clamped;
    UpdateControl(TRUE);
}

void DownloadButton::DrawSlot(Gdiplus::Graphics& graphics, HDC hdc, const RECT& slotRect,
                              int slot) {
    if (m_percent <= 0) {
        MButton::DrawSlot(graphics, hdc, slotRect, slot);
        if (m_icon != nullptr && m_iconWidth > 0) {
            const int frame = slot < m_iconCount ? slot : 0;
            const int y = slotRect.top + (slotRect.bottom - slotRect.top - m_iconHeight) / 2;
            MRender::DrawImageExact(&graphics, m_icon,
                                    Gdiplus::Rect(slotRect.left + 8, y, m_iconWidth, m_iconHeight),
                                    frame * m_iconWidth, 0, m_iconWidth, m_iconHeight);
        }
        return;
    }
    // The progress: frame 0 is the track, frame 1 fills the first percent of the width.
    DrawStateFrame(graphics, slotRect, 0);
    RECT filled = slotRect;
    filled.right = slotRect.left + (slotRect.right - slotRect.left) * m_percent / 100;
    if (filled.right > filled.left && m_image != nullptr) {
        const Gdiplus::Region clip(Gdiplus::Rect(
            filled.left, filled.top, filled.right - filled.left, filled.bottom - filled.top));
        graphics.SetClip(&clip);
        DrawStateFrame(graphics, slotRect, 1);
        graphics.ResetClip();
    }
    wchar_t text[16];
    std::swprintf(text, 16, L"%d%%", m_percent);
    DrawControlText(*this, graphics, slotRect, m_textColor, text, 1, 4);
}

ORVO_REGISTER_CONTROL(MButton);
ORVO_REGISTER_CONTROL(CImageButton);
ORVO_REGISTER_CONTROL(LongPressButton);
ORVO_REGISTER_CONTROL(MButton2);
ORVO_REGISTER_CONTROL(MButton3);
ORVO_REGISTER_CONTROL(UpgradeButton);
ORVO_REGISTER_CONTROL(DownloadButton);

}  // namespace Orvo
