#include "orvo/mm_timer.h"

#include <mmsystem.h>

#include <algorithm>

namespace Orvo {
namespace {

std::mutex g_liveLock;  // guards g_liveTimers
std::vector<CMTimer*> g_liveTimers;

// The resolution is raised once while any multimedia timer of the process runs: one
// timeBeginPeriod when the first starts, one timeEndPeriod when the last stops.
std::mutex g_periodLock;  // guards g_runningTimers, g_accuracy, g_capsQueried
int g_runningTimers = 0;
UINT g_accuracy = 1;
bool g_capsQueried = false;

UINT TimerStarting() {
    std::lock_guard<std::mutex> lock(g_periodLock);
    if (!g_capsQueried) {
        TIMECAPS caps = {};
        if (timeGetDevCaps(&caps, sizeof(caps)) == TIMERR_NOERROR) {
            g_accuracy = std::min(std::max<UINT>(caps.wPeriodMin, 1), caps.wPeriodMax);
        }
        g_capsQueried = true;
    }
    if (g_runningTimers++ == 0) {
        timeBeginPeriod(g_accuracy);
    }
    return g_accuracy;
}

void TimerStopped() {
    std::lock_guard<std::mutex> lock(g_periodLock);
    if (g_runningTimers > 0 && --g_runningTimers == 0) {
        timeEndPeriod(g_accuracy);
    }
}

}  // namespace

CMTimer::CMTimer() {
    std::lock_guard<std::mutex> lock(g_liveLock);
    g_liveTimers.push_back(this);
}

CMTimer::~CMTimer() {
    KillTimer();
    std::lock_guard<std::mutex> lock(g_liveLock);
    g_liveTimers.erase(std::remove(g_liveTimers.begin(), g_liveTimers.end(), this),
                       g_liveTimers.end());
}

void CMTimer::OnMTimer(UINT, const std::wstring&) {}

void CMTimer::OnMTimer(UINT) {}

UINT CMTimer::SetTimer(UINT periodMs, const std::wstring& name, int isAppTimer) {
    const UINT accuracy = TimerStarting();
    // Held across timeSetEvent so that a first tick arriving at once finds the record.
    std::lock_guard<std::mutex> lock(m_recordsLock);
    // Synchronous kill: once timeKillEvent returns no callback runs, so the object may go.
    const UINT id =
        timeSetEvent(periodMs, accuracy, &CMTimer::TimerCallProc, reinterpret_cast<DWORD_PTR>(this),
                     TIME_PERIODIC | TIME_CALLBACK_FUNCTION | TIME_KILL_SYNCHRONOUS);
    if (id == 0) {
        TimerStopped();
        return 0;
    }
    m_records.push_back(TimerRecord{id, name, isAppTimer});
    return id;
}

void CMTimer::KillRecord(size_t index) {
    UINT id = 0;
    {
        std::lock_guard<std::mutex> lock(m_recordsLock);
        if (index >= m_records.size()) {
            return;
        }
        id = m_records[index].id;
        m_records.erase(m_records.begin() + static_cast<std::ptrdiff_t>(index));
    }
    // Outside the lock: the synchronous kill waits for a running tick, which takes it.
    timeKillEvent(id);
    TimerStopped();
}

size_t CMTimer::KillTimer(UINT id) {
    size_t index = 0;
    bool found = false;
    {
        std::lock_guard<std::mutex> lock(m_recordsLock);
        for (; index < m_records.size(); ++index) {
            if (m_records[index].id == id) {
                found = true;
                break;
            }
        }
    }
    if (found) {
        KillRecord(index);
    }
    std::lock_guard<std::mutex> lock(m_recordsLock);
    return m_records.size();
}

size_t CMTimer::KillTimer(const std::wstring& name) {
    size_t index = 0;
    bool found = false;
    {
        std::lock_guard<std::mutex> lock(m_recordsLock);
        for (; index < m_records.size(); ++index) {
            if (m_records[index].name == name) {
                found = true;
                break;
            }
        }
    }
    if (found) {
        KillRecord(index);
    }
    std::lock_guard<std::mutex> lock(m_recordsLock);
    return m_records.size();
}

void CMTimer::KillTimer() {
    for (;;) {
        {
            std::lock_guard<std::mutex> lock(m_recordsLock);
            if (m_records.empty()) {
                return;
            }
        }
        KillRecord(0);
    }
}

bool CMTimer::GetTimerIsRun(UINT id) {
    std::lock_guard<std::mutex> lock(m_recordsLock);
    return std::any_of(m_records.begin(), m_records.end(),
                       [id](const TimerRecord& record) { return record.id == id; });
}

bool CMTimer::GetTimerIsRun(const std::wstring& name) {
    std::lock_guard<std::mutex> lock(m_recordsLock);
    return std::any_of(m_records.begin(), m_records.end(),
                       [&name](const TimerRecord& record) { return record.name == name; });
}

int CMTimer::IsAppTimer(UINT id) {
    std::lock_guard<std::mutex> lock(m_recordsLock);
    for (const TimerRecord& record : m_records) {
        if (record.id == id) {
            return record.isAppTimer;
        }
    }
    return 0;
}

std::wstring CMTimer::GetTimerName(UINT id) {
    std::lock_guard<std::mutex> lock(m_recordsLock);
    for (const TimerRecord& record : m_records) {
        if (record.id == id) {
            return record.name;
        }
    }
    return L"";
}

CMTimer* CMTimer::GetMTimer(UINT id) {
    std::lock_guard<std::mutex> lock(g_liveLock);
    for (CMTimer* timer : g_liveTimers) {
        if (timer->GetTimerIsRun(id)) {
            return timer;
        }
    }
    return nullptr;
}

UINT CMTimer::GetAccuracy() {
    std::lock_guard<std::mutex> lock(g_periodLock);
    return g_accuracy;
}

void CALLBACK CMTimer::TimerCallProc(UINT id, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
    auto* self = reinterpret_cast<CMTimer*>(user);
    if (self == nullptr) {
        return;
    }
    self->OnMTimer(id);
    std::wstring name;
    bool appTimer = false;
    {
        std::lock_guard<std::mutex> lock(self->m_recordsLock);
        for (const TimerRecord& record : self->m_records) {
            if (record.id == id) {
                appTimer = record.isAppTimer != 0;
                name = record.name;
                break;
            }
        }
    }
    if (appTimer) {
        self->OnMTimer(id, name);
    }
}

}  // namespace Orvo
