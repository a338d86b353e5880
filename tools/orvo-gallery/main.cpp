// orvo-gallery: one skinned dialog showing the toolkit at work: skin strips in every
// state, nine-patch frames, gradients, rounded shapes, text in the private font and in
// Chinese, the shadow, live controls with tooltips and the overlay progress.
// "--capture FILE.png" photographs the dialog with a tooltip and the progress showing,
// writes the picture and exits (the screenshot test uses it); the exit status is the
// capture's result.

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "gallery_dialog.h"
#include "gallery_scene.h"
#include "orvo/manager.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    Orvo::Manager::SetInstance(instance);
    if (!Orvo::Manager::InitGdiplus()) {
        return 1;
    }
    Orvo::Manager::SetFontName(Gallery::kUiFace);
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    std::wstring capturePath;
    if (argv != nullptr && argc == 3 && std::wstring(argv[1]) == L"--capture") {
        capturePath = argv[2];
    }
    ::LocalFree(argv);

    int result = 1;
    {
        Gallery::GalleryDialog dialog(capturePath);
        const int x = (::GetSystemMetrics(SM_CXSCREEN) - Gallery::kWidth) / 2;
        const int y = (::GetSystemMetrics(SM_CYSCREEN) - Gallery::kHeight) / 2;
        if (dialog.Create(nullptr, L"Orvo gallery", WS_POPUP | WS_MINIMIZEBOX | WS_SYSMENU, 0,
                          RECT{x, y, x + Gallery::kWidth, y + Gallery::kHeight}) != nullptr) {
            if (!capturePath.empty()) {
                // Read back from the screen: nothing may cover it.
                ::SetWindowPos(dialog.GetSafeHwnd(), HWND_TOPMOST, 0, 0, 0, 0,
                               SWP_NOMOVE | SWP_NOSIZE);
            }
            dialog.ShowModal(SW_SHOW);
            result = capturePath.empty() ? 0 : dialog.CaptureResult();
        }
    }
    Orvo::Manager::UnInitGdiplus();
    return result;
}
