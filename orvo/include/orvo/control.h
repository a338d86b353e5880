#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "orvo/colour.h"
#include "orvo/geometry.h"
#include "orvo/object.h"
#include "orvo/orvo_api.h"

namespace Orvo {

class PaintManager;

// Notification codes a control sends to its owner with SendMessageW (wParam, lParam below).
enum ControlNotify : UINT {
    kNotifyPressed = 1,          // pressed; item index or 0
    kNotifyClicked = 2,          // clicked or value changed; index or value, new state or item
    kNotifyItemRightUp = 5,      // right button released on a list item; item index
    kNotifyKeyCheck = 7,         // check state changed by keyboard; lParam = new check state
    kNotifyScroll = 8,           // scroll position or slider value changed; wParam = position
    kNotifySecondary = 9,        // secondary part pressed or clicked; index or 0
    kNotifyEditAccepted = 26,    // inline edit text accepted
    kNotifyColorPicked = 27,     // colour picked; lParam = colour
    kNotifySpinChanged = 28,     // spin value changed
    kNotifyEditClosed = 29,      // inline edit closed; lParam = item index or 0
    kNotifyEditOpened = 30,      // inline edit opened
    kNotifySideImageClick = 31,  // side image of an edit clicked
    kNotifyLongPress = 32,       // long-press repeat
};

// Cursor names for SetCursorEx; they map to system cursors.
ORVO_API extern const wchar_t* const kCursorArrow;   // "arrow"
ORVO_API extern const wchar_t* const kCursorWait;    // "wait"
ORVO_API extern const wchar_t* const kCursorCross;   // "cross"
ORVO_API extern const wchar_t* const kCursorSizeWE;  // "sizewe"
ORVO_API extern const wchar_t* const kCursorSizeNS;  // "sizens"
ORVO_API extern const wchar_t* const kCursorHand;    // "hand"
ORVO_API extern const wchar_t* const kCursorHelp;    // "help"

class MemoryCanvas;

// An off-screen 32-bit bitmap selected into its own memory DC.
class ORVO_API ControlBitmapCache {
public:
    ControlBitmapCache();
    ControlBitmapCache(const ControlBitmapCache&) = delete;
    ControlBitmapCache& operator=(const ControlBitmapCache&) = delete;
    ~ControlBitmapCache();

    // Makes the bitmap width x height (recreated only when the size changed); null on failure.
    HDC Ensure(HDC reference, int width, int height);
    void Release();
    HDC GetDC() const;
    CSize GetSize() const;
    // Pixels of the bitmap (bottom-up 0xAARRGGBB rows), null before Ensure.
    DWORD* GetBits() const;

private:
    std::unique_ptr<MemoryCanvas> m_canvas;
};

// The base of every drawn control: a rectangle inside its dialog's client area with state
// flags, two owned child lists, input routing into the children, a bitmap cache, repaint
// requests and notifications to its owner. Controls are not native windows.
class ORVO_API MControl : public MObject {
public:
    MControl(MObject* parent, UINT id, const RECT& rect, int visible, int enabled, int responsive);
    MControl(const MControl&) = delete;
    MControl& operator=(const MControl&) = delete;
    // Deletes both child lists.
    ~MControl() override;

    const wchar_t* GetClassNameW() const override { return L"MControl"; }
    const wchar_t* GetObjectClass() const override { return L"MControl"; }
    const wchar_t* BaseObjectClassName() const override { return L"MObject"; }
    // A child's repaint request goes up to the owner.
    long OnControlUpdate(const RECT& rect, int redraw, MControl* control) override;

    // Called once when the control is attached to a manager.
    virtual void InitControl(PaintManager* manager);
    // Visible and inside the rectangle.
    virtual BOOL PtInRect(POINT point) const;
    virtual void DrawControl(HDC hdc, const RECT& rect) = 0;
    // Draws every visible sub-control in list order.
    virtual void DrawSubControls(HDC hdc, const RECT& rect);
    virtual BOOL IsDraw(POINT point);
    // Marks the bitmap cache valid or not, also for sub-controls that meet this control.
    virtual void SetUpdate(int valid, ColorRef colour);
    virtual void SetControlFocus(int focus);
    virtual void InitUI(const CRect& rect);
    // Containers that scroll translate the point into their content; 0 means unchanged.
    virtual BOOL OnMousePointChange(POINT& point);
    // 0 refuses the mouse at this point.
    virtual BOOL OnCheckMouseResponse(UINT flags, POINT point);
    // Every window message of the host; non-zero stops its routing.
    virtual LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    virtual long OnMessage(UINT controlId, UINT code, WPARAM wParam, LPARAM lParam);
    virtual void SetControlRect(const CRect& rect);
    virtual void SetControlVisible(int visible);
    // Controls with native windows show or hide them here.
    virtual void SetControlWndVisible(int visible);
    virtual void SetControlEnabled(int enabled);
    // The control's own part of an animation or timer tick; 1 when it changed something.
    virtual int OnControlTimer();
    // A new picture of the control for dragging it out; the caller owns and frees it.
    virtual HBITMAP GetControlDropBitmap();
    // Input hooks: non-zero means handled.
    virtual BOOL OnControlMouseMove(UINT flags, POINT point);
    virtual BOOL OnControlSetCursor(UINT flags, POINT point);
    virtual BOOL OnControlLButtonDown(UINT flags, POINT point);
    virtual BOOL OnControlLButtonUp(UINT flags, POINT point);
    virtual BOOL OnControlLButtonDblClk(UINT flags, POINT point);
    virtual BOOL OnControlScroll(int kind, int down, POINT point);
    virtual BOOL OnControlRButtonDown(UINT flags, POINT point);
    virtual BOOL OnControlRButtonUp(UINT flags, POINT point);
    virtual BOOL OnControlRButtonDblClk(UINT flags, POINT point);
    // Takes the key when it is the control's hot key with matching modifiers.
    virtual BOOL OnControlKeyDown(UINT vk, UINT repeat, UINT modifiers);
    virtual void OnPositionChange();
    // Invalidates the control's rectangle in the host window (all of it when layered).
    virtual void InvalidateRect(const RECT* rect, BOOL erase);

    // Stores the manager, then InitControl(manager).
    void SetManager(PaintManager* manager);
    PaintManager* GetManager() const { return m_manager; }
    void SetParent(MObject* parent) { m_parent = parent; }
    MObject* GetParantObject() const { return m_parent; }
    UINT GetControlID() const { return m_id; }
    const CRect& GetRect() const { return m_rect; }
    // Moves the control and repaints the old and the new place.
    void SetRect(const RECT& rect);
    void SetRect(int x, int y, int width, int height);
    bool IsVisible() const { return m_visible; }
    void SetVisible(int visible);
    void SetVisible(int visible, int repaint);
    bool IsEnabled() const { return m_enabled; }
    void SetEnabled(int enabled);
    // Visible up to the dialog: no invisible parent on the way.
    int IsParentVisible() const;
    void SetDragDrop(bool on) { m_dragDrop = on; }
    bool IsDragDrop() const { return m_dragDrop; }
    void SetRresponse(bool responsive) { m_responsive = responsive; }
    bool GetRresponse() const { return m_responsive; }
    void SetTabStop(bool tabStop) { m_tabStop = tabStop; }
    bool IsTabStop() const { return m_tabStop; }
    void SetDblClk(bool handles) { m_handlesDblClk = handles; }
    bool GetDblClk() const { return m_handlesDblClk; }
    bool IsKeyDown() const { return m_keyDown; }
    bool IsFocused() const { return m_focused; }
    void SetHotKey(UINT vk, UINT modifiers) {
        m_hotKey = vk;
        m_hotKeyModifiers = modifiers;
    }
    bool GetUpdate() const { return m_cacheValid; }
    bool IsAnimating() const { return m_animating; }
    // Switching it on wakes a paused animation tick.
    void SetRunTimer(bool on);
    bool IsRunTimer() const { return m_runTimer; }
    bool UseImageECM() const { return m_imageECM; }
    // One of the names kCursorArrow ... kCursorHelp; other names leave the cursor alone.
    int SetCursorEx(const wchar_t* name);
    HCURSOR GetCursor() const { return m_cursor; }

    // Shows text as a tooltip over rect and records this control as the tooltip's owner.
    void SetTooltip(const wchar_t* text, const RECT& rect);
    // The text shown when the mouse rests on the control.
    void SetTooltip(const wchar_t* text);
    const std::wstring& GetTooltip() const { return m_tooltip; }
    void ClearTooltip();
    // The id of the control whose tooltip the manager shows; 0 without a manager.
    void SetTooltipCtrlID(UINT id);
    UINT GetTooltipCtrlID() const;
    HBITMAP GetDropBitmap() { return GetControlDropBitmap(); }

    // Input entry points: route into the children, then the own hooks. They do nothing and
    // return 0 unless the control is visible and responsive.
    BOOL OnMouseMove(UINT flags, POINT point);
    BOOL OnLButtonDown(UINT flags, POINT point);
    BOOL OnLButtonUp(UINT flags, POINT point);
    BOOL OnLButtonDblClk(UINT flags, POINT point);
    BOOL OnRButtonDown(UINT flags, POINT point);
    BOOL OnRButtonUp(UINT flags, POINT point);
    BOOL OnRButtonDblClk(UINT flags, POINT point);
    BOOL OnScroll(int kind, int down, POINT point);
    BOOL OnKeyDown(UINT vk, UINT repeat, UINT modifiers);
    BOOL OnKeyUp(UINT, UINT, UINT) { return FALSE; }
    // The animation tick: OnControlTimer, then sub-controls that run a timer.
    int OnTimer();

    // Area children, then DrawControl, then sub-controls; nothing when invisible or apart.
    void Draw(HDC hdc, const RECT& rect);
    // The bitmap cache sized width x height, marked valid; its DC or null.
    HDC UpdateMemDC(HDC hdc, int width, int height);
    HDC UpdateAnimateDC(HDC hdc, int width, int height);
    HDC GetMemDC() const { return m_cache.GetDC(); }
    HDC GetAnimateDC() const { return m_animateCache.GetDC(); }
    void OnFocus(int focus) { SetControlFocus(focus); }
    // This control is the manager's focus control.
    int IsFocusControl() const;
    // The sub-control with the focused flag (descending into focused containers), or null.
    MControl* GetFocusControl();
    // The sub-control after (before) the focused one that is visible, enabled and a tab stop,
    // wrapping around; the first (last) such one when none is focused; null when none is.
    MControl* GetNextFocusableControl();
    MControl* GetPrevFocusableControl();

    // Depth-first through sub-controls, then area children.
    MControl* GetControl(UINT id);
    // Snapshots of the child lists, in drawing order.
    std::vector<MControl*> GetControls();
    std::vector<MControl*> GetAreaControls();
    // Takes ownership of a child: sub-control (drawn after this control, offered input) or
    // area child (drawn before it). The child gets this control's manager, if it has one.
    MControl* AddControl(std::unique_ptr<MControl> child);
    MControl* AddAreaControl(std::unique_ptr<MControl> child);
    // Deletes a sub-control; clears the manager's focus, hover and timers that point at it.
    BOOL RemoveControl(MControl* child);
    void RemoveAllControl();
    // Registers the control with its manager's animation tick.
    void AddMTimer();

    // Repaint requests to the owner. From a thread other than the window's they are queued
    // and run by the UI thread; these are the only calls other threads may make on a control.
    void UpdateControl(int redraw = TRUE, int evenIfHidden = FALSE);
    void UpdateAControl(int animate, int evenIfHidden = FALSE);
    void UpdateControl(const RECT& rect, int evenIfHidden, int redraw);
    // Notifies the owner: its OnBaseMessage(id, code, wParam, lParam).
    long SendMessageW(UINT code, WPARAM wParam = 0, LPARAM lParam = 0);

    // Calls fn for this control and every descendant (sub-controls and area children).
    template <typename Fn>
    void ForEachInTree(Fn&& fn) {
        fn(this);
        for (MControl* child : GetAreaControls()) {
            child->ForEachInTree(fn);
        }
        for (MControl* child : GetControls()) {
            child->ForEachInTree(fn);
        }
    }

protected:
    // Gets the manager a child's InitControl; containers call it when they get a manager.
    void PassManagerToChildren(PaintManager* manager);

    MObject* m_parent = nullptr;        // not owned
    PaintManager* m_manager = nullptr;  // not owned: the host of the dialog
    UINT m_id = 0;
    CRect m_rect;
    bool m_visible = false;
    bool m_enabled = false;
    bool m_dragDrop = false;
    bool m_responsive = false;
    bool m_tabStop = false;
    bool m_handlesDblClk = false;
    bool m_pressedInside = false;
    bool m_keyDown = false;
    bool m_focused = false;
    UINT m_hotKey = 0;
    UINT m_hotKeyModifiers = 0;
    bool m_cacheValid = false;
    bool m_animating = false;
    bool m_runTimer = false;
    bool m_running = false;
    bool m_imageECM = false;
    std::vector<std::unique_ptr<MControl>> m_areaControls;
    std::vector<std::unique_ptr<MControl>> m_controls;
    MControl* m_pressedChild = nullptr;  // not owned: one of m_controls
    ControlBitmapCache m_cache;
    ControlBitmapCache m_animateCache;
    std::wstring m_tooltip;
    HCURSOR m_cursor = nullptr;  // not owned: a shared system cursor

private:
    void RequestRepaint(const RECT& rect, int redraw);
    MControl* ScanFocusable(bool forward);
    void WakeTickIfShown();
    MControl* ChildAt(size_t index);
    BOOL RouteButtonDown(bool left, UINT flags, POINT point);
    BOOL RouteButtonUp(bool left, UINT flags, POINT point);
    BOOL RouteDoubleClick(bool left, UINT flags, POINT point);
};

}  // namespace Orvo
