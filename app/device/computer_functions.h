#pragma once

#include <mutex>
#include <vector>

#include "app/store/store_records.h"

namespace tavik {

// Button functions that the mouse reports and the computer carries out (event 0x50): 9
// launches the program, 10 opens the web address kept in the key's extra data with this id,
// 11 types the text snippet with this id. The application implements it with its shell;
// tests use ComputerFunctionsRecorder.
class ComputerFunctions {
public:
    static constexpr int kLaunchProgram = kFunctionLaunchProgram;
    static constexpr int kOpenWebAddress = kFunctionOpenWebAddress;
    static constexpr int kTypeTextSnippet = kFunctionTypeTextSnippet;

    virtual ~ComputerFunctions() = default;
    // Called on the device worker thread with the event's bytes 6 (type) and 7 (id).
    virtual void RunComputerFunction(int functionType, int value) = 0;
};

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
