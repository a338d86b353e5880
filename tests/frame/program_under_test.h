#pragma once

#include <windows.h>

#include <string>

namespace tavik::testing_support {

// One started copy of "Tavik Mouse.exe" from the build's output folder. The destructor ends
// it if it still runs.
class ProgramUnderTest {
public:
    ProgramUnderTest() = default;
    ~ProgramUnderTest();
    ProgramUnderTest(const ProgramUnderTest&) = delete;
    ProgramUnderTest& operator=(const ProgramUnderTest&) = delete;

    bool Start(const std::wstring& arguments);
    // The window of this process carrying the single-instance property, or null after the
    // time-out.
    HWND WaitForMainWindow(DWORD timeoutMs = 20000);
    // The process exit code, or STILL_ACTIVE after the time-out.
    DWORD WaitForExit(DWORD timeoutMs = 20000);
    DWORD ProcessId() const { return m_process.dwProcessId; }

private:
    PROCESS_INFORMATION m_process = {};
};

std::wstring ProgramPath();

// "SOFTWARE\Tavik Mouse" of the current user.
void DeleteApplicationKey();
void SetApplicationValue(const wchar_t* name, const wchar_t* value);

// What `reg query HKCU\SOFTWARE\Tavik Mouse /v <name>` prints, as another program sees it.
std::string QueryWithRegExe(const wchar_t* name);

// Waits until `predicate` holds, polling every 20 ms.
template <typename Predicate>
bool WaitUntil(Predicate predicate, DWORD timeoutMs = 10000) {
    const DWORD start = GetTickCount();
    while (!predicate()) {
        if (GetTickCount() - start > timeoutMs) {
            return false;
        }
        Sleep(20);
    }
    return true;
}

}  // namespace tavik::testing_support
