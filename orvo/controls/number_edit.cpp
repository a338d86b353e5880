#include "orvo/number_edit.h"

#include <algorithm>
#include <cwchar>
#include <cwctype>

#include "orvo/buttons.h"
#include "orvo/image_strip.h"
#include "orvo/manager.h"
#include "orvo/paint_manager.h"
#include "orvo/render.h"

namespace Orvo {

ORVO_REGISTER_CONTROL(NumberEdit);
ORVO_REGISTER_CONTROL(NumberEdit2);

namespace {

// The leading integer of a title; 0 when it has none.
int ValueOf(const std::wstring& text) {
    long long value = 0;
    size_t i = 0;
    while (i < text.size() && std::iswspace(text[i])) {
        ++i;
    }
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        value = std::min<long long>(value * 10 + (text[i] - L'0'), 1000000);
    }
    return static_cast<int>(value);
}

}  // namespace

CNumberEditWnd::CNumberEditWnd(NumberEditBase* owner, InlineEditHost* host)
    : InlineEdit(owner, host) {
    SetMaxLength(NumberEditBase::kMaxTypedLength);
}

NumberEditBase::NumberEditBase(MObject* parent, UINT id, const RECT& rect, int visible, int maximum,
                               ColorRef editBackground)
    : MControlFont(parent, id, rect, L"", visible, 1, 1),
      m_maximum(maximum),
      m_editBackColor(editBackground) {
    SetTextColor(Argb(0xFF050505));
    SetAlignment(1, 4);
}

NumberEditBase::~NumberEditBase() {
    // The edit window goes before the control it writes into.
    m_editWindow.reset();
}

void NumberEditBase::InitControl(PaintManager* manager) {
    MControlFont::InitControl(manager);
    if (m_buttonsMade || manager == nullptr) {
        return;
    }
    m_buttonsMade = true;
    auto up = std::make_unique<CImageButton>(this, kUpButton, UpPlace(m_rect), L"", 1, 1);
    auto down = std::make_unique<CImageButton>(this, kDownButton, DownPlace(m_rect), L"", 1, 1);
    MControl* upButton = AddControl(std::move(up));
    MControl* downButton = AddControl(std::move(down));
    static_cast<CImageButton*>(upButton)->SetImage(UpImage(), 4);
    static_cast<CImageButton*>(downButton)->SetImage(DownImage(), 4);
}

void NumberEditBase::LayoutButtons() {
    if (MControl* up = GetControl(kUpButton)) {
        up->SetRect(UpPlace(m_rect));
    }
    if (MControl* down = GetControl(kDownButton)) {
        down->SetRect(DownPlace(m_rect));
    }
}

void NumberEditBase::SetControlRect(const CRect& rect) {
    HideEdit();
    m_editWindow.reset();
    MControlFont::SetControlRect(rect);
    LayoutButtons();
}

CRect NumberEditBase::GetTextRect() const {
    return m_textRectSet ? m_textRect : DefaultTextRect();
}

void NumberEditBase::SetTextRect(const RECT& rect) {
    m_textRect = rect;
    m_textRectSet = true;
    UpdateControl(true);
}

void NumberEditBase::SetEditFont() {
    SetFont(Manager::GetFontName().c_str(), Manager::GetFontWidth(), 0);
    UpdateControl(true);
}

void NumberEditBase::SetEditFont(const wchar_t* face, int size, bool bold, bool italic,
                                 bool underline) {
    SetFont(face, size,
            (bold ? kFontBold : 0) | (italic ? kFontItalic : 0) | (underline ? kFontUnderline : 0));
    UpdateControl(true);
}

HFONT NumberEditBase::GetDefaultFont() {
    return GetGDIFont();
}

void NumberEditBase::SetEditWindow(std::unique_ptr<CNumberEditWnd> window) {
    m_editWindow = std::move(window);
}

void NumberEditBase::SetEditText(const wchar_t* text) {
    m_title = text != nullptr ? text : L"";
}

std::wstring NumberEditBase::GetEditText() const {
    if (m_editWindow != nullptr && m_editWindow->IsShown()) {
        return m_editWindow->GetText();
    }
    return m_title;
}

void NumberEditBase::Step(int delta) {
    const int value = std::clamp(ValueOf(m_title) + delta, 1, m_maximum);
    m_lastStep = value;
    const std::wstring text = std::to_wstring(value);
    if (text == m_title) {
        return;
    }
    m_title = text;
    if (m_editWindow != nullptr && m_editWindow->IsShown()) {
        m_editWindow->SetText(m_title);
    }
    SendMessageW(kNotifyClicked, static_cast<WPARAM>(value));
    UpdateControl(true);
}

long NumberEditBase::OnBaseMessage(UINT controlId, UINT code, WPARAM wParam, LPARAM lParam) {
    if (code == kNotifyClicked && (controlId == kUpButton || controlId == kDownButton)) {
        Step(controlId == kUpButton ? 1 : -1);
        return 1;
    }
    return m_parent != nullptr ? m_parent->OnBaseMessage(controlId, code, wParam, lParam) : 0;
}

void NumberEditBase::ShowEdit() {
    if (!m_enabled || m_manager == nullptr) {
        return;
    }
    if (m_editWindow != nullptr && m_editWindow->IsShown()) {
        return;
    }
    if (m_editWindow == nullptr) {
        m_editWindow = MakeEditWindow();
    }
    m_editWindow->SetColors(m_editBackColor, GetEditTextColor());
    const CRect place = GetTextRect();
    if (m_editWindow->GetSafeHwnd() == nullptr &&
        !m_editWindow->CreateOver(place, ES_CENTER | ES_AUTOHSCROLL, GetGDIFont())) {
        return;
    }
    m_titleAtOpen = m_title;
    m_editWindow->Open(place, m_title, true);
    m_focused = true;
    SendMessageW(kNotifyEditOpened);
}

void NumberEditBase::HideEdit() {
    m_focused = false;
    if (m_editWindow == nullptr || !m_editWindow->IsShown()) {
        return;
    }
    const std::wstring text = m_editWindow->GetText();
    m_editWindow->Close();
    if (text != m_title) {
        m_title = text;
    }
    UpdateControl(true);
    SendMessageW(kNotifyEditClosed);
}

void NumberEditBase::OnInlineEditEnd(bool keep) {
    if (!keep && m_editWindow != nullptr) {
        m_editWindow->SetText(m_titleAtOpen);
        m_title = m_titleAtOpen;
    }
    HideEdit();
}

void NumberEditBase::OnInlineEditFocusLost() {
    HideEdit();
}

void NumberEditBase::SetControlFocus(int focus) {
    if (!focus) {
        HideEdit();
    }
}

BOOL NumberEditBase::OnControlLButtonDown(UINT, POINT point) {
    if (!m_enabled || !GetTextRect().PtInRect(point)) {
        return FALSE;
    }
    ShowEdit();
    return TRUE;
}

void NumberEditBase::DrawControl(HDC hdc, const RECT&) {
    const int width = m_rect.Width();
    const int height = m_rect.Height();
    if (width <= 0 || height <= 0) {
        return;
    }
    if (!m_cacheValid) {
        HDC cache = UpdateMemDC(hdc, width, height);
        if (cache == nullptr) {
            return;
        }
        ::BitBlt(cache, 0, 0, width, height, hdc, m_rect.left, m_rect.top, SRCCOPY);
        if (m_image != nullptr) {
            Gdiplus::Graphics graphics(cache);
            const StripRect source = StripFrameRect(static_cast<int>(m_image->GetWidth()),
                                                    static_cast<int>(m_image->GetHeight()),
                                                    m_imageCount, m_enabled ? 0 : 3);
            MRender::DrawImageFrame(&graphics, m_image, CRect(0, 0, width, height), source.x,
                                    source.y, source.width, source.height, 2);
        }
        CRect box = GetTextRect();
        box.OffsetRect(-m_rect.left, -m_rect.top);
        MRender::DrawTextW(cache, box, m_title.c_str(), GetEditTextColor(), GetGDIFont(),
                           DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    ::BitBlt(hdc, m_rect.left, m_rect.top, width, height, GetMemDC(), 0, 0, SRCCOPY);
}

NumberEdit::NumberEdit(MObject* parent, UINT id, const RECT& rect, int visible)
    : NumberEditBase(parent, id, rect, visible, 50, ColorRef(0x535837)) {}

RECT NumberEdit::UpPlace(const CRect& rect) const {
    const int centre = rect.top + rect.Height() / 2;
    return RECT{rect.right - 17, centre - 7, rect.right - 2, centre + 8};
}

RECT NumberEdit::DownPlace(const CRect& rect) const {
    const int centre = rect.top + rect.Height() / 2;
    return RECT{rect.left + 2, centre - 7, rect.left + 17, centre + 8};
}

CRect NumberEdit::DefaultTextRect() const {
    return CRect(m_rect.left + 19, m_rect.top + 2, m_rect.right - 19, m_rect.bottom - 2);
}

std::unique_ptr<CNumberEditWnd> NumberEdit::MakeEditWindow() {
    return std::make_unique<CNumberEditWnd>(this, this);
}

NumberEdit2::NumberEdit2(MObject* parent, UINT id, const RECT& rect, int visible)
    : NumberEditBase(parent, id, rect, visible, 20, ColorRef(0x604E3A)) {}

RECT NumberEdit2::UpPlace(const CRect& rect) const {
    const int centre = rect.top + rect.Height() / 2;
    return RECT{rect.right - 13, centre - 10, rect.right - 3, centre};
}

RECT NumberEdit2::DownPlace(const CRect& rect) const {
    const int centre = rect.top + rect.Height() / 2;
    return RECT{rect.right - 13, centre, rect.right - 3, centre + 10};
}

CRect NumberEdit2::DefaultTextRect() const {
    return CRect(m_rect.left + 3, m_rect.top + 2, m_rect.right - 16, m_rect.bottom - 2);
}

std::unique_ptr<CNumberEditWnd> NumberEdit2::MakeEditWindow() {
    return std::make_unique<CNumberEditWnd2>(this, this);
}

}  // namespace Orvo
