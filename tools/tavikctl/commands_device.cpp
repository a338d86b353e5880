#include <cstdio>
#include <sstream>

#include "app/common/text_encoding.h"
#include "app/config/button_tables.h"
#include "app/device/device_connection.h"
#include "app/device/job_queue.h"
#include "app/device/key_macro_image.h"
#include "app/store/config_keys.h"
#include "tools/tavikctl/commands.h"
#include "tools/tavikctl/session.h"
#include "tools/tavikctl/settable_keys.h"

namespace tavik::tavikctl {

namespace {

constexpr const char* kNoAnswer = "the mouse did not answer";

const char* ModeName(int mode) {
    return mode == 0 ? "wired" : "wireless";
}

const char* ConnectionName(int devMode) {
    switch (devMode) {
        case 0:
            return "wired";
        case 1:
            return "wireless";
        default:
            return "none";
    }
}

const char* StateName(ConnectState state) {
    switch (state) {
        case ConnectState::kConnected:
            return "connected";
        case ConnectState::kDisconnected:
            return "disconnected";
        case ConnectState::kNone:
            break;
    }
    return "none";
}

std::vector<DeviceEntry> AttachedDevices(Session& session) {
    std::vector<DeviceEntry> entries;
    HidDeviceManager& manager = session.Manager();
    const int current = manager.GetCurDeviceType();
    manager.SetCurDeviceType(0);
    manager.GetDevices(entries);
    manager.SetCurDeviceType(current);
    return entries;
}

std::string Release(const DeviceEntry& entry) {
    char release[8];
    std::snprintf(release, sizeof(release), "%04x", entry.releaseNumber & 0xFFFF);
    return std::string("0x") + release;
}

}  // namespace

int Refuse(Session& session, const std::string& message) {
    session.Out() << message << '\n';
    return kExitUsage;
}

int Report(Session& session, bool answered, const std::string& what) {
    if (!answered) {
        session.Out() << what << " stored; " << kNoAnswer << '\n';
        return kExitNoAnswer;
    }
    session.Out() << what << " sent\n";
    return kExitSuccess;
}

int ReportDone(Session& session, bool answered, const std::string& done) {
    session.Out() << done << (answered ? "; sent to the mouse" : std::string("; ") + kNoAnswer)
                  << '\n';
    return answered ? kExitSuccess : kExitNoAnswer;
}

int SendQueued(Session& session, const std::string& what) {
    return Report(session, session.RunQueuedJobs(), what);
}

int CommandList(Session& session, const Operands&) {
    const std::vector<DeviceEntry> entries = AttachedDevices(session);
    if (entries.empty()) {
        session.Out() << "no device attached\n";
    }
    for (const DeviceEntry& entry : entries) {
        session.Out() << "type=" << entry.deviceType << " mode=" << ModeName(entry.deviceMode)
                      << " state=" << StateName(entry.connectState)
                      << " battery=" << entry.batteryLevel << " charging=" << entry.batteryCharging
                      << " release=" << Release(entry) << '\n';
    }
    return kExitSuccess;
}

int CommandStatus(Session& session, const Operands&) {
    const std::vector<DeviceEntry> entries = AttachedDevices(session);
    const bool answered = session.RunDeviceJob(job::kFirstRead);
    const ConnectedMouseState mouse = session.Worker().MouseState();
    const int devMode = answered ? session.Manager().GetCurrentDevMode() : -1;
    std::ostream& out = session.Out();
    if (session.Opts().json) {
        out << "{\"devices\":[";
        for (size_t at = 0; at < entries.size(); ++at) {
            const DeviceEntry& entry = entries[at];
            out << (at > 0 ? "," : "") << "{\"type\":" << entry.deviceType << ",\"mode\":\""
                << ModeName(entry.deviceMode) << "\",\"state\":\"" << StateName(entry.connectState)
                << "\",\"battery\":" << entry.batteryLevel
                << ",\"charging\":" << (entry.batteryCharging != 0 ? "true" : "false")
                << ",\"release\":\"" << Release(entry) << "\"}";
        }
        out << "],\"connection\":\"" << ConnectionName(devMode) << "\"";
        if (answered) {
            out << ",\"battery\":" << mouse.batteryLevel
                << ",\"charging\":" << (mouse.batteryCharging != 0 ? "true" : "false")
                << ",\"mouse_version\":" << JsonString(WideToUtf8(mouse.mouseVersion))
                << ",\"receiver_version\":" << JsonString(WideToUtf8(mouse.receiverVersion));
        }
        out << ",\"profile\":" << session.Profile() << "}\n";
    } else {
        for (const DeviceEntry& entry : entries) {
            out << "device type=" << entry.deviceType << " mode=" << ModeName(entry.deviceMode)
                << " state=" << StateName(entry.connectState) << " battery=" << entry.batteryLevel
                << " charging=" << entry.batteryCharging << " release=" << Release(entry) << '\n';
        }
        out << "connection=" << ConnectionName(devMode) << '\n';
        if (answered) {
            out << "battery_level=" << mouse.batteryLevel << '\n'
                << "battery_charging=" << mouse.batteryCharging << '\n'
                << "mouse_version=" << WideToUtf8(mouse.mouseVersion) << '\n'
                << "receiver_version=" << WideToUtf8(mouse.receiverVersion) << '\n';
        }
        out << "profile=" << session.Profile() << '\n';
    }
    if (!answered) {
        // The devices are listed all the same; the status says the mouse was not reached.
        if (!session.Opts().json) {
            out << kNoAnswer << '\n';
        }
        return kExitNoAnswer;
    }
    return kExitSuccess;
}

int CommandRead(Session& session, const Operands&) {
    if (!session.RunDeviceJob(job::kFirstRead)) {
        session.Out() << kNoAnswer << '\n';
        return kExitNoAnswer;
    }
    const ConnectedMouseState mouse = session.Worker().MouseState();
    std::ostream& out = session.Out();
    out << "mouse_version=" << WideToUtf8(mouse.mouseVersion) << '\n'
        << "receiver_version=" << WideToUtf8(mouse.receiverVersion) << '\n'
        << "connection_mode=" << mouse.connectionMode << '\n'
        << "battery_level=" << mouse.batteryLevel << '\n'
        << "battery_charging=" << mouse.batteryCharging << '\n'
        << "profile=" << mouse.currentProfile << '\n';
    for (const ConfigKeyDefault& key : kConfigKeys) {
        std::wstring value;
        session.Store().GetConfigValue(mouse.currentProfile, key.key, value);
        out << WideToUtf8(key.key) << '=' << WideToUtf8(value) << '\n';
    }
    return kExitSuccess;
}

int CommandGet(Session& session, const Operands& operands) {
    std::vector<std::wstring_view> keys;
    if (operands.empty()) {
        for (const ConfigKeyDefault& key : kConfigKeys) {
            keys.push_back(key.key);
        }
    } else {
        const std::wstring wanted = Utf8ToWide(operands[0]);
        const ConfigKeyDefault* key = FindConfigKey(wanted);
        if (key == nullptr) {
            return Refuse(session, "unknown key \"" + Printable(operands[0]) +
                                       "\"; \"get\" alone lists every key");
        }
        keys.push_back(key->key);
    }
    std::ostream& out = session.Out();
    if (session.Opts().json) {
        out << '{';
    }
    for (size_t at = 0; at < keys.size(); ++at) {
        std::wstring value;
        session.Store().GetConfigValue(session.Profile(), keys[at], value);
        if (session.Opts().json) {
            out << (at > 0 ? "," : "") << JsonString(WideToUtf8(keys[at])) << ':'
                << JsonValue(value);
        } else {
            out << WideToUtf8(keys[at]) << '=' << WideToUtf8(value) << '\n';
        }
    }
    if (session.Opts().json) {
        out << "}\n";
    }
    return kExitSuccess;
}

int CommandSet(Session& session, const Operands& operands) {
    const std::string& key = operands[0];
    SettingContext context;
    context.deviceType = session.Worker().Connection().CurrentDeviceType();
    int storedCount = 0;
    if (ParseInteger(WideToUtf8(session.Config(L"dpi_count")), storedCount)) {
        context.storedDpiCount = storedCount;
    }
    std::string message;
    int jobCode = 0;
    int value = 0;
    if (!CheckSetting(key, operands[1], context, message, jobCode, value)) {
        return Refuse(session, message);
    }
    const std::string stored = key + "=" + std::to_string(value);
    if (key == "dpi_count") {
        // The stage count goes through the DPI page: fewer stages than the current one make
        // the last stage current.
        session.ShowPerformancePage();
        session.PerformanceControls().Combo(performance_control::kDpiCount).SelectData(value);
        session.Performance().OnControlNotify(performance_control::kDpiCount,
                                              notify_code::kClicked);
        return SendQueued(session, stored);
    }
    if (!session.Store().SetConfigValue(session.Profile(), Utf8ToWide(key),
                                        std::to_wstring(value))) {
        return Refuse(session, "cannot store " + key);
    }
    return Report(session, session.RunDeviceJob(jobCode), stored);
}

int CommandAssign(Session& session, const Operands& operands) {
    int numbers[5] = {0, 0, 0, 0, 0};
    static const char* const kNames[] = {"KEYCODE", "TYPE", "VALUE", "VALUE2", "VALUE3"};
    for (size_t at = 0; at < operands.size(); ++at) {
        if (!ParseInteger(operands[at], numbers[at])) {
            return Refuse(session, std::string(kNames[at]) + " must be a number");
        }
    }
    KeyAssignment assignment;
    assignment.profile = session.Profile();
    assignment.keyCode = numbers[0];
    assignment.functionType = numbers[1];
    assignment.value1 = numbers[2];
    assignment.value2 = numbers[3];
    assignment.value3 = numbers[4];
    if (assignment.keyCode < 0 || assignment.keyCode >= kKeySlotCount) {
        return Refuse(session, "KEYCODE must be 0 to " + std::to_string(kKeySlotCount - 1));
    }
    if (assignment.value2 < 0 || assignment.value2 > 255 || assignment.value3 < 0 ||
        assignment.value3 > 255) {
        return Refuse(session, "VALUE2 and VALUE3 must be 0 to 255");
    }
    int minimum = 0;
    int maximum = 0;
    if (!FunctionValueRange(assignment.functionType, minimum, maximum)) {
        return Refuse(session, "TYPE must be one of 1, 2, 4, 5, 7, 8, 9, 10, 11");
    }
    if (assignment.functionType == kKeyFunctionMacro) {
        MacroRecord macro;
        if (!session.Store().GetMacro(assignment.value1, macro)) {
            return Refuse(session, "VALUE must be the id of a stored macro");
        }
    } else if (assignment.value1 < minimum || assignment.value1 > maximum) {
        return Refuse(session, "VALUE for type " + std::to_string(assignment.functionType) +
                                   " must be " + std::to_string(minimum) + " to " +
                                   std::to_string(maximum));
    }
    const bool removes = assignment.value1 == 0 && assignment.value2 == 0;
    if (session.Store().SaveKeyAssignment(assignment) == 0 && !removes) {
        return Refuse(session, "the settings database refused the assignment");
    }
    const std::string stored = "button " + std::to_string(assignment.keyCode) +
                               (removes ? " back to its factory function" : " assigned");
    if (!session.RunDeviceJob(job::kSendKeyTable)) {
        session.Out() << stored << "; " << kNoAnswer << '\n';
        return kExitNoAnswer;
    }
    session.Out() << stored << "; key table sent\n";
    return kExitSuccess;
}

int CommandSend(Session& session, const Operands& operands) {
    const std::string& target = operands[0];
    bool answered = false;
    if (target == "keytable") {
        answered = session.RunDeviceJob(job::kSendKeyTable);
    } else if (target == "macros") {
        answered = session.RunDeviceJob(job::kSendMacros);
    } else if (target == "all") {
        answered = session.RunDeviceJob(job::kSendAllSettings);
    } else if (target == "dpi-defaults") {
        session.ShowPerformancePage();
        session.Performance().RestoreDpiDefaults();
        answered = session.RunQueuedJobs();
    } else {
        // As the factory-settings command does: the profile's buttons and lights go and its
        // settings return to their defaults in one transaction, then the mouse is reset and
        // read again.
        session.Profiles().ResetCurrentProfile();
        session.Worker().Connection().SetDataRead(false);
        answered = session.RunQueuedJobs() && session.Worker().Connection().IsConnected();
    }
    if (!answered) {
        session.Out() << kNoAnswer << '\n';
        return kExitNoAnswer;
    }
    session.Out() << target << " sent\n";
    return kExitSuccess;
}

std::string JsonString(std::string_view text) {
    std::string json = "\"";
    for (char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        switch (c) {
            case '"':
                json += "\\\"";
                break;
            case '\\':
                json += "\\\\";
                break;
            case '\n':
                json += "\\n";
                break;
            case '\r':
                json += "\\r";
                break;
            case '\t':
                json += "\\t";
                break;
            default:
                if (byte < 0x20) {
                    char escape[8];
                    std::snprintf(escape, sizeof(escape), "\\u%04x", byte);
                    json += escape;
                } else {
                    json.push_back(c);
                }
        }
    }
    return json + "\"";
}

std::string JsonValue(const std::wstring& stored) {
    const std::string text = WideToUtf8(stored);
    int number = 0;
    if (ParseInteger(text, number) && std::to_string(number) == text) {
        return text;
    }
    return JsonString(text);
}

std::string ColourText(unsigned colour) {
    char text[8];
    std::snprintf(text, sizeof(text), "%02x%02x%02x", colour & 0xFF, (colour >> 8) & 0xFF,
                  (colour >> 16) & 0xFF);
    return text;
}

bool ParseColour(const std::string& text, unsigned& colour) {
    std::string digits = text;
    if (!digits.empty() && digits[0] == '#') {
        digits.erase(0, 1);
    }
    if (digits.size() != 6) {
        return false;
    }
    unsigned rgb = 0;
    for (char c : digits) {
        rgb <<= 4;
        if (c >= '0' && c <= '9') {
            rgb |= static_cast<unsigned>(c - '0');
        } else if (c >= 'a' && c <= 'f') {
            rgb |= static_cast<unsigned>(c - 'a' + 10);
        } else if (c >= 'A' && c <= 'F') {
            rgb |= static_cast<unsigned>(c - 'A' + 10);
        } else {
            return false;
        }
    }
    // RRGGBB as written; stored with red in the low byte.
    colour = (rgb >> 16 & 0xFF) | (rgb & 0xFF00) | (rgb & 0xFF) << 16;
    return true;
}

}  // namespace tavik::tavikctl
