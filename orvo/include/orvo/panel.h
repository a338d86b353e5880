#pragma once

#include <windows.h>

#include "orvo/control_factory.h"
#include "orvo/control_font.h"
#include "orvo/orvo_api.h"
#include "orvo/scroll.h"

namespace Orvo {

// A control that owns area children and sub-controls, scrolls them with its two built-in
// bars (ids 1 and 2), creates children by class name and passes their notifications up to
// its owner. Its children's rectangles are in content coordinates: the host window's, moved
// by the scroll offset, and they are drawn clipped to the panel.
class ORVO_API MPanel : public MControlFont {
public:
    static constexpr UINT kVerticalBarId = 1;
    static constexpr UINT kHorizontalBarId = 2;
    static constexpr int kScrollBarWidth = 5;

    MPanel(MObject* parent, UINT id, const RECT& rect, int visible);
    ORVO_DECLARE_CONTROL(MPanel, MControlFont)

    // The panel's own factory: kind 0 area children, 1 sub-controls, other kinds no list
    // (the caller owns the result). Null for names a panel does not create.
    virtual MControl* CreateArea(const wchar_t* className, UINT id, const RECT& rect,
                                 const wchar_t* text, int visible, int enabled);
    virtual MControl* CreateControl(int kind, MObject* parent, const wchar_t* className, UINT id,
                                    const RECT& rect, const wchar_t* text, int visible,
                                    int enabled);
    virtual MControl* CreateControl(const wchar_t* className, UINT id, const RECT& rect,
                                    const wchar_t* text, int visible, int enabled);
    virtual BOOL OnControlKeyUp(UINT vk, UINT repeat, UINT modifiers);

    CScrollVertical* GetScrollVertical() const { return m_vertical; }
    CScrollHorizontal* GetScrollHorizontal() const { return m_horizontal; }
    // The content size of panels whose content is not sub-controls (lists: rows x height).
    // Kept until a sub-control is added.
    void SetVirtualHeight(int height);
    void SetVirtualWidth(int width);
    int GetVirtualHeight() const { return m_contentHeight; }
    int GetVirtualWidth() const { return m_contentWidth; }
    void SetEnableScroll(bool on);
    bool GetEnableScroll() const { return m_scrollEnabled; }
    // How far the content is scrolled, in pixels; (0, 0) when it fits or scrolling is off.
    CPoint GetScrollOffset() const;
    // Places the bars along the edges and gives them the content size as range.
    void RefreshScrollBars();

    void InitControl(PaintManager* manager) override;
    void SetControlRect(const CRect& rect) override;
    BOOL OnMousePointChange(POINT& point) override;
    BOOL OnControlScroll(int kind, int down, POINT point) override;
    long OnControlUpdate(const RECT& rect, int redraw, MControl* control) override;
    long OnBaseMessage(UINT controlId, UINT code, WPARAM wParam, LPARAM lParam) override;
    long OnMessage(UINT controlId, UINT code, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void SetControlEnabled(int enabled) override;
    void SetControlVisible(int visible) override;
    void DrawControl(HDC hdc, const RECT& rect) override;
    void DrawSubControls(HDC hdc, const RECT& rect) override;
    BOOL OnCheckMouseResponse(UINT flags, POINT point) override;

protected:
    bool IsOwnBar(const MControl* control) const {
        return control == m_vertical || control == m_horizontal;
    }
    // Content size from the last sub-control other than the bars; false when there is none.
    bool MeasureContent();
    bool IsAttached() const { return m_attached; }

private:
    bool ContentExceeds() const;

    CScrollVertical* m_vertical = nullptr;      // not owned: one of the sub-controls
    CScrollHorizontal* m_horizontal = nullptr;  // not owned: one of the sub-controls
    int m_scrollBarWidth = kScrollBarWidth;
    int m_contentHeight = 0;
    int m_contentWidth = 0;
    bool m_scrollEnabled = true;
    bool m_attached = false;
};

// A page of the main window: a panel that keeps its children where they were put, draws
// nothing of its own and takes the mouse only over a child, so clicks on its empty parts
// reach what lies under it (and caption dragging).
class ORVO_API MTabLayout : public MPanel {
public:
    MTabLayout(MObject* parent, UINT id, const RECT& rect, int visible);
    ORVO_DECLARE_CONTROL(MTabLayout, MPanel)

    void SetControlRect(const CRect& rect) override;
    BOOL OnCheckMouseResponse(UINT flags, POINT point) override;
};

}  // namespace Orvo
