// Two toolkit windows for the drag test under a real X11 pointer: "orvo drag source" holds
// an orange swatch that can be dragged out as its picture, "orvo drag target" takes what is
// dropped on it. The program ends with 0 when the target received a picture of the swatch's
// size and colour, 1 when it received something else, and 2 when nothing came within a
// minute. It prints what it saw.
#include <windows.h>

#include <cstdio>

#include "drag_drop_support.h"

namespace {

constexpr COLORREF kSwatch = RGB(255, 120, 0);
constexpr UINT_PTR kGiveUpTimer = 7;
constexpr UINT_PTR kQuitTimer = 8;
constexpr UINT kGiveUpMs = 60000;

int g_result = 2;

class TargetDialog : public OrvoTest::PictureDialog {
public:
    void OnPicture(HBITMAP picture) override {
        const OrvoTest::BitmapProbe probe = OrvoTest::ProbeBitmap(picture, 50, 40);
        const DWORD expected = (DWORD{GetRValue(kSwatch)} << 16) |
                               (DWORD{GetGValue(kSwatch)} << 8) | GetBValue(kSwatch);
        std::printf("dropped %dx%d, centre 0x%06lx\n", probe.width, probe.height,
                    static_cast<unsigned long>(probe.pixel));
        g_result = probe.width == 100 && probe.height == 80 && probe.pixel == expected ? 0 : 1;
        // The drag loop is still running here and would take a quit message for itself.
        SetTimer(kQuitTimer, 10);
    }
    void OnTimer(UINT_PTR id) override {
        if (id == kGiveUpTimer) {
            std::printf("nothing was dropped\n");
        }
        if (id == kGiveUpTimer || id == kQuitTimer) {
            ::PostQuitMessage(0);
        }
    }
};

}  // namespace

int wmain() {
    OrvoTest::StartGdiplus();
    OrvoTest::TestDialog source;
    TargetDialog target;
    if (source.Create(nullptr, L"orvo drag source", WS_POPUP, 0, Orvo::CRect(100, 100, 400, 300)) ==
            nullptr ||
        target.Create(nullptr, L"orvo drag target", WS_POPUP, 0, Orvo::CRect(600, 100, 900, 300)) ==
            nullptr) {
        std::printf("the windows could not be made\n");
        return 3;
    }
    source.Add<OrvoTest::SwatchControl>(1, RECT{50, 50, 150, 130}, kSwatch);
    source.ShowWindow(SW_SHOW);
    target.ShowWindow(SW_SHOW);
    target.SetTimer(kGiveUpTimer, kGiveUpMs);
    std::fflush(stdout);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    std::fflush(stdout);
    source.DestroyWindow();
    target.DestroyWindow();
    return g_result;
}
