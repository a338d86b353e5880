#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/frame/registry_settings.h"
#include "app/frame/tray_icon.h"
#include "tests/frame/program_under_test.h"

namespace tavik {
namespace {

using testing_support::DeleteApplicationKey;
using testing_support::ProgramUnderTest;
using testing_support::QueryWithRegExe;
using testing_support::SetApplicationValue;
using testing_support::WaitUntil;

// Each case starts from a user who never ran the program.
class LifecycleTest : public ::testing::Test {
protected:
    void SetUp() override { DeleteApplicationKey(); }
    void TearDown() override { DeleteApplicationKey(); }
};

TEST_F(LifecycleTest, FirstStartCreatesTheKeyAndStoresTheNormalisedLanguage) {
    ProgramUnderTest program;
    ASSERT_TRUE(program.Start(L"--simulate"));
    ASSERT_NE(program.WaitForMainWindow(), nullptr);
    const int expected = GetUserDefaultUILanguage() == 2052 ? 2052 : 1033;
    const std::string query = QueryWithRegExe(L"LCID");
    EXPECT_NE(query.find("REG_SZ"), std::string::npos) << query;
    EXPECT_NE(query.find(std::to_string(expected)), std::string::npos) << query;
    EXPECT_EQ(ReadDeviceType(), 0) << "a new key holds no device type";
}

TEST_F(LifecycleTest, UnofferedLanguageBecomesEnglishAndIsWrittenBack) {
    SetApplicationValue(L"LCID", L"1041");
    ProgramUnderTest program;
    ASSERT_TRUE(program.Start(L"--simulate"));
    ASSERT_NE(program.WaitForMainWindow(), nullptr);
    const std::string query = QueryWithRegExe(L"LCID");
    EXPECT_NE(query.find("1033"), std::string::npos) << query;
    EXPECT_EQ(query.find("1041"), std::string::npos) << query;
}

TEST_F(LifecycleTest, SimplifiedChineseIsKept) {
    SetApplicationValue(L"LCID", L"2052");
    ProgramUnderTest program;
    ASSERT_TRUE(program.Start(L"--simulate"));
    ASSERT_NE(program.WaitForMainWindow(), nullptr);
    EXPECT_EQ(ReadLanguageId(), 2052);
}

TEST_F(LifecycleTest, WindowIsBorderless1280By780AndCentred) {
    ProgramUnderTest program;
    ASSERT_TRUE(program.Start(L"--simulate"));
    HWND window = program.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(window) != FALSE; }));
    RECT bounds = {};
    GetWindowRect(window, &bounds);
    EXPECT_EQ(bounds.right - bounds.left, 1280);
    EXPECT_EQ(bounds.bottom - bounds.top, 780);
    EXPECT_EQ(bounds.left, (GetSystemMetrics(SM_CXSCREEN) - 1280) / 2);
    EXPECT_EQ(bounds.top, (GetSystemMetrics(SM_CYSCREEN) - 780) / 2);
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_FALSE(style & WS_CAPTION);
    wchar_t title[64] = {};
    GetWindowTextW(window, title, 64);
    EXPECT_STREQ(title, L"Tavik Mouse");
}

TEST_F(LifecycleTest, AutorunStartsHiddenAndTheTrayShowsIt) {
    ProgramUnderTest program;
    ASSERT_TRUE(program.Start(L"--simulate x-autorunx"));
    HWND window = program.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    Sleep(300);
    EXPECT_FALSE(IsWindowVisible(window));
    PostMessageW(window, kTrayCallbackMessage, kTrayIconId, WM_LBUTTONDOWN);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(window) != FALSE; }));
}

TEST_F(LifecycleTest, SecondStartExitsAndShowsTheFirstCopy) {
    ProgramUnderTest first;
    ASSERT_TRUE(first.Start(L"--simulate -autorun"));
    HWND window = first.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_FALSE(IsWindowVisible(window));

    ProgramUnderTest second;
    ASSERT_TRUE(second.Start(L"--simulate"));
    EXPECT_EQ(second.WaitForExit(), 0u);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(window) != FALSE; }));
    EXPECT_EQ(first.WaitForExit(0), static_cast<DWORD>(STILL_ACTIVE));
}

TEST_F(LifecycleTest, CloseButtonFollowsExitMode) {
    const struct {
        const wchar_t* exitMode;  // null: value absent
        bool ends;
    } cases[] = {{L"1", true}, {L"0", false}, {nullptr, false}, {L"2", false}};
    for (const auto& c : cases) {
        DeleteApplicationKey();
        if (c.exitMode != nullptr) {
            SetApplicationValue(L"exit_mode", c.exitMode);
        }
        ProgramUnderTest program;
        ASSERT_TRUE(program.Start(L"--simulate"));
        HWND window = program.WaitForMainWindow();
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(window) != FALSE; }));
        PostMessageW(window, WM_CLOSE, 0, 0);
        if (c.ends) {
            EXPECT_EQ(program.WaitForExit(), 0u);
        } else {
            EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(window) == FALSE; }));
            EXPECT_EQ(program.WaitForExit(300), static_cast<DWORD>(STILL_ACTIVE))
                << "exit_mode " << (c.exitMode ? "set" : "absent") << " hides to the tray";
        }
    }
}

TEST_F(LifecycleTest, ExitCommandAndInstallerMessageEndWithCodeZero) {
    {
        ProgramUnderTest program;
        ASSERT_TRUE(program.Start(L"--simulate"));
        HWND window = program.WaitForMainWindow();
        ASSERT_NE(window, nullptr);
        PostMessageW(window, WM_COMMAND, kExitCommand, 0);
        EXPECT_EQ(program.WaitForExit(), 0u);
    }
    {
        ProgramUnderTest program;
        ASSERT_TRUE(program.Start(L"--simulate"));
        HWND window = program.WaitForMainWindow();
        ASSERT_NE(window, nullptr);
        PostMessageW(window, kEndApplicationMessage, 0, 609);
        EXPECT_EQ(program.WaitForExit(300), static_cast<DWORD>(STILL_ACTIVE))
            << "only lParam 610 ends the program";
        PostMessageW(window, kEndApplicationMessage, 0, kEndApplicationParam);
        EXPECT_EQ(program.WaitForExit(), 0u);
    }
}

TEST_F(LifecycleTest, DestroyingTheWindowTearsDownWithCodeOne) {
    ProgramUnderTest program;
    ASSERT_TRUE(program.Start(L"--simulate"));
    HWND window = program.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    // Another process cannot destroy the window; a posted WM_DESTROY runs the same handling.
    PostMessageW(window, WM_DESTROY, 0, 0);
    EXPECT_EQ(program.WaitForExit(), 1u);
}

}  // namespace
}  // namespace tavik
