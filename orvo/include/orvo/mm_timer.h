#pragma once

#include <windows.h>

#include <mutex>
#include <string>
#include <vector>

#include "orvo/orvo_api.h"

namespace Orvo {

// Periodic multimedia timers, used to drive control animations. Ticks arrive on the system's
// multimedia-timer thread. The timer resolution is raised while any timer of the process
// runs and lowered again when the last one stops.
class ORVO_API CMTimer {
public:
    CMTimer();
    CMTimer(const CMTimer&) = delete;
    CMTimer& operator=(const CMTimer&) = delete;
    // Kills every timer of the object; no tick reaches it afterwards.
    virtual ~CMTimer();

    // Called after OnMTimer(id) for timers started with isAppTimer set.
    virtual void OnMTimer(UINT id, const std::wstring& name);
    // Called for every tick of every timer of this object.
    virtual void OnMTimer(UINT id);

    // Starts a periodic timer; returns its id, 0 when the system refuses it.
    UINT SetTimer(UINT periodMs, const std::wstring& name, int isAppTimer);
    // Kill the first matching timer; return the number of timers left.
    size_t KillTimer(UINT id);
    size_t KillTimer(const std::wstring& name);
    void KillTimer();
    bool GetTimerIsRun(UINT id);
    bool GetTimerIsRun(const std::wstring& name);
    int IsAppTimer(UINT id);
    std::wstring GetTimerName(UINT id);
    // The live object that owns timer id, or null.
    static CMTimer* GetMTimer(UINT id);
    // Timer resolution in milliseconds once the first timer was set up.
    static UINT GetAccuracy();

private:
    struct TimerRecord {
        UINT id = 0;
        std::wstring name;
        int isAppTimer = 0;
    };

    static void CALLBACK TimerCallProc(UINT id, UINT msg, DWORD_PTR user, DWORD_PTR, DWORD_PTR);
    void KillRecord(size_t index);

    std::mutex m_recordsLock;  // guards m_records (the tick reads them on the timer thread)
    std::vector<TimerRecord> m_records;
};

}  // namespace Orvo
