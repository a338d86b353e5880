#pragma once

#include <windows.h>

#include <functional>
#include <mutex>
#include <vector>

namespace tavik {

// Work that other threads hand to a window's thread: Post queues it from any thread and
// posts one message to the window while the queue was empty; the window's thread runs
// everything queued when that message arrives, in order.
class UiThreadQueue {
public:
    // The message the window hands to RunQueued.
    static constexpr UINT kRunMessage = WM_APP + 17;

    // Any thread. Dropped (false) before Attach, after Detach, or when the post failed.
    bool Post(std::function<void()> work);
    // The window's thread runs its queue from now on.
    void Attach(HWND window);
    // No more work is taken; what waits is dropped. The window's thread, once the threads
    // that post have stopped.
    void Detach();
    // The window's thread, on kRunMessage.
    void RunQueued();

private:
    std::mutex m_lock;        // guards m_window, m_work and m_posted
    HWND m_window = nullptr;  // not owned
    std::vector<std::function<void()>> m_work;
    bool m_posted = false;
};

}  // namespace tavik
