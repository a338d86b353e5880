#include "app/device/sim/device_simulator.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cctype>
#include <cstdlib>
#include <functional>
#include <sstream>
#include <thread>

#include "app/device/hid_device_manager.h"
#include "app/device/sim/sim_identities.h"

namespace tavik::sim {
namespace {

using Bytes = std::vector<unsigned char>;

// "06 13 02" → the bytes, zero-filled to a whole report.
ReportBuffer Hex(const std::string& text) {
    ReportBuffer bytes{};
    std::istringstream stream(text);
    std::string word;
    size_t at = 0;
    while (stream >> word && at < bytes.size()) {
        bytes[at++] = static_cast<unsigned char>(std::strtoul(word.c_str(), nullptr, 16));
    }
    return bytes;
}

std::string Upper(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return text;
}

// Talks to one interface of the simulator straight through the seam.
class SeamLink {
public:
    SeamLink(HidApi api, const std::string& path) : m_api(std::move(api)) {
        m_handle = m_api.openPath(path.c_str());
    }
    ~SeamLink() {
        if (m_handle != nullptr) {
            m_api.close(m_handle);
        }
    }
    bool IsOpen() const { return m_handle != nullptr; }
    int Write(const ReportBuffer& report) {
        return m_api.write(m_handle, report.data(), report.size());
    }
    // The next report, or an empty one when none came within 100 ms.
    Bytes Read() {
        ReportBuffer report{};
        int length = m_api.readTimeout(m_handle, report.data(), report.size(), 100);
        return length > 0 ? Bytes(report.begin(), report.begin() + length) : Bytes();
    }
    Bytes Exchange(const ReportBuffer& request) {
        if (Write(request) <= 0) {
            return {};
        }
        return Read();
    }

private:
    HidApi m_api;
    hid_device* m_handle = nullptr;
};

Bytes Full(const ReportBuffer& report) {
    return Bytes(report.begin(), report.end());
}

class DeviceSimulatorTest : public ::testing::Test {
protected:
    explicit DeviceSimulatorTest(SimulatorSetup setup = {})
        : m_clock(std::make_shared<VirtualClock>()),
          m_simulator(std::make_unique<DeviceSimulator>(setup, m_clock)),
          m_manager(m_simulator->Api(), m_clock) {
        m_manager.AddSupportedId(kVendorId, kWiredMouseProductId, L"", kMainDeviceType, kWiredMode);
        m_manager.AddSupportedId(kVendorId, kReceiverProductId, L"", kMainDeviceType,
                                 kWirelessMode);
        m_manager.AddSupportedId(kVendorId, kSecondModelProductId, L"", kSecondDeviceType,
                                 kWiredMode);
        m_simulator->SetHotPlugCallback([this](HotPlugEvent event, const std::string& path) {
            m_hotPlug.emplace_back(event, path);
        });
    }

    void Rebuild(int deviceType = kMainDeviceType) {
        m_manager.RebuildDevices();
        m_manager.SetCurDeviceType(deviceType);
    }

    std::vector<DeviceEntry> Entries() {
        int type = m_manager.GetCurDeviceType();
        m_manager.SetCurDeviceType(0);
        std::vector<DeviceEntry> entries;
        m_manager.GetDevices(entries);
        m_manager.SetCurDeviceType(type);
        return entries;
    }

    // The next report ReadNotifications hands out, or an all-zero one.
    ReportBuffer NextNotification(int* deviceType = nullptr) {
        ReportBuffer report{};
        int type = -1;
        m_manager.ReadNotifications(report, type);
        if (deviceType != nullptr) {
            *deviceType = type;
        }
        return report;
    }

    SimDevice LastCommandTarget() {
        std::vector<ReceivedCommand> received = m_simulator->ReceivedCommands();
        return received.empty() ? SimDevice::kSecondModel : received.back().device;
    }

    std::shared_ptr<VirtualClock> m_clock;
    std::unique_ptr<DeviceSimulator> m_simulator;
    HidDeviceManager m_manager;
    std::vector<std::pair<HotPlugEvent, std::string>> m_hotPlug;
};

TEST_F(DeviceSimulatorTest, DeviceInformationIsAnsweredByteExactly) {
    SeamLink wired(m_simulator->Api(), InterfacePath(kWiredMouseProductId, kVendorInterface));
    ASSERT_TRUE(wired.IsOpen());
    // Versions 5 and 0x12, cable (3), reachable, battery 85 %, not charging, stage 1; the six
    // stages 800 .. 12000 as DPI / 50 - 1; rate 2, flag 15, scroll 1, lift-off 1, sensor 53,
    // high speed 0, response 1, sleep 60 and 60, wake-up 1, close-light 1.
    EXPECT_EQ(wired.Exchange(Hex("06 05")),
              Full(Hex("06 05 00 00 00 00 00 00 00 05 12 03 01 55 00 00 00 01 "
                       "0F 00 1F 00 2F 00 3F 00 63 00 EF 00 "
                       "02 0F 01 01 35 00 01 3C 00 3C 00 01 01")));

    SeamLink receiver(m_simulator->Api(), InterfacePath(kReceiverProductId, kVendorInterface));
    Bytes throughReceiver = receiver.Exchange(Hex("06 05"));
    ASSERT_EQ(throughReceiver.size(), 65u);
    EXPECT_EQ(throughReceiver[11], kReceiverConnectionMode);
    EXPECT_EQ(throughReceiver[9], 0x05);

    m_simulator->SwitchMouseOff();
    receiver.Read();
    receiver.Read();
    EXPECT_EQ(receiver.Exchange(Hex("06 05")), Full(Hex("06 05 00 00 00 00 00 00 00 00 00 01")));
}

TEST_F(DeviceSimulatorTest, CommandsAreAnsweredAndKeptAsTheFirmwareDoes) {
    struct Case {
        const char* name;
        const char* request;
        const char* reply;  // empty: no reply comes
        std::function<bool(const MouseState&)> kept;
    };
    const Case cases[] = {
        {"DPI stage", "06 13 05 00 00 01 04 02 D0 07", "06 13 05 00 00 01 04 02 D0 07",
         [](const MouseState& s) {
             return s.dpiCount == 4 && s.dpiIndex == 2 && s.dpi[2] == 2000;
         }},
        {"DPI stage outside the count is refused", "06 13 05 00 00 01 02 03 E8 03",
         "06 13 05 00 00 01 02 03 E8 03",
         [](const MouseState& s) { return s.dpiCount == 4 && s.dpi[3] == 3200; }},
        {"report rate", "06 13 02 00 00 02 03", "06 13 02 00 00 02 03",
         [](const MouseState& s) { return s.reportRate == 3; }},
        {"scroll", "06 13 04 00 00 05 00 00 00", "06 13 04 00 00 05 00 00 00",
         [](const MouseState& s) { return s.scrollFlag == 0; }},
        {"lift-off", "06 13 02 00 00 06 00", "06 13 02 00 00 06 00",
         [](const MouseState& s) { return s.liftoffHeight == 0; }},
        {"sensor", "06 13 02 00 00 07 07", "06 13 02 00 00 07 07",
         [](const MouseState& s) { return s.sensorFlag == 7; }},
        {"high speed", "06 13 02 00 00 08 01", "06 13 02 00 00 08 01",
         [](const MouseState& s) { return s.highspeedMode == 1; }},
        {"pairing", "06 13 01 00 00 09", "06 13 01 00 00 09",
         [](const MouseState& s) { return s.pairingRequested; }},
        {"response time", "06 13 02 00 00 0A 32", "06 13 02 00 00 0A 32",
         [](const MouseState& s) { return s.buttonRespondTime == 50; }},
        {"sleep times", "06 13 05 00 00 0B 2C 01 58 02", "06 13 05 00 00 0B 2C 01 58 02",
         [](const MouseState& s) { return s.lightSleep == 300 && s.deepSleep == 600; }},
        {"move wake-up", "06 13 02 00 00 0C 00", "06 13 02 00 00 0C 00",
         [](const MouseState& s) { return s.moveWakeup == 0; }},
        {"move close-light", "06 13 02 00 00 0D 00", "06 13 02 00 00 0D 00",
         [](const MouseState& s) { return s.moveCloseLight == 0; }},
        {"DPI colour block", "06 20 20 00 00 01 04",
         "06 20 20 00 00 01 04 1F 1F 00 00 00 00 FF 00 00 00 00 FF FF FF 00 FF A5 00 "
         "00 FF FF 80 00 80",
         nullptr},
        {"active light mode", "06 20 20 00 00 FF 00", "06 20 20 00 00 FF 01", nullptr},
        {"light block 3", "06 20 20 00 00 01 03",
         "06 20 20 00 00 01 03 7F 80 00 01 00 00 FF 00 00 FF 80 00 FF FF 00 00 FF 00 "
         "00 FF 80 00 FF FF 00 00 FF FF 00 FF",
         nullptr},
        {"write light block 2", "06 21 20 00 00 01 02 40 F6 01 00 03 01 11 22 33",
         "06 21 20 00 00 01 02 40 F6 01 00 03 01 11 22 33",
         [](const MouseState& s) {
             return s.activeLightMode == 2 && s.lightModes[1][0] == 0x40 &&
                    s.lightModes[1][1] == 0xF6 && s.lightModes[1][6] == 0x11 &&
                    s.lightModes[1][9] == 0;
         }},
        {"light block 2 reads back", "06 20 20 00 00 01 02",
         "06 20 20 00 00 01 02 40 F6 01 00 03 01 11 22 33", nullptr},
        {"write DPI colours", "06 21 20 00 00 01 04 1F 1F 00 00 00 00 01 02 03",
         "06 21 20 00 00 01 04 1F 1F 00 00 00 00 01 02 03",
         [](const MouseState& s) { return s.dpiColours[6] == 1 && s.dpiColours[9] == 0; }},
        {"unknown block", "06 20 20 00 00 02 09", "06 20 20 00 00 02 09", nullptr},
        {"key table", "06 12 20 00 00 20 02 00 04 10 02 00 00",
         "06 12 20 00 00 20 02 00 04 10 02 00 00",
         [](const MouseState& s) {
             return s.keyTable[0] == 0x20 && s.keyTable[1] == 0x02 && s.keyTable[3] == 0x04 &&
                    s.keyTable[8] == 0;
         }},
        {"receiver information on the cable", "06 07", "06 07", nullptr},
        {"command 0x10", "06 10", "06 10", nullptr},
        {"command 0x11", "06 11", "06 11", nullptr},
        {"DPI defaults", "06 0F 01 00 00 08", "",
         [](const MouseState& s) {
             return s.dpiRestores == 1 && s.dpiCount == 6 && s.dpi[2] == 2400;
         }},
        {"factory reset", "06 0F 01 00 00 FF", "",
         [](const MouseState& s) {
             return s.factoryResets == 1 && s.reportRate == 2 && s.activeLightMode == 1 &&
                    s.keyTable[0] == 0x10;
         }},
    };
    SeamLink wired(m_simulator->Api(), InterfacePath(kWiredMouseProductId, kVendorInterface));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes reply = wired.Exchange(Hex(c.request));
        EXPECT_EQ(reply, std::string(c.reply).empty() ? Bytes() : Full(Hex(c.reply)));
        if (c.kept) {
            EXPECT_TRUE(c.kept(m_simulator->Mouse()));
        }
    }
}

TEST_F(DeviceSimulatorTest, MacroImageIsReassembledFromChunksByOffset) {
    SeamLink wired(m_simulator->Api(), InterfacePath(kWiredMouseProductId, kVendorInterface));
    std::vector<unsigned char> image(118);
    for (size_t i = 0; i < image.size(); ++i) {
        image[i] = static_cast<unsigned char>(i + 1);
    }
    // Two full chunks and the closing one of length 0; the closing one goes out before the
    // second to show that the offset, not the order, places a chunk.
    auto chunk = [&image](size_t index, size_t length) {
        ReportBuffer request{};
        request[0] = 0x06;
        request[1] = 0x31;
        request[2] = static_cast<unsigned char>(length);
        request[3] = static_cast<unsigned char>((59 * index) & 0xFF);
        request[4] = static_cast<unsigned char>((59 * index) >> 8);
        for (size_t i = 0; i < length; ++i) {
            request[5 + i] = image[59 * index + i];
        }
        return request;
    };
    Bytes echo = wired.Exchange(chunk(0, 59));
    ASSERT_EQ(echo.size(), 65u);
    EXPECT_EQ(Bytes(echo.begin(), echo.begin() + 5), Bytes({0x06, 0x31, 0x3B, 0x00, 0x00}));
    EXPECT_EQ(Bytes(echo.begin() + 5, echo.end()), Bytes(60, 0));
    EXPECT_EQ(wired.Exchange(chunk(2, 0)), Full(Hex("06 31 00 76 00")));
    EXPECT_FALSE(wired.Exchange(chunk(1, 59)).empty());

    MouseState mouse = m_simulator->Mouse();
    EXPECT_EQ(mouse.macroLength, 118u);
    EXPECT_EQ(mouse.macroChunks, 3);
    EXPECT_TRUE(std::equal(image.begin(), image.end(), mouse.macroMemory.begin()));
    EXPECT_EQ(mouse.macroMemory[118], 0);

    // A new image starts over at offset 0; a chunk past the memory is taken and ignored.
    wired.Exchange(chunk(0, 59));
    ReportBuffer beyond = Hex("06 31 3B FF FF 01 02 03");
    EXPECT_FALSE(wired.Exchange(beyond).empty());
    EXPECT_EQ(m_simulator->Mouse().macroLength, 59u);
}

TEST_F(DeviceSimulatorTest, ReceiverSpeaksForItselfAndPassesTheRestOnWhileLinked) {
    m_simulator->SetReceiverVersion(7, 0x21);
    SeamLink receiver(m_simulator->Api(), InterfacePath(kReceiverProductId, kVendorInterface));
    EXPECT_EQ(receiver.Exchange(Hex("06 07")), Full(Hex("06 07 00 00 00 01 00 00 00 07 21")));
    EXPECT_EQ(receiver.Exchange(Hex("06 13 02 00 00 02 01")), Full(Hex("06 13 02 00 00 02 01")));
    EXPECT_EQ(m_simulator->Mouse().reportRate, 1);

    m_simulator->SwitchMouseOff();
    Bytes linkDown(33, 0);
    linkDown[0] = 0xC0;
    EXPECT_EQ(receiver.Read(), linkDown);
    EXPECT_EQ(receiver.Read(), Full(Hex("06 FA 00 00 00 01 00")));
    EXPECT_TRUE(receiver.Exchange(Hex("06 13 02 00 00 02 03")).empty());
    EXPECT_EQ(m_simulator->Mouse().reportRate, 1);
    EXPECT_EQ(receiver.Exchange(Hex("06 07"))[5], 1);
}

TEST_F(DeviceSimulatorTest, RoundTripTakesTheConfiguredLatency) {
    SeamLink wired(m_simulator->Api(), InterfacePath(kWiredMouseProductId, kVendorInterface));
    for (int latency : {1, 8}) {
        SCOPED_TRACE(latency);
        m_simulator->SetLatencyMs(latency);
        uint64_t before = m_clock->NowMs();
        EXPECT_FALSE(wired.Exchange(Hex("06 10")).empty());
        EXPECT_EQ(m_clock->NowMs() - before, static_cast<uint64_t>(latency));
    }
    uint64_t before = m_clock->NowMs();
    EXPECT_TRUE(wired.Read().empty());
    EXPECT_EQ(m_clock->NowMs() - before, 100u);
}

TEST_F(DeviceSimulatorTest, ManagerFindsWiredMouseAndReceiver) {
    Rebuild();
    std::vector<DeviceEntry> entries = Entries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].productId, kReceiverProductId);
    EXPECT_EQ(entries[0].deviceMode, kWirelessMode);
    EXPECT_EQ(entries[0].connectState, ConnectState::kConnected);
    EXPECT_EQ(entries[0].product, L"Tavik Receiver");
    EXPECT_EQ(entries[0].releaseNumber, kReceiverRelease);
    EXPECT_STREQ(entries[0].path, InterfacePath(kReceiverProductId, kVendorInterface).c_str());
    EXPECT_NE(std::string(entries[0].path).find("MI_01"), std::string::npos);
    EXPECT_EQ(entries[1].productId, kWiredMouseProductId);
    EXPECT_EQ(entries[1].deviceType, kMainDeviceType);
    EXPECT_EQ(entries[1].batteryLevel, 85);
    // Only the two vendor collections stay open, each with a reader and a command handle.
    EXPECT_EQ(m_simulator->OpenHandles(), 4);

    ReportBuffer request = Hex("06 13 02 00 00 02 00");
    EXPECT_TRUE(m_manager.SendCommand(request, true));
    EXPECT_EQ(LastCommandTarget(), SimDevice::kWiredMouse);
    EXPECT_EQ(m_simulator->Mouse().reportRate, 0);
    EXPECT_TRUE(m_manager.IsDevicePresent(kWiredMouseProductId));
    EXPECT_FALSE(m_manager.IsDevicePresent(kSecondModelProductId));
}

TEST_F(DeviceSimulatorTest, SecondModelIsAWiredDeviceOfItsOwnType) {
    m_simulator->PlugSecondModel();
    Rebuild(kSecondDeviceType);
    std::vector<DeviceEntry> ofType;
    ASSERT_TRUE(m_manager.GetDevices(ofType));
    ASSERT_EQ(ofType.size(), 1u);
    EXPECT_EQ(ofType[0].productId, kSecondModelProductId);
    EXPECT_EQ(ofType[0].product, L"Tavik Mouse Lite");
    EXPECT_EQ(m_manager.GetCurrentDevMode(), kWiredMode);

    ReportBuffer request = Hex("06 13 02 00 00 02 00");
    EXPECT_TRUE(m_manager.SendCommand(request, true));
    EXPECT_EQ(LastCommandTarget(), SimDevice::kSecondModel);
    EXPECT_EQ(m_simulator->Mouse(SimMouse::kSecondModel).reportRate, 0);
    EXPECT_EQ(m_simulator->Mouse(SimMouse::kMain).reportRate, 2);

    m_simulator->PressDpiButton(SimMouse::kSecondModel);
    int deviceType = 0;
    EXPECT_EQ(NextNotification(&deviceType)[5], 0x02);
    EXPECT_EQ(deviceType, kSecondDeviceType);
}

TEST_F(DeviceSimulatorTest, UnplugAndPlugReportPathsAndMoveCommands) {
    Rebuild();
    m_simulator->UnplugCable();
    ASSERT_EQ(m_hotPlug.size(), 3u);
    for (const auto& [event, path] : m_hotPlug) {
        EXPECT_EQ(event, HotPlugEvent::kRemoval);
        EXPECT_NE(Upper(path).find(InterfacePattern(kWiredMouseProductId, 0).substr(0, 17)),
                  std::string::npos);
    }
    EXPECT_FALSE(m_manager.IsDevicePresent(kWiredMouseProductId));
    // The wired handle is dead until the list is rebuilt.
    ReportBuffer request = Hex("06 13 02 00 00 02 01");
    EXPECT_FALSE(m_manager.SendCommand(request, true));

    Rebuild();
    ASSERT_EQ(Entries().size(), 1u);
    EXPECT_TRUE(m_manager.SendCommand(request, true));
    EXPECT_EQ(LastCommandTarget(), SimDevice::kReceiver);

    m_hotPlug.clear();
    m_simulator->PlugCable();
    ASSERT_EQ(m_hotPlug.size(), 3u);
    int vendorArrivals = 0;
    for (const auto& [event, path] : m_hotPlug) {
        EXPECT_EQ(event, HotPlugEvent::kArrival);
        if (m_manager.IsVendorInterface(Upper(path))) {
            ++vendorArrivals;
            EXPECT_EQ(path, InterfacePath(kWiredMouseProductId, kVendorInterface));
        }
    }
    EXPECT_EQ(vendorArrivals, 1);
    Rebuild();
    EXPECT_EQ(Entries().size(), 2u);
    EXPECT_TRUE(m_manager.SendCommand(request, true));
    EXPECT_EQ(LastCommandTarget(), SimDevice::kWiredMouse);
}

class ReceiverWithMouseOffTest : public DeviceSimulatorTest {
protected:
    ReceiverWithMouseOffTest()
        : DeviceSimulatorTest(SimulatorSetup{false, true, false, true, false, 1}) {}
};

TEST_F(ReceiverWithMouseOffTest, ReceiverIsListedWithoutTypeUntilTheMouseComesOn) {
    Rebuild();
    std::vector<DeviceEntry> entries = Entries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].deviceType, 0);
    EXPECT_EQ(m_manager.GetCurrentDevMode(), -1);

    m_simulator->SwitchMouseOn();
    int deviceType = 0;
    EXPECT_EQ(NextNotification(&deviceType)[0], 0xC0);
    ReportBuffer event = NextNotification();
    EXPECT_EQ(event[1], 0xFA);
    EXPECT_EQ(event[5], 0x01);
    Rebuild();
    EXPECT_EQ(Entries()[0].deviceType, kMainDeviceType);
    EXPECT_EQ(m_manager.GetCurrentDevMode(), 1);
}

TEST_F(DeviceSimulatorTest, MouseReportsItsEventsOnTheWayItIsReachable) {
    Rebuild();
    struct Case {
        const char* name;
        std::function<void(DeviceSimulator&)> act;
        const char* report;
    };
    const Case cases[] = {
        {"DPI button", [](DeviceSimulator& s) { s.PressDpiButton(); }, "06 FA 00 00 00 02 02"},
        {"battery", [](DeviceSimulator& s) { s.ChangeBattery(40, true); },
         "06 FA 00 00 00 03 28 01"},
        {"settings changed", [](DeviceSimulator& s) { s.ChangeSettingsOnMouse(); },
         "06 FA 00 00 00 06"},
        {"computer function", [](DeviceSimulator& s) { s.PressComputerFunction(9, 7); },
         "06 FA 00 00 00 50 09 07"},
    };
    for (bool cable : {true, false}) {
        if (!cable) {
            m_simulator->UnplugCable();
            Rebuild();
        }
        MouseState mouse = m_simulator->Mouse();
        mouse.dpiIndex = 1;
        m_simulator->SetMouse(mouse);
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (cable ? " on the cable" : " through the receiver"));
            c.act(*m_simulator);
            int deviceType = 0;
            EXPECT_EQ(NextNotification(&deviceType), Hex(c.report));
            EXPECT_EQ(deviceType, kMainDeviceType);
            EXPECT_EQ(
                m_simulator->PendingReports(cable ? SimDevice::kWiredMouse : SimDevice::kReceiver),
                0u);
        }
        EXPECT_EQ(m_simulator->Mouse().batteryLevel, 40);
    }
    EXPECT_EQ(m_simulator->Mouse().dpiIndex, 2);
}

TEST_F(DeviceSimulatorTest, PairingLinksTheReceiver) {
    m_simulator = std::make_unique<DeviceSimulator>(
        SimulatorSetup{true, true, true, false, false, 1}, m_clock);
    m_manager.UseBackend(m_simulator->Api());
    Rebuild();
    EXPECT_EQ(Entries()[0].deviceType, 0);
    EXPECT_FALSE(m_simulator->IsLinked());

    ReportBuffer pairing = Hex("06 13 01 00 00 09");
    EXPECT_TRUE(m_manager.SendCommand(pairing, true));
    EXPECT_TRUE(m_simulator->Mouse().pairingRequested);
    m_simulator->CompletePairing();
    EXPECT_TRUE(m_simulator->IsLinked());
    EXPECT_EQ(NextNotification()[0], 0xC0);
    EXPECT_EQ(NextNotification(), Hex("06 FA 00 00 00 01 01"));
}

TEST_F(DeviceSimulatorTest, EachFaultIsObservable) {
    Rebuild();
    ReportBuffer request;

    m_simulator->InjectFault(SimFault::kNoReply);
    request = Hex("06 13 02 00 00 02 03");
    EXPECT_FALSE(m_manager.SendCommand(request, true));
    EXPECT_EQ(request, Hex("06 13 02 00 00 02 03"));
    EXPECT_EQ(m_simulator->Mouse().reportRate, 3);

    m_simulator->InjectFault(SimFault::kLateReply, 1, 3);
    request = Hex("06 13 02 00 00 02 01");
    EXPECT_TRUE(m_manager.SendCommand(request, true));
    EXPECT_EQ(request, Hex("06 13 02 00 00 02 01"));

    // Past the ten reads the reply is late for good and later shows up as a notification.
    m_simulator->InjectFault(SimFault::kLateReply, 1, 10);
    request = Hex("06 13 02 00 00 02 02");
    EXPECT_FALSE(m_manager.SendCommand(request, true));
    EXPECT_EQ(NextNotification(), Hex("06 13 02 00 00 02 02"));

    m_simulator->InjectFault(SimFault::kEventBeforeReply);
    request = Hex("06 20 20 00 00 FF 00");
    EXPECT_TRUE(m_manager.SendCommand(request, true));
    EXPECT_EQ(request, Hex("06 20 20 00 00 FF 01"));
    EXPECT_EQ(NextNotification(), Hex("06 FA 00 00 00 03 55 00"));

    m_simulator->InjectFault(SimFault::kShortReply, 1, 6);
    request = Hex("06 20 20 00 00 01 04");
    EXPECT_TRUE(m_manager.SendCommand(request, true));
    EXPECT_EQ(request, Hex("06 20 20 00 00 01"));

    m_simulator->InjectFault(SimFault::kGarbageReply);
    request = Hex("06 13 02 00 00 02 02");
    bool answered = m_manager.SendCommand(request, true);
    EXPECT_TRUE(!answered || request != Hex("06 13 02 00 00 02 02"));

    m_simulator->EmitGarbage(SimDevice::kReceiver);
    int deviceType = 0;
    ReportBuffer noise = NextNotification(&deviceType);
    EXPECT_NE(noise, ReportBuffer{});
    EXPECT_EQ(deviceType, kMainDeviceType);

    // The version fault waits for the device-information command: the receiver, probed
    // first, then belongs to no type while the wired mouse is listed as usual.
    m_simulator->InjectFault(SimFault::kZeroVersion);
    Rebuild();
    std::vector<DeviceEntry> entries = Entries();
    EXPECT_EQ(entries[0].deviceType, 0);
    EXPECT_EQ(entries[1].deviceType, kMainDeviceType);
    EXPECT_EQ(m_manager.GetCurrentDevMode(), 0);
}

TEST_F(DeviceSimulatorTest, UnplugInTheMiddleOfAMacroUploadCutsTheUpload) {
    Rebuild();
    m_simulator->InjectFault(SimFault::kUnplugDuringMacroUpload, 1, 2);
    std::vector<bool> answered;
    for (int chunk = 0; chunk < 4; ++chunk) {
        ReportBuffer request{};
        request[0] = 0x06;
        request[1] = 0x31;
        request[2] = 59;
        request[3] = static_cast<unsigned char>(59 * chunk);
        request[5] = static_cast<unsigned char>(chunk + 1);
        answered.push_back(m_manager.SendCommand(request, true));
    }
    EXPECT_EQ(answered, std::vector<bool>({true, true, false, false}));
    EXPECT_FALSE(m_simulator->IsPlugged(SimDevice::kWiredMouse));
    ASSERT_EQ(m_hotPlug.size(), 3u);
    EXPECT_EQ(m_hotPlug[1], std::make_pair(HotPlugEvent::kRemoval,
                                           InterfacePath(kWiredMouseProductId, kVendorInterface)));
    MouseState mouse = m_simulator->Mouse();
    EXPECT_EQ(mouse.macroChunks, 2);
    EXPECT_EQ(mouse.macroLength, 118u);
}

TEST_F(DeviceSimulatorTest, WorkerAndInjectingThreadShareTheSimulator) {
    m_simulator->SetLatencyMs(0);
    Rebuild();
    std::atomic<bool> stop{false};
    std::thread worker([this, &stop] {
        while (!stop) {
            ReportBuffer request = Hex("06 13 02 00 00 02 01");
            m_manager.SendCommand(request, true);
            ReportBuffer report{};
            int deviceType = 0;
            m_manager.ReadNotifications(report, deviceType);
        }
    });
    for (int i = 0; i < 50; ++i) {
        m_simulator->PressDpiButton();
        m_simulator->ChangeBattery(static_cast<uint8_t>(i), false);
        if (i % 10 == 5) {
            m_simulator->UnplugCable();
            m_simulator->PlugCable();
        }
    }
    stop = true;
    worker.join();
    EXPECT_TRUE(m_simulator->IsPlugged(SimDevice::kWiredMouse));
}

}  // namespace
}  // namespace tavik::sim
