#pragma once

#include <string>

namespace tavik::tavikctl {

// The whole usage text, several lines.
const char* Usage();
// The usage of one command ("dpi", "button" …), or null for an unknown command.
const char* CommandUsage(const std::string& command);
// The first line of a command's usage, for a one-line refusal.
std::string OneLineUsage(const std::string& command);

}  // namespace tavik::tavikctl
