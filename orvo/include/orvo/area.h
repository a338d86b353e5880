#pragma once

#include <windows.h>

#include "orvo/colour.h"
#include "orvo/control.h"
#include "orvo/control_factory.h"
#include "orvo/orvo_api.h"

namespace Orvo {

// A background area placed behind a group of controls: a fill colour laid over what lies
// beneath with a transparency running from `start` to `end` percent (vertically or
// horizontally), or, with both 0, a solid fill with an optional one-pixel frame.
class ORVO_API CArea : public MControl {
public:
    CArea(MObject* parent, UINT id, const RECT& rect, int visible, int enabled);
    ORVO_DECLARE_CONTROL(CArea, MControl)

    // Transparency percentages at the start and the end (0 opaque, 100 invisible).
    void SetTransparent(int start, int end, ColorRef colour);
    // The frame of a solid area; vertical picks the direction of a transition.
    void SetFrame(bool on, Argb colour, bool vertical = true);
    ColorRef GetFillColor() const { return m_fill; }
    int GetTransparentStart() const { return m_start; }
    int GetTransparentEnd() const { return m_end; }
    bool IsFrameOn() const { return m_frameOn; }

    void DrawControl(HDC hdc, const RECT& rect) override;

private:
    void RepaintIfVisible();

    ColorRef m_fill = ColorRef(0xFFFFFF);
    bool m_vertical = true;
    int m_start = 80;
    int m_end = 80;
    bool m_frameOn = false;
    Argb m_frameColour = Argb(0xFE050505);
};

// A plain rectangle filled with one translucent colour.
class ORVO_API CRoundArea : public MControl {
public:
    CRoundArea(MObject* parent, UINT id, const RECT& rect, int visible, int enabled);
    ORVO_DECLARE_CONTROL(CRoundArea, MControl)

    void SetColor(Argb colour);
    Argb GetColor() const { return m_colour; }

    void DrawControl(HDC hdc, const RECT& rect) override;

private:
    Argb m_colour = Argb(0xC82B2B2B);
};

}  // namespace Orvo
