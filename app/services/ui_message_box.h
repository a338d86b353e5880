#pragma once

#include <windows.h>

#include <string>

#include "orvo/dialog.h"

namespace tavik {

// Styles of the message box.
constexpr int kMessageBoxStyleOk = 0;        // one button: text 20
constexpr int kMessageBoxStyleQuestion = 4;  // accept (text 23) and decline (text 25)

// Results of ShowMessageBox. Only kMessageBoxAccepted is a yes: a box closed by the system's
// close command (Alt+F4) gives 0, one that could not open gives -1.
constexpr int kMessageBoxAccepted = 1;
constexpr int kMessageBoxDeclined = 2;
constexpr int kMessageBoxNotShown = -1;

// Button ids of the box.
constexpr UINT kMessageBoxAcceptId = 33;
constexpr UINT kMessageBoxDeclineId = 34;

// Every box is a top-level window of this title and class, so others can find an open one.
constexpr const wchar_t* kMessageBoxWindowTitle = L"MessageBox";
constexpr const wchar_t* kMessageBoxWindowClass = L"MWindow";

// The application's skinned message box: title, message and no, one or two buttons.
class CUIMessageBox : public Orvo::MDialog {
public:
    CUIMessageBox() = default;
    ~CUIMessageBox() override = default;

    void SetTitleText(const std::wstring& title) { m_title = title; }
    void SetMessageText(const std::wstring& message) { m_message = message; }
    void SetBoxStyle(int style) { m_style = style; }

    BOOL OnInitDialog() override;
    void InitUI(const Orvo::CRect& clientRect) override;
    long OnMessage(UINT controlId, UINT code, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnDestroy() override { return 0; }

private:
    std::wstring m_title;
    std::wstring m_message;
    int m_style = kMessageBoxStyleOk;
};

// Shows a box over `parent` and waits until it closes; returns one of the results above.
int ShowMessageBox(const std::wstring& message, HWND parent, const std::wstring& title, int style);

// Closes every message box open in this process as declined (2); returns how many. Only
// posts, so any thread may call it.
int CloseMessageBoxes();

// Whether a message box of this process is open.
bool IsMessageBoxOpen();

}  // namespace tavik
