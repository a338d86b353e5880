#pragma once

#include <string>

namespace tavik {

// Effective DPI of the monitor nearest (1, 1) mapped to a scale: 96 or less → 100,
// 120 → 125, 144/168/192 → the DPI itself, anything else → 100.
int GetMonitorScale();
int MonitorScaleForDpi(unsigned dpi);

// Whether the process declares itself DPI-aware for a primary screen of this size.
bool ShouldDeclareDpiAware(int screenWidth, int screenHeight, int (*monitorScale)());

// "<local application data>\<application name> Files\", with the trailing backslash.
std::wstring GetDataDirectory();

// Creates every missing level of `path`; true when the directory exists afterwards.
bool EnsureDirectory(const std::wstring& path);

// Enables "SeDebugPrivilege" in the process token.
bool EnableDebugPrivilege();

// "-autorun" anywhere in the command line, also inside a longer argument.
bool HasAutorunFlag(const wchar_t* commandLine);

// "--simulate" anywhere in the command line, or TAVIK_SIMULATE in the environment (1, or the
// name of a scenario file).
bool WantsSimulatedDevices(const wchar_t* commandLine);
// The scenario for the simulated devices: "--simulate=FILE" in the command line (FILE up to
// the next space, or in double quotes), else TAVIK_SIMULATE=FILE; empty for none.
std::wstring SimulationScenario(const wchar_t* commandLine);

// Finds the first top-level window carrying the single-instance property and brings it
// forward. Returns whether one was found.
bool ActivateRunningInstance();

}  // namespace tavik
