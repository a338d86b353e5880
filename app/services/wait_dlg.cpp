#include "app/services/wait_dlg.h"

#include "orvo/picture.h"

namespace tavik {
namespace {

constexpr int kSide = 102;
constexpr UINT kGifId = 30;
constexpr UINT_PTR kBoundTimerId = 0x5744;  // clear of the toolkit's own timer ids
constexpr UINT kAnimationPeriodMs = 10;
constexpr Orvo::ColorRef kFill{0x333333};

}  // namespace

WaitEnd WaitDlg::ShowModalOver(HWND parent) {
    RECT parentRect = {0, 0, 0, 0};
    if (parent != nullptr) {
        ::GetWindowRect(parent, &parentRect);
    }
    const int left = parentRect.left + ((parentRect.right - parentRect.left) - kSide) / 2;
    const int top = parentRect.top + ((parentRect.bottom - parentRect.top) - kSide) / 2;
    constexpr DWORD kStyle = 0x96000000;  // popup, visible, clipping siblings and children
    m_timedOut = false;
    const HWND window = Create(parent, L"WaitDlg", kStyle, WS_EX_TOOLWINDOW,
                               Orvo::CRect(left, top, left + kSide, top + kSide));
    if (window == nullptr) {
        return WaitEnd::kNotShown;
    }
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_openWindow = window;
        if (m_done) {
            ::PostMessageW(window, Orvo::kCloseDialogMessage, IDOK, 0);
        }
    }
    if (m_boundMs != 0) {
        SetTimer(kBoundTimerId, m_boundMs);
    }
    const UINT result = ShowModal(SW_SHOW);
    if (result == static_cast<UINT>(-1)) {
        return WaitEnd::kNotShown;
    }
    return m_timedOut ? WaitEnd::kTimedOut : WaitEnd::kFinished;
}

void WaitDlg::DoOK() {
    std::lock_guard<std::mutex> lock(m_lock);
    m_done = true;
    if (m_openWindow != nullptr) {
        ::PostMessageW(m_openWindow, Orvo::kCloseDialogMessage, IDOK, 0);
    }
}

bool WaitDlg::IsDone() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_done;
}

BOOL WaitDlg::OnInitDialog() {
    const BOOL result = MDialog::OnInitDialog();
    if (m_hWnd == nullptr) {
        return result;
    }
    m_PaintManager.SetBackColor(kFill, kFill);
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetMTimer(kAnimationPeriodMs);
    EnableWndDrag(true);
    return result;
}

void WaitDlg::InitUI(const Orvo::CRect&) {
    SetLayeredWindow(true);
    auto* gif = dynamic_cast<Orvo::CGifPicture*>(
        CreateControl(L"CGifPicture", kGifId, Orvo::CRect(1, 1, 101, 101), L"", 1, 1));
    if (gif == nullptr) {
        return;
    }
    gif->SetImage(L"loading.gif", 1);
    gif->SetRunState(1, 0);
}

void WaitDlg::OnTimer(UINT_PTR id) {
    if (id != kBoundTimerId) {
        return;
    }
    KillTimer(kBoundTimerId);
    m_timedOut = true;
    PostMessageW(Orvo::kCloseDialogMessage, IDCANCEL, 0);
}

LRESULT WaitDlg::OnDestroy() {
    std::lock_guard<std::mutex> lock(m_lock);
    m_openWindow = nullptr;
    return 0;
}

WaitDlg* KeptWaitDlg::Renew(DWORD boundMs) {
    auto fresh = std::make_unique<WaitDlg>(boundMs);
    WaitDlg* shown = fresh.get();
    std::unique_ptr<WaitDlg> previous;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (m_dialog != nullptr && m_dialog->GetSafeHwnd() != nullptr) {
            return nullptr;
        }
        previous = std::move(m_dialog);
        m_dialog = std::move(fresh);
    }
    return shown;
}

void KeptWaitDlg::DoOK() {
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_dialog != nullptr) {
        m_dialog->DoOK();
    }
}

void KeptWaitDlg::Reset() {
    std::unique_ptr<WaitDlg> previous;
    std::lock_guard<std::mutex> lock(m_lock);
    previous = std::move(m_dialog);
}

}  // namespace tavik
