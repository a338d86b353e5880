#pragma once

#include <string>
#include <string_view>

#include "app/config/shell.h"
#include "app/device/clock.h"
#include "app/device/computer_functions.h"

namespace tavik {

class SettingsDatabase;

// The address that opening a stored web address (function 10) hands to the shell. An
// address with a scheme of its own ("https://…", "mailto:…") is opened as written, so https
// is never downgraded. A leading "http://" is dropped and, like an address without a scheme,
// the rest gets "www." in front unless its host already starts with it. Only a scheme at the
// very start counts: "example.com/?u=https://other" is an address without one. Surrounding
// blanks are dropped; an empty address stays empty.
std::wstring RewriteWebAddress(std::wstring_view stored);

// Carries out the button functions that run on the computer (event 0x50): 9 launches the
// stored program, 10 opens the stored web address, 11 types the stored text snippet.
class ComputerFunctionRunner : public ComputerFunctions {
public:
    // How long the Ctrl+V press is held, and how long the pasted text stays on the
    // clipboard before the user's content is put back (slow programs read it late).
    static constexpr int kPasteHoldMs = 100;
    static constexpr int kPasteSettleMs = 500;

    ComputerFunctionRunner(SettingsDatabase& database, Shell& shell, Clock& clock)
        : m_database(database), m_shell(shell), m_clock(clock) {}

    // Runs on the device worker thread.
    void RunComputerFunction(int functionType, int value) override;

    // Pastes the text into the focused window through the clipboard and puts the user's
    // clipboard back afterwards. Sends no key when the clipboard did not take the text, so
    // the window never pastes something else the user had copied. False when nothing was
    // typed.
    bool TypeText(const std::wstring& text);

private:
    SettingsDatabase& m_database;  // not owned
    Shell& m_shell;                // not owned
    Clock& m_clock;                // not owned
};

#ifdef _WIN32
// The computer-side functions of the running program: the Windows shell and real time.
class PlatformComputerFunctions : public ComputerFunctions {
public:
    explicit PlatformComputerFunctions(SettingsDatabase& database)
        : m_clock(SystemClock()), m_runner(database, m_shell, *m_clock) {}
    void RunComputerFunction(int functionType, int value) override {
        m_runner.RunComputerFunction(functionType, value);
    }

private:
    PlatformShell m_shell;
    std::shared_ptr<Clock> m_clock;
    ComputerFunctionRunner m_runner;  // declared last: uses the two above
};
#endif

}  // namespace tavik
