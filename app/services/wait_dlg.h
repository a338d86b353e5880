#pragma once

#include <windows.h>

#include <memory>
#include <mutex>

#include "orvo/dialog.h"

namespace tavik {

// How a wait dialog ended.
enum class WaitEnd {
    kFinished,  // DoOK: the job is done, or the caller closed it
    kTimedOut,  // the bound passed first
    kNotShown,  // the window could not be created
};

// A small animated "busy" square shown modally over a window while a worker runs a long
// job. The user cannot close it; DoOK (from any thread, before or after the window opens)
// closes it, and so does the bound, so a job that never finishes cannot lock the window.
class WaitDlg : public Orvo::MDialog {
public:
    static constexpr DWORD kDefaultBoundMs = 30000;

    explicit WaitDlg(DWORD boundMs = kDefaultBoundMs) : m_boundMs(boundMs) {}
    ~WaitDlg() override = default;

    // Creates the window centred over parent and runs it modally until DoOK or the bound.
    WaitEnd ShowModalOver(HWND parent);
    // Any thread. A DoOK that comes before the window opens is kept, and the window closes
    // as soon as it opens; this hides the toolkit's DoOK, which would be lost then.
    void DoOK();
    bool IsDone() const;

    BOOL OnInitDialog() override;
    void InitUI(const Orvo::CRect& clientRect) override;
    long OnMessage(UINT, UINT, WPARAM, LPARAM) override { return 0; }
    void OnTimer(UINT_PTR id) override;
    LRESULT OnDestroy() override;

private:
    mutable std::mutex m_lock;  // guards m_done and m_openWindow
    bool m_done = false;
    HWND m_openWindow = nullptr;  // the window DoOK posts to, while it is open
    DWORD m_boundMs;
    bool m_timedOut = false;  // UI thread only
};

// The wait dialog a window keeps between its jobs, reached from the worker thread too.
class KeptWaitDlg {
public:
    KeptWaitDlg() = default;
    KeptWaitDlg(const KeptWaitDlg&) = delete;
    KeptWaitDlg& operator=(const KeptWaitDlg&) = delete;

    // UI thread, before the job is queued: deletes the kept dialog and keeps a new one, so a
    // worker's DoOK always has a dialog to reach. Null while the kept one is still showing:
    // its modal loop is running further up the stack and must not lose its object.
    WaitDlg* Renew(DWORD boundMs = WaitDlg::kDefaultBoundMs);
    // Any thread: DoOK on the kept dialog, if there is one.
    void DoOK();
    // UI thread, once the worker has stopped: deletes the kept dialog.
    void Reset();

private:
    std::mutex m_lock;  // guards m_dialog (the pointer, not the dialog's window)
    std::unique_ptr<WaitDlg> m_dialog;
};

}  // namespace tavik
