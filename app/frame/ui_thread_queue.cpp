#include "app/frame/ui_thread_queue.h"

#include <utility>

namespace tavik {

bool UiThreadQueue::Post(std::function<void()> work) {
    std::lock_guard<std::mutex> hold(m_lock);
    if (m_window == nullptr) {
        return false;
    }
    m_work.push_back(std::move(work));
    if (m_posted) {
        return true;
    }
    if (!PostMessageW(m_window, kRunMessage, 0, 0)) {
        m_work.pop_back();
        return false;
    }
    m_posted = true;
    return true;
}

void UiThreadQueue::Attach(HWND window) {
    std::lock_guard<std::mutex> hold(m_lock);
    m_window = window;
}

void UiThreadQueue::Detach() {
    std::lock_guard<std::mutex> hold(m_lock);
    m_window = nullptr;
    m_work.clear();
    m_posted = false;
}

void UiThreadQueue::RunQueued() {
    std::vector<std::function<void()>> work;
    {
        std::lock_guard<std::mutex> hold(m_lock);
        work.swap(m_work);
        m_posted = false;
    }
    for (std::function<void()>& item : work) {
        item();
    }
}

}  // namespace tavik
