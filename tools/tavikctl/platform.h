#pragma once

#include <string>

namespace tavik::tavikctl {

// The application's name, which names its data folder ("<name> Files").
constexpr const wchar_t* kApplicationName = L"Tavik Mouse";

// The folder of the running executable, where the device catalogue lies; empty when unknown.
std::wstring ProgramDirectory();

// The program's per-user data folder, the one holding "db": on Windows the local application
// data folder + "\Tavik Mouse Files\"; elsewhere $XDG_DATA_HOME (or ~/.local/share) +
// "/Tavik Mouse Files/". Empty when it cannot be found.
std::wstring DefaultDataDirectory();

}  // namespace tavik::tavikctl
