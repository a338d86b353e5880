#include "app/store/profile_loader.h"

#include <vector>

#include "app/store/settings_database.h"

namespace tavik {
namespace {

constexpr int kFirstProfileCount = 4;
constexpr int kFirstProfile = 1;

// The stored word is also what later renames the profiles into another language, so a
// missing language text must not leave names that begin with a blank.
std::wstring ProfileWord(const LanguageTextLookup& texts) {
    std::wstring word = texts ? texts(kProfileWordText) : std::wstring();
    if (word.empty()) {
        word = L"Profile";
    }
    return word;
}

}  // namespace

LoadedProfiles LoadProfiles(SettingsDatabase& database, const LanguageTextLookup& texts) {
    LoadedProfiles result;
    // Looked up before the store lock is taken, so the language module never waits inside it.
    const std::wstring word = ProfileWord(texts);
    // Held for the whole choice, so nothing can switch profiles between the check and the
    // creation.
    std::lock_guard<std::recursive_mutex> guard(database.GetLock());

    std::vector<NamedRecord> profiles;
    if (database.ListProfiles(profiles) == 0) {
        int firstId = 0;
        for (int number = 1; number <= kFirstProfileCount; ++number) {
            NamedRecord record;
            record.name = word + L" " + std::to_wstring(number);
            const int id = database.AddProfile(record);
            if (firstId == 0) {
                firstId = id;
            }
        }
        // On a fresh table the first id is 1; a table whose ids were used before starts higher.
        database.SetActiveProfile(firstId != 0 ? firstId : kFirstProfile);
        result.created = true;
    }

    result.currentProfile = database.GetActiveProfile();
    if (result.currentProfile < 1) {
        database.SetActiveProfile(kFirstProfile);
        result.currentProfile = database.GetActiveProfile();
    }
    if (result.currentProfile < 1 && database.ListProfiles(profiles) > 0) {
        // Profile 1 no longer exists: the first profile there is takes its place.
        database.SetActiveProfile(profiles.front().id);
        result.currentProfile = database.GetActiveProfile();
    }
    if (result.currentProfile >= 1) {
        database.GetProfileName(result.currentProfile, result.currentName);
    }
    return result;
}

}  // namespace tavik
