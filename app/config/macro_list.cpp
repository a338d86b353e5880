#include "app/config/macro_list.h"

#include <algorithm>

#include "app/config/page_context.h"
#include "app/device/job_queue.h"
#include "app/store/settings_database.h"

namespace tavik {
namespace {

constexpr int kPlayMacro = 5;
constexpr std::wstring_view kChineseMacroWord = L"\u5b8f";
constexpr std::wstring_view kEnglishMacroWord = L"Macro";

}  // namespace

std::wstring DisplayedMacroName(std::wstring_view stored, const PageContext& context) {
    for (std::wstring_view word : {kChineseMacroWord, kEnglishMacroWord}) {
        if (stored.substr(0, word.size()) == word) {
            return context.Text(kMacroWordText) + std::wstring(stored.substr(word.size()));
        }
    }
    return std::wstring(stored);
}

std::wstring NewMacroName(const PageContext& context, const std::vector<std::wstring>& shownNames) {
    const std::wstring word = context.Text(kMacroWordText);
    std::wstring name;
    for (int number = 1; number <= kLastNewMacroNumber; ++number) {
        name = word + L" " + std::to_wstring(number);
        if (std::find(shownNames.begin(), shownNames.end(), name) == shownNames.end()) {
            break;
        }
    }
    return name;
}

int CopyMacro(PageContext& context, int macroId, std::wstring* newName) {
    SettingsDatabase& database = context.Store();
    int copyId = 0;
    MacroRecord copy;
    const bool stored = database.RunInTransaction([&] {
        if (!database.GetMacro(macroId, copy)) {
            return false;
        }
        copy.name += L" " + context.Text(kCopyWordText);
        copyId = database.AddMacroWithSettings(copy);
        if (copyId < 1) {
            return false;
        }
        std::vector<MacroEvent> events;
        database.ListMacroEvents(macroId, events);
        for (MacroEvent& event : events) {
            event.macroId = copyId;
        }
        return database.AddMacroEvents(events) == static_cast<int>(events.size());
    });
    if (!stored) {
        return 0;
    }
    if (newName != nullptr) {
        *newName = copy.name;
    }
    return copyId;
}

bool RenameMacro(PageContext& context, int macroId, std::wstring_view name) {
    SettingsDatabase& database = context.Store();
    const int profile = context.CurrentProfile();
    return database.RunInTransaction([&] {
        std::vector<KeyAssignment> assignments;
        database.ListKeyAssignments(profile, 0, assignments);
        for (const KeyAssignment& assignment : assignments) {
            if (assignment.functionType == kPlayMacro && assignment.value1 == macroId &&
                !database.SetKeyDescription(profile, 0, assignment.keyCode, name)) {
                return false;
            }
        }
        return database.RenameMacro(macroId, name);
    });
}

bool DeleteMacro(PageContext& context, int macroId) {
    const bool deleted =
        context.Store().RunInTransaction([&] { return context.Store().DeleteMacro(macroId); });
    context.QueueJob(job::kSendMacros);
    return deleted;
}

}  // namespace tavik
