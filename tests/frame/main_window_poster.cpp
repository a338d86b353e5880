// A helper for the end-to-end tests of the main window: it finds the program's main window
// (the top-level window carrying the single-instance property) and sends it one thing, as
// another program on the machine would.
//
//   main-window-poster post MSG WPARAM LPARAM   PostMessage of a window message
//   main-window-poster command ID               PostMessage of WM_COMMAND with that id
//   main-window-poster size W H                 resize, keeping the window where it is
//
// Numbers are decimal or 0x hexadecimal. Exit status: 0 done, 1 no main window within 20 s
// (or the window refused), 2 bad usage.
#include <windows.h>

#include <cerrno>
#include <cstdio>
#include <cwchar>
#include <string>

namespace {

constexpr wchar_t kApplicationName[] = L"Tavik Mouse";
constexpr DWORD kFindTimeoutMs = 20000;
constexpr int kDone = 0;
constexpr int kNotFound = 1;
constexpr int kBadUsage = 2;

BOOL CALLBACK FindMarkedWindow(HWND window, LPARAM context) {
    if (GetPropW(window, kApplicationName) != nullptr) {
        *reinterpret_cast<HWND*>(context) = window;
        return FALSE;
    }
    return TRUE;
}

HWND WaitForMainWindow() {
    const DWORD start = GetTickCount();
    for (;;) {
        HWND found = nullptr;
        EnumWindows(&FindMarkedWindow, reinterpret_cast<LPARAM>(&found));
        if (found != nullptr) {
            return found;
        }
        if (GetTickCount() - start > kFindTimeoutMs) {
            return nullptr;
        }
        Sleep(50);
    }
}

// The whole argument as an unsigned number, or false.
bool ParseNumber(const wchar_t* text, unsigned long long& value) {
    if (text == nullptr || *text == L'\0' || *text == L'-') {
        return false;
    }
    wchar_t* end = nullptr;
    errno = 0;
    value = std::wcstoull(text, &end, 0);
    return errno == 0 && end != nullptr && *end == L'\0';
}

int Usage() {
    std::fputs(
        "usage: main-window-poster post MSG WPARAM LPARAM | command ID | size WIDTH HEIGHT\n",
        stderr);
    return kBadUsage;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        return Usage();
    }
    const std::wstring verb = argv[1];
    unsigned long long numbers[3] = {};
    int expected = 0;
    if (verb == L"post") {
        expected = 3;
    } else if (verb == L"command") {
        expected = 1;
    } else if (verb == L"size") {
        expected = 2;
    } else {
        return Usage();
    }
    if (argc != 2 + expected) {
        return Usage();
    }
    for (int i = 0; i < expected; ++i) {
        if (!ParseNumber(argv[2 + i], numbers[i])) {
            std::fprintf(stderr, "main-window-poster: '%ls' is not a number\n", argv[2 + i]);
            return kBadUsage;
        }
    }
    if (verb == L"post" && numbers[0] > 0xFFFF) {
        std::fputs("main-window-poster: a window message is below 0x10000\n", stderr);
        return kBadUsage;
    }
    if (verb == L"size" &&
        (numbers[0] == 0 || numbers[1] == 0 || numbers[0] > 0x7FFF || numbers[1] > 0x7FFF)) {
        std::fputs("main-window-poster: width and height are 1 to 32767\n", stderr);
        return kBadUsage;
    }

    HWND window = WaitForMainWindow();
    if (window == nullptr) {
        std::fputs("main-window-poster: no main window\n", stderr);
        return kNotFound;
    }
    BOOL done = FALSE;
    if (verb == L"post") {
        done = PostMessageW(window, static_cast<UINT>(numbers[0]), static_cast<WPARAM>(numbers[1]),
                            static_cast<LPARAM>(numbers[2]));
    } else if (verb == L"command") {
        done = PostMessageW(window, WM_COMMAND, static_cast<WPARAM>(numbers[0]), 0);
    } else {
        done = SetWindowPos(window, nullptr, 0, 0, static_cast<int>(numbers[0]),
                            static_cast<int>(numbers[1]), SWP_NOMOVE | SWP_NOZORDER);
    }
    if (!done) {
        std::fprintf(stderr, "main-window-poster: the window refused (error %lu)\n",
                     GetLastError());
        return kNotFound;
    }
    return kDone;
}
