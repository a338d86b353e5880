#include "app/frame/plain_window_effects.h"

namespace tavik {

PlainWindowEffects::PlainWindowEffects(HWND window, UINT repaintMessage)
    : m_window(window), m_repaintMessage(repaintMessage) {}

template <typename Change>
void PlainWindowEffects::Update(Change change) {
    {
        std::lock_guard<std::mutex> hold(m_lock);
        change(m_snapshot);
    }
    PostMessageW(m_window, m_repaintMessage, 0, 0);
}

PlainWindowEffects::Snapshot PlainWindowEffects::Current() const {
    std::lock_guard<std::mutex> hold(m_lock);
    return m_snapshot;
}

PlainWindowEffects::DeviceItem* PlainWindowEffects::FindDevice(int deviceType) {
    for (DeviceItem& item : m_snapshot.devices) {
        if (item.deviceType == deviceType) {
            return &item;
        }
    }
    return nullptr;
}

void PlainWindowEffects::SetBatteryInfo(int level, int charging) {
    Update([&](Snapshot& s) {
        s.batteryLevel = level;
        s.batteryCharging = charging;
    });
}

void PlainWindowEffects::SetDeviceBattery(int deviceType, int level, int charging) {
    Update([&](Snapshot&) {
        if (DeviceItem* item = FindDevice(deviceType)) {
            item->battery = level;
            item->charging = charging;
        }
    });
}

void PlainWindowEffects::SetMouseVersionLabel(const std::wstring& text) {
    Update([&](Snapshot& s) { s.mouseVersion = text; });
}

void PlainWindowEffects::SetReceiverVersionLabel(const std::wstring& text) {
    Update([&](Snapshot& s) { s.receiverVersion = text; });
}

void PlainWindowEffects::SelectDpiStage(int stageIndex) {
    Update([&](Snapshot& s) { s.dpiStage = stageIndex; });
}

void PlainWindowEffects::ClearDeviceList() {
    Update([&](Snapshot& s) { s.devices.clear(); });
}

void PlainWindowEffects::AddDeviceListItem(const std::wstring& name, int deviceType,
                                           const std::wstring&) {
    Update([&](Snapshot& s) {
        DeviceItem item;
        item.name = name;
        item.deviceType = deviceType;
        s.devices.push_back(item);
    });
}

void PlainWindowEffects::SetAllDeviceState(int state) {
    Update([&](Snapshot& s) {
        for (DeviceItem& item : s.devices) {
            item.wiredState = state;
            item.wirelessState = state;
        }
    });
}

void PlainWindowEffects::SetDeviceState(int deviceType, int mode, int state) {
    Update([&](Snapshot&) {
        if (DeviceItem* item = FindDevice(deviceType)) {
            (mode == 0 ? item->wiredState : item->wirelessState) = state;
        }
    });
}

void PlainWindowEffects::SetDeviceVersion(int deviceType, int releaseNumber) {
    Update([&](Snapshot&) {
        if (DeviceItem* item = FindDevice(deviceType)) {
            item->releaseNumber = releaseNumber;
        }
    });
}

void PlainWindowEffects::SetSelectDevice(int deviceType) {
    Update([&](Snapshot& s) {
        // The first connected entry of this type, else the first connected entry.
        const DeviceItem* chosen = nullptr;
        for (const DeviceItem& item : s.devices) {
            const bool connected = item.wiredState == 1 || item.wirelessState == 1;
            if (connected && item.deviceType == deviceType) {
                chosen = &item;
                break;
            }
            if (connected && chosen == nullptr) {
                chosen = &item;
            }
        }
        if (chosen != nullptr) {
            s.selectedDeviceType = chosen->deviceType;
        }
    });
}

int PlainWindowEffects::GetSelectDevice() {
    std::lock_guard<std::mutex> hold(m_lock);
    if (m_snapshot.selectedDeviceType != 0) {
        return m_snapshot.selectedDeviceType;
    }
    return m_snapshot.devices.empty() ? 0 : m_snapshot.devices.front().deviceType;
}

void PlainWindowEffects::SetStatusText(int languageText) {
    Update([&](Snapshot& s) { s.statusText = languageText; });
}

void PlainWindowEffects::ShowView(MainView view) {
    Update([&](Snapshot& s) { s.view = view; });
}

void PlainWindowEffects::SetApplicationVersionLabel(const std::wstring& text) {
    Update([&](Snapshot& s) { s.applicationVersion = text; });
}

}  // namespace tavik
