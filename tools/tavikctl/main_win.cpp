#include <windows.h>

#include <iostream>
#include <string>
#include <vector>

#include "app/common/text_encoding.h"
#include "tools/tavikctl/platform.h"
#include "tools/tavikctl/tavikctl.h"

// The wide entry point: file names and values arrive whole, whatever the code page.
int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> arguments;
    for (int at = 1; at < argc; ++at) {
        arguments.push_back(tavik::WideToUtf8(argv[at]));
    }
    tavik::tavikctl::Environment environment;
    environment.programDirectory = tavik::tavikctl::ProgramDirectory();
    environment.dataDirectory = tavik::tavikctl::DefaultDataDirectory();
    return tavik::tavikctl::Run(arguments, environment, std::cout, std::cerr);
}
