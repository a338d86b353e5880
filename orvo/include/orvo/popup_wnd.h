#pragma once

#include <windows.h>

#include "orvo/colour.h"
#include "orvo/control.h"
#include "orvo/geometry.h"
#include "orvo/object.h"
#include "orvo/orvo_api.h"
#include "orvo/paint_manager.h"
#include "orvo/window.h"

namespace Orvo {

// A borderless tool window that hosts drawn controls over a dialog and closes as soon as it
// loses activation (a click elsewhere). Its MObject part is the parent of its controls; their
// notifications arrive in OnMessage. It dispatches its messages through the same table as
// MDialog. The object is not deleted when its window goes; its owner deletes it.
class ORVO_API MPopupWnd : public MWindow, public MObject {
public:
    MPopupWnd();
    ~MPopupWnd() override;

    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    LRESULT PreTranslateMessage(MSG* msg) override;
    // Initialises the paint manager and calls InitUI with the client rectangle.
    BOOL OnInitDialog() override;
    void OnDestroyMessage(HWND hwnd) override;

    // The object that SendMessageToParent reaches; not owned.
    virtual MObject* GetParent() const { return m_parentObject; }
    virtual void InitUI(const CRect& clientRect);
    virtual void UISize(const CRect& clientRect);
    // Notifications of the popup's controls.
    virtual long OnMessage(UINT controlId, UINT code, WPARAM wParam, LPARAM lParam);
    // Message 1090: posts WM_CLOSE with the same values; returns 1.
    virtual LRESULT OnUserCloseWindow(WPARAM wParam, LPARAM lParam);
    // Posts WM_CLOSE (0, 0).
    virtual void CloseWindow();
    // Typed handlers of the message table (as MDialog's: non-zero handles the message).
    // Borderless as a dialog, and a tool window; returns 1.
    virtual LRESULT OnCreate(CREATESTRUCTW* createStruct);
    // UISize with the client rectangle, then a repaint.
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
    // Losing activation posts WM_CLOSE: the popup closes when the user clicks elsewhere.
    virtual LRESULT OnNcActivate(BOOL active);
    virtual LRESULT OnWindowPosChanging(WINDOWPOS* pos);
    // Refreshes the frame on top and sends WM_MOVE and WM_SIZE itself; returns 1.
    virtual LRESULT OnWindowPosChanged(WINDOWPOS* pos);
    virtual LRESULT OnPaint();
    virtual void OnTimer(UINT_PTR id);
    virtual LRESULT OnNcPaint();
    virtual LRESULT OnClose();
    virtual LRESULT PostNcDestroy();
    virtual LRESULT OnDestroy();

    const wchar_t* GetClassNameW() const override { return L"MPopupWnd"; }
    const wchar_t* GetObjectClass() const override { return L"MPopupWnd"; }
    long OnBaseMessage(UINT controlId, UINT code, WPARAM wParam, LPARAM lParam) override;
    long OnControlUpdate(const RECT& rect, int redraw, MControl* control) override;

    PaintManager* GetPaintManager() { return &m_PaintManager; }
    bool LoadBKImage(const wchar_t* fileName) { return m_PaintManager.LoadBKImage(fileName); }
    bool LoadBKImage(UINT resourceId, const wchar_t* resourceType) {
        return m_PaintManager.LoadBKImage(resourceId, resourceType);
    }
    void SetBackMode(int mode, int value) { m_PaintManager.SetBackMode(mode, value); }
    void SetScrollResID(UINT verticalId, UINT horizontalId) {
        m_PaintManager.SetScrollResID(verticalId, horizontalId);
    }
    // The colour drawn where there is no background image (ColorRef), and the window alpha.
    void SetBackColor(ColorRef colour);
    ColorRef GetBackColor() const { return m_backColor; }
    void SetAlpha(BYTE alpha) { m_alpha = alpha; }
    // Alpha below 255 makes the whole window translucent.
    void SetupBackTranslucent();
    void SetLayeredWindow(bool on) { m_PaintManager.SetLayeredWindow(on); }
    MControl* CreateArea(const wchar_t* className, UINT id, const RECT& rect, const wchar_t* text,
                         int visible, int enabled);
    MControl* CreateControl(const wchar_t* className, UINT id, const RECT& rect,
                            const wchar_t* text, int visible, int enabled);
    MControl* GetControl(UINT id) { return m_PaintManager.GetControl(id); }
    // The parent object's OnMessage(0, code, wParam, lParam); 0 without a parent.
    long SendMessageToParent(UINT code, WPARAM wParam, LPARAM lParam);
    void SetParent(MObject* parent) { m_parentObject = parent; }

protected:
    // The parent's OnMessage: a control's or a dialog's, else its OnBaseMessage.
    long NotifyParent(UINT controlId, UINT code, WPARAM wParam, LPARAM lParam);

    PaintManager m_PaintManager;
    ColorRef m_backColor = ColorRef(0xF1F1F1);
    BYTE m_alpha = 255;
    MObject* m_parentObject = nullptr;  // not owned

private:
    // SetWindowPos inside WM_WINDOWPOSCHANGED sends WM_WINDOWPOSCHANGED again.
    bool m_inPositionChange = false;
};

}  // namespace Orvo
