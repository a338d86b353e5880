// The text family: labels, edit boxes in their states, number boxes and combo boxes with an
// open drop-down list.
#include <memory>

#include "family_dialog.h"
#include "orvo/combo_box.h"
#include "orvo/combo_popup.h"
#include "orvo/edit.h"
#include "orvo/number_edit.h"
#include "orvo/paint_manager.h"
#include "orvo/rich_edit.h"
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
        dialog.Create(L"MText", 102, Cell(2, top + 22, 200, 60),
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

constexpr UINT kOpenCombo = 120;

Orvo::MComboBox* AddCombo(FamilyDialog& dialog, UINT id, int column, int top, int selected) {
    auto* combo =
        static_cast<Orvo::MComboBox*>(dialog.Create(L"MComboBox", id, Cell(column, top, 190, 30)));
    if (combo == nullptr) {
        return nullptr;
    }
    combo->SetImage(L"img_combobox.png", 4);
    combo->SetFontName(L"Open Sans Semibold");
    for (const wchar_t* rate : {L"125 Hz", L"250 Hz", L"500 Hz", L"1000 Hz", L"2000 Hz", L"4000 Hz",
                                L"8000 Hz", L"Polling off", L"Custom"}) {
        combo->AddItem(rate);
    }
    combo->SetCurSel(selected);
    return combo;
}

void AddCombos(FamilyDialog& dialog, int top) {
    dialog.AddLabel(Cell(0, top, 200, 18), L"MComboBox, list open");
    dialog.AddLabel(Cell(1, top, 200, 18), L"hovered");
    dialog.AddLabel(Cell(2, top, 200, 18), L"MComboBox2 checked");
    dialog.AddLabel(Cell(3, top, 200, 18), L"disabled, CColorCombo");
    AddCombo(dialog, kOpenCombo, 0, top + 22, 3);
    if (Orvo::MComboBox* hovered = AddCombo(dialog, 121, 1, top + 22, 1)) {
        const Orvo::CRect place = hovered->GetRect();
        hovered->OnControlMouseMove(0, POINT{place.left + 20, place.top + 10});
    }
    auto grouped =
        std::make_unique<Orvo::MComboBox2>(&dialog, 122, Cell(2, top + 22, 190, 30), 1, 1);
    auto* checked =
        static_cast<Orvo::MComboBox2*>(dialog.GetPaintManager()->AddControl(std::move(grouped)));
    checked->SetImage(L"img_combobox.png", 4);
    checked->SetFontName(L"Open Sans Semibold");
    checked->AddItem(L"Profile 2");
    checked->SetCurSel(0);
    checked->SetControlCheck(1);
    if (Orvo::MComboBox* disabled = AddCombo(dialog, 123, 3, top + 22, 0)) {
        disabled->SetRect(Cell(3, top + 22, 100, 30));
        disabled->SetEnabled(0);
    }
    auto colour = std::make_unique<Orvo::CColorCombo>(
        &dialog, 124,
        RECT{kLeft + 3 * kColumn + 110, top + 22, kLeft + 3 * kColumn + 190, top + 52}, 1, 1);
    auto* swatch =
        static_cast<Orvo::CColorCombo*>(dialog.GetPaintManager()->AddControl(std::move(colour)));
    swatch->SetImage(L"img_combobox.png", 4);
    swatch->SetAreaColor(Orvo::kAccentColor);
}

template <typename T>
void AddNumberBox(FamilyDialog& dialog, UINT id, const RECT& rect, const wchar_t* value) {
    auto* box = static_cast<T*>(
        dialog.GetPaintManager()->AddControl(std::make_unique<T>(&dialog, id, rect, 1)));
    box->SetImage(L"img_edit.png", 4);
    box->SetTextColor(Orvo::Argb(0xFFFFFFFF));
    box->SetEditFont(L"Open Sans Semibold", 14, false, false, false);
    box->SetEditText(value);
}

void AddNumberBoxes(FamilyDialog& dialog, int top) {
    dialog.AddLabel(Cell(1, top, 200, 18), L"NumberEdit 1 to 50");
    dialog.AddLabel(Cell(2, top, 200, 18), L"NumberEdit2 1 to 20");
    dialog.AddLabel(Cell(3, top, 200, 18), L"MEditEx (rich edit)");
    AddNumberBox<Orvo::NumberEdit>(dialog, 130, Cell(1, top + 22, 90, 30), L"12");
    AddNumberBox<Orvo::NumberEdit2>(dialog, 131, Cell(2, top + 22, 60, 30), L"4");
    auto* rich = static_cast<Orvo::MEditEx*>(
        dialog.Create(L"MEditEx", 132, Cell(3, top + 22, 190, 30), L"Hello, rich text"));
    if (rich != nullptr) {
        rich->SetImage(L"img_edit.png", 4);
        rich->SetFontName(L"Open Sans Semibold");
        rich->SetTextColor(Orvo::Argb(0xFFFFFFFF));
        rich->ApplyDefaultFormat();
    }
}

void OpenTheList(FamilyDialog& dialog) {
    if (auto* combo = static_cast<Orvo::MComboBox*>(dialog.GetControl(kOpenCombo))) {
        combo->ShowDropDown();
        // The capture shows the list with its third row under the pointer.
        if (Orvo::CComboBoxWnd* popup = combo->GetDropDown()) {
            ::SendMessageW(popup->GetSafeHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(40, 6 + 2 * 30 + 15));
        }
    }
}

void BuildText(FamilyDialog& dialog) {
    const RECT content = dialog.ContentRect();
    AddLabels(dialog, content.top);
    AddEdits(dialog, content.top + 100);
    AddCombos(dialog, content.top + 180);
    AddNumberBoxes(dialog, content.top + 260);
    dialog.BeforeCapture(&OpenTheList, 50);
}

}  // namespace

ORVO_GALLERY_FAMILY(L"text", BuildText);

}  // namespace Gallery
