#include "orvo/dialog.h"

#include "message_table.h"
#include "orvo/manager.h"

namespace Orvo {
MDialog::MDialog() = default;

MDialog::~MDialog() {
    // A dialog deleted while its window lives: the window must not reach this object again.
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) {
        const HWND window = m_hWnd;
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        m_PaintManager.DestroyData();
        m_hWnd = nullptr;
        ::DestroyWindow(window);
    }
}

LRESULT MDialog::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    return MessageTable<MDialog>::Dispatch(*this, m_PaintManager, msg, wParam, lParam);
}

LRESULT MDialog::PreTranslateMessage(MSG* msg) {
    return m_PaintManager.PreTranslateMessage(msg);
}

BOOL MDialog::OnInitDialog() {
    m_PaintManager.Init(m_hWnd, this);
    m_clientRect = CRect();
    if (m_hWnd != nullptr) {
        ::GetClientRect(m_hWnd, &m_clientRect);
    }
    InitUI(m_clientRect);
    return TRUE;
}

void MDialog::OnDestroyMessage(HWND hwnd) {
    if (hwnd == m_PaintManager.GetPaintWnd()) {
        m_PaintManager.OnDestroyMessage(hwnd);
    }
    PostNcDestroy();
}

POINT MDialog::GetAirBladderPoint(MControl* control, int type) {
    POINT point = {0, 0};
    if (control == nullptr) {
        return point;
    }
    const CRect& rect = control->GetRect();
    point.y = rect.bottom;
    switch (type) {
        case 1:
            point.x = rect.left + (rect.right - rect.left) / 2;
            break;
        case 2:
            point.x = rect.right;
            break;
        default:
            point.x = rect.left;
            break;
    }
    if (m_hWnd != nullptr) {
        ::ClientToScreen(m_hWnd, &point);
    }
    return point;
}

void MDialog::OnMinimize() {
    ShowWindow(SW_MINIMIZE);
}

void MDialog::OnMaximize() {
    ShowWindow(m_hWnd != nullptr && ::IsZoomed(m_hWnd) ? SW_RESTORE : SW_MAXIMIZE);
}

void MDialog::InitUI(const CRect&) {}

void MDialog::UISize(const CRect&) {}

long MDialog::OnMessage(UINT, UINT, WPARAM, LPARAM) {
    return 0;
}

LRESULT MDialog::OnUserCloseWindow(WPARAM wParam, LPARAM lParam) {
    PostMessageW(WM_CLOSE, wParam, lParam);
    return 1;
}

LRESULT MDialog::OnCreate(CREATESTRUCTW*) {
    MakeBorderless(m_hWnd);
    return 1;
}

LRESULT MDialog::OnSize(UINT type, int, int) {
    if (type != SIZE_MINIMIZED) {
        SetupBackTranslucent();
    }
    if (m_hWnd == nullptr) {
        return 0;
    }
    ::GetClientRect(m_hWnd, &m_clientRect);
    if (m_clientRect.Width() > 1 && m_clientRect.Height() > 1) {
        UISize(m_clientRect);
        // Wherever no control takes the click, the client area drags the window.
        m_PaintManager.SetCaptionRect(m_clientRect);
    }
    ::InvalidateRect(m_hWnd, &m_clientRect, FALSE);
    return 0;
}

LRESULT MDialog::OnMouseMove(UINT, POINT) {
    return 0;
}

LRESULT MDialog::OnMouseLeave(WPARAM, LPARAM) {
    return 0;
}

LRESULT MDialog::OnMouseHover(WPARAM, LPARAM) {
    return 0;
}

LRESULT MDialog::OnMouseWheel(UINT, short, POINT) {
    return 0;
}

LRESULT MDialog::OnLButtonDown(UINT, POINT) {
    return 0;
}

LRESULT MDialog::OnLButtonUp(UINT, POINT) {
    return 0;
}

LRESULT MDialog::OnLButtonDblClk(UINT, POINT) {
    return 0;
}

LRESULT MDialog::OnRButtonDown(UINT, POINT) {
    return 0;
}

LRESULT MDialog::OnRButtonUp(UINT, POINT) {
    return 0;
}

LRESULT MDialog::OnRButtonDblClk(UINT, POINT) {
    return 0;
}

LRESULT MDialog::OnKeyDown(UINT, UINT, UINT) {
    return 0;
}

LRESULT MDialog::OnNcHitTest(POINT) {
    return 0;
}

LRESULT MDialog::OnGetMinMaxInfo(MINMAXINFO*) {
    return 0;
}

LRESULT MDialog::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*) {
    return 0;
}

LRESULT MDialog::OnNcActivate(BOOL) {
    return 0;
}

LRESULT MDialog::OnWindowPosChanging(WINDOWPOS*) {
    return 0;
}

LRESULT MDialog::OnWindowPosChanged(WINDOWPOS*) {
    return 0;
}

LRESULT MDialog::OnPaint() {
    return 0;
}

void MDialog::OnTimer(UINT_PTR) {}

LRESULT MDialog::OnNcPaint() {
    return 0;
}

LRESULT MDialog::OnClose() {
    return 0;
}

LRESULT MDialog::OnDestroy() {
    return 0;
}

LRESULT MDialog::PostNcDestroy() {
    return 0;
}

long MDialog::OnBaseMessage(UINT controlId, UINT code, WPARAM wParam, LPARAM lParam) {
    return OnMessage(controlId, code, wParam, lParam);
}

long MDialog::OnControlUpdate(const RECT& rect, int redraw, MControl* control) {
    return m_PaintManager.OnControlUpdate(rect, redraw, control);
}

int MDialog::SetAirBladderMsg(const wchar_t* text, POINT point, int type) {
    if (point.x == 0 || point.y == 0) {
        return 0;
    }
    m_PaintManager.SetAirBladderMsg(text, point, type, 3);
    m_PaintManager.ShowAirBladder(1, 0);
    return 1;
}

int MDialog::CreateShadow(int show, int reRegister) {
    return m_PaintManager.CreateShadow(show, reRegister);
}

MControl* MDialog::CreateArea(const wchar_t* className, UINT id, const RECT& rect,
                              const wchar_t* text, int visible, int enabled) {
    return m_PaintManager.CreateArea(this, className, id, rect, text, visible, enabled);
}

MControl* MDialog::CreateControl(const wchar_t* className, UINT id, const RECT& rect,
                                 const wchar_t* text, int visible, int enabled) {
    return m_PaintManager.CreateControl(this, className, id, rect, text, visible, enabled);
}

UINT MDialog::SetMTimer(UINT periodMs) {
    return m_PaintManager.SetMTimer(periodMs);
}

void MDialog::DoOK() {
    PostMessageW(kCloseDialogMessage, IDOK, 0);
}

void MDialog::DoCancel() {
    PostMessageW(kCloseDialogMessage, IDCANCEL, 0);
}

void MDialog::DoClose() {
    PostMessageW(kCloseDialogMessage, IDCANCEL, 0);
}

void MDialog::DoYes() {
    PostMessageW(kCloseDialogMessage, IDYES, 0);
}

void MDialog::DoNo() {
    PostMessageW(kCloseDialogMessage, IDNO, 0);
}

void MDialog::SetupBackTranslucent() {
    if (m_hWnd == nullptr) {
        return;
    }
    if (m_alpha != 255) {
        ModifyExStyle(0, WS_EX_LAYERED);
        ::SetLayeredWindowAttributes(m_hWnd, 0, m_alpha, LWA_ALPHA);
    } else if (m_colorKey != ColorRef(0xFFFFFF)) {
        ModifyExStyle(0, WS_EX_LAYERED);
        ::SetLayeredWindowAttributes(m_hWnd, m_colorKey.Value(), 255, LWA_COLORKEY);
    }
}

}  // namespace Orvo
