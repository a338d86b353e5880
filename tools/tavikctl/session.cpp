#include "tools/tavikctl/session.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "app/common/text_encoding.h"
#include "app/device/clock.h"
#include "app/device/sim/sim_identities.h"

namespace tavik::tavikctl {

namespace {

// The model whose settings database is used when the device catalogue cannot be read. The
// catalogue beside the program names the same model with the same USB identities.
constexpr const wchar_t* kFallbackModelKey = L"tavik_mouse";
// The language the command line stores texts in.
constexpr int kCommandLineLanguage = 1033;
// The buttons of the mouse picture before a description file is read.
const std::vector<int> kPlaceholderKeyCodes = {0, 2, 1, 3, 4, 7};

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

}  // namespace

Session::Session(const Options& options, const Environment& environment, std::ostream& out,
                 std::ostream& trace)
    : m_options(options), m_environment(environment), m_out(out), m_trace(trace) {}

Session::~Session() {
    m_worker.reset();
    m_scenario.reset();
    m_manager.reset();
}

bool Session::Prepare(std::string& error) {
    std::shared_ptr<Clock> clock = SystemClock();
    if (m_options.simulate) {
        // The simulated mouse runs on virtual time: its round trips and the program's fixed
        // pauses pass at once.
        clock = std::make_shared<VirtualClock>();
        m_simulator = std::make_unique<sim::DeviceSimulator>(sim::SimulatorSetup{}, clock);
        m_manager = std::make_unique<HidDeviceManager>(m_simulator->Api(), clock);
        if (!m_options.scenarioFile.empty()) {
            sim::ScenarioScript script;
            if (!sim::ScenarioScript::Load(std::filesystem::u8path(m_options.scenarioFile), script,
                                           error)) {
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
    m_language.Load(m_environment.programDirectory, kCommandLineLanguage);

    const std::wstring modelKey = LoadCatalogue();
    if (m_options.hasDatabaseFile) {
        const std::wstring file = Utf8ToWide(m_options.databaseFile);
        if (!m_database.OpenFile(file)) {
            error =
                "cannot open or create the settings database \"" + m_options.databaseFile + "\"";
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
            error = "cannot open the settings database \"" +
                    WideToUtf8(SettingsDatabaseFilePath(m_environment.dataDirectory, modelKey)) +
                    "\"";
            return false;
        }
    }
    m_database.SetInterfaceLanguage(kCommandLineLanguage);

    m_worker = std::make_unique<DeviceWorker>(*m_manager, m_database, m_window, m_computer,
                                              m_preference, clock);
    m_worker->SetLanguageTexts([this](int number) { return m_language.Text(number); });
    m_worker->Connection().SetDeviceRecords(m_records);
    m_worker->Connection().RefreshDevices();
    if (!m_worker->LoadActiveProfile()) {
        error = "the settings database has no usable profile";
        return false;
    }

    m_context = std::make_unique<PageContext>(
        m_database, [this](int code) { m_queued.push_back(code); },
        [this](int number) { return m_language.Text(number); });
    m_context->SetProfileSink([this](int profile) {
        m_worker->ChangeMouseState(
            [profile](ConnectedMouseState& state) { state.currentProfile = profile; });
    });
    m_context->SetCurrentProfile(m_worker->MouseState().currentProfile);
    m_context->SetDeviceType(m_worker->Connection().CurrentDeviceType());
    m_context->SetDevMode(m_manager->GetCurrentDevMode());
    m_context->SetDeviceConnected(m_manager->GetCurrentDevMode() != -1);

    m_performance = std::make_unique<PerformancePage>(*m_context, m_performanceView, m_dialogs);
    m_buttonView.mouse.SetKeyCodes(m_buttonKeyCodes);
    m_buttons = std::make_unique<ButtonPage>(*m_context, m_buttonView, m_dialogs);
    m_buttons->SetButtonDefaults(m_buttonDefaults);
    m_lights = std::make_unique<LightPage>(*m_context, m_lightView, m_dialogs);
    m_profiles = std::make_unique<ProfilePage>(*m_context, m_profileView, m_dialogs);
    m_transfer =
        std::make_unique<ProfileTransfer>(*m_context, m_dialogs, [this] { return m_hasLighting; });
    m_profiles->SetFileHandlers([this] { m_transfer->ImportProfile(); },
                                [this](int profile) { m_transfer->ExportProfile(profile); });
    return true;
}

void Session::ShowPerformancePage() {
    m_performance->FillControls();
    m_performance->RefreshPerformancePage();
}

void Session::ShowButtonPage() {
    m_buttons->FillControls();
    m_buttons->RefreshKeyPage();
}

void Session::ShowLightPage() {
    m_lights->RefreshLightPage();
}

std::wstring Session::LoadCatalogue() {
    DeviceCatalogue::Setup setup;
    setup.programDirectory = m_environment.programDirectory;
    setup.dataDirectory = m_environment.dataDirectory;
    setup.manager = m_manager.get();
    setup.effects = &m_window;
    DeviceCatalogue catalogue(setup);
    if (catalogue.LoadCatalogue() && !catalogue.CurrentModelKey().empty()) {
        for (const CatalogueDevice& device : catalogue.Devices()) {
            m_records.push_back({device.deviceType, device.mode, device.vendorId, device.productId,
                                 WideToUtf8(device.hidInterface)});
        }
        m_preference.WriteDeviceType(catalogue.CurrentDeviceType());
        m_hasLighting = catalogue.HasLighting();
        m_buttonDefaults = catalogue.ButtonDefaults();
        for (const DescribedButton& button : catalogue.Buttons()) {
            m_buttonKeyCodes.push_back(button.keyValue);
        }
        if (m_buttonKeyCodes.empty()) {
            m_buttonKeyCodes = kPlaceholderKeyCodes;
        }
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
        {sim::kSecondDeviceType, sim::kWiredMode, sim::kSecondModelProductId, L"Tavik Mouse Lite"},
    };
    m_window.ClearDeviceList();
    m_manager->ClearSupportedIds();
    for (const Identity& identity : identities) {
        m_manager->AddSupportedId(sim::kVendorId, identity.productId, L"", identity.deviceType,
                                  identity.mode);
        m_records.push_back({identity.deviceType, identity.mode, sim::kVendorId, identity.productId,
                             sim::InterfacePattern(identity.productId, sim::kVendorInterface)});
        if (identity.mode == sim::kWiredMode) {
            m_window.AddDeviceListItem(identity.name, identity.deviceType, L"");
        }
    }
    m_preference.WriteDeviceType(kMainModelDeviceType);
    m_buttonKeyCodes = kPlaceholderKeyCodes;
    return kFallbackModelKey;
}

std::wstring Session::Config(const wchar_t* key) {
    std::wstring value;
    m_database.GetConfigValue(Profile(), key, value);
    return value;
}

bool Session::RunDeviceJob(int jobCode) {
    if (m_manager->GetCurrentDevMode() == -1) {
        return false;
    }
    return m_worker->RunJob(jobCode);
}

bool Session::RunQueuedJobs() {
    const std::vector<int> jobs = std::move(m_queued);
    m_queued.clear();
    bool answered = true;
    for (int code : jobs) {
        answered = RunDeviceJob(code) && answered;
    }
    return answered;
}

}  // namespace tavik::tavikctl
