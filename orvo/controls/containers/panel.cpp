#include "orvo/panel.h"

#include <algorithm>

#include "orvo/paint_manager.h"

namespace Orvo {

MPanel::MPanel(MObject* parent, UINT id, const RECT& rect, int visible)
    : MControlFont(parent, id, rect, L"", visible, 1, 1) {
    m_handlesDblClk = true;
    m_vertical = static_cast<CScrollVertical*>(
        AddControl(std::make_unique<CScrollVertical>(this, kVerticalBarId, CRect(-5, 0, 0, 0), 1)));
    m_horizontal = static_cast<CScrollHorizontal*>(AddControl(
        std::make_unique<CScrollHorizontal>(this, kHorizontalBarId, CRect(0, -5, 0, 0), 1)));
    m_vertical->SetVisible(0, 0);
    m_horizontal->SetVisible(0, 0);
}

MControl* MPanel::CreateArea(const wchar_t* className, UINT id, const RECT& rect,
                             const wchar_t* text, int visible, int enabled) {
    return CreateControl(kAreaList, this, className, id, rect, text, visible, enabled);
}

MControl* MPanel::CreateControl(int kind, MObject* parent, const wchar_t* className, UINT id,
                                const RECT& rect, const wchar_t* text, int visible, int enabled) {
    std::unique_ptr<MControl> control = ControlFactory::Create(
        FactoryTable::kPanel, className, parent, id, rect, text, visible, enabled);
    if (control == nullptr) {
        return nullptr;
    }
    if (kind == kAreaList) {
        return AddAreaControl(std::move(control));
    }
    if (kind == kControlList) {
        MControl* added = AddControl(std::move(control));
        if (MeasureContent()) {
            RefreshScrollBars();
        }
        return added;
    }
    if (m_manager != nullptr) {
        control->SetManager(m_manager);
    }
    return control.release();
}

MControl* MPanel::CreateControl(const wchar_t* className, UINT id, const RECT& rect,
                                const wchar_t* text, int visible, int enabled) {
    return CreateControl(kControlList, this, className, id, rect, text, visible, enabled);
}

BOOL MPanel::OnControlKeyUp(UINT, UINT, UINT) {
    return FALSE;
}

void MPanel::SetVirtualHeight(int height) {
    m_contentHeight = std::max(0, height);
    RefreshScrollBars();
}

void MPanel::SetVirtualWidth(int width) {
    m_contentWidth = std::max(0, width);
    RefreshScrollBars();
}

void MPanel::SetEnableScroll(bool on) {
    m_scrollEnabled = on;
    RefreshScrollBars();
}

bool MPanel::ContentExceeds() const {
    return m_contentHeight > m_rect.Height() || m_contentWidth > m_rect.Width();
}

CPoint MPanel::GetScrollOffset() const {
    if (!m_scrollEnabled || !ContentExceeds()) {
        return CPoint(0, 0);
    }
    const auto offsetOf = [](const MScroll* bar, int overflow) {
        const int range = bar->GetScrollRange();
        if (range <= 0 || overflow <= 0) {
            return 0;
        }
        return static_cast<int>(static_cast<long long>(overflow) * bar->GetScrollPos() / range);
    };
    return CPoint(offsetOf(m_horizontal, m_contentWidth - m_rect.Width()),
                  offsetOf(m_vertical, m_contentHeight - m_rect.Height()));
}

bool MPanel::MeasureContent() {
    // The last sub-control added decides, even when an earlier one reaches further.
    for (auto it = m_controls.rbegin(); it != m_controls.rend(); ++it) {
        if (IsOwnBar(it->get())) {
            continue;
        }
        const CRect& last = (*it)->GetRect();
        m_contentHeight = std::max(0, static_cast<int>(last.bottom - m_rect.top));
        m_contentWidth = std::max(0, static_cast<int>(last.right - m_rect.left));
        return true;
    }
    return false;
}

void MPanel::RefreshScrollBars() {
    const CRect vertical(m_rect.right - m_scrollBarWidth, m_rect.top, m_rect.right, m_rect.bottom);
    const CRect horizontal(m_rect.left, m_rect.bottom - m_scrollBarWidth, m_rect.right,
                           m_rect.bottom);
    m_vertical->SetRect(vertical);
    m_horizontal->SetRect(horizontal);
    const bool tall = m_scrollEnabled && m_contentHeight > m_rect.Height();
    const bool wide = m_scrollEnabled && m_contentWidth > m_rect.Width();
    for (MScroll* bar : {static_cast<MScroll*>(m_vertical), static_cast<MScroll*>(m_horizontal)}) {
        const int range = bar == m_vertical ? m_contentHeight : m_contentWidth;
        if (bar->IsAutomaticPage()) {
            bar->SetScrollSize(0, bar->GetScrollStep());
        }
        bar->SetScrollMaxRange(range);
        bar->SetRange();
    }
    m_vertical->SetVisible(tall ? 1 : 0);
    m_horizontal->SetVisible(wide ? 1 : 0);
}

void MPanel::InitControl(PaintManager* manager) {
    PassManagerToChildren(manager);
    m_attached = manager != nullptr;
}

void MPanel::SetControlRect(const CRect& rect) {
    MControlFont::SetControlRect(rect);
    MeasureContent();
    RefreshScrollBars();
}

BOOL MPanel::OnMousePointChange(POINT& point) {
    const CPoint offset = GetScrollOffset();
    if (offset.x == 0 && offset.y == 0) {
        return FALSE;
    }
    point.x += offset.x;
    point.y += offset.y;
    return TRUE;
}

BOOL MPanel::OnControlScroll(int, int down, POINT) {
    if (!m_scrollEnabled || m_contentHeight < m_rect.Height()) {
        return FALSE;
    }
    const int before = m_vertical->GetScrollPos();
    const int step = m_vertical->GetScrollStep();
    m_vertical->SetScrollCurrentPos(before + (down ? step : -step));
    if (m_vertical->GetScrollPos() != before) {
        // Every child now lies over other pixels of the window.
        SetUpdate(0, ColorRef());
        for (const auto& child : m_controls) {
            child->SetUpdate(0, ColorRef());
        }
        UpdateControl(TRUE);
    }
    return TRUE;
}

long MPanel::OnControlUpdate(const RECT& rect, int redraw, MControl* control) {
    if (control == nullptr) {
        return 0;
    }
    if (redraw) {
        control->SetUpdate(0, ColorRef());
    }
    if (m_attached) {
        bool passed = false;
        for (const auto& child : m_controls) {
            if (passed && child->IsVisible() && child->GetRect().Intersects(rect)) {
                child->SetUpdate(0, ColorRef());
            }
            if (child.get() == control) {
                passed = true;
            }
        }
    }
    InvalidateRect(&m_rect, FALSE);
    return 1;
}

long MPanel::OnBaseMessage(UINT controlId, UINT code, WPARAM wParam, LPARAM lParam) {
    return OnMessage(controlId, code, wParam, lParam);
}

long MPanel::OnMessage(UINT controlId, UINT code, WPARAM wParam, LPARAM lParam) {
    if (code == kNotifyScroll && (controlId == kVerticalBarId || controlId == kHorizontalBarId)) {
        // The content moved under the bar.
        for (const auto& child : m_controls) {
            child->SetUpdate(0, ColorRef());
        }
        InvalidateRect(&m_rect, FALSE);
    }
    return m_parent != nullptr ? m_parent->OnBaseMessage(controlId, code, wParam, lParam) : 0;
}

LRESULT MPanel::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    for (size_t i = 0; i < m_controls.size(); ++i) {
        if (m_controls[i]->OnWindowMessage(msg, wParam, lParam) != 0) {
            return 1;
        }
    }
    return 0;
}

void MPanel::SetControlEnabled(int enabled) {
    MControlFont::SetControlEnabled(enabled);
    for (MControl* child : GetControls()) {
        if (child->IsEnabled() != (enabled != 0)) {
            child->SetEnabled(enabled);
        }
    }
}

void MPanel::SetControlVisible(int visible) {
    MControlFont::SetControlVisible(visible);
    SetControlWndVisible(visible);
}

void MPanel::DrawControl(HDC, const RECT&) {}

void MPanel::DrawSubControls(HDC hdc, const RECT& rect) {
    const CPoint offset = GetScrollOffset();
    const int saved = ::SaveDC(hdc);
    // Children never draw outside the panel, scrolled or not.
    ::IntersectClipRect(hdc, m_rect.left, m_rect.top, m_rect.right, m_rect.bottom);
    ::OffsetViewportOrgEx(hdc, -offset.x, -offset.y, nullptr);
    CRect content = CRect::Intersection(rect, m_rect);
    content.OffsetRect(offset.x, offset.y);
    for (size_t i = 0; i < m_controls.size(); ++i) {
        MControl* child = m_controls[i].get();
        if (!IsOwnBar(child) && child->IsVisible()) {
            child->Draw(hdc, content);
        }
    }
    ::RestoreDC(hdc, saved);
    // The bars stay where they are.
    for (MScroll* bar : {static_cast<MScroll*>(m_vertical), static_cast<MScroll*>(m_horizontal)}) {
        if (bar->IsVisible()) {
            bar->Draw(hdc, rect);
        }
    }
}

BOOL MPanel::OnCheckMouseResponse(UINT, POINT) {
    return TRUE;
}

MTabLayout::MTabLayout(MObject* parent, UINT id, const RECT& rect, int visible)
    : MPanel(parent, id, rect, visible) {
    m_imageCount = 1;
    m_runTimer = true;
}

void MTabLayout::SetControlRect(const CRect& rect) {
    m_rect = rect;
}

BOOL MTabLayout::OnCheckMouseResponse(UINT, POINT point) {
    POINT content = point;
    OnMousePointChange(content);
    for (const auto& child : m_controls) {
        const POINT childPoint = IsOwnBar(child.get()) ? point : content;
        if (child->IsVisible() && child->PtInRect(childPoint)) {
            return TRUE;
        }
    }
    return FALSE;
}

ORVO_REGISTER_CONTROL(MTabLayout);

}  // namespace Orvo
