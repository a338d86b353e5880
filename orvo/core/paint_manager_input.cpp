#include "orvo/paint_manager.h"

#include <commctrl.h>
#include <windowsx.h>

#include "control_list.h"
#include "core_math.h"
#include "drag_threshold.h"

namespace Orvo {
namespace {

constexpr UINT kReflectOffset = 0x2000;  // OCM_BASE - WM_USER: reflected to the sender
const POINT kOutside = {-1, -1};

bool IsRelayedMouseMessage(UINT msg) {
    switch (msg) {
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
        case WM_MOUSEWHEEL:
            return true;
        default:
            return false;
    }
}

}  // namespace

UINT PaintManager::GetKeyModifiers() {
    return CoreMath::KeyModifiers(::GetKeyState(VK_SHIFT) < 0, ::GetKeyState(VK_CONTROL) < 0,
                                  ::GetKeyState(VK_MENU) < 0);
}

bool PaintManager::OfferToControls(UINT msg, WPARAM wParam, LPARAM lParam) {
    for (size_t i = 0;; ++i) {
        MControl* control = ControlList::At(m_controls, i);
        if (control == nullptr) {
            return false;
        }
        if (control->OnWindowMessage(msg, wParam, lParam) != 0) {
            return true;
        }
    }
}

LRESULT PaintManager::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == TickMessage()) {
        RunAnimationTick();
        return 1;
    }
    if (msg == UpdateRequestMessage()) {
        RunRequestedUpdates();
        return 1;
    }
    if (OfferToControls(msg, wParam, lParam)) {
        return 0;
    }
    switch (msg) {
        case WM_NCDESTROY:
            DestroyData();
            return 1;
        case WM_CHAR:
            return 1;
        case WM_KEYUP:
        case WM_SYSKEYUP:
            return OnKeyUp(static_cast<UINT>(wParam)) != 0 ? 1 : 0;
        case WM_COMMAND:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
            if (lParam != 0) {
                return ::SendMessageW(reinterpret_cast<HWND>(lParam), msg + kReflectOffset, wParam,
                                      lParam);
            }
            return 0;
        default:
            return 0;
    }
}

LRESULT PaintManager::OnMouseMove(UINT flags, int x, int y) {
    const POINT point = {x, y};
    if (!m_mouseTracked && m_hWnd != nullptr) {
        TRACKMOUSEEVENT track = {sizeof(track), TME_HOVER | TME_LEAVE, m_hWnd, m_tooltipDelay};
        m_mouseTracked = ::TrackMouseEvent(&track) != FALSE;
    }
    if (m_dragArmed && (flags & MK_LBUTTON) != 0 &&
        DragThreshold::IsPast(m_dragStart.x, m_dragStart.y, x, y, ::GetSystemMetrics(SM_CXDRAG),
                              ::GetSystemMetrics(SM_CYDRAG))) {
        StartControlDrag(point);
        return 1;
    }
    MControl* hover = m_hoverControl;
    if (hover != nullptr && hover->PtInRect(point) && hover->OnCheckMouseResponse(flags, point) &&
        m_mouseTracked && !IsCoveredAt(hover, flags, point)) {
        hover->OnMouseMove(flags, point);
        return 1;
    }
    ClearTooltip();
    if (m_buttonHeld || m_rightButtonHeld) {
        // The control that holds the button follows the mouse outside its rectangle too
        // (a slider thumb dragged past the end).
        if (hover != nullptr) {
            hover->OnMouseMove(flags, point);
        }
        return 1;
    }
    if (!m_mouseTracked) {
        m_hoverControl = nullptr;
        return 1;
    }
    MControl* newHover = nullptr;
    for (size_t i = 0;; ++i) {
        MControl* control = ControlList::At(m_controls, i);
        if (control == nullptr) {
            break;
        }
        // Every control gets the move, so that those the mouse left drop their hot state.
        control->OnMouseMove(flags, point);
        // A control may refuse parts of its rectangle: a page's empty space leaves the
        // control under it to be hovered.
        if (control->PtInRect(point) && control->GetRresponse() &&
            control->OnCheckMouseResponse(flags, point)) {
            newHover = control;
        }
    }
    m_hoverControl = newHover;
    return 1;
}

bool PaintManager::IsCoveredAt(MControl* control, UINT flags, POINT point) {
    // A page over the hover control takes the mouse where one of its children lies.
    bool passed = false;
    for (const auto& other : m_controls) {
        if (passed && other->PtInRect(point) && other->GetRresponse() &&
            other->OnCheckMouseResponse(flags, point)) {
            return true;
        }
        passed = passed || other.get() == control;
    }
    return false;
}

LRESULT PaintManager::OnMouseLeave() {
    ClearTooltip();
    m_mouseTracked = false;
    if (!m_buttonHeld && !m_rightButtonHeld && m_hoverControl != nullptr) {
        MControl* hover = m_hoverControl;
        m_hoverControl = nullptr;
        hover->OnMouseMove(0, kOutside);
    }
    return 1;
}

MControl* PaintManager::HoverTakingPress(UINT flags, POINT point) {
    if (m_focusControl != nullptr && m_focusControl != m_hoverControl) {
        MControl* previous = m_focusControl;
        m_focusControl = nullptr;
        previous->SetControlFocus(0);
    }
    MControl* hover = m_hoverControl;
    if (hover != nullptr && hover->IsVisible() && hover->GetRresponse() && hover->PtInRect(point) &&
        hover->OnCheckMouseResponse(flags, point)) {
        return hover;
    }
    return nullptr;
}

void PaintManager::CaptureForPressed(MControl* pressed, UINT flags, POINT point) {
    if (!m_captured && m_hoverControl == pressed && pressed->OnCheckMouseResponse(flags, point)) {
        SetCapture();
    }
}

LRESULT PaintManager::OnLButtonDown(UINT flags, int x, int y) {
    const POINT point = {x, y};
    m_doubleClick = false;
    if (MControl* hover = HoverTakingPress(flags, point)) {
        if (hover->IsDragDrop() && hover->IsEnabled()) {
            m_dragArmed = true;
            m_dragStart = point;
            // The control makes a new picture for every press; the manager owns it.
            m_dragBitmap.reset(hover->GetDropBitmap());
        }
        m_buttonHeld = true;
        SetFocusControl(hover);
        hover->OnLButtonDown(flags, point);
        CaptureForPressed(hover, flags, point);
        return 1;
    }
    if (m_windowDragEnabled && m_captionRect.PtInRect(point) && m_hWnd != nullptr) {
        ReleaseCapture();
        ::ReleaseCapture();
        ::SendMessageW(m_hWnd, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(x, y));
    }
    return 1;
}

void PaintManager::DeliverToHover(BOOL (MControl::*handler)(UINT, POINT), UINT flags, POINT point) {
    MControl* hover = m_hoverControl;
    if (hover == nullptr || !hover->IsVisible() || !hover->GetRresponse()) {
        return;
    }
    const CRect before = hover->GetRect();
    (hover->*handler)(flags, point);
    // A release or click outside the control it started on leaves no control hovered.
    if (m_hoverControl == hover && !before.PtInRect(point)) {
        m_hoverControl = nullptr;
    }
}

LRESULT PaintManager::OnLButtonUp(UINT flags, int x, int y) {
    const POINT point = {x, y};
    ReleaseCapture();
    m_buttonHeld = false;
    DisarmDrag();
    DeliverToHover(&MControl::OnLButtonUp, flags, point);
    return 1;
}

LRESULT PaintManager::OnLButtonDblClk(UINT flags, int x, int y) {
    const POINT point = {x, y};
    m_doubleClick = true;
    DeliverToHover(&MControl::OnLButtonDblClk, flags, point);
    return 1;
}

LRESULT PaintManager::OnRButtonDown(UINT flags, int x, int y) {
    const POINT point = {x, y};
    m_rightDoubleClick = false;
    if (MControl* hover = HoverTakingPress(flags, point)) {
        m_rightButtonHeld = true;
        SetFocusControl(hover);
        hover->OnRButtonDown(flags, point);
        CaptureForPressed(hover, flags, point);
    }
    return 1;
}

LRESULT PaintManager::OnRButtonUp(UINT flags, int x, int y) {
    const POINT point = {x, y};
    ReleaseCapture();
    m_rightButtonHeld = false;
    DeliverToHover(&MControl::OnRButtonUp, flags, point);
    return 1;
}

LRESULT PaintManager::OnMouseWheel(UINT, short delta, POINT screenPoint) {
    POINT point = screenPoint;
    if (m_hWnd != nullptr) {
        ::ScreenToClient(m_hWnd, &point);
    }
    const int steps = CoreMath::WheelSteps(delta);
    const int down = CoreMath::WheelDown(delta) ? 1 : 0;
    bool any = false;
    for (int step = 0; step < steps; ++step) {
        bool taken = m_hoverControl != nullptr && m_hoverControl->OnScroll(1, down, point);
        for (size_t i = 0; !taken; ++i) {
            MControl* control = ControlList::At(m_controls, i);
            if (control == nullptr) {
                break;
            }
            taken = control->OnScroll(1, down, point) != FALSE;
        }
        any = any || taken;
    }
    return any ? 1 : 0;
}

LRESULT PaintManager::OnNcActivate(BOOL active) {
    m_windowActive = active;
    if (!active) {
        m_mouseTracked = false;
        ReleaseCapture();
        m_doubleClick = false;
        MControl* hover = m_hoverControl;
        m_hoverControl = nullptr;
        if (hover != nullptr) {
            if (m_buttonHeld) {
                // The release will never come to this window: the held control gets one.
                m_buttonHeld = false;
                hover->OnLButtonUp(0, kOutside);
            } else {
                hover->OnMouseMove(0, kOutside);
            }
        }
        m_rightButtonHeld = false;
        DisarmDrag();
    }
    if (m_layered) {
        InvalidateRect(nullptr, TRUE);
    } else {
        InvalidateRect(nullptr, FALSE);
    }
    return 1;
}

LRESULT PaintManager::OnGetMinMaxInfo(MINMAXINFO* info) {
    if (info == nullptr) {
        return 0;
    }
    if (m_minSize.cx > 0) {
        info->ptMinTrackSize.x = m_minSize.cx;
    }
    if (m_minSize.cy > 0) {
        info->ptMinTrackSize.y = m_minSize.cy;
    }
    if (m_maxSize.cx > 0) {
        info->ptMaxTrackSize.x = m_maxSize.cx;
        info->ptMaxSize.x = m_maxSize.cx;
    }
    if (m_maxSize.cy > 0) {
        info->ptMaxTrackSize.y = m_maxSize.cy;
        info->ptMaxSize.y = m_maxSize.cy;
    }
    // A maximised dialog covers the work area, not the task bar.
    RECT work = {0, 0, 1280, 720};
    if (!::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) {
        work = RECT{0, 0, 1280, 720};
    }
    info->ptMaxPosition = POINT{work.left, work.top};
    info->ptMaxSize = POINT{work.right - work.left, work.bottom - work.top};
    return 0;
}

LRESULT PaintManager::OnKeyDown(UINT vk) {
    const UINT modifiers = GetKeyModifiers();
    if (m_hoverControl != nullptr && m_hoverControl->OnKeyDown(vk, 1, modifiers)) {
        return 1;
    }
    for (size_t i = 0;; ++i) {
        MControl* control = ControlList::At(m_controls, i);
        if (control == nullptr) {
            break;
        }
        if (control->OnKeyDown(vk, 1, modifiers)) {
            return 1;
        }
    }
    // A key no control takes goes on to the system: Alt+F4 closes the window, Alt+Space
    // opens its menu.
    return 0;
}

LRESULT PaintManager::PreTranslateMessage(MSG* msg) {
    if (msg == nullptr) {
        return 0;
    }
    if ((msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN) && msg->wParam == VK_TAB) {
        const UINT modifiers = GetKeyModifiers();
        MControl* next = nullptr;
        if (modifiers == 0) {
            next = GetNextFocusableControl();
        } else if (modifiers == 0x10) {
            next = GetPrevFocusableControl();
        }
        if (next != nullptr && next != m_focusControl) {
            SetFocusControl(next);
            return 1;
        }
        return 0;
    }
    if (IsRelayedMouseMessage(msg->message) && m_tooltipWnd != nullptr &&
        ::IsWindow(m_tooltipWnd)) {
        ::SendMessageW(m_tooltipWnd, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg));
    }
    return 0;
}

LRESULT PaintManager::OnTimer(UINT_PTR id) {
    switch (id) {
        case kCaretTimerId:
            if (m_layered) {
                InvalidateRect(nullptr, FALSE);
            } else {
                InvalidateRect(&m_caretRect, FALSE);
            }
            m_caretOn = !m_caretOn;
            return 0;
        case kSpareTimerId:
            ::KillTimer(m_hWnd, kSpareTimerId);
            return 0;
        case kOverlayFadeTimerId:
            m_overlayOpacity -= 10;
            if (m_overlayOpacity < 20) {
                // Faded out: the overlay is gone, not left drawn at full strength.
                m_overlayOpacity = 0;
                m_overlayProgress = 0;
                m_progressTarget = 0;
                m_overlayText.clear();
                ::KillTimer(m_hWnd, kOverlayFadeTimerId);
            }
            InvalidateOverlay();
            return 0;
        case kOverlayProgressTimerId:
            m_overlayProgress += 2;
            if (m_overlayProgress >= m_progressTarget) {
                m_overlayProgress = m_progressTarget;
                ::KillTimer(m_hWnd, kOverlayProgressTimerId);
            }
            InvalidateOverlay();
            if (m_overlayProgress >= 100) {
                ::SetTimer(m_hWnd, kOverlayFadeTimerId, 50, nullptr);
            }
            return 0;
        default:
            break;
    }
    std::vector<MControl*> due;
    {
        std::lock_guard<std::recursive_mutex> lock(m_timerLock);
        for (const ControlTimer& record : m_timers) {
            if (record.window == m_hWnd && record.id == id && !record.stopped) {
                due.push_back(record.control);
            }
        }
    }
    for (MControl* control : due) {
        // An earlier control's OnTimer may have deleted this one.
        bool alive = false;
        {
            std::lock_guard<std::recursive_mutex> lock(m_timerLock);
            for (const ControlTimer& record : m_timers) {
                alive = alive || record.control == control;
            }
        }
        if (alive) {
            control->OnTimer();
        }
    }
    return 0;
}

}  // namespace Orvo
