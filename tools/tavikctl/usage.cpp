#include "tools/tavikctl/usage.h"

namespace tavik::tavikctl {

namespace {

struct CommandHelp {
    const char* command;
    const char* text;
};

const CommandHelp kCommands[] = {
    {"status",
     "usage: tavikctl [--json] status\n"
     "  the attached devices, how the mouse is connected, its battery and the mouse\n"
     "  and receiver firmware versions (reads the mouse)\n"},
    {"list", "usage: tavikctl list\n  the attached devices of the catalogue, one a line\n"},
    {"read",
     "usage: tavikctl read\n"
     "  reads the mouse into the store and prints versions, battery and every value\n"},
    {"get",
     "usage: tavikctl [--json] get [KEY]\n"
     "  configuration values of the current profile: all of them, or KEY\n"},
    {"set",
     "usage: tavikctl set KEY VALUE\n"
     "  stores a configuration value of the current profile and sends it\n"},
    {"dpi",
     "usage: tavikctl [--json] dpi\n"
     "       tavikctl dpi STAGE VALUE [--color RRGGBB]\n"
     "       tavikctl dpi --count N | dpi --active STAGE | dpi --defaults\n"
     "  STAGE counts from 1; VALUE becomes a multiple of 50 within the mouse's range,\n"
     "  and the stage becomes the current one, as on the DPI page\n"},
    {"rate", "usage: tavikctl rate 125|250|500|1000\n  the report rate in Hz\n"},
    {"button",
     "usage: tavikctl button KEY FUNCTION [ARGS]\n"
     "  KEY is the button's key code; FUNCTION is one of\n"
     "    default | disabled | mouse NAME|VALUE | key COMBO (ctrl+shift+a)\n"
     "    media NAME|VALUE | macro ID [--mode 1|2|3 | --repeat N]\n"
     "    shortcut VALUE | program PATH | web ADDRESS | text ID\n"
     "  mouse names: left middle right double-click forward back wheel-down wheel-up\n"
     "  media names: player play-pause stop previous next vol-up vol-down mute\n"
     "               calculator mail\n"},
    {"assign",
     "usage: tavikctl assign KEYCODE TYPE VALUE [VALUE2 [VALUE3]]\n"
     "  stores an assignment with its raw numbers and sends the key table\n"},
    {"macro",
     "usage: tavikctl [--json] macro list | show ID | import FILE | export ID FILE |"
     " delete ID\n"},
    {"text", "usage: tavikctl text list | add NAME TEXT | delete ID\n"},
    {"light",
     "usage: tavikctl light [MODE] [--brightness N] [--speed N] [--direction N]"
     " [--color N=RRGGBB]\n"
     "  without options: the light modes of the current profile; MODE 0 to 3;\n"
     "  brightness and speed 1 to 255; colour slot N 1 to 8\n"},
    {"profile",
     "usage: tavikctl [--json] profile list | switch N | rename N NAME |"
     " import FILE | export N FILE\n"},
    {"send", "usage: tavikctl send keytable|macros|all|dpi-defaults|factory-reset\n"},
};

}  // namespace

const char* Usage() {
    return "usage: tavikctl [--simulate[=SCRIPT]] [--db FILE] [--trace] [--json] COMMAND ...\n"
           "  status                                   devices, connection, battery, firmware"
           " versions\n"
           "  get [KEY] | set KEY VALUE                configuration values of the current"
           " profile\n"
           "  dpi                                      list the stages; dpi STAGE VALUE"
           " [--color RRGGBB]\n"
           "  dpi --count N | dpi --active STAGE | dpi --defaults\n"
           "  rate 125|250|500|1000\n"
           "  button KEY FUNCTION [ARGS]               e.g. button 4 key ctrl+shift+a, button 3"
           " media vol-up,\n"
           "                                           button 5 macro ID, button 2 disabled,"
           " button 2 default\n"
           "  macro list | show ID | import FILE | export ID FILE | delete ID\n"
           "  text list | add NAME TEXT | delete ID\n"
           "  light [MODE] [--brightness N] [--speed N] [--direction N] [--color N=RRGGBB]\n"
           "  profile list | switch N | rename N NAME | import FILE | export N FILE\n"
           "  send keytable|macros|all|dpi-defaults|factory-reset\n"
           "  list | read | assign KEYCODE TYPE VALUE [VALUE2 [VALUE3]]\n"
           "  --simulate=SCRIPT plays a scenario on the simulated devices before the command\n"
           "  --help after a command explains it; --version prints the version\n"
           "exit status: 0 done, 1 the mouse did not answer, 2 bad usage or an invalid value\n";
}

const char* CommandUsage(const std::string& command) {
    for (const CommandHelp& help : kCommands) {
        if (command == help.command) {
            return help.text;
        }
    }
    return nullptr;
}

}  // namespace tavik::tavikctl

namespace tavik::tavikctl {

std::string OneLineUsage(const std::string& command) {
    const char* usage = CommandUsage(command);
    if (usage == nullptr) {
        return std::string();
    }
    const std::string text = usage;
    return text.substr(0, text.find('\n'));
}

}  // namespace tavik::tavikctl
