// The value controls: sliders in their states, the light slider, the progress bar's three
// styles and its endless run, and the level boxes.
#include "family_dialog.h"
#include "orvo/progress.h"
#include "orvo/slider.h"

namespace Gallery {
namespace {

constexpr int kColumn = 240;
constexpr int kCellWidth = 216;
constexpr UINT kEndlessId = 130;

RECT Cell(const RECT& content, int column, int top, int height) {
    const int left = content.left + column * kColumn;
    return RECT{left, top, left + kCellWidth, top + height};
}

void Label(FamilyDialog& dialog, const RECT& cell, const wchar_t* text) {
    dialog.AddLabel(RECT{cell.left, cell.top - 22, cell.right, cell.top - 4}, text);
}

Orvo::MSlider* Slider(FamilyDialog& dialog, const wchar_t* className, UINT id, const RECT& cell) {
    auto* slider = static_cast<Orvo::MSlider*>(dialog.Create(className, id, cell));
    slider->SetThumbImage(L"img_slider_bar.png");
    return slider;
}

// The endless bar stands still for the picture, at a place of its own choosing.
void FreezeEndless(FamilyDialog& dialog) {
    if (auto* endless = static_cast<Orvo::MProgress*>(dialog.GetControl(kEndlessId))) {
        endless->SetRun(0, 35);
    }
}

void BuildSliders(FamilyDialog& dialog) {
    dialog.SetMTimer(10);
    const RECT content = dialog.ContentRect();
    int top = content.top + 30;

    RECT cell = Cell(content, 0, top, 30);
    Label(dialog, cell, L"MSlider");
    Slider(dialog, L"MSlider", 100, cell)->SetProgress(3);
    cell = Cell(content, 1, top, 50);
    Label(dialog, cell, L"with its value");
    auto* brightness = Slider(dialog, L"MSlider", 101, cell);
    brightness->SetTitle(L"Brightness ");
    brightness->SetTextColor(Orvo::Argb(0xFFB8D3EF));
    brightness->SetMinProgress(1);
    brightness->SetMaxProgress(255);
    brightness->SetProgress(200);
    brightness->SetShowText(1);
    cell = Cell(content, 2, top, 30);
    Label(dialog, cell, L"stored past its range");
    auto* overfull = Slider(dialog, L"MSlider", 102, cell);
    overfull->SetMinProgress(5);
    overfull->SetProgress(15);
    cell = Cell(content, 3, top, 30);
    Label(dialog, cell, L"disabled");
    auto* disabled = Slider(dialog, L"MSlider", 103, cell);
    disabled->SetProgress(6);
    disabled->SetEnabled(0);

    top += 100;
    const wchar_t* lightLabels[] = {L"LightSlider", L"full", L"disabled"};
    const int lightValues[] = {5, 10, 2};
    for (int column = 0; column < 3; ++column) {
        cell = Cell(content, column, top, 40);
        Label(dialog, cell, lightLabels[column]);
        auto* light = Slider(dialog, L"LightSlider", 110 + column, cell);
        light->SetImage(L"img_light_track.png", 1);
        light->SetProgress(lightValues[column]);
        if (column == 2) {
            light->SetEnabled(0);
        }
    }

    top += 90;
    cell = Cell(content, 0, top, 24);
    Label(dialog, cell, L"MProgress: line");
    auto* line = static_cast<Orvo::MProgress*>(dialog.Create(L"MProgress", 120, cell));
    line->EnableShowText(1);
    line->SetProgress(40);
    cell = Cell(content, 1, top + 10, 14);
    Label(dialog, cell, L"state image");
    auto* state = static_cast<Orvo::MProgress*>(dialog.Create(L"MProgress", 121, cell));
    state->SetImage(L"img_progress_state.png", 2);
    state->SetProgress(65);
    cell = Cell(content, 2, top + 12, 10);
    Label(dialog, cell, L"three parts");
    auto* parts = static_cast<Orvo::MProgress*>(dialog.Create(L"MProgress", 122, cell));
    parts->SetBackGroundImage(L"img_progress_bkg.png");
    parts->SetForeGroundImage(L"img_progress_fore.png");
    parts->SetProgress(80);
    cell = Cell(content, 3, top + 12, 10);
    Label(dialog, cell, L"endless");
    auto* endless = static_cast<Orvo::MProgress*>(dialog.Create(L"MProgress", kEndlessId, cell));
    endless->SetBackGroundImage(L"img_progress_bkg.png");
    endless->SetForeGroundImage(L"img_progress_fore.png");
    endless->SetRun(1, 0);

    top += 80;
    cell = Cell(content, 0, top, 36);
    Label(dialog, cell, L"MLevelCtrl");
    auto* level = static_cast<Orvo::MLevelCtrl*>(dialog.Create(L"MLevelCtrl", 140, cell));
    level->SetTitle(L"Level ");
    level->SetTextColor(Orvo::Argb(0xFFB8D3EF));
    level->SetLevelValue(9);
    cell = Cell(content, 1, top, 36);
    Label(dialog, cell, L"five levels");
    auto* five = static_cast<Orvo::MLevelCtrl*>(dialog.Create(L"MLevelCtrl", 141, cell));
    five->SetRangeValue(1, 5);
    five->SetShowText(0);
    five->SetLevelValue(3);

    dialog.BeforeCapture(FreezeEndless, 2);
}

}  // namespace

ORVO_GALLERY_FAMILY(L"sliders", BuildSliders);

}  // namespace Gallery
