#pragma once

#include <windows.h>
#include <gdiplus.h>

#include <memory>
#include <optional>
#include <string>

#include "orvo/control_factory.h"
#include "orvo/control_font.h"
#include "orvo/inline_edit.h"
#include "orvo/orvo_api.h"

namespace Orvo {

class MEdit;

// The native edit of an MEdit: class "EditWnd", the control's font and colours. Losing the
// keyboard focus ends the edit; typed characters reach it only while the control lets them.
class ORVO_API CEditWnd : public InlineEdit {
public:
    CEditWnd(MEdit* owner, InlineEditHost* host);
    const wchar_t* GetWindowClassName() const override { return L"EditWnd"; }

protected:
    bool AcceptsChar(wchar_t character) override;

private:
    MEdit* m_edit;  // not owned: the owner, typed
};

// An edit box drawn like a skinned button (normal, hovered, editing, disabled) that shows a
// native edit over its text area only while it is being edited. An empty text shows the tip
// text greyed. A side icon at the right edge is a button of its own (codes 9 and 31).
class ORVO_API MEdit : public MControlFont, public InlineEditHost {
public:
    enum State : int { kNormal = 0, kHovered = 1, kEditing = 2, kDisabled = 3 };

    MEdit(MObject* parent, UINT id, const RECT& rect, const wchar_t* tipText, int visible,
          int enabled);
    ~MEdit() override;
    ORVO_DECLARE_CONTROL(MEdit, MControlFont)

    void DrawControl(HDC hdc, const RECT& rect) override;
    void SetControlRect(const CRect& rect) override;
    void SetControlFocus(int focus) override;
    void SetControlEnabled(int enabled) override;
    void SetControlVisible(int visible) override;
    BOOL OnControlMouseMove(UINT flags, POINT point) override;
    BOOL OnControlLButtonDown(UINT flags, POINT point) override;
    BOOL OnControlLButtonUp(UINT flags, POINT point) override;
    BOOL OnControlKeyDown(UINT vk, UINT repeat, UINT modifiers) override;
    // Stores a changed text, copies it into an open edit and repaints.
    void SetControlTitle(const wchar_t* text) override;
    // Closes the edit first (keeping what was typed), then the title.
    std::wstring GetControlTitle() const override;

    void OnInlineEditEnd(bool keep) override;
    void OnInlineEditFocusLost() override;

    // Sets the title when it differs, without repainting.
    void SetEditText(const wchar_t* text);
    // What the open edit holds, else the title.
    std::wstring GetEditText() const;
    const std::wstring& GetTitleEx() const { return m_title; }
    void SetTipInfo(const wchar_t* text);
    const std::wstring& GetTipInfo() const { return m_tipText; }
    void SetTextRect(const RECT& rect);
    CRect GetTextRect() const;
    // Side icon from the skin folder; 1 when loaded.
    int SetIconImage(const wchar_t* fileName, int count);
    CRect GetIconRect() const;
    int GetIconState() const { return m_iconState; }
    void SetPassWordChar(wchar_t character);
    wchar_t GetPassWordChar() const { return m_passwordChar; }
    int IsPassWordMode() const { return m_passwordMode ? 1 : 0; }
    void SetPassWordMode(bool on) { m_passwordMode = on; }
    int IsReadOnly() const { return m_readOnly ? 1 : 0; }
    void SetReadOnly(bool on) { m_readOnly = on; }
    int IsNumberOnly() const { return m_numberOnly ? 1 : 0; }
    void SetNumberOnly(bool on) { m_numberOnly = on; }
    int IsMultLineMode() const { return m_multiLine ? 1 : 0; }
    void SetMultLineMode(bool on) { m_multiLine = on; }
    int GetLimitText() const { return m_limitText; }
    void SetLimitText(int limit) { m_limitText = limit; }
    int GetCharMessage() const { return m_charMessage; }
    void SetCharMessage(int on) { m_charMessage = on; }
    // No colour leaves the edit window's colours to the system.
    std::optional<ColorRef> GetEditBKColor() const { return m_editBackColor; }
    void SetEditBKColor(std::optional<ColorRef> colour) { m_editBackColor = colour; }
    // The text colour for the platform's drawing.
    ColorRef GetEditTextColor() const;
    // The edit is shown and has the keyboard focus.
    int IsEditFocused() const;
    // The edit window's object, when open.
    CEditWnd* GetEditWindow() const { return m_editWindow.get(); }
    // Replaces the edit window object (null drops it).
    void SetEditWindow(std::unique_ptr<CEditWnd> window);
    int GetState() const { return m_state; }

    void ShowEdit();
    void HideEdit();

private:
    CRect ComputedTextRect() const;
    void SetState(int state);

    std::wstring m_tipText;
    std::wstring m_titleAtOpen;  // what Escape brings back
    int m_state = kNormal;
    std::unique_ptr<Gdiplus::Image> m_icon;
    int m_iconCount = 1;
    int m_iconState = 0;
    CRect m_textRect;
    bool m_textRectSet = false;
    int m_corner = 10;
    bool m_multiLine = false;
    bool m_readOnly = false;
    bool m_numberOnly = false;
    bool m_passwordMode = false;
    wchar_t m_passwordChar = static_cast<wchar_t>(0xA1F1);
    int m_limitText = 120;
    int m_charMessage = 1;
    std::optional<ColorRef> m_editBackColor = ColorRef(0x222527);
    int m_drawnState = -1;  // the state the bitmap cache shows
    std::unique_ptr<CEditWnd> m_editWindow;
};

}  // namespace Orvo
