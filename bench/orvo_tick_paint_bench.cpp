// The toolkit's animation tick and painting, as figures (never run by the tests).
//   ticks: tick messages per second the UI thread runs with nothing animating, with one
//          control animating, and with that window hidden;
//   paint: milliseconds per full repaint of the gallery window and of a gallery family page,
//          each a separate orvo-gallery.exe process beside this program's build.
// Run: bench/orvo_tick_paint_bench.exe [ticks|paint]...
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "orvo/dialog.h"
#include "orvo/manager.h"
#include "orvo/paint_manager.h"

namespace {

class Animated : public Orvo::MControl {
public:
    Animated(Orvo::MObject* parent, UINT id, const RECT& rect)
        : MControl(parent, id, rect, 1, 1, 1) {}
    void DrawControl(HDC, const RECT&) override {}
    int OnControlTimer() override { return 1; }
};

class BenchDialog : public Orvo::MDialog {};

// Delivers this thread's messages for `milliseconds`.
void PumpFor(int milliseconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (std::chrono::steady_clock::now() < end) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 2, QS_ALLINPUT);
    }
}

double TicksPerSecond(Orvo::PaintManager& manager) {
    const unsigned long long before = manager.GetTicksRun();
    const auto start = std::chrono::steady_clock::now();
    PumpFor(2000);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return static_cast<double>(manager.GetTicksRun() - before) / seconds;
}

void BenchTicks() {
    BenchDialog dialog;
    if (dialog.Create(nullptr, L"tick bench", WS_POPUP | WS_VISIBLE, 0,
                      Orvo::CRect(100, 100, 400, 300)) == nullptr) {
        std::printf("ticks: no window\n");
        return;
    }
    Orvo::PaintManager& manager = *dialog.GetPaintManager();
    auto* control =
        manager.AddControl(std::make_unique<Animated>(&dialog, 1, Orvo::CRect(10, 10, 50, 50)));
    control->AddMTimer();
    dialog.SetMTimer(10);
    PumpFor(100);
    std::printf("ticks: idle (nothing animates)   %6.1f per second, timer running: %s\n",
                TicksPerSecond(manager), manager.IsAnimationTickRunning() ? "yes" : "no");
    control->SetRunTimer(true);
    std::printf("ticks: one control animating     %6.1f per second\n", TicksPerSecond(manager));
    dialog.ShowWindow(SW_HIDE);
    PumpFor(100);
    std::printf("ticks: animating, window hidden  %6.1f per second, timer running: %s\n",
                TicksPerSecond(manager), manager.IsAnimationTickRunning() ? "yes" : "no");
    dialog.DestroyWindow();
}

// Starts the gallery, waits for its window of `className`, times full repaints.
void BenchGalleryPaint(const std::wstring& arguments, const wchar_t* className) {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring exe = self;
    exe = exe.substr(0, exe.find_last_of(L"\\/") + 1) + L"..\\out\\orvo-gallery.exe";
    std::wstring command = L"\"" + exe + L"\" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process)) {
        std::printf("paint: cannot start %ls\n", exe.c_str());
        return;
    }
    HWND window = nullptr;
    for (int i = 0; i < 200 && window == nullptr; ++i) {
        ::Sleep(50);
        window = ::FindWindowW(className, nullptr);
    }
    if (window != nullptr) {
        ::Sleep(500);
        constexpr int kPaints = 40;
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < kPaints; ++i) {
            ::InvalidateRect(window, nullptr, FALSE);
            // WM_PAINT is sent to the gallery's thread and waited for.
            ::UpdateWindow(window);
        }
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
        RECT client = {};
        ::GetClientRect(window, &client);
        std::printf("paint: %-22ls %ldx%ld  %6.2f ms per full repaint\n", arguments.c_str(),
                    client.right, client.bottom, ms / kPaints);
        ::PostMessageW(window, WM_CLOSE, 0, 0);
    } else {
        std::printf("paint: no gallery window\n");
    }
    if (::WaitForSingleObject(process.hProcess, 5000) != WAIT_OBJECT_0) {
        ::TerminateProcess(process.hProcess, 1);
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    Orvo::Manager::SetInstance(::GetModuleHandleW(nullptr));
    Orvo::Manager::InitGdiplus();
    bool ticks = argc < 2;
    bool paint = argc < 2;
    for (int i = 1; i < argc; ++i) {
        ticks = ticks || std::wcscmp(argv[i], L"ticks") == 0;
        paint = paint || std::wcscmp(argv[i], L"paint") == 0;
    }
    if (ticks) {
        BenchTicks();
    }
    if (paint) {
        BenchGalleryPaint(L"", L"OrvoGallery");
        BenchGalleryPaint(L"--family containers", L"OrvoGalleryFamily");
    }
    Orvo::Manager::UnInitGdiplus();
    return 0;
}
