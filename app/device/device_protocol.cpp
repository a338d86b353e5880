#include "app/device/device_protocol.h"

#include <algorithm>
#include <cerrno>
#include <cwchar>
#include <string>
#include <vector>

#include "app/device/computer_functions.h"
#include "app/device/job_queue.h"
#include "app/device/key_macro_image.h"
#include "app/device/protocol_reports.h"
#include "app/device/thread_basic.h"
#include "app/device/window_effects.h"
#include "app/store/config_keys.h"
#include "app/store/settings_database.h"

namespace tavik {

namespace {

constexpr int kDeviceInformationTries = 5;
constexpr int kDeviceInformationPauseMs = 20;
constexpr int kFactoryResetSettleMs = 3000;
constexpr int kLightAfterSettingsPauseMs = 1000;
constexpr int kMacroChunkPauseMs = 10;
constexpr int kCableConnectionMode = 3;
constexpr unsigned char kReceiverAnswered = 1;

// Stored values are decimal text; anything else is not a value.
bool ParseInt(const std::wstring& text, int& value) {
    if (text.empty()) {
        return false;
    }
    errno = 0;
    wchar_t* end = nullptr;
    long parsed = std::wcstol(text.c_str(), &end, 10);
    if (errno != 0 || end == text.c_str() || *end != L'\0' || parsed < INT32_MIN ||
        parsed > INT32_MAX) {
        return false;
    }
    value = static_cast<int>(parsed);
    return true;
}

}  // namespace

DeviceProtocol::DeviceProtocol(HidDeviceManager& device, SettingsDatabase& database,
                               ConnectedMouseState& mouse, ProtocolHost& host,
                               WindowEffects& window, ComputerFunctions& computer,
                               std::shared_ptr<Clock> clock)
    : m_device(device),
      m_database(database),
      m_mouse(mouse),
      m_host(host),
      m_window(window),
      m_computer(computer),
      m_clock(clock ? std::move(clock) : SystemClock()) {}

void DeviceProtocol::SetLanguageTexts(LanguageTextLookup texts) {
    m_texts = std::move(texts);
}

std::wstring DeviceProtocol::Text(int number, const wchar_t* fallback) const {
    std::wstring text = m_texts ? m_texts(number) : std::wstring();
    return text.empty() ? std::wstring(fallback) : text;
}

bool DeviceProtocol::ReadConfigInt(const wchar_t* key, int& value) {
    std::wstring text;
    return m_database.GetConfigValue(m_mouse.currentProfile, key, text) && ParseInt(text, value);
}

bool DeviceProtocol::WriteConfigInt(const wchar_t* key, int value) {
    return m_database.SetConfigValue(m_mouse.currentProfile, key, std::to_wstring(value));
}

int DeviceProtocol::StoredDpiCount() {
    int count = kDpiStageCount;
    if (!ReadConfigInt(L"dpi_count", count)) {
        return kDpiStageCount;
    }
    return std::clamp(count, 0, kDpiStageCount);
}

bool DeviceProtocol::LoadActiveProfile() {
    LoadedProfiles loaded = LoadProfiles(m_database, m_texts);
    if (loaded.currentProfile == 0) {
        return false;
    }
    m_mouse.currentProfile = loaded.currentProfile;
    m_mouse.currentProfileName = loaded.currentName;
    return true;
}

bool DeviceProtocol::GetMouseData() {
    ReportBuffer reply{};
    bool answered = false;
    for (int attempt = 0; attempt < kDeviceInformationTries; ++attempt) {
        if (attempt > 0) {
            m_clock->SleepMs(kDeviceInformationPauseMs);
        }
        reply = CommandReport(kCommandDeviceInformation, 0);
        // A reply to another command (or noise) is no answer: its bytes would be read as
        // this mouse's settings.
        answered = m_device.SendCommand(reply, true) && reply[1] == kCommandDeviceInformation;
        if (answered && reply[9] != 0 && reply[10] != 0) {
            break;
        }
    }
    if (!answered || (reply[9] == 0 && reply[10] == 0)) {
        // A receiver whose mouse is off answers with zero version bytes.
        m_host.DeviceConnectState(m_mouse.connectionMode);
        return false;
    }

    const DeviceInformation info = ParseDeviceInformation(reply);
    m_mouse.connectionMode = info.connectionMode;
    m_mouse.batteryLevel = info.batteryLevel;
    m_mouse.batteryCharging = info.batteryCharging;
    if (!info.connected) {
        m_host.DeviceConnectState(info.connectionMode);
        return false;
    }

    m_window.SetBatteryInfo(info.batteryLevel, info.batteryCharging);
    m_window.SetDeviceBattery(m_device.GetCurDeviceType(), info.batteryLevel, info.batteryCharging);
    m_mouse.mouseVersion = FormatFirmwareVersion(info.build, info.version);
    m_window.SetMouseVersionLabel(Text(kMouseVersionText, L"Mouse") + L": " + m_mouse.mouseVersion);
    m_window.SetReceiverVersionLabel(Text(kReceiverVersionText, L"Receiver"));

    if (info.dpiStageIndex < StoredDpiCount()) {
        m_mouse.dpiStageIndex = info.dpiStageIndex;
    }
    // What the replies say is kept here and stored at the end in one transaction: a single
    // commit instead of one per key, and no store lock held while the mouse is asked.
    std::vector<std::pair<std::wstring, int>> values;
    for (int stage = 0; stage < kDpiStageCount; ++stage) {
        values.emplace_back(DpiValueKey(stage), info.dpi[static_cast<size_t>(stage)]);
    }
    const std::pair<const wchar_t*, int> settings[] = {
        {L"report_rate", info.reportRate},
        {L"report_flag", info.reportFlag},
        {L"scroll_flag", info.scrollFlag},
        {L"liftoff_height", info.liftoffHeight},
        {L"sensor_flag", info.sensorFlag},
        {L"highspeed_mode", info.highspeedMode},
        {L"button_respondtime", info.buttonRespondTime},
        {L"light_sleep", info.lightSleep},
        {L"deep_sleep", info.deepSleep},
        {L"move_wakeup", info.moveWakeup},
        {L"move_closelight", info.moveCloseLight},
    };
    for (const auto& [key, value] : settings) {
        values.emplace_back(key, value);
    }
    m_mouse.reportRate = info.reportRate;
    m_mouse.reportFlag = info.reportFlag;

    ReadReceiverInformation();

    ReportBuffer status = CommandReport(kCommandStatus10, 0);
    m_device.SendCommand(status, true);
    status = CommandReport(kCommandStatus11, 0);
    m_device.SendCommand(status, true);

    std::array<int, kDpiStageCount> colours{};
    if (ReadDpiColours(colours)) {
        for (int stage = 0; stage < kDpiStageCount; ++stage) {
            values.emplace_back(DpiColourKey(stage), colours[static_cast<size_t>(stage)]);
        }
    }
    int activeMode = 0;
    bool markActiveMode = false;
    std::vector<std::pair<int, LightRecord>> lights;
    if (m_mouse.hasLighting) {
        markActiveMode = ReadActiveLightMode(activeMode);
        for (int mode = kFirstDeviceLightMode; mode <= kLastDeviceLightMode; ++mode) {
            LightRecord light;
            if (ReadLightMode(mode, light)) {
                lights.emplace_back(mode, light);
            }
        }
    }
    m_database.RunInTransaction([&] {
        for (const auto& [key, value] : values) {
            WriteConfigInt(key.c_str(), value);
        }
        if (markActiveMode) {
            m_database.SetActiveLightMode(m_mouse.currentProfile, activeMode);
        }
        for (const auto& [mode, light] : lights) {
            m_database.UpdateLight(mode, light);
        }
        // What the mouse said is kept even where one value could not be written.
        return true;
    });

    m_host.QueueJob(info.connectionMode == kCableConnectionMode ? job::kMouseFirmwareAutoCheck
                                                                : job::kReceiverFirmwareAutoCheck);
    m_host.QueueJob(job::kSendMacros);
    return true;
}

void DeviceProtocol::ReadReceiverInformation() {
    m_mouse.receiverVersion.clear();
    ReportBuffer reply = CommandReport(kCommandReceiverInformation, 0);
    if (!m_device.SendCommand(reply, true) || reply[1] != kCommandReceiverInformation ||
        reply[5] != kReceiverAnswered) {
        return;
    }
    m_mouse.receiverVersion = FormatFirmwareVersion(reply[9], reply[10]);
    m_window.SetReceiverVersionLabel(Text(kReceiverVersionText, L"Receiver") + L": " +
                                     m_mouse.receiverVersion);
}

bool DeviceProtocol::ReadDpiColours(std::array<int, kDpiStageCount>& colours) {
    ReportBuffer reply = ReadBlockReport(kLightPage, kDpiColourIndex);
    // Without a reply the buffer still holds the request, whose addressing bytes match.
    if (!m_device.SendCommand(reply, true) || !IsBlockReply(reply, kLightPage, kDpiColourIndex)) {
        return false;
    }
    colours = ParseDpiColourBlock(reply);
    return true;
}

bool DeviceProtocol::ReadActiveLightMode(int& markActive) {
    ReportBuffer reply = ReadBlockReport(kActiveLightModePage, kActiveLightModeIndex);
    if (!m_device.SendCommand(reply, true) || reply[1] != kCommandReadBlock ||
        reply[5] != kActiveLightModePage) {
        return false;
    }
    const int mode = reply[6];
    if (mode > kLastDeviceLightMode) {
        return false;
    }
    m_mouse.currentLightMode = mode;
    // Marking a mode the profile has no record of would leave no mode active.
    LightRecord light;
    if (!m_database.GetLight(m_mouse.currentProfile, mode, light)) {
        return false;
    }
    markActive = mode;
    return true;
}

bool DeviceProtocol::ReadLightMode(int mode, LightRecord& light) {
    const auto index = static_cast<unsigned char>(mode);
    ReportBuffer reply = ReadBlockReport(kLightPage, index);
    if (!m_device.SendCommand(reply, true) || !IsBlockReply(reply, kLightPage, index)) {
        return false;
    }
    // A mode the store has no record of is not created by a read.
    if (!m_database.GetLight(m_mouse.currentProfile, mode, light)) {
        return false;
    }
    ParseLightBlock(reply, light);
    return true;
}

bool DeviceProtocol::SendDpiStages() {
    int count = 0;
    int index = 0;
    int dpi = 0;
    if (!ReadConfigInt(L"dpi_count", count) || !ReadConfigInt(L"dpi_index", index) || index < 0 ||
        index >= kDpiStageCount || !ReadConfigInt(DpiValueKey(index).c_str(), dpi)) {
        return false;
    }
    ReportBuffer report = DpiStageReport(count, index, dpi);
    return m_device.SendCommand(report, true);
}

bool DeviceProtocol::SendDpiColors() {
    std::array<int, kDpiStageCount> colours{};
    for (int stage = 0; stage < kDpiStageCount; ++stage) {
        if (!ReadConfigInt(DpiColourKey(stage).c_str(), colours[static_cast<size_t>(stage)])) {
            return false;
        }
    }
    ReportBuffer report = DpiColourBlockReport(colours);
    return m_device.SendCommand(report, true);
}

bool DeviceProtocol::SendSingleValue(unsigned char parameterId, unsigned char lengthByte,
                                     const wchar_t* key) {
    int value = 0;
    if (!ReadConfigInt(key, value)) {
        return false;
    }
    ReportBuffer report = SetParameterReport(parameterId, lengthByte, value);
    return m_device.SendCommand(report, true);
}

bool DeviceProtocol::SendReportRate() {
    return SendSingleValue(kParameterReportRate, 0x02, L"report_rate");
}

bool DeviceProtocol::SendSensorFlag() {
    return SendSingleValue(kParameterSensorFlag, 0x02, L"sensor_flag");
}

bool DeviceProtocol::SendButtonRespondTime() {
    return SendSingleValue(kParameterButtonRespondTime, 0x02, L"button_respondtime");
}

bool DeviceProtocol::SendScrollFlag() {
    // The mouse expects length 4 here although only one value byte is used.
    return SendSingleValue(kParameterScrollFlag, 0x04, L"scroll_flag");
}

bool DeviceProtocol::SendLiftoffHeight() {
    return SendSingleValue(kParameterLiftoffHeight, 0x02, L"liftoff_height");
}

bool DeviceProtocol::SendHighspeedMode() {
    return SendSingleValue(kParameterHighspeedMode, 0x02, L"highspeed_mode");
}

bool DeviceProtocol::SendMoveWakeup() {
    return SendSingleValue(kParameterMoveWakeup, 0x02, L"move_wakeup");
}

bool DeviceProtocol::SendMoveCloseLight() {
    // A model without lights has no light to close.
    if (!m_mouse.hasLighting) {
        return false;
    }
    return SendSingleValue(kParameterMoveCloseLight, 0x02, L"move_closelight");
}

bool DeviceProtocol::SendSleepTimes() {
    int lightSleep = 0;
    int deepSleep = 0;
    if (!ReadConfigInt(L"light_sleep", lightSleep) || !ReadConfigInt(L"deep_sleep", deepSleep)) {
        return false;
    }
    ReportBuffer report = SleepTimesReport(lightSleep, deepSleep);
    return m_device.SendCommand(report, true);
}

bool DeviceProtocol::SendLight() {
    if (!m_mouse.hasLighting) {
        return false;
    }
    const int profile = m_mouse.currentProfile;
    // The light page marks the mode it shows active in the store before it queues the job;
    // mode 0 is told apart from "none active" by its status.
    int mode = m_database.GetActiveLightMode(profile);
    LightRecord light;
    if (!m_database.GetLight(profile, mode, light) || light.status != 1) {
        return false;
    }
    m_mouse.currentLightMode = mode;
    ReportBuffer report = LightBlockReport(light, mode);
    return m_device.SendCommand(report, true);
}

bool DeviceProtocol::SendDpiDefaults() {
    ReportBuffer report = RestoreReport(kRestoreDpi);
    return m_device.SendCommand(report, false);
}

bool DeviceProtocol::SendFactoryReset() {
    ReportBuffer report = RestoreReport(kRestoreFactory);
    m_device.SendCommand(report, false);
    m_clock->SleepMs(kFactoryResetSettleMs);
    LoadActiveProfile();
    GetMouseData();
    RefreshPagesAfterRead();
    return true;
}

bool DeviceProtocol::SendPairing() {
    ReportBuffer report = PairingReport();
    return m_device.SendCommand(report, true);
}

void DeviceProtocol::SendAllSettings() {
    m_window.RefreshButtonPage();
    m_window.RefreshPerformancePage();
    if (m_mouse.hasLighting) {
        m_window.RefreshLightPage();
    }
    using Sender = bool (DeviceProtocol::*)();
    static constexpr Sender kSenders[] = {
        &DeviceProtocol::SendDpiStages,     &DeviceProtocol::SendReportRate,
        &DeviceProtocol::SendSensorFlag,    &DeviceProtocol::SendButtonRespondTime,
        &DeviceProtocol::SendScrollFlag,    &DeviceProtocol::SendLiftoffHeight,
        &DeviceProtocol::SendHighspeedMode, &DeviceProtocol::SendSleepTimes,
        &DeviceProtocol::SendKeyTable,
    };
    for (Sender send : kSenders) {
        if (CurrentThreadStopRequested()) {
            return;
        }
        (this->*send)();
    }
    if (m_mouse.hasLighting) {
        m_clock->SleepMs(kLightAfterSettingsPauseMs);
        if (!CurrentThreadStopRequested()) {
            SendLight();
        }
    }
}

void DeviceProtocol::RefreshPagesAfterRead() {
    m_window.RefreshButtonPage();
    m_window.RefreshMacroPage();
    m_window.RefreshPerformancePage();
    if (m_mouse.hasLighting) {
        m_window.RefreshLightPage();
    }
}

void DeviceProtocol::PollNotifications() {
    ReportBuffer report{};
    int deviceType = 0;
    if (!m_device.ReadNotifications(report, deviceType) || report[1] != kEventMark) {
        return;
    }
    const bool current = deviceType == m_device.GetCurDeviceType();
    switch (report[5]) {
        case kEventConnection:
        case kEventSettingsChanged:
            m_host.RefreshDevicesAfterEvent();
            if (GetMouseData()) {
                RefreshPagesAfterRead();
            }
            m_host.QueueJob(job::kReceiverFirmwareAutoCheck);
            break;
        case kEventDpiStage:
            if (current) {
                HandleDpiEvent(report[6]);
            }
            break;
        case kEventBattery:
            HandleBatteryEvent(deviceType, current, report[6], report[7]);
            break;
        case kEventComputerFunction:
            if (current && (report[6] == ComputerFunctions::kLaunchProgram ||
                            report[6] == ComputerFunctions::kOpenWebAddress ||
                            report[6] == ComputerFunctions::kTypeTextSnippet)) {
                m_computer.RunComputerFunction(report[6], report[7]);
            }
            break;
        default:
            break;
    }
}

void DeviceProtocol::HandleDpiEvent(int stageIndex) {
    // A stage the profile does not use would select no control and store an index the
    // pages cannot show.
    if (stageIndex >= StoredDpiCount() || stageIndex == m_mouse.dpiStageIndex) {
        return;
    }
    m_mouse.dpiStageIndex = stageIndex;
    WriteConfigInt(L"dpi_index", stageIndex);
    m_window.SelectDpiStage(stageIndex);
}

void DeviceProtocol::HandleBatteryEvent(int deviceType, bool current, int level, int charging) {
    if (current && level != 0) {
        if (!m_host.IsConnected()) {
            m_host.RefreshDevicesAfterEvent();
            if (GetMouseData()) {
                RefreshPagesAfterRead();
            }
        }
        m_mouse.batteryLevel = level;
        m_mouse.batteryCharging = charging;
        m_window.SetBatteryInfo(level, charging);
    }
    m_window.SetDeviceBattery(deviceType, m_mouse.batteryLevel, m_mouse.batteryCharging);
}

bool DeviceProtocol::SendKeyTable() {
    std::vector<KeyAssignment> assignments;
    m_database.ListKeyAssignments(m_mouse.currentProfile, 0, assignments);
    const MacroImage image = LoadMacroImage();
    ReportBuffer report = KeyTableReport(BuildKeyTable(assignments, image.macroIds));
    return m_device.SendCommand(report, true);
}

bool DeviceProtocol::SendMacros() {
    const MacroImage image = LoadMacroImage();
    for (ReportBuffer& chunk : MacroImageChunks(image.bytes)) {
        // A chunk without a reply means the mouse is gone; the rest would each wait out
        // their reads for nothing.
        if (!m_device.SendCommand(chunk, true)) {
            return false;
        }
        m_clock->SleepMs(kMacroChunkPauseMs);
        // A stopped worker sends no more chunks: the image would be left half written anyway.
        if (CurrentThreadStopRequested()) {
            return false;
        }
    }
    return true;
}

MacroImage DeviceProtocol::LoadMacroImage() {
    std::vector<MacroRecord> macros;
    m_database.ListMacros(macros);
    std::vector<MacroImageSource> sources;
    for (const MacroRecord& macro : macros) {
        // Only the macros the table has room for are read.
        if (sources.size() >= static_cast<size_t>(kMaxMacroCount)) {
            break;
        }
        MacroImageSource source;
        source.macroId = macro.macroId;
        m_database.ListMacroEvents(macro.macroId, source.events);
        sources.push_back(std::move(source));
    }
    return BuildMacroImage(sources);
}

}  // namespace tavik
