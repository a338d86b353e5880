#pragma once

#include <windows.h>

#include <mutex>

#include "orvo/control_factory.h"
#include "orvo/control_font.h"
#include "orvo/orvo_api.h"

namespace Orvo {

// A horizontal slider with 43 tick marks and end labels that sets a DPI value in steps of 50:
// the value is minimum + position, position 0 ... maximum - minimum. It sends 8 with the
// value whenever the thumb moves and 2 when the button is released. While the button is
// held, the animation tick keeps the thumb under the cursor even outside the control.
class ORVO_API DPISlider : public MControlFont {
public:
    DPISlider(MObject* parent, UINT id, const RECT& rect, int visible, int enabled);
    ORVO_DECLARE_CONTROL(DPISlider, MControlFont)

    // Sets the value; returns the position (0-based), not the value. Safe to call from the
    // device worker: the position is stored under its lock and the repaint request is queued
    // for the window's thread.
    int SetProgress(int value);
    // Minimum + position.
    int GetProgress() const;
    void SetMaxProgress(int maximum);
    int GetMaxProgress() const;
    void SetMinProgress(int minimum);
    int GetMinProgress() const;
    // Multiplies the drawing coordinates of ticks and labels.
    void SetScaleValue(float scale);
    void SetScale(int scale) { m_intScale = scale; }
    // The thumb image (one frame); registers the slider with the animation tick.
    int SetImage(const wchar_t* fileName, int count) override;
    using MControlFont::SetImage;
    // The background, drawn as a nine-patch with corner 10.
    int SetBkgImage(const wchar_t* fileName);
    // Moves the thumb to x (control coordinates of the parent) and sends 8 when it moved.
    void MoveThumbPos(int x, int y);
    // The thumb rectangle in the parent's coordinates.
    CRect GetThumbRect() const;

    int OnControlTimer() override;
    BOOL OnControlMouseMove(UINT flags, POINT point) override;
    BOOL OnControlLButtonDown(UINT flags, POINT point) override;
    BOOL OnControlLButtonUp(UINT flags, POINT point) override;
    // The wheel is swallowed and changes nothing.
    BOOL OnControlScroll(int kind, int down, POINT point) override;
    void SetControlRect(const CRect& rect) override;
    void DrawControl(HDC hdc, const RECT& rect) override;

    // Geometry of the track, relative to the control.
    static constexpr int kTrackLeft = 80;
    static constexpr int kTrackTop = 30;
    static constexpr int kTrackRight = 836;
    static constexpr int kTrackBottom = 60;
    static constexpr int kTrackWidth = kTrackRight - kTrackLeft;
    static constexpr int kTickCount = 43;
    static constexpr int kTickSpacing = 18;
    // A drag that left the control follows the cursor at most this often.
    static constexpr DWORD kDragFollowMs = 60;

private:
    enum class ThumbState { kIdle = 0, kHot = 1, kDragging = 2 };

    // The thumb for a position, in the parent's coordinates.
    CRect ThumbRectFor(int position) const;
    void DrawIntoCache(HDC dc);

    mutable std::recursive_mutex m_valueLock;  // guards m_minimum, m_maximum, m_position
    int m_minimum = 1;
    int m_maximum = 240;
    int m_position = 0;
    int m_thumbWidth = 16;
    int m_thumbHeight = 13;
    ThumbState m_state = ThumbState::kIdle;
    bool m_dragging = false;
    DWORD m_lastFollow = 0;
    float m_scale = 1.0f;
    int m_intScale = 1;
    Gdiplus::Image* m_background = nullptr;  // not owned: the manager's image cache
    int m_backgroundWidth = 0;
    int m_backgroundHeight = 0;
};

}  // namespace Orvo
