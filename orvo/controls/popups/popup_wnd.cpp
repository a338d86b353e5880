#include "orvo/popup_wnd.h"

#include "../../core/message_table.h"
#include "orvo/dialog.h"

namespace Orvo {

MPopupWnd::MPopupWnd() {
    m_PaintManager.SetBackColor(m_backColor, m_backColor);
}

MPopupWnd::~MPopupWnd() {
    // A popup deleted while its window lives: the window must not reach this object again.
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) {
        const HWND window = m_hWnd;
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        m_PaintManager.DestroyData();
        m_hWnd = nullptr;
        ::DestroyWindow(window);
    }
}

LRESULT MPopupWnd::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    return MessageTable<MPopupWnd>::Dispatch(*this, m_PaintManager, msg, wParam, lParam);
}

LRESULT MPopupWnd::PreTranslateMessage(MSG* msg) {
    return m_PaintManager.PreTranslateMessage(msg);
}

BOOL MPopupWnd::OnInitDialog() {
    m_PaintManager.Init(m_hWnd, this);
    CRect client;
    if (m_hWnd != nullptr) {
        ::GetClientRect(m_hWnd, &client);
    }
    InitUI(client);
    return TRUE;
}

void MPopupWnd::OnDestroyMessage(HWND hwnd) {
    if (hwnd == m_PaintManager.GetPaintWnd()) {
        m_PaintManager.OnDestroyMessage(hwnd);
    }
    PostNcDestroy();
}

void MPopupWnd::InitUI(const CRect&) {}

void MPopupWnd::UISize(const CRect&) {}

long MPopupWnd::OnMessage(UINT, UINT, WPARAM, LPARAM) {
    return 0;
}

LRESULT MPopupWnd::OnUserCloseWindow(WPARAM wParam, LPARAM lParam) {
    PostMessageW(WM_CLOSE, wParam, lParam);
    return 1;
}

void MPopupWnd::CloseWindow() {
    PostMessageW(WM_CLOSE, 0, 0);
}

LRESULT MPopupWnd::OnCreate(CREATESTRUCTW*) {
    MakeBorderless(m_hWnd);
    ModifyExStyle(0, WS_EX_TOOLWINDOW);
    return 1;
}

LRESULT MPopupWnd::OnSize(UINT, int, int) {
    if (m_hWnd == nullptr) {
        return 0;
    }
    CRect client;
    ::GetClientRect(m_hWnd, &client);
    UISize(client);
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
    return 0;
}

LRESULT MPopupWnd::OnMouseMove(UINT, POINT) {
    return 0;
}

LRESULT MPopupWnd::OnMouseLeave(WPARAM, LPARAM) {
    return 0;
}

LRESULT MPopupWnd::OnMouseHover(WPARAM, LPARAM) {
    return 0;
}

LRESULT MPopupWnd::OnMouseWheel(UINT, short, POINT) {
    return 0;
}

LRESULT MPopupWnd::OnLButtonDown(UINT, POINT) {
    return 0;
}

LRESULT MPopupWnd::OnLButtonUp(UINT, POINT) {
    return 0;
}

LRESULT MPopupWnd::OnLButtonDblClk(UINT, POINT) {
    return 0;
}

LRESULT MPopupWnd::OnRButtonDown(UINT, POINT) {
    return 0;
}

LRESULT MPopupWnd::OnRButtonUp(UINT, POINT) {
    return 0;
}

LRESULT MPopupWnd::OnRButtonDblClk(UINT, POINT) {
    return 0;
}

LRESULT MPopupWnd::OnKeyDown(UINT, UINT, UINT) {
    return 0;
}

LRESULT MPopupWnd::OnNcHitTest(POINT) {
    return 0;
}

LRESULT MPopupWnd::OnGetMinMaxInfo(MINMAXINFO*) {
    return 0;
}

LRESULT MPopupWnd::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*) {
    return 0;
}

LRESULT MPopupWnd::OnNcActivate(BOOL active) {
    if (!active) {
        PostMessageW(WM_CLOSE, 0, 0);
    }
    return 0;
}

LRESULT MPopupWnd::OnWindowPosChanging(WINDOWPOS*) {
    return 0;
}

LRESULT MPopupWnd::OnWindowPosChanged(WINDOWPOS* pos) {
    if (m_hWnd == nullptr || pos == nullptr || m_inPositionChange) {
        return 0;
    }
    m_inPositionChange = true;
    // SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_NOSENDCHANGING.
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, 0x433);
    m_inPositionChange = false;
    CRect client;
    ::GetClientRect(m_hWnd, &client);
    ::SendMessageW(m_hWnd, WM_MOVE, 0, MAKELPARAM(pos->x, pos->y));
    ::SendMessageW(m_hWnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.Width(), client.Height()));
    return 1;
}

LRESULT MPopupWnd::OnPaint() {
    return 0;
}

void MPopupWnd::OnTimer(UINT_PTR) {}

LRESULT MPopupWnd::OnNcPaint() {
    return 0;
}

LRESULT MPopupWnd::OnClose() {
    return 0;
}

LRESULT MPopupWnd::PostNcDestroy() {
    return 0;
}

LRESULT MPopupWnd::OnDestroy() {
    return 0;
}

long MPopupWnd::OnBaseMessage(UINT controlId, UINT code, WPARAM wParam, LPARAM lParam) {
    return OnMessage(controlId, code, wParam, lParam);
}

long MPopupWnd::OnControlUpdate(const RECT& rect, int redraw, MControl* control) {
    return m_PaintManager.OnControlUpdate(rect, redraw, control);
}

void MPopupWnd::SetBackColor(ColorRef colour) {
    m_backColor = colour;
    m_PaintManager.SetBackColor(colour, colour);
}

void MPopupWnd::SetupBackTranslucent() {
    if (m_hWnd == nullptr || m_alpha == 255) {
        return;
    }
    ModifyExStyle(0, WS_EX_LAYERED);
    ::SetLayeredWindowAttributes(m_hWnd, 0, m_alpha, LWA_ALPHA);
}

MControl* MPopupWnd::CreateArea(const wchar_t* className, UINT id, const RECT& rect,
                                const wchar_t* text, int visible, int enabled) {
    return m_PaintManager.CreateArea(this, className, id, rect, text, visible, enabled);
}

MControl* MPopupWnd::CreateControl(const wchar_t* className, UINT id, const RECT& rect,
                                   const wchar_t* text, int visible, int enabled) {
    return m_PaintManager.CreateControl(this, className, id, rect, text, visible, enabled);
}

long MPopupWnd::SendMessageToParent(UINT code, WPARAM wParam, LPARAM lParam) {
    return NotifyParent(0, code, wParam, lParam);
}

long MPopupWnd::NotifyParent(UINT controlId, UINT code, WPARAM wParam, LPARAM lParam) {
    if (m_parentObject == nullptr) {
        return 0;
    }
    if (auto* control = dynamic_cast<MControl*>(m_parentObject)) {
        return control->OnMessage(controlId, code, wParam, lParam);
    }
    if (auto* dialog = dynamic_cast<MDialog*>(m_parentObject)) {
        return dialog->OnMessage(controlId, code, wParam, lParam);
    }
    return m_parentObject->OnBaseMessage(controlId, code, wParam, lParam);
}

}  // namespace Orvo
