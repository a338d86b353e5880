#pragma once

#include <windows.h>
#include <windowsx.h>

#include "orvo/dialog.h"
#include "orvo/paint_manager.h"

namespace Orvo {

// WM_CREATE of the skinned windows: WS_CAPTION and WS_THICKFRAME go; WS_CLIPSIBLINGS,
// WS_CLIPCHILDREN and bit 0x8 come.
inline void MakeBorderless(HWND hwnd) {
    constexpr DWORD kKeptStyleBits = 0xFF3BFFFF;
    constexpr DWORD kAddedStyleBits = 0x06000008;
    if (hwnd == nullptr) {
        return;
    }
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(hwnd, GWL_STYLE));
    const DWORD borderless = (style & kKeptStyleBits) | kAddedStyleBits;
    if (borderless != style) {
        ::SetWindowLongPtrW(hwnd, GWL_STYLE, static_cast<LONG_PTR>(borderless));
        // The frame only goes once the system recomputes it.
        ::SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                       SWP_FRAMECHANGED | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// The one message table of the toolkit's skinned windows (MDialog, MPopupWnd, MenuWnd). Each
// window class keeps its own typed handlers (same names, its own slot order); the table
// decodes a message once and hands it on in three stages:
//
//   1. the window's typed handler. A non-zero result is the message's result and ends the
//      routing, so a handler an application overrides takes effect (it can take a click
//      from the controls, refuse WM_CLOSE, ...). The default handlers return 0.
//   2. the controls of the paint manager's control list (MControl::OnWindowMessage); one
//      that takes the message sends it straight to the default procedure.
//   3. the paint manager's own handling of the message; a non-zero result is the result.
//
// Whatever is still unhandled goes to the window's previous procedure. WM_ERASEBKGND (1)
// and message 1090 (OnUserCloseWindow) end at stage 1 whatever the handler returns. Messages
// outside the table skip stage 1 and reach PaintManager::OnWindowMessage.
template <typename Window>
class MessageTable {
public:
    static LRESULT Dispatch(Window& window, PaintManager& manager, UINT msg, WPARAM wParam,
                            LPARAM lParam) {
        for (const Entry& entry : kEntries) {
            if (entry.msg != msg) {
                continue;
            }
            const LRESULT own = entry.handler(window, wParam, lParam);
            if (entry.final || own != 0) {
                return own;
            }
            if (manager.OfferToControls(msg, wParam, lParam)) {
                return window.MWindow::OnWindowMessage(msg, wParam, lParam);
            }
            if (entry.manager != nullptr) {
                const LRESULT managed = entry.manager(manager, wParam, lParam);
                if (managed != 0) {
                    return managed;
                }
            }
            return window.MWindow::OnWindowMessage(msg, wParam, lParam);
        }
        const LRESULT managed = manager.OnWindowMessage(msg, wParam, lParam);
        if (managed != 0) {
            return managed;
        }
        return window.MWindow::OnWindowMessage(msg, wParam, lParam);
    }

private:
    using Handler = LRESULT (*)(Window& window, WPARAM wParam, LPARAM lParam);
    using ManagerStage = LRESULT (*)(PaintManager& manager, WPARAM wParam, LPARAM lParam);
    struct Entry {
        UINT msg;
        Handler handler;
        ManagerStage manager;  // null: straight to the default procedure
        bool final;
    };

    static POINT PointOf(LPARAM lParam) {
        return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    }
    static UINT FlagsOf(WPARAM wParam) { return static_cast<UINT>(wParam); }
    // The manager's stages answer 1 for "handled" whatever their own value.
    static LRESULT Flag(LRESULT result) { return result != 0 ? 1 : 0; }
    // Messages the manager swallows so that the default procedure never sees them.
    static LRESULT Swallow(PaintManager&, WPARAM, LPARAM) { return 1; }

    static constexpr Entry kEntries[] = {
        {WM_ERASEBKGND, [](Window&, WPARAM, LPARAM) -> LRESULT { return 1; }, nullptr, true},
        {kCloseDialogMessage,
         [](Window& w, WPARAM wp, LPARAM lp) -> LRESULT { return w.OnUserCloseWindow(wp, lp); },
         nullptr, true},
        {WM_CREATE,
         [](Window& w, WPARAM, LPARAM lp) -> LRESULT {
             return w.OnCreate(reinterpret_cast<CREATESTRUCTW*>(lp));
         },
         Swallow, false},
        {WM_DESTROY, [](Window& w, WPARAM, LPARAM) -> LRESULT { return w.OnDestroy(); }, Swallow,
         false},
        {WM_SIZE,
         [](Window& w, WPARAM wp, LPARAM lp) -> LRESULT {
             return w.OnSize(static_cast<UINT>(wp), LOWORD(lp), HIWORD(lp));
         },
         Swallow, false},
        {WM_PAINT, [](Window& w, WPARAM, LPARAM) -> LRESULT { return w.OnPaint(); },
         [](PaintManager& m, WPARAM, LPARAM) -> LRESULT { return Flag(m.OnPaint()); }, false},
        {WM_CLOSE, [](Window& w, WPARAM, LPARAM) -> LRESULT { return w.OnClose(); }, nullptr,
         false},
        {WM_WINDOWPOSCHANGING,
         [](Window& w, WPARAM, LPARAM lp) -> LRESULT {
             return w.OnWindowPosChanging(reinterpret_cast<WINDOWPOS*>(lp));
         },
         nullptr, false},
        // Shown or restored: a paused animation tick resumes if something animates.
        {WM_WINDOWPOSCHANGED,
         [](Window& w, WPARAM, LPARAM lp) -> LRESULT {
             return w.OnWindowPosChanged(reinterpret_cast<WINDOWPOS*>(lp));
         },
         [](PaintManager& m, WPARAM, LPARAM) -> LRESULT {
             m.WakeAnimationTick();
             return 0;
         },
         false},
        {WM_NCACTIVATE,
         [](Window& w, WPARAM wp, LPARAM) -> LRESULT {
             return w.OnNcActivate(static_cast<BOOL>(wp));
         },
         [](PaintManager& m, WPARAM wp, LPARAM) -> LRESULT {
             return Flag(m.OnNcActivate(static_cast<BOOL>(wp)));
         },
         false},
        // The window's own timers and the manager's share WM_TIMER: both always see it.
        {WM_TIMER,
         [](Window& w, WPARAM wp, LPARAM) -> LRESULT {
             w.OnTimer(wp);
             return 0;
         },
         [](PaintManager& m, WPARAM wp, LPARAM) -> LRESULT {
             m.OnTimer(wp);
             return 0;
         },
         false},
        {WM_MOUSEMOVE,
         [](Window& w, WPARAM wp, LPARAM lp) -> LRESULT {
             return w.OnMouseMove(FlagsOf(wp), PointOf(lp));
         },
         [](PaintManager& m, WPARAM wp, LPARAM lp) -> LRESULT {
             return Flag(m.OnMouseMove(FlagsOf(wp), GET_X_LPARAM(lp), GET_Y_LPARAM(lp)));
         },
         false},
        {WM_LBUTTONDOWN,
         [](Window& w, WPARAM wp, LPARAM lp) -> LRESULT {
             return w.OnLButtonDown(FlagsOf(wp), PointOf(lp));
         },
         [](PaintManager& m, WPARAM wp, LPARAM lp) -> LRESULT {
             return Flag(m.OnLButtonDown(FlagsOf(wp), GET_X_LPARAM(lp), GET_Y_LPARAM(lp)));
         },
         false},
        {WM_LBUTTONUP,
         [](Window& w, WPARAM wp, LPARAM lp) -> LRESULT {
             return w.OnLButtonUp(FlagsOf(wp), PointOf(lp));
         },
         [](PaintManager& m, WPARAM wp, LPARAM lp) -> LRESULT {
             return Flag(m.OnLButtonUp(FlagsOf(wp), GET_X_LPARAM(lp), GET_Y_LPARAM(lp)));
         },
         false},
        {WM_LBUTTONDBLCLK,
         [](Window& w, WPARAM wp, LPARAM lp) -> LRESULT {
             return w.OnLButtonDblClk(FlagsOf(wp), PointOf(lp));
         },
         [](PaintManager& m, WPARAM wp, LPARAM lp) -> LRESULT {
             return Flag(m.OnLButtonDblClk(FlagsOf(wp), GET_X_LPARAM(lp), GET_Y_LPARAM(lp)));
         },
         false},
        {WM_RBUTTONDOWN,
         [](Window& w, WPARAM wp, LPARAM lp) -> LRESULT {
             return w.OnRButtonDown(FlagsOf(wp), PointOf(lp));
         },
         [](PaintManager& m, WPARAM wp, LPARAM lp) -> LRESULT {
             return Flag(m.OnRButtonDown(FlagsOf(wp), GET_X_LPARAM(lp), GET_Y_LPARAM(lp)));
         },
         false},
        {WM_RBUTTONUP,
         [](Window& w, WPARAM wp, LPARAM lp) -> LRESULT {
             return w.OnRButtonUp(FlagsOf(wp), PointOf(lp));
         },
         [](PaintManager& m, WPARAM wp, LPARAM lp) -> LRESULT {
             return Flag(m.OnRButtonUp(FlagsOf(wp), GET_X_LPARAM(lp), GET_Y_LPARAM(lp)));
         },
         false},
        {WM_RBUTTONDBLCLK,
         [](Window& w, WPARAM wp, LPARAM lp) -> LRESULT {
             return w.OnRButtonDblClk(FlagsOf(wp), PointOf(lp));
         },
         Swallow, false},
        {WM_MOUSEHOVER,
         [](Window& w, WPARAM wp, LPARAM lp) -> LRESULT { return w.OnMouseHover(wp, lp); }, Swallow,
         false},
        {WM_MOUSELEAVE,
         [](Window& w, WPARAM wp, LPARAM lp) -> LRESULT { return w.OnMouseLeave(wp, lp); },
         [](PaintManager& m, WPARAM, LPARAM) -> LRESULT { return Flag(m.OnMouseLeave()); }, false},
        // The wheel's point is in screen coordinates.
        {WM_MOUSEWHEEL,
         [](Window& w, WPARAM wp, LPARAM lp) -> LRESULT {
             return w.OnMouseWheel(LOWORD(wp), static_cast<short>(HIWORD(wp)), PointOf(lp));
         },
         [](PaintManager& m, WPARAM wp, LPARAM lp) -> LRESULT {
             return Flag(m.OnMouseWheel(LOWORD(wp), static_cast<short>(HIWORD(wp)), PointOf(lp)));
         },
         false},
        {WM_KEYDOWN,
         [](Window& w, WPARAM wp, LPARAM lp) -> LRESULT {
             return w.OnKeyDown(static_cast<UINT>(wp), LOWORD(lp), HIWORD(lp));
         },
         [](PaintManager& m, WPARAM wp, LPARAM) -> LRESULT {
             return Flag(m.OnKeyDown(static_cast<UINT>(wp)));
         },
         false},
        {WM_SYSKEYDOWN,
         [](Window& w, WPARAM wp, LPARAM lp) -> LRESULT {
             return w.OnKeyDown(static_cast<UINT>(wp), LOWORD(lp), HIWORD(lp));
         },
         [](PaintManager& m, WPARAM wp, LPARAM) -> LRESULT {
             return Flag(m.OnKeyDown(static_cast<UINT>(wp)));
         },
         false},
        // The hit-test point is in screen coordinates.
        {WM_NCHITTEST,
         [](Window& w, WPARAM, LPARAM lp) -> LRESULT { return w.OnNcHitTest(PointOf(lp)); },
         nullptr, false},
        {WM_GETMINMAXINFO,
         [](Window& w, WPARAM, LPARAM lp) -> LRESULT {
             return w.OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lp));
         },
         [](PaintManager& m, WPARAM, LPARAM lp) -> LRESULT {
             return Flag(m.OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lp)));
         },
         false},
        {WM_NCCALCSIZE,
         [](Window& w, WPARAM wp, LPARAM lp) -> LRESULT {
             return w.OnNcCalcSize(static_cast<BOOL>(wp), reinterpret_cast<NCCALCSIZE_PARAMS*>(lp));
         },
         nullptr, false},
        {WM_NCPAINT, [](Window& w, WPARAM, LPARAM) -> LRESULT { return w.OnNcPaint(); }, nullptr,
         false},
    };
};

}  // namespace Orvo
