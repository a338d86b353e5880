#include "tools/tavikctl/tavikctl.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "app/common/text_encoding.h"
#include "app/device/clock.h"
#include "app/device/computer_functions.h"
#include "app/device/device_catalogue.h"
#include "app/device/device_connection.h"
#include "app/device/device_worker.h"
#include "app/device/headless_window.h"
#include "app/device/hid_device_manager.h"
#include "app/device/job_queue.h"
#include "app/device/key_macro_image.h"
#include "app/device/sim/device_simulator.h"
#include "app/device/sim/scenario_script.h"
#include "app/device/sim/sim_identities.h"
#include "app/store/config_keys.h"
#include "app/store/settings_database.h"
#include "tools/tavikctl/database_file.h"
#include "tools/tavikctl/settable_keys.h"

namespace tavik::tavikctl {

namespace {

// The model whose settings database is used when the device catalogue cannot be read. The
// catalogue beside the program names the same model with the same USB identities.
constexpr const wchar_t* kFallbackModelKey = L"tavik_mouse";

constexpr const char* kUsage =
    "usage: tavikctl [--simulate[=SCRIPT]] [--db FILE] [--trace] list | read | set KEY VALUE | "
    "assign KEYCODE TYPE VALUE [VALUE2 [VALUE3]] | "
    "send keytable|macros|all|dpi-defaults|factory-reset";
constexpr const char* kNoAnswer = "the mouse did not answer";

struct Options {
    bool simulate = false;
    std::string scenarioFile;  // --simulate=SCRIPT: a scenario for the simulated devices
    bool trace = false;
    bool hasDatabaseFile = false;
    std::string databaseFile;
    std::string command;
    std::vector<std::string> operands;
};

// Checks the shape of the command line; values are checked once the store is open.
bool ParseOptions(const std::vector<std::string>& arguments, Options& options,
                  std::string& message) {
    size_t at = 0;
    for (; at < arguments.size(); ++at) {
        const std::string& argument = arguments[at];
        if (argument == "--simulate") {
            options.simulate = true;
        } else if (argument.rfind("--simulate=", 0) == 0) {
            options.simulate = true;
            options.scenarioFile = argument.substr(std::string("--simulate=").size());
            if (options.scenarioFile.empty()) {
                message = "--simulate= needs a scenario file";
                return false;
            }
        } else if (argument == "--trace") {
            options.trace = true;
        } else if (argument == "--db") {
            if (at + 1 >= arguments.size() || arguments[at + 1].empty()) {
                message = "--db needs a file name";
                return false;
            }
            options.hasDatabaseFile = true;
            options.databaseFile = arguments[++at];
        } else if (argument.size() > 1 && argument[0] == '-') {
            message = "unknown option \"" + Printable(argument) + "\"";
            return false;
        } else {
            break;
        }
    }
    if (at >= arguments.size()) {
        message = kUsage;
        return false;
    }
    options.command = arguments[at];
    options.operands.assign(arguments.begin() + static_cast<std::ptrdiff_t>(at) + 1,
                            arguments.end());
    const size_t count = options.operands.size();
    const std::string& command = options.command;
    bool shapeFits = false;
    if (command == "list" || command == "read") {
        shapeFits = count == 0;
    } else if (command == "set") {
        shapeFits = count == 2;
    } else if (command == "assign") {
        shapeFits = count >= 3 && count <= 5;
    } else if (command == "send") {
        static const char* const kTargets[] = {"keytable", "macros", "all", "dpi-defaults",
                                               "factory-reset"};
        if (count != 1) {
            shapeFits = false;
        } else {
            for (const char* target : kTargets) {
                shapeFits = shapeFits || options.operands[0] == target;
            }
            if (!shapeFits) {
                message = "send takes keytable, macros, all, dpi-defaults or factory-reset";
                return false;
            }
        }
    } else {
        message = "unknown command \"" + Printable(command) + "\"; " + kUsage;
        return false;
    }
    if (!shapeFits) {
        message = kUsage;
        return false;
    }
    return true;
}

// One report as a trace line: the direction mark and buffer bytes 0 .. 63 (the report ID
// first), in lower-case hex; bytes past a short read are zeros.
std::string TraceLine(ReportDirection direction, const unsigned char* bytes, size_t length) {
    std::string line(1, direction == ReportDirection::kWritten ? '>' : '<');
    char pair[4];
    for (size_t at = 0; at < kReportBufferSize - 1; ++at) {
        const unsigned value = at < length ? bytes[at] : 0u;
        std::snprintf(pair, sizeof(pair), " %02x", value);
        line += pair;
    }
    return line;
}

const char* ModeName(int mode) {
    return mode == 0 ? "wired" : "wireless";
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

// Everything one command line runs on, built in dependency order and torn down in reverse:
// the worker goes before the store, the manager and the simulator it uses.
class Session {
public:
    Session(const Options& options, const Environment& environment, std::ostream& out,
            std::ostream& trace)
        : m_options(options), m_environment(environment), m_out(out), m_trace(trace) {}

    ~Session() {
        m_worker.reset();
        m_scenario.reset();
        m_manager.reset();
    }

    int Run() {
        std::string error;
        if (!Prepare(error)) {
            m_out << error << '\n';
            return kExitUsage;
        }
        const std::string& command = m_options.command;
        if (command == "list") {
            return List();
        }
        if (command == "read") {
            return Read();
        }
        if (command == "set") {
            return Set(m_options.operands[0], m_options.operands[1]);
        }
        if (command == "assign") {
            return Assign();
        }
        return Send(m_options.operands[0]);
    }

private:
    bool Prepare(std::string& error) {
        std::shared_ptr<Clock> clock = SystemClock();
        if (m_options.simulate) {
            // The simulated mouse runs on virtual time: its round trips and the program's
            // fixed pauses pass at once.
            clock = std::make_shared<VirtualClock>();
            m_simulator = std::make_unique<sim::DeviceSimulator>(sim::SimulatorSetup{}, clock);
            m_manager = std::make_unique<HidDeviceManager>(m_simulator->Api(), clock);
            if (!m_options.scenarioFile.empty()) {
                sim::ScenarioScript script;
                if (!sim::ScenarioScript::Load(std::filesystem::u8path(m_options.scenarioFile),
                                               script, error)) {
                    return false;
                }
                m_scenario =
                    std::make_unique<sim::ScenarioPlayer>(*m_simulator, std::move(script), clock);
            }
        } else {
            m_manager = std::make_unique<HidDeviceManager>(RealHidApi(), clock);
        }
        if (m_options.trace) {
            std::ostream& trace = m_trace;
            m_manager->SetReportTrace(
                [&trace](ReportDirection direction, const unsigned char* bytes, size_t length) {
                    trace << TraceLine(direction, bytes, length) << '\n';
                });
        }

        const std::wstring modelKey = LoadCatalogue();
        if (m_options.hasDatabaseFile) {
            if (!m_databaseFile.Open(m_database, std::filesystem::u8path(m_options.databaseFile),
                                     error)) {
                return false;
            }
        } else {
            if (m_environment.dataDirectory.empty()) {
                error = "cannot find the program's data folder; name a file with --db";
                return false;
            }
            std::error_code ignored;
            std::filesystem::create_directories(
                std::filesystem::u8path(WideToUtf8(m_environment.dataDirectory)) / "db", ignored);
            if (!m_database.OpenForModel(m_environment.dataDirectory, modelKey)) {
                error =
                    "cannot open the settings database \"" +
                    WideToUtf8(SettingsDatabaseFilePath(m_environment.dataDirectory, modelKey)) +
                    "\"";
                return false;
            }
        }

        m_worker = std::make_unique<DeviceWorker>(*m_manager, m_database, m_window, m_computer,
                                                  m_preference, clock);
        m_worker->Connection().SetDeviceRecords(m_records);
        m_worker->Connection().RefreshDevices();
        if (!m_worker->LoadActiveProfile()) {
            error = "the settings database has no usable profile";
            return false;
        }
        return true;
    }

    // Registers the catalogue's USB identities and device records; returns the model key
    // that names the settings database.
    std::wstring LoadCatalogue() {
        DeviceCatalogue::Setup setup;
        setup.programDirectory = m_environment.programDirectory;
        setup.dataDirectory = m_environment.dataDirectory;
        setup.manager = m_manager.get();
        setup.effects = &m_window;
        DeviceCatalogue catalogue(setup);
        if (catalogue.LoadCatalogue() && !catalogue.CurrentModelKey().empty()) {
            for (const CatalogueDevice& device : catalogue.Devices()) {
                m_records.push_back({device.deviceType, device.mode, device.vendorId,
                                     device.productId, WideToUtf8(device.hidInterface)});
            }
            m_preference.WriteDeviceType(catalogue.CurrentDeviceType());
            return catalogue.CurrentModelKey();
        }
        struct Identity {
            int deviceType;
            int mode;
            uint16_t productId;
            const wchar_t* name;
        };
        const Identity identities[] = {
            {sim::kMainDeviceType, sim::kWiredMode, sim::kWiredMouseProductId, L"Tavik Mouse"},
            {sim::kMainDeviceType, sim::kWirelessMode, sim::kReceiverProductId, L"Tavik Mouse"},
            {sim::kSecondDeviceType, sim::kWiredMode, sim::kSecondModelProductId,
             L"Tavik Mouse Lite"},
        };
        m_window.ClearDeviceList();
        m_manager->ClearSupportedIds();
        for (const Identity& identity : identities) {
            m_manager->AddSupportedId(sim::kVendorId, identity.productId, L"", identity.deviceType,
                                      identity.mode);
            m_records.push_back({identity.deviceType, identity.mode, sim::kVendorId,
                                 identity.productId,
                                 sim::InterfacePattern(identity.productId, sim::kVendorInterface)});
            if (identity.mode == sim::kWiredMode) {
                m_window.AddDeviceListItem(identity.name, identity.deviceType, L"");
            }
        }
        m_preference.WriteDeviceType(kMainModelDeviceType);
        return kFallbackModelKey;
    }

    int Profile() const { return m_worker->MouseState().currentProfile; }

    std::wstring Config(const wchar_t* key) {
        std::wstring value;
        m_database.GetConfigValue(Profile(), key, value);
        return value;
    }

    // Runs a job as the worker would; false when no mouse answered it.
    bool RunDeviceJob(int jobCode) {
        if (m_manager->GetCurrentDevMode() == -1) {
            return false;
        }
        return m_worker->RunJob(jobCode);
    }

    int List() {
        std::vector<DeviceEntry> entries;
        const int current = m_manager->GetCurDeviceType();
        m_manager->SetCurDeviceType(0);
        m_manager->GetDevices(entries);
        m_manager->SetCurDeviceType(current);
        if (entries.empty()) {
            m_out << "no device attached\n";
        }
        char release[8];
        for (const DeviceEntry& entry : entries) {
            std::snprintf(release, sizeof(release), "%04x", entry.releaseNumber & 0xFFFF);
            m_out << "type=" << entry.deviceType << " mode=" << ModeName(entry.deviceMode)
                  << " state=" << StateName(entry.connectState) << " battery=" << entry.batteryLevel
                  << " charging=" << entry.batteryCharging << " release=0x" << release << '\n';
        }
        return kExitSuccess;
    }

    int Read() {
        if (!RunDeviceJob(job::kFirstRead)) {
            m_out << kNoAnswer << '\n';
            return kExitNoAnswer;
        }
        const ConnectedMouseState mouse = m_worker->MouseState();
        m_out << "mouse_version=" << WideToUtf8(mouse.mouseVersion) << '\n'
              << "receiver_version=" << WideToUtf8(mouse.receiverVersion) << '\n'
              << "connection_mode=" << mouse.connectionMode << '\n'
              << "battery_level=" << mouse.batteryLevel << '\n'
              << "battery_charging=" << mouse.batteryCharging << '\n'
              << "profile=" << mouse.currentProfile << '\n';
        for (const ConfigKeyDefault& key : kConfigKeys) {
            std::wstring value;
            m_database.GetConfigValue(mouse.currentProfile, key.key, value);
            m_out << WideToUtf8(key.key) << '=' << WideToUtf8(value) << '\n';
        }
        return kExitSuccess;
    }

    int Set(const std::string& key, const std::string& valueText) {
        SettingContext context;
        context.deviceType = m_worker->Connection().CurrentDeviceType();
        int storedCount = 0;
        if (ParseInteger(WideToUtf8(Config(L"dpi_count")), storedCount)) {
            context.storedDpiCount = storedCount;
        }
        std::string message;
        int jobCode = 0;
        int value = 0;
        if (!CheckSetting(key, valueText, context, message, jobCode, value)) {
            m_out << message << '\n';
            return kExitUsage;
        }
        const std::wstring wideKey = Utf8ToWide(key);
        if (!m_database.SetConfigValue(Profile(), wideKey, std::to_wstring(value))) {
            m_out << "cannot store " << key << '\n';
            return kExitUsage;
        }
        // As the DPI page does: fewer stages than the current one make the last stage current.
        int storedIndex = 0;
        if (key == "dpi_count" && ParseInteger(WideToUtf8(Config(L"dpi_index")), storedIndex) &&
            storedIndex > value - 1) {
            m_database.SetConfigValue(Profile(), L"dpi_index", std::to_wstring(value - 1));
        }
        const std::string stored = key + "=" + std::to_string(value);
        if (!RunDeviceJob(jobCode)) {
            m_out << stored << " stored; " << kNoAnswer << '\n';
            return kExitNoAnswer;
        }
        m_out << stored << " sent\n";
        return kExitSuccess;
    }

    // The ranges of a button assignment: what the key slot encoding can carry.
    bool CheckAssignment(const KeyAssignment& assignment, std::string& message) {
        if (assignment.keyCode < 0 || assignment.keyCode >= kKeySlotCount) {
            message = "KEYCODE must be 0 to " + std::to_string(kKeySlotCount - 1);
            return false;
        }
        if (assignment.value2 < 0 || assignment.value2 > 255 || assignment.value3 < 0 ||
            assignment.value3 > 255) {
            message = "VALUE2 and VALUE3 must be 0 to 255";
            return false;
        }
        int minimum = 0;
        int maximum = 255;
        switch (assignment.functionType) {
            case kKeyFunctionMouse:
                minimum = 1;
                maximum = 12;
                break;
            case kKeyFunctionKeyboard:
                break;
            case kKeyFunctionMultimedia:
                minimum = 1;
                maximum = 13;
                break;
            case kKeyFunctionMacro: {
                MacroRecord macro;
                if (!m_database.GetMacro(assignment.value1, macro)) {
                    message = "VALUE must be the id of a stored macro";
                    return false;
                }
                return true;
            }
            case kKeyFunctionShortcut:
                minimum = 1;
                maximum = 37;
                break;
            case kKeyFunctionDisabled:
                minimum = 0;
                maximum = 0x7FFFFFFF;
                break;
            case kKeyFunctionLaunchProgram:
            case kKeyFunctionWebAddress:
            case kKeyFunctionTextSnippet:
                // The mouse reports these ids back in one byte.
                minimum = 1;
                break;
            default:
                message = "TYPE must be one of 1, 2, 4, 5, 7, 8, 9, 10, 11";
                return false;
        }
        if (assignment.value1 < minimum || assignment.value1 > maximum) {
            message = "VALUE for type " + std::to_string(assignment.functionType) + " must be " +
                      std::to_string(minimum) + " to " + std::to_string(maximum);
            return false;
        }
        return true;
    }

    int Assign() {
        int numbers[5] = {0, 0, 0, 0, 0};
        static const char* const kNames[] = {"KEYCODE", "TYPE", "VALUE", "VALUE2", "VALUE3"};
        for (size_t at = 0; at < m_options.operands.size(); ++at) {
            if (!ParseInteger(m_options.operands[at], numbers[at])) {
                m_out << kNames[at] << " must be a number\n";
                return kExitUsage;
            }
        }
        KeyAssignment assignment;
        assignment.profile = Profile();
        assignment.layer = 0;
        assignment.keyCode = numbers[0];
        assignment.functionType = numbers[1];
        assignment.value1 = numbers[2];
        assignment.value2 = numbers[3];
        assignment.value3 = numbers[4];
        std::string message;
        if (!CheckAssignment(assignment, message)) {
            m_out << message << '\n';
            return kExitUsage;
        }
        const bool removes = assignment.value1 == 0 && assignment.value2 == 0;
        if (m_database.SaveKeyAssignment(assignment) == 0 && !removes) {
            m_out << "the settings database refused the assignment\n";
            return kExitUsage;
        }
        const std::string stored = "button " + std::to_string(assignment.keyCode) +
                                   (removes ? " back to its factory function" : " assigned");
        if (!RunDeviceJob(job::kSendKeyTable)) {
            m_out << stored << "; " << kNoAnswer << '\n';
            return kExitNoAnswer;
        }
        m_out << stored << "; key table sent\n";
        return kExitSuccess;
    }

    // The values the DPI page stores before it asks the mouse to restore its DPI settings.
    void StoreDpiDefaults() {
        static const wchar_t* const kKeys[] = {
            L"dpi_count",        L"dpi_group0_value", L"dpi_group1_value", L"dpi_group2_value",
            L"dpi_group3_value", L"dpi_group4_value", L"dpi_group5_value", L"dpi_group0_rgb",
            L"dpi_group1_rgb",   L"dpi_group2_rgb",   L"dpi_group3_rgb",   L"dpi_group4_rgb",
            L"dpi_group5_rgb",   L"dpi_index"};
        for (const wchar_t* key : kKeys) {
            const ConfigKeyDefault* entry = FindConfigKey(key);
            if (entry != nullptr) {
                m_database.SetConfigValue(Profile(), key, entry->resetTo);
            }
        }
    }

    int Send(const std::string& target) {
        bool answered = false;
        if (target == "keytable") {
            answered = RunDeviceJob(job::kSendKeyTable);
        } else if (target == "macros") {
            answered = RunDeviceJob(job::kSendMacros);
        } else if (target == "all") {
            answered = RunDeviceJob(job::kSendAllSettings);
        } else if (target == "dpi-defaults") {
            StoreDpiDefaults();
            answered = RunDeviceJob(job::kSendDpiDefaults) && RunDeviceJob(job::kSendDpiColors);
        } else {
            // As the factory-settings button does: the profile's buttons and lights go, its
            // settings return to their defaults, then the mouse is reset and read again.
            const int profile = Profile();
            m_database.DeleteProfileKeys(profile);
            m_database.DeleteProfileLights(profile);
            m_database.ResetConfigToDefaults(profile);
            m_worker->Connection().SetDataRead(false);
            answered = RunDeviceJob(job::kSendFactoryReset) && m_worker->Connection().IsConnected();
        }
        if (!answered) {
            m_out << kNoAnswer << '\n';
            return kExitNoAnswer;
        }
        m_out << target << " sent\n";
        return kExitSuccess;
    }

    const Options& m_options;
    const Environment& m_environment;
    std::ostream& m_out;
    std::ostream& m_trace;
    std::unique_ptr<sim::DeviceSimulator> m_simulator;
    std::unique_ptr<sim::ScenarioPlayer> m_scenario;
    std::unique_ptr<HidDeviceManager> m_manager;
    SettingsDatabase m_database;
    DatabaseFile m_databaseFile;  // declared after the store: closes it before unlinking
    HeadlessWindow m_window;
    IgnoredComputerFunctions m_computer;
    MemoryDeviceTypePreference m_preference;
    std::vector<DeviceModeRecord> m_records;
    std::unique_ptr<DeviceWorker> m_worker;
};

}  // namespace

int Run(const std::vector<std::string>& arguments, const Environment& environment,
        std::ostream& out, std::ostream& trace) {
    Options options;
    std::string message;
    if (!ParseOptions(arguments, options, message)) {
        out << message << '\n';
        return kExitUsage;
    }
    Session session(options, environment, out, trace);
    const int status = session.Run();
    out.flush();
    trace.flush();
    return status;
}

}  // namespace tavik::tavikctl
