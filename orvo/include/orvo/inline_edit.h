#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "orvo/colour.h"
#include "orvo/orvo_api.h"
#include "orvo/window.h"

namespace Orvo {

class MControlFont;

// What an inline editor tells the control that shows it, besides the text changes.
class InlineEditHost {
public:
    // Return (keep = true) or Escape (keep = false) was pressed in the editor.
    virtual void OnInlineEditEnd(bool keep) = 0;
    // The editor lost the keyboard focus to another window.
    virtual void OnInlineEditFocusLost() {}

protected:
    ~InlineEditHost() = default;
};

// A system "Edit" superclassed and shown over a drawn control while its text is edited; the
// host dialog reflects the edit's notifications back to it. The control that shows it owns
// it and deletes it (window first) before the control itself goes, so the editor never
// reaches a freed owner. A window destroyed with its dialog leaves the object reusable.
class ORVO_API InlineEdit : public MWindow {
public:
    // Caret blink timer of the edit window.
    static constexpr UINT_PTR kBlinkTimerId = 6553;

    InlineEdit(MControlFont* owner, InlineEditHost* host);
    ~InlineEdit() override;

    const wchar_t* GetSuperClassName() const override { return L"Edit"; }
    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnDestroyMessage(HWND hwnd) override;

    // Creates the window over rect: client coordinates of the owner's window, or screen
    // coordinates (as a popup) when the owner's dialog is layered. Style bits are added to
    // the child or popup style. False when the window could not be made.
    bool CreateOver(const RECT& rect, DWORD style, HFONT font);
    // Moves the window, sets the text and shows it with the caret at the end (or all text
    // selected) and the keyboard focus.
    void Open(const RECT& rect, const std::wstring& text, bool selectAll);
    // Hides the window; the keyboard focus goes back to the owner's window.
    void Close();
    bool IsShown() const { return m_shown; }
    std::wstring GetText() const;
    void SetText(const std::wstring& text);
    // The window rectangle for rect of the owner's window (screen coordinates when layered).
    RECT PlaceRect(const RECT& rect) const;

    // No background leaves both colours to the system.
    void SetColors(std::optional<ColorRef> background, ColorRef text);
    std::optional<ColorRef> GetBackColor() const { return m_backColor; }
    ColorRef GetTextColor() const { return m_textColor; }
    void SetMaxLength(int length) { m_maxLength = length; }
    int GetMaxLength() const { return m_maxLength; }
    void SetReadOnly(bool on) { m_readOnly = on; }
    void SetNumberOnly(bool on) { m_numberOnly = on; }
    void SetPassword(bool on, wchar_t character) {
        m_password = on;
        m_passwordChar = character;
    }
    bool IsBlinkOn() const { return m_blinkOn; }
    MControlFont* GetOwner() const { return m_owner; }

protected:
    // A changed text: the owner's title follows, its owner gets code 26, it repaints.
    virtual void OnTextChanged();
    // False swallows a typed character.
    virtual bool AcceptsChar(wchar_t) { return true; }
    bool IsLayeredHost() const;
    HWND HostWindow() const;

    MControlFont* m_owner = nullptr;   // not owned: the control that owns this editor
    InlineEditHost* m_host = nullptr;  // not owned: the same control, seen as host

private:
    void ReleaseGdi();

    HBRUSH m_backBrush = nullptr;  // owned: made on the first colour request
    bool m_shown = false;
    bool m_blinkOn = false;
    bool m_readOnly = false;
    bool m_numberOnly = false;
    int m_maxLength = 120;
    bool m_password = false;
    wchar_t m_passwordChar = static_cast<wchar_t>(0xA1F1);
    std::optional<ColorRef> m_backColor = ColorRef(0x363B3E);
    ColorRef m_textColor = ColorRef(0xFFFFFF);
};

// The row editor of the lists: class "EditWindow", with its own font of the owner's family
// (cell height font size + 6, the owner's bold, italic and underline).
class ORVO_API CEditWindow : public InlineEdit {
public:
    CEditWindow(MControlFont* owner, InlineEditHost* host);
    ~CEditWindow() override;

    const wchar_t* GetWindowClassName() const override { return L"EditWindow"; }
    // Creates the window; an empty rect means the owner's rectangle less 6 pixels left and
    // right, vertically centred, font size + 2 high.
    bool Create(const RECT& rect);

private:
    HFONT m_font = nullptr;  // owned
};

}  // namespace Orvo
