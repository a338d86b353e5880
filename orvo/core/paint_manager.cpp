#include "orvo/paint_manager.h"

#include <commctrl.h>

#include <algorithm>

#include "control_list.h"
#include "core_math.h"
#include "orvo/control_factory.h"
#include "orvo/control_font.h"
#include "orvo/window.h"

namespace Orvo {
namespace {

constexpr UINT_PTR kTooltipToolId = 1313;
constexpr UINT kToolkitFontResource = 106;
constexpr UINT kVerticalScrollResource = 102;
constexpr UINT kHorizontalScrollResource = 101;

TOOLINFOW MakeToolInfo(HWND host, UINT flags) {
    TOOLINFOW info = {};
    // The first version of the structure is understood by every comctl32.
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.uFlags = flags;
    info.hwnd = host;
    info.uId = kTooltipToolId;
    return info;
}

}  // namespace

PaintManager::PaintManager() = default;

PaintManager::~PaintManager() {
    // No tick may reach this object while its members are being destroyed.
    CMTimer::KillTimer();
    DestroyData();
    // Controls created before Init (or on a window that never existed) are still here.
    std::vector<std::unique_ptr<MControl>> areas;
    std::vector<std::unique_ptr<MControl>> controls;
    areas.swap(m_areaControls);
    controls.swap(m_controls);
    DeleteControls(std::move(areas));
    DeleteControls(std::move(controls));
    ClearTimers();
    ClearImgResInfo();
    ClearTempFont();
    if (m_tooltipWnd != nullptr && ::IsWindow(m_tooltipWnd)) {
        ::DestroyWindow(m_tooltipWnd);
    }
    m_tipBubble.reset();
    if (m_windowDC != nullptr) {
        ::ReleaseDC(m_hWnd, m_windowDC);
    }
}

void PaintManager::Init(HWND hwnd, MWindow* window) {
    if (hwnd == nullptr || !::IsWindow(hwnd)) {
        return;
    }
    if (hwnd != m_hWnd) {
        if (m_windowDC != nullptr) {
            ::ReleaseDC(m_hWnd, m_windowDC);
        }
        m_hWnd = hwnd;
        m_windowDC = ::GetDC(hwnd);
    }
    m_ownerWindow = window;
    m_tickWindow = hwnd;
    m_tickPosted = false;
    InitDragDrop();
    m_initialized = 1;
    m_scrollVerticalId = kVerticalScrollResource;
    m_scrollHorizontalId = kHorizontalScrollResource;
    m_scrollResourcesFromApplication = false;
    AddGDITempFont(kToolkitFontResource, L"TTF");
}

void PaintManager::Invalidate() {
    InvalidateRect(nullptr, FALSE);
}

void PaintManager::InvalidateRect(const RECT* rect, BOOL erase) {
    if (m_hWnd == nullptr || !::IsWindow(m_hWnd)) {
        return;
    }
    ::InvalidateRect(m_hWnd, rect, erase);
}

CRect PaintManager::GetClientRect() const {
    CRect rect;
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) {
        ::GetClientRect(m_hWnd, &rect);
    }
    return rect;
}

CRect PaintManager::GetWindowRect() const {
    CRect rect;
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) {
        ::GetWindowRect(m_hWnd, &rect);
    }
    return rect;
}

void PaintManager::GetClientSize(int& width, int& height) const {
    const CRect rect = GetClientRect();
    width = rect.Width();
    height = rect.Height();
}

void PaintManager::SetCapture() {
    if (m_hWnd == nullptr || !::IsWindow(m_hWnd)) {
        return;
    }
    ::SetCapture(m_hWnd);
    m_captured = 1;
}

void PaintManager::ReleaseCapture() {
    if (m_captured) {
        ::ReleaseCapture();
    }
    m_captured = 0;
}

long PaintManager::OnControlUpdate(const RECT& rect, int redraw, MControl* control) {
    if (control == nullptr) {
        return 0;
    }
    if (redraw) {
        control->SetUpdate(0, m_fillColor);
    }
    CRect area = rect;
    if (m_initialized) {
        // Controls drawn after the requester and over the rectangle are repainted over it.
        bool passed = false;
        const auto markLater = [&](std::vector<std::unique_ptr<MControl>>& list) {
            for (size_t i = 0; i < list.size(); ++i) {
                MControl* other = list[i].get();
                if (passed && other->IsVisible() && other->GetRect().Intersects(rect)) {
                    other->SetUpdate(0, m_fillColor);
                    area = CRect::Union(area, other->GetRect());
                }
                if (other == control) {
                    passed = true;
                }
            }
        };
        markLater(m_areaControls);
        markLater(m_controls);
    }
    if (m_layered) {
        InvalidateRect(nullptr, TRUE);
    } else {
        InvalidateRect(&area, FALSE);
    }
    return 1;
}

LRESULT PaintManager::SendMessageW(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (m_hWnd == nullptr || !::IsWindow(m_hWnd)) {
        return 0;
    }
    return ::SendMessageW(m_hWnd, msg, wParam, lParam);
}

LRESULT PaintManager::PostMessageW(UINT msg, WPARAM wParam, LPARAM lParam) {
    return SendMessageW(msg, wParam, lParam);
}

BOOL PaintManager::SetTimer(MControl* control, UINT key, UINT ms) {
    if (control == nullptr || m_hWnd == nullptr || !::IsWindow(m_hWnd)) {
        return FALSE;
    }
    std::lock_guard<std::recursive_mutex> lock(m_timerLock);
    for (ControlTimer& record : m_timers) {
        if (record.window == m_hWnd && record.control == control && record.key == key) {
            if (!record.stopped) {
                return FALSE;
            }
            if (::SetTimer(m_hWnd, record.id, ms, nullptr) == 0) {
                return FALSE;
            }
            record.stopped = false;
            return TRUE;
        }
    }
    unsigned id = 0;
    const auto inUse = [this](unsigned candidate) {
        return std::any_of(m_timers.begin(), m_timers.end(), [&](const ControlTimer& record) {
            return record.window == m_hWnd && record.id == candidate;
        });
    };
    if (!CoreMath::NextControlTimerId(m_controlTimerCounter, inUse, id)) {
        return FALSE;
    }
    if (::SetTimer(m_hWnd, id, ms, nullptr) == 0) {
        return FALSE;
    }
    m_timers.push_back(ControlTimer{m_hWnd, key, id, false, control});
    return TRUE;
}

BOOL PaintManager::KillTimer(MControl* control, UINT key) {
    std::lock_guard<std::recursive_mutex> lock(m_timerLock);
    for (ControlTimer& record : m_timers) {
        if (record.window == m_hWnd && record.control == control && record.key == key &&
            !record.stopped) {
            ::KillTimer(m_hWnd, record.id);
            record.stopped = true;
            return TRUE;
        }
    }
    return FALSE;
}

void PaintManager::KillTimer(MControl* control) {
    std::lock_guard<std::recursive_mutex> lock(m_timerLock);
    for (auto it = m_timers.begin(); it != m_timers.end();) {
        if (it->control == control) {
            if (!it->stopped && it->window != nullptr && ::IsWindow(it->window)) {
                ::KillTimer(it->window, it->id);
            }
            it = m_timers.erase(it);
        } else {
            ++it;
        }
    }
}

void PaintManager::ClearTimers() {
    std::lock_guard<std::recursive_mutex> lock(m_timerLock);
    for (const ControlTimer& record : m_timers) {
        if (!record.stopped && record.window != nullptr && ::IsWindow(record.window)) {
            ::KillTimer(record.window, record.id);
        }
    }
    m_timers.clear();
}

UINT PaintManager::GetTimerId(MControl* control, UINT key) {
    std::lock_guard<std::recursive_mutex> lock(m_timerLock);
    for (const ControlTimer& record : m_timers) {
        if (record.control == control && record.key == key) {
            return record.id;
        }
    }
    return 0;
}

UINT PaintManager::TickMessage() {
    static const UINT message = ::RegisterWindowMessageW(L"OrvoAnimationTick");
    return message;
}

UINT PaintManager::UpdateRequestMessage() {
    static const UINT message = ::RegisterWindowMessageW(L"OrvoControlUpdateRequest");
    return message;
}

bool PaintManager::IsUiThread() const {
    // Before the window exists the controls are being built by the thread that makes it.
    return m_hWnd == nullptr ||
           ::GetWindowThreadProcessId(m_hWnd, nullptr) == ::GetCurrentThreadId();
}

UINT PaintManager::SetMTimer(UINT periodMs) {
    // One animation tick per window: a second call replaces the first.
    PauseTick();
    m_tickPeriodMs = 0;
    m_tickRequestId = 0;
    const UINT id = CMTimer::SetTimer(periodMs, L"", 0);
    if (id == 0) {
        return 0;
    }
    m_tickPeriodMs = periodMs;
    m_tickRequestId = id;
    m_animationTimerId = id;
    // Pauses at its first tick when nothing animates.
    return id;
}

void PaintManager::KillMTimer(UINT id) {
    if (id == 0) {
        return;
    }
    if (id == m_tickRequestId || id == m_animationTimerId) {
        PauseTick();
        m_tickPeriodMs = 0;
        m_tickRequestId = 0;
        return;
    }
    CMTimer::KillTimer(id);
}

void PaintManager::KillMTimer() {
    m_animationTimerId = 0;
    m_tickPeriodMs = 0;
    m_tickRequestId = 0;
    CMTimer::KillTimer();
}

void PaintManager::AddMTimer(MControl* control) {
    if (control == nullptr) {
        return;
    }
    if (std::find(m_animated.begin(), m_animated.end(), control) == m_animated.end()) {
        m_animated.push_back(control);
    }
    WakeAnimationTick();
}

void PaintManager::DeleteTimer(MControl* control) {
    m_animated.erase(std::remove(m_animated.begin(), m_animated.end(), control), m_animated.end());
}

bool PaintManager::IsWindowShowingTicks() const {
    return m_initialized && m_hWnd != nullptr && ::IsWindowVisible(m_hWnd) && !::IsIconic(m_hWnd);
}

bool PaintManager::WantsTicks() const {
    if (m_tickPeriodMs == 0 || !IsWindowShowingTicks()) {
        return false;
    }
    return std::any_of(m_animated.begin(), m_animated.end(), [](const MControl* control) {
        return control->IsRunTimer() && control->IsVisible() && control->IsParentVisible();
    });
}

void PaintManager::WakeAnimationTick() {
    if (m_animationTimerId != 0 || !WantsTicks()) {
        return;
    }
    m_tickPosted = false;
    m_animationTimerId = CMTimer::SetTimer(m_tickPeriodMs, L"", 0);
}

void PaintManager::PauseTick() {
    // The kill waits for a callback in progress, which only posts a message: no lock is held.
    if (const UINT running = m_animationTimerId.exchange(0)) {
        CMTimer::KillTimer(running);
    }
}

void PaintManager::OnMTimer(UINT id) {
    // The multimedia-timer thread only posts; a tick still waiting in the queue absorbs
    // the following ones.
    if (id == 0 || id != m_animationTimerId || m_tickPosted.exchange(true)) {
        return;
    }
    if (!::PostMessageW(m_tickWindow, TickMessage(), 0, 0)) {
        m_tickPosted = false;
    }
}

void PaintManager::RunAnimationTick() {
    m_tickPosted = false;
    if (m_animationTimerId == 0) {
        return;
    }
    ++m_ticksRun;
    if (!IsWindowShowingTicks()) {
        PauseTick();
        return;
    }
    // By index: a control's OnTimer may register or remove controls.
    for (size_t i = 0; i < m_animated.size(); ++i) {
        MControl* control = m_animated[i];
        if (control->IsRunTimer() && control->IsVisible() && control->IsParentVisible()) {
            control->OnTimer();
        }
    }
    if (!WantsTicks()) {
        PauseTick();
    }
}

void PaintManager::RequestControlUpdate(MControl* control, const RECT& rect, int redraw) {
    {
        std::lock_guard<std::mutex> lock(m_pendingUpdatesLock);
        m_pendingUpdates.push_back(PendingUpdate{control, rect, redraw});
    }
    if (!m_updateRequestPosted.exchange(true) &&
        !::PostMessageW(m_tickWindow, UpdateRequestMessage(), 0, 0)) {
        m_updateRequestPosted = false;
    }
}

void PaintManager::ForgetPendingUpdates(MControl* control) {
    std::lock_guard<std::mutex> lock(m_pendingUpdatesLock);
    m_pendingUpdates.erase(std::remove_if(m_pendingUpdates.begin(), m_pendingUpdates.end(),
                                          [control](const PendingUpdate& update) {
                                              return update.control == control;
                                          }),
                           m_pendingUpdates.end());
}

void PaintManager::RunRequestedUpdates() {
    m_updateRequestPosted = false;
    std::vector<PendingUpdate> updates;
    {
        std::lock_guard<std::mutex> lock(m_pendingUpdatesLock);
        updates.swap(m_pendingUpdates);
    }
    for (const PendingUpdate& update : updates) {
        // A control deleted after its request left the queue in ForgetControl; what is
        // still here is alive.
        update.control->UpdateControl(update.rect, 1, update.redraw);
    }
}

MControl* PaintManager::AttachControl(int kind, std::unique_ptr<MControl> control) {
    if (control == nullptr) {
        return nullptr;
    }
    MControl* attached = control.get();
    attached->SetManager(this);
    if (kind == kAreaList) {
        m_areaControls.push_back(std::move(control));
    } else if (kind == kControlList) {
        m_controls.push_back(std::move(control));
    } else {
        // In no list: the caller owns it now.
        return control.release();
    }
    return attached;
}

MControl* PaintManager::CreateControl(int kind, MObject* parent, const wchar_t* className, UINT id,
                                      const RECT& rect, const wchar_t* text, int visible,
                                      int enabled) {
    return AttachControl(kind, ControlFactory::Create(FactoryTable::kDialog, className, parent, id,
                                                      rect, text, visible, enabled));
}

MControl* PaintManager::CreateControl(MObject* parent, const wchar_t* className, UINT id,
                                      const RECT& rect, const wchar_t* text, int visible,
                                      int enabled) {
    return CreateControl(kControlList, parent, className, id, rect, text, visible, enabled);
}

MControl* PaintManager::CreateArea(MObject* parent, const wchar_t* className, UINT id,
                                   const RECT& rect, const wchar_t* text, int visible,
                                   int enabled) {
    return CreateControl(kAreaList, parent, className, id, rect, text, visible, enabled);
}

MControl* PaintManager::AddControl(std::unique_ptr<MControl> control) {
    return AttachControl(kControlList, std::move(control));
}

MControl* PaintManager::AddAreaControl(std::unique_ptr<MControl> control) {
    return AttachControl(kAreaList, std::move(control));
}

MControl* PaintManager::GetControl(UINT id) {
    for (auto* list : {&m_controls, &m_areaControls}) {
        for (size_t i = 0; i < list->size(); ++i) {
            MControl* control = (*list)[i].get();
            if (control->GetControlID() == id) {
                return control;
            }
            if (MControl* found = control->GetControl(id)) {
                return found;
            }
        }
    }
    return nullptr;
}

std::vector<MControl*> PaintManager::GetControls() {
    return ControlList::Snapshot(m_controls);
}

std::vector<MControl*> PaintManager::GetAreaControls() {
    return ControlList::Snapshot(m_areaControls);
}

void PaintManager::ForgetControl(MControl* control) {
    if (control == nullptr) {
        return;
    }
    DeleteTimer(control);
    ForgetPendingUpdates(control);
    KillTimer(control);
    if (m_hoverControl == control) {
        m_hoverControl = nullptr;
        m_buttonHeld = false;
        m_rightButtonHeld = false;
        DisarmDrag();
    }
    if (m_focusControl == control) {
        m_focusControl = nullptr;
    }
    if (m_caretOwner == control) {
        m_caretOwner = nullptr;
    }
}

void PaintManager::DeleteControls(std::vector<std::unique_ptr<MControl>> controls) {
    // Every control of the trees leaves the animation list, the timer table and the queued
    // repaint requests before any is deleted.
    for (const auto& control : controls) {
        control->ForEachInTree([this](MControl* member) { ForgetControl(member); });
    }
    controls.clear();
}

BOOL PaintManager::RemoveControl(MControl* control) {
    std::unique_ptr<MControl> removed;
    for (auto it = m_controls.begin(); it != m_controls.end(); ++it) {
        if (it->get() == control) {
            removed = std::move(*it);
            m_controls.erase(it);
            break;
        }
    }
    if (removed == nullptr) {
        return FALSE;
    }
    std::vector<std::unique_ptr<MControl>> doomed;
    doomed.push_back(std::move(removed));
    DeleteControls(std::move(doomed));
    return TRUE;
}

void PaintManager::ClearAllControls() {
    ClearAreaControls();
    ClearControls();
}

void PaintManager::ClearAreaControls() {
    std::vector<std::unique_ptr<MControl>> doomed;
    doomed.swap(m_areaControls);
    DeleteControls(std::move(doomed));
}

void PaintManager::ClearControls() {
    std::vector<std::unique_ptr<MControl>> doomed;
    doomed.swap(m_controls);
    DeleteControls(std::move(doomed));
}

void PaintManager::SetScrollResID(UINT verticalId, UINT horizontalId) {
    m_scrollVerticalId = verticalId;
    m_scrollHorizontalId = horizontalId;
    m_scrollResourcesFromApplication = true;
}

void PaintManager::SetFocusControl(MControl* control) {
    if (control == m_focusControl) {
        return;
    }
    MControl* previous = m_focusControl;
    m_focusControl = control;
    if (previous != nullptr) {
        previous->SetControlFocus(0);
    }
    if (control != nullptr) {
        control->SetControlFocus(1);
    }
}

MControl* PaintManager::ScanFocusable(bool forward) {
    const std::vector<MControl*> controls = GetControls();
    const int count = static_cast<int>(controls.size());
    int focus = -1;
    if (m_focusControl != nullptr) {
        const auto it = std::find(controls.begin(), controls.end(), m_focusControl);
        focus = it == controls.end() ? count : static_cast<int>(it - controls.begin());
    }
    const int found = CoreMath::NextFocusIndex(count, focus, forward, [&](int i) {
        const MControl* control = controls[static_cast<size_t>(i)];
        return control->IsVisible() && control->IsEnabled() && control->IsTabStop();
    });
    if (found < 0) {
        return nullptr;
    }
    // Keys go to the hover control first: without one, the newly focused control takes them.
    if (m_hoverControl == nullptr) {
        m_hoverControl = controls[static_cast<size_t>(found)];
    }
    return controls[static_cast<size_t>(found)];
}

MControl* PaintManager::GetNextFocusableControl() {
    return ScanFocusable(true);
}

MControl* PaintManager::GetPrevFocusableControl() {
    return ScanFocusable(false);
}

bool PaintManager::EnsureTooltipWindow() {
    if (m_tooltipWnd != nullptr && ::IsWindow(m_tooltipWnd)) {
        return true;
    }
    if (m_hWnd == nullptr || !::IsWindow(m_hWnd)) {
        return false;
    }
    INITCOMMONCONTROLSEX classes = {sizeof(classes), ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&classes);
    m_tooltipWnd =
        ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                          WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                          CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr, nullptr, nullptr);
    if (m_tooltipWnd == nullptr) {
        return false;
    }
    ::SendMessageW(m_tooltipWnd, TTM_SETMAXTIPWIDTH, 0, 256);
    ::SendMessageW(m_tooltipWnd, TTM_SETTIPBKCOLOR, RGB(0xF5, 0xF5, 0xF5), 0);
    TOOLINFOW tool = MakeToolInfo(m_hWnd, TTF_PARSELINKS);
    ::GetClientRect(m_hWnd, &tool.rect);
    tool.lpszText = const_cast<wchar_t*>(L"");
    ::SendMessageW(m_tooltipWnd, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    if (::GetACP() == 936) {
        RECT margin = {2, 3, 0, 0};
        ::SendMessageW(m_tooltipWnd, TTM_SETMARGIN, 0, reinterpret_cast<LPARAM>(&margin));
    }
    return true;
}

void PaintManager::SetTooltip(const wchar_t* text, const RECT& rect) {
    if (text == nullptr || *text == L'\0') {
        if (m_tooltipWnd != nullptr && ::IsWindow(m_tooltipWnd)) {
            TOOLINFOW tool = MakeToolInfo(m_hWnd, TTF_PARSELINKS);
            tool.lpszText = const_cast<wchar_t*>(L"");
            ::SendMessageW(m_tooltipWnd, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
            ::SendMessageW(m_tooltipWnd, TTM_ACTIVATE, FALSE, 0);
        }
        return;
    }
    if (!EnsureTooltipWindow()) {
        return;
    }
    TOOLINFOW tool = MakeToolInfo(m_hWnd, TTF_TRACK | TTF_ABSOLUTE | TTF_PARSELINKS);
    tool.lpszText = const_cast<wchar_t*>(text);
    ::SendMessageW(m_tooltipWnd, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    // The tip belongs to the control's rectangle, not to the whole window.
    tool.rect = rect;
    ::SendMessageW(m_tooltipWnd, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
    ::SendMessageW(m_tooltipWnd, TTM_ACTIVATE, TRUE, 0);
}

void PaintManager::ClearTooltip() {
    SetTooltip(L"", CRect());
    m_tooltipControlId = 0;
}

int PaintManager::SetAirBladderMsg(const wchar_t* text, POINT point, int kind, int placement) {
    if (m_tipBubble == nullptr) {
        if (m_hWnd == nullptr || !::IsWindow(m_hWnd)) {
            return 0;
        }
        auto bubble = std::make_unique<MAirBladder>();
        const CRect nowhere(point.x, point.y, point.x + 1, point.y + 1);
        if (bubble->Create(m_hWnd, L"AirBladder Window",
                           WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                           WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE,
                           nowhere) == nullptr) {
            return 0;
        }
        bubble->LoadBKImage(L"img_tip_bk.png");
        bubble->LoadArrowLImage(L"img_tip_arrow_left.png");
        bubble->LoadArrowRImage(L"img_tip_arrow_right.png");
        bubble->LoadArrowTImage(L"img_tip_arrow_top.png");
        m_tipBubble = std::move(bubble);
    }
    return m_tipBubble->SetAirBladderMsg(text, point, kind, placement);
}

void PaintManager::ShowAirBladder(int show, UINT_PTR key) {
    if (m_tipBubble == nullptr || m_tipBubble->GetSafeHwnd() == nullptr) {
        return;
    }
    if (!show && key != 0 && key != m_bubbleOwnerKey) {
        return;
    }
    if (show) {
        m_bubbleOwnerKey = key;
    }
    m_tipBubble->ShowWindow(show ? SW_SHOWNOACTIVATE : SW_HIDE);
}

void PaintManager::InitDragDrop() {}

void PaintManager::DisarmDrag() {
    m_dragArmed = false;
    m_dragBitmap.reset();
}

void PaintManager::OnDestroyMessage(HWND hwnd) {
    if (hwnd == m_hWnd) {
        DestroyData();
    }
}

void PaintManager::DestroyData() {
    if (!m_initialized) {
        return;
    }
    m_backImage.reset();
    m_backImageWidth = 0;
    m_backImageHeight = 0;
    KillMTimer();
    ClearTimers();
    ClearAreaControls();
    ClearControls();
    ClearImgResInfo();
    ClearTempFont();
    if (m_windowDC != nullptr) {
        ::ReleaseDC(m_hWnd, m_windowDC);
        m_windowDC = nullptr;
    }
    m_hoverControl = nullptr;
    m_focusControl = nullptr;
    m_caretOwner = nullptr;
    DisarmDrag();
    m_initialized = 0;
}

}  // namespace Orvo
