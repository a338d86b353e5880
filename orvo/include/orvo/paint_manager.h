#pragma once

#include <windows.h>
#include <gdiplus.h>

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "orvo/air_bladder.h"
#include "orvo/control.h"
#include "orvo/geometry.h"
#include "orvo/img_res_info.h"
#include "orvo/mm_timer.h"
#include "orvo/orvo_api.h"
#include "orvo/render.h"

namespace Orvo {

class CIDropTarget;
class MObject;
class MShadow;
class MWindow;

// Deletes the dialog's shadow where MShadow is complete (shadow.cpp).
struct ORVO_API ShadowDeleter {
    void operator()(MShadow* shadow) const;
};

// Which list a created control joins.
enum ControlListKind : int { kAreaList = 0, kControlList = 1 };

// The host of the drawn controls of one window: it keeps them in three lists (area list,
// control list, animated list), routes window messages and input to them, tracks the hover
// and focus controls, runs per-control timers and the animation tick, shows tooltips, a
// caret and a message/progress overlay, and paints everything double-buffered, optionally
// as a per-pixel-alpha layered window. Controls in its lists are owned and deleted by it.
class ORVO_API PaintManager : public CMTimer {
public:
    PaintManager();
    ~PaintManager() override;

    // Binds the manager to its window; ignored for a null or dead window.
    void Init(HWND hwnd, MWindow* window);
    bool IsInitialized() const { return m_initialized != 0; }
    void Invalidate();
    void InvalidateRect(const RECT* rect, BOOL erase);
    HDC GetPaintDC() const { return m_windowDC; }
    HWND GetPaintWnd() const { return m_hWnd; }
    // The tooltip window, null until a tooltip was first shown.
    HWND GetToolTipWnd() const { return m_tooltipWnd; }
    MWindow* GetOwnerWindow() const { return m_ownerWindow; }
    CRect GetClientRect() const;
    CRect GetWindowRect() const;
    void GetClientSize(int& width, int& height) const;

    // Clicks on the caption rectangle that no control takes drag the window.
    void SetCaptionRect(const RECT& rect) { m_captionRect = rect; }
    CRect GetCaptionRect() const { return m_captionRect; }
    void EnableWndDrag(bool on) { m_windowDragEnabled = on; }
    bool IsWndDragEnabled() const { return m_windowDragEnabled; }
    void SetWindowMaxSize(int width, int height) { m_maxSize = CSize(width, height); }
    void SetWindowMixSize(int width, int height) { m_minSize = CSize(width, height); }
    CSize GetWindowMinSize() const { return m_minSize; }
    CSize GetWindowManSize() const { return m_minSize; }
    CSize GetWindowMaxSize() const { return m_maxSize; }
    void SetCapture();
    void ReleaseCapture();
    bool IsCaptured() const { return m_captured != 0; }
    // Per-pixel alpha painting through UpdateLayeredWindow.
    void SetLayeredWindow(bool on) { m_layered = on; }
    bool IsLayered() const { return m_layered; }
    bool IsDragArmed() const { return m_dragArmed; }
    bool IsWindowActive() const { return m_windowActive != 0; }

    // The requester and every later visible control over rect are repainted.
    long OnControlUpdate(const RECT& rect, int redraw, MControl* control);
    // Both deliver synchronously to the host window.
    LRESULT SendMessageW(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT PostMessageW(UINT msg, WPARAM wParam, LPARAM lParam);

    // Background image from the skin folder or the application's resources.
    bool LoadBKImage(const wchar_t* fileName);
    bool LoadBKImage(UINT resourceId, const wchar_t* resourceType);
    // Mode 0 draws the background image at its size, mode 1 as a nine-patch frame with
    // corner size value.
    void SetBackMode(int mode, int value);
    // Fill and one-pixel border of a window without background image.
    void SetBackColor(ColorRef fill, ColorRef border);
    ColorRef GetFillColor() const { return m_fillColor; }

    // The window's drop shadow.
    int CreateShadow(int show, int force);
    int SetSize(int size);
    int SetSharpness(UINT sharpness);
    int SetDarkness(UINT darkness);
    int SetPosition(int x, int y);
    int SetShadowColor(ColorRef colour);
    int SetShadowImage(const wchar_t* fileName, const RECT& corner);
    int SetShadowImage(UINT resourceId, const RECT& corner);
    int SetShadowShow(int show);
    int DisableShadow(int off);
    MShadow* GetShadow() const { return m_shadow.get(); }

    // The built-in overlay: a message box drawn over the controls, or a progress message
    // that counts up to percent and fades out after 100.
    void SetMessage(const wchar_t* text, const RECT& rect, int fontSize);
    void SetProgress(int percent, const wchar_t* text, const RECT& rect);
    const std::wstring& GetOverlayText() const { return m_overlayText; }
    int GetOverlayProgress() const { return m_overlayProgress; }

    // Per-control Win32 timers keyed by (control, key); the control gets OnTimer().
    BOOL SetTimer(MControl* control, UINT key, UINT ms);
    BOOL KillTimer(MControl* control, UINT key);
    void KillTimer(MControl* control);
    void ClearTimers();
    // The Win32 id of a (control, key) timer, 0 when there is none.
    UINT GetTimerId(MControl* control, UINT key);

    // The animation tick and the controls it drives. The multimedia timer only posts one
    // tick message at a time to the window; the UI thread runs every OnTimer. The timer
    // pauses while the window is hidden or minimised or no registered control runs a timer,
    // and resumes when that changes (WakeAnimationTick). SetMTimer returns the id that
    // KillMTimer takes, 0 when the system refuses the timer.
    UINT SetMTimer(UINT periodMs);
    void KillMTimer(UINT id);
    void KillMTimer();
    void AddMTimer(MControl* control);
    void DeleteTimer(MControl* control);
    // Called by controls that start to animate or become visible; cheap when nothing changed.
    void WakeAnimationTick();
    bool IsAnimationTickRunning() const { return m_animationTimerId != 0; }
    // Ticks the UI thread has run since the window was made.
    unsigned long long GetTicksRun() const { return m_ticksRun; }
    void OnMTimer(UINT id) override;
    using CMTimer::OnMTimer;
    // The registered messages of the tick and of repaint requests from other threads.
    static UINT TickMessage();
    static UINT UpdateRequestMessage();

    // True on the thread of the window (or before there is one): the only thread that may
    // touch controls.
    bool IsUiThread() const;
    // A repaint request made on another thread, run by the UI thread.
    void RequestControlUpdate(MControl* control, const RECT& rect, int redraw);

    // A caret for drawn edit controls.
    void ShowCaret(bool on);
    void SetCaretPos(MControl* edit, int x, int y);
    MControl* GetCurrentCaretObject() const { return m_caretOwner; }
    BOOL CreateCaret(HBITMAP bitmap, int width, int height);
    void DrawCaret(HDC hdc, const RECT& rect);

    // Creates a control by class name; kind 0 joins the area list, 1 the control list, any
    // other kind no list (the caller owns the result). Null for unknown names.
    MControl* CreateControl(int kind, MObject* parent, const wchar_t* className, UINT id,
                            const RECT& rect, const wchar_t* text, int visible, int enabled);
    MControl* CreateControl(MObject* parent, const wchar_t* className, UINT id, const RECT& rect,
                            const wchar_t* text, int visible, int enabled);
    MControl* CreateArea(MObject* parent, const wchar_t* className, UINT id, const RECT& rect,
                         const wchar_t* text, int visible, int enabled);
    // Takes ownership of a control made with its constructor and attaches it.
    MControl* AddControl(std::unique_ptr<MControl> control);
    MControl* AddAreaControl(std::unique_ptr<MControl> control);
    // Control list, then area list, depth-first.
    MControl* GetControl(UINT id);
    // Snapshots of the lists in drawing order.
    std::vector<MControl*> GetControls();
    std::vector<MControl*> GetAreaControls();
    // Deletes a control of the control list.
    BOOL RemoveControl(MControl* control);
    void ClearAllControls();
    void ClearAreaControls();
    void ClearControls();
    // Drops every reference the manager holds to a control that is about to be deleted:
    // animation tick, timers, hover, focus, caret, tooltip owner.
    void ForgetControl(MControl* control);

    // Skin images, cached per window (the first request of a file fixes its frame count).
    ImgResInfo* AddImgResInfo(const wchar_t* fileName, int count);
    ImgResInfo* AddImgResInfo(UINT resourceId, const wchar_t* resourceType, int count,
                              int fromApplication);
    void ClearImgResInfo();
    // Temporary fonts of the window.
    HANDLE AddGDITempFont(UINT resourceId, const wchar_t* resourceType);
    Gdiplus::FontFamily* AddTempFont(const wchar_t* familyName, const wchar_t* fontFile);
    Gdiplus::FontFamily* AddTempFont(const wchar_t* familyName, UINT resourceId);
    Gdiplus::FontFamily* FindTempFont(const wchar_t* familyName);
    void ClearTempFont();

    // Scroll-bar strips ("PNG" resources). The defaults set by Init (102 vertical, 101
    // horizontal) are the toolkit's own and load from Orvo.dll; ids the application sets
    // load from the application's module.
    void SetScrollResID(UINT verticalId, UINT horizontalId);
    bool IsScrollResFromApplication() const { return m_scrollResourcesFromApplication; }
    UINT GetScrollVID() const { return m_scrollVerticalId; }
    UINT GetScrollHID() const { return m_scrollHorizontalId; }
    ColorRef GetDefaultEnabledColor() const { return m_defaultEnabledColor; }
    void SetDefaultEnabledColor(ColorRef colour) { m_defaultEnabledColor = colour; }

    void SetFocusControl(MControl* control);
    MControl* GetHoverControl() const { return m_hoverControl; }
    MControl* GetFocusControl() const { return m_focusControl; }
    MControl* GetNextFocusableControl();
    MControl* GetPrevFocusableControl();

    // One tooltip window per manager; empty text hides it.
    void SetTooltip(const wchar_t* text, const RECT& rect);
    void ClearTooltip();
    void SetTooltipCtrlID(UINT id) { m_tooltipControlId = id; }
    UINT GetTooltipCtrlID() const { return m_tooltipControlId; }

    // The tip bubble at a screen point, made on first use (kind 4 stays until hidden).
    int SetAirBladderMsg(const wchar_t* text, POINT point, int kind, int placement);
    // Shows the bubble for `key`, or hides it unless another key showed it since.
    void ShowAirBladder(int show, UINT_PTR key);
    MAirBladder* GetAirBladder() const { return m_tipBubble.get(); }

    // Registers the window as an OLE drop target for CF_BITMAP, CF_DIB, CF_HDROP and
    // CF_ENHMETAFILE, in that order; 0 when the system refuses.
    int InitDragDrop();
    CIDropTarget* GetDropTarget() const { return m_dropTarget; }
    // A dropped picture becomes a bitmap that is offered to the window with STM_SETIMAGE; the
    // image the window gives back, and the new bitmap when the window did not keep it
    // (STM_GETIMAGE does not return it), are deleted. True: the caller releases the medium.
    virtual bool OnDrop(FORMATETC* format, STGMEDIUM* medium, DWORD* effect);
    // A new bitmap of `rect` (the control's coordinates) as the control looks now, over the
    // window's fill colour; the caller owns it. Null for an empty part or no control.
    HBITMAP GetDropBitmap(MControl* control, const RECT& rect);
    // The picture of the armed drag, owned by the manager; null when no drag is armed.
    HBITMAP GetArmedDragBitmap() const { return m_dragBitmap.get(); }

    // Each control of the control list gets the message until one takes it (true).
    bool OfferToControls(UINT msg, WPARAM wParam, LPARAM lParam);
    // Messages outside the windows' message table (orvo/core/message_table.h): the controls
    // first, then the manager's own handling; non-zero is the result.
    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    // Tab focus cycling and tooltip relaying; 1 eats the message.
    LRESULT PreTranslateMessage(MSG* msg);
    void OnDestroyMessage(HWND hwnd);
    // Releases controls, timers, images and fonts; once, while initialised.
    void DestroyData();

    // Draws the area list, then the control list.
    void DrawControl(HDC hdc, const RECT& rect);
    LRESULT OnPaint();
    LRESULT OnMouseMove(UINT flags, int x, int y);
    LRESULT OnMouseLeave();
    LRESULT OnLButtonDown(UINT flags, int x, int y);
    LRESULT OnLButtonUp(UINT flags, int x, int y);
    LRESULT OnLButtonDblClk(UINT flags, int x, int y);
    LRESULT OnRButtonDown(UINT flags, int x, int y);
    LRESULT OnRButtonUp(UINT flags, int x, int y);
    LRESULT OnMouseWheel(UINT keys, short delta, POINT screenPoint);
    // 1 when a control took the key; 0 leaves it to the system.
    LRESULT OnKeyDown(UINT vk);
    LRESULT OnKeyUp(UINT) { return 0; }
    LRESULT OnTimer(UINT_PTR id);
    LRESULT OnNcActivate(BOOL active);
    LRESULT OnGetMinMaxInfo(MINMAXINFO* info);

    // Shift 0x10, Ctrl 0x11, Alt 0x12, OR-ed, from the keyboard state now.
    static UINT GetKeyModifiers();

    // Reserved Win32 timer ids of the manager.
    static constexpr UINT_PTR kCaretTimerId = 6553;
    static constexpr UINT_PTR kSpareTimerId = 66;
    static constexpr UINT_PTR kOverlayFadeTimerId = 88;
    static constexpr UINT_PTR kOverlayProgressTimerId = 99;

private:
    // Hands a button message to the hovered control, if it takes input.
    // A press: a focused control other than the hovered one loses its focus; the hovered
    // control is returned when it is visible, responsive and takes the point, else null.
    MControl* HoverTakingPress(UINT flags, POINT point);
    // After the pressed control's handler: the mouse is captured for it, unless the handler
    // deleted it (the hover was cleared then) or it no longer takes the point.
    void CaptureForPressed(MControl* pressed, UINT flags, POINT point);
    void DeliverToHover(BOOL (MControl::*handler)(UINT, POINT), UINT flags, POINT point);
    struct ControlTimer {
        HWND window = nullptr;
        UINT key = 0;
        UINT id = 0;
        bool stopped = false;
        MControl* control = nullptr;  // not owned
    };

    struct PendingUpdate {
        MControl* control;  // not owned
        CRect rect;
        int redraw;
    };

    bool IsWindowShowingTicks() const;
    bool WantsTicks() const;
    void PauseTick();
    void DisarmDrag();
    // A later control of the list (drawn over it) takes the mouse at point.
    bool IsCoveredAt(MControl* control, UINT flags, POINT point);
    void RunAnimationTick();
    void RunRequestedUpdates();
    void ForgetPendingUpdates(MControl* control);
    MControl* AttachControl(int kind, std::unique_ptr<MControl> control);
    MShadow* EnsureShadow();
    void DeleteControls(std::vector<std::unique_ptr<MControl>> controls);
    void DrawBackground(Gdiplus::Graphics& graphics, int width, int height);
    void DrawOverlay(HDC hdc);
    void InvalidateOverlay();
    bool EnsureTooltipWindow();
    MControl* ScanFocusable(bool forward);
    // The armed control's picture is dragged out with OLE drag and drop.
    void StartControlDrag(POINT point);
    void RevokeDragDrop();

    HWND m_hWnd = nullptr;
    HDC m_windowDC = nullptr;          // owned: released in DestroyData
    MWindow* m_ownerWindow = nullptr;  // not owned
    int m_initialized = 0;
    ColorRef m_fillColor = ColorRef(0x060606);
    ColorRef m_borderColor = kAccentColor.ToColorRef();
    CRect m_captionRect;
    CSize m_maxSize;
    CSize m_minSize;
    bool m_layered = false;
    bool m_windowDragEnabled = true;
    std::unique_ptr<Gdiplus::Image> m_backImage;
    // The frame a plain window is painted into, kept between paints (UI thread only).
    ControlBitmapCache m_paintBuffer;
    int m_backImageWidth = 0;
    int m_backImageHeight = 0;
    int m_backMode = 0;
    int m_backModeValue = 4;
    std::unique_ptr<MShadow, ShadowDeleter> m_shadow;
    int m_shadowShow = 0;

    std::wstring m_overlayText;
    int m_overlayOpacity = 0;
    int m_overlayProgress = 0;
    int m_progressTarget = 0;
    CRect m_overlayRect;
    int m_overlayFontSize = 16;
    UniqueFont m_overlayFont;

    std::atomic<UINT> m_animationTimerId{0};  // the running tick; read on the timer thread
    std::atomic<HWND> m_tickWindow{nullptr};  // where the timer thread posts its tick
    std::atomic<bool> m_tickPosted{false};    // a tick message waits in the queue
    std::atomic<DWORD> m_uiThread{0};         // the window's thread, read by any thread
    UINT m_tickPeriodMs = 0;                  // 0: no tick asked for
    UINT m_tickRequestId = 0;                 // the id SetMTimer returned
    unsigned long long m_ticksRun = 0;
    UINT m_controlTimerCounter = 4096;
    int m_windowActive = 0;
    bool m_mouseTracked = false;
    bool m_buttonHeld = false;
    bool m_doubleClick = false;
    bool m_rightButtonHeld = false;
    bool m_rightDoubleClick = false;
    int m_captured = 0;
    MControl* m_hoverControl = nullptr;  // not owned: a control of m_controls
    MControl* m_focusControl = nullptr;  // not owned
    UINT m_tooltipDelay = 400;
    HWND m_tooltipWnd = nullptr;               // owned: destroyed with the manager
    std::unique_ptr<MAirBladder> m_tipBubble;  // made on first use, destroyed with the manager
    UINT m_tooltipControlId = 0;
    UINT_PTR m_bubbleOwnerKey = 0;

    // The control lists are touched only on the UI thread.
    std::vector<std::unique_ptr<MControl>> m_areaControls;
    std::vector<std::unique_ptr<MControl>> m_controls;
    std::recursive_mutex
        m_imageLock;  // guards m_imagesByFile, m_imagesByAppResource, m_imagesByOrvoResource
    std::map<std::wstring, std::unique_ptr<ImgResInfo>> m_imagesByFile;
    std::map<UINT, std::unique_ptr<ImgResInfo>> m_imagesByAppResource;
    std::map<UINT, std::unique_ptr<ImgResInfo>> m_imagesByOrvoResource;
    std::recursive_mutex m_timerLock;  // guards m_timers
    std::vector<ControlTimer> m_timers;
    std::vector<MControl*> m_animated;  // not owned: controls of the lists above
    std::mutex m_pendingUpdatesLock;    // guards m_pendingUpdates (filled by other threads)
    std::vector<PendingUpdate> m_pendingUpdates;
    std::atomic<bool> m_updateRequestPosted{false};  // a request message waits in the queue
    std::recursive_mutex m_fontLock;  // guards m_gdiFontHandles, m_fontFamilies, m_fontCollections
    std::vector<HANDLE> m_gdiFontHandles;
    std::map<std::wstring, std::unique_ptr<Gdiplus::FontFamily>> m_fontFamilies;
    std::vector<std::unique_ptr<Gdiplus::PrivateFontCollection>> m_fontCollections;

    UINT m_scrollVerticalId = 0;
    UINT m_scrollHorizontalId = 0;
    bool m_scrollResourcesFromApplication = false;
    ColorRef m_defaultEnabledColor = ColorRef(0x808080);
    CRect m_caretRect;
    bool m_caretVisible = false;
    bool m_caretOn = false;
    MControl* m_caretOwner = nullptr;  // not owned
    CPoint m_dragStart;
    bool m_dragArmed = false;
    UniqueBitmap m_dragBitmap;             // the armed control's drag picture, freed when disarmed
    CIDropTarget* m_dropTarget = nullptr;  // owned reference (COM): released by the destructor
    bool m_dropRegistered = false;
};

}  // namespace Orvo
