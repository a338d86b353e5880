#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavik {

class PageContext;
class SettingsDatabase;

// The macro word (new macros are "<351> 1") and the word added to a copy's name.
constexpr int kMacroWordText = 351;
constexpr int kCopyWordText = 31;
// New macro names are numbered up to this; the last is used when all are taken.
constexpr int kLastNewMacroNumber = 1000;

// A stored macro name as the macro list shows it: "宏…" and "Macro…" with the macro word of
// the current language in place of that word, every other name as stored.
std::wstring DisplayedMacroName(std::wstring_view stored, const PageContext& context);

// "<macro word> N" with the smallest N from 1 whose name is not among `shownNames`.
std::wstring NewMacroName(const PageContext& context, const std::vector<std::wstring>& shownNames);

// Stores a copy of a macro, its header and its events, named "<name> <copy word>", in one
// transaction. The new macro's id, or 0 when the macro does not exist or the store failed.
int CopyMacro(PageContext& context, int macroId, std::wstring* newName = nullptr);

// Renames a macro and the description of every button of the current profile that plays it
// (the other profiles keep theirs), in one transaction.
bool RenameMacro(PageContext& context, int macroId, std::wstring_view name);

// Deletes a macro with its events and queues the macro send (job 6) so the mouse forgets
// it. Buttons that still name the macro are left as they are.
bool DeleteMacro(PageContext& context, int macroId);

}  // namespace tavik
