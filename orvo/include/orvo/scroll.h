#pragma once

#include <windows.h>

#include "orvo/control_factory.h"
#include "orvo/control_font.h"
#include "orvo/orvo_api.h"

namespace Orvo {

// Where a scroll bar's thumb lies, in pixels along the bar, for a position in 0 ... range.
struct ScrollGeometry {
    int track = 0;        // length the thumb moves in
    int page = 0;         // the page used (the automatic one when none is set)
    int thumbLength = 0;  // 0 when the bar is hidden
    int thumbOffset = 0;  // from the bar's start (arrows included)
    bool shown = false;   // page < range
};

// The thumb of a bar `length` pixels long. A range of 0 or less shows no bar and never
// divides: every division here is by a range, a track or a page checked to be positive.
ORVO_API ScrollGeometry ComputeScrollGeometry(int length, int arrow, int range, int position,
                                              int page);
// The position of a thumb placed `thumbOffset` pixels from the bar's start.
ORVO_API int ScrollPositionAt(const ScrollGeometry& geometry, int arrow, int range,
                              int thumbOffset);

// A skinned scroll bar. The position runs from 0 to the range; the page (0 = automatic: the
// bar's length, at least a tenth of the range) decides the thumb's length, and the bar is
// shown only while the page is smaller than the range. Dragging the thumb or pressing the
// track notifies the owner with 8 (wParam = the new position). Vertical unless a horizontal
// bar says otherwise.
class ORVO_API MScroll : public MControlFont {
public:
    MScroll(MObject* parent, UINT id, const RECT& rect, int visible);
    ORVO_DECLARE_CONTROL(MScroll, MControlFont)

    // Set without notifying: clamped to 0 ... range.
    void SetScrollCurrentPos(int position);
    // The same, then the owner hears 8 when the position changed.
    void SetScrollCurrentPosEx(int position);
    // To the end of the range; 0 while the page covers the range.
    void SetScrollFinalPos();
    void SetScrollMaxRange(int range);
    void SetScrollSize(int page, int step);
    // A page or step of 0 keeps the old one.
    void SetScrollInfo(int range, int position, int page, int step);
    // Moves by rows steps (negative: up or left) and notifies.
    void ScrollRow(int rows);
    // True while the user is moving the position (a drag or a track press is notifying).
    bool IsChangeing() const { return m_changing; }

    int GetScrollPos() const { return m_position; }
    int GetScrollRange() const { return m_range; }
    int GetScrollStep() const { return m_step; }
    bool IsAutomaticPage() const { return m_page == 0; }
    bool IsScrollShown() const { return m_geometry.shown; }
    const ScrollGeometry& GetGeometry() const { return m_geometry; }
    // The thumb's rectangle in the host window, empty while hidden.
    CRect GetThumbRect() const;
    bool IsVertical() const { return m_vertical; }

    // Moves the thumb by delta pixels along the bar (clamped to the track), takes the
    // position from where it lands and notifies.
    virtual void MoveRange(int delta);
    // Recomputes the thumb from range, position and page.
    virtual void SetRange();
    // The same, then repaints.
    virtual void SetRangeEx();

    void InitControl(PaintManager* manager) override;
    void SetControlRect(const CRect& rect) override;
    BOOL PtInRect(POINT point) const override;
    void DrawControl(HDC hdc, const RECT& rect) override;
    BOOL OnControlMouseMove(UINT flags, POINT point) override;
    BOOL OnControlLButtonDown(UINT flags, POINT point) override;
    BOOL OnControlLButtonUp(UINT flags, POINT point) override;
    // Arrow children (code 2) move by a step: the first child up or left, others down.
    long OnBaseMessage(UINT controlId, UINT code, WPARAM wParam, LPARAM lParam) override {
        return OnMessage(controlId, code, wParam, lParam);
    }
    long OnMessage(UINT controlId, UINT code, WPARAM wParam, LPARAM lParam) override;

protected:
    // The bar's skin: the manager's scroll resource, else the named skin file.
    void LoadSkin(const wchar_t* fileName);
    void SetVertical(bool vertical) { m_vertical = vertical; }
    int AlongBar(POINT point) const { return m_vertical ? point.y : point.x; }
    int BarStart() const { return m_vertical ? m_rect.top : m_rect.left; }
    int BarLength() const { return m_vertical ? m_rect.Height() : m_rect.Width(); }

private:
    enum class MouseState { kNormal, kOverThumb, kDragging };

    void ChangePosition(int position, bool notify);
    void SetMouseState(MouseState state);

    int m_range = 1000;
    int m_position = 0;
    int m_page = 0;
    int m_step = 10;
    int m_arrow = 0;
    bool m_changing = false;
    bool m_vertical = true;
    MouseState m_mouseState = MouseState::kNormal;
    int m_dragAnchor = 0;
    ScrollGeometry m_geometry;
};

// The vertical bar of panels and lists ("img_scroll_v.png": track, thumb hovered, thumb).
class ORVO_API CScrollVertical : public MScroll {
public:
    CScrollVertical(MObject* parent, UINT id, const RECT& rect, int visible);
    ORVO_DECLARE_CONTROL(CScrollVertical, MScroll)
    void InitControl(PaintManager* manager) override;
};

// The horizontal bar ("img_scroll_h.png").
class ORVO_API CScrollHorizontal : public MScroll {
public:
    CScrollHorizontal(MObject* parent, UINT id, const RECT& rect, int visible);
    ORVO_DECLARE_CONTROL(CScrollHorizontal, MScroll)
    void InitControl(PaintManager* manager) override;
};

}  // namespace Orvo
