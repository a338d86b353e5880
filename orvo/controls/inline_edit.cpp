#include "orvo/inline_edit.h"

#include <cwchar>
#include <vector>

#include "orvo/control_font.h"
#include "orvo/paint_manager.h"

namespace Orvo {
namespace {

// The host dialog reflects these back to the edit (message + 0x2000).
constexpr UINT kReflectedCommand = WM_COMMAND + 0x2000;
constexpr UINT kReflectedColorEdit = WM_CTLCOLOREDIT + 0x2000;
constexpr UINT kReflectedColorStatic = WM_CTLCOLORSTATIC + 0x2000;

}  // namespace

InlineEdit::InlineEdit(MControlFont* owner, InlineEditHost* host) : m_owner(owner), m_host(host) {}

InlineEdit::~InlineEdit() {
    // The owner is going (or has let go of the editor): nothing may reach it any more.
    m_owner = nullptr;
    m_host = nullptr;
    if (HasWindow()) {
        ::DestroyWindow(m_hWnd);
    }
    ReleaseGdi();
}

void InlineEdit::ReleaseGdi() {
    if (m_backBrush != nullptr) {
        ::DeleteObject(m_backBrush);
        m_backBrush = nullptr;
    }
}

HWND InlineEdit::HostWindow() const {
    if (m_owner == nullptr || m_owner->GetManager() == nullptr) {
        return nullptr;
    }
    return m_owner->GetManager()->GetPaintWnd();
}

bool InlineEdit::IsLayeredHost() const {
    return m_owner != nullptr && m_owner->GetManager() != nullptr &&
           m_owner->GetManager()->IsLayered();
}

RECT InlineEdit::PlaceRect(const RECT& rect) const {
    RECT placed = rect;
    HWND host = HostWindow();
    if (IsLayeredHost() && host != nullptr) {
        ::MapWindowPoints(host, nullptr, reinterpret_cast<POINT*>(&placed), 2);
    }
    return placed;
}

bool InlineEdit::CreateOver(const RECT& rect, DWORD style, HFONT font) {
    HWND host = HostWindow();
    if (host == nullptr) {
        return false;
    }
    if (HasWindow()) {
        return true;
    }
    int hAlign = 0;
    int vAlign = 0;
    m_owner->GetAlignment(hAlign, vAlign);
    DWORD windowStyle = style;
    windowStyle |= IsLayeredHost() ? (WS_POPUP | WS_CLIPSIBLINGS) : (WS_CHILD | WS_CLIPSIBLINGS);
    if (hAlign == 1) {
        windowStyle |= ES_CENTER;
    } else if (hAlign == 2) {
        windowStyle |= ES_RIGHT;
    }
    if (m_password) {
        windowStyle |= ES_PASSWORD;
    }
    if (m_numberOnly) {
        windowStyle |= ES_NUMBER;
    }
    const DWORD exStyle = IsLayeredHost() ? WS_EX_TOOLWINDOW : 0;
    if (MWindow::Create(host, m_owner->GetTitle().c_str(), windowStyle, exStyle, PlaceRect(rect)) ==
        nullptr) {
        return false;
    }
    if (font != nullptr) {
        ::SendMessageW(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    ::SendMessageW(m_hWnd, EM_LIMITTEXT, static_cast<WPARAM>(m_maxLength), 0);
    if (m_password) {
        ::SendMessageW(m_hWnd, EM_SETPASSWORDCHAR, m_passwordChar, 0);
    }
    ::SendMessageW(m_hWnd, EM_SETMODIFY, FALSE, 0);
    ::SendMessageW(m_hWnd, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(0, 0));
    ::EnableWindow(m_hWnd, m_owner->IsEnabled() ? TRUE : FALSE);
    ::SendMessageW(m_hWnd, EM_SETREADONLY, m_readOnly ? TRUE : FALSE, 0);
    return true;
}

void InlineEdit::Open(const RECT& rect, const std::wstring& text, bool selectAll) {
    if (!HasWindow()) {
        return;
    }
    const RECT placed = PlaceRect(rect);
    ::SetWindowPos(m_hWnd, HWND_TOP, placed.left, placed.top, placed.right - placed.left,
                   placed.bottom - placed.top, SWP_NOACTIVATE);
    ::SendMessageW(m_hWnd, EM_LIMITTEXT, static_cast<WPARAM>(m_maxLength), 0);
    // Shown before the text is set: the change notification only counts while shown.
    m_shown = false;
    ::SetWindowTextW(m_hWnd, text.c_str());
    ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
    m_shown = true;
    const int length = ::GetWindowTextLengthW(m_hWnd);
    ::SendMessageW(m_hWnd, EM_SETSEL, selectAll ? 0 : length, length);
    ::SetFocus(m_hWnd);
}

void InlineEdit::Close() {
    if (!HasWindow()) {
        m_shown = false;
        return;
    }
    m_shown = false;
    const bool hadFocus = ::GetFocus() == m_hWnd;
    ::ShowWindow(m_hWnd, SW_HIDE);
    HWND host = HostWindow();
    if (hadFocus && host != nullptr) {
        ::SetFocus(host);
    }
}

std::wstring InlineEdit::GetText() const {
    if (!HasWindow()) {
        return std::wstring();
    }
    const int length = ::GetWindowTextLengthW(m_hWnd);
    if (length <= 0) {
        return std::wstring();
    }
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(m_hWnd, buffer.data(), length + 1);
    return std::wstring(buffer.data(), copied > 0 ? static_cast<size_t>(copied) : 0);
}

void InlineEdit::SetText(const std::wstring& text) {
    if (HasWindow()) {
        ::SetWindowTextW(m_hWnd, text.c_str());
    }
}

void InlineEdit::SetColors(std::optional<ColorRef> background, ColorRef text) {
    m_backColor = background;
    m_textColor = text;
    ReleaseGdi();
    if (HasWindow()) {
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
    }
}

void InlineEdit::OnTextChanged() {
    if (!m_shown || m_owner == nullptr) {
        return;
    }
    const std::wstring text = GetText();
    if (text == m_owner->GetTitle()) {
        return;
    }
    m_owner->SetTitle(text.c_str());
    m_owner->SendMessageW(kNotifyEditAccepted);
    m_owner->UpdateControl(TRUE);
}

LRESULT InlineEdit::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case kReflectedCommand:
            if (HIWORD(wParam) == EN_CHANGE) {
                OnTextChanged();
            } else if (HIWORD(wParam) == EN_UPDATE) {
                ::InvalidateRect(m_hWnd, nullptr, FALSE);
            }
            return 0;
        case kReflectedColorEdit:
        case kReflectedColorStatic: {
            if (!m_backColor.has_value()) {
                return 0;
            }
            HDC hdc = reinterpret_cast<HDC>(wParam);
            ::SetBkMode(hdc, TRANSPARENT);
            ::SetTextColor(hdc, m_textColor.Value());
            if (m_backBrush == nullptr) {
                m_backBrush = ::CreateSolidBrush(m_backColor->Value());
            }
            return reinterpret_cast<LRESULT>(m_backBrush);
        }
        case WM_TIMER:
            if (wParam == kBlinkTimerId) {
                m_blinkOn = !m_blinkOn;
                ::InvalidateRect(m_hWnd, nullptr, FALSE);
                return 0;
            }
            break;
        case WM_PRINT:
            if (IsLayeredHost()) {
                return 0;
            }
            break;
        case WM_KEYDOWN:
            if ((wParam == VK_RETURN || wParam == VK_ESCAPE) && m_host != nullptr) {
                m_host->OnInlineEditEnd(wParam == VK_RETURN);
                return 0;
            }
            break;
        case WM_CHAR:
            // Return and Escape end the edit (above); the edit would only beep at them.
            if (wParam == L'\r' || wParam == 0x1B) {
                return 0;
            }
            if (!AcceptsChar(static_cast<wchar_t>(wParam))) {
                return 0;
            }
            break;
        case WM_KILLFOCUS: {
            const LRESULT result = MWindow::OnWindowMessage(msg, wParam, lParam);
            if (m_shown && m_host != nullptr) {
                m_host->OnInlineEditFocusLost();
            }
            return result;
        }
        default:
            break;
    }
    return MWindow::OnWindowMessage(msg, wParam, lParam);
}

void InlineEdit::OnDestroyMessage(HWND) {
    m_shown = false;
    ReleaseGdi();
    if (m_owner != nullptr) {
        m_owner->UpdateControl(TRUE);
    }
}

CEditWindow::CEditWindow(MControlFont* owner, InlineEditHost* host) : InlineEdit(owner, host) {}

CEditWindow::~CEditWindow() {
    // The window goes first (it still uses the font).
    m_owner = nullptr;
    m_host = nullptr;
    if (HasWindow()) {
        ::DestroyWindow(m_hWnd);
    }
    if (m_font != nullptr) {
        ::DeleteObject(m_font);
    }
}

bool CEditWindow::Create(const RECT& rect) {
    if (m_owner == nullptr) {
        return false;
    }
    RECT place = rect;
    if (::IsRectEmpty(&place)) {
        const CRect& owner = m_owner->GetRect();
        const int height = m_owner->GetFontWidth() + 2;
        const int top = owner.top + (owner.Height() - height) / 2;
        place = RECT{owner.left + 6, top, owner.right - 6, top + height};
    }
    if (m_font == nullptr) {
        LOGFONTW description = {};
        ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(description), &description);
        std::wcsncpy(description.lfFaceName, m_owner->GetTextFont().c_str(), LF_FACESIZE - 1);
        description.lfFaceName[LF_FACESIZE - 1] = L'\0';
        // A positive height is the cell height.
        description.lfHeight = m_owner->GetFontWidth() + 6;
        description.lfCharSet = DEFAULT_CHARSET;
        const int style = m_owner->GetFontStyle();
        if (style & kFontBold) {
            description.lfWeight += 700;
        }
        description.lfItalic = (style & kFontItalic) ? TRUE : FALSE;
        description.lfUnderline = (style & kFontUnderline) ? TRUE : FALSE;
        m_font = ::CreateFontIndirectW(&description);
    }
    return CreateOver(place, ES_AUTOHSCROLL, m_font);
}

}  // namespace Orvo
