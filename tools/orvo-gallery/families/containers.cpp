// The containers family: background areas in their looks, panels that fit, scroll and hover
// their bars, a page over an area, and the bars on their own.
#include <memory>

#include "family_dialog.h"
#include "orvo/area.h"
#include "orvo/paint_manager.h"
#include "orvo/panel.h"
#include "orvo/scroll.h"

namespace Gallery {
namespace {

constexpr int kLeft = 40;
constexpr int kColumn = 230;
constexpr Orvo::ColorRef kRaised = Orvo::ColorRef::FromRgb(0x1C, 0x20, 0x27);
constexpr Orvo::Argb kLine = Orvo::Argb(0xFF2A303A);
constexpr Orvo::Argb kBlocks[] = {Orvo::Argb(0xFFFF4B00), Orvo::Argb(0xFF2BD576),
                                  Orvo::Argb(0xFFB8D3EF), Orvo::Argb(0xFFFFC233)};

RECT Cell(int column, int top, int width, int height) {
    const int left = kLeft + column * kColumn;
    return RECT{left, top, left + width, top + height};
}

Orvo::CArea* AddArea(FamilyDialog& dialog, UINT id, const RECT& rect) {
    return static_cast<Orvo::CArea*>(
        dialog.GetPaintManager()->CreateArea(&dialog, L"CArea", id, rect, L"", 1, 1));
}

// A card behind a panel: the panel itself draws nothing.
void AddCard(FamilyDialog& dialog, UINT id, const RECT& rect) {
    if (Orvo::CArea* card = AddArea(dialog, id, rect)) {
        card->SetTransparent(0, 0, kRaised);
        card->SetFrame(true, kLine);
    }
}

void AddAreas(FamilyDialog& dialog, int top) {
    const wchar_t* labels[] = {L"CArea default (20 % white)", L"vertical 80 % to 10 %",
                               L"horizontal, accent", L"solid with frame"};
    for (int column = 0; column < 4; ++column) {
        dialog.AddLabel(Cell(column, top, 210, 18), labels[column]);
    }
    AddArea(dialog, 200, Cell(0, top + 22, 200, 60));
    if (Orvo::CArea* ramp = AddArea(dialog, 201, Cell(1, top + 22, 200, 60))) {
        ramp->SetTransparent(80, 10, Orvo::ColorRef::FromRgb(0xB8, 0xD3, 0xEF));
    }
    if (Orvo::CArea* across = AddArea(dialog, 202, Cell(2, top + 22, 200, 60))) {
        across->SetTransparent(90, 0, Orvo::kAccentColor.ToColorRef());
        across->SetFrame(false, kLine, false);
    }
    if (Orvo::CArea* framed = AddArea(dialog, 203, Cell(3, top + 22, 200, 60))) {
        framed->SetTransparent(0, 0, kRaised);
        framed->SetFrame(true, Orvo::kAccentColor.WithAlpha(0xFE));
    }
}

// A panel of coloured blocks, `rows` of them 40 pixels apart, `width` wide.
Orvo::MPanel* AddPanel(FamilyDialog& dialog, UINT id, const RECT& rect, int rows, int width) {
    AddCard(dialog, id + 50, rect);
    auto* panel = static_cast<Orvo::MPanel*>(
        dialog.GetPaintManager()->AddControl(std::make_unique<Orvo::MPanel>(&dialog, id, rect, 1)));
    for (int row = 0; row < rows; ++row) {
        const RECT block{rect.left + 10, rect.top + 10 + row * 40, rect.left + 10 + width,
                         rect.top + 40 + row * 40};
        if (auto* round = static_cast<Orvo::CRoundArea*>(
                panel->CreateControl(L"CRoundArea", id * 10 + row, block, L"", 1, 1))) {
            round->SetColor(kBlocks[row % 4]);
        }
    }
    panel->SetRect(rect);
    return panel;
}

void AddPanels(FamilyDialog& dialog, int top) {
    const wchar_t* labels[] = {L"MPanel, content fits", L"scrolled to the top", L"scrolled halfway",
                               L"at the end, both bars"};
    for (int column = 0; column < 4; ++column) {
        dialog.AddLabel(Cell(column, top, 210, 18), labels[column]);
    }
    AddPanel(dialog, 210, Cell(0, top + 22, 200, 180), 4, 170);
    AddPanel(dialog, 211, Cell(1, top + 22, 200, 180), 8, 170);
    if (Orvo::MPanel* half = AddPanel(dialog, 212, Cell(2, top + 22, 200, 180), 8, 170)) {
        Orvo::MScroll* bar = half->GetScrollVertical();
        bar->SetScrollCurrentPos(bar->GetScrollRange() / 2);
    }
    if (Orvo::MPanel* end = AddPanel(dialog, 213, Cell(3, top + 22, 200, 180), 8, 320)) {
        end->GetScrollVertical()->SetScrollFinalPos();
        end->GetScrollHorizontal()->SetScrollFinalPos();
    }
}

void AddPageAndBars(FamilyDialog& dialog, int top) {
    dialog.AddLabel(Cell(0, top, 440, 18), L"MTabLayout page over an area: clicks pass its gaps");
    dialog.AddLabel(Cell(2, top, 440, 18), L"CScrollHorizontal, CScrollVertical");
    const RECT pageRect = {kLeft, top + 22, kLeft + 430, top + 102};
    AddCard(dialog, 260, pageRect);
    auto* page = static_cast<Orvo::MTabLayout*>(
        dialog.GetPaintManager()->CreateControl(&dialog, L"MTabLayout", 220, pageRect, L"", 1, 1));
    if (page != nullptr) {
        for (int i = 0; i < 3; ++i) {
            const RECT block{pageRect.left + 20 + i * 140, pageRect.top + 20,
                             pageRect.left + 130 + i * 140, pageRect.bottom - 20};
            if (auto* round = static_cast<Orvo::CRoundArea*>(
                    page->CreateControl(L"CRoundArea", 2200 + i, block, L"", 1, 1))) {
                round->SetColor(i == 1 ? Orvo::Argb(0xC8FF4B00) : Orvo::Argb(0xC82B2B2B));
            }
        }
    }
    auto* horizontal = static_cast<Orvo::CScrollHorizontal*>(dialog.GetPaintManager()->AddControl(
        std::make_unique<Orvo::CScrollHorizontal>(&dialog, 230, Cell(2, top + 58, 300, 8), 1)));
    horizontal->SetScrollInfo(1000, 250, 0, 10);
    auto* vertical = static_cast<Orvo::CScrollVertical*>(
        dialog.GetPaintManager()->AddControl(std::make_unique<Orvo::CScrollVertical>(
            &dialog, 231, RECT{860, top + 22, 868, top + 102}, 1)));
    vertical->SetScrollInfo(1000, 1000, 0, 10);
}

// The window is told the pointer rests on bare ground, so no thumb is drawn hot by a move the
// window received for wherever the pointer happened to be.
void RestThePointerOnBareGround(FamilyDialog& dialog) {
    ::SendMessageW(dialog.GetSafeHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(4, dialog.Height() - 4));
}

void BuildContainers(FamilyDialog& dialog) {
    const RECT content = dialog.ContentRect();
    AddAreas(dialog, content.top);
    AddPanels(dialog, content.top + 100);
    AddPageAndBars(dialog, content.top + 330);
    dialog.BeforeCapture(RestThePointerOnBareGround, 2);
}

}  // namespace

ORVO_GALLERY_FAMILY(L"containers", BuildContainers);

}  // namespace Gallery
