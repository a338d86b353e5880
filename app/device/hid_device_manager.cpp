#include "app/device/hid_device_manager.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace tavik {

namespace {

constexpr int kVendorId = 0x7768;
constexpr unsigned char kCommandReportId = 0x06;
constexpr unsigned char kDeviceInformationCommand = 0x05;
constexpr unsigned char kEventMarker = 0xFA;
constexpr unsigned char kLinkReportMarker = 0xC0;
constexpr unsigned char kLinkConnected = 0x01;

constexpr int kProbeAttempts = 10;
constexpr int kReplyReads = 10;
constexpr int kReplyTimeoutMs = 100;
constexpr int kEmptyReadPauseMs = 10;
constexpr int kProbeRetryPauseMs = 20;
constexpr int kNotificationTimeoutMs = 10;
constexpr size_t kProductCapacity = 512;
// A device that floods reports while commands run must not grow the queue without end;
// past this many the oldest pending report is dropped.
constexpr size_t kMaxPendingNotifications = 64;

bool IsLinkReport(const ReportBuffer& report) {
    return report[0] == kLinkReportMarker;
}

// Replies carry the command in byte 1 and no command uses 0xFA, so an event report can
// never be mistaken for a reply.
bool IsUnsolicited(const ReportBuffer& report) {
    return report[1] == kEventMarker || IsLinkReport(report);
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

HidDeviceManager& HidDeviceManager::Instance() {
    static HidDeviceManager manager;
    return manager;
}

HidDeviceManager::HidDeviceManager(HidApi api, std::shared_ptr<Clock> clock)
    : m_api(std::move(api)), m_clock(clock ? std::move(clock) : SystemClock()) {}

HidDeviceManager::~HidDeviceManager() {
    CloseAll();
}

void HidDeviceManager::UseBackend(HidApi api) {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    CloseAll();
    m_pendingNotifications.clear();
    m_api = std::move(api);
}

void HidDeviceManager::UseClock(std::shared_ptr<Clock> clock) {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    m_clock = clock ? std::move(clock) : SystemClock();
}

void HidDeviceManager::SetReportTrace(ReportTrace trace) {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    m_trace = std::move(trace);
}

void HidDeviceManager::AddSupportedId(int vendorId, int productId, const std::wstring& name,
                                      int deviceType, int deviceMode) {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    m_supportedIds.push_back({vendorId, productId, name, deviceType, deviceMode});
}

void HidDeviceManager::ClearSupportedIds() {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    m_supportedIds.clear();
}

const SupportedDeviceId* HidDeviceManager::FindSupportedId(int vendorId, int productId) const {
    for (const SupportedDeviceId& id : m_supportedIds) {
        if (id.vendorId == vendorId && id.productId == productId) {
            return &id;
        }
    }
    return nullptr;
}

bool HidDeviceManager::IsSupported(int vendorId, int productId) const {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    return FindSupportedId(vendorId, productId) != nullptr;
}

int HidDeviceManager::DevTypeOf(int vendorId, int productId) const {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    const SupportedDeviceId* id = FindSupportedId(vendorId, productId);
    return id ? id->deviceType : 0;
}

int HidDeviceManager::DevModeOf(int vendorId, int productId) const {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    const SupportedDeviceId* id = FindSupportedId(vendorId, productId);
    return id ? id->deviceMode : 0;
}

void HidDeviceManager::EnumerateDevice() {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    // Entries left from an earlier enumeration would keep their handles open for good.
    if (!m_entries.empty()) {
        bool wasOpen = m_open;
        CloseAll();
        m_open = wasOpen;
    }
    m_activeHandle = nullptr;
    if (!m_api.enumerate) {
        return;
    }
    hid_device_info* list = m_api.enumerate(0, 0);
    if (list == nullptr) {
        return;
    }
    for (hid_device_info* record = list; record != nullptr; record = record->next) {
        if (record->path == nullptr || !IsSupported(record->vendor_id, record->product_id)) {
            continue;
        }
        hid_device* handle = m_api.openPath(record->path);
        if (handle == nullptr) {
            continue;
        }
        // The mouse and the receiver also expose keyboard and mouse collections; only the
        // vendor collection takes commands.
        if (!IsVendorCollection(*record)) {
            m_api.close(handle);
            continue;
        }
        auto entry = std::make_unique<DeviceEntry>();
        entry->index = static_cast<int>(m_entries.size());
        entry->vendorId = record->vendor_id;
        entry->productId = record->product_id;
        entry->handle = handle;
        wchar_t product[kProductCapacity] = {};
        if (m_api.getProductString(handle, product, kProductCapacity) == 0) {
            product[kProductCapacity - 1] = L'\0';
            entry->product = product;
        }
        entry->releaseNumber = record->release_number;
        entry->deviceType = DevTypeOf(record->vendor_id, record->product_id);
        entry->deviceMode = DevModeOf(record->vendor_id, record->product_id);
        QueryConnectState(*entry);
        size_t pathLength = strnlen(record->path, kDevicePathCapacity - 1);
        std::memcpy(entry->path, record->path, pathLength);
        entry->path[pathLength] = '\0';
        m_entries.push_back(std::move(entry));
    }
    m_api.freeEnumeration(list);
}

void HidDeviceManager::QueryConnectState(DeviceEntry& entry) {
    entry.connectState = ConnectState::kNone;
    ReportBuffer reply{};
    bool answered = false;
    for (int attempt = 0; attempt < kProbeAttempts && !answered; ++attempt) {
        ReportBuffer request{};
        request[0] = kCommandReportId;
        request[1] = kDeviceInformationCommand;
        if (Write(entry.handle, request) > 0 &&
            ReadReply(entry, reply, kReplyReads, kReplyTimeoutMs) > 0) {
            answered = true;
        } else {
            m_clock->SleepMs(kProbeRetryPauseMs);
        }
    }
    // Bytes 9 and 10 are the firmware version; a receiver whose mouse is switched off
    // answers with both zero, and then the entry belongs to no device type.
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
    if (m_trace) {
        m_trace(ReportDirection::kWritten, report.data(), report.size());
    }
    return m_api.write(handle, report.data(), report.size());
}

int HidDeviceManager::Read(hid_device* handle, ReportBuffer& report, int timeoutMs) {
    report.fill(0);
    int result = m_api.readTimeout(handle, report.data(), report.size(), timeoutMs);
    if (result > 0) {
        // A backend must not report more than it was given room for; if one does, the
        // buffer is all that is kept.
        size_t length = std::min(static_cast<size_t>(result), report.size());
        if (m_trace) {
            m_trace(ReportDirection::kRead, report.data(), length);
        }
        return static_cast<int>(length);
    }
    report.fill(0);
    return result;
}

int HidDeviceManager::ReadReply(const DeviceEntry& entry, ReportBuffer& reply, int attempts,
                                int timeoutMs) {
    int result = 0;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        ReportBuffer report;
        result = Read(entry.handle, report, timeoutMs);
        if (result > 0) {
            if (!IsUnsolicited(report)) {
                reply = report;
                return result;
            }
            KeepNotification(entry, report);
            // The reply may be right behind the event, so read again without a pause; the
            // event used up one of the reads.
            result = 0;
            continue;
        }
        m_clock->SleepMs(kEmptyReadPauseMs);
    }
    return result;
}

void HidDeviceManager::KeepNotification(const DeviceEntry& entry, const ReportBuffer& report) {
    if (IsLinkReport(report)) {
        SetConnectState(entry.vendorId, entry.productId, LinkState(report));
    }
    if (m_pendingNotifications.size() >= kMaxPendingNotifications) {
        m_pendingNotifications.pop_front();
    }
    m_pendingNotifications.push_back({report, entry.deviceType});
}

void HidDeviceManager::CloseAll() {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    m_open = false;
    m_activeHandle = nullptr;
    for (auto& entry : m_entries) {
        if (entry->handle != nullptr && m_api.close) {
            m_api.close(entry->handle);
        }
        entry->handle = nullptr;
    }
    m_entries.clear();
}

void HidDeviceManager::SetOpenFlag(bool open) {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    m_open = open;
}

bool HidDeviceManager::IsOpen() const {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    return m_open;
}

void HidDeviceManager::ClearActiveHandle() {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    m_activeHandle = nullptr;
}

void HidDeviceManager::RebuildDevices() {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    m_activeHandle = nullptr;
    CloseAll();
    EnumerateDevice();
    m_open = true;
}

void HidDeviceManager::SetCurDeviceType(int deviceType) {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    m_curDeviceType = deviceType;
    m_activeHandle = nullptr;
}

int HidDeviceManager::GetCurDeviceType() const {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    return m_curDeviceType;
}

bool HidDeviceManager::GetDevices(std::vector<DeviceEntry>& out) const {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    if (m_entries.empty()) {
        return false;
    }
    for (const auto& entry : m_entries) {
        if (m_curDeviceType == 0 || entry->deviceType == m_curDeviceType) {
            out.push_back(*entry);
        }
    }
    return true;
}

int HidDeviceManager::FindEntry(int vendorId, int productId, int deviceMode) const {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    for (size_t i = 0; i < m_entries.size(); ++i) {
        const DeviceEntry& entry = *m_entries[i];
        if (entry.vendorId == vendorId && entry.productId == productId &&
            entry.deviceMode == deviceMode) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int HidDeviceManager::GetCurrentDevMode() const {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    for (int mode = 0; mode <= 1; ++mode) {
        for (const auto& entry : m_entries) {
            if (entry->deviceType == m_curDeviceType && entry->deviceMode == mode &&
                entry->connectState == ConnectState::kConnected) {
                return mode;
            }
        }
    }
    return -1;
}

hid_device* HidDeviceManager::GetActiveHandle() {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    if (m_activeHandle != nullptr) {
        return m_activeHandle;
    }
    // The cable wins: a wired mouse takes the commands even while its receiver is plugged in.
    for (const auto& entry : m_entries) {
        if (entry->deviceType == m_curDeviceType && entry->deviceMode == 0) {
            m_activeHandle = entry->handle;
            return m_activeHandle;
        }
    }
    // Only the first receiver of the type is considered, and only while its mouse is linked.
    for (const auto& entry : m_entries) {
        if (entry->deviceType == m_curDeviceType && entry->deviceMode == 1) {
            if (entry->connectState == ConnectState::kConnected) {
                m_activeHandle = entry->handle;
            }
            return m_activeHandle;
        }
    }
    return nullptr;
}

const DeviceEntry* HidDeviceManager::EntryOfHandle(const hid_device* handle) const {
    for (const auto& entry : m_entries) {
        if (entry->handle == handle) {
            return entry.get();
        }
    }
    return nullptr;
}

bool HidDeviceManager::SendCommand(ReportBuffer& buffer, bool wait) {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    if (!m_open) {
        return false;
    }
    hid_device* handle = GetActiveHandle();
    const DeviceEntry* entry = EntryOfHandle(handle);
    if (handle == nullptr || entry == nullptr) {
        return false;
    }
    // The request is the 64 bytes from the report ID on; the 65th byte goes out as zero.
    ReportBuffer request{};
    std::copy(buffer.begin(), buffer.begin() + (kReportBufferSize - 1), request.begin());
    int written = Write(handle, request);
    if (written <= 0) {
        return false;
    }
    if (!wait) {
        return true;
    }
    ReportBuffer reply;
    if (ReadReply(*entry, reply, kReplyReads, kReplyTimeoutMs) <= 0) {
        return false;
    }
    buffer = reply;
    return true;
}

bool HidDeviceManager::ReadNotifications(ReportBuffer& buffer, int& deviceType) {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    if (!m_open) {
        return false;
    }
    // Reports already waiting go out first; the interfaces are read again only once the
    // queue is empty, so each pass hands out every report in order and the queue never
    // holds more than one report per interface from here.
    if (m_pendingNotifications.empty()) {
        for (const auto& entry : m_entries) {
            if (entry->handle == nullptr) {
                continue;
            }
            ReportBuffer report;
            if (Read(entry->handle, report, kNotificationTimeoutMs) > 0) {
                KeepNotification(*entry, report);
            }
        }
    }
    if (!m_pendingNotifications.empty()) {
        buffer = m_pendingNotifications.front().bytes;
        deviceType = m_pendingNotifications.front().deviceType;
        m_pendingNotifications.pop_front();
    }
    return true;
}

void HidDeviceManager::PollWirelessConnect() {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    for (const auto& entry : m_entries) {
        if (entry->deviceType != m_curDeviceType || entry->deviceMode != 1 ||
            entry->handle == nullptr) {
            continue;
        }
        ReportBuffer report;
        // Whatever else arrives here is kept for ReadNotifications rather than dropped.
        if (Read(entry->handle, report, kNotificationTimeoutMs) > 0) {
            KeepNotification(*entry, report);
        }
    }
}

void HidDeviceManager::SetConnectState(int vendorId, int productId, ConnectState state) {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    for (auto& entry : m_entries) {
        if (entry->vendorId == vendorId && entry->productId == productId &&
            entry->connectState != state) {
            entry->connectState = state;
            // A receiver that lost its mouse must stop taking commands at once.
            m_activeHandle = nullptr;
        }
    }
}

size_t HidDeviceManager::PendingNotificationCount() const {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    return m_pendingNotifications.size();
}

bool HidDeviceManager::IsDevicePresent(int productId) {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    if (FindSupportedId(kVendorId, productId) == nullptr || !m_api.enumerate) {
        return false;
    }
    hid_device_info* list = m_api.enumerate(0, 0);
    bool present = false;
    for (hid_device_info* record = list; record != nullptr; record = record->next) {
        if (record->vendor_id == kVendorId && record->product_id == productId &&
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
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    if (path.empty() || !m_api.enumerate) {
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
