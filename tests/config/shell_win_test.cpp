#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>
#include <string>
#include <thread>

#include "app/common/text_encoding.h"
#include "app/config/computer_function_runner.h"
#include "app/config/shell.h"
#include "tests/device/worker_fixture.h"

namespace tavik {
namespace {

namespace fs = std::filesystem;

fs::path TestFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return fs::path(path).parent_path();
}

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Waits for another process's output, which has no message to wait on.
bool WaitForContent(const fs::path& path, size_t lines) {
    for (int attempt = 0; attempt < 300; ++attempt) {
        const std::string text = ReadText(path);
        if (static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) >= lines) {
            return true;
        }
        Sleep(50);
    }
    return false;
}

// Handles messages until the future is ready, as the window's thread does while the worker
// types.
template <typename T>
void PumpUntil(std::future<T>& done) {
    while (done.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void PumpFor(int milliseconds) {
    const DWORD end = GetTickCount() + milliseconds;
    while (static_cast<int>(end - GetTickCount()) > 0) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

std::wstring ClipboardText(Shell& shell) {
    ClipboardContent content;
    if (!shell.ReadClipboard(content)) {
        return L"<unreadable>";
    }
    for (const auto& [format, bytes] : content.formats) {
        if (format == CF_UNICODETEXT && bytes.size() >= sizeof(wchar_t)) {
            return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()));
        }
    }
    return L"<no text>";
}

// The worker on the simulated mouse, carrying out the computer-side functions with the
// Windows shell: the mouse's event 0x50 starts a program and opens an address.
class ComputerFunctionsOnWindowsTest : public test::WorkerTest {
protected:
    void SetUp() override {
        WorkerTest::SetUp();
        m_worker = std::make_unique<DeviceWorker>(m_manager, m_database, m_window, m_functions,
                                                  m_preference, m_clock);
        m_worker->Connection().SetDeviceRecords(test::SimulatedDeviceRecords());
        StartUp();
        RunQueue();
        m_log = fs::temp_directory_path() /
                ("tavik-recorder-" + std::to_string(GetCurrentProcessId()) + ".log");
        fs::remove(m_log);
        ASSERT_TRUE(SetEnvironmentVariableW(L"TAVIK_RECORDER_LOG", m_log.wstring().c_str()));
        m_recorder = TestFolder() / "launch_recorder.exe";
        ASSERT_TRUE(fs::exists(m_recorder));
    }
    void TearDown() override {
        m_worker.reset();
        fs::remove(m_log);
    }

    PlatformComputerFunctions m_functions{m_database};
    fs::path m_log;
    fs::path m_recorder;
};

TEST_F(ComputerFunctionsOnWindowsTest, MouseEventLaunchesTheStoredProgram) {
    const int program = m_database.AddKeyExtraData(L"Recorder", m_recorder.wstring(), 9);
    ASSERT_GT(program, 0);
    m_simulator->PressComputerFunction(9, static_cast<uint8_t>(program));
    RunPasses(3);
    ASSERT_TRUE(WaitForContent(m_log, 1)) << "the program did not start";
    EXPECT_NE(ReadText(m_log).find("launch_recorder.exe"), std::string::npos) << ReadText(m_log);
}

// Makes a program the handler of a URL scheme for as long as the object lives, then puts
// the handler that was there back.
class SchemeHandler {
public:
    SchemeHandler(const wchar_t* scheme, const std::wstring& command)
        : m_key(std::wstring(scheme) + L"\\shell\\open\\command") {
        wchar_t previous[1024] = {};
        DWORD size = sizeof(previous);
        m_hadPrevious = RegGetValueW(HKEY_CLASSES_ROOT, m_key.c_str(), nullptr, RRF_RT_REG_SZ,
                                     nullptr, previous, &size) == ERROR_SUCCESS;
        m_previous = previous;
        m_set = Set(command);
    }
    ~SchemeHandler() {
        if (m_hadPrevious) {
            Set(m_previous);
        }
    }
    bool IsSet() const { return m_set; }

private:
    bool Set(const std::wstring& command) {
        return RegSetKeyValueW(HKEY_CLASSES_ROOT, m_key.c_str(), nullptr, REG_SZ, command.c_str(),
                               static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t))) ==
               ERROR_SUCCESS;
    }

    std::wstring m_key;
    std::wstring m_previous;
    bool m_hadPrevious = false;
    bool m_set = false;
};

// The address goes to whatever the system opens web addresses with: here the recorder.
TEST_F(ComputerFunctionsOnWindowsTest, MouseEventOpensTheStoredAddress) {
    const std::wstring command = L"\"" + m_recorder.wstring() + L"\" \"%1\"";
    SchemeHandler http(L"http", command);
    SchemeHandler https(L"https", command);
    ASSERT_TRUE(http.IsSet() && https.IsSet());
    const int plain = m_database.AddKeyExtraData(L"example.com/a?b=1", L"", 10);
    const int secure = m_database.AddKeyExtraData(L"https://example.org/?u=https://x.y", L"", 10);
    m_simulator->PressComputerFunction(10, static_cast<uint8_t>(plain));
    RunPasses(3);
    ASSERT_TRUE(WaitForContent(m_log, 1)) << "nothing opened the address";
    m_simulator->PressComputerFunction(10, static_cast<uint8_t>(secure));
    RunPasses(3);
    ASSERT_TRUE(WaitForContent(m_log, 2));
    const std::string log = ReadText(m_log);
    EXPECT_NE(log.find("http://www.example.com/a?b=1"), std::string::npos) << log;
    EXPECT_NE(log.find("https://example.org/?u=https://x.y"), std::string::npos) << log;
}

LRESULT CALLBACK PlainWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

// A snippet typed into a real edit window through the clipboard; the user's clipboard is
// back afterwards.
TEST(TypeTextOnWindows, PastesIntoTheFocusedEditAndPutsTheClipboardBack) {
    test::TempDirectory temp;
    MakeDataDirectory(temp);
    SettingsDatabase database;
    ASSERT_TRUE(database.OpenForModel(temp.Wide(), L"M700"));
    NamedRecord snippet;
    snippet.name = L"Greeting";
    snippet.text = L"Hello, \u4e16\u754c! \U0001F600";
    const int textId = database.AddText(snippet);

    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = PlainWindowProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"TavikTypeTextTarget";
    RegisterClassW(&windowClass);
    HWND frame = CreateWindowExW(0, windowClass.lpszClassName, L"Type text target",
                                 WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 60, 420, 200, nullptr,
                                 nullptr, windowClass.hInstance, nullptr);
    ASSERT_NE(frame, nullptr);
    HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 10, 10,
                                380, 30, frame, nullptr, windowClass.hInstance, nullptr);
    ASSERT_NE(edit, nullptr);
    // Another program's window may still be taking the focus: ask until the edit has it.
    for (int attempt = 0; attempt < 50 && GetFocus() != edit; ++attempt) {
        SetForegroundWindow(frame);
        SetFocus(edit);
        PumpFor(100);
    }
    ASSERT_EQ(GetFocus(), edit);

    PlatformShell shell;
    ASSERT_TRUE(shell.SetClipboardText(L"the user's own copy"));
    std::future<void> typed = std::async(std::launch::async, [&] {
        ComputerFunctionRunner runner(database, shell, *SystemClock());
        runner.RunComputerFunction(ComputerFunctions::kTypeTextSnippet, textId);
    });
    PumpUntil(typed);
    PumpFor(200);

    wchar_t text[256] = {};
    GetWindowTextW(edit, text, 256);
    EXPECT_EQ(std::wstring(text), snippet.text);
    EXPECT_EQ(ClipboardText(shell), L"the user's own copy");
    DestroyWindow(frame);
}

}  // namespace
}  // namespace tavik
