#include <cwchar>
#include <cwctype>

#include "button_paint.h"
#include "orvo/buttons.h"
#include "orvo/paint_manager.h"
#include "orvo/render.h"

namespace Orvo {
namespace {

constexpr Argb kWhite = Argb(0xFFFFFFFF);
constexpr Argb kDisabledOutline = Argb(0xFF808080);
// Window messages the paint manager reflects to the native child that sent them.
constexpr UINT kReflectedCtlColorEdit = WM_CTLCOLOREDIT + 0x2000;

void Outline(Gdiplus::Graphics& graphics, const RECT& slotRect, Argb argb) {
    Gdiplus::Pen pen{Gdiplus::Color(argb.Value()), 2.0f};
    // A 2-pixel line inset by one pixel: its centre lies two pixels inside the edge.
    graphics.DrawRectangle(&pen, static_cast<Gdiplus::REAL>(slotRect.left + 2),
                           static_cast<Gdiplus::REAL>(slotRect.top + 2),
                           static_cast<Gdiplus::REAL>(slotRect.right - slotRect.left - 4),
                           static_cast<Gdiplus::REAL>(slotRect.bottom - slotRect.top - 4));
}

}  // namespace

CColorButton::CColorButton(MObject* parent, UINT id, const RECT& rect, int visible, int enabled)
    : PushButtonBase(parent, id, rect, L"", visible, enabled) {}

void CColorButton::SetColor(ColorRef colour) {
    if (colour == m_color) {
        return;
    }
    m_color = colour;
    UpdateControl(TRUE);
}

int CColorButton::SetCheck(int check) {
    const int value = check != 0 ? 1 : 0;
    if (value != m_check) {
        m_check = value;
        ResetGroupCheck();
        UpdateControl(FALSE);
    }
    return m_check;
}

void CColorButton::SetControlCheck(int check) {
    m_check = check != 0 ? 1 : 0;
    UpdateControl(FALSE);
}

void CColorButton::UncheckByGroup() {
    m_check = 0;
    m_state = m_enabled ? kStateNormal : kStateDisabled;
    UpdateControl(FALSE);
}

BOOL CColorButton::OnControlLButtonDown(UINT flags, POINT point) {
    if (!PushButtonBase::OnControlLButtonDown(flags, point)) {
        return FALSE;
    }
    m_check = 1;
    ResetGroupCheck();
    UpdateControl(FALSE);
    SendMessageW(kNotifyPressed, 0, 0);
    return TRUE;
}

void CColorButton::DrawSlot(Gdiplus::Graphics& graphics, HDC, const RECT& slotRect, int slot) {
    const Gdiplus::Rect whole(slotRect.left, slotRect.top, slotRect.right - slotRect.left,
                              slotRect.bottom - slotRect.top);
    if (m_image != nullptr && m_imageWidth > 0) {
        MRender::DrawImageExact(&graphics, m_image, whole, 0, 0, m_imageWidth, m_imageHeight);
    } else {
        Gdiplus::SolidBrush swatch{Gdiplus::Color(m_color.ToArgb(255).Value())};
        graphics.FillRectangle(&swatch, whole);
    }
    if (slot == kStateHot || slot == kStatePressed) {
        Outline(graphics, slotRect, kWhite);
    } else if (slot == kStateDisabled) {
        Outline(graphics, slotRect, kDisabledOutline);
    }
}

ValueEditWnd::~ValueEditWnd() {
    DestroyWindow();
    if (m_brush != nullptr) {
        ::DeleteObject(m_brush);
    }
}

LRESULT ValueEditWnd::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case kReflectedCtlColorEdit: {
            if (m_brush == nullptr) {
                m_brush = ::CreateSolidBrush(kBackColor.Value());
            }
            const HDC dc = reinterpret_cast<HDC>(wParam);
            ::SetBkColor(dc, kBackColor.Value());
            ::SetTextColor(dc, ColorRef::FromRgb(0xB8, 0xD3, 0xEF).Value());
            return reinterpret_cast<LRESULT>(m_brush);
        }
        case WM_KEYDOWN:
            if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
                std::wstring text;
                GetWindowTextW(text);
                // Closing destroys this window: nothing of it is touched afterwards.
                if (m_owner != nullptr) {
                    m_owner->OnEditDone(text);
                }
                return 0;
            }
            break;
        case WM_CHAR:
            // Digits only (and editing keys): the card shows a number.
            if (wParam >= L' ' && !std::iswdigit(static_cast<wint_t>(wParam))) {
                return 0;
            }
            break;
        default:
            break;
    }
    return MWindow::OnWindowMessage(msg, wParam, lParam);
}

ColorButtonEx::ColorButtonEx(MObject* parent, UINT id, const RECT& rect, const wchar_t* title,
                             int visible, int enabled)
    : MControlFont(parent, id, rect, title, visible, enabled, 1) {
    m_textColor = Argb(0xFFB8D3EF);
    m_hAlign = 1;
}

ColorButtonEx::~ColorButtonEx() = default;

void ColorButtonEx::SetValue(int value) {
    wchar_t text[16];
    std::swprintf(text, 16, L"%d", value);
    SetTitle(text);
    if (IsEditShown()) {
        ::SetWindowTextW(m_editor->GetSafeHwnd(), text);
    }
    UpdateControl(TRUE);
}

int ColorButtonEx::GetValue() const {
    std::wstring text = m_title;
    if (IsEditShown()) {
        m_editor->GetWindowTextW(text);
    }
    return static_cast<int>(std::wcstol(text.c_str(), nullptr, 10));
}

void ColorButtonEx::SetColor(Argb argb) {
    if (argb == m_color) {
        return;
    }
    m_color = argb;
    UpdateControl(TRUE);
}

bool ColorButtonEx::IsEditShown() const {
    return m_editor != nullptr && m_editor->GetSafeHwnd() != nullptr;
}

HWND ColorButtonEx::GetEditWindow() const {
    return m_editor != nullptr ? m_editor->GetSafeHwnd() : nullptr;
}

void ColorButtonEx::ShowEdit() {
    if (m_manager == nullptr || m_manager->GetPaintWnd() == nullptr) {
        return;
    }
    if (!IsEditShown()) {
        m_editor = std::make_unique<ValueEditWnd>(this);
        const CRect box(m_rect.left + 4, m_rect.top + (m_rect.Height() - 20) / 2, m_rect.right - 4,
                        m_rect.top + (m_rect.Height() + 20) / 2);
        if (m_editor->Create(m_manager->GetPaintWnd(), m_title.c_str(),
                             WS_CHILD | WS_VISIBLE | ES_CENTER | ES_AUTOHSCROLL | ES_NUMBER, 0,
                             box) == nullptr) {
            m_editor.reset();
            return;
        }
        ::SendMessageW(m_editor->GetSafeHwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(GetGDIFont()),
                       TRUE);
    }
    ::SetFocus(m_editor->GetSafeHwnd());
    ::SendMessageW(m_editor->GetSafeHwnd(), EM_SETSEL, 0, -1);
}

void ColorButtonEx::HideEdit() {
    if (!IsEditShown()) {
        return;
    }
    std::wstring text;
    m_editor->GetWindowTextW(text);
    OnEditDone(text);
}

void ColorButtonEx::OnEditDone(const std::wstring& text) {
    if (!text.empty()) {
        SetTitle(std::to_wstring(std::wcstol(text.c_str(), nullptr, 10)).c_str());
    }
    // The editor may be the caller: its window goes now, the object at the next show.
    if (m_editor != nullptr && m_editor->GetSafeHwnd() != nullptr) {
        m_editor->DestroyWindow();
    }
    UpdateControl(TRUE);
}

int ColorButtonEx::SetCheck(int check) {
    const int value = check != 0 ? 1 : 0;
    if (value != m_check) {
        m_check = value;
        ResetGroupCheck();
        UpdateControl(TRUE);
    }
    return m_check;
}

void ColorButtonEx::SetControlCheck(int check) {
    m_check = check != 0 ? 1 : 0;
    UpdateControl(TRUE);
}

void ColorButtonEx::UncheckByGroup() {
    m_check = 0;
    UpdateControl(TRUE);
}

BOOL ColorButtonEx::OnControlMouseMove(UINT, POINT point) {
    if (!m_enabled) {
        return FALSE;
    }
    const int state = PtInRect(point) ? kStateHot : kStateNormal;
    if (state != m_state) {
        m_state = state;
        UpdateControl(TRUE);
    }
    return state == kStateHot;
}

BOOL ColorButtonEx::OnControlLButtonDown(UINT, POINT point) {
    if (!m_enabled || !PtInRect(point)) {
        return FALSE;
    }
    m_state = kStatePressed;
    if (!m_check) {
        m_check = 1;
        ResetGroupCheck();
    }
    UpdateControl(TRUE);
    SendMessageW(kNotifyPressed, 0, 0);
    return TRUE;
}

BOOL ColorButtonEx::OnControlLButtonUp(UINT, POINT point) {
    if (!m_enabled) {
        return FALSE;
    }
    const bool clicked = m_state == kStatePressed && PtInRect(point);
    m_state = PtInRect(point) ? kStateHot : kStateNormal;
    UpdateControl(TRUE);
    if (clicked) {
        SendMessageW(kNotifyClicked, 0, 0);
        if (m_editable) {
            ShowEdit();
        }
    }
    return clicked ? TRUE : FALSE;
}

void ColorButtonEx::DrawControl(HDC hdc, const RECT&) {
    DrawCachedSlots(
        *this, hdc, 1, 0, [this](Gdiplus::Graphics& graphics, HDC, const RECT& slotRect, int) {
            const int width = slotRect.right - slotRect.left;
            const int height = slotRect.bottom - slotRect.top;
            MRender::DrawRoundRectange(&graphics, slotRect.left, slotRect.top, width, height, 6,
                                       m_color);
            if (m_check || m_state != kStateNormal) {
                const Argb pen = m_check ? kWhite : Argb(0x80FFFFFF);
                MRender::DrawRoundRectange(&graphics, slotRect.left + 1, slotRect.top + 1,
                                           width - 2, height - 2, 6, pen, 2, Argb(0));
            }
            DrawControlText(*this, graphics, slotRect, m_check ? m_checkedTextColor : m_textColor,
                            m_title, 1, 4);
        });
}

CSwitchButton::CSwitchButton(MObject* parent, UINT id, const RECT& rect, int visible, int enabled)
    : PushButtonBase(parent, id, rect, L"", visible, enabled) {}

int CSwitchButton::SetImage(const wchar_t* onFile, const wchar_t* offFile, int count) {
    if (m_manager == nullptr || onFile == nullptr || offFile == nullptr || count <= 0) {
        return 0;
    }
    ImgResInfo* on = m_manager->AddImgResInfo(onFile, count);
    ImgResInfo* off = m_manager->AddImgResInfo(offFile, count);
    if (on == nullptr || off == nullptr) {
        return 0;
    }
    m_onImage = on->image.get();
    m_offImage = off->image.get();
    m_frameWidth = on->frameWidth;
    m_frameHeight = on->frameHeight;
    m_frameCount = count;
    UpdateControl(TRUE);
    return 1;
}

void CSwitchButton::SetCheck(int check) {
    const int value = check != 0 ? 1 : 0;
    if (value == m_check) {
        return;
    }
    m_check = value;
    m_state = m_enabled ? kStateNormal : kStateDisabled;
    UpdateControl(TRUE);
}

BOOL CSwitchButton::OnControlKeyDown(UINT, UINT, UINT) {
    return FALSE;
}

void CSwitchButton::OnClicked() {
    m_check = m_check ? 0 : 1;
    UpdateControl(TRUE);
    SendMessageW(kNotifyClicked, 0, m_check);
}

void CSwitchButton::DrawSlot(Gdiplus::Graphics& graphics, HDC, const RECT& slotRect, int slot) {
    Gdiplus::Image* image = m_check ? m_onImage : m_offImage;
    if (image == nullptr || m_frameWidth <= 0) {
        return;
    }
    const int frame = slot < m_frameCount ? slot : m_frameCount - 1;
    MRender::DrawImageExact(
        &graphics, image,
        Gdiplus::Rect(slotRect.left, slotRect.top, slotRect.right - slotRect.left,
                      slotRect.bottom - slotRect.top),
        frame * m_frameWidth, 0, m_frameWidth, m_frameHeight);
}

ORVO_REGISTER_CONTROL(CColorButton);
ORVO_REGISTER_CONTROL(ColorButtonEx);
ORVO_REGISTER_CONTROL(CSwitchButton);

}  // namespace Orvo
