// The tab family: the main window's vertical strip of icon-and-text tabs (one selected, one
// hovered, one hidden), the horizontal icon strip, and the settings dialog's text tabs, each
// switching real pages, and the value spinners.
#include <windows.h>

#include <string>

#include "family_card.h"
#include "family_dialog.h"
#include "orvo/spin_button.h"
#include "orvo/tab_ctrl.h"

namespace Gallery {
namespace {

constexpr UINT kVerticalTabs = 100;
constexpr UINT kHorizontalTabs = 101;
constexpr UINT kTextTabs = 102;

void HoverSecondTab(FamilyDialog& dialog) {
    // The pointer rests on the second tab of the vertical strip.
    ::SendMessageW(dialog.GetSafeHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(120, 66 + 34 + 61 + 30));
}

void BuildTabs(FamilyDialog& dialog) {
    const RECT area = dialog.ContentRect();
    const int top = area.top + 34;
    dialog.AddLabel(RECT{area.left, area.top, area.left + 420, area.top + 24},
                    L"MTabCtrl, vertical: selected, hovered, normal; tab 4 hidden");
    auto* vertical = static_cast<Orvo::MTabCtrl*>(dialog.Create(
        L"MTabCtrl", kVerticalTabs, RECT{area.left, top, area.left + 190, top + 5 * 61}));
    if (vertical != nullptr) {
        vertical->SetImage(L"img_tabitem_bkg.png", 3);
        vertical->SetTabCtrlWidth(190);
        vertical->SetItemHeight(60, 0, 1);
        const wchar_t* icons[] = {L"icon\\tab_home.png", L"icon\\tab_key.png", L"icon\\tab_dpi.png",
                                  L"icon\\tab_macro.png", L"icon\\tab_light.png"};
        const wchar_t* texts[] = {L"Home", L"Buttons", L"Performance", L"Macros", L"Lighting"};
        for (int i = 0; i < 5; ++i) {
            auto page = std::make_unique<FamilyCard>(
                &dialog, 200 + i, RECT{area.left + 206, top, area.left + 470, top + 5 * 61 - 1},
                std::wstring(texts[i]) + L" page", dialog.Fonts().Get(kUiFace, 14));
            Orvo::MControl* shown = dialog.GetPaintManager()->AddControl(std::move(page));
            vertical->InsertItem(static_cast<UINT>(i + 1), texts[i], icons[i], shown);
        }
        vertical->SetItemVisible(3, 0);
        vertical->SetSelectItem(2);
        vertical->SetTabTooltip(1, L"Assign a function to each button");
    }

    const int right = area.left + 500;
    dialog.AddLabel(RECT{right, area.top, right + 420, area.top + 24},
                    L"MTabCtrl, horizontal icons: selected first");
    auto* horizontal = static_cast<Orvo::MTabCtrl*>(
        dialog.Create(L"MTabCtrl", kHorizontalTabs, RECT{right, top, right + 4 * 70, top + 50}));
    if (horizontal != nullptr) {
        horizontal->SetImage(L"img_tabitem_bkg.png", 3);
        horizontal->SetTabType(0);
        horizontal->SetTabCtrlHeight(50);
        horizontal->SetItemWidth(70, 0, 1);
        const wchar_t* icons[] = {L"icon\\tab_home.png", L"icon\\tab_key.png", L"icon\\tab_dpi.png",
                                  L"icon\\tab_set.png"};
        for (int i = 0; i < 4; ++i) {
            horizontal->InsertItem(static_cast<UINT>(i + 1), L"", icons[i], nullptr);
        }
    }

    const int textTop = top + 90;
    dialog.AddLabel(RECT{right, textTop, right + 420, textTop + 24},
                    L"CTabCtrl1: text tabs, the second selected");
    auto* textTabs = static_cast<Orvo::CTabCtrl1*>(dialog.Create(
        L"CTabCtrl1", kTextTabs, RECT{right, textTop + 30, right + 200, textTop + 30 + 3 * 60}));
    if (textTabs != nullptr) {
        textTabs->SetImage(L"img_tabitem_bkg.png", 3);
        const wchar_t* texts[] = {L"General", L"Update", L"About"};
        for (int i = 0; i < 3; ++i) {
            auto page = std::make_unique<FamilyCard>(
                &dialog, 300 + i,
                RECT{right + 216, textTop + 30, right + 440, textTop + 30 + 3 * 60 - 1},
                std::wstring(texts[i]) + L" settings", dialog.Fonts().Get(kUiFace, 14));
            Orvo::MControl* shown = dialog.GetPaintManager()->AddControl(std::move(page));
            textTabs->AddItem(texts[i], i, shown);
        }
        textTabs->SetSelectItem(1);
    }

    const int spinTop = textTop + 30 + 3 * 60 + 40;
    dialog.AddLabel(RECT{right, spinTop, right + 300, spinTop + 22},
                    L"MSpinButton: 100, 42, disabled");
    const int values[] = {100, 42, 7};
    for (int i = 0; i < 3; ++i) {
        auto* spin = static_cast<Orvo::MSpinButton*>(
            dialog.Create(L"MSpinButton", 400 + i,
                          RECT{right + i * 100, spinTop + 30, right + i * 100 + 80, spinTop + 58}));
        if (spin != nullptr) {
            spin->SetCurValue(values[i]);
            spin->SetEnabled(i == 2 ? 0 : 1);
        }
    }
    dialog.AddLabel(RECT{right + 310, spinTop, right + 440, spinTop + 22}, L"CSpinButton");
    auto* typed = static_cast<Orvo::CSpinButton*>(dialog.Create(
        L"CSpinButton", 403, RECT{right + 310, spinTop + 30, right + 400, spinTop + 58}));
    if (typed != nullptr) {
        typed->SetRange(0, 255);
        typed->SetCurValue(128);
    }
    dialog.BeforeCapture(HoverSecondTab, 2);
}

}  // namespace

ORVO_GALLERY_FAMILY(L"tabs", BuildTabs);

}  // namespace Gallery
