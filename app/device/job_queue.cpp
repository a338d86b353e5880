#include "app/device/job_queue.h"

namespace tavik {

bool IsUpdateJob(int code) {
    switch (code) {
        case job::kMouseFirmwareCheck:
        case job::kReceiverFirmwareCheck:
        case job::kMouseFirmwareAutoCheck:
        case job::kReceiverFirmwareAutoCheck:
        case job::kMouseFirmwareDownload:
        case job::kReceiverFirmwareDownload:
            return true;
        default:
            return false;
    }
}

void JobQueue::Push(int code) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_jobs.push_back(code);
}

bool JobQueue::Pop(int& code) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_jobs.empty()) {
        return false;
    }
    code = m_jobs.front();
    m_jobs.pop_front();
    return true;
}

bool JobQueue::Empty() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_jobs.empty();
}

size_t JobQueue::Size() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_jobs.size();
}

void JobQueue::Clear() {
    std::lock_guard<std::mutex> guard(m_lock);
    m_jobs.clear();
}

std::vector<int> JobQueue::Snapshot() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return std::vector<int>(m_jobs.begin(), m_jobs.end());
}

}  // namespace tavik
