#include "orvo/window.h"

#include "orvo/manager.h"

namespace Orvo {
namespace {

constexpr wchar_t kControlProperty[] = L"Control";
constexpr DWORD kDefaultStyle = 0x0000080B;

bool RegisterOrExists(const WNDCLASSEXW& windowClass) {
    return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

bool MWindow::HasWindow() const {
    return m_hWnd != nullptr && ::IsWindow(m_hWnd);
}

BOOL MWindow::ShowWindow(int cmd) {
    if (!HasHandle()) {
        return FALSE;
    }
    return ::ShowWindow(m_hWnd, cmd);
}

LRESULT MWindow::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    return ::CallWindowProcW(m_oldWndProc, m_hWnd, msg, wParam, lParam);
}

LRESULT MWindow::PreTranslateMessage(MSG*) {
    return 0;
}

void MWindow::OnDestroyMessage(HWND) {}

bool MWindow::RegisterWindowClass() {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    windowClass.lpfnWndProc = &MWindow::WndProc;
    windowClass.hInstance = Manager::GetInstance();
    windowClass.lpszClassName = GetWindowClassName();
    return RegisterOrExists(windowClass);
}

bool MWindow::RegisterSuperClass() {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    if (!GetClassInfoExW(nullptr, GetSuperClassName(), &windowClass) &&
        !GetClassInfoExW(Manager::GetInstance(), GetSuperClassName(), &windowClass)) {
        return false;
    }
    m_oldWndProc = windowClass.lpfnWndProc;
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &MWindow::ControlProc;
    windowClass.hInstance = Manager::GetInstance();
    windowClass.lpszClassName = GetWindowClassName();
    return RegisterOrExists(windowClass);
}

HWND MWindow::Create(HWND parent) {
    return Create(parent, L"MWindow", kDefaultStyle, 0, CRect(0, 0, 800, 600), nullptr);
}

HWND MWindow::Create(HWND parent, const RECT& rect) {
    return Create(parent, L"MWindow", kDefaultStyle, 0, rect, nullptr);
}

HWND MWindow::Create(HWND parent, const wchar_t* title, DWORD style, DWORD exStyle,
                     const RECT& rect) {
    return Create(parent, title, style, exStyle, rect, nullptr);
}

HWND MWindow::Create(HWND parent, const wchar_t* title, DWORD style, DWORD exStyle,
                     const RECT& rect, HMENU menu) {
    if (HasWindow()) {
        return m_hWnd;
    }
    m_hParent = parent;
    const bool registered =
        GetSuperClassName() != nullptr ? RegisterSuperClass() : RegisterWindowClass();
    if (!registered) {
        return nullptr;
    }
    const HWND created = CreateWindowExW(exStyle, GetWindowClassName(), title, style, rect.left,
                                         rect.top, rect.right - rect.left, rect.bottom - rect.top,
                                         parent, menu, Manager::GetInstance(), this);
    // WndProc has stored the handle already; a window destroyed during creation leaves null.
    m_hWnd = created;
    OnInitDialog();
    return created;
}

void MWindow::SetIcon(UINT resourceId) {
    if (!HasWindow()) {
        return;
    }
    const HINSTANCE instance = Manager::GetInstance();
    const auto load = [&](int metricX, int metricY) {
        return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(resourceId), IMAGE_ICON,
                                             GetSystemMetrics(metricX), GetSystemMetrics(metricY),
                                             LR_DEFAULTCOLOR));
    };
    if (HICON big = load(SM_CXICON, SM_CYICON)) {
        ::SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    }
    if (HICON smallIcon = load(SM_CXSMICON, SM_CYSMICON)) {
        ::SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
    }
}

DWORD MWindow::GetStyle() const {
    return HasHandle() ? static_cast<DWORD>(GetWindowLongPtrW(m_hWnd, GWL_STYLE)) : 0;
}

DWORD MWindow::GetExStyle() const {
    return HasHandle() ? static_cast<DWORD>(GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE)) : 0;
}

BOOL MWindow::ModifyStyle(DWORD remove, DWORD add, UINT swpFlags) {
    if (!HasHandle()) {
        return FALSE;
    }
    const DWORD style = GetStyle();
    const DWORD changed = (style & ~remove) | add;
    if (changed == style) {
        return FALSE;
    }
    SetWindowLongPtrW(m_hWnd, GWL_STYLE, static_cast<LONG_PTR>(changed));
    if (swpFlags != 0) {
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       swpFlags | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return TRUE;
}

BOOL MWindow::ModifyExStyle(DWORD remove, DWORD add, UINT swpFlags) {
    if (!HasHandle()) {
        return FALSE;
    }
    const DWORD style = GetExStyle();
    const DWORD changed = (style & ~remove) | add;
    if (changed == style) {
        return FALSE;
    }
    SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, static_cast<LONG_PTR>(changed));
    if (swpFlags != 0) {
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       swpFlags | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return TRUE;
}

BOOL MWindow::GetClientRect(RECT* rect) const {
    return HasWindow() && rect != nullptr ? ::GetClientRect(m_hWnd, rect) : FALSE;
}

BOOL MWindow::GetWindowRect(RECT* rect) const {
    return HasWindow() && rect != nullptr ? ::GetWindowRect(m_hWnd, rect) : FALSE;
}

BOOL MWindow::SetWindowTextW(const wchar_t* text) {
    return HasWindow() ? ::SetWindowTextW(m_hWnd, text) : FALSE;
}

int MWindow::GetWindowTextW(std::wstring& out) const {
    out.clear();
    if (!HasWindow()) {
        return 0;
    }
    const int length = ::GetWindowTextLengthW(m_hWnd);
    if (length <= 0) {
        return 0;
    }
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(m_hWnd, text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    out = text;
    return copied;
}

int MWindow::GetWindowTextLengthW() const {
    return HasWindow() ? ::GetWindowTextLengthW(m_hWnd) : -1;
}

BOOL MWindow::EnableWindow(BOOL enable) {
    return HasWindow() ? ::EnableWindow(m_hWnd, enable) : FALSE;
}

BOOL MWindow::IsWindowEnabled() const {
    return HasWindow() ? ::IsWindowEnabled(m_hWnd) : FALSE;
}

BOOL MWindow::IsWindowVisible() const {
    return HasWindow() ? ::IsWindowVisible(m_hWnd) : FALSE;
}

BOOL MWindow::IsIconic() const {
    return HasWindow() ? ::IsIconic(m_hWnd) : FALSE;
}

BOOL MWindow::InvalidateRect(const RECT* rect, BOOL erase) {
    return HasWindow() ? ::InvalidateRect(m_hWnd, rect, erase) : FALSE;
}

HWND MWindow::SetCapture() {
    return HasWindow() ? ::SetCapture(m_hWnd) : nullptr;
}

BOOL MWindow::ReleaseCapture() {
    return HasWindow() ? ::ReleaseCapture() : FALSE;
}

HWND MWindow::SetFocus() {
    return HasWindow() ? ::SetFocus(m_hWnd) : nullptr;
}

UINT_PTR MWindow::SetTimer(UINT_PTR id, UINT ms, TIMERPROC proc) {
    return HasWindow() ? ::SetTimer(m_hWnd, id, ms, proc) : 0;
}

BOOL MWindow::KillTimer(UINT_PTR id) {
    return HasWindow() ? ::KillTimer(m_hWnd, id) : FALSE;
}

BOOL MWindow::ClientToScreen(POINT* point) const {
    return HasWindow() && point != nullptr ? ::ClientToScreen(m_hWnd, point) : FALSE;
}

BOOL MWindow::ClientToScreen(RECT* rect) const {
    if (!HasWindow() || rect == nullptr) {
        return FALSE;
    }
    ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(rect), 2);
    return TRUE;
}

BOOL MWindow::ScreenToClient(POINT* point) const {
    return HasWindow() && point != nullptr ? ::ScreenToClient(m_hWnd, point) : FALSE;
}

BOOL MWindow::ScreenToClient(RECT* rect) const {
    if (!HasWindow() || rect == nullptr) {
        return FALSE;
    }
    return ::ScreenToClient(m_hWnd, reinterpret_cast<POINT*>(&rect->left)) &&
           ::ScreenToClient(m_hWnd, reinterpret_cast<POINT*>(&rect->right));
}

BOOL MWindow::SetWindowPos(HWND insertAfter, int x, int y, int width, int height, UINT flags) {
    return HasWindow() ? ::SetWindowPos(m_hWnd, insertAfter, x, y, width, height, flags) : FALSE;
}

BOOL MWindow::MoveWindow(int x, int y, int width, int height, BOOL repaint) {
    return HasWindow() ? ::MoveWindow(m_hWnd, x, y, width, height, repaint) : FALSE;
}

BOOL MWindow::MoveWindow(const RECT& rect, BOOL repaint) {
    return MoveWindow(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, repaint);
}

UINT MWindow::ShowModal(int cmdShow) {
    if (!HasWindow()) {
        return static_cast<UINT>(-1);
    }
    const HWND window = m_hWnd;
    const HWND owner = ::GetWindow(window, GW_OWNER);
    ::ShowWindow(window, cmdShow);
    if (owner != nullptr) {
        ::EnableWindow(owner, FALSE);
    }
    UINT result = 0;
    bool quit = false;
    WPARAM quitCode = 0;
    MSG msg;
    while (::IsWindow(window)) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            quit = true;
            quitCode = msg.wParam;
            break;
        }
        if (got < 0) {
            break;
        }
        if (msg.message == WM_CLOSE && msg.hwnd == window) {
            result = static_cast<UINT>(msg.wParam);
            // The owner must be enabled before this window goes, or activation would pass
            // to some other application's window.
            if (owner != nullptr) {
                ::EnableWindow(owner, TRUE);
                ::SetFocus(owner);
            }
        }
        if (PreTranslateMessage(&msg) == 0) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    if (owner != nullptr) {
        ::EnableWindow(owner, TRUE);
        ::SetFocus(owner);
    }
    if (quit) {
        ::PostQuitMessage(static_cast<int>(quitCode));
    }
    return result;
}

BOOL MWindow::DestroyWindow() {
    return HasWindow() ? ::DestroyWindow(m_hWnd) : FALSE;
}

void MWindow::CenterWindow(const MWindow* relativeTo) {
    if (!HasWindow()) {
        return;
    }
    const DWORD style = GetStyle();
    HWND reference = relativeTo != nullptr ? relativeTo->GetSafeHwnd() : nullptr;
    if (reference == nullptr) {
        reference = (style & WS_CHILD) != 0 ? ::GetParent(m_hWnd) : ::GetWindow(m_hWnd, GW_OWNER);
    }
    RECT window;
    ::GetWindowRect(m_hWnd, &window);
    RECT area;
    RECT center;
    if ((style & WS_CHILD) != 0) {
        const HWND parent = ::GetParent(m_hWnd);
        if (parent == nullptr) {
            return;
        }
        ::GetClientRect(parent, &area);
        center = area;
        ::MapWindowPoints(m_hWnd, parent, reinterpret_cast<POINT*>(&window), 2);
    } else {
        const HWND monitorWindow = reference != nullptr ? reference : m_hWnd;
        MONITORINFO info = {};
        info.cbSize = sizeof(info);
        GetMonitorInfoW(MonitorFromWindow(monitorWindow, MONITOR_DEFAULTTONEAREST), &info);
        area = info.rcWork;
        const DWORD referenceStyle =
            reference != nullptr ? static_cast<DWORD>(GetWindowLongPtrW(reference, GWL_STYLE)) : 0;
        // Only a visible, not minimised top-level window is a reference.
        const bool usable =
            reference != nullptr && (referenceStyle & (WS_VISIBLE | WS_MINIMIZE)) == WS_VISIBLE;
        if (usable) {
            ::GetWindowRect(reference, &center);
        } else {
            center = area;
        }
    }
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    int x = (center.left + center.right) / 2 - width / 2;
    int y = (center.top + center.bottom) / 2 - height / 2;
    if (x + width > area.right) {
        x = area.right - width;
    }
    if (y + height > area.bottom) {
        y = area.bottom - height;
    }
    if (x < area.left) {
        x = area.left;
    }
    if (y < area.top) {
        y = area.top;
    }
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MWindow::BringToTop() {
    if (!HasWindow()) {
        return;
    }
    const HWND foreground = ::GetForegroundWindow();
    const DWORD foregroundThread =
        foreground != nullptr ? ::GetWindowThreadProcessId(foreground, nullptr) : 0;
    const DWORD ownThread = ::GetCurrentThreadId();
    if (foregroundThread != 0 && foregroundThread != ownThread) {
        ::AttachThreadInput(ownThread, foregroundThread, TRUE);
        ::AllowSetForegroundWindow(ASFW_ANY);
        ::SetForegroundWindow(m_hWnd);
        ::AttachThreadInput(ownThread, foregroundThread, FALSE);
    } else {
        ::SetForegroundWindow(m_hWnd);
    }
    ::ShowWindow(m_hWnd, ::IsIconic(m_hWnd) ? SW_RESTORE : SW_SHOW);
}

LRESULT MWindow::SendMessageW(UINT msg, WPARAM wParam, LPARAM lParam) {
    return HasHandle() ? ::SendMessageW(m_hWnd, msg, wParam, lParam) : 0;
}

BOOL MWindow::PostMessageW(UINT msg, WPARAM wParam, LPARAM lParam) {
    return HasHandle() ? ::PostMessageW(m_hWnd, msg, wParam, lParam) : FALSE;
}

LRESULT CALLBACK MWindow::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    MWindow* self = nullptr;
    if (msg == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        self = static_cast<MWindow*>(create->lpCreateParams);
        if (self != nullptr) {
            self->m_hWnd = hwnd;
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
    } else {
        self = reinterpret_cast<MWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (msg == WM_NCDESTROY && self != nullptr) {
        const LRESULT result = ::CallWindowProcW(self->m_oldWndProc, hwnd, msg, wParam, lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->m_hWnd = nullptr;
        self->OnDestroyMessage(hwnd);
        return result;
    }
    if (self != nullptr) {
        return self->OnWindowMessage(msg, wParam, lParam);
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK MWindow::ControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    MWindow* self = nullptr;
    if (msg == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        self = static_cast<MWindow*>(create->lpCreateParams);
        if (self != nullptr) {
            self->m_hWnd = hwnd;
            ::SetPropW(hwnd, kControlProperty, self);
        }
    } else {
        self = static_cast<MWindow*>(::GetPropW(hwnd, kControlProperty));
    }
    if (msg == WM_NCDESTROY && self != nullptr) {
        const LRESULT result = ::CallWindowProcW(self->m_oldWndProc, hwnd, msg, wParam, lParam);
        ::RemovePropW(hwnd, kControlProperty);
        self->m_hWnd = nullptr;
        self->OnDestroyMessage(hwnd);
        return result;
    }
    if (self != nullptr) {
        return self->OnWindowMessage(msg, wParam, lParam);
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace Orvo
