// The text family: labels, edit boxes in their states, number boxes and combo boxes with an
// open drop-down list.
#include "family_dialog.h"
#include "orvo/edit.h"
#include "orvo/text.h"

namespace Gallery {
namespace {

constexpr int kColumn = 220;
constexpr int kLeft = 40;

RECT Cell(int column, int top, int width, int height) {
    const int left = kLeft + column * kColumn;
    return RECT{left, top, left + width, top + height};
}

void AddLabels(FamilyDialog& dialog, int top) {
    dialog.AddLabel(Cell(0, top, 200, 18), L"MText single line");
    dialog.AddLabel(Cell(1, top, 200, 18), L"centred");
    dialog.AddLabel(Cell(2, top, 200, 18), L"multi-line");
    auto* plain = static_cast<Orvo::MText*>(
        dialog.Create(L"MText", 100, Cell(0, top + 22, 200, 30), L"Report rate"));
    auto* centred = static_cast<Orvo::MText*>(
        dialog.Create(L"MText", 101, Cell(1, top + 22, 200, 30), L"Lift-off distance"));
    auto* wrapped = static_cast<Orvo::MText*>(
        dialog.Create(L"MText", 102, Cell(2, top + 22, 200, 44),
                      L"Buttons that run on the computer keep working while the mouse sleeps."));
    if (plain == nullptr || centred == nullptr || wrapped == nullptr) {
        return;
    }
    plain->SetFont(L"Open Sans Semibold", 16, 0);
    centred->SetAlignment(1, 4);
    centred->SetTextColor(Orvo::Argb(0xFFB8D3EF));
    wrapped->EnableMultiLine(1);
    wrapped->SetFontWidth(12);
    wrapped->SetAlignment(0, 0);
    wrapped->SetTextColor(Orvo::Argb(0xFF828282));
}

Orvo::MEdit* AddEdit(FamilyDialog& dialog, UINT id, int column, int top, const wchar_t* tip,
                     const wchar_t* text) {
    auto* edit =
        static_cast<Orvo::MEdit*>(dialog.Create(L"MEdit", id, Cell(column, top, 190, 30), tip));
    if (edit == nullptr) {
        return nullptr;
    }
    edit->SetImage(L"img_edit.png", 4);
    edit->SetTextColor(Orvo::Argb(0xFFFFFFFF));
    edit->SetFontName(L"Open Sans Semibold");
    edit->SetEditBKColor(Orvo::ColorRef::FromRgb(16, 19, 24));
    edit->SetEditText(text);
    return edit;
}

void AddEdits(FamilyDialog& dialog, int top) {
    dialog.AddLabel(Cell(0, top, 200, 18), L"MEdit with tip text");
    dialog.AddLabel(Cell(1, top, 200, 18), L"hovered, side icon");
    dialog.AddLabel(Cell(2, top, 200, 18), L"password");
    dialog.AddLabel(Cell(3, top, 200, 18), L"disabled");
    AddEdit(dialog, 110, 0, top + 22, L"Macro name", L"");
    if (Orvo::MEdit* hovered = AddEdit(dialog, 111, 1, top + 22, L"", L"https://tavik.example")) {
        hovered->SetIconImage(L"icon\\icon_edit_clear.png", 3);
        const Orvo::CRect place = hovered->GetRect();
        hovered->OnControlMouseMove(0, POINT{place.left + 20, place.top + 10});
    }
    if (Orvo::MEdit* password = AddEdit(dialog, 112, 2, top + 22, L"", L"secret")) {
        password->SetPassWordChar(L'\x2022');
    }
    if (Orvo::MEdit* disabled = AddEdit(dialog, 113, 3, top + 22, L"", L"Read only")) {
        disabled->SetEnabled(0);
    }
}

void BuildText(FamilyDialog& dialog) {
    const RECT content = dialog.ContentRect();
    AddLabels(dialog, content.top);
    AddEdits(dialog, content.top + 90);
}

}  // namespace

ORVO_GALLERY_FAMILY(L"text", BuildText);

}  // namespace Gallery
