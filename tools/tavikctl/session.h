#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/config/dialogs.h"
#include "app/config/page_context.h"
#include "app/config/profile_transfer.h"
#include "app/device/computer_functions.h"
#include "app/device/device_catalogue.h"
#include "app/device/device_worker.h"
#include "app/device/hid_device_manager.h"
#include "app/device/sim/device_simulator.h"
#include "app/device/headless_window.h"
#include "app/device/sim/scenario_script.h"
#include "app/store/settings_database.h"
#include "tools/tavikctl/headless_controls.h"
#include "tools/tavikctl/language_file.h"
#include "tools/tavikctl/tavikctl.h"

namespace tavik::tavikctl {

// The global options and the command of one command line.
struct Options {
    bool simulate = false;
    std::string scenarioFile;  // --simulate=SCRIPT: a scenario for the simulated devices
    bool trace = false;
    bool json = false;
    bool hasDatabaseFile = false;
    std::string databaseFile;
    std::string command;
    std::vector<std::string> operands;
};

// The dialogs of the pages on the command line: every question counts as accepted (the
// command line is the user's decision), the colour and the file are the ones the command
// names, and messages are kept for the command to print.
class CommandDialogs : public Dialogs {
public:
    int Confirm(int, int, int) override { return kAnswerAccepted; }
    void Message(int titleText, int messageText) override {
        messages.push_back({titleText, messageText});
    }
    std::optional<std::uint32_t> PickColour(std::uint32_t) override { return colour; }
    std::optional<std::wstring> ChooseFileToOpen(const FileFilter&) override { return file; }
    std::optional<std::wstring> ChooseFileToSave(const FileFilter&) override { return file; }

    std::optional<std::uint32_t> colour;
    std::optional<std::wstring> file;
    std::vector<std::pair<int, int>> messages;
};

// Everything one command line runs on, built in dependency order and torn down in reverse:
// the worker goes before the store, the manager and the simulator it uses. The pages are the
// window's own page logic over controls without a window; the jobs they queue are run by the
// worker on the calling thread once the command has stored what it changes.
class Session {
public:
    Session(const Options& options, const Environment& environment, std::ostream& out,
            std::ostream& trace);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Opens the store and loads the catalogue and the current profile.
    bool Prepare(std::string& error);
    // Fills a page's controls from the store, as the window shows it, before a command
    // works on it.
    void ShowPerformancePage();
    void ShowButtonPage();
    void ShowLightPage();

    const Options& Opts() const { return m_options; }
    std::ostream& Out() { return m_out; }
    SettingsDatabase& Store() { return m_database; }
    DeviceWorker& Worker() { return *m_worker; }
    HidDeviceManager& Manager() { return *m_manager; }
    PageContext& Context() { return *m_context; }
    CommandDialogs& CommandAnswers() { return m_dialogs; }
    int Profile() const { return m_worker->MouseState().currentProfile; }
    bool HasLighting() const { return m_hasLighting; }
    const std::vector<ButtonDefault>& ButtonDefaults() const { return m_buttonDefaults; }

    PerformancePage& Performance() { return *m_performance; }
    HeadlessPerformanceView& PerformanceControls() { return m_performanceView; }
    ButtonPage& Buttons() { return *m_buttons; }
    HeadlessButtonView& ButtonControls() { return m_buttonView; }
    LightPage& Lights() { return *m_lights; }
    HeadlessLightView& LightControls() { return m_lightView; }
    ProfilePage& Profiles() { return *m_profiles; }

    // The current profile's value of a key, empty without a row.
    std::wstring Config(const wchar_t* key);
    // Runs a job as the worker would; false when no mouse answered it.
    bool RunDeviceJob(int jobCode);
    // Runs the jobs the pages queued, in order, and forgets them; false when the mouse did
    // not answer one of them (the others still run: each sends what the store holds).
    bool RunQueuedJobs();
    void ForgetQueuedJobs() { m_queued.clear(); }
    const std::vector<int>& QueuedJobs() const { return m_queued; }

private:
    // Registers the catalogue's USB identities and device records; returns the model key
    // that names the settings database.
    std::wstring LoadCatalogue();

    const Options& m_options;
    const Environment& m_environment;
    std::ostream& m_out;
    std::ostream& m_trace;
    std::unique_ptr<sim::DeviceSimulator> m_simulator;
    std::unique_ptr<sim::ScenarioPlayer> m_scenario;
    std::unique_ptr<HidDeviceManager> m_manager;
    SettingsDatabase m_database;
    HeadlessWindow m_window;
    IgnoredComputerFunctions m_computer;
    MemoryDeviceTypePreference m_preference;
    std::vector<DeviceModeRecord> m_records;
    std::unique_ptr<DeviceWorker> m_worker;
    bool m_hasLighting = true;
    std::vector<ButtonDefault> m_buttonDefaults;
    std::vector<int> m_buttonKeyCodes;

    std::vector<int> m_queued;
    LanguageFile m_language;
    CommandDialogs m_dialogs;
    std::unique_ptr<PageContext> m_context;
    HeadlessPerformanceView m_performanceView;
    HeadlessButtonView m_buttonView;
    HeadlessLightView m_lightView;
    HeadlessProfileView m_profileView;
    std::unique_ptr<PerformancePage> m_performance;
    std::unique_ptr<ButtonPage> m_buttons;
    std::unique_ptr<LightPage> m_lights;
    std::unique_ptr<ProfilePage> m_profiles;
    std::unique_ptr<ProfileTransfer> m_transfer;
};

}  // namespace tavik::tavikctl
