#include "app/device/hid_device_manager.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cctype>
#include <cstring>
#include <thread>

#include "tests/device/scripted_hid.h"

namespace tavik {
namespace {

using device_test::AnswerProbe;
using device_test::DeviceInformationReply;
using device_test::Report;
using device_test::ScriptedHid;

constexpr uint16_t kVid = 0x7768;
constexpr uint16_t kWiredPid = 0x0001;
constexpr uint16_t kReceiverPid = 0x0002;
constexpr uint16_t kSecondReceiverPid = 0x0004;
constexpr int kType = 102;

const std::string kWiredVendor =
    "\\\\?\\HID#VID_7768&PID_0001&MI_01#7&2b3c4d5e&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}";
const std::string kWiredKeyboard =
    "\\\\?\\HID#VID_7768&PID_0001&MI_02#7&2b3c4d5e&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}";
const std::string kWiredMouse =
    "\\\\?\\HID#VID_7768&PID_0001&MI_00#7&2b3c4d5e&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}";
const std::string kReceiverVendor =
    "\\\\?\\HID#VID_7768&PID_0002&MI_01#7&1a2b3c4d&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}";
const std::string kSecondReceiverVendor =
    "\\\\?\\HID#VID_7768&PID_0004&MI_01#7&3c4d5e6f&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}";

Report Bytes(std::initializer_list<unsigned char> bytes) {
    return Report(bytes);
}

ReportBuffer Request(std::initializer_list<unsigned char> bytes) {
    ReportBuffer buffer{};
    std::copy(bytes.begin(), bytes.end(), buffer.begin());
    return buffer;
}

class HidDeviceManagerTest : public ::testing::Test {
protected:
    HidDeviceManagerTest()
        : m_clock(std::make_shared<VirtualClock>()), m_manager(m_hid.Api(), m_clock) {
        m_manager.AddSupportedId(kVid, kWiredPid, L"", kType, 0);
        m_manager.AddSupportedId(kVid, kReceiverPid, L"", kType, 1);
        m_manager.AddSupportedId(kVid, kSecondReceiverPid, L"", kType, 1);
    }

    ScriptedHid::Interface& AddVendor(const std::string& path, uint16_t productId,
                                      Report probeReply) {
        ScriptedHid::Interface& added =
            m_hid.Add(path, kVid, productId, kVendorUsagePage, kVendorUsage);
        added.onWrite = AnswerProbe(std::move(probeReply));
        added.product = L"Tavik Mouse";
        added.releaseNumber = 0x0105;
        return added;
    }

    ScriptedHid::Interface& AddWired() {
        return AddVendor(kWiredVendor, kWiredPid, DeviceInformationReply(5, 0x12, 80, 1));
    }
    ScriptedHid::Interface& AddReceiver() {
        return AddVendor(kReceiverVendor, kReceiverPid, DeviceInformationReply(3, 0x11, 55, 0));
    }

    void Rebuild() {
        m_manager.RebuildDevices();
        m_manager.SetCurDeviceType(kType);
    }

    std::vector<DeviceEntry> Entries() {
        int type = m_manager.GetCurDeviceType();
        m_manager.SetCurDeviceType(0);
        std::vector<DeviceEntry> entries;
        m_manager.GetDevices(entries);
        m_manager.SetCurDeviceType(type);
        return entries;
    }

    // Sends a set-parameter request without waiting and says which interface got it.
    std::string CommandTarget() {
        size_t wiredBefore = WrittenTo(kWiredVendor);
        size_t receiverBefore = WrittenTo(kReceiverVendor);
        ReportBuffer request = Request({0x06, 0x13, 0x02, 0x00, 0x00, 0x02, 0x01});
        if (!m_manager.SendCommand(request, false)) {
            return "none";
        }
        if (WrittenTo(kWiredVendor) > wiredBefore) {
            return "wired";
        }
        if (WrittenTo(kReceiverVendor) > receiverBefore) {
            return "receiver";
        }
        return "other";
    }

    size_t WrittenTo(const std::string& path) {
        auto lock = m_hid.Lock();
        try {
            return m_hid.At(path).written.size();
        } catch (const std::out_of_range&) {
            return 0;
        }
    }

    ScriptedHid m_hid;
    std::shared_ptr<VirtualClock> m_clock;
    HidDeviceManager m_manager;
};

TEST_F(HidDeviceManagerTest, WiredMouseTakesCommandsWhileReceiverIsAlsoAttached) {
    AddReceiver();
    AddWired();
    Rebuild();

    std::vector<DeviceEntry> entries = Entries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].index, 0);
    EXPECT_EQ(entries[0].productId, kReceiverPid);
    EXPECT_EQ(entries[0].deviceMode, 1);
    EXPECT_EQ(entries[0].batteryLevel, 55);
    EXPECT_EQ(entries[1].index, 1);
    EXPECT_STREQ(entries[1].path, kWiredVendor.c_str());
    EXPECT_EQ(entries[1].product, L"Tavik Mouse");
    EXPECT_EQ(entries[1].releaseNumber, 0x0105);
    EXPECT_EQ(entries[1].deviceType, kType);
    EXPECT_EQ(entries[1].deviceMode, 0);
    EXPECT_EQ(entries[1].connectState, ConnectState::kConnected);
    EXPECT_EQ(entries[1].batteryLevel, 80);
    EXPECT_EQ(entries[1].batteryCharging, 1);

    // The probe is the device-information command, 64 bytes after the report ID.
    Report probe(65, 0);
    probe[0] = 0x06;
    probe[1] = 0x05;
    EXPECT_EQ(m_hid.At(kWiredVendor).written.at(0), probe);

    EXPECT_EQ(m_manager.GetCurrentDevMode(), 0);
    EXPECT_EQ(CommandTarget(), "wired");
    EXPECT_EQ(m_manager.FindEntry(kVid, kReceiverPid, 1), 0);
    EXPECT_EQ(m_manager.FindEntry(kVid, kWiredPid, 0), 1);
    EXPECT_EQ(m_manager.FindEntry(kVid, kWiredPid, 1), -1);
}

TEST_F(HidDeviceManagerTest, ReceiverTakesCommandsAfterCableRemovalOnlyWhileLinked) {
    AddWired();
    AddReceiver();
    Rebuild();
    ASSERT_EQ(CommandTarget(), "wired");

    m_hid.Remove(kWiredVendor);
    Rebuild();
    EXPECT_EQ(m_manager.GetCurrentDevMode(), 1);
    EXPECT_EQ(CommandTarget(), "receiver");

    ReportBuffer report{};
    int deviceType = -1;
    m_hid.At(kReceiverVendor).input.push_back(Bytes({0xC0, 0x00}));
    ASSERT_TRUE(m_manager.ReadNotifications(report, deviceType));
    EXPECT_EQ(m_manager.GetCurrentDevMode(), -1);
    EXPECT_EQ(m_manager.GetActiveHandle(), nullptr);
    EXPECT_EQ(CommandTarget(), "none");

    m_hid.At(kReceiverVendor).input.push_back(Bytes({0xC0, 0x01}));
    ASSERT_TRUE(m_manager.ReadNotifications(report, deviceType));
    EXPECT_EQ(report[0], 0xC0);
    EXPECT_EQ(deviceType, kType);
    EXPECT_EQ(CommandTarget(), "receiver");
}

TEST_F(HidDeviceManagerTest, ReceiverWithMouseOffBelongsToNoDeviceType) {
    AddVendor(kReceiverVendor, kReceiverPid, DeviceInformationReply(0, 0, 90, 0));
    Rebuild();

    std::vector<DeviceEntry> entries = Entries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].deviceType, 0);
    EXPECT_EQ(entries[0].deviceMode, 1);
    EXPECT_EQ(entries[0].connectState, ConnectState::kNone);
    EXPECT_EQ(entries[0].batteryLevel, 0);
    EXPECT_EQ(m_manager.GetActiveHandle(), nullptr);
    EXPECT_EQ(m_manager.GetCurrentDevMode(), -1);
    EXPECT_EQ(CommandTarget(), "none");
    std::vector<DeviceEntry> ofType;
    EXPECT_TRUE(m_manager.GetDevices(ofType));
    EXPECT_TRUE(ofType.empty());
}

TEST_F(HidDeviceManagerTest, SilentInterfaceIsProbedTenTimesAndListedWithoutType) {
    ScriptedHid::Interface& wired = AddWired();
    wired.onWrite = nullptr;
    Rebuild();

    EXPECT_EQ(wired.written.size(), 10u);
    // Each attempt first drains what was already waiting, then reads ten times.
    EXPECT_EQ(wired.reads, 10 * (1 + 10));
    // Ten attempts of ten empty reads with a 10 ms pause each, and 20 ms after each attempt.
    EXPECT_EQ(m_clock->SleptMs(), 10u * (10u * 10u + 20u));
    std::vector<DeviceEntry> entries = Entries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].deviceType, 0);
}

TEST_F(HidDeviceManagerTest, ProbeAnsweredLateStillConnects) {
    ScriptedHid::Interface& wired = AddWired();
    int writes = 0;
    wired.onWrite = [&writes](ScriptedHid::Interface& self, const Report&) {
        if (++writes == 3) {
            self.input.push_back(DeviceInformationReply(5, 0x12, 70, 0));
        }
    };
    Rebuild();
    EXPECT_EQ(writes, 3);
    EXPECT_EQ(Entries().at(0).connectState, ConnectState::kConnected);
    EXPECT_EQ(Entries().at(0).batteryLevel, 70);
}

TEST_F(HidDeviceManagerTest, OtherCollectionsAreOpenedLookedAtAndClosed) {
    AddWired();
    ScriptedHid::Interface& keyboard = m_hid.Add(kWiredKeyboard, kVid, kWiredPid, 0x01, 0x06);
    ScriptedHid::Interface& mouse = m_hid.Add(kWiredMouse, kVid, kWiredPid, 0x01, 0x02);
    ScriptedHid::Interface& stranger =
        m_hid.Add("/dev/hidraw9", 0x1234, kWiredPid, kVendorUsagePage, kVendorUsage);
    ScriptedHid::Interface& locked =
        m_hid.Add(kReceiverVendor, kVid, kReceiverPid, kVendorUsagePage, kVendorUsage);
    locked.openable = false;
    Rebuild();

    EXPECT_EQ(Entries().size(), 1u);
    EXPECT_EQ(keyboard.opens, 1);
    EXPECT_EQ(keyboard.closes, 1);
    EXPECT_TRUE(keyboard.written.empty());
    EXPECT_EQ(mouse.opens, 1);
    EXPECT_EQ(mouse.closes, 1);
    EXPECT_EQ(stranger.opens, 0);
    EXPECT_EQ(m_hid.OpenHandleCount(), 2);
    EXPECT_EQ(m_hid.EnumerationsLive(), 0);

    m_manager.CloseAll();
    EXPECT_FALSE(m_manager.IsOpen());
    EXPECT_EQ(m_hid.OpenHandleCount(), 0);
    EXPECT_EQ(m_hid.CallsOnClosedHandles(), 0);
}

TEST_F(HidDeviceManagerTest, FirstReceiverUnlinkedHidesALinkedSecondOne) {
    AddReceiver();
    AddVendor(kSecondReceiverVendor, kSecondReceiverPid, DeviceInformationReply(3, 0x11, 40, 0));
    Rebuild();
    ASSERT_NE(m_manager.GetActiveHandle(), nullptr);

    m_manager.SetConnectState(kVid, kReceiverPid, ConnectState::kDisconnected);
    EXPECT_EQ(m_manager.GetActiveHandle(), nullptr);
    EXPECT_EQ(m_manager.GetCurrentDevMode(), 1);
}

TEST_F(HidDeviceManagerTest, LinkReportsSetStateOfEveryEntryWithThatVendorAndProduct) {
    AddReceiver();
    AddVendor(kReceiverVendor + "#2", kReceiverPid, DeviceInformationReply(3, 0x11, 55, 0));
    AddWired();
    Rebuild();

    struct Case {
        unsigned char linkByte;
        ConnectState expected;
    };
    for (Case link :
         {Case{0x00, ConnectState::kDisconnected}, Case{0x7F, ConnectState::kDisconnected},
          Case{0x01, ConnectState::kConnected}}) {
        SCOPED_TRACE(static_cast<int>(link.linkByte));
        m_hid.At(kReceiverVendor + "#2").input.push_back(Bytes({0xC0, link.linkByte}));
        ReportBuffer report{};
        int deviceType = 0;
        ASSERT_TRUE(m_manager.ReadNotifications(report, deviceType));
        std::vector<DeviceEntry> entries = Entries();
        EXPECT_EQ(entries[0].connectState, link.expected);
        EXPECT_EQ(entries[1].connectState, link.expected);
        EXPECT_EQ(entries[2].connectState, ConnectState::kConnected);
    }

    m_hid.At(kReceiverVendor).input.push_back(Bytes({0xC0, 0x00}));
    m_manager.PollWirelessConnect();
    std::vector<DeviceEntry> entries = Entries();
    EXPECT_EQ(entries[0].connectState, ConnectState::kDisconnected);
    EXPECT_EQ(entries[1].connectState, ConnectState::kDisconnected);
    EXPECT_EQ(entries[2].connectState, ConnectState::kConnected);
}

TEST_F(HidDeviceManagerTest, CommandWithoutReplyFailsAndLeavesTheRequest) {
    ScriptedHid::Interface& wired = AddWired();
    Rebuild();
    int readsBefore = wired.reads;
    uint64_t sleptBefore = m_clock->SleptMs();

    ReportBuffer buffer = Request({0x06, 0x13, 0x02, 0x00, 0x00, 0x02, 0x03});
    buffer[64] = 0x5A;
    ReportBuffer original = buffer;
    EXPECT_FALSE(m_manager.SendCommand(buffer, true));
    EXPECT_EQ(buffer, original);
    EXPECT_EQ(wired.reads - readsBefore, 1 + 10);
    EXPECT_EQ(m_clock->SleptMs() - sleptBefore, 100u);

    // What goes out is the first 64 bytes; the 65th is always zero.
    Report sent = wired.written.back();
    ASSERT_EQ(sent.size(), 65u);
    EXPECT_EQ(sent[6], 0x03);
    EXPECT_EQ(sent[64], 0x00);
}

TEST_F(HidDeviceManagerTest, ClosedManagerOrNoActiveHandleLeavesTheBufferUntouched) {
    ScriptedHid::Interface& wired = AddWired();
    Rebuild();
    size_t writes = wired.written.size();

    ReportBuffer buffer;
    buffer.fill(0xAB);
    m_manager.SetOpenFlag(false);
    EXPECT_FALSE(m_manager.SendCommand(buffer, true));
    int deviceType = 7;
    EXPECT_FALSE(m_manager.ReadNotifications(buffer, deviceType));

    m_manager.SetOpenFlag(true);
    m_manager.SetCurDeviceType(101);
    EXPECT_FALSE(m_manager.SendCommand(buffer, true));

    ReportBuffer expected;
    expected.fill(0xAB);
    EXPECT_EQ(buffer, expected);
    EXPECT_EQ(deviceType, 7);
    EXPECT_EQ(wired.written.size(), writes);
}

TEST_F(HidDeviceManagerTest, ReplyIsCopiedBackAndShortReplyLeavesNoRequestBytes) {
    ScriptedHid::Interface& wired = AddWired();
    Rebuild();

    wired.onWrite = [](ScriptedHid::Interface& self, const Report& written) {
        Report reply(written.begin(), written.begin() + 65);
        reply[7] = 0x1F;
        self.input.push_back(reply);
    };
    ReportBuffer buffer = Request({0x06, 0x20, 0x20, 0x00, 0x00, 0x01, 0x04});
    ASSERT_TRUE(m_manager.SendCommand(buffer, true));
    EXPECT_EQ(buffer[6], 0x04);
    EXPECT_EQ(buffer[7], 0x1F);

    // A reply cut after byte 4 must not leave the request's page and index behind, where
    // they would pass the caller's echo check.
    wired.onWrite = [](ScriptedHid::Interface& self, const Report&) {
        self.input.push_back(Bytes({0x06, 0x20, 0x20, 0x00, 0x00}));
    };
    buffer = Request({0x06, 0x20, 0x20, 0x00, 0x00, 0x01, 0x04});
    ASSERT_TRUE(m_manager.SendCommand(buffer, true));
    EXPECT_EQ(buffer[1], 0x20);
    EXPECT_EQ(buffer[5], 0x00);
    EXPECT_EQ(buffer[6], 0x00);
}

TEST_F(HidDeviceManagerTest, EventArrivingBeforeTheReplyIsKeptForNotifications) {
    ScriptedHid::Interface& wired = AddWired();
    Rebuild();

    const Report dpiEvent = Bytes({0x06, 0xFA, 0x00, 0x00, 0x00, 0x02, 0x03});
    wired.onWrite = [&dpiEvent](ScriptedHid::Interface& self, const Report& written) {
        self.input.push_back(dpiEvent);
        self.input.push_back(Bytes({0xC0, 0x01}));
        self.input.push_back(written);
    };
    ReportBuffer buffer = Request({0x06, 0x13, 0x02, 0x00, 0x00, 0x02, 0x04});
    ASSERT_TRUE(m_manager.SendCommand(buffer, true));
    EXPECT_EQ(buffer[1], 0x13);
    EXPECT_EQ(m_manager.PendingNotificationCount(), 2u);

    ReportBuffer report{};
    int deviceType = 0;
    ASSERT_TRUE(m_manager.ReadNotifications(report, deviceType));
    EXPECT_EQ(report[1], 0xFA);
    EXPECT_EQ(report[5], 0x02);
    EXPECT_EQ(report[6], 0x03);
    EXPECT_EQ(deviceType, kType);
    ASSERT_TRUE(m_manager.ReadNotifications(report, deviceType));
    EXPECT_EQ(report[0], 0xC0);
}

TEST_F(HidDeviceManagerTest, TwoInterfacesReportingInOnePassLoseNothing) {
    ScriptedHid::Interface& receiver = AddReceiver();
    ScriptedHid::Interface& wired = AddWired();
    m_manager.AddSupportedId(kVid, 0x0003, L"", 101, 0);
    ScriptedHid::Interface& other =
        AddVendor("/dev/hidraw5", 0x0003, DeviceInformationReply(1, 0x10, 30, 0));
    Rebuild();

    receiver.input.push_back(Bytes({0x06, 0xFA, 0, 0, 0, 0x03, 50, 1}));
    wired.input.push_back(Bytes({0x06, 0xFA, 0, 0, 0, 0x02, 1}));
    other.input.push_back(Bytes({0x06, 0xFA, 0, 0, 0, 0x06}));

    struct Expected {
        unsigned char code;
        int deviceType;
    };
    for (Expected expected : {Expected{0x03, kType}, Expected{0x02, kType}, Expected{0x06, 101}}) {
        ReportBuffer report{};
        int deviceType = 0;
        ASSERT_TRUE(m_manager.ReadNotifications(report, deviceType));
        EXPECT_EQ(report[5], expected.code);
        EXPECT_EQ(deviceType, expected.deviceType);
    }
    ReportBuffer untouched;
    untouched.fill(0xEE);
    ReportBuffer report = untouched;
    int deviceType = 42;
    EXPECT_TRUE(m_manager.ReadNotifications(report, deviceType));
    EXPECT_EQ(report, untouched);
    EXPECT_EQ(deviceType, 42);
}

TEST_F(HidDeviceManagerTest, IsDevicePresentNeedsThatProductsVendorCollection) {
    struct Case {
        const char* name;
        uint16_t vendorId;
        uint16_t productId;
        uint16_t usagePage;
        int askedProduct;
        bool present;
    };
    const Case cases[] = {
        {"vendor collection of the product", kVid, kWiredPid, kVendorUsagePage, kWiredPid, true},
        {"only its keyboard collection", kVid, kWiredPid, 0x0001, kWiredPid, false},
        {"vendor collection of another product", kVid, kReceiverPid, kVendorUsagePage, kWiredPid,
         false},
        {"another vendor with that product id", 0x1234, kWiredPid, kVendorUsagePage, kWiredPid,
         false},
        {"product not in the catalogue", kVid, 0x0009, kVendorUsagePage, 0x0009, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedHid hid;
        hid.Add("/dev/hidraw1", c.vendorId, c.productId, c.usagePage, kVendorUsage);
        m_manager.UseBackend(hid.Api());
        EXPECT_EQ(m_manager.IsDevicePresent(c.askedProduct), c.present);
        EXPECT_EQ(hid.EnumerationsLive(), 0);
        EXPECT_EQ(hid.OpenHandleCount(), 0);
    }
}

TEST_F(HidDeviceManagerTest, IsVendorInterfaceMatchesThePathWithoutRegardToCase) {
    AddWired();
    m_hid.Add(kWiredKeyboard, kVid, kWiredPid, 0x01, 0x06);
    std::string upper = kWiredVendor;
    for (char& c : upper) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    EXPECT_TRUE(m_manager.IsVendorInterface(upper));
    EXPECT_TRUE(m_manager.IsVendorInterface(kWiredVendor));
    EXPECT_FALSE(m_manager.IsVendorInterface(kWiredKeyboard));
    EXPECT_FALSE(m_manager.IsVendorInterface(kReceiverVendor));
    EXPECT_FALSE(m_manager.IsVendorInterface(""));
    EXPECT_EQ(m_hid.EnumerationsLive(), 0);
}

TEST_F(HidDeviceManagerTest, OversizePathIsCutToTheField) {
    std::string longPath = kWiredVendor + std::string(3000, 'x');
    AddVendor(longPath, kWiredPid, DeviceInformationReply(5, 0x12, 80, 1));
    Rebuild();

    std::vector<DeviceEntry> entries = Entries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(std::strlen(entries[0].path), static_cast<size_t>(kDevicePathCapacity - 1));
    EXPECT_EQ(std::string(entries[0].path), longPath.substr(0, kDevicePathCapacity - 1));
}

TEST_F(HidDeviceManagerTest, EnumeratingAgainClosesTheEntriesStillListed) {
    AddWired();
    m_manager.EnumerateDevice();
    m_manager.EnumerateDevice();
    EXPECT_EQ(Entries().size(), 1u);
    EXPECT_EQ(m_hid.OpenHandleCount(), 2);

    ScriptedHid replacement;
    m_manager.UseBackend(replacement.Api());
    EXPECT_EQ(m_hid.OpenHandleCount(), 0);
    EXPECT_TRUE(Entries().empty());
}

TEST_F(HidDeviceManagerTest, RebuildsOnOneThreadNeverCloseUnderCommandsOnAnother) {
    ScriptedHid::Interface& wired = AddWired();
    wired.onWrite = [](ScriptedHid::Interface& self, const Report& written) {
        self.input.push_back(written.size() > 1 && written[1] == 0x05
                                 ? DeviceInformationReply(5, 0x12, 80, 1)
                                 : written);
    };
    Rebuild();

    std::atomic<bool> stop{false};
    std::thread worker([this, &stop] {
        while (!stop) {
            ReportBuffer buffer = Request({0x06, 0x13, 0x02, 0x00, 0x00, 0x02, 0x01});
            m_manager.SendCommand(buffer, true);
            int deviceType = 0;
            m_manager.ReadNotifications(buffer, deviceType);
        }
    });
    for (int i = 0; i < 200; ++i) {
        Rebuild();
    }
    stop = true;
    worker.join();
    EXPECT_EQ(m_hid.CallsOnClosedHandles(), 0);
    EXPECT_EQ(m_hid.OpenHandleCount(), 2);
}

TEST(HidDeviceManagerInstanceTest, SingleManagerTakesAnInstalledBackend) {
    HidDeviceManager& manager = HidDeviceManager::Instance();
    EXPECT_EQ(&manager, &HidDeviceManager::Instance());

    ScriptedHid hid;
    hid.Add(kWiredVendor, kVid, kWiredPid, kVendorUsagePage, kVendorUsage);
    manager.UseBackend(hid.Api());
    EXPECT_TRUE(IsVendorInterface(kWiredVendor));
    manager.UseBackend(RealHidApi());
}

}  // namespace
}  // namespace tavik
