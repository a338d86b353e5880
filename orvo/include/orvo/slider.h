#pragma once

#include <windows.h>
#include <gdiplus.h>

#include "orvo/control_factory.h"
#include "orvo/control_font.h"
#include "orvo/img_res_info.h"
#include "orvo/orvo_api.h"

namespace Orvo {

// A horizontal slider: a line with an accent-coloured filled part and a thumb image. The
// position runs 0..maximum and the value is minimum + position. It sends 8 with the new
// value whenever the thumb moves and 2 when the left button is released. A drag goes on
// while the pointer is outside the control: the animation tick follows the cursor.
class ORVO_API MSlider : public MControlFont {
public:
    MSlider(MObject* parent, UINT id, const RECT& rect, int visible, int enabled);
    ORVO_DECLARE_CONTROL(MSlider, MControlFont)

    // position = min(maximum, value - minimum), taken when 0 <= position <= maximum. The
    // stored position may lie past maximum - minimum; the thumb is then drawn at the end.
    // Returns the position (0-based), as the DPI slider does.
    int SetProgress(int value);
    int GetProgress() const { return m_minimum + m_position; }
    // Neither repaints nor clamps the position.
    void SetMaxProgress(int maximum);
    int GetMaxProgress() const { return m_maximum; }
    void SetMinProgress(int minimum);
    int GetMinProgress() const { return m_minimum; }
    // Divisor of the value shown as text.
    void SetScale(int divisor) { m_divisor = divisor; }
    void SetShowText(int on);
    // The thumb strip (4 frames, frame 0 drawn) from the skin folder; 0 without a manager or
    // when it cannot be loaded.
    int SetThumbImage(const wchar_t* fileName);
    // Also registers the slider for the animation tick.
    int SetImage(const wchar_t* fileName, int count) override;
    using MControlFont::SetImage;
    // Moves the thumb under x; a change repaints and sends 8 with the new value.
    void MoveThumbPos(POINT point);

    // 0 normal, 1 over the thumb, 2 dragging.
    int GetMouseState() const { return m_mouseState; }
    const CRect& GetThumbRect() const { return m_thumbRect; }
    int GetTrackLeft() const { return m_trackLeft; }
    int GetTrackRight() const { return m_trackRight; }

    void InitControl(PaintManager* manager) override;
    void SetControlRect(const CRect& rect) override;
    void DrawControl(HDC hdc, const RECT& rect) override;
    int OnControlTimer() override;
    BOOL OnControlMouseMove(UINT flags, POINT point) override;
    BOOL OnControlLButtonDown(UINT flags, POINT point) override;
    BOOL OnControlLButtonUp(UINT flags, POINT point) override;

    // The drag follows the cursor at most this often.
    static constexpr DWORD kDragStepMs = 60;

protected:
    void ComputeGeometry();
    void SetMouseState(int state);
    // Thumb centre in control coordinates.
    int ThumbCentre() const { return (m_thumbRect.left + m_thumbRect.right) / 2 - m_rect.left; }
    bool HasThumbImage() const { return m_thumbImage != nullptr; }
    void DrawThumb(Gdiplus::Graphics& graphics, int x, int y) const;

    int m_minimum = 0;
    int m_maximum = 10;
    int m_position = 0;
    int m_divisor = 1;
    int m_showText = 0;
    int m_mouseState = 0;
    bool m_dragging = false;
    DWORD m_lastDragStep = 0;
    int m_trackLeft = 0;
    int m_trackRight = 0;
    Gdiplus::Image* m_thumbImage = nullptr;  // not owned: the manager's image cache
    int m_thumbFrameWidth = 0;
    int m_thumbFrameHeight = 0;
    CSize m_thumbSize{30, 30};
    CRect m_thumbRect;
};

// The slider drawn with a two-row track image: the upper half is the empty track, the
// lower half the filled one.
class ORVO_API LightSlider : public MSlider {
public:
    LightSlider(MObject* parent, UINT id, const RECT& rect, int visible, int enabled);
    ORVO_DECLARE_CONTROL(LightSlider, MSlider)

    // The track image, one frame; also registers the slider for the animation tick.
    int SetImage(const wchar_t* fileName, int count) override;
    using MControlFont::SetImage;

    void DrawControl(HDC hdc, const RECT& rect) override;
};

}  // namespace Orvo
