#include "app/device/hid_device_manager.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <thread>

#include "app/device/protocol_reports.h"
#include "app/device/thread_basic.h"

namespace tavik {

namespace {

// The vendor id whose products the firmware flash looks for.
constexpr int kFlashVendorId = 0x7768;

constexpr int kProbeAttempts = 10;
constexpr int kReplyReads = 10;
constexpr int kReplyTimeoutMs = 100;
constexpr int kEmptyReadPauseMs = 10;
constexpr int kProbeRetryPauseMs = 20;
constexpr int kNotificationTimeoutMs = 10;
// A reader blocks this long per read; it is also how soon it sees that it must stop.
constexpr int kReaderTimeoutMs = 100;
// A waiting command looks at its stop request this often.
constexpr int kStopCheckMs = 10;
constexpr size_t kProductCapacity = 512;

bool IsLinkReport(const ReportBuffer& report) {
    return report[0] == kLinkReportMarker;
}

// Replies carry the command in byte 1 and no command uses 0xFA, so an event report can
// never be mistaken for a reply.
bool IsUnsolicited(const ReportBuffer& report) {
    return report[1] == kEventMark || IsLinkReport(report);
}

ConnectState LinkState(const ReportBuffer& report) {
    return report[1] == kLinkConnected ? ConnectState::kConnected : ConnectState::kDisconnected;
}

bool IsVendorCollection(const hid_device_info& record) {
    return record.usage_page == kVendorUsagePage && record.usage == kVendorUsage;
}

bool SamePathIgnoringCase(const char* left, const std::string& right) {
    size_t length = std::strlen(left);
    if (length != right.size()) {
        return false;
    }
    for (size_t i = 0; i < length; ++i) {
        if (std::toupper(static_cast<unsigned char>(left[i])) !=
            std::toupper(static_cast<unsigned char>(right[i]))) {
            return false;
        }
    }
    return true;
}

}  // namespace

// One opened vendor interface with its two handles and its reader.
struct HidDeviceManager::Link {
    DeviceEntry entry;                   // connect state and battery guarded by m_stateLock
    hid_device* readerHandle = nullptr;  // owned; used only by the reader (or the exchange holder
                                         // when there is no reader thread)
    bool threaded = false;               // set before the link is listed: it has a reader thread
    std::thread reader;                  // started and joined under the rules of `threaded`
    std::atomic<bool> stopReader{false};

    std::mutex exchangeLock;  // held for one whole command on this interface
    bool closed = false;      // guarded by exchangeLock: set once the handles are closed

    // The reply mailbox, guarded by m_stateLock.
    bool awaiting = false;     // a command waits for its reply
    uint64_t writtenAtUs = 0;  // when that command's request went out
    std::deque<ReportBuffer> replies;
    std::condition_variable replyArrived;
};

HidDeviceManager& HidDeviceManager::Instance() {
    static HidDeviceManager manager;
    return manager;
}

HidDeviceManager::HidDeviceManager(HidApi api, std::shared_ptr<Clock> clock)
    : m_api(std::move(api)), m_clock(clock ? std::move(clock) : SystemClock()) {
    // hidapi sets itself up once, before any reader thread could race it.
    if (m_api.init && m_api.init() == 0) {
        m_exitHid = m_api.exit;
    }
    m_readerThreads = m_clock->IsRealTime();
}

HidDeviceManager::~HidDeviceManager() {
    CloseAll();
    if (m_exitHid) {
        m_exitHid();
    }
}

void HidDeviceManager::UseBackend(HidApi api) {
    CloseAll();
    {
        std::lock_guard<std::mutex> guard(m_stateLock);
        m_pendingNotifications.clear();
    }
    if (api.init) {
        api.init();
    }
    m_api = std::move(api);
}

void HidDeviceManager::UseClock(std::shared_ptr<Clock> clock) {
    m_clock = clock ? std::move(clock) : SystemClock();
    m_readerThreads = m_clock->IsRealTime();
}

void HidDeviceManager::UseReaderThreads(bool readerThreads) {
    m_readerThreads = readerThreads;
}

bool HidDeviceManager::UsesReaderThreads() const {
    return m_readerThreads.load();
}

void HidDeviceManager::SetReportTrace(ReportTrace trace) {
    std::lock_guard<std::mutex> guard(m_traceLock);
    m_trace = std::move(trace);
}

void HidDeviceManager::SetNotificationListener(std::function<void()> listener) {
    std::lock_guard<std::mutex> guard(m_listenerLock);
    m_listener = std::move(listener);
}

void HidDeviceManager::NotifyListener() {
    std::lock_guard<std::mutex> guard(m_listenerLock);
    if (m_listener) {
        m_listener();
    }
}

void HidDeviceManager::Trace(ReportDirection direction, const unsigned char* bytes, size_t length) {
    std::lock_guard<std::mutex> guard(m_traceLock);
    if (m_trace) {
        m_trace(direction, bytes, length);
    }
}

void HidDeviceManager::AddSupportedId(int vendorId, int productId, const std::wstring& name,
                                      int deviceType, int deviceMode) {
    std::lock_guard<std::mutex> guard(m_stateLock);
    m_supportedIds.push_back({vendorId, productId, name, deviceType, deviceMode});
}

void HidDeviceManager::ClearSupportedIds() {
    std::lock_guard<std::mutex> guard(m_stateLock);
    m_supportedIds.clear();
}

const SupportedDeviceId* HidDeviceManager::FindSupportedIdLocked(int vendorId,
                                                                 int productId) const {
    for (const SupportedDeviceId& id : m_supportedIds) {
        if (id.vendorId == vendorId && id.productId == productId) {
            return &id;
        }
    }
    return nullptr;
}

bool HidDeviceManager::IsSupported(int vendorId, int productId) const {
    std::lock_guard<std::mutex> guard(m_stateLock);
    return FindSupportedIdLocked(vendorId, productId) != nullptr;
}

int HidDeviceManager::DevTypeOf(int vendorId, int productId) const {
    std::lock_guard<std::mutex> guard(m_stateLock);
    const SupportedDeviceId* id = FindSupportedIdLocked(vendorId, productId);
    return id ? id->deviceType : 0;
}

int HidDeviceManager::DevModeOf(int vendorId, int productId) const {
    std::lock_guard<std::mutex> guard(m_stateLock);
    const SupportedDeviceId* id = FindSupportedIdLocked(vendorId, productId);
    return id ? id->deviceMode : 0;
}

void HidDeviceManager::EnumerateDevice() {
    // Entries left from an earlier enumeration would keep their handles open for good.
    std::vector<std::shared_ptr<Link>> old;
    {
        std::lock_guard<std::mutex> guard(m_stateLock);
        old.swap(m_links);
        m_activeHandle = nullptr;
    }
    CloseLinks(std::move(old));
    if (!m_api.enumerate) {
        return;
    }
    hid_device_info* list = m_api.enumerate(0, 0);
    if (list == nullptr) {
        return;
    }
    for (hid_device_info* record = list; record != nullptr; record = record->next) {
        if (CurrentThreadStopRequested()) {
            break;
        }
        if (record->path == nullptr || !IsSupported(record->vendor_id, record->product_id)) {
            continue;
        }
        std::shared_ptr<Link> link = OpenLink(*record);
        if (!link) {
            continue;
        }
        QueryConnectState(*link);
        std::lock_guard<std::mutex> guard(m_stateLock);
        link->entry.index = static_cast<int>(m_links.size());
        m_links.push_back(std::move(link));
    }
    m_api.freeEnumeration(list);
}

std::shared_ptr<HidDeviceManager::Link> HidDeviceManager::OpenLink(const hid_device_info& record) {
    hid_device* handle = m_api.openPath(record.path);
    if (handle == nullptr) {
        return nullptr;
    }
    // The mouse and the receiver also expose keyboard and mouse collections; only the
    // vendor collection takes commands.
    if (!IsVendorCollection(record)) {
        m_api.close(handle);
        return nullptr;
    }
    // hidapi is not safe for a read and a write on one handle from two threads, so the
    // reader gets a handle of its own.
    hid_device* readerHandle = m_api.openPath(record.path);
    if (readerHandle == nullptr) {
        m_api.close(handle);
        return nullptr;
    }
    auto link = std::make_shared<Link>();
    DeviceEntry& entry = link->entry;
    entry.vendorId = record.vendor_id;
    entry.productId = record.product_id;
    entry.handle = handle;
    link->readerHandle = readerHandle;
    wchar_t product[kProductCapacity] = {};
    if (m_api.getProductString(handle, product, kProductCapacity) == 0) {
        product[kProductCapacity - 1] = L'\0';
        entry.product = product;
    }
    entry.releaseNumber = record.release_number;
    entry.deviceType = DevTypeOf(record.vendor_id, record.product_id);
    entry.deviceMode = DevModeOf(record.vendor_id, record.product_id);
    size_t pathLength = strnlen(record.path, kDevicePathCapacity - 1);
    std::memcpy(entry.path, record.path, pathLength);
    entry.path[pathLength] = '\0';
    if (m_readerThreads) {
        StartReader(link);
    }
    return link;
}

void HidDeviceManager::StartReader(const std::shared_ptr<Link>& link) {
    Link* raw = link.get();
    link->threaded = true;
    // The thread is joined before the link's handles close and before the link goes away.
    link->reader = std::thread([this, raw] { ReaderMain(*raw); });
}

void HidDeviceManager::ReaderMain(Link& link) {
    while (!link.stopReader.load()) {
        ReportBuffer report;
        const int result = Read(link.readerHandle, report, kReaderTimeoutMs);
        if (result > 0) {
            Deliver(link, report, m_clock->NowUs());
        } else if (result < 0) {
            // The interface is gone; its removal rebuilds the list and joins this thread.
            break;
        }
    }
}

bool HidDeviceManager::Deliver(Link& link, const ReportBuffer& report, uint64_t readAtUs) {
    {
        std::lock_guard<std::mutex> guard(m_stateLock);
        // A report read before the request went out was already waiting: never its reply.
        if (link.awaiting && !IsUnsolicited(report) && readAtUs >= link.writtenAtUs) {
            link.replies.push_back(report);
            link.replyArrived.notify_all();
            return true;
        }
        KeepNotificationLocked(link, report);
    }
    NotifyListener();
    return false;
}

void HidDeviceManager::KeepNotificationLocked(const Link& link, const ReportBuffer& report) {
    if (IsLinkReport(report)) {
        SetConnectStateLocked(link.entry.vendorId, link.entry.productId, LinkState(report));
    }
    if (m_pendingNotifications.size() >= kMaxPendingNotifications) {
        m_pendingNotifications.pop_front();
        ++m_droppedNotifications;
    }
    m_pendingNotifications.push_back({report, link.entry.deviceType});
}

void HidDeviceManager::QueryConnectState(Link& link) {
    DeviceEntry& entry = link.entry;
    entry.connectState = ConnectState::kNone;
    ReportBuffer reply{};
    bool answered = false;
    {
        std::lock_guard<std::mutex> exchange(link.exchangeLock);
        for (int attempt = 0; attempt < kProbeAttempts && !answered; ++attempt) {
            if (CurrentThreadStopRequested()) {
                break;
            }
            ReportBuffer request = CommandReport(kCommandDeviceInformation, 0);
            if (Exchange(link, request, true, reply)) {
                answered = true;
            } else {
                m_clock->SleepMs(kProbeRetryPauseMs);
            }
        }
    }
    // Bytes 9 and 10 are the firmware version; a receiver whose mouse is switched off
    // answers with both zero, and then the entry belongs to no device type.
    std::lock_guard<std::mutex> guard(m_stateLock);
    if (answered && (reply[9] != 0 || reply[10] != 0)) {
        entry.batteryLevel = reply[13];
        entry.batteryCharging = reply[14];
        entry.connectState = ConnectState::kConnected;
    } else {
        entry.deviceType = 0;
        entry.connectState = ConnectState::kNone;
    }
}

int HidDeviceManager::Write(hid_device* handle, const ReportBuffer& report) {
    Trace(ReportDirection::kWritten, report.data(), report.size());
    return m_api.write(handle, report.data(), report.size());
}

int HidDeviceManager::Read(hid_device* handle, ReportBuffer& report, int timeoutMs) {
    report.fill(0);
    int result = m_api.readTimeout(handle, report.data(), report.size(), timeoutMs);
    if (result > 0) {
        // A backend must not report more than it was given room for; if one does, the
        // buffer is all that is kept.
        size_t length = std::min(static_cast<size_t>(result), report.size());
        Trace(ReportDirection::kRead, report.data(), length);
        return static_cast<int>(length);
    }
    report.fill(0);
    return result;
}

bool HidDeviceManager::Exchange(Link& link, const ReportBuffer& request, bool wait,
                                ReportBuffer& reply) {
    if (link.closed) {
        return false;
    }
    const bool inlineReads = !link.threaded;
    if (inlineReads) {
        // Whatever is already waiting on the interface came before this request.
        ReportBuffer stale;
        while (Read(link.readerHandle, stale, 0) > 0) {
            Deliver(link, stale, m_clock->NowUs());
        }
    }
    bool movedStale = false;
    {
        std::lock_guard<std::mutex> guard(m_stateLock);
        // Replies that came after their command gave up are nobody's reply now.
        for (const ReportBuffer& stale : link.replies) {
            KeepNotificationLocked(link, stale);
            movedStale = true;
        }
        link.replies.clear();
        link.awaiting = wait;
        link.writtenAtUs = m_clock->NowUs();
    }
    if (movedStale) {
        NotifyListener();
    }
    const int written = Write(link.entry.handle, request);
    bool answered = false;
    if (written > 0 && wait) {
        answered = AwaitReply(link, reply);
    }
    std::lock_guard<std::mutex> guard(m_stateLock);
    link.awaiting = false;
    return written > 0 && (!wait || answered);
}

bool HidDeviceManager::AwaitReply(Link& link, ReportBuffer& reply) {
    if (link.threaded) {
        // Ten reads of 100 ms, as one window, cut short by a stop of the calling worker.
        const auto deadline = std::chrono::steady_clock::now() +
                              std::chrono::milliseconds(kReplyReads * kReplyTimeoutMs);
        std::unique_lock<std::mutex> lock(m_stateLock);
        while (link.replies.empty()) {
            const auto now = std::chrono::steady_clock::now();
            if (now >= deadline || CurrentThreadStopRequested()) {
                return false;
            }
            link.replyArrived.wait_for(
                lock, std::min<std::chrono::steady_clock::duration>(
                          deadline - now, std::chrono::milliseconds(kStopCheckMs)));
        }
        reply = link.replies.front();
        link.replies.pop_front();
        return true;
    }
    for (int attempt = 0; attempt < kReplyReads; ++attempt) {
        if (CurrentThreadStopRequested()) {
            return false;
        }
        ReportBuffer report;
        const int result = Read(link.readerHandle, report, kReplyTimeoutMs);
        if (result > 0) {
            if (Deliver(link, report, m_clock->NowUs())) {
                std::lock_guard<std::mutex> guard(m_stateLock);
                reply = link.replies.front();
                link.replies.pop_front();
                return true;
            }
            // The reply may be right behind the event, so read again without a pause; the
            // event used up one of the reads.
            continue;
        }
        m_clock->SleepMs(kEmptyReadPauseMs);
    }
    return false;
}

void HidDeviceManager::CloseAll() {
    std::vector<std::shared_ptr<Link>> links;
    {
        std::lock_guard<std::mutex> guard(m_stateLock);
        m_open = false;
        m_activeHandle = nullptr;
        links.swap(m_links);
    }
    CloseLinks(std::move(links));
}

void HidDeviceManager::CloseLinks(std::vector<std::shared_ptr<Link>> links) {
    // All readers are told first, so their last reads end together.
    for (auto& link : links) {
        link->stopReader = true;
    }
    for (auto& link : links) {
        std::lock_guard<std::mutex> exchange(link->exchangeLock);
        if (link->reader.joinable()) {
            link->reader.join();
        }
        // Reports the interface still buffers are events the user caused: keep them.
        ReportBuffer report;
        while (Read(link->readerHandle, report, 0) > 0) {
            Deliver(*link, report, m_clock->NowUs());
        }
        bool kept = false;
        {
            std::lock_guard<std::mutex> guard(m_stateLock);
            for (const ReportBuffer& report : link->replies) {
                KeepNotificationLocked(*link, report);
                kept = true;
            }
            link->replies.clear();
        }
        if (kept) {
            NotifyListener();
        }
        if (m_api.close) {
            m_api.close(link->entry.handle);
            m_api.close(link->readerHandle);
        }
        link->entry.handle = nullptr;
        link->readerHandle = nullptr;
        link->closed = true;
    }
}

void HidDeviceManager::SetOpenFlag(bool open) {
    std::lock_guard<std::mutex> guard(m_stateLock);
    m_open = open;
}

bool HidDeviceManager::IsOpen() const {
    std::lock_guard<std::mutex> guard(m_stateLock);
    return m_open;
}

void HidDeviceManager::ClearActiveHandle() {
    std::lock_guard<std::mutex> guard(m_stateLock);
    m_activeHandle = nullptr;
}

void HidDeviceManager::RebuildDevices() {
    CloseAll();
    EnumerateDevice();
    SetOpenFlag(true);
}

void HidDeviceManager::SetCurDeviceType(int deviceType) {
    std::lock_guard<std::mutex> guard(m_stateLock);
    m_curDeviceType = deviceType;
    m_activeHandle = nullptr;
}

int HidDeviceManager::GetCurDeviceType() const {
    std::lock_guard<std::mutex> guard(m_stateLock);
    return m_curDeviceType;
}

bool HidDeviceManager::GetDevices(std::vector<DeviceEntry>& out) const {
    std::lock_guard<std::mutex> guard(m_stateLock);
    if (m_links.empty()) {
        return false;
    }
    for (const auto& link : m_links) {
        if (m_curDeviceType == 0 || link->entry.deviceType == m_curDeviceType) {
            out.push_back(link->entry);
        }
    }
    return true;
}

int HidDeviceManager::FindEntry(int vendorId, int productId, int deviceMode) const {
    std::lock_guard<std::mutex> guard(m_stateLock);
    for (size_t i = 0; i < m_links.size(); ++i) {
        const DeviceEntry& entry = m_links[i]->entry;
        if (entry.vendorId == vendorId && entry.productId == productId &&
            entry.deviceMode == deviceMode) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int HidDeviceManager::GetCurrentDevMode() const {
    std::lock_guard<std::mutex> guard(m_stateLock);
    for (int mode = 0; mode <= 1; ++mode) {
        for (const auto& link : m_links) {
            const DeviceEntry& entry = link->entry;
            if (entry.deviceType == m_curDeviceType && entry.deviceMode == mode &&
                entry.connectState == ConnectState::kConnected) {
                return mode;
            }
        }
    }
    return -1;
}

hid_device* HidDeviceManager::GetActiveHandle() {
    std::lock_guard<std::mutex> guard(m_stateLock);
    return ActiveHandleLocked();
}

hid_device* HidDeviceManager::ActiveHandleLocked() {
    if (m_activeHandle != nullptr) {
        return m_activeHandle;
    }
    // The cable wins: a wired mouse takes the commands even while its receiver is plugged in.
    for (const auto& link : m_links) {
        if (link->entry.deviceType == m_curDeviceType && link->entry.deviceMode == 0) {
            m_activeHandle = link->entry.handle;
            return m_activeHandle;
        }
    }
    // Only the first receiver of the type is considered, and only while its mouse is linked.
    for (const auto& link : m_links) {
        if (link->entry.deviceType == m_curDeviceType && link->entry.deviceMode == 1) {
            if (link->entry.connectState == ConnectState::kConnected) {
                m_activeHandle = link->entry.handle;
            }
            return m_activeHandle;
        }
    }
    return nullptr;
}

std::shared_ptr<HidDeviceManager::Link> HidDeviceManager::LinkOfHandleLocked(
    const hid_device* handle) const {
    for (const auto& link : m_links) {
        if (link->entry.handle == handle) {
            return link;
        }
    }
    return nullptr;
}

bool HidDeviceManager::SendCommand(ReportBuffer& buffer, bool wait) {
    std::shared_ptr<Link> link;
    {
        std::lock_guard<std::mutex> guard(m_stateLock);
        if (!m_open) {
            return false;
        }
        hid_device* handle = ActiveHandleLocked();
        link = handle == nullptr ? nullptr : LinkOfHandleLocked(handle);
    }
    if (!link) {
        return false;
    }
    // The request is the 64 bytes from the report ID on; the 65th byte goes out as zero.
    ReportBuffer request{};
    std::copy(buffer.begin(), buffer.begin() + (kReportBufferSize - 1), request.begin());
    ReportBuffer reply;
    std::lock_guard<std::mutex> exchange(link->exchangeLock);
    if (!Exchange(*link, request, wait, reply)) {
        return false;
    }
    if (wait) {
        buffer = reply;
    }
    return true;
}

bool HidDeviceManager::ReadNotifications(ReportBuffer& buffer, int& deviceType) {
    std::vector<std::shared_ptr<Link>> inlineLinks;
    {
        std::lock_guard<std::mutex> guard(m_stateLock);
        if (!m_open) {
            return false;
        }
        // Reports already waiting go out first; the interfaces are read again only once the
        // queue is empty, so each pass hands out every report in order.
        if (m_pendingNotifications.empty()) {
            for (const auto& link : m_links) {
                if (!link->threaded) {
                    inlineLinks.push_back(link);
                }
            }
        }
    }
    for (const auto& link : inlineLinks) {
        // An interface in the middle of a command is read by that command.
        std::unique_lock<std::mutex> exchange(link->exchangeLock, std::try_to_lock);
        if (!exchange.owns_lock() || link->closed) {
            continue;
        }
        ReportBuffer report;
        if (Read(link->readerHandle, report, kNotificationTimeoutMs) > 0) {
            Deliver(*link, report, m_clock->NowUs());
        }
    }
    std::lock_guard<std::mutex> guard(m_stateLock);
    if (!m_pendingNotifications.empty()) {
        buffer = m_pendingNotifications.front().bytes;
        deviceType = m_pendingNotifications.front().deviceType;
        m_pendingNotifications.pop_front();
    }
    return true;
}

void HidDeviceManager::PollWirelessConnect() {
    std::vector<std::shared_ptr<Link>> wireless;
    {
        std::lock_guard<std::mutex> guard(m_stateLock);
        for (const auto& link : m_links) {
            // A reader applies link reports as they arrive.
            if (link->entry.deviceType == m_curDeviceType && link->entry.deviceMode == 1 &&
                !link->threaded) {
                wireless.push_back(link);
            }
        }
    }
    for (const auto& link : wireless) {
        std::unique_lock<std::mutex> exchange(link->exchangeLock, std::try_to_lock);
        if (!exchange.owns_lock() || link->closed) {
            continue;
        }
        ReportBuffer report;
        // Whatever else arrives here is kept for ReadNotifications rather than dropped.
        if (Read(link->readerHandle, report, kNotificationTimeoutMs) > 0) {
            Deliver(*link, report, m_clock->NowUs());
        }
    }
}

void HidDeviceManager::SetConnectState(int vendorId, int productId, ConnectState state) {
    std::lock_guard<std::mutex> guard(m_stateLock);
    SetConnectStateLocked(vendorId, productId, state);
}

void HidDeviceManager::SetConnectStateLocked(int vendorId, int productId, ConnectState state) {
    for (auto& link : m_links) {
        DeviceEntry& entry = link->entry;
        if (entry.vendorId == vendorId && entry.productId == productId &&
            entry.connectState != state) {
            entry.connectState = state;
            // A receiver that lost its mouse must stop taking commands at once.
            m_activeHandle = nullptr;
        }
    }
}

size_t HidDeviceManager::PendingNotificationCount() const {
    std::lock_guard<std::mutex> guard(m_stateLock);
    return m_pendingNotifications.size();
}

uint64_t HidDeviceManager::DroppedNotificationCount() const {
    std::lock_guard<std::mutex> guard(m_stateLock);
    return m_droppedNotifications;
}

bool HidDeviceManager::IsDevicePresent(int productId) {
    if (!IsSupported(kFlashVendorId, productId) || !m_api.enumerate) {
        return false;
    }
    hid_device_info* list = m_api.enumerate(0, 0);
    bool present = false;
    for (hid_device_info* record = list; record != nullptr; record = record->next) {
        if (record->vendor_id == kFlashVendorId && record->product_id == productId &&
            IsVendorCollection(*record)) {
            present = true;
            break;
        }
    }
    if (list != nullptr) {
        m_api.freeEnumeration(list);
    }
    return present;
}

bool HidDeviceManager::IsVendorInterface(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    if (m_api.openPath && m_api.getDeviceInfo) {
        hid_device* handle = m_api.openPath(path.c_str());
        if (handle == nullptr) {
            return false;
        }
        const hid_device_info* info = m_api.getDeviceInfo(handle);
        const bool vendor = info != nullptr && IsVendorCollection(*info);
        m_api.close(handle);
        return vendor;
    }
    // A backend that cannot describe an opened interface: find the path in an enumeration.
    if (!m_api.enumerate) {
        return false;
    }
    hid_device_info* list = m_api.enumerate(0, 0);
    bool vendor = false;
    for (hid_device_info* record = list; record != nullptr; record = record->next) {
        if (record->path != nullptr && SamePathIgnoringCase(record->path, path)) {
            vendor = IsVendorCollection(*record);
            break;
        }
    }
    if (list != nullptr) {
        m_api.freeEnumeration(list);
    }
    return vendor;
}

bool IsVendorInterface(const std::string& path) {
    return HidDeviceManager::Instance().IsVendorInterface(path);
}

}  // namespace tavik
