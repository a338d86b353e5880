#pragma once

#include <windows.h>

#include <mutex>
#include <set>

#include "core_test_support.h"

namespace OrvoTest {

// A test dialog that notes every thread on which a control asked it for a repaint or sent it
// a notification: with controls that live on the UI thread, only that one.
class ThreadNotingDialog : public TestDialog {
public:
    long OnControlUpdate(const RECT& rect, int redraw, Orvo::MControl* control) override {
        Note();
        return TestDialog::OnControlUpdate(rect, redraw, control);
    }
    long OnMessage(UINT controlId, UINT code, WPARAM wParam, LPARAM lParam) override {
        Note();
        return TestDialog::OnMessage(controlId, code, wParam, lParam);
    }
    std::set<DWORD> Threads() {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_threads;
    }

private:
    void Note() {
        std::lock_guard<std::mutex> guard(m_lock);
        m_threads.insert(::GetCurrentThreadId());
    }

    std::mutex m_lock;  // guards m_threads
    std::set<DWORD> m_threads;
};

}  // namespace OrvoTest
