#pragma once

#include <string>

namespace tavik {

// The arrangements of the main window that the device link chooses between.
enum class MainView {
    kDeviceList,    // the home view listing the attached devices; first tab selected
    kNoConnection,  // the home view with the no-connection picture and text; first tab selected
    kDevice,        // tab strip (second item selected), left panel, battery, status, profile
};

// What the device engine does to the main window: the device list, the battery control, the
// DPI control and slider, the status text and firmware labels, the views, page refreshes and
// the transient windows that belong to the old device. The main window implements it
// (marshalling to its UI thread where the toolkit needs it); the command line uses
// HeadlessWindow and tests a recorder. Calls come from the device worker (the device-list
// rebuilds included) and, for a selection, from the UI thread.
class WindowEffects {
public:
    virtual ~WindowEffects() = default;

    // The battery control of the main window.
    virtual void SetBatteryInfo(int level, int charging) = 0;
    // The battery of the device list entry of a device type; level and charging in the order
    // of SetBatteryInfo (the device list control itself takes charging first).
    virtual void SetDeviceBattery(int deviceType, int level, int charging) = 0;
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

    // The device list control, filled from the catalogue: one item per model.
    virtual void ClearDeviceList() = 0;
    virtual void AddDeviceListItem(const std::wstring& name, int deviceType,
                                   const std::wstring& picturePath) = 0;
    // `state` is a connect state (0 none, 1 connected,
    // 2 disconnected), `mode` 0 wired or 1 wireless.
    virtual void SetAllDeviceState(int state) = 0;
    virtual void SetDeviceState(int deviceType, int mode, int state) = 0;
    virtual void SetDeviceVersion(int deviceType, int releaseNumber) = 0;
    // Selects the first connected entry of this type, else the first connected entry.
    virtual void SetSelectDevice(int deviceType) = 0;
    // The device type of the selected entry (the control's fallback included); 0 when the
    // list is empty.
    virtual int GetSelectDevice() = 0;

    // The status text of the main window: language text 50 (no connection), 51 (wired) or
    // 52 (wireless).
    virtual void SetStatusText(int languageText) = 0;
    virtual void ShowView(MainView view) = 0;
    // The user opened another device type: load its description file and rebuild the pages.
    virtual void LoadDeviceDescription(int deviceType) = 0;

    // What the catalogue and the device description show: the application version label
    // ("Version: v1.0.0"), the mouse picture of the button page (skin-relative, empty for
    // none), whether the light tab and light jobs apply, and the buttons on the picture with
    // their call-out from (fromX, fromY) to (toX, toY).
    virtual void SetApplicationVersionLabel(const std::wstring& text) = 0;
    virtual void SetMousePicture(const std::wstring& picture) = 0;
    virtual void SetLightingAvailable(bool available) = 0;
    virtual void ClearMouseButtons() = 0;
    virtual void AddMouseButton(const std::wstring& name, int keyValue, int direction, int fromX,
                                int fromY, int toX, int toY) = 0;
    // No input-method composition on the main window.
    virtual void DisableInputMethod() = 0;

    // Closes the popups of the old device (tips, key dialog, message box as cancelled, wait
    // dialog, menus), hides the keyboard tip, combo list and palette, destroys the owned
    // popup and takes the focus off the DPI control. Returns the number of windows closed.
    virtual int CloseTransientWindows() = 0;
    // Closes the wait dialog if one is shown.
    virtual void CloseWaitDialog() = 0;
};

}  // namespace tavik
