#pragma once

#include <windows.h>

#include <vector>

#include "orvo/control.h"
#include "orvo/geometry.h"
#include "orvo/object.h"
#include "orvo/orvo_api.h"
#include "orvo/paint_manager.h"
#include "orvo/window.h"

namespace Orvo {

// Message that closes a dialog: wParam becomes the modal result (1 OK, 2 cancel or close,
// 6 yes, 7 no).
constexpr UINT kCloseDialogMessage = WM_USER + 66;  // 1090

// The skinned, borderless top-level dialog. Its MObject part is the parent of its top-level
// controls; their notifications arrive in OnMessage. The embedded PaintManager owns, routes
// and paints the controls. Subclasses build their controls in InitUI and place them in
// UISize (which can run once before InitUI, with no controls yet).
class ORVO_API MDialog : public MWindow, public MObject {
public:
    MDialog();
    ~MDialog() override;

    // The toolkit's message table: the typed handler below, then the controls, then the
    // paint manager, then the default procedure.
    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // The paint manager's Tab cycling and tooltip relaying.
    LRESULT PreTranslateMessage(MSG* msg) override;
    // Initialises the paint manager, caches the client rectangle and calls InitUI.
    BOOL OnInitDialog() override;
    // Releases the paint manager's data, then PostNcDestroy.
    void OnDestroyMessage(HWND hwnd) override;

    // Screen point under control: its bottom and its left (type 0), centre (1) or right (2).
    virtual POINT GetAirBladderPoint(MControl* control, int type);
    virtual void OnMinimize();
    virtual void OnMaximize();
    virtual void InitUI(const CRect& clientRect);
    virtual void UISize(const CRect& clientRect);
    // Notifications of the dialog's controls.
    virtual long OnMessage(UINT controlId, UINT code, WPARAM wParam, LPARAM lParam);
    // Message 1090: posts WM_CLOSE with the same values; return 1.
    virtual LRESULT OnUserCloseWindow(WPARAM wParam, LPARAM lParam);
    // Typed handlers of the message table. A non-zero result handles the message: it is
    // the message's result and neither the controls, the paint manager nor the default
    // procedure see it (returning 1 from OnClose keeps the window open). The defaults return
    // 0, except OnCreate.
    // Rewrites the style to a borderless window; returns 1.
    virtual LRESULT OnCreate(CREATESTRUCTW* createStruct);
    virtual LRESULT OnSize(UINT type, int cx, int cy);
    virtual LRESULT OnMouseMove(UINT flags, POINT point);
    virtual LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnMouseHover(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnMouseWheel(UINT flags, short delta, POINT point);
    virtual LRESULT OnLButtonDown(UINT flags, POINT point);
    virtual LRESULT OnLButtonUp(UINT flags, POINT point);
    virtual LRESULT OnLButtonDblClk(UINT flags, POINT point);
    virtual LRESULT OnRButtonDown(UINT flags, POINT point);
    virtual LRESULT OnRButtonUp(UINT flags, POINT point);
    virtual LRESULT OnRButtonDblClk(UINT flags, POINT point);
    virtual LRESULT OnKeyDown(UINT vk, UINT repeat, UINT flags);
    virtual LRESULT OnNcHitTest(POINT point);
    virtual LRESULT OnGetMinMaxInfo(MINMAXINFO* info);
    virtual LRESULT OnNcCalcSize(BOOL calcValid, NCCALCSIZE_PARAMS* params);
    virtual LRESULT OnNcActivate(BOOL active);
    virtual LRESULT OnWindowPosChanging(WINDOWPOS* pos);
    virtual LRESULT OnWindowPosChanged(WINDOWPOS* pos);
    virtual LRESULT OnPaint();
    // Runs for every WM_TIMER; the paint manager's timers follow whatever it does.
    virtual void OnTimer(UINT_PTR id);
    virtual LRESULT OnNcPaint();
    virtual LRESULT OnClose();
    virtual LRESULT OnDestroy();
    virtual LRESULT PostNcDestroy();

    // MObject part: every dialog reports "MDialog" (controls find their dialog by it).
    const wchar_t* GetClassNameW() const override { return L"MDialog"; }
    const wchar_t* GetObjectClass() const override { return L"MDialog"; }
    long OnBaseMessage(UINT controlId, UINT code, WPARAM wParam, LPARAM lParam) override;
    long OnControlUpdate(const RECT& rect, int redraw, MControl* control) override;

    PaintManager* GetPaintManager() { return &m_PaintManager; }
    const CRect& GetCachedClientRect() const { return m_clientRect; }

    bool LoadBKImage(const wchar_t* fileName) { return m_PaintManager.LoadBKImage(fileName); }
    bool LoadBKImage(UINT resourceId, const wchar_t* resourceType) {
        return m_PaintManager.LoadBKImage(resourceId, resourceType);
    }
    void SetBackMode(int mode, int value) { m_PaintManager.SetBackMode(mode, value); }
    void SetLayeredWindow(bool on) { m_PaintManager.SetLayeredWindow(on); }
    void EnableWndDrag(bool on) { m_PaintManager.EnableWndDrag(on); }
    void SetCaptionRect(const RECT& rect) { m_PaintManager.SetCaptionRect(rect); }
    void SetScrollResID(UINT verticalId, UINT horizontalId) {
        m_PaintManager.SetScrollResID(verticalId, horizontalId);
    }
    // Window-wide translucency: alpha below 255, or a colour key other than 0xFFFFFF.
    void SetTransparency(ColorRef colourKey, BYTE alpha) {
        m_colorKey = colourKey;
        m_alpha = alpha;
    }

    int CreateShadow(int show, int reRegister);
    int SetSize(int size) { return m_PaintManager.SetSize(size); }
    int SetSharpness(UINT sharpness) { return m_PaintManager.SetSharpness(sharpness); }
    int SetDarkness(UINT darkness) { return m_PaintManager.SetDarkness(darkness); }
    int SetPosition(int x, int y) { return m_PaintManager.SetPosition(x, y); }
    int SetShadowColor(ColorRef colour) { return m_PaintManager.SetShadowColor(colour); }
    int SetShadowImage(const wchar_t* fileName, const RECT& corner) {
        return m_PaintManager.SetShadowImage(fileName, corner);
    }
    int SetShadowImage(UINT resourceId, const RECT& corner) {
        return m_PaintManager.SetShadowImage(resourceId, corner);
    }
    int SetShadowShow(int show) { return m_PaintManager.SetShadowShow(show); }

    void SetMessage(const wchar_t* text, const RECT& rect, int fontSize) {
        m_PaintManager.SetMessage(text, rect, fontSize);
    }
    void SetProgress(int percent, const wchar_t* text, const RECT& rect) {
        m_PaintManager.SetProgress(percent, text, rect);
    }
    void SetTooltip(const wchar_t* text, const RECT& rect) {
        m_PaintManager.SetTooltip(text, rect);
    }
    void ClearTooltip() { m_PaintManager.ClearTooltip(); }
    void SetTooltipCtrlID(UINT id) { m_tooltipControlId = id; }
    UINT GetTooltipCtrlID() const { return m_tooltipControlId; }
    // 0 when point.x or point.y is 0.
    int SetAirBladderMsg(const wchar_t* text, POINT point, int type);

    MControl* CreateArea(const wchar_t* className, UINT id, const RECT& rect, const wchar_t* text,
                         int visible, int enabled);
    MControl* CreateControl(const wchar_t* className, UINT id, const RECT& rect,
                            const wchar_t* text, int visible, int enabled);
    MControl* GetControl(UINT id) { return m_PaintManager.GetControl(id); }
    std::vector<MControl*> GetControls() { return m_PaintManager.GetControls(); }
    void SetFocusControl(MControl* control) { m_PaintManager.SetFocusControl(control); }
    // The animation tick of the dialog's controls; returns its id.
    UINT SetMTimer(UINT periodMs);
    void KillMTimer(UINT id) { m_PaintManager.KillMTimer(id); }

    // Post message 1090 with the dialog result.
    void DoOK();
    void DoCancel();
    void DoClose();
    void DoYes();
    void DoNo();
    void SetupBackTranslucent();
    void SetupRegion() {}

protected:
    PaintManager m_PaintManager;
    ColorRef m_colorKey = ColorRef(0xFFFFFF);  // 0xFFFFFF: no colour key
    BYTE m_alpha = 255;                        // 255: opaque
    UINT m_tooltipControlId = 0;
    CRect m_clientRect;
};

}  // namespace Orvo
