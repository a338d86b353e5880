// The device list with a wired mouse (charging) and a receiver, the battery gauge at its
// levels, the device state label and the device button.
#include <memory>

#include "family_dialog.h"
#include "orvo/battery.h"
#include "orvo/device_list.h"
#include "orvo/manager.h"
#include "orvo/paint_manager.h"

namespace Gallery {
namespace {

constexpr int kPageWidth = 1200;
constexpr int kPageHeight = 680;

void Label(FamilyDialog& dialog, const RECT& cell, const wchar_t* text) {
    dialog.AddLabel(RECT{cell.left, cell.top - 20, cell.right + 40, cell.top - 2}, text);
}

constexpr UINT kListId = 180;

// The window is told the pointer rests on bare ground, so the picture never depends on
// where the pointer happened to be (no card hovered). The pointer itself stays where it is:
// the pages photographed after this one find it as they expect.
void PutThePointerAway(FamilyDialog& dialog) {
    ::SendMessageW(dialog.GetSafeHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(4, dialog.Height() - 4));
}

void BuildDevices(FamilyDialog& dialog) {
    dialog.SetMTimer(10);
    const RECT content = dialog.ContentRect();
    const std::wstring skins = Orvo::Manager::GetSkinDirectory();

    // A row of gauges along the top. The charging one is full, so its animation (which
    // fills the gauge up from the level) stands still for the picture.
    const struct {
        int level;
        int charging;
        const wchar_t* label;
    } gauges[] = {{100, 0, L"100 %"}, {80, 0, L"80 %"}, {55, 0, L"55 %"},
                  {30, 0, L"30 %"},   {10, 0, L"10 %"}, {100, 1, L"charging"}};
    int x = content.left;
    const int gaugeTop = content.top + 22;
    for (const auto& gauge : gauges) {
        const RECT cell{x, gaugeTop, x + 60, gaugeTop + 20};
        Label(dialog, cell, gauge.label);
        auto* battery = static_cast<Orvo::BatteryCtrl*>(
            dialog.Create(L"BatteryCtrl", 160 + static_cast<UINT>(x), cell));
        battery->SetImage(L"icon\\icon_battery_bkg.png", 1);
        battery->SetBatteryIcon(L"icon\\icon_batteryvalue.png", L"icon\\icon_charge.png");
        battery->SetBatteryInfo(gauge.level, gauge.charging);
        x += 100;
    }

    RECT cell{x + 20, gaugeTop - 5, x + 120, gaugeTop + 25};
    Label(dialog, cell, L"CDeviceState");
    auto* state =
        static_cast<Orvo::CDeviceState*>(dialog.Create(L"CDeviceState", 170, cell, L"Connected"));
    state->SetImage(L"img_area.png", 1);
    state->SetFontWidth(12);

    cell = RECT{x + 160, gaugeTop - 10, x + 420, gaugeTop + 30};
    Label(dialog, cell, L"CDeviceCtrl");
    auto button = std::make_unique<Orvo::CDeviceCtrl>(&dialog, 171, cell, 1, 1);
    button->SetImage((skins + L"icon\\keytype_1.png").c_str(), 2);
    button->SetTitle(L"Tavik Mouse");
    button->SetShowMode(1);
    button->SetDeviceStatus(1);
    dialog.GetPaintManager()->AddControl(std::move(button));

    const RECT listRect{content.left, gaugeTop + 40, content.right, content.bottom};
    auto* list = static_cast<Orvo::CDeviceList*>(dialog.Create(L"CDeviceList", kListId, listRect));
    list->SetBatteryBkg(L"icon\\icon_battery_bkg.png");
    list->SetBatteryIcon(L"icon\\icon_batteryvalue.png", L"icon\\icon_charge.png");
    list->SetDevModeImage(L"device_mode.png");
    list->SetDevModeDesc(L"Wired", L"Wireless");
    list->AddDevice(L"Tavik Mouse Lite", 101, (skins + L"device\\mouse_101.png").c_str());
    list->AddDevice(L"Tavik Receiver", 102, (skins + L"device\\receiver_102.png").c_str());
    list->SetDeviceState(101, 0, 1);
    list->SetDeviceState(102, 1, 1);
    list->SetDeviceBattery(101, 1, 60);
    list->SetDeviceBattery(102, 0, 85);
    dialog.BeforeCapture(PutThePointerAway, 4);
}

}  // namespace

ORVO_GALLERY_FAMILY_SIZED(L"devices", BuildDevices, kPageWidth, kPageHeight);

}  // namespace Gallery
