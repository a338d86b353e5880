#pragma once

#include <string>

namespace tavik {

// What the device engine does to the main window: battery and version displays, the DPI
// control and slider, page refreshes. The main window implements it (marshalling to its UI
// thread where the toolkit needs it); tests use WindowEffectsRecorder. Every call comes from
// the device worker thread.
class WindowEffects {
public:
    virtual ~WindowEffects() = default;

    // The battery control of the main window.
    virtual void SetBatteryInfo(int level, int charging) = 0;
    // The battery of the device list entry of a device type.
    virtual void SetDeviceBattery(int deviceType, int charging, int level) = 0;
    // The firmware labels, complete texts such as "Mouse: 1.2.5"; the receiver label may be
    // the bare label text when no receiver answered.
    virtual void SetMouseVersionLabel(const std::wstring& text) = 0;
    virtual void SetReceiverVersionLabel(const std::wstring& text) = 0;
    // The mouse switched its DPI stage: select the stage in the DPI control and move the DPI
    // slider to that stage's DPI / 50.
    virtual void SelectDpiStage(int stageIndex) = 0;

    // Page refreshes from the store of the current profile.
    virtual void RefreshButtonPage() = 0;
    virtual void RefreshMacroPage() = 0;
    virtual void RefreshPerformancePage() = 0;
    virtual void RefreshLightPage() = 0;
};

}  // namespace tavik
