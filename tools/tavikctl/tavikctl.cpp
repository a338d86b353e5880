#include "tools/tavikctl/tavikctl.h"

#include <algorithm>

#include "tools/tavikctl/commands.h"
#include "tools/tavikctl/session.h"
#include "tools/tavikctl/settable_keys.h"
#include "tools/tavikctl/usage.h"

namespace tavik::tavikctl {

namespace {

using CommandFunction = int (*)(Session&, const Operands&);

struct Command {
    const char* name;
    size_t minimum;  // operands
    size_t maximum;
    CommandFunction run;
};

const Command kCommands[] = {
    {"status", 0, 0, CommandStatus}, {"list", 0, 0, CommandList},
    {"read", 0, 0, CommandRead},     {"get", 0, 1, CommandGet},
    {"set", 2, 2, CommandSet},       {"assign", 3, 5, CommandAssign},
    {"send", 1, 1, CommandSend},     {"dpi", 0, 4, CommandDpi},
    {"rate", 1, 1, CommandRate},     {"button", 2, 5, CommandButton},
    {"macro", 1, 3, CommandMacro},   {"text", 1, 3, CommandText},
    {"light", 0, 11, CommandLight},  {"profile", 1, 3, CommandProfile},
};

enum class Parsed { kRun, kDone, kRefused };

Parsed ParseOptions(const std::vector<std::string>& arguments, Options& options, std::ostream& out,
                    int& status) {
    size_t at = 0;
    for (; at < arguments.size(); ++at) {
        const std::string& argument = arguments[at];
        if (argument == "--simulate") {
            options.simulate = true;
        } else if (argument.rfind("--simulate=", 0) == 0) {
            options.simulate = true;
            options.scenarioFile = argument.substr(std::string("--simulate=").size());
            if (options.scenarioFile.empty()) {
                out << "--simulate= needs a scenario file\n";
                status = kExitUsage;
                return Parsed::kRefused;
            }
        } else if (argument == "--trace") {
            options.trace = true;
        } else if (argument == "--json") {
            options.json = true;
        } else if (argument == "--db") {
            if (at + 1 >= arguments.size() || arguments[at + 1].empty()) {
                out << "--db needs a file name\n";
                status = kExitUsage;
                return Parsed::kRefused;
            }
            options.hasDatabaseFile = true;
            options.databaseFile = arguments[++at];
        } else if (argument == "--help" || argument == "-h") {
            out << Usage();
            status = kExitSuccess;
            return Parsed::kDone;
        } else if (argument == "--version") {
            out << "tavikctl " << TAVIK_VERSION << '\n';
            status = kExitSuccess;
            return Parsed::kDone;
        } else if (argument.size() > 1 && argument[0] == '-') {
            out << "unknown option \"" << Printable(argument) << "\"; tavikctl --help lists them\n";
            status = kExitUsage;
            return Parsed::kRefused;
        } else {
            break;
        }
    }
    if (at >= arguments.size()) {
        out << Usage();
        status = kExitUsage;
        return Parsed::kRefused;
    }
    options.command = arguments[at];
    options.operands.assign(arguments.begin() + static_cast<std::ptrdiff_t>(at) + 1,
                            arguments.end());
    const bool help = std::find(options.operands.begin(), options.operands.end(), "--help") !=
                      options.operands.end();
    const char* usage = CommandUsage(options.command);
    if (usage == nullptr) {
        out << "unknown command \"" << Printable(options.command)
            << "\"; tavikctl --help lists the commands\n";
        status = kExitUsage;
        return Parsed::kRefused;
    }
    if (help) {
        out << usage;
        status = kExitSuccess;
        return Parsed::kDone;
    }
    for (const Command& command : kCommands) {
        if (options.command != command.name) {
            continue;
        }
        const size_t count = options.operands.size();
        if (count < command.minimum || count > command.maximum) {
            out << OneLineUsage(options.command) << '\n';
            status = kExitUsage;
            return Parsed::kRefused;
        }
    }
    if (options.command == "send") {
        static const char* const kTargets[] = {"keytable", "macros", "all", "dpi-defaults",
                                               "factory-reset"};
        if (std::none_of(std::begin(kTargets), std::end(kTargets),
                         [&](const char* target) { return options.operands[0] == target; })) {
            out << "send takes keytable, macros, all, dpi-defaults or factory-reset\n";
            status = kExitUsage;
            return Parsed::kRefused;
        }
    }
    return Parsed::kRun;
}

}  // namespace

int Run(const std::vector<std::string>& arguments, const Environment& environment,
        std::ostream& out, std::ostream& trace) {
    Options options;
    int status = kExitUsage;
    if (ParseOptions(arguments, options, out, status) != Parsed::kRun) {
        out.flush();
        return status;
    }
    Session session(options, environment, out, trace);
    std::string error;
    if (!session.Prepare(error)) {
        out << error << '\n';
        out.flush();
        return kExitUsage;
    }
    for (const Command& command : kCommands) {
        if (options.command == command.name) {
            status = command.run(session, options.operands);
            break;
        }
    }
    out.flush();
    trace.flush();
    return status;
}

}  // namespace tavik::tavikctl
