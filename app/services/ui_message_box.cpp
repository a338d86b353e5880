#include "app/services/ui_message_box.h"

#include <memory>
#include <vector>

#include "app/services/language_text.h"
#include "orvo/buttons.h"
#include "orvo/text.h"

namespace tavik {
namespace {

constexpr int kOkText = 20;
constexpr int kAcceptText = 23;
constexpr int kDeclineText = 25;
constexpr UINT kTitleId = 31;
constexpr UINT kMessageId = 32;
constexpr int kBoxWidth = 430;
constexpr int kBoxHeight = 230;
constexpr int kTextSize = 16;
constexpr Orvo::Argb kWhite{0xFFFFFFFF};
constexpr int kCentred = 1;
constexpr int kMiddle = 4;

void UseLanguageFont(Orvo::MControlFont& control) {
    const std::wstring family = GetLanguageFontName();
    if (!family.empty()) {
        control.SetFontName(family.c_str());
    }
}

void MakeLabel(CUIMessageBox& box, UINT id, const RECT& rect, const std::wstring& text,
               bool multiLine) {
    auto* label =
        dynamic_cast<Orvo::MText*>(box.CreateControl(L"MText", id, rect, text.c_str(), 1, 0));
    if (label == nullptr) {
        return;
    }
    UseLanguageFont(*label);
    label->SetFontWidth(kTextSize);
    label->SetTextColor(kWhite);
    label->SetAlignment(kCentred, multiLine ? kMiddle : 0);
    label->EnableMultiLine(multiLine ? 1 : 0);
}

void MakeButton(CUIMessageBox& box, UINT id, const RECT& rect, int textNumber) {
    const std::wstring text = GetLanguageText(textNumber);
    auto* button =
        dynamic_cast<Orvo::MButton*>(box.CreateControl(L"MButton", id, rect, text.c_str(), 1, 1));
    if (button == nullptr) {
        return;
    }
    UseLanguageFont(*button);
    button->SetFontWidth(kTextSize);
    button->SetImage(L"img_button.png", 4);
    button->SetTextColor(kWhite);
}

// The open boxes of this process. FindWindowExW compares titles without sending WM_GETTEXT,
// so a worker can look while the UI thread waits for it.
std::vector<HWND> OpenBoxes() {
    std::vector<HWND> found;
    HWND window = nullptr;
    while ((window = ::FindWindowExW(nullptr, window, kMessageBoxWindowClass,
                                     kMessageBoxWindowTitle)) != nullptr) {
        DWORD process = 0;
        ::GetWindowThreadProcessId(window, &process);
        if (process == ::GetCurrentProcessId()) {
            found.push_back(window);
        }
    }
    return found;
}

}  // namespace

BOOL CUIMessageBox::OnInitDialog() {
    if (m_hWnd != nullptr) {
        ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    return MDialog::OnInitDialog();
}

void CUIMessageBox::InitUI(const Orvo::CRect& clientRect) {
    SetLayeredWindow(true);
    const int width = clientRect.Width();
    const int height = clientRect.Height();
    MakeLabel(*this, kTitleId, Orvo::CRect(20, 15, width - 20, 45), m_title, false);
    MakeLabel(*this, kMessageId, Orvo::CRect(20, 50, width - 20, height - 50), m_message, true);
    if (m_style == kMessageBoxStyleOk) {
        MakeButton(*this, kMessageBoxAcceptId,
                   Orvo::CRect(60, height - 50, width - 60, height - 14), kOkText);
    } else if (m_style == kMessageBoxStyleQuestion) {
        const int centre = width / 2;
        MakeButton(*this, kMessageBoxAcceptId,
                   Orvo::CRect(centre - 120, height - 50, centre - 20, height - 14), kAcceptText);
        MakeButton(*this, kMessageBoxDeclineId,
                   Orvo::CRect(centre + 20, height - 50, centre + 120, height - 14), kDeclineText);
    }
}

long CUIMessageBox::OnMessage(UINT controlId, UINT code, WPARAM wParam, LPARAM lParam) {
    constexpr UINT kClicked = 2;
    if (code == kClicked && controlId == kMessageBoxAcceptId) {
        DoOK();
        return 1;
    }
    if (code == kClicked && controlId == kMessageBoxDeclineId) {
        DoCancel();
        return 1;
    }
    return MDialog::OnMessage(controlId, code, wParam, lParam);
}

int ShowMessageBox(const std::wstring& message, HWND parent, const std::wstring& title, int style) {
    auto box = std::make_unique<CUIMessageBox>();
    box->SetTitleText(title);
    box->SetMessageText(message);
    box->LoadBKImage(L"bk_prompt.png");
    box->SetBackMode(1, 30);
    box->SetBoxStyle(style);
    constexpr DWORD kStyle = 0x96000000;  // popup, visible, clipping siblings and children
    box->Create(parent, kMessageBoxWindowTitle, kStyle, WS_EX_TOOLWINDOW,
                Orvo::CRect(0, 0, kBoxWidth, kBoxHeight));
    box->CenterWindow();
    const UINT result = box->ShowModal(SW_SHOWNORMAL);
    return result == static_cast<UINT>(-1) ? kMessageBoxNotShown : static_cast<int>(result);
}

int CloseMessageBoxes() {
    int closed = 0;
    for (HWND box : OpenBoxes()) {
        if (::PostMessageW(box, Orvo::kCloseDialogMessage, kMessageBoxDeclined, 0)) {
            ++closed;
        }
    }
    return closed;
}

bool IsMessageBoxOpen() {
    return !OpenBoxes().empty();
}

}  // namespace tavik
