#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "orvo/colour.h"
#include "orvo/control_factory.h"
#include "orvo/control_font.h"
#include "orvo/inline_edit.h"
#include "orvo/orvo_api.h"

namespace Orvo {

class NumberEditBase;

// The native edit of a number box: centred, at most two characters, all text selected when
// it opens. What is typed is kept as typed.
class ORVO_API CNumberEditWnd : public InlineEdit {
public:
    CNumberEditWnd(NumberEditBase* owner, InlineEditHost* host);
    const wchar_t* GetWindowClassName() const override { return L"NumberEditWnd"; }
};

// The same for NumberEdit2.
class ORVO_API CNumberEditWnd2 : public CNumberEditWnd {
public:
    using CNumberEditWnd::CNumberEditWnd;
    const wchar_t* GetWindowClassName() const override { return L"NumberEditWnd2"; }
};

// A small number box: the value as its title, two step buttons (children 20 for +1 and 21
// for -1) that keep it inside 1 ... maximum, and a native edit over the value for typing.
// A step that changes the value notifies 2; the edit notifies 30, 26 and 29.
class ORVO_API NumberEditBase : public MControlFont, public InlineEditHost {
public:
    static constexpr UINT kUpButton = 20;
    static constexpr UINT kDownButton = 21;
    static constexpr int kMaxTypedLength = 2;

    NumberEditBase(MObject* parent, UINT id, const RECT& rect, int visible, int maximum,
                   ColorRef editBackground);
    ~NumberEditBase() override;

    void InitControl(PaintManager* manager) override;
    void DrawControl(HDC hdc, const RECT& rect) override;
    void SetControlRect(const CRect& rect) override;
    void SetControlFocus(int focus) override;
    BOOL OnControlLButtonDown(UINT flags, POINT point) override;
    // Steps from the two buttons; everything else goes on to the owner.
    long OnBaseMessage(UINT controlId, UINT code, WPARAM wParam, LPARAM lParam) override;
    void OnInlineEditEnd(bool keep) override;
    void OnInlineEditFocusLost() override;

    void SetEditText(const wchar_t* text);
    std::wstring GetEditText() const;
    const std::wstring& GetTitleEx() const { return m_title; }
    void SetTextRect(const RECT& rect);
    CRect GetTextRect() const;
    // Back to the toolkit's default font, or a font of its own for the value and the edit.
    void SetEditFont();
    void SetEditFont(const wchar_t* face, int size, bool bold, bool italic, bool underline);
    HFONT GetDefaultFont();
    void SetEditBKColor(ColorRef colour) { m_editBackColor = colour; }
    ColorRef GetEditBKColor() const { return m_editBackColor; }
    ColorRef GetEditTextColor() const { return m_textColor.ToColorRef(); }
    void SetEditWindow(std::unique_ptr<CNumberEditWnd> window);
    CNumberEditWnd* GetEditWindow() const { return m_editWindow.get(); }
    int GetMaximum() const { return m_maximum; }
    int GetLastStep() const { return m_lastStep; }

    void ShowEdit();
    void HideEdit();

protected:
    // The images of the two buttons and their places for the control's rectangle.
    virtual const wchar_t* UpImage() const = 0;
    virtual const wchar_t* DownImage() const = 0;
    virtual RECT UpPlace(const CRect& rect) const = 0;
    virtual RECT DownPlace(const CRect& rect) const = 0;
    virtual CRect DefaultTextRect() const = 0;
    virtual std::unique_ptr<CNumberEditWnd> MakeEditWindow() = 0;

private:
    void LayoutButtons();
    void Step(int delta);

    int m_maximum;
    int m_lastStep = 0;
    ColorRef m_editBackColor;
    CRect m_textRect;
    bool m_textRectSet = false;
    bool m_buttonsMade = false;
    std::wstring m_titleAtOpen;
    std::unique_ptr<CNumberEditWnd> m_editWindow;
};

// Steps 1 to 50 with a minus button at the left and a plus button at the right.
class ORVO_API NumberEdit : public NumberEditBase {
public:
    NumberEdit(MObject* parent, UINT id, const RECT& rect, int visible);
    ORVO_DECLARE_CONTROL(NumberEdit, NumberEditBase)

protected:
    const wchar_t* UpImage() const override { return L"img_btn_addvalue.png"; }
    const wchar_t* DownImage() const override { return L"img_btn_subtract.png"; }
    RECT UpPlace(const CRect& rect) const override;
    RECT DownPlace(const CRect& rect) const override;
    CRect DefaultTextRect() const override;
    std::unique_ptr<CNumberEditWnd> MakeEditWindow() override;
};

// Steps 1 to 20 with two small arrows at the right edge.
class ORVO_API NumberEdit2 : public NumberEditBase {
public:
    NumberEdit2(MObject* parent, UINT id, const RECT& rect, int visible);
    ORVO_DECLARE_CONTROL(NumberEdit2, NumberEditBase)

protected:
    const wchar_t* UpImage() const override { return L"img_btn_value_up.png"; }
    const wchar_t* DownImage() const override { return L"img_btn_value_down.png"; }
    RECT UpPlace(const CRect& rect) const override;
    RECT DownPlace(const CRect& rect) const override;
    CRect DefaultTextRect() const override;
    std::unique_ptr<CNumberEditWnd> MakeEditWindow() override;
};

}  // namespace Orvo
