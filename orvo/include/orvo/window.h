#pragma once

#include <windows.h>

#include <string>

#include "orvo/geometry.h"
#include "orvo/orvo_api.h"

namespace Orvo {

// A thin owner of one native window: class registration, creation, a window procedure that
// routes messages to OnWindowMessage, wrappers over the usual window calls and a modal loop.
// The wrappers do nothing and return 0/null when the window does not exist.
class ORVO_API MWindow {
public:
    MWindow() = default;
    MWindow(const MWindow&) = delete;
    MWindow& operator=(const MWindow&) = delete;
    virtual ~MWindow() = default;

    virtual const wchar_t* GetWindowClassName() const { return L"MWindow"; }
    // A system or application class to superclass; null for an own class.
    virtual const wchar_t* GetSuperClassName() const { return nullptr; }
    virtual BOOL ShowWindow(int cmd);
    // Default: the previous window procedure.
    virtual LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    // Non-zero keeps the modal loop from translating and dispatching msg.
    virtual LRESULT PreTranslateMessage(MSG* msg);
    // Runs right after CreateWindowExW returns, whether or not the window was created.
    virtual BOOL OnInitDialog() { return TRUE; }
    // The window got WM_NCDESTROY; the object no longer owns it.
    virtual void OnDestroyMessage(HWND hwnd);

    HWND GetSafeHwnd() const { return m_hWnd; }
    HWND GetParentHwnd() const { return m_hParent; }
    bool RegisterWindowClass();
    bool RegisterSuperClass();

    HWND Create(HWND parent);
    HWND Create(HWND parent, const RECT& rect);
    HWND Create(HWND parent, const wchar_t* title, DWORD style, DWORD exStyle, const RECT& rect);
    HWND Create(HWND parent, const wchar_t* title, DWORD style, DWORD exStyle, const RECT& rect,
                HMENU menu);

    void SetIcon(UINT resourceId);
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    // Return 0 when nothing changes; a non-zero swpFlags also applies the frame change.
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT swpFlags = 0);
    BOOL ModifyExStyle(DWORD remove, DWORD add, UINT swpFlags = 0);
    BOOL GetClientRect(RECT* rect) const;
    BOOL GetWindowRect(RECT* rect) const;
    BOOL SetWindowTextW(const wchar_t* text);
    int GetWindowTextW(std::wstring& out) const;
    // -1 without a window.
    int GetWindowTextLengthW() const;
    BOOL EnableWindow(BOOL enable);
    BOOL IsWindowEnabled() const;
    BOOL IsWindowVisible() const;
    BOOL IsIconic() const;
    BOOL InvalidateRect(const RECT* rect, BOOL erase);
    HWND SetCapture();
    BOOL ReleaseCapture();
    HWND SetFocus();
    UINT_PTR SetTimer(UINT_PTR id, UINT ms, TIMERPROC proc = nullptr);
    BOOL KillTimer(UINT_PTR id);
    BOOL ClientToScreen(POINT* point) const;
    BOOL ClientToScreen(RECT* rect) const;
    BOOL ScreenToClient(POINT* point) const;
    BOOL ScreenToClient(RECT* rect) const;
    BOOL SetWindowPos(HWND insertAfter, int x, int y, int width, int height, UINT flags);
    BOOL MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
    BOOL MoveWindow(const RECT& rect, BOOL repaint = TRUE);
    // Runs a modal loop until the window is gone; returns the wParam of the WM_CLOSE that
    // closed it, 0 when it closed otherwise, (UINT)-1 when there is no window.
    UINT ShowModal(int cmdShow = SW_SHOWNORMAL);
    BOOL DestroyWindow();
    // Centres on relativeTo's window, else the parent or owner, else the monitor work area.
    void CenterWindow(const MWindow* relativeTo = nullptr);
    // Brings the window to the foreground, even from another thread's foreground window.
    void BringToTop();
    LRESULT SendMessageW(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessageW(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);

    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    // For superclassed native windows: the object lives in the window property "Control".
    static LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

protected:
    bool HasWindow() const;
    bool HasHandle() const { return m_hWnd != nullptr && m_hWnd != reinterpret_cast<HWND>(-1); }

    HWND m_hParent = nullptr;
    HWND m_hWnd = nullptr;
    WNDPROC m_oldWndProc = ::DefWindowProcW;
};

}  // namespace Orvo
