#include "orvo/control.h"

#include <cwchar>

#include "control_list.h"
#include "orvo/paint_manager.h"
#include "orvo/render.h"

namespace Orvo {

const wchar_t* const kCursorArrow = L"arrow";
const wchar_t* const kCursorWait = L"wait";
const wchar_t* const kCursorCross = L"cross";
const wchar_t* const kCursorSizeWE = L"sizewe";
const wchar_t* const kCursorSizeNS = L"sizens";
const wchar_t* const kCursorHand = L"hand";
const wchar_t* const kCursorHelp = L"help";

namespace {

// A container's own scroll bars (ids 1 and 2) live outside its scrolled content.
bool TakesUntranslatedPoint(const MControl* child) {
    return child->GetControlID() == 1 || child->GetControlID() == 2;
}

// Appends an owned child; it gets the owner's manager, if there is one yet.
MControl* AdoptChild(ControlList::Owned& list, std::unique_ptr<MControl> child,
                     PaintManager* manager) {
    if (child == nullptr) {
        return nullptr;
    }
    MControl* added = child.get();
    list.push_back(std::move(child));
    if (manager != nullptr) {
        added->SetManager(manager);
    }
    return added;
}

}  // namespace

ControlBitmapCache::ControlBitmapCache() = default;

ControlBitmapCache::~ControlBitmapCache() = default;

HDC ControlBitmapCache::Ensure(HDC, int width, int height) {
    if (width <= 0 || height <= 0) {
        return nullptr;
    }
    if (m_canvas == nullptr || GetSize() != CSize(width, height)) {
        m_canvas = std::make_unique<MemoryCanvas>(width, height);
        if (!m_canvas->IsValid()) {
            m_canvas.reset();
        }
    }
    return GetDC();
}

void ControlBitmapCache::Release() {
    m_canvas.reset();
}

HDC ControlBitmapCache::GetDC() const {
    return m_canvas != nullptr ? m_canvas->GetDC() : nullptr;
}

CSize ControlBitmapCache::GetSize() const {
    return m_canvas != nullptr ? CSize(m_canvas->Width(), m_canvas->Height()) : CSize();
}

DWORD* ControlBitmapCache::GetBits() const {
    return m_canvas != nullptr ? m_canvas->Bits() : nullptr;
}

MControl::MControl(MObject* parent, UINT id, const RECT& rect, int visible, int enabled,
                   int responsive)
    : m_parent(parent),
      m_id(id),
      m_rect(rect),
      m_visible(visible),
      m_enabled(enabled),
      m_responsive(responsive) {}

MControl::~MControl() {
    RemoveAllControl();
    if (m_manager != nullptr) {
        m_manager->ForgetControl(this);
    }
}

long MControl::OnControlUpdate(const RECT& rect, int redraw, MControl* control) {
    if (control == nullptr) {
        return 0;
    }
    if (redraw) {
        control->SetUpdate(0, ColorRef());
    }
    // Children draw straight into the window's buffer after this control, so this
    // control's own cache stays valid; the request goes up as this control's.
    return m_parent != nullptr ? m_parent->OnControlUpdate(rect, 0, this) : 0;
}

void MControl::InitControl(PaintManager*) {}

BOOL MControl::PtInRect(POINT point) const {
    return m_visible && m_rect.PtInRect(point);
}

void MControl::DrawSubControls(HDC hdc, const RECT& rect) {
    for (size_t i = 0; i < m_controls.size(); ++i) {
        MControl* child = m_controls[i].get();
        if (child->IsVisible()) {
            child->Draw(hdc, rect);
        }
    }
}

BOOL MControl::IsDraw(POINT) {
    return FALSE;
}

void MControl::SetUpdate(int valid, ColorRef colour) {
    m_cacheValid = valid;
    for (size_t i = 0; i < m_controls.size(); ++i) {
        MControl* child = m_controls[i].get();
        if (child->GetRect().Intersects(m_rect)) {
            child->SetUpdate(valid, colour);
        }
    }
}

void MControl::SetControlFocus(int) {}

void MControl::InitUI(const CRect&) {}

BOOL MControl::OnMousePointChange(POINT&) {
    return FALSE;
}

BOOL MControl::OnCheckMouseResponse(UINT, POINT) {
    return TRUE;
}

LRESULT MControl::OnWindowMessage(UINT, WPARAM, LPARAM) {
    return 0;
}

long MControl::OnMessage(UINT, UINT, WPARAM, LPARAM) {
    return 0;
}

void MControl::SetControlRect(const CRect& rect) {
    m_rect = rect;
}

void MControl::SetControlVisible(int visible) {
    m_visible = visible;
}

void MControl::SetControlWndVisible(int) {}

void MControl::SetControlEnabled(int enabled) {
    m_enabled = enabled;
}

int MControl::OnControlTimer() {
    return 0;
}

HBITMAP MControl::GetControlDropBitmap() {
    return nullptr;
}

BOOL MControl::OnControlMouseMove(UINT, POINT) {
    return FALSE;
}

BOOL MControl::OnControlSetCursor(UINT, POINT point) {
    if (m_cursor != nullptr && PtInRect(point)) {
        ::SetCursor(m_cursor);
    }
    return FALSE;
}

BOOL MControl::OnControlLButtonDown(UINT, POINT) {
    return FALSE;
}

BOOL MControl::OnControlLButtonUp(UINT, POINT) {
    return FALSE;
}

BOOL MControl::OnControlLButtonDblClk(UINT, POINT) {
    return FALSE;
}

BOOL MControl::OnControlScroll(int, int, POINT) {
    return FALSE;
}

BOOL MControl::OnControlRButtonDown(UINT, POINT) {
    return FALSE;
}

BOOL MControl::OnControlRButtonUp(UINT, POINT) {
    return FALSE;
}

BOOL MControl::OnControlRButtonDblClk(UINT, POINT) {
    return FALSE;
}

BOOL MControl::OnControlKeyDown(UINT vk, UINT, UINT modifiers) {
    return m_hotKey != 0 && vk == m_hotKey && modifiers == m_hotKeyModifiers;
}

void MControl::OnPositionChange() {}

void MControl::InvalidateRect(const RECT* rect, BOOL erase) {
    if (m_manager == nullptr) {
        return;
    }
    if (m_manager->IsLayered()) {
        m_manager->InvalidateRect(nullptr, erase);
    } else {
        m_manager->InvalidateRect(rect != nullptr ? rect : &m_rect, erase);
    }
}

void MControl::SetManager(PaintManager* manager) {
    m_manager = manager;
    InitControl(manager);
}

void MControl::PassManagerToChildren(PaintManager* manager) {
    for (MControl* child : GetAreaControls()) {
        child->SetManager(manager);
    }
    for (MControl* child : GetControls()) {
        child->SetManager(manager);
    }
}

void MControl::SetRect(const RECT& rect) {
    const CRect old = m_rect;
    SetControlRect(rect);
    if (m_visible && m_parent != nullptr) {
        m_parent->OnControlUpdate(CRect::Union(old, m_rect), 1, this);
    }
}

void MControl::SetRect(int x, int y, int width, int height) {
    SetRect(CRect(x, y, x + width, y + height));
}

void MControl::SetVisible(int visible) {
    if ((visible != 0) == (m_visible != 0)) {
        return;
    }
    SetControlVisible(visible);
    // Requested even when hidden: what was under the control must come back.
    if (m_parent != nullptr) {
        m_parent->OnControlUpdate(m_rect, 1, this);
    }
    WakeTickIfShown();
}

void MControl::WakeTickIfShown() {
    // A page shown again may hold controls that animate.
    if (m_visible && m_manager != nullptr) {
        m_manager->WakeAnimationTick();
    }
}

void MControl::SetVisible(int visible, int repaint) {
    if ((visible != 0) == (m_visible != 0)) {
        return;
    }
    SetControlVisible(visible);
    if (repaint && m_parent != nullptr) {
        m_parent->OnControlUpdate(m_rect, 1, this);
    }
    WakeTickIfShown();
}

void MControl::SetEnabled(int enabled) {
    if ((enabled != 0) == (m_enabled != 0)) {
        return;
    }
    SetControlEnabled(enabled);
    if (m_visible && m_parent != nullptr) {
        m_parent->OnControlUpdate(m_rect, 1, this);
    }
}

int MControl::IsParentVisible() const {
    for (MObject* parent = m_parent; parent != nullptr;) {
        if (parent->IsClass(L"MDialog")) {
            return 1;
        }
        auto* control = dynamic_cast<MControl*>(parent);
        if (control == nullptr) {
            return 1;
        }
        if (!control->IsVisible()) {
            return 0;
        }
        parent = control->GetParantObject();
    }
    return 1;
}

int MControl::SetCursorEx(const wchar_t* name) {
    if (name == nullptr) {
        return 0;
    }
    struct Named {
        const wchar_t* name;
        const wchar_t* cursor;
    };
    static const Named kCursors[] = {
        {kCursorArrow, IDC_ARROW},   {kCursorWait, IDC_WAIT},     {kCursorCross, IDC_CROSS},
        {kCursorSizeWE, IDC_SIZEWE}, {kCursorSizeNS, IDC_SIZENS}, {kCursorHand, IDC_HAND},
        {kCursorHelp, IDC_HELP},
    };
    for (const Named& entry : kCursors) {
        if (std::wcscmp(entry.name, name) == 0) {
            m_cursor = ::LoadCursorW(nullptr, entry.cursor);
            break;
        }
    }
    return 0;
}

void MControl::SetTooltip(const wchar_t* text, const RECT& rect) {
    if (m_manager == nullptr) {
        return;
    }
    m_manager->SetTooltip(text, rect);
    m_manager->SetTooltipCtrlID(m_id);
}

void MControl::SetTooltip(const wchar_t* text) {
    m_tooltip = text != nullptr ? text : L"";
}

void MControl::SetTooltipCtrlID(UINT id) {
    if (m_manager != nullptr) {
        m_manager->SetTooltipCtrlID(id);
    }
}

UINT MControl::GetTooltipCtrlID() const {
    return m_manager != nullptr ? m_manager->GetTooltipCtrlID() : 0;
}

void MControl::ClearTooltip() {
    m_tooltip.clear();
    if (m_manager != nullptr && m_manager->GetTooltipCtrlID() == m_id) {
        m_manager->ClearTooltip();
    }
}

MControl* MControl::ChildAt(size_t index) {
    return ControlList::At(m_controls, index);
}

BOOL MControl::OnMouseMove(UINT flags, POINT point) {
    if (!m_visible || !m_responsive) {
        return FALSE;
    }
    POINT content = point;
    OnMousePointChange(content);
    const auto pointFor = [&](const MControl* child) {
        return TakesUntranslatedPoint(child) ? point : content;
    };
    bool hadPressedChild = false;
    if (MControl* pressed = m_pressedChild) {
        const POINT childPoint = pointFor(pressed);
        if ((pressed->PtInRect(childPoint) && pressed->OnCheckMouseResponse(flags, childPoint)) ||
            m_pressedInside) {
            pressed->OnMouseMove(flags, childPoint);
            return TRUE;
        }
        m_pressedChild = nullptr;
        hadPressedChild = true;
    }
    if (!m_tooltip.empty() && PtInRect(point) && OnCheckMouseResponse(flags, point) &&
        m_manager != nullptr && m_manager->GetTooltipCtrlID() != m_id) {
        SetTooltip(m_tooltip.c_str(), m_rect);
    }
    OnControlSetCursor(flags, point);
    BOOL result = OnControlMouseMove(flags, point);
    if (!m_pressedInside) {
        for (size_t i = 0;; ++i) {
            MControl* child = ChildAt(i);
            if (child == nullptr) {
                break;
            }
            const POINT childPoint = pointFor(child);
            const BOOL took = child->OnMouseMove(flags, childPoint);
            if (took) {
                result = TRUE;
                if (child->PtInRect(childPoint)) {
                    m_pressedChild = child;
                }
            }
        }
    }
    return hadPressedChild || m_pressedChild != nullptr ? TRUE : (result ? TRUE : FALSE);
}

BOOL MControl::RouteButtonDown(bool left, UINT flags, POINT point) {
    if (!m_visible || !m_responsive) {
        return FALSE;
    }
    POINT content = point;
    OnMousePointChange(content);
    m_pressedInside = m_rect.PtInRect(point) != FALSE;
    MControl* target = nullptr;
    POINT targetPoint = content;
    for (size_t i = m_controls.size(); i-- > 0;) {
        MControl* child = m_controls[i].get();
        const POINT childPoint = TakesUntranslatedPoint(child) ? point : content;
        if (child->PtInRect(childPoint) && child->IsEnabled() && child->GetRresponse()) {
            target = child;
            targetPoint = childPoint;
            break;
        }
    }
    m_pressedChild = target;
    if (target != nullptr) {
        const BOOL took = left ? target->OnLButtonDown(flags, targetPoint)
                               : target->OnRButtonDown(flags, targetPoint);
        return took ? TRUE : FALSE;
    }
    if (m_manager != nullptr) {
        m_manager->SetFocusControl(this);
    }
    return left ? OnControlLButtonDown(flags, point) : OnControlRButtonDown(flags, point);
}

BOOL MControl::RouteButtonUp(bool left, UINT flags, POINT point) {
    if (!m_visible || !m_responsive) {
        return FALSE;
    }
    POINT content = point;
    OnMousePointChange(content);
    m_pressedInside = false;
    MControl* pressed = m_pressedChild;
    if (pressed != nullptr) {
        const POINT childPoint = TakesUntranslatedPoint(pressed) ? point : content;
        const BOOL took = left ? pressed->OnLButtonUp(flags, childPoint)
                               : pressed->OnRButtonUp(flags, childPoint);
        return took ? TRUE : FALSE;
    }
    return left ? OnControlLButtonUp(flags, point) : OnControlRButtonUp(flags, point);
}

BOOL MControl::RouteDoubleClick(bool left, UINT flags, POINT point) {
    if (!m_visible || !m_responsive) {
        return FALSE;
    }
    POINT content = point;
    OnMousePointChange(content);
    MControl* pressed = m_pressedChild;
    if (pressed != nullptr) {
        const POINT childPoint = TakesUntranslatedPoint(pressed) ? point : content;
        BOOL took = left ? pressed->OnLButtonDblClk(flags, childPoint)
                         : pressed->OnRButtonDblClk(flags, childPoint);
        if (!took && !pressed->GetDblClk()) {
            took = left ? pressed->OnLButtonDown(flags, childPoint)
                        : pressed->OnRButtonDown(flags, childPoint);
        }
        return took ? TRUE : FALSE;
    }
    // Without double-click handling the second click is a second press.
    if (!m_handlesDblClk) {
        return left ? OnControlLButtonDown(flags, point) : OnControlRButtonDown(flags, point);
    }
    return left ? OnControlLButtonDblClk(flags, point) : OnControlRButtonDblClk(flags, point);
}

BOOL MControl::OnLButtonDown(UINT flags, POINT point) {
    return RouteButtonDown(true, flags, point);
}

BOOL MControl::OnLButtonUp(UINT flags, POINT point) {
    return RouteButtonUp(true, flags, point);
}

BOOL MControl::OnLButtonDblClk(UINT flags, POINT point) {
    return RouteDoubleClick(true, flags, point);
}

BOOL MControl::OnRButtonDown(UINT flags, POINT point) {
    return RouteButtonDown(false, flags, point);
}

BOOL MControl::OnRButtonUp(UINT flags, POINT point) {
    return RouteButtonUp(false, flags, point);
}

BOOL MControl::OnRButtonDblClk(UINT flags, POINT point) {
    return RouteDoubleClick(false, flags, point);
}

BOOL MControl::OnScroll(int kind, int down, POINT point) {
    if (!m_visible || !m_responsive || !m_enabled) {
        return FALSE;
    }
    POINT content = point;
    OnMousePointChange(content);
    MControl* pressed = m_pressedChild;
    if (pressed != nullptr) {
        const POINT childPoint = TakesUntranslatedPoint(pressed) ? point : content;
        if (pressed->PtInRect(childPoint) && pressed->OnCheckMouseResponse(0, childPoint) &&
            pressed->OnScroll(kind, down, childPoint)) {
            return TRUE;
        }
    }
    if (!m_rect.PtInRect(point)) {
        return FALSE;
    }
    if (OnControlScroll(kind, down, point)) {
        return TRUE;
    }
    for (size_t i = 0;; ++i) {
        MControl* child = ChildAt(i);
        if (child == nullptr) {
            return FALSE;
        }
        const POINT childPoint = TakesUntranslatedPoint(child) ? point : content;
        if (child->PtInRect(childPoint) && child->OnScroll(kind, down, childPoint)) {
            return TRUE;
        }
    }
}

BOOL MControl::OnKeyDown(UINT vk, UINT repeat, UINT modifiers) {
    if (!m_visible || !m_responsive) {
        return FALSE;
    }
    MControl* focused = nullptr;
    for (const auto& child : m_controls) {
        if (child->IsFocused()) {
            focused = child.get();
            break;
        }
    }
    MControl* pressed = m_pressedChild;
    if (focused != nullptr) {
        return focused->OnKeyDown(vk, repeat, modifiers);
    }
    if (pressed != nullptr && pressed->OnKeyDown(vk, repeat, modifiers)) {
        return TRUE;
    }
    if (OnControlKeyDown(vk, repeat, modifiers)) {
        return TRUE;
    }
    for (size_t i = 0;; ++i) {
        MControl* child = ChildAt(i);
        if (child == nullptr) {
            return FALSE;
        }
        if (child->OnKeyDown(vk, repeat, modifiers)) {
            return TRUE;
        }
    }
}

int MControl::OnTimer() {
    int changed = OnControlTimer() ? 1 : 0;
    for (size_t i = 0;; ++i) {
        MControl* child = ChildAt(i);
        if (child == nullptr) {
            break;
        }
        if (child->IsRunTimer() && child->IsVisible() && child->OnTimer()) {
            changed = 1;
        }
    }
    return changed;
}

void MControl::Draw(HDC hdc, const RECT& rect) {
    if (!m_visible || !m_rect.Intersects(rect)) {
        return;
    }
    for (size_t i = 0; i < m_areaControls.size(); ++i) {
        MControl* child = m_areaControls[i].get();
        if (child->GetRect().Intersects(m_rect)) {
            child->Draw(hdc, rect);
        }
    }
    DrawControl(hdc, rect);
    DrawSubControls(hdc, rect);
}

HDC MControl::UpdateMemDC(HDC hdc, int width, int height) {
    m_cacheValid = true;
    return m_cache.Ensure(hdc, width, height);
}

HDC MControl::UpdateAnimateDC(HDC hdc, int width, int height) {
    return m_animateCache.Ensure(hdc, width, height);
}

int MControl::IsFocusControl() const {
    return m_manager != nullptr && m_manager->GetFocusControl() == this ? 1 : 0;
}

MControl* MControl::GetFocusControl() {
    for (const auto& child : m_controls) {
        if (child->IsFocused()) {
            MControl* inner = child->GetFocusControl();
            return inner != nullptr ? inner : child.get();
        }
    }
    return nullptr;
}

MControl* MControl::ScanFocusable(bool forward) {
    const int count = static_cast<int>(m_controls.size());
    int focused = -1;
    for (int i = 0; i < count; ++i) {
        if (m_controls[static_cast<size_t>(i)]->IsFocused()) {
            focused = i;
            break;
        }
    }
    for (int step = 1; step <= count; ++step) {
        int index = 0;
        if (focused < 0) {
            index = forward ? step - 1 : count - step;
        } else {
            index = ((forward ? focused + step : focused - step) % count + count) % count;
        }
        MControl* candidate = m_controls[static_cast<size_t>(index)].get();
        if (candidate->IsVisible() && candidate->IsEnabled() && candidate->IsTabStop()) {
            return candidate;
        }
    }
    return nullptr;
}

MControl* MControl::GetNextFocusableControl() {
    return ScanFocusable(true);
}

MControl* MControl::GetPrevFocusableControl() {
    return ScanFocusable(false);
}

MControl* MControl::GetControl(UINT id) {
    for (MControl* child : GetControls()) {
        if (child->GetControlID() == id) {
            return child;
        }
        if (MControl* found = child->GetControl(id)) {
            return found;
        }
    }
    for (MControl* child : GetAreaControls()) {
        if (child->GetControlID() == id) {
            return child;
        }
        if (MControl* found = child->GetControl(id)) {
            return found;
        }
    }
    return nullptr;
}

std::vector<MControl*> MControl::GetControls() {
    return ControlList::Snapshot(m_controls);
}

std::vector<MControl*> MControl::GetAreaControls() {
    return ControlList::Snapshot(m_areaControls);
}

MControl* MControl::AddControl(std::unique_ptr<MControl> child) {
    return AdoptChild(m_controls, std::move(child), m_manager);
}

MControl* MControl::AddAreaControl(std::unique_ptr<MControl> child) {
    return AdoptChild(m_areaControls, std::move(child), m_manager);
}

BOOL MControl::RemoveControl(MControl* child) {
    std::unique_ptr<MControl> removed;
    for (auto it = m_controls.begin(); it != m_controls.end(); ++it) {
        if (it->get() == child) {
            removed = std::move(*it);
            m_controls.erase(it);
            break;
        }
    }
    if (m_pressedChild == child) {
        m_pressedChild = nullptr;
    }
    if (removed == nullptr) {
        return FALSE;
    }
    if (m_manager != nullptr) {
        removed->ForEachInTree([this](MControl* control) { m_manager->ForgetControl(control); });
    }
    removed.reset();
    return TRUE;
}

void MControl::RemoveAllControl() {
    std::vector<std::unique_ptr<MControl>> areas;
    std::vector<std::unique_ptr<MControl>> controls;
    areas.swap(m_areaControls);
    controls.swap(m_controls);
    m_pressedChild = nullptr;
    if (m_manager != nullptr) {
        for (auto* list : {&areas, &controls}) {
            for (const auto& child : *list) {
                child->ForEachInTree(
                    [this](MControl* control) { m_manager->ForgetControl(control); });
            }
        }
    }
    areas.clear();
    controls.clear();
}

void MControl::AddMTimer() {
    if (m_manager != nullptr) {
        m_manager->AddMTimer(this);
    }
}

void MControl::RequestRepaint(const RECT& rect, int redraw) {
    if (m_parent == nullptr) {
        return;
    }
    // The lists a repaint walks belong to the UI thread: from another thread the request
    // is queued for it.
    if (m_manager != nullptr && !m_manager->IsUiThread()) {
        m_manager->RequestControlUpdate(this, rect, redraw);
        return;
    }
    m_parent->OnControlUpdate(rect, redraw, this);
}

void MControl::SetRunTimer(bool on) {
    m_runTimer = on;
    if (on && m_manager != nullptr) {
        m_manager->WakeAnimationTick();
    }
}

void MControl::UpdateControl(int redraw, int evenIfHidden) {
    if (m_visible || evenIfHidden) {
        RequestRepaint(m_rect, redraw);
    }
}

void MControl::UpdateAControl(int animate, int evenIfHidden) {
    m_animating = animate != 0;
    if (m_visible || evenIfHidden) {
        RequestRepaint(m_rect, 0);
    }
}

void MControl::UpdateControl(const RECT& rect, int evenIfHidden, int redraw) {
    if (m_visible || evenIfHidden) {
        RequestRepaint(rect, redraw);
    }
}

long MControl::SendMessageW(UINT code, WPARAM wParam, LPARAM lParam) {
    return m_parent != nullptr ? m_parent->OnBaseMessage(m_id, code, wParam, lParam) : 0;
}

}  // namespace Orvo
