#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/device/clock.h"
#include "app/device/sim/device_simulator.h"
#include "app/device/sim/scenario_script.h"
#include "app/device/sim/sim_identities.h"
#include "tests/store/store_test_support.h"

namespace tavik::sim {
namespace {

// A manager reading the simulator's vendor interfaces on virtual time, to see what a line
// made the devices send.
class ScenarioScriptTest : public ::testing::Test {
protected:
    ScenarioScriptTest()
        : m_clock(std::make_shared<VirtualClock>()),
          m_simulator(SimulatorSetup{}, m_clock),
          m_manager(m_simulator.Api(), m_clock) {
        m_manager.AddSupportedId(kVendorId, kWiredMouseProductId, L"", kMainDeviceType, kWiredMode);
        m_manager.AddSupportedId(kVendorId, kReceiverProductId, L"", kMainDeviceType,
                                 kWirelessMode);
        m_manager.AddSupportedId(kVendorId, kSecondModelProductId, L"", kSecondDeviceType,
                                 kWiredMode);
        m_manager.RebuildDevices();
        m_manager.SetCurDeviceType(kMainDeviceType);
    }

    ScenarioScript Parsed(const std::string& text) {
        ScenarioScript script;
        std::string error;
        EXPECT_TRUE(ScenarioScript::Parse(text, script, error)) << error;
        return script;
    }

    void Play(const std::string& text) {
        const ScenarioScript script = Parsed(text);
        for (const ScenarioAction& action : script.Actions()) {
            ScenarioScript::Apply(action, m_simulator);
        }
    }

    // Every event the interfaces delivered, as "type byte5 byte6 byte7" or "link byte1".
    std::vector<std::string> Delivered() {
        std::vector<std::string> delivered;
        for (int read = 0; read < 8; ++read) {
            ReportBuffer report{};
            int deviceType = 0;
            m_manager.ReadNotifications(report, deviceType);
            if (report[0] == 0xC0) {
                delivered.push_back("link " + std::to_string(report[1]));
            } else if (report[1] == 0xFA) {
                delivered.push_back(std::to_string(deviceType) + " " + std::to_string(report[5]) +
                                    " " + std::to_string(report[6]) + " " +
                                    std::to_string(report[7]));
            }
        }
        return delivered;
    }

    std::shared_ptr<VirtualClock> m_clock;
    DeviceSimulator m_simulator;
    HidDeviceManager m_manager;
};

struct VerbCase {
    const char* line;
    std::vector<std::string> delivered;  // events and link reports it causes
    std::function<bool(const DeviceSimulator&)> holds;
};

TEST_F(ScenarioScriptTest, EachVerbDoesWhatItSays) {
    const VerbCase cases[] = {
        {"press dpi", {"102 2 2 0"}, nullptr},
        {"battery 40 charging",
         {"102 3 40 1"},
         [](const DeviceSimulator& s) { return s.Mouse().batteryLevel == 40; }},
        {"battery 7", {"102 3 7 0"}, nullptr},
        {"press function 3", {"102 80 9 3"}, nullptr},
        {"press function 4 web", {"102 80 10 4"}, nullptr},
        {"press function 5 text", {"102 80 11 5"}, nullptr},
        {"settings changed", {"102 6 0 0"}, nullptr},
        {"unplug cable",
         {},
         [](const DeviceSimulator& s) { return !s.IsPlugged(SimDevice::kWiredMouse); }},
        {"plug second",
         {},
         [](const DeviceSimulator& s) { return s.IsPlugged(SimDevice::kSecondModel); }},
        {"unplug receiver",
         {},
         [](const DeviceSimulator& s) { return !s.IsPlugged(SimDevice::kReceiver); }},
        {"plug receiver", {}, [](const DeviceSimulator& s) { return s.IsLinked(); }},
        {"plug cable",
         {},
         [](const DeviceSimulator& s) { return s.IsPlugged(SimDevice::kWiredMouse); }},
    };
    for (const VerbCase& c : cases) {
        SCOPED_TRACE(c.line);
        Play(c.line);
        EXPECT_EQ(Delivered(), c.delivered);
        if (c.holds) {
            EXPECT_TRUE(c.holds(m_simulator));
        }
    }
}

TEST_F(ScenarioScriptTest, ReceiverLinkVerbs) {
    m_simulator.UnplugCable();
    m_manager.RebuildDevices();
    m_manager.SetCurDeviceType(kMainDeviceType);
    Play("receiver mouse off");
    EXPECT_FALSE(m_simulator.IsLinked());
    EXPECT_EQ(Delivered(), (std::vector<std::string>{"link 0", "102 1 0 0"}));
    Play("receiver mouse on");
    EXPECT_EQ(Delivered(), (std::vector<std::string>{"link 1", "102 1 0 0"}));
    EXPECT_TRUE(m_simulator.IsLinked());
    Play("pair success");
    EXPECT_EQ(Delivered(), (std::vector<std::string>{"link 1", "102 1 1 0"}));
}

TEST_F(ScenarioScriptTest, FaultVerbReachesTheNextCommands) {
    Play("fault no-reply 2");
    for (bool answered : {false, false, true}) {
        ReportBuffer request{};
        request[0] = 0x06;
        request[1] = 0x10;
        EXPECT_EQ(m_manager.SendCommand(request, true), answered);
    }
    Play("fault short-reply 1 6");
    ReportBuffer request{};
    request[0] = 0x06;
    request[1] = 0x05;
    ASSERT_TRUE(m_manager.SendCommand(request, true));
    EXPECT_EQ(request[9], 0) << "cut after six bytes";
}

TEST_F(ScenarioScriptTest, TimesAreAbsoluteRelativeOrInheritedAndPlayedOnTheClock) {
    const ScenarioScript script = Parsed(
        "# start on the receiver\n"
        "unplug cable\n"
        "at 1500 plug cable   # back on the cable\n"
        "press dpi\n"
        "after 250 battery 30\n"
        "\n"
        "at 2000 press function 1\n");
    std::vector<std::pair<int, uint64_t>> timing;
    for (const ScenarioAction& action : script.Actions()) {
        timing.emplace_back(action.line, action.atMs);
    }
    EXPECT_EQ(timing, (std::vector<std::pair<int, uint64_t>>{
                          {2, 0}, {3, 1500}, {4, 1500}, {5, 1750}, {7, 2000}}));

    ScenarioPlayer player(m_simulator, script, m_clock);
    EXPECT_FALSE(m_simulator.IsPlugged(SimDevice::kWiredMouse)) << "time 0 is played at once";
    m_clock->AdvanceMs(1499);
    player.ApplyDue();
    EXPECT_FALSE(m_simulator.IsPlugged(SimDevice::kWiredMouse));
    m_clock->AdvanceMs(1);
    player.ApplyDue();
    EXPECT_TRUE(m_simulator.IsPlugged(SimDevice::kWiredMouse));
    EXPECT_NE(m_simulator.Mouse().batteryLevel, 30);
    m_clock->AdvanceMs(500);
    EXPECT_TRUE(player.ApplyDue());
    EXPECT_EQ(m_simulator.Mouse().batteryLevel, 30);
    EXPECT_TRUE(player.Finished());
}

TEST_F(ScenarioScriptTest, BadLinesAreNamedByTheirNumber) {
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"press dpi\njump 3\n", "line 2: unknown verb \"jump\""},
        {"plug mouse", "line 1: plug takes cable, receiver or second"},
        {"# fine\n\nbattery 140",
         "line 3: battery takes a level from 0 to 100 and, optionally, "
         "\"charging\""},
        {"battery 40 flat",
         "line 1: battery takes a level from 0 to 100 and, optionally, "
         "\"charging\""},
        {"at soon press dpi", "line 1: at takes milliseconds and then an action"},
        {"at 1500", "line 1: at takes milliseconds and then an action"},
        {"at 2000 press dpi\nat 1000 press dpi",
         "line 2: time goes backwards (1000 ms after 2000 ms)"},
        {"receiver mouse sleepy", "line 1: receiver takes \"mouse off\" or \"mouse on\""},
        {"press function 300", "line 1: press function takes a value from 0 to 255"},
        {"press function 3 coffee",
         "line 1: press function VALUE takes program, web or text after it"},
        {"fault lightning",
         "line 1: fault takes no-reply, late-reply, event-before-reply, "
         "zero-version, short-reply, garbage-reply or unplug-during-upload, "
         "then TIMES and PARAMETER"},
        {"fault no-reply 0", "line 1: fault TIMES must be a number from 1 to 100000"},
        {"pair failure", "line 1: unknown verb \"pair\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        ScenarioScript script;
        std::string error;
        EXPECT_FALSE(ScenarioScript::Parse(c.text, script, error));
        EXPECT_EQ(error, c.error);
        EXPECT_TRUE(script.Actions().empty());
    }
}

TEST_F(ScenarioScriptTest, LoadNamesTheFileInItsMessages) {
    test::TempDirectory folder;
    const std::filesystem::path file = folder.Path() / "bad.scenario";
    std::ofstream(file) << "press dpi\nfly\n";
    ScenarioScript script;
    std::string error;
    EXPECT_FALSE(ScenarioScript::Load(file, script, error));
    EXPECT_EQ(error, file.u8string() + ": line 2: unknown verb \"fly\"");
    EXPECT_FALSE(ScenarioScript::Load(folder.Path() / "missing", script, error));
    EXPECT_EQ(error, "cannot read the scenario \"" + (folder.Path() / "missing").u8string() + "\"");
}

}  // namespace
}  // namespace tavik::sim
