#include "orvo/combo_popup.h"

#include <algorithm>

#include "orvo/manager.h"
#include "orvo/render.h"
#include "text_format.h"

namespace Orvo {

ORVO_REGISTER_CONTROL(CComboBoxList);

namespace {

constexpr Argb kActiveTextColor = Argb(0xFF191919);

}  // namespace

CComboBoxList::CComboBoxList(MObject* parent, UINT id, const RECT& rect, int visible, int)
    : MControlFont(parent, id, rect, L"", visible, 1, 1) {}

int CComboBoxList::AddItem(const wchar_t* text, long data, const wchar_t* iconName, Argb colour) {
    ComboItem item;
    item.text = text != nullptr ? text : L"";
    item.iconName = iconName != nullptr ? iconName : L"";
    item.colour = colour;
    item.data = data;
    m_items.push_back(item);
    UpdateControl(true);
    return GetItemCount() - 1;
}

void CComboBoxList::DelAllItems() {
    m_items.clear();
    m_hover = -1;
    m_pressed = -1;
    m_offset = 0;
    UpdateControl(true);
}

int CComboBoxList::RowAt(POINT point) const {
    if (!m_rect.PtInRect(point)) {
        return -1;
    }
    const int row = (point.y - m_rect.top + m_offset) / kRowHeight;
    return row >= 0 && row < GetItemCount() ? row : -1;
}

BOOL CComboBoxList::OnControlMouseMove(UINT, POINT point) {
    const int hover = RowAt(point);
    if (hover != m_hover) {
        m_hover = hover;
        UpdateControl(true);
    }
    return m_rect.PtInRect(point) ? TRUE : FALSE;
}

BOOL CComboBoxList::OnControlLButtonDown(UINT, POINT point) {
    if (!m_rect.PtInRect(point)) {
        return FALSE;
    }
    m_hover = RowAt(point);
    m_pressed = m_hover;
    UpdateControl(true);
    return TRUE;
}

BOOL CComboBoxList::OnControlLButtonUp(UINT, POINT point) {
    const int pressed = m_pressed;
    m_pressed = -1;
    UpdateControl(true);
    if (pressed >= 0 && RowAt(point) == pressed) {
        SendMessageW(kNotifyClicked, static_cast<WPARAM>(pressed));
        return TRUE;
    }
    return m_rect.PtInRect(point) ? TRUE : FALSE;
}

BOOL CComboBoxList::OnControlScroll(int, int down, POINT) {
    const int overflow = GetListHeight() - m_rect.Height();
    if (overflow <= 0) {
        return FALSE;
    }
    const int step = kWheelSteps * kScrollStep;
    const int offset = std::clamp(m_offset + (down ? step : -step), 0, overflow);
    if (offset != m_offset) {
        m_offset = offset;
        UpdateControl(true);
    }
    return TRUE;
}

void CComboBoxList::DrawControl(HDC hdc, const RECT&) {
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
        CopyBackground(cache, hdc, m_rect);
        Gdiplus::Graphics graphics(cache);
        Gdiplus::SolidBrush accent{Gdiplus::Color(Manager::GetSelectColor().Value())};
        const int first = m_offset / kRowHeight;
        for (int i = first; i < GetItemCount(); ++i) {
            const int top = i * kRowHeight - m_offset;
            if (top >= height) {
                break;
            }
            const bool active = i == m_hover || i == m_pressed;
            if (active) {
                graphics.FillRectangle(&accent, 0, top, width, kRowHeight);
            }
            DrawControlText(graphics, *this, m_items[static_cast<size_t>(i)].text,
                            Gdiplus::RectF(8.0f, static_cast<Gdiplus::REAL>(top),
                                           static_cast<Gdiplus::REAL>(width - 16),
                                           static_cast<Gdiplus::REAL>(kRowHeight)),
                            active ? kActiveTextColor : m_textColor, false);
        }
    }
    ::BitBlt(hdc, m_rect.left, m_rect.top, width, height, GetMemDC(), 0, 0, SRCCOPY);
}

CComboBoxWnd::CComboBoxWnd(MComboBox* combo) {
    m_parentObject = combo;
}

void CComboBoxWnd::InitUI(const CRect& clientRect) {
    SetLayeredWindow(true);
    SetBackMode(1, 6);
    m_list = static_cast<CComboBoxList*>(
        CreateControl(L"CComboBoxList", kListId,
                      CRect(3, 6, clientRect.Width() - 3, clientRect.Height() - 6), L"", 1, 1));
}

long CComboBoxWnd::OnMessage(UINT controlId, UINT code, WPARAM wParam, LPARAM) {
    if (controlId == kListId && code == kNotifyClicked) {
        return SendMessageToParent(kNotifyClicked, wParam, MComboBox::kFromPopupList);
    }
    return 0;
}

LRESULT CComboBoxWnd::OnDestroy() {
    SendMessageToParent(MComboBox::kNotifyPopupClosed, 0, 0);
    return 0;
}

MComboBox::~MComboBox() {
    // The popup goes first and tells nobody: the combo is being destroyed.
    if (m_popup != nullptr) {
        m_popup->Detach();
        m_popup->DestroyWindow();
        m_popup.reset();
    }
}

CComboBoxWnd* MComboBox::GetDropDown() const {
    return m_popup != nullptr && m_popup->GetSafeHwnd() != nullptr ? m_popup.get() : nullptr;
}

void MComboBox::CloseDropDown() {
    // Posted: this may run inside the popup's own message handling.
    if (CComboBoxWnd* popup = GetDropDown()) {
        popup->CloseWindow();
    }
}

void MComboBox::OnPopupClosed() {
    m_reopenGuard = false;
    if (m_manager != nullptr && m_manager->GetPaintWnd() != nullptr) {
        POINT cursor{};
        if (::GetCursorPos(&cursor) && ::ScreenToClient(m_manager->GetPaintWnd(), &cursor) &&
            m_rect.PtInRect(cursor)) {
            // The click that closed the popup must not open it again on its release.
            m_reopenGuard = true;
        }
    }
    UpdateControl(true);
}

void MComboBox::ShowDropDown() {
    if (CComboBoxWnd* open = GetDropDown()) {
        open->DestroyWindow();
    }
    if (m_reopenGuard || GetDropDown() != nullptr || m_manager == nullptr ||
        m_manager->GetPaintWnd() == nullptr || GetItemCount() == 0) {
        return;
    }
    m_popup = std::make_unique<CComboBoxWnd>(this);
    if (!m_backImage.empty()) {
        m_popup->LoadBKImage(m_backImage.c_str());
    } else if (m_backResourceId != 0) {
        m_popup->LoadBKImage(m_backResourceId, m_backResourceType.c_str());
    }
    m_popup->SetScrollResID(m_scrollVerticalId, m_scrollHorizontalId);
    const RECT place = DropDownRect();
    if (m_popup->Create(m_manager->GetPaintWnd(), L"", WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                        WS_EX_TOOLWINDOW, place) == nullptr) {
        m_popup.reset();
        return;
    }
    if (CComboBoxList* list = m_popup->GetList()) {
        for (const ComboItem& item : GetItems()) {
            list->AddItem(item.text.c_str(), item.data, item.iconName.c_str(), item.colour);
        }
        list->SetAlignment(m_hAlign, m_vAlign);
        list->SetFont(m_fontName.c_str(), m_fontSize, m_fontStyle);
        list->SetTextColor(m_textColor);
    }
    m_popup->ShowWindow(SW_SHOW);
    m_reopenGuard = true;
    UpdateControl(true);
}

}  // namespace Orvo
