#include "tests/frame/program_under_test.h"

#include <vector>

namespace tavik::testing_support {
namespace {

constexpr wchar_t kApplicationKey[] = L"SOFTWARE\\Tavik Mouse";
constexpr wchar_t kApplicationName[] = L"Tavik Mouse";

std::wstring WindowsPathOf(const char* unixPath) {
    std::wstring path = L"Z:";
    for (const char* c = unixPath; *c != '\0'; ++c) {
        path.push_back(*c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(*c)));
    }
    return path;
}

struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindMarkedWindow(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<WindowSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && GetPropW(window, kApplicationName) != nullptr) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

std::wstring ProgramPath() {
    return WindowsPathOf(TAVIK_OUTPUT_DIR) + L"\\Tavik Mouse.exe";
}

ProgramUnderTest::~ProgramUnderTest() {
    if (m_process.hProcess != nullptr) {
        if (WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(m_process.hProcess, 99);
            WaitForSingleObject(m_process.hProcess, 5000);
        }
        CloseHandle(m_process.hProcess);
        CloseHandle(m_process.hThread);
    }
}

bool ProgramUnderTest::Start(const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + ProgramPath() + L"\" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    return CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &m_process) != FALSE;
}

HWND ProgramUnderTest::WaitForMainWindow(DWORD timeoutMs) {
    WindowSearch search = {m_process.dwProcessId, nullptr};
    WaitUntil(
        [&] {
            EnumWindows(&FindMarkedWindow, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        timeoutMs);
    return search.found;
}

DWORD ProgramUnderTest::WaitForExit(DWORD timeoutMs) {
    if (WaitForSingleObject(m_process.hProcess, timeoutMs) != WAIT_OBJECT_0) {
        return STILL_ACTIVE;
    }
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(m_process.hProcess, &code);
    return code;
}

void DeleteApplicationKey() {
    RegDeleteTreeW(HKEY_CURRENT_USER, kApplicationKey);
}

void SetApplicationValue(const wchar_t* name, const wchar_t* value) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kApplicationKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr) != ERROR_SUCCESS) {
        return;
    }
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                   static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

std::string QueryWithRegExe(const wchar_t* name) {
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) {
        return "";
    }
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    std::wstring commandLine =
        std::wstring(L"reg.exe query \"HKCU\\") + kApplicationKey + L"\" /v " + name;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    PROCESS_INFORMATION process = {};
    const BOOL started = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE,
                                        CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process);
    CloseHandle(writeEnd);
    std::string output;
    if (started) {
        char chunk[512];
        DWORD read = 0;
        while (ReadFile(readEnd, chunk, sizeof(chunk), &read, nullptr) && read > 0) {
            output.append(chunk, read);
        }
        WaitForSingleObject(process.hProcess, 10000);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    CloseHandle(readEnd);
    return output;
}

}  // namespace tavik::testing_support
