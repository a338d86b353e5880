#pragma once

#include <windows.h>
#include <gdiplus.h>

#include <functional>
#include <memory>
#include <string>

#include "orvo/colour.h"
#include "orvo/control_factory.h"
#include "orvo/control_font.h"
#include "orvo/orvo_api.h"
#include "orvo/window.h"

namespace Orvo {

// Milliseconds for the buttons that count time (long press, countdown); tests put their own
// clock in. Null restores the system's tick count.
using TickSource = ULONGLONG (*)();
ORVO_API void SetButtonTickSource(TickSource source);
ORVO_API ULONGLONG ButtonTicks();

// Button states of the four-state buttons and of the slots of their bitmap cache.
enum ButtonState : int { kStateNormal = 0, kStateHot = 1, kStatePressed = 2, kStateDisabled = 3 };

// A member of a group in which at most one is checked. The group walks its owner's control
// list for controls of its own class with the same group name.
class ORVO_API CheckGroupMember {
public:
    virtual ~CheckGroupMember() = default;
    virtual const std::wstring& GetGroupName() const = 0;
    // Unchecked by another member: check 0, its unchecked look, a repaint.
    virtual void UncheckByGroup() = 0;
};

// Unchecks every other control of self's class whose group is `group`; 0 without an owner.
ORVO_API int ResetGroupOf(MControl& self, const std::wstring& group);

// The four-state press cycle shared by the push buttons: hot while the mouse is over it,
// pressed while held, disabled; a press sends 1 and a completed click 2. Every visual state is
// pre-painted side by side in the bitmap cache, so a state change only copies another slot.
class ORVO_API PushButtonBase : public MControlFont {
public:
    PushButtonBase(MObject* parent, UINT id, const RECT& rect, const wchar_t* title, int visible,
                   int enabled);

    int GetState() const { return m_state; }
    void SetControlEnabled(int enabled) override;
    BOOL OnControlMouseMove(UINT flags, POINT point) override;
    BOOL OnControlLButtonDown(UINT flags, POINT point) override;
    BOOL OnControlLButtonUp(UINT flags, POINT point) override;
    void DrawControl(HDC hdc, const RECT& rect) override;

protected:
    // Paints slot `slot` (0..SlotCount()-1) into `slotRect` over the captured background.
    virtual void DrawSlot(Gdiplus::Graphics& graphics, HDC hdc, const RECT& slotRect, int slot) = 0;
    virtual int SlotCount() const { return 4; }
    // The slot shown now.
    virtual int ShownSlot() const { return m_state; }
    // A completed click (press and release inside); default: notification 2.
    virtual void OnClicked();
    // Whether a left press sends 1.
    virtual bool SendsPress() const { return true; }
    void SetState(int state);
    // The title in the control's font, colour and alignment inside `box`.
    void DrawTitle(Gdiplus::Graphics& graphics, const RECT& box, Argb colour,
                   const std::wstring& text);

    int m_state = kStateNormal;
};

// The plain push button: a state image with one frame per state drawn as a nine-patch, and
// the title centred (or centred in the text rectangle), one pixel lower while pressed.
class ORVO_API MButton : public PushButtonBase {
public:
    MButton(MObject* parent, UINT id, const RECT& rect, const wchar_t* title, int visible,
            int enabled);
    ORVO_DECLARE_CONTROL(MButton, MControlFont)

    // An icon strip from the skin folder (frame width = width / count); kept for subclasses.
    int SetIconImage(const wchar_t* fileName, int count = 4);
    Gdiplus::Image* GetIconImage() const { return m_icon; }
    CSize GetIconSize() const { return CSize(m_iconWidth, m_iconHeight); }
    int GetIconCount() const { return m_iconCount; }
    // Empty: the whole button.
    void SetTextRect(const RECT& rect);
    void SetCornerSize(int corner) { m_corner = corner; }
    BOOL OnControlKeyDown(UINT vk, UINT repeat, UINT modifiers) override;

protected:
    void DrawSlot(Gdiplus::Graphics& graphics, HDC hdc, const RECT& slotRect, int slot) override;
    // The state image frame `frame` as a nine-patch over `slotRect`.
    void DrawStateFrame(Gdiplus::Graphics& graphics, const RECT& slotRect, int frame);
    virtual Argb SlotTextColor(int slot) const;

    int m_corner = 8;
    Gdiplus::Image* m_icon = nullptr;  // not owned: the manager's image cache
    int m_iconWidth = 0;
    int m_iconHeight = 0;
    int m_iconCount = 4;
    CRect m_textRect;
};

// A push button that can show its title in the tip bubble while hovered.
class ORVO_API CImageButton : public MButton {
public:
    using MButton::MButton;
    ORVO_DECLARE_CONTROL(CImageButton, MButton)

    // 1: the bubble at the right edge, 2: at the left edge; other values: no bubble.
    void SetAlrBladderMode(int mode) { m_bubbleMode = mode; }
    BOOL OnControlMouseMove(UINT flags, POINT point) override;

private:
    int m_bubbleMode = 0;
    bool m_bubbleShown = false;
};

// A push button that repeats notification 32 on the animation tick while held, every time
// more than 300 ms passed since the press or the last repeat.
class ORVO_API LongPressButton : public MButton {
public:
    LongPressButton(MObject* parent, UINT id, const RECT& rect, const wchar_t* title, int visible,
                    int enabled);
    ORVO_DECLARE_CONTROL(LongPressButton, MButton)

    static constexpr ULONGLONG kRepeatMs = 300;
    BOOL OnControlLButtonDown(UINT flags, POINT point) override;
    BOOL OnControlLButtonUp(UINT flags, POINT point) override;
    int OnControlTimer() override;

private:
    ULONGLONG m_lastRepeat = 0;
    bool m_held = false;
};

// A radio-like push button (group "MouseFunction"): a click checks it, unchecks the group and
// sends 2; it shows its pressed slot while checked.
class ORVO_API MButton2 : public MButton, public CheckGroupMember {
public:
    MButton2(MObject* parent, UINT id, const RECT& rect, int visible, int enabled);
    ORVO_DECLARE_CONTROL(MButton2, MButton)

    int GetCheck() const { return m_check; }
    int SetCheck(int check);
    // Sets the check without touching the group, enabled or not.
    void SetControlCheck(int check);
    int ResetGroupCheck() { return ResetGroupOf(*this, m_groupName); }
    void SetGroupName(const wchar_t* name) { m_groupName = name != nullptr ? name : L""; }
    const std::wstring& GetGroupName() const override { return m_groupName; }
    void UncheckByGroup() override;

protected:
    int ShownSlot() const override { return m_check ? kStatePressed : m_state; }
    void OnClicked() override;

    int m_check = 0;
    std::wstring m_groupName = L"MouseFunction";
};

// A toggle push button: a click flips its check and sends 2; it shows its pressed slot, with
// dark text, while checked.
class ORVO_API MButton3 : public MButton {
public:
    MButton3(MObject* parent, UINT id, const RECT& rect, int visible, int enabled);
    ORVO_DECLARE_CONTROL(MButton3, MButton)

    int GetCheck() const { return m_check; }
    // Only while enabled and when it changes.
    int SetCheck(int check);

protected:
    int ShownSlot() const override { return m_check ? kStatePressed : m_state; }
    Argb SlotTextColor(int slot) const override;
    void OnClicked() override;

    int m_check = 0;
};

// Text only, in one colour per state.
class ORVO_API CTextButton : public PushButtonBase {
public:
    CTextButton(MObject* parent, UINT id, const RECT& rect, const wchar_t* title, int visible,
                int enabled);
    ORVO_DECLARE_CONTROL(CTextButton, MControlFont)

    void SetTextButtonColor(Argb normal, Argb hover, Argb pressed, Argb disabled);
    Argb GetStateColor(int state) const { return m_colors[state & 3]; }

protected:
    void DrawSlot(Gdiplus::Graphics& graphics, HDC hdc, const RECT& slotRect, int slot) override;

    Argb m_colors[4];
};

// A four-state button with an icon at the icon rectangle's left and the title centred in the
// text rectangle, in one colour per state.
class ORVO_API CIconButton : public PushButtonBase {
public:
    CIconButton(MObject* parent, UINT id, const RECT& rect, const wchar_t* title, int visible,
                int enabled);
    ORVO_DECLARE_CONTROL(CIconButton, MControlFont)

    // With count > 1 the icon frame follows the state, else frame 0 is always shown.
    int SetIconImage(const wchar_t* fileName, int count);
    // Both relative to the button; empty: the whole button.
    void SetTextRect(const RECT& textRect, const RECT& iconRect);
    void SetTextButtonColor(Argb normal, Argb hover, Argb pressed, Argb disabled);

protected:
    void DrawSlot(Gdiplus::Graphics& graphics, HDC hdc, const RECT& slotRect, int slot) override;

    Gdiplus::Image* m_icon = nullptr;  // not owned: the manager's image cache
    int m_iconWidth = 0;
    int m_iconHeight = 0;
    int m_iconCount = 1;
    CRect m_textRect;
    CRect m_iconRect;
    Argb m_colors[4];
};

// A push button that counts ten seconds down in its title ("%s(%ds)") once started and then
// sends 2 once.
class ORVO_API CTimerButton : public PushButtonBase {
public:
    CTimerButton(MObject* parent, UINT id, const RECT& rect, const wchar_t* title, int visible,
                 int enabled);
    ORVO_DECLARE_CONTROL(CTimerButton, MControlFont)

    static constexpr ULONGLONG kCountdownMs = 10000;
    // Starts (enabled only) or stops the countdown.
    void SetRun(int on);
    int IsRun() const { return m_running; }
    // The title as shown now.
    std::wstring GetShownTitle() const;
    int OnControlTimer() override;

protected:
    void DrawSlot(Gdiplus::Graphics& graphics, HDC hdc, const RECT& slotRect, int slot) override;

private:
    ULONGLONG m_started = 0;
    int m_shownSeconds = -1;
};

// A help mark: hovering shows its title in the tip bubble at (left + 20, top) on the screen;
// leaving hides the bubble if it still shows this button's text.
class ORVO_API CHelpButton : public PushButtonBase {
public:
    CHelpButton(MObject* parent, UINT id, const RECT& rect, const wchar_t* title, int visible,
                int enabled);
    ORVO_DECLARE_CONTROL(CHelpButton, MControlFont)

    BOOL OnControlMouseMove(UINT flags, POINT point) override;

protected:
    void DrawSlot(Gdiplus::Graphics& graphics, HDC hdc, const RECT& slotRect, int slot) override;

private:
    bool m_bubbleShown = false;
};

// The software-update push button; its status is the application's.
class ORVO_API UpgradeButton : public MButton {
public:
    UpgradeButton(MObject* parent, UINT id, const RECT& rect, const wchar_t* title, int visible,
                  int enabled);
    ORVO_DECLARE_CONTROL(UpgradeButton, MControlFont)

    void SetUpgradeStatus(int status);
    int GetUpgradeStatus() const { return m_status; }

private:
    int m_status = 0;
};

// A push button with an icon that becomes a progress bar ("%d%%") while a download runs.
class ORVO_API DownloadButton : public MButton {
public:
    DownloadButton(MObject* parent, UINT id, const RECT& rect, const wchar_t* title, int visible,
                   int enabled);
    ORVO_DECLARE_CONTROL(DownloadButton, MControlFont)

    // 0 shows the button; 1..100 the progress.
    void SetDownloadProcess(int percent);
    int GetDownloadProcess() const { return m_percent; }

protected:
    void DrawSlot(Gdiplus::Graphics& graphics, HDC hdc, const RECT& slotRect, int slot) override;

private:
    int m_percent = 0;
};

// The check-like buttons: a check, eight visual states (check x 4 + normal, hot, pressed,
// disabled), the state image at the left and the title 8 pixels right of it. A click toggles
// (check boxes) or checks and unchecks the group (radio-like); Space with the keyboard focus,
// or the hot key, does the same and sends 7 with the new check.
class ORVO_API CheckButtonBase : public MControlFont {
public:
    CheckButtonBase(MObject* parent, UINT id, const RECT& rect, const wchar_t* title, int visible,
                    int enabled, bool radioLike);

    int GetCheck() const { return m_check; }
    // Only while enabled (else the current check is returned); radio-like buttons reset their
    // group when the check changes, also when it becomes 0.
    int SetCheck(int check);
    // The visual state 0..7.
    int GetVisualState() const { return m_visual; }
    Argb GetCheckedTextColor() const { return m_checkedColor; }
    void SetCheckedTextColor(Argb colour) { m_checkedColor = colour; }

    void SetControlEnabled(int enabled) override;
    void SetControlFocus(int focus) override;
    BOOL OnControlMouseMove(UINT flags, POINT point) override;
    BOOL OnControlLButtonDown(UINT flags, POINT point) override;
    BOOL OnControlLButtonUp(UINT flags, POINT point) override;
    BOOL OnControlKeyDown(UINT vk, UINT repeat, UINT modifiers) override;
    void DrawControl(HDC hdc, const RECT& rect) override;

protected:
    // The radio-like members' group step after a change of check.
    virtual void AfterCheckChange() {}
    virtual Argb SlotTextColor(int slot) const;
    void SetVisual(int visual);
    void Toggle(bool fromKeyboard);

    int m_check = 0;
    int m_pressed = 0;
    int m_keyboardFocus = 0;
    int m_visual = 0;
    Argb m_checkedColor;
    bool m_radioLike;
};

class ORVO_API CCheckButton : public CheckButtonBase {
public:
    CCheckButton(MObject* parent, UINT id, const RECT& rect, const wchar_t* title, int visible,
                 int enabled);
    ORVO_DECLARE_CONTROL(CCheckButton, MControlFont)
};

// The radio-like check buttons share their group handling.
class ORVO_API RadioButtonBase : public CheckButtonBase, public CheckGroupMember {
public:
    RadioButtonBase(MObject* parent, UINT id, const RECT& rect, const wchar_t* title, int visible,
                    int enabled);

    void SetControlCheck(int check);
    int ResetGroupCheck() { return ResetGroupOf(*this, m_groupName); }
    void SetGroupName(const wchar_t* name) { m_groupName = name != nullptr ? name : L""; }
    const std::wstring& GetGroupName() const override { return m_groupName; }
    void UncheckByGroup() override;

protected:
    void AfterCheckChange() override { ResetGroupCheck(); }

    std::wstring m_groupName;
};

class ORVO_API CRadioButton : public RadioButtonBase {
public:
    using RadioButtonBase::RadioButtonBase;
    ORVO_DECLARE_CONTROL(CRadioButton, MControlFont)
};

// Radio-like with a four-frame image (normal, hot, pressed, disabled).
class ORVO_API CSelectButton : public RadioButtonBase {
public:
    CSelectButton(MObject* parent, UINT id, const RECT& rect, const wchar_t* title, int visible,
                  int enabled);
    ORVO_DECLARE_CONTROL(CSelectButton, MControlFont)
};

// A check-like text: its colours say whether it is hovered or checked.
class ORVO_API TextCheckButton : public CheckButtonBase {
public:
    TextCheckButton(MObject* parent, UINT id, const RECT& rect, const wchar_t* title, int visible,
                    int enabled);
    ORVO_DECLARE_CONTROL(TextCheckButton, MControlFont)

    // Normal, hover and checked, disabled.
    void SetTextButtonColor(Argb normal, Argb hover, Argb checked, Argb disabled);

protected:
    Argb SlotTextColor(int slot) const override;

private:
    Argb m_colors[4];
};

// A colour swatch (ColorRef): outlined while hovered or pressed, pressed-looking while checked;
// a press checks it, unchecks its group and sends 1, the release inside sends 2.
class ORVO_API CColorButton : public PushButtonBase, public CheckGroupMember {
public:
    CColorButton(MObject* parent, UINT id, const RECT& rect, int visible, int enabled);
    ORVO_DECLARE_CONTROL(CColorButton, MControlFont)

    void SetColor(ColorRef colour);
    ColorRef GetColor() const { return m_color; }
    int GetCheck() const { return m_check; }
    int SetCheck(int check);
    void SetControlCheck(int check);
    int ResetGroupCheck() { return ResetGroupOf(*this, m_groupName); }
    void SetGroupName(const wchar_t* name) { m_groupName = name != nullptr ? name : L""; }
    const std::wstring& GetGroupName() const override { return m_groupName; }
    void UncheckByGroup() override;
    BOOL OnControlLButtonDown(UINT flags, POINT point) override;

protected:
    void DrawSlot(Gdiplus::Graphics& graphics, HDC hdc, const RECT& slotRect, int slot) override;
    int ShownSlot() const override { return m_check ? kStatePressed : m_state; }
    bool SendsPress() const override { return false; }

    ColorRef m_color = ColorRef(0xFFFFFF);
    int m_check = 0;
    std::wstring m_groupName;
};

class ColorButtonEx;

// The number editor of a ColorButtonEx: a superclassed native edit box with the card's dark
// background; Enter or losing the focus closes it and keeps the text.
class ORVO_API ValueEditWnd : public MWindow {
public:
    explicit ValueEditWnd(ColorButtonEx* owner) : m_owner(owner) {}
    ~ValueEditWnd() override;
    const wchar_t* GetWindowClassName() const override { return L"OrvoValueEdit"; }
    const wchar_t* GetSuperClassName() const override { return L"EDIT"; }
    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

    static constexpr ColorRef kBackColor = ColorRef(0x6D553F);

private:
    ColorButtonEx* m_owner;    // not owned: the card that made the editor
    HBRUSH m_brush = nullptr;  // owned
};

// A colour card (ARGB) with a number as its title, in a group; the number can be edited in
// place.
class ORVO_API ColorButtonEx : public MControlFont, public CheckGroupMember {
public:
    ColorButtonEx(MObject* parent, UINT id, const RECT& rect, const wchar_t* title, int visible,
                  int enabled);
    ~ColorButtonEx() override;
    ORVO_DECLARE_CONTROL(ColorButtonEx, MControlFont)

    // Shows "%d" as the title, also in an open editor.
    void SetValue(int value);
    // The editor's text as a number while it exists, else the title's.
    int GetValue() const;
    void SetColor(Argb argb);
    Argb GetColor() const { return m_color; }
    // Whether a click opens the editor.
    void SetShowEdit(int on) { m_editable = on; }
    void ShowEdit();
    void HideEdit();
    bool IsEditShown() const;
    HWND GetEditWindow() const;
    int GetCheck() const { return m_check; }
    int SetCheck(int check);
    void SetControlCheck(int check);
    int ResetGroupCheck() { return ResetGroupOf(*this, m_groupName); }
    void SetGroupName(const wchar_t* name) { m_groupName = name != nullptr ? name : L""; }
    const std::wstring& GetGroupName() const override { return m_groupName; }
    void UncheckByGroup() override;

    BOOL OnControlMouseMove(UINT flags, POINT point) override;
    BOOL OnControlLButtonDown(UINT flags, POINT point) override;
    BOOL OnControlLButtonUp(UINT flags, POINT point) override;
    void DrawControl(HDC hdc, const RECT& rect) override;
    // The editor closed with this text.
    void OnEditDone(const std::wstring& text);

private:
    Argb m_color = Argb(0xFFFF0000);
    Argb m_checkedTextColor = Argb(0xFFB8D3EF);
    int m_check = 0;
    int m_state = kStateNormal;
    int m_editable = 0;
    std::wstring m_groupName;
    std::unique_ptr<ValueEditWnd> m_editor;
};

// An on/off switch drawn from two four-frame strips (on and off), stretched: normal, hovered or
// pressed, disabled; a click flips it and sends 2 with the new check.
class ORVO_API CSwitchButton : public PushButtonBase {
public:
    CSwitchButton(MObject* parent, UINT id, const RECT& rect, int visible, int enabled);
    ORVO_DECLARE_CONTROL(CSwitchButton, MControlFont)

    using MControlFont::SetImage;
    // Both from the skin folder; frame width = width / count. 1 when both loaded.
    int SetImage(const wchar_t* onFile, const wchar_t* offFile, int count);
    int GetCheck() const { return m_check; }
    // Back to state 0, repainted when it changes.
    void SetCheck(int check);
    // Keys are not taken, not even a hot key.
    BOOL OnControlKeyDown(UINT vk, UINT repeat, UINT modifiers) override;

protected:
    void DrawSlot(Gdiplus::Graphics& graphics, HDC hdc, const RECT& slotRect, int slot) override;
    // Hovered and pressed share slot 1.
    int ShownSlot() const override { return m_state == kStatePressed ? kStateHot : m_state; }
    void OnClicked() override;
    bool SendsPress() const override { return false; }

private:
    Gdiplus::Image* m_onImage = nullptr;   // not owned: the manager's image cache
    Gdiplus::Image* m_offImage = nullptr;  // not owned: the manager's image cache
    int m_frameWidth = 0;
    int m_frameHeight = 0;
    int m_frameCount = 4;
    int m_check = 0;
};

}  // namespace Orvo
