// The button family: push buttons in their four states, check boxes, radio and select groups,
// switches, text and icon buttons, the countdown, colour swatches and cards, the download
// progress and the panel-only toggles.
#include <memory>
#include <vector>

#include "family_dialog.h"
#include "orvo/buttons.h"
#include "orvo/paint_manager.h"

namespace Gallery {
namespace {

constexpr int kLeft = 40;
constexpr int kColumn = 150;
constexpr wchar_t kFace[] = L"Open Sans Semibold";

RECT Cell(int column, int top, int width, int height) {
    const int left = kLeft + column * kColumn;
    return RECT{left, top, left + width, top + height};
}

RECT Shifted(const RECT& rect, int dx) {
    return RECT{rect.left + dx, rect.top, rect.right + dx, rect.bottom};
}

// The controls shown hovered; the pointer's own moves would undo the state, so it is put
// again once the pointer is out of the way.
std::vector<Orvo::MControl*>& HoveredControls() {
    static std::vector<Orvo::MControl*> controls;  // not owned: controls of the page
    return controls;
}

void ShowHovered(Orvo::MControl* control) {
    const Orvo::CRect place = control->GetRect();
    control->OnControlMouseMove(0, POINT{place.left + 5, place.top + 5});
}

// Puts a control into its hovered state as the pointer would.
void Hover(Orvo::MControl* control) {
    HoveredControls().push_back(control);
    ShowHovered(control);
}

// The picture never depends on where the pointer happened to rest.
void PutThePointerAway(FamilyDialog& dialog) {
    ::SetCursorPos(0, 0);
    RECT client = {};
    ::GetClientRect(dialog.GetSafeHwnd(), &client);
    ::SendMessageW(dialog.GetSafeHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(4, client.bottom - 4));
    for (Orvo::MControl* control : HoveredControls()) {
        ShowHovered(control);
    }
}

void Press(Orvo::MControl* control) {
    const Orvo::CRect place = control->GetRect();
    control->OnControlLButtonDown(MK_LBUTTON, POINT{place.left + 5, place.top + 5});
}

template <typename T>
T* Make(FamilyDialog& dialog, const wchar_t* className, UINT id, const RECT& rect,
        const wchar_t* text) {
    auto* control = dynamic_cast<T*>(dialog.Create(className, id, rect, text));
    if (control != nullptr) {
        control->SetFontName(kFace);
    }
    return control;
}

// Classes made only inside panels are attached with their constructors here.
template <typename T, typename... Args>
T* Attach(FamilyDialog& dialog, Args... args) {
    auto owned = std::make_unique<T>(&dialog, args...);
    T* control = owned.get();
    dialog.GetPaintManager()->AddControl(std::move(owned));
    control->SetFontName(kFace);
    return control;
}

void AddPushButtons(FamilyDialog& dialog, int top) {
    const wchar_t* labels[] = {L"MButton normal", L"hovered", L"pressed", L"disabled"};
    for (int column = 0; column < 4; ++column) {
        dialog.AddLabel(Cell(column, top, 140, 18), labels[column]);
        auto* button = Make<Orvo::MButton>(dialog, L"MButton", 200 + column,
                                           Cell(column, top + 22, 110, 30), L"Apply");
        if (button == nullptr) {
            continue;
        }
        button->SetImage(L"img_button.png", 4);
        if (column == 1) {
            Hover(button);
        } else if (column == 2) {
            Press(button);
        } else if (column == 3) {
            button->SetEnabled(0);
        }
    }
    dialog.AddLabel(Cell(4, top, 140, 18), L"secondary");
    if (auto* second = Make<Orvo::CImageButton>(dialog, L"CImageButton", 204,
                                                Cell(4, top + 22, 110, 30), L"Cancel")) {
        second->SetImage(L"img_button2.png", 4);
    }
    dialog.AddLabel(Cell(5, top, 140, 18), L"CTimerButton");
    if (auto* timer = Make<Orvo::CTimerButton>(dialog, L"CTimerButton", 205,
                                               Cell(5, top + 22, 130, 30), L"Resend")) {
        timer->SetImage(L"img_button2.png", 4);
        timer->SetRun(1);
    }
}

void AddChecks(FamilyDialog& dialog, int top) {
    dialog.AddLabel(Cell(0, top, 140, 18), L"CCheckButton");
    dialog.AddLabel(Cell(2, top, 140, 18), L"CRadioButton group");
    dialog.AddLabel(Cell(4, top, 140, 18), L"CSwitchButton");
    const wchar_t* checks[] = {L"Beep", L"Angle snap", L"Hovered", L"Disabled"};
    for (int i = 0; i < 4; ++i) {
        auto* box =
            Make<Orvo::CCheckButton>(dialog, L"CCheckButton", 210 + i,
                                     Cell(i / 2, top + 22 + (i % 2) * 30, 140, 24), checks[i]);
        if (box == nullptr) {
            continue;
        }
        box->SetImage(L"btn_checkbox.png", 8);
        box->SetCheck(i == 1 || i == 3 ? 1 : 0);
        if (i == 2) {
            Hover(box);
        } else if (i == 3) {
            box->SetEnabled(0);
        }
    }
    const wchar_t* radios[] = {L"125 Hz", L"500 Hz", L"1000 Hz", L"Off"};
    for (int i = 0; i < 4; ++i) {
        auto* radio =
            Make<Orvo::CRadioButton>(dialog, L"CRadioButton", 220 + i,
                                     Cell(2 + i / 2, top + 22 + (i % 2) * 30, 140, 24), radios[i]);
        if (radio == nullptr) {
            continue;
        }
        radio->SetImage(L"btn_radiobox.png", 8);
        radio->SetGroupName(L"rate");
        if (i == 2) {
            radio->SetCheck(1);
        } else if (i == 3) {
            radio->SetEnabled(0);
        }
    }
    for (int i = 0; i < 3; ++i) {
        auto* toggle = Make<Orvo::CSwitchButton>(dialog, L"CSwitchButton", 230 + i,
                                                 Cell(4, top + 22 + i * 30, 44, 24), L"");
        if (toggle == nullptr) {
            continue;
        }
        toggle->SetImage(L"img_switch_btn_on.png", L"img_switch_btn_off.png", 4);
        toggle->SetCheck(i == 0 ? 1 : 0);
        if (i == 2) {
            toggle->SetEnabled(0);
        }
    }
    const wchar_t* switchLabels[] = {L"on", L"off", L"disabled"};
    for (int i = 0; i < 3; ++i) {
        dialog.AddLabel(RECT{kLeft + 4 * kColumn + 54, top + 25 + i * 30, kLeft + 5 * kColumn - 8,
                             top + 43 + i * 30},
                        switchLabels[i]);
    }
    dialog.AddLabel(Cell(5, top, 140, 18), L"CSelectButton");
    const wchar_t* selects[] = {L"Wired", L"Wireless"};
    for (int i = 0; i < 2; ++i) {
        auto* select = Make<Orvo::CSelectButton>(dialog, L"CSelectButton", 235 + i,
                                                 Cell(5, top + 22 + i * 30, 140, 24), selects[i]);
        if (select != nullptr) {
            select->SetImage(L"btn_select.png", 4);
            select->SetGroupName(L"mode");
            select->SetCheck(i == 0 ? 1 : 0);
        }
    }
}

void AddTextAndIcons(FamilyDialog& dialog, int top) {
    dialog.AddLabel(Cell(0, top, 140, 18), L"CTextButton");
    if (auto* text = Make<Orvo::CTextButton>(dialog, L"CTextButton", 240,
                                             Cell(0, top + 22, 130, 24), L"Restore defaults")) {
        text->SetAlignment(0, 4);
    }
    if (auto* hovered = Make<Orvo::CTextButton>(dialog, L"CTextButton", 241,
                                                Cell(0, top + 50, 130, 24), L"Hovered link")) {
        hovered->SetAlignment(0, 4);
        Hover(hovered);
    }
    dialog.AddLabel(Cell(1, top, 140, 18), L"CIconButton");
    if (auto* icon = Make<Orvo::CIconButton>(dialog, L"CIconButton", 242,
                                             Cell(1, top + 22, 120, 30), L"Upload")) {
        icon->SetImage(L"img_button2.png", 4);
        icon->SetIconImage(L"icon\\icon_arrow_up.png", 4);
        icon->SetTextRect(RECT{28, 0, 120, 30}, RECT{12, 0, 28, 30});
        Hover(icon);
    }
    dialog.AddLabel(Cell(2, top, 140, 18), L"TextCheckButton");
    const wchar_t* words[] = {L"Left handed", L"Checked"};
    for (int i = 0; i < 2; ++i) {
        auto* word = Make<Orvo::TextCheckButton>(dialog, L"TextCheckButton", 243 + i,
                                                 Cell(2, top + 22 + i * 28, 140, 24), words[i]);
        if (word != nullptr) {
            word->SetCheck(i);
        }
    }
    dialog.AddLabel(Cell(3, top, 140, 18), L"CHelpButton");
    if (auto* help = Make<Orvo::CHelpButton>(dialog, L"CHelpButton", 245, Cell(3, top + 26, 18, 18),
                                             L"Lift-off distance")) {
        help->SetImage(L"btn_help.png", 4);
    }
    if (auto* hot =
            Make<Orvo::CHelpButton>(dialog, L"CHelpButton", 246, Cell(3, top + 54, 18, 18), L"")) {
        hot->SetImage(L"btn_help.png", 4);
        Hover(hot);
    }
    dialog.AddLabel(Cell(4, top, 200, 18), L"CColorButton group");
    const Orvo::ColorRef swatches[] = {
        Orvo::ColorRef::FromRgb(255, 75, 0),   Orvo::ColorRef::FromRgb(43, 213, 118),
        Orvo::ColorRef::FromRgb(60, 130, 255), Orvo::ColorRef::FromRgb(255, 194, 51),
        Orvo::ColorRef::FromRgb(200, 60, 220),
    };
    for (int i = 0; i < 5; ++i) {
        const RECT place = {kLeft + 4 * kColumn + i * 32, top + 24,
                            kLeft + 4 * kColumn + i * 32 + 26, top + 50};
        auto* swatch =
            dynamic_cast<Orvo::CColorButton*>(dialog.Create(L"CColorButton", 250 + i, place, L""));
        if (swatch == nullptr) {
            continue;
        }
        swatch->SetColor(swatches[i]);
        swatch->SetGroupName(L"lights");
        if (i == 1) {
            swatch->SetCheck(1);
        } else if (i == 3) {
            Hover(swatch);
        } else if (i == 4) {
            swatch->SetEnabled(0);
        }
    }
}

void AddPanelButtons(FamilyDialog& dialog, int top) {
    dialog.AddLabel(Cell(0, top, 140, 18), L"MButton2 group");
    const wchar_t* functions[] = {L"Left", L"Right"};
    for (int i = 0; i < 2; ++i) {
        auto* pick = Attach<Orvo::MButton2>(
            dialog, 260u + i, Orvo::CRect(Shifted(Cell(0, top + 22, 64, 30), i * 70)), 1, 1);
        pick->SetImage(L"img_button2.png", 4);
        pick->SetTitle(functions[i]);
        pick->SetControlCheck(i == 0 ? 1 : 0);
    }
    dialog.AddLabel(Cell(1, top, 140, 18), L"MButton3 toggle");
    auto* toggle =
        Attach<Orvo::MButton3>(dialog, 262u, Orvo::CRect(Cell(1, top + 22, 120, 30)), 1, 1);
    toggle->SetImage(L"img_button2.png", 4);
    toggle->SetTitle(L"Sniper");
    toggle->SetCheck(1);

    dialog.AddLabel(Cell(2, top, 140, 18), L"ColorButtonEx");
    const Orvo::Argb cards[] = {Orvo::Argb(0xFFFF4B00), Orvo::Argb(0xFF3C82FF)};
    const int values[] = {800, 1600};
    for (int i = 0; i < 2; ++i) {
        auto* card = Attach<Orvo::ColorButtonEx>(
            dialog, 263u + i, Orvo::CRect(Shifted(Cell(2, top + 22, 64, 30), i * 70)), L"", 1, 1);
        card->SetColor(cards[i]);
        card->SetValue(values[i]);
        card->SetGroupName(L"stages");
        card->SetControlCheck(i == 0 ? 1 : 0);
    }
    dialog.AddLabel(Cell(3, top, 140, 18), L"DownloadButton");
    auto* download = Attach<Orvo::DownloadButton>(
        dialog, 265u, Orvo::CRect(Cell(3, top + 22, 120, 30)), L"Download", 1, 1);
    download->SetImage(L"img_download.png", 2);
    download->SetDownloadProcess(60);
    dialog.AddLabel(Cell(4, top, 140, 18), L"UpgradeButton");
    auto* upgrade = Attach<Orvo::UpgradeButton>(
        dialog, 266u, Orvo::CRect(Cell(4, top + 22, 120, 30)), L"Update", 1, 1);
    upgrade->SetImage(L"img_button.png", 4);
    dialog.AddLabel(Cell(5, top, 140, 18), L"LongPressButton");
    auto* repeat = Attach<Orvo::LongPressButton>(
        dialog, 267u, Orvo::CRect(Cell(5, top + 22, 40, 30)), L"+", 1, 1);
    repeat->SetImage(L"img_button2.png", 4);
    Press(repeat);
}

void BuildButtons(FamilyDialog& dialog) {
    const RECT content = dialog.ContentRect();
    AddPushButtons(dialog, content.top);
    AddChecks(dialog, content.top + 80);
    AddTextAndIcons(dialog, content.top + 200);
    AddPanelButtons(dialog, content.top + 300);
    dialog.BeforeCapture(PutThePointerAway, 4);
}

}  // namespace

ORVO_GALLERY_FAMILY(L"buttons", BuildButtons);

}  // namespace Gallery
