// orvo-gallery: one borderless window showing the toolkit's skin set and drawing helpers at
// work. "--capture FILE.png" draws the same picture off-screen, writes it and exits (the
// screenshot tests use it).

#include <windows.h>
#include <windowsx.h>
#include <gdiplus.h>

#include <string>
#include <vector>

#include "gallery_scene.h"
#include "orvo/render.h"

namespace {

Gallery::SceneState g_state;

std::wstring ProgramDirectory() {
    std::wstring path(MAX_PATH, L'\0');
    const DWORD length =
        ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    path.resize(length);
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? L"" : path.substr(0, slash + 1);
}

std::wstring SkinFolder() {
    return ProgramDirectory() + L"skins\\theme1\\";
}

bool SavePng(Gdiplus::Bitmap& bitmap, const wchar_t* path) {
    UINT count = 0, bytes = 0;
    if (Gdiplus::GetImageEncodersSize(&count, &bytes) != Gdiplus::Ok || bytes == 0) {
        return false;
    }
    std::vector<BYTE> buffer(bytes);
    auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    Gdiplus::GetImageEncoders(count, bytes, encoders);
    for (UINT i = 0; i < count; ++i) {
        if (std::wstring(encoders[i].MimeType) == L"image/png") {
            return bitmap.Save(path, &encoders[i].Clsid, nullptr) == Gdiplus::Ok;
        }
    }
    return false;
}

int Capture(const wchar_t* path) {
    Orvo::MemoryCanvas canvas(Gallery::kWidth, Gallery::kHeight);
    if (!canvas.IsValid()) {
        return 1;
    }
    Gallery::DrawScene(canvas.GetDC(), SkinFolder(), Gallery::SceneState{});
    Gdiplus::Bitmap bitmap(Gallery::kWidth, Gallery::kHeight, PixelFormat32bppARGB);
    for (int y = 0; y < Gallery::kHeight; ++y) {
        for (int x = 0; x < Gallery::kWidth; ++x) {
            // GDI text leaves alpha 0 in the DIB: the picture is opaque.
            bitmap.SetPixel(x, y, Gdiplus::Color(0xFF000000 | canvas.GetPixel(x, y)));
        }
    }
    return SavePng(bitmap, path) ? 0 : 1;
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = ::BeginPaint(hwnd, &paint);
            Orvo::MemoryCanvas canvas(Gallery::kWidth, Gallery::kHeight);
            if (canvas.IsValid()) {
                Gallery::DrawScene(canvas.GetDC(), SkinFolder(), g_state);
                ::BitBlt(dc, 0, 0, Gallery::kWidth, Gallery::kHeight, canvas.GetDC(), 0, 0,
                         SRCCOPY);
            }
            ::EndPaint(hwnd, &paint);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_MOUSEMOVE: {
            g_state.pointer = POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, hwnd, 0};
            ::TrackMouseEvent(&track);
            ::InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        }
        case WM_MOUSELEAVE:
            g_state.pointer = POINT{-1, -1};
            ::InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        case WM_LBUTTONDOWN:
            g_state.pressed = true;
            ::SetCapture(hwnd);
            ::InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        case WM_LBUTTONUP: {
            g_state.pressed = false;
            ::ReleaseCapture();
            const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            const RECT close = Gallery::CloseButtonRect();
            const RECT minimize = Gallery::MinimizeButtonRect();
            if (::PtInRect(&close, point)) {
                ::DestroyWindow(hwnd);
            } else if (::PtInRect(&minimize, point)) {
                ::ShowWindow(hwnd, SW_MINIMIZE);
            }
            ::InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        }
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE) {
                ::DestroyWindow(hwnd);
            }
            return 0;
        case WM_DESTROY:
            ::PostQuitMessage(0);
            return 0;
        default:
            return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

int Run(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = L"OrvoGallery";
    if (::RegisterClassExW(&windowClass) == 0) {
        return 1;
    }
    const int x = (::GetSystemMetrics(SM_CXSCREEN) - Gallery::kWidth) / 2;
    const int y = (::GetSystemMetrics(SM_CYSCREEN) - Gallery::kHeight) / 2;
    HWND hwnd =
        ::CreateWindowExW(0, L"OrvoGallery", L"Orvo gallery", WS_POPUP | WS_MINIMIZEBOX, x, y,
                          Gallery::kWidth, Gallery::kHeight, nullptr, nullptr, instance, nullptr);
    if (hwnd == nullptr) {
        return 1;
    }
    ::ShowWindow(hwnd, SW_SHOW);
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) {
        return 1;
    }
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    int result;
    if (argv != nullptr && argc == 3 && std::wstring(argv[1]) == L"--capture") {
        result = Capture(argv[2]);
    } else {
        result = Run(instance);
    }
    ::LocalFree(argv);
    Gdiplus::GdiplusShutdown(token);
    return result;
}
