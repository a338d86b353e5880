#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/device/clock.h"
#include "app/device/hid_api.h"

namespace tavik {

// A report as the device link moves it: the report-ID byte followed by the 64 report bytes.
// hidapi has no call that tells an interface's report lengths, and every interface of the
// vendor collection uses 64-byte reports with an ID, so 65 bytes is both the input and the
// output length (it is also what the Windows HID stack reports for these interfaces).
constexpr size_t kReportBufferSize = 65;
using ReportBuffer = std::array<unsigned char, kReportBufferSize>;

constexpr unsigned short kVendorUsagePage = 0xFFB2;
constexpr unsigned short kVendorUsage = 0x01;
constexpr int kDevicePathCapacity = 1024;

enum class ConnectState : int { kNone = 0, kConnected = 1, kDisconnected = 2 };

// One row of the catalogue's id table.
struct SupportedDeviceId {
    int vendorId = 0;
    int productId = 0;
    std::wstring name;
    int deviceType = 0;  // catalogue device_type; 0 = none
    int deviceMode = 0;  // 0 wired, 1 wireless (the receiver)
};

// One opened vendor interface.
struct DeviceEntry {
    int index = 0;  // number of entries listed when this one was added
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    char path[kDevicePathCapacity] = {};  // always terminated; longer paths are cut
    std::wstring product;
    // Owned by the manager's entry list. In the copies GetDevices hands out it only
    // identifies the interface and must not be used for I/O or closed.
    hid_device* handle = nullptr;
    int releaseNumber = 0;
    int deviceType = 0;  // 0 when the probe got no answer
    int deviceMode = 0;
    ConnectState connectState = ConnectState::kNone;
    int batteryCharging = 0;
    int batteryLevel = 0;
};

enum class ReportDirection { kWritten, kRead };
// Sees every report the manager writes or reads (for tracing); `length` bytes from `bytes`.
using ReportTrace =
    std::function<void(ReportDirection direction, const unsigned char* bytes, size_t length)>;

// The process-wide owner of the opened vendor HID interfaces. Every operation is serialised
// by one recursive lock, held for the whole of a report exchange, so an entry is never
// closed while a report is in flight on it.
//
// Reports that are not replies (event reports with byte 1 = 0xFA, link reports with
// byte 0 = 0xC0, or anything read while polling for the link state) are never dropped:
// reads that meet them while waiting for a reply or polling the link keep them in a queue
// of pending notifications, and ReadNotifications hands that queue out one report per
// call before it reads the interfaces again. Link reports update the connect state as
// soon as they are read.
class HidDeviceManager {
public:
    // The process-wide manager, created on first use with the real hidapi.
    static HidDeviceManager& Instance();

    explicit HidDeviceManager(HidApi api = RealHidApi(),
                              std::shared_ptr<Clock> clock = SystemClock());
    ~HidDeviceManager();
    HidDeviceManager(const HidDeviceManager&) = delete;
    HidDeviceManager& operator=(const HidDeviceManager&) = delete;

    // Closes every entry through the current backend, forgets pending notifications and
    // talks to `api` from now on (the simulator, or a test's stand-in). The id table and
    // the current device type stay.
    void UseBackend(HidApi api);
    void UseClock(std::shared_ptr<Clock> clock);
    void SetReportTrace(ReportTrace trace);

    void AddSupportedId(int vendorId, int productId, const std::wstring& name, int deviceType,
                        int deviceMode);
    void ClearSupportedIds();
    bool IsSupported(int vendorId, int productId) const;
    int DevTypeOf(int vendorId, int productId) const;
    int DevModeOf(int vendorId, int productId) const;

    // Opens every vendor interface of a catalogue device and probes it. Entries still
    // listed are closed first.
    void EnumerateDevice();
    // Closes every entry and clears the open flag.
    void CloseAll();
    void SetOpenFlag(bool open);
    bool IsOpen() const;
    void ClearActiveHandle();
    // The whole re-enumeration in one hold of the lock: clear the active handle, CloseAll,
    // EnumerateDevice, set the open flag.
    void RebuildDevices();

    void SetCurDeviceType(int deviceType);
    int GetCurDeviceType() const;
    // Appends copies of all entries (current type 0) or of those of the current type;
    // false when no entry is listed.
    bool GetDevices(std::vector<DeviceEntry>& out) const;
    int FindEntry(int vendorId, int productId, int deviceMode) const;
    // 0 wired connected, 1 wireless connected, -1 neither (for the current type).
    int GetCurrentDevMode() const;
    // The handle commands go to: the wired entry of the current type, else its first
    // wireless entry while connected; null otherwise.
    hid_device* GetActiveHandle();

    // Writes the request in `buffer` to the active handle; with `wait`, reads the reply
    // into `buffer` (bytes past a short reply are zeroed). False, with `buffer` untouched,
    // when the manager is closed, there is no active handle, the write fails or no reply
    // comes.
    bool SendCommand(ReportBuffer& buffer, bool wait);
    // Hands out one pending or newly read report with the device type of its interface;
    // `buffer` and `deviceType` are left alone when there is none. False only when the
    // manager is closed.
    bool ReadNotifications(ReportBuffer& buffer, int& deviceType);
    // Reads the link state of the wireless entries of the current type.
    void PollWirelessConnect();
    void SetConnectState(int vendorId, int productId, ConnectState state);
    size_t PendingNotificationCount() const;

    // True when the id table holds (0x7768, productId) and an attached interface with
    // exactly that vendor and product id carries the vendor collection.
    bool IsDevicePresent(int productId);
    // True when the interface with this path (compared without regard to case) carries the
    // vendor collection.
    bool IsVendorInterface(const std::string& path);

private:
    struct PendingReport {
        ReportBuffer bytes;
        int deviceType;
    };

    void QueryConnectState(DeviceEntry& entry);
    // Reads the reply to a request just written, up to `attempts` reads of `timeoutMs`
    // with a 10 ms pause after an empty read. Reports that are not replies are kept as
    // notifications. Returns the last read result; `reply` is set only when it is > 0.
    int ReadReply(const DeviceEntry& entry, ReportBuffer& reply, int attempts, int timeoutMs);
    int Write(hid_device* handle, const ReportBuffer& report);
    int Read(hid_device* handle, ReportBuffer& report, int timeoutMs);
    void KeepNotification(const DeviceEntry& entry, const ReportBuffer& report);
    const DeviceEntry* EntryOfHandle(const hid_device* handle) const;
    const SupportedDeviceId* FindSupportedId(int vendorId, int productId) const;

    mutable std::recursive_mutex m_lock;  // guards every field below
    HidApi m_api;
    std::shared_ptr<Clock> m_clock;
    ReportTrace m_trace;
    bool m_open = false;
    std::vector<std::unique_ptr<DeviceEntry>> m_entries;
    std::vector<SupportedDeviceId> m_supportedIds;
    int m_curDeviceType = 0;
    hid_device* m_activeHandle = nullptr;  // not owned: the handle of one of m_entries
    std::deque<PendingReport> m_pendingNotifications;
};

// Whether the interface named by a hot-plug notification carries the vendor collection,
// asked of the process-wide manager's backend.
bool IsVendorInterface(const std::string& path);

}  // namespace tavik
