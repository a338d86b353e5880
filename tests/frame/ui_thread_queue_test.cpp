#include "app/frame/ui_thread_queue.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <thread>
#include <vector>

namespace tavik {
namespace {

// A message-only window of this thread that hands the queue's message to the queue and
// counts how many of them arrived.
class QueueWindow {
public:
    explicit QueueWindow(UiThreadQueue& queue) : m_queue(queue) {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = &QueueWindow::Procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"TavikQueueTestWindow";
        RegisterClassW(&windowClass);
        m_window = CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                   nullptr, windowClass.hInstance, nullptr);
        SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~QueueWindow() { DestroyWindow(m_window); }
    HWND Handle() const { return m_window; }
    int Messages() const { return m_messages; }

    // Runs this thread's messages until none is waiting.
    void Pump() {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
    }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<QueueWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self != nullptr && message == UiThreadQueue::kRunMessage) {
            ++self->m_messages;
            self->m_queue.RunQueued();
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    UiThreadQueue& m_queue;  // not owned
    HWND m_window = nullptr;
    int m_messages = 0;
};

TEST(UiThreadQueueTest, WorkFromAnotherThreadRunsOnTheWindowsThreadInOrder) {
    UiThreadQueue queue;
    QueueWindow window(queue);
    queue.Attach(window.Handle());
    const DWORD windowThread = GetCurrentThreadId();
    std::vector<int> order;  // written only on the window's thread
    std::atomic<int> offThread{0};
    std::thread worker([&] {
        for (int i = 0; i < 100; ++i) {
            EXPECT_TRUE(queue.Post([&, i] {
                if (GetCurrentThreadId() != windowThread) {
                    ++offThread;
                }
                order.push_back(i);
            }));
        }
    });
    worker.join();
    EXPECT_TRUE(order.empty()) << "nothing runs before the window's thread takes its messages";
    window.Pump();
    ASSERT_EQ(order.size(), 100u);
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(order[static_cast<size_t>(i)], i);
    }
    EXPECT_EQ(offThread.load(), 0);
    // A batch posted while its message waits takes no message of its own.
    EXPECT_EQ(window.Messages(), 1);
}

TEST(UiThreadQueueTest, NothingIsTakenBeforeAttachOrAfterDetach) {
    UiThreadQueue queue;
    QueueWindow window(queue);
    int ran = 0;
    EXPECT_FALSE(queue.Post([&] { ++ran; }));
    queue.Attach(window.Handle());
    EXPECT_TRUE(queue.Post([&] { ++ran; }));
    // Stopping the window drops what still waits: it may refer to controls that are going.
    queue.Detach();
    EXPECT_FALSE(queue.Post([&] { ++ran; }));
    window.Pump();
    EXPECT_EQ(ran, 0);
}

TEST(UiThreadQueueTest, WorkQueuedWhileRunningGetsAMessageOfItsOwn) {
    UiThreadQueue queue;
    QueueWindow window(queue);
    queue.Attach(window.Handle());
    int ran = 0;
    queue.Post([&] {
        ++ran;
        queue.Post([&] { ++ran; });
    });
    window.Pump();
    EXPECT_EQ(ran, 2);
    EXPECT_EQ(window.Messages(), 2);
}

}  // namespace
}  // namespace tavik
