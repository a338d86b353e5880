// The key function pickers: the kinds of function with their icons (one selected, one
// hovered) and the functions of the chosen kind (one selected).
#include <windows.h>

#include <memory>

#include "family_card.h"
#include "family_dialog.h"
#include "orvo/control_factory.h"
#include "orvo/key_func.h"
#include "orvo/paint_manager.h"

namespace Gallery {
namespace {

constexpr UINT kTypes = 69;
constexpr UINT kValues = 74;

template <typename T>
T* MakeOnPage(FamilyDialog& dialog, const wchar_t* name, UINT id, const RECT& rect) {
    std::unique_ptr<Orvo::MControl> made = Orvo::ControlFactory::Create(
        Orvo::FactoryTable::kPanel, name, &dialog, id, rect, L"", 1, 1);
    return made != nullptr ? static_cast<T*>(dialog.GetPaintManager()->AddControl(std::move(made)))
                           : nullptr;
}

void HoverKeyboard(FamilyDialog& dialog) {
    // The pointer rests on the third kind, "Keyboard key".
    ::SendMessageW(dialog.GetSafeHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(120, 100 + 2 * 40 + 20));
}

void BuildKeys(FamilyDialog& dialog) {
    const RECT area = dialog.ContentRect();
    dialog.AddLabel(RECT{area.left, area.top, area.left + 300, area.top + 22},
                    L"KeyFuncType: mouse selected, keyboard hovered");
    const auto card = [&](const RECT& rect) {
        dialog.GetPaintManager()->AddAreaControl(std::make_unique<FamilyCard>(&dialog, 0, rect));
    };
    card(RECT{area.left, 90, area.left + 280, 510});
    card(RECT{area.left + 300, 90, area.left + 580, 440});
    card(RECT{area.left + 600, 90, area.left + 880, 330});
    if (auto* types = MakeOnPage<Orvo::KeyFuncType>(
            dialog, L"KeyFuncType", kTypes, RECT{area.left + 10, 100, area.left + 270, 500})) {
        const struct {
            const wchar_t* text;
            int type;
            const wchar_t* icon;
        } kinds[] = {{L"Default", 0, L"icon\\keytype_0.png"},
                     {L"Mouse function", 1, L"icon\\keytype_1.png"},
                     {L"Keyboard key", 2, L"icon\\keytype_2.png"},
                     {L"Macro", 5, L"icon\\keytype_4.png"},
                     {L"Multimedia", 4, L"icon\\keytype_6.png"},
                     {L"System shortcut", 7, L"icon\\keytype_7.png"},
                     {L"Disabled", 8, L"icon\\keytype_9.png"},
                     {L"Launch a program", 9, L"icon\\keytype_10.png"},
                     {L"Open a web address", 10, L"icon\\keytype_11.png"},
                     {L"Type a text", 11, L"icon\\keytype_12.png"}};
        for (const auto& kind : kinds) {
            types->AddItem(kind.text, kind.type, kind.icon);
        }
        types->SetCurData(1);
    }

    const int right = area.left + 300;
    dialog.AddLabel(RECT{right, area.top, right + 290, area.top + 22},
                    L"KeyFuncValue: mouse functions");
    if (auto* values = MakeOnPage<Orvo::KeyFuncValue>(dialog, L"KeyFuncValue", kValues,
                                                      RECT{right + 10, 100, right + 270, 430})) {
        const wchar_t* functions[] = {L"Left click", L"Middle click", L"Right click",
                                      L"Back",       L"Forward",      L"Double click",
                                      L"Scroll up",  L"Scroll down",  L"DPI up",
                                      L"DPI down",   L"DPI cycle"};
        const int data[] = {1, 2, 3, 5, 6, 4, 7, 8, 9, 10, 11};
        for (int i = 0; i < 11; ++i) {
            values->AddItem(functions[i], data[i], nullptr);
        }
        values->SetCurData(1);
    }

    const int third = area.left + 600;
    dialog.AddLabel(RECT{third, area.top, third + 290, area.top + 22},
                    L"KeyFuncValue: multimedia keys, none chosen");
    if (auto* media = MakeOnPage<Orvo::KeyFuncValue>(dialog, L"KeyFuncValue", kValues + 1,
                                                     RECT{third + 10, 100, third + 270, 320})) {
        const wchar_t* keys[] = {L"Play / pause", L"Stop",      L"Previous track",
                                 L"Next track",   L"Volume up", L"Volume down",
                                 L"Mute"};
        for (int i = 0; i < 7; ++i) {
            media->AddItem(keys[i], i + 1, nullptr);
        }
    }
    dialog.BeforeCapture(HoverKeyboard, 2);
}

}  // namespace

ORVO_GALLERY_FAMILY(L"keys", BuildKeys);

}  // namespace Gallery
