#pragma once

#include <array>
#include <atomic>
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
    // The command handle, owned by the manager (the interface's reader handle is kept apart).
    // In the copies GetDevices hands out it only identifies the interface and must not be
    // used for I/O or closed.
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

// The process-wide owner of the opened vendor HID interfaces.
//
// Threads and handles: every vendor interface is opened twice. With reader threads (the
// default on real time) the reader handle belongs to the interface's own thread, which
// blocks in a read of about 100 ms and hands each report on: to the command waiting on that
// interface when the report can be its reply, else to the queue of notifications (link
// reports change the connect state at once). Commands write on the other handle, so no
// hidapi handle is ever used by two threads at once. Without reader threads (virtual time,
// the command line) the thread that sends a command or asks for notifications reads the
// reader handle itself, as the reader would.
//
// Locks: the state lock guards the entry list, the id table, the current type, the active
// handle, the notification queue and each interface's reply mailbox; it is held for
// microseconds and never across a hidapi call. Each interface's exchange lock serialises
// the commands on it and is held for one whole command; closing an interface takes it, so
// an interface is never closed while a report is in flight on it.
class HidDeviceManager {
public:
    // Past this many unhandled notifications the oldest is dropped (and counted).
    static constexpr size_t kMaxPendingNotifications = 1024;

    // The process-wide manager, created on first use with the real hidapi.
    static HidDeviceManager& Instance();

    explicit HidDeviceManager(HidApi api = RealHidApi(),
                              std::shared_ptr<Clock> clock = SystemClock());
    // Closes every interface (joining its reader) and releases the HID library.
    ~HidDeviceManager();
    HidDeviceManager(const HidDeviceManager&) = delete;
    HidDeviceManager& operator=(const HidDeviceManager&) = delete;

    // Closes every entry through the current backend, forgets pending notifications and
    // talks to `api` from now on (the simulator, or a test's stand-in). The id table and
    // the current device type stay. Only while no other thread uses the manager.
    void UseBackend(HidApi api);
    // The clock of the pauses and waits; also decides whether reader threads are used
    // (real time) or reads happen on the calling thread (virtual time). Only while no
    // interface is open.
    void UseClock(std::shared_ptr<Clock> clock);
    // Chooses reader threads or reads on the calling thread for the interfaces opened from
    // now on.
    void UseReaderThreads(bool readerThreads);
    bool UsesReaderThreads() const;
    void SetReportTrace(ReportTrace trace);
    // Called on the reader thread each time a notification is queued (the worker wakes on
    // it). Cleared with an empty function; once that returns it is not called any more.
    void SetNotificationListener(std::function<void()> listener);

    void AddSupportedId(int vendorId, int productId, const std::wstring& name, int deviceType,
                        int deviceMode);
    void ClearSupportedIds();
    bool IsSupported(int vendorId, int productId) const;
    int DevTypeOf(int vendorId, int productId) const;
    int DevModeOf(int vendorId, int productId) const;

    // Opens every vendor interface of a catalogue device and probes it. Entries still
    // listed are closed first.
    void EnumerateDevice();
    // Closes every entry and clears the open flag. Each interface's reader is joined and
    // what it still held goes to the notification queue before its handles are closed.
    void CloseAll();
    void SetOpenFlag(bool open);
    bool IsOpen() const;
    void ClearActiveHandle();
    // The whole re-enumeration: clear the active handle, CloseAll, EnumerateDevice, set the
    // open flag.
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

    // Writes the request in `buffer` to the active handle; with `wait`, waits for the reply
    // (ten reads of 100 ms) and puts it into `buffer` (bytes past a short reply are zeroed).
    // Event and link reports are never taken for a reply, and a report that was already
    // waiting before the request went out is never taken either. False, with `buffer`
    // untouched, when the manager is closed, there is no active handle, the write fails, no
    // reply comes, or the calling worker is being stopped.
    bool SendCommand(ReportBuffer& buffer, bool wait);
    // Hands out the oldest notification with the device type of its interface; `buffer` and
    // `deviceType` are left alone when there is none. Never waits for the device with reader
    // threads. False only when the manager is closed.
    bool ReadNotifications(ReportBuffer& buffer, int& deviceType);
    // Reads the link state of the wireless entries of the current type (with reader threads
    // it is already applied as it arrives).
    void PollWirelessConnect();
    void SetConnectState(int vendorId, int productId, ConnectState state);
    size_t PendingNotificationCount() const;
    // Notifications dropped because the queue was full.
    uint64_t DroppedNotificationCount() const;

    // True when the id table holds (0x7768, productId) and an attached interface with
    // exactly that vendor and product id carries the vendor collection.
    bool IsDevicePresent(int productId);
    // True when the interface with this path carries the vendor collection: the path alone is
    // opened and looked at, without the manager's lock.
    bool IsVendorInterface(const std::string& path);

private:
    struct PendingReport {
        ReportBuffer bytes;
        int deviceType;
    };
    struct Link;

    // Everything named ...Locked runs with m_stateLock held.
    std::shared_ptr<Link> OpenLink(const hid_device_info& record);
    void StartReader(const std::shared_ptr<Link>& link);
    void ReaderMain(Link& link);
    void CloseLinks(std::vector<std::shared_ptr<Link>> links);
    void QueryConnectState(Link& link);
    // One command on `link`, whose exchange lock the caller holds: stale replies are moved to
    // the notification queue, the request is written, and with `wait` the reply is awaited
    // (up to `replyReads` reads of 100 ms). True when written (and, with wait, answered).
    bool Exchange(Link& link, const ReportBuffer& request, bool wait, ReportBuffer& reply);
    bool AwaitReply(Link& link, ReportBuffer& reply);
    // A report read on `link`'s reader handle: to the waiting command or the notifications.
    // `readAtUs` is when the read returned. True when a waiting command took it.
    bool Deliver(Link& link, const ReportBuffer& report, uint64_t readAtUs);
    void KeepNotificationLocked(const Link& link, const ReportBuffer& report);
    void NotifyListener();
    int Write(hid_device* handle, const ReportBuffer& report);
    int Read(hid_device* handle, ReportBuffer& report, int timeoutMs);
    void Trace(ReportDirection direction, const unsigned char* bytes, size_t length);
    hid_device* ActiveHandleLocked();
    std::shared_ptr<Link> LinkOfHandleLocked(const hid_device* handle) const;
    void SetConnectStateLocked(int vendorId, int productId, ConnectState state);
    const SupportedDeviceId* FindSupportedIdLocked(int vendorId, int productId) const;

    // Set before any interface is opened and changed only while none is (UseBackend,
    // UseClock): read by every thread without a lock.
    HidApi m_api;
    std::shared_ptr<Clock> m_clock;
    std::function<int()> m_exitHid;  // releases the HID library the constructor set up
    std::atomic<bool> m_readerThreads{true};

    std::mutex m_traceLock;  // guards m_trace; held while the trace runs, so lines never mix
    ReportTrace m_trace;
    std::mutex m_listenerLock;  // guards m_listener; held while it runs
    std::function<void()> m_listener;

    mutable std::mutex m_stateLock;  // guards every field below and each Link's mailbox
    bool m_open = false;
    std::vector<std::shared_ptr<Link>> m_links;
    std::vector<SupportedDeviceId> m_supportedIds;
    int m_curDeviceType = 0;
    hid_device* m_activeHandle = nullptr;  // not owned: the command handle of one of m_links
    std::deque<PendingReport> m_pendingNotifications;
    uint64_t m_droppedNotifications = 0;
};

// Whether the interface named by a hot-plug notification carries the vendor collection,
// asked of the process-wide manager's backend.
bool IsVendorInterface(const std::string& path);

}  // namespace tavik
