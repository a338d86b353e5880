#pragma once

#include "app/store/store_records.h"

namespace tavik {

// Button functions that the mouse reports and the computer carries out (event 0x50): 9
// launches the program, 10 opens the web address kept in the key's extra data with this id,
// 11 types the text snippet with this id. The application implements it with its shell;
// tests record the requests.
class ComputerFunctions {
public:
    static constexpr int kLaunchProgram = kFunctionLaunchProgram;
    static constexpr int kOpenWebAddress = kFunctionOpenWebAddress;
    static constexpr int kTypeTextSnippet = kFunctionTypeTextSnippet;

    virtual ~ComputerFunctions() = default;
    // Called on the device worker thread with the event's bytes 6 (type) and 7 (id).
    virtual void RunComputerFunction(int functionType, int value) = 0;
};

// A program without a button page (the command line): the mouse's
// requests are taken and ignored.
class IgnoredComputerFunctions : public ComputerFunctions {
public:
    void RunComputerFunction(int, int) override {}
};

}  // namespace tavik
