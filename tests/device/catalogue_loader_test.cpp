#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "app/device/device_catalogue.h"
#include "app/device/hid_device_manager.h"
#include "app/common/text_encoding.h"
#include "tests/support/window_effects_recorder.h"
#include "app/store/settings_database.h"

namespace tavik {
namespace {

namespace fs = std::filesystem;

std::wstring FixtureDirectory(const char* name) {
    return (fs::path(TAVIK_SOURCE_DIR) / "tests" / "data" / "catalogue" / name).wstring();
}

// Language texts as "T<number>", so that a shown text tells which number was looked up.
std::wstring FakeLanguageText(int number) {
    return L"T" + std::to_wstring(number);
}

std::wstring Join(std::initializer_list<std::wstring_view> parts) {
    std::wstring path;
    for (std::wstring_view part : parts) {
        path = path.empty() ? std::wstring(part) : JoinPath(path, part);
    }
    return path;
}

TEST(CatalogueValues, CalloutRectsSplitAtTheFirstTwoHashes) {
    struct Case {
        const wchar_t* text;
        int a, b, c;
    };
    const Case cases[] = {
        {L"120#300#85", 120, 300, 85},
        {L"", 0, 0, 0},
        {L"5", 5, 0, 0},
        {L"5#6", 5, 6, 0},
        {L"x#12", 0, 12, 0},
        {L"a#b#c", 0, 0, 0},
        {L"1#2#3#4", 1, 2, 3},
        {L" 7 # 8 # 9 ", 7, 8, 9},
        {L"-4#+5#99999999999", -4, 5, 0},
        {L"##", 0, 0, 0},
    };
    for (const Case& c : cases) {
        const CalloutRect rect = ParseCalloutRect(c.text);
        EXPECT_EQ(rect.a, c.a) << WideToUtf8(c.text);
        EXPECT_EQ(rect.b, c.b) << WideToUtf8(c.text);
        EXPECT_EQ(rect.c, c.c) << WideToUtf8(c.text);
    }
}

TEST(CatalogueValues, NumbersIdsAndModelKeys) {
    const std::pair<const wchar_t*, int> numbers[] = {
        {L"102", 102},      {L"  -17", -17},
        {L"1x", 1},         {L"x1", 0},
        {L"", 0},           {L"2147483647", 2147483647},
        {L"2147483648", 0}, {L"-2147483648", INT32_MIN},
        {L"+", 0},          {L"99999999999999999999", 0},
    };
    for (const auto& [text, value] : numbers) {
        EXPECT_EQ(ParseCatalogueNumber(text), value) << WideToUtf8(text);
    }
    const std::pair<const wchar_t*, int> ids[] = {
        {L"7768", 0x7768}, {L"0x7768", 0x7768}, {L"ffFF", 0xFFFF}, {L"0002", 2}, {L"10000", 0},
        {L"", 0},          {L"zz", 0},          {L"12g", 0x12},    {L"0x", 0},
    };
    for (const auto& [text, value] : ids) {
        EXPECT_EQ(ParseCatalogueHexId(text), value) << WideToUtf8(text);
    }
    const std::pair<std::wstring, bool> keys[] = {
        {L"tavik_mouse", true}, {L"", false},    {L"..\\x", false},
        {L"../x", false},       {L"C:x", false}, {std::wstring(L"a\0b", 3), false},
    };
    for (const auto& [key, usable] : keys) {
        EXPECT_EQ(IsUsableModelKey(key), usable) << WideToUtf8(key);
    }
}

class CatalogueLoaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device random;
        m_dataDirectory = fs::temp_directory_path() /
                          ("tavik-catalogue-" + std::to_string(random()) + "-" +
                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        // Start-up creates "db" in the data directory before the catalogue is read.
        fs::create_directories(m_dataDirectory / "db");
    }

    void TearDown() override {
        m_store.Close();
        std::error_code ignored;
        fs::remove_all(m_dataDirectory, ignored);
    }

    DeviceCatalogue::Setup SetupFor(const std::wstring& programDirectory) {
        DeviceCatalogue::Setup setup;
        setup.programDirectory = programDirectory;
        setup.themeDirectory = L"theme1\\";
        setup.dataDirectory = m_dataDirectory.wstring();
        setup.manager = &m_manager;
        setup.store = &m_store;
        setup.effects = &m_effects;
        setup.languageText = FakeLanguageText;
        return setup;
    }

    std::vector<std::string> StoreFiles() const {
        std::vector<std::string> names;
        std::error_code error;
        for (const auto& entry : fs::recursive_directory_iterator(m_dataDirectory, error)) {
            if (entry.is_regular_file()) {
                names.push_back(entry.path().filename().string());
            }
        }
        return names;
    }

    fs::path m_dataDirectory;
    HidDeviceManager m_manager{HidApi{}};
    SettingsDatabase m_store;
    WindowEffectsRecorder m_effects;
};

TEST_F(CatalogueLoaderTest, ModelWithTwoModesGivesTwoRecordsAndTwoIdRows) {
    DeviceCatalogue catalogue(SetupFor(FixtureDirectory("two_models")));
    ASSERT_TRUE(catalogue.LoadCatalogue());

    ASSERT_EQ(catalogue.Models().size(), 2u);
    EXPECT_EQ(catalogue.Models()[0].name, L"Fixture Mouse");
    EXPECT_EQ(catalogue.Models()[0].deviceType, 102);
    EXPECT_EQ(catalogue.Models()[0].modelKey, L"fixture_mouse");
    EXPECT_EQ(catalogue.Models()[1].deviceType, 101);

    const std::vector<CatalogueDevice>& devices = catalogue.Devices();
    ASSERT_EQ(devices.size(), 3u);
    struct Expected {
        int vendorId, productId, deviceType, mode;
        const wchar_t* pattern;
        const wchar_t* description;
    };
    const Expected expected[] = {
        {0x7768, 0x1A2B, 102, 0, L"VID_7768&PID_1A2B&MI_01", L"Wired"},
        {0x7768, 0x1A2C, 102, 1, L"VID_7768&PID_1A2C&MI_01", L"Wireless"},
        {0xABCD, 0x00FF, 101, 0, L"", L"Wired"},
    };
    for (size_t i = 0; i < devices.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(devices[i].vendorId, expected[i].vendorId);
        EXPECT_EQ(devices[i].productId, expected[i].productId);
        EXPECT_EQ(devices[i].deviceType, expected[i].deviceType);
        EXPECT_EQ(devices[i].mode, expected[i].mode);
        EXPECT_EQ(devices[i].hidInterface, expected[i].pattern);
        EXPECT_EQ(devices[i].modeDescription, expected[i].description);
        EXPECT_EQ(devices[i].picturePath, catalogue.Models()[i < 2 ? 0 : 1].picturePath);
        EXPECT_TRUE(m_manager.IsSupported(expected[i].vendorId, expected[i].productId));
        EXPECT_EQ(m_manager.DevTypeOf(expected[i].vendorId, expected[i].productId),
                  expected[i].deviceType);
        EXPECT_EQ(m_manager.DevModeOf(expected[i].vendorId, expected[i].productId),
                  expected[i].mode);
    }
    EXPECT_FALSE(m_manager.IsSupported(0x7768, 0x0001));
}

TEST_F(CatalogueLoaderTest, ListsModelsShowsVersionAndDescribesTheMainModel) {
    const std::wstring programDirectory = FixtureDirectory("two_models");
    DeviceCatalogue catalogue(SetupFor(programDirectory));
    ASSERT_TRUE(catalogue.LoadCatalogue());

    const std::wstring picture =
        Join({programDirectory, L"skins", L"theme1", L"device", L"fixture.png"});
    const std::wstring otherPicture =
        Join({programDirectory, L"skins", L"theme1", L"device", L"other.png"});
    EXPECT_EQ(catalogue.Models()[0].picturePath, picture);
    const std::vector<std::string> expected = {
        "ClearDeviceList",
        "AddDeviceListItem Fixture Mouse 102 " + WideToUtf8(picture),
        "AddDeviceListItem Other Mouse 101 " + WideToUtf8(otherPicture),
        "SetApplicationVersionLabel T17: v2.3.4",
        "DisableInputMethod",
        "SetMousePicture device\\fixture_top.png",
        // light="0": no light tab, no light jobs.
        "SetLightingAvailable 0",
        "ClearMouseButtons",
        "AddMouseButton T900 0 1 120 85 300 85",
        "AddMouseButton T901 7 0 0 0 12 0",
    };
    EXPECT_EQ(m_effects.Calls(), expected);

    const SoftwareInfo& software = catalogue.Software();
    EXPECT_TRUE(software.present);
    EXPECT_EQ(software.caption, L"Fixture");
    EXPECT_EQ(software.version, L"2.3.4");
    EXPECT_EQ(software.websiteUrl, L"http://www.example/");
    EXPECT_EQ(software.storeUrl, L"http://store.example/");
    EXPECT_EQ(software.upgradeUrl, L"http://upgrade.example/");
    EXPECT_EQ(software.copyrightInfo, L"Notice & more");

    EXPECT_EQ(catalogue.CurrentModelName(), L"Fixture Mouse");
    EXPECT_EQ(catalogue.CurrentModelKey(), L"fixture_mouse");
    EXPECT_EQ(catalogue.CurrentDeviceType(), 102);
    EXPECT_FALSE(catalogue.HasLighting());
    EXPECT_EQ(catalogue.MousePicture(), L"device\\fixture_top.png");

    ASSERT_EQ(catalogue.Buttons().size(), 2u);
    EXPECT_EQ(catalogue.Buttons()[0].nameText, 900);
    ASSERT_EQ(catalogue.ButtonDefaults().size(), 2u);
    const ButtonDefault* dpi = catalogue.FindButtonDefault(7);
    ASSERT_NE(dpi, nullptr);
    EXPECT_EQ(dpi->name, L"901");
    EXPECT_EQ(dpi->funcType, 1);
    EXPECT_EQ(dpi->funcValue, 11);
    EXPECT_EQ(dpi->funcDesc, L"210");
    EXPECT_EQ(catalogue.FindButtonDefault(3), nullptr);

    // The model's settings store is open, created in the data directory.
    EXPECT_TRUE(m_store.IsOpened());
    EXPECT_TRUE(fs::exists(m_dataDirectory / "db" / "fixture_mouse_datav8.db"));
}

TEST_F(CatalogueLoaderTest, DescribingAnotherTypeSwitchesModelStoreAndPage) {
    DeviceCatalogue catalogue(SetupFor(FixtureDirectory("two_models")));
    ASSERT_TRUE(catalogue.LoadCatalogue());
    m_effects.Clear();

    ASSERT_TRUE(catalogue.LoadDeviceDescription(101));
    EXPECT_EQ(catalogue.CurrentModelKey(), L"other_mouse");
    EXPECT_EQ(catalogue.CurrentDeviceType(), 101);
    EXPECT_TRUE(catalogue.HasLighting());
    const std::vector<std::string> expected = {
        "SetMousePicture device\\other_top.png",
        "SetLightingAvailable 1",
        "ClearMouseButtons",
        "AddMouseButton T902 2 1 10 30 20 30",
    };
    EXPECT_EQ(m_effects.Calls(), expected);
    ASSERT_EQ(catalogue.ButtonDefaults().size(), 1u);
    EXPECT_EQ(catalogue.ButtonDefaults()[0].keyValue, 2);
    EXPECT_TRUE(m_store.IsOpened());
    EXPECT_NE(m_store.GetPath().find("other_mouse_datav8.db"), std::string::npos);
}

TEST_F(CatalogueLoaderTest, LoadingAgainReplacesWhatWasFilled) {
    DeviceCatalogue catalogue(SetupFor(FixtureDirectory("two_models")));
    ASSERT_TRUE(catalogue.LoadCatalogue());
    ASSERT_TRUE(catalogue.LoadCatalogue());
    EXPECT_EQ(catalogue.Models().size(), 2u);
    EXPECT_EQ(catalogue.Devices().size(), 3u);
    EXPECT_EQ(catalogue.Buttons().size(), 2u);
    EXPECT_EQ(catalogue.ButtonDefaults().size(), 2u);

    // A catalogue that cannot be read empties the id table of the earlier load.
    DeviceCatalogue broken(SetupFor(FixtureDirectory("malformed")));
    EXPECT_FALSE(broken.LoadCatalogue());
    EXPECT_FALSE(m_manager.IsSupported(0x7768, 0x1A2B));
}

TEST_F(CatalogueLoaderTest, UnreadableCatalogueListsNothingAndClosesTheStore) {
    ASSERT_TRUE(m_store.OpenForModel(m_dataDirectory.wstring(), L"previous_model"));
    m_manager.AddSupportedId(0x7768, 0x0001, L"", 102, 0);

    const std::wstring missing = (m_dataDirectory / "no-program-here").wstring();
    for (const std::wstring& directory : {FixtureDirectory("malformed"), missing}) {
        SCOPED_TRACE(WideToUtf8(directory));
        m_effects.Clear();
        DeviceCatalogue catalogue(SetupFor(directory));
        EXPECT_FALSE(catalogue.LoadCatalogue());
        EXPECT_TRUE(catalogue.Models().empty());
        EXPECT_TRUE(catalogue.Devices().empty());
        EXPECT_FALSE(catalogue.Software().present);
        EXPECT_FALSE(m_manager.IsSupported(0x7768, 0x0001));
        EXPECT_TRUE(catalogue.CurrentModelKey().empty());
        EXPECT_FALSE(m_store.IsOpened());
        const std::vector<std::string> expected = {
            "ClearDeviceList",
            "SetMousePicture ",
            "ClearMouseButtons",
        };
        EXPECT_EQ(m_effects.Calls(), expected);
    }
}

TEST_F(CatalogueLoaderTest, MissingDescriptionEmptiesThePageAndKeepsTheLightingFlag) {
    DeviceCatalogue catalogue(SetupFor(FixtureDirectory("missing_description")));
    EXPECT_TRUE(catalogue.LoadCatalogue());
    EXPECT_EQ(catalogue.CurrentModelKey(), L"absent_mouse");
    EXPECT_TRUE(catalogue.HasLighting());
    EXPECT_TRUE(catalogue.MousePicture().empty());
    EXPECT_TRUE(catalogue.Buttons().empty());
    // The store of the model opens even without its description.
    EXPECT_TRUE(m_store.IsOpened());

    // Lighting switched off by one description stays off when the next one is missing, while
    // the previous model's picture and buttons go.
    DeviceCatalogue twoModels(SetupFor(FixtureDirectory("two_models")));
    ASSERT_TRUE(twoModels.LoadCatalogue());
    ASSERT_FALSE(twoModels.HasLighting());
    m_effects.Clear();
    EXPECT_FALSE(twoModels.LoadDeviceDescription(103));
    EXPECT_FALSE(twoModels.HasLighting());
    EXPECT_TRUE(twoModels.Buttons().empty());
    EXPECT_TRUE(twoModels.ButtonDefaults().empty());
    EXPECT_EQ(twoModels.CurrentDeviceType(), 103);
    const std::vector<std::string> expected = {"SetMousePicture ", "ClearMouseButtons"};
    EXPECT_EQ(m_effects.Calls(), expected);
    EXPECT_FALSE(m_store.IsOpened());
}

TEST_F(CatalogueLoaderTest, OddValuesReadAsEmptyOrZeroAndNeverNameOutsideFiles) {
    DeviceCatalogue catalogue(SetupFor(FixtureDirectory("odd_values")));
    EXPECT_TRUE(catalogue.LoadCatalogue());
    ASSERT_EQ(catalogue.Models().size(), 1u);
    EXPECT_EQ(catalogue.Models()[0].name, L"");
    EXPECT_EQ(catalogue.Models()[0].image, L"");
    ASSERT_EQ(catalogue.Devices().size(), 2u);
    EXPECT_EQ(catalogue.Devices()[0].mode, 1);
    EXPECT_EQ(catalogue.Devices()[0].vendorId, 0);
    EXPECT_EQ(catalogue.Devices()[0].productId, 0);  // 0x12345 is no USB id
    EXPECT_EQ(catalogue.Devices()[1].mode, 0);
    EXPECT_EQ(catalogue.Devices()[1].hidInterface, L"");
    EXPECT_TRUE(catalogue.Software().present);
    EXPECT_EQ(catalogue.Software().version, L"");

    // The model key "..\escape" would reach escape.xml beside the catalogue and a database
    // outside "db": neither is touched.
    EXPECT_EQ(catalogue.CurrentModelKey(), L"..\\escape");
    EXPECT_TRUE(catalogue.DescriptionFilePath(catalogue.CurrentModelKey()).empty());
    EXPECT_TRUE(catalogue.MousePicture().empty());
    EXPECT_FALSE(m_store.IsOpened());
    EXPECT_TRUE(StoreFiles().empty());
    const std::vector<std::string> calls = m_effects.Calls();
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls[2], "SetApplicationVersionLabel T17: v");
}

TEST_F(CatalogueLoaderTest, CatalogueWithoutMainModelOpensNoStore) {
    ASSERT_TRUE(m_store.OpenForModel(m_dataDirectory.wstring(), L"previous_model"));
    DeviceCatalogue catalogue(SetupFor(FixtureDirectory("no_main_model")));
    EXPECT_TRUE(catalogue.LoadCatalogue());
    EXPECT_TRUE(m_manager.IsSupported(0x7768, 0x0003));
    EXPECT_TRUE(catalogue.CurrentModelName().empty());
    EXPECT_TRUE(catalogue.CurrentModelKey().empty());
    EXPECT_FALSE(m_store.IsOpened());
    EXPECT_FALSE(catalogue.Software().present);
}

TEST_F(CatalogueLoaderTest, RunsWithoutWindowStoreOrTexts) {
    DeviceCatalogue::Setup setup = SetupFor(FixtureDirectory("two_models"));
    setup.effects = nullptr;
    setup.store = nullptr;
    setup.languageText = nullptr;
    DeviceCatalogue catalogue(setup);
    EXPECT_TRUE(catalogue.LoadCatalogue());
    EXPECT_EQ(catalogue.Buttons().size(), 2u);
    EXPECT_FALSE(m_store.IsOpened());
    EXPECT_TRUE(StoreFiles().empty());
}

}  // namespace
}  // namespace tavik
