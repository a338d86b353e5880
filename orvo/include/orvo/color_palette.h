#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "orvo/colour.h"
#include "orvo/control_factory.h"
#include "orvo/orvo_api.h"
#include "orvo/panel.h"

namespace Orvo {

class CColorButton;
class MEdit;
class MPalette;
class MSpinButton;

// A colour dialog body: a palette field, a row of preset swatches (one check group), red,
// green and blue spinners with their labels and a hexadecimal field. A change in any part
// moves all the others to the same colour and sends 27 with lParam = the colour.
class ORVO_API CColorPalette : public MPanel {
public:
    CColorPalette(MObject* parent, UINT id, const RECT& rect, int visible);
    ORVO_DECLARE_CONTROL(CColorPalette, MPanel)

    // No notification.
    void SetSelectColor(ColorRef colour);
    ColorRef GetSelectColor() const { return m_colour; }
    // Moves every part to the selected colour.
    void UpdateControlEx();
    // The colour as six hexadecimal digits, red first ("ff0505").
    static std::wstring FormatHex(ColorRef colour);
    // Six hexadecimal digits, red first, with or without a leading '#'; false for anything else.
    static bool ParseHex(const std::wstring& text, ColorRef& colour);

    void InitControl(PaintManager* manager) override;
    long OnMessage(UINT controlId, UINT code, WPARAM wParam, LPARAM lParam) override;

    static constexpr wchar_t kGroup[] = L"clr_palette_group";
    // Clear of the panel's own bars and of the spinners' buttons (30, 31), so that each part
    // is found by its id.
    static constexpr UINT kPaletteId = 60;
    static constexpr UINT kFirstSwatchId = 70;
    static constexpr UINT kFirstChannelId = 80;  // red, green, blue
    static constexpr UINT kHexId = 90;
    static constexpr UINT kFirstLabelId = 95;
    static constexpr int kPaletteWidth = 200;
    static constexpr int kPaletteHeight = 160;
    static constexpr int kSwatchSize = 26;
    static constexpr int kSwatchStep = 35;
    static constexpr int kFieldLeft = kPaletteWidth + 20;
    static constexpr int kFieldWidth = 70;
    static constexpr int kFieldHeight = 26;
    static constexpr int kFieldStep = 36;

private:
    // A part changed the colour: every other part follows and the parent is told.
    void Pick(ColorRef colour, UINT source);
    void Sync(UINT source);

    MPalette* m_palette = nullptr;          // not owned: a sub-control
    std::vector<CColorButton*> m_swatches;  // not owned: sub-controls
    MSpinButton* m_channels[3] = {};        // not owned: sub-controls
    MEdit* m_hex = nullptr;                 // not owned: a sub-control
    ColorRef m_colour = ColorRef(0x0505FF);
};

}  // namespace Orvo
