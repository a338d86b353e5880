#pragma once

#include <windows.h>
#include <gdiplus.h>

#include <memory>
#include <set>
#include <string>

#include "orvo/control_factory.h"
#include "orvo/orvo_api.h"
#include "orvo/panel.h"

struct ITextServices;

namespace Orvo {

class RichTextHost;

// A windowless rich edit: the system's text services ("Msftedit.dll") drawn into the control
// and fed its keys, mouse and focus, with this control as their host. The caret is the paint
// manager's. Empty and unfocused, it shows its tip text greyed; a side icon may sit at the
// right edge. Text changes notify 26.
class ORVO_API MRichEdit : public MPanel {
public:
    MRichEdit(MObject* parent, UINT id, const RECT& rect, const wchar_t* text, int visible,
              int enabled);
    ~MRichEdit() override;
    ORVO_DECLARE_CONTROL(MRichEdit, MPanel)

    void InitControl(PaintManager* manager) override;
    void DrawControl(HDC hdc, const RECT& rect) override;
    void SetControlRect(const CRect& rect) override;
    void SetControlFocus(int focus) override;
    void SetControlEnabled(int enabled) override;
    BOOL OnControlMouseMove(UINT flags, POINT point) override;
    BOOL OnControlLButtonDown(UINT flags, POINT point) override;
    BOOL OnControlLButtonUp(UINT flags, POINT point) override;
    BOOL OnControlLButtonDblClk(UINT flags, POINT point) override;
    // Keys and characters reach the text services while the control has the focus.
    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    int OnControlTimer() override;
    void SetControlTitle(const wchar_t* text) override;
    std::wstring GetControlTitle() const override;

    // The text services could be made ("Msftedit.dll" is there).
    bool IsReady() const { return m_services != nullptr; }
    void SetText(const wchar_t* text);
    std::wstring GetText() const;
    int GetTextLength() const;
    void SetSel(long start, long end);
    void GetSel(long& start, long& end) const;
    void SelectAll() { SetSel(0, -1); }
    void ReplaceSel(const wchar_t* text, bool canUndo = true);
    void SetLimitText(long length);
    long GetLimitText() const { return m_limit; }
    void SetReadOnly(bool on);
    bool IsReadOnly() const { return m_readOnly; }
    bool Undo();
    bool Redo();
    bool CanUndo() const;
    bool CanRedo() const;
    void EmptyUndoBuffer();
    // Zoom as numerator / denominator (0 / 0 turns it off); false when refused.
    bool SetZoom(int numerator, int denominator);
    // The default character format: the control's font and text colour.
    void ApplyDefaultFormat();
    // Rich text in and out (RTF, 8-bit).
    bool LoadRtf(const std::string& rtf);
    std::string SaveRtf() const;
    void SetTipText(const wchar_t* text);
    const std::wstring& GetTipText() const { return m_tipText; }
    int SetIconImage(const wchar_t* fileName, int count);
    CRect GetIconRect() const;
    // Where the text goes: the control less its insets and the icon.
    virtual CRect GetTextArea() const;
    // A message to the text services; 0 when they are missing.
    LRESULT TxSendMessage(UINT msg, WPARAM wParam, LPARAM lParam) const;

protected:
    // Draws what lies behind the text (the subclasses' frames); nothing here.
    virtual void DrawBackground(HDC hdc);
    void OnTextChanged();

    CRect m_inset{2, 2, 2, 2};
    std::unique_ptr<Gdiplus::Image> m_icon;
    int m_iconCount = 1;
    int m_iconState = 0;
    bool m_hovered = false;

private:
    friend class RichTextHost;

    HMODULE m_library = nullptr;          // owned: "Msftedit.dll"
    RichTextHost* m_host = nullptr;       // owned through its reference count
    ITextServices* m_services = nullptr;  // owned through its reference count
    std::wstring m_tipText;
    long m_limit = 32767;
    bool m_readOnly = false;
    std::set<UINT> m_timers;  // text-services timers running now
};

// A rich edit drawn over the state image (normal, hovered, focused, disabled), its text inset
// by 6 pixels.
class ORVO_API MEditEx : public MRichEdit {
public:
    MEditEx(MObject* parent, UINT id, const RECT& rect, const wchar_t* text, int visible,
            int enabled);
    ORVO_DECLARE_CONTROL(MEditEx, MRichEdit)

protected:
    void DrawBackground(HDC hdc) override;
};

// The rich edit of a sign-in form: the state image follows hover and focus, and the side
// icon lights while hovered.
class ORVO_API CLogonEdit : public MRichEdit {
public:
    CLogonEdit(MObject* parent, UINT id, const RECT& rect, const wchar_t* text, int visible,
               int enabled);
    ORVO_DECLARE_CONTROL(CLogonEdit, MRichEdit)

    BOOL OnControlMouseMove(UINT flags, POINT point) override;

protected:
    void DrawBackground(HDC hdc) override;
};

}  // namespace Orvo
