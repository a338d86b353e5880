#pragma once

#include <functional>
#include <string>

namespace tavik {

class SettingsDatabase;

// Looks up a user-visible text by its number in the active language file.
using LanguageTextLookup = std::function<std::wstring(int number)>;

// Language text of the profile word used to name the first four profiles.
constexpr int kProfileWordText = 61;

// The outcome of LoadProfiles, for the caller to keep and show in its profile label.
struct LoadedProfiles {
    int currentProfile = 0;    // 0 when the database has no usable profile
    std::wstring currentName;  // localised name of the current profile
    bool created = false;      // true when the four first profiles were just created
};

// First-time setup and the choice of the current profile, run by the device worker before
// each full read of the mouse. A database without profiles gets four, named with the profile
// word of the language and " 1" to " 4", each with its default configuration, and the first
// becomes active. The active profile becomes current; when none is active, the first is made
// active. The lookup may be empty; without a profile word "Profile" is used.
LoadedProfiles LoadProfiles(SettingsDatabase& database, const LanguageTextLookup& texts = {});

}  // namespace tavik
