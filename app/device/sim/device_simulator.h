#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/device/clock.h"
#include "app/device/hid_api.h"
#include "app/device/hid_device_manager.h"
#include "app/device/sim/simulated_mouse.h"

namespace tavik::sim {

// The simulated USB devices. The main mouse is one device with two ways in: its cable (the
// wired product) and its receiver (the receiver product). The second model is wired only.
enum class SimDevice { kWiredMouse, kReceiver, kSecondModel };
enum class SimMouse { kMain, kSecondModel };
enum class HotPlugEvent { kArrival, kRemoval };

// Faults the simulator injects into the next commands written to a vendor interface.
enum class SimFault {
    kNoReply,           // the command is taken but nothing comes back
    kLateReply,         // the reply is readable only after `parameter` empty reads
    kEventBeforeReply,  // an unrelated battery event report arrives before the reply
    kZeroVersion,       // device information (0x05) answers with zero version bytes
    kShortReply,        // the reply is cut to `parameter` bytes
    kGarbageReply,      // 65 bytes of noise instead of the reply
    // The device taking a macro upload is unplugged when chunk `parameter` (counted from 0)
    // of an image arrives; that chunk gets no reply.
    kUnplugDuringMacroUpload,
};

// What is attached when the simulator starts.
struct SimulatorSetup {
    bool cablePlugged = true;
    bool receiverPlugged = true;
    bool mouseOn = true;
    bool paired = true;
    bool secondModelPlugged = false;
    int latencyMs = 1;  // round trip of a command on a cable, a 1000 Hz device
    // Round trip of a command through the receiver, the radio hop to the mouse included.
    int receiverLatencyMs = 4;
};

// One command as a simulated device received it.
struct ReceivedCommand {
    SimDevice device;
    ReportBuffer bytes;
};

// A virtual mouse, its receiver and a second model, answering the command protocol as their
// firmware does, behind the hidapi seam: Api() gives the table to install with
// HidDeviceManager::UseBackend. Every device shows a mouse, a vendor and a keyboard
// collection with Windows-style interface paths (sim_identities.h). Safe to use from any
// thread: the worker talks to it while a test or the user plugs devices and injects events.
//
// Time runs on the given clock, in microseconds: reports leave and arrive on 1 ms frames, a
// reply is readable one round trip after its command (rounded up to the next frame), and a
// read with nothing to hand out blocks until a report arrives, its handle goes away or its
// time-out passes. Each handle keeps the last 64 reports nobody read, like the platform's
// input buffer; several handles on one interface each get every report. With a
// VirtualClock nothing waits in real time.
//
// Hot-plug callbacks run on the thread that caused the change (the caller of Unplug...,
// or the thread writing the macro chunk that triggers kUnplugDuringMacroUpload) after the
// simulator's lock is released; the program posts them on to its UI thread.
class DeviceSimulator {
public:
    explicit DeviceSimulator(SimulatorSetup setup = {},
                             std::shared_ptr<Clock> clock = SystemClock());
    ~DeviceSimulator();
    DeviceSimulator(const DeviceSimulator&) = delete;
    DeviceSimulator& operator=(const DeviceSimulator&) = delete;

    // The seam's table; it keeps the simulator's state alive as long as it is installed.
    HidApi Api();

    // Round trips of the cable (and the second model) and of the receiver.
    void SetLatencyMs(int milliseconds);
    void SetReceiverLatencyMs(int milliseconds);
    void SetHotPlugCallback(
        std::function<void(HotPlugEvent event, const std::string& path)> callback);
    // Sees every command a vendor interface receives, on the writing thread, outside the lock.
    void SetCommandObserver(std::function<void(const ReceivedCommand& command)> observer);

    // Plugging and power. Each plug or unplug reports all three interface paths.
    void PlugCable();
    void UnplugCable();
    void PlugReceiver();
    void UnplugReceiver();
    void PlugSecondModel();
    void UnplugSecondModel();
    // The main mouse's power switch; it matters only to the receiver's link.
    void SwitchMouseOff();
    void SwitchMouseOn();
    bool IsPlugged(SimDevice device) const;
    bool IsLinked() const;

    // Events the mouse reports on its own. They go out on the way the mouse is reachable by:
    // its cable, else its receiver while linked; otherwise they are lost, as on a real one.
    void PressDpiButton(SimMouse mouse = SimMouse::kMain);  // next stage, event 0x02
    void ChangeBattery(uint8_t level, bool charging, SimMouse mouse = SimMouse::kMain);
    void ChangeSettingsOnMouse(SimMouse mouse = SimMouse::kMain);  // event 0x06
    void PressComputerFunction(uint8_t functionType, uint8_t value,
                               SimMouse mouse = SimMouse::kMain);  // event 0x50
    // The receiver links with the mouse: link report 0xC0 0x01 and event 0x01 with byte 6 = 1.
    void CompletePairing();
    // A report of noise on the vendor interface of `device`.
    void EmitGarbage(SimDevice device);
    // Any report, as is, on the vendor interface of `device`.
    void EmitReport(SimDevice device, const std::vector<unsigned char>& report);

    void InjectFault(SimFault fault, int times = 1, int parameter = 0);
    void ClearFaults();

    MouseState Mouse(SimMouse mouse = SimMouse::kMain) const;
    void SetMouse(const MouseState& state, SimMouse mouse = SimMouse::kMain);
    void SetReceiverVersion(uint8_t build, uint8_t version);
    // Commands received so far (the last 4096), oldest first.
    std::vector<ReceivedCommand> ReceivedCommands() const;
    void ClearReceivedCommands();
    // Reports waiting on the vendor interface of `device`: the fewest any of its handles
    // holds (the handle that is read; a handle only written to keeps its last 64).
    size_t PendingReports(SimDevice device) const;
    int OpenHandles() const;

private:
    class Core;
    // Shared with the seam's table, which keeps it alive while the manager still uses it.
    std::shared_ptr<Core> m_core;
};

}  // namespace tavik::sim
