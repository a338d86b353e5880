// orvo-gallery: one skinned dialog showing the toolkit at work: skin strips in every
// state, nine-patch frames, gradients, rounded shapes, text in the private font and in
// Chinese, the shadow, live controls with tooltips and the overlay progress.
// "--capture FILE.png" photographs the dialog with a tooltip and the progress showing,
// writes the picture and exits (the screenshot test uses it); the exit status is the
// capture's result.
// "--family NAME [--capture FILE.png]" shows one control family's page instead (the family
// golden pictures come from it); "--list-families FILE" writes the family names, one a line.

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "family_dialog.h"

#include "gallery_dialog.h"
#include "gallery_scene.h"
#include "orvo/manager.h"

namespace {

bool WriteFamilyList(const std::wstring& path) {
    std::string text;
    for (const Gallery::FamilyPage& page : Gallery::FamilyPages()) {
        for (const wchar_t* c = page.name; *c != 0; ++c) {
            text += static_cast<char>(*c);  // family names are ASCII
        }
        text += "\n";
    }
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const BOOL ok =
        ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    ::CloseHandle(file);
    return ok && written == text.size();
}

// Shows the dialog centred until it closes; a capture keeps it above every other window,
// since the picture is read back from the screen.
bool RunDialog(Orvo::MDialog& dialog, bool interactive, int width = Gallery::kWidth,
               int height = Gallery::kHeight) {
    const int x = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int y = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    if (dialog.Create(nullptr, L"Orvo gallery", WS_POPUP | WS_MINIMIZEBOX | WS_SYSMENU, 0,
                      RECT{x, y, x + width, y + height}) == nullptr) {
        return false;
    }
    if (!interactive) {
        ::SetWindowPos(dialog.GetSafeHwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
    dialog.ShowModal(SW_SHOW);
    return true;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    Orvo::Manager::SetInstance(instance);
    if (!Orvo::Manager::InitGdiplus()) {
        return 1;
    }
    Orvo::Manager::SetFontName(Gallery::kUiFace);
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    std::vector<std::wstring> args;
    for (int i = 1; argv != nullptr && i < argc; ++i) {
        args.emplace_back(argv[i]);
    }
    ::LocalFree(argv);

    int result = 1;
    if (args.size() == 2 && args[0] == L"--list-families") {
        result = WriteFamilyList(args[1]) ? 0 : 1;
    } else if ((args.size() == 2 || args.size() == 4) && args[0] == L"--family") {
        const Gallery::FamilyPage* page = Gallery::FindFamilyPage(args[1]);
        std::wstring capturePath;
        if (args.size() == 4 && args[2] == L"--capture") {
            capturePath = args[3];
        }
        if (page != nullptr && (args.size() == 2 || !capturePath.empty())) {
            Gallery::FamilyDialog dialog(*page, capturePath);
            result = RunDialog(dialog, capturePath.empty(), page->width, page->height)
                         ? (capturePath.empty() ? 0 : dialog.CaptureResult())
                         : 1;
        }
    } else {
        std::wstring capturePath;
        if (args.size() == 2 && args[0] == L"--capture") {
            capturePath = args[1];
        }
        Gallery::GalleryDialog dialog(capturePath);
        if (RunDialog(dialog, capturePath.empty())) {
            result = capturePath.empty() ? 0 : dialog.CaptureResult();
        }
    }
    Orvo::Manager::UnInitGdiplus();
    return result;
}
