#pragma once

#include <array>
#include <memory>
#include <string>

#include "app/device/clock.h"
#include "app/device/hid_device_manager.h"
#include "app/device/key_macro_image.h"
#include "app/device/protocol_reports.h"
#include "app/store/profile_loader.h"

namespace tavik {

class SettingsDatabase;
class WindowEffects;
class ComputerFunctions;

// The fields of the main window that describe the connected mouse and the settings in use.
// The device worker owns one; the protocol writes it on the worker thread only. The UI
// thread reads it for display, so its owner hands out copies under its own lock or marshals
// the reads to the worker.
struct ConnectedMouseState {
    int currentProfile = 0;  // t_profile_data id the settings are read from and stored to
    std::wstring currentProfileName;
    int currentLightMode = 0;
    bool hasLighting = true;  // the device description gives the model a light page
    int connectionMode = 0;   // device-information byte 11; 3 = the cable
    int batteryLevel = 0;     // percent
    int batteryCharging = 0;  // 1 = charging
    int dpiStageIndex = 0;    // the stage the mouse uses, 0 .. dpi_count - 1
    int reportRate = 0;
    int reportFlag = 0;
    std::wstring mouseVersion;     // "1.2.5", for the update check
    std::wstring receiverVersion;  // empty when no receiver answered
};

// What the protocol asks of the device worker that runs it (the worker's own operations).
class ProtocolHost {
public:
    virtual ~ProtocolHost() = default;
    // The full read failed: switch the window to the disconnected state.
    virtual void DeviceConnectState(int connectionMode) = 0;
    // The device-list rebuild that runs after event reports (the event variant).
    virtual void RefreshDevicesAfterEvent() = 0;
    // True while the main window shows a connected mouse.
    virtual bool IsConnected() = 0;
    virtual void QueueJob(int jobCode) = 0;
};

// Language texts of the firmware labels.
constexpr int kMouseVersionText = 551;
constexpr int kReceiverVersionText = 552;

// Everything the application says to the mouse and understands of what it says back. Each
// operation reads its values from the store of the current profile, builds its 64-byte
// report and sends it through SendCommand; values read from the mouse are stored only from
// replies that carry the request's command and addressing bytes. Called only from the
// device worker thread, one operation at a time.
class DeviceProtocol {
public:
    DeviceProtocol(HidDeviceManager& device, SettingsDatabase& database, ConnectedMouseState& mouse,
                   ProtocolHost& host, WindowEffects& window, ComputerFunctions& computer,
                   std::shared_ptr<Clock> clock = SystemClock());
    DeviceProtocol(const DeviceProtocol&) = delete;
    DeviceProtocol& operator=(const DeviceProtocol&) = delete;

    // Looks up the label texts (551, 552) and the profile word; without one, plain English.
    void SetLanguageTexts(LanguageTextLookup texts);

    // Loads the profiles (creating the first four when there are none) and makes the active
    // one current. False when the store has no usable profile.
    bool LoadActiveProfile();

    // The full read: versions, battery, every setting of the device information, DPI colours,
    // the active light mode and the light modes 1 to 3. True when the mouse answered.
    bool GetMouseData();

    // Senders: each reads its keys and sends one command; true when the reply came.
    bool SendDpiStages();
    bool SendDpiColors();
    bool SendReportRate();
    bool SendSensorFlag();
    bool SendButtonRespondTime();
    bool SendScrollFlag();
    bool SendLiftoffHeight();
    bool SendHighspeedMode();
    bool SendSleepTimes();
    bool SendMoveWakeup();
    bool SendMoveCloseLight();
    // The light record of the active light mode; false when there is none or no reply.
    bool SendLight();
    // The key table of the current profile's button assignments.
    bool SendKeyTable();
    // The whole macro image in 59-byte chunks; false when a chunk got no reply (the rest is
    // then not sent).
    bool SendMacros();
    // Restore commands; the mouse sends no reply, so true means the report was written.
    bool SendDpiDefaults();
    // Restores the mouse's factory settings, waits 3 s, reloads the profiles and re-reads the
    // mouse, then refreshes the pages. True (the result of the re-read is shown by the window).
    bool SendFactoryReset();
    bool SendPairing();
    // After a profile switch or an import: refreshes the pages, then sends every setting but
    // the DPI colours, wake-up, close-light and macros.
    void SendAllSettings();

    // Reads one event report, if any, and acts on it. Run whenever the job queue is empty.
    void PollNotifications();
    // The button, macro and performance pages and, with lighting, the light page show the
    // store again (after a full read).
    void RefreshPagesAfterRead();

private:
    bool SendSingleValue(unsigned char parameterId, unsigned char lengthByte, const wchar_t* key);
    bool ReadConfigInt(const wchar_t* key, int& value);
    bool WriteConfigInt(const wchar_t* key, int value);
    // The stored number of DPI stages, limited to the six the mouse has.
    int StoredDpiCount();
    void ReadReceiverInformation();
    // The reads of the full read; each gives what its reply says, for one store transaction.
    bool ReadDpiColours(std::array<int, kDpiStageCount>& colours);
    // The mode the mouse uses, when the profile has a record of it (to be marked active).
    bool ReadActiveLightMode(int& markActive);
    // The stored record of `mode` with the reply's settings taken in.
    bool ReadLightMode(int mode, LightRecord& light);
    void HandleDpiEvent(int stageIndex);
    void HandleBatteryEvent(int deviceType, bool current, int level, int charging);
    // The macro image of the stored macros, as SendMacros sends it.
    MacroImage LoadMacroImage();
    std::wstring Text(int number, const wchar_t* fallback) const;

    HidDeviceManager& m_device;     // not owned
    SettingsDatabase& m_database;   // not owned
    ConnectedMouseState& m_mouse;   // not owned; owned by the device worker
    ProtocolHost& m_host;           // not owned
    WindowEffects& m_window;        // not owned
    ComputerFunctions& m_computer;  // not owned
    std::shared_ptr<Clock> m_clock;
    LanguageTextLookup m_texts;
};

}  // namespace tavik
