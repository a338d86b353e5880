// Paint time of the value, colour, device and picture controls as the gallery shows them:
// one window of each family, painted with every control's cache dropped (what a page costs
// when it first shows or everything changed) and with the caches kept (an ordinary
// repaint). Run under Wine beside the skins: bench/value_controls_paint_bench [rounds]
#include <windows.h>
#include <gdiplus.h>

#include <chrono>
#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>

#include "orvo/battery.h"
#include "orvo/dialog.h"
#include "orvo/device_list.h"
#include "orvo/manager.h"
#include "orvo/paint_manager.h"
#include "orvo/palette.h"
#include "orvo/picture.h"
#include "orvo/progress.h"
#include "orvo/render.h"
#include "orvo/slider.h"

namespace {

class BenchDialog : public Orvo::MDialog {
public:
    Orvo::MControl* Make(const wchar_t* className, int x, int y, int w, int h) {
        return CreateControl(className, 1, Orvo::CRect(x, y, x + w, y + h), L"", 1, 1);
    }
};

void BuildSliders(BenchDialog& d) {
    for (int i = 0; i < 4; ++i) {
        auto* slider = static_cast<Orvo::MSlider*>(d.Make(L"MSlider", 24 + 240 * i, 96, 216, 30));
        slider->SetThumbImage(L"img_slider_bar.png");
        slider->SetProgress(3 * i);
        auto* light =
            static_cast<Orvo::MSlider*>(d.Make(L"LightSlider", 24 + 240 * i, 196, 216, 40));
        light->SetThumbImage(L"img_slider_bar.png");
        light->SetImage(L"img_light_track.png", 1);
        auto* progress =
            static_cast<Orvo::MProgress*>(d.Make(L"MProgress", 24 + 240 * i, 290, 216, 10));
        progress->SetBackGroundImage(L"img_progress_bkg.png");
        progress->SetForeGroundImage(L"img_progress_fore.png");
        progress->SetProgress(20 * i + 10);
    }
    static_cast<Orvo::MLevelCtrl*>(d.Make(L"MLevelCtrl", 24, 370, 216, 36))->SetLevelValue(9);
}

void BuildColours(BenchDialog& d) {
    for (int i = 0; i < 2; ++i) {
        auto* palette =
            static_cast<Orvo::MPalette*>(d.Make(L"MPalette", 24 + 300 * i, 96, 254, 150));
        palette->SetThumbImage(L"img_palette_thumb.png");
    }
    static_cast<Orvo::MControlFont*>(d.Make(L"CirclePalette", 644, 96, 240, 240))
        ->SetImage(L"img_color_ring.png", 1);
}

void BuildDevices(BenchDialog& d) {
    const std::wstring skins = Orvo::Manager::GetSkinDirectory();
    auto* list = static_cast<Orvo::CDeviceList*>(d.Make(L"CDeviceList", 24, 128, 1152, 488));
    list->SetBatteryBkg(L"icon\\icon_battery_bkg.png");
    list->SetBatteryIcon(L"icon\\icon_batteryvalue.png", L"icon\\icon_charge.png");
    list->AddDevice(L"Tavik Mouse Lite", 101, (skins + L"device\\mouse_101.png").c_str());
    list->AddDevice(L"Tavik Receiver", 102, (skins + L"device\\receiver_102.png").c_str());
    list->SetDeviceState(101, 0, 1);
    list->SetDeviceState(102, 1, 1);
    for (int i = 0; i < 6; ++i) {
        auto* battery =
            static_cast<Orvo::BatteryCtrl*>(d.Make(L"BatteryCtrl", 24 + 100 * i, 88, 60, 20));
        battery->SetImage(L"icon\\icon_battery_bkg.png", 1);
        battery->SetBatteryIcon(L"icon\\icon_batteryvalue.png", L"icon\\icon_charge.png");
        battery->SetBatteryInfo(20 * i, 0);
    }
}

void BuildPictures(BenchDialog& d) {
    const wchar_t* images[] = {L"logo\\logo.png", L"btn_colorful.png", L"img_no_device.png",
                               L"img_area2.png",  L"img_area_bkg.png", L"device\\mouse_102.png"};
    for (int mode = 0; mode < 6; ++mode) {
        auto* picture = static_cast<Orvo::MPicture*>(
            d.Make(L"MPicture", 24 + 190 * (mode % 5), 96 + 170 * (mode / 5), 160, 110));
        picture->SetImage(images[mode], mode == 1 ? 4 : 1);
        picture->SetShowMode(mode, 12);
    }
    auto* gif = static_cast<Orvo::CGifPicture*>(d.Make(L"CGifPicture", 784, 266, 100, 100));
    gif->SetImage(L"loading.gif", 1);
}

double MillisecondsPerPaint(BenchDialog& dialog, bool dropCaches, int rounds) {
    Orvo::PaintManager& manager = *dialog.GetPaintManager();
    const Orvo::CRect client = manager.GetClientRect();
    Orvo::MemoryCanvas canvas(client.Width(), client.Height());
    const auto start = std::chrono::steady_clock::now();
    for (int round = 0; round < rounds; ++round) {
        if (dropCaches) {
            for (Orvo::MControl* control : manager.GetControls()) {
                control->SetUpdate(0, Orvo::ColorRef());
            }
        }
        manager.DrawControl(canvas.GetDC(), client);
        ::GdiFlush();
    }
    const std::chrono::duration<double, std::milli> spent =
        std::chrono::steady_clock::now() - start;
    return spent.count() / rounds;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int rounds = argc > 1 ? std::max(1, _wtoi(argv[1])) : 20;
    Orvo::Manager::SetInstance(::GetModuleHandleW(nullptr));
    if (!Orvo::Manager::InitGdiplus()) {
        return 1;
    }
    const struct {
        const char* name;
        void (*build)(BenchDialog&);
        int width;
        int height;
    } pages[] = {{"sliders", BuildSliders, 1000, 640},
                 {"colours", BuildColours, 1000, 640},
                 {"devices", BuildDevices, 1200, 680},
                 {"pictures", BuildPictures, 1000, 640}};
    std::printf("page       controls  first paint (ms)  repaint (ms)\n");
    for (const auto& page : pages) {
        BenchDialog dialog;
        if (dialog.Create(nullptr, L"bench", WS_POPUP, 0,
                          Orvo::CRect(0, 0, page.width, page.height)) == nullptr) {
            return 1;
        }
        page.build(dialog);
        MillisecondsPerPaint(dialog, true, 1);  // images decoded once
        const double cold = MillisecondsPerPaint(dialog, true, rounds);
        const double warm = MillisecondsPerPaint(dialog, false, rounds);
        std::printf("%-10s %8zu  %16.2f  %12.2f\n", page.name, dialog.GetControls().size(), cold,
                    warm);
        dialog.DestroyWindow();
    }
    Orvo::Manager::UnInitGdiplus();
    return 0;
}
