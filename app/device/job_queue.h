#pragma once

#include <cstddef>
#include <deque>
#include <mutex>
#include <vector>

namespace tavik {

// The job codes that pages queue for the device worker; the numbers are the ones the
// pages, dialogs and the protocol use. 8, 21, 22, 25, 26 and 31 are not used.
namespace job {
constexpr int kFirstRead = 1;        // full read while the mouse has not been read
constexpr int kDeviceArrived = 2;    // a vendor interface arrived; pairing closed
constexpr int kDeviceRemoved = 3;    // a catalogue interface was removed
constexpr int kDeviceSelected = 4;   // the user selected another device type
constexpr int kSendAllSettings = 5;  // profile switched or imported
constexpr int kSendMacros = 6;       // macro image
constexpr int kSendKeyTable = 7;     // button assignments
constexpr int kSendLight = 9;        // lighting of the active light mode
constexpr int kSendDpiStages = 10;   // stage count, index or value
constexpr int kSendDpiColors = 11;   // stage colours
constexpr int kSendReportRate = 12;
constexpr int kSendSensorFlag = 13;
constexpr int kSendButtonRespondTime = 14;
constexpr int kSendScrollFlag = 15;
constexpr int kSendLiftoffHeight = 16;
constexpr int kSendHighspeedMode = 17;
constexpr int kSendSleepTimes = 18;
constexpr int kSendMoveWakeup = 19;
constexpr int kSendMoveCloseLight = 20;
constexpr int kSendDpiDefaults = 23;
constexpr int kSendFactoryReset = 24;
constexpr int kMouseFirmwareCheck = 27;         // asked for by the user
constexpr int kReceiverFirmwareCheck = 28;      // asked for by the user
constexpr int kMouseFirmwareAutoCheck = 29;     // after a full read over the cable
constexpr int kReceiverFirmwareAutoCheck = 30;  // after a full read through the receiver
constexpr int kMouseFirmwareDownload = 32;
constexpr int kReceiverFirmwareDownload = 33;
}  // namespace job

// True for the codes of the update jobs (firmware checks and downloads).
bool IsUpdateJob(int code);

// The FIFO of job codes shared by the user-interface thread (appends) and the worker
// (appends and removals). A job is taken off the queue before it runs, so it is never held
// in the queue while running, and an append never interleaves with a removal.
class JobQueue {
public:
    void Push(int code);
    // Takes the first job off the queue; false when it is empty.
    bool Pop(int& code);
    bool Empty() const;
    size_t Size() const;
    void Clear();
    // The queued codes, first first.
    std::vector<int> Snapshot() const;

private:
    mutable std::mutex m_lock;  // guards m_jobs
    std::deque<int> m_jobs;
};

}  // namespace tavik
