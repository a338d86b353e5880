#include "app/device/sim/scenario_script.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace tavik::sim {

namespace {

// Longer scripts are not something a person writes; the cap keeps a wrong file harmless.
constexpr size_t kMaxScriptBytes = 1 << 20;
// Beyond this a time is a typing error (about 27 hours).
constexpr uint64_t kMaxTimeMs = 100000000;
// How often a player on virtual time looks at the clock.
constexpr int kVirtualPollMs = 1;

struct FaultName {
    const char* name;
    SimFault fault;
};

constexpr FaultName kFaultNames[] = {
    {"no-reply", SimFault::kNoReply},
    {"late-reply", SimFault::kLateReply},
    {"event-before-reply", SimFault::kEventBeforeReply},
    {"zero-version", SimFault::kZeroVersion},
    {"short-reply", SimFault::kShortReply},
    {"garbage-reply", SimFault::kGarbageReply},
    {"unplug-during-upload", SimFault::kUnplugDuringMacroUpload},
};

bool ParseNumber(const std::string& word, uint64_t limit, uint64_t& value) {
    if (word.empty() || word.size() > 12) {
        return false;
    }
    for (char c : word) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    value = std::strtoull(word.c_str(), nullptr, 10);
    return value <= limit;
}

bool ParseDevice(const std::string& word, SimDevice& device) {
    if (word == "cable") {
        device = SimDevice::kWiredMouse;
    } else if (word == "receiver") {
        device = SimDevice::kReceiver;
    } else if (word == "second") {
        device = SimDevice::kSecondModel;
    } else {
        return false;
    }
    return true;
}

// Reads one line (without its time prefix) into `action`; `error` says what is wrong.
bool ParseAction(const std::vector<std::string>& words, ScenarioAction& action,
                 std::string& error) {
    const std::string& verb = words[0];
    const size_t count = words.size();
    uint64_t number = 0;
    if (verb == "plug" || verb == "unplug") {
        action.verb = verb == "plug" ? ScenarioVerb::kPlug : ScenarioVerb::kUnplug;
        if (count != 2 || !ParseDevice(words[1], action.device)) {
            error = verb + " takes cable, receiver or second";
            return false;
        }
        return true;
    }
    if (verb == "receiver") {
        if (count == 3 && words[1] == "mouse" && (words[2] == "off" || words[2] == "on")) {
            action.verb = words[2] == "off" ? ScenarioVerb::kMouseOff : ScenarioVerb::kMouseOn;
            return true;
        }
        error = "receiver takes \"mouse off\" or \"mouse on\"";
        return false;
    }
    if (verb == "press") {
        if (count == 2 && words[1] == "dpi") {
            action.verb = ScenarioVerb::kPressDpi;
            return true;
        }
        if ((count == 3 || count == 4) && words[1] == "function") {
            action.verb = ScenarioVerb::kPressFunction;
            if (!ParseNumber(words[2], 255, number)) {
                error = "press function takes a value from 0 to 255";
                return false;
            }
            action.first = static_cast<int>(number);
            action.second = 9;
            if (count == 4) {
                if (words[3] == "program") {
                    action.second = 9;
                } else if (words[3] == "web") {
                    action.second = 10;
                } else if (words[3] == "text") {
                    action.second = 11;
                } else {
                    error = "press function VALUE takes program, web or text after it";
                    return false;
                }
            }
            return true;
        }
        error = "press takes \"dpi\" or \"function VALUE\"";
        return false;
    }
    if (verb == "battery") {
        action.verb = ScenarioVerb::kBattery;
        if ((count != 2 && count != 3) || !ParseNumber(words[1], 100, number) ||
            (count == 3 && words[2] != "charging")) {
            error = "battery takes a level from 0 to 100 and, optionally, \"charging\"";
            return false;
        }
        action.first = static_cast<int>(number);
        action.second = count == 3 ? 1 : 0;
        return true;
    }
    if (verb == "settings" && count == 2 && words[1] == "changed") {
        action.verb = ScenarioVerb::kSettingsChanged;
        return true;
    }
    if (verb == "pair" && count == 2 && words[1] == "success") {
        action.verb = ScenarioVerb::kPairSuccess;
        return true;
    }
    if (verb == "fault") {
        action.verb = ScenarioVerb::kFault;
        bool known = false;
        if (count >= 2) {
            for (const FaultName& name : kFaultNames) {
                if (words[1] == name.name) {
                    action.fault = name.fault;
                    known = true;
                }
            }
        }
        if (!known || count > 4) {
            error =
                "fault takes no-reply, late-reply, event-before-reply, zero-version, "
                "short-reply, garbage-reply or unplug-during-upload, then TIMES and PARAMETER";
            return false;
        }
        action.first = 1;
        if (count >= 3) {
            if (!ParseNumber(words[2], 100000, number) || number == 0) {
                error = "fault TIMES must be a number from 1 to 100000";
                return false;
            }
            action.first = static_cast<int>(number);
        }
        if (count == 4) {
            if (!ParseNumber(words[3], 100000, number)) {
                error = "fault PARAMETER must be a number from 0 to 100000";
                return false;
            }
            action.second = static_cast<int>(number);
        }
        return true;
    }
    error = "unknown verb \"" + verb + "\"";
    return false;
}

}  // namespace

bool ScenarioScript::Parse(const std::string& text, ScenarioScript& script, std::string& error) {
    // A script with a bad line plays nothing at all.
    script.m_actions.clear();
    std::vector<ScenarioAction> actions;
    if (text.size() > kMaxScriptBytes) {
        error = "the scenario is longer than 1 MB";
        return false;
    }
    std::istringstream lines(text);
    std::string line;
    int lineNumber = 0;
    uint64_t time = 0;
    while (std::getline(lines, line)) {
        ++lineNumber;
        const size_t comment = line.find('#');
        if (comment != std::string::npos) {
            line.erase(comment);
        }
        std::istringstream wordStream(line);
        std::vector<std::string> words;
        for (std::string word; wordStream >> word;) {
            words.push_back(word);
        }
        if (words.empty()) {
            continue;
        }
        const std::string where = "line " + std::to_string(lineNumber) + ": ";
        if (words[0] == "at" || words[0] == "after") {
            uint64_t value = 0;
            if (words.size() < 3 || !ParseNumber(words[1], kMaxTimeMs, value)) {
                error = where + words[0] + " takes milliseconds and then an action";
                return false;
            }
            const uint64_t next = words[0] == "at" ? value : time + value;
            if (next < time) {
                error = where + "time goes backwards (" + std::to_string(next) + " ms after " +
                        std::to_string(time) + " ms)";
                return false;
            }
            if (next > kMaxTimeMs) {
                error = where + "time is too far ahead";
                return false;
            }
            time = next;
            words.erase(words.begin(), words.begin() + 2);
        }
        ScenarioAction action;
        action.line = lineNumber;
        action.atMs = time;
        std::string problem;
        if (!ParseAction(words, action, problem)) {
            error = where + problem;
            return false;
        }
        actions.push_back(action);
    }
    script.m_actions = std::move(actions);
    return true;
}

bool ScenarioScript::Load(const std::filesystem::path& path, ScenarioScript& script,
                          std::string& error) {
    const std::string name = path.u8string();
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot read the scenario \"" + name + "\"";
        return false;
    }
    std::string text;
    char buffer[4096];
    while (file.read(buffer, sizeof(buffer)) || file.gcount() > 0) {
        text.append(buffer, static_cast<size_t>(file.gcount()));
        if (text.size() > kMaxScriptBytes) {
            break;
        }
    }
    if (!Parse(text, script, error)) {
        error = name + ": " + error;
        return false;
    }
    return true;
}

void ScenarioScript::Apply(const ScenarioAction& action, DeviceSimulator& simulator) {
    switch (action.verb) {
        case ScenarioVerb::kPlug:
        case ScenarioVerb::kUnplug: {
            const bool plug = action.verb == ScenarioVerb::kPlug;
            switch (action.device) {
                case SimDevice::kWiredMouse:
                    plug ? simulator.PlugCable() : simulator.UnplugCable();
                    break;
                case SimDevice::kReceiver:
                    plug ? simulator.PlugReceiver() : simulator.UnplugReceiver();
                    break;
                case SimDevice::kSecondModel:
                    plug ? simulator.PlugSecondModel() : simulator.UnplugSecondModel();
                    break;
            }
            break;
        }
        case ScenarioVerb::kMouseOff:
            simulator.SwitchMouseOff();
            break;
        case ScenarioVerb::kMouseOn:
            simulator.SwitchMouseOn();
            break;
        case ScenarioVerb::kPressDpi:
            simulator.PressDpiButton();
            break;
        case ScenarioVerb::kBattery:
            simulator.ChangeBattery(static_cast<uint8_t>(action.first), action.second != 0);
            break;
        case ScenarioVerb::kPressFunction:
            simulator.PressComputerFunction(static_cast<uint8_t>(action.second),
                                            static_cast<uint8_t>(action.first));
            break;
        case ScenarioVerb::kSettingsChanged:
            simulator.ChangeSettingsOnMouse();
            break;
        case ScenarioVerb::kPairSuccess:
            simulator.CompletePairing();
            break;
        case ScenarioVerb::kFault:
            simulator.InjectFault(action.fault, action.first, action.second);
            break;
    }
}

ScenarioPlayer::ScenarioPlayer(DeviceSimulator& simulator, ScenarioScript script,
                               std::shared_ptr<Clock> clock)
    : m_simulator(simulator),
      m_script(std::move(script)),
      m_clock(clock ? std::move(clock) : SystemClock()),
      m_startMs(m_clock->NowMs()) {
    if (!ApplyDue()) {
        m_thread = std::thread([this] { Play(); });
    }
}

ScenarioPlayer::~ScenarioPlayer() {
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_stop = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

bool ScenarioPlayer::ApplyDue() {
    std::lock_guard<std::mutex> guard(m_lock);
    const std::vector<ScenarioAction>& actions = m_script.Actions();
    const uint64_t elapsed = m_clock->NowMs() - m_startMs;
    while (m_next < actions.size() && actions[m_next].atMs <= elapsed) {
        ScenarioScript::Apply(actions[m_next], m_simulator);
        ++m_next;
    }
    return m_next >= actions.size();
}

bool ScenarioPlayer::Finished() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_next >= m_script.Actions().size();
}

void ScenarioPlayer::Play() {
    for (;;) {
        if (ApplyDue()) {
            return;
        }
        std::unique_lock<std::mutex> lock(m_lock);
        if (m_stop) {
            return;
        }
        int waitMs = kVirtualPollMs;
        if (m_clock->IsRealTime()) {
            const uint64_t elapsed = m_clock->NowMs() - m_startMs;
            const uint64_t due = m_script.Actions()[m_next].atMs;
            waitMs = static_cast<int>(due > elapsed ? due - elapsed : 0);
        }
        m_wake.wait_for(lock, std::chrono::milliseconds(waitMs), [this] { return m_stop; });
        if (m_stop) {
            return;
        }
    }
}

}  // namespace tavik::sim
