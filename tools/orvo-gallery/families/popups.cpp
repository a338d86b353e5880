// The popup family: an open context menu (hovered, checked, separated and disabled entries),
// a popup window hosting controls, the tip bubble under a button, the key hint card and the
// loading window.
#include <memory>

#include "family_dialog.h"
#include "orvo/buttons.h"
#include "orvo/loading_wnd.h"
#include "orvo/menu_wnd.h"
#include "orvo/paint_manager.h"
#include "orvo/popup_wnd.h"

namespace Gallery {
namespace {

constexpr UINT kMenuCommand = 1709;
constexpr UINT kOpenerId = 300;
constexpr UINT kLampId = 301;
constexpr UINT kRenameId = 14;
constexpr wchar_t kFace[] = L"Open Sans Semibold";

// Where the popups go, in the dialog's client coordinates.
constexpr POINT kMenuAt = {40, 110};
constexpr RECT kPopupRect = {300, 110, 520, 230};
constexpr RECT kBubbleButton = {600, 110, 720, 140};
constexpr POINT kTipsAt = {600, 260};
constexpr RECT kLoadingRect = {300, 300, 520, 470};
constexpr RECT kLampRect = {40, 500, 84, 524};

// The gallery's windows that outlive one step; the menu deletes itself.
struct PopupWindows {
    std::unique_ptr<Orvo::MPopupWnd> popup;
    std::unique_ptr<Orvo::CKeyboardTips> tips;
    std::unique_ptr<Orvo::LoadingWnd> loading;
};

PopupWindows& Windows() {
    static PopupWindows windows;
    return windows;
}

POINT ToScreen(FamilyDialog& dialog, POINT point) {
    ::ClientToScreen(dialog.GetSafeHwnd(), &point);
    return point;
}

RECT ToScreen(FamilyDialog& dialog, const RECT& rect) {
    const POINT topLeft = ToScreen(dialog, POINT{rect.left, rect.top});
    return RECT{topLeft.x, topLeft.y, topLeft.x + rect.right - rect.left,
                topLeft.y + rect.bottom - rect.top};
}

// The page's context menu, built as an application builds its menus: its items are added in
// InitUI, before the window shows, and the recorded changes apply there.
class GalleryMenu : public Orvo::MenuWnd {
public:
    using MenuWnd::MenuWnd;

    void InitUI(const Orvo::CRect& clientRect) override {
        SetHoverImage(L"img_menu_hover.png");
        SetCheckImage(L"img_menu_check.png");
        AddMenu(L"Copy macro", 11, L"");
        AddMenu(L"Record again", 12, L"");
        AddSeparator(13, L"img_menu_line.png");
        AddMenu(L"Rename", kRenameId, L"");
        AddMenu(L"Delete", 15, L"");
        for (UINT id : {11u, 12u, 14u, 15u}) {
            if (auto* item = dynamic_cast<Orvo::MenuItem*>(GetControl(id))) {
                item->SetTextColor(Orvo::Argb(0xFFFFFFFF));
            }
        }
        SetItemCheck(12, 1);
        SetItemEnable(15, 0);
        MenuWnd::InitUI(clientRect);
    }
};

Orvo::MenuWnd* OpenMenu(FamilyDialog& dialog, POINT at) {
    auto* menu = new GalleryMenu(&dialog);
    menu->SetMenuFont(kFace, 14, 0);
    if (!menu->Create(dialog.GetSafeHwnd(), ToScreen(dialog, at), kMenuCommand, L"img_menu_bkg.png",
                      200)) {
        delete menu;
        return nullptr;
    }
    return menu;
}

// The page's popup stays open beside the menu: its typed handler takes the deactivation that
// would close it.
class StayingPopup : public Orvo::MPopupWnd {
public:
    LRESULT OnNcActivate(BOOL) override { return 1; }
};

// A button that opens the menu under itself; the menu's command comes back to the dialog as a
// posted message, which this control takes from the window's message stream and shows by
// turning the lamp switch on when "Rename" was chosen.
class MenuOpenerButton : public Orvo::CImageButton {
public:
    MenuOpenerButton(FamilyDialog& dialog, const RECT& rect)
        : CImageButton(&dialog, kOpenerId, rect, L"Open menu", 1, 1), m_dialog(dialog) {}

    LRESULT OnWindowMessage(UINT msg, WPARAM, LPARAM lParam) override {
        if (msg != kMenuCommand) {
            return 0;
        }
        if (lParam == static_cast<LPARAM>(kRenameId)) {
            if (auto* lamp = dynamic_cast<Orvo::CSwitchButton*>(m_dialog.GetControl(kLampId))) {
                lamp->SetCheck(1);
            }
        }
        return 1;
    }

protected:
    void OnClicked() override { OpenMenu(m_dialog, POINT{m_rect.left, m_rect.bottom}); }

private:
    FamilyDialog& m_dialog;  // not owned: the page's dialog
};

void OpenPopupWindows(FamilyDialog& dialog) {
    PopupWindows& windows = Windows();
    // A popup that never takes the activation, so the menu opened after it keeps it open.
    windows.popup = std::make_unique<StayingPopup>();
    windows.popup->SetBackColor(Orvo::ColorRef::FromRgb(0x1C, 0x20, 0x27));
    if (windows.popup->Create(dialog.GetSafeHwnd(), L"Popup", WS_POPUP | WS_VISIBLE,
                              WS_EX_NOACTIVATE, ToScreen(dialog, kPopupRect)) != nullptr) {
        const wchar_t* rates[] = {L"250 Hz", L"1000 Hz"};
        for (int i = 0; i < 2; ++i) {
            auto* radio = dynamic_cast<Orvo::CRadioButton*>(windows.popup->CreateControl(
                L"CRadioButton", 1 + i, RECT{16, 16 + i * 32, 200, 40 + i * 32}, rates[i], 1, 1));
            if (radio != nullptr) {
                radio->SetImage(L"btn_radiobox.png", 8);
                radio->SetFontName(kFace);
                radio->SetGroupName(L"rate");
                radio->SetControlCheck(i);
            }
        }
        if (auto* ok = dynamic_cast<Orvo::MButton*>(windows.popup->CreateControl(
                L"MButton", 3, RECT{120, 82, 204, 110}, L"OK", 1, 1))) {
            ok->SetImage(L"img_button.png", 4);
            ok->SetFontName(kFace);
        }
    }

    windows.tips = std::make_unique<Orvo::CKeyboardTips>();
    if (windows.tips->CreateTips(dialog.GetSafeHwnd())) {
        windows.tips->SetAirBladderMsg(L"Ctrl + Shift + F5", L"Switches to the next profile",
                                       L"Hold for two seconds to reset it",
                                       ToScreen(dialog, kTipsAt));
    }

    windows.loading = std::make_unique<Orvo::LoadingWnd>();
    windows.loading->LoadBKImage(L"img_area_bkg.png");
    if (windows.loading->CreateDlg(dialog.GetSafeHwnd(), ToScreen(dialog, kLoadingRect))) {
        // A still frame, so the picture is the same at every capture.
        windows.loading->SetRun(false);
    }

    dialog.SetAirBladderMsg(L"Tip bubble below its button",
                            dialog.GetAirBladderPoint(dialog.GetControl(kOpenerId), 0), 1);
    if (Orvo::MenuWnd* menu = OpenMenu(dialog, kMenuAt)) {
        if (Orvo::MControl* hovered = menu->GetControl(11)) {
            const Orvo::CRect place = hovered->GetRect();
            hovered->OnControlMouseMove(0, POINT{place.left + 10, place.top + 5});
        }
    }
}

void BuildPopups(FamilyDialog& dialog) {
    const RECT content = dialog.ContentRect();
    dialog.AddLabel(RECT{kMenuAt.x, content.top, kMenuAt.x + 200, content.top + 18},
                    L"MenuWnd with MenuItem");
    dialog.AddLabel(RECT{kPopupRect.left, content.top, kPopupRect.right, content.top + 18},
                    L"MPopupWnd hosting controls");
    dialog.AddLabel(
        RECT{kBubbleButton.left, content.top, kBubbleButton.left + 300, content.top + 18},
        L"MAirBladder (tip bubble)");
    dialog.AddLabel(RECT{kTipsAt.x, kTipsAt.y - 22, kTipsAt.x + 300, kTipsAt.y - 4},
                    L"CKeyboardTips");
    dialog.AddLabel(
        RECT{kLoadingRect.left, kLoadingRect.top - 22, kLoadingRect.right, kLoadingRect.top - 4},
        L"LoadingWnd");
    auto opener = std::make_unique<MenuOpenerButton>(dialog, kBubbleButton);
    MenuOpenerButton* button = opener.get();
    dialog.GetPaintManager()->AddControl(std::move(opener));
    button->SetImage(L"img_button2.png", 4);
    button->SetFontName(kFace);
    button->SetAlrBladderMode(1);
    dialog.AddLabel(
        RECT{kLampRect.right + 10, kLampRect.top + 3, kLampRect.right + 400, kLampRect.bottom - 3},
        L"on once the menu's \"Rename\" command came back");
    if (auto* lamp = dynamic_cast<Orvo::CSwitchButton*>(
            dialog.Create(L"CSwitchButton", kLampId, kLampRect, L""))) {
        lamp->SetImage(L"img_switch_btn_on.png", L"img_switch_btn_off.png", 4);
    }
    dialog.BeforeCapture(OpenPopupWindows, 6);
}

}  // namespace

ORVO_GALLERY_FAMILY(L"popups", BuildPopups);

}  // namespace Gallery
