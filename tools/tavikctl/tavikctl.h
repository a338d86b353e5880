#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace tavik::tavikctl {

constexpr int kExitSuccess = 0;
constexpr int kExitNoAnswer = 1;  // the mouse did not answer
constexpr int kExitUsage = 2;     // bad usage, refused values, unusable database

// Where the command line finds what the program would use.
struct Environment {
    std::wstring programDirectory;  // holds the device catalogue "config.xml"
    std::wstring dataDirectory;     // the program's data folder, holding "db"
};

// Runs one command line (the arguments after the program name, UTF-8) on the device engine
// and the window's page logic; Usage() in usage.h lists the commands. Results and the
// one-line messages go to `out`; with --trace every report written ("> ") or read ("< ")
// goes to `trace` as its 64 bytes in lower-case hex. --simulate=SCRIPT plays a scenario on
// the simulated devices (see scenario_script.h). Returns the exit status.
int Run(const std::vector<std::string>& arguments, const Environment& environment,
        std::ostream& out, std::ostream& trace);

}  // namespace tavik::tavikctl
