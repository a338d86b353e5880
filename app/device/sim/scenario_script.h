#pragma once

#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/device/clock.h"

#include "app/device/sim/device_simulator.h"

namespace tavik::sim {

// What one line of a scenario does to the simulator.
enum class ScenarioVerb {
    kPlug,             // plug cable|receiver|second
    kUnplug,           // unplug cable|receiver|second
    kMouseOff,         // receiver mouse off
    kMouseOn,          // receiver mouse on
    kPressDpi,         // press dpi: event 0x02 with the next stage
    kBattery,          // battery LEVEL [charging]: event 0x03
    kPressFunction,    // press function VALUE [program|web|text]: event 0x50
    kSettingsChanged,  // settings changed: event 0x06
    kPairSuccess,      // pair success: link report and event 0x01 with byte 6 = 1
    kFault,            // fault NAME [TIMES [PARAMETER]]
};

struct ScenarioAction {
    int line = 0;       // 1-based line of the script
    uint64_t atMs = 0;  // since the script started playing
    ScenarioVerb verb = ScenarioVerb::kPressDpi;
    SimDevice device = SimDevice::kWiredMouse;  // plug, unplug
    int first = 0;                              // battery level; function value; fault times
    int second = 0;  // charging (0/1); function type (9, 10, 11); fault parameter
    SimFault fault = SimFault::kNoReply;
};

// A scenario of timed actions on the simulated devices, one per line:
//
//   # the mouse runs on its battery, then goes on the cable
//   battery 40 charging
//   at 1500 plug cable
//   after 200 press dpi
//   fault no-reply 5
//
// "at MS" sets the time of the line (milliseconds since the scenario started), "after MS"
// adds to the time of the line before; a line without either happens at the time of the line
// before. Blank lines and everything from "#" on are ignored. Times never go backwards.
class ScenarioScript {
public:
    // Reads the script text; false with a message naming the line for anything it does not
    // know ("line 3: unknown verb \"jump\"").
    static bool Parse(const std::string& text, ScenarioScript& script, std::string& error);
    // Reads the file and parses it; the message names the file when it cannot be read.
    static bool Load(const std::filesystem::path& path, ScenarioScript& script, std::string& error);

    const std::vector<ScenarioAction>& Actions() const { return m_actions; }

    // Carries out one action on the simulator.
    static void Apply(const ScenarioAction& action, DeviceSimulator& simulator);

private:
    std::vector<ScenarioAction> m_actions;
};

// Plays a scenario on a simulator: the actions due at once before the constructor returns,
// the rest on a thread of its own at their times on `clock`. Destroy it before the simulator.
class ScenarioPlayer {
public:
    ScenarioPlayer(DeviceSimulator& simulator, ScenarioScript script,
                   std::shared_ptr<Clock> clock = SystemClock());
    ~ScenarioPlayer();
    ScenarioPlayer(const ScenarioPlayer&) = delete;
    ScenarioPlayer& operator=(const ScenarioPlayer&) = delete;

    // Carries out every action due by now on the calling thread; true when none is left.
    bool ApplyDue();
    bool Finished() const;

private:
    void Play();

    DeviceSimulator& m_simulator;  // not owned
    ScenarioScript m_script;
    std::shared_ptr<Clock> m_clock;
    uint64_t m_startMs;
    mutable std::mutex m_lock;  // guards m_next, m_stop; held while an action runs
    std::condition_variable m_wake;
    size_t m_next = 0;
    bool m_stop = false;
    std::thread m_thread;
};

}  // namespace tavik::sim
