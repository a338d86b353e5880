#include "tests/device/scripted_hid.h"

#include <algorithm>
#include <cstring>

namespace tavik::device_test {

namespace {

char* CopyText(const std::string& text) {
    char* copy = new char[text.size() + 1];
    std::memcpy(copy, text.c_str(), text.size() + 1);
    return copy;
}

}  // namespace

ScriptedHid::ScriptedHid() : m_state(std::make_shared<State>()) {}

ScriptedHid::Interface& ScriptedHid::Add(const std::string& path, uint16_t vendorId,
                                         uint16_t productId, uint16_t usagePage, uint16_t usage) {
    std::lock_guard<std::recursive_mutex> guard(m_state->lock);
    Interface& added = m_state->interfaces[path];
    added.path = path;
    added.vendorId = vendorId;
    added.productId = productId;
    added.usagePage = usagePage;
    added.usage = usage;
    m_state->order.push_back(path);
    return added;
}

void ScriptedHid::Remove(const std::string& path) {
    std::lock_guard<std::recursive_mutex> guard(m_state->lock);
    m_state->interfaces.erase(path);
    auto& order = m_state->order;
    order.erase(std::remove(order.begin(), order.end(), path), order.end());
}

ScriptedHid::Interface& ScriptedHid::At(const std::string& path) {
    std::lock_guard<std::recursive_mutex> guard(m_state->lock);
    return m_state->interfaces.at(path);
}

std::unique_lock<std::recursive_mutex> ScriptedHid::Lock() {
    return std::unique_lock<std::recursive_mutex>(m_state->lock);
}

int ScriptedHid::OpenHandleCount() {
    std::lock_guard<std::recursive_mutex> guard(m_state->lock);
    return static_cast<int>(std::count_if(m_state->handles.begin(), m_state->handles.end(),
                                          [](const auto& handle) { return !handle->closed; }));
}

int ScriptedHid::EnumerationsLive() {
    std::lock_guard<std::recursive_mutex> guard(m_state->lock);
    return m_state->enumerationsLive;
}

int ScriptedHid::CallsOnClosedHandles() {
    std::lock_guard<std::recursive_mutex> guard(m_state->lock);
    return m_state->callsOnClosedHandles;
}

HidApi ScriptedHid::Api() {
    std::shared_ptr<State> state = m_state;
    // A handle is the address of a Handle record; the manager only passes it back.
    auto interfaceOf = [state](hid_device* device) -> Interface* {
        auto* handle = reinterpret_cast<Handle*>(device);
        if (handle == nullptr) {
            return nullptr;
        }
        if (handle->closed) {
            ++state->callsOnClosedHandles;
            return nullptr;
        }
        auto found = state->interfaces.find(handle->path);
        return found == state->interfaces.end() ? nullptr : &found->second;
    };
    HidApi api;
    api.enumerate = [state](unsigned short vendorId, unsigned short productId) {
        std::lock_guard<std::recursive_mutex> guard(state->lock);
        hid_device_info* head = nullptr;
        hid_device_info** tail = &head;
        for (const std::string& path : state->order) {
            const Interface& found = state->interfaces.at(path);
            if ((vendorId != 0 && found.vendorId != vendorId) ||
                (productId != 0 && found.productId != productId)) {
                continue;
            }
            auto* record = new hid_device_info();
            record->path = CopyText(found.path);
            record->vendor_id = found.vendorId;
            record->product_id = found.productId;
            record->release_number = found.releaseNumber;
            record->usage_page = found.usagePage;
            record->usage = found.usage;
            *tail = record;
            tail = &record->next;
        }
        if (head != nullptr) {
            ++state->enumerationsLive;
        }
        return head;
    };
    api.freeEnumeration = [state](hid_device_info* list) {
        std::lock_guard<std::recursive_mutex> guard(state->lock);
        if (list != nullptr) {
            --state->enumerationsLive;
        }
        while (list != nullptr) {
            hid_device_info* next = list->next;
            delete[] list->path;
            delete list;
            list = next;
        }
    };
    api.openPath = [state](const char* path) -> hid_device* {
        std::lock_guard<std::recursive_mutex> guard(state->lock);
        auto found = state->interfaces.find(path);
        if (found == state->interfaces.end() || !found->second.openable) {
            return nullptr;
        }
        ++found->second.opens;
        ++found->second.openHandles;
        state->handles.push_back(std::make_unique<Handle>());
        state->handles.back()->path = path;
        return reinterpret_cast<hid_device*>(state->handles.back().get());
    };
    api.write = [state, interfaceOf](hid_device* device, const unsigned char* data, size_t length) {
        std::lock_guard<std::recursive_mutex> guard(state->lock);
        Interface* target = interfaceOf(device);
        if (target == nullptr) {
            return -1;
        }
        Report report(data, data + length);
        target->written.push_back(report);
        if (target->onWrite) {
            target->onWrite(*target, report);
        }
        return static_cast<int>(length);
    };
    api.readTimeout = [state, interfaceOf](hid_device* device, unsigned char* data, size_t length,
                                           int) {
        std::lock_guard<std::recursive_mutex> guard(state->lock);
        Interface* source = interfaceOf(device);
        if (source == nullptr) {
            return -1;
        }
        ++source->reads;
        if (source->input.empty()) {
            return 0;
        }
        Report report = source->input.front();
        source->input.pop_front();
        size_t count = std::min(length, report.size());
        std::memcpy(data, report.data(), count);
        return static_cast<int>(count);
    };
    api.getProductString = [state, interfaceOf](hid_device* device, wchar_t* text,
                                                size_t maxChars) {
        std::lock_guard<std::recursive_mutex> guard(state->lock);
        Interface* source = interfaceOf(device);
        if (source == nullptr || maxChars == 0) {
            return -1;
        }
        size_t count = std::min(maxChars - 1, source->product.size());
        std::wmemcpy(text, source->product.c_str(), count);
        text[count] = L'\0';
        return 0;
    };
    api.close = [state](hid_device* device) {
        std::lock_guard<std::recursive_mutex> guard(state->lock);
        auto* handle = reinterpret_cast<Handle*>(device);
        if (handle == nullptr) {
            return;
        }
        if (handle->closed) {
            ++state->callsOnClosedHandles;
            return;
        }
        handle->closed = true;
        auto found = state->interfaces.find(handle->path);
        if (found != state->interfaces.end()) {
            ++found->second.closes;
            --found->second.openHandles;
        }
    };
    return api;
}

Report DeviceInformationReply(unsigned char build, unsigned char version, unsigned char battery,
                              unsigned char charging) {
    Report reply(65, 0);
    reply[0] = 0x06;
    reply[1] = 0x05;
    reply[9] = build;
    reply[10] = version;
    reply[11] = 1;
    reply[12] = 1;
    reply[13] = battery;
    reply[14] = charging;
    return reply;
}

std::function<void(ScriptedHid::Interface&, const Report&)> AnswerProbe(Report reply) {
    return [reply](ScriptedHid::Interface& self, const Report& written) {
        if (written.size() > 1 && written[0] == 0x06 && written[1] == 0x05) {
            self.input.push_back(reply);
        }
    };
}

}  // namespace tavik::device_test
