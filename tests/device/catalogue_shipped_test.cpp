#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/common/text_encoding.h"
#include "app/device/device_catalogue.h"
#include "app/device/hid_device_manager.h"
#include "app/device/sim/device_simulator.h"
#include "app/device/sim/sim_identities.h"
#include "tests/support/window_effects_recorder.h"

// The catalogue and descriptions as shipped: copied beside the program by the build and read
// from there, as the program reads them.
namespace tavik {
namespace {

namespace fs = std::filesystem;

// The mouse pictures are drawn this size; every call-out and its label lie inside.
constexpr int kPictureWidth = 360;
constexpr int kPictureHeight = 420;
// A label box of the button picker: 66 wide and 26 high beside the call-out's outer end.
constexpr int kLabelWidth = 67;
constexpr int kLabelHalfHeight = 13;

fs::path SourceAssets() {
    return fs::path(TAVIK_SOURCE_DIR) / "assets";
}

std::wstring ProgramDirectory() {
    return fs::path(TAVIK_OUTPUT_DIR).wstring();
}

std::string ReadBytes(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

DeviceCatalogue::Setup ShippedSetup(HidDeviceManager* manager, WindowEffects* effects) {
    DeviceCatalogue::Setup setup;
    setup.programDirectory = ProgramDirectory();
    setup.themeDirectory = L"theme1\\";
    setup.manager = manager;
    setup.effects = effects;
    setup.languageText = [](int number) { return std::to_wstring(number); };
    return setup;
}

TEST(ShippedCatalogue, BuildCopiesTheFilesUnchanged) {
    std::vector<fs::path> files = {"config.xml"};
    for (const auto& entry : fs::directory_iterator(SourceAssets() / "device")) {
        files.push_back(fs::path("device") / entry.path().filename());
    }
    ASSERT_GE(files.size(), 3u);
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.string());
        const std::string shipped = ReadBytes(fs::path(TAVIK_OUTPUT_DIR) / file);
        EXPECT_FALSE(shipped.empty());
        EXPECT_EQ(shipped, ReadBytes(SourceAssets() / file));
    }
}

TEST(ShippedCatalogue, ListsExactlyTheSimulatorIdentities) {
    HidDeviceManager manager{HidApi{}};
    DeviceCatalogue catalogue(ShippedSetup(&manager, nullptr));
    ASSERT_TRUE(catalogue.LoadCatalogue());

    struct Identity {
        int productId, deviceType, mode;
    };
    const Identity identities[] = {
        {sim::kWiredMouseProductId, sim::kMainDeviceType, sim::kWiredMode},
        {sim::kReceiverProductId, sim::kMainDeviceType, sim::kWirelessMode},
        {sim::kSecondModelProductId, sim::kSecondDeviceType, sim::kWiredMode},
    };
    ASSERT_EQ(catalogue.Devices().size(), std::size(identities));
    for (size_t i = 0; i < std::size(identities); ++i) {
        const CatalogueDevice& device = catalogue.Devices()[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(device.vendorId, sim::kVendorId);
        EXPECT_EQ(device.productId, identities[i].productId);
        EXPECT_EQ(device.deviceType, identities[i].deviceType);
        EXPECT_EQ(device.mode, identities[i].mode);
        EXPECT_EQ(WideToUtf8(device.hidInterface),
                  sim::InterfacePattern(identities[i].productId, sim::kVendorInterface));
        // Every record is in the id table as loaded.
        EXPECT_EQ(manager.DevTypeOf(device.vendorId, device.productId), device.deviceType);
        EXPECT_EQ(manager.DevModeOf(device.vendorId, device.productId), device.mode);
    }
}

TEST(ShippedCatalogue, FindsEverySimulatedDeviceAndItsRemovalPattern) {
    auto clock = std::make_shared<VirtualClock>();
    sim::SimulatorSetup attached;
    attached.secondModelPlugged = true;
    sim::DeviceSimulator simulator(attached, clock);
    HidDeviceManager manager(simulator.Api(), clock);
    DeviceCatalogue catalogue(ShippedSetup(&manager, nullptr));
    ASSERT_TRUE(catalogue.LoadCatalogue());

    manager.RebuildDevices();
    manager.SetCurDeviceType(0);
    std::vector<DeviceEntry> entries;
    ASSERT_TRUE(manager.GetDevices(entries));
    ASSERT_EQ(entries.size(), catalogue.Devices().size());
    for (const CatalogueDevice& device : catalogue.Devices()) {
        SCOPED_TRACE(WideToUtf8(device.hidInterface));
        const auto entry = std::find_if(entries.begin(), entries.end(), [&](const DeviceEntry& e) {
            return e.vendorId == device.vendorId && e.productId == device.productId;
        });
        ASSERT_NE(entry, entries.end());
        EXPECT_EQ(entry->deviceType, device.deviceType);
        EXPECT_EQ(entry->deviceMode, device.mode);
        // A removal notice names the interface by its path; the pattern must find it there.
        EXPECT_NE(Upper(entry->path).find(WideToUtf8(device.hidInterface)), std::string::npos);
    }
}

// Hot-plug decisions run on the catalogue's records: removing any simulated vendor interface
// is recognised by its pattern, the keyboard interface of the same device is not.
TEST(ShippedCatalogue, RemovalOfEachSimulatedVendorInterfaceIsRecognised) {
    auto clock = std::make_shared<VirtualClock>();
    sim::SimulatorSetup attached;
    attached.secondModelPlugged = true;
    sim::DeviceSimulator simulator(attached, clock);
    HidDeviceManager manager(simulator.Api(), clock);
    WindowEffectsRecorder window;
    DeviceCatalogue catalogue(ShippedSetup(&manager, &window));
    ASSERT_TRUE(catalogue.LoadCatalogue());

    MemoryDeviceTypePreference preference;
    std::vector<int> jobs;
    DeviceConnection connection(manager, window, preference, [&](int job) { jobs.push_back(job); });
    connection.SetDeviceRecords(catalogue.ModeRecords());
    connection.RefreshDevices();
    ASSERT_TRUE(connection.DevicesPresent());

    for (const CatalogueDevice& device : catalogue.Devices()) {
        SCOPED_TRACE(WideToUtf8(device.hidInterface));
        const auto productId = static_cast<uint16_t>(device.productId);
        jobs.clear();
        connection.UpdateUSBDevice(DeviceChangeEvent::kRemoval,
                                   sim::InterfacePath(productId, sim::kKeyboardInterface));
        EXPECT_TRUE(jobs.empty());
        connection.UpdateUSBDevice(DeviceChangeEvent::kRemoval,
                                   sim::InterfacePath(productId, sim::kVendorInterface));
        EXPECT_EQ(jobs, std::vector<int>{3});
        EXPECT_EQ(connection.PendingMode(), device.mode);
    }
}

TEST(ShippedCatalogue, ModelsPicturesAndApplicationTexts) {
    HidDeviceManager manager{HidApi{}};
    WindowEffectsRecorder effects;
    DeviceCatalogue catalogue(ShippedSetup(&manager, &effects));
    ASSERT_TRUE(catalogue.LoadCatalogue());

    ASSERT_EQ(catalogue.Models().size(), 2u);
    const std::map<int, std::pair<std::wstring, std::wstring>> expected = {
        {102, {L"tavik_mouse", L"mouse_102.png"}},
        {101, {L"tavik_mouse_lite", L"mouse_101.png"}},
    };
    for (const CatalogueModel& model : catalogue.Models()) {
        ASSERT_EQ(expected.count(model.deviceType), 1u) << model.deviceType;
        EXPECT_FALSE(model.name.empty());
        EXPECT_EQ(model.modelKey, expected.at(model.deviceType).first);
        EXPECT_EQ(model.image, expected.at(model.deviceType).second);
        EXPECT_TRUE(fs::exists(fs::path(catalogue.DescriptionFilePath(model.modelKey))));
    }

    const SoftwareInfo& software = catalogue.Software();
    EXPECT_EQ(software.version, L"1.0.0");
    for (const std::wstring* url :
         {&software.websiteUrl, &software.storeUrl, &software.upgradeUrl}) {
        EXPECT_EQ(url->rfind(L"https://", 0), 0u) << WideToUtf8(*url);
    }
    EXPECT_FALSE(software.copyrightInfo.empty());
    const std::vector<std::string> calls = effects.Calls();
    EXPECT_NE(std::find(calls.begin(), calls.end(), "SetApplicationVersionLabel 17: v1.0.0"),
              calls.end());
}

// The factory function of each key code, as the button page and the key table know it:
// the mouse-function value and the language text that names it.
struct FactoryFunction {
    int value;
    int text;
};
const std::map<int, FactoryFunction> kFactoryFunctions = {
    {0, {1, 150}}, {1, {3, 151}}, {2, {2, 152}}, {3, {5, 153}},
    {4, {6, 154}}, {5, {7, 156}}, {6, {8, 157}}, {7, {11, 210}},
};

TEST(ShippedCatalogue, DescriptionsPlaceEveryButtonInsideThePicture) {
    HidDeviceManager manager{HidApi{}};
    DeviceCatalogue catalogue(ShippedSetup(&manager, nullptr));
    ASSERT_TRUE(catalogue.LoadCatalogue());

    const std::map<int, std::pair<std::wstring, bool>> pictureAndLighting = {
        {102, {L"device\\mouse_102_top.png", true}},
        {101, {L"device\\mouse_101_top.png", false}},
    };
    for (const auto& [deviceType, expected] : pictureAndLighting) {
        SCOPED_TRACE(deviceType);
        ASSERT_TRUE(catalogue.LoadDeviceDescription(deviceType));
        EXPECT_EQ(catalogue.MousePicture(), expected.first);
        EXPECT_EQ(catalogue.HasLighting(), expected.second);

        const std::vector<DescribedButton>& buttons = catalogue.Buttons();
        ASSERT_EQ(buttons.size(), 6u);
        // The first button of the picture cannot be reassigned: it is the left button.
        EXPECT_EQ(buttons[0].keyValue, 0);
        std::set<int> keyValues;
        std::set<int> names;
        std::vector<std::pair<int, int>> labelTops[2];
        for (const DescribedButton& button : buttons) {
            SCOPED_TRACE(button.keyValue);
            keyValues.insert(button.keyValue);
            names.insert(button.nameText);
            EXPECT_GE(button.nameText, 810);
            EXPECT_LE(button.nameText, 815);
            const CalloutRect& r = button.rect;
            EXPECT_LT(r.a, r.b);
            const int side = button.direction == 1 ? 1 : 0;
            const int labelLeft = side == 1 ? r.b + 1 : r.a - kLabelWidth;
            const int labelRight = side == 1 ? r.b + kLabelWidth : r.a - 1;
            EXPECT_GE(labelLeft, 0);
            EXPECT_LE(labelRight, kPictureWidth);
            EXPECT_GE(r.c - kLabelHalfHeight, 0);
            EXPECT_LE(r.c + kLabelHalfHeight, kPictureHeight);
            labelTops[side].emplace_back(r.c - kLabelHalfHeight, button.keyValue);
        }
        EXPECT_EQ(keyValues.size(), buttons.size());
        EXPECT_EQ(names.size(), buttons.size());
        // Labels on the same side never overlap.
        for (auto& tops : labelTops) {
            std::sort(tops.begin(), tops.end());
            for (size_t i = 1; i < tops.size(); ++i) {
                EXPECT_GE(tops[i].first - tops[i - 1].first, 2 * kLabelHalfHeight)
                    << "keys " << tops[i - 1].second << " and " << tops[i].second;
            }
        }

        for (const ButtonDefault& entry : catalogue.ButtonDefaults()) {
            SCOPED_TRACE(entry.keyValue);
            ASSERT_EQ(kFactoryFunctions.count(entry.keyValue), 1u);
            EXPECT_EQ(entry.funcType, 1);
            EXPECT_EQ(entry.funcValue, kFactoryFunctions.at(entry.keyValue).value);
            EXPECT_EQ(ParseCatalogueNumber(entry.funcDesc),
                      kFactoryFunctions.at(entry.keyValue).text);
        }
    }
}

// Validates the shipped files against the schemas beside the fixtures with xmllint, a parser
// that is not ours. The schemas also turn away a fixture with missing attributes, so they
// check something.
TEST(ShippedCatalogue, XmllintValidatesAgainstTheSchemas) {
#ifdef _WIN32
    GTEST_SKIP() << "xmllint runs in the native tree";
#else
    if (std::system("xmllint --version >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "xmllint is not installed";
    }
    const fs::path schemas = fs::path(TAVIK_SOURCE_DIR) / "tests" / "data" / "catalogue";
    auto validates = [](const fs::path& schema, const fs::path& file) {
        const std::string command = "xmllint --noout --schema '" + schema.string() + "' '" +
                                    file.string() + "' >/dev/null 2>&1";
        return std::system(command.c_str()) == 0;
    };
    const fs::path shipped(TAVIK_OUTPUT_DIR);
    EXPECT_TRUE(validates(schemas / "catalogue.xsd", shipped / "config.xml"));
    int descriptions = 0;
    for (const auto& entry : fs::directory_iterator(shipped / "device")) {
        if (entry.path().extension() == ".xml") {
            ++descriptions;
            EXPECT_TRUE(validates(schemas / "device_description.xsd", entry.path()))
                << entry.path();
        }
    }
    EXPECT_EQ(descriptions, 2);
    EXPECT_FALSE(validates(schemas / "catalogue.xsd", schemas / "odd_values" / "config.xml"));
#endif
}

}  // namespace
}  // namespace tavik
