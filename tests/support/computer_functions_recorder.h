#pragma once

#include <mutex>
#include <vector>

#include "app/device/computer_functions.h"

namespace tavik {

// Keeps every request in call order.
class ComputerFunctionsRecorder : public ComputerFunctions {
public:
    struct Call {
        int functionType = 0;
        int value = 0;
        bool operator==(const Call& other) const {
            return functionType == other.functionType && value == other.value;
        }
    };

    void RunComputerFunction(int functionType, int value) override {
        std::lock_guard<std::mutex> guard(m_lock);
        m_calls.push_back({functionType, value});
    }
    std::vector<Call> Calls() const {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_calls;
    }

private:
    mutable std::mutex m_lock;  // guards m_calls
    std::vector<Call> m_calls;
};

}  // namespace tavik
