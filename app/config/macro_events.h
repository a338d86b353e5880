#pragma once

#include <string>
#include <string_view>

namespace tavik {

// The kinds of macro event (MacroEvent::type) that recording and the insert section make.
namespace macro_event {
constexpr int kKeyDown = 2;
constexpr int kKeyUp = 3;
constexpr int kButtonDown = 4;
constexpr int kButtonUp = 5;
constexpr int kWheelUp = 6;
constexpr int kWheelDown = 7;
// The event types the mouse's macro image knows; a file may carry any of them.
constexpr int kFirstType = 2;
constexpr int kLastType = 12;
}  // namespace macro_event

// A macro holds at most this many events.
constexpr int kMacroEventLimit = 200;
// The delay every new event gets until the next event sets it.
constexpr int kDefaultEventDelay = 10;
// The mouse keeps a delay in 16 bits.
constexpr int kMaxEventDelay = 65535;

// "↓  LB" and "↑  LB": the arrow, two blanks and the key or button name.
std::wstring DownEventDescription(std::wstring_view name);
std::wstring UpEventDescription(std::wstring_view name);

}  // namespace tavik
