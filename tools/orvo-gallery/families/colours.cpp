// The colour pickers: the hue-by-lightness field with its saturation bar (also disabled),
// the hue bar, the preset swatches, the colour dialog body and the colour ring.
#include <memory>

#include "family_dialog.h"
#include "orvo/color_palette.h"
#include "orvo/color_select.h"
#include "orvo/paint_manager.h"
#include "orvo/palette.h"

namespace Gallery {
namespace {

void Label(FamilyDialog& dialog, const RECT& cell, const wchar_t* text) {
    dialog.AddLabel(RECT{cell.left, cell.top - 22, cell.right, cell.top - 4}, text);
}

void BuildColours(FamilyDialog& dialog) {
    const RECT content = dialog.ContentRect();
    const int top = content.top + 30;

    RECT cell{content.left, top, content.left + 254, top + 150};
    Label(dialog, cell, L"MPalette");
    auto* palette = static_cast<Orvo::MPalette*>(dialog.Create(L"MPalette", 150, cell));
    palette->SetThumbImage(L"img_palette_thumb.png");
    palette->SetSelectColor(Orvo::ColorRef(0x004BFF));

    cell = RECT{content.left + 300, top, content.left + 554, top + 150};
    Label(dialog, cell, L"disabled");
    auto* disabled = static_cast<Orvo::MPalette*>(dialog.Create(L"MPalette", 151, cell));
    disabled->SetThumbImage(L"img_palette_thumb.png");
    disabled->SetEnabled(0);

    cell = RECT{content.left, top + 210, content.left + 370, top + 230};
    Label(dialog, cell, L"PaletteBar");
    // Only a panel makes it by name: made here with its constructor.
    auto bar = std::make_unique<Orvo::PaletteBar>(&dialog, 152, cell, 1);
    bar->SetPosition(200);
    dialog.GetPaintManager()->AddControl(std::move(bar));

    cell = RECT{content.left, top + 290, content.left + 280, top + 320};
    Label(dialog, cell, L"CColorSelect");
    static_cast<Orvo::CColorSelect*>(dialog.Create(L"CColorSelect", 154, cell))->SetColorIndex(2);

    cell = RECT{content.left + 320, top + 290, content.left + 650, top + 510};
    Label(dialog, cell, L"CColorPalette");
    static_cast<Orvo::CColorPalette*>(dialog.Create(L"CColorPalette", 155, cell))
        ->SetSelectColor(Orvo::ColorRef(0x0505FF));

    cell = RECT{content.left + 620, top, content.left + 860, top + 240};
    Label(dialog, cell, L"CirclePalette");
    auto* ring = static_cast<Orvo::CirclePalette*>(dialog.Create(L"CirclePalette", 153, cell));
    ring->SetImage(L"img_color_ring.png", 1);
    ring->MoveThumbPos(POINT{cell.left + 120 + 64, cell.top + 120 - 64});
}

}  // namespace

ORVO_GALLERY_FAMILY(L"colours", BuildColours);

}  // namespace Gallery
