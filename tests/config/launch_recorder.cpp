// Stands in for a program the mouse launches and for the browser that opens an address:
// appends its command line, one line in UTF-8, to the file named by TAVIK_RECORDER_LOG. A
// windowless program, so that starting it never takes the keyboard focus from a test's window.
#include <windows.h>

#include <string>

#include "app/common/text_encoding.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    wchar_t log[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(L"TAVIK_RECORDER_LOG", log, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return 2;
    }
    HANDLE file = CreateFileW(log, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return 3;
    }
    const std::string line = tavik::WideToUtf8(GetCommandLineW()) + "\n";
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
    return 0;
}
