// The DPI family: a six-stage bar in the stages' colours with one stage selected and one
// hovered, a bar with the inline value edit open, and the DPI slider on its card.
#include <windows.h>

#include <memory>

#include "family_dialog.h"
#include "orvo/control_factory.h"
#include "orvo/dpi_control.h"
#include "orvo/dpi_slider.h"
#include "orvo/paint_manager.h"

namespace Gallery {
namespace {

constexpr UINT kStages = 103;
constexpr UINT kEditedStages = 104;
constexpr UINT kSlider = 105;
constexpr int kBarTop = 92;
constexpr int kEditedTop = 210;

// DPIControl is made by a panel's factory (it lives on a page); the dialog takes it over.
Orvo::DPIControl* MakeStages(FamilyDialog& dialog, UINT id, const RECT& rect) {
    std::unique_ptr<Orvo::MControl> made = Orvo::ControlFactory::Create(
        Orvo::FactoryTable::kPanel, L"DPIControl", &dialog, id, rect, L"", 1, 1);
    if (made == nullptr) {
        return nullptr;
    }
    return static_cast<Orvo::DPIControl*>(dialog.GetPaintManager()->AddControl(std::move(made)));
}

void HoverAndEdit(FamilyDialog& dialog) {
    // The pointer rests on the fifth stage of the first bar; the second bar's edit is open.
    ::SendMessageW(dialog.GetSafeHwnd(), WM_MOUSEMOVE, 0,
                   MAKELPARAM(24 + 4 * 130 + 55, kBarTop + 60));
    if (auto* edited = static_cast<Orvo::DPIControl*>(dialog.GetControl(kEditedStages))) {
        edited->ShowEdit();
    }
}

void BuildDpi(FamilyDialog& dialog) {
    const RECT area = dialog.ContentRect();
    dialog.AddLabel(RECT{area.left, area.top, area.right, area.top + 22},
                    L"DPIControl: six stages in their colours, stage 2 selected, stage 5 hovered");
    const struct {
        int dpi;
        Orvo::ColorRef colour;
    } stages[] = {{400, Orvo::ColorRef(255)},       {800, Orvo::ColorRef(65280)},
                  {1200, Orvo::ColorRef(16711680)}, {1600, Orvo::ColorRef(16776960)},
                  {2400, Orvo::ColorRef(65535)},    {3200, Orvo::ColorRef(8388992)}};
    if (Orvo::DPIControl* bar =
            MakeStages(dialog, kStages, RECT{area.left, kBarTop, area.left + 770, kBarTop + 76})) {
        for (const auto& stage : stages) {
            bar->AddItem(stage.dpi, stage.colour);
        }
        bar->SetSelectItem(1);
    }

    dialog.AddLabel(RECT{area.left, kEditedTop - 28, area.right, kEditedTop - 6},
                    L"The value edit open on the selected stage");
    if (Orvo::DPIControl* bar = MakeStages(
            dialog, kEditedStages, RECT{area.left, kEditedTop, area.left + 510, kEditedTop + 76})) {
        for (int i = 0; i < 4; ++i) {
            bar->AddItem(stages[i].dpi, stages[i].colour);
        }
        bar->SetSelectItem(0);
    }

    const int sliderTop = kEditedTop + 76 + 50;
    dialog.AddLabel(RECT{area.left, sliderTop - 28, area.right, sliderTop - 6},
                    L"DPISlider: 800 DPI on the 50 \u2026 12000 scale, 43 ticks");
    auto* slider = static_cast<Orvo::DPISlider*>(dialog.Create(
        L"DPISlider", kSlider, RECT{area.left, sliderTop, area.left + 905, sliderTop + 70}));
    if (slider != nullptr) {
        slider->SetBkgImage(L"img_area2.png");
        slider->SetImage(L"img_dpi_bar.png", 1);
        slider->SetTextColor(Orvo::Argb(0xFFB8D3EF));
        slider->SetProgress(16);
    }
    const int wideTop = sliderTop + 110;
    dialog.AddLabel(RECT{area.left, wideTop - 28, area.right, wideTop - 6},
                    L"DPISlider of the wired model, 50 \u2026 26000, disabled at 12800 DPI");
    auto* wide = static_cast<Orvo::DPISlider*>(dialog.Create(
        L"DPISlider", kSlider + 1, RECT{area.left, wideTop, area.left + 905, wideTop + 70}));
    if (wide != nullptr) {
        wide->SetBkgImage(L"img_area2.png");
        wide->SetImage(L"img_dpi_bar.png", 1);
        wide->SetTextColor(Orvo::Argb(0xFF828282));
        wide->SetMaxProgress(520);
        wide->SetProgress(256);
        wide->SetEnabled(0);
    }
    dialog.BeforeCapture(HoverAndEdit, 3);
}

}  // namespace

ORVO_GALLERY_FAMILY(L"dpi", BuildDpi);

}  // namespace Gallery
