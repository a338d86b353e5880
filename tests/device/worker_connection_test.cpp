#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/device/worker_fixture.h"

namespace tavik {
namespace {

using sim::InterfacePath;
using sim::kKeyboardInterface;
using sim::kMainDeviceType;
using sim::kMouseInterface;
using sim::kReceiverProductId;
using sim::kSecondDeviceType;
using sim::kSecondModelProductId;
using sim::kVendorInterface;
using sim::kWiredMouseProductId;

// What is attached when the device list is rebuilt.
struct Attached {
    bool cable = false;
    bool receiver = false;
    bool mouseOn = true;
    bool secondModel = false;
};

class WorkerConnectionTest : public test::WorkerTest {
protected:
    void Attach(const Attached& attached) {
        if (!attached.cable) {
            m_simulator->UnplugCable();
        }
        if (!attached.receiver) {
            m_simulator->UnplugReceiver();
        }
        if (!attached.mouseOn) {
            m_simulator->SwitchMouseOff();
        }
        if (attached.secondModel) {
            m_simulator->PlugSecondModel();
        }
    }

    DeviceConnection& Connection() { return m_worker->Connection(); }
};

struct RefreshCase {
    const char* name;
    Attached attached;
    int preferredType;
    int currentType;
    int statusText;
    MainView view;
    bool devicesPresent;
    bool connected;
    bool closesTransientWindows;
};

TEST_F(WorkerConnectionTest, RefreshDevicesSelectsTheTypeAndShowsTheMatchingView) {
    const RefreshCase cases[] = {
        {"cable and receiver",
         {true, true},
         kMainDeviceType,
         kMainDeviceType,
         51,
         MainView::kDeviceList,
         true,
         true,
         true},
        {"receiver only",
         {false, true},
         kMainDeviceType,
         kMainDeviceType,
         52,
         MainView::kDeviceList,
         true,
         true,
         true},
        // The receiver answers without its mouse: listed, but not connected.
        {"receiver with the mouse off",
         {false, true, false},
         kMainDeviceType,
         kMainDeviceType,
         50,
         MainView::kNoConnection,
         true,
         false,
         false},
        {"nothing attached",
         {},
         kMainDeviceType,
         kMainDeviceType,
         50,
         MainView::kNoConnection,
         false,
         false,
         true},
        // The preferred DeviceType is not attached: the device list's fallback wins.
        {"preferred type absent",
         {true},
         kSecondDeviceType,
         kMainDeviceType,
         51,
         MainView::kDeviceList,
         true,
         true,
         true},
        {"no preference stored",
         {false, false, true, true},
         0,
         kSecondDeviceType,
         51,
         MainView::kDeviceList,
         true,
         true,
         true},
        {"preferred second model attached",
         {true, false, true, true},
         kSecondDeviceType,
         kSecondDeviceType,
         51,
         MainView::kDeviceList,
         true,
         true,
         true},
        {"preferred main model absent",
         {false, false, true, true},
         kMainDeviceType,
         kSecondDeviceType,
         51,
         MainView::kDeviceList,
         true,
         true,
         true},
    };
    for (const RefreshCase& c : cases) {
        SCOPED_TRACE(c.name);
        m_simulator = std::make_unique<sim::DeviceSimulator>(sim::SimulatorSetup{}, m_clock);
        m_manager.UseBackend(m_simulator->Api());
        Attach(c.attached);
        m_preference.WriteDeviceType(c.preferredType);
        m_window.Clear();
        const int closesBefore = m_window.TransientWindowCloses();

        Connection().RefreshDevices();

        EXPECT_EQ(Connection().CurrentDeviceType(), c.currentType);
        EXPECT_EQ(m_manager.GetCurDeviceType(), c.currentType);
        EXPECT_EQ(m_window.StatusText(), c.statusText);
        EXPECT_EQ(m_window.View(), c.view);
        EXPECT_EQ(Connection().DevicesPresent(), c.devicesPresent);
        EXPECT_EQ(Connection().IsConnected(), c.connected);
        EXPECT_EQ(m_window.TransientWindowCloses() - closesBefore,
                  c.closesTransientWindows ? 1 : 0);
        EXPECT_EQ(m_preference.ReadDeviceType(), c.preferredType)
            << "a rebuild never writes the preference";
    }
}

TEST_F(WorkerConnectionTest, RefreshDevicesFillsTheDeviceListFromEveryEntry) {
    m_simulator->UnplugReceiver();
    m_preference.WriteDeviceType(kMainDeviceType);
    m_window.Clear();
    Connection().RefreshDevices();
    EXPECT_EQ(m_window.Calls(), (std::vector<std::string>{
                                    "SetAllDeviceState 0",
                                    "SetDeviceState 102 0 1",
                                    "SetDeviceVersion 102 261",
                                    "SetDeviceBattery 102 85 0",
                                    "SetSelectDevice 102",
                                    "SetStatusText 51",
                                    "ShowView DeviceList",
                                    "CloseTransientWindows",
                                }));
}

TEST_F(WorkerConnectionTest, NoRebuildWhileAFirmwareFlashRuns) {
    Connection().SetUpgrading(true);
    m_window.Clear();
    EXPECT_EQ(Connection().RefreshDevices(), 0);
    Connection().RefreshDevicesAfterEvent();
    EXPECT_TRUE(m_window.Calls().empty());
    EXPECT_FALSE(Connection().DevicesPresent());
    EXPECT_FALSE(m_manager.IsOpen()) << "the interfaces were not touched";
}

TEST_F(WorkerConnectionTest, RebuildAfterAnEventKeepsDevicesPresentAndTransientWindows) {
    Attach({false, true, false});
    m_window.Clear();
    Connection().RefreshDevicesAfterEvent();
    EXPECT_TRUE(Connection().DevicesPresent()) << "the receiver is still listed";
    EXPECT_FALSE(Connection().IsConnected());
    EXPECT_EQ(m_window.View(), MainView::kNoConnection);
    EXPECT_EQ(m_window.TransientWindowCloses(), 0);

    m_simulator->SwitchMouseOn();
    Connection().RefreshDevicesAfterEvent();
    EXPECT_TRUE(Connection().IsConnected());
    EXPECT_EQ(m_window.StatusText(), 52);
    EXPECT_EQ(m_window.TransientWindowCloses(), 0);
}

struct HotPlugCase {
    const char* name;
    Attached listed;                                    // attached at the last rebuild
    std::function<void(sim::DeviceSimulator&)> change;  // what happens on the bus
    DeviceChangeEvent event;
    std::string path;
    int expectedJob;  // 0: nothing queued
    int expectedPendingMode;
};

TEST_F(WorkerConnectionTest, ArrivalAndRemovalDecisions) {
    auto none = [](sim::DeviceSimulator&) {};
    auto plugReceiver = [](sim::DeviceSimulator& s) { s.PlugReceiver(); };
    auto unplugReceiver = [](sim::DeviceSimulator& s) { s.UnplugReceiver(); };
    auto plugSecond = [](sim::DeviceSimulator& s) { s.PlugSecondModel(); };
    const std::string receiverVendor = InterfacePath(kReceiverProductId, kVendorInterface);
    std::string receiverVendorLower = receiverVendor;
    for (char& c : receiverVendorLower) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    const HotPlugCase cases[] = {
        {"receiver arrives",
         {true},
         plugReceiver,
         DeviceChangeEvent::kArrival,
         receiverVendor,
         2,
         1},
        {"path in lower case",
         {true},
         plugReceiver,
         DeviceChangeEvent::kArrival,
         receiverVendorLower,
         2,
         1},
        {"second model arrives",
         {true},
         plugSecond,
         DeviceChangeEvent::kArrival,
         InterfacePath(kSecondModelProductId, kVendorInterface),
         2,
         0},
        {"an interface without the vendor collection",
         {true},
         plugReceiver,
         DeviceChangeEvent::kArrival,
         InterfacePath(kReceiverProductId, kMouseInterface),
         0,
         -1},
        {"a listed interface arrives again",
         {true},
         none,
         DeviceChangeEvent::kArrival,
         InterfacePath(kWiredMouseProductId, kVendorInterface),
         0,
         -1},
        {"arrival of a path that is not attached",
         {true},
         none,
         DeviceChangeEvent::kArrival,
         receiverVendor,
         0,
         -1},
        {"receiver removed",
         {true, true},
         unplugReceiver,
         DeviceChangeEvent::kRemoval,
         receiverVendor,
         3,
         1},
        {"removal of the receiver's keyboard collection",
         {true, true},
         unplugReceiver,
         DeviceChangeEvent::kRemoval,
         InterfacePath(kReceiverProductId, kKeyboardInterface),
         0,
         -1},
        {"removal of a path without a catalogue pattern",
         {true, true},
         none,
         DeviceChangeEvent::kRemoval,
         "\\\\?\\HID#VID_1234&PID_5678&MI_01#7&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}",
         0,
         -1},
        {"removal of a catalogue interface that is not listed",
         {true},
         none,
         DeviceChangeEvent::kRemoval,
         InterfacePath(kSecondModelProductId, kVendorInterface),
         0,
         -1},
        {"removal while no device is present",
         {},
         none,
         DeviceChangeEvent::kRemoval,
         receiverVendor,
         0,
         -1},
        {"other events", {true, true}, none, DeviceChangeEvent::kOther, receiverVendor, 0, -1},
    };
    for (const HotPlugCase& c : cases) {
        SCOPED_TRACE(c.name);
        m_simulator = std::make_unique<sim::DeviceSimulator>(sim::SimulatorSetup{}, m_clock);
        m_manager.UseBackend(m_simulator->Api());
        m_worker = std::make_unique<DeviceWorker>(m_manager, m_database, m_window, m_computer,
                                                  m_preference, m_clock);
        m_worker->Connection().SetDeviceRecords(test::SimulatedDeviceRecords());
        Attach(c.listed);
        Connection().RefreshDevices();
        c.change(*m_simulator);
        const int closesBefore = m_window.TransientWindowCloses();

        Connection().UpdateUSBDevice(c.event, c.path);

        if (c.expectedJob == 0) {
            EXPECT_TRUE(m_worker->Jobs().Empty());
            EXPECT_EQ(m_window.TransientWindowCloses(), closesBefore);
        } else {
            EXPECT_EQ(m_worker->Jobs().Snapshot(), std::vector<int>{c.expectedJob});
            EXPECT_EQ(Connection().PendingMode(), c.expectedPendingMode);
            EXPECT_EQ(m_window.TransientWindowCloses(), closesBefore + 1);
        }
    }
}

TEST_F(WorkerConnectionTest, SelectingAnotherDeviceSwitchesTypeStoresItAndQueuesARead) {
    Attach({true, false, true, true});
    m_preference.WriteDeviceType(kMainDeviceType);
    Connection().RefreshDevices();
    ASSERT_EQ(Connection().CurrentDeviceType(), kMainDeviceType);

    // The same device again: only the device view.
    m_window.Clear();
    Connection().SelectDevice();
    EXPECT_EQ(m_window.Calls(), std::vector<std::string>{"ShowView Device"});
    EXPECT_TRUE(m_worker->Jobs().Empty());

    // The user clicks the second model's card.
    m_window.SetSelectDevice(kSecondDeviceType);
    m_window.Clear();
    Connection().SelectDevice();
    // Recorded and stored at once; the worker switches the type only between two jobs.
    EXPECT_EQ(m_preference.ReadDeviceType(), kSecondDeviceType);
    EXPECT_EQ(Connection().CurrentDeviceType(), kMainDeviceType);
    EXPECT_EQ(m_manager.GetCurDeviceType(), kMainDeviceType);
    Connection().ApplyPendingSelection();
    EXPECT_EQ(Connection().CurrentDeviceType(), kSecondDeviceType);
    EXPECT_EQ(m_manager.GetCurDeviceType(), kSecondDeviceType);
    EXPECT_EQ(m_window.Calls(),
              (std::vector<std::string>{"LoadDeviceDescription 101", "ShowView Device"}));
    EXPECT_EQ(m_worker->Jobs().Snapshot(), std::vector<int>{job::kDeviceSelected});
}

TEST_F(WorkerConnectionTest, DeviceConnectStateShowsTheCurrentTypeDisconnected) {
    Attach({false, true});
    Connection().RefreshDevices();
    ASSERT_TRUE(Connection().IsConnected());
    m_window.Clear();

    Connection().DeviceConnectState(1);

    EXPECT_FALSE(Connection().IsConnected());
    EXPECT_EQ(m_window.Calls(), (std::vector<std::string>{
                                    "SetStatusText 50",
                                    "ShowView NoConnection",
                                    "SetDeviceState 102 1 2",
                                    "CloseTransientWindows",
                                }));
}

}  // namespace
}  // namespace tavik
