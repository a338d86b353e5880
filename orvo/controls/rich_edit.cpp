#include "orvo/rich_edit.h"

#include <richedit.h>
#include <textserv.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <vector>

#include "orvo/image_strip.h"
#include "orvo/paint_manager.h"
#include "orvo/render.h"
#include "text_format.h"

namespace Orvo {

ORVO_REGISTER_CONTROL(MRichEdit);
ORVO_REGISTER_CONTROL(MEditEx);

namespace {

constexpr ColorRef kTipColor = ColorRef(0xB4B4B4);
constexpr int kTwipsPerPixel = 15;  // 1440 twips an inch at 96 pixels an inch
constexpr int kIconInset = 9;

using CreateTextServicesFn = HRESULT(WINAPI*)(IUnknown*, ITextHost*, IUnknown**);

// Streams rich text from a string or into one.
struct RtfStream {
    const std::string* source = nullptr;
    size_t offset = 0;
    std::string* target = nullptr;
};

DWORD CALLBACK StreamIn(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given) {
    auto* stream = reinterpret_cast<RtfStream*>(cookie);
    const size_t left = stream->source->size() - stream->offset;
    const size_t count = std::min(left, static_cast<size_t>(std::max(0L, wanted)));
    std::memcpy(buffer, stream->source->data() + stream->offset, count);
    stream->offset += count;
    *given = static_cast<LONG>(count);
    return 0;
}

DWORD CALLBACK StreamOut(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* taken) {
    auto* stream = reinterpret_cast<RtfStream*>(cookie);
    if (count > 0) {
        stream->target->append(reinterpret_cast<const char*>(buffer), static_cast<size_t>(count));
    }
    *taken = count;
    return 0;
}

}  // namespace

// The host side of the text services: where they draw, their caret, timers, capture and
// formats, all answered by the control.
class RichTextHost : public ITextHost {
public:
    explicit RichTextHost(MRichEdit* owner) : m_owner(owner) {
        std::memset(&m_charFormat, 0, sizeof(m_charFormat));
        m_charFormat.cbSize = sizeof(m_charFormat);
        std::memset(&m_paraFormat, 0, sizeof(m_paraFormat));
        m_paraFormat.cbSize = sizeof(m_paraFormat);
        m_paraFormat.dwMask = PFM_ALIGNMENT;
        m_paraFormat.wAlignment = PFA_LEFT;
        RefreshFormat();
    }
    virtual ~RichTextHost() = default;

    // The control is going: nothing reaches it any more.
    void Detach() { m_owner = nullptr; }

    void RefreshFormat() {
        if (m_owner == nullptr) {
            return;
        }
        m_charFormat.dwMask =
            CFM_FACE | CFM_SIZE | CFM_COLOR | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_CHARSET;
        m_charFormat.dwEffects = 0;
        const int style = m_owner->GetFontStyle();
        if (style & kFontBold) {
            m_charFormat.dwEffects |= CFE_BOLD;
        }
        if (style & kFontItalic) {
            m_charFormat.dwEffects |= CFE_ITALIC;
        }
        if (style & kFontUnderline) {
            m_charFormat.dwEffects |= CFE_UNDERLINE;
        }
        m_charFormat.yHeight = m_owner->GetFontWidth() * kTwipsPerPixel;
        m_charFormat.crTextColor = m_owner->GetTextColor().ToColorRef().Value();
        m_charFormat.bCharSet = DEFAULT_CHARSET;
        std::wcsncpy(m_charFormat.szFaceName, m_owner->GetTextFont().c_str(), LF_FACESIZE - 1);
        m_charFormat.szFaceName[LF_FACESIZE - 1] = L'\0';
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (IsEqualIID(riid, IID_IUnknown)) {
            *object = static_cast<IUnknown*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --m_references;
        if (left == 0) {
            delete this;
        }
        return left;
    }

    HDC TxGetDC() override { return ::GetDC(Window()); }
    INT TxReleaseDC(HDC hdc) override { return ::ReleaseDC(Window(), hdc); }
    WINBOOL TxShowScrollBar(INT, WINBOOL) override { return FALSE; }
    WINBOOL TxEnableScrollBar(INT, INT) override { return FALSE; }
    WINBOOL TxSetScrollRange(INT, LONG, INT, WINBOOL) override { return FALSE; }
    WINBOOL TxSetScrollPos(INT, INT, WINBOOL) override { return FALSE; }
    void TxInvalidateRect(LPCRECT, WINBOOL) override { Repaint(); }
    void TxViewChange(WINBOOL) override { Repaint(); }
    WINBOOL TxCreateCaret(HBITMAP bitmap, INT width, INT height) override {
        PaintManager* manager = Manager();
        return manager != nullptr ? manager->CreateCaret(bitmap, width, height) : FALSE;
    }
    WINBOOL TxShowCaret(WINBOOL show) override {
        if (PaintManager* manager = Manager()) {
            manager->ShowCaret(show != FALSE && m_owner->IsFocused());
        }
        return TRUE;
    }
    WINBOOL TxSetCaretPos(INT x, INT y) override {
        if (PaintManager* manager = Manager()) {
            manager->SetCaretPos(m_owner, x, y);
        }
        return TRUE;
    }
    WINBOOL TxSetTimer(UINT id, UINT timeout) override {
        PaintManager* manager = Manager();
        if (manager == nullptr || !manager->SetTimer(m_owner, id, timeout)) {
            return FALSE;
        }
        m_owner->m_timers.insert(id);
        return TRUE;
    }
    void TxKillTimer(UINT id) override {
        if (PaintManager* manager = Manager()) {
            manager->KillTimer(m_owner, id);
            m_owner->m_timers.erase(id);
        }
    }
    void TxScrollWindowEx(INT, INT, LPCRECT, LPCRECT, HRGN, LPRECT, UINT) override { Repaint(); }
    void TxSetCapture(WINBOOL capture) override {
        if (PaintManager* manager = Manager()) {
            capture ? manager->SetCapture() : manager->ReleaseCapture();
        }
    }
    void TxSetFocus() override {}
    void TxSetCursor(HCURSOR cursor, WINBOOL) override { ::SetCursor(cursor); }
    WINBOOL TxScreenToClient(LPPOINT point) override { return ::ScreenToClient(Window(), point); }
    WINBOOL TxClientToScreen(LPPOINT point) override { return ::ClientToScreen(Window(), point); }
    HRESULT TxActivate(LONG* oldState) override {
        if (oldState != nullptr) {
            *oldState = 0;
        }
        return S_OK;
    }
    HRESULT TxDeactivate(LONG) override { return S_OK; }
    HRESULT TxGetClientRect(LPRECT rect) override {
        if (rect == nullptr) {
            return E_INVALIDARG;
        }
        *rect = m_owner != nullptr ? m_owner->GetTextArea() : CRect();
        return S_OK;
    }
    HRESULT TxGetViewInset(LPRECT rect) override {
        if (rect != nullptr) {
            ::SetRectEmpty(rect);
        }
        return S_OK;
    }
    HRESULT TxGetCharFormat(const CHARFORMATW** format) override {
        *format = &m_charFormat;
        return S_OK;
    }
    HRESULT TxGetParaFormat(const PARAFORMAT** format) override {
        *format = &m_paraFormat;
        return S_OK;
    }
    COLORREF TxGetSysColor(int index) override { return ::GetSysColor(index); }
    HRESULT TxGetBackStyle(TXTBACKSTYLE* style) override {
        *style = TXTBACK_TRANSPARENT;
        return S_OK;
    }
    HRESULT TxGetMaxLength(DWORD* length) override {
        *length = m_owner != nullptr ? static_cast<DWORD>(m_owner->m_limit) : 0;
        return S_OK;
    }
    HRESULT TxGetScrollBars(DWORD* bars) override {
        *bars = ES_AUTOHSCROLL;
        return S_OK;
    }
    HRESULT TxGetPasswordChar(TCHAR* character) override {
        *character = 0;
        return S_FALSE;
    }
    HRESULT TxGetAcceleratorPos(LONG* position) override {
        *position = -1;
        return S_OK;
    }
    HRESULT TxGetExtent(LPSIZEL) override { return E_NOTIMPL; }
    HRESULT OnTxCharFormatChange(const CHARFORMATW*) override { return S_OK; }
    HRESULT OnTxParaFormatChange(const PARAFORMAT*) override { return S_OK; }
    HRESULT TxGetPropertyBits(DWORD mask, DWORD* bits) override {
        DWORD value = TXTBIT_RICHTEXT;
        if (m_owner != nullptr && m_owner->m_readOnly) {
            value |= TXTBIT_READONLY;
        }
        *bits = value & mask;
        return S_OK;
    }
    HRESULT TxNotify(DWORD notification, void*) override {
        if (notification == EN_CHANGE && m_owner != nullptr) {
            m_owner->OnTextChanged();
        }
        return S_OK;
    }
    HIMC TxImmGetContext() override { return ::ImmGetContext(Window()); }
    void TxImmReleaseContext(HIMC context) override { ::ImmReleaseContext(Window(), context); }
    HRESULT TxGetSelectionBarWidth(LONG* width) override {
        *width = 0;
        return S_OK;
    }

private:
    PaintManager* Manager() const { return m_owner != nullptr ? m_owner->GetManager() : nullptr; }
    HWND Window() const {
        PaintManager* manager = Manager();
        return manager != nullptr ? manager->GetPaintWnd() : nullptr;
    }
    void Repaint() {
        if (m_owner != nullptr) {
            m_owner->UpdateControl(true);
        }
    }

    MRichEdit* m_owner;  // not owned: detached before it goes
    ULONG m_references = 1;
    CHARFORMATW m_charFormat;
    PARAFORMAT m_paraFormat;
};

MRichEdit::MRichEdit(MObject* parent, UINT id, const RECT& rect, const wchar_t* text, int visible,
                     int enabled)
    : MPanel(parent, id, rect, visible) {
    m_enabled = enabled != 0;
    m_title = text != nullptr ? text : L"";
}

MRichEdit::~MRichEdit() {
    if (m_host != nullptr) {
        m_host->Detach();
    }
    if (m_services != nullptr) {
        m_services->OnTxInPlaceDeactivate();
        m_services->Release();
        m_services = nullptr;
    }
    if (m_host != nullptr) {
        m_host->Release();
        m_host = nullptr;
    }
    if (m_library != nullptr) {
        ::FreeLibrary(m_library);
    }
}

void MRichEdit::InitControl(PaintManager* manager) {
    MPanel::InitControl(manager);
    if (manager == nullptr || m_services != nullptr) {
        return;
    }
    m_library = ::LoadLibraryW(L"Msftedit.dll");
    if (m_library == nullptr) {
        return;
    }
    auto create = reinterpret_cast<CreateTextServicesFn>(
        reinterpret_cast<void*>(::GetProcAddress(m_library, "CreateTextServices")));
    // The interface id is the library's own: the one of the headers is refused.
    const auto* servicesId =
        reinterpret_cast<const IID*>(::GetProcAddress(m_library, "IID_ITextServices"));
    if (create == nullptr || servicesId == nullptr) {
        return;
    }
    m_host = new RichTextHost(this);
    IUnknown* unknown = nullptr;
    if (FAILED(create(nullptr, m_host, &unknown)) || unknown == nullptr) {
        return;
    }
    void* services = nullptr;
    const HRESULT found = unknown->QueryInterface(*servicesId, &services);
    unknown->Release();
    if (FAILED(found) || services == nullptr) {
        return;
    }
    m_services = static_cast<ITextServices*>(services);
    const CRect area = GetTextArea();
    m_services->OnTxInPlaceActivate(&area);
    TxSendMessage(EM_SETEVENTMASK, 0, ENM_CHANGE);
    m_services->TxSetText(m_title.c_str());
}

LRESULT MRichEdit::TxSendMessage(UINT msg, WPARAM wParam, LPARAM lParam) const {
    if (m_services == nullptr) {
        return 0;
    }
    LRESULT result = 0;
    m_services->TxSendMessage(msg, wParam, lParam, &result);
    return result;
}

void MRichEdit::OnTextChanged() {
    m_title = GetText();
    SendMessageW(kNotifyEditAccepted);
    UpdateControl(true);
}

void MRichEdit::SetText(const wchar_t* text) {
    m_title = text != nullptr ? text : L"";
    if (m_services != nullptr) {
        m_services->TxSetText(m_title.c_str());
    }
    UpdateControl(true);
}

std::wstring MRichEdit::GetText() const {
    if (m_services == nullptr) {
        return m_title;
    }
    BSTR text = nullptr;
    if (FAILED(m_services->TxGetText(&text)) || text == nullptr) {
        return std::wstring();
    }
    std::wstring result(text, ::SysStringLen(text));
    ::SysFreeString(text);
    return result;
}

int MRichEdit::GetTextLength() const {
    return static_cast<int>(GetText().size());
}

void MRichEdit::SetControlTitle(const wchar_t* text) {
    SetText(text);
}

std::wstring MRichEdit::GetControlTitle() const {
    return GetText();
}

void MRichEdit::SetSel(long start, long end) {
    CHARRANGE range{start, end};
    TxSendMessage(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

void MRichEdit::GetSel(long& start, long& end) const {
    CHARRANGE range{0, 0};
    TxSendMessage(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    start = range.cpMin;
    end = range.cpMax;
}

void MRichEdit::ReplaceSel(const wchar_t* text, bool canUndo) {
    TxSendMessage(EM_REPLACESEL, canUndo ? TRUE : FALSE,
                  reinterpret_cast<LPARAM>(text != nullptr ? text : L""));
}

void MRichEdit::SetLimitText(long length) {
    m_limit = std::max(0L, length);
    TxSendMessage(EM_EXLIMITTEXT, 0, m_limit);
}

void MRichEdit::SetReadOnly(bool on) {
    m_readOnly = on;
    if (m_services != nullptr) {
        m_services->OnTxPropertyBitsChange(TXTBIT_READONLY, on ? TXTBIT_READONLY : 0);
    }
}

bool MRichEdit::Undo() {
    return TxSendMessage(EM_UNDO, 0, 0) != 0;
}

bool MRichEdit::Redo() {
    return TxSendMessage(EM_REDO, 0, 0) != 0;
}

bool MRichEdit::CanUndo() const {
    return TxSendMessage(EM_CANUNDO, 0, 0) != 0;
}

bool MRichEdit::CanRedo() const {
    return TxSendMessage(EM_CANREDO, 0, 0) != 0;
}

void MRichEdit::EmptyUndoBuffer() {
    TxSendMessage(EM_EMPTYUNDOBUFFER, 0, 0);
}

bool MRichEdit::SetZoom(int numerator, int denominator) {
    return TxSendMessage(EM_SETZOOM, static_cast<WPARAM>(numerator), denominator) != 0;
}

void MRichEdit::ApplyDefaultFormat() {
    if (m_host == nullptr || m_services == nullptr) {
        return;
    }
    m_host->RefreshFormat();
    m_services->OnTxPropertyBitsChange(TXTBIT_CHARFORMATCHANGE, TXTBIT_CHARFORMATCHANGE);
    UpdateControl(true);
}

bool MRichEdit::LoadRtf(const std::string& rtf) {
    if (m_services == nullptr) {
        return false;
    }
    RtfStream stream;
    stream.source = &rtf;
    EDITSTREAM edit{reinterpret_cast<DWORD_PTR>(&stream), 0, &StreamIn};
    TxSendMessage(EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&edit));
    m_title = GetText();
    UpdateControl(true);
    return edit.dwError == 0;
}

std::string MRichEdit::SaveRtf() const {
    std::string rtf;
    if (m_services == nullptr) {
        return rtf;
    }
    RtfStream stream;
    stream.target = &rtf;
    EDITSTREAM edit{reinterpret_cast<DWORD_PTR>(&stream), 0, &StreamOut};
    TxSendMessage(EM_STREAMOUT, SF_RTF, reinterpret_cast<LPARAM>(&edit));
    return rtf;
}

void MRichEdit::SetTipText(const wchar_t* text) {
    m_tipText = text != nullptr ? text : L"";
    UpdateControl(true);
}

int MRichEdit::SetIconImage(const wchar_t* fileName, int count) {
    std::unique_ptr<Gdiplus::Image> icon = LoadSkinImage(fileName);
    if (icon == nullptr) {
        return 0;
    }
    m_icon = std::move(icon);
    m_iconCount = std::max(1, count);
    UpdateControl(true);
    return 1;
}

CRect MRichEdit::GetIconRect() const {
    if (m_icon == nullptr) {
        return CRect();
    }
    const int width = SkinFrameWidth(m_icon.get(), m_iconCount);
    const int height = static_cast<int>(m_icon->GetHeight());
    const int top = m_rect.top + (m_rect.Height() - height) / 2;
    return CRect(m_rect.right - kIconInset - width, top, m_rect.right - kIconInset, top + height);
}

CRect MRichEdit::GetTextArea() const {
    CRect area(m_rect.left + m_inset.left, m_rect.top + m_inset.top, m_rect.right - m_inset.right,
               m_rect.bottom - m_inset.bottom);
    if (m_icon != nullptr) {
        area.right = GetIconRect().left - 4;
    }
    // One line, vertically centred: the text services start at the top of their rectangle.
    const int line = m_fontSize + 6;
    if (area.Height() > line) {
        area.top += (area.Height() - line) / 2;
        area.bottom = area.top + line;
    }
    return area;
}

void MRichEdit::SetControlRect(const CRect& rect) {
    MPanel::SetControlRect(rect);
    if (m_services != nullptr) {
        const CRect area = GetTextArea();
        m_services->OnTxInPlaceActivate(&area);
        m_services->TxSendMessage(WM_SIZE, 0, 0, nullptr);
    }
}

void MRichEdit::SetControlFocus(int focus) {
    if (m_services == nullptr || static_cast<bool>(focus) == m_focused) {
        return;
    }
    m_focused = focus != 0;
    TxSendMessage(m_focused ? WM_SETFOCUS : WM_KILLFOCUS, 0, 0);
    if (!m_focused && m_manager != nullptr && m_manager->GetCurrentCaretObject() == this) {
        m_manager->ShowCaret(false);
    }
    UpdateControl(true);
}

void MRichEdit::SetControlEnabled(int enabled) {
    MPanel::SetControlEnabled(enabled);
    if (!enabled) {
        SetControlFocus(0);
    }
}

BOOL MRichEdit::OnControlMouseMove(UINT flags, POINT point) {
    const bool inside = PtInRect(point) != FALSE;
    if (inside != m_hovered) {
        m_hovered = inside;
        UpdateControl(true);
    }
    if (inside && m_services != nullptr && m_enabled) {
        TxSendMessage(WM_MOUSEMOVE, flags, MAKELPARAM(point.x, point.y));
    }
    return inside;
}

BOOL MRichEdit::OnControlLButtonDown(UINT flags, POINT point) {
    if (!m_enabled || !PtInRect(point)) {
        return FALSE;
    }
    if (m_manager != nullptr) {
        m_manager->SetFocusControl(this);
    }
    SetControlFocus(1);
    TxSendMessage(WM_LBUTTONDOWN, flags | MK_LBUTTON, MAKELPARAM(point.x, point.y));
    return TRUE;
}

BOOL MRichEdit::OnControlLButtonUp(UINT flags, POINT point) {
    if (!m_enabled) {
        return FALSE;
    }
    TxSendMessage(WM_LBUTTONUP, flags, MAKELPARAM(point.x, point.y));
    return PtInRect(point);
}

BOOL MRichEdit::OnControlLButtonDblClk(UINT flags, POINT point) {
    if (!m_enabled || !PtInRect(point)) {
        return FALSE;
    }
    TxSendMessage(WM_LBUTTONDBLCLK, flags | MK_LBUTTON, MAKELPARAM(point.x, point.y));
    return TRUE;
}

LRESULT MRichEdit::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (m_focused && m_enabled && m_services != nullptr) {
        switch (msg) {
            case WM_CHAR:
            case WM_KEYDOWN:
            case WM_KEYUP:
            case WM_IME_CHAR:
            case WM_IME_COMPOSITION:
            case WM_IME_STARTCOMPOSITION:
            case WM_IME_ENDCOMPOSITION: {
                LRESULT result = 0;
                const HRESULT handled = m_services->TxSendMessage(msg, wParam, lParam, &result);
                // Tab stays with the dialog's focus cycling.
                if (msg == WM_KEYDOWN && wParam == VK_TAB) {
                    return 0;
                }
                return handled == S_OK ? 1 : 0;
            }
            default:
                break;
        }
    }
    return MPanel::OnWindowMessage(msg, wParam, lParam);
}

int MRichEdit::OnControlTimer() {
    // The manager names no timer: every one the text services run is told it fired.
    for (UINT id : std::vector<UINT>(m_timers.begin(), m_timers.end())) {
        TxSendMessage(WM_TIMER, id, 0);
    }
    return 0;
}

void MRichEdit::DrawBackground(HDC) {}

void MRichEdit::DrawControl(HDC hdc, const RECT&) {
    if (m_rect.IsRectEmpty()) {
        return;
    }
    DrawBackground(hdc);
    const CRect area = GetTextArea();
    if (m_services != nullptr) {
        const RECTL bounds{area.left, area.top, area.right, area.bottom};
        m_services->TxDraw(DVASPECT_CONTENT, 0, nullptr, nullptr, hdc, nullptr, &bounds, nullptr,
                           nullptr, nullptr, 0, TXTVIEW_ACTIVE);
    }
    if (!m_focused && !m_tipText.empty() && GetText().empty()) {
        MRender::DrawTextW(hdc, area, m_tipText.c_str(), kTipColor, GetGDIFont(),
                           DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    }
    if (m_icon != nullptr) {
        Gdiplus::Graphics graphics(hdc);
        const CRect icon = GetIconRect();
        DrawStripFrame(graphics, m_icon.get(), m_iconCount, m_iconState,
                       Gdiplus::Rect(icon.left, icon.top, icon.Width(), icon.Height()));
    }
}

MEditEx::MEditEx(MObject* parent, UINT id, const RECT& rect, const wchar_t* text, int visible,
                 int enabled)
    : MRichEdit(parent, id, rect, text, visible, enabled) {
    m_inset = CRect(6, 2, 6, 2);
}

void MEditEx::DrawBackground(HDC hdc) {
    if (m_image == nullptr) {
        return;
    }
    Gdiplus::Graphics graphics(hdc);
    const int frame = !m_enabled ? 3 : m_focused ? 2 : m_hovered ? 1 : 0;
    const StripRect source =
        StripFrameRect(static_cast<int>(m_image->GetWidth()),
                       static_cast<int>(m_image->GetHeight()), m_imageCount, frame);
    MRender::DrawImageFrame(&graphics, m_image, m_rect, source.x, source.y, source.width,
                            source.height, 6);
}

CLogonEdit::CLogonEdit(MObject* parent, UINT id, const RECT& rect, const wchar_t* text, int visible,
                       int enabled)
    : MRichEdit(parent, id, rect, text, visible, enabled) {
    m_inset = CRect(10, 2, 10, 2);
}

BOOL CLogonEdit::OnControlMouseMove(UINT flags, POINT point) {
    const int iconState = GetIconRect().PtInRect(point) ? 1 : 0;
    if (iconState != m_iconState) {
        m_iconState = iconState;
        UpdateControl(true);
    }
    return MRichEdit::OnControlMouseMove(flags, point);
}

void CLogonEdit::DrawBackground(HDC hdc) {
    if (m_image == nullptr) {
        return;
    }
    Gdiplus::Graphics graphics(hdc);
    const int frame = !m_enabled ? 3 : m_focused ? 2 : m_hovered ? 1 : 0;
    const StripRect source =
        StripFrameRect(static_cast<int>(m_image->GetWidth()),
                       static_cast<int>(m_image->GetHeight()), m_imageCount, frame);
    MRender::DrawImageFrame(&graphics, m_image, m_rect, source.x, source.y, source.width,
                            source.height, 10);
}

}  // namespace Orvo
