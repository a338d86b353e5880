// The list family: the macro list with a row renamed in place, the recorded events of a
// macro, the profile list and an icon list, each with hovered and selected rows.
#include <memory>

#include "family_dialog.h"
#include "orvo/lists.h"
#include "orvo/paint_manager.h"

namespace Gallery {
namespace {

constexpr UINT kMacroList = 200;
constexpr UINT kRecordList = 201;
constexpr UINT kProfileList = 202;
constexpr UINT kIconList = 203;
constexpr int kRow = 36;

template <typename T>
T* AddList(FamilyDialog& dialog, UINT id, const RECT& rect) {
    auto list = std::make_unique<T>(&dialog, id, rect, 1);
    T* raw = list.get();
    dialog.GetPaintManager()->AddControl(std::move(list));
    raw->SetControlRect(rect);
    raw->SetFontName(L"Open Sans Semibold");
    return raw;
}

void BuildLists(FamilyDialog& dialog) {
    const RECT content = dialog.ContentRect();
    const int top = content.top + 24;
    dialog.AddLabel(RECT{40, content.top, 260, content.top + 18},
                    L"MacroList (double click renames)");
    dialog.AddLabel(RECT{290, content.top, 690, content.top + 18}, L"CRecordList");
    dialog.AddLabel(RECT{720, content.top, 960, content.top + 18}, L"DListBox");
    dialog.AddLabel(RECT{40, top + 6 * kRow + 10, 260, top + 6 * kRow + 28}, L"MListBox");

    auto* macros = AddList<Orvo::MacroList>(dialog, kMacroList, RECT{40, top, 260, top + 6 * kRow});
    macros->SetImage(L"img_list_bkg.png", 2);
    macros->SetEditImage(L"icon\\icon_list_edit.png", 4);
    macros->EnableShowEdit(1);
    for (const wchar_t* name : {L"Sniper burst", L"Build wall", L"Copy and paste", L"Triple jump",
                                L"Reload cancel", L"Crouch spam", L"Quick scope"}) {
        macros->AddString(name);
    }
    macros->SetCurSel(1);

    auto* records =
        AddList<Orvo::CRecordList>(dialog, kRecordList, RECT{290, top, 690, top + 6 * kRow});
    records->SetItemImage(L"img_list_bkg.png", 2);
    records->SetImage(L"icon\\icon_record.png", 4);
    records->SetMoreImage(L"btn_more.png", 4);
    records->SetFontWidth(13);
    records->AddString(L"A down", 2, 65, 20);
    records->AddString(L"A up", 3, 65, 85);
    records->AddString(L"Left down", 4, 1, 120);
    records->AddString(L"Left up", 5, 1, 64);
    records->AddString(L"Delay", 1, 0, 250);
    records->SetCurSel(2);
    records->SetTimeStampSelect(120);

    auto* profiles =
        AddList<Orvo::DListBox>(dialog, kProfileList, RECT{720, top, 960, top + 4 * kRow});
    for (const wchar_t* name : {L"Profile 1", L"Profile 2", L"Office", L"Tournament"}) {
        profiles->AddString(name, 0, -1);
    }
    profiles->SetCurSel(2);

    auto* icons = AddList<Orvo::MListBox>(dialog, kIconList,
                                          RECT{40, top + 7 * kRow, 260, top + 7 * kRow + 4 * kRow});
    icons->SetItemHeight(30);
    icons->SetImage(L"img_area.png", 1);
    for (const wchar_t* name : {L"Left button", L"Right button", L"Wheel", L"Forward"}) {
        icons->AddString(name);
    }
    icons->SetCurSel(0);

    dialog.BeforeCapture(
        [](FamilyDialog& shown) {
            // Rows get their places while painting: hover and editing come after the first paint.
            if (auto* list = static_cast<Orvo::MacroList*>(shown.GetControl(kMacroList))) {
                const Orvo::CRect place = list->GetRect();
                list->OnControlMouseMove(0, POINT{place.left + 40, place.top + 3 * kRow + 10});
                list->SetCurSel(4);
                list->ShowEdit();
                if (Orvo::CEditWindow* editor = list->GetEditWindow()) {
                    editor->SetText(L"Reload cancel v2");
                }
            }
            if (auto* list = static_cast<Orvo::DListBox*>(shown.GetControl(kProfileList))) {
                const Orvo::CRect place = list->GetRect();
                list->OnControlMouseMove(0, POINT{place.left + 40, place.top + kRow + 10});
            }
        },
        10);
}

}  // namespace

ORVO_GALLERY_FAMILY(L"lists", BuildLists);

}  // namespace Gallery
