#include "orvo/combo_box.h"
#include "orvo/combo_popup.h"

#include <algorithm>

#include "orvo/image_strip.h"
#include "orvo/paint_manager.h"
#include "orvo/render.h"

namespace Orvo {

ORVO_REGISTER_CONTROL(MComboBox);
ORVO_REGISTER_CONTROL(MComboBox2);

namespace {

constexpr int kTextInset = 3;

// Frame `frame` of the control's state image over the whole cache, in three-by-three parts.
void DrawStateFrame(HDC cache, Gdiplus::Image* image, int count, int frame, int width, int height,
                    int left, int top, int right, int bottom) {
    if (image == nullptr) {
        return;
    }
    Gdiplus::Graphics graphics(cache);
    const StripRect source = StripFrameRect(static_cast<int>(image->GetWidth()),
                                            static_cast<int>(image->GetHeight()), count, frame);
    MRender::DrawImageFrameMID(&graphics, image, CRect(0, 0, width, height), source.x, source.y,
                               source.width, source.height, left, top, right, bottom);
}

}  // namespace

MComboBox::MComboBox(MObject* parent, UINT id, const RECT& rect, int visible, int enabled)
    : MControlFont(parent, id, rect, L"", visible, enabled, 1) {
    m_state = enabled ? kNormal : kDisabled;
}

int MComboBox::AddItem(const wchar_t* text, long data, const wchar_t* iconName, Argb colour) {
    return InsertItem(-1, text, data, iconName, colour);
}

int MComboBox::InsertItem(int index, const wchar_t* text, long data, const wchar_t* iconName,
                          Argb colour) {
    std::lock_guard<std::recursive_mutex> lock(m_itemLock);
    const int count = static_cast<int>(m_items.size());
    if (index < -1 || index > count - 1) {
        return -1;
    }
    auto item = std::make_unique<ComboItem>();
    item->text = text != nullptr ? text : L"";
    item->iconName = iconName != nullptr ? iconName : L"";
    item->colour = colour;
    item->data = data;
    if (index == -1 || m_items.empty()) {
        m_items.push_back(std::move(item));
    } else {
        m_items.insert(m_items.begin() + index, std::move(item));
    }
    // Callers rely on this being count - 1, not the index of the new item.
    return static_cast<int>(m_items.size()) - 1;
}

int MComboBox::GetItemCount() {
    std::lock_guard<std::recursive_mutex> lock(m_itemLock);
    return static_cast<int>(m_items.size());
}

BOOL MComboBox::SetItemData(int index, long data) {
    std::lock_guard<std::recursive_mutex> lock(m_itemLock);
    if (index < 0 || index >= static_cast<int>(m_items.size())) {
        return FALSE;
    }
    m_items[static_cast<size_t>(index)]->data = data;
    return TRUE;
}

long MComboBox::GetItemData(int index) {
    std::lock_guard<std::recursive_mutex> lock(m_itemLock);
    if (index < 0 || index >= static_cast<int>(m_items.size())) {
        return 0;
    }
    return m_items[static_cast<size_t>(index)]->data;
}

BOOL MComboBox::SetItemText(int index, const wchar_t* text) {
    const std::wstring value = text != nullptr ? text : L"";
    {
        std::lock_guard<std::recursive_mutex> lock(m_itemLock);
        if (index < 0 || index >= static_cast<int>(m_items.size())) {
            return FALSE;
        }
        ComboItem& item = *m_items[static_cast<size_t>(index)];
        if (item.text == value) {
            return TRUE;
        }
        item.text = value;
        if (index == m_curSel) {
            m_title = value;
        }
    }
    UpdateControl(true);
    return TRUE;
}

std::wstring MComboBox::GetItemText(int index) {
    std::lock_guard<std::recursive_mutex> lock(m_itemLock);
    if (index < 0 || index >= static_cast<int>(m_items.size())) {
        return std::wstring();
    }
    return m_items[static_cast<size_t>(index)]->text;
}

void MComboBox::RefreshTitle() {
    std::lock_guard<std::recursive_mutex> lock(m_itemLock);
    if (m_curSel >= 0 && m_curSel < static_cast<int>(m_items.size())) {
        m_title = m_items[static_cast<size_t>(m_curSel)]->text;
    } else {
        m_title.clear();
    }
}

int MComboBox::SetCurSel(int index) {
    if (index < -1 || index >= GetItemCount()) {
        return 0;
    }
    m_curSel = index;
    RefreshTitle();
    UpdateControl(true);
    return 1;
}

long MComboBox::GetCurData() {
    return m_curSel >= 0 ? GetItemData(m_curSel) : 0;
}

int MComboBox::FindData(long data) {
    std::lock_guard<std::recursive_mutex> lock(m_itemLock);
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i]->data == data) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int MComboBox::SelectData(long data) {
    const int index = FindData(data);
    if (index < 0) {
        return 0;
    }
    SetCurSel(index);
    return 1;
}

BOOL MComboBox::DeleteItem(int index) {
    std::lock_guard<std::recursive_mutex> lock(m_itemLock);
    if (index < 0 || index >= static_cast<int>(m_items.size())) {
        return FALSE;
    }
    m_items.erase(m_items.begin() + index);
    // The selection keeps its index, but never points past the last item.
    const int count = static_cast<int>(m_items.size());
    if (m_curSel >= count) {
        m_curSel = count - 1;
    }
    RefreshTitle();
    return TRUE;
}

void MComboBox::DelAllItems() {
    {
        std::lock_guard<std::recursive_mutex> lock(m_itemLock);
        m_items.clear();
        m_curSel = -1;
        m_title.clear();
    }
    UpdateControl(true);
}

std::vector<ComboItem> MComboBox::GetItems() {
    std::lock_guard<std::recursive_mutex> lock(m_itemLock);
    std::vector<ComboItem> items;
    items.reserve(m_items.size());
    for (const auto& item : m_items) {
        items.push_back(*item);
    }
    return items;
}

void MComboBox::SetBackImage(const wchar_t* fileName) {
    m_backImage = fileName != nullptr ? fileName : L"";
    m_backResourceId = 0;
}

void MComboBox::SetBackImage(UINT resourceId, const wchar_t* resourceType) {
    m_backImage.clear();
    m_backResourceId = resourceId;
    m_backResourceType = resourceType != nullptr ? resourceType : L"PNG";
}

void MComboBox::SetScrollResID(UINT verticalId, UINT horizontalId) {
    m_scrollVerticalId = verticalId;
    m_scrollHorizontalId = horizontalId;
}

void MComboBox::SetShowModeMID(int left, int top, int right, int bottom) {
    m_insetLeft = left;
    m_insetTop = top;
    m_insetRight = right;
    m_insetBottom = bottom;
    UpdateControl(true);
}

void MComboBox::SetTextColorEx(Argb normal, Argb other) {
    SetTextColor(normal);
    m_hoverTextColor = other;
    m_pressedTextColor = other;
    UpdateControl(true);
}

Argb MComboBox::SlotTextColor(int slot) const {
    switch (slot) {
        case kHovered:
            return m_hoverTextColor;
        case kPressed:
            return m_pressedTextColor;
        case kDisabled:
            return m_disabledTextColor;
        default:
            return m_textColor;
    }
}

void MComboBox::SetState(int state) {
    if (state != m_state) {
        m_state = state;
        UpdateControl(true);
    }
}

void MComboBox::SetControlEnabled(int enabled) {
    if (!enabled) {
        CloseDropDown();
    }
    MControlFont::SetControlEnabled(enabled);
    SetState(enabled ? kNormal : kDisabled);
}

void MComboBox::SetControlVisible(int visible) {
    if (!visible) {
        CloseDropDown();
    }
    MControlFont::SetControlVisible(visible);
}

BOOL MComboBox::OnControlMouseMove(UINT, POINT point) {
    const bool inside = PtInRect(point) != FALSE;
    if (m_enabled && m_state != kPressed) {
        SetState(inside ? kHovered : kNormal);
    }
    return inside;
}

BOOL MComboBox::OnControlLButtonDown(UINT, POINT point) {
    if (!m_enabled || !PtInRect(point)) {
        return FALSE;
    }
    SetState(kPressed);
    return TRUE;
}

BOOL MComboBox::OnControlLButtonUp(UINT, POINT point) {
    const bool inside = PtInRect(point) != FALSE;
    if (m_enabled) {
        SetState(inside ? kHovered : kNormal);
        if (inside) {
            ShowDropDown();
        }
    }
    // The release that opened the list, or that followed the click that closed it, ends
    // the guard against reopening.
    m_reopenGuard = false;
    UpdateControl(true);
    return inside;
}

long MComboBox::OnMessage(UINT controlId, UINT code, WPARAM wParam, LPARAM lParam) {
    if (code == kNotifyClicked && lParam == kFromPopupList) {
        const int index = static_cast<int>(wParam);
        SetCurSel(index);
        SendMessageW(kNotifyClicked, static_cast<WPARAM>(index));
        m_reopenGuard = false;
        UpdateControl(true);
        CloseDropDown();
        return 1;
    }
    if (code == kNotifyPopupClosed) {
        OnPopupClosed();
        return 1;
    }
    return MControlFont::OnMessage(controlId, code, wParam, lParam);
}

RECT MComboBox::DropDownRect() const {
    RECT rect{m_rect.left, m_rect.bottom + 2, m_rect.right, 0};
    const int count = static_cast<int>(m_items.size());
    const int rows = std::min(count, kPopupVisibleRows);
    rect.bottom = rect.top + rows * kPopupRowHeight + 12;
    if (m_manager != nullptr && m_manager->GetPaintWnd() != nullptr) {
        ::MapWindowPoints(m_manager->GetPaintWnd(), nullptr, reinterpret_cast<POINT*>(&rect), 2);
    }
    return rect;
}

void MComboBox::DrawControl(HDC hdc, const RECT&) {
    const int width = m_rect.Width();
    const int height = m_rect.Height();
    if (width <= 0 || height <= 0) {
        return;
    }
    const int slot = ShownSlot();
    if (slot != m_drawnSlot) {
        m_cacheValid = 0;
    }
    if (!m_cacheValid) {
        HDC cache = UpdateMemDC(hdc, width, height);
        if (cache == nullptr) {
            return;
        }
        m_drawnSlot = slot;
        ::BitBlt(cache, 0, 0, width, height, hdc, m_rect.left, m_rect.top, SRCCOPY);
        DrawStateFrame(cache, m_image, m_imageCount, slot, width, height, m_insetLeft, m_insetTop,
                       m_insetRight, m_insetBottom);
        if (!m_title.empty()) {
            // The right inset leaves room for the drop arrow of the skin.
            RECT box{kTextInset + (m_hAlign == 0 ? m_insetLeft : 0), kTextInset,
                     width - kTextInset - (m_hAlign == 1 ? 0 : m_insetRight - kTextInset),
                     height - kTextInset};
            UINT format = DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX;
            format |= m_hAlign == 1 ? DT_CENTER : m_hAlign == 2 ? DT_RIGHT : DT_LEFT;
            format |= m_vAlign == 0 ? DT_TOP : m_vAlign == 8 ? DT_BOTTOM : DT_VCENTER;
            MRender::DrawTextW(cache, box, m_title.c_str(), SlotTextColor(slot).ToColorRef(),
                               GetGDIFont(), format);
        }
    }
    ::BitBlt(hdc, m_rect.left, m_rect.top, width, height, GetMemDC(), 0, 0, SRCCOPY);
}

MComboBox2::MComboBox2(MObject* parent, UINT id, const RECT& rect, int visible, int enabled)
    : MComboBox(parent, id, rect, visible, enabled) {}

void MComboBox2::SetGroupName(const wchar_t* name) {
    m_groupName = name != nullptr ? name : L"";
}

void MComboBox2::SetCheck(int check) {
    const int value = check ? 1 : 0;
    if (value != m_check) {
        m_check = value;
        UpdateControl(true);
    }
}

void MComboBox2::SetControlCheck(int check) {
    if (check) {
        ResetGroupCheck();
    }
    SetCheck(check);
}

void MComboBox2::ResetGroupCheck() {
    if (m_manager == nullptr) {
        return;
    }
    const auto uncheckPeers = [this](MControl* control) {
        if (control != this && control->IsClass(L"MComboBox2")) {
            auto* peer = static_cast<MComboBox2*>(control);
            if (peer->GetGroupName() == m_groupName) {
                peer->SetCheck(0);
            }
        }
    };
    for (MControl* control : m_manager->GetControls()) {
        control->ForEachInTree(uncheckPeers);
    }
    for (MControl* control : m_manager->GetAreaControls()) {
        control->ForEachInTree(uncheckPeers);
    }
}

int MComboBox2::ShownSlot() const {
    if (m_check && m_state != kDisabled) {
        return kPressed;
    }
    return MComboBox::ShownSlot();
}

BOOL MComboBox2::OnControlLButtonUp(UINT flags, POINT point) {
    if (m_enabled && PtInRect(point)) {
        SetControlCheck(1);
    }
    return MComboBox::OnControlLButtonUp(flags, point);
}

CColorCombo::CColorCombo(MObject* parent, UINT id, const RECT& rect, int visible, int enabled)
    : MControlFont(parent, id, rect, L"", visible, enabled, 1) {
    m_state = enabled ? 0 : 3;
}

void CColorCombo::SetAreaColor(Argb colour) {
    m_areaColor = colour;
    UpdateControl(true);
}

void CColorCombo::SetState(int state) {
    if (state != m_state) {
        m_state = state;
        UpdateControl(true);
    }
}

void CColorCombo::SetControlEnabled(int enabled) {
    MControlFont::SetControlEnabled(enabled);
    SetState(enabled ? 0 : 3);
}

BOOL CColorCombo::OnControlMouseMove(UINT, POINT point) {
    const bool inside = PtInRect(point) != FALSE;
    if (m_enabled && !m_pressed) {
        SetState(inside ? 1 : 0);
    }
    return inside;
}

BOOL CColorCombo::OnControlLButtonDown(UINT, POINT point) {
    if (!m_enabled || !PtInRect(point)) {
        return FALSE;
    }
    m_pressed = true;
    SetState(2);
    return TRUE;
}

BOOL CColorCombo::OnControlLButtonUp(UINT, POINT point) {
    const bool wasPressed = m_pressed;
    m_pressed = false;
    const bool inside = PtInRect(point) != FALSE;
    if (!m_enabled) {
        return FALSE;
    }
    SetState(inside ? 1 : 0);
    if (wasPressed && inside) {
        SendMessageW(kNotifyClicked);
    }
    return inside;
}

void CColorCombo::DrawControl(HDC hdc, const RECT&) {
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
        ::BitBlt(cache, 0, 0, width, height, hdc, m_rect.left, m_rect.top, SRCCOPY);
        DrawStateFrame(cache, m_image, m_imageCount, m_state, width, height, 6, 6, 32, 6);
        // The colour field fills the part left of the drop arrow.
        Gdiplus::Graphics graphics(cache);
        graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
        const Argb colour = m_state == 3 ? m_areaColor.WithAlpha(0x66) : m_areaColor;
        MRender::DrawRoundRectange(&graphics, 6, 6, std::max(0, width - 6 - 32), height - 12, 4,
                                   colour);
    }
    ::BitBlt(hdc, m_rect.left, m_rect.top, width, height, GetMemDC(), 0, 0, SRCCOPY);
}

}  // namespace Orvo
