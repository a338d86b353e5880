#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "app/common/text_encoding.h"
#include "app/device/window_effects.h"

namespace tavik {

// Records every window effect as one line of text ("SetBatteryInfo 85 0",
// "SetMouseVersionLabel Mouse: 1.2.5"), in call order, so tests can compare what a window
// would have shown.
class WindowEffectsRecorder : public WindowEffects {
public:
    void SetBatteryInfo(int level, int charging) override {
        Record("SetBatteryInfo " + std::to_string(level) + " " + std::to_string(charging));
    }
    void SetDeviceBattery(int deviceType, int charging, int level) override {
        Record("SetDeviceBattery " + std::to_string(deviceType) + " " + std::to_string(charging) +
               " " + std::to_string(level));
    }
    void SetMouseVersionLabel(const std::wstring& text) override {
        Record("SetMouseVersionLabel " + WideToUtf8(text));
    }
    void SetReceiverVersionLabel(const std::wstring& text) override {
        Record("SetReceiverVersionLabel " + WideToUtf8(text));
    }
    void SelectDpiStage(int stageIndex) override {
        Record("SelectDpiStage " + std::to_string(stageIndex));
    }
    void RefreshButtonPage() override { Record("RefreshButtonPage"); }
    void RefreshMacroPage() override { Record("RefreshMacroPage"); }
    void RefreshPerformancePage() override { Record("RefreshPerformancePage"); }
    void RefreshLightPage() override { Record("RefreshLightPage"); }

    std::vector<std::string> Calls() const {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_calls;
    }
    void Clear() {
        std::lock_guard<std::mutex> guard(m_lock);
        m_calls.clear();
    }

protected:
    void Record(std::string call) {
        std::lock_guard<std::mutex> guard(m_lock);
        m_calls.push_back(std::move(call));
    }

private:
    mutable std::mutex m_lock;  // guards m_calls
    std::vector<std::string> m_calls;
};

}  // namespace tavik
