#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/config/control_views.h"

namespace tavik {

// Control ids of the colour dialog (window class "PaletteDlg", 330 × 320).
namespace palette_control {
constexpr int kClose = 31;
constexpr int kPalette = 32;
constexpr int kPreview = 33;
constexpr int kRed = 37;
constexpr int kGreen = 38;
constexpr int kBlue = 39;
constexpr int kFirstPreset = 40;
constexpr int kLastPreset = 47;
constexpr int kOk = 48;
}  // namespace palette_control

// The preset colours of the dialog, 40 … 47 (the fifth and the seventh are the same).
extern const std::uint32_t kPalettePresets[8];

// The controls of the colour dialog.
class PaletteDialogView {
public:
    virtual ~PaletteDialogView() = default;
    virtual ColourControl& Palette() = 0;           // 32
    virtual ColourControl& Preview() = 0;           // 33
    virtual TextControl& Field(int controlId) = 0;  // 37, 38, 39
    virtual void Close(bool accepted) = 0;          // DoOK or DoCancel
};

// What the colour dialog does (MousePaletteDlg): it starts at the caller's colour and follows
// the palette, the presets and the R, G, B fields. Closed by its OK button it gives the
// colour; closed in any other way it gives none, and the caller applies nothing.
class MousePaletteDialogLogic {
public:
    MousePaletteDialogLogic(PaletteDialogView& view, std::uint32_t initial);

    // Shows the starting colour in the palette, the fields and the preview.
    void InitUI();
    void OnControlNotify(int controlId, int code);

    std::uint32_t ResultColour() const { return m_result; }
    // The colour the caller applies: set only when the dialog was closed with OK.
    std::optional<std::uint32_t> ChosenColour() const;

private:
    void Follow(std::uint32_t colour, bool movePalette);

    PaletteDialogView& m_view;  // not owned
    std::uint32_t m_result;
    bool m_accepted = false;
};

}  // namespace tavik
