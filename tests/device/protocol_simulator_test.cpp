#include <gtest/gtest.h>

#include <fstream>
#include <filesystem>
#include <iterator>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/computer_functions_recorder.h"
#include "app/device/device_protocol.h"
#include "app/device/job_queue.h"
#include "app/device/key_macro_image.h"
#include "app/device/protocol_reports.h"
#include "app/device/sim/device_simulator.h"
#include "app/device/sim/sim_identities.h"
#include "tests/support/window_effects_recorder.h"
#include "app/store/profile_loader.h"
#include "tests/device/protocol_test_support.h"
#include "tests/store/store_fixture.h"

namespace tavik {
namespace {

using sim::DeviceSimulator;
using sim::MouseState;
using sim::SimDevice;
using sim::SimFault;
using sim::SimMouse;
using test::ReportHex;
using test::ToHex;

// The worker side of the protocol: connection state and the job queue, recorded.
class HostRecorder : public ProtocolHost {
public:
    explicit HostRecorder(HidDeviceManager& manager) : m_manager(manager) {}

    void DeviceConnectState(int connectionMode) override {
        calls.push_back("DeviceConnectState " + std::to_string(connectionMode));
        connected = false;
    }
    void RefreshDevicesAfterEvent() override {
        calls.push_back("RefreshDevicesAfterEvent");
        m_manager.RebuildDevices();
        m_manager.SetCurDeviceType(sim::kMainDeviceType);
        connected = m_manager.GetCurrentDevMode() != -1;
    }
    bool IsConnected() override { return connected; }
    void QueueJob(int jobCode) override { jobs.push_back(jobCode); }

    std::vector<std::string> calls;
    std::vector<int> jobs;
    bool connected = true;

private:
    HidDeviceManager& m_manager;
};

// A mouse whose every setting differs from the factory state and the store's defaults.
MouseState CustomMouse() {
    MouseState mouse = sim::FactoryMouseState();
    mouse.firmwareBuild = 7;
    mouse.firmwareVersion = 0x23;
    mouse.batteryLevel = 64;
    mouse.batteryCharging = 1;
    mouse.dpiIndex = 3;
    mouse.dpi = {400, 1000, 2000, 3000, 6400, 26000};
    mouse.reportRate = 3;
    mouse.reportFlag = 7;
    mouse.scrollFlag = 0;
    mouse.liftoffHeight = 0;
    mouse.sensorFlag = 6;
    mouse.highspeedMode = 1;
    mouse.buttonRespondTime = 12;
    mouse.lightSleep = 300;
    mouse.deepSleep = 900;
    mouse.moveWakeup = 0;
    mouse.moveCloseLight = 0;
    // DPI colours: 1F 1F, four zeros, six colours, zeros.
    const int colours[6] = {0x112233, 0x445566, 0x778899, 0xAABBCC, 0xDDEEFF, 0x010203};
    for (int stage = 0; stage < 6; ++stage) {
        for (int byte = 0; byte < 3; ++byte) {
            mouse.dpiColours[static_cast<size_t>(6 + 3 * stage + byte)] =
                static_cast<uint8_t>(colours[stage] >> (8 * byte));
        }
    }
    for (int mode = 0; mode < 3; ++mode) {
        auto& block = mouse.lightModes[static_cast<size_t>(mode)];
        block.fill(0);
        block[0] = static_cast<uint8_t>(10 + mode);     // brightness
        block[1] = static_cast<uint8_t>(mode * 100);    // speed byte: 0 reads back as 256
        block[2] = static_cast<uint8_t>(mode);          // direction
        block[3] = static_cast<uint8_t>(mode % 2);      // colourful
        block[4] = static_cast<uint8_t>(mode + 4);      // colour index
        block[5] = 0;                                   // the mode has options
        for (size_t at = 6; at < block.size(); ++at) {  // eight colours
            block[at] = static_cast<uint8_t>(at * 7 + mode);
        }
    }
    mouse.activeLightMode = 2;
    return mouse;
}

// Commits recorded in a write-ahead log: frames whose header gives the database size after a
// commit (bytes 4..7 non-zero). Zero when there is no log.
int CountLogCommits(const std::filesystem::path& database) {
    std::ifstream log(database.u8string() + "-wal", std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(log)),
                                     std::istreambuf_iterator<char>());
    auto word = [&bytes](size_t at) {
        return static_cast<uint32_t>(bytes[at]) << 24 | static_cast<uint32_t>(bytes[at + 1]) << 16 |
               static_cast<uint32_t>(bytes[at + 2]) << 8 | bytes[at + 3];
    };
    if (bytes.size() < 32) {
        return 0;
    }
    const size_t pageSize = word(8);
    int commits = 0;
    for (size_t frame = 32; frame + 24 + pageSize <= bytes.size(); frame += 24 + pageSize) {
        commits += word(frame + 4) != 0 ? 1 : 0;
    }
    return commits;
}

class ProtocolSimulatorTest : public test::StoreTest {
protected:
    ProtocolSimulatorTest()
        : m_clock(std::make_shared<VirtualClock>()),
          m_simulator(std::make_unique<DeviceSimulator>(sim::SimulatorSetup{}, m_clock)),
          m_manager(m_simulator->Api(), m_clock),
          m_host(m_manager),
          m_protocol(m_manager, m_database, m_mouse, m_host, m_window, m_computer, m_clock) {
        m_manager.AddSupportedId(sim::kVendorId, sim::kWiredMouseProductId, L"",
                                 sim::kMainDeviceType, sim::kWiredMode);
        m_manager.AddSupportedId(sim::kVendorId, sim::kReceiverProductId, L"", sim::kMainDeviceType,
                                 sim::kWirelessMode);
        m_manager.AddSupportedId(sim::kVendorId, sim::kSecondModelProductId, L"",
                                 sim::kSecondDeviceType, sim::kWiredMode);
        m_protocol.SetLanguageTexts([](int number) {
            return number == kMouseVersionText ? std::wstring(L"Mouse firmware")
                                               : std::wstring(L"Receiver firmware");
        });
    }

    void SetUp() override {
        StoreTest::SetUp();
        ASSERT_TRUE(m_protocol.LoadActiveProfile());
        ASSERT_TRUE(m_database.EnsureDefaultLights(m_mouse.currentProfile));
        Rebuild();
    }

    // Lists the attached devices as the worker does; the probes they answer are forgotten.
    void Rebuild() {
        m_manager.RebuildDevices();
        m_manager.SetCurDeviceType(sim::kMainDeviceType);
        m_simulator->ClearReceivedCommands();
    }

    std::wstring Config(const std::wstring& key) {
        std::wstring value;
        m_database.GetConfigValue(m_mouse.currentProfile, key, value);
        return value;
    }
    void SetConfig(const std::wstring& key, const std::wstring& value) {
        ASSERT_TRUE(m_database.SetConfigValue(m_mouse.currentProfile, key, value));
    }

    // Every stored configuration value and light row.
    std::wstring Snapshot() {
        return SideRows("SELECT profile, key, value FROM t_configdata ORDER BY config_id") +
               SideRows("SELECT * FROM t_light_data ORDER BY light_id");
    }

    std::vector<std::string> SentCommands() {
        std::vector<std::string> sent;
        for (const sim::ReceivedCommand& command : m_simulator->ReceivedCommands()) {
            sent.push_back(ReportHex(command.bytes));
        }
        return sent;
    }

    std::string LastSent() {
        std::vector<std::string> sent = SentCommands();
        return sent.empty() ? std::string() : sent.back();
    }

    // Polls until the pending event has been handled (one report per call).
    void Poll(int times = 1) {
        for (int pass = 0; pass < times; ++pass) {
            m_protocol.PollNotifications();
        }
    }

    bool Has(const std::vector<std::string>& calls, const std::string& call) {
        return std::find(calls.begin(), calls.end(), call) != calls.end();
    }

    std::shared_ptr<VirtualClock> m_clock;
    std::unique_ptr<DeviceSimulator> m_simulator;
    HidDeviceManager m_manager;
    ConnectedMouseState m_mouse;
    HostRecorder m_host;
    WindowEffectsRecorder m_window;
    ComputerFunctionsRecorder m_computer;
    DeviceProtocol m_protocol;
};

TEST_F(ProtocolSimulatorTest, FullReadStoresEverythingInOneCommit) {
    ASSERT_TRUE(m_database.EnsureDefaultLights(m_mouse.currentProfile));
    ASSERT_TRUE(m_protocol.GetMouseData());
    const int before = CountLogCommits(m_file);
    ASSERT_GT(before, 0) << "the store keeps a write-ahead log";
    m_simulator->SetMouse(CustomMouse());
    ASSERT_TRUE(m_protocol.GetMouseData());
    EXPECT_EQ(CountLogCommits(m_file) - before, 1);
    EXPECT_EQ(Config(L"dpi_group5_value"), L"26000");
}

TEST_F(ProtocolSimulatorTest, FullReadStoresWhatTheMouseHolds) {
    m_simulator->SetMouse(CustomMouse());
    ASSERT_TRUE(m_protocol.GetMouseData());

    const std::pair<const wchar_t*, const wchar_t*> keys[] = {
        {L"dpi_group0_value", L"400"},
        {L"dpi_group1_value", L"1000"},
        {L"dpi_group2_value", L"2000"},
        {L"dpi_group3_value", L"3000"},
        {L"dpi_group4_value", L"6400"},
        {L"dpi_group5_value", L"26000"},
        {L"report_rate", L"3"},
        {L"report_flag", L"7"},
        {L"scroll_flag", L"0"},
        {L"liftoff_height", L"0"},
        {L"sensor_flag", L"6"},
        {L"highspeed_mode", L"1"},
        {L"button_respondtime", L"12"},
        {L"light_sleep", L"300"},
        {L"deep_sleep", L"900"},
        {L"move_wakeup", L"0"},
        {L"move_closelight", L"0"},
        {L"dpi_group0_rgb", L"1122867"},
        {L"dpi_group1_rgb", L"4478310"},
        {L"dpi_group2_rgb", L"7833753"},
        {L"dpi_group3_rgb", L"11189196"},
        {L"dpi_group4_rgb", L"14544639"},
        {L"dpi_group5_rgb", L"66051"},
        // Not read from the mouse: the stage index stays in memory only.
        {L"dpi_index", L"1"},
        {L"dpi_count", L"6"},
    };
    for (const auto& [key, value] : keys) {
        EXPECT_EQ(Config(key), value) << WideToUtf8(key);
    }

    EXPECT_EQ(m_mouse.connectionMode, 3);
    EXPECT_EQ(m_mouse.batteryLevel, 64);
    EXPECT_EQ(m_mouse.batteryCharging, 1);
    EXPECT_EQ(m_mouse.dpiStageIndex, 3);
    EXPECT_EQ(m_mouse.reportRate, 3);
    EXPECT_EQ(m_mouse.reportFlag, 7);
    EXPECT_EQ(m_mouse.mouseVersion, L"2.3.7");
    EXPECT_EQ(m_mouse.receiverVersion, L"");  // a mouse on its cable has no receiver
    EXPECT_EQ(m_mouse.currentLightMode, 2);
    EXPECT_EQ(m_window.Calls(),
              (std::vector<std::string>{"SetBatteryInfo 64 1", "SetDeviceBattery 102 64 1",
                                        "SetMouseVersionLabel Mouse firmware: 2.3.7",
                                        "SetReceiverVersionLabel Receiver firmware"}));
    EXPECT_EQ(m_host.jobs, (std::vector<int>{job::kMouseFirmwareAutoCheck, job::kSendMacros}));
    EXPECT_TRUE(m_host.calls.empty());

    // Light modes 1 to 3 take the mouse's values; config_func keeps the stored capability
    // bits; mode 0 is not the mouse's.
    EXPECT_EQ(m_database.GetActiveLightMode(m_mouse.currentProfile), 2);
    const int storedConfigFunc[4] = {0, 2067, 3, 2065};
    for (int mode = 0; mode <= 3; ++mode) {
        LightRecord light;
        ASSERT_TRUE(m_database.GetLight(m_mouse.currentProfile, mode, light));
        EXPECT_EQ(light.configFunc, storedConfigFunc[mode]) << mode;
        if (mode == 0) {
            EXPECT_EQ(light.brightness, 127);
            continue;
        }
        EXPECT_EQ(light.brightness, 9 + mode);
        EXPECT_EQ(light.speed, mode == 1 ? 256 : 256 - (mode - 1) * 100);
        EXPECT_EQ(light.direction, mode - 1);
        EXPECT_EQ(light.colorful, (mode - 1) % 2);
        EXPECT_EQ(light.colorIndex, mode + 3);
        for (size_t colour = 0; colour < 8; ++colour) {
            int expected = 0;
            for (size_t byte = 0; byte < 3; ++byte) {
                size_t at = 6 + 3 * colour + byte;
                expected |= ((static_cast<int>(at) * 7 + mode - 1) & 0xFF) << (8 * byte);
            }
            EXPECT_EQ(light.colorValues[colour], expected) << mode << " " << colour;
        }
        EXPECT_EQ(light.status, mode == 2 ? 1 : 0);
    }

    // The commands of a full read, in order.
    EXPECT_EQ(SentCommands(),
              (std::vector<std::string>{"06 05", "06 07", "06 10", "06 11", "06 20 20 00 00 01 04",
                                        "06 20 20 00 00 ff", "06 20 20 00 00 01 01",
                                        "06 20 20 00 00 01 02", "06 20 20 00 00 01 03"}));
}

TEST_F(ProtocolSimulatorTest, FullReadThroughTheReceiver) {
    m_simulator->UnplugCable();
    m_simulator->SetReceiverVersion(4, 0x30);
    Rebuild();
    ASSERT_TRUE(m_protocol.GetMouseData());
    EXPECT_EQ(m_mouse.connectionMode, sim::kReceiverConnectionMode);
    EXPECT_EQ(m_mouse.receiverVersion, L"3.0.4");
    EXPECT_TRUE(Has(m_window.Calls(), "SetReceiverVersionLabel Receiver firmware: 3.0.4"));
    EXPECT_EQ(m_host.jobs, (std::vector<int>{job::kReceiverFirmwareAutoCheck, job::kSendMacros}));

    // The receiver's mouse switched off: the window goes to the disconnected state with the
    // stored connection mode.
    m_simulator->SwitchMouseOff();
    std::wstring before = Snapshot();
    EXPECT_FALSE(m_protocol.GetMouseData());
    EXPECT_EQ(m_host.calls, std::vector<std::string>{"DeviceConnectState 1"});
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(ProtocolSimulatorTest, ZeroVersionsAreAskedFiveTimes) {
    m_simulator->InjectFault(SimFault::kZeroVersion, 5);
    uint64_t slept = m_clock->SleptMs();
    EXPECT_FALSE(m_protocol.GetMouseData());
    EXPECT_EQ(SentCommands(), std::vector<std::string>(5, "06 05"));
    EXPECT_GE(m_clock->SleptMs() - slept, 4u * 20);
    EXPECT_EQ(m_host.calls, std::vector<std::string>{"DeviceConnectState 0"});

    // A fifth try that answers is enough.
    m_simulator->ClearReceivedCommands();
    m_simulator->InjectFault(SimFault::kZeroVersion, 4);
    EXPECT_TRUE(m_protocol.GetMouseData());
    EXPECT_EQ(SentCommands().size(), 5u + 8);
}

TEST_F(ProtocolSimulatorTest, EverySenderWritesTheStoreBackToTheMouse) {
    const MouseState custom = CustomMouse();
    m_simulator->SetMouse(custom);
    ASSERT_TRUE(m_protocol.GetMouseData());

    m_simulator->SetMouse(sim::FactoryMouseState());
    // The DPI command carries one stage: send each, ending on the mouse's own stage.
    for (int stage : {0, 1, 2, 4, 5, 3}) {
        SetConfig(L"dpi_index", std::to_wstring(stage));
        ASSERT_TRUE(m_protocol.SendDpiStages()) << stage;
    }
    EXPECT_TRUE(m_protocol.SendDpiColors());
    EXPECT_TRUE(m_protocol.SendReportRate());
    EXPECT_TRUE(m_protocol.SendSensorFlag());
    EXPECT_TRUE(m_protocol.SendButtonRespondTime());
    EXPECT_TRUE(m_protocol.SendScrollFlag());
    EXPECT_TRUE(m_protocol.SendLiftoffHeight());
    EXPECT_TRUE(m_protocol.SendHighspeedMode());
    EXPECT_TRUE(m_protocol.SendSleepTimes());
    EXPECT_TRUE(m_protocol.SendMoveWakeup());
    EXPECT_TRUE(m_protocol.SendMoveCloseLight());
    // The light block carries the active mode: send each, ending on the mouse's own.
    for (int mode : {1, 3, 2}) {
        ASSERT_TRUE(m_database.SetActiveLightMode(m_mouse.currentProfile, mode));
        ASSERT_TRUE(m_protocol.SendLight()) << mode;
    }

    MouseState mouse = m_simulator->Mouse();
    EXPECT_EQ(mouse.dpiIndex, custom.dpiIndex);
    EXPECT_EQ(mouse.dpi, custom.dpi);
    EXPECT_EQ(mouse.reportRate, custom.reportRate);
    EXPECT_EQ(mouse.scrollFlag, custom.scrollFlag);
    EXPECT_EQ(mouse.liftoffHeight, custom.liftoffHeight);
    EXPECT_EQ(mouse.sensorFlag, custom.sensorFlag);
    EXPECT_EQ(mouse.highspeedMode, custom.highspeedMode);
    EXPECT_EQ(mouse.buttonRespondTime, custom.buttonRespondTime);
    EXPECT_EQ(mouse.lightSleep, custom.lightSleep);
    EXPECT_EQ(mouse.deepSleep, custom.deepSleep);
    EXPECT_EQ(mouse.moveWakeup, custom.moveWakeup);
    EXPECT_EQ(mouse.moveCloseLight, custom.moveCloseLight);
    EXPECT_EQ(ToHex(mouse.dpiColours), ToHex(custom.dpiColours));
    for (size_t mode = 0; mode < 3; ++mode) {
        EXPECT_EQ(ToHex(mouse.lightModes[mode]), ToHex(custom.lightModes[mode])) << mode + 1;
    }
    EXPECT_EQ(mouse.activeLightMode, custom.activeLightMode);
}

TEST_F(ProtocolSimulatorTest, SendersBuildTheirReportsFromTheStore) {
    struct Case {
        const wchar_t* key;
        const wchar_t* value;
        bool (DeviceProtocol::*send)();
        const char* report;
    };
    const Case cases[] = {
        {L"report_rate", L"1", &DeviceProtocol::SendReportRate, "06 13 02 00 00 02 01"},
        {L"scroll_flag", L"1", &DeviceProtocol::SendScrollFlag, "06 13 04 00 00 05 01"},
        {L"liftoff_height", L"1", &DeviceProtocol::SendLiftoffHeight, "06 13 02 00 00 06 01"},
        {L"sensor_flag", L"53", &DeviceProtocol::SendSensorFlag, "06 13 02 00 00 07 35"},
        {L"highspeed_mode", L"1", &DeviceProtocol::SendHighspeedMode, "06 13 02 00 00 08 01"},
        {L"button_respondtime", L"50", &DeviceProtocol::SendButtonRespondTime,
         "06 13 02 00 00 0a 32"},
        {L"move_wakeup", L"0", &DeviceProtocol::SendMoveWakeup, "06 13 02 00 00 0c"},
        {L"move_closelight", L"1", &DeviceProtocol::SendMoveCloseLight, "06 13 02 00 00 0d 01"},
        // Only the low byte of a single-byte value goes out.
        {L"report_rate", L"259", &DeviceProtocol::SendReportRate, "06 13 02 00 00 02 03"},
        {L"deep_sleep", L"1800", &DeviceProtocol::SendSleepTimes, "06 13 05 00 00 0b 3c 00 08 07"},
        // The set command carries the DPI itself.
        {L"dpi_index", L"2", &DeviceProtocol::SendDpiStages, "06 13 05 00 00 01 06 02 60 09"},
        {L"dpi_group2_value", L"12000", &DeviceProtocol::SendDpiStages,
         "06 13 05 00 00 01 06 02 e0 2e"},
        {L"dpi_group0_rgb", L"16777215", &DeviceProtocol::SendDpiColors,
         "06 21 20 00 00 01 04 1f 1f 00 00 00 00 ff ff ff 00 00 ff ff ff 00 ff a5 00 00 ff ff 80 "
         "01 80"},
        {L"version", L"1.0.1", &DeviceProtocol::SendPairing, "06 13 01 00 00 09"},
        {L"version", L"1.0.1", &DeviceProtocol::SendDpiDefaults, "06 0f 01 00 00 08"},
        // The active light mode 1 with its default record.
        {L"version", L"1.0.1", &DeviceProtocol::SendLight,
         "06 21 20 00 00 01 01 7f 80 00 01 00 00 ff 00 00 ff 80 00 ff ff 00 00 ff 00 00 ff 80 00 "
         "ff ff 00 00 ff ff 00 ff"},
    };
    for (const Case& testCase : cases) {
        SetConfig(testCase.key, testCase.value);
        m_simulator->ClearReceivedCommands();
        (m_protocol.*testCase.send)();
        EXPECT_EQ(LastSent(), testCase.report) << WideToUtf8(testCase.key);
    }
}

TEST_F(ProtocolSimulatorTest, SendersWithoutTheirValuesSendNothing) {
    SetConfig(L"report_rate", L"fast");
    SetConfig(L"dpi_index", L"6");
    ASSERT_TRUE(m_database.DeleteProfileLights(m_mouse.currentProfile));
    EXPECT_FALSE(m_protocol.SendReportRate());
    EXPECT_FALSE(m_protocol.SendDpiStages());
    EXPECT_FALSE(m_protocol.SendLight());
    EXPECT_TRUE(SentCommands().empty());
}

TEST_F(ProtocolSimulatorTest, KeyTableAndMacrosFromTheStore) {
    int first = m_database.AddMacro(L"first");
    int second = m_database.AddMacro(L"second");
    ASSERT_NE(first, 0);
    ASSERT_NE(second, 0);
    std::vector<MacroEvent> events(3);
    const int types[3] = {2, 6, 3};
    for (int index = 0; index < 3; ++index) {
        events[static_cast<size_t>(index)].macroId = second;
        events[static_cast<size_t>(index)].type = types[index];
        events[static_cast<size_t>(index)].recordIndex = index;
        events[static_cast<size_t>(index)].value = index == 1 ? 1 : 'C';
        events[static_cast<size_t>(index)].delayTime = 30;
    }
    ASSERT_EQ(m_database.AddMacroEvents(events), 3);

    KeyAssignment assignment;
    assignment.profile = m_mouse.currentProfile;
    assignment.keyCode = 4;
    assignment.functionType = kKeyFunctionMacro;
    assignment.value1 = second;
    assignment.value2 = 1;
    assignment.value3 = 3;
    ASSERT_NE(m_database.SaveKeyAssignment(assignment), 0);
    assignment.keyCode = 1;
    assignment.functionType = kKeyFunctionKeyboard;
    assignment.value1 = 0xE1;
    assignment.value2 = 0;
    assignment.value3 = 0x04;
    ASSERT_NE(m_database.SaveKeyAssignment(assignment), 0);

    ASSERT_TRUE(m_protocol.SendKeyTable());
    EXPECT_EQ(LastSent(),
              "06 12 20 00 00 10 01 00 00 20 02 00 04 10 04 00 00 10 10 00 00 60 01 01 03 "
              "10 20 00 00 10 40 00 00 1f 01 00 00 1f");

    m_simulator->ClearReceivedCommands();
    uint64_t slept = m_clock->SleptMs();
    ASSERT_TRUE(m_protocol.SendMacros());
    // Table 0x40, 0x48; the empty macro is its end record; the second has three events.
    MouseState mouse = m_simulator->Mouse();
    ASSERT_EQ(mouse.macroLength, 64u + 8 + 20);
    ASSERT_EQ(mouse.macroChunks, 2);
    EXPECT_EQ(ToHex(mouse.macroMemory.begin(), mouse.macroMemory.begin() + 4), "40 00 48 00");
    EXPECT_EQ(ToHex(mouse.macroMemory.begin() + 64, mouse.macroMemory.begin() + 92),
              "0a 00 83 01 00 00 00 00 0a 00 42 06 00 00 44 01 1e 00 02 06 1e 00 83 01 00 00 00 "
              "00");
    EXPECT_GE(m_clock->SleptMs() - slept, 2u * 10);
    EXPECT_EQ(SentCommands().size(), 2u);
}

TEST_F(ProtocolSimulatorTest, MacroUploadStopsWhenTheMouseGoesAway) {
    for (int macro = 0; macro < 3; ++macro) {
        int id = m_database.AddMacro(L"m");
        std::vector<MacroEvent> events(10);
        for (int index = 0; index < 10; ++index) {
            events[static_cast<size_t>(index)] = MacroEvent{0, id, 2, index, 'A', 10, L""};
        }
        m_database.AddMacroEvents(events);
    }
    m_simulator->InjectFault(SimFault::kUnplugDuringMacroUpload, 1, 1);
    EXPECT_FALSE(m_protocol.SendMacros());
    EXPECT_EQ(SentCommands().size(), 2u);
}

TEST_F(ProtocolSimulatorTest, ALightModeWithoutARecordIsNotCreated) {
    LightRecord light;
    ASSERT_TRUE(m_database.GetLight(m_mouse.currentProfile, 3, light));
    SideRows("DELETE FROM t_light_data WHERE mode = 3");
    m_simulator->SetMouse(CustomMouse());
    ASSERT_TRUE(m_protocol.GetMouseData());
    EXPECT_FALSE(m_database.GetLight(m_mouse.currentProfile, 3, light));
    EXPECT_EQ(m_database.CountProfileLights(m_mouse.currentProfile), 3);
}

TEST_F(ProtocolSimulatorTest, StageIndexOutsideTheStagesInUseIsIgnored) {
    SetConfig(L"dpi_count", L"3");
    m_mouse.dpiStageIndex = 1;
    MouseState mouse = CustomMouse();
    mouse.dpiIndex = 4;
    m_simulator->SetMouse(mouse);
    ASSERT_TRUE(m_protocol.GetMouseData());
    EXPECT_EQ(m_mouse.dpiStageIndex, 1);

    m_window.Clear();
    for (uint8_t stage : {3, 6, 200}) {
        m_simulator->EmitReport(SimDevice::kWiredMouse, {0x06, 0xFA, 0, 0, 0, 0x02, stage});
        Poll();
    }
    EXPECT_EQ(Config(L"dpi_index"), L"1");
    EXPECT_TRUE(m_window.Calls().empty());
}

TEST_F(ProtocolSimulatorTest, DpiButtonEvent) {
    ASSERT_TRUE(m_protocol.GetMouseData());
    ASSERT_EQ(m_mouse.dpiStageIndex, 1);
    m_window.Clear();

    m_simulator->PressDpiButton();
    Poll();
    EXPECT_EQ(m_mouse.dpiStageIndex, 2);
    EXPECT_EQ(Config(L"dpi_index"), L"2");
    EXPECT_EQ(m_window.Calls(), std::vector<std::string>{"SelectDpiStage 2"});

    // The same stage again, and a stage from another model, change nothing.
    m_simulator->EmitReport(SimDevice::kWiredMouse, {0x06, 0xFA, 0, 0, 0, 0x02, 2});
    Poll();
    m_simulator->PlugSecondModel();
    Rebuild();
    m_simulator->EmitReport(SimDevice::kSecondModel, {0x06, 0xFA, 0, 0, 0, 0x02, 4});
    Poll(2);
    EXPECT_EQ(Config(L"dpi_index"), L"2");
    EXPECT_EQ(m_window.Calls(), std::vector<std::string>{"SelectDpiStage 2"});
}

TEST_F(ProtocolSimulatorTest, BatteryEvent) {
    ASSERT_TRUE(m_protocol.GetMouseData());
    m_window.Clear();
    m_simulator->ChangeBattery(40, true);
    Poll();
    EXPECT_EQ(m_window.Calls(),
              (std::vector<std::string>{"SetBatteryInfo 40 1", "SetDeviceBattery 102 40 1"}));
    EXPECT_EQ(m_mouse.batteryLevel, 40);

    // Level 0 is no reading: only the list entry gets the stored values.
    m_window.Clear();
    m_simulator->EmitReport(SimDevice::kWiredMouse, {0x06, 0xFA, 0, 0, 0, 0x03, 0, 0});
    Poll();
    EXPECT_EQ(m_window.Calls(), std::vector<std::string>{"SetDeviceBattery 102 40 1"});

    // Another model's report sets its list entry from the stored values.
    m_simulator->PlugSecondModel();
    Rebuild();
    m_window.Clear();
    m_simulator->ChangeBattery(20, false, SimMouse::kSecondModel);
    Poll(2);
    EXPECT_EQ(m_window.Calls(), std::vector<std::string>{"SetDeviceBattery 101 40 1"});
}

TEST_F(ProtocolSimulatorTest, BatteryEventWhileDisconnectedReadsTheMouseFirst) {
    m_host.connected = false;
    m_simulator->ChangeBattery(55, false);
    Poll();
    EXPECT_EQ(m_host.calls, std::vector<std::string>{"RefreshDevicesAfterEvent"});
    std::vector<std::string> calls = m_window.Calls();
    ASSERT_GE(calls.size(), 4u);
    EXPECT_EQ(calls.front(), "SetBatteryInfo 55 0");  // from the re-read
    EXPECT_TRUE(Has(calls, "RefreshButtonPage"));
    EXPECT_EQ(calls[calls.size() - 2], "SetBatteryInfo 55 0");
    EXPECT_EQ(calls.back(), "SetDeviceBattery 102 55 0");
    EXPECT_EQ(m_host.jobs, (std::vector<int>{job::kMouseFirmwareAutoCheck, job::kSendMacros}));
}

TEST_F(ProtocolSimulatorTest, SettingsChangedAndConnectionEventsReadTheMouseAgain) {
    for (unsigned char code : {0x06, 0x01}) {
        m_host.calls.clear();
        m_host.jobs.clear();
        m_window.Clear();
        MouseState mouse = m_simulator->Mouse();
        mouse.reportRate = code == 0x06 ? 0 : 1;
        m_simulator->SetMouse(mouse);
        if (code == 0x06) {
            m_simulator->ChangeSettingsOnMouse();
        } else {
            m_simulator->EmitReport(SimDevice::kWiredMouse, {0x06, 0xFA, 0, 0, 0, 0x01, 1});
        }
        Poll();
        EXPECT_EQ(m_host.calls, std::vector<std::string>{"RefreshDevicesAfterEvent"}) << code;
        EXPECT_EQ(Config(L"report_rate"), code == 0x06 ? L"0" : L"1") << code;
        EXPECT_EQ(m_host.jobs, (std::vector<int>{job::kMouseFirmwareAutoCheck, job::kSendMacros,
                                                 job::kReceiverFirmwareAutoCheck}))
            << code;
        std::vector<std::string> calls = m_window.Calls();
        EXPECT_EQ(std::vector<std::string>(calls.end() - 4, calls.end()),
                  (std::vector<std::string>{"RefreshButtonPage", "RefreshMacroPage",
                                            "RefreshPerformancePage", "RefreshLightPage"}));
    }
}

TEST_F(ProtocolSimulatorTest, ComputerFunctionEvent) {
    m_simulator->PressComputerFunction(9, 7);
    m_simulator->PressComputerFunction(10, 200);
    m_simulator->PressComputerFunction(11, 1);
    // No function, functions the mouse carries out itself, another model: nothing runs.
    m_simulator->PressComputerFunction(0, 3);
    m_simulator->PressComputerFunction(5, 3);
    // A report that is not an event.
    m_simulator->EmitReport(SimDevice::kWiredMouse, {0x06, 0x13, 0, 0, 0, 0x50, 9, 9});
    Poll(7);
    m_simulator->PlugSecondModel();
    Rebuild();
    m_simulator->PressComputerFunction(9, 8, SimMouse::kSecondModel);
    Poll(2);
    EXPECT_EQ(m_computer.Calls(),
              (std::vector<ComputerFunctionsRecorder::Call>{{9, 7}, {10, 200}, {11, 1}}));
}

TEST_F(ProtocolSimulatorTest, FactoryReset) {
    m_simulator->SetMouse(CustomMouse());
    ASSERT_TRUE(m_protocol.GetMouseData());
    m_window.Clear();
    m_simulator->ClearReceivedCommands();
    uint64_t slept = m_clock->SleptMs();
    EXPECT_TRUE(m_protocol.SendFactoryReset());
    EXPECT_GE(m_clock->SleptMs() - slept, 3000u);
    EXPECT_EQ(SentCommands().front(), "06 0f 01 00 00 ff");
    EXPECT_EQ(m_simulator->Mouse().factoryResets, 1);
    EXPECT_EQ(Config(L"report_rate"), L"2");
    EXPECT_EQ(Config(L"dpi_group0_value"), L"800");
    std::vector<std::string> calls = m_window.Calls();
    EXPECT_EQ(std::vector<std::string>(calls.end() - 4, calls.end()),
              (std::vector<std::string>{"RefreshButtonPage", "RefreshMacroPage",
                                        "RefreshPerformancePage", "RefreshLightPage"}));
}

TEST_F(ProtocolSimulatorTest, SendAllSettings) {
    uint64_t slept = m_clock->SleptMs();
    m_protocol.SendAllSettings();
    std::vector<std::string> sent = SentCommands();
    std::vector<std::string> heads;
    for (const std::string& report : sent) {
        heads.push_back(report.substr(0, 2 + 3 * 5 > report.size() ? report.size() : 17));
    }
    EXPECT_EQ(heads, (std::vector<std::string>{"06 13 05 00 00 01", "06 13 02 00 00 02",
                                               "06 13 02 00 00 07", "06 13 02 00 00 0a",
                                               "06 13 04 00 00 05", "06 13 02 00 00 06",
                                               "06 13 02 00 00 08", "06 13 05 00 00 0b",
                                               "06 12 20 00 00 10", "06 21 20 00 00 01"}));
    EXPECT_GE(m_clock->SleptMs() - slept, 1000u);
    EXPECT_EQ(m_window.Calls(),
              (std::vector<std::string>{"RefreshButtonPage", "RefreshPerformancePage",
                                        "RefreshLightPage"}));

    m_mouse.hasLighting = false;
    m_simulator->ClearReceivedCommands();
    m_window.Clear();
    m_protocol.SendAllSettings();
    EXPECT_EQ(SentCommands().size(), 9u);
    EXPECT_EQ(m_window.Calls(),
              (std::vector<std::string>{"RefreshButtonPage", "RefreshPerformancePage"}));
}

struct FaultCase {
    const char* name;
    SimFault fault;
    int parameter;
};

// Faults on every command of the full read: the read fails and nothing is stored.
TEST_F(ProtocolSimulatorTest, FaultyDeviceInformationLeavesTheStoreUnchanged) {
    const FaultCase cases[] = {
        {"no reply", SimFault::kNoReply, 0},
        {"zero version", SimFault::kZeroVersion, 0},
        {"reply of two bytes", SimFault::kShortReply, 2},
        {"reply cut before the connected byte", SimFault::kShortReply, 12},
        {"garbage", SimFault::kGarbageReply, 0},
    };
    m_simulator->SetMouse(CustomMouse());
    for (const FaultCase& testCase : cases) {
        std::wstring before = Snapshot();
        m_host.calls.clear();
        m_simulator->ClearFaults();
        m_simulator->InjectFault(testCase.fault, 100, testCase.parameter);
        EXPECT_FALSE(m_protocol.GetMouseData()) << testCase.name;
        EXPECT_EQ(Snapshot(), before) << testCase.name;
        ASSERT_EQ(m_host.calls.size(), 1u) << testCase.name;
        EXPECT_EQ(m_host.calls[0].rfind("DeviceConnectState", 0), 0u) << testCase.name;
    }
}

// Faults on the data-block reads only: the settings come in, the blocks are not taken.
TEST_F(ProtocolSimulatorTest, FaultyBlockRepliesLeaveColoursAndLightsUnchanged) {
    const FaultCase cases[] = {
        {"no reply", SimFault::kNoReply, 0},
        {"reply cut before the address", SimFault::kShortReply, 5},
        {"garbage", SimFault::kGarbageReply, 0},
        {"reply after the reads", SimFault::kLateReply, 30},
    };
    ASSERT_TRUE(m_protocol.GetMouseData());
    MouseState changed = CustomMouse();
    // The settings of the device information stay as read; only the blocks differ.
    MouseState factory = sim::FactoryMouseState();
    changed.dpi = factory.dpi;
    changed.dpiIndex = factory.dpiIndex;
    changed.reportRate = factory.reportRate;
    changed.reportFlag = factory.reportFlag;
    changed.scrollFlag = factory.scrollFlag;
    changed.liftoffHeight = factory.liftoffHeight;
    changed.sensorFlag = factory.sensorFlag;
    changed.highspeedMode = factory.highspeedMode;
    changed.buttonRespondTime = factory.buttonRespondTime;
    changed.lightSleep = factory.lightSleep;
    changed.deepSleep = factory.deepSleep;
    changed.moveWakeup = factory.moveWakeup;
    changed.moveCloseLight = factory.moveCloseLight;
    m_simulator->SetMouse(changed);

    for (const FaultCase& testCase : cases) {
        // A fresh simulator state for each case: late replies of the last case are gone.
        m_simulator->ClearFaults();
        m_simulator->UnplugCable();
        m_simulator->PlugCable();
        Rebuild();
        std::wstring before = Snapshot();
        m_simulator->SetCommandObserver([this, testCase](const sim::ReceivedCommand& command) {
            if (command.bytes[1] == kCommandStatus11) {
                m_simulator->InjectFault(testCase.fault, 5, testCase.parameter);
            }
        });
        EXPECT_TRUE(m_protocol.GetMouseData()) << testCase.name;
        m_simulator->SetCommandObserver(nullptr);
        EXPECT_EQ(Snapshot(), before) << testCase.name;
    }
}

TEST_F(ProtocolSimulatorTest, RepliesBehindEventsOrLateStillCount) {
    for (const FaultCase& testCase : {FaultCase{"event first", SimFault::kEventBeforeReply, 0},
                                      FaultCase{"late", SimFault::kLateReply, 3}}) {
        m_simulator->SetMouse(CustomMouse());
        m_simulator->ClearFaults();
        m_simulator->InjectFault(testCase.fault, 100, testCase.parameter);
        EXPECT_TRUE(m_protocol.GetMouseData()) << testCase.name;
        EXPECT_EQ(Config(L"dpi_group5_value"), L"26000") << testCase.name;
        EXPECT_EQ(Config(L"dpi_group0_rgb"), L"1122867") << testCase.name;
        m_simulator->SetMouse(sim::FactoryMouseState());
        m_simulator->ClearFaults();
        ASSERT_TRUE(m_protocol.GetMouseData());
    }
}

}  // namespace
}  // namespace tavik
