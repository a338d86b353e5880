#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "app/device/hid_device_manager.h"
#include "app/device/window_effects.h"

namespace tavik {

// Status texts of the device link (language text numbers).
constexpr int kNoConnectionText = 50;
constexpr int kWiredConnectionText = 51;
constexpr int kWirelessConnectionText = 52;

// One connection mode of a catalogue model: how its interface is recognised on the bus.
struct DeviceModeRecord {
    int deviceType = 0;
    int mode = 0;  // 0 wired, 1 wireless (the receiver)
    int vendorId = 0;
    int productId = 0;
    // The part of the interface path that identifies this mode's vendor interface, upper
    // case (for example "VID_7768&PID_0002&MI_01"); may be empty.
    std::string hidInterface;
};

// The device type the user last opened ("DeviceType" of the application's registry key on
// Windows). The frame supplies the registry; tests and the command line keep it in memory.
class DeviceTypePreference {
public:
    virtual ~DeviceTypePreference() = default;
    // 0 when nothing was stored.
    virtual int ReadDeviceType() = 0;
    virtual void WriteDeviceType(int deviceType) = 0;
};

class MemoryDeviceTypePreference : public DeviceTypePreference {
public:
    explicit MemoryDeviceTypePreference(int deviceType = 0) : m_deviceType(deviceType) {}
    int ReadDeviceType() override { return m_deviceType.load(); }
    void WriteDeviceType(int deviceType) override { m_deviceType = deviceType; }

private:
    std::atomic<int> m_deviceType;
};

enum class DeviceChangeEvent { kArrival, kRemoval, kOther };

// The connection state of the device link: which devices are listed, which device type the
// user works with, whether it is connected, and the decisions taken on hot-plug
// notifications. It drives the device list, status text and views through WindowEffects and
// asks for device I/O only by queueing jobs.
//
// The flags are read and written from the UI thread and the worker; device-list rebuilds
// from both threads are serialised.
class DeviceConnection {
public:
    using JobSink = std::function<void(int jobCode)>;

    DeviceConnection(HidDeviceManager& manager, WindowEffects& window,
                     DeviceTypePreference& preference, JobSink queueJob);
    DeviceConnection(const DeviceConnection&) = delete;
    DeviceConnection& operator=(const DeviceConnection&) = delete;

    // The catalogue's mode records, in catalogue order.
    void SetDeviceRecords(std::vector<DeviceModeRecord> records);
    std::vector<DeviceModeRecord> DeviceRecords() const;

    // Rebuilds the device list, selects the device type and shows the matching view.
    // Returns 0 while a firmware flash runs or when the current device type is not
    // connected, else the result of CloseTransientWindows.
    int RefreshDevices();
    // The rebuild after event reports 1 and 6: the same, but a device type that is listed
    // without a connection keeps devices present set, and transient windows stay.
    void RefreshDevicesAfterEvent();
    // A device-interface notification: decides whether a device came or went and queues the
    // re-read (job 2 on arrival, job 3 on removal).
    void UpdateUSBDevice(DeviceChangeEvent event, const std::string& path);
    // The user opened the device selected in the device list (UI thread). A new device type
    // is recorded, stored as the preference, its description loaded and job 4 queued; the
    // worker makes it current at its next job boundary (ApplyPendingSelection).
    void SelectDevice();
    // On the worker, between two jobs: the device type the user chose becomes current.
    void ApplyPendingSelection();
    // A full read failed: show the disconnected state for the current device type.
    void DeviceConnectState(int mode);
    int CloseTransientWindows();

    int CurrentDeviceType() const { return m_currentDeviceType.load(); }
    bool DevicesPresent() const { return m_devicesPresent.load(); }
    bool IsConnected() const { return m_connected.load(); }
    bool DataRead() const { return m_dataRead.load(); }
    void SetDataRead(bool read) { m_dataRead = read; }
    bool Upgrading() const { return m_upgrading.load(); }
    // While set, device-list rebuilds are skipped; a rebuild that already runs finishes.
    void SetUpgrading(bool upgrading) { m_upgrading = upgrading; }
    bool Pairing() const { return m_pairing.load(); }
    void SetPairing(bool pairing) { m_pairing = pairing; }
    // Catalogue mode of the interface that caused the last hot-plug job.
    int PendingMode() const { return m_pendingMode.load(); }

private:
    enum class RebuildVariant { kFull, kAfterEvent };
    int Rebuild(RebuildVariant variant);
    void ShowNoConnection();
    // The records an arriving interface can belong to: those whose pattern occurs in its
    // path, or every record when no pattern does.
    std::vector<DeviceModeRecord> ArrivalCandidates(const std::string& upperPath) const;

    HidDeviceManager& m_manager;         // not owned
    WindowEffects& m_window;             // not owned
    DeviceTypePreference& m_preference;  // not owned
    JobSink m_queueJob;

    mutable std::mutex m_recordLock;  // guards m_records
    std::vector<DeviceModeRecord> m_records;
    std::mutex m_rebuildLock;  // held for a whole device-list rebuild and its m_upgrading check

    std::atomic<int> m_currentDeviceType{0};
    std::atomic<bool> m_devicesPresent{false};
    std::atomic<bool> m_connected{false};
    std::atomic<bool> m_dataRead{false};
    std::atomic<bool> m_upgrading{false};
    std::atomic<bool> m_pairing{false};
    std::atomic<int> m_pendingMode{0};
    // The device type chosen on the UI thread and not yet applied by the worker; -1 for none.
    std::atomic<int> m_pendingSelection{-1};
};

}  // namespace tavik
