#include <iostream>
#include <string>
#include <vector>

#include "tools/tavikctl/platform.h"
#include "tools/tavikctl/tavikctl.h"

int main(int argc, char** argv) {
    std::vector<std::string> arguments;
    for (int at = 1; at < argc; ++at) {
        arguments.emplace_back(argv[at]);
    }
    tavik::tavikctl::Environment environment;
    environment.programDirectory = tavik::tavikctl::ProgramDirectory();
    environment.dataDirectory = tavik::tavikctl::DefaultDataDirectory();
    return tavik::tavikctl::Run(arguments, environment, std::cout, std::cerr);
}
