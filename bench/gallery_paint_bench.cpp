// Paint time of the gallery's family pages: each page is shown as the gallery shows it, then
// painted again and again with every control's bitmap cache thrown away (a first paint, or a
// page whose every control changed) and with the caches kept (a repaint of unchanged
// controls). Prints milliseconds per paint. Built beside the program, so the skins are found.
//   gallery_paint_bench.exe [family...]   (no names: every family page)

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "family_dialog.h"
#include "gallery_scene.h"
#include "orvo/manager.h"
#include "orvo/paint_manager.h"

namespace {

constexpr int kPaints = 40;

void Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    ::QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

void InvalidateCaches(Orvo::PaintManager& manager) {
    const auto invalidate = [](Orvo::MControl* control) {
        control->SetUpdate(0, Orvo::ColorRef());
    };
    for (Orvo::MControl* control : manager.GetAreaControls()) {
        control->ForEachInTree(invalidate);
    }
    for (Orvo::MControl* control : manager.GetControls()) {
        control->ForEachInTree(invalidate);
    }
}

// Milliseconds per paint of the page, caches thrown away or kept.
void Measure(const Gallery::FamilyPage& page) {
    Gallery::FamilyDialog dialog(page, L"");
    Orvo::MDialog& window = dialog;
    if (window.Create(nullptr, L"Orvo gallery", WS_POPUP, 0,
                      RECT{40, 40, 40 + Gallery::kWidth, 40 + Gallery::kHeight}) == nullptr) {
        std::printf("%-10ls the dialog could not be made\n", page.name);
        return;
    }
    dialog.ShowWindow(SW_SHOW);
    Pump();
    ::UpdateWindow(dialog.GetSafeHwnd());
    const HWND hwnd = dialog.GetSafeHwnd();
    Orvo::PaintManager& manager = *dialog.GetPaintManager();

    double cold = 0;
    for (int i = 0; i < kPaints; ++i) {
        InvalidateCaches(manager);
        const double start = Now();
        ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        cold += Now() - start;
    }
    double warm = 0;
    for (int i = 0; i < kPaints; ++i) {
        const double start = Now();
        ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        warm += Now() - start;
    }
    std::printf("%-10ls every cache redrawn %7.2f ms   caches kept %7.2f ms   (%d paints each)\n",
                page.name, cold / kPaints, warm / kPaints, kPaints);
    dialog.DestroyWindow();
    Pump();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    Orvo::Manager::SetInstance(::GetModuleHandleW(nullptr));
    if (!Orvo::Manager::InitGdiplus()) {
        return 1;
    }
    Orvo::Manager::SetFontName(Gallery::kUiFace);
    std::vector<std::wstring> wanted(argv + 1, argv + argc);
    for (const Gallery::FamilyPage& page : Gallery::FamilyPages()) {
        bool chosen = wanted.empty();
        for (const std::wstring& name : wanted) {
            chosen = chosen || name == page.name;
        }
        if (chosen) {
            Measure(page);
        }
    }
    std::fflush(stdout);
    return 0;
}
