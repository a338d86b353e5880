#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/frame/startup.h"
#include "app/services/language_text.h"

namespace tavik {
namespace {

TEST(MonitorScale, MapsEffectiveDpi) {
    const struct {
        unsigned dpi;
        int scale;
    } cases[] = {{72, 100},  {96, 100},  {110, 100}, {120, 125}, {144, 144},
                 {168, 168}, {192, 192}, {240, 100}, {97, 100}};
    for (const auto& c : cases) {
        EXPECT_EQ(MonitorScaleForDpi(c.dpi), c.scale) << c.dpi;
    }
}

int Scale100() {
    return 100;
}
int Scale125() {
    return 125;
}
int Scale144() {
    return 144;
}

TEST(DpiAwareness, SmallScreensAndScaledFullHd) {
    const struct {
        int width, height;
        int (*scale)();
        bool aware;
    } cases[] = {
        {1366, 768, Scale100, true},  {1399, 900, Scale100, true},   {1600, 787, Scale100, true},
        {1400, 788, Scale100, false}, {1920, 1080, Scale100, false}, {1920, 1080, Scale125, false},
        {1920, 1080, Scale144, true}, {2560, 1440, Scale144, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ShouldDeclareDpiAware(c.width, c.height, c.scale), c.aware)
            << c.width << "x" << c.height;
    }
}

TEST(CommandLine, AutorunAnywhereAlsoInsideALongerArgument) {
    EXPECT_TRUE(HasAutorunFlag(L"-autorun"));
    EXPECT_TRUE(HasAutorunFlag(L"\"C:\\x\\Tavik Mouse.exe\" --x -autorunning"));
    EXPECT_TRUE(HasAutorunFlag(L"abc-autorun"));
    EXPECT_FALSE(HasAutorunFlag(L"-auto run"));
    EXPECT_FALSE(HasAutorunFlag(L""));
    EXPECT_FALSE(HasAutorunFlag(nullptr));
}

TEST(CommandLine, SimulationScenarioFromTheOptionOrTheEnvironment) {
    SetEnvironmentVariableW(L"TAVIK_SIMULATE", nullptr);
    const struct {
        const wchar_t* commandLine;
        const wchar_t* scenario;
        bool simulated;
    } cases[] = {
        {L"--simulate", L"", true},
        {L"--simulate=C:\\s\\plug.txt -autorun", L"C:\\s\\plug.txt", true},
        {L"-autorun --simulate=\"C:\\my scenarios\\plug.txt\" x", L"C:\\my scenarios\\plug.txt",
         true},
        {L"-autorun", L"", false},
        {nullptr, L"", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SimulationScenario(c.commandLine), c.scenario);
        EXPECT_EQ(WantsSimulatedDevices(c.commandLine), c.simulated);
    }
    SetEnvironmentVariableW(L"TAVIK_SIMULATE", L"1");
    EXPECT_TRUE(WantsSimulatedDevices(L""));
    EXPECT_EQ(SimulationScenario(L""), L"");
    SetEnvironmentVariableW(L"TAVIK_SIMULATE", L"D:\\unplug.txt");
    EXPECT_TRUE(WantsSimulatedDevices(L""));
    EXPECT_EQ(SimulationScenario(L""), L"D:\\unplug.txt");
    EXPECT_EQ(SimulationScenario(L"--simulate=E:\\first.txt"), L"E:\\first.txt")
        << "the command line goes before the environment";
    SetEnvironmentVariableW(L"TAVIK_SIMULATE", nullptr);
}

TEST(Language, OnlySimplifiedChineseSurvivesNormalisation) {
    EXPECT_EQ(NormaliseLanguageId(2052), 2052);
    for (int other : {0, 1033, 1041, 1028, 3076, -1}) {
        EXPECT_EQ(NormaliseLanguageId(other), 1033) << other;
    }
}

class EnsureDirectoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        m_root = std::wstring(temp) + L"tavik-ensure-" + std::to_wstring(GetCurrentProcessId());
    }
    void TearDown() override {
        std::wstring doubleTerminated = m_root;
        doubleTerminated.push_back(L'\0');
        SHFILEOPSTRUCTW operation = {};
        operation.wFunc = FO_DELETE;
        operation.pFrom = doubleTerminated.c_str();
        operation.fFlags = FOF_NO_UI;
        SHFileOperationW(&operation);
    }
    static bool IsDirectory(const std::wstring& path) {
        const DWORD attributes = GetFileAttributesW(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES &&
               (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    }
    std::wstring m_root;
};

TEST_F(EnsureDirectoryTest, CreatesEveryMissingLevel) {
    const std::wstring deep = m_root + L"\\Tavik Mouse Files\\db";
    ASSERT_FALSE(IsDirectory(m_root));
    EXPECT_TRUE(EnsureDirectory(deep));
    EXPECT_TRUE(IsDirectory(deep));
    EXPECT_TRUE(EnsureDirectory(deep)) << "an existing directory succeeds";
    EXPECT_TRUE(EnsureDirectory(m_root + L"\\Tavik Mouse Files\\")) << "trailing backslash";
}

TEST_F(EnsureDirectoryTest, FailsWhereAFileStands) {
    ASSERT_TRUE(EnsureDirectory(m_root));
    const std::wstring file = m_root + L"\\plain";
    HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    CloseHandle(handle);
    EXPECT_FALSE(EnsureDirectory(file + L"\\db"));
}

TEST(DataDirectory, EndsWithTheApplicationFolder) {
    const std::wstring directory = GetDataDirectory();
    const std::wstring suffix = L"\\Tavik Mouse Files\\";
    ASSERT_GT(directory.size(), suffix.size());
    EXPECT_EQ(directory.substr(directory.size() - suffix.size()), suffix);
}

}  // namespace
}  // namespace tavik
