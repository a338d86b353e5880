#pragma once

#include <windows.h>
#include <gdiplus.h>

#include <memory>

#include "orvo/colour.h"
#include "orvo/control_factory.h"
#include "orvo/control_font.h"
#include "orvo/img_res_info.h"
#include "orvo/orvo_api.h"

namespace Orvo {

class MemoryCanvas;

// A hue-by-lightness field with a saturation bar beside it. Hue H runs 0..360 across the
// field, lightness L 20..200 down it and saturation S 0..200 down the bar; the colour is
// HSL(H / 360, S / 200, L / 200). A press that changes the colour sends 27 with the colour
// (COLORREF); dragging on the bar sends 27 with wParam 0.
class ORVO_API MPalette : public MControlFont {
public:
    MPalette(MObject* parent, UINT id, const RECT& rect, int visible);
    ~MPalette() override;
    ORVO_DECLARE_CONTROL(MPalette, MControlFont)

    // Puts the marker and the bar on the colour; it is the selected colour.
    void SetSelectColor(ColorRef colour);
    ColorRef GetSelectColor() const { return ColorRef(m_selectedColour); }
    // The bar thumb (4 frames, frame 0 drawn) from the skin folder; 1 when loaded.
    int SetThumbImage(const wchar_t* fileName);
    void SetPalletHeight(int height);
    int GetPalletHeight() const { return m_paletteHeight; }

    int GetHue() const { return m_hue; }
    int GetSaturation() const { return m_saturation; }
    int GetLightness() const { return m_lightness; }
    const CRect& GetPaletteRect() const { return m_paletteRect; }
    const CRect& GetBarRect() const { return m_barRect; }
    POINT GetMarker() const { return m_marker; }

    void InitControl(PaintManager* manager) override;
    void SetControlRect(const CRect& rect) override;
    void DrawControl(HDC hdc, const RECT& rect) override;
    BOOL OnControlLButtonDown(UINT flags, POINT point) override;
    BOOL OnControlMouseMove(UINT flags, POINT point) override;
    BOOL OnControlLButtonUp(UINT flags, POINT point) override;

    static constexpr int kBarWidth = 16;
    // The off-screen field: x 0..359 by y 0..199, the bar at x 370..385.
    static constexpr int kFieldWidth = 360;
    static constexpr int kFieldHeight = 200;
    static constexpr int kBarLeft = 370;

private:
    void ComputeRects();
    void UpdatePaletteData();
    void UpdateBarData();
    void PickInPalette(POINT point);
    uint32_t CurrentColour() const;

    int m_hue = 180;
    int m_saturation = 200;
    int m_lightness = 120;
    uint32_t m_reportedColour;  // COLORREF order
    uint32_t m_selectedColour;  // COLORREF order
    int m_paletteHeight = 150;
    CRect m_paletteRect;
    CRect m_barRect;
    POINT m_marker{0, 0};
    bool m_paletteDragging = false;
    bool m_barDragging = false;
    std::unique_ptr<MemoryCanvas> m_field;
    Gdiplus::Image* m_thumbImage = nullptr;  // not owned: the manager's image cache
    int m_thumbWidth = 0;
    int m_thumbHeight = 0;
};

// A hue slider: a 10-pixel thumb over a hue band, position 0..width - 10. A release inside
// sends 2.
class ORVO_API PaletteBar : public MControlFont {
public:
    PaletteBar(MObject* parent, UINT id, const RECT& rect, int visible);
    ORVO_DECLARE_CONTROL(PaletteBar, MControlFont)

    void SetSelectColor(ColorRef colour);
    ColorRef GetSelectColor() const { return m_colour; }
    // The colour at the thumb with saturation s / 200 and lightness 0.5, opaque.
    Argb PaletteHSLToRGB(int saturation) const;
    int GetPosition() const { return m_position; }
    void SetPosition(int position);

    void DrawControl(HDC hdc, const RECT& rect) override;
    BOOL OnControlLButtonDown(UINT flags, POINT point) override;
    BOOL OnControlMouseMove(UINT flags, POINT point) override;
    BOOL OnControlLButtonUp(UINT flags, POINT point) override;

    static constexpr int kThumbWidth = 10;

private:
    int PositionAt(int x) const;

    int m_position = 180;
    bool m_dragging = false;
    ColorRef m_colour;
};

// A colour ring picked by position: the thumb goes only where the distance from the centre
// is above 64 and at most 115, and the colour is read back from the screen pixel under it.
// A pick sends 27 with lParam = the colour (COLORREF).
class ORVO_API CirclePalette : public MControlFont {
public:
    CirclePalette(MObject* parent, UINT id, const RECT& rect, int visible, int enabled);
    ORVO_DECLARE_CONTROL(CirclePalette, MControlFont)

    void SetSelectColor(ColorRef colour);
    ColorRef GetSelectColor() const { return m_colour; }
    // Places the thumb around the point and picks the colour there; false where the ring
    // does not reach.
    bool MoveThumbPos(POINT point);
    // Distance of the point from the control's centre, truncated.
    int GetDistanse(POINT point) const;
    const CRect& GetThumbRect() const { return m_thumbRect; }

    void DrawControl(HDC hdc, const RECT& rect) override;
    BOOL OnControlLButtonDown(UINT flags, POINT point) override;
    BOOL OnControlMouseMove(UINT flags, POINT point) override;
    BOOL OnControlLButtonUp(UINT flags, POINT point) override;

    static constexpr int kInnerDistance = 64;   // exclusive
    static constexpr int kOuterDistance = 115;  // inclusive
    static constexpr int kThumbSize = 10;

private:
    CRect m_thumbRect;
    POINT m_lastThumbPoint{0, 0};
    int m_mouseState = 0;
    ColorRef m_colour;
};

}  // namespace Orvo
