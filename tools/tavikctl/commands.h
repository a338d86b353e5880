#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavik::tavikctl {

class Session;

using Operands = std::vector<std::string>;

// The commands, each run on a prepared session with the operands after its name. Each
// returns the exit status and prints its results and its one-line messages.
int CommandStatus(Session& session, const Operands& operands);
int CommandList(Session& session, const Operands& operands);
int CommandRead(Session& session, const Operands& operands);
int CommandGet(Session& session, const Operands& operands);
int CommandSet(Session& session, const Operands& operands);
int CommandAssign(Session& session, const Operands& operands);
int CommandSend(Session& session, const Operands& operands);
int CommandDpi(Session& session, const Operands& operands);
int CommandRate(Session& session, const Operands& operands);
int CommandButton(Session& session, const Operands& operands);
int CommandLight(Session& session, const Operands& operands);
int CommandProfile(Session& session, const Operands& operands);
int CommandMacro(Session& session, const Operands& operands);
int CommandText(Session& session, const Operands& operands);
// `profile import FILE` and `profile export N FILE`.
int ProfileFileCommand(Session& session, const Operands& operands);

// Prints `message` and returns the status of bad usage or an invalid value.
int Refuse(Session& session, const std::string& message);
// After a command stored `what` and ran its jobs: "<what> sent", or, when the mouse did not
// answer, "<what> stored; the mouse did not answer". Returns the exit status.
int Report(Session& session, bool answered, const std::string& what);
// After a command did what `done` says and ran its jobs: "<done>; sent to the mouse", or
// "<done>; the mouse did not answer". Returns the exit status.
int ReportDone(Session& session, bool answered, const std::string& done);
// Runs the jobs the pages queued and reports as Report does.
int SendQueued(Session& session, const std::string& what);

// A JSON string literal of UTF-8 text.
std::string JsonString(std::string_view text);
// A stored decimal text as a JSON number when it is one, else as a string.
std::string JsonValue(const std::wstring& stored);
// The colour of a COLORREF (0x00BBGGRR) as RRGGBB, and back; false for anything but six hex
// digits.
std::string ColourText(unsigned colour);
bool ParseColour(const std::string& text, unsigned& colour);

}  // namespace tavik::tavikctl
