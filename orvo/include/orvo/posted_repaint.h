#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>

#include "orvo/control.h"
#include "orvo/paint_manager.h"

namespace Orvo {

// Repaint requests of controls whose setters the device worker calls. On the window's own
// thread a request is an ordinary one. From any other thread nothing of the control or its
// manager is touched: the window's area is invalidated (the system turns that into a paint
// on the window's thread) and the control drops its bitmap cache at that paint.
class PostedRepaint {
public:
    // UI thread: where requests go once the control is attached and placed.
    void Attach(HWND window, bool layered, const RECT& area) {
        std::lock_guard<std::mutex> guard(m_lock);
        m_window = window;
        m_layered = layered;
        m_area = area;
    }
    void SetArea(const RECT& area) {
        std::lock_guard<std::mutex> guard(m_lock);
        m_area = area;
    }

    // Any thread.
    void Request(MControl& control) {
        HWND window = nullptr;
        bool layered = false;
        RECT area{};
        {
            std::lock_guard<std::mutex> guard(m_lock);
            window = m_window;
            layered = m_layered;
            area = m_area;
        }
        if (window != nullptr &&
            ::GetWindowThreadProcessId(window, nullptr) == ::GetCurrentThreadId()) {
            control.UpdateControl(TRUE);
            return;
        }
        m_pending = true;
        if (window != nullptr) {
            ::InvalidateRect(window, layered ? nullptr : &area, layered ? TRUE : FALSE);
        }
    }

    // UI thread, when painting: true once after a request from another thread.
    bool TakePending() { return m_pending.exchange(false); }

private:
    std::mutex m_lock;  // guards m_window, m_layered, m_area
    HWND m_window = nullptr;
    bool m_layered = false;
    RECT m_area{};
    std::atomic<bool> m_pending{false};
};

}  // namespace Orvo
