#include "orvo/dpi_control.h"

#include <algorithm>
#include <cwchar>

#include "../cached_drawing.h"
#include "orvo/manager.h"
#include "orvo/paint_manager.h"
#include "orvo/render.h"

namespace Orvo {

ORVO_REGISTER_CONTROL(DPIControl);

namespace {

constexpr UINT kReflectedCommand = WM_COMMAND + 0x2000;
constexpr UINT kReflectedColourEdit = WM_CTLCOLOREDIT + 0x2000;
constexpr COLORREF kEditText = RGB(255, 28, 20);
constexpr COLORREF kEditBackground = RGB(35, 28, 20);
constexpr Argb kCardFill(0xFF231C14);
constexpr Argb kHeaderText(0xFF050505);
constexpr int kCardRadius = 10;

}  // namespace

ValueEditWnd2::~ValueEditWnd2() {
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) {
        ::DestroyWindow(m_hWnd);
    }
    if (m_background != nullptr) {
        ::DeleteObject(m_background);
    }
}

LRESULT ValueEditWnd2::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case kReflectedColourEdit: {
            auto* dc = reinterpret_cast<HDC>(wParam);
            ::SetTextColor(dc, kEditText);
            ::SetBkColor(dc, kEditBackground);
            if (m_background == nullptr) {
                m_background = ::CreateSolidBrush(kEditBackground);
            }
            return reinterpret_cast<LRESULT>(m_background);
        }
        case kReflectedCommand:
            if (HIWORD(wParam) == EN_CHANGE && m_owner != nullptr) {
                m_owner->OnEditTextChanged();
            }
            return 0;
        case kCloseMessage:
            if (m_owner != nullptr) {
                m_owner->HideEdit();
            }
            return 0;
        case WM_KEYDOWN:
            // Enter accepts the typed value, as it does in every number field.
            if (wParam == VK_RETURN && m_owner != nullptr) {
                m_owner->HideEdit();
                return 0;
            }
            break;
        case WM_CHAR:
            if (wParam == VK_RETURN) {
                return 0;
            }
            break;
        default:
            break;
    }
    return MWindow::OnWindowMessage(msg, wParam, lParam);
}

DPIControl::DPIControl(MObject* parent, UINT id, const RECT& rect, int visible, int enabled)
    : MPanel(parent, id, rect, visible) {
    m_enabled = enabled != 0;
}

DPIControl::~DPIControl() {
    m_edit.reset();
    if (m_defaultFont != nullptr) {
        ::DeleteObject(m_defaultFont);
    }
}

int DPIControl::AddItem(int dpi, ColorRef colour) {
    int index = 0;
    {
        std::lock_guard<std::recursive_mutex> guard(m_itemLock);
        Item item;
        item.dpi = dpi;
        item.colour = colour;
        m_items.push_back(item);
        index = static_cast<int>(m_items.size()) - 1;
        LayoutItems();
    }
    UpdateControl(TRUE);
    return index;
}

void DPIControl::ClearList() {
    {
        std::lock_guard<std::recursive_mutex> guard(m_itemLock);
        m_items.clear();
        m_selected = 0;
    }
    m_hover = -1;
    UpdateControl(TRUE);
}

void DPIControl::SetDPIValue(int index, int dpi) {
    {
        std::lock_guard<std::recursive_mutex> guard(m_itemLock);
        if (index < 0 || index >= static_cast<int>(m_items.size())) {
            return;
        }
        m_items[static_cast<size_t>(index)].dpi = dpi;
    }
    UpdateControl(TRUE);
}

int DPIControl::GetDPIValue(int index) const {
    std::lock_guard<std::recursive_mutex> guard(m_itemLock);
    if (index < 0) {
        return kMinimumDpi;
    }
    if (index >= static_cast<int>(m_items.size())) {
        return kMaximumDpi;
    }
    return m_items[static_cast<size_t>(index)].dpi;
}

void DPIControl::SetDPIColorValue(int index, ColorRef colour) {
    {
        std::lock_guard<std::recursive_mutex> guard(m_itemLock);
        if (index < 0 || index >= static_cast<int>(m_items.size())) {
            return;
        }
        m_items[static_cast<size_t>(index)].colour = colour;
    }
    UpdateControl(TRUE);
}

ColorRef DPIControl::GetDPIColorValue(int index) const {
    std::lock_guard<std::recursive_mutex> guard(m_itemLock);
    if (index < 0 || index >= static_cast<int>(m_items.size())) {
        return ColorRef();
    }
    return m_items[static_cast<size_t>(index)].colour;
}

void DPIControl::SetSelectItem(int index) {
    if (m_manager == nullptr || m_manager->IsUiThread()) {
        HideEdit();
    } else if (m_edit != nullptr && m_edit->GetSafeHwnd() != nullptr) {
        // The edit is a window of the UI thread: it closes there, writing what was typed into
        // the card it was opened on.
        ::PostMessageW(m_edit->GetSafeHwnd(), ValueEditWnd2::kCloseMessage, 0, 0);
    }
    {
        std::lock_guard<std::recursive_mutex> guard(m_itemLock);
        m_selected = index;
    }
    UpdateControl(TRUE);
}

int DPIControl::GetSelectItem() const {
    std::lock_guard<std::recursive_mutex> guard(m_itemLock);
    return m_selected;
}

int DPIControl::GetColorItem() const {
    std::lock_guard<std::recursive_mutex> guard(m_itemLock);
    return m_colourItem;
}

int DPIControl::GetItemCount() const {
    std::lock_guard<std::recursive_mutex> guard(m_itemLock);
    return static_cast<int>(m_items.size());
}

CRect DPIControl::GetCardRect(int index) const {
    std::lock_guard<std::recursive_mutex> guard(m_itemLock);
    if (index < 0 || index >= static_cast<int>(m_items.size())) {
        return CRect();
    }
    return m_items[static_cast<size_t>(index)].card;
}

std::wstring DPIControl::GetEditText() const {
    if (m_edit != nullptr && m_edit->IsWindowVisible()) {
        std::wstring text;
        m_edit->GetWindowTextW(text);
        return text;
    }
    return m_title;
}

void DPIControl::SetEditText(const wchar_t* text) {
    SetControlTitle(text);
}

void DPIControl::SetControlTitle(const wchar_t* text) {
    const std::wstring value = text != nullptr ? text : L"";
    if (value == m_title) {
        return;
    }
    m_title = value;
    if (m_edit != nullptr && m_edit->GetSafeHwnd() != nullptr) {
        m_edit->SetWindowTextW(m_title.c_str());
    }
    UpdateControl(TRUE);
}

HFONT DPIControl::GetDefaultFont() {
    if (m_defaultFont == nullptr) {
        LOGFONTW font = {};
        ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
        std::wcsncpy(font.lfFaceName, L"Arial", LF_FACESIZE - 1);
        font.lfHeight = -m_fontSize;
        font.lfWeight = (m_fontStyle & kFontBold) != 0 ? FW_BOLD : FW_NORMAL;
        font.lfItalic = (m_fontStyle & kFontItalic) != 0 ? TRUE : FALSE;
        font.lfUnderline = (m_fontStyle & kFontUnderline) != 0 ? TRUE : FALSE;
        m_defaultFont = ::CreateFontIndirectW(&font);
    }
    return m_defaultFont;
}

void DPIControl::SetEditWindow(std::unique_ptr<ValueEditWnd2> window) {
    m_edit = std::move(window);
}

bool DPIControl::EnsureEdit() {
    if (m_manager == nullptr || m_manager->GetPaintWnd() == nullptr) {
        return false;
    }
    if (m_edit == nullptr) {
        m_edit = std::make_unique<ValueEditWnd2>(this);
    }
    if (m_edit->GetSafeHwnd() != nullptr) {
        return true;
    }
    const DWORD style = WS_CHILD | ES_CENTER | ES_AUTOHSCROLL | ES_NUMBER;
    if (m_edit->Create(m_manager->GetPaintWnd(), L"", style, 0, CRect(0, 0, 10, 10)) == nullptr) {
        return false;
    }
    m_edit->SendMessageW(WM_SETFONT, reinterpret_cast<WPARAM>(GetDefaultFont()), FALSE);
    m_edit->SendMessageW(EM_LIMITTEXT, kEditLength, 0);
    m_edit->SendMessageW(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
    m_edit->EnableWindow(m_enabled ? TRUE : FALSE);
    return true;
}

void DPIControl::ShowEdit() {
    if (!m_enabled || !EnsureEdit()) {
        return;
    }
    CRect place;
    int value = 0;
    {
        std::lock_guard<std::recursive_mutex> guard(m_itemLock);
        if (m_selected < 0 || m_selected >= static_cast<int>(m_items.size())) {
            return;
        }
        const Item& item = m_items[static_cast<size_t>(m_selected)];
        place = item.edit;
        value = item.dpi;
        m_editItem = m_selected;
    }
    place.OffsetRect(m_rect.left, m_rect.top);
    m_title = std::to_wstring(value);
    m_edit->SetWindowTextW(m_title.c_str());
    m_edit->SetWindowPos(HWND_TOP, place.left, place.top, place.Width(), place.Height(),
                         SWP_SHOWWINDOW);
    m_edit->SendMessageW(EM_SETSEL, 0, -1);
    m_edit->SetFocus();
    m_focused = 1;
    SendMessageW(kNotifyEditOpened, 0, 0);
}

void DPIControl::HideEdit() {
    m_focused = 0;
    if (m_edit == nullptr || !m_edit->IsWindowVisible()) {
        return;
    }
    SendMessageW(kNotifyEditClosed, 0, 0);
    std::wstring text;
    m_edit->GetWindowTextW(text);
    bool changed = false;
    {
        std::lock_guard<std::recursive_mutex> guard(m_itemLock);
        const int index = m_editItem;
        if (index >= 0 && index < static_cast<int>(m_items.size())) {
            Item& item = m_items[static_cast<size_t>(index)];
            if (text != std::to_wstring(item.dpi)) {
                // No range check here: the page checks the value against its limits.
                item.dpi = static_cast<int>(std::wcstol(text.c_str(), nullptr, 10));
                changed = true;
            }
        }
        m_editItem = -1;
    }
    m_edit->ShowWindow(SW_HIDE);
    if (changed) {
        UpdateControl(TRUE);
    }
}

void DPIControl::OnEditTextChanged() {
    if (m_edit == nullptr) {
        return;
    }
    std::wstring text;
    m_edit->GetWindowTextW(text);
    if (text != m_title) {
        m_title = text;
        SendMessageW(kNotifyEditAccepted, 0, 0);
        UpdateControl(TRUE);
    }
}

void DPIControl::SetControlFocus(int focus) {
    if (!focus) {
        HideEdit();
    }
    m_focused = focus ? 1 : m_focused;
}

void DPIControl::LayoutItems() {
    const int height = m_rect.Height();
    for (size_t i = 0; i < m_items.size(); ++i) {
        const int x = kCardPitch * static_cast<int>(i);
        m_items[i].card = CRect(x, 0, x + kCardWidth, height);
        m_items[i].edit = CRect(x + 24, 46, x + 89, 66);
    }
}

void DPIControl::SetControlRect(const CRect& rect) {
    MPanel::SetControlRect(rect);
    std::lock_guard<std::recursive_mutex> guard(m_itemLock);
    LayoutItems();
}

int DPIControl::CardAt(POINT point) const {
    const POINT local = {point.x - m_rect.left, point.y - m_rect.top};
    std::lock_guard<std::recursive_mutex> guard(m_itemLock);
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i].card.PtInRect(local)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

BOOL DPIControl::OnControlMouseMove(UINT, POINT point) {
    if (!m_enabled) {
        return FALSE;
    }
    const int oldHover = m_hover;
    const int oldPart = m_hoverPart;
    if (!m_rect.PtInRect(point)) {
        m_hover = -1;
        m_hoverPart = -1;
        ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    } else {
        const CRect card = GetCardRect(m_hover);
        const POINT local = {point.x - m_rect.left, point.y - m_rect.top};
        if (m_hover < 0 || !card.PtInRect(local)) {
            m_hover = CardAt(point);
        }
        if (m_hover >= 0) {
            ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
            m_hoverPart = local.y - GetCardRect(m_hover).top < kColourBlockHeight ? 0 : 1;
        } else {
            m_hoverPart = -1;
            ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
        }
    }
    if (m_hover != oldHover || m_hoverPart != oldPart) {
        UpdateControl(TRUE);
    }
    return m_hover >= 0;
}

BOOL DPIControl::OnControlLButtonDown(UINT, POINT point) {
    if (!m_enabled || m_hover < 0) {
        return FALSE;
    }
    if (m_hover != GetSelectItem()) {
        HideEdit();
    }
    const POINT local = {point.x - m_rect.left, point.y - m_rect.top};
    CRect card;
    CRect edit;
    {
        std::lock_guard<std::recursive_mutex> guard(m_itemLock);
        if (m_hover >= static_cast<int>(m_items.size())) {
            return FALSE;
        }
        card = m_items[static_cast<size_t>(m_hover)].card;
        edit = m_items[static_cast<size_t>(m_hover)].edit;
        if (card.PtInRect(local)) {
            m_selected = m_hover;
            if (local.y - card.top < kColourBlockHeight) {
                m_colourItem = m_hover;
            }
        }
    }
    if (card.PtInRect(local)) {
        UpdateControl(TRUE);
        if (edit.PtInRect(local)) {
            ShowEdit();
        }
    }
    ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
    return TRUE;
}

BOOL DPIControl::OnControlLButtonUp(UINT, POINT point) {
    if (!m_enabled) {
        return FALSE;
    }
    const int card = CardAt(point);
    if (m_hover >= 0 && card == m_hover) {
        const POINT local = {point.x - m_rect.left, point.y - m_rect.top};
        bool colourBlock = false;
        {
            std::lock_guard<std::recursive_mutex> guard(m_itemLock);
            m_selected = card;
            colourBlock =
                local.y - m_items[static_cast<size_t>(card)].card.top < kColourBlockHeight;
            if (colourBlock) {
                m_colourItem = card;
            }
        }
        UpdateControl(TRUE);
        SendMessageW(colourBlock ? kNotifySecondary : kNotifyClicked, 0, 0);
    }
    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    return TRUE;
}

void DPIControl::DrawControl(HDC hdc, const RECT&) {
    CachedDrawing::Draw(*this, hdc, [this](HDC cache) { Paint(cache); });
}

void DPIControl::DrawRectange(Gdiplus::Graphics* graphics, int x, int y, int width, int height,
                              int radius, Argb colour) {
    if (graphics == nullptr || width <= 0 || height <= 0) {
        return;
    }
    const int r = std::max(0, std::min({radius, width / 2, height}));
    Gdiplus::GraphicsPath path;
    if (r > 0) {
        path.AddArc(x, y, 2 * r, 2 * r, 180.0f, 90.0f);
        path.AddArc(x + width - 2 * r, y, 2 * r, 2 * r, 270.0f, 90.0f);
    } else {
        path.AddLine(x, y, x + width, y);
    }
    path.AddLine(x + width, y + r, x + width, y + height);
    path.AddLine(x + width, y + height, x, y + height);
    path.CloseFigure();
    Gdiplus::SolidBrush brush{Gdiplus::Color(colour.Value())};
    graphics->FillPath(&brush, &path);
}

void DPIControl::DrawRectange2(Gdiplus::Graphics* graphics, int x, int y, int width, int height,
                               int radius, Argb colour) {
    if (graphics == nullptr || width <= 0 || height <= 0) {
        return;
    }
    Gdiplus::GraphicsPath path;
    MRender::AddRoundRectPath(&path, x, y, width, height, radius, radius);
    Gdiplus::Pen pen(Gdiplus::Color(colour.Value()), 2.0f);
    graphics->DrawPath(&pen, &path);
}

void DPIControl::Paint(HDC cache) {
    const int height = m_rect.Height();
    Gdiplus::Graphics graphics(cache);
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
    Gdiplus::FontFamily* family = GetFontFamily(m_fontName.c_str());
    std::unique_ptr<Gdiplus::Font> font;
    if (family != nullptr) {
        font = std::make_unique<Gdiplus::Font>(family, static_cast<Gdiplus::REAL>(m_fontSize),
                                               Gdiplus::FontStyleBold, Gdiplus::UnitPixel);
    }
    Gdiplus::StringFormat format;
    format.SetAlignment(Gdiplus::StringAlignmentCenter);
    format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
    Gdiplus::SolidBrush white{Gdiplus::Color(0xFFFFFFFF)};
    Gdiplus::SolidBrush dark{Gdiplus::Color(kHeaderText.Value())};
    const Argb accent = Manager::GetSelectColor();

    std::lock_guard<std::recursive_mutex> guard(m_itemLock);
    LayoutItems();
    for (size_t i = 0; i < m_items.size(); ++i) {
        const Item& item = m_items[i];
        const int x = item.card.left;
        MRender::DrawRoundRectange(&graphics, x + 1, 1, kCardWidth - 2, height - 2, kCardRadius,
                                   kCardFill);
        DrawRectange(&graphics, x + 1, 1, kCardWidth - 2, kHeaderHeight, kCardRadius,
                     item.colour.ToArgb(255));
        if (font != nullptr) {
            const std::wstring value = std::to_wstring(item.dpi);
            graphics.DrawString(
                value.c_str(), -1, font.get(),
                Gdiplus::RectF(static_cast<Gdiplus::REAL>(x), kHeaderHeight, kCardWidth,
                               static_cast<Gdiplus::REAL>(height - kHeaderHeight)),
                &format, &white);
            const std::wstring name = L"DPI " + std::to_wstring(i + 1);
            graphics.DrawString(
                name.c_str(), -1, font.get(),
                Gdiplus::RectF(static_cast<Gdiplus::REAL>(x), 0, kCardWidth, kHeaderHeight),
                &format, &dark);
        }
        const int index = static_cast<int>(i);
        if (index == m_hover || index == m_selected) {
            DrawRectange2(&graphics, x + 1, 1, kCardWidth - 2, height - 2, kCardRadius, accent);
        }
    }
}

}  // namespace Orvo
