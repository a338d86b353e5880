#include "orvo/edit.h"

#include "orvo/image_strip.h"
#include "orvo/paint_manager.h"
#include "orvo/render.h"
#include "text_format.h"

namespace Orvo {

ORVO_REGISTER_CONTROL(MEdit);

namespace {

constexpr ColorRef kTipColor = ColorRef(0xB4B4B4);
constexpr ColorRef kDisabledTextColor = ColorRef(0x808080);
constexpr int kTextInset = 6;
constexpr int kIconInset = 9;

}  // namespace

CEditWnd::CEditWnd(MEdit* owner, InlineEditHost* host) : InlineEdit(owner, host), m_edit(owner) {}

bool CEditWnd::AcceptsChar(wchar_t) {
    return m_edit == nullptr || m_edit->GetCharMessage() != 0;
}

MEdit::MEdit(MObject* parent, UINT id, const RECT& rect, const wchar_t* tipText, int visible,
             int enabled)
    : MControlFont(parent, id, rect, L"", visible, enabled, 1),
      m_tipText(tipText != nullptr ? tipText : L"") {
    m_state = enabled ? kNormal : kDisabled;
    SetTextColor(Argb(0xFE050505));
}

MEdit::~MEdit() {
    // The edit window goes before the control it writes into.
    m_editWindow.reset();
}

ColorRef MEdit::GetEditTextColor() const {
    return m_textColor.ToColorRef();
}

CRect MEdit::ComputedTextRect() const {
    CRect text(m_rect.left + kTextInset, m_rect.top, m_rect.right - kTextInset, m_rect.bottom);
    if (m_multiLine) {
        text.top = m_rect.top + 5;
        text.bottom = m_rect.bottom - 5;
    } else {
        const int height = m_fontSize == 10 ? 14 : m_fontSize == 12 ? 18 : m_fontSize + 6;
        text.top = m_rect.top + (m_rect.Height() - height) / 2;
        text.bottom = text.top + height;
    }
    if (m_icon != nullptr) {
        text.right =
            m_rect.right - kTextInset - SkinFrameWidth(m_icon.get(), m_iconCount) - kTextInset;
    }
    return text;
}

CRect MEdit::GetTextRect() const {
    return m_textRectSet ? m_textRect : ComputedTextRect();
}

void MEdit::SetTextRect(const RECT& rect) {
    m_textRect = rect;
    m_textRectSet = true;
    UpdateControl(TRUE);
}

CRect MEdit::GetIconRect() const {
    if (m_icon == nullptr) {
        return CRect();
    }
    const int width = SkinFrameWidth(m_icon.get(), m_iconCount);
    const int height = static_cast<int>(m_icon->GetHeight());
    const int right = m_rect.right - kIconInset;
    const int top = m_rect.top + (m_rect.Height() - height) / 2;
    return CRect(right - width, top, right, top + height);
}

int MEdit::SetIconImage(const wchar_t* fileName, int count) {
    std::unique_ptr<Gdiplus::Image> icon = LoadSkinImage(fileName);
    if (icon == nullptr) {
        return 0;
    }
    m_icon = std::move(icon);
    m_iconCount = count > 0 ? count : 1;
    m_iconState = 0;
    UpdateControl(TRUE);
    return 1;
}

void MEdit::SetPassWordChar(wchar_t character) {
    m_passwordChar = character;
    m_passwordMode = true;
}

void MEdit::SetTipInfo(const wchar_t* text) {
    m_tipText = text != nullptr ? text : L"";
    UpdateControl(TRUE);
}

void MEdit::SetEditText(const wchar_t* text) {
    const std::wstring value = text != nullptr ? text : L"";
    if (value != m_title) {
        m_title = value;
    }
}

std::wstring MEdit::GetEditText() const {
    if (m_editWindow != nullptr && m_editWindow->IsShown()) {
        return m_editWindow->GetText();
    }
    return m_title;
}

void MEdit::SetControlTitle(const wchar_t* text) {
    const std::wstring value = text != nullptr ? text : L"";
    if (value == m_title) {
        return;
    }
    m_title = value;
    if (m_editWindow != nullptr && m_editWindow->GetSafeHwnd() != nullptr) {
        m_editWindow->SetText(m_title);
    }
    UpdateControl(TRUE);
}

std::wstring MEdit::GetControlTitle() const {
    // Reading the title commits an open edit first, as the caller expects the typed text.
    const_cast<MEdit*>(this)->HideEdit();
    return m_title;
}

int MEdit::IsEditFocused() const {
    return m_editWindow != nullptr && m_editWindow->IsShown() &&
                   ::GetFocus() == m_editWindow->GetSafeHwnd()
               ? 1
               : 0;
}

void MEdit::SetEditWindow(std::unique_ptr<CEditWnd> window) {
    m_editWindow = std::move(window);
}

void MEdit::SetState(int state) {
    if (state != m_state) {
        m_state = state;
        UpdateControl(TRUE);
    }
}

void MEdit::ShowEdit() {
    if (m_readOnly || !m_enabled || m_manager == nullptr) {
        return;
    }
    if (m_editWindow != nullptr && m_editWindow->IsShown()) {
        return;
    }
    const CRect textRect = GetTextRect();
    if (m_editWindow == nullptr) {
        m_editWindow = std::make_unique<CEditWnd>(this, this);
    }
    m_editWindow->SetMaxLength(m_limitText);
    m_editWindow->SetReadOnly(m_readOnly);
    m_editWindow->SetNumberOnly(m_numberOnly);
    m_editWindow->SetPassword(m_passwordMode, m_passwordChar);
    m_editWindow->SetColors(m_editBackColor, GetEditTextColor());
    if (m_editWindow->GetSafeHwnd() == nullptr) {
        const DWORD style = m_multiLine ? (ES_MULTILINE | ES_AUTOVSCROLL) : ES_AUTOHSCROLL;
        if (!m_editWindow->CreateOver(textRect, style, GetGDIFont())) {
            return;
        }
    }
    m_titleAtOpen = m_title;
    m_editWindow->Open(textRect, m_title, false);
    m_focused = 1;
    SendMessageW(kNotifyEditOpened);
}

void MEdit::HideEdit() {
    m_focused = 0;
    if (m_editWindow == nullptr || m_editWindow->GetSafeHwnd() == nullptr ||
        !m_editWindow->IsShown()) {
        return;
    }
    const std::wstring text = m_editWindow->GetText();
    m_editWindow->Close();
    if (text != m_title) {
        m_title = text;
        UpdateControl(TRUE);
    }
    SendMessageW(kNotifyEditClosed);
}

void MEdit::OnInlineEditEnd(bool keep) {
    if (!keep && m_editWindow != nullptr) {
        // Typing has moved the title along with the text: both go back.
        m_editWindow->SetText(m_titleAtOpen);
        m_title = m_titleAtOpen;
    }
    HideEdit();
    SetState(m_enabled ? kNormal : kDisabled);
}

void MEdit::OnInlineEditFocusLost() {
    HideEdit();
    SetState(m_enabled ? kNormal : kDisabled);
}

void MEdit::SetControlRect(const CRect& rect) {
    // The edit window is made for one place: what was typed is kept, the window rebuilt.
    HideEdit();
    m_editWindow.reset();
    MControlFont::SetControlRect(rect);
}

void MEdit::SetControlFocus(int focus) {
    if (!m_enabled) {
        return;
    }
    if (focus) {
        SetState(kEditing);
        ShowEdit();
    } else {
        HideEdit();
        SetState(kNormal);
    }
}

void MEdit::SetControlEnabled(int enabled) {
    if (!enabled) {
        HideEdit();
    }
    MControlFont::SetControlEnabled(enabled);
    SetState(enabled ? kNormal : kDisabled);
}

void MEdit::SetControlVisible(int visible) {
    if (!visible) {
        HideEdit();
    }
    MControlFont::SetControlVisible(visible);
}

BOOL MEdit::OnControlMouseMove(UINT, POINT point) {
    const bool inside = PtInRect(point) != FALSE;
    const bool editing = m_editWindow != nullptr && m_editWindow->IsShown();
    if (!m_enabled || editing) {
        return inside;
    }
    const int iconState = inside && GetIconRect().PtInRect(point) ? 1 : 0;
    if (iconState != m_iconState) {
        m_iconState = iconState;
        UpdateControl(FALSE);
    }
    SetState(inside ? kHovered : kNormal);
    return inside;
}

BOOL MEdit::OnControlLButtonDown(UINT, POINT point) {
    if (!m_enabled || !PtInRect(point)) {
        return FALSE;
    }
    if (GetIconRect().PtInRect(point)) {
        m_iconState = 2;
        HideEdit();
        UpdateControl(FALSE);
        SendMessageW(kNotifySecondary);
        return TRUE;
    }
    SetState(kEditing);
    ShowEdit();
    SendMessageW(kNotifyPressed);
    return TRUE;
}

BOOL MEdit::OnControlLButtonUp(UINT, POINT point) {
    if (!PtInRect(point)) {
        return FALSE;
    }
    if (GetIconRect().PtInRect(point)) {
        m_iconState = 1;
        HideEdit();
        UpdateControl(FALSE);
        SendMessageW(kNotifySideImageClick);
    }
    const bool wasPressed = m_state == kEditing;
    SetState(m_enabled ? kHovered : kDisabled);
    if (wasPressed) {
        SendMessageW(kNotifyClicked);
    }
    return TRUE;
}

BOOL MEdit::OnControlKeyDown(UINT vk, UINT repeat, UINT modifiers) {
    if (vk == VK_SPACE && m_focused) {
        SendMessageW(kNotifyPressed);
        SendMessageW(kNotifyClicked);
        return TRUE;
    }
    return MControlFont::OnControlKeyDown(vk, repeat, modifiers);
}

void MEdit::DrawControl(HDC hdc, const RECT&) {
    const int width = m_rect.Width();
    const int height = m_rect.Height();
    if (width <= 0 || height <= 0) {
        return;
    }
    if (m_drawnState != m_state) {
        m_cacheValid = 0;
    }
    if (!m_cacheValid) {
        HDC cache = UpdateMemDC(hdc, width, height);
        if (cache == nullptr) {
            return;
        }
        m_drawnState = m_state;
        CopyBackground(cache, hdc, m_rect);
        if (m_image != nullptr) {
            Gdiplus::Graphics graphics(cache);
            const StripRect source =
                StripFrameRect(static_cast<int>(m_image->GetWidth()),
                               static_cast<int>(m_image->GetHeight()), m_imageCount, m_state);
            MRender::DrawImageFrame(&graphics, m_image, CRect(0, 0, width, height), source.x,
                                    source.y, source.width, source.height, m_corner);
        }
        const bool tip = m_title.empty();
        std::wstring text = tip ? m_tipText : m_title;
        if (!tip && m_passwordMode) {
            text.assign(text.size(), m_passwordChar);
        }
        ColorRef colour = tip ? kTipColor : GetEditTextColor();
        if (m_state == kDisabled) {
            colour = kDisabledTextColor;
        }
        CRect box = GetTextRect();
        box.OffsetRect(-m_rect.left, -m_rect.top);
        if (!text.empty()) {
            if (m_hAlign == 1) {
                MRender::DrawTextW(
                    cache, box, text.c_str(), colour, GetGDIFont(),
                    DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
            } else if (m_multiLine) {
                RECT measured = box;
                {
                    ScopedSelectObject font(cache, GetGDIFont());
                    ::DrawTextW(cache, text.c_str(), -1, &measured,
                                DT_WORDBREAK | DT_EDITCONTROL | DT_CALCRECT | DT_NOPREFIX);
                }
                const int textHeight = measured.bottom - measured.top;
                if (textHeight < box.Height()) {
                    box.top += (box.Height() - textHeight) / 2;
                }
                MRender::DrawTextW(cache, box, text.c_str(), colour, GetGDIFont(),
                                   DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
            } else {
                MRender::DrawTextW(
                    cache, box, text.c_str(), colour, GetGDIFont(),
                    DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
            }
        }
    }
    ::BitBlt(hdc, m_rect.left, m_rect.top, width, height, GetMemDC(), 0, 0, SRCCOPY);
    if (m_icon != nullptr) {
        Gdiplus::Graphics graphics(hdc);
        const CRect icon = GetIconRect();
        DrawStripFrame(graphics, m_icon.get(), m_iconCount, m_iconState,
                       Gdiplus::Rect(icon.left, icon.top, icon.Width(), icon.Height()));
    }
}

}  // namespace Orvo
