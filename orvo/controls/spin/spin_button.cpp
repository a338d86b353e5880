#include "orvo/spin_button.h"

#include <cwchar>
#include <memory>
#include <string>

#include "../cached_drawing.h"
#include "orvo/buttons.h"
#include "orvo/paint_manager.h"
#include "orvo/render.h"

namespace Orvo {

ORVO_REGISTER_CONTROL(MSpinButton);
ORVO_REGISTER_CONTROL(CSpinButton);

namespace {

// The number's field: light, so the spinner's near-black figures read on it.
constexpr Argb kFieldFill(0xFFE6EBF1);
constexpr Argb kFieldLine(0xFF2A303A);
constexpr Argb kDisabledFill(0xFF5A616C);
constexpr Argb kDisabledText(0xFF2A303A);
constexpr int kFieldRadius = 4;

int DigitOf(UINT vk) {
    if (vk >= '0' && vk <= '9') {
        return static_cast<int>(vk - '0');
    }
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) {
        return static_cast<int>(vk - VK_NUMPAD0);
    }
    return -1;
}

}  // namespace

MSpinButton::MSpinButton(MObject* parent, UINT id, const RECT& rect, int visible, int enabled)
    : MPanel(parent, id, rect, visible) {
    m_enabled = enabled != 0;
    SetTextColor(Argb(0xFE050505));
    SetAlignment(1, 4);
    m_up =
        AddControl(std::make_unique<CImageButton>(this, kUpButton, CRect(), L"", visible, enabled));
    m_down = AddControl(
        std::make_unique<CImageButton>(this, kDownButton, CRect(), L"", visible, enabled));
    PlaceButtons();
}

void MSpinButton::InitControl(PaintManager* manager) {
    MPanel::InitControl(manager);
    PassManagerToChildren(manager);
    static_cast<CImageButton*>(m_up)->SetImage(L"img_spin_up.png", 4);
    static_cast<CImageButton*>(m_down)->SetImage(L"img_spin_down.png", 4);
}

void MSpinButton::SetCurValue(int value) {
    if (value != m_value) {
        m_value = value;
        UpdateControl(TRUE);
    }
}

void MSpinButton::SetRange(int minimum, int maximum) {
    m_minimum = minimum <= maximum ? minimum : maximum;
    m_maximum = minimum <= maximum ? maximum : minimum;
    UpdateControl(TRUE);
}

void MSpinButton::ChangeTo(int value) {
    if (value > m_maximum) {
        value = m_minimum;
    } else if (value < m_minimum) {
        value = m_maximum;
    }
    m_value = value;
    UpdateControl(TRUE);
    SendMessageW(kNotifySpinChanged, 0, 0);
}

long MSpinButton::OnMessage(UINT controlId, UINT code, WPARAM wParam, LPARAM lParam) {
    if (code == kNotifyClicked && (controlId == kUpButton || controlId == kDownButton)) {
        ChangeTo(controlId == kUpButton ? m_value + 1 : m_value - 1);
        return 1;
    }
    return MPanel::OnMessage(controlId, code, wParam, lParam);
}

BOOL MSpinButton::OnControlKeyDown(UINT vk, UINT, UINT) {
    if (!m_enabled) {
        return FALSE;
    }
    if (vk == VK_UP || vk == VK_DOWN) {
        ChangeTo(vk == VK_UP ? m_value + 1 : m_value - 1);
        return TRUE;
    }
    const int digit = DigitOf(vk);
    if (digit < 0) {
        return FALSE;
    }
    const int appended = m_value * 10 + digit;
    ChangeTo(m_value >= 0 && std::to_wstring(appended).size() <= kMaxDigits ? appended : digit);
    return TRUE;
}

void MSpinButton::SetControlRect(const CRect& rect) {
    MPanel::SetControlRect(rect);
    PlaceButtons();
}

void MSpinButton::PlaceButtons() {
    const int middle = m_rect.top + m_rect.Height() / 2;
    const int left = m_rect.right - kButtonWidth;
    if (m_up != nullptr) {
        m_up->SetRect(CRect(left, m_rect.top, m_rect.right, middle));
    }
    if (m_down != nullptr) {
        m_down->SetRect(CRect(left, middle, m_rect.right, m_rect.bottom));
    }
}

void MSpinButton::DrawControl(HDC hdc, const RECT&) {
    CachedDrawing::Draw(*this, hdc, [this](HDC cache) { Paint(cache); });
}

void MSpinButton::Paint(HDC cache) {
    const int width = m_rect.Width() - kButtonWidth;
    const int height = m_rect.Height();
    Gdiplus::Graphics graphics(cache);
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    graphics.SetTextRenderingHint(static_cast<Gdiplus::TextRenderingHint>(m_renderingHint));
    if (m_image != nullptr && m_imageWidth > 0) {
        MRender::DrawImageFrame(&graphics, m_image, RECT{0, 0, width, height}, 0, 0, m_imageWidth,
                                m_imageHeight, kFieldRadius);
    } else {
        MRender::DrawRoundRectange(&graphics, 0, 0, width - 1, height - 1, kFieldRadius, kFieldLine,
                                   1, m_enabled ? kFieldFill : kDisabledFill);
    }
    if (Gdiplus::FontFamily* family = GetFontFamily(m_fontName.c_str())) {
        Gdiplus::Font font(family, static_cast<Gdiplus::REAL>(m_fontSize), m_fontStyle,
                           Gdiplus::UnitPixel);
        Gdiplus::StringFormat format;
        format.SetAlignment(Gdiplus::StringAlignmentCenter);
        format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
        const std::wstring text = std::to_wstring(m_value);
        Gdiplus::SolidBrush disabled{Gdiplus::Color(kDisabledText.Value())};
        graphics.DrawString(text.c_str(), -1, &font,
                            Gdiplus::RectF(0, 0, static_cast<Gdiplus::REAL>(width),
                                           static_cast<Gdiplus::REAL>(height)),
                            &format, m_enabled ? m_textBrush.get() : &disabled);
    }
}

CSpinButton::CSpinButton(MObject* parent, UINT id, const RECT& rect, int visible, int enabled)
    : MRichEdit(parent, id, rect, L"0", visible, enabled) {
    SetTextColor(Argb(0xFE050505));
    // The text keeps clear of the buttons.
    m_inset.left = 6;
    m_inset.right = kButtonWidth + 4;
    m_up =
        AddControl(std::make_unique<CImageButton>(this, kUpButton, CRect(), L"", visible, enabled));
    m_down = AddControl(
        std::make_unique<CImageButton>(this, kDownButton, CRect(), L"", visible, enabled));
    PlaceButtons();
}

void CSpinButton::InitControl(PaintManager* manager) {
    MRichEdit::InitControl(manager);
    PassManagerToChildren(manager);
    static_cast<CImageButton*>(m_up)->SetImage(L"img_spin_up.png", 4);
    static_cast<CImageButton*>(m_down)->SetImage(L"img_spin_down.png", 4);
    SetLimitText(11);
    ShowValue();
}

int CSpinButton::Clamp(int value) const {
    return value < m_minimum ? m_minimum : (value > m_maximum ? m_maximum : value);
}

void CSpinButton::ShowValue() {
    const std::wstring text = std::to_wstring(m_value);
    if (GetText() != text) {
        SetText(text.c_str());
    }
    UpdateControl(TRUE);
}

void CSpinButton::SetCurValue(int value) {
    m_value = Clamp(value);
    ShowValue();
}

int CSpinButton::GetCurValue() const {
    const std::wstring text = GetText();
    if (text.empty() || text.size() > 11) {
        return m_value;
    }
    wchar_t* end = nullptr;
    const long long typed = std::wcstoll(text.c_str(), &end, 10);
    if (end == text.c_str() || *end != L'\0') {
        return m_value;
    }
    if (typed < m_minimum) {
        return m_minimum;
    }
    return typed > m_maximum ? m_maximum : static_cast<int>(typed);
}

void CSpinButton::SetRange(int minimum, int maximum) {
    m_minimum = minimum <= maximum ? minimum : maximum;
    m_maximum = minimum <= maximum ? maximum : minimum;
    m_value = Clamp(m_value);
    ShowValue();
}

void CSpinButton::SetControlFocus(int focus) {
    if (focus == 0) {
        m_value = GetCurValue();
    }
    MRichEdit::SetControlFocus(focus);
    if (focus == 0) {
        ShowValue();
    }
}

long CSpinButton::OnMessage(UINT controlId, UINT code, WPARAM wParam, LPARAM lParam) {
    if (code == kNotifyClicked && (controlId == kUpButton || controlId == kDownButton)) {
        int value = GetCurValue() + (controlId == kUpButton ? 1 : -1);
        if (value > m_maximum) {
            value = m_minimum;
        } else if (value < m_minimum) {
            value = m_maximum;
        }
        m_value = value;
        ShowValue();
        SendMessageW(kNotifySpinChanged, 0, 0);
        return 1;
    }
    return MRichEdit::OnMessage(controlId, code, wParam, lParam);
}

void CSpinButton::SetControlRect(const CRect& rect) {
    MRichEdit::SetControlRect(rect);
    PlaceButtons();
}

void CSpinButton::PlaceButtons() {
    const int middle = m_rect.top + m_rect.Height() / 2;
    const int left = m_rect.right - kButtonWidth;
    if (m_up != nullptr) {
        m_up->SetRect(CRect(left, m_rect.top, m_rect.right, middle));
    }
    if (m_down != nullptr) {
        m_down->SetRect(CRect(left, middle, m_rect.right, m_rect.bottom));
    }
}

void CSpinButton::DrawBackground(HDC hdc) {
    Gdiplus::Graphics graphics(hdc);
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    MRender::DrawRoundRectange(&graphics, m_rect.left, m_rect.top,
                               m_rect.Width() - kButtonWidth - 1, m_rect.Height() - 1, kFieldRadius,
                               kFieldLine, 1, m_enabled ? kFieldFill : kDisabledFill);
}

}  // namespace Orvo
