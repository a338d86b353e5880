// A window that records what the raw input capture makes of real keyboard and mouse input:
// one line per WM_INPUT, "kind action code name", on standard output. Escape released ends
// it, and so does a minute without it.
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/common/text_encoding.h"
#include "app/config/raw_input_capture.h"

namespace {

constexpr UINT_PTR kGiveUpTimer = 1;
constexpr UINT kGiveUpMs = 60000;
constexpr int kEscape = 27;

tavik::PlatformRawInput g_platform;
tavik::RawInputCapture g_capture(g_platform);

LRESULT CALLBACK ProbeProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            if (!g_capture.Start(window)) {
                std::printf("register failed\n");
                std::fflush(stdout);
            }
            SetTimer(window, kGiveUpTimer, kGiveUpMs, nullptr);
            return 0;
        case WM_INPUT: {
            tavik::CapturedInput input;
            if (g_capture.Decode(static_cast<uintptr_t>(lParam), input)) {
                std::printf("%d %d %d %s\n", input.kind, input.action, input.code,
                            tavik::WideToUtf8(input.name).c_str());
                std::fflush(stdout);
                if (input.kind == tavik::CapturedInput::kKeyboard && input.code == kEscape &&
                    input.action == tavik::CapturedInput::kUp) {
                    DestroyWindow(window);
                }
            }
            return DefWindowProcW(window, message, wParam, lParam);
        }
        case WM_TIMER:
            DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int wmain() {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = ProbeProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = L"TavikRawInputProbe";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"Raw input probe",
                                  WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 400, 300, nullptr,
                                  nullptr, windowClass.hInstance, nullptr);
    if (window == nullptr) {
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
