#include "app/device/sim/device_simulator.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <utility>

#include "app/device/key_macro_image.h"
#include "app/device/protocol_reports.h"
#include "app/device/sim/sim_identities.h"

namespace tavik::sim {

namespace {

constexpr size_t kLinkReportLength = 33;

// Like the platform's input buffer of a HID handle: past 64 unread reports the oldest goes.
constexpr size_t kMaxQueuedReports = 64;
// What a device may have queued on its way to the host before it loses the oldest.
constexpr size_t kMaxReportsInFlight = 4096;
// A command nobody looks at past this many drops the oldest one.
constexpr size_t kMaxReceivedCommands = 4096;
constexpr uint64_t kFrameUs = 1000;

constexpr int kInterfaceNumbers[] = {kMouseInterface, kVendorInterface, kKeyboardInterface};

struct Collection {
    uint16_t usagePage;
    uint16_t usage;
};

Collection CollectionOf(int interfaceNumber) {
    switch (interfaceNumber) {
        case kVendorInterface:
            return {kVendorUsagePage, kVendorUsage};
        case kKeyboardInterface:
            return {kGenericDesktopPage, kKeyboardUsage};
        default:
            return {kGenericDesktopPage, kMouseUsage};
    }
}

bool SameTextIgnoringCase(const std::string& left, const char* right) {
    size_t at = 0;
    for (; at < left.size() && right[at] != '\0'; ++at) {
        if (std::toupper(static_cast<unsigned char>(left[at])) !=
            std::toupper(static_cast<unsigned char>(right[at]))) {
            return false;
        }
    }
    return at == left.size() && right[at] == '\0';
}

ReportBuffer EventReport(unsigned char code, unsigned char first, unsigned char second) {
    ReportBuffer report{};
    report[0] = kCommandReportId;
    report[1] = kEventMark;
    report[5] = code;
    report[6] = first;
    report[7] = second;
    return report;
}

ReportBuffer LinkReport(bool linked) {
    ReportBuffer report{};
    report[0] = kLinkReportMarker;
    report[1] = linked ? 0x01 : 0x00;
    return report;
}

}  // namespace

class DeviceSimulator::Core {
public:
    struct PendingInput {
        ReportBuffer bytes;
        size_t length;
        uint64_t readyAtUs;
        int emptyReadsFirst;
    };
    struct Handle {
        SimDevice device;
        int interfaceNumber;
        uint64_t generation;
        std::deque<PendingInput> input;
        std::string path;
        hid_device_info info;  // what getDeviceInfo hands out; its path points into `path`
    };
    struct UsbDevice {
        uint16_t productId;
        uint16_t releaseNumber;
        bool plugged;
        uint64_t generation;  // changes on every plug and unplug; older handles are dead
        uint64_t plugOrder;
    };
    struct FaultPlan {
        SimFault fault;
        int remaining;
        int parameter;
    };
    using HotPlugList = std::vector<std::pair<HotPlugEvent, std::string>>;

    Core(const SimulatorSetup& setup, std::shared_ptr<Clock> clock)
        : m_clock(clock ? std::move(clock) : SystemClock()),
          m_latencyUs(1000 * static_cast<uint64_t>(std::max(0, setup.latencyMs))),
          m_receiverLatencyUs(1000 * static_cast<uint64_t>(std::max(0, setup.receiverLatencyMs))),
          m_mouseOn(setup.mouseOn),
          m_paired(setup.paired),
          m_mainMouse(FactoryMouseState()),
          m_secondMouse(FactoryMouseState()) {
        m_devices[Index(SimDevice::kWiredMouse)] = {kWiredMouseProductId, kWiredMouseRelease, false,
                                                    0, 0};
        m_devices[Index(SimDevice::kReceiver)] = {kReceiverProductId, kReceiverRelease, false, 0,
                                                  0};
        m_devices[Index(SimDevice::kSecondModel)] = {kSecondModelProductId, kSecondModelRelease,
                                                     false, 0, 0};
        m_secondMouse.firmwareBuild = 2;
        m_secondMouse.firmwareVersion = 0x10;
        HotPlugList ignored;
        if (setup.receiverPlugged) {
            SetPlugged(SimDevice::kReceiver, true, ignored);
        }
        if (setup.cablePlugged) {
            SetPlugged(SimDevice::kWiredMouse, true, ignored);
        }
        if (setup.secondModelPlugged) {
            SetPlugged(SimDevice::kSecondModel, true, ignored);
        }
    }

    static size_t Index(SimDevice device) { return static_cast<size_t>(device); }

    // Everything below runs with m_lock held unless it says otherwise.

    bool IsAlive(const Handle& handle) const {
        const UsbDevice& device = m_devices[Index(handle.device)];
        return device.plugged && device.generation == handle.generation;
    }

    Handle* FindHandle(hid_device* device) {
        auto found = m_handles.find(reinterpret_cast<Handle*>(device));
        return found == m_handles.end() ? nullptr : found->second.get();
    }

    bool Linked() const {
        return m_devices[Index(SimDevice::kReceiver)].plugged && m_mouseOn && m_paired;
    }

    void SetPlugged(SimDevice which, bool plugged, HotPlugList& notifications) {
        UsbDevice& device = m_devices[Index(which)];
        if (device.plugged == plugged) {
            return;
        }
        device.plugged = plugged;
        ++device.generation;
        if (plugged) {
            device.plugOrder = ++m_plugCounter;
        }
        m_changed.notify_all();
        for (int number : kInterfaceNumbers) {
            notifications.emplace_back(plugged ? HotPlugEvent::kArrival : HotPlugEvent::kRemoval,
                                       InterfacePath(device.productId, number));
        }
    }

    // Reports travel on the bus's 1 ms frames: nothing leaves or arrives between two.
    static uint64_t NextFrameUs(uint64_t timeUs) {
        return (timeUs + kFrameUs - 1) / kFrameUs * kFrameUs;
    }

    // A device's input endpoint carries one report per frame: a report that would share a
    // frame with the one before it arrives a frame later.
    void Queue(SimDevice device, const ReportBuffer& bytes, size_t length, uint64_t readyAtUs,
               int emptyReadsFirst = 0) {
        uint64_t& freeFrame = m_nextFreeFrameUs[Index(device)];
        readyAtUs = std::max(readyAtUs, freeFrame);
        freeFrame = readyAtUs + kFrameUs;
        for (auto& [key, handle] : m_handles) {
            if (handle->device != device || handle->interfaceNumber != kVendorInterface ||
                !IsAlive(*handle)) {
                continue;
            }
            DropUnreadBeyondBuffer(*handle, m_clock->NowUs());
            // Reports still on their way count against the device, not the handle's buffer.
            if (handle->input.size() >= kMaxReportsInFlight) {
                handle->input.pop_front();
            }
            handle->input.push_back({bytes, length, readyAtUs, emptyReadsFirst});
        }
        m_changed.notify_all();
    }

    void Emit(SimDevice device, const ReportBuffer& bytes, size_t length = kReportBufferSize) {
        if (m_devices[Index(device)].plugged) {
            Queue(device, bytes, length, NextFrameUs(m_clock->NowUs()));
        }
    }

    // The way a mouse's own reports leave it: the cable first, else the receiver's link.
    bool RouteOf(SimMouse mouse, SimDevice& device) const {
        if (mouse == SimMouse::kSecondModel) {
            device = SimDevice::kSecondModel;
            return m_devices[Index(device)].plugged;
        }
        if (m_devices[Index(SimDevice::kWiredMouse)].plugged) {
            device = SimDevice::kWiredMouse;
            return true;
        }
        device = SimDevice::kReceiver;
        return Linked();
    }

    MouseState& StateOf(SimMouse mouse) {
        return mouse == SimMouse::kSecondModel ? m_secondMouse : m_mainMouse;
    }

    void EmitFromMouse(SimMouse mouse, const ReportBuffer& report) {
        SimDevice device;
        if (RouteOf(mouse, device)) {
            Emit(device, report);
        }
    }

    void EmitLinkChange(bool linked, unsigned char pairingByte) {
        Emit(SimDevice::kReceiver, LinkReport(linked), kLinkReportLength);
        Emit(SimDevice::kReceiver, EventReport(kEventConnection, pairingByte, 0));
    }

    ReportBuffer Noise() {
        ReportBuffer noise;
        for (unsigned char& byte : noise) {
            m_noiseState ^= m_noiseState << 13;
            m_noiseState ^= m_noiseState >> 17;
            m_noiseState ^= m_noiseState << 5;
            byte = static_cast<unsigned char>(m_noiseState & 0xFF);
        }
        return noise;
    }

    // Takes the first planned fault that applies to this command.
    bool TakeFault(const ReportBuffer& request, FaultPlan& taken) {
        for (auto plan = m_faults.begin(); plan != m_faults.end(); ++plan) {
            if (plan->fault == SimFault::kZeroVersion && request[1] != kCommandDeviceInformation) {
                continue;
            }
            if (plan->fault == SimFault::kUnplugDuringMacroUpload &&
                (request[1] != kCommandWriteMacroImage ||
                 (request[3] | (request[4] << 8)) / kMacroChunkSize !=
                     static_cast<size_t>(std::max(0, plan->parameter)))) {
                continue;
            }
            taken = *plan;
            if (--plan->remaining <= 0) {
                m_faults.erase(plan);
            }
            return true;
        }
        return false;
    }

    // The receiver answers for itself (receiver information, pairing) and passes the rest on
    // to its mouse while they are linked.
    bool AnswerThroughReceiver(const ReportBuffer& request, ReportBuffer& reply) {
        if (request[1] == kCommandReceiverInformation) {
            reply.fill(0);
            std::copy(request.begin(), request.begin() + 5, reply.begin());
            reply[5] = 1;
            reply[9] = m_receiverBuild;
            reply[10] = m_receiverVersion;
            return true;
        }
        if (Linked()) {
            return AnswerMouseCommand(m_mainMouse, request, kReceiverConnectionMode, reply);
        }
        if (request[1] == kCommandDeviceInformation) {
            // Its mouse is off or not paired: zero versions and "not reachable".
            reply.fill(0);
            std::copy(request.begin(), request.begin() + 5, reply.begin());
            reply[11] = kReceiverConnectionMode;
            return true;
        }
        if (request[1] == kCommandSetParameter && request[5] == kParameterPairing) {
            m_receiverPairing = true;
            reply = request;
            return true;
        }
        return false;
    }

    bool Answer(SimDevice device, const ReportBuffer& request, ReportBuffer& reply) {
        switch (device) {
            case SimDevice::kWiredMouse:
                return AnswerMouseCommand(m_mainMouse, request, kCableConnectionMode, reply);
            case SimDevice::kSecondModel:
                return AnswerMouseCommand(m_secondMouse, request, kCableConnectionMode, reply);
            case SimDevice::kReceiver:
                return AnswerThroughReceiver(request, reply);
        }
        return false;
    }

    // A command written to a vendor interface: the firmware's answer, shaped by any fault.
    void TakeCommand(SimDevice device, const ReportBuffer& request, HotPlugList& notifications) {
        if (m_received.size() >= kMaxReceivedCommands) {
            m_received.pop_front();
        }
        m_received.push_back({device, request});

        FaultPlan fault{SimFault::kNoReply, 0, 0};
        bool faulty = TakeFault(request, fault);
        if (faulty && fault.fault == SimFault::kUnplugDuringMacroUpload) {
            // Whatever carries the mouse's reports goes away with the chunk in flight.
            SetPlugged(device, false, notifications);
            return;
        }
        ReportBuffer reply{};
        if (!Answer(device, request, reply)) {
            return;
        }
        size_t length = kReportBufferSize;
        int emptyReadsFirst = 0;
        const uint64_t now = m_clock->NowUs();
        if (faulty) {
            switch (fault.fault) {
                case SimFault::kNoReply:
                    return;
                case SimFault::kLateReply:
                    emptyReadsFirst = std::max(0, fault.parameter);
                    break;
                case SimFault::kEventBeforeReply: {
                    const MouseState& mouse =
                        device == SimDevice::kSecondModel ? m_secondMouse : m_mainMouse;
                    Queue(device,
                          EventReport(kEventBattery, mouse.batteryLevel, mouse.batteryCharging),
                          kReportBufferSize, NextFrameUs(now));
                    break;
                }
                case SimFault::kZeroVersion:
                    reply[9] = 0;
                    reply[10] = 0;
                    break;
                case SimFault::kShortReply:
                    length = static_cast<size_t>(
                        std::clamp(fault.parameter, 1, static_cast<int>(kReportBufferSize)));
                    break;
                case SimFault::kGarbageReply:
                    reply = Noise();
                    break;
                case SimFault::kUnplugDuringMacroUpload:
                    break;
            }
        }
        const uint64_t roundTrip =
            device == SimDevice::kReceiver ? m_receiverLatencyUs : m_latencyUs;
        Queue(device, reply, length, NextFrameUs(now + roundTrip), emptyReadsFirst);
    }

    hid_device_info* Enumerate(unsigned short vendorId, unsigned short productId) {
        std::lock_guard<std::mutex> guard(m_lock);
        std::vector<const UsbDevice*> plugged;
        for (const UsbDevice& device : m_devices) {
            if (device.plugged) {
                plugged.push_back(&device);
            }
        }
        std::sort(plugged.begin(), plugged.end(), [](const UsbDevice* a, const UsbDevice* b) {
            return a->plugOrder < b->plugOrder;
        });
        hid_device_info* head = nullptr;
        hid_device_info** tail = &head;
        for (const UsbDevice* device : plugged) {
            if ((vendorId != 0 && vendorId != kVendorId) ||
                (productId != 0 && productId != device->productId)) {
                continue;
            }
            for (int number : kInterfaceNumbers) {
                auto* record = new hid_device_info();
                std::string path = InterfacePath(device->productId, number);
                record->path = new char[path.size() + 1];
                std::memcpy(record->path, path.c_str(), path.size() + 1);
                std::wstring product = ProductName(device->productId);
                record->product_string = new wchar_t[product.size() + 1];
                std::wmemcpy(record->product_string, product.c_str(), product.size() + 1);
                record->vendor_id = kVendorId;
                record->product_id = device->productId;
                record->release_number = device->releaseNumber;
                Collection collection = CollectionOf(number);
                record->usage_page = collection.usagePage;
                record->usage = collection.usage;
                record->interface_number = number;
                *tail = record;
                tail = &record->next;
            }
        }
        return head;
    }

    static void FreeEnumeration(hid_device_info* list) {
        while (list != nullptr) {
            hid_device_info* next = list->next;
            delete[] list->path;
            delete[] list->product_string;
            delete list;
            list = next;
        }
    }

    hid_device* Open(const char* path) {
        if (path == nullptr) {
            return nullptr;
        }
        std::lock_guard<std::mutex> guard(m_lock);
        for (size_t index = 0; index < m_devices.size(); ++index) {
            const UsbDevice& device = m_devices[index];
            if (!device.plugged) {
                continue;
            }
            for (int number : kInterfaceNumbers) {
                // Windows interface paths are not case-sensitive.
                if (SameTextIgnoringCase(InterfacePath(device.productId, number), path)) {
                    auto handle = std::make_unique<Handle>();
                    handle->device = static_cast<SimDevice>(index);
                    handle->interfaceNumber = number;
                    handle->generation = device.generation;
                    handle->path = path;
                    handle->info = {};
                    handle->info.path = handle->path.data();
                    handle->info.vendor_id = kVendorId;
                    handle->info.product_id = device.productId;
                    handle->info.release_number = device.releaseNumber;
                    const Collection collection = CollectionOf(number);
                    handle->info.usage_page = collection.usagePage;
                    handle->info.usage = collection.usage;
                    handle->info.interface_number = number;
                    Handle* key = handle.get();
                    m_handles.emplace(key, std::move(handle));
                    return reinterpret_cast<hid_device*>(key);
                }
            }
        }
        return nullptr;
    }

    int Write(hid_device* device, const unsigned char* data, size_t length) {
        HotPlugList notifications;
        ReceivedCommand received{};
        bool isCommand = false;
        std::function<void(const ReceivedCommand&)> observer;
        std::function<void(HotPlugEvent, const std::string&)> hotPlug;
        {
            std::lock_guard<std::mutex> guard(m_lock);
            Handle* handle = FindHandle(device);
            if (handle == nullptr || !IsAlive(*handle) || data == nullptr || length == 0) {
                return -1;
            }
            if (handle->interfaceNumber != kVendorInterface) {
                return static_cast<int>(length);
            }
            // The vendor collection has one output report, ID 0x06.
            if (data[0] != kCommandReportId) {
                return -1;
            }
            ReportBuffer request{};
            std::memcpy(request.data(), data, std::min(length, request.size()));
            received = {handle->device, request};
            isCommand = true;
            TakeCommand(handle->device, request, notifications);
            observer = m_commandObserver;
            hotPlug = m_hotPlug;
        }
        if (isCommand && observer) {
            observer(received);
        }
        if (hotPlug) {
            for (const auto& [event, path] : notifications) {
                hotPlug(event, path);
            }
        }
        return static_cast<int>(length);
    }

    int Read(hid_device* device, unsigned char* data, size_t length, int timeoutMs) {
        std::unique_lock<std::mutex> guard(m_lock);
        // A negative time-out (hidapi's blocking read) is not used by the device link and
        // would never end on virtual time, so it is taken as no wait.
        const uint64_t deadline =
            m_clock->NowUs() + 1000 * static_cast<uint64_t>(std::max(0, timeoutMs));
        bool emptyRead = false;
        for (;;) {
            Handle* handle = FindHandle(device);
            if (handle == nullptr || !IsAlive(*handle) || data == nullptr) {
                return -1;
            }
            const uint64_t now = m_clock->NowUs();
            DropUnreadBeyondBuffer(*handle, now);
            uint64_t wakeAt = deadline;
            if (!emptyRead && !handle->input.empty()) {
                PendingInput& front = handle->input.front();
                if (front.emptyReadsFirst > 0) {
                    // This read times out whatever arrives meanwhile.
                    --front.emptyReadsFirst;
                    emptyRead = true;
                    continue;
                }
                if (front.readyAtUs <= now) {
                    size_t count = std::min(length, front.length);
                    std::memcpy(data, front.bytes.data(), count);
                    handle->input.pop_front();
                    return static_cast<int>(count);
                }
                wakeAt = std::min(deadline, front.readyAtUs);
            }
            if (now >= deadline) {
                return 0;
            }
            WaitUntil(guard, now, wakeAt);
        }
    }

    // The handle's buffer holds the last 64 reports that arrived; older unread ones are gone.
    static void DropUnreadBeyondBuffer(Handle& handle, uint64_t now) {
        size_t arrived = 0;
        while (arrived < handle.input.size() && handle.input[arrived].readyAtUs <= now) {
            ++arrived;
        }
        for (; arrived > kMaxQueuedReports; --arrived) {
            handle.input.pop_front();
        }
    }

    // Blocks until `wakeAt` (microseconds on the simulator's clock), or on real time until a
    // report arrives or a handle goes away, whichever is first.
    void WaitUntil(std::unique_lock<std::mutex>& guard, uint64_t now, uint64_t wakeAt) {
        if (m_clock->IsRealTime()) {
            m_changed.wait_for(guard, std::chrono::microseconds(wakeAt - now));
            return;
        }
        guard.unlock();
        m_clock->SleepMs(static_cast<int>((wakeAt - now + 999) / 1000));
        guard.lock();
    }

    hid_device_info* DeviceInfo(hid_device* device) {
        std::lock_guard<std::mutex> guard(m_lock);
        Handle* handle = FindHandle(device);
        return handle == nullptr || !IsAlive(*handle) ? nullptr : &handle->info;
    }

    int ProductString(hid_device* device, wchar_t* text, size_t maxChars) {
        std::lock_guard<std::mutex> guard(m_lock);
        Handle* handle = FindHandle(device);
        if (handle == nullptr || !IsAlive(*handle) || text == nullptr || maxChars == 0) {
            return -1;
        }
        std::wstring product = ProductName(m_devices[Index(handle->device)].productId);
        size_t count = std::min(maxChars - 1, product.size());
        std::wmemcpy(text, product.c_str(), count);
        text[count] = L'\0';
        return 0;
    }

    void Close(hid_device* device) {
        std::lock_guard<std::mutex> guard(m_lock);
        m_handles.erase(reinterpret_cast<Handle*>(device));
        m_changed.notify_all();
    }

    // Runs a change under the lock and reports the hot-plug events it caused afterwards.
    template <typename Mutation>
    void Change(Mutation change) {
        HotPlugList notifications;
        std::function<void(HotPlugEvent, const std::string&)> hotPlug;
        {
            std::lock_guard<std::mutex> guard(m_lock);
            change(notifications);
            hotPlug = m_hotPlug;
        }
        if (hotPlug) {
            for (const auto& [event, path] : notifications) {
                hotPlug(event, path);
            }
        }
    }

    mutable std::mutex m_lock;  // guards every field below
    std::shared_ptr<Clock> m_clock;
    std::condition_variable m_changed;  // a report was queued, a handle or device went away
    uint64_t m_latencyUs;
    uint64_t m_receiverLatencyUs;
    std::array<UsbDevice, 3> m_devices{};
    uint64_t m_plugCounter = 0;
    std::array<uint64_t, 3> m_nextFreeFrameUs{};
    bool m_mouseOn;
    bool m_paired;
    bool m_receiverPairing = false;
    MouseState m_mainMouse;
    MouseState m_secondMouse;
    uint8_t m_receiverBuild = 3;
    uint8_t m_receiverVersion = 0x11;
    std::map<Handle*, std::unique_ptr<Handle>> m_handles;
    std::vector<FaultPlan> m_faults;
    std::deque<ReceivedCommand> m_received;
    uint32_t m_noiseState = 0x2545F491;
    std::function<void(HotPlugEvent, const std::string&)> m_hotPlug;
    std::function<void(const ReceivedCommand&)> m_commandObserver;
};

DeviceSimulator::DeviceSimulator(SimulatorSetup setup, std::shared_ptr<Clock> clock)
    : m_core(std::make_shared<Core>(setup, std::move(clock))) {}

DeviceSimulator::~DeviceSimulator() = default;

HidApi DeviceSimulator::Api() {
    std::shared_ptr<Core> core = m_core;
    HidApi api;
    api.enumerate = [core](unsigned short vendorId, unsigned short productId) {
        return core->Enumerate(vendorId, productId);
    };
    api.freeEnumeration = [core](hid_device_info* list) { Core::FreeEnumeration(list); };
    api.openPath = [core](const char* path) { return core->Open(path); };
    api.write = [core](hid_device* device, const unsigned char* data, size_t length) {
        return core->Write(device, data, length);
    };
    api.readTimeout = [core](hid_device* device, unsigned char* data, size_t length,
                             int milliseconds) {
        return core->Read(device, data, length, milliseconds);
    };
    api.getProductString = [core](hid_device* device, wchar_t* text, size_t maxChars) {
        return core->ProductString(device, text, maxChars);
    };
    api.getDeviceInfo = [core](hid_device* device) { return core->DeviceInfo(device); };
    api.close = [core](hid_device* device) { core->Close(device); };
    return api;
}

void DeviceSimulator::SetLatencyMs(int milliseconds) {
    std::lock_guard<std::mutex> guard(m_core->m_lock);
    m_core->m_latencyUs = 1000 * static_cast<uint64_t>(std::max(0, milliseconds));
}

void DeviceSimulator::SetReceiverLatencyMs(int milliseconds) {
    std::lock_guard<std::mutex> guard(m_core->m_lock);
    m_core->m_receiverLatencyUs = 1000 * static_cast<uint64_t>(std::max(0, milliseconds));
}

void DeviceSimulator::SetHotPlugCallback(
    std::function<void(HotPlugEvent event, const std::string& path)> callback) {
    std::lock_guard<std::mutex> guard(m_core->m_lock);
    m_core->m_hotPlug = std::move(callback);
}

void DeviceSimulator::SetCommandObserver(
    std::function<void(const ReceivedCommand& command)> observer) {
    std::lock_guard<std::mutex> guard(m_core->m_lock);
    m_core->m_commandObserver = std::move(observer);
}

void DeviceSimulator::PlugCable() {
    m_core->Change([this](Core::HotPlugList& notifications) {
        m_core->SetPlugged(SimDevice::kWiredMouse, true, notifications);
    });
}

void DeviceSimulator::UnplugCable() {
    m_core->Change([this](Core::HotPlugList& notifications) {
        m_core->SetPlugged(SimDevice::kWiredMouse, false, notifications);
    });
}

void DeviceSimulator::PlugReceiver() {
    m_core->Change([this](Core::HotPlugList& notifications) {
        m_core->SetPlugged(SimDevice::kReceiver, true, notifications);
    });
}

void DeviceSimulator::UnplugReceiver() {
    m_core->Change([this](Core::HotPlugList& notifications) {
        m_core->SetPlugged(SimDevice::kReceiver, false, notifications);
    });
}

void DeviceSimulator::PlugSecondModel() {
    m_core->Change([this](Core::HotPlugList& notifications) {
        m_core->SetPlugged(SimDevice::kSecondModel, true, notifications);
    });
}

void DeviceSimulator::UnplugSecondModel() {
    m_core->Change([this](Core::HotPlugList& notifications) {
        m_core->SetPlugged(SimDevice::kSecondModel, false, notifications);
    });
}

void DeviceSimulator::SwitchMouseOff() {
    std::lock_guard<std::mutex> guard(m_core->m_lock);
    bool wasLinked = m_core->Linked();
    m_core->m_mouseOn = false;
    if (wasLinked) {
        m_core->EmitLinkChange(false, 0);
    }
}

void DeviceSimulator::SwitchMouseOn() {
    std::lock_guard<std::mutex> guard(m_core->m_lock);
    bool wasLinked = m_core->Linked();
    m_core->m_mouseOn = true;
    if (!wasLinked && m_core->Linked()) {
        m_core->EmitLinkChange(true, 0);
    }
}

bool DeviceSimulator::IsPlugged(SimDevice device) const {
    std::lock_guard<std::mutex> guard(m_core->m_lock);
    return m_core->m_devices[Core::Index(device)].plugged;
}

bool DeviceSimulator::IsLinked() const {
    std::lock_guard<std::mutex> guard(m_core->m_lock);
    return m_core->Linked();
}

void DeviceSimulator::PressDpiButton(SimMouse mouse) {
    std::lock_guard<std::mutex> guard(m_core->m_lock);
    MouseState& state = m_core->StateOf(mouse);
    int count = std::clamp<int>(state.dpiCount, 1, kDpiStageCount);
    state.dpiIndex = static_cast<uint8_t>((state.dpiIndex + 1) % count);
    m_core->EmitFromMouse(mouse, EventReport(kEventDpiStage, state.dpiIndex, 0));
}

void DeviceSimulator::ChangeBattery(uint8_t level, bool charging, SimMouse mouse) {
    std::lock_guard<std::mutex> guard(m_core->m_lock);
    MouseState& state = m_core->StateOf(mouse);
    state.batteryLevel = level;
    state.batteryCharging = charging ? 1 : 0;
    m_core->EmitFromMouse(mouse, EventReport(kEventBattery, level, state.batteryCharging));
}

void DeviceSimulator::ChangeSettingsOnMouse(SimMouse mouse) {
    std::lock_guard<std::mutex> guard(m_core->m_lock);
    m_core->EmitFromMouse(mouse, EventReport(kEventSettingsChanged, 0, 0));
}

void DeviceSimulator::PressComputerFunction(uint8_t functionType, uint8_t value, SimMouse mouse) {
    std::lock_guard<std::mutex> guard(m_core->m_lock);
    m_core->EmitFromMouse(mouse, EventReport(kEventComputerFunction, functionType, value));
}

void DeviceSimulator::CompletePairing() {
    std::lock_guard<std::mutex> guard(m_core->m_lock);
    m_core->m_paired = true;
    m_core->m_receiverPairing = false;
    m_core->m_mainMouse.pairingRequested = false;
    if (m_core->Linked()) {
        m_core->EmitLinkChange(true, 1);
    }
}

void DeviceSimulator::EmitGarbage(SimDevice device) {
    std::lock_guard<std::mutex> guard(m_core->m_lock);
    m_core->Emit(device, m_core->Noise());
}

void DeviceSimulator::EmitReport(SimDevice device, const std::vector<unsigned char>& report) {
    std::lock_guard<std::mutex> guard(m_core->m_lock);
    ReportBuffer bytes{};
    size_t length = std::min(report.size(), bytes.size());
    std::copy(report.begin(), report.begin() + length, bytes.begin());
    if (length > 0) {
        m_core->Emit(device, bytes, length);
    }
}

void DeviceSimulator::InjectFault(SimFault fault, int times, int parameter) {
    if (times <= 0) {
        return;
    }
    std::lock_guard<std::mutex> guard(m_core->m_lock);
    m_core->m_faults.push_back({fault, times, parameter});
}

void DeviceSimulator::ClearFaults() {
    std::lock_guard<std::mutex> guard(m_core->m_lock);
    m_core->m_faults.clear();
}

MouseState DeviceSimulator::Mouse(SimMouse mouse) const {
    std::lock_guard<std::mutex> guard(m_core->m_lock);
    return m_core->StateOf(mouse);
}

void DeviceSimulator::SetMouse(const MouseState& state, SimMouse mouse) {
    std::lock_guard<std::mutex> guard(m_core->m_lock);
    m_core->StateOf(mouse) = state;
}

void DeviceSimulator::SetReceiverVersion(uint8_t build, uint8_t version) {
    std::lock_guard<std::mutex> guard(m_core->m_lock);
    m_core->m_receiverBuild = build;
    m_core->m_receiverVersion = version;
}

std::vector<ReceivedCommand> DeviceSimulator::ReceivedCommands() const {
    std::lock_guard<std::mutex> guard(m_core->m_lock);
    return std::vector<ReceivedCommand>(m_core->m_received.begin(), m_core->m_received.end());
}

void DeviceSimulator::ClearReceivedCommands() {
    std::lock_guard<std::mutex> guard(m_core->m_lock);
    m_core->m_received.clear();
}

size_t DeviceSimulator::PendingReports(SimDevice device) const {
    std::lock_guard<std::mutex> guard(m_core->m_lock);
    bool any = false;
    size_t fewest = 0;
    for (const auto& [key, handle] : m_core->m_handles) {
        if (handle->device == device && handle->interfaceNumber == kVendorInterface &&
            m_core->IsAlive(*handle)) {
            fewest = any ? std::min(fewest, handle->input.size()) : handle->input.size();
            any = true;
        }
    }
    return fewest;
}

int DeviceSimulator::OpenHandles() const {
    std::lock_guard<std::mutex> guard(m_core->m_lock);
    return static_cast<int>(m_core->m_handles.size());
}

}  // namespace tavik::sim
